#include "SimSession.h"

#include <QTcpSocket>

#include <cmath>

#include <sys/ioctl.h>
#include <sys/socket.h>

namespace {

constexpr char IAC = char(255);
constexpr char SB = char(250);
constexpr char SE = char(240);
constexpr char WILL = char(251);
constexpr char DO = char(253);
constexpr char OPT_ECHO = char(1);
constexpr char OPT_SGA = char(3);
constexpr char OPT_TTYPE = char(24);
constexpr char TTYPE_SEND = char(1);

constexpr int HistoryKept = 200;
constexpr int SplitPauseMs = 15;
constexpr int EndPollMs = 5;
constexpr int EndWaitMs = 2000;
// After a clean close the user is given this long to close their end.
constexpr int HalfClosedMs = 10000;

QString bandOf(const QString& frequency)
{
    const double khz = frequency.toDouble();
    struct Range
    {
        double low, high;
        const char* name;
    };
    static const Range ranges[] = {
        {1800, 2000, "160m"},     {3500, 4000, "80m"},        {5300, 5410, "60m"},
        {7000, 7300, "40m"},      {10100, 10150, "30m"},      {14000, 14350, "20m"},
        {18068, 18168, "17m"},    {21000, 21450, "15m"},      {24890, 24990, "12m"},
        {28000, 29700, "10m"},    {50000, 54000, "6m"},       {144000, 148000, "2m"},
        {430000, 440000, "70cm"}, {1240000, 1300000, "23cm"}, {10000000, 10500000, "3cm"},
    };
    for (const Range& r : ranges) {
        if (khz >= r.low && khz <= r.high)
            return QLatin1String(r.name);
    }
    return QString();
}

} // namespace

SimSession::SimSession(QTcpSocket* socket, const SimOptions& options, quint32 seed, QObject* parent)
    : QObject(parent), m_socket(socket), m_options(options), m_generator(seed, options.dxpeditions),
      m_splitRandom(seed ^ 0x5a5a5a5au)
{
    m_socket->setParent(this);
    m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    m_peer =
        QStringLiteral("%1:%2").arg(m_socket->peerAddress().toString()).arg(m_socket->peerPort());
    connect(m_socket, &QTcpSocket::readyRead, this, &SimSession::readInput);
    connect(m_socket, &QTcpSocket::disconnected, this, &SimSession::finish);
    m_drainTimer.setSingleShot(true);
    connect(&m_drainTimer, &QTimer::timeout, this, &SimSession::drain);
    connect(&m_stream, &QTimer::timeout, this, &SimSession::streamTick);
    connect(&m_endWait, &QTimer::timeout, this, &SimSession::endWhenSent);

    if (m_options.drop != SimOptions::Drop::None) {
        if (m_options.dropAfterSeconds) {
            const double seconds = *m_options.dropAfterSeconds;
            m_dropTimer.setSingleShot(true);
            m_dropTimer.setTimerType(Qt::PreciseTimer);
            connect(&m_dropTimer, &QTimer::timeout, this,
                    [this, seconds] { drop(QStringLiteral("after %1 s").arg(seconds)); });
            m_dropTimer.start(int(std::lround(seconds * 1000)));
        }
        if (m_options.dropAfterLines == 0) {
            m_dropDue = true;
            QTimer::singleShot(0, this, [this] { drop(QStringLiteral("after 0 lines")); });
        }
    }
    m_quiet = m_options.mute;

    // Spots from before the user came, for sh/dx.
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (int i = 20; i > 0; --i)
        m_history.append(m_generator.nextSpot(now.addSecs(-i * 97)));

    if (m_options.telnet) {
        const char negotiation[] = {IAC, DO,  OPT_TTYPE, IAC,      SB,  OPT_TTYPE, TTYPE_SEND, IAC,
                                    SE,  IAC, WILL,      OPT_ECHO, IAC, WILL,      OPT_SGA};
        sendRaw(QByteArray(negotiation, sizeof negotiation));
    }
    sendRaw(QStringLiteral("Welcome to %1, a DX cluster node simulator\r\n\r\nlogin: ")
                .arg(m_options.node)
                .toUtf8());
}

void SimSession::readInput()
{
    const QByteArray bytes = m_socket->readAll();
    if (m_quiet || m_dropDue)
        return; // read all the same, so the user's writes never block
    for (char c : bytes)
        takeByte(c);
}

// Telnet commands are dropped; a line ends at LF, CR LF or a bare CR.
void SimSession::takeByte(char c)
{
    switch (m_iac) {
    case Iac::Data:
        break;
    case Iac::Command:
        if (c == IAC) {
            m_iac = Iac::Data;
            break; // an escaped 255 is data
        }
        if (c == SB)
            m_iac = Iac::Sub;
        else if (c >= WILL) // WILL, WONT, DO, DONT carry an option byte
            m_iac = Iac::Option;
        else
            m_iac = Iac::Data;
        return;
    case Iac::Option:
        m_iac = Iac::Data;
        return;
    case Iac::Sub:
        if (c == IAC)
            m_iac = Iac::SubIac;
        return;
    case Iac::SubIac:
        m_iac = c == SE ? Iac::Data : Iac::Sub;
        return;
    }
    if (c == IAC && m_iac == Iac::Data) {
        m_iac = Iac::Command;
        return;
    }

    const bool skipLf = m_skipLf;
    m_skipLf = false;
    if (c == '\n' && skipLf)
        return;
    if (c == '\0' && skipLf) { // Telnet's CR NUL
        m_skipLf = true;
        return;
    }
    if (c == '\r' || c == '\n') {
        m_skipLf = c == '\r';
        const QString line = QString::fromUtf8(m_inLine);
        m_inLine.clear();
        handleLine(line);
        return;
    }
    if (m_inLine.size() < 4096)
        m_inLine.append(c);
}

void SimSession::handleLine(const QString& line)
{
    if (m_state == State::Login)
        login(line.trimmed());
    else if (m_state == State::Online)
        command(line.trimmed());
}

void SimSession::login(const QString& call)
{
    const QString word = call.section(u' ', 0, 0, QString::SectionSkipEmpty).toUpper();
    if (word.isEmpty()) {
        sendRaw("login: ");
        return;
    }
    m_call = word;
    m_state = State::Online;
    sendLines(
        {QStringLiteral("Hello %1, this is %2 in Simville, JN00AA").arg(m_call, m_options.node),
         QStringLiteral("running DXSpider-style simulator, for demos and tests"),
         QStringLiteral("Capabilities: ve7cc rbn"),
         QStringLiteral("Cluster: 3 nodes, 1 local / 42 total users  Max users 128  "
                        "Uptime 0 00:12"),
         QStringLiteral("Type sh/dx for the last spots and bye to leave."), prompt()});
    if (m_options.rate > 0 && (!m_options.count || *m_options.count > 0)) {
        m_stream.start(std::max(1, int(std::lround(1000.0 / m_options.rate))));
    }
}

void SimSession::command(const QString& line)
{
    const QString lower = line.toLower();
    const QString verb = lower.section(u' ', 0, 0, QString::SectionSkipEmpty);
    const QString rest = line.section(u' ', 1, -1, QString::SectionSkipEmpty);
    QStringList answer;
    if (verb.isEmpty()) {
        // every line, an empty one too, gets a new prompt
    } else if (verb == QLatin1String("bye") || verb == QLatin1String("quit")) {
        flushBurst();
        m_stream.stop();
        m_state = State::Closing;
        sendLines({QStringLiteral("73 %1, see you again on %2").arg(m_call, m_options.node)});
        return;
    } else if (verb == QLatin1String("sh/dx") || verb == QLatin1String("show/dx")) {
        showDx(rest.toLower());
        return;
    } else if (verb == QLatin1String("set/nobeep")) {
        m_beep = false;
        answer << QStringLiteral("Beeps are now off");
    } else if (verb == QLatin1String("set/beep")) {
        m_beep = true;
        answer << QStringLiteral("Beeps are now on");
    } else if (verb == QLatin1String("set/page")) {
        answer << QStringLiteral("Page length is now %1").arg(rest.isEmpty() ? "20" : rest);
    } else if (verb == QLatin1String("set/name")) {
        answer << QStringLiteral("Your name is now \"%1\"").arg(rest);
    } else if (verb == QLatin1String("set/qth")) {
        answer << QStringLiteral("Your QTH is now \"%1\"").arg(rest);
    } else if (verb.startsWith(QLatin1String("accept/")) ||
               verb.startsWith(QLatin1String("reject/"))) {
        answer << QStringLiteral("%1 filter set: %2").arg(verb, rest);
    } else {
        answer << QStringLiteral("Sorry, %1 is not a command here").arg(line);
    }
    answer << prompt();
    flushBurst();
    sendLines(answer);
}

void SimSession::showDx(const QString& arguments)
{
    int wanted = 10;
    QString band;
    const QStringList words = arguments.split(u' ', Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < words.size(); ++i) {
        bool ok = false;
        const int n = words.at(i).toInt(&ok);
        if (ok && n > 0)
            wanted = std::min(n, 100);
        else if (words.at(i) == QLatin1String("on") && i + 1 < words.size())
            band = words.at(++i);
    }
    QStringList answer;
    for (qsizetype i = m_history.size() - 1; i >= 0 && answer.size() < wanted; --i) {
        if (band.isEmpty() || bandOf(m_history.at(i).frequency) == band)
            answer << SimLines::formatShowDx(m_history.at(i));
    }
    answer << prompt();
    flushBurst();
    sendLines(answer);
}

void SimSession::streamTick()
{
    QString line;
    if (m_generator.otherLineDue()) {
        line = m_generator.nextOtherLine(m_call);
    } else {
        const SimLines::Spot spot = m_generator.nextSpot(QDateTime::currentDateTimeUtc());
        m_history.append(spot);
        if (m_history.size() > HistoryKept)
            m_history.removeFirst();
        line = SimLines::formatSpot(spot);
        if (m_options.bell && m_beep)
            line += QStringLiteral("\a\a");
        ++m_spotsSent;
    }
    m_burst << line;
    const bool done = m_options.count && m_spotsSent >= *m_options.count;
    if (m_burst.size() >= m_options.burst || done)
        flushBurst();
    if (done)
        m_stream.stop();
}

void SimSession::flushBurst()
{
    if (m_burst.isEmpty())
        return;
    sendLines(m_burst);
    m_burst.clear();
}

QString SimSession::prompt() const
{
    return SimLines::formatPrompt(m_call, m_options.node, QDateTime::currentDateTimeUtc());
}

void SimSession::sendLines(const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& l : lines)
        bytes += l.toUtf8() + "\r\n";
    sendRaw(bytes);
}

void SimSession::sendRaw(const QByteArray& all)
{
    if (all.isEmpty() || m_quiet || m_dropDue)
        return;
    QByteArray bytes = all;
    if (m_options.drop != SimOptions::Drop::None && m_options.dropAfterLines) {
        // Lines are counted by their LF; what follows the last one allowed
        // is never sent.
        const int allowed = *m_options.dropAfterLines - m_linesSent;
        int seen = 0;
        for (qsizetype i = 0; i < bytes.size(); ++i) {
            if (bytes.at(i) == '\n' && ++seen == allowed) {
                bytes.truncate(i + 1);
                m_dropDue = true;
                break;
            }
        }
        m_linesSent += seen;
    }
    if (m_options.split && bytes.size() > 1) {
        const qsizetype cut = 1 + qsizetype(m_splitRandom.bounded(int(bytes.size() - 1)));
        m_out.enqueue(bytes.left(cut));
        m_out.enqueue(bytes.mid(cut));
    } else {
        m_out.enqueue(bytes);
    }
    if (!m_drainTimer.isActive())
        drain();
}

void SimSession::drain()
{
    while (!m_out.isEmpty()) {
        m_socket->write(m_out.dequeue());
        m_socket->flush();
        if (m_options.split && !m_out.isEmpty()) {
            // A pause so the pieces reach the client as separate reads.
            m_drainTimer.start(SplitPauseMs);
            return;
        }
    }
    if (m_dropDue) {
        const int lines = m_linesSent;
        QTimer::singleShot(0, this, [this, lines] {
            drop(QStringLiteral("after %1 %2").arg(lines).arg(lines == 1 ? "line" : "lines"));
        });
        return;
    }
    if (m_state == State::Closing)
        m_socket->disconnectFromHost();
}

void SimSession::drop(const QString& when)
{
    if (m_dropped || m_finished)
        return;
    m_dropped = true;
    m_quiet = true;
    m_dropTimer.stop();
    m_stream.stop();
    m_burst.clear();
    m_drainTimer.stop();
    m_out.clear(); // pieces of a split write not yet sent stay unsent
    emit logLine(QStringLiteral("dropped %1: %2 %3")
                     .arg(m_peer, SimOptions::dropName(m_options.drop), when));
    switch (m_options.drop) {
    case SimOptions::Drop::Close:
        m_endDeadline.setRemainingTime(EndWaitMs);
        m_endWait.start(EndPollMs);
        endWhenSent();
        break;
    case SimOptions::Drop::Reset:
        if (m_dropDue) {
            // The lines up to the limit were promised; a reset throws away
            // whatever has not reached the user yet.
            m_endDeadline.setRemainingTime(EndWaitMs);
            m_endWait.start(EndPollMs);
            endWhenSent();
        } else {
            resetSocket(m_socket);
            finish();
        }
        break;
    case SimOptions::Drop::Silent:
    case SimOptions::Drop::None:
        break;
    }
}

void SimSession::endWhenSent()
{
    const bool reset = m_options.drop == SimOptions::Drop::Reset;
    if (m_socket->bytesToWrite() > 0)
        m_socket->flush();
    int unacknowledged = 0; // bytes the kernel still holds for the user
    if (reset && ::ioctl(int(m_socket->socketDescriptor()), TIOCOUTQ, &unacknowledged) != 0)
        unacknowledged = 0;
    if ((m_socket->bytesToWrite() > 0 || unacknowledged > 0) && !m_endDeadline.hasExpired())
        return;
    m_endWait.stop();
    if (reset) {
        resetSocket(m_socket);
        finish();
        return;
    }
    // Closing the socket while the user's input waits unread in it would
    // send RST, not FIN. Shutting down our side sends FIN at once; what the
    // user still sends is read and thrown away until they close too.
    ::shutdown(int(m_socket->socketDescriptor()), SHUT_WR);
    QTimer::singleShot(HalfClosedMs, this, [this] {
        m_socket->abort();
        finish();
    });
}

void SimSession::resetSocket(QTcpSocket* socket)
{
    // Lingering on with no time makes close() send RST instead of FIN.
    const linger abortive{1, 0};
    ::setsockopt(int(socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &abortive,
                 sizeof abortive);
    socket->abort();
}

void SimSession::finish()
{
    if (m_finished)
        return;
    m_finished = true;
    m_stream.stop();
    m_drainTimer.stop();
    m_dropTimer.stop();
    m_endWait.stop();
    emit finished();
    deleteLater();
}
