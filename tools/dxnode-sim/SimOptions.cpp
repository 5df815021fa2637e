#include "SimOptions.h"

#include <QCommandLineParser>

#include <cmath>

namespace {

// Longer than this would not fit a timer's milliseconds; no test or demo
// waits that long.
constexpr double MaxSeconds = 1000000;

// "2.5" -> 2.5; negative, not a number or too long gives false.
bool parseSeconds(const QString& text, double& seconds)
{
    bool ok = false;
    seconds = text.toDouble(&ok);
    return ok && std::isfinite(seconds) && seconds >= 0 && seconds <= MaxSeconds;
}

} // namespace

QString SimOptions::dropName(Drop drop)
{
    switch (drop) {
    case Drop::Close:
        return QStringLiteral("close");
    case Drop::Reset:
        return QStringLiteral("reset");
    case Drop::Silent:
        return QStringLiteral("silent");
    case Drop::None:
        break;
    }
    return QString();
}

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
    const QCommandLineOption drop(
        QStringLiteral("drop"),
        QStringLiteral("Drop each session: close it, reset it (RST) or fall silent, after "
                       "--drop-after-lines or --drop-after-seconds, whichever comes first."),
        QStringLiteral("close|reset|silent"));
    const QCommandLineOption dropAfterLines(
        QStringLiteral("drop-after-lines"),
        QStringLiteral("Drop after N lines sent to the user, the greeting included."),
        QStringLiteral("n"));
    const QCommandLineOption dropAfterSeconds(
        QStringLiteral("drop-after-seconds"),
        QStringLiteral("Drop S seconds after the user connected (fractions allowed)."),
        QStringLiteral("s"));
    const QCommandLineOption dropOnce(
        QStringLiteral("drop-once"),
        QStringLiteral("Only the first session drops; later ones behave."));
    const QCommandLineOption mute(
        QStringLiteral("mute"),
        QStringLiteral("Accept users and never send a byte, not even the greeting."));
    const QCommandLineOption refuseFor(
        QStringLiteral("refuse-for"),
        QStringLiteral("Refuse connections (accept, then reset) for the first S seconds."),
        QStringLiteral("s"));
    const QCommandLineOption onePerAddress(
        QStringLiteral("one-per-address"),
        QStringLiteral("Turn away a second connection from an address that has one open."));
    const QCommandLineOption holdFor(
        QStringLiteral("hold-for"),
        QStringLiteral("With --one-per-address: an address stays taken for S seconds after its "
                       "user has gone, as on a node that has not noticed yet."),
        QStringLiteral("s"));
    p.addOptions({port, listen, rate, seed, telnet, bell, burst, split, dxpeditions, count, node,
                  drop, dropAfterLines, dropAfterSeconds, dropOnce, mute, refuseFor, onePerAddress,
                  holdFor});
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

    if (p.isSet(drop)) {
        const QString kind = p.value(drop).toLower();
        if (kind == QLatin1String("close"))
            options.drop = Drop::Close;
        else if (kind == QLatin1String("reset"))
            options.drop = Drop::Reset;
        else if (kind == QLatin1String("silent"))
            options.drop = Drop::Silent;
        else {
            error = QStringLiteral("bad --drop: %1 (close, reset or silent)").arg(p.value(drop));
            return false;
        }
    }
    if (p.isSet(dropAfterLines)) {
        const int lines = p.value(dropAfterLines).toInt(&ok);
        if (!ok || lines < 0) {
            error = QStringLiteral("bad --drop-after-lines: %1").arg(p.value(dropAfterLines));
            return false;
        }
        options.dropAfterLines = lines;
    }
    if (p.isSet(dropAfterSeconds)) {
        double seconds = 0;
        if (!parseSeconds(p.value(dropAfterSeconds), seconds)) {
            error = QStringLiteral("bad --drop-after-seconds: %1").arg(p.value(dropAfterSeconds));
            return false;
        }
        options.dropAfterSeconds = seconds;
    }
    const bool dropAfter = options.dropAfterLines || options.dropAfterSeconds;
    if (options.drop != Drop::None && !dropAfter) {
        error = QStringLiteral("--drop needs --drop-after-lines or --drop-after-seconds");
        return false;
    }
    if (options.drop == Drop::None && dropAfter) {
        error = QStringLiteral("--drop-after-lines and --drop-after-seconds need --drop");
        return false;
    }
    options.dropOnce = p.isSet(dropOnce);
    if (options.dropOnce && options.drop == Drop::None) {
        error = QStringLiteral("--drop-once needs --drop");
        return false;
    }
    options.mute = p.isSet(mute);
    if (p.isSet(refuseFor) && !parseSeconds(p.value(refuseFor), options.refuseFor)) {
        error = QStringLiteral("bad --refuse-for: %1").arg(p.value(refuseFor));
        return false;
    }
    options.onePerAddress = p.isSet(onePerAddress);
    if (p.isSet(holdFor)) {
        if (!parseSeconds(p.value(holdFor), options.holdFor)) {
            error = QStringLiteral("bad --hold-for: %1").arg(p.value(holdFor));
            return false;
        }
        if (!options.onePerAddress) {
            error = QStringLiteral("--hold-for needs --one-per-address");
            return false;
        }
    }
    return true;
}
