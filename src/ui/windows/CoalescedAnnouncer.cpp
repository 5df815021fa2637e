#include "windows/CoalescedAnnouncer.h"

#include <QAccessible>
#include <QLabel>
#include <QTimer>

namespace {
CoalescedAnnouncer::Sink& announcerSink()
{
    static CoalescedAnnouncer::Sink s;
    return s;
}
} // namespace

void CoalescedAnnouncer::setSink(Sink s)
{
    announcerSink() = std::move(s);
}

CoalescedAnnouncer::CoalescedAnnouncer(QLabel* label, Words words, QObject* parent)
    : QObject(parent), m_label(label), m_words(std::move(words)), m_timer(new QTimer(this))
{
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &CoalescedAnnouncer::tell);
}

void CoalescedAnnouncer::post(const QString& newest, int count)
{
    if (count <= 0)
        return;
    m_pending += count;
    m_newest = newest;
    if (m_timer->isActive())
        return;
    const qint64 since = m_lastTold.isValid() ? m_lastTold.elapsed() : IntervalMs;
    if (since >= IntervalMs)
        tell();
    else
        m_timer->start(int(IntervalMs - since));
}

void CoalescedAnnouncer::tell()
{
    if (m_pending == 0)
        return;
    m_label->setText(m_words(m_pending, m_newest));
    m_pending = 0;
    m_lastTold.start();
    if (!m_label->isVisible())
        return;
    QAccessibleEvent event(m_label, QAccessible::NameChanged);
    if (announcerSink())
        announcerSink()(&event);
    else if (QAccessible::isActive())
        QAccessible::updateAccessibility(&event);
}
