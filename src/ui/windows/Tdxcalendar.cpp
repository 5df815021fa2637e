#include "windows/Tdxcalendar.h"
#include "ui_Tdxcalendar.h"

#include "scaling/TResizeKit.h"
#include "settings/ThemeExemptions.h"
#include "windows/DesignWindow.h"
#include "windows/WebEngineProcess.h"
#include "windows/WrappedLines.h"
#include "livecheck/CalendarText.h"
#include "windows/CalendarPage.h"
#include "windows/CalendarRequestGuard.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QTextCursor>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineSettings>
#include <QWebEngineView>


namespace {

// The client area at 96 dpi; the form (Tdxcalendar.ui) holds the positions.
constexpr QSize kCalendarSize(715, 582);

// A text for a single-quoted script string: nothing in it can end the string
// or the script element.
//   http://h/c.php?a=1&b='x' -> http://h/c.php?a=1&b=\u0027x\u0027
QString scriptString(const QString& text)
{
    QString out;
    for (QChar c : text) {
        if (c.isLetterOrNumber() && c.unicode() < 0x80)
            out += c;
        else if (c.unicode() < 0x80 && QStringLiteral(":/?&=.-_%+#,;~@!$*()").contains(c))
            out += c;
        else
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    }
    return out;
}

// Every division of the page in document order, with its rendered text, each
// followed by a line break. An inner division's text comes again inside each
// outer one. The walk keeps to the limits of CalendarText::bounded (the same
// walk, here in the page), so a widget with endless text sends no more than
// they allow across to the program.
const QString kReadDivisions = QStringLiteral(
    "(function () {"
    "  var maxUnits = %1, maxLines = %2, maxLineLength = %3;"
    "  var lineBreak = /\\r\\n|[\\n\\r\\u2028\\u2029]/g;"
    "  var all = document.getElementsByTagName('div');"
    "  var out = [];"
    "  var used = 0, lines = 0;"
    "  for (var i = 0; i < all.length; i++) {"
    "    var d = all.item(i);"
    "    if (!d) continue;"
    "    var t = String(d.innerText) + '\\n';"
    "    var at = 0;"
    "    lineBreak.lastIndex = 0;"
    "    for (var m = lineBreak.exec(t); m; m = lineBreak.exec(t)) {"
    "      var length = m.index - at;"
    "      var take = Math.min(length, maxLineLength, maxUnits - 2 - used);"
    "      if (take > 0 && take < length) {"
    "        var c = t.charCodeAt(at + take - 1);"
    "        if (c >= 0xD800 && c <= 0xDBFF) take--;"
    "      }"
    "      out.push(t.substring(at, at + take), m[0]);"
    "      used += take + m[0].length;"
    "      lines++;"
    "      if (lines >= maxLines || used >= maxUnits - 2) return out.join('');"
    "      at = m.index + m[0].length;"
    "    }"
    "  }"
    "  return out.join('');"
    "})()")
    .arg(CalendarText::kMaxUnits)
    .arg(CalendarText::kMaxLines)
    .arg(CalendarText::kMaxLineLength);

// The display lines a list is built from: no more than the text may have.
QStringList memoLines(const QString& text, const QFont& font, int width)
{
    QStringList lines = WrappedLines::of(text, font, width);
    if (lines.size() > CalendarText::kMaxLines)
        lines.resize(CalendarText::kMaxLines);
    return lines;
}

} // namespace

Tdxcalendar::Tdxcalendar(const CalendarWindowContext& ctx, CalendarListSink& book,
                         QWidget* parent)
    : QWidget(parent),
      m_widgetUrl(ctx.widgetUrl),
      m_printableUrl(ctx.printableUrl),
      m_showMessage(ctx.showMessage),
      m_openUrl(ctx.openUrl),
      m_book(book)
{
    WebEngineProcess::prepare();
    DesignWindow::setUp(this, kCalendarSize);
    // The program ends with its main window, whether or not this one is open.
    setAttribute(Qt::WA_QuitOnClose, false);
    TempHTMLFilePath = QDir(ctx.programDir).filePath(QStringLiteral("temp.html"));
    createControls();
    DesignWindow::attachScaling(this, kCalendarSize);
    FormCreate();
}

Tdxcalendar::~Tdxcalendar()
{
    // The browser goes first, while this is still a whole calendar window:
    // its page answers a script still running (with no result) as it is
    // destroyed, and that answer must not reach a half-destroyed window.
    delete WebBrowser1;
    WebBrowser1 = nullptr;
    FormDestroy();
}

void Tdxcalendar::createControls()
{
    Ui::Tdxcalendar form;
    form.setupUi(this);
    Label1 = form.Label1;
    WebBrowser1 = form.WebBrowser1;
    Button1 = form.Button1;
    BitBtn3 = form.BitBtn3;
    BitBtn2 = form.BitBtn2;
    BitBtn1 = form.BitBtn1;
    Panel1 = form.Panel1;
    Label2 = form.Label2;
    StringGrid1 = form.StringGrid1;
    Memo1 = form.Memo1;
    Memo2 = form.Memo2;
    ThemeExemptions::apply(this);

    // A profile of the window's own, so its guard watches this page alone.
    const QUrl pageUrl = QUrl::fromLocalFile(TempHTMLFilePath);
    auto* profile = new QWebEngineProfile(this);
    profile->setUrlRequestInterceptor(new CalendarRequestGuard(pageUrl, profile));
    m_page = new CalendarPage(profile, pageUrl, m_openUrl, WebBrowser1);
    WebBrowser1->setPage(m_page);
    // The view draws the page in a child of its own, made as the page loads:
    // the user's clicks arrive there.
    WebBrowser1->installEventFilter(this);
    QWebEngineSettings* settings = WebBrowser1->settings();
    // The local page must be allowed to load the provider's script, and
    // nothing of the user's files.
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);

    // Memo1 and Memo2 are working storage, never shown: Memo1 holds the page
    // text of the last activation, Memo2 the calendar list built from it,
    // each filled a part at a time with nothing to undo.

    connect(Button1, &QPushButton::clicked, this, &Tdxcalendar::Button1Click);
    connect(BitBtn3, &QPushButton::clicked, this, &Tdxcalendar::BitBtn3Click);
    connect(BitBtn1, &QPushButton::clicked, this, &Tdxcalendar::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &Tdxcalendar::BitBtn2Click);
}

void Tdxcalendar::FormCreate()
{
    StringGrid1->setColumnWidth(0, 200);
    StringGrid1->setEditTriggers(QAbstractItemView::AllEditTriggers);
    LoadHTMLCode(pageHtml(m_widgetUrl));
}

QString Tdxcalendar::pageHtml(const QString& widgetUrl)
{
    return QStringLiteral("<!DOCTYPE html>\n<html>\n<head>\n</head>\n<body>\n"
                          "<div id=\"DXNewsCalendar\"></div>\n"
                          "<script>\n"
                          "var s = document.createElement('script');\n"
                          "s.src = '%1';\n"
                          "document.getElementsByTagName('head')[0].appendChild(s);\n"
                          "</script>\n</body>\n</html>\n")
        .arg(scriptString(widgetUrl));
}

void Tdxcalendar::LoadHTMLCode(const QString& HTMLCode)
{
    // A folder without write permission leaves the window without a
    // calendar; the rest of the program does not depend on it.
    QFile file(TempHTMLFilePath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    const QByteArray bytes = HTMLCode.toUtf8();
    const bool written = file.write(bytes) == bytes.size();
    file.close();
    if (written)
        WebBrowser1->load(QUrl::fromLocalFile(TempHTMLFilePath));
}

void Tdxcalendar::Button1Click()
{
    if (m_showMessage)
        m_showMessage(QStringLiteral("Ready ! Go back to Terminal Window"));
    emit liveCheckActivated();
    definisci();
}

void Tdxcalendar::BitBtn3Click()
{
    Button1Click();
}

void Tdxcalendar::setActivationVisible(bool visible)
{
    Button1->setVisible(visible);
    BitBtn3->setVisible(visible);
}

void Tdxcalendar::bringToFront()
{
    show();
    raise();
    activateWindow();
}

void Tdxcalendar::BitBtn1Click()
{
    close();
}

void Tdxcalendar::BitBtn2Click()
{
    if (m_openUrl)
        m_openUrl(QUrl(m_printableUrl));
}

// The browser answers asynchronously, so the list is built in the answer.
void Tdxcalendar::definisci()
{
    QPointer<Tdxcalendar> self(this);
    WebBrowser1->page()->runJavaScript(
        kReadDivisions, QWebEngineScript::ApplicationWorld, [self](const QVariant& result) {
            // No document to read: the list of the last activation stays in
            // use, and the live check is on all the same.
            if (!self || result.typeId() != QMetaType::QString)
                return;
            self->Memo1->clear();
            self->showPageText(++self->m_builds, CalendarText::bounded(result.toString()), 0);
        });
}

int Tdxcalendar::memoTextWidth() const
{
    return Memo1->width() - 2 * Memo1->frameWidth() -
           2 * int(Memo1->document()->documentMargin());
}

// A text box takes a few microseconds for each line it is given, and the page
// text may have 32,768 of them, so it goes into Memo1 a part at a time, one
// part each turn of the event loop; the list is built once it is all there.
void Tdxcalendar::showPageText(quint64 build, const QString& text, qsizetype from)
{
    if (build != m_builds)
        return;
    constexpr qsizetype kUnitsPerTurn = 8192;
    qsizetype to = qMin(text.size(), from + kUnitsPerTurn);
    // A part never ends inside "\r\n" (one line break, not two) or a letter
    // of two code units.
    if (to < text.size() && (text.at(to - 1) == u'\r' || text.at(to - 1).isHighSurrogate()))
        ++to;
    QTextCursor cursor(Memo1->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(text.mid(from, to - from));
    if (to < text.size())
        QTimer::singleShot(0, this, [this, build, text, to] { showPageText(build, text, to); });
    else
        separa();
}

// Laying out a long text and cutting it into its windows takes seconds, so it
// is done on a worker over copies of the text and the font; the window goes on
// meanwhile. The list of the latest activation is the one kept.
void Tdxcalendar::separa()
{
    // The old list is dropped before the new one is built, so the two never
    // take memory at once; until the new one is in place, the list is empty.
    m_book.dropCalendarList();
    Memo2->clear();
    const QString text = Memo1->toPlainText();
    const QFont font = Memo1->font();
    const int width = memoTextWidth();
    const quint64 build = ++m_builds;
    auto* watcher = new QFutureWatcher<CalendarList>(this);
    connect(watcher, &QFutureWatcher<CalendarList>::finished, this, [this, watcher, build] {
        watcher->deleteLater();
        if (build != m_builds)
            return;
        m_book.setCalendarList(watcher->result());
        showList(build, 0);
    });
    watcher->setFuture(QtConcurrent::run([text, font, width] {
        CalendarList list;
        list.rebuild(memoLines(text, font, width));
        return list;
    }));
}

// A text box takes a few microseconds and about 150 bytes for each line it is
// given, and a long page text gives millions of entries, so the list goes
// into Memo2 a part at a time, one part each turn of the event loop, and only
// its first kShownEntries entries. An ordinary calendar gives tens of
// thousands; the list itself, which the live check reads, is always whole.
void Tdxcalendar::showList(quint64 build, qsizetype from)
{
    if (build != m_builds)
        return;
    constexpr qsizetype kEntriesPerTurn = 2000;
    const QStringList& list = m_book.calendarList().FinalstringList();
    const qsizetype shown = qMin(list.size(), kShownEntries);
    const qsizetype to = qMin(shown, from + kEntriesPerTurn);
    QString part;
    for (qsizetype i = from; i < to; ++i) {
        if (i > 0)
            part += QLatin1Char('\n');
        part += list.at(i);
    }
    QTextCursor cursor(Memo2->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(part);
    if (to < shown)
        QTimer::singleShot(0, this, [this, build, to] { showList(build, to); });
    else
        emit calendarListBuilt();
}

QStringList Tdxcalendar::gridCells() const
{
    QStringList cells;
    for (int row = 0; row < StringGrid1->rowCount(); ++row) {
        const QTableWidgetItem* item = StringGrid1->item(row, 0);
        cells.append(item ? item->text() : QString());
    }
    return cells;
}

void Tdxcalendar::closeEvent(QCloseEvent* event)
{
    FormClose();
    QWidget::closeEvent(event);
}

bool Tdxcalendar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == WebBrowser1 && event->type() == QEvent::ChildAdded) {
        if (QObject* child = static_cast<QChildEvent*>(event)->child(); child && child->isWidgetType())
            child->installEventFilter(this);
    } else if (event->type() == QEvent::MouseButtonRelease && m_page) {
        m_page->noteUserClick();
    }
    return QWidget::eventFilter(watched, event);
}

void Tdxcalendar::FormClose()
{
    // A cell still being typed in counts as written.
    // (A cell's editor is a child of the grid's viewport.)
    QWidget* editor = QApplication::focusWidget();
    if (editor && editor->parentWidget() == StringGrid1->viewport())
        QMetaObject::invokeMethod(StringGrid1, "commitData", Q_ARG(QWidget*, editor));
    m_book.addOwnCalls(gridCells());
    emit formClosed();
}

void Tdxcalendar::FormDestroy()
{
    if (!TempHTMLFilePath.isEmpty() && QFile::exists(TempHTMLFilePath))
        QFile::remove(TempHTMLFilePath);
}
