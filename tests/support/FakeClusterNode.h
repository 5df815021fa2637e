#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointer>

class QTcpServer;
class QTcpSocket;

// A cluster node for tests: listens on 127.0.0.1 at a free port, plays the
// bytes a test gives it to the newest client, and records everything the
// clients send. The wait functions spin the event loop, so the code under
// test keeps running while a test waits.
class FakeClusterNode : public QObject
{
    Q_OBJECT
public:
    explicit FakeClusterNode(QObject* parent = nullptr);
    ~FakeClusterNode() override;

    quint16 port() const;

    // Sent to every new client as soon as it is accepted.
    void setGreeting(const QByteArray& greeting) { m_greeting = greeting; }

    // Waits until a client is connected and has not gone away.
    bool waitForClient(int ms = 5000);
    bool hasClient() const;

    // Sends to the newest client.
    void send(const QByteArray& bytes);

    // Everything received from all clients since start or clearReceived().
    QByteArray received() const { return m_received; }
    void clearReceived() { m_received.clear(); }
    bool waitForReceived(const QByteArray& needle, int ms = 5000);

    // Ends the newest client's connection: closeClient with a FIN after any
    // pending bytes, resetClient with an RST.
    void closeClient();
    void resetClient();

    // Waits until the newest client has closed its side.
    bool waitForClientGone(int ms = 5000);

    // From now on a new client's connect stays unanswered for ms, as on a
    // node whose listen queue is full: the system answers no handshake until
    // the node accepts again. The client sees its connect complete only then
    // (at its next handshake retry, about a second after it began).
    void stallAccepting(int ms);

    // How many clients were accepted so far.
    int connections() const { return m_connections; }

    // A loopback port where nothing listens, for a refused connect.
    static quint16 refusingPort();

private:
    void onNewConnection();

    QTcpServer* m_server = nullptr;
    QPointer<QTcpSocket> m_client;
    QPointer<QTcpSocket> m_plug; // fills the listen queue while accepting stalls
    bool m_clientGone = false;
    QByteArray m_greeting;
    QByteArray m_received;
    int m_connections = 0;
};
