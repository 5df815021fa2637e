#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <functional>

class QAccessibleEvent;
class QLabel;
class QTimer;

// Tells news in words through a label a screen reader follows, at most once
// every IntervalMs: the first news at once, what comes within the interval
// after it told together at its end ("12 new alerts, the newest: ...").
// A blind user cannot follow a hundred announcements a second, and the
// accessibility bus cannot carry them; a label that changes its text each
// time also lays its window out each time.
class CoalescedAnnouncer : public QObject
{
    Q_OBJECT
public:
    static constexpr int IntervalMs = 1000;

    // words(count, newest): the label's text for count pieces of news, the
    // newest last.
    using Words = std::function<QString(int count, const QString& newest)>;
    CoalescedAnnouncer(QLabel* label, Words words, QObject* parent = nullptr);

    // One piece of news (or count of them), newest the last one's words.
    void post(const QString& newest, int count = 1);

    // Where the events go. By default the platform's accessibility bridge,
    // and only while an assistive technology listens; tests record them.
    using Sink = std::function<void(QAccessibleEvent*)>;
    static void setSink(Sink sink);

private:
    void tell();

    QLabel* m_label;
    Words m_words;
    QTimer* m_timer;
    QElapsedTimer m_lastTold;
    int m_pending = 0;
    QString m_newest;
};
