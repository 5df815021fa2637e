#pragma once

#include "spots/BandPlan.h"
#include "spots/ModeGroup.h"

#include <QDate>
#include <QString>

#include <optional>

// One QSO of the user's log, as much of it as tells which spots are still
// needed. From the ADIF record
//
//   <CALL:4>3Y0J <BAND:3>20m <MODE:4>MFSK <SUBMODE:3>FT4 <DXCC:2>24
//   <LOTW_QSL_RCVD:1>Y <STATION_CALLSIGN:6>DL1XYZ <QSO_DATE:8>20230215 <EOR>
//
// call "3Y0J", band 20m, mode "FT4" in the digital group, entity 24
// (Bouvet), confirmed through LoTW, made as DL1XYZ on 15 February 2023.
struct LogQso
{
    // The ways a QSO may be confirmed; bits of `confirmations`.
    enum Confirmation : quint8
    {
        Card = 1, // QSL_RCVD: a paper QSL card
        Lotw = 2, // LOTW_QSL_RCVD: ARRL's Logbook of the World
        Eqsl = 4, // EQSL_QSL_RCVD: eQSL.cc
    };
    static constexpr quint8 AllConfirmations = Card | Lotw | Eqsl;

    QString call;                       // in capitals
    std::optional<BandPlan::Band> band; // none for a band outside the plan or not given
    QString mode;                       // the SUBMODE when given, else the MODE: "FT4", "SSB"
    ModeGroup group = ModeGroup::Unknown;
    // The ADIF DXCC entity code; none when the record gives none, 0 for a
    // contact in no entity (a station at sea).
    std::optional<int> dxcc;
    quint8 confirmations = 0;
    QString stationCallsign; // in capitals; empty when the record does not say
    QDate date;              // invalid when the record gives none or a wrong one

    friend bool operator==(const LogQso&, const LogQso&) = default;
};
