#include "SimOptions.h"
#include "SimServer.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("dxnode-sim"));

    SimOptions options;
    QString error;
    if (!SimOptions::parse(app.arguments(), options, error)) {
        std::fprintf(stderr, "dxnode-sim: %s\n", qPrintable(error));
        return 2;
    }
    SimServer server(options);
    if (!server.start(error)) {
        std::fprintf(stderr, "dxnode-sim: cannot listen: %s\n", qPrintable(error));
        return 1;
    }
    // The first line on stdout tells a script where to connect.
    std::printf("listening on %s:%u\n", qPrintable(server.address().toString()),
                unsigned(server.port()));
    std::fflush(stdout);
    return app.exec();
}
