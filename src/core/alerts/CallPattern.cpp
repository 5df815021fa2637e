#include "alerts/CallPattern.h"

namespace {

bool allowed(QChar c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') ||
           c == u'/' || c == u'*' || c == u'?';
}

char16_t upper(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') ? char16_t(u - (u'a' - u'A')) : u;
}

} // namespace

std::optional<CallPattern> CallPattern::compile(const QString& text)
{
    const QString t = text.trimmed();
    if (t.size() > kMaxLength)
        return std::nullopt;
    CallPattern p;
    p.m_text = t;
    p.m_pattern.reserve(t.size());
    for (const QChar c : t) {
        if (!allowed(c))
            return std::nullopt;
        if (c == u'*' && p.m_pattern.endsWith(u'*'))
            continue;
        p.m_pattern.append(QChar(upper(c)));
    }
    return p;
}

bool CallPattern::matches(QStringView call) const
{
    if (m_pattern.isEmpty())
        return true;
    // Left to right; on a mismatch after a "*", that star takes one more
    // character and the rest is tried again. With one retry point this stays
    // at most pattern x call steps, and it needs no memory of its own.
    const qsizetype m = m_pattern.size();
    const qsizetype n = call.size();
    qsizetype p = 0;
    qsizetype s = 0;
    qsizetype star = -1;
    qsizetype resume = 0;
    while (s < n) {
        if (p < m && m_pattern[p] == u'*') {
            star = p++;
            resume = s;
        } else if (p < m && (m_pattern[p] == u'?' || m_pattern[p].unicode() == upper(call[s]))) {
            ++p;
            ++s;
        } else if (star >= 0) {
            p = star + 1;
            s = ++resume;
        } else {
            return false;
        }
    }
    while (p < m && m_pattern[p] == u'*')
        ++p;
    return p == m;
}
