#pragma once

#include <QDateTime>
#include <QString>

#include <deque>

class ActiveDxModel;

// What the main window hands the DX window's model for each shown line.
// While the window is open, each line goes into the model at once. While
// it is closed, the spot lines only wait in a queue (a copy of a shared
// text, no reading), kept as long as the age limit and at most MaxWaiting,
// so that a closed window costs the main window almost nothing per line;
// opening the window reads them in.
class ActiveDxFeed
{
public:
    static constexpr int MaxWaiting = 20000;

    explicit ActiveDxFeed(ActiveDxModel* model);

    void feed(const QString& line, const QDateTime& nowUtc, bool dxpedition);
    // Open: the waiting lines go into the model, and from now on each line.
    void setLive(bool live);
    bool isLive() const { return m_live; }
    int waiting() const { return int(m_waiting.size()); }

private:
    struct Waiting
    {
        QString line;
        QDateTime at;
        bool dxpedition;
    };

    ActiveDxModel* m_model;
    bool m_live = false;
    std::deque<Waiting> m_waiting;
};
