#include "log/AdiReader.h"

#include "log/LogQsoBuilder.h"

#include <cstring>

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

// The characters of a field name: anything printable but the ones ADIF
// delimits names with.
bool isNameChar(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return u > 0x20 && u < 0x7f && c != ':' && c != '<' && c != '>' && c != ',' && c != '{' &&
           c != '}';
}

bool isContinuationByte(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

bool isWord(QByteArrayView name, const char (&word)[4])
{
    return name.size() == 3 &&
           QLatin1StringView(name.data(), 3)
                   .compare(QLatin1StringView(word, 3), Qt::CaseInsensitive) == 0;
}

// Longer names are no ADIF names; the longest the programs write are
// about forty characters.
constexpr qsizetype kMaxNameBytes = 256;
// A type letter; some programs write a longer word.
constexpr qsizetype kMaxTypeBytes = 16;
// Nine digits: up to a gigabyte, more than the largest log read.
constexpr int kMaxLengthDigits = 9;

// What begins at a "<".
struct Tag
{
    enum class Kind
    {
        Text,   // no tag: "<" in free text
        Plain,  // <EOR>, <EOH>, <NAME>
        Field,  // <NAME:length[:type]> and its data
        Broken, // begins as a field and does not read
    };
    Kind kind = Kind::Text;
    QByteArrayView name;
    QByteArrayView data;
    qsizetype next = 0; // where reading goes on
    QString problem;
};

// A tag as a message quotes it: up to its ">" when that comes soon,
// "<CALL:x>", else its first forty bytes.
QString quoted(QByteArrayView bytes, qsizetype from, qsizetype to)
{
    constexpr qsizetype kMaxShown = 40;
    const qsizetype shownEnd = qMin(bytes.size(), from + kMaxShown);
    const qsizetype close = bytes.first(shownEnd).indexOf('>', to - 1);
    if (close >= 0)
        to = close + 1;
    const qsizetype n = qMin(to - from, kMaxShown);
    QString shown = QString::fromLatin1(bytes.sliced(from, n));
    for (QChar& c : shown) {
        if (c.unicode() < 0x20 || c.unicode() >= 0x7f)
            c = u'?';
    }
    return shown + (to - from > n ? QStringLiteral("...") : QString());
}

//   "<CALL:5>K1ABC"  "<qso_date:8:d>20240301"  "<EOR>"  "<CALL:x>"
Tag readTag(QByteArrayView b, qsizetype lt)
{
    Tag tag;
    qsizetype p = lt + 1;
    while (p < b.size() && p - lt - 1 < kMaxNameBytes && isNameChar(b[p]))
        ++p;
    tag.name = b.sliced(lt + 1, p - lt - 1);
    if (tag.name.isEmpty())
        return tag;
    const auto broken = [&](const QString& problem) {
        tag.kind = Tag::Kind::Broken;
        tag.problem = problem;
        return tag;
    };
    if (p >= b.size())
        return broken(QStringLiteral("the file ends inside %1").arg(quoted(b, lt, p)));
    if (b[p] == '>') {
        tag.kind = Tag::Kind::Plain;
        tag.next = p + 1;
        return tag;
    }
    if (b[p] != ':')
        return tag; // "<html lang=...": text
    ++p;
    qint64 length = 0;
    int digits = 0;
    while (p < b.size() && b[p] >= '0' && b[p] <= '9' && digits <= kMaxLengthDigits) {
        length = length * 10 + (b[p] - '0');
        ++digits;
        ++p;
    }
    if (p < b.size() && b[p] == ':') {
        const qsizetype typeStart = ++p;
        while (p < b.size() && p - typeStart < kMaxTypeBytes && isNameChar(b[p]))
            ++p;
    }
    if (p >= b.size())
        return broken(QStringLiteral("the file ends inside %1").arg(quoted(b, lt, p)));
    if (digits == 0 || digits > kMaxLengthDigits || b[p] != '>')
        return broken(QStringLiteral("%1 is no field").arg(quoted(b, lt, p + 1)));
    const qsizetype start = p + 1;
    if (length > b.size() - start)
        return broken(QStringLiteral("%1 runs past the end of the file").arg(quoted(b, lt, start)));
    qsizetype end = start + qsizetype(length);
    // A length that ends inside a UTF-8 letter ends after it.
    for (int extra = 0; extra < 3 && end < b.size() && end > start && isContinuationByte(b[end]);
         ++extra)
        ++end;
    tag.kind = Tag::Kind::Field;
    tag.data = b.sliced(start, end - start);
    tag.next = end;
    return tag;
}

qsizetype indexOfLt(QByteArrayView b, qsizetype from)
{
    if (from >= b.size())
        return -1;
    const void* hit = std::memchr(b.data() + from, '<', size_t(b.size() - from));
    return hit ? static_cast<const char*>(hit) - b.data() : -1;
}

// The position after the next "<EOR>" (any case), or the file's end.
qsizetype afterNextEor(QByteArrayView b, qsizetype from)
{
    for (qsizetype lt = indexOfLt(b, from); lt >= 0; lt = indexOfLt(b, lt + 1)) {
        if (lt + 5 <= b.size() && b[lt + 4] == '>' && isWord(b.sliced(lt + 1, 3), "EOR"))
            return lt + 5;
    }
    return b.size();
}

// Line numbers for messages, counted once as the reading moves on.
class LineCounter
{
public:
    explicit LineCounter(QByteArrayView bytes) : m_bytes(bytes) {}

    int lineAt(qsizetype pos)
    {
        if (pos < m_pos) {
            m_pos = 0;
            m_line = 1;
        }
        const char* p = m_bytes.data() + m_pos;
        const char* end = m_bytes.data() + pos;
        while (p < end) {
            const void* nl = std::memchr(p, '\n', size_t(end - p));
            if (!nl)
                break;
            ++m_line;
            p = static_cast<const char*>(nl) + 1;
        }
        m_pos = pos;
        return m_line;
    }

private:
    QByteArrayView m_bytes;
    qsizetype m_pos = 0;
    int m_line = 1;
};

} // namespace

LogReadReport AdiReader::read(QByteArrayView b, const Sink& sink)
{
    LogReadReport report;
    LineCounter lines(b);
    qsizetype pos = 0;
    if (b.startsWith("\xEF\xBB\xBF"))
        pos = 3;

    // A header is free text up to <EOH>, and there is one when the file
    // does not begin with "<". Its own fields (<ADIF_VER:5>3.1.4) are read
    // past by their lengths. A file with no <EOH> has no header after all:
    // its text is read as the text between records.
    qsizetype first = pos;
    while (first < b.size() && isBlank(b[first]))
        ++first;
    if (first < b.size() && b[first] != '<') {
        for (qsizetype p = pos, lt; (lt = indexOfLt(b, p)) >= 0;) {
            const Tag tag = readTag(b, lt);
            if (tag.kind == Tag::Kind::Plain && isWord(tag.name, "EOH")) {
                pos = tag.next;
                break;
            }
            p = tag.kind == Tag::Kind::Field ? tag.next : lt + 1;
        }
    }
    const qsizetype recordsStart = pos;

    LogQsoBuilder builder;
    bool inRecord = false; // a field has come since the last <EOR>
    int recordLine = 0;
    // A broken record: counted, and the reading goes on after its <EOR>.
    const auto skipRecord = [&](int line, const QString& problem, qsizetype from) {
        report.skip(line, problem);
        builder.clear();
        inRecord = false;
        return afterNextEor(b, from);
    };
    for (qsizetype lt; (lt = indexOfLt(b, pos)) >= 0;) {
        const Tag tag = readTag(b, lt);
        switch (tag.kind) {
        case Tag::Kind::Text:
            pos = lt + 1;
            break;
        case Tag::Kind::Broken:
            pos = skipRecord(lines.lineAt(lt), tag.problem, lt + 1);
            break;
        case Tag::Kind::Plain:
            pos = tag.next;
            if (isWord(tag.name, "EOR")) {
                // "<EOR>" with nothing before it holds no QSO and loses none.
                if (!inRecord)
                    break;
                inRecord = false;
                QString problem;
                if (std::optional<LogQso> qso = builder.take(&problem)) {
                    ++report.qsos;
                    sink(std::move(*qso));
                } else {
                    report.skip(recordLine, problem);
                }
            } else if (isWord(tag.name, "EOH")) {
                // A header in a file that begins with "<": what came before
                // was the header's fields, not a record.
                builder.clear();
                inRecord = false;
            }
            break;
        case Tag::Kind::Field:
            pos = tag.next;
            if (!inRecord) {
                inRecord = true;
                recordLine = lines.lineAt(lt);
            }
            if (const auto field = LogQsoBuilder::fieldOf(tag.name)) {
                const QByteArrayView value = tag.data.first(qMin(tag.data.size(), MaxValueBytes));
                if (!builder.set(*field, QString::fromUtf8(value)))
                    pos = skipRecord(lines.lineAt(lt),
                                     QStringLiteral("%1 is given twice in one record")
                                         .arg(LogQsoBuilder::nameOf(*field)),
                                     tag.next);
            }
            break;
        }
    }
    if (inRecord)
        report.skip(recordLine, QStringLiteral("no <EOR> ends the record"));

    if (report.qsos == 0) {
        if (report.skipped > 0) {
            report.refusal = report.firstSkipped();
        } else {
            qsizetype text = recordsStart;
            while (text < b.size() && isBlank(b[text]))
                ++text;
            if (text < b.size())
                report.refusal =
                    QStringLiteral("line %1 holds no ADIF record").arg(lines.lineAt(text));
        }
    }
    return report;
}

AdiReader::Result AdiReader::readAll(QByteArrayView bytes)
{
    Result result;
    result.report = read(bytes, [&](LogQso&& qso) { result.qsos.append(std::move(qso)); });
    return result;
}
