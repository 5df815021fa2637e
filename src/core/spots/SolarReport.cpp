#include "spots/SolarReport.h"

#include "spots/AsciiWord.h"

namespace {

constexpr qsizetype kSolarMaxLine = 512;
// "qui", "eru", "no": longer words are no value of these.
constexpr qsizetype kSolarMaxWord = 12;

std::optional<int> solarNumberOf(QStringView text)
{
    if (text.isEmpty() || text.size() > 4)
        return std::nullopt;
    int value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

// Sets the field a "KEY=value" names; false when the key is none of ours.
bool setSolarFigure(SolarReport& report, QStringView key, QStringView value)
{
    struct Number
    {
        QStringView key;
        std::optional<int> SolarReport::*field;
    };
    static constexpr Number numbers[] = {
        {u"SFI", &SolarReport::sfi},   {u"A", &SolarReport::a}, {u"K", &SolarReport::k},
        {u"EXPK", &SolarReport::expK}, {u"R", &SolarReport::r},
    };
    for (const Number& n : numbers) {
        if (AsciiWord::equals(key, n.key)) {
            report.*n.field = solarNumberOf(value);
            return true;
        }
    }
    struct Word
    {
        QStringView key;
        QString SolarReport::*field;
    };
    static constexpr Word words[] = {
        {u"SA", &SolarReport::sa}, {u"GMF", &SolarReport::gmf}, {u"AU", &SolarReport::au}};
    for (const Word& w : words) {
        if (AsciiWord::equals(key, w.key)) {
            if (!value.isEmpty() && value.size() <= kSolarMaxWord)
                report.*w.field = value.toString();
            return true;
        }
    }
    return false;
}

} // namespace

std::optional<SolarReport> SolarReport::read(QStringView line)
{
    if (line.size() > kSolarMaxLine || line.size() < 8)
        return std::nullopt;
    SolarReport report;
    if (line.startsWith(u"WWV de "))
        report.source = Source::Wwv;
    else if (line.startsWith(u"WCY de "))
        report.source = Source::Wcy;
    else
        return std::nullopt;

    // "W0MU <21>:" or "DK0WCY-1 <12> :"
    const qsizetype colon = line.indexOf(u':', 7);
    if (colon < 0)
        return std::nullopt;
    QStringView head = AsciiWord::trimmed(line.sliced(7, colon - 7));
    const qsizetype open = head.indexOf(u'<');
    if (open >= 0) {
        if (!head.endsWith(u'>'))
            return std::nullopt;
        const std::optional<int> hour =
            solarNumberOf(head.sliced(open + 1, head.size() - open - 2));
        if (hour && *hour <= 23)
            report.hour = *hour;
        head = AsciiWord::trimmed(head.first(open));
    }
    if (head.isEmpty() || head.size() > 20)
        return std::nullopt;
    for (const QChar c : head) {
        if (AsciiWord::isBlank(c))
            return std::nullopt;
    }
    report.reporter = head.toString();

    // The figures, apart by blanks or commas; WWV's remark is what follows
    // the last of them.
    const QStringView body = line.sliced(colon + 1);
    qsizetype pos = 0;
    qsizetype remarkStart = 0;
    const qsizetype n = body.size();
    while (pos < n) {
        while (pos < n && (AsciiWord::isBlank(body[pos]) || body[pos] == u','))
            ++pos;
        const qsizetype start = pos;
        while (pos < n && !AsciiWord::isBlank(body[pos]) && body[pos] != u',')
            ++pos;
        const QStringView token = body.sliced(start, pos - start);
        const qsizetype eq = token.indexOf(u'=');
        if (eq > 0 && setSolarFigure(report, token.first(eq), token.sliced(eq + 1)))
            remarkStart = pos;
    }
    QStringView remark = body.sliced(remarkStart);
    while (!remark.isEmpty() && (AsciiWord::isBlank(remark.front()) || remark.front() == u','))
        remark = remark.sliced(1);
    remark = AsciiWord::trimmed(remark);
    if (!remark.isEmpty())
        report.remark = remark.toString();
    return report;
}
