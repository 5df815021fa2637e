#include "livecheck/SpottedList.h"

#include "livecheck/CallsignIndex.h"

bool SpottedList::PopulateListView(const QString& resultString)
{
    const QString folded = CallsignIndex::fold(resultString);
    for (const QString& listed : PrintedResults) {
        if (CallsignIndex::fold(listed) == folded)
            return false;
    }
    PrintedResults.append(resultString);
    while (m_items.size() >= kMaxItems)
        m_items.removeLast();
    m_items.prepend(resultString);
    return true;
}

QUrl SpottedList::lookupLink(const QString& base, const QString& callsign)
{
    // A URL keeps "-._~" as they are, whatever the encoding, so a path step
    // "." or ".." would climb out of the lookup folder: such a word gets no
    // link at all. No callsign has one.
    for (const QString& step : callsign.split(QLatin1Char('/'))) {
        if (step == QLatin1String(".") || step == QLatin1String(".."))
            return QUrl();
    }
    const QByteArray encoded = QUrl::toPercentEncoding(callsign, "/");
    QUrl url(base);
    url.setPath(url.path(QUrl::FullyEncoded) + QString::fromLatin1(encoded), QUrl::StrictMode);
    return url;
}
