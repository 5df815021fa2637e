#include "alerts/DesktopNotifier.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QStringList>
#include <QVariantMap>

#include <utility>

namespace {

const QString service = QStringLiteral("org.freedesktop.Notifications");
const QString path = QStringLiteral("/org/freedesktop/Notifications");
const QString interface = QStringLiteral("org.freedesktop.Notifications");

// A service that stopped answering must not gather calls without end: past
// this many unanswered notices, new ones are dropped until answers come
// (each call gives up after the bus's own timeout).
constexpr int maxPending = 16;
// Keys of replaceable notices remembered; the oldest are forgotten all at
// once when there are more (a forgotten one only means a new notice beside
// the old instead of in its place).
constexpr int maxKeys = 256;
// How long a service may take to answer; a desktop answers at once.
constexpr int callTimeoutMs = 5000;

} // namespace

DesktopNotifier::DesktopNotifier(QObject* parent)
    : DesktopNotifier(QDBusConnection::sessionBus(), parent)
{
}

DesktopNotifier::DesktopNotifier(const QDBusConnection& bus, QObject* parent)
    : QObject(parent), m_bus(bus)
{
}

void DesktopNotifier::notify(const QString& title, const QString& body, const QString& key)
{
    if (!m_bus.isConnected())
        return;
    const Notice notice{title, body, key};
    if (m_bodyMarkup.has_value()) {
        send(notice);
        return;
    }
    // The notices wait for the service to say whether it reads markup; a
    // burst of alerts in that time is a burst of notices after it.
    if (m_waiting.size() >= maxPending)
        m_waiting.removeFirst();
    m_waiting.append(notice);
    askCapabilities();
}

void DesktopNotifier::askCapabilities()
{
    if (m_askingCapabilities)
        return;
    m_askingCapabilities = true;
    const QDBusMessage call =
        QDBusMessage::createMethodCall(service, path, interface, QStringLiteral("GetCapabilities"));
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call, callTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            &DesktopNotifier::capabilitiesAnswered);
}

void DesktopNotifier::capabilitiesAnswered(QDBusPendingCallWatcher* watcher)
{
    watcher->deleteLater();
    m_askingCapabilities = false;
    const QDBusPendingReply<QStringList> reply = *watcher;
    const QList<Notice> waiting = std::exchange(m_waiting, {});
    if (reply.isError()) {
        // No service on this bus (no desktop, a bare window manager): the
        // notices are dropped, and the next one asks again, since a service
        // may start later.
        return;
    }
    m_bodyMarkup = reply.value().contains(QStringLiteral("body-markup"));
    for (const Notice& notice : waiting)
        send(notice);
}

void DesktopNotifier::send(const Notice& notice)
{
    if (m_pending >= maxPending)
        return;
    const uint replaces = notice.key.isEmpty() ? 0 : m_idByKey.value(notice.key, 0);
    QDBusMessage call =
        QDBusMessage::createMethodCall(service, path, interface, QStringLiteral("Notify"));
    QVariantMap hints;
    // Lets the desktop show the program's icon and name from its .desktop file.
    hints.insert(QStringLiteral("desktop-entry"), QStringLiteral("marvix-terminal"));
    call << QStringLiteral("Marvix Terminal") << replaces << QStringLiteral("marvix-terminal")
         << notice.title
         << (*m_bodyMarkup ? notice.body.toHtmlEscaped() : notice.body) << QStringList()
         << hints << int(-1);
    ++m_pending;
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call, callTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, key = notice.key](QDBusPendingCallWatcher* finished) {
                finished->deleteLater();
                --m_pending;
                const QDBusPendingReply<uint> reply = *finished;
                if (reply.isError()) {
                    // The service went away: find out afresh next time.
                    m_bodyMarkup.reset();
                    return;
                }
                if (!key.isEmpty()) {
                    if (m_idByKey.size() >= maxKeys && !m_idByKey.contains(key))
                        m_idByKey.clear();
                    m_idByKey.insert(key, reply.value());
                }
                emit shown(reply.value());
            });
}
