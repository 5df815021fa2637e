// The country file parser and the callsign lookup, on any file text and any
// callsign: no crash, every answer within the file format's ranges, /MM and
// /AM never in an entity, the same answer for the same call, and case makes
// no difference.
//
// Input: one byte of flags, then the file text and the calls, separated by
// the first NUL byte; the calls are one a line. The calls are looked up in
// the table made from the text and in a fixed table of real records.

#include "FuzzSupport.h"

#include "dxcc/CountryTable.h"

#include <cmath>

namespace {

const QByteArray kRealRecords =
    "United Nations HQ:        05:  08:  NA:   40.75:    73.97:     5.0:  4U1U:\n"
    "    =4U1UN,=4U50SPACE;\n"
    "Italy:                    15:  28:  EU:   42.82:   -12.58:    -1.0:  I:\n"
    "    4U,I,=II0PN/MM(40),=II1RT/N;\n"
    "Sicily:                   15:  28:  EU:   37.50:   -14.00:    -1.0:  *IT9:\n"
    "    IB9,IT9,=IT9ZSB/LH;\n"
    "Guantanamo Bay:           08:  11:  NA:   20.00:    75.00:     5.0:  KG4:\n"
    "    KG4,=KG4AC,=W1AW/KG4;\n"
    "Netherlands:              14:  27:  EU:   52.28:    -5.47:    -1.0:  PA:\n"
    "    PA,PB,=PA/DF8WA/LH;\n"
    "Canada:                   05:  09:  NA:   44.35:    78.75:     5.0:  VE:\n"
    "    VA,VE,=VE2EM/M,=VER20230502,VE2[4];\n"
    "United States of America: 05:  08:  NA:   37.60:    91.87:     5.0:  K:\n"
    "    K,N,W,=N2NL/MM(7),=NQ4I/AM,K0(4)[7],W8(4)[8],=KG4DFX(5)[8];\n";

void checkAnswer(const CountryTable& table, const QString& call)
{
    const std::optional<CountryInfo> info = table.lookup(call);
    if (info) {
        FUZZ_CHECK(info->cqZone >= 1 && info->cqZone <= 40);
        FUZZ_CHECK(info->ituZone >= 1 && info->ituZone <= 90);
        FUZZ_CHECK(info->continent.size() == 2);
        FUZZ_CHECK(std::isfinite(info->latitude) && std::fabs(info->latitude) <= 90);
        FUZZ_CHECK(std::isfinite(info->longitudeWest) && std::fabs(info->longitudeWest) <= 180);
        FUZZ_CHECK(std::isfinite(info->utcOffset) && std::fabs(info->utcOffset) <= 24);
        FUZZ_CHECK(!info->name.isEmpty() && !info->primaryPrefix.isEmpty());
    }
    // Stable, and blind to case.
    FUZZ_CHECK(table.lookup(call) == info);
    FUZZ_CHECK(table.lookup(call.toLower()) == table.lookup(call.toUpper()));
    // At sea or in the air: no entity, whatever the rest of the call says.
    FUZZ_CHECK(!table.lookup(call + QStringLiteral("/MM")));
    FUZZ_CHECK(!table.lookup(QStringLiteral("/AM/") + call));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    const quint8 flags = in.byte();
    const QByteArray rest = in.rest();
    const qsizetype nul = rest.indexOf('\0');
    const QByteArray fileText = nul < 0 ? rest : rest.left(nul);
    const QByteArray callText = nul < 0 ? QByteArray() : rest.mid(nul + 1);

    const CountryTable table = CountryTable::parse(fileText);
    // Every record is read or counted as skipped, and no record is made of
    // nothing: at most one per semicolon and one for the tail.
    FUZZ_CHECK(table.entityCount() + table.skippedRecords() <= fileText.count(';') + 1);
    FUZZ_CHECK(table.version().isEmpty() || table.version().size() == 8);
    // The same text gives the same table.
    const CountryTable again = CountryTable::parse(fileText);
    FUZZ_CHECK(again.entityCount() == table.entityCount());
    FUZZ_CHECK(again.skippedAliases() == table.skippedAliases());

    static const CountryTable real = CountryTable::parse(kRealRecords);
    FUZZ_CHECK(real.entityCount() == 7 && real.skippedAliases() == 0);

    const QString calls = FuzzInput::text(callText, flags & 1);
    int n = 0;
    for (const QString& call : calls.split(u'\n')) {
        if (++n > 64)
            break;
        checkAnswer(table, call);
        checkAnswer(real, call);
    }
    return 0;
}
