#include "log/AdifValues.h"

#include <array>

namespace {

template <std::size_t N> bool isOneOf(QStringView word, const std::array<QStringView, N>& words)
{
    for (QStringView w : words) {
        if (word.compare(w, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

// The ADIF modes and submodes by group. Phone is the voice modes and the
// picture modes; "USB" and "LSB" are submodes of SSB that some loggers
// write as the mode.
constexpr std::array<QStringView, 2> kCwModes{u"CW", u"PCW"};
constexpr std::array<QStringView, 14> kPhoneModes{
    u"SSB", u"USB",   u"LSB",    u"AM",  u"FM",   u"DIGITALVOICE", u"C4FM",
    u"DMR", u"DSTAR", u"FREEDV", u"M17", u"SSTV", u"ATV",          u"FAX"};
// The data modes of the ADIF list (the older import-only names included),
// and the submodes loggers write as the mode ("FT4", "JS8").
constexpr std::array<QStringView, 74> kDigitalModes{
    u"ARDOP",   u"CHIP",   u"CHIP64", u"CHIP128", u"CLO",     u"CONTESTI", u"DOMINO",   u"DOMINOF",
    u"DYNAMIC", u"FSK31",  u"FSK441", u"FST4",    u"FST4W",   u"FT4",      u"FT8",      u"GTOR",
    u"HELL",    u"HELL80", u"FMHELL", u"HFSK",    u"ISCAT",   u"JS8",      u"JT4",      u"JT4A",
    u"JT6M",    u"JT9",    u"JT44",   u"JT65",    u"JT65A",   u"JT65B",    u"JT65C",    u"MFSK",
    u"MFSK8",   u"MFSK16", u"MSK144", u"MT63",    u"OLIVIA",  u"OPERA",    u"PAC",      u"PAC2",
    u"PAC3",    u"PAX",    u"PAX2",   u"PKT",     u"PSK",     u"PSK10",    u"PSK31",    u"PSK63",
    u"PSK63F",  u"PSK125", u"PSK2K",  u"PSKAM10", u"PSKAM31", u"PSKAM50",  u"PSKFEC31", u"PSKHELL",
    u"Q15",     u"Q65",    u"QPSK31", u"QPSK63",  u"QPSK125", u"QRA64",    u"ROS",      u"RTTY",
    u"RTTYM",   u"T10",    u"THOR",   u"THRB",    u"THRBX",   u"TOR",      u"AMTORFEC", u"V4",
    u"WINMOR",  u"WSPR"};

ModeGroup groupOfWord(QStringView word)
{
    if (isOneOf(word, kCwModes))
        return ModeGroup::Cw;
    if (isOneOf(word, kPhoneModes))
        return ModeGroup::Phone;
    if (isOneOf(word, kDigitalModes))
        return ModeGroup::Digital;
    return ModeGroup::Unknown;
}

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

} // namespace

namespace AdifValues {

std::optional<BandPlan::Band> bandOf(QStringView band)
{
    const QStringView b = band.trimmed();
    // ADIF names the lowest band by its mean wavelength.
    if (b.compare(u"2190m", Qt::CaseInsensitive) == 0)
        return BandPlan::Band::m2200;
    return BandPlan::fromName(b);
}

std::optional<BandPlan::Band> bandOfFrequency(QStringView megahertz)
{
    const QStringView text = megahertz.trimmed();
    const qsizetype point = text.indexOf(u'.');
    const QStringView whole = point < 0 ? text : text.left(point);
    const QStringView fraction = point < 0 ? QStringView() : text.mid(point + 1);
    // Up to 250 GHz, and digits only: "14.025", "14", "144.300000".
    if (whole.isEmpty() || whole.size() > 6 || fraction.size() > 12)
        return std::nullopt;
    qint64 hz = 0;
    for (QChar c : whole) {
        if (!isAsciiDigit(c))
            return std::nullopt;
        hz = hz * 10 + (c.unicode() - u'0');
    }
    hz *= 1000000;
    // The first decimal is 100 kHz; decimals past the hertz add nothing
    // (7.0741234 is 7074123 Hz).
    qint64 scale = 100000;
    for (QChar c : fraction) {
        if (!isAsciiDigit(c))
            return std::nullopt;
        hz += qint64(c.unicode() - u'0') * scale;
        scale /= 10;
    }
    for (const BandPlan::Region region :
         {BandPlan::Region::One, BandPlan::Region::Two, BandPlan::Region::Three}) {
        if (const auto band = BandPlan(region).bandOf(hz))
            return band;
    }
    return std::nullopt;
}

ModeGroup groupOf(QStringView mode, QStringView submode)
{
    const ModeGroup group = groupOfWord(mode.trimmed());
    if (group != ModeGroup::Unknown)
        return group;
    return groupOfWord(submode.trimmed());
}

bool isConfirmed(QStringView value)
{
    const QStringView v = value.trimmed();
    return v.compare(u"Y", Qt::CaseInsensitive) == 0 || v.compare(u"V", Qt::CaseInsensitive) == 0;
}

QDate dateOf(QStringView yyyymmdd)
{
    const QStringView d = yyyymmdd.trimmed();
    if (d.size() != 8)
        return {};
    int parts[3] = {0, 0, 0};
    const int widths[3] = {4, 2, 2};
    qsizetype at = 0;
    for (int p = 0; p < 3; ++p) {
        for (int i = 0; i < widths[p]; ++i, ++at) {
            if (!isAsciiDigit(d[at]))
                return {};
            parts[p] = parts[p] * 10 + (d[at].unicode() - u'0');
        }
    }
    return QDate(parts[0], parts[1], parts[2]);
}

std::optional<int> dxccOf(QStringView value)
{
    const QStringView v = value.trimmed();
    if (v.isEmpty() || v.size() > 4)
        return std::nullopt;
    int code = 0;
    for (QChar c : v) {
        if (!isAsciiDigit(c))
            return std::nullopt;
        code = code * 10 + (c.unicode() - u'0');
    }
    if (code > 999)
        return std::nullopt;
    return code;
}

bool isCallsign(QStringView call)
{
    if (call.isEmpty() || call.size() > 32)
        return false;
    bool letterOrDigit = false;
    for (QChar c : call) {
        const bool alnum = (c >= u'A' && c <= u'Z') || isAsciiDigit(c);
        if (!alnum && c != u'/')
            return false;
        letterOrDigit = letterOrDigit || alnum;
    }
    return letterOrDigit;
}

} // namespace AdifValues
