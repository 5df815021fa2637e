#include "dxcc/CountryTable.h"

#include <QRegularExpression>

#include <cmath>

namespace {

// Longer "calls" are no callsigns; the longest whole call of the file has
// about fifteen characters.
constexpr int kMaxCallLength = 32;

bool isCallChar(QChar c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'/';
}

bool isContinent(QStringView s)
{
    static const QStringView known[] = {u"AF", u"AN", u"AS", u"EU", u"NA", u"OC", u"SA"};
    for (QStringView k : known)
        if (s == k)
            return true;
    return false;
}

std::optional<int> zoneOf(QStringView s, int highest)
{
    bool ok = false;
    const int v = s.trimmed().toInt(&ok);
    if (!ok || v < 1 || v > highest)
        return std::nullopt;
    return v;
}

std::optional<double> numberIn(QStringView s, double limit)
{
    bool ok = false;
    const double v = s.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v) || v < -limit || v > limit)
        return std::nullopt;
    return v;
}

// What a portable station adds to its call without moving to another
// entity: "DJ0LN/P" is portable, "K1ABC/M" mobile, "/QRP" low power, "/A"
// at another address, "/R" a rover, "/B" a beacon, "/LH" and "/LGT" a
// lighthouse activation.
bool isIgnoredSuffix(QStringView part)
{
    static const QStringView ignored[] = {u"P", u"M", u"A", u"R", u"B", u"QRP", u"QRPP", u"LH",
                                          u"LGT"};
    for (QStringView s : ignored)
        if (part == s)
            return true;
    return false;
}

// Maritime and aeronautical mobile stations are in no entity:
// "N2NL/MM", "/AM".
bool isAtSeaOrInAir(QStringView part)
{
    return part == u"MM" || part == u"AM";
}

} // namespace

CountryTable CountryTable::parse(const QByteArray& text)
{
    CountryTable table;
    // The file is plain ASCII; Latin-1 takes any byte, so a damaged byte
    // spoils one record at most.
    const QString all = QString::fromLatin1(text);
    QStringView rest(all);
    while (!rest.isEmpty()) {
        const qsizetype end = rest.indexOf(u';');
        const QStringView record = end < 0 ? rest : rest.left(end);
        rest = end < 0 ? QStringView() : rest.mid(end + 1);
        if (record.trimmed().isEmpty())
            continue;
        if (!table.parseRecord(record))
            ++table.m_skippedRecords;
    }
    return table;
}

bool CountryTable::parseRecord(QStringView record)
{
    // Eight header fields, each ended by a colon.
    QStringView fields[8];
    QStringView rest = record;
    for (QStringView& field : fields) {
        const qsizetype colon = rest.indexOf(u':');
        if (colon < 0)
            return false;
        field = rest.left(colon).trimmed();
        rest = rest.mid(colon + 1);
    }
    const auto cq = zoneOf(fields[1], 40);
    const auto itu = zoneOf(fields[2], 90);
    const auto lat = numberIn(fields[4], 90);
    const auto lon = numberIn(fields[5], 180);
    const auto tz = numberIn(fields[6], 24);
    QStringView prefix = fields[7];
    const bool waeOnly = prefix.startsWith(u'*');
    if (waeOnly)
        prefix = prefix.mid(1);
    if (fields[0].isEmpty() || !cq || !itu || !isContinent(fields[3]) || !lat || !lon || !tz
        || prefix.isEmpty())
        return false;

    CountryInfo info;
    info.name = fields[0].toString();
    info.primaryPrefix = prefix.toString();
    info.continent = fields[3].toString();
    info.cqZone = *cq;
    info.ituZone = *itu;
    info.latitude = *lat;
    info.longitudeWest = *lon;
    info.utcOffset = *tz;
    info.waeOnly = waeOnly;
    const int entity = int(m_entities.size());
    m_entities.append(info);

    // The aliases: commas between them, any blanks and line ends around.
    while (!rest.isEmpty()) {
        const qsizetype comma = rest.indexOf(u',');
        const QStringView token = (comma < 0 ? rest : rest.left(comma)).trimmed();
        rest = comma < 0 ? QStringView() : rest.mid(comma + 1);
        if (!token.isEmpty() && !parseAlias(token, entity))
            ++m_skippedAliases;
    }
    return true;
}

// One alias with its overrides, in any order after the call:
//   "=KG4IJS/0(4)[7]"   "VE2[4]"   "=VP2V/W1AW<18.4/64.6>{NA}~-4.0~"
bool CountryTable::parseAlias(QStringView token, int entity)
{
    const bool exact = token.startsWith(u'=');
    if (exact)
        token = token.mid(1);
    qsizetype i = 0;
    while (i < token.size() && isCallChar(token[i].toUpper()))
        ++i;
    const QString call = token.left(i).toString().toUpper();
    if (call.isEmpty() || call.size() > kMaxCallLength)
        return false;

    Alias alias;
    alias.entity = entity;
    while (i < token.size()) {
        const QChar open = token[i];
        QChar close;
        if (open == u'(')
            close = u')';
        else if (open == u'[')
            close = u']';
        else if (open == u'<')
            close = u'>';
        else if (open == u'{')
            close = u'}';
        else if (open == u'~')
            close = u'~';
        else
            return false;
        const qsizetype end = token.indexOf(close, i + 1);
        if (end < 0)
            return false;
        const QStringView inside = token.mid(i + 1, end - i - 1);
        i = end + 1;
        if (open == u'(') {
            const auto v = zoneOf(inside, 40);
            if (!v)
                return false;
            alias.cqZone = qint16(*v);
        } else if (open == u'[') {
            const auto v = zoneOf(inside, 90);
            if (!v)
                return false;
            alias.ituZone = qint16(*v);
        } else if (open == u'<') {
            const qsizetype slash = inside.indexOf(u'/');
            if (slash < 0)
                return false;
            const auto lat = numberIn(inside.left(slash), 90);
            const auto lon = numberIn(inside.mid(slash + 1), 180);
            if (!lat || !lon)
                return false;
            alias.latitude = *lat;
            alias.longitudeWest = *lon;
        } else if (open == u'{') {
            if (!isContinent(inside.trimmed()))
                return false;
            alias.continent = inside.trimmed().toString();
        } else {
            const auto v = numberIn(inside, 24);
            if (!v)
                return false;
            alias.utcOffset = *v;
        }
    }

    if (exact) {
        // "=VER20230502": the file's edition, listed as if it were a call.
        static const QRegularExpression versionCall(QStringLiteral("^VER(\\d{8})$"));
        const QRegularExpressionMatch m = versionCall.match(call);
        if (m.hasMatch() && m_version.isEmpty())
            m_version = m.captured(1);
        // The first listing of a call counts; a later one is a slip of the file.
        if (!m_exact.contains(call))
            m_exact.insert(call, alias);
    } else {
        if (call.contains(u'/'))
            return false;
        if (!m_prefixes.contains(call))
            m_prefixes.insert(call, alias);
        m_longestPrefix = qMax(m_longestPrefix, int(call.size()));
    }
    return true;
}

CountryInfo CountryTable::resolve(const Alias& alias) const
{
    CountryInfo info = m_entities.at(alias.entity);
    if (alias.cqZone > 0)
        info.cqZone = alias.cqZone;
    if (alias.ituZone > 0)
        info.ituZone = alias.ituZone;
    if (!std::isnan(alias.latitude)) {
        info.latitude = alias.latitude;
        info.longitudeWest = alias.longitudeWest;
    }
    if (!std::isnan(alias.utcOffset))
        info.utcOffset = alias.utcOffset;
    if (!alias.continent.isEmpty())
        info.continent = alias.continent;
    return info;
}

const CountryTable::Alias* CountryTable::exactAlias(const QString& call) const
{
    const auto it = m_exact.constFind(call);
    return it == m_exact.cend() ? nullptr : &*it;
}

const CountryTable::Alias* CountryTable::longestPrefix(const QString& call, int maxLength) const
{
    // One copy, cut shorter step by step: no allocation per step.
    QString key = call;
    key.truncate(qMin(maxLength, m_longestPrefix));
    for (qsizetype n = key.size(); n > 0; --n) {
        key.truncate(n);
        const auto it = m_prefixes.constFind(key);
        if (it != m_prefixes.cend())
            return &*it;
    }
    return nullptr;
}

std::optional<CountryInfo> CountryTable::lookupHome(QString home, QChar areaDigit) const
{
    // "K2ND/4": the station signs from the 4th call area, as K4ND would.
    if (!areaDigit.isNull()) {
        qsizetype last = -1;
        for (qsizetype i = 0; i < home.size(); ++i)
            if (home[i].isDigit())
                last = i;
        if (last >= 0)
            home[last] = areaDigit;
        else
            home += areaDigit;
    }
    if (const Alias* a = exactAlias(home))
        return resolve(*a);
    const Alias* a = longestPrefix(home, int(home.size()));
    if (!a)
        return std::nullopt;
    // KG4 with a two-letter suffix is Guantanamo Bay ("KG4AB"); the same
    // prefix with a one- or three-letter suffix is a station of the US 4th
    // call area ("KG4ABC"), which the file lists only in part, as whole
    // calls. So such a call goes by the prefixes shorter than KG4.
    if (home.startsWith(u"KG4") && m_prefixes.value(QStringLiteral("KG4")).entity == a->entity
        && home.size() != 5) {
        if (const Alias* shorter = longestPrefix(home, 2))
            return resolve(*shorter);
    }
    return resolve(*a);
}

std::optional<CountryInfo> CountryTable::lookup(QStringView callsign) const
{
    const QString call = callsign.trimmed().toString().toUpper();
    if (call.isEmpty() || call.size() > kMaxCallLength || m_entities.isEmpty())
        return std::nullopt;
    for (const QChar c : call)
        if (!isCallChar(c))
            return std::nullopt;

    const QList<QStringView> parts = QStringView(call).split(u'/', Qt::SkipEmptyParts);
    for (QStringView p : parts)
        if (isAtSeaOrInAir(p))
            return std::nullopt;
    // A call the file lists whole wins over every rule: "=PA/DF8WA/LH".
    if (const Alias* a = exactAlias(call))
        return resolve(*a);

    QList<QStringView> kept;
    QChar areaDigit;
    for (QStringView p : parts) {
        if (isIgnoredSuffix(p))
            continue;
        if (p.size() == 1 && p[0].isDigit()) {
            areaDigit = p[0];
            continue;
        }
        kept << p;
    }
    if (kept.isEmpty())
        return std::nullopt;
    if (kept.size() == 1)
        return lookupHome(kept[0].toString(), areaDigit);

    // "PA/DJ0LN/P" -> "PA/DJ0LN"; the file may list that whole.
    QString reduced;
    for (QStringView p : kept) {
        if (!reduced.isEmpty())
            reduced += u'/';
        reduced += p;
    }
    if (const Alias* a = exactAlias(reduced))
        return resolve(*a);

    // Of the parts, the longest is the home call and the shortest of the
    // others the prefix of where the station is: "PA/DJ0LN", "DL1XYZ/PA",
    // "VE1CWJ/VP9". On equal lengths the first counts.
    qsizetype home = 0;
    for (qsizetype i = 1; i < kept.size(); ++i)
        if (kept[i].size() > kept[home].size())
            home = i;
    qsizetype where = home == 0 ? 1 : 0;
    for (qsizetype i = 0; i < kept.size(); ++i)
        if (i != home && kept[i].size() < kept[where].size())
            where = i;
    const QString prefix = kept[where].toString();
    if (const Alias* a = exactAlias(prefix))
        return resolve(*a);
    if (const Alias* a = longestPrefix(prefix, int(prefix.size())))
        return resolve(*a);
    // An added word that is no prefix at all: the home call decides.
    return lookupHome(kept[home].toString(), areaDigit);
}
