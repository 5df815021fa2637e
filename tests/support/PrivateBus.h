#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariantMap>

// A D-Bus session bus of the test's own (dbus-daemon on a socket in a
// temporary folder), so a desktop's notices are never touched and a test
// runs where there is no desktop at all.
class PrivateBus
{
public:
    PrivateBus();
    ~PrivateBus();

    // Empty when dbus-daemon is missing or did not start.
    QString address() const { return m_address; }
    // A connection of its own on the bus, named uniquely.
    QDBusConnection connect(const QString& name);

private:
    QTemporaryDir m_dir;
    QProcess m_daemon;
    QString m_address;
    int m_connections = 0;
};

// A desktop's notification service (org.freedesktop.Notifications) that
// records each notice it is given.
class NotificationService : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    struct Call
    {
        QString appName;
        uint replacesId = 0;
        QString icon;
        QString summary;
        QString body;
        QVariantMap hints;
    };

    // Registers the service on the connection; false when that failed.
    bool registerOn(QDBusConnection& bus);

    QStringList capabilities{QStringLiteral("body")};
    bool answers = true; // false: takes the calls and never answers
    QList<Call> calls;

public slots:
    QStringList GetCapabilities() { return capabilities; }
    uint Notify(const QString& appName, uint replacesId, const QString& icon,
                const QString& summary, const QString& body, const QStringList& actions,
                const QVariantMap& hints, int timeout);
};
