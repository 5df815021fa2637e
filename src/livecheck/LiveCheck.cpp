#include "livecheck/LiveCheck.h"

#include "spots/SpotText.h"

LiveCheck::Result LiveCheck::verifica(const QString& stringaricevuta, const CallsignIndex& list)
{
    Result r;
    r.resultString = SpotText::spottedCallsign(stringaricevuta);
    r.trovatouguale = !r.resultString.isEmpty() && list.contains(r.resultString);
    return r;
}
