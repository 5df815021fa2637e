#pragma once

#include "session/LineOffsets.h"
#include "session/TerminalPane.h"

#include <QObject>
#include <QPointer>

#include <functional>

class QAccessibleEvent;
class QTimer;

// Keeps the character offsets of a terminal pane's text for its accessible
// interface, and tells a screen reader what changed. A node can send dozens
// of lines a second, so new lines are announced together, at most twice a
// second, as one text insertion at the end; a screen reader follows the
// stream without being flooded. Lines taken from the front and caret or
// selection moves are told as they happen.
//
// One lives beside each pane whose accessible interface was asked for.
class TerminalPaneTextEvents : public QObject
{
    Q_OBJECT
public:
    // The pane's, made on first use.
    static TerminalPaneTextEvents* of(TerminalPane* pane);

    // Where the events go. By default the platform's accessibility bridge,
    // and only while an assistive technology listens; tests record them.
    using Sink = std::function<void(QAccessibleEvent*)>;
    static void setSink(Sink sink);

    // The offsets, in step with the pane's lines.
    const LineOffsets& offsets();

    int offsetOf(TerminalPane::Position position);
    TerminalPane::Position positionOf(int offset);

    static constexpr int kInsertEventIntervalMs = 500;

private:
    explicit TerminalPaneTextEvents(TerminalPane* pane);

    void rebuild();
    void onLinesAppended(int count);
    void onLinesRemoved(int count);
    void onSelectionChanged();
    void announceInserted();
    static bool listening();
    static void send(QAccessibleEvent* event);

    TerminalPane* m_pane;
    LineOffsets m_offsets;
    QTimer* m_insertTimer;
    int m_firstUnannounced = -1; // first line not yet announced; -1: none
};
