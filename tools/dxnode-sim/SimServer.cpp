#include "SimServer.h"

#include "SimSession.h"

#include <QRandomGenerator>
#include <QTcpSocket>
#include <QTimer>

#include <cmath>
#include <cstdio>

SimServer::SimServer(SimOptions options, QObject* parent)
    : QObject(parent), m_options(std::move(options))
{
    connect(&m_server, &QTcpServer::newConnection, this, &SimServer::accept);
}

bool SimServer::start(QString& error)
{
    if (!m_server.listen(m_options.listen, m_options.port)) {
        error = m_server.errorString();
        return false;
    }
    m_started.start();
    return true;
}

void SimServer::accept()
{
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        const QString address = socket->peerAddress().toString();
        const QString peer = QStringLiteral("%1:%2").arg(address).arg(socket->peerPort());

        // A listening socket cannot refuse one connection: the kernel has
        // already completed the handshake when we hear of it. So a refused
        // user is accepted and reset at once, which a client sees as a
        // connect that failed straight away.
        if (m_options.refuseFor > 0 && m_started.elapsed() < qint64(m_options.refuseFor * 1000)) {
            printLine(QStringLiteral("refused %1").arg(peer));
            SimSession::resetSocket(socket);
            socket->deleteLater();
            continue;
        }
        if (m_options.onePerAddress && m_openByAddress.value(address) > 0) {
            printLine(QStringLiteral("turned away %1: already connected").arg(peer));
            turnAway(socket);
            continue;
        }

        SimOptions sessionOptions = m_options;
        if (m_options.dropOnce && m_dropServed) {
            sessionOptions.drop = SimOptions::Drop::None;
            sessionOptions.dropAfterLines.reset();
            sessionOptions.dropAfterSeconds.reset();
        }
        m_dropServed = true;
        const quint32 seed =
            m_options.seed ? *m_options.seed : QRandomGenerator::global()->generate();
        auto* session = new SimSession(socket, sessionOptions, seed, this);
        connect(session, &SimSession::logLine, this, &SimServer::printLine);
        ++m_openByAddress[address];
        connect(session, &SimSession::finished, this, [this, address] {
            const auto release = [this, address] {
                if (--m_openByAddress[address] <= 0)
                    m_openByAddress.remove(address);
            };
            if (m_options.holdFor > 0)
                QTimer::singleShot(int(std::lround(m_options.holdFor * 1000)), this, release);
            else
                release();
        });
    }
}

// As a node that allows one connection per user answers the second one.
void SimServer::turnAway(QTcpSocket* socket)
{
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QTcpSocket::errorOccurred, socket, &QObject::deleteLater);
    connect(socket, &QTcpSocket::readyRead, socket, [socket] { socket->readAll(); });
    socket->write("Sorry, you are already connected\r\n");
    socket->disconnectFromHost();
}

void SimServer::printLine(const QString& line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}
