#include "pipeline/SpotEvent.h"

#include "dxcc/CountryTable.h"
#include "spots/BandFilter.h"

std::optional<int> SpotEvent::stripIndexOf(BandPlan::Band band)
{
    using B = BandPlan::Band;
    using F = BandFilter::Band;
    switch (band) {
    case B::m2200:
    case B::m630:
        return std::nullopt;
    case B::m160: return BandFilter::indexOf(F::m160);
    case B::m80: return BandFilter::indexOf(F::m80);
    case B::m60: return BandFilter::indexOf(F::m60);
    case B::m40: return BandFilter::indexOf(F::m40);
    case B::m30: return BandFilter::indexOf(F::m30);
    case B::m20: return BandFilter::indexOf(F::m20);
    case B::m17: return BandFilter::indexOf(F::m17);
    case B::m15: return BandFilter::indexOf(F::m15);
    case B::m12: return BandFilter::indexOf(F::m12);
    case B::m10: return BandFilter::indexOf(F::m10);
    case B::m6: return BandFilter::indexOf(F::m6);
    case B::m4:
    case B::m2:
    case B::m1_25:
    case B::cm70:
    case B::cm33:
    case B::cm23:
        return BandFilter::indexOf(F::msopra);
    }
    return std::nullopt;
}

SpotEvent SpotEvent::resolve(Spot spot, QString line, QDateTime receivedUtc,
                             const CountryTable* countries, QStringView locator)
{
    SpotEvent e;
    e.spot = std::move(spot);
    e.line = std::move(line);
    e.receivedUtc = std::move(receivedUtc);
    if (e.spot.band)
        e.stripBand = stripIndexOf(*e.spot.band).value_or(-1);
    if (countries)
        e.country = countries->lookup(e.spot.call);
    if (e.country && !locator.isEmpty())
        e.path = GreatCirclePath::fromLocator(locator, *e.country);
    return e;
}

QString SpotEvent::modeText() const
{
    if (!spot.mode.isEmpty())
        return spot.mode;
    switch (spot.group) {
    case ModeGroup::Cw:
        return QStringLiteral("CW");
    case ModeGroup::Phone:
        return QStringLiteral("SSB");
    case ModeGroup::Digital:
        return QStringLiteral("DIGI");
    case ModeGroup::Unknown:
        break;
    }
    return QString();
}
