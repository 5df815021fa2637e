#include "livecheck/CalendarList.h"

namespace {

bool allBlanks(QStringView s)
{
    for (QChar c : s) {
        if (c != u' ')
            return false;
    }
    return true;
}

} // namespace

QStringList CalendarList::separa(const QStringList& memoLines)
{
    QStringList out;
    const qsizetype shown = memoLines.size() - 1; // the empty last line never counts
    for (qsizetype i = kSkippedLines; i < shown; ++i) {
        const QString& line = memoLines.at(i);
        for (int length = kShortest; length <= kLongest; ++length) {
            for (qsizetype start = 0; start + length <= line.size(); ++start) {
                const QStringView window = QStringView(line).mid(start, length);
                if (!allBlanks(window))
                    out.append(window.toString());
            }
        }
    }
    return out;
}

const QStringList& CalendarList::FinalstringList() const
{
    static const QStringList none;
    return m_list ? *m_list : none;
}

void CalendarList::rebuild(const QStringList& memoLines)
{
    m_list = separa(memoLines);
    m_index.rebuild(*m_list);
}
