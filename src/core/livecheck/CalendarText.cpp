#include "livecheck/CalendarText.h"

#include <algorithm>

namespace {

bool isLineBreak(QChar c)
{
    return c == u'\n' || c == u'\r' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

} // namespace

QString CalendarText::bounded(const QString& text)
{
    QString out;
    out.reserve(qMin(text.size() + 1, kMaxUnits));
    const qsizetype n = text.size();
    int lines = 0;
    qsizetype at = 0;
    while (at < n) {
        qsizetype end = at;
        while (end < n && !isLineBreak(text.at(end)))
            ++end;
        const qsizetype length = end - at;
        // Two units stay free for the line's break.
        qsizetype take = std::min<qsizetype>({length, kMaxLineLength, kMaxUnits - 2 - out.size()});
        if (take > 0 && take < length && text.at(at + take - 1).isHighSurrogate())
            --take;
        out += QStringView(text).mid(at, take);
        if (end == n)
            break;
        const qsizetype breakLength =
            (text.at(end) == u'\r' && end + 1 < n && text.at(end + 1) == u'\n') ? 2 : 1;
        out += QStringView(text).mid(end, breakLength);
        ++lines;
        if (lines >= kMaxLines || out.size() >= kMaxUnits - 2)
            return out;
        at = end + breakLength;
    }
    if (!out.isEmpty() && !isLineBreak(out.back()))
        out += u'\n';
    return out;
}
