// The ADI log reader on any bytes a file may hold: every QSO it gives is a
// QSO the program can use (a callsign, a band of the plan, an entity code
// of the list's range), no more QSOs than the file has <EOR> tags, a file
// refused gives none, a problem names a line of the file, and the same
// bytes give the same answer. The QSOs then go into an index, whose
// counts agree with the reading and whose lookups answer for any spot.

#include "FuzzSupport.h"

#include "dxcc/CountryTable.h"
#include "log/AdiReader.h"
#include "log/AdifValues.h"
#include "log/LogIndex.h"
#include "spots/Spot.h"

namespace {

const QByteArray kCountries =
    "Fed. Rep. of Germany:     14:  28:  EU:   51.00:   -10.00:    -1.0:  DL:\n"
    "    DA,DB,DC,DD,DE,DF,DG,DH,DI,DJ,DK,DL,DM,DN,DO,DP,DQ,DR;\n"
    "Sicily:                   15:  28:  EU:   37.50:   -14.00:    -1.0:  *IT9:\n"
    "    IT9;\n"
    "Italy:                    15:  28:  EU:   42.82:   -12.58:    -1.0:  I:\n"
    "    I;\n"
    "United States of America: 05:  08:  NA:   37.60:    91.87:     5.0:  K:\n"
    "    K,N,W;\n";

qsizetype countTag(const QByteArray& bytes, const QByteArray& tag)
{
    return bytes.toLower().count(tag);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    static const CountryTable countries = CountryTable::parse(kCountries);

    LogIndex index;
    QList<LogQso> qsos;
    const LogReadReport report = AdiReader::read(bytes, [&](LogQso&& q) {
        index.add(q, countries);
        qsos.append(std::move(q));
    });

    FUZZ_CHECK(report.qsos == qsos.size());
    FUZZ_CHECK(report.qsos <= countTag(bytes, "<eor>"));
    FUZZ_CHECK(report.skipped <= bytes.count('<') + 1);
    FUZZ_CHECK(!report.refused() || report.qsos == 0);
    FUZZ_CHECK(report.qsos > 0 || report.skipped == 0 || report.refused());
    const int lines = int(bytes.count('\n')) + 1;
    if (report.skipped > 0)
        FUZZ_CHECK(report.firstSkippedLine >= 1 && report.firstSkippedLine <= lines);
    FUZZ_CHECK(report.refusal.size() < 200 && report.firstSkippedReason.size() < 200);
    // A message is one line.
    FUZZ_CHECK(!report.refusal.contains(u'\n') && !report.firstSkippedReason.contains(u'\n'));
    FUZZ_CHECK(!report.refusal.contains(u'\r') && !report.firstSkippedReason.contains(u'\r'));

    for (const LogQso& q : qsos) {
        FUZZ_CHECK(AdifValues::isCallsign(q.call));
        FUZZ_CHECK(!q.band || int(*q.band) < BandPlan::BandCount);
        FUZZ_CHECK(!q.dxcc || (*q.dxcc >= 0 && *q.dxcc <= 999));
        FUZZ_CHECK((q.confirmations & ~LogQso::AllConfirmations) == 0);
        FUZZ_CHECK(q.mode.size() <= AdiReader::MaxValueBytes);
        FUZZ_CHECK(q.stationCallsign.size() <= AdiReader::MaxValueBytes);
    }

    // The same bytes, the same QSOs and the same report.
    const AdiReader::Result again = AdiReader::readAll(bytes);
    FUZZ_CHECK(again.qsos == qsos);
    FUZZ_CHECK(again.report.skipped == report.skipped);
    FUZZ_CHECK(again.report.refusal == report.refusal);
    FUZZ_CHECK(again.report.firstSkipped() == report.firstSkipped());

    // Every QSO counts with the default options; no more entities than QSOs.
    const LogIndex::Summary& summary = index.summary();
    FUZZ_CHECK(summary.qsos == report.qsos);
    FUZZ_CHECK(summary.entitiesConfirmed <= summary.entitiesWorked);
    FUZZ_CHECK(summary.entitiesWorked <= summary.qsos);
    // A QSO's own call on its own band was worked before, and its entity
    // is never a new one.
    for (const LogQso& q : qsos.mid(0, 16)) {
        Spot spot;
        spot.call = q.call;
        spot.band = q.band;
        spot.group = q.group;
        const std::optional<CountryInfo> info = countries.lookup(q.call);
        if (!info)
            continue;
        const std::optional<SpotStatus> status = index.status(spot, *info);
        FUZZ_CHECK(status.has_value());
        if (q.band)
            FUZZ_CHECK(status->workedBefore);
        if (!q.dxcc)
            FUZZ_CHECK(status->kind != SpotStatus::Kind::NewOne &&
                       status->kind != SpotStatus::Kind::NewBand &&
                       status->kind != SpotStatus::Kind::NewMode &&
                       status->kind != SpotStatus::Kind::NewSlot);
    }
    return 0;
}
