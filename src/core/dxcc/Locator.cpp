#include "dxcc/Locator.h"

#include <hamlib/rig.h>

#include <mutex>

namespace {

void quietHamlib()
{
    // Hamlib traces every call to stderr unless told otherwise.
    static std::once_flag once;
    std::call_once(once, [] { rig_set_debug(RIG_DEBUG_NONE); });
}

bool inRange(QChar c, char16_t first, char16_t last)
{
    return c.unicode() >= first && c.unicode() <= last;
}

} // namespace

std::optional<QString> Locator::normalized(QStringView text)
{
    const QString t = text.trimmed().toString().toUpper();
    if (t.size() != 4 && t.size() != 6)
        return std::nullopt;
    if (!inRange(t[0], u'A', u'R') || !inRange(t[1], u'A', u'R') || !inRange(t[2], u'0', u'9')
        || !inRange(t[3], u'0', u'9'))
        return std::nullopt;
    if (t.size() == 6 && (!inRange(t[4], u'A', u'X') || !inRange(t[5], u'A', u'X')))
        return std::nullopt;
    return t.left(4) + t.mid(4).toLower();
}

QString Locator::refusal(QStringView text)
{
    return QStringLiteral("\"%1\" is no locator: give 4 or 6 characters, like JO31 or JO31lk.")
        .arg(text.trimmed().toString());
}

std::optional<Locator::Point> Locator::centre(QStringView locator)
{
    const std::optional<QString> loc = normalized(locator);
    if (!loc)
        return std::nullopt;
    quietHamlib();
    double lon = 0;
    double lat = 0;
    if (locator2longlat(&lon, &lat, loc->toLatin1().constData()) != RIG_OK)
        return std::nullopt;
    return Point{lat, lon};
}
