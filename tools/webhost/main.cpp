#include "DemoWebHost.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QSocketNotifier>
#include <QTextStream>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

// A local stand-in for the program's web host, so the demo runs offline:
//   webhost [--http-port N] [--https-port N] [--list FILE] [--calendar FILE]
//           [--hosts-file FILE]
// Port 0 (the default) lets the system choose. Once both servers listen it
// prints the [Hosts] lines for settings.ini, then "ready", and serves until
// SIGINT or SIGTERM.

namespace {

int g_signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char c = 1;
    [[maybe_unused]] auto n = ::write(g_signalPipe[1], &c, 1);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("webhost"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Local web host for the Marvix Terminal demo: the internet probe over "
                       "HTTP, the calendar widget over HTTP and listadxdolv.txt over HTTPS, "
                       "on 127.0.0.1."));
    parser.addHelpOption();
    QCommandLineOption httpPort(QStringLiteral("http-port"),
                                QStringLiteral("Port of the plain HTTP server (0: any free)."),
                                QStringLiteral("port"), QStringLiteral("0"));
    QCommandLineOption httpsPort(QStringLiteral("https-port"),
                                 QStringLiteral("Port of the HTTPS server (0: any free)."),
                                 QStringLiteral("port"), QStringLiteral("0"));
    QCommandLineOption listFile(QStringLiteral("list"),
                                QStringLiteral("The list file to serve as /listadxdolv.txt."),
                                QStringLiteral("file"), QStringLiteral(MARVIX_DEMO_LIST));
    QCommandLineOption calendarFile(
        QStringLiteral("calendar"),
        QStringLiteral("The calendar widget script to serve as /calendar.php."),
        QStringLiteral("file"), QStringLiteral(MARVIX_DEMO_CALENDAR));
    QCommandLineOption hostsFile(QStringLiteral("hosts-file"),
                                 QStringLiteral("Also write the [Hosts] lines into this file."),
                                 QStringLiteral("file"));
    parser.addOptions({httpPort, httpsPort, listFile, calendarFile, hostsFile});
    parser.process(app);

    QTextStream err(stderr);
    QFile list(parser.value(listFile));
    if (!list.open(QIODevice::ReadOnly)) {
        err << "webhost: cannot read " << list.fileName() << '\n';
        return 1;
    }

    QFile calendar(parser.value(calendarFile));
    if (!calendar.open(QIODevice::ReadOnly)) {
        err << "webhost: cannot read " << calendar.fileName() << '\n';
        return 1;
    }

    DemoWebHost host;
    host.setCalendarWidget(calendar.readAll());
    if (!host.start(list.readAll(), quint16(parser.value(httpPort).toUInt()),
                    quint16(parser.value(httpsPort).toUInt()))) {
        err << "webhost: " << host.errorString() << '\n';
        return 1;
    }

    const QString hosts =
        QStringLiteral("[Hosts]\nProbe=%1\nDxpeditionList=%2\nCalendarWidget=%3\n")
            .arg(host.probeUrl(), host.listUrl(), host.calendarUrl());
    if (parser.isSet(hostsFile)) {
        QFile f(parser.value(hostsFile));
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(hosts.toUtf8()) < 0) {
            err << "webhost: cannot write " << f.fileName() << '\n';
            return 1;
        }
    }
    QTextStream out(stdout);
    out << hosts << "ready" << Qt::endl;

    ::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe);
    QSocketNotifier notifier(g_signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    return app.exec();
}
