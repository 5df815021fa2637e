#pragma once

#include <QUrl>
#include <QWebEngineUrlRequestInterceptor>

// Every request the calendar page makes passes here. The widget's script and
// the provider's resources come over http and https; the page's own file is
// the only local file it may load. Anything else (another file, a folder
// listing, any other scheme) is blocked, so a widget script cannot read the
// user's files and send them away.
class CalendarRequestGuard : public QWebEngineUrlRequestInterceptor
{
    Q_OBJECT
public:
    CalendarRequestGuard(const QUrl& pageUrl, QObject* parent = nullptr);

    void interceptRequest(QWebEngineUrlRequestInfo& info) override;

    // Whether the page may load url.
    //   http://127.0.0.1:8080/calendar.php -> yes;  file:///etc/passwd -> no
    bool allows(const QUrl& url) const;

private:
    QUrl m_pageUrl;
};
