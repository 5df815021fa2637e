#include "session/IncomingLine.h"

#include "spots/SpotText.h"
#include "text/TextDecoding.h"

IncomingLine IncomingLine::evaluate(const QString& line, const BandFilter& filter)
{
    return evaluate(line, filter.states());
}

QString IncomingLine::clean(const QString& line)
{
    qsizetype end = line.size();
    while (end > 0) {
        const char16_t u = line.at(end - 1).unicode();
        if (u > 0x20 && !(u >= 0x7F && u <= 0x9F))
            break;
        --end;
    }
    return CleanString(line.left(end));
}

bool IncomingLine::tailMayBecomeSpot(const QByteArray& tail)
{
    // Enough for any run of blanks and controls a node puts before a spot;
    // a longer run is judged as if more might still come, so it waits.
    constexpr qsizetype kJudged = 256;
    const QByteArray head = tail.left(kJudged);
    const QString text = TextDecoding::decodeLine(head);
    const QString cleaned = clean(text);
    if (cleaned.startsWith(QLatin1String("DX")))
        return true;
    if (!QStringLiteral("DX").startsWith(cleaned))
        return false;
    // Cleaning drops blanks at the end, but a blank after the "D" is there
    // to stay: "D " can never become "DX", while "D\a" still can.
    QString withoutControls;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0x20 && !(u >= 0x7F && u <= 0x9F))
            withoutControls.append(c);
    }
    return cleaned.isEmpty() || withoutControls.endsWith(QLatin1Char('D'));
}

IncomingLine IncomingLine::evaluate(const QString& line, const BandFilter::States& states)
{
    IncomingLine result;
    result.response = clean(line);
    result.isDxSpot = SpotText::isDxSpot(result.response);
    if (!result.isDxSpot) {
        result.workingCopy = result.response;
        return result;
    }
    result.workingCopy = result.response.left(SpotWidth);
    // A "DX..." line with no digit in its frequency field is no spot we can
    // place in a band; the band filter lets it through and it is shown.
    result.decision = BandFilter::decide(result.workingCopy, states) == BandFilter::Decision::Pass
                          ? Decision::Show
                          : Decision::Drop;
    return result;
}
