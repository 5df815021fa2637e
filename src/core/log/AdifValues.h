#pragma once

#include "spots/BandPlan.h"
#include "spots/ModeGroup.h"

#include <QDate>
#include <QStringView>

#include <optional>

// The values of the ADIF fields the log is read for, each turned into what
// the program compares spots with. Pure functions; a value a logger got
// wrong gives "none", never an error, so one odd field costs only itself.
namespace AdifValues {

// BAND: "20m", "2M", "70cm"; "2190m" is the band the plan calls 2200m.
// None for a band outside the plan ("13cm", "560m") or no band at all.
std::optional<BandPlan::Band> bandOf(QStringView band);

// FREQ in MHz: "14.025", "7.0741", "144.300000". The band holding it in
// any of the three IARU regions: a QSO is logged where it was made, and
// 7.250 is 40 m in the Americas. None for text that is no frequency.
std::optional<BandPlan::Band> bandOfFrequency(QStringView megahertz);

// MODE and SUBMODE: "CW" -> CW; "SSB", "USB", "AM", "FM", "DIGITALVOICE",
// "SSTV" -> phone (pictures count as phone for DXCC); "MFSK"/"FT4", "FT8",
// "RTTY", "PSK" and the other data modes -> digital. The mode decides, the
// submode only when the mode is missing or unknown. Unknown for a mode
// the ADIF list does not have.
ModeGroup groupOf(QStringView mode, QStringView submode);

// QSL_RCVD, LOTW_QSL_RCVD, EQSL_QSL_RCVD: "Y" (received), or the older
// "V" (received and verified); "N", "R", "I" and anything else are not.
bool isConfirmed(QStringView value);

// QSO_DATE: "20230215" -> 15 February 2023; invalid for anything else.
QDate dateOf(QStringView yyyymmdd);

// DXCC: "291" -> 291, "0" -> 0 (no entity); none for no number or one
// beyond the ADIF list's codes.
std::optional<int> dxccOf(QStringView value);

// A callsign as the log and the spots write it: capitals, digits and "/",
// at most 32 characters ("EA8/DL1XYZ/P"). A CALL with other characters is
// no callsign.
bool isCallsign(QStringView call);

} // namespace AdifValues
