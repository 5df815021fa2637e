#pragma once

#include "session/PaneView.h"

#include <QObject>

#include <functional>

class QAccessibleEvent;
class QTimer;
class QWidget;

// Tells a screen reader what changed in a pane's text. A node can send dozens
// of lines a second, so new lines are announced together, at most twice a
// second, as one text insertion at the end; a screen reader follows the
// stream without being flooded. Lines taken from the front and caret or
// selection moves are told as they happen. Offsets are read from the pane's
// text itself.
//
// One lives beside each pane whose accessible interface was asked for.
class TerminalPaneTextEvents : public QObject
{
    Q_OBJECT
public:
    // The pane's, made on first use; pane is the widget that is view.
    static TerminalPaneTextEvents* of(QWidget* pane, PaneView* view);

    // Where the events go. By default the platform's accessibility bridge,
    // and only while an assistive technology listens; tests record them.
    using Sink = std::function<void(QAccessibleEvent*)>;
    static void setSink(Sink sink);

    static constexpr int kInsertEventIntervalMs = 500;

private:
    TerminalPaneTextEvents(QWidget* pane, PaneView* view);

    const PaneText& text() const { return m_view->paneText(); }
    void onLinesAppended(int count);
    void onLinesRemoved(int count, int characters);
    void onSelectionChanged();
    void announceInserted();
    static bool listening();
    static void send(QAccessibleEvent* event);

    QWidget* m_pane;
    PaneView* m_view;
    QTimer* m_insertTimer;
    int m_firstUnannounced = -1; // first line not yet announced; -1: none
};
