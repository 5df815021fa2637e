#include "session/IncomingLine.h"

#include "spots/SpotText.h"

IncomingLine IncomingLine::evaluate(const QString& line, const BandFilter& filter)
{
    return evaluate(line, filter.states());
}

IncomingLine IncomingLine::evaluate(const QString& line, const BandFilter::States& states)
{
    qsizetype end = line.size();
    while (end > 0) {
        const char16_t u = line.at(end - 1).unicode();
        if (u > 0x20 && !(u >= 0x7F && u <= 0x9F))
            break;
        --end;
    }

    IncomingLine result;
    result.response = CleanString(line.left(end));
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
