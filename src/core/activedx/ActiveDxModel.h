#pragma once

#include "dxcc/CountryInfo.h"
#include "dxcc/CountryTable.h"
#include "dxcc/GreatCirclePath.h"
#include "dxcc/SpotMode.h"
#include "log/SpotStatus.h"
#include "spots/Spot.h"

#include <QAbstractTableModel>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

#include <memory>
#include <optional>

class LogIndex;
struct SpotEvent;

// The stations active now: one row per callsign and band, made from the
// spots the spot pipeline reads (SpotEvent: read once, country found once). A new spot of a row updates its
// frequency, time, comment and mode and adds its spotter; rows not spotted
// for the age limit go, and at most MaxRows are kept, the longest unheard
// going first. Row order is no order the user sees (the window sorts): a
// row that goes is replaced by the last one, so that taking a row out costs
// the same with 5,000 rows as with ten.
class ActiveDxModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column
    {
        Utc,
        Khz,
        Dx,
        Entity,
        Continent,
        CqZone,
        ItuZone,
        Bearing,
        LongPath,
        Km,
        Mode,
        Spotters,
        Comment,
        ColumnCount,
        // What the user's log says of the row; a column only while there
        // is a log, so that without one the table is the same as ever.
        Status = ColumnCount
    };

    // Beyond the display text, each cell gives these.
    enum Role
    {
        SortRole = Qt::UserRole, // numbers as numbers, times as UTC milliseconds
        BandRole,                // the band filter's band index of the row
        ModeGroupRole,           // SpotMode::Group as int
        ContinentRole,           // "EU", empty when unknown
        CallRole,                // the DX callsign
        FrequencyRole,           // tenths of a kHz
        LineRole,                // the last spot line of the row, as shown
        DxpeditionRole,          // a spot of the row was a live-check hit
        HertzRole,               // the frequency in Hz, as the spot has it
        StatusRole,              // SpotStatus::Kind as int; -1: no status (no log, no entity)
        NeededRole,              // the status is one a DX hunter still needs
        WorkedBeforeRole         // this very call is in the log on this band
    };

    static constexpr int MaxRows = 5000;
    static constexpr int DefaultMaxAgeMinutes = 30;
    // Distinct spotters counted per row; more only keep the count there.
    static constexpr int MaxSpottersPerRow = 999;

    explicit ActiveDxModel(QObject* parent = nullptr);

    // The country file; none (or an empty table) leaves the country columns
    // empty. Rows already there are looked up again.
    void setCountryTable(std::shared_ptr<const CountryTable> table);
    // The user's locator; an invalid one leaves bearing and distance empty.
    void setLocator(const QString& locator);
    // The locator in use, in its normal form; empty for none.
    const QString& locator() const { return m_locator; }
    // The index of the user's log; none: no log, no Status column. Every
    // row is looked up again, once.
    void setLogIndex(std::shared_ptr<const LogIndex> index);
    const std::shared_ptr<const LogIndex>& logIndex() const { return m_log; }
    void setMaxAgeMinutes(int minutes);
    int maxAgeMinutes() const { return m_maxAgeMinutes; }

    // A spot with its country and path already found. True when it made or
    // updated a row; a spot outside the band strip's bands changes nothing.
    bool addSpot(const SpotEvent& event);
    // A line as the main window shows it, received at nowUtc; dxpedition
    // when the live check found its callsign. Read and looked up here, for
    // callers that have no pipeline; lines that are no spot change nothing.
    bool addLine(const QString& line, const QDateTime& nowUtc, bool dxpedition = false);

    // The last spot of a row, as the pipeline read it: what tuning uses.
    const Spot& spotAt(int row) const { return m_rows.at(row).spot; }
    // Removes the rows not spotted within the age limit before nowUtc.
    void expire(const QDateTime& nowUtc);
    void clear();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // The first and last time a row was heard (receipt times, UTC).
    QDateTime firstHeard(int row) const { return m_rows.at(row).firstHeard; }
    QDateTime lastHeard(int row) const { return m_rows.at(row).lastHeard; }
    // The row of a callsign on a band, -1 when there is none.
    int rowOf(const QString& callsign, int band) const;

signals:
    // The user's locator changed (setLocator), in its normal form.
    void locatorChanged(const QString& locator);

private:
    struct Row
    {
        QString key; // callsign and band, the index's key
        int band = -1;
        Spot spot;    // the last spot of the row
        QString time; // "HH:MM" of the last spot, or of its receipt
        QString mode; // the comment's mode word, else the band plan's kind
        QString line;
        bool dxpedition = false;
        QSet<QString> spotters;
        QDateTime firstHeard;
        QDateTime lastHeard;
        qint64 lastHeardMs = 0; // the same, for quick comparing
        std::optional<CountryInfo> country;
        std::optional<GreatCirclePath> path;
        std::optional<SpotStatus> status;
    };

    void locate(Row& row) const;
    void judge(Row& row) const;
    void removeRowAt(int row);
    static QString key(const QString& callsign, int band);

    QList<Row> m_rows;
    QHash<QString, int> m_index; // key(callsign, band) -> row
    std::shared_ptr<const CountryTable> m_table;
    std::shared_ptr<const LogIndex> m_log;
    QString m_locator;
    int m_maxAgeMinutes = DefaultMaxAgeMinutes;
    QDateTime m_lastExpiry;
};
