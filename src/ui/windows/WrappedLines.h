#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

// The lines a word-wrapping text box of a given width shows for a text: each
// paragraph (the text between line breaks) is broken at blanks where it can,
// else anywhere, where the box's font no longer fits the width. The blank at
// a break stays at the end of its line. A text ending in a line break shows
// an empty last line.
class WrappedLines
{
public:
    static QStringList of(const QString& text, const QFont& font, int width);
};
