#pragma once

#include <QStringView>

// The words of a node line, and comparing one with a keyword in capitals,
// either case taken, for ASCII keywords only: "cw" equals "CW", "qsx14025" starts with
// "QSX". Qt's case-insensitive comparisons fold all of Unicode and cost
// several times more; a spot line is read by them dozens of times.
namespace AsciiWord {

// Blanks between the words of a node line: the space, the tab, and any
// other control byte a node leaves in a line (the BELs after "0712Z").
inline bool isBlank(QChar c)
{
    return c.unicode() <= 0x20;
}

inline QStringView trimmed(QStringView text)
{
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && isBlank(text[from]))
        ++from;
    while (to > from && isBlank(text[to - 1]))
        --to;
    return text.sliced(from, to - from);
}

inline char16_t upper(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') ? char16_t(u - (u'a' - u'A')) : u;
}

inline bool sameFrom(QStringView word, qsizetype at, QStringView capitals)
{
    for (qsizetype i = 0; i < capitals.size(); ++i) {
        if (upper(word[at + i]) != capitals[i].unicode())
            return false;
    }
    return true;
}

inline bool equals(QStringView word, QStringView capitals)
{
    return word.size() == capitals.size() && sameFrom(word, 0, capitals);
}

inline bool startsWith(QStringView word, QStringView capitals)
{
    return word.size() >= capitals.size() && sameFrom(word, 0, capitals);
}

inline bool endsWith(QStringView word, QStringView capitals)
{
    return word.size() >= capitals.size() &&
           sameFrom(word, word.size() - capitals.size(), capitals);
}

} // namespace AsciiWord
