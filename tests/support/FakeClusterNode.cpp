#include "support/FakeClusterNode.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

#include <sys/socket.h>

FakeClusterNode::FakeClusterNode(QObject* parent) : QObject(parent), m_server(new QTcpServer(this))
{
    connect(m_server, &QTcpServer::newConnection, this, &FakeClusterNode::onNewConnection);
    if (!m_server->listen(QHostAddress::LocalHost, 0))
        qFatal("FakeClusterNode: cannot listen on 127.0.0.1: %s",
               qPrintable(m_server->errorString()));
}

FakeClusterNode::~FakeClusterNode() = default;

quint16 FakeClusterNode::port() const
{
    return m_server->serverPort();
}

void FakeClusterNode::onNewConnection()
{
    while (QTcpSocket* s = m_server->nextPendingConnection()) {
        if (m_plug && s->peerPort() == m_plug->localPort()) {
            s->abort();
            s->deleteLater();
            m_plug->abort();
            m_plug->deleteLater();
            continue;
        }
        ++m_connections;
        s->setParent(this);
        m_client = s;
        m_clientGone = false;
        connect(s, &QTcpSocket::readyRead, this, [this, s] { m_received += s->readAll(); });
        connect(s, &QTcpSocket::disconnected, this, [this, s] {
            if (s->isOpen())
                m_received += s->readAll();
            if (s == m_client)
                m_clientGone = true;
        });
        if (!m_greeting.isEmpty()) {
            s->write(m_greeting);
            s->flush();
        }
    }
}

bool FakeClusterNode::hasClient() const
{
    return m_client && !m_clientGone && m_client->state() == QAbstractSocket::ConnectedState;
}

bool FakeClusterNode::waitForClient(int ms)
{
    return QTest::qWaitFor([this] { return hasClient(); }, ms);
}

void FakeClusterNode::send(const QByteArray& bytes)
{
    if (!m_client)
        return;
    m_client->write(bytes);
    m_client->flush();
}

bool FakeClusterNode::waitForReceived(const QByteArray& needle, int ms)
{
    return QTest::qWaitFor([&] { return m_received.contains(needle); }, ms);
}

void FakeClusterNode::closeClient()
{
    if (!m_client)
        return;
    m_client->flush();
    m_client->disconnectFromHost();
}

void FakeClusterNode::resetClient()
{
    if (!m_client)
        return;
    // With a zero linger time, close() discards the send queue and sends RST.
    const linger hard{1, 0};
    ::setsockopt(int(m_client->socketDescriptor()), SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
    m_client->abort();
}

bool FakeClusterNode::waitForClientGone(int ms)
{
    return QTest::qWaitFor([this] { return !m_client || m_clientGone; }, ms);
}

void FakeClusterNode::stallAccepting(int ms)
{
    // Listen again on the same port with room for one connection in the
    // queue, and fill that room with a connection nobody accepts.
    const quint16 port = m_server->serverPort();
    m_server->close();
    m_server->setListenBacklogSize(0);
    if (!m_server->listen(QHostAddress::LocalHost, port))
        qFatal("FakeClusterNode: cannot listen again on port %u: %s", port,
               qPrintable(m_server->errorString()));
    m_server->pauseAccepting();
    m_plug = new QTcpSocket(this);
    m_plug->connectToHost(QHostAddress::LocalHost, port);
    if (!m_plug->waitForConnected(2000))
        qFatal("FakeClusterNode: the queue filler did not connect");
    QTimer::singleShot(ms, this, [this] { m_server->resumeAccepting(); });
}

quint16 FakeClusterNode::refusingPort()
{
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        return 0;
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}
