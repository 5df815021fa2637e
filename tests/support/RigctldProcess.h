#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// Hamlib's dummy rig behind a real rigctld on a free loopback port, for the
// tests and benchmarks of rig control. The rig is read back with rigctl, the
// way a user would check it. rigctld logs what it is told to set, so a test
// can also see the order of the settings.
class RigctldProcess
{
public:
    RigctldProcess();
    ~RigctldProcess();

    // Starts rigctld and waits until it accepts connections, on the given
    // port or on a free one. On failure returns false with a reason (a
    // missing rigctld names the package).
    bool start(QString* error = nullptr, quint16 port = 0);

    quint16 port() const { return m_port; }
    QString address() const; // "127.0.0.1:port", the Port of a [RigN] section
    qint64 pid() const { return m_process.processId(); }

    // SIGSTOP and SIGCONT: a server that hangs and comes back.
    void pause();
    void resume();
    // SIGKILL: a server that dies.
    void kill();

    // One rigctl command against the server, its first answer line.
    QString query(const QString& command) const;
    qint64 frequency() const;
    QString mode() const;
    // Sets the rig directly, as another program would ("USB", "PKTUSB", ...).
    bool setMode(const QString& mode) const;
    bool setFrequency(qint64 hz) const;

    // What the server was told to set since the start or the last
    // clearLog(), in order: "mode USB", "freq 14025000".
    QStringList settings() const;
    void clearLog();
    QString logPath() const { return m_dir.filePath(QStringLiteral("rigctld.log")); }

    // A port on 127.0.0.1 that is free at the moment.
    static quint16 freePort();

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    quint16 m_port = 0;
    qint64 m_logOffset = 0;
};
