#pragma once

#include "SimLines.h"
#include "SimOptions.h"
#include "SpotGenerator.h"

#include <QDeadlineTimer>
#include <QObject>
#include <QQueue>
#include <QRandomGenerator>
#include <QTimer>

class QTcpSocket;

// One user connected to the simulated node: the login exchange, the commands
// and the stream of spots, written the way a DXSpider node writes them.
// With the failure options it mutes, or drops the user after so many lines
// or seconds.
class SimSession : public QObject
{
    Q_OBJECT
public:
    SimSession(QTcpSocket* socket, const SimOptions& options, quint32 seed,
               QObject* parent = nullptr);

    // Closes the socket with a TCP reset (RST) instead of a clean end.
    static void resetSocket(QTcpSocket* socket);

signals:
    void finished();
    // "dropped 127.0.0.1:40312: reset after 5 lines"
    void logLine(const QString& line);

private:
    enum class State
    {
        Login,
        Online,
        Closing
    };
    enum class Iac
    {
        Data,
        Command,
        Option,
        Sub,
        SubIac
    };

    void readInput();
    void takeByte(char c);
    void handleLine(const QString& line);
    void login(const QString& call);
    void command(const QString& line);
    void showDx(const QString& arguments);
    void streamTick();
    void flushBurst();

    QString prompt() const;
    // Each line followed by CR LF, all in one write.
    void sendLines(const QStringList& lines);
    void sendRaw(const QByteArray& all);
    void drain();

    void drop(const QString& when);
    // Closes or resets once the last lines have left, so the user sees
    // them all.
    void endWhenSent();
    void finish();

    QTcpSocket* m_socket;
    SimOptions m_options;
    SpotGenerator m_generator;
    QRandomGenerator m_splitRandom;
    State m_state = State::Login;

    Iac m_iac = Iac::Data;
    QByteArray m_inLine;
    bool m_skipLf = false;

    QString m_call;
    bool m_beep = true;
    QList<SimLines::Spot> m_history;
    QStringList m_burst;
    int m_spotsSent = 0;
    QTimer m_stream;

    QQueue<QByteArray> m_out;
    QTimer m_drainTimer;

    QString m_peer;         // "127.0.0.1:40312"
    bool m_quiet = false;   // muted or dropped: nothing more is sent
    bool m_dropDue = false; // the line limit is reached, drop when written
    bool m_dropped = false;
    bool m_finished = false;
    int m_linesSent = 0;
    QTimer m_dropTimer;
    QTimer m_endWait;
    QDeadlineTimer m_endDeadline;
};
