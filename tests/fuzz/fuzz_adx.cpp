// The ADX log reader on any bytes: every QSO it gives is one the program
// can use, no more QSOs than the file has <RECORD> elements, a refused
// file gives none, a problem names a line of the file, and the same bytes
// give the same answer.

#include "FuzzSupport.h"

#include "log/AdifValues.h"
#include "log/AdxReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));

    const AdxReader::Result read = AdxReader::readAll(bytes);
    const LogReadReport& report = read.report;
    FUZZ_CHECK(report.qsos == read.qsos.size());
    FUZZ_CHECK(report.qsos <= bytes.toLower().count("<record"));
    FUZZ_CHECK(!report.refused() || report.qsos == 0);
    FUZZ_CHECK(report.qsos > 0 || report.skipped == 0 || report.refused());
    // Lines as XML counts them: CR LF, CR and LF each end one.
    const int lines = int(bytes.count('\n') + bytes.count('\r')) + 1;
    if (report.skipped > 0)
        FUZZ_CHECK(report.firstSkippedLine >= 1 && report.firstSkippedLine <= lines);
    FUZZ_CHECK(report.refusal.size() < 300 && report.firstSkippedReason.size() < 300);
    // A message is one line.
    FUZZ_CHECK(!report.refusal.contains(u'\n') && !report.firstSkippedReason.contains(u'\n'));
    FUZZ_CHECK(!report.refusal.contains(u'\r') && !report.firstSkippedReason.contains(u'\r'));

    for (const LogQso& q : read.qsos) {
        FUZZ_CHECK(AdifValues::isCallsign(q.call));
        FUZZ_CHECK(!q.band || int(*q.band) < BandPlan::BandCount);
        FUZZ_CHECK(!q.dxcc || (*q.dxcc >= 0 && *q.dxcc <= 999));
        FUZZ_CHECK((q.confirmations & ~LogQso::AllConfirmations) == 0);
        FUZZ_CHECK(q.mode.size() <= AdxReader::MaxValueChars);
        FUZZ_CHECK(q.stationCallsign.size() <= AdxReader::MaxValueChars);
    }

    const AdxReader::Result again = AdxReader::readAll(bytes);
    FUZZ_CHECK(again.qsos == read.qsos);
    FUZZ_CHECK(again.report.skipped == report.skipped);
    FUZZ_CHECK(again.report.refusal == report.refusal);
    return 0;
}
