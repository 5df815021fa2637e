#pragma once

#include "livecheck/CallsignIndex.h"

#include <QStringList>

#include <optional>

// The calendar list: every run of 3 to 9 characters of the calendar page's
// text, as the hidden box of the calendar window shows it. The list does not
// exist before the first activation of the live check; each activation
// builds it anew.
class CalendarList
{
public:
    // The entries built from the box's display lines. The last line (the
    // empty one after the final line break) and the first three lines never
    // count. For each further line, for each length 3 to 9, every window of
    // that length from left to right is taken unless it is all blanks:
    //   "abc def" gives "abc", "bc ", "c d", " de", "def", "abc ", ... ,
    //   "abc def" (15 entries).
    static QStringList separa(const QStringList& memoLines);

    bool exists() const { return m_list.has_value(); }
    // Empty while the list does not exist.
    const QStringList& FinalstringList() const;
    const CallsignIndex& index() const { return m_index; }

    // Drops the old list and builds the new one, the same entries as
    // separa(). A page text of 1 MiB gives millions of entries, so they do not
    // each hold a copy of their characters: they point into the list's own
    // text (QString::fromRawData). An entry stays valid while this list or a
    // copy of it lives; whoever keeps one longer copies its characters.
    void rebuild(const QStringList& memoLines);

    static constexpr int kShortest = 3;
    static constexpr int kLongest = 9;
    static constexpr int kSkippedLines = 3;

private:
    std::optional<QStringList> m_list;
    QString m_text;       // the counted lines, one after the other
    QString m_foldedText; // the same, folded for the index
    CallsignIndex m_index;
};
