#pragma once

#include "log/LogQso.h"
#include "log/LogReadReport.h"

#include <QByteArrayView>
#include <QList>

#include <functional>

// The ADI form of ADIF, the log export every logger writes:
//
//   Exported by the logger          <- a header, when the file does not start with "<"
//   <ADIF_VER:5>3.1.4 <EOH>
//   <call:5>K1ABC <band:3>40m <mode:2>CW <qso_date:8:d>20240301 <qsl_rcvd:1>Y <eor>
//
// A field is <NAME:length[:type]> and then length bytes of data; names in
// any case, the type letter read past. Lengths count bytes and loggers
// write UTF-8: a length that ends inside a letter ("Zürich" counted in
// characters) is read to the letter's end. Text between fields is no data.
// A broken record (a field that does not read, a field given twice, a
// record the file ends in) is left out and counted, and the reading goes
// on at the next <EOR>; only a file with no record at all that reads is
// refused.
class AdiReader
{
public:
    using Sink = std::function<void(LogQso&&)>;

    // Hands each QSO to sink in file order.
    static LogReadReport read(QByteArrayView bytes, const Sink& sink);

    struct Result
    {
        QList<LogQso> qsos;
        LogReadReport report;
    };
    static Result readAll(QByteArrayView bytes);

    // The longest value of a field the program reads that is kept; the
    // rest of a longer one is read past (no CALL, band or date is longer).
    static constexpr qsizetype MaxValueBytes = 1024;
};
