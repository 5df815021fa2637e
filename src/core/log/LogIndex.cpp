#include "log/LogIndex.h"

#include "dxcc/CountryInfo.h"
#include "dxcc/CountryTable.h"
#include "log/DxccEntities.h"
#include "spots/Spot.h"

namespace {

quint32 bandBit(BandPlan::Band band)
{
    return 1u << unsigned(band);
}

quint8 groupBit(ModeGroup group)
{
    return quint8(1u << unsigned(group));
}

quint64 slotBit(BandPlan::Band band, ModeGroup group)
{
    return quint64(1) << (3 * unsigned(band) + unsigned(group) - 1);
}

static_assert(3 * BandPlan::BandCount <= 64, "every slot has its bit");

// 12345 -> "12,345", as the line is written whatever the desktop's language.
QString grouped(int n)
{
    QString digits = QString::number(n);
    for (qsizetype at = digits.size() - 3; at > (n < 0 ? 1 : 0); at -= 3)
        digits.insert(at, u',');
    return digits;
}

quint64 callKey(const QString& call)
{
    const QStringView v(call);
    if constexpr (sizeof(size_t) >= 8)
        return quint64(qHash(v, size_t(0x6d61727669785f6cULL)));
    else
        return (quint64(qHash(v, size_t(0x6d617276))) << 32) ^
               quint64(qHash(v, size_t(0x69785f6c)));
}

QString counted(int n, const char* one, const char* many)
{
    return grouped(n) + QLatin1Char(' ') + QLatin1String(n == 1 ? one : many);
}

} // namespace

void LogIndex::Marks::mark(std::optional<BandPlan::Band> band, ModeGroup group)
{
    any = true;
    if (band)
        bands |= bandBit(*band);
    if (group != ModeGroup::Unknown)
        groups |= groupBit(group);
    if (band && group != ModeGroup::Unknown)
        slotBits |= slotBit(*band, group);
}

bool LogIndex::Marks::has(std::optional<BandPlan::Band> band, ModeGroup group) const
{
    const bool knownGroup = group != ModeGroup::Unknown;
    if (band && knownGroup)
        return slotBits & slotBit(*band, group);
    if (band)
        return bands & bandBit(*band);
    if (knownGroup)
        return groups & groupBit(group);
    return any;
}

LogIndex::LogIndex(LogOptions options) : m_options(std::move(options)) {}

void LogIndex::add(const LogQso& qso, const CountryTable& countries)
{
    if (!m_options.counts(qso))
        return;
    ++m_summary.qsos;
    if (qso.band)
        m_callBands[callKey(qso.call)] |= bandBit(*qso.band);

    QString prefix;
    if (qso.dxcc) {
        prefix = DxccEntities::prefixOf(*qso.dxcc); // empty for 0 and deleted entities
    } else if (const std::optional<CountryInfo> info = countries.lookup(qso.call)) {
        prefix = DxccEntities::dxccPrefixOf(*info);
    }
    if (prefix.isEmpty())
        return;
    Entity& entity = m_entities[prefix];
    if (!entity.worked.any)
        ++m_summary.entitiesWorked;
    entity.worked.mark(qso.band, qso.group);
    if (qso.confirmations & m_options.confirmations) {
        if (!entity.confirmed.any)
            ++m_summary.entitiesConfirmed;
        entity.confirmed.mark(qso.band, qso.group);
    }
}

std::optional<SpotStatus> LogIndex::status(const QString& entityPrefix,
                                           std::optional<BandPlan::Band> band, ModeGroup group,
                                           const QString& call) const
{
    if (entityPrefix.isEmpty())
        return std::nullopt;
    SpotStatus status;
    if (band) {
        const auto worked = m_callBands.constFind(callKey(call));
        status.workedBefore = worked != m_callBands.cend() && (*worked & bandBit(*band));
    }
    const auto found = m_entities.constFind(entityPrefix);
    if (found == m_entities.cend()) {
        status.kind = SpotStatus::Kind::NewOne;
        return status;
    }
    const Marks& worked = found->worked;
    const bool knownGroup = group != ModeGroup::Unknown;
    if (band && !(worked.bands & bandBit(*band)))
        status.kind = SpotStatus::Kind::NewBand;
    else if (knownGroup && !(worked.groups & groupBit(group)))
        status.kind = SpotStatus::Kind::NewMode;
    else if (!worked.has(band, group))
        status.kind = SpotStatus::Kind::NewSlot;
    else if (found->confirmed.has(band, group))
        status.kind = SpotStatus::Kind::Confirmed;
    else
        status.kind = SpotStatus::Kind::Worked;
    return status;
}

std::optional<SpotStatus> LogIndex::status(const Spot& spot, const CountryInfo& entity) const
{
    return status(DxccEntities::dxccPrefixOf(entity), spot.band, spot.group, spot.call);
}

void LogIndex::setSource(const QString& fileName, const QDateTime& readAt, int skipped)
{
    m_summary.fileName = fileName;
    m_summary.readAt = readAt;
    m_summary.skipped = skipped;
}

QString LogIndex::summaryLine(const Summary& summary)
{
    QString source = summary.fileName;
    if (summary.readAt.isValid())
        source += QStringLiteral(", read ") + summary.readAt.toString(QStringLiteral("HH:mm"));
    if (summary.skipped > 0)
        source += QStringLiteral("; ") +
                  counted(summary.skipped, "broken record skipped", "broken records skipped");
    return QStringLiteral("Log: %1, %2, %3 confirmed (%4)")
        .arg(counted(summary.qsos, "QSO", "QSOs"),
             counted(summary.entitiesWorked, "entity worked", "entities worked"),
             grouped(summary.entitiesConfirmed), source);
}
