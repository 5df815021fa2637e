// The spot reader and the other node-line readers, on any text a node might
// send (and on malformed UTF-16 no decoder makes): a spot's frequency lies
// in the spots' range, its call is a word of the line, its texts are pieces
// of the line (so reading never costs more than a few times the line), and
// every derived value agrees with the band plan it came from.

#include "FuzzSupport.h"

#include "spots/BandPlan.h"
#include "spots/DecimalNumber.h"
#include "spots/ModeWord.h"
#include "spots/NodeLine.h"
#include "spots/SpotReader.h"

namespace {

bool isBlank(QChar c)
{
    return c.unicode() <= 0x20;
}

// The line's words, split at blanks and control bytes as the reader does.
bool isWordOfLine(const QString& word, const QString& line)
{
    const qsizetype n = line.size();
    for (qsizetype i = 0; i < n;) {
        while (i < n && isBlank(line[i]))
            ++i;
        const qsizetype start = i;
        while (i < n && !isBlank(line[i]))
            ++i;
        if (i > start &&
            QStringView(line).sliced(start, i - start).compare(word, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

qsizetype textSize(const QStringList& list)
{
    qsizetype size = 0;
    for (const QString& s : list)
        size += s.size();
    return size;
}

void checkSpot(const Spot& spot, const QString& line, const BandPlan& plan)
{
    FUZZ_CHECK(line.size() <= SpotReader::MaxLineLength);
    FUZZ_CHECK(spot.frequencyHz >= Spot::LowestHz && spot.frequencyHz <= Spot::HighestHz);
    FUZZ_CHECK(SpotReader::isCall(spot.call));
    FUZZ_CHECK(isWordOfLine(spot.call, line));
    FUZZ_CHECK(!spot.spotter.isEmpty() && spot.spotter.size() <= 20 && line.contains(spot.spotter));
    FUZZ_CHECK(spot.skimmer == spot.spotter.endsWith(QLatin1String("-#")));
    FUZZ_CHECK(line.contains(spot.comment));
    FUZZ_CHECK(spot.comment.isEmpty() ||
               (!isBlank(spot.comment.front()) && !isBlank(spot.comment.back())));

    // Every text is a piece of the line or a locator made of one; the mode
    // is the table's own text.
    const qsizetype pieces = spot.spotter.size() + spot.call.size() + spot.comment.size();
    FUZZ_CHECK(pieces <= line.size());
    FUZZ_CHECK(textSize(spot.locators) + textSize(spot.nodeLocators) <= line.size());
    FUZZ_CHECK(spot.mode.size() <= 9);
    for (const QString& l : spot.locators + spot.nodeLocators)
        FUZZ_CHECK(SpotReader::isLocator(l) && line.contains(l, Qt::CaseInsensitive));

    FUZZ_CHECK(spot.band == plan.bandOf(spot.frequencyHz));
    if (spot.band) {
        const std::optional<BandPlan::Edges> edges = plan.edges(*spot.band);
        FUZZ_CHECK(edges && edges->lowestHz <= spot.frequencyHz &&
                   spot.frequencyHz <= edges->highestHz);
    }
    if (spot.mode.isEmpty()) {
        FUZZ_CHECK(spot.group == plan.groupOf(spot.frequencyHz));
    } else {
        const std::optional<ModeWord> mode = ModeWord::of(spot.mode);
        FUZZ_CHECK(mode && mode->mode == spot.mode && mode->group == spot.group);
    }
    FUZZ_CHECK(spot.tag == Spot::Tag::None || spot.snrDb);
    FUZZ_CHECK(!spot.snrDb || (*spot.snrDb >= -999 && *spot.snrDb <= 999));
    FUZZ_CHECK(!spot.wpm || (*spot.wpm >= -999 && *spot.wpm <= 999));
    if (spot.split) {
        const SpotSplit& s = *spot.split;
        FUZZ_CHECK(s.lowestHz <= s.highestHz);
        if (s.hasFrequency())
            FUZZ_CHECK(s.lowestHz >= Spot::LowestHz && s.highestHz <= Spot::HighestHz);
        else
            FUZZ_CHECK(s.highestHz == 0 && s.direction != SpotSplit::Direction::Listen);
    }
    FUZZ_CHECK(spot.time.isNull() || spot.time.isValid());

    // The kHz text reads back as the same frequency.
    const std::optional<DecimalNumber> back = DecimalNumber::read(spot.kilohertzText());
    FUZZ_CHECK(back && back->thousandths == spot.frequencyHz);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    const quint8 flags = in.byte();
    const BandPlan plan(BandPlan::Region(1 + (flags >> 1) % 3));
    const QString line = FuzzInput::text(in.rest(), flags & 1);
    const SpotReader reader(plan);

    const std::optional<Spot> live = reader.read(line);
    if (live) {
        checkSpot(*live, line, plan);
        FUZZ_CHECK(!live->date.isValid());
        FUZZ_CHECK(reader.read(line) == live);
    }
    const std::optional<Spot> listed = reader.readListing(line);
    if (listed) {
        checkSpot(*listed, line, plan);
        FUZZ_CHECK(listed->date.isValid() && listed->time.isValid());
        FUZZ_CHECK(!live);
    }

    const std::optional<SolarReport> solar = SolarReport::read(line);
    if (solar) {
        FUZZ_CHECK(!solar->reporter.isEmpty() && line.contains(solar->reporter));
        FUZZ_CHECK(solar->hour >= -1 && solar->hour <= 23);
        FUZZ_CHECK(solar->reporter.size() + solar->sa.size() + solar->gmf.size() +
                       solar->au.size() + solar->remark.size() <=
                   line.size());
        for (const std::optional<int>& v : {solar->sfi, solar->a, solar->k, solar->expK, solar->r})
            FUZZ_CHECK(!v || (*v >= 0 && *v <= 9999));
    }
    const std::optional<Announcement> note = Announcement::read(line);
    if (note) {
        FUZZ_CHECK(line.contains(note->from) && line.contains(note->text));
        FUZZ_CHECK(note->audience.size() + note->from.size() + note->text.size() <= line.size());
    }

    // The line's kind agrees with the reader that takes it.
    const NodeLine kind = NodeLine::read(line, reader);
    switch (kind.kind) {
    case NodeLine::Kind::Spot:
        FUZZ_CHECK(kind.spot == live);
        break;
    case NodeLine::Kind::ListedSpot:
        FUZZ_CHECK(kind.spot == listed);
        break;
    case NodeLine::Kind::Wwv:
    case NodeLine::Kind::Wcy:
        FUZZ_CHECK(kind.solar == solar);
        break;
    case NodeLine::Kind::Announcement:
        FUZZ_CHECK(kind.announcement == note);
        break;
    case NodeLine::Kind::Other:
        FUZZ_CHECK(!kind.spot && !kind.solar && !kind.announcement);
        FUZZ_CHECK(!solar && !note);
        break;
    }
    return 0;
}
