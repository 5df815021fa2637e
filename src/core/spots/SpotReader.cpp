#include "spots/SpotReader.h"

#include "spots/AsciiWord.h"
#include "spots/DecimalNumber.h"
#include "spots/ModeWord.h"

namespace {

bool isAsciiLetter(QChar c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Walks the words of a text, left to right, without copying.
class SpotWords
{
public:
    explicit SpotWords(QStringView text, qsizetype from = 0) : m_text(text), m_pos(from) {}

    // The next word, empty at the end; its place is start() to end().
    QStringView next()
    {
        const qsizetype n = m_text.size();
        while (m_pos < n && AsciiWord::isBlank(m_text[m_pos]))
            ++m_pos;
        m_start = m_pos;
        while (m_pos < n && !AsciiWord::isBlank(m_text[m_pos]))
            ++m_pos;
        return m_text.sliced(m_start, m_pos - m_start);
    }
    qsizetype start() const { return m_start; }
    qsizetype end() const { return m_pos; }

private:
    QStringView m_text;
    qsizetype m_pos;
    qsizetype m_start = 0;
};

// "0712Z": hours 00-23, minutes 00-59.
QTime spotTimeOf(QStringView word)
{
    if (word.size() != 5 || word[4] != u'Z')
        return QTime();
    for (int i = 0; i < 4; ++i) {
        if (!isAsciiDigit(word[i]))
            return QTime();
    }
    const int h = (word[0].unicode() - u'0') * 10 + (word[1].unicode() - u'0');
    const int m = (word[2].unicode() - u'0') * 10 + (word[3].unicode() - u'0');
    if (h > 23 || m > 59)
        return QTime();
    return QTime(h, m);
}

// "4-Dec-2023", "04-Dec-2023".
QDate spotDateOf(QStringView word)
{
    static constexpr QStringView months[] = {u"JAN", u"FEB", u"MAR", u"APR", u"MAY", u"JUN",
                                             u"JUL", u"AUG", u"SEP", u"OCT", u"NOV", u"DEC"};
    const qsizetype dash = word.indexOf(u'-');
    if (dash < 1 || dash > 2 || word.size() != dash + 9 || word[dash + 4] != u'-')
        return QDate();
    int day = 0;
    for (qsizetype i = 0; i < dash; ++i) {
        if (!isAsciiDigit(word[i]))
            return QDate();
        day = day * 10 + (word[i].unicode() - u'0');
    }
    int year = 0;
    for (qsizetype i = dash + 5; i < word.size(); ++i) {
        if (!isAsciiDigit(word[i]))
            return QDate();
        year = year * 10 + (word[i].unicode() - u'0');
    }
    const QStringView month = word.sliced(dash + 1, 3);
    for (int m = 0; m < 12; ++m) {
        if (AsciiWord::equals(month, months[m]))
            return QDate(year, m + 1, day); // invalid for 31-Feb
    }
    return QDate();
}

// A spotter as nodes write it: "W3LPL", "DK9IP-#", "KO7SS-7-#", "3V/KF5EYY-#",
// and the names of programs that spot ("JTDX").
bool isSpotter(QStringView word)
{
    if (word.isEmpty() || word.size() > 20)
        return false;
    for (const QChar c : word) {
        if (!isAsciiLetter(c) && !isAsciiDigit(c) && c != u'/' && c != u'-' && c != u'#')
            return false;
    }
    return true;
}

QString upperCall(QStringView word)
{
    for (const QChar c : word) {
        if (c >= u'a' && c <= u'z')
            return word.toString().toUpper();
    }
    return word.toString();
}

// "JO31lk": field in capitals, subsquare in small letters (of a word that
// isLocator took, so ASCII letters only).
QString writtenLocator(QStringView word)
{
    QString out(word.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < word.size(); ++i)
        out[i] = i < 2 ? QChar(AsciiWord::upper(word[i]))
                       : (i >= 4 ? QChar(word[i].unicode() | 0x20) : word[i]);
    return out;
}

// A signed whole number of one to three digits: "19", "-12", "+5".
std::optional<int> smallNumberOf(QStringView word)
{
    bool negative = false;
    if (!word.isEmpty() && (word.front() == u'-' || word.front() == u'+')) {
        negative = word.front() == u'-';
        word = word.sliced(1);
    }
    if (word.isEmpty() || word.size() > 3)
        return std::nullopt;
    int value = 0;
    for (const QChar c : word) {
        if (!isAsciiDigit(c))
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    return negative ? -value : value;
}

// A number before its unit in capitals, apart ("19 dB") or joined ("19dB").
std::optional<int> numberWithUnit(QStringView previous, QStringView word, QStringView unit)
{
    if (!AsciiWord::endsWith(word, unit))
        return std::nullopt;
    if (word.size() == unit.size())
        return smallNumberOf(previous);
    return smallNumberOf(word.chopped(unit.size()));
}

bool isPunctuation(QChar c)
{
    switch (c.unicode()) {
    case u',':
    case u'.':
    case u';':
    case u':':
    case u'!':
    case u'?':
    case u'(':
    case u')':
    case u'[':
    case u']':
    case u'"':
    case u'\'':
        return true;
    default:
        return false;
    }
}

// A word without the punctuation around it: "CW," -> "CW", "(FT8)" -> "FT8".
QStringView withoutPunctuation(QStringView word)
{
    while (!word.isEmpty() && isPunctuation(word.front()))
        word = word.sliced(1);
    while (!word.isEmpty() && isPunctuation(word.back()))
        word.chop(1);
    return word;
}

// The locators of a word, which may hold several: "JO31<ES>FN42".
void collectLocators(QStringView word, QStringList& into)
{
    qsizetype i = 0;
    const qsizetype n = word.size();
    while (i < n) {
        while (i < n && !isAsciiLetter(word[i]) && !isAsciiDigit(word[i]))
            ++i;
        const qsizetype start = i;
        while (i < n && (isAsciiLetter(word[i]) || isAsciiDigit(word[i])))
            ++i;
        const QStringView piece = word.sliced(start, i - start);
        if (SpotReader::isLocator(piece))
            into << writtenLocator(piece);
    }
}

std::optional<qint64> spotFrequencyOf(QStringView word)
{
    const std::optional<DecimalNumber> number = DecimalNumber::read(word);
    if (!number || number->decimals < 1)
        return std::nullopt;
    if (number->thousandths < Spot::LowestHz || number->thousandths > Spot::HighestHz)
        return std::nullopt;
    return number->thousandths;
}

} // namespace

bool SpotReader::isCall(QStringView word)
{
    if (word.size() < 3 || word.size() > 20 || word.front() == u'/' || word.back() == u'/')
        return false;
    // "0712Z" is the node's time where the call is missing.
    if (spotTimeOf(word).isValid())
        return false;
    bool letter = false;
    bool digit = false;
    for (const QChar c : word) {
        if (isAsciiLetter(c))
            letter = true;
        else if (isAsciiDigit(c))
            digit = true;
        else if (c != u'/')
            return false;
    }
    return letter && digit;
}

bool SpotReader::isLocator(QStringView word)
{
    if (word.size() != 4 && word.size() != 6)
        return false;
    for (int i = 0; i < 2; ++i) {
        const char16_t c = AsciiWord::upper(word[i]);
        if (c < u'A' || c > u'R')
            return false;
    }
    if (!isAsciiDigit(word[2]) || !isAsciiDigit(word[3]))
        return false;
    for (qsizetype i = 4; i < word.size(); ++i) {
        const char16_t c = AsciiWord::upper(word[i]);
        if (c < u'A' || c > u'X')
            return false;
    }
    return word.size() == 6 || !AsciiWord::equals(word, u"RR73");
}

std::optional<Spot> SpotReader::read(QStringView line) const
{
    if (line.size() > MaxLineLength)
        return std::nullopt;
    // The line as the node sent it, "DX" in its first column; what follows
    // the time may end in BELs and the line end.
    while (!line.isEmpty() && AsciiWord::isBlank(line.back()))
        line.chop(1);
    // "DX de W3LPL:", and from older nodes "DX de W3LPL" without its colon.
    if (line.size() < 6 || !line.startsWith(u"DX ") ||
        !AsciiWord::equals(line.sliced(3, 2), u"DE") || !AsciiWord::isBlank(line[5]))
        return std::nullopt;
    qsizetype pos = 6;
    const qsizetype n = line.size();
    while (pos < n && AsciiWord::isBlank(line[pos]))
        ++pos;
    const qsizetype spotterStart = pos;
    while (pos < n && !AsciiWord::isBlank(line[pos]) && line[pos] != u':')
        ++pos;
    const QStringView spotter = line.sliced(spotterStart, pos - spotterStart);
    if (!isSpotter(spotter))
        return std::nullopt;
    if (pos < n && line[pos] == u':')
        ++pos; // "DX de KO7SS-7-#:14025.0": no blank after the colon

    SpotWords words(line, pos);
    const std::optional<qint64> hz = spotFrequencyOf(words.next());
    if (!hz)
        return std::nullopt;
    const QStringView call = words.next();
    if (!isCall(call))
        return std::nullopt;
    const qsizetype callEnd = words.end();

    // The node's time is the last "HHMMZ" with at most two words after it;
    // an earlier one belongs to the comment ("QRV 0700Z").
    qsizetype timeStart = -1;
    qsizetype timeEnd = -1;
    QTime time;
    int wordsAfterTime = 0;
    for (QStringView w = words.next(); !w.isEmpty(); w = words.next()) {
        const QTime t = spotTimeOf(w);
        if (t.isValid()) {
            time = t;
            timeStart = words.start();
            timeEnd = words.end();
            wordsAfterTime = 0;
        } else {
            ++wordsAfterTime;
        }
    }

    Spot spot;
    spot.spotter = spotter.toString();
    spot.skimmer = spotter.endsWith(u"-#");
    spot.frequencyHz = *hz;
    spot.call = upperCall(call);
    qsizetype commentEnd = n;
    if (time.isValid() && wordsAfterTime <= 2) {
        spot.time = time;
        commentEnd = timeStart;
        SpotWords tail(line, timeEnd);
        for (QStringView w = tail.next(); !w.isEmpty(); w = tail.next()) {
            if (isLocator(w))
                spot.nodeLocators << writtenLocator(w);
        }
    }
    const QStringView comment = AsciiWord::trimmed(line.sliced(callEnd, commentEnd - callEnd));
    if (!comment.isEmpty())
        spot.comment = comment.toString();
    readComment(spot);
    return spot;
}

std::optional<Spot> SpotReader::readListing(QStringView line) const
{
    if (line.size() > MaxLineLength)
        return std::nullopt;
    line = AsciiWord::trimmed(line);
    SpotWords words(line);
    const std::optional<qint64> hz = spotFrequencyOf(words.next());
    if (!hz)
        return std::nullopt;
    const QStringView call = words.next();
    if (!isCall(call))
        return std::nullopt;
    const QDate date = spotDateOf(words.next());
    if (!date.isValid())
        return std::nullopt;
    const QTime time = spotTimeOf(words.next());
    if (!time.isValid())
        return std::nullopt;
    const qsizetype commentStart = words.end();

    // "<EB1DJ>", the last word.
    if (!line.endsWith(u'>'))
        return std::nullopt;
    const qsizetype open = line.lastIndexOf(u'<');
    if (open < commentStart || (open > commentStart && !AsciiWord::isBlank(line[open - 1])))
        return std::nullopt;
    const QStringView spotter = line.sliced(open + 1, line.size() - open - 2);
    if (!isSpotter(spotter))
        return std::nullopt;

    Spot spot;
    spot.spotter = spotter.toString();
    spot.skimmer = spotter.endsWith(u"-#");
    spot.frequencyHz = *hz;
    spot.call = upperCall(call);
    spot.date = date;
    spot.time = time;
    const QStringView comment = AsciiWord::trimmed(line.sliced(commentStart, open - commentStart));
    if (!comment.isEmpty())
        spot.comment = comment.toString();
    readComment(spot);
    return spot;
}

void SpotReader::readComment(Spot& spot) const
{
    spot.band = m_plan.bandOf(spot.frequencyHz);

    QStringView previous;
    QStringView beforePrevious;
    SpotWords words(spot.comment);
    for (QStringView raw = words.next(); !raw.isEmpty(); raw = words.next()) {
        const QStringView w = withoutPunctuation(raw);
        if (spot.mode.isEmpty()) {
            if (const std::optional<ModeWord> mode = ModeWord::of(w)) {
                spot.mode = mode->mode;
                spot.group = mode->group;
            }
        }
        if (!spot.snrDb)
            spot.snrDb = numberWithUnit(previous, w, u"DB");
        if (!spot.wpm)
            spot.wpm = numberWithUnit(previous, w, u"WPM");
        collectLocators(raw, spot.locators);
        beforePrevious = previous;
        previous = w;
    }
    if (spot.mode.isEmpty())
        spot.group = m_plan.groupOf(spot.frequencyHz);

    // Skimmers end their comment with what they heard:
    //   "CW 19 dB 18 WPM CQ", "CW 5 dB 22 WPM NCDXF B", "CW 12 dB 20 WPM BEACON"
    if (spot.snrDb) {
        if (AsciiWord::equals(previous, u"CQ"))
            spot.tag = Spot::Tag::Cq;
        else if (AsciiWord::equals(previous, u"DX"))
            spot.tag = Spot::Tag::Dx;
        else if (AsciiWord::equals(previous, u"BEACON"))
            spot.tag = Spot::Tag::Beacon;
        else if (AsciiWord::equals(previous, u"NCDXF") ||
                 (AsciiWord::equals(previous, u"B") && AsciiWord::equals(beforePrevious, u"NCDXF")))
            spot.tag = Spot::Tag::NcdxfBeacon;
    }
    spot.split = SpotSplit::fromComment(spot.comment, spot.frequencyHz);
}
