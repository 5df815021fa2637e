#pragma once

#include "spots/BandFilter.h"

#include <QString>

// What the DX window says in words, beyond its table: the news a screen
// reader is told, and why the table is empty.
namespace ActiveDxTexts {

// A row of the table in a few words:
//   "KG4QQ 3505.0 kHz, Guantanamo Bay"   ("XX9XX 14025.0 kHz" with no entity)
QString row(const QString& call, const QString& khz, const QString& entity);

// New rows told together, the newest (in row's words) last:
//   "New: KG4QQ 3505.0 kHz, Guantanamo Bay"
//   "12 new stations, the newest: KG4QQ 3505.0 kHz, Guantanamo Bay"
QString newRows(int count, const QString& newest);

// New alert lines told together, the newest last:
//   "Alert: 23:30 Bouvet: DX de W3LPL: 21021.0 3Y0K CW 579"
//   "12 new alerts, the newest: 23:30 Bouvet: DX de W3LPL: 21021.0 3Y0K CW 579"
QString newAlerts(int count, const QString& newest);

// True when the band filter lets no band through.
bool allBandsOff(const BandFilter::States& states);
// Shown in place of the table then.
QString allBandsOffText();

} // namespace ActiveDxTexts
