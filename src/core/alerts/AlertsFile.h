#pragma once

#include "alerts/AlertRule.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// alerts.ini, the alert rules beside settings.ini: one section a rule, in
// the order the rules are checked, readable and editable by hand.
//
//   [Rule1]
//   Name=Kiribati
//   On=1
//   Call=T3*
//   Entity=
//   Continent=OC,AS
//   Bands=40m,20m
//   Modes=CW,PHONE,DIGITAL
//   Sound=1
//   Notify=1
//   Speak=0
//
// A hand-edited file may be wrong in places. A rule with a wrong line is
// skipped and named once in the problems ("Rule3: unknown band 11m"), the
// other rules are kept; a file that cannot be read at all is one problem.
// A missing file is no rules and no problem. Sections not named RuleN are
// left alone. Only the first kMaxRules rule sections are read; the rest are
// skipped and named in one problem line, so a shared file of a hundred
// thousand rules (each checked against every spot) cannot stall the program.
class AlertsFile
{
public:
    static constexpr qint64 kMaxBytes = 1024 * 1024;
    static constexpr int kMaxRules = 1000;
    // Problems the editor lists at most; the rest are counted.
    static constexpr int kShownProblems = 20;

    struct Contents
    {
        QList<AlertRule> rules;
        QStringList problems;
    };

    static QString fileName() { return QStringLiteral("alerts.ini"); }

    static Contents read(const QString& path);
    static Contents parse(const QByteArray& bytes);

    // The first problems, and a last line counting the others:
    //   "Rule21: unknown band 11m" ... "and 75670 more problems"
    static QStringList shownProblems(const QStringList& problems, int max = kShownProblems);

    // The whole file for these rules: [Rule1], [Rule2]... in list order,
    // every key written, UTF-8, CR LF line ends as settings.ini has them.
    static QByteArray format(const QList<AlertRule>& rules);

    // Replaces the file as a whole, or leaves the old one as it was. On
    // failure returns false and, when error is given, sets it to
    // "Unable to write to <full path>".
    static bool write(const QString& path, const QList<AlertRule>& rules,
                      QString* error = nullptr);
};
