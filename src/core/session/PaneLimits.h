#pragma once

#include <QtGlobal>

// How much a pane of node text keeps. A contest weekend brings hundreds of
// thousands of lines, and a node that never ends its lines sends 64 KiB at a
// time: past maxLines lines the oldest go, dropBlock at a time; past maxChars
// UTF-16 units (2 bytes each) the oldest go until a tenth of the room is free.
// 0 sets no limit.
struct PaneLimits
{
    int maxLines = 0;
    int dropBlock = 0;
    qint64 maxChars = 0;
};

// The terminal pane: 500,000 spot lines hold about 40 million units.
inline constexpr PaneLimits kTerminalPaneLimits{500000, 50000, 100'000'000};

// The spot pane holds one line per live-check hit. A contest brings a few
// hundred; a node flooding hits must not grow memory without end, so the
// oldest go past 50,000 lines (about 10 MB), 5,000 at a time.
inline constexpr PaneLimits kSpotPaneLimits{50000, 5000, 5'000'000};

// Entries after which the terminal pane warns once.
inline constexpr qint32 kTerminalPaneWarning = 210000;
