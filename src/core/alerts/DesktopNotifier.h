#pragma once

#include <QDBusConnection>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

#include <optional>

class QDBusPendingCallWatcher;

// Shows an alert as a desktop notice through the notification service of
// the session bus (org.freedesktop.Notifications, which GNOME, KDE, Xfce,
// dunst and others provide). Every call goes out asynchronously, so a slow
// or hung service never holds up the window; without a session bus or
// without the service nothing happens, silently.
class DesktopNotifier : public QObject
{
    Q_OBJECT

public:
    // The session bus of the desktop.
    explicit DesktopNotifier(QObject* parent = nullptr);
    // Any bus that carries the service (a test gives its own).
    explicit DesktopNotifier(const QDBusConnection& bus, QObject* parent = nullptr);

    // title is the notice's summary line, body its text. A notice with the
    // same non-empty key as an earlier one (rule and station) takes that
    // notice's place instead of piling up beside it.
    void notify(const QString& title, const QString& body, const QString& key = {});

    // Calls sent and not yet answered.
    int pending() const { return m_pending; }

signals:
    // The service took a notice and gave it this id.
    void shown(uint id);

private:
    struct Notice
    {
        QString title;
        QString body;
        QString key;
    };

    void send(const Notice& notice);
    void askCapabilities();
    void capabilitiesAnswered(QDBusPendingCallWatcher* watcher);

    QDBusConnection m_bus;
    // Whether the service reads <b>, <i>, <a> in the body (its capability
    // "body-markup"); a spot's text then has its &, < and > escaped. Unknown
    // until the service answered; notices wait for that answer, in order, at
    // most maxPending of them (the oldest give way).
    std::optional<bool> m_bodyMarkup;
    bool m_askingCapabilities = false;
    QList<Notice> m_waiting;
    QHash<QString, uint> m_idByKey;
    int m_pending = 0;
};
