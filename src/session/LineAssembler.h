#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// Turns the data chunks a node sends into whole lines. TCP splits a node's
// output anywhere and a busy node packs several spots into one packet, e.g.
//   "DX de W3LPL:     21021.0  VP2MX" + "X       CW 579 up 2      0712Z\r\n"
// so the bytes of an unfinished line are kept until its end arrives. A line
// ends at LF, CR LF, LF CR (some nodes end lines so) or a lone CR; the line
// end is not part of the line. Each
// line is decoded on its own (UTF-8 when valid, else Windows-1252), so a
// character split between two chunks comes out whole.
class LineAssembler
{
public:
    // A tail without a line end longer than this is given out as a line at
    // once, so a node that never ends its line cannot make us grow without
    // bound.
    static constexpr qsizetype MaxTail = 64 * 1024;

    // The complete lines the chunk finishes, in arrival order. Empty lines are
    // lines too.
    QList<QString> feed(const QByteArray& chunk);

    // The bytes of the unfinished line as a line of its own, emptying the
    // tail; none when nothing is pending. Called when the node has gone quiet
    // so a prompt such as "login: " shows.
    std::optional<QString> takeTail();

    bool hasTail() const { return !m_pending.isEmpty(); }
    // The bytes of the unfinished line.
    const QByteArray& tail() const { return m_pending; }

    // Forgets everything pending (a new connection starts clean).
    void reset();

private:
    QByteArray m_pending;
    // The previous chunk ended in a lone CR or LF: its line was given out
    // already, and the other one of the pair at the start of the next chunk
    // belongs to it. 0 when nothing is to be skipped.
    char m_skipNext = 0;
};
