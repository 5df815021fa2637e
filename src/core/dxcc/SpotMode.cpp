#include "dxcc/SpotMode.h"

#include "rig/OmniRigModes.h"
#include "rig/RigTuning.h"

#include <QRegularExpression>

namespace {

struct Word
{
    QStringView word;
    QStringView mode;
};

// The words spotters and skimmers write for a mode, and what the window
// calls it.
constexpr Word kWords[] = {
    {u"CW", u"CW"},         {u"SSB", u"SSB"},       {u"USB", u"SSB"},     {u"LSB", u"SSB"},
    {u"AM", u"AM"},         {u"FM", u"FM"},         {u"FT8", u"FT8"},     {u"FT4", u"FT4"},
    {u"RTTY", u"RTTY"},     {u"PSK", u"PSK"},       {u"BPSK", u"PSK"},    {u"JT65", u"JT65"},
    {u"JT9", u"JT9"},       {u"JS8", u"JS8"},       {u"MSK144", u"MSK144"}, {u"Q65", u"Q65"},
    {u"FST4", u"FST4"},     {u"OLIVIA", u"OLIVIA"}, {u"SSTV", u"SSTV"},   {u"MFSK", u"MFSK"},
    {u"DIGI", u"DIGI"},     {u"WSPR", u"WSPR"},     {u"VARAC", u"VARAC"},
};

} // namespace

std::optional<QString> SpotMode::fromWord(const QString& word)
{
    const QString w = word.toUpper();
    for (const Word& k : kWords)
        if (w == k.word)
            return k.mode.toString();
    // "PSK31", "PSK63", "BPSK125"
    static const QRegularExpression psk(QStringLiteral("^B?PSK\\d{2,3}$"));
    if (psk.match(w).hasMatch())
        return QStringLiteral("PSK");
    return std::nullopt;
}

QString SpotMode::of(const QString& comment, int frequency)
{
    static const QRegularExpression words(QStringLiteral("[A-Za-z0-9]+"));
    for (QRegularExpressionMatchIterator it = words.globalMatch(comment); it.hasNext();) {
        if (const std::optional<QString> mode = fromWord(it.next().captured()))
            return *mode;
    }
    using namespace OmniRigModes;
    const std::optional<qint32> band = RigTuning::modeForFrequency(frequency);
    if (!band)
        return QString();
    if (*band == PM_CW_U || *band == PM_CW_L)
        return QStringLiteral("CW");
    return QStringLiteral("SSB");
}

SpotMode::Group SpotMode::groupOf(const QString& mode)
{
    if (mode.isEmpty())
        return Group::Unknown;
    if (mode == u"CW")
        return Group::Cw;
    if (mode == u"SSB" || mode == u"AM" || mode == u"FM")
        return Group::Phone;
    return Group::Digital;
}
