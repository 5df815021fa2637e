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
    QString text;
    QList<qsizetype> starts; // where each counted line begins in text
    const qsizetype shown = memoLines.size() - 1;
    for (qsizetype i = kSkippedLines; i < shown; ++i) {
        starts.append(text.size());
        text += memoLines.at(i);
    }
    starts.append(text.size());
    m_text = text;
    m_foldedText = CallsignIndex::fold(text);

    qsizetype most = 0; // windows, blank ones included
    for (qsizetype line = 0; line + 1 < starts.size(); ++line) {
        const qsizetype size = starts.at(line + 1) - starts.at(line);
        for (int length = kShortest; length <= kLongest; ++length)
            most += qMax<qsizetype>(0, size - length + 1);
    }
    QStringList out;
    out.reserve(most);
    m_index.restart(m_foldedText);
    const QChar* plain = m_text.constData();
    const QChar* folded = m_foldedText.constData();
    for (qsizetype line = 0; line + 1 < starts.size(); ++line) {
        const qsizetype from = starts.at(line);
        const qsizetype size = starts.at(line + 1) - from;
        for (int length = kShortest; length <= kLongest; ++length) {
            for (qsizetype start = 0; start + length <= size; ++start) {
                const qsizetype at = from + start;
                if (allBlanks(QStringView(plain + at, length)))
                    continue;
                out.append(QString::fromRawData(plain + at, length));
                m_index.insertFolded(QString::fromRawData(folded + at, length));
            }
        }
    }
    m_list = std::move(out);
}
