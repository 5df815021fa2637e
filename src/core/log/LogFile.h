#pragma once

#include "log/LogIndex.h"
#include "log/LogOptions.h"
#include "log/LogQso.h"
#include "log/LogReadReport.h"

#include <QByteArrayView>
#include <QString>

#include <functional>
#include <memory>

class CountryTable;

// The user's log file, ADI or ADX, read whole into the index the spots
// are judged by. Which of the two a file is, its text says: ADX is XML
// ("<?xml ...", "<ADX>"), anything else is read as ADI, whatever the
// file's name.
class LogFile
{
public:
    // A log of a lifetime of contests is some tens of megabytes; a file
    // many times larger is not read.
    static constexpr qint64 MaxBytes = 256 * 1024 * 1024;

    enum class Format
    {
        Adi,
        Adx
    };
    static Format formatOf(QByteArrayView bytes);

    // Reads the QSOs of either form.
    static LogReadReport read(QByteArrayView bytes, const std::function<void(LogQso&&)>& sink);

    struct Loaded
    {
        std::shared_ptr<const LogIndex> index; // none when the file was not taken
        LogReadReport report;
        // For the user when the file was not taken:
        //   "/home/op/photo.png is not an ADIF log: line 1 holds no ADIF record"
        QString error;
    };

    // Reads the file through the bounded reader (a regular file of at most
    // MaxBytes: a folder, a device such as /dev/zero or a pipe is refused
    // without waiting on it) and makes the index. Blocks for as long as
    // the reading takes: call it off the UI thread.
    static Loaded load(const QString& path, const LogOptions& options,
                       const CountryTable& countries);
};
