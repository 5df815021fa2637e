#include "SimOptions.h"

#include <QCommandLineParser>

QStringList SimOptions::defaultDxpeditions()
{
    return {QStringLiteral("3Y0K"), QStringLiteral("VP8PJ"),    QStringLiteral("TX5S"),
            QStringLiteral("E51D"), QStringLiteral("KH1/KH7Z"), QStringLiteral("T31EU")};
}

bool SimOptions::parse(const QStringList& arguments, SimOptions& options, QString& error)
{
    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral("A DX cluster node simulator that talks like a "
                                               "DXSpider node, for demos and tests."));
    p.addHelpOption();
    const QCommandLineOption port(QStringLiteral("port"),
                                  QStringLiteral("TCP port; 0 picks a free one and prints it."),
                                  QStringLiteral("port"), QStringLiteral("0"));
    const QCommandLineOption listen(QStringLiteral("listen"),
                                    QStringLiteral("Address to listen on."),
                                    QStringLiteral("address"), QStringLiteral("127.0.0.1"));
    const QCommandLineOption rate(QStringLiteral("rate"), QStringLiteral("Spots per second."),
                                  QStringLiteral("n"), QStringLiteral("0"));
    const QCommandLineOption seed(QStringLiteral("seed"),
                                  QStringLiteral("Seed that makes the stream repeatable."),
                                  QStringLiteral("n"));
    const QCommandLineOption telnet(QStringLiteral("telnet"),
                                    QStringLiteral("Send Telnet option negotiation on connect."));
    const QCommandLineOption bell(QStringLiteral("bell"),
                                  QStringLiteral("End spot lines with two BEL bytes."));
    const QCommandLineOption burst(QStringLiteral("burst"),
                                   QStringLiteral("Send N lines in each write."),
                                   QStringLiteral("n"), QStringLiteral("1"));
    const QCommandLineOption split(QStringLiteral("split"),
                                   QStringLiteral("Split each write in two at a random byte."));
    const QCommandLineOption dxpeditions(
        QStringLiteral("dxpeditions"),
        QStringLiteral("Comma-separated calls spotted now and then."), QStringLiteral("calls"));
    const QCommandLineOption count(QStringLiteral("count"),
                                   QStringLiteral("Stop the stream after N spots."),
                                   QStringLiteral("n"));
    const QCommandLineOption node(QStringLiteral("node"), QStringLiteral("The node's callsign."),
                                  QStringLiteral("call"), QStringLiteral("SIM-1"));
    p.addOptions({port, listen, rate, seed, telnet, bell, burst, split, dxpeditions, count, node});
    p.process(arguments); // exits on --help or an unknown option

    bool ok = false;
    const uint portValue = p.value(port).toUInt(&ok);
    if (!ok || portValue > 65535) {
        error = QStringLiteral("bad --port: %1").arg(p.value(port));
        return false;
    }
    options.port = quint16(portValue);
    if (!options.listen.setAddress(p.value(listen))) {
        error = QStringLiteral("bad --listen: %1").arg(p.value(listen));
        return false;
    }
    options.rate = p.value(rate).toDouble(&ok);
    if (!ok || options.rate < 0) {
        error = QStringLiteral("bad --rate: %1").arg(p.value(rate));
        return false;
    }
    if (p.isSet(seed)) {
        options.seed = p.value(seed).toUInt(&ok);
        if (!ok) {
            error = QStringLiteral("bad --seed: %1").arg(p.value(seed));
            return false;
        }
    }
    options.telnet = p.isSet(telnet);
    options.bell = p.isSet(bell);
    options.burst = p.value(burst).toInt(&ok);
    if (!ok || options.burst < 1) {
        error = QStringLiteral("bad --burst: %1").arg(p.value(burst));
        return false;
    }
    options.split = p.isSet(split);
    options.dxpeditions = p.isSet(dxpeditions)
                              ? p.value(dxpeditions).toUpper().split(u',', Qt::SkipEmptyParts)
                              : defaultDxpeditions();
    if (p.isSet(count)) {
        options.count = p.value(count).toInt(&ok);
        if (!ok || *options.count < 0) {
            error = QStringLiteral("bad --count: %1").arg(p.value(count));
            return false;
        }
    }
    options.node = p.value(node);
    return true;
}
