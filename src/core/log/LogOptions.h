#pragma once

#include "log/LogQso.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

// Which QSOs of the log count, and which confirmations, as settings.ini
// keeps them:
//
//   [Log]
//   Confirmations=lotw,card
//   MyCalls=DL1XYZ,DA0XYZ
//   Since=2020-01-01
//
// By default LoTW and paper cards confirm (the two the DXCC award takes),
// every QSO of the log counts whatever call it was made as, and from the
// first one on.
struct LogOptions
{
    quint8 confirmations = LogQso::Card | LogQso::Lotw;
    // In capitals; empty: every call. "DL1XYZ" also takes "DL1XYZ/P" and
    // "EA8/DL1XYZ".
    QStringList myCalls;
    QDate since; // invalid: from the first QSO

    // Whether a QSO counts: made as one of myCalls (a QSO whose record
    // names no station call is the user's), on or after since (a QSO
    // without a date then does not count).
    bool counts(const LogQso& qso) const;

    // "lotw,card,eqsl" (any order and case, blanks allowed) -> the bits;
    // unknown words are passed over; none when no word is known.
    static std::optional<quint8> confirmationsFromText(QStringView text);
    // The bits -> "lotw,card,eqsl", in that order.
    static QString confirmationsText(quint8 confirmations);
    // "dl1xyz, DA0XYZ" -> {"DL1XYZ", "DA0XYZ"}; words that are no
    // callsigns are passed over.
    static QStringList callsFromText(QStringView text);
    // "2020-01-01" or the ADIF form "20200101"; none for anything else.
    static std::optional<QDate> dateFromText(QStringView text);

    friend bool operator==(const LogOptions&, const LogOptions&) = default;
};
