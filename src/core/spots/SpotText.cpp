#include "spots/SpotText.h"

#include <QRegularExpression>

#include <limits>

namespace {

// The C0 and C1 controls, and the bidirectional embedding, override and
// isolate controls (U+202A-U+202E, U+2066-U+2069): with those a line would be
// drawn in another order than the band filter, the live check and tuning read
// it ("K0Y3" drawn as "3Y0K" after a U+202E).
bool isControl(QChar c)
{
    const char16_t u = c.unicode();
    return u <= 0x1F || (u >= 0x7F && u <= 0x9F) || (u >= 0x202A && u <= 0x202E) ||
           (u >= 0x2066 && u <= 0x2069);
}

} // namespace

QString CleanString(const QString& AStr)
{
    // Written straight into the result: a node that never ends its line sends
    // megabytes through here.
    QString kept(AStr.size(), Qt::Uninitialized);
    QChar* out = kept.data();
    qsizetype n = 0;
    for (const QChar c : AStr) {
        if (!isControl(c) || c == u'\r' || c == u'\n')
            out[n++] = c;
    }
    kept.truncate(n);
    qsizetype first = 0;
    qsizetype last = kept.size();
    while (first < last && kept.at(first).unicode() <= 0x20)
        ++first;
    while (last > first && kept.at(last - 1).unicode() <= 0x20)
        --last;
    return kept.mid(first, last - first);
}

QString RimuoviPuntiEDestrigna(const QString& input)
{
    // The rule is "[^\d]" replaced by nothing, with \d the ASCII digits. A
    // plain walk gives the same text and, unlike a regular expression, cannot
    // fail on a text that is not well-formed UTF-16 (a lone surrogate).
    QString result;
    result.reserve(input.size());
    for (const QChar c : input) {
        if (c >= u'0' && c <= u'9')
            result.append(c);
    }
    return result;
}

int PosizioneUltimoNumero(const QString& input)
{
    static const QRegularExpression decimalNumber(QStringLiteral("(\\d+)\\.(\\d+)"));
    // The matcher refuses a text with a lone surrogate outright. A surrogate is
    // never a digit or a point, so reading it as U+FFFD (one code unit for
    // one) finds the same numbers at the same positions.
    QString subject = input;
    for (QChar& c : subject) {
        if (c.isSurrogate())
            c = QChar::ReplacementCharacter;
    }
    int lastPosition = -1;
    auto it = decimalNumber.globalMatch(subject);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        lastPosition = int(m.capturedStart(2) + 1 + m.capturedLength(2) - 1);
    }
    return lastPosition;
}

QString ScansionaStringa(const QString& input, int startPosition)
{
    // No caller passes a position below 1; read such a call as "from the start"
    // rather than touching memory before the text.
    const qsizetype start = std::max(startPosition, 1) - 1;
    QString result;
    for (qsizetype i = start; i < input.size(); ++i) {
        if (input.at(i) == u' ')
            break;
        result.append(input.at(i));
    }
    return result;
}

namespace SpotText {

bool isDxSpot(const QString& line)
{
    return line.startsWith(QLatin1String("DX"), Qt::CaseSensitive);
}

QString frequencyDigits(const QString& line)
{
    return RimuoviPuntiEDestrigna(line.mid(16, 8));
}

std::optional<int> valueOfDigits(const QString& digits)
{
    if (digits.isEmpty())
        return std::nullopt;
    qint64 value = 0;
    for (QChar c : digits) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
        if (value > std::numeric_limits<int>::max())
            return std::nullopt;
    }
    return int(value);
}

std::optional<int> frequencyValue(const QString& line)
{
    return valueOfDigits(frequencyDigits(line));
}

std::optional<qint64> hzOfDigits(const QString& digits)
{
    if (digits.isEmpty())
        return std::nullopt;
    const QString text = digits + QLatin1String("00");
    qint64 value = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        const int d = c.unicode() - u'0';
        if (value > (std::numeric_limits<qint64>::max() - d) / 10)
            return std::nullopt;
        value = value * 10 + d;
    }
    return value;
}

std::optional<qint64> frequencyHz(const QString& line)
{
    return hzOfDigits(frequencyDigits(line));
}

QString spottedCallsign(const QString& line)
{
    const int p = PosizioneUltimoNumero(line);
    if (p == -1 || !isDxSpot(line))
        return QString();
    return ScansionaStringa(line, p + 3);
}

} // namespace SpotText
