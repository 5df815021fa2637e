#include "session/NodeList.h"

#include "text/TextDecoding.h"

namespace NodeList {

NodeRow parseLine(const QString& line)
{
    // "DEMO-SIM;127.0.0.1;7300;comment": fields past the third are ignored.
    const QStringList fields = line.split(QLatin1Char(';'));
    if (fields.size() < 3)
        return {};
    return {fields[0], fields[1], fields[2]};
}

QList<NodeRow> parse(const QByteArray& fileBytes)
{
    const QString text = TextDecoding::decodeFile(fileBytes);
    QList<NodeRow> rows;
    qsizetype start = 0;
    const qsizetype n = text.size();
    while (start < n && rows.size() < kMaxLines) {
        qsizetype end = start;
        while (end < n && text[end] != QLatin1Char('\r') && text[end] != QLatin1Char('\n'))
            ++end;
        rows.append(parseLine(text.mid(start, end - start)));
        if (end < n && text[end] == QLatin1Char('\r') && end + 1 < n &&
            text[end + 1] == QLatin1Char('\n'))
            ++end;
        start = end + 1;
    }
    return rows;
}

} // namespace NodeList
