#pragma once

#include "log/LogQso.h"
#include "log/LogReadReport.h"

#include <QByteArrayView>
#include <QList>

#include <functional>

// The XML form of ADIF:
//
//   <?xml version="1.0" encoding="UTF-8"?>
//   <ADX>
//     <HEADER><ADIF_VER>3.1.4</ADIF_VER></HEADER>
//     <RECORDS>
//       <RECORD><CALL>K1ABC</CALL><BAND>40m</BAND><MODE>CW</MODE>
//         <APP PROGRAMID="LOGGER" FIELDNAME="RIG" TYPE="S">K3</APP></RECORD>
//     </RECORDS>
//   </ADX>
//
// Element names in any case; APP and USERDEF fields and every field the
// program does not read are read past. A record with a field given twice
// or holding an element is left out and counted. Where the XML itself
// breaks, the reading stops: the records before it stay, the one it broke
// is counted. A file whose root is no <ADX>, or with no record that reads,
// is refused.
class AdxReader
{
public:
    using Sink = std::function<void(LogQso&&)>;

    static LogReadReport read(QByteArrayView bytes, const Sink& sink);

    struct Result
    {
        QList<LogQso> qsos;
        LogReadReport report;
    };
    static Result readAll(QByteArrayView bytes);

    // As for ADI: longer values of the program's fields are cut here.
    static constexpr qsizetype MaxValueChars = 1024;
};
