#include "RigctldProcess.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include <csignal>

RigctldProcess::RigctldProcess() = default;

RigctldProcess::~RigctldProcess()
{
    if (m_process.state() != QProcess::NotRunning) {
        resume();
        m_process.kill();
        m_process.waitForFinished(3000);
    }
}

quint16 RigctldProcess::freePort()
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    return server.serverPort();
}

QString RigctldProcess::address() const
{
    return QStringLiteral("127.0.0.1:%1").arg(m_port);
}

bool RigctldProcess::start(QString* error, quint16 port)
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("rigctld"));
    if (program.isEmpty()) {
        if (error)
            *error = QStringLiteral("rigctld not found: install libhamlib-utils");
        return false;
    }
    // A free port can be taken between the look and the start; try again then.
    for (int attempt = 0; attempt < 5; ++attempt) {
        m_port = port ? port : freePort();
        // -vvvv logs every rig_set_mode and rig_set_freq the server runs.
        m_process.setStandardOutputFile(m_dir.filePath(QStringLiteral("rigctld.log")));
        m_process.setStandardErrorFile(m_dir.filePath(QStringLiteral("rigctld.log")),
                                       QIODevice::Append);
        m_process.start(program, {QStringLiteral("-m"), QStringLiteral("1"), QStringLiteral("-T"),
                                  QStringLiteral("127.0.0.1"), QStringLiteral("-t"),
                                  QString::number(m_port), QStringLiteral("-vvvv")});
        if (!m_process.waitForStarted(5000))
            continue;
        const QDeadlineTimer deadline(5000);
        while (!deadline.hasExpired() && m_process.state() == QProcess::Running) {
            QTcpSocket probe;
            probe.connectToHost(QHostAddress::LocalHost, m_port);
            if (probe.waitForConnected(200)) {
                probe.disconnectFromHost();
                clearLog();
                return true;
            }
            QThread::msleep(50);
        }
        m_process.kill();
        m_process.waitForFinished(3000);
    }
    if (error)
        *error = QStringLiteral("rigctld did not start on a loopback port");
    return false;
}

void RigctldProcess::pause()
{
    if (pid() > 0)
        ::kill(pid_t(pid()), SIGSTOP);
}

void RigctldProcess::resume()
{
    if (pid() > 0)
        ::kill(pid_t(pid()), SIGCONT);
}

void RigctldProcess::kill()
{
    m_process.kill();
    m_process.waitForFinished(3000);
}

QString RigctldProcess::query(const QString& command) const
{
    QProcess rigctl;
    QStringList args = {QStringLiteral("-m"), QStringLiteral("2"), QStringLiteral("-r"), address()};
    args += command.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    rigctl.start(QStringLiteral("rigctl"), args);
    if (!rigctl.waitForFinished(15000))
        return QString();
    return QString::fromLocal8Bit(rigctl.readAllStandardOutput()).section(QLatin1Char('\n'), 0, 0).trimmed();
}

qint64 RigctldProcess::frequency() const
{
    return query(QStringLiteral("f")).toLongLong();
}

QString RigctldProcess::mode() const
{
    return query(QStringLiteral("m"));
}

bool RigctldProcess::setMode(const QString& mode) const
{
    QProcess rigctl;
    rigctl.start(QStringLiteral("rigctl"), {QStringLiteral("-m"), QStringLiteral("2"),
                                            QStringLiteral("-r"), address(), QStringLiteral("M"),
                                            mode, QStringLiteral("0")});
    return rigctl.waitForFinished(15000) && rigctl.exitCode() == 0;
}

bool RigctldProcess::setFrequency(qint64 hz) const
{
    QProcess rigctl;
    rigctl.start(QStringLiteral("rigctl"), {QStringLiteral("-m"), QStringLiteral("2"),
                                            QStringLiteral("-r"), address(), QStringLiteral("F"),
                                            QString::number(hz)});
    return rigctl.waitForFinished(15000) && rigctl.exitCode() == 0;
}

QStringList RigctldProcess::settings() const
{
    QFile log(m_dir.filePath(QStringLiteral("rigctld.log")));
    if (!log.open(QIODevice::ReadOnly))
        return {};
    log.seek(m_logOffset);
    static const QRegularExpression setMode(QStringLiteral("^rig_set_mode called, .*mode=(\\w+)"));
    static const QRegularExpression setFreq(QStringLiteral("^rig_set_freq called .*freq=(\\d+)"));
    QStringList out;
    const QList<QByteArray> lines = log.readAll().split('\n');
    for (const QByteArray& raw : lines) {
        const QString line = QString::fromLatin1(raw);
        if (const auto m = setMode.match(line); m.hasMatch())
            out << QStringLiteral("mode ") + m.captured(1);
        else if (const auto f = setFreq.match(line); f.hasMatch())
            out << QStringLiteral("freq ") + f.captured(1);
    }
    return out;
}

void RigctldProcess::clearLog()
{
    m_logOffset = QFile(m_dir.filePath(QStringLiteral("rigctld.log"))).size();
}
