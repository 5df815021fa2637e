#pragma once

#include "app/AppContext.h"
#include "livecheck/CalendarList.h"

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
// window reads the page's text and builds the calendar list from it. Its grid
// takes up to five callsigns of the user's own, which join the DXpedition
// list each time the window closes.
class Tdxcalendar : public QWidget
{
    Q_OBJECT
public:
    explicit Tdxcalendar(const AppContext& ctx, QWidget* parent = nullptr);
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

    // FinalstringList; absent until the first activation.
    const CalendarList& calendar() const { return m_calendar; }

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
    // The window was closed, by any means (the grid is to be read).
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
    CalendarList m_calendar;
    CalendarPage* m_page = nullptr;
    quint64 m_builds = 0; // activations whose list was asked for
};
