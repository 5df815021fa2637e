#include "session/TerminalPaneTextEvents.h"

#include <QAccessible>
#include <QTimer>

namespace {
TerminalPaneTextEvents::Sink& sink()
{
    static TerminalPaneTextEvents::Sink s;
    return s;
}
} // namespace

TerminalPaneTextEvents* TerminalPaneTextEvents::of(TerminalPane* pane)
{
    if (auto* existing =
            pane->findChild<TerminalPaneTextEvents*>(QString(), Qt::FindDirectChildrenOnly))
        return existing;
    return new TerminalPaneTextEvents(pane);
}

void TerminalPaneTextEvents::setSink(Sink s)
{
    sink() = std::move(s);
}

TerminalPaneTextEvents::TerminalPaneTextEvents(TerminalPane* pane)
    : QObject(pane), m_pane(pane), m_insertTimer(new QTimer(this))
{
    m_insertTimer->setSingleShot(true);
    m_insertTimer->setInterval(kInsertEventIntervalMs);
    connect(m_insertTimer, &QTimer::timeout, this, &TerminalPaneTextEvents::announceInserted);
    connect(pane, &TerminalPane::linesAppended, this, &TerminalPaneTextEvents::onLinesAppended);
    connect(pane, &TerminalPane::linesRemoved, this, &TerminalPaneTextEvents::onLinesRemoved);
    connect(pane, &TerminalPane::selectionChanged, this,
            &TerminalPaneTextEvents::onSelectionChanged);
    rebuild();
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

void TerminalPaneTextEvents::rebuild()
{
    m_offsets.clear();
    const int n = m_pane->lineCount();
    for (int i = 0; i < n; ++i)
        m_offsets.append(static_cast<int>(m_pane->line(i).size()));
}

const LineOffsets& TerminalPaneTextEvents::offsets()
{
    // A pane that changed without telling us is read again whole.
    if (m_offsets.lineCount() != m_pane->lineCount())
        rebuild();
    return m_offsets;
}

int TerminalPaneTextEvents::offsetOf(TerminalPane::Position position)
{
    return offsets().offsetOf({position.line, position.column});
}

TerminalPane::Position TerminalPaneTextEvents::positionOf(int offset)
{
    const LineOffsets::Position p = offsets().positionOf(offset);
    return {p.line, p.column};
}

void TerminalPaneTextEvents::onLinesAppended(int count)
{
    const int first = m_pane->lineCount() - count;
    if (m_offsets.lineCount() != first) {
        rebuild();
    } else {
        for (int i = first; i < m_pane->lineCount(); ++i)
            m_offsets.append(static_cast<int>(m_pane->line(i).size()));
    }
    if (!listening() || count <= 0)
        return;
    if (m_firstUnannounced < 0)
        m_firstUnannounced = first;
    if (!m_insertTimer->isActive())
        m_insertTimer->start();
}

void TerminalPaneTextEvents::onLinesRemoved(int count)
{
    const int total = m_offsets.lineCount();
    // What went away: the removed lines with the line ends after them, or
    // the whole text when no line is left.
    const int removedLength =
        count >= total ? m_offsets.characterCount() : m_offsets.lineStart(count);
    m_offsets.removeFront(count);
    if (m_offsets.lineCount() != m_pane->lineCount())
        rebuild();
    if (m_firstUnannounced >= 0) {
        m_firstUnannounced = std::max(0, m_firstUnannounced - count);
        if (m_firstUnannounced >= m_pane->lineCount()) {
            m_firstUnannounced = -1;
            m_insertTimer->stop();
        }
    }
    if (!listening() || removedLength <= 0)
        return;
    // The text itself is gone; a screen reader needs its place and length.
    QAccessibleTextRemoveEvent event(m_pane, 0, QString(removedLength, QLatin1Char(' ')));
    send(&event);
}

void TerminalPaneTextEvents::announceInserted()
{
    const int first = m_firstUnannounced;
    m_firstUnannounced = -1;
    const int n = m_pane->lineCount();
    if (first < 0 || first >= n || !listening())
        return;
    QStringList lines;
    lines.reserve(n - first);
    for (int i = first; i < n; ++i)
        lines.append(m_pane->line(i));
    const LineOffsets& o = offsets();
    // The line end before the first new line came with it.
    QString text = lines.join(QLatin1Char('\n'));
    int position = o.lineStart(first);
    if (first > 0) {
        text.prepend(QLatin1Char('\n'));
        --position;
    }
    QAccessibleTextInsertEvent event(m_pane, position, text);
    send(&event);
}

void TerminalPaneTextEvents::onSelectionChanged()
{
    if (!listening())
        return;
    QAccessibleTextCursorEvent caret(m_pane, offsetOf(m_pane->caretPosition()));
    send(&caret);
    QAccessibleTextSelectionEvent selection(m_pane, offsetOf(m_pane->selectionStart()),
                                            offsetOf(m_pane->selectionEnd()));
    send(&selection);
}
