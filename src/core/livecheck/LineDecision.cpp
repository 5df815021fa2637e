#include "livecheck/LineDecision.h"

LineDecision LineDecision::decide(const QString& received, const BandFilter& bands,
                                  const Lookup& calendar, const Lookup& dxpeditions,
                                  bool liveCheckOn)
{
    LineDecision d;
    d.line = IncomingLine::evaluate(received, bands);
    if (d.line.decision == IncomingLine::Decision::Drop)
        return d;
    if (calendar)
        d.match = calendar(d.line.workingCopy);
    if (!d.match.trovatouguale && dxpeditions)
        d.match = dxpeditions(d.line.workingCopy);
    d.outcome = d.match.trovatouguale && liveCheckOn ? Outcome::Hit : Outcome::Show;
    return d;
}
