// The calendar list, built from any display lines the calendar window's box
// may show: every entry is a run of 3 to 9 characters of a counted line and
// not all blanks, every such run is an entry, the first three lines and the
// last never count, and the index finds every entry with a-z folded.

#include "FuzzSupport.h"

#include "livecheck/CalendarList.h"
#include "livecheck/CallsignIndex.h"

#include <QSet>

namespace {

bool allBlanks(QStringView s)
{
    for (const QChar c : s) {
        if (c != u' ')
            return false;
    }
    return true;
}

QString asciiLower(QString s)
{
    for (QChar& c : s) {
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    }
    return s;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    const quint8 flags = in.byte();
    const QString text = FuzzInput::text(in.rest(), flags & 1);
    // The box's lines, the empty one after the final line break included.
    const QStringList lines = text.split(QLatin1Char('\n'));

    const QStringList list = CalendarList::separa(lines);

    // Every run of the counted lines, the plain way.
    QSet<QString> runs;
    qsizetype expected = 0;
    for (qsizetype i = CalendarList::kSkippedLines; i + 1 < lines.size(); ++i) {
        const QString& line = lines.at(i);
        for (int n = CalendarList::kShortest; n <= CalendarList::kLongest; ++n) {
            for (qsizetype at = 0; at + n <= line.size(); ++at) {
                const QStringView run = QStringView(line).mid(at, n);
                if (!allBlanks(run)) {
                    runs.insert(run.toString());
                    ++expected;
                }
            }
        }
    }
    FUZZ_CHECK(list.size() == expected);
    for (const QString& entry : list) {
        FUZZ_CHECK(entry.size() >= CalendarList::kShortest && entry.size() <= CalendarList::kLongest);
        FUZZ_CHECK(!allBlanks(entry));
        FUZZ_CHECK(runs.contains(entry));
    }

    // The skipped lines and the last one never count.
    QStringList changed = lines;
    const QString noise = QStringLiteral("ZZ9ZZ 3Y0K");
    for (qsizetype i = 0; i < changed.size(); ++i) {
        if (i < CalendarList::kSkippedLines || i + 1 == changed.size())
            changed[i] = noise;
    }
    FUZZ_CHECK(CalendarList::separa(changed) == list);

    // A rebuilt list exists and its index finds every entry, in either case
    // of a-z; a callsign that is no entry is not found.
    CalendarList calendar;
    FUZZ_CHECK(!calendar.exists());
    calendar.rebuild(lines);
    FUZZ_CHECK(calendar.exists());
    FUZZ_CHECK(calendar.FinalstringList() == list);
    QSet<QString> folded;
    for (const QString& entry : list) {
        FUZZ_CHECK(calendar.index().contains(entry));
        FUZZ_CHECK(calendar.index().contains(asciiLower(entry)));
        folded.insert(CallsignIndex::fold(entry));
    }
    FUZZ_CHECK(calendar.index().size() == folded.size());
    FUZZ_CHECK(!calendar.index().contains(QString()));
    const QString tooLong = QStringLiteral("ABCDEFGHIJ");
    FUZZ_CHECK(!calendar.index().contains(tooLong));
    return 0;
}
