#include "dxcc/SpotFields.h"

#include "spots/SpotText.h"

#include <QRegularExpression>

namespace {

// Longer comments are cut: a node that never ends a line must not fill the
// window's memory.
constexpr int kMaxComment = 120;

} // namespace

bool SpotFields::looksLikeCall(const QString& word)
{
    if (word.size() < 3 || word.size() > 20)
        return false;
    bool letter = false;
    bool digit = false;
    for (const QChar c : word) {
        if (c >= u'A' && c <= u'Z')
            letter = true;
        else if (c >= u'0' && c <= u'9')
            digit = true;
        else if (c != u'/')
            return false;
    }
    return letter && digit;
}

std::optional<SpotFields> SpotFields::read(const QString& line)
{
    if (!SpotText::isDxSpot(line))
        return std::nullopt;
    const std::optional<int> f = SpotText::frequencyValue(line);
    if (!f || *f <= 0)
        return std::nullopt;

    SpotFields spot;
    spot.frequency = *f;

    // "DX de W3LPL:" -> "W3LPL"; "DX de KO7SS-7-#:" -> "KO7SS-7-#".
    const qsizetype colon = line.indexOf(u':');
    if (line.startsWith(QLatin1String("DX de ")) && colon > 6)
        spot.spotter = line.mid(6, colon - 6).trimmed().left(20);

    // The callsign as the live check reads it: three characters after the
    // last decimal number. A number in the comment ("QSX 1.5 kHz up") moves
    // that reading into the comment; then the first word after the
    // frequency is the callsign, as the node's layout puts it.
    QString call = SpotText::spottedCallsign(line).toUpper();
    qsizetype callEnd = -1;
    static const QRegularExpression firstNumber(QStringLiteral("\\d+\\.\\d+"));
    if (looksLikeCall(call)) {
        callEnd = PosizioneUltimoNumero(line) + 2 + call.size();
    } else {
        const QRegularExpressionMatch m =
            firstNumber.match(line, colon > 0 ? colon : 0);
        if (!m.hasMatch())
            return std::nullopt;
        static const QRegularExpression word(QStringLiteral("\\S+"));
        const QRegularExpressionMatch w = word.match(line, m.capturedEnd());
        if (!w.hasMatch())
            return std::nullopt;
        call = w.captured().toUpper();
        callEnd = w.capturedEnd();
        if (!looksLikeCall(call))
            return std::nullopt;
    }
    spot.callsign = call;

    // The comment runs from the callsign to the time "0712Z" (the last such
    // word), or to the end of the line.
    QString rest = line.mid(callEnd);
    static const QRegularExpression timeWord(QStringLiteral("(?:^|\\s)([01]\\d|2[0-3])([0-5]\\d)Z(?=\\s|$)"));
    QRegularExpressionMatch last;
    for (QRegularExpressionMatchIterator it = timeWord.globalMatch(rest); it.hasNext();)
        last = it.next();
    if (last.hasMatch()) {
        spot.time = last.captured(1) + last.captured(2);
        rest.truncate(last.capturedStart());
    }
    spot.comment = rest.simplified().left(kMaxComment);
    return spot;
}
