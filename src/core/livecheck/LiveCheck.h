#pragma once

#include "livecheck/CallsignIndex.h"

#include <QDateTime>
#include <QString>

#include <optional>

// The check of one shown line against one check list. For
//   "DX de W3LPL:     21021.0  VP2MXX       CW 579 up 2"
// the callsign is the word three characters after the last digit of the
// last decimal number: "VP2MXX". Only lines that begin with a capital "DX"
// have one; announcements, talk and "Dx de" lines never do.
class LiveCheck
{
public:
    struct Result
    {
        QString resultString; // the callsign taken from the line, empty if none
        bool trovatouguale = false; // the callsign is in the list
    };

    static Result verifica(const QString& stringaricevuta, const CallsignIndex& list);

    // A hit's copy in the spot pane: the line without its leading blanks,
    // cut to 62 characters, two blanks and the UTC time. Only a line that
    // then begins with "DX" has one.
    //   "   DX de W3LPL:     21021.0  3Y0K         CW 579"
    //     -> "DX de W3LPL:     21021.0  3Y0K         CW 579  23:30"
    static std::optional<QString> spotPaneCopy(const QString& stringaricevuta,
                                               const QDateTime& now);
};
