#include "livecheck/CallsignIndex.h"

QString CallsignIndex::fold(const QString& text)
{
    QString folded = text;
    for (QChar& c : folded) {
        const char16_t u = c.unicode();
        if (u >= u'a' && u <= u'z')
            c = QChar(char16_t(u - (u'a' - u'A')));
    }
    return folded;
}

void CallsignIndex::restart(const QString& foldedText)
{
    m_folded.clear();
    m_foldedText = foldedText;
}

void CallsignIndex::rebuild(const QStringList& entries)
{
    m_folded.clear();
    m_foldedText.clear();
    m_folded.reserve(entries.size());
    for (const QString& entry : entries)
        m_folded.insert(fold(entry));
}

bool CallsignIndex::contains(const QString& callsign) const
{
    return !callsign.isEmpty() && m_folded.contains(fold(callsign));
}
