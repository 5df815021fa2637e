#include "session/TerminalPaneTextEvents.h"

#include <QAccessible>
#include <QTimer>
#include <QWidget>

namespace {
TerminalPaneTextEvents::Sink& sink()
{
    static TerminalPaneTextEvents::Sink s;
    return s;
}
} // namespace

TerminalPaneTextEvents* TerminalPaneTextEvents::of(QWidget* pane, PaneView* view)
{
    if (auto* existing =
            pane->findChild<TerminalPaneTextEvents*>(QString(), Qt::FindDirectChildrenOnly))
        return existing;
    return new TerminalPaneTextEvents(pane, view);
}

void TerminalPaneTextEvents::setSink(Sink s)
{
    sink() = std::move(s);
}

TerminalPaneTextEvents::TerminalPaneTextEvents(QWidget* pane, PaneView* view)
    : QObject(pane), m_pane(pane), m_view(view), m_insertTimer(new QTimer(this))
{
    m_insertTimer->setSingleShot(true);
    m_insertTimer->setInterval(kInsertEventIntervalMs);
    connect(m_insertTimer, &QTimer::timeout, this, &TerminalPaneTextEvents::announceInserted);
    const PaneText* paneText = &view->paneText();
    connect(paneText, &PaneText::linesAppended, this, &TerminalPaneTextEvents::onLinesAppended);
    connect(paneText, &PaneText::linesDropped, this, &TerminalPaneTextEvents::onLinesRemoved);
    connect(paneText, &PaneText::cleared, this, &TerminalPaneTextEvents::onLinesRemoved);
    view->followSelection(this, [this] { onSelectionChanged(); });
}

bool TerminalPaneTextEvents::listening()
{
    return sink() ? true : QAccessible::isActive();
}

void TerminalPaneTextEvents::send(QAccessibleEvent* event)
{
    if (sink())
        sink()(event);
    else
        QAccessible::updateAccessibility(event);
}

void TerminalPaneTextEvents::onLinesAppended(int count)
{
    if (!listening() || count <= 0)
        return;
    if (m_firstUnannounced < 0)
        m_firstUnannounced = text().lineCount() - count;
    if (!m_insertTimer->isActive())
        m_insertTimer->start();
}

void TerminalPaneTextEvents::onLinesRemoved(int count, int characters)
{
    if (m_firstUnannounced >= 0) {
        m_firstUnannounced = std::max(0, m_firstUnannounced - count);
        if (m_firstUnannounced >= text().lineCount()) {
            m_firstUnannounced = -1;
            m_insertTimer->stop();
        }
    }
    if (!listening() || characters <= 0)
        return;
    // The text itself is gone; a screen reader needs its place and length.
    QAccessibleTextRemoveEvent event(m_pane, 0, QString(characters, QLatin1Char(' ')));
    send(&event);
}

void TerminalPaneTextEvents::announceInserted()
{
    const int first = m_firstUnannounced;
    m_firstUnannounced = -1;
    const PaneText& t = text();
    if (first < 0 || first >= t.lineCount() || !listening())
        return;
    // The line end before the first new line came with it.
    int position = t.offsets().lineStart(first);
    if (first > 0)
        --position;
    const QString inserted = t.text(position, t.offsets().characterCount());
    QAccessibleTextInsertEvent event(m_pane, position, inserted);
    send(&event);
}

void TerminalPaneTextEvents::onSelectionChanged()
{
    if (!listening())
        return;
    const PaneText& t = text();
    QAccessibleTextCursorEvent caret(m_pane, t.offsetOf(m_view->caretPosition()));
    send(&caret);
    QAccessibleTextSelectionEvent selection(m_pane, t.offsetOf(m_view->selectionStart()),
                                            t.offsetOf(m_view->selectionEnd()));
    send(&selection);
}
