#include "session/ClusterSession.h"

#include "net/TIdTelnet.h"
#include "session/IncomingLine.h"
#include "session/SessionRules.h"

#include <QRandomGenerator>
#include <QTimer>

#include <cmath>

ClusterSession::ClusterSession(const SessionTimings& timings, QObject* parent)
    : QObject(parent), m_timings(timings), m_policy(timings)
{
    m_tailTimer = new QTimer(this);
    m_tailTimer->setSingleShot(true);
    connect(m_tailTimer, &QTimer::timeout, this, &ClusterSession::onTailTimeout);
    m_watchdog = new QTimer(this);
    m_watchdog->setSingleShot(true);
    connect(m_watchdog, &QTimer::timeout, this, &ClusterSession::onWatchdog);
    m_reconnectTimer = new QTimer(this);
    m_reconnectTimer->setSingleShot(true);
    connect(m_reconnectTimer, &QTimer::timeout, this, &ClusterSession::startReconnectAttempt);
    m_provenTimer = new QTimer(this);
    m_provenTimer->setSingleShot(true);
    connect(m_provenTimer, &QTimer::timeout, this, [this] { endProbation(true); });
    m_jitter = [] { return QRandomGenerator::global()->generateDouble() * 2.0 - 1.0; };
    m_clock.start();
}

ClusterSession::~ClusterSession()
{
    // The end of the program closes an open session without ceremony.
    delete m_telnet.data();
}

bool ClusterSession::linkUp() const
{
    return m_telnet && m_telnet->Connected();
}

// --- connect and disconnect ----------------------------------------------

void ClusterSession::connectTo(const Node& node, const QList<Node>& otherNodes)
{
    cancelReconnect();
    m_policy.setNodes(node, otherNodes);
    m_policy.succeeded();
    m_loginLine = QString();
    m_awaitingPrompt = false;
    // The user's own connect waits as long as the system lets it.
    startClient(node, 0);
}

void ClusterSession::startClient(const Node& node, int connectTimeLimitMs)
{
    // The client of an earlier attempt; nothing of it may linger.
    dropClient(false);
    m_open = false;
    m_endPending = false;
    m_lines.clear();
    m_assembler.reset();
    m_tailTimer->stop();
    stopWatchdog();
    m_attemptNode = node;

    QString portError;
    const std::optional<quint16> port = SessionRules::parsePort(node.port, &portError);
    if (!port) {
        m_telnet = new TIdTelnet(this); // the attempt is over, but it was made
        onConnectFinished(false, portError);
        return;
    }
    auto* telnet = new TIdTelnet(this);
    m_telnet = telnet;
    telnet->setHost(node.address);
    telnet->setPort(*port);
    telnet->setConnectTimeLimit(connectTimeLimitMs);
    connect(telnet, &TIdTelnet::OnDataAvailable, this,
            [this](TIdTelnet*, const QByteArray& chunk) { onChunk(chunk); });
    connect(telnet, &TIdTelnet::connectFinished, this, [this, telnet](bool ok, const QString& error) {
        if (telnet == m_telnet)
            onConnectFinished(ok, error);
    });
    connect(telnet, &TIdTelnet::peerClosed, this, [this, telnet] {
        if (telnet == m_telnet)
            onPeerClosed();
    });
    connect(telnet, &TIdTelnet::received, this, [this, telnet] {
        if (telnet == m_telnet)
            stopWatchdog();
    });
    m_connecting = true;
    telnet->Connect();
}

void ClusterSession::onConnectFinished(bool ok, const QString& errorMessage)
{
    m_connecting = false;
    if (!m_reconnecting) {
        m_open = ok;
        gated([&] { emit connectFinished(ok ? QString() : errorMessage); });
        return;
    }
    m_reconnecting = false;
    if (ok) {
        // The waits start over only once the session has shown it lives: a
        // node that takes the connection, or even the login, and drops it
        // at once (one session per address, the old one not yet noticed;
        // a node that resets every session) counts as a failure.
        m_open = true;
        m_awaitingPrompt = !m_loginLine.isNull();
        m_onProbation = true;
        m_provenTimer->start(std::max(0, m_timings.reconnectProvenMs));
        const QString name = m_attemptNode.name;
        gated([&] { emit reconnected(name); });
        return;
    }
    dropClient(false);
    m_policy.attemptFailed();
    m_reconnectWanted = true;
    gated([&] { emit reconnectFailed(errorMessage); });
    if (m_reconnectWanted && !isPausing())
        scheduleReconnect();
}

void ClusterSession::disconnectFromNode()
{
    m_open = false;
    m_connecting = false;
    m_waitingLines.clear();
    stopWatchdog();
    // What the node sent before the end is still shown.
    if (!m_handingOut) {
        m_tailTimer->stop();
        if (const std::optional<QString> tail = m_assembler.takeTailKeepingCutCharacter())
            m_lines.append(*tail);
        handOut();
    }
    m_lines.clear();
    m_assembler.reset();
    m_endPending = false;
    dropClient(true);
}

void ClusterSession::dropClient(bool graceful)
{
    if (!m_telnet)
        return;
    TIdTelnet* client = m_telnet.data();
    m_telnet = nullptr;
    client->disconnect(this);
    if (!m_handingOut) {
        if (graceful)
            client->Disconnect();
        client->deleteLater();
        return;
    }
    // A receiver has not returned and may sit in a message box, whose event
    // loop would run a deleteLater while the client is still on the stack
    // below it. The connection ends now; the object goes once the receiver
    // has returned.
    client->Disconnect();
    m_dropped.append(client);
}

void ClusterSession::startDisconnectPause()
{
    ++m_pauses;
    QTimer::singleShot(m_timings.disconnectPauseMs, this, [this] {
        --m_pauses;
        gated([this] { emit pauseOver(); });
        if (m_reconnectWanted && !m_reconnecting && !m_reconnectTimer->isActive() && !isPausing())
            scheduleReconnect();
    });
}

QStringList ClusterSession::takeWaitingLines()
{
    return std::exchange(m_waitingLines, {});
}

// --- sending -------------------------------------------------------------

bool ClusterSession::sendLine(const QString& text)
{
    if (!linkUp())
        return false;
    if (m_loginLine.isNull())
        m_loginLine = text;
    m_awaitingPrompt = false; // the user logged in by hand
    m_telnet->SendString(text + QLatin1Char('\r'));
    return true;
}

bool ClusterSession::sendKeepAlive()
{
    if (!linkUp())
        return false;
    m_telnet->SendString(QStringLiteral("\r"));
    if (!m_watchdog->isActive() && !m_watchdogHeld)
        startWatchdog();
    return true;
}

void ClusterSession::startWatchdog()
{
    if (m_timings.watchdogMs <= 0)
        return;
    // While the gate is held the node is not read, so its silence proves
    // nothing: the wait starts when the reading does.
    if (m_handingOut)
        m_watchdogHeld = true;
    else
        m_watchdog->start(m_timings.watchdogMs);
}

void ClusterSession::stopWatchdog()
{
    m_watchdog->stop();
    m_watchdogHeld = false;
}

// --- what the node sends -------------------------------------------------

// Nodes send several lines in one packet under load and TCP splits lines
// anywhere, so the bytes are put together into whole lines first.
void ClusterSession::onChunk(const QByteArray& chunk)
{
    m_lines.append(m_assembler.feed(chunk));
    handOut();
}

void ClusterSession::restartTailTimer()
{
    if (m_assembler.hasTail())
        m_tailTimer->start(IncomingLine::tailMayBecomeSpot(m_assembler.tail())
                               ? m_timings.spotTailFlushMs
                               : m_timings.lineTailFlushMs);
    else
        m_tailTimer->stop();
}

// The node has been quiet: its unfinished line is shown, after a line still
// being handled.
void ClusterSession::onTailTimeout()
{
    if (m_handingOut) {
        m_tailTimer->start();
        return;
    }
    if (const std::optional<QString> tail = m_assembler.takeTailKeepingCutCharacter())
        m_lines.append(*tail);
    handOut();
}

bool ClusterSession::holdGate()
{
    if (m_handingOut)
        return false;
    m_handingOut = true;
    if (m_telnet)
        m_telnet->setReadingPaused(true);
    // A watchdog that runs stops counting; it starts over on release.
    if (m_watchdog->isActive()) {
        m_watchdog->stop();
        m_watchdogHeld = true;
    }
    return true;
}

void ClusterSession::releaseGate(const QPointer<TIdTelnet>& telnet)
{
    m_handingOut = false;
    if (telnet && telnet == m_telnet)
        telnet->setReadingPaused(false);
    if (m_watchdogHeld) {
        m_watchdogHeld = false;
        if (m_open && linkUp())
            startWatchdog();
    }
    // Back in the event loop that read them, they may go.
    for (const QPointer<TIdTelnet>& client : std::exchange(m_dropped, {})) {
        if (client)
            client->deleteLater();
    }
}

void ClusterSession::gated(const std::function<void()>& emitter)
{
    const QPointer<TIdTelnet> telnet = m_telnet;
    const bool outer = holdGate();
    QPointer<ClusterSession> self(this);
    emitter();
    if (!self || !outer)
        return;
    releaseGate(telnet);
}

void ClusterSession::handOut()
{
    if (m_handingOut)
        return;
    QPointer<ClusterSession> self(this);
    const QPointer<TIdTelnet> telnet = m_telnet;
    holdGate();
    while (!m_lines.isEmpty()) {
        const QString line = m_lines.takeFirst();
        emit lineReady(line);
        if (!self)
            return;
        if (m_onProbation && SessionRules::isServingLine(line))
            endProbation(true);
        if (m_awaitingPrompt && SessionRules::isLoginPrompt(line) && linkUp()) {
            m_awaitingPrompt = false;
            m_telnet->SendString(m_loginLine + QLatin1Char('\r'));
            emit loginSent(m_loginLine);
            if (!self)
                return;
        }
    }
    releaseGate(telnet);
    restartTailTimer();
    if (m_endPending)
        loseSession();
}

void ClusterSession::onPeerClosed()
{
    m_endPending = true;
    if (!m_handingOut)
        handOut();
}

void ClusterSession::onWatchdog()
{
    if (!m_open)
        return;
    const int seconds = int(std::lround(m_timings.watchdogMs / 1000.0));
    gated([&] { emit watchdogFired(seconds); });
    if (!m_open)
        return;
    dropClient(false);
    m_endPending = true;
    if (!m_handingOut)
        handOut();
}

// The session is over without the user asking: the rest of the line the
// node sent is shown whole (nothing more will come), then the end.
void ClusterSession::loseSession()
{
    m_endPending = false;
    m_tailTimer->stop();
    stopWatchdog();
    if (const std::optional<QString> tail = m_assembler.takeTail()) {
        m_lines.append(*tail);
        handOut(); // comes back here with m_endPending false
    }
    const bool wasOpen = m_open;
    m_open = false;
    m_awaitingPrompt = false;
    if (m_onProbation)
        endProbation(false);
    dropClient(false);
    // Only a session the user had logged in comes back by itself.
    m_reconnectWanted = wasOpen && m_autoReconnect && !m_loginLine.isNull();
    gated([this] { emit ended(); });
}

// --- reconnect -----------------------------------------------------------

void ClusterSession::cancelReconnect()
{
    m_reconnectTimer->stop();
    m_provenTimer->stop();
    m_onProbation = false;
    m_reconnectWanted = false;
    if (m_reconnecting) {
        m_reconnecting = false;
        m_connecting = false;
        dropClient(false);
    }
    m_awaitingPrompt = false;
}

void ClusterSession::scheduleReconnect()
{
    m_reconnectWanted = false;
    m_reconnecting = true;
    const qint64 delay = m_policy.nextDelayMs(m_clock.elapsed(), m_jitter ? m_jitter() : 0.0);
    const QString name = m_policy.nextNode().name;
    m_reconnectTimer->start(int(std::min<qint64>(delay, INT_MAX)));
    const int seconds = int(std::lround(double(delay) / 1000.0));
    gated([&] { emit reconnectScheduled(name, seconds); });
}

void ClusterSession::startReconnectAttempt()
{
    if (!m_reconnecting)
        return;
    m_policy.attemptStarted(m_clock.elapsed());
    const Node node = m_policy.nextNode();
    // startClient forgets the lines of the lost session, which were all
    // handed out before it ended.
    startClient(node, m_timings.reconnectConnectMs);
}

void ClusterSession::endProbation(bool survived)
{
    m_onProbation = false;
    m_provenTimer->stop();
    if (survived)
        m_policy.succeeded();
    else
        m_policy.attemptFailed();
}
