#pragma once

#include "net/TelnetCodec.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QQueue>
#include <QString>


class QSocketNotifier;
class QTcpSocket;

// The Telnet connection to a cluster node. It lives on the UI thread and is
// driven by the socket's signals: no reader thread, no blocking call.
//
// Received data reaches OnDataAvailable one chunk at a time, in arrival
// order. The receiver may pause reading (while one of its handlers has a
// modal dialog open, say): no chunk is handed out and nothing more is read
// from the socket until it resumes, so TCP holds the node back instead of
// the stream piling up in memory.
class TIdTelnet : public QObject
{
    Q_OBJECT
public:
    explicit TIdTelnet(QObject* parent = nullptr);
    ~TIdTelnet() override;

    QString Host() const { return m_host; }
    void setHost(const QString& host) { m_host = host; }
    quint16 Port() const { return m_port; }
    void setPort(quint16 port) { m_port = port; }
    QString Terminal() const { return m_terminal; }
    void setTerminal(const QString& terminal) { m_terminal = terminal; }

    // Decides the line end SendString puts on the wire; false at each
    // Connect, true from the first IAC the node sends.
    bool IamTelnet() const { return m_iamTelnet; }

    // Starts connecting. The outcome always comes later through
    // connectFinished, never from inside this call.
    void Connect();

    // How long a Connect may take, the name lookup included, before it
    // fails as "Connection timed out."; 0 (the default) leaves it to the
    // system's own wait.
    void setConnectTimeLimit(int ms) { m_connectTimeLimitMs = ms; }

    // Sends a command line; never fails loudly. Nothing goes out unless
    // connected.
    void SendString(const QString& s);

    // True while the connection is open and the node has not closed or reset
    // it (bytes received before a close still count as open until delivered).
    bool Connected() const;

    // Pauses or resumes the reading and the handing out of chunks. A close
    // or reset by the node is reported after the chunks before it, so never
    // while reading is paused.
    void setReadingPaused(bool paused);
    bool readingPaused() const { return m_paused; }

    // Closes gracefully: bytes already written still go out, then the node
    // sees the end of the stream. Cancels a connect in progress. Nothing is
    // reported afterwards.
    void Disconnect();

signals:
    void OnDataAvailable(TIdTelnet* sender, const QByteArray& buffer);
    void connectFinished(bool ok, const QString& errorMessage);
    void peerClosed();
    // Some bytes came from the node, data or negotiation.
    void received();

private:
    enum class State
    {
        Idle,
        Resolving,
        Connecting,
        Connected,
        PeerGone, // closed by the node; chunks may still wait for delivery
    };

    void failLater(const QString& message);
    void onConnectTimeLimit();
    void startConnect(quint32 ipv4);
    void onConnectOutcome();
    void finishConnectLater(const QString& message);
    void dropConnectAttempt(bool closeDescriptor);
    void guardUnwritten();
    void finishConnect(bool ok, const QString& message);
    void onSocketConnected();
    void onSocketError();
    void onSocketStateChanged();
    void onReadyRead();
    void readAvailable();
    void onPeerGone();
    void drain();
    void dropSocket();

    QString m_host;
    quint16 m_port = 23;
    QString m_terminal = QStringLiteral("dumb");
    bool m_iamTelnet = false;

    State m_state = State::Idle;
    quint64 m_attempt = 0; // bumped by every Connect and Disconnect
    int m_connectTimeLimitMs = 0;
    int m_lookupId = -1;
    QTcpSocket* m_socket = nullptr;
    // The descriptor of a connect in progress and what watches it.
    int m_connectFd = -1;
    QSocketNotifier* m_connectNotifier = nullptr;
    TelnetCodec m_codec;
    QQueue<QByteArray> m_chunks;
    bool m_paused = false;
    bool m_draining = false;
    bool m_peerClosedPending = false;
    bool m_overflow = false; // too much waits to be written: the session ends
};
