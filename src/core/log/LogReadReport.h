#pragma once

#include <QString>

// What reading a log file came to: how many QSOs, how many broken records
// were left out and where the first of them stands, or, for a file that
// is no log at all, why it was refused.
//   qsos 12345, skipped 1, line 40117: "no <EOR> ends the record"
//   refused: "line 1 holds no ADIF record"
struct LogReadReport
{
    int qsos = 0;
    int skipped = 0;
    int firstSkippedLine = 0; // 1 for the first line; 0 when none was skipped
    QString firstSkippedReason;
    // Empty for a log; else the reason, which names the line.
    QString refusal;

    bool refused() const { return !refusal.isEmpty(); }

    // Counts a broken record; the first one is remembered for the message.
    void skip(int line, const QString& reason)
    {
        if (skipped++ == 0) {
            firstSkippedLine = line;
            firstSkippedReason = reason;
        }
    }

    // "line 40117: no <EOR> ends the record"
    QString firstSkipped() const
    {
        return QStringLiteral("line %1: %2").arg(firstSkippedLine).arg(firstSkippedReason);
    }
};
