#include "spots/ModeWord.h"

#include "spots/AsciiWord.h"

namespace {

struct ModeWordRow
{
    QStringView word;
    QStringView mode;
    ModeGroup group;
};

constexpr ModeGroup kModeWordCw = ModeGroup::Cw;
constexpr ModeGroup kModeWordPhone = ModeGroup::Phone;
constexpr ModeGroup kModeWordDigital = ModeGroup::Digital;

// The words, and how the program writes the mode they name.
constexpr ModeWordRow kModeWords[] = {
    {u"CW", u"CW", kModeWordCw},
    {u"SSB", u"SSB", kModeWordPhone},
    {u"USB", u"USB", kModeWordPhone},
    {u"LSB", u"LSB", kModeWordPhone},
    {u"AM", u"AM", kModeWordPhone},
    {u"FM", u"FM", kModeWordPhone},
    {u"FT8", u"FT8", kModeWordDigital},
    {u"FT4", u"FT4", kModeWordDigital},
    {u"RTTY", u"RTTY", kModeWordDigital},
    {u"PSK", u"PSK", kModeWordDigital},
    {u"BPSK", u"PSK", kModeWordDigital},
    {u"PSK31", u"PSK31", kModeWordDigital},
    {u"BPSK31", u"PSK31", kModeWordDigital},
    {u"PSK63", u"PSK63", kModeWordDigital},
    {u"BPSK63", u"PSK63", kModeWordDigital},
    {u"PSK125", u"PSK125", kModeWordDigital},
    {u"BPSK125", u"PSK125", kModeWordDigital},
    {u"JT65", u"JT65", kModeWordDigital},
    {u"JT9", u"JT9", kModeWordDigital},
    {u"JT4", u"JT4", kModeWordDigital},
    {u"JS8", u"JS8", kModeWordDigital},
    {u"MSK144", u"MSK144", kModeWordDigital},
    {u"FSK441", u"FSK441", kModeWordDigital},
    {u"Q65", u"Q65", kModeWordDigital},
    {u"FST4", u"FST4", kModeWordDigital},
    {u"FST4W", u"FST4W", kModeWordDigital},
    {u"WSPR", u"WSPR", kModeWordDigital},
    {u"OLIVIA", u"OLIVIA", kModeWordDigital},
    {u"CONTESTIA", u"CONTESTIA", kModeWordDigital},
    {u"MFSK", u"MFSK", kModeWordDigital},
    {u"THOR", u"THOR", kModeWordDigital},
    {u"SSTV", u"SSTV", kModeWordDigital},
    {u"VARAC", u"VARAC", kModeWordDigital},
    {u"DIGI", u"DIGI", kModeWordDigital},
};

} // namespace

std::optional<ModeWord> ModeWord::of(QStringView word)
{
    // Every mode word is 2 to 9 characters long and starts with a letter.
    if (word.size() < 2 || word.size() > 9 || !word.front().isLetter())
        return std::nullopt;
    for (const ModeWordRow& row : kModeWords) {
        if (row.word.size() != word.size())
            continue;
        const bool capitalsOnly = row.word.size() == 2 && row.word != u"CW";
        if (capitalsOnly ? word != row.word : !AsciiWord::equals(word, row.word))
            continue;
        // The table's text lives as long as the program.
        return ModeWord{QString::fromRawData(row.mode.data(), row.mode.size()), row.group};
    }
    return std::nullopt;
}
