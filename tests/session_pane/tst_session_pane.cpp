#include "session/TerminalPane.h"

#include <QFontDatabase>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

namespace {

constexpr int kMargin = 4;

// The pane as a plain, unoptimised painter draws it: every visible line shaped
// and drawn whole, with the selection behind it. What the user sees must stay
// exactly this.
QImage reference(const TerminalPane& pane)
{
    QImage img(pane.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    img.fill(pane.palette().color(QPalette::Base));
    QPainter p(&img);
    p.setFont(pane.font());
    const QFontMetrics fm(pane.font());
    const int h = fm.lineSpacing();
    const int top = pane.verticalScrollBar()->value();
    const int x0 = kMargin - pane.horizontalScrollBar()->value();
    const TerminalPane::Position from = pane.selectionStart();
    const TerminalPane::Position to = pane.selectionEnd();
    for (int r = 0; r < img.height() / h + 2; ++r) {
        const int l = top + r;
        if (l >= pane.lineCount())
            break;
        const QString s = pane.line(l);
        if (from != to && l >= from.line && l <= to.line) {
            const int a = l == from.line ? from.column : 0;
            const int b = l == to.line ? to.column : int(s.size());
            const int xa = x0 + fm.horizontalAdvance(s.left(a));
            const int xb =
                x0 + fm.horizontalAdvance(s.left(b)) + (l == to.line ? 0 : fm.averageCharWidth());
            p.fillRect(QRect(xa, r * h, xb - xa, h), pane.palette().color(QPalette::Highlight));
        }
        p.setPen(pane.textColor());
        p.drawText(x0, r * h + fm.ascent(), s);
    }
    return img;
}

QImage fresh(TerminalPane& pane)
{
    return pane.viewport()->grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// What the screen holds for the viewport: the pixels kept from earlier paints
// and moved by scrolling, not a new paint.
QImage onScreen(TerminalPane& pane)
{
    QWidget* vp = pane.viewport();
    const QPoint at = vp->mapTo(vp->window(), QPoint(0, 0));
    return pane.screen()
        ->grabWindow(vp->window()->winId(), at.x(), at.y(), vp->width(), vp->height())
        .toImage()
        .convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// Lets the pane show its next frame: at least the 40 ms a frame takes, then
// until the pane has no frame waiting and the paint has reached the screen,
// however late a busy machine lets the frame's timer fire.
void nextFrame(const TerminalPane& pane)
{
    QTest::qWait(40);
    QVERIFY(QTest::qWaitFor([&] { return !pane.framePending(); }, 10000));
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

QString spot(int i)
{
    return QStringLiteral("DX de W3LPL:     21021.0  VP2MXX       CW 579 up 2  %1Z").arg(i, 4, 10,
                                                                                         QChar('0'));
}

class PaintLog : public QObject
{
public:
    QList<QRegion> regions;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            regions << static_cast<QPaintEvent*>(e)->region();
        return false;
    }
};

} // namespace

class TestSessionPane : public QObject
{
    Q_OBJECT
private slots:
    void showsWhatAPlainPainterDraws_data();
    void showsWhatAPlainPainterDraws();
    void newLinesScrollTheScreen();
    void scrollBarPaintsOnlyWhatMoved();
    void oldestLinesDroppedInBlocks();
    void droppedLinesInViewLeaveTheScreen();
    void selectionStaysOnItsLines_data();
    void selectionStaysOnItsLines();
    void longLineShownInPartsAndReadWhole();
    void longLinesKeptWithinTheCharacterLimit();
    void geometryForReaders();
};

void TestSessionPane::showsWhatAPlainPainterDraws_data()
{
    QTest::addColumn<QString>("family"); // "" keeps the pane's own font
    QTest::addColumn<bool>("select");
    QTest::addColumn<int>("scrollX");
    QTest::newRow("default font") << QString() << false << 0;
    QTest::newRow("default font, selection over lines") << QString() << true << 0;
    QTest::newRow("fixed font, scrolled right") << QStringLiteral("fixed") << true << 37;
}

void TestSessionPane::showsWhatAPlainPainterDraws()
{
    QFETCH(QString, family);
    QFETCH(bool, select);
    QFETCH(int, scrollX);

    QWidget window;
    TerminalPane pane(&window);
    pane.setGeometry(0, 0, 500, 200);
    if (!family.isEmpty())
        pane.setPaneFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    pane.setTextColor(QColor(200, 40, 40));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    for (int i = 0; i < 30; ++i) {
        if (i % 7 == 3)
            pane.appendEntry(QStringLiteral("To ALL de EA8ABC: caf\u00e9 \u00e0 l'heure, "
                                            "very long announcement that runs past "
                                            "the right edge of the pane %1")
                                 .arg(i));
        else if (i % 7 == 5) // other scripts (fonts of their own), blanks at the end
            pane.appendEntry(QStringLiteral("UA3ABC: \u041c\u043e\u0441\u043a\u0432\u0430 "
                                            "\u6771\u4eac \u03b1\u03b2 \u05e9\u05dc\u05d5\u05dd ok %1   ")
                                 .arg(i));
        else
            pane.appendEntry(spot(i));
    }
    nextFrame(pane);
    // Each line is as wide as the font's metrics say, trailing blanks included.
    const QFontMetrics fm(pane.font());
    for (int l = 0; l < pane.lineCount(); ++l)
        QCOMPARE(pane.lineRect(l).width(), std::max(1, fm.horizontalAdvance(pane.line(l))));
    if (select) {
        const QRect a = pane.lineRect(pane.lineCount() - 6);
        const QRect b = pane.lineRect(pane.lineCount() - 3);
        QTest::mousePress(pane.viewport(), Qt::LeftButton, {}, QPoint(60, a.center().y()));
        QTest::mouseMove(pane.viewport(), QPoint(130, b.center().y()));
        QTest::mouseRelease(pane.viewport(), Qt::LeftButton, {}, QPoint(130, b.center().y()));
        QVERIFY(!pane.selectedText().isEmpty());
    }
    pane.horizontalScrollBar()->setValue(scrollX);
    nextFrame(pane);
    QCOMPARE(pane.verticalScrollBar()->value(), pane.verticalScrollBar()->maximum());
    QCOMPARE(fresh(pane), reference(pane));
    QCOMPARE(onScreen(pane), reference(pane));
}

void TestSessionPane::newLinesScrollTheScreen()
{
    QWidget window;
    TerminalPane pane(&window);
    pane.setGeometry(0, 0, 500, 200);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    for (int i = 0; i < 40; ++i)
        pane.appendEntry(spot(i));
    nextFrame(pane);

    PaintLog log;
    pane.viewport()->installEventFilter(&log);
    const int row = pane.lineRect(0).height();
    for (int i = 40; i < 50; ++i) {
        pane.appendEntry(spot(i));
        nextFrame(pane);
    }
    // Each new line paints its own row only; the rest was moved on screen.
    QVERIFY(!log.regions.isEmpty());
    for (const QRegion& r : std::as_const(log.regions))
        QVERIFY2(r.boundingRect().height() < 2 * row,
                 qPrintable(QString::number(r.boundingRect().height())));
    QCOMPARE(onScreen(pane), reference(pane));

    // A burst within one frame is painted once.
    log.regions.clear();
    for (int i = 50; i < 53; ++i)
        pane.appendEntry(spot(i));
    nextFrame(pane);
    QCOMPARE(log.regions.size(), 1);
    QCOMPARE(onScreen(pane), reference(pane));
}

void TestSessionPane::scrollBarPaintsOnlyWhatMoved()
{
    QWidget window;
    TerminalPane pane(&window);
    pane.setGeometry(0, 0, 500, 200);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QScrollBar* bar = pane.verticalScrollBar();
    const auto barOnScreen = [&] {
        const QPoint at = bar->mapTo(&window, QPoint(0, 0));
        return pane.screen()
            ->grabWindow(window.winId(), at.x(), at.y(), bar->width(), bar->height())
            .toImage()
            .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    };
    const auto barRepainted = [&] {
        return bar->grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    };
    PaintLog log;
    bar->installEventFilter(&log);

    // The slider shrinks with every line: only the slider's end is painted,
    // and the screen shows what a full repaint of the bar shows (a grab of
    // the bar paints it in full, so it is left out of the log).
    QList<QRegion> painted;
    for (int i = 0; i < 40; ++i) {
        log.regions.clear();
        pane.appendEntry(spot(i));
        nextFrame(pane);
        painted << log.regions;
        QCOMPARE(barOnScreen(), barRepainted());
    }
    QVERIFY(!painted.isEmpty());
    // Neither the arrows nor the rest of the groove.
    for (const QRegion& r : std::as_const(painted).mid(painted.size() / 2))
        QVERIFY2(r.boundingRect().height() < bar->height() - 2 * bar->width(),
                 qPrintable(QString::number(r.boundingRect().height())));

    // Once the slider has its least length, new lines leave the bar as it
    // is and it is not painted at all.
    for (int i = 40; i < 3000; ++i)
        pane.appendEntry(spot(i));
    nextFrame(pane);
    log.regions.clear();
    for (int i = 3000; i < 3010; ++i) {
        pane.appendEntry(spot(i));
        nextFrame(pane);
    }
    QCOMPARE(log.regions.size(), 0);
    QCOMPARE(barOnScreen(), barRepainted());
    QCOMPARE(onScreen(pane), reference(pane));

    // A new size repaints the bar as it is; the changes after it show right.
    pane.resize(500, 150);
    nextFrame(pane);
    for (int i = 3010; i < 3013; ++i) {
        pane.appendEntry(spot(i));
        nextFrame(pane);
    }
    QCOMPARE(barOnScreen(), barRepainted());
    pane.clear();
    nextFrame(pane);
    for (int i = 0; i < 20; ++i) {
        pane.appendEntry(spot(i));
        nextFrame(pane);
        QCOMPARE(barOnScreen(), barRepainted());
    }
    pane.resize(500, 200);
    nextFrame(pane);
    for (int i = 20; i < 30; ++i) {
        pane.appendEntry(spot(i));
        nextFrame(pane);
        QCOMPARE(barOnScreen(), barRepainted());
    }

    // A move by the user away from the end repaints the bar in full again.
    bar->setValue(0);
    nextFrame(pane);
    QCOMPARE(barOnScreen(), barRepainted());
    QCOMPARE(onScreen(pane), reference(pane));
}

void TestSessionPane::oldestLinesDroppedInBlocks()
{
    TerminalPane pane;
    pane.resize(400, 150);
    pane.setLineLimit(10, 4);
    QSignalSpy dropped(&pane, &TerminalPane::linesRemoved);
    QSignalSpy appended(&pane, &TerminalPane::linesAppended);
    for (int i = 0; i < 10; ++i)
        pane.appendEntry(QString::number(i));
    QCOMPARE(pane.lineCount(), 10);
    QVERIFY(dropped.isEmpty());

    // Line 11 is one too many: the oldest block of 4 goes.
    pane.appendEntry(QStringLiteral("10"));
    QCOMPARE(pane.lineCount(), 7);
    QCOMPARE(pane.line(0), QStringLiteral("4"));
    QCOMPARE(pane.line(6), QStringLiteral("10"));
    QCOMPARE(dropped.size(), 1);
    QCOMPARE(dropped.at(0).at(0).toInt(), 4);
    QCOMPARE(pane.droppedLineCount(), 4);
    QCOMPARE(appended.last().at(0).toInt(), 1);

    // An entry of several lines that overshoots by more than a block: every
    // older line goes, and whoever follows the pane hears of it first.
    dropped.clear();
    appended.clear();
    QList<int> order;
    connect(&pane, &TerminalPane::linesRemoved, &pane, [&](int n) { order << -n; });
    connect(&pane, &TerminalPane::linesAppended, &pane, [&](int n) { order << n; });
    pane.appendEntry(QStringLiteral("a\r\nb\r\nc\r\nd\r\ne\r\nf\r\ng\r\nh"));
    QCOMPARE(order, (QList<int>{-7, 8}));
    QCOMPARE(pane.toPlainText(), QStringLiteral("a\nb\nc\nd\ne\nf\ng\nh"));
    QCOMPARE(pane.droppedLineCount(), 11);

    // An entry longer than the limit keeps its last lines.
    pane.appendEntry(QStringLiteral("1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n12"));
    QCOMPARE(pane.lineCount(), 10);
    QCOMPARE(pane.line(0), QStringLiteral("3"));
    QCOMPARE(pane.line(9), QStringLiteral("12"));
}

// The pane is not full yet, so the lines that go were in view: the rows that
// showed them show the lines kept, not what was there before.
void TestSessionPane::droppedLinesInViewLeaveTheScreen()
{
    QWidget window;
    TerminalPane pane(&window);
    pane.setGeometry(0, 0, 500, 400);
    pane.setLineLimit(10, 4);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    for (int i = 0; i < 10; ++i)
        pane.appendEntry(spot(i));
    nextFrame(pane);
    QCOMPARE(onScreen(pane), reference(pane));

    pane.appendEntry(spot(10)); // spots 0 to 3 go
    nextFrame(pane);
    QCOMPARE(pane.line(0), spot(4));
    QCOMPARE(pane.verticalScrollBar()->value(), 0);
    QCOMPARE(onScreen(pane), reference(pane));
}

void TestSessionPane::selectionStaysOnItsLines_data()
{
    QTest::addColumn<int>("clicked");   // line clicked before the drop
    QTest::addColumn<QString>("reads"); // what a click reads after it; "" for none
    QTest::newRow("kept line") << 7 << QStringLiteral("line 7");
    QTest::newRow("first kept line") << 5 << QStringLiteral("line 5");
    QTest::newRow("dropped line") << 4 << QString();
}

void TestSessionPane::selectionStaysOnItsLines()
{
    QFETCH(int, clicked);
    QFETCH(QString, reads);

    QWidget window;
    TerminalPane pane(&window);
    pane.setGeometry(0, 0, 400, 400);
    pane.setLineLimit(20, 5);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    for (int i = 0; i < 20; ++i)
        pane.appendEntry(QStringLiteral("line %1").arg(i));
    nextFrame(pane);
    pane.verticalScrollBar()->setValue(0);
    nextFrame(pane);
    const QPoint at(20, pane.lineRect(clicked).center().y());
    QTest::mousePress(pane.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseMove(pane.viewport(), at + QPoint(30, 0));
    QCOMPARE(pane.line(pane.selectionStartLine()), QStringLiteral("line %1").arg(clicked));

    pane.appendEntry(QStringLiteral("line 20")); // drops lines 0 to 4
    QTest::mouseRelease(pane.viewport(), Qt::LeftButton, {}, at + QPoint(30, 0));
    QCOMPARE(pane.line(0), QStringLiteral("line 5"));
    const int start = pane.selectionStartLine();
    if (reads.isEmpty()) {
        QCOMPARE(start, -1);
        QVERIFY(pane.selectedText().isEmpty());
    } else {
        QCOMPARE(pane.line(start), reads);
        QVERIFY(reads.contains(pane.selectedText()));
        QVERIFY(!pane.selectedText().isEmpty());
    }
    nextFrame(pane);
    QCOMPARE(onScreen(pane), reference(pane));
}

void TestSessionPane::longLinesKeptWithinTheCharacterLimit()
{
    QWidget window;
    TerminalPane pane(&window);
    pane.setGeometry(0, 0, 400, 200);
    pane.setLineLimit(500, 50);
    pane.setCharacterLimit(10000);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QSignalSpy removed(&pane, &TerminalPane::linesRemoved);

    // Short lines stay within both limits: nothing goes.
    for (int i = 0; i < 100; ++i)
        pane.appendEntry(spot(i));
    QCOMPARE(pane.lineCount(), 100);
    QCOMPARE(removed.count(), 0);

    // Lines of 1,500 characters: the oldest go, a tenth of the room at least
    // at a time, and the newest lines are always the ones kept.
    for (int i = 0; i < 40; ++i) {
        pane.appendEntry(QString(1500, QChar(u'a' + i % 26)) + QString::number(i));
        QVERIFY(pane.characterCount() <= 10000);
        QVERIFY(pane.line(pane.lineCount() - 1).endsWith(QString::number(i)));
    }
    qint64 held = 0;
    for (int l = 0; l < pane.lineCount(); ++l)
        held += pane.line(l).size();
    QCOMPARE(pane.characterCount(), held);
    QVERIFY(removed.count() > 0);
    QVERIFY2(removed.count() < 40, qPrintable(QString::number(removed.count())));
    QCOMPARE(pane.line(0).size(), 1502);

    // A line longer than the whole limit is kept alone.
    pane.appendEntry(QString(12000, QChar(u'z')));
    QCOMPARE(pane.lineCount(), 1);
    QCOMPARE(pane.characterCount(), 12000);
    pane.appendEntry(spot(1));
    QCOMPARE(pane.lineCount(), 1);
    QCOMPARE(pane.line(0), spot(1));
    nextFrame(pane);
    QCOMPARE(onScreen(pane), reference(pane));

    pane.clear();
    QCOMPARE(pane.characterCount(), 0);
}

void TestSessionPane::longLineShownInPartsAndReadWhole()
{
    QWidget window;
    TerminalPane pane(&window);
    pane.setGeometry(0, 0, 600, 200);
    pane.setPaneFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // A node that never ends its line, between two ordinary lines.
    QString endless;
    for (int i = 0; endless.size() < 100000; ++i)
        endless += QStringLiteral("%1 ").arg(i);
    pane.appendEntry(spot(1));
    pane.appendEntry(endless);
    pane.appendEntry(spot(2));
    nextFrame(pane);
    QCOMPARE(pane.line(1), endless);

    const QFontMetrics fm(pane.font());
    QCOMPARE(pane.horizontalScrollBar()->maximum(),
             fm.horizontalAdvance(endless) + 2 * kMargin - pane.viewport()->width());
    for (const double where : {0.0, 0.37, 1.0}) {
        pane.horizontalScrollBar()->setValue(int(where * pane.horizontalScrollBar()->maximum()));
        nextFrame(pane);
        QCOMPARE(onScreen(pane), reference(pane));
    }

    // A click in the middle of the line finds its character.
    pane.horizontalScrollBar()->setValue(pane.horizontalScrollBar()->maximum() / 2);
    nextFrame(pane);
    const int y = pane.lineRect(1).center().y();
    const TerminalPane::Position hit = pane.positionAt(QPoint(300, y));
    QCOMPARE(hit.line, 1);
    const int x = kMargin - pane.horizontalScrollBar()->value();
    QVERIFY(fm.horizontalAdvance(endless.left(hit.column)) + x <= 300 + fm.averageCharWidth());
    QVERIFY(fm.horizontalAdvance(endless.left(hit.column + 1)) + x >= 300 - fm.averageCharWidth());
    QCOMPARE(pane.characterRect(hit).left(), x + fm.horizontalAdvance(endless.left(hit.column)));
    QTest::mouseClick(pane.viewport(), Qt::LeftButton, {}, QPoint(300, y));
    QCOMPARE(pane.line(pane.selectionStartLine()), endless);
}

void TestSessionPane::geometryForReaders()
{
    QWidget window;
    TerminalPane pane(&window);
    pane.setGeometry(0, 0, 400, 150);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    for (int i = 0; i < 50; ++i)
        pane.appendEntry(spot(i));
    // The last line is in view at once, also before the screen shows it.
    const QRect last = pane.lineRect(pane.lineCount() - 1);
    QVERIFY(pane.viewport()->rect().contains(last.topLeft()));
    QVERIFY(last.bottom() <= pane.viewport()->height());
    const int x = pane.characterRect({pane.lineCount() - 1, 6}).left();
    const TerminalPane::Position p = pane.positionAt(QPoint(x + 1, last.center().y()));
    QCOMPARE(p, (TerminalPane::Position{pane.lineCount() - 1, 6}));
}

QTEST_MAIN(TestSessionPane)
#include "tst_session_pane.moc"
