#pragma once

#include "SimOptions.h"

#include <QTcpServer>

// Accepts users and gives each a session of its own. With a seed every
// session sees the same stream.
class SimServer : public QObject
{
    Q_OBJECT
public:
    explicit SimServer(SimOptions options, QObject* parent = nullptr);

    bool start(QString& error);
    quint16 port() const { return m_server.serverPort(); }
    QHostAddress address() const { return m_server.serverAddress(); }

private:
    void accept();

    SimOptions m_options;
    QTcpServer m_server;
};
