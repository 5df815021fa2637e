#include "spots/Announcement.h"

#include "spots/AsciiWord.h"

namespace {

constexpr qsizetype kAnnouncementMaxLine = 512;

} // namespace

std::optional<Announcement> Announcement::read(QStringView line)
{
    if (line.size() > kAnnouncementMaxLine || !line.startsWith(u"To "))
        return std::nullopt;
    static constexpr QStringView audiences[] = {u"ALL", u"LOCAL", u"SYSOP"};
    Announcement out;
    qsizetype pos = 3;
    for (const QStringView a : audiences) {
        if (line.sliced(pos).startsWith(a) && line.size() > pos + a.size() &&
            AsciiWord::isBlank(line[pos + a.size()])) {
            out.audience = a.toString();
            pos += a.size();
            break;
        }
    }
    if (out.audience.isEmpty())
        return std::nullopt;
    while (pos < line.size() && AsciiWord::isBlank(line[pos]))
        ++pos;
    if (!line.sliced(pos).startsWith(u"de "))
        return std::nullopt;
    pos += 3;

    // "EA8ABC:", "G1TLH <1357Z>:", "EA8ABC :"
    const qsizetype colon = line.indexOf(u':', pos);
    if (colon < 0)
        return std::nullopt;
    QStringView head = AsciiWord::trimmed(line.sliced(pos, colon - pos));
    if (const qsizetype open = head.indexOf(u'<'); open >= 0) {
        if (!head.endsWith(u'>'))
            return std::nullopt;
        head = AsciiWord::trimmed(head.first(open));
    }
    if (head.isEmpty() || head.size() > 20)
        return std::nullopt;
    for (const QChar c : head) {
        if (AsciiWord::isBlank(c))
            return std::nullopt;
    }
    out.from = head.toString();
    const QStringView text = AsciiWord::trimmed(line.sliced(colon + 1));
    if (!text.isEmpty())
        out.text = text.toString();
    return out;
}
