#include "FakeClusterNode.h"
#include "LocalHttpServer.h"
#include "MainWindowFixture.h"
#include "TestContext.h"
#include "TlsTestServer.h"

#include "app/LampShape.h"
#include "app/Tform1.h"
#include "livecheck/AlarmSound.h"
#include "scaling/TResizeKit.h"
#include "session/TerminalPane.h"
#include "windows/Tdxcalendar.h"
#include "windows/WebEngineProcess.h"
#include "windows/WrappedLines.h"

#include <QApplication>
#include <QAudioDevice>
#include <QLabel>
#include <QLineEdit>
#include <QMediaDevices>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QTableWidget>
#include <QTextBlock>
#include <QTextLayout>
#include <QToolButton>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <QtTest>

#include <memory>

namespace {

// A calendar widget script as the provider serves one: it fills the page's
// division with a month of DXpeditions, one nested division per row and
// field.
const QByteArray kWidget = R"JS(
(function () {
  var rows = [
    ['01 Dec - 20 Dec', '3Y0K', 'Bouvet Island'],
    ['03 Dec - 15 Dec', 'VP2M/W1AW', 'Montserrat'],
    ['05 Dec - 12 Dec', 'FT8WW', 'Crozet Island'],
    ['06 Dec - 19 Dec', 'TX5S', 'Clipperton'],
    ['07 Dec - 21 Dec', 'E6AD', 'Niue'],
    ['08 Dec - 14 Dec', 'T32AZ', 'Eastern Kiribati'],
    ['09 Dec - 30 Dec', 'FR/F6ABC', 'Réunion'],
    ['10 Dec - 16 Dec', 'ZL7G', 'Chatham Islands'],
    ['11 Dec - 22 Dec', 'VK9XY', 'Christmas'],
    ['12 Dec - 18 Dec', '5W0AB', 'Samoa'],
    ['13 Dec - 20 Dec', 'A35JT', 'Tonga'],
    ['14 Dec - 28 Dec', 'C21TS', 'Nauru'],
    ['15 Dec - 24 Dec', 'H40WA', 'Temotu'],
    ['16 Dec - 31 Dec', 'YJ0AA', 'Vanuatu']
  ];
  var html = '<div class="dxn-title">DXNews.com calendar</div>' +
             '<div class="dxn-month">December 2026</div>';
  for (var i = 0; i < rows.length; i++) {
    html += '<div class="dxn-row"><div class="dxn-date">' + rows[i][0] + '</div>' +
            '<div class="dxn-call">' + rows[i][1] + '</div>' +
            '<div class="dxn-text">' + rows[i][2] + ' QSL via LoTW</div></div>';
  }
  document.getElementById('DXNewsCalendar').innerHTML = html;
})();
)JS";

const QStringList kCalendarCalls = {"3Y0K",  "VP2M/W1AW", "FT8WW", "TX5S",  "E6AD",
                                    "T32AZ", "FR/F6ABC",  "ZL7G",  "VK9XY", "5W0AB",
                                    "A35JT", "C21TS",     "H40WA", "YJ0AA"};

QByteArray spot(const QString& call)
{
    return QStringLiteral("DX de W3LPL:     14025.0  %1 CW 599                    2330Z\r\n")
        .arg(call.leftJustified(12))
        .toUtf8();
}

// What Re1 shows of that spot: its first 60 characters.
QString shown(const QString& call)
{
    return QString::fromUtf8(spot(call)).left(60);
}

const QString kMarker = QStringLiteral(" <------");

QColor centre(QWidget* w)
{
    const QImage image = w->grab().toImage();
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

// The main window with its calendar window, a node to talk to and, when
// asked, a calendar widget and a DXpedition list.
struct LiveWindow
{
    TestContext ctx;
    LocalHttpServer widget;
    FakeClusterNode node;
    std::unique_ptr<Tform1> form;

    // listUrl: where the DXpedition list lies (empty: nowhere).
    void start(bool serveCalendar, const QString& listUrl = {})
    {
        QFile wav(QDir(ctx.dir()).filePath("dx.wav"));
        QVERIFY(wav.open(QIODevice::WriteOnly));
        wav.write(wavBytes());
        wav.close();
        AppContext app = ctx.make();
        if (serveCalendar) {
            QVERIFY(widget.start());
            widget.setReply(LocalHttpServer::response(
                200, "OK", {"Content-Type: application/javascript; charset=utf-8"}, kWidget));
            app.hosts.calendarWidget = widget.url("/calendar.php?width=21&lang=en");
        }
        if (!listUrl.isEmpty())
            app.hosts.dxpeditionList = listUrl;
        form = std::make_unique<Tform1>(app);
        QSignalSpy loaded(form->calendarWindow()->WebBrowser1, &QWebEngineView::loadFinished);
        form->show();
        QTRY_VERIFY_WITH_TIMEOUT(!loaded.isEmpty(), 30000);
        MainWindowFixture::chooseNode(*form, "127.0.0.1", QString::number(node.port()));
        QTest::mouseClick(form->BitBtn2, Qt::LeftButton);
        QVERIFY(node.waitForClient());
        QTRY_VERIFY_WITH_TIMEOUT(form->isConnected(), 5000);
    }

    void activate()
    {
        QSignalSpy built(form->calendarWindow(), &Tdxcalendar::calendarListBuilt);
        form->SpeedButton3->click();
        QTRY_VERIFY_WITH_TIMEOUT(!built.isEmpty(), 30000);
    }

    static QByteArray wavBytes() { return QByteArray("RIFF") + QByteArray(40, 'w'); }

    // Sends a spot and waits until Re1 has one more line; returns that line.
    QString spotted(const QString& call)
    {
        const int before = form->Re1->lineCount();
        node.send(spot(call));
        if (!QTest::qWaitFor([&] { return form->Re1->lineCount() > before; }, 5000))
            return QStringLiteral("(nothing shown)");
        return form->Re1->line(form->Re1->lineCount() - 1);
    }

    QStringList listed() const
    {
        QStringList out;
        for (int i = 0; i < form->ListView1->count(); ++i)
            out << form->ListView1->item(i)->text();
        return out;
    }

    int alarms() const { return form->alarm->playRequests(); }
};

} // namespace

class TestCalendar : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void windowMadeHiddenWithItsControls_data();
    void windowMadeHiddenWithItsControls();
    void pageFileWrittenAndRemoved();
    void activationAndFirstHit();
    void hits_data();
    void hits();
    void thirteenHitsLeaveTwelveNewest();
    void mutedHitIsSilent();
    void gridCallsignsJoinAtClose();
    void calendarUnreachable();
    void nothingBeforeActivation();
    void lookupOpensOnClick();
    void memoLinesBreakWhereTheBoxBreaks();
    void demoGivesHitsSoonAfterActivation();

private:
    std::unique_ptr<TlsTestServer> m_list;
    std::unique_ptr<LiveWindow> m_shared; // activated, for the table of hits
    // A window the layout rows only read, made at the first of them.
    struct LayoutWindow
    {
        TestContext ctx;
        Tform1 form{ctx.make()};
    };
    std::unique_ptr<LayoutWindow> m_layout;
};

void TestCalendar::initTestCase()
{
    m_list = std::make_unique<TlsTestServer>();
    m_list->addFile("listadxdolv.txt", "jw0x\r\nKH1/KH7Z\r\nT31EU \r\n");
    QVERIFY2(m_list->start(), qPrintable(m_list->errorString()));
}

void TestCalendar::cleanupTestCase()
{
    m_layout.reset();
    m_shared.reset();
    m_list.reset();
}

void TestCalendar::windowMadeHiddenWithItsControls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("hint");
    QTest::newRow("Label1") << "Label1"
                            << "Dx Calendar for ACTUAL MONTH from DXNEWS served through their "
                               "own script."
                            << "";
    QTest::newRow("Button1") << "Button1"
                             << "Live Check of SPOTS with Dxpeditions on air.   PRESS TO SET "
                                "ACTIVE"
                             << "";
    QTest::newRow("BitBtn3") << "BitBtn3" << "" << "";
    QTest::newRow("BitBtn1") << "BitBtn1" << "Back to Terminal" << "";
    QTest::newRow("BitBtn2") << "BitBtn2" << " printable PDF available here" << "";
    QTest::newRow("Panel1") << "Panel1" << ""
                            << "Note that list will reset only when closing app";
}

void TestCalendar::windowMadeHiddenWithItsControls()
{
    QFETCH(QString, name);
    if (!m_layout)
        m_layout = std::make_unique<LayoutWindow>();
    Tdxcalendar* cal = m_layout->form.calendarWindow();
    QVERIFY(cal);
    QVERIFY(!cal->isVisible());
    QCOMPARE(cal->windowTitle(), QString("Dx calendar"));
    QCOMPARE(cal->size(), QSize(715, 582));
    QCOMPARE(cal->WebBrowser1->size(), QSize(699, 393));
    QVERIFY(cal->WebBrowser1->settings()->testAttribute(
        QWebEngineSettings::LocalContentCanAccessRemoteUrls));
    QCOMPARE(cal->StringGrid1->columnCount(), 1);
    QCOMPARE(cal->StringGrid1->rowCount(), 5);
    QCOMPARE(cal->StringGrid1->columnWidth(0), 200);
    QVERIFY(cal->StringGrid1->editTriggers() != QAbstractItemView::NoEditTriggers);
    QVERIFY(cal->Memo1->isHidden());
    QVERIFY(cal->Memo2->isHidden());
    QCOMPARE(cal->Memo1->width(), 361);
    QVERIFY(cal->findChild<TResizeKit*>("ResizeKit1"));

    auto* control = cal->findChild<QWidget*>(name);
    QVERIFY(control);
    if (auto* label = qobject_cast<QLabel*>(control))
        QTEST(label->text(), "caption");
    if (auto* button = qobject_cast<QPushButton*>(control))
        QTEST(button->text(), "caption");
    QTEST(control->toolTip(), "hint");
}

void TestCalendar::pageFileWrittenAndRemoved()
{
    TestContext ctx;
    const QString page = QDir(ctx.dir()).filePath("temp.html");
    {
        AppContext app = ctx.make();
        app.hosts.calendarWidget = "http://127.0.0.1:9/calendar.php?width=21&lang=en&x='</script>";
        app.calendarAtStart = true;
        Tform1 w(app);
        // The calendar window comes once the main window has been painted,
        // hidden.
        QVERIFY(!w.dxcalendar);
        QVERIFY(!QFile::exists(page));
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTRY_VERIFY(w.dxcalendar);
        QVERIFY(!w.dxcalendar->isVisible());
        QCOMPARE(w.calendarWindow(), w.dxcalendar);
        QFile file(page);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(file.readAll());
        QVERIFY(html.contains("<div id=\"DXNewsCalendar\"></div>"));
        // The address cannot end the script string nor the script.
        QVERIFY(html.contains("http://127.0.0.1:9/calendar.php?width=21&lang=en&x=\\u0027"
                              "\\u003c/script\\u003e"));
        QTRY_COMPARE_WITH_TIMEOUT(w.calendarWindow()->WebBrowser1->url(), QUrl::fromLocalFile(page),
                                  30000);
        // Closed while the page is being read: the browser answers the
        // script as it goes, and the answer must find a whole window (the
        // sanitizer build stops on a call into a half-destroyed one).
        w.calendarWindow()->definisci();
    }
    QVERIFY(!QFile::exists(page));
}

void TestCalendar::activationAndFirstHit()
{
    LiveWindow lw;
    lw.start(true);
    Tform1& w = *lw.form;
    QVERIFY(!w.liveCheckOn());
    lw.activate();
    QCOMPARE(lw.ctx.messages,
             (QStringList{"Live check activated", "Ready ! Go back to Terminal Window"}));
    QVERIFY(w.liveCheckOn());
    QVERIFY(w.calendarWindow()->isVisible());
    QVERIFY(w.calendarWindow()->Button1->isHidden());
    QVERIFY(w.calendarWindow()->BitBtn3->isHidden());
    // The page text: every division, the outer one first.
    QVERIFY(w.calendarWindow()->Memo1->toPlainText().startsWith("DXNews.com calendar\nDecember 2026\n"));
    QVERIFY(w.calendarWindow()->calendar().FinalstringList().size() > 1000);
    QVERIFY(w.calendarWindow()->Memo2->toPlainText().startsWith(
        w.calendarWindow()->calendar().FinalstringList().first() + "\n"));
    QTRY_COMPARE(centre(w.ShapeLED2), QColor(0, 255, 0));

    const int counted = w.countedLines();
    const int re3 = w.Re3->lineCount();
    QCOMPARE(lw.spotted("3Y0K"), shown("3Y0K") + kMarker);
    QCOMPARE(w.Re3->line(re3), shown("3Y0K") + "  23:30");
    QCOMPARE(lw.listed(), QStringList{"3Y0K"});
    QCOMPARE(lw.alarms(), 1);
    QCOMPARE(w.alarm->requestedBytes(), LiveWindow::wavBytes());
    if (!QMediaDevices::defaultAudioOutput().isNull())
        QCOMPARE(w.alarm->playerBytes(), LiveWindow::wavBytes());
    QCOMPARE(w.countedLines(), counted); // a hit is not counted

    // Again: marked and copied again, announced again, listed once.
    QCOMPARE(lw.spotted("3Y0K"), shown("3Y0K") + kMarker);
    QCOMPARE(w.Re3->lineCount(), re3 + 2);
    QCOMPARE(lw.listed(), QStringList{"3Y0K"});
    QCOMPARE(lw.alarms(), 2);

    // The lamp follows the session, the live check stays on.
    w.BitBtn3Click();
    QTRY_COMPARE(centre(w.ShapeLED2), QColor(255, 0, 0));
    QVERIFY(w.liveCheckOn());
    QTRY_VERIFY(w.BitBtn2->isEnabled());
    QTest::mouseClick(w.BitBtn2, Qt::LeftButton);
    QVERIFY(lw.node.waitForClient());
    QTRY_COMPARE(centre(w.ShapeLED2), QColor(0, 255, 0));
}

void TestCalendar::hits_data()
{
    QTest::addColumn<QString>("call");
    QTest::addColumn<bool>("hit");
    QTest::newRow("calendar callsign") << "TX5S" << true;
    QTest::newRow("calendar callsign in lower case") << "vk9xy" << true;
    QTest::newRow("portable calendar callsign") << "VP2M/W1AW" << true;
    QTest::newRow("any piece of the calendar text") << "ISLAND" << true;
    QTest::newRow("nine characters of the text") << "MONTSERRA" << true;
    QTest::newRow("ten characters of the text") << "MONTSERRAT" << false;
    QTest::newRow("two characters of the text") << "3Y" << false;
    QTest::newRow("not in the calendar") << "K1ABC" << false;
    QTest::newRow("letter beyond A-Z as written") << "Réunion" << true;
    QTest::newRow("letter beyond A-Z in capitals") << "RÉUNION" << false;
    QTest::newRow("DXpedition list, written in lower case") << "JW0X" << true;
    QTest::newRow("DXpedition list entry with a blank") << "T31EU" << false;
    QTest::newRow("first three lines of the text") << "DXNEWS" << true; // repeated by its division
}

void TestCalendar::hits()
{
    QFETCH(QString, call);
    QFETCH(bool, hit);
    if (!m_shared) {
        m_shared = std::make_unique<LiveWindow>();
        m_shared->start(true, m_list->url("/listadxdolv.txt"));
        m_shared->activate();
    }
    const QString line = m_shared->spotted(call);
    QCOMPARE(line.endsWith(kMarker), hit);
    QCOMPARE(line, shown(call) + (hit ? kMarker : ""));
}

void TestCalendar::thirteenHitsLeaveTwelveNewest()
{
    LiveWindow lw;
    lw.start(true);
    lw.activate();
    QStringList newestFirst;
    for (const QString& call : kCalendarCalls.mid(0, 13)) {
        QVERIFY(lw.spotted(call).endsWith(kMarker));
        newestFirst.prepend(call);
    }
    QCOMPARE(lw.listed(), newestFirst.mid(0, 12));
    // The first one is gone and does not come back.
    QVERIFY(lw.spotted(kCalendarCalls.first()).endsWith(kMarker));
    QCOMPARE(lw.listed(), newestFirst.mid(0, 12));
    QCOMPARE(lw.alarms(), 14);
}

void TestCalendar::mutedHitIsSilent()
{
    LiveWindow lw;
    lw.start(true);
    lw.activate();
    Tform1& w = *lw.form;
    QCOMPARE(centre(w.Shape1), QColor(0, 255, 0));
    QTest::mouseClick(w.Label1, Qt::LeftButton);
    QCOMPARE(centre(w.Shape1), QColor(255, 0, 0));
    QCOMPARE(w.Shape1->accessibleName(), QString("Dx sound: muted"));
    QVERIFY(!w.soundOn());
    const int re3 = w.Re3->lineCount();
    QCOMPARE(lw.spotted("E6AD"), shown("E6AD") + kMarker);
    QCOMPARE(w.Re3->lineCount(), re3 + 1);
    QCOMPARE(lw.listed(), QStringList{"E6AD"});
    QCOMPARE(lw.alarms(), 0);
    // Twice: sound on again, lime again.
    QTest::mouseClick(w.Label1, Qt::LeftButton);
    QCOMPARE(centre(w.Shape1), QColor(0, 255, 0));
    QCOMPARE(w.Shape1->accessibleName(), QString("Dx sound: on"));
    QVERIFY(lw.spotted("E6AD").endsWith(kMarker));
    QCOMPARE(lw.alarms(), 1);
}

void TestCalendar::gridCallsignsJoinAtClose()
{
    LiveWindow lw;
    lw.start(false);
    Tform1& w = *lw.form;
    w.SpeedButton2->click();
    Tdxcalendar* cal = w.calendarWindow();
    QVERIFY(cal->isVisible());
    QVERIFY(cal->Button1->isVisible());
    QVERIFY(cal->BitBtn3->isVisible());
    QTest::mouseClick(cal->BitBtn3, Qt::LeftButton); // activation from the calendar window
    QVERIFY(w.liveCheckOn());
    QCOMPARE(lw.ctx.messages, QStringList{"Ready ! Go back to Terminal Window"});

    const QStringList cells = {"  zs8w ", "", "   ", "VP8/G4ABC", "OJ0C"};
    for (int row = 0; row < 5; ++row)
        cal->StringGrid1->setItem(row, 0, new QTableWidgetItem(cells[row]));
    QVERIFY(!lw.spotted("ZS8W").endsWith(kMarker)); // not before the close
    QTest::mouseClick(cal->BitBtn1, Qt::LeftButton);
    QVERIFY(!cal->isVisible());
    QCOMPARE(w.dxpeditions().StringListShort, (QStringList{"zs8w", "VP8/G4ABC", "OJ0C"}));
    for (const QString& call : QStringList{"ZS8W", "VP8/G4ABC", "oj0c"})
        QVERIFY2(lw.spotted(call).endsWith(kMarker), qPrintable(call));

    // Opened again and closed with its close box: the grid counts again,
    // and a callsign erased from it stays in the list.
    w.SpeedButton2->click();
    QVERIFY(w.dxpeditions().StringListShort.isEmpty());
    cal->StringGrid1->item(4, 0)->setText(QString());
    cal->StringGrid1->item(0, 0)->setText("3D2AG");
    cal->close();
    QCOMPARE(w.dxpeditions().StringListShort, (QStringList{"3D2AG", "VP8/G4ABC"}));
    QVERIFY(lw.spotted("3D2AG").endsWith(kMarker));
    QVERIFY(lw.spotted("OJ0C").endsWith(kMarker));
}

void TestCalendar::calendarUnreachable()
{
    LiveWindow lw;
    lw.start(false, m_list->url("/listadxdolv.txt"));
    lw.activate();
    Tform1& w = *lw.form;
    QCOMPARE(lw.ctx.messages,
             (QStringList{"Live check activated", "Ready ! Go back to Terminal Window"}));
    QVERIFY(w.liveCheckOn());
    QVERIFY(w.calendarWindow()->calendar().exists());
    QVERIFY(w.calendarWindow()->calendar().FinalstringList().isEmpty());
    QCOMPARE(lw.spotted("JW0X"), shown("JW0X") + kMarker);
    QVERIFY(!lw.spotted("3Y0K").endsWith(kMarker));
}

void TestCalendar::nothingBeforeActivation()
{
    LiveWindow lw;
    lw.start(true, m_list->url("/listadxdolv.txt"));
    Tform1& w = *lw.form;
    const int counted = w.countedLines();
    const int re3 = w.Re3->lineCount();
    QCOMPARE(lw.spotted("JW0X"), shown("JW0X"));
    QCOMPARE(w.countedLines(), counted + 1);
    QCOMPARE(w.Re3->lineCount(), re3);
    QVERIFY(lw.listed().isEmpty());
    QCOMPARE(lw.alarms(), 0);
    QCOMPARE(centre(w.ShapeLED2), QColor(255, 0, 0));
}

void TestCalendar::lookupOpensOnClick()
{
    LiveWindow lw;
    lw.start(true);
    lw.activate();
    Tform1& w = *lw.form;
    QVERIFY(lw.spotted("VP2M/W1AW").endsWith(kMarker));
    QVERIFY(lw.spotted("FR/F6ABC").endsWith(kMarker));
    QListWidget* list = w.ListView1;
    // Where no item is, nothing opens.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(10, list->viewport()->height() - 5));
    QVERIFY(lw.ctx.openedUrls.isEmpty());
    const QRect second = list->visualItemRect(list->item(1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second.center());
    QCOMPARE(lw.ctx.openedUrls, QList<QUrl>{QUrl("https://www.qrz.com/db/VP2M/W1AW")});
}

// The calendar list is cut from the lines the hidden box shows, so a long
// text line must break where a box of that width and font breaks it.
void TestCalendar::memoLinesBreakWhereTheBoxBreaks()
{
    QPlainTextEdit box;
    box.setFont(QFont("Segoe UI", 9));
    box.setLineWrapMode(QPlainTextEdit::WidgetWidth);
    box.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box.resize(361, 400);
    const QString text =
        "01 Dec - 20 Dec 3Y0K Bouvet Island, a Norwegian dependency in the South Atlantic, "
        "QRV on 160-6 m in CW SSB FT8 with four stations\nshort line\n"
        "ABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJKLMNOPQRSTUVWXYZ0123\n";
    box.setPlainText(text);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QStringList boxLines;
    for (QTextBlock b = box.document()->begin(); b.isValid(); b = b.next()) {
        QTextLayout* layout = b.layout();
        for (int i = 0; i < layout->lineCount(); ++i)
            boxLines << b.text().mid(layout->lineAt(i).textStart(), layout->lineAt(i).textLength());
        if (layout->lineCount() == 0)
            boxLines << b.text();
    }
    const int width = 361 - 2 * box.frameWidth() - 2 * int(box.document()->documentMargin());
    const QStringList lines = WrappedLines::of(text, box.font(), width);
    QCOMPARE(lines, boxLines);
    QVERIFY(lines.size() > 5); // both long lines were broken
    QCOMPARE(lines.last(), QString());
}

// The demo as a user runs it: the demo web host's calendar and list, the
// node simulator spotting some of their DXpeditions.
void TestCalendar::demoGivesHitsSoonAfterActivation()
{
    const QString simPath = qEnvironmentVariable("MARVIX_SIM");
    QVERIFY2(!simPath.isEmpty(), "MARVIX_SIM names the node simulator (set by ctest)");
    QTemporaryDir dir;
    QProcess host;
    host.start(QStringLiteral(MARVIX_WEBHOST), {"--hosts-file", dir.filePath("hosts.ini")});
    QVERIFY2(host.waitForStarted(5000), qPrintable(host.errorString()));
    QByteArray out;
    while (!out.contains("ready\n") && host.waitForReadyRead(15000))
        out += host.readAllStandardOutput();
    QVERIFY2(out.contains("ready\n"), host.readAllStandardError().constData());
    const QSettings hosts(dir.filePath("hosts.ini"), QSettings::IniFormat);

    // The same simulator options as the demo script, a faster stream.
    QProcess sim;
    sim.start(simPath, {"--port", "0", "--rate", "20", "--seed", "8", "--dxpeditions",
                        "3Y0K,TX5S,FT8WW,ZL7G,E6AD,VK9XY,E51D,9N7AA"});
    QVERIFY(sim.waitForStarted(5000));
    QByteArray simOut;
    while (!simOut.contains("\n") && sim.waitForReadyRead(5000))
        simOut += sim.readAllStandardOutput();
    const QRegularExpression listening("listening on 127\\.0\\.0\\.1:(\\d+)");
    const QRegularExpressionMatch m = listening.match(QString::fromLatin1(simOut));
    QVERIFY2(m.hasMatch(), simOut.constData());

    TestContext ctx;
    AppContext app = ctx.make();
    app.hosts.calendarWidget = hosts.value("Hosts/CalendarWidget").toString();
    app.hosts.dxpeditionList = hosts.value("Hosts/DxpeditionList").toString();
    QVERIFY(app.hosts.calendarWidget.startsWith("http://127.0.0.1:"));
    Tform1 w(app);
    QSignalSpy loaded(w.calendarWindow()->WebBrowser1, &QWebEngineView::loadFinished);
    w.show();
    QTRY_VERIFY_WITH_TIMEOUT(!loaded.isEmpty(), 30000);
    QVERIFY(w.dxpeditions().FinalstringListDolv.contains("E51D"));
    MainWindowFixture::chooseNode(w, "127.0.0.1", m.captured(1));
    QTest::mouseClick(w.BitBtn2, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(w.isConnected(), 5000);
    QTRY_VERIFY_WITH_TIMEOUT(w.Re1->toPlainText().contains("login:"), 5000);
    w.EditCommand->setText("N0CALL");
    w.BitBtn5Click();
    QSignalSpy built(w.calendarWindow(), &Tdxcalendar::calendarListBuilt);
    w.SpeedButton3->click();
    QTRY_VERIFY_WITH_TIMEOUT(!built.isEmpty(), 30000);
    QVERIFY(w.calendarWindow()->Memo1->toPlainText().contains("FT8WW"));

    // Calls of the calendar alone and of the list alone both come up.
    QTRY_VERIFY_WITH_TIMEOUT(w.ListView1->count() >= 4, 60000);
    QStringList listed;
    for (int i = 0; i < w.ListView1->count(); ++i)
        listed << w.ListView1->item(i)->text();
    QVERIFY2(w.Re1->toPlainText().contains(" <------"), qPrintable(listed.join(' ')));
    QVERIFY(w.Re3->lineCount() >= 2 + 4);

    sim.terminate();
    host.terminate();
    QVERIFY(sim.waitForFinished(5000));
    QVERIFY(host.waitForFinished(5000));
}

int main(int argc, char** argv)
{
    WebEngineProcess::prepare();
    QApplication app(argc, argv);
    Q_INIT_RESOURCE(resources);
    TestCalendar test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_calendar.moc"
