#pragma once

#include "livecheck/CalendarListSink.h"
#include "windows/CalendarWindowContext.h"

#include <QStringList>
#include <QWidget>

class CalendarPage;
class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;
class QWebEngineView;

// The DX calendar window. Its browser shows this month's DXpeditions from the
// calendar provider's widget script; at each activation of the live check the
// window reads the page's text, builds the calendar list from it and hands
// the list to the live check. Its grid takes up to five callsigns of the
// user's own, which it hands on each time the window closes, to join the
// DXpedition list.
class Tdxcalendar : public QWidget
{
    Q_OBJECT
public:
    // The lists go to book, which must outlive the window.
    Tdxcalendar(const CalendarWindowContext& ctx, CalendarListSink& book,
                QWidget* parent = nullptr);
    ~Tdxcalendar() override;

    // --- controls ---------------------------------------------------------
    QLabel* Label1 = nullptr;
    QWebEngineView* WebBrowser1 = nullptr;
    QPushButton* Button1 = nullptr; // activation
    QPushButton* BitBtn3 = nullptr; // activation, picture only
    QPushButton* BitBtn1 = nullptr; // Back to Terminal
    QPushButton* BitBtn2 = nullptr; // printable calendar
    QFrame* Panel1 = nullptr;
    QLabel* Label2 = nullptr;
    QTableWidget* StringGrid1 = nullptr;
    QPlainTextEdit* Memo1 = nullptr; // the page text of the last activation
    QPlainTextEdit* Memo2 = nullptr; // the calendar list built from it

    // The page file in the program folder.
    QString TempHTMLFilePath;

    // --- handlers ---------------------------------------------------------
    void LoadHTMLCode(const QString& HTMLCode);
    void Button1Click();
    void BitBtn3Click();
    void BitBtn1Click();
    void BitBtn2Click();
    void definisci();
    void separa();

    // FinalstringList, as handed to the book; absent until the first
    // activation.
    const CalendarList& calendar() const { return m_book.calendarList(); }

    // The two activation buttons, Button1 and BitBtn3, shown or hidden.
    void setActivationVisible(bool visible);
    // Shown, not modally, raised and activated.
    void bringToFront();

    // The text of the grid's five cells, first row first.
    QStringList gridCells() const;

    // The page that loads the widget script from widgetUrl into its division.
    static QString pageHtml(const QString& widgetUrl);

    // The most entries of the calendar list Memo2 holds.
    static constexpr qsizetype kShownEntries = 400000;

    // The width the hidden text box lays its lines out in.
    int memoTextWidth() const;

signals:
    // An activation: the live check is on from now.
    void liveCheckActivated();
    // The window was closed, by any means (its grid has been handed on).
    void formClosed();
    // A new calendar list is in place.
    void calendarListBuilt();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void FormCreate();
    void FormClose();
    void FormDestroy();
    void showPageText(quint64 build, const QString& text, qsizetype from);
    void showList(quint64 build, qsizetype from);

    QString m_widgetUrl;
    QString m_printableUrl;
    std::function<void(const QString&)> m_showMessage;
    std::function<void(const QUrl&)> m_openUrl;
    CalendarListSink& m_book;
    CalendarPage* m_page = nullptr;
    quint64 m_builds = 0; // activations whose list was asked for
};
