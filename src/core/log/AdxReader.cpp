#include "log/AdxReader.h"

#include "log/LogQsoBuilder.h"

#include <QXmlStreamReader>

namespace {

// The reader's error text as a message shows it: it may quote the file
// ("Encoding ... is unsupported"), which must not make it many lines long.
QString errorOf(const QXmlStreamReader& xml)
{
    QString text = xml.errorString().left(120);
    for (QChar& c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            c = u' ';
    }
    return text.simplified();
}

bool isElement(const QXmlStreamReader& xml, QLatin1StringView name)
{
    return xml.name().compare(name, Qt::CaseInsensitive) == 0;
}

class AdxParser
{
public:
    AdxParser(QXmlStreamReader& xml, int linesBefore, int lastLine, const AdxReader::Sink& sink,
              LogReadReport& report)
        : m_xml(xml), m_linesBefore(linesBefore), m_lastLine(lastLine), m_sink(sink),
          m_report(report)
    {}

    void run()
    {
        if (!m_xml.readNextStartElement()) {
            m_report.refusal = m_xml.hasError()
                                   ? QStringLiteral("line %1: %2").arg(line()).arg(errorOf(m_xml))
                                   : QStringLiteral("line %1 holds no ADX element").arg(line());
            return;
        }
        if (!isElement(m_xml, QLatin1StringView("ADX"))) {
            m_report.refusal = QStringLiteral("line %1: <%2> is no ADX log")
                                   .arg(line())
                                   .arg(m_xml.name().left(40));
            return;
        }
        while (m_xml.readNextStartElement()) {
            if (!isElement(m_xml, QLatin1StringView("RECORDS"))) {
                m_xml.skipCurrentElement(); // HEADER
                continue;
            }
            while (m_xml.readNextStartElement()) {
                if (isElement(m_xml, QLatin1StringView("RECORD")))
                    readRecord();
                else
                    m_xml.skipCurrentElement();
            }
        }
        if (m_xml.hasError() && !m_errorCounted)
            m_report.skip(line(), QStringLiteral("the XML breaks off: %1").arg(errorOf(m_xml)));
        if (m_report.qsos == 0 && m_report.skipped > 0)
            m_report.refusal = m_report.firstSkipped();
    }

private:
    void readRecord()
    {
        const int recordLine = line();
        QString problem;
        int problemLine = recordLine;
        m_builder.clear();
        while (m_xml.readNextStartElement()) {
            const int fieldLine = line();
            const QString name = m_xml.name().left(40).toString();
            const std::optional<LogQsoBuilder::Field> field = LogQsoBuilder::fieldOf(m_xml.name());
            if (!field) {
                m_xml.skipCurrentElement();
                continue;
            }
            QString value;
            bool nested = false;
            while (!m_xml.atEnd()) {
                const QXmlStreamReader::TokenType token = m_xml.readNext();
                if (token == QXmlStreamReader::Characters) {
                    if (value.size() < AdxReader::MaxValueChars)
                        value += m_xml.text().left(AdxReader::MaxValueChars - value.size());
                } else if (token == QXmlStreamReader::StartElement) {
                    nested = true;
                    m_xml.skipCurrentElement();
                } else if (token == QXmlStreamReader::EndElement) {
                    break;
                }
            }
            if (m_xml.hasError())
                break;
            if (!problem.isEmpty())
                continue;
            if (nested) {
                problem = QStringLiteral("<%1> holds an element").arg(name);
                problemLine = fieldLine;
            } else if (!m_builder.set(*field, value)) {
                problem = QStringLiteral("%1 is given twice in one record")
                              .arg(LogQsoBuilder::nameOf(*field));
                problemLine = fieldLine;
            }
        }
        if (m_xml.hasError()) {
            m_builder.clear();
            m_errorCounted = true;
            m_report.skip(recordLine,
                          QStringLiteral("the record breaks off: %1").arg(errorOf(m_xml)));
            return;
        }
        if (!problem.isEmpty()) {
            m_builder.clear();
            m_report.skip(problemLine, problem);
            return;
        }
        if (std::optional<LogQso> qso = m_builder.take(&problem)) {
            ++m_report.qsos;
            m_sink(std::move(*qso));
        } else {
            m_report.skip(recordLine, problem);
        }
    }

    // The line in the file, blank lines left out before the XML counted.
    // The reader also counts the line ends of an entity's text each time it
    // is used, which would name a line past the file's end.
    int line() const { return qMin(int(m_xml.lineNumber()) + m_linesBefore, m_lastLine); }

    QXmlStreamReader& m_xml;
    int m_linesBefore = 0;
    int m_lastLine = 1;
    const AdxReader::Sink& m_sink;
    LogReadReport& m_report;
    LogQsoBuilder m_builder;
    bool m_errorCounted = false;
};

} // namespace

LogReadReport AdxReader::read(QByteArrayView bytes, const Sink& sink)
{
    LogReadReport report;
    // XML allows nothing before its declaration; an editor's byte order
    // mark or a blank line there costs a log nothing.
    qsizetype start = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    int linesBefore = 0;
    while (start < bytes.size() && (bytes[start] == ' ' || bytes[start] == '\t' ||
                                    bytes[start] == '\r' || bytes[start] == '\n')) {
        linesBefore += bytes[start] == '\n';
        ++start;
    }
    // Lines end as XML ends them: CR LF, CR or LF.
    int lastLine = linesBefore + 1;
    for (qsizetype i = start; i < bytes.size(); ++i) {
        if (bytes[i] == '\n' ||
            (bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n')))
            ++lastLine;
    }
    // The reader works on the bytes where they lie.
    QXmlStreamReader xml(QByteArray::fromRawData(bytes.data() + start, bytes.size() - start));
    AdxParser(xml, linesBefore, lastLine, sink, report).run();
    return report;
}

AdxReader::Result AdxReader::readAll(QByteArrayView bytes)
{
    Result result;
    result.report = read(bytes, [&](LogQso&& qso) { result.qsos.append(std::move(qso)); });
    return result;
}
