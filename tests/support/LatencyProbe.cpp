#include "support/LatencyProbe.h"

#include <QFile>

#include <algorithm>

namespace {

// Nanoseconds this thread has spent runnable, waiting for a CPU: the second
// field of /proc/thread-self/schedstat. 0 where the kernel does not tell.
qint64 runQueueWaitNs()
{
    QFile file(QStringLiteral("/proc/thread-self/schedstat"));
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = file.readAll().simplified().split(' ');
    return fields.size() >= 2 ? fields[1].toLongLong() : 0;
}

} // namespace

LatencyProbe::LatencyProbe(QObject* parent) : QObject(parent)
{
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(kIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &LatencyProbe::onShot);
}

void LatencyProbe::start()
{
    m_worstMs = 0;
    m_shots = 0;
    m_waitedForCpuNs = 0;
    m_lastRunQueueNs = runQueueWaitNs();
    m_clock.start();
    m_lastMs = 0;
    m_timer.start();
}

void LatencyProbe::stop()
{
    // A freeze still going on when the test stops counts too.
    onShot();
    m_timer.stop();
}

qint64 LatencyProbe::worstMs() const
{
    return m_worstMs;
}

void LatencyProbe::onShot()
{
    const qint64 now = m_clock.elapsed();
    const qint64 runQueue = runQueueWaitNs();
    const qint64 waited = runQueue - m_lastRunQueueNs;
    m_waitedForCpuNs += waited;
    m_worstMs = std::max(m_worstMs, now - m_lastMs - kIntervalMs - waited / 1000000);
    m_lastMs = now;
    m_lastRunQueueNs = runQueue;
    ++m_shots;
}
