#include "alerts/AlertRule.h"

#include "alerts/AlertSpot.h"
#include "spots/BandFilter.h"

#include <array>

namespace {

constexpr std::array<QStringView, AlertRule::kContinentCount> kContinents{
    u"AF", u"AN", u"AS", u"EU", u"NA", u"OC", u"SA"};

// The band filter's twelve bands, in its order; "VHF" is its "vhf up".
constexpr std::array<QStringView, BandFilter::BandCount> kBands{
    u"160m", u"80m", u"60m", u"40m", u"30m", u"20m",
    u"17m",  u"15m", u"12m", u"10m", u"6m",  u"VHF"};

constexpr std::array<QStringView, AlertRule::kModeCount> kModes{u"CW", u"PHONE", u"DIGITAL"};

template <std::size_t N>
std::optional<int> indexIn(const std::array<QStringView, N>& words, QStringView word)
{
    const QStringView w = word.trimmed();
    for (std::size_t i = 0; i < N; ++i) {
        if (w.compare(words[i], Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return std::nullopt;
}

} // namespace

QString AlertRule::continentName(int index)
{
    return kContinents.at(index).toString();
}

QString AlertRule::bandName(int index)
{
    return kBands.at(index).toString();
}

QString AlertRule::modeName(int index)
{
    return kModes.at(index).toString();
}

std::optional<int> AlertRule::continentIndex(QStringView word)
{
    return indexIn(kContinents, word);
}

std::optional<int> AlertRule::bandIndex(QStringView word)
{
    return indexIn(kBands, word);
}

std::optional<int> AlertRule::modeIndex(QStringView word)
{
    return indexIn(kModes, word);
}

int AlertRule::modeIndexOf(SpotMode::Group group)
{
    switch (group) {
    case SpotMode::Group::Cw:
        return 0;
    case SpotMode::Group::Phone:
        return 1;
    case SpotMode::Group::Digital:
        return 2;
    case SpotMode::Group::Unknown:
        break;
    }
    return -1;
}

bool AlertRule::matches(const AlertSpot& spot) const
{
    // A spot that does not tell a fact (a band gap, an unknown mode, a call
    // the country file does not know) fails every condition on that fact.
    if (bands && (spot.band < 0 || !hasBand(spot.band)))
        return false;
    if (modes) {
        const int mode = modeIndexOf(spot.modeGroup);
        if (mode < 0 || !hasMode(mode))
            return false;
    }
    if (continents) {
        const std::optional<int> continent = continentIndex(spot.continent);
        if (!continent || !hasContinent(*continent))
            return false;
    }
    if (!entity.isEmpty() && entity.compare(spot.entity, Qt::CaseInsensitive) != 0 &&
        entity.compare(spot.primaryPrefix, Qt::CaseInsensitive) != 0)
        return false;
    return call.matches(spot.callsign);
}
