#include "scaling/ControlRegistry.h"
#include "scaling/EInvalidOperation.h"
#include "scaling/NameList.h"
#include "scaling/ResizeKitSettings.h"
#include "scaling/ScaleMath.h"
#include "scaling/ScreenFit.h"
#include "scaling/SizeLimits.h"
#include "scaling/Taskbar.h"
#include "scaling/WindowPlacement.h"

#include <QtTest>

#include <functional>

using Margins = WindowPlacement::FrameMargins;
Q_DECLARE_METATYPE(TResizeFormPos)
Q_DECLARE_METATYPE(Margins)
Q_DECLARE_METATYPE(std::optional<QPoint>)
Q_DECLARE_METATYPE(std::optional<QRect>)

// The geometry and font arithmetic of the scaling component, on numbers.
class TestScaling : public QObject
{
    Q_OBJECT
private slots:
    void pass_data();
    void pass();
    void densityAtLoad_data();
    void densityAtLoad();
    void nameLists_data();
    void nameLists();
    void lateRegistration();
    void removingGoneControls();
    void taskbar_data();
    void taskbar();
    void placement_data();
    void placement();
    void screenFit_data();
    void screenFit();
    void firstShowSize();
    void sizeQuery_data();
    void sizeQuery();
    void drag_data();
    void drag();
    void maximizeCorrection_data();
    void maximizeCorrection();
    void setters_data();
    void setters();
};

// One pass from a reference layout: bounds, a control font and the window's
// own font of 9.
void TestScaling::pass_data()
{
    QTest::addColumn<QSize>("client");
    QTest::addColumn<QSize>("reference");
    QTest::addColumn<int>("runDpi");
    QTest::addColumn<QRect>("bounds");
    QTest::addColumn<int>("font");
    QTest::addColumn<QRect>("expectedBounds");
    QTest::addColumn<int>("expectedFont");
    QTest::addColumn<int>("expectedOwnerFont");

    const QSize design(815, 647);
    QTest::newRow("design size leaves the layout")
        << design << design << 96 << QRect(278, 498, 232, 23) << 9 << QRect(278, 498, 232, 23) << 9
        << 9;
    QTest::newRow("widened: Left and Width double, fonts stay")
        << QSize(1630, 647) << design << 96 << QRect(278, 498, 232, 23) << 9
        << QRect(556, 498, 464, 23) << 9 << 9;
    QTest::newRow("half size: fonts truncated, window font rounded")
        << QSize(400, 300) << QSize(800, 600) << 96 << QRect(10, 21, 101, 30) << 9
        << QRect(5, 11, 51, 15) << 4 << 5;
    QTest::newRow("half size: font 1 stays 1")
        << QSize(400, 300) << QSize(800, 600) << 96 << QRect(10, 20, 100, 30) << 1
        << QRect(5, 10, 50, 15) << 1 << 5;
    QTest::newRow("Left 0 becomes 1")
        << design << design << 96 << QRect(0, 0, 449, 89) << 9 << QRect(1, 1, 449, 89) << 9 << 9;
    QTest::newRow("tiny window: no bound drops to 0")
        << QSize(10, 10) << QSize(800, 600) << 96 << QRect(10, 10, 20, 20) << 9 << QRect(1, 1, 1, 1)
        << 1 << 1;
    QTest::newRow("negative design position kept")
        << design << design << 96 << QRect(4, -3, 11, 26) << 9 << QRect(4, -3, 11, 26) << 9 << 9;
    QTest::newRow("doubled, negative position doubles")
        << QSize(1630, 1294) << design << 96 << QRect(54, -2, 33, 22) << 13
        << QRect(108, -4, 66, 44) << 26 << 18;
    QTest::newRow("denser screen, window at its density size")
        << QSize(1019, 809) << design << 120 << QRect(13, 25, 125, 38) << 11
        << QRect(13, 25, 125, 38) << 11 << 9;
    QTest::newRow("run density unknown counts as design")
        << QSize(1630, 1294) << design << 0 << QRect(10, 10, 10, 10) << 9 << QRect(20, 20, 20, 20)
        << 18 << 18;
}

void TestScaling::pass()
{
    QFETCH(QSize, client);
    QFETCH(QSize, reference);
    QFETCH(int, runDpi);
    QFETCH(QRect, bounds);
    QFETCH(int, font);
    QFETCH(QRect, expectedBounds);
    QFETCH(int, expectedFont);
    QFETCH(int, expectedOwnerFont);
    const ScaleMath::Factors f = ScaleMath::passFactors(client, reference, 96, 96, runDpi, runDpi);
    QCOMPARE(ScaleMath::scaledBounds(bounds, f.x, f.y), expectedBounds);
    QCOMPARE(ScaleMath::controlFontSize(font, f.font), expectedFont);
    QCOMPARE(ScaleMath::ownerFontSize(9, f.font), expectedOwnerFont);
}

void TestScaling::densityAtLoad_data()
{
    QTest::addColumn<int>("runDpi");
    QTest::addColumn<QRect>("bounds");
    QTest::addColumn<int>("font");
    QTest::addColumn<QRect>("expectedBounds");
    QTest::addColumn<int>("expectedFont");
    QTest::newRow("120 dpi: 12.5 rounds up")
        << 120 << QRect(10, 20, 100, 30) << 9 << QRect(13, 25, 125, 38) << 11;
    QTest::newRow("144 dpi") << 144 << QRect(1, 95, 784, 263) << 9 << QRect(2, 143, 1176, 395)
                             << 14;
    QTest::newRow("96 dpi unchanged")
        << 96 << QRect(1, 95, 784, 263) << 9 << QRect(1, 95, 784, 263) << 9;
    QTest::newRow("72 dpi shrinks")
        << 72 << QRect(10, 20, 100, 30) << 12 << QRect(8, 15, 75, 23) << 9;
}

void TestScaling::densityAtLoad()
{
    QFETCH(int, runDpi);
    QFETCH(QRect, bounds);
    QFETCH(int, font);
    QFETCH(QRect, expectedBounds);
    QFETCH(int, expectedFont);
    const double d = ScaleMath::densityFactor(96, runDpi);
    QCOMPARE(ScaleMath::densityAdjusted(bounds, d, d), expectedBounds);
    QCOMPARE(ScaleMath::round(font / d), expectedFont);
}

void TestScaling::nameLists_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("items");
    QTest::newRow("two") << "Re1;Memo1" << QStringList{"Re1", "Memo1"};
    QTest::newRow("empty item kept inside") << "a;;b" << QStringList{"a", "", "b"};
    QTest::newRow("empty tail dropped") << "a;" << QStringList{"a"};
    QTest::newRow("nothing") << "" << QStringList{};
    QTest::newRow("blank tail kept") << "a; " << QStringList{"a", " "};
}

void TestScaling::nameLists()
{
    QFETCH(QString, text);
    QFETCH(QStringList, items);
    const NameList list(text);
    QCOMPARE(list.items(), items);
    for (const QString& item : items)
        QVERIFY(list.contains(item.toUpper()));
    QVERIFY(!list.contains("Edit1"));
}

void TestScaling::lateRegistration()
{
    QCOMPARE(ControlRegistry::addedName(1), QString("RKitAdd0001"));
    QCOMPARE(ControlRegistry::addedName(123), QString("RKitAdd0123"));

    // Met after a pass at 2 x 1.5: taken back to factor 1.0.
    const TCtrlInfo e = ControlRegistry::lateEntry("Button", QRect(21, 30, 200, 45), 18, false,
                                                   ScaleMath::Factors{2.0, 1.5, 1.5});
    QCOMPARE(e.reference, QRect(11, 20, 100, 30));
    QCOMPARE(e.old, QRect(21, 30, 200, 45));
    QCOMPARE(e.fontSize, 12);
    QCOMPARE(e.OldFontSize, 18);
    QVERIFY(!e.ParentFont && !e.OrgParentFont);

    // A factor of 0 leaves what is seen.
    const TCtrlInfo z =
        ControlRegistry::lateEntry("Pane", QRect(5, 6, 7, 8), std::nullopt, true, {0, 0, 0});
    QCOMPARE(z.reference, QRect(5, 6, 7, 8));
    QVERIFY(!z.hasFont);
}

void TestScaling::removingGoneControls()
{
    ControlRegistry r;
    for (const char* name : {"Label3", "Re1", "Label3", "Memo1", "Label3"}) {
        TCtrlInfo e;
        e.Name = name;
        e.reference = QRect(r.entries().size(), 0, 1, 1);
        r.add(e);
    }
    // One Label3 left, Memo1 gone.
    QCOMPARE(r.removeMissing({{"Label3", 1}, {"Re1", 1}}), 3);
    QCOMPARE(r.entries().size(), 2);
    QCOMPARE(r.find("Label3")->reference.left(), 0);
    QCOMPARE(r.find("Re1")->reference.left(), 1);
    QVERIFY(!r.find("Label3", 1));
    QVERIFY(!r.find("Memo1"));
}

void TestScaling::taskbar_data()
{
    QTest::addColumn<QRect>("monitor");
    QTest::addColumn<QRect>("workArea");
    QTest::addColumn<bool>("autoHide");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("edge");
    QTest::addColumn<QSize>("reduced");
    const QRect fullHd(0, 0, 1920, 1080);
    QTest::newRow("bottom 40") << fullHd << QRect(0, 0, 1920, 1040) << false << true
                               << int(Taskbar::Bottom) << QSize(1920, 1040);
    QTest::newRow("bottom 40, hides itself") << fullHd << QRect(0, 0, 1920, 1040) << true << true
                                             << int(Taskbar::Bottom) << QSize(1920, 1080);
    QTest::newRow("bottom 40, room not kept") << fullHd << QRect(0, 0, 1920, 1040) << false << false
                                              << int(Taskbar::Bottom) << QSize(1920, 1080);
    QTest::newRow("left 60") << fullHd << QRect(60, 0, 1860, 1080) << false << true
                             << int(Taskbar::Left) << QSize(1860, 1080);
    QTest::newRow("right 48") << fullHd << QRect(0, 0, 1872, 1080) << false << true
                              << int(Taskbar::Right) << QSize(1872, 1080);
    QTest::newRow("top 30 on a second monitor")
        << QRect(1920, 0, 1280, 1024) << QRect(1920, 30, 1280, 994) << false << true
        << int(Taskbar::Top) << QSize(1280, 994);
    QTest::newRow("no panel") << fullHd << fullHd << false << true << int(Taskbar::Unknown)
                              << QSize(1920, 1080);
}

void TestScaling::taskbar()
{
    QFETCH(QRect, monitor);
    QFETCH(QRect, workArea);
    QFETCH(bool, autoHide);
    QFETCH(bool, valid);
    QFETCH(int, edge);
    QFETCH(QSize, reduced);
    Taskbar t = Taskbar::fromWorkArea(monitor, workArea);
    t.autoHide = autoHide;
    QCOMPARE(t.edge, edge);
    QCOMPARE(t.reduce(monitor.size(), valid), reduced);
}

void TestScaling::placement_data()
{
    QTest::addColumn<TResizeFormPos>("pos");
    QTest::addColumn<QPoint>("topLeft");
    QTest::addColumn<QRect>("workArea");
    QTest::addColumn<Margins>("margins");
    QTest::addColumn<bool>("maximized");
    QTest::addColumn<std::optional<QPoint>>("expected");
    const QRect wa(0, 0, 1920, 1040);
    const Margins none{};
    const Margins frame{7, 0, 14, 7};
    using P = TResizeFormPos;
    QTest::newRow("partly beyond the right edge: pulled back")
        << P::rpDefault << QPoint(1500, 100) << wa << none << false
        << std::optional(QPoint(1105, 100));
    QTest::newRow("beyond the bottom edge") << P::rpDefault << QPoint(100, 900) << wa << none
                                            << false << std::optional(QPoint(100, 393));
    QTest::newRow("above and left, no margins: onto the work area")
        << P::rpDefault << QPoint(-50, -20) << wa << none << false << std::optional(QPoint(0, 0));
    QTest::newRow("above and left, with margins: kept")
        << P::rpDefault << QPoint(-50, -20) << wa << frame << false
        << std::optional(QPoint(-50, -20));
    QTest::newRow("middle centre") << P::rpMiddleCenter << QPoint(3, 4) << wa << none << false
                                   << std::optional(QPoint(552, 196));
    QTest::newRow("middle centre, with margins") << P::rpMiddleCenter << QPoint(3, 4) << wa << frame
                                                 << false << std::optional(QPoint(552, 200));
    QTest::newRow("top left, with margins")
        << P::rpTopLeft << QPoint(3, 4) << wa << frame << false << std::optional(QPoint(-7, 0));
    QTest::newRow("bottom right") << P::rpBottomRight << QPoint(3, 4) << wa << none << false
                                  << std::optional(QPoint(1105, 393));
    QTest::newRow("bottom right, with margins: visible frame on the edges")
        << P::rpBottomRight << QPoint(3, 4) << wa << frame << false
        << std::optional(QPoint(1112, 400));
    QTest::newRow("top centre on a second monitor")
        << P::rpTopCenter << QPoint(0, 0) << QRect(1920, 30, 1280, 994) << none << false
        << std::optional(QPoint(1920 + 232, 30));
    QTest::newRow("maximized stays")
        << P::rpMiddleCenter << QPoint(0, 0) << wa << none << true << std::optional<QPoint>();
}

void TestScaling::placement()
{
    QFETCH(TResizeFormPos, pos);
    QFETCH(QPoint, topLeft);
    QFETCH(QRect, workArea);
    QFETCH(Margins, margins);
    QFETCH(bool, maximized);
    using Expected = std::optional<QPoint>;
    QFETCH(Expected, expected);
    QCOMPARE(
        WindowPlacement::place(pos, topLeft, QSize(815, 647), workArea, margins, true, maximized),
        expected);
}

// Where a window of our own opens: its frame wholly inside the work area of
// the main window's screen (a title bar of 30 and borders of 5 here).
void TestScaling::screenFit_data()
{
    QTest::addColumn<QRect>("window");
    QTest::addColumn<QRect>("centreOn");
    QTest::addColumn<QRect>("expected");
    QTest::addColumn<bool>("wasOnAScreen");
    // The DX window's first size on a 800 x 600 screen whose panel takes
    // the top 24 pixels; the main window 815 x 647 in its top left.
    const QRect main(0, 24, 815, 647);
    QTest::newRow("first opening, wider than the screen: centred, shrunk")
        << QRect(0, 0, 1000, 480) << main << QRect(5, 115, 790, 480) << false;
    QTest::newRow("first opening that fits: centred on the main window")
        << QRect(0, 0, 400, 300) << QRect(0, 24, 600, 400) << QRect(100, 86, 400, 300) << false;
    QTest::newRow("kept place half off the right and bottom: pulled in")
        << QRect(600, 500, 400, 200) << QRect() << QRect(395, 395, 400, 200) << false;
    QTest::newRow("kept place above and left of the work area: pulled in")
        << QRect(-100, 0, 400, 200) << QRect() << QRect(5, 54, 400, 200) << false;
    QTest::newRow("kept place wholly on the screen: stays")
        << QRect(100, 100, 400, 200) << QRect() << QRect(100, 100, 400, 200) << true;
    QTest::newRow("taller than the screen: the title bar stays on it")
        << QRect(50, 200, 400, 900) << QRect() << QRect(50, 54, 400, 541) << false;
    QTest::newRow("never below its smallest size")
        << QRect(50, 50, 100, 100) << QRect() << QRect(50, 54, 300, 200) << false;
}

void TestScaling::screenFit()
{
    QFETCH(QRect, window);
    QFETCH(QRect, centreOn);
    QFETCH(QRect, expected);
    QFETCH(bool, wasOnAScreen);
    const QRect workArea(0, 24, 800, 576);
    const QMargins frame(5, 30, 5, 5);
    const QList<QRect> screens = {workArea, QRect(800, 0, 1024, 768)};
    QCOMPARE(ScreenFit::fullyOnAScreen(window.marginsAdded(frame), screens), wasOnAScreen);
    const QRect fitted = ScreenFit::fitted(window, frame, workArea, centreOn, QSize(300, 200));
    QCOMPARE(fitted, wasOnAScreen && !centreOn.isValid() ? window : expected);
    QVERIFY(workArea.contains(fitted.marginsAdded(frame)));
}

void TestScaling::firstShowSize()
{
    const QSize monitor(1920, 1080);
    QCOMPARE(WindowPlacement::firstShowSize(0, 0, QSize(815, 647), monitor), QSize(815, 647));
    QCOMPARE(WindowPlacement::firstShowSize(1000, 0, QSize(815, 647), monitor), QSize(815, 647));
    QCOMPARE(WindowPlacement::firstShowSize(1000, 700, QSize(815, 647), monitor), QSize(1000, 700));
    QCOMPARE(WindowPlacement::firstShowSize(2500, 1200, QSize(815, 647), monitor), monitor);
}

void TestScaling::sizeQuery_data()
{
    QTest::addColumn<QSize>("maxSize");
    QTest::addColumn<QRect>("workArea");
    QTest::addColumn<bool>("autoHide");
    QTest::addColumn<bool>("maximized");
    QTest::addColumn<QRect>("window");
    QTest::addColumn<bool>("answered");
    QTest::addColumn<QSize>("expectedSize");
    QTest::addColumn<QPoint>("expectedPosition");
    const QRect bottom40(0, 0, 1920, 1040);
    const QRect window(100, 50, 815, 647);
    const QPoint proposed(-8, -8);
    QTest::newRow("bottom panel, no maximum")
        << QSize() << bottom40 << false << false << window << true << QSize(1920, 1040) << proposed;
    QTest::newRow("bottom panel hiding itself")
        << QSize() << bottom40 << true << false << window << true << QSize(1920, 1080) << proposed;
    QTest::newRow("only a maximum width: no limit")
        << QSize(800, 0) << bottom40 << false << false << window << true << QSize(1920, 1040)
        << proposed;
    QTest::newRow("maximized without maximum: left to the window")
        << QSize() << bottom40 << false << true << window << false << QSize() << QPoint();
    QTest::newRow("800 x 600 inside the work area: stays put")
        << QSize(800, 600) << bottom40 << false << false << window << true << QSize(800, 600)
        << QPoint(100, 50);
    QTest::newRow("800 x 600 reaching beyond: against the far edges")
        << QSize(800, 600) << bottom40 << false << false << QRect(1500, 900, 815, 647) << true
        << QSize(800, 600) << QPoint(1120, 440);
    QTest::newRow("above and left of the work area: at its corner")
        << QSize(800, 600) << bottom40 << false << false << QRect(-30, -10, 815, 647) << true
        << QSize(800, 600) << QPoint(0, 0);
    QTest::newRow("left panel, window at the work area's left edge")
        << QSize(800, 600) << QRect(60, 0, 1860, 1080) << false << false << QRect(60, 50, 815, 647)
        << true << QSize(800, 600) << QPoint(60, 50);
    QTest::newRow("maximum larger than the screen is cut")
        << QSize(2500, 1500) << bottom40 << false << true << window << true << QSize(1920, 1040)
        << QPoint(100, 50);
}

void TestScaling::sizeQuery()
{
    QFETCH(QSize, maxSize);
    QFETCH(QRect, workArea);
    const QRect monitor(0, 0, 1920, 1080);
    QFETCH(bool, autoHide);
    QFETCH(bool, maximized);
    QFETCH(QRect, window);
    QFETCH(bool, answered);
    QFETCH(QSize, expectedSize);
    QFETCH(QPoint, expectedPosition);
    Taskbar t = Taskbar::fromWorkArea(monitor, workArea);
    t.autoHide = autoHide;
    SizeLimits limits;
    limits.maxWidth = std::max(maxSize.width(), 0);
    limits.maxHeight = std::max(maxSize.height(), 0);
    const auto answer =
        limits.query(monitor.size(), t, true, maximized, window, workArea, QPoint(-8, -8));
    QCOMPARE(answer.has_value(), answered);
    if (!answer)
        return;
    QCOMPARE(answer->maxSize, expectedSize);
    QCOMPARE(answer->maxPosition, expectedPosition);
}

void TestScaling::drag_data()
{
    QTest::addColumn<QSize>("maxSize");
    QTest::addColumn<QSize>("minSize");
    QTest::addColumn<QRect>("dragged");
    QTest::addColumn<QRect>("expected");
    QTest::newRow("left border out beyond the maximum: right edge comes in")
        << QSize(800, 600) << QSize() << QRect(-100, 0, 900, 500) << QRect(-100, 0, 800, 500);
    QTest::newRow("both beyond the maximum")
        << QSize(800, 600) << QSize() << QRect(5, 5, 900, 700) << QRect(5, 5, 800, 600);
    QTest::newRow("only a maximum width: no limit")
        << QSize(800, 0) << QSize() << QRect(0, 0, 900, 700) << QRect(0, 0, 900, 700);
    QTest::newRow("below the minimum: right and bottom edges go out")
        << QSize() << QSize(400, 300) << QRect(50, 60, 200, 100) << QRect(50, 60, 400, 300);
    QTest::newRow("only a minimum height: no limit")
        << QSize() << QSize(0, 300) << QRect(0, 0, 200, 100) << QRect(0, 0, 200, 100);
}

void TestScaling::drag()
{
    SizeLimits limits;
    QFETCH(QSize, maxSize);
    QFETCH(QSize, minSize);
    limits.maxWidth = std::max(maxSize.width(), 0);
    limits.maxHeight = std::max(maxSize.height(), 0);
    limits.minWidth = std::max(minSize.width(), 0);
    limits.minHeight = std::max(minSize.height(), 0);
    QFETCH(QRect, dragged);
    QFETCH(QRect, expected);
    QCOMPARE(limits.drag(dragged), expected);
}

void TestScaling::maximizeCorrection_data()
{
    QTest::addColumn<QSize>("maxSize");
    QTest::addColumn<bool>("styleDrawsFrame");
    QTest::addColumn<QRect>("window");
    QTest::addColumn<std::optional<QRect>>("expected");
    QTest::newRow("style drawing its frame, window at -8,-8")
        << QSize() << true << QRect(-8, -8, 1936, 1096) << std::optional(QRect(-8, -8, 1928, 1088));
    QTest::newRow("no style, no maximum: nothing")
        << QSize() << false << QRect(-8, -8, 1936, 1096) << std::optional<QRect>();
    QTest::newRow("maximum, beyond the right and bottom: moved back")
        << QSize(800, 600) << true << QRect(1500, 700, 800, 600)
        << std::optional(QRect(1120, 480, 800, 600));
    QTest::newRow("maximum, inside the monitor: nothing")
        << QSize(800, 600) << false << QRect(100, 100, 800, 600) << std::optional<QRect>();
}

void TestScaling::maximizeCorrection()
{
    SizeLimits limits;
    QFETCH(QSize, maxSize);
    limits.maxWidth = std::max(maxSize.width(), 0);
    limits.maxHeight = std::max(maxSize.height(), 0);
    QFETCH(QRect, window);
    QFETCH(bool, styleDrawsFrame);
    using Expected = std::optional<QRect>;
    QFETCH(Expected, expected);
    QCOMPARE(limits.maximizeCorrection(window, QRect(0, 0, 1920, 1080), styleDrawsFrame), expected);
}

void TestScaling::setters_data()
{
    QTest::addColumn<QString>("before"); // "Property=value;..." applied first
    QTest::addColumn<QString>("property");
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("japanese");
    QTest::addColumn<QString>("message"); // empty: accepted

    QTest::newRow("minimum width above the width")
        << "FormWidth=400"
        << "FormMinWidth" << 500 << false << "Set this value equal to or less than the FormWidth";
    QTest::newRow("minimum width above the width, Japanese")
        << "FormWidth=400"
        << "FormMinWidth" << 500 << true << QString::fromUtf8("FormWidth 以下の値を入れてください");
    for (const char* p : {"FormWidth", "FormHeight", "FormMaxWidth", "FormMaxHeight",
                          "FormMinWidth", "FormMinHeight"}) {
        QTest::addRow("%s negative", p)
            << "" << p << -1 << false << "Set this value equal to or greater than 0";
        QTest::addRow("%s 0 always", p)
            << "FormMinWidth=300;FormMinHeight=300;FormWidth=400;FormHeight=400;FormMaxWidth=500;"
               "FormMaxHeight=500"
            << p << 0 << false << "";
    }
    QTest::newRow("negative, Japanese")
        << ""
        << "FormMaxHeight" << -5 << true << QString::fromUtf8("0 以上の値を入れてください");
    QTest::newRow("width below the minimum") << "FormMinWidth=300"
                                             << "FormWidth" << 200 << false
                                             << "Set this value equal to or greater than the "
                                                "FormMinWidth";
    QTest::newRow("width above the maximum") << "FormMaxWidth=800"
                                             << "FormWidth" << 900 << false
                                             << "Set this value equal to or less than the "
                                                "FormMaxWidth";
    QTest::newRow("height above the maximum, Japanese")
        << "FormMaxHeight=600"
        << "FormHeight" << 700 << true
        << QString::fromUtf8("FormMaxHeight 以下の値を入れてください");
    QTest::newRow("maximum height below the height")
        << "FormHeight=600"
        << "FormMaxHeight" << 500 << false
        << "Set this value equal to or greater than the FormHeight";
    QTest::newRow("maximum below minimum and height: the minimum is checked first")
        << "FormMinHeight=300;FormHeight=400"
        << "FormMaxHeight" << 200 << false
        << "Set this value equal to or greater than the FormMinHeight";
    QTest::newRow("minimum height above the maximum")
        << "FormMaxHeight=600"
        << "FormMinHeight" << 700 << false
        << "Set this value equal to or less than the FormMaxHeight";
    QTest::newRow("fitting values") << "FormMinWidth=300;FormMaxWidth=900"
                                    << "FormWidth" << 815 << false << "";
}

void TestScaling::setters()
{
    QFETCH(QString, before);
    QFETCH(QString, property);
    QFETCH(int, value);
    QFETCH(QString, message);
    ResizeKitSettings s;
    const QHash<QString, std::function<void(int)>> set{
        {"FormWidth", [&](int v) { s.setFormWidth(v); }},
        {"FormHeight", [&](int v) { s.setFormHeight(v); }},
        {"FormMaxWidth", [&](int v) { s.setFormMaxWidth(v); }},
        {"FormMaxHeight", [&](int v) { s.setFormMaxHeight(v); }},
        {"FormMinWidth", [&](int v) { s.setFormMinWidth(v); }},
        {"FormMinHeight", [&](int v) { s.setFormMinHeight(v); }}};
    const QHash<QString, std::function<int()>> get{
        {"FormWidth", [&] { return s.FormWidth(); }},
        {"FormHeight", [&] { return s.FormHeight(); }},
        {"FormMaxWidth", [&] { return s.FormMaxWidth(); }},
        {"FormMaxHeight", [&] { return s.FormMaxHeight(); }},
        {"FormMinWidth", [&] { return s.FormMinWidth(); }},
        {"FormMinHeight", [&] { return s.FormMinHeight(); }}};
    for (const QString& step : before.split(';', Qt::SkipEmptyParts))
        set[step.section('=', 0, 0)](step.section('=', 1).toInt());
    const int old = get[property]();

    QFETCH(bool, japanese);
    QLocale::setDefault(japanese ? QLocale(QLocale::Japanese, QLocale::Japan)
                                 : QLocale(QLocale::English, QLocale::UnitedStates));
    QString raised;
    try {
        set[property](value);
    } catch (const EInvalidOperation& e) {
        raised = e.message();
    }
    QLocale::setDefault(QLocale::c());
    QCOMPARE(raised, message);
    QCOMPARE(get[property](), message.isEmpty() ? value : old);
}

QTEST_GUILESS_MAIN(TestScaling)
#include "tst_scaling.moc"
