#pragma once

#include "SimOptions.h"

#include <QElapsedTimer>
#include <QHash>
#include <QTcpServer>

class QTcpSocket;

// Accepts users and gives each a session of its own. With a seed every
// session sees the same stream. The failure options turn users away here:
// refused in the first seconds, or turned away while their address already
// has a session open (or, with a hold, had one until a moment ago).
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
    void turnAway(QTcpSocket* socket);
    // One line on stdout for a script or a test log to follow.
    static void printLine(const QString& line);

    SimOptions m_options;
    QTcpServer m_server;
    QElapsedTimer m_started;
    bool m_dropServed = false;
    QHash<QString, int> m_openByAddress;
};
