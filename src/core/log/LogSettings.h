#pragma once

#include "log/LogOptions.h"

#include <QString>

// The log's keys of settings.ini:
//
//   [Log]
//   File=/home/op/logs/mylog.adi
//   Confirmations=lotw,card
//   MyCalls=DL1XYZ
//   Since=2020-01-01
//
// A value that does not read counts as not given: the default holds.
class LogSettings
{
public:
    explicit LogSettings(QString programDir);

    // The log file; empty: no log.
    QString file() const;
    bool saveFile(const QString& path, QString* error = nullptr) const;

    LogOptions options() const;
    bool saveOptions(const LogOptions& options, QString* error = nullptr) const;

private:
    QString m_programDir;
};
