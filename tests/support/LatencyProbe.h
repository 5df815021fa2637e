#pragma once

#include "Sanitizers.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

// How long the UI thread keeps its event loop waiting: a timer due every
// 10 ms notes how much later than due each shot comes. A handler that holds
// the thread for 300 ms, computing or blocked in a call, shows as a lateness
// of about 300 ms.
//
// Time the thread spent ready to run but waiting for a CPU that other
// processes held is not the program's doing; the kernel counts it
// (schedstat), and it is taken off, so a busy test machine does not pass for
// a frozen window.
class LatencyProbe : public QObject
{
    Q_OBJECT
public:
    static constexpr int kIntervalMs = 10;
    // A user notices a freeze from about this long. The sanitizer build runs
    // the same code several times slower; it is there to find memory and
    // undefined-behaviour faults, so it allows four times as much, and the
    // normal build holds the real limit.
    static constexpr qint64 kLimitMs = kAddressSanitizer ? 400 : 100;

    explicit LatencyProbe(QObject* parent = nullptr);

    void start();
    void stop();
    // The worst lateness since start(), in milliseconds.
    qint64 worstMs() const;
    qint64 shots() const { return m_shots; }
    // The time taken off for a busy machine, in all.
    qint64 waitedForCpuMs() const { return m_waitedForCpuNs / 1000000; }

private:
    void onShot();

    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_lastMs = 0;
    qint64 m_lastRunQueueNs = 0;
    qint64 m_waitedForCpuNs = 0;
    qint64 m_worstMs = 0;
    qint64 m_shots = 0;
};
