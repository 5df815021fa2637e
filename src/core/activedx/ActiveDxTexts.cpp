#include "activedx/ActiveDxTexts.h"

#include <algorithm>

namespace ActiveDxTexts {

QString row(const QString& call, const QString& khz, const QString& entity)
{
    return QStringLiteral("%1 %2 kHz%3")
        .arg(call, khz, entity.isEmpty() ? QString() : QStringLiteral(", ") + entity);
}

QString newRows(int count, const QString& newest)
{
    if (count <= 1)
        return QStringLiteral("New: ") + newest;
    return QStringLiteral("%1 new stations, the newest: %2").arg(count).arg(newest);
}

QString newAlerts(int count, const QString& newest)
{
    if (count <= 1)
        return QStringLiteral("Alert: ") + newest;
    return QStringLiteral("%1 new alerts, the newest: %2").arg(count).arg(newest);
}

bool allBandsOff(const BandFilter::States& states)
{
    return std::none_of(states.begin(), states.end(), [](bool on) { return on; });
}

QString allBandsOffText()
{
    return QStringLiteral("Every band is switched off in the band strip of the main window, "
                          "so no station is shown. Switch a band on to see its stations.");
}

} // namespace ActiveDxTexts
