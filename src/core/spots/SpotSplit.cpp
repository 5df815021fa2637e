#include "spots/SpotSplit.h"

#include "spots/AsciiWord.h"
#include "spots/DecimalNumber.h"
#include "spots/Spot.h"

namespace {

struct SplitWord
{
    SpotSplit::Direction direction;
    QStringView word;
    bool needsNumber; // "U" alone is no split, "U2" is
};

constexpr SplitWord kSplitWords[] = {
    {SpotSplit::Direction::Listen, u"QSX", true}, {SpotSplit::Direction::Up, u"UP", false},
    {SpotSplit::Direction::Down, u"DOWN", false}, {SpotSplit::Direction::Down, u"DWN", false},
    {SpotSplit::Direction::Down, u"DN", false},   {SpotSplit::Direction::Up, u"U", true},
};

bool inSpotRange(qint64 hz)
{
    return hz >= Spot::LowestHz && hz <= Spot::HighestHz;
}

// "2", "1.5", "2k", "2kHz": the unit kHz may follow the number.
QStringView withoutKilohertz(QStringView text)
{
    if (AsciiWord::endsWith(text, u"KHZ"))
        return text.chopped(3);
    if (AsciiWord::endsWith(text, u"K"))
        return text.chopped(1);
    return text;
}

// The absolute frequency a number names, for a spot on spotHz:
//   "14.025" -> 14025000 (MHz: a point and less than 1000);
//   "14025", "14025.5" -> kHz;  "025" -> 14025000 on 14020.0 (kHz within
//   the spot's MHz). None outside the spots' range.
std::optional<qint64> absoluteHz(const DecimalNumber& number, qint64 spotHz)
{
    qint64 hz = 0;
    if (number.thousandths >= 1'000'000)
        hz = number.thousandths;
    else if (number.decimals > 0)
        hz = number.thousandths * 1000;
    else
        hz = spotHz / 1'000'000 * 1'000'000 + number.thousandths;
    if (!inSpotRange(hz))
        return std::nullopt;
    return hz;
}

// An offset in Hz: "2" -> 2000, "1.5" -> 1500. Written with three decimals
// or as 1000 or more it names a frequency instead ("UP 14.195").
std::optional<qint64> offsetHz(const DecimalNumber& number)
{
    if (number.decimals == 3 || number.thousandths >= 1'000'000 || number.thousandths == 0)
        return std::nullopt;
    return number.thousandths;
}

// The split that a direction word and the number after it name; none when
// the number names nothing. "5-10" is a range.
std::optional<SpotSplit> splitOf(SpotSplit::Direction direction, QStringView amount, qint64 spotHz)
{
    amount = withoutKilohertz(amount);
    const qsizetype dash = amount.indexOf(u'-');
    const std::optional<DecimalNumber> first =
        DecimalNumber::read(dash < 0 ? amount : amount.first(dash));
    if (!first)
        return std::nullopt;
    std::optional<DecimalNumber> second;
    if (dash >= 0) {
        second = DecimalNumber::read(amount.sliced(dash + 1));
        if (!second || direction == SpotSplit::Direction::Listen)
            return std::nullopt;
    }

    SpotSplit split;
    split.direction = direction;
    if (direction == SpotSplit::Direction::Listen) {
        const std::optional<qint64> hz = absoluteHz(*first, spotHz);
        if (!hz)
            return std::nullopt;
        split.lowestHz = split.highestHz = *hz;
        return split;
    }
    const int sign = direction == SpotSplit::Direction::Up ? 1 : -1;
    const std::optional<qint64> from = offsetHz(*first);
    if (!from) {
        // "UP 14.195", "DWN 7155": the frequency itself.
        const std::optional<qint64> hz = second ? std::nullopt : absoluteHz(*first, spotHz);
        if (!hz || (first->thousandths < 1'000'000 && first->decimals != 3))
            return std::nullopt;
        split.lowestHz = split.highestHz = *hz;
        return split;
    }
    const std::optional<qint64> to = second ? offsetHz(*second) : from;
    if (!to)
        return std::nullopt;
    const qint64 a = spotHz + sign * *from;
    const qint64 b = spotHz + sign * *to;
    split.lowestHz = qMin(a, b);
    split.highestHz = qMax(a, b);
    if (!inSpotRange(split.lowestHz) || !inSpotRange(split.highestHz))
        return std::nullopt;
    return split;
}

} // namespace

std::optional<SpotSplit> SpotSplit::fromComment(QStringView comment, qint64 spotHz)
{
    qsizetype pos = 0;
    const qsizetype n = comment.size();
    auto nextWord = [&]() {
        while (pos < n && AsciiWord::isBlank(comment[pos]))
            ++pos;
        const qsizetype start = pos;
        while (pos < n && !AsciiWord::isBlank(comment[pos]))
            ++pos;
        QStringView w = comment.sliced(start, pos - start);
        while (!w.isEmpty() && (w.back() == u',' || w.back() == u';' || w.back() == u'!'))
            w.chop(1);
        return w;
    };

    QStringView word = nextWord();
    while (!word.isEmpty()) {
        const QStringView after = nextWord();
        // Every split word starts with Q, U or D.
        const char16_t first = AsciiWord::upper(word.front());
        for (const SplitWord& k : kSplitWords) {
            if (first != k.word.front().unicode() || !AsciiWord::startsWith(word, k.word))
                continue;
            const QStringView joined = word.sliced(k.word.size());
            if (!joined.isEmpty()) {
                // "UP2", "U2", "QSX14025"; "UPPER" is no split.
                if (joined.front() < u'0' || joined.front() > u'9')
                    continue;
                if (std::optional<SpotSplit> split = splitOf(k.direction, joined, spotHz))
                    return split;
                break;
            }
            if (std::optional<SpotSplit> split = splitOf(k.direction, after, spotHz))
                return split;
            if (!k.needsNumber) {
                SpotSplit bare;
                bare.direction = k.direction;
                return bare;
            }
            break;
        }
        word = after;
    }
    return std::nullopt;
}
