#include "activedx/ActiveDxModel.h"

#include "dxcc/Locator.h"
#include "log/LogIndex.h"
#include "pipeline/SpotEvent.h"
#include "spots/SpotReader.h"

#include <cmath>

namespace {

// The row keeps its last line for tuning; a node that sends an endless
// line must not make 5,000 huge rows. The frequency sits in the first 30
// characters.
constexpr int kMaxKeptLine = 256;

} // namespace

ActiveDxModel::ActiveDxModel(QObject* parent) : QAbstractTableModel(parent) {}

QString ActiveDxModel::key(const QString& callsign, int band)
{
    return callsign + u' ' + QString::number(band);
}

int ActiveDxModel::rowOf(const QString& callsign, int band) const
{
    return m_index.value(key(callsign, band), -1);
}

void ActiveDxModel::locate(Row& row) const
{
    row.country.reset();
    row.path.reset();
    if (m_table)
        row.country = m_table->lookup(row.spot.call);
    if (row.country && !m_locator.isEmpty())
        row.path = GreatCirclePath::fromLocator(m_locator, *row.country);
}

// One lookup in the log's index per spot.
void ActiveDxModel::judge(Row& row) const
{
    row.status.reset();
    if (m_log && row.country)
        row.status = m_log->status(row.spot, *row.country);
}

void ActiveDxModel::setLogIndex(std::shared_ptr<const LogIndex> log)
{
    const bool hadLog = m_log != nullptr;
    const bool hasLog = log != nullptr;
    // The column goes with a reset: views and screen readers drop every
    // cell they kept, of it and of the columns around it. Logs come and go
    // rarely.
    if (hadLog && !hasLog)
        beginResetModel();
    if (!hadLog && hasLog)
        beginInsertColumns({}, Status, Status);
    m_log = std::move(log);
    for (Row& row : m_rows)
        judge(row);
    if (hadLog && !hasLog) {
        endResetModel();
        return;
    }
    if (!hadLog && hasLog)
        endInsertColumns();
    if (!m_rows.isEmpty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

void ActiveDxModel::setCountryTable(std::shared_ptr<const CountryTable> table)
{
    m_table = std::move(table);
    for (Row& row : m_rows) {
        locate(row);
        judge(row);
    }
    if (!m_rows.isEmpty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

void ActiveDxModel::setLocator(const QString& locator)
{
    const QString normal = Locator::normalized(locator).value_or(QString());
    const bool changed = normal != m_locator;
    m_locator = normal;
    for (Row& row : m_rows)
        locate(row);
    if (!m_rows.isEmpty())
        emit dataChanged(index(0, Bearing), index(rowCount() - 1, Km));
    if (changed)
        emit locatorChanged(m_locator);
}

void ActiveDxModel::setMaxAgeMinutes(int minutes)
{
    m_maxAgeMinutes = qMax(1, minutes);
}

bool ActiveDxModel::addLine(const QString& line, const QDateTime& nowUtc, bool dxpedition)
{
    static const SpotReader reader;
    std::optional<Spot> spot = reader.read(line);
    if (!spot)
        return false;
    SpotEvent event = SpotEvent::resolve(std::move(*spot), line, nowUtc, m_table.get(), m_locator);
    event.dxpedition = dxpedition;
    return addSpot(event);
}

bool ActiveDxModel::addSpot(const SpotEvent& event)
{
    if (event.stripBand < 0)
        return false;
    const QDateTime& nowUtc = event.receivedUtc;

    // Once a second is enough to keep the age limit.
    if (!m_lastExpiry.isValid() || m_lastExpiry.secsTo(nowUtc) >= 1 || nowUtc < m_lastExpiry)
        expire(nowUtc);

    const Spot& spot = event.spot;
    const QString time = (spot.time.isValid() ? spot.time : nowUtc.toUTC().time())
                             .toString(QStringLiteral("HH:mm"));
    const QString k = key(spot.call, event.stripBand);
    const auto found = m_index.constFind(k);
    if (found != m_index.cend()) {
        const int r = *found;
        Row& row = m_rows[r];
        row.spot = spot;
        row.time = time;
        row.mode = event.modeText();
        row.line = event.line.left(kMaxKeptLine);
        row.dxpedition = row.dxpedition || event.dxpedition;
        if (!spot.spotter.isEmpty() && row.spotters.size() < MaxSpottersPerRow)
            row.spotters.insert(spot.spotter);
        row.lastHeard = nowUtc;
        row.lastHeardMs = nowUtc.toMSecsSinceEpoch();
        // The mode may have changed, and with it the slot.
        judge(row);
        emit dataChanged(index(r, 0), index(r, columnCount() - 1));
        return true;
    }

    if (m_rows.size() >= MaxRows) {
        int oldest = 0;
        for (int r = 1; r < m_rows.size(); ++r)
            if (m_rows[r].lastHeardMs < m_rows[oldest].lastHeardMs)
                oldest = r;
        removeRowAt(oldest);
    }
    Row row;
    row.key = k;
    row.band = event.stripBand;
    row.spot = spot;
    row.time = time;
    row.mode = event.modeText();
    row.line = event.line.left(kMaxKeptLine);
    row.dxpedition = event.dxpedition;
    if (!spot.spotter.isEmpty())
        row.spotters.insert(spot.spotter);
    row.firstHeard = nowUtc;
    row.lastHeard = nowUtc;
    row.lastHeardMs = nowUtc.toMSecsSinceEpoch();
    // Found once by the pipeline, with this model's table and locator.
    row.country = event.country;
    row.path = event.path;
    judge(row);
    const int r = int(m_rows.size());
    beginInsertRows({}, r, r);
    m_rows.append(std::move(row));
    m_index.insert(k, r);
    endInsertRows();
    return true;
}

void ActiveDxModel::expire(const QDateTime& nowUtc)
{
    m_lastExpiry = nowUtc;
    const qint64 limit = nowUtc.toMSecsSinceEpoch() - qint64(m_maxAgeMinutes) * 60 * 1000;
    // From the end: the row moved into a freed place has been looked at.
    for (int r = int(m_rows.size()) - 1; r >= 0; --r)
        if (m_rows[r].lastHeardMs < limit)
            removeRowAt(r);
}

void ActiveDxModel::clear()
{
    beginResetModel();
    m_rows.clear();
    m_index.clear();
    endResetModel();
}

void ActiveDxModel::removeRowAt(int row)
{
    const int last = int(m_rows.size()) - 1;
    m_index.remove(m_rows[row].key);
    if (row != last) {
        // The last row takes the place first, so that every signal finds
        // the rows as it says: for a moment the station is in both.
        m_rows[row] = m_rows[last];
        m_index.insert(m_rows[row].key, row);
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    }
    beginRemoveRows({}, last, last);
    m_rows.removeLast();
    endRemoveRows();
}

int ActiveDxModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int ActiveDxModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount + (m_log ? 1 : 0);
}

QVariant ActiveDxModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char* const names[ColumnCount] = {"UTC",     "kHz",       "DX",   "Entity", "Cont",
                                                   "CQ",      "ITU",       "Bearing", "Long path",
                                                   "km",      "Mode",      "Spotters", "Comment"};
    if (section == Status && m_log)
        return QStringLiteral("Status");
    if (section < 0 || section >= ColumnCount)
        return {};
    return QString::fromLatin1(names[section]);
}

QVariant ActiveDxModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size() || index.column() >= columnCount())
        return {};
    const Row& row = m_rows.at(index.row());
    switch (role) {
    case StatusRole:
        return row.status ? int(row.status->kind) : -1;
    case NeededRole:
        return row.status && row.status->isNeeded();
    case WorkedBeforeRole:
        return row.status && row.status->workedBefore;
    case Qt::ToolTipRole:
        // "New band; 3Y0J worked before on this band"
        if (!row.status)
            return {};
        return row.status->workedBefore
                   ? QStringLiteral("%1; %2 worked before on this band")
                         .arg(row.status->text(), row.spot.call)
                   : row.status->text();
    case Qt::AccessibleTextRole:
        // The status cell is read with what the hint says; the other cells
        // as they show.
        if (index.column() != Status || !row.status || !row.status->workedBefore)
            return {};
        return QStringLiteral("%1, worked before").arg(row.status->text());
    case BandRole:
        return row.band;
    case ModeGroupRole:
        return int(row.spot.group);
    case ContinentRole:
        return row.country ? row.country->continent : QString();
    case CallRole:
        return row.spot.call;
    case FrequencyRole:
        return int(row.spot.frequencyHz / 100);
    case HertzRole:
        return row.spot.frequencyHz;
    case LineRole:
        return row.line;
    case DxpeditionRole:
        return row.dxpedition;
    case Qt::TextAlignmentRole: {
        const int c = index.column();
        const bool number = c == Khz || c == CqZone || c == ItuZone || c == Bearing || c == LongPath
                            || c == Km || c == Spotters;
        return QVariant::fromValue(number ? Qt::AlignRight | Qt::AlignVCenter
                                          : Qt::AlignLeft | Qt::AlignVCenter);
    }
    case Qt::DisplayRole:
    case SortRole:
        break;
    default:
        return {};
    }
    const bool sort = role == SortRole;
    const CountryInfo* c = row.country ? &*row.country : nullptr;
    const GreatCirclePath* p = row.path ? &*row.path : nullptr;
    switch (index.column()) {
    case Utc:
        if (sort)
            return row.lastHeard.toMSecsSinceEpoch();
        return row.time;
    case Khz:
        // Tenths of a kHz, with the hertz below them kept for the order.
        if (sort)
            return double(row.spot.frequencyHz) / 100.0;
        return row.spot.kilohertzText();
    case Dx:
        return row.spot.call;
    case Entity:
        return c ? c->name : QString();
    case Continent:
        return c ? c->continent : QString();
    case CqZone:
        if (!c)
            return sort ? QVariant(-1) : QVariant(QString());
        return sort ? QVariant(c->cqZone) : QVariant(QString::number(c->cqZone));
    case ItuZone:
        if (!c)
            return sort ? QVariant(-1) : QVariant(QString());
        return sort ? QVariant(c->ituZone) : QVariant(QString::number(c->ituZone));
    case Bearing:
    case LongPath: {
        if (!p)
            return sort ? QVariant(-1) : QVariant(QString());
        const int deg = int(std::lround(index.column() == Bearing ? p->bearing : p->longBearing)) % 360;
        return sort ? QVariant(deg) : QVariant(QString::number(deg) + u'\u00b0');
    }
    case Km: {
        if (!p)
            return sort ? QVariant(-1) : QVariant(QString());
        const qint64 km = std::llround(p->km);
        return sort ? QVariant(km) : QVariant(QString::number(km));
    }
    case Mode:
        return row.mode;
    case Spotters:
        return sort ? QVariant(int(row.spotters.size()))
                    : QVariant(QString::number(row.spotters.size()));
    case Comment:
        return row.spot.comment;
    case Status:
        // Most needed first when sorted up.
        if (sort)
            return row.status ? int(row.status->kind) : SpotStatus::KindCount;
        return row.status ? row.status->text() : QString();
    }
    return {};
}
