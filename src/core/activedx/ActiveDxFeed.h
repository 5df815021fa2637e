#pragma once

#include "pipeline/SpotEvent.h"

#include <deque>

class ActiveDxModel;

// What the spot pipeline hands the DX window's model. While the window is
// open, each spot goes into the model at once. While it is closed, the
// spots only wait in a queue (a copy whose texts are shared, not copied),
// kept as long as the age limit and at most MaxWaiting, so that a closed
// window costs almost nothing per spot; opening the window takes them in.
class ActiveDxFeed
{
public:
    static constexpr int MaxWaiting = 20000;

    explicit ActiveDxFeed(ActiveDxModel* model);

    void feed(const SpotEvent& event);
    // Open: the waiting spots go into the model, and from now on each spot.
    void setLive(bool live);
    bool isLive() const { return m_live; }
    int waiting() const { return int(m_waiting.size()); }

private:
    ActiveDxModel* m_model;
    bool m_live = false;
    std::deque<SpotEvent> m_waiting;
};
