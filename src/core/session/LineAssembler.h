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
    // A line longer than this is given out in pieces of at most this many
    // bytes, as soon as each piece is complete, so a node that never ends its
    // line cannot make us grow without bound. A piece ends on a whole UTF-8
    // character, and the pieces are the same however the bytes were chunked.
    static constexpr qsizetype MaxTail = 64 * 1024;

    // The complete lines the chunk finishes, in arrival order. Empty lines are
    // lines too.
    QList<QString> feed(const QByteArray& chunk);

    // The bytes of the unfinished line as a line of its own, emptying the
    // tail; none when nothing is pending. Called when the node has gone quiet
    // so a prompt such as "login: " shows.
    std::optional<QString> takeTail();

    // The same, for a tail shown because the node paused, but the bytes of a
    // UTF-8 character the pause cut stay for the next piece:
    //   "Gr\xC3" gives "Gr" and keeps "\xC3", so "\xBC\xC3\x9Fe\r\n" then
    //   gives "\u00FC\u00DFe" instead of "Gr\u00C3" and "\u00BC\u00C3\u0178e".
    // None while the tail is only such a cut character. A tail that is no
    // UTF-8 before its end is given out whole, as takeTail() does.
    std::optional<QString> takeTailKeepingCutCharacter();

    bool hasTail() const { return !m_pending.isEmpty(); }
    // The bytes of the unfinished line.
    const QByteArray& tail() const { return m_pending; }

    // Forgets everything pending (a new connection starts clean).
    void reset();

private:
    // Gives out the front of a line longer than MaxTail as pieces, keeping at
    // most MaxTail bytes; returns how many bytes were given out.
    static qsizetype cutPieces(const QByteArray& bytes, QList<QString>& lines);

    QByteArray m_pending;
    // The previous chunk ended in a lone CR or LF: its line was given out
    // already, and the other one of the pair at the start of the next chunk
    // belongs to it. 0 when nothing is to be skipped.
    char m_skipNext = 0;
};
