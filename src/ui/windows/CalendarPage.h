#pragma once

#include <QElapsedTimer>
#include <QUrl>
#include <QWebEnginePage>

#include <functional>

// The calendar window's page. The widget script in it is the provider's, so
// the page keeps it in its place: it raises no dialogs (alert, confirm,
// prompt, leave-this-page, file choosers), it never leaves its own page file,
// and a link the user clicks goes to the desktop browser only when it is an
// http or https address.
class CalendarPage : public QWebEnginePage
{
    Q_OBJECT
public:
    CalendarPage(QWebEngineProfile* profile, const QUrl& pageUrl,
                 std::function<void(const QUrl&)> openUrl, QObject* parent = nullptr);

    // Whether a clicked address may go to the desktop browser.
    //   https://dxnews.com/3y0k/ -> yes;  mailto:a@b.c, dxn:x, file:///etc -> no
    static bool opensOutside(const QUrl& url);

    // The user has just clicked in the view. A script's own navigation comes
    // as a link click too; only one that follows a real click within a second
    // goes to the desktop browser.
    void noteUserClick() { m_lastClick.start(); }

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage* createWindow(WebWindowType type) override;
    QStringList chooseFiles(FileSelectionMode mode, const QStringList& oldFiles,
                            const QStringList& acceptedMimeTypes) override;
    void javaScriptAlert(const QUrl& securityOrigin, const QString& msg) override;
    bool javaScriptConfirm(const QUrl& securityOrigin, const QString& msg) override;
    bool javaScriptPrompt(const QUrl& securityOrigin, const QString& msg,
                          const QString& defaultValue, QString* result) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                  int lineNumber, const QString& sourceID) override;

private:
    void openOutside(const QUrl& url);

    QUrl m_pageUrl;
    QElapsedTimer m_lastClick;
    std::function<void(const QUrl&)> m_openUrl;
};
