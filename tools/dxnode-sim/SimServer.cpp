#include "SimServer.h"

#include "SimSession.h"

#include <QRandomGenerator>
#include <QTcpSocket>

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
    return true;
}

void SimServer::accept()
{
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        const quint32 seed =
            m_options.seed ? *m_options.seed : QRandomGenerator::global()->generate();
        new SimSession(socket, m_options, seed, this);
    }
}
