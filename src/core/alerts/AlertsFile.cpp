#include "alerts/AlertsFile.h"

#include "settings/AtomicFile.h"
#include "settings/BoundedFile.h"
#include "settings/IniDocument.h"
#include "settings/IniFile.h"
#include "spots/BandFilter.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <QHash>
#include <QSet>

#include <algorithm>
#include <functional>
#include <tuple>

namespace {

// The keys of a rule, in the order the file writes them.
const QStringList& ruleKeys()
{
    static const QStringList keys{
        QStringLiteral("Name"),  QStringLiteral("On"),     QStringLiteral("Call"),
        QStringLiteral("Entity"), QStringLiteral("Continent"), QStringLiteral("Bands"),
        QStringLiteral("Modes"), QStringLiteral("Sound"),  QStringLiteral("Notify"),
        QStringLiteral("Speak")};
    return keys;
}

// A word of the file as a problem quotes it: a line of a megabyte must not
// make a message of a megabyte.
QString shown(const QString& text)
{
    constexpr int kMaxShown = 40;
    return text.size() <= kMaxShown ? text : text.left(kMaxShown) + QStringLiteral("...");
}

// "[Rule12]" -> "Rule12"; none for a line that opens no section.
std::optional<QString> sectionName(const QString& line)
{
    if (!line.startsWith(QLatin1Char('[')))
        return std::nullopt;
    const qsizetype close = line.indexOf(QLatin1Char(']'));
    if (close < 0)
        return std::nullopt;
    return line.mid(1, close - 1).trimmed();
}

bool isRuleSection(const QString& name)
{
    static const QRegularExpression rule(QStringLiteral("^Rule\\d+$"),
                                         QRegularExpression::CaseInsensitiveOption);
    return rule.match(name).hasMatch();
}

// "OC, AS" -> the bits of OC and AS; the first unknown word in *bad.
std::optional<quint32> readSet(const QString& value,
                               const std::function<std::optional<int>(QStringView)>& indexOf,
                               QString* bad)
{
    quint32 bits = 0;
    for (const QStringView word : QStringView(value).split(QLatin1Char(','))) {
        if (word.trimmed().isEmpty())
            continue;
        const std::optional<int> index = indexOf(word);
        if (!index) {
            *bad = shown(word.trimmed().toString());
            return std::nullopt;
        }
        bits |= 1u << *index;
    }
    return bits;
}

QString writeSet(quint32 bits, int count, QString (*nameOf)(int))
{
    QStringList words;
    for (int i = 0; i < count; ++i) {
        if (bits & (1u << i))
            words.append(nameOf(i));
    }
    return words.join(QLatin1Char(','));
}

// The keys of one [RuleN] section as the file gives them.
struct Section
{
    QString name;
    QHash<QString, QString> values; // key in lower case -> trimmed value
    QStringList keys;               // as written, in file order
    QString problem;                // the first thing wrong in it
    bool duplicate = false;
};

// Turns a section into a rule, or says what is wrong with it.
std::optional<AlertRule> ruleOf(const Section& section, QString* problem)
{
    auto fail = [&](const QString& what) {
        *problem = shown(section.name) + QStringLiteral(": ") + what;
        return std::nullopt;
    };
    if (section.duplicate)
        return fail(QStringLiteral("appears twice; the second one is skipped"));
    if (!section.problem.isEmpty())
        return fail(section.problem);
    for (const QString& key : section.keys) {
        const bool known = std::any_of(ruleKeys().cbegin(), ruleKeys().cend(), [&](const QString& k) {
            return k.compare(key, Qt::CaseInsensitive) == 0;
        });
        if (!known)
            return fail(QStringLiteral("unknown key %1").arg(shown(key)));
    }
    const auto value = [&](const char* key) {
        return section.values.value(QString::fromLatin1(key).toLower());
    };
    const auto has = [&](const char* key) {
        return section.values.contains(QString::fromLatin1(key).toLower());
    };

    AlertRule rule;
    rule.name = has("Name") && !value("Name").isEmpty() ? value("Name") : section.name;

    // On=1, Notify=0: only these two words; a missing key is the default.
    const auto flag = [&](const char* key, bool fallback, bool* out) {
        if (!has(key)) {
            *out = fallback;
            return true;
        }
        const QString v = value(key);
        if (v != u"0" && v != u"1")
            return false;
        *out = v == u"1";
        return true;
    };
    for (const auto& [key, fallback, out] :
         {std::tuple{"On", true, &rule.on}, std::tuple{"Notify", false, &rule.notify},
          std::tuple{"Speak", false, &rule.speak}}) {
        if (!flag(key, fallback, out))
            return fail(QStringLiteral("%1 must be 0 or 1, not %2")
                            .arg(QLatin1String(key), shown(value(key))));
    }

    const std::optional<CallPattern> call = CallPattern::compile(value("Call"));
    if (!call)
        return fail(QStringLiteral("callsign pattern %1 may hold only letters, digits, /, * and ?"
                                   " (at most %2 characters)")
                        .arg(shown(value("Call")))
                        .arg(CallPattern::kMaxLength));
    rule.call = *call;

    // "*IT9" as the country file writes a WAE entity's prefix is IT9.
    rule.entity = value("Entity");
    if (rule.entity.startsWith(QLatin1Char('*')))
        rule.entity.remove(0, 1);

    QString bad;
    if (const auto bits = readSet(value("Continent"), &AlertRule::continentIndex, &bad))
        rule.continents = quint8(*bits);
    else
        return fail(QStringLiteral("unknown continent %1 (AF, AN, AS, EU, NA, OC, SA)").arg(bad));
    if (const auto bits = readSet(value("Bands"), &AlertRule::bandIndex, &bad))
        rule.bands = quint16(*bits);
    else
        return fail(QStringLiteral("unknown band %1").arg(bad));
    if (const auto bits = readSet(value("Modes"), &AlertRule::modeIndex, &bad))
        rule.modes = quint8(*bits);
    else
        return fail(QStringLiteral("unknown mode %1 (CW, PHONE, DIGITAL)").arg(bad));

    // Sound=0, Sound=1 (dx.wav) or Sound=kiribati.wav.
    const QString sound = value("Sound");
    if (sound.isEmpty() || sound == u"0") {
        rule.sound = AlertRule::Sound::None;
    } else if (sound == u"1") {
        rule.sound = AlertRule::Sound::Alarm;
    } else if (sound.endsWith(QLatin1String(".wav"), Qt::CaseInsensitive) && sound.size() > 4) {
        rule.sound = AlertRule::Sound::File;
        rule.soundFile = sound;
    } else {
        return fail(QStringLiteral("Sound must be 0, 1 or the name of a .wav file, not %1").arg(shown(sound)));
    }
    return rule;
}

} // namespace

AlertsFile::Contents AlertsFile::read(const QString& path)
{
    const BoundedFile::Result file = BoundedFile::read(path, kMaxBytes);
    if (file.status == BoundedFile::Status::Missing)
        return {};
    if (file.status != BoundedFile::Status::Read) {
        Contents contents;
        contents.problems.append(
            QStringLiteral("%1 cannot be read: it must be a file of at most 1 MiB")
                .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath())));
        return contents;
    }
    return parse(file.bytes);
}

AlertsFile::Contents AlertsFile::parse(const QByteArray& bytes)
{
    // The encodings and line ends settings.ini may have, decoded the same way.
    const QString text = IniDocument(bytes).text();

    QList<Section> sections;
    QSet<QString> seen; // rule sections by their name in lower case
    Section* current = nullptr;
    bool anySection = false;
    QString stray; // the first line outside any section that says anything
    int skippedRules = 0;
    QString firstSkipped;
    int lineNumber = 0;
    for (const QStringView raw : QStringView(text).split(QRegularExpression(QStringLiteral("\r\n|\r|\n")))) {
        ++lineNumber;
        const QString line = raw.trimmed().toString();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
            continue;
        if (const std::optional<QString> name = sectionName(line)) {
            anySection = true;
            current = nullptr;
            if (isRuleSection(*name)) {
                // Past the cap a section is only counted, its lines passed over.
                if (sections.size() >= AlertsFile::kMaxRules) {
                    if (skippedRules++ == 0)
                        firstSkipped = *name;
                    continue;
                }
                Section section;
                section.name = *name;
                section.duplicate = seen.contains(name->toLower());
                seen.insert(name->toLower());
                sections.append(section);
                current = &sections.last();
            }
            continue;
        }
        if (!current) {
            // Lines of other sections are theirs; text before the first
            // section is a sign of a damaged file (or no alerts.ini at all).
            if (!anySection && stray.isEmpty())
                stray = QStringLiteral("alerts.ini: line %1 stands before any [RuleN] section: %2")
                            .arg(lineNumber)
                            .arg(shown(line));
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0) {
            if (current->problem.isEmpty())
                current->problem = QStringLiteral("line %1 is no Key=value line: %2")
                                       .arg(lineNumber)
                                       .arg(shown(line));
            continue;
        }
        // A key given twice is a rule edited in two minds: which one was
        // meant is the user's to say.
        const QString key = line.left(eq).trimmed();
        if (current->values.contains(key.toLower())) {
            if (current->problem.isEmpty())
                current->problem = QStringLiteral("%1 is given twice").arg(shown(key));
            continue;
        }
        current->values.insert(key.toLower(), line.mid(eq + 1).trimmed());
        current->keys.append(key);
    }

    Contents contents;
    if (!stray.isEmpty())
        contents.problems.append(stray);
    //   "alerts.ini: 87306 rules past the first 1000 are skipped, from Rule1001 on"
    if (skippedRules > 0)
        contents.problems.append(
            QStringLiteral("alerts.ini: %1 rules past the first %2 are skipped, from %3 on")
                .arg(skippedRules)
                .arg(AlertsFile::kMaxRules)
                .arg(shown(firstSkipped)));
    for (const Section& section : sections) {
        QString problem;
        if (std::optional<AlertRule> rule = ruleOf(section, &problem))
            contents.rules.append(*rule);
        else
            contents.problems.append(problem);
    }
    return contents;
}

QStringList AlertsFile::shownProblems(const QStringList& problems, int max)
{
    if (problems.size() <= max)
        return problems;
    QStringList shown = problems.mid(0, max);
    shown.append(QStringLiteral("and %1 more problems").arg(problems.size() - max));
    return shown;
}

QByteArray AlertsFile::format(const QList<AlertRule>& rules)
{
    // A line break inside a value would end the line early.
    const auto oneLine = [](QString v) {
        v.replace(QLatin1Char('\r'), QLatin1Char(' '));
        v.replace(QLatin1Char('\n'), QLatin1Char(' '));
        return v.trimmed();
    };
    QString text;
    const QString br = QStringLiteral("\r\n");
    for (qsizetype i = 0; i < rules.size(); ++i) {
        const AlertRule& rule = rules[i];
        QString sound = QStringLiteral("0");
        if (rule.sound == AlertRule::Sound::Alarm)
            sound = QStringLiteral("1");
        else if (rule.sound == AlertRule::Sound::File)
            sound = oneLine(rule.soundFile);
        if (i > 0)
            text += br;
        text += QStringLiteral("[Rule%1]").arg(i + 1) + br;
        const QString values[] = {
            oneLine(rule.name),
            rule.on ? QStringLiteral("1") : QStringLiteral("0"),
            rule.call.text(),
            oneLine(rule.entity),
            writeSet(rule.continents, AlertRule::kContinentCount, &AlertRule::continentName),
            writeSet(rule.bands, BandFilter::BandCount, &AlertRule::bandName),
            writeSet(rule.modes, AlertRule::kModeCount, &AlertRule::modeName),
            sound,
            rule.notify ? QStringLiteral("1") : QStringLiteral("0"),
            rule.speak ? QStringLiteral("1") : QStringLiteral("0"),
        };
        for (int k = 0; k < ruleKeys().size(); ++k)
            text += ruleKeys()[k] + QLatin1Char('=') + values[k] + br;
    }
    return text.toUtf8();
}

bool AlertsFile::write(const QString& path, const QList<AlertRule>& rules, QString* error)
{
    auto fail = [&] {
        if (error)
            *error = IniFile::writeErrorText(path);
        return false;
    };
    // A full disk leaves the old rules as they were.
    if (!AtomicFile::write(path, format(rules)))
        return fail();
    return true;
}
