#pragma once

#include "log/LogOptions.h"
#include "log/LogQso.h"
#include "log/SpotStatus.h"
#include "spots/BandPlan.h"
#include "spots/ModeGroup.h"

#include <QDateTime>
#include <QHash>
#include <QString>

#include <optional>

class CountryTable;
struct CountryInfo;
struct Spot;

// The user's log as the spots need it: for each DXCC entity (by the
// primary prefix the country file gives it, as the spots resolve to it)
// the bands, mode groups and band-and-group slots worked and confirmed,
// and for each call the bands it was worked on. Made once per reading of
// the log; a lookup then costs two hash lookups and allocates nothing.
class LogIndex
{
public:
    explicit LogIndex(LogOptions options = {});

    const LogOptions& options() const { return m_options; }

    // Takes in one QSO of the log, when the options let it count. Its
    // entity is its DXCC code, else its call's in the country file; a QSO
    // of no entity (DXCC 0, a deleted entity, a call the file does not
    // know) still counts for its call.
    void add(const LogQso& qso, const CountryTable& countries);

    // The status of a spot in the entity of this primary prefix (the DXCC
    // entity's: see DxccEntities::dxccPrefixOf). A spot between the bands
    // or of no known mode is judged by what it does tell. None for a spot
    // of no entity.
    std::optional<SpotStatus> status(const QString& entityPrefix,
                                     std::optional<BandPlan::Band> band, ModeGroup group,
                                     const QString& call) const;
    // The same for a spot and the entity its call resolved to.
    std::optional<SpotStatus> status(const Spot& spot, const CountryInfo& entity) const;

    struct Summary
    {
        int qsos = 0; // QSOs that count
        int entitiesWorked = 0;
        int entitiesConfirmed = 0; // by the chosen confirmations
        // Where the log came from; set by the one who read it.
        QString fileName; // "mylog.adi"
        QDateTime readAt; // local time
        int skipped = 0;  // broken records left out
    };
    const Summary& summary() const { return m_summary; }
    void setSource(const QString& fileName, const QDateTime& readAt, int skipped);

    // The DX window's line about the log:
    //   "Log: 12,345 QSOs, 287 entities worked, 251 confirmed (mylog.adi, read 14:05)"
    // and, when records were left out, "; 3 broken records skipped" before
    // the closing bracket.
    static QString summaryLine(const Summary& summary);

private:
    // Bits: band b is 1 << b; group g is 1 << g; the slot of band b and
    // group g is 1 << (3 * b + g - 1).
    struct Marks
    {
        bool any = false;
        quint32 bands = 0;
        quint8 groups = 0;
        quint64 slotBits = 0;

        void mark(std::optional<BandPlan::Band> band, ModeGroup group);
        bool has(std::optional<BandPlan::Band> band, ModeGroup group) const;
    };
    struct Entity
    {
        Marks worked;
        Marks confirmed;
    };

    LogOptions m_options;
    QHash<QString, Entity> m_entities;
    // The bands each call was worked on, by a 64-bit hash of the call: a
    // spot's lookup then reads one slot and compares no text. Two calls of
    // one log sharing a hash are about as likely as winning a lottery twice.
    QHash<quint64, quint32> m_callBands;
    Summary m_summary;
};
