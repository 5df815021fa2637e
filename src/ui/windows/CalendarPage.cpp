#include "windows/CalendarPage.h"

#include <QPointer>

namespace {

// The page a link with a target of its own (target="_blank") opens in: it
// never shows anything, it only hands the first address it is sent to over
// to the calendar page, and goes.
class NewWindowCatcher : public QWebEnginePage
{
public:
    NewWindowCatcher(QWebEngineProfile* profile, std::function<void(const QUrl&)> take,
                     QObject* parent)
        : QWebEnginePage(profile, parent), m_take(std::move(take))
    {
    }

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) override
    {
        if (isMainFrame && m_take) {
            auto take = std::move(m_take);
            m_take = nullptr;
            take(url);
            deleteLater();
        }
        return false;
    }

private:
    std::function<void(const QUrl&)> m_take;
};

} // namespace

CalendarPage::CalendarPage(QWebEngineProfile* profile, const QUrl& pageUrl,
                           std::function<void(const QUrl&)> openUrl, QObject* parent)
    : QWebEnginePage(profile, parent),
      m_pageUrl(pageUrl.adjusted(QUrl::RemoveFragment)),
      m_openUrl(std::move(openUrl))
{
}

bool CalendarPage::opensOutside(const QUrl& url)
{
    const QString scheme = url.scheme().toLower();
    return url.isValid() && !url.host().isEmpty() &&
           (scheme == QLatin1String("http") || scheme == QLatin1String("https"));
}

void CalendarPage::openOutside(const QUrl& url)
{
    const bool clicked = m_lastClick.isValid() && m_lastClick.elapsed() < 1000;
    if (clicked && opensOutside(url) && m_openUrl)
        m_openUrl(url);
}

bool CalendarPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame)
{
    // The widget's own frames, if it has any, load from the provider.
    if (!isMainFrame) {
        const QString scheme = url.scheme().toLower();
        return scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
               url == QUrl(QStringLiteral("about:blank"));
    }
    // The page file itself: its first load, and a jump within it.
    if (url.adjusted(QUrl::RemoveFragment) == m_pageUrl && type != NavigationTypeLinkClicked)
        return true;
    if (type == NavigationTypeLinkClicked) {
        if (url.adjusted(QUrl::RemoveFragment) == m_pageUrl)
            return true;
        openOutside(url);
    }
    return false;
}

QWebEnginePage* CalendarPage::createWindow(WebWindowType)
{
    // Scripts may not open windows, so only a user's click gets here.
    QPointer<CalendarPage> self(this);
    return new NewWindowCatcher(
        profile(),
        [self](const QUrl& url) {
            if (self)
                self->openOutside(url);
        },
        this);
}

QStringList CalendarPage::chooseFiles(FileSelectionMode, const QStringList&, const QStringList&)
{
    return {};
}

void CalendarPage::javaScriptAlert(const QUrl&, const QString&) {}

bool CalendarPage::javaScriptConfirm(const QUrl&, const QString&)
{
    // Also asked before the page would be left: no, it stays.
    return false;
}

bool CalendarPage::javaScriptPrompt(const QUrl&, const QString&, const QString&, QString*)
{
    return false;
}

// The widget's console is the provider's business; the program's own output
// stays readable.
void CalendarPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int,
                                            const QString&)
{
}
