#include "PrivateBus.h"

#include <QFile>
#include <QStandardPaths>

PrivateBus::PrivateBus()
{
    const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    if (daemon.isEmpty() || !m_dir.isValid())
        return;
    const QString config = m_dir.filePath(QStringLiteral("bus.conf"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.write(QStringLiteral(
                   "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration "
                   "1.0//EN\" \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                   "<busconfig><type>session</type><listen>unix:dir=%1</listen>"
                   "<auth>EXTERNAL</auth><policy context=\"default\">"
                   "<allow send_destination=\"*\"/><allow receive_sender=\"*\"/>"
                   "<allow own=\"*\"/></policy></busconfig>\n")
                   .arg(m_dir.path())
                   .toUtf8());
    file.close();
    m_daemon.start(daemon, {QStringLiteral("--config-file=") + config,
                            QStringLiteral("--print-address"), QStringLiteral("--nofork")});
    if (!m_daemon.waitForStarted(5000))
        return;
    while (!m_daemon.canReadLine() && m_daemon.waitForReadyRead(5000)) {
    }
    m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
}

PrivateBus::~PrivateBus()
{
    if (m_daemon.state() != QProcess::NotRunning) {
        m_daemon.terminate();
        m_daemon.waitForFinished(3000);
    }
}

QDBusConnection PrivateBus::connect(const QString& name)
{
    return QDBusConnection::connectToBus(m_address, name + QString::number(++m_connections));
}

bool NotificationService::registerOn(QDBusConnection& bus)
{
    return bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), this,
                              QDBusConnection::ExportAllSlots) &&
           bus.registerService(QStringLiteral("org.freedesktop.Notifications"));
}

uint NotificationService::Notify(const QString& appName, uint replacesId, const QString& icon,
                                 const QString& summary, const QString& body,
                                 const QStringList& /*actions*/, const QVariantMap& hints,
                                 int /*timeout*/)
{
    calls.append({appName, replacesId, icon, summary, body, hints});
    if (!answers)
        setDelayedReply(true);
    return replacesId != 0 ? replacesId : uint(calls.size());
}
