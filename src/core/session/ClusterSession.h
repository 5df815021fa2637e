#pragma once

#include "session/LineAssembler.h"
#include "session/ReconnectPolicy.h"
#include "session/SessionTimings.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QStringList>

#include <functional>

class QTimer;
class TIdTelnet;

// The session with a cluster node, apart from any window: the Telnet client
// of each connect, the lines put together from its chunks, the tail shown
// after a silence, the connect attempt and the lines the user sent during
// it, the pause after a disconnect, and the session kept alive: reconnect
// after a loss, a watchdog for a node that stopped sending, failover down
// the node list.
//
// It talks back only by signals. Everything it hands out goes through one
// gate: while a receiver of lineReady (or of any other signal) has not
// returned, because it opened a message box and the event loop turns inside
// it, nothing else is handed out and nothing more is read from the node;
// what came meanwhile follows in order once it returns. That wait is ours,
// not the node's: the watchdog does not run meanwhile, and a client dropped
// meanwhile is deleted only after the receiver has returned.
class ClusterSession : public QObject
{
    Q_OBJECT
public:
    using Node = ReconnectPolicy::Node;

    explicit ClusterSession(const SessionTimings& timings, QObject* parent = nullptr);
    ~ClusterSession() override;

    // A fresh session to a node, the node list given for failover; a
    // pending reconnect is cancelled. The outcome comes by connectFinished,
    // at once for a port that is no port, else from the event loop.
    void connectTo(const Node& node, const QList<Node>& otherNodes);

    // Shows the tail, drops the client and forgets the waiting lines. A
    // reconnect that a loss asked for stays pending.
    void disconnectFromNode();
    // Keeps "Connect" off for a while after a disconnect; pauseOver then.
    void startDisconnectPause();

    // A command line the user sent while a connect attempt ran, sent once
    // its outcome is known (takeWaitingLines).
    void holdLine(const QString& commandLine) { m_waitingLines.append(commandLine); }
    QStringList takeWaitingLines();

    // Sends a line with its line end; false when there is no open link. The
    // first line sent in a session is the login the session repeats after a
    // reconnect.
    bool sendLine(const QString& text);
    // Sends the keep-alive (a bare line end) and starts the watchdog.
    bool sendKeepAlive();

    void setAutoReconnect(bool on) { m_autoReconnect = on; }
    // The user's Disconnect, Connect or another choice of node: no more
    // attempts.
    void cancelReconnect();

    bool isConnecting() const { return m_connecting; }
    bool isPausing() const { return m_pauses > 0; }
    bool hasClient() const { return !m_telnet.isNull(); }
    bool linkUp() const;
    // A reconnect waits for its time or runs.
    bool reconnectPending() const { return m_reconnectWanted || m_reconnecting; }
    bool isHandingOut() const { return m_handingOut; }
    // For a test's clock-free check of the waits.
    const ReconnectPolicy& policy() const { return m_policy; }

    // Where the jitter comes from ([-1, 1]); tests may fix it.
    void setJitterSource(std::function<double()> source) { m_jitter = std::move(source); }

signals:
    // The outcome of connectTo: a null failure when the session is open,
    // else the text for "Connection failed: ".
    void connectFinished(const QString& failure);
    // One line of the node's text (a complete line, or a tail after a
    // silence).
    void lineReady(const QString& line);
    // The node closed or reset the session, it broke, or the watchdog ended
    // it; everything the node sent before is handed out first.
    void ended();
    void pauseOver();
    // Nothing came for this many seconds after a keep-alive.
    void watchdogFired(int seconds);
    void reconnectScheduled(const QString& nodeName, int seconds);
    void reconnectFailed(const QString& failure);
    void reconnected(const QString& nodeName);
    // The login line went out again after a reconnect, at the node's prompt.
    void loginSent(const QString& text);

private:
    void startClient(const Node& node, int connectTimeLimitMs);
    void dropClient(bool graceful);
    void onConnectFinished(bool ok, const QString& errorMessage);
    void onChunk(const QByteArray& chunk);
    void onPeerClosed();
    void onTailTimeout();
    void onWatchdog();
    void loseSession();
    void scheduleReconnect();
    void startReconnectAttempt();
    void endProbation(bool survived);

    // Holds and releases the gate; hold returns whether this was the
    // outermost hold.
    bool holdGate();
    void releaseGate(const QPointer<TIdTelnet>& telnet);
    void startWatchdog();
    void stopWatchdog();

    // Hands out the waiting lines, one at a time, unless a receiver is still
    // busy; then the end of the session if it came.
    void handOut();
    // Emits through the gate: reading is paused while the receivers run.
    void gated(const std::function<void()>& emitter);
    void restartTailTimer();

    SessionTimings m_timings;
    QPointer<TIdTelnet> m_telnet;
    LineAssembler m_assembler;
    QStringList m_lines;       // put together, not yet handed out
    QStringList m_waitingLines; // sent by the user during a connect attempt
    QTimer* m_tailTimer = nullptr;
    QTimer* m_watchdog = nullptr;
    QTimer* m_reconnectTimer = nullptr;
    QTimer* m_provenTimer = nullptr;
    bool m_handingOut = false;
    bool m_connecting = false;
    bool m_open = false;       // connected and not ended
    bool m_endPending = false; // the node has gone; handed out after the lines
    int m_pauses = 0;
    bool m_watchdogHeld = false; // due while the gate is held; starts on release
    QList<QPointer<TIdTelnet>> m_dropped; // dropped while the gate is held

    bool m_autoReconnect = true;
    ReconnectPolicy m_policy;
    QString m_loginLine;       // null until the user's first line of a session
    bool m_reconnectWanted = false; // after the pause, a reconnect is due
    bool m_reconnecting = false;    // a reconnect attempt or its wait runs
    bool m_awaitingPrompt = false;  // reconnected; the login waits for the prompt
    bool m_onProbation = false;     // reconnected; not yet counted as a success
    Node m_attemptNode;
    QElapsedTimer m_clock;
    std::function<double()> m_jitter;
};
