// The spot text functions and the band decision, on any text a node might
// send (and on malformed UTF-16 no decoder makes): each result keeps the
// promise its function makes, checked against plain scans of the text.

#include "FuzzSupport.h"

#include "spots/BandFilter.h"
#include "spots/SpotText.h"

namespace {

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// The end (1-based) of the last "digits.digits", scanning left to right
// without overlap, as the greedy pattern finds them.
int lastNumberByScan(const QString& s)
{
    const qsizetype n = s.size();
    int last = -1;
    qsizetype i = 0;
    while (i < n) {
        if (!isAsciiDigit(s[i])) {
            ++i;
            continue;
        }
        qsizetype j = i;
        while (j < n && isAsciiDigit(s[j]))
            ++j;
        if (j + 1 < n && s[j] == u'.' && isAsciiDigit(s[j + 1])) {
            qsizetype k = j + 1;
            while (k < n && isAsciiDigit(s[k]))
                ++k;
            last = int(k);
            i = k;
        } else {
            i = j;
        }
    }
    return last;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    const quint8 flags = in.byte();
    const quint16 bandBits = quint16(in.byte() | (in.byte() << 8));
    const int start = int(in.byte()) - 8; // also positions below 1
    const QString line = FuzzInput::text(in.rest(), flags & 1);

    const QString cleaned = CleanString(line);
    for (const QChar c : cleaned) {
        const char16_t u = c.unicode();
        FUZZ_CHECK(c == u'\r' || c == u'\n' || !(u <= 0x1F || (u >= 0x7F && u <= 0x9F)));
    }
    FUZZ_CHECK(cleaned.isEmpty() || (cleaned.front().unicode() > 0x20 && cleaned.back().unicode() > 0x20));
    FUZZ_CHECK(CleanString(cleaned) == cleaned);

    const QString digits = RimuoviPuntiEDestrigna(line);
    qsizetype digitCount = 0;
    for (const QChar c : line)
        digitCount += isAsciiDigit(c) ? 1 : 0;
    FUZZ_CHECK(digits.size() == digitCount);
    for (const QChar c : digits)
        FUZZ_CHECK(isAsciiDigit(c));

    FUZZ_CHECK(PosizioneUltimoNumero(line) == lastNumberByScan(line));

    const QString word = ScansionaStringa(line, start);
    FUZZ_CHECK(!word.contains(QLatin1Char(' ')));
    const qsizetype from = qMax(start, 1) - 1;
    FUZZ_CHECK(word.isEmpty() || line.mid(from, word.size()) == word);
    FUZZ_CHECK(from + word.size() >= line.size() || line[from + word.size()] == u' ');

    // The band decision: no value passes; a value in a band window passes
    // exactly while that band is on; anything else is dropped.
    BandFilter::States states;
    for (int b = 0; b < BandFilter::BandCount; ++b)
        states[b] = bandBits & (1u << b);
    const std::optional<int> f = SpotText::frequencyValue(line);
    FUZZ_CHECK(!f || *f >= 0);
    const BandFilter::Decision decision = BandFilter::decide(line, states);
    if (!f) {
        FUZZ_CHECK(decision == BandFilter::Decision::Pass);
    } else {
        const std::optional<int> band = BandFilter::bandOf(*f);
        if (band) {
            const BandFilter::Window w = BandFilter::window(BandFilter::bandAt(*band));
            FUZZ_CHECK(*f >= w.lowest && *f <= w.highest);
        }
        FUZZ_CHECK((decision == BandFilter::Decision::Pass) == (band && states[*band]));
    }
    if (const std::optional<qint64> hz = SpotText::frequencyHz(line); hz && f)
        FUZZ_CHECK(*hz == qint64(*f) * 100);

    const QString call = SpotText::spottedCallsign(line);
    FUZZ_CHECK(!call.contains(QLatin1Char(' ')));
    FUZZ_CHECK(call.isEmpty() || SpotText::isDxSpot(line));
    return 0;
}
