#include "windows/CalendarRequestGuard.h"

#include <QWebEngineUrlRequestInfo>

CalendarRequestGuard::CalendarRequestGuard(const QUrl& pageUrl, QObject* parent)
    : QWebEngineUrlRequestInterceptor(parent), m_pageUrl(pageUrl.adjusted(QUrl::RemoveFragment))
{
}

void CalendarRequestGuard::interceptRequest(QWebEngineUrlRequestInfo& info)
{
    if (!allows(info.requestUrl()))
        info.block(true);
}

bool CalendarRequestGuard::allows(const QUrl& url) const
{
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https"))
        return true;
    // The page itself, with no query: "file:///home/u/marvix/temp.html".
    return url.adjusted(QUrl::RemoveFragment) == m_pageUrl;
}
