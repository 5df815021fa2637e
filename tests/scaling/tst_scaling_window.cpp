#include "TestContext.h"

#include "app/LampShape.h"
#include "app/Tform1.h"
#include "scaling/EInvalidOperation.h"
#include "scaling/TResizeKit.h"
#include "session/NodeGrid.h"
#include "session/TerminalPane.h"
#include "spots/BandPanel.h"
#include "spots/BandStrip.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QtTest>

#include <random>

// The scaling component on real windows. Expected values come from the
// design layout through the same formulas the number tests check, at the
// screen density the test runs at (96, or 144 in the second ctest entry).
class TestScalingWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void densityAtLoad();
    void mainWindowScales_data();
    void mainWindowScales();
    void noDriftBackToDesign();
    void excludedControls();
    void lateControls();
    void fontsUnderStyleSheet();
    void scrollBoxPage();
    void minimizeAndRestore();
    void switchedOffAndOn();
    void firstShowPlacement();
    void sizeLimits();

private:
    double m_d = 1.0; // design density over run density
};

namespace {

QFont pixels(int size)
{
    QFont f(QStringLiteral("Segoe UI"));
    f.setPixelSize(size);
    return f;
}

// A small window: three controls with their own pixel fonts, a panel, and a
// label inside it that uses the panel's font.
struct Fixture
{
    QWidget w;
    QLabel* a;
    QPushButton* b;
    QLineEdit* c;
    QFrame* p;
    QLabel* d;
    TResizeKit* kit;

    Fixture()
    {
        w.setObjectName("Fixture");
        w.setFont(QFont(QStringLiteral("Segoe UI"), 9));
        w.resize(400, 300);
        a = make<QLabel>(&w, "A", QRect(10, 10, 100, 20));
        a->setText("Label");
        b = make<QPushButton>(&w, "B", QRect(10, 40, 100, 30));
        c = make<QLineEdit>(&w, "C", QRect(10, 80, 100, 24));
        for (QWidget* x :
             {static_cast<QWidget*>(a), static_cast<QWidget*>(b), static_cast<QWidget*>(c)})
            x->setFont(pixels(12));
        p = make<QFrame>(&w, "P", QRect(120, 10, 200, 100));
        d = make<QLabel>(p, "D", QRect(5, 5, 50, 20));
        kit = TResizeKit::attach(&w, {400, 300, 96, 96});
    }
    template <typename T> static T* make(QWidget* parent, const char* name, const QRect& r)
    {
        auto* x = new T(parent);
        x->setObjectName(name);
        x->setGeometry(r);
        return x;
    }
};

bool resizeTo(QWidget& w, const QSize& client)
{
    w.resize(client);
    return QTest::qWaitFor([&] { return w.size() == client; }, 2000);
}

QRect expected(const QRect& design, double d, const QSize& client, const QSize& designClient)
{
    const ScaleMath::Factors f = ScaleMath::passFactors(
        client, designClient, 96, 96, ScaleMath::round(96 / d), ScaleMath::round(96 / d));
    return ScaleMath::scaledBounds(ScaleMath::densityAdjusted(design, d, d), f.x, f.y);
}

double fontFactor(double d, const QSize& client, const QSize& designClient)
{
    const int dpi = ScaleMath::round(96 / d);
    return ScaleMath::passFactors(client, designClient, 96, 96, dpi, dpi).font;
}

} // namespace

void TestScalingWindow::initTestCase()
{
    const int dpi = qRound(QGuiApplication::primaryScreen()->logicalDotsPerInchX());
    // The dense entry must really run dense, or it proves nothing.
    if (qEnvironmentVariableIsSet("QT_FONT_DPI"))
        QCOMPARE(dpi, qEnvironmentVariableIntValue("QT_FONT_DPI"));
    m_d = 96.0 / dpi;
}

// At load the design layout is adapted to the screen: controls, pixel fonts
// and the client area grow by run over design density.
void TestScalingWindow::densityAtLoad()
{
    TestContext ctx;
    Tform1 w(ctx.make());
    QCOMPARE(w.ResizeKit1->runDpiW(), ScaleMath::round(96 / m_d));
    const QSize client(ScaleMath::round(815 / m_d), ScaleMath::round(647 / m_d));
    QCOMPARE(w.size(), client);
    QCOMPARE(w.Re1->geometry(), ScaleMath::densityAdjusted(QRect(1, 95, 784, 263), m_d, m_d));
    QCOMPARE(w.Edit1->font().pixelSize(), ScaleMath::round(12 / m_d));
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    // The first pass at that size keeps the adapted layout.
    QCOMPARE(w.Re1->geometry(), expected(QRect(1, 95, 784, 263), m_d, client, {815, 647}));
    QCOMPARE(w.Edit1->font().pixelSize(), ScaleMath::round(12 / m_d));
    QCOMPARE(w.font().pointSize(), 9); // points already follow the density
}

void TestScalingWindow::mainWindowScales_data()
{
    QTest::addColumn<double>("scale");
    QTest::newRow("twice") << 2.0;
    QTest::newRow("three quarters") << 0.75;
}

void TestScalingWindow::mainWindowScales()
{
    QFETCH(double, scale);
    TestContext ctx;
    Tform1 w(ctx.make());
    w.show();
    w.BitBtn6Click(); // the band strip, whose panels have style sheets of their own
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QSize client(ScaleMath::round(815 / m_d * scale), ScaleMath::round(647 / m_d * scale));
    int passes = 0;
    w.ResizeKit1->OnExitResize = [&](TResizeKit*, double, double) { ++passes; };
    QVERIFY(resizeTo(w, client));
    QCOMPARE(passes, 1);

    // Bounds relative to each control's parent, as designed.
    const QList<std::pair<QWidget*, QRect>> design{
        // clang-format off
        {w.Re1, {1, 95, 784, 263}},       {w.Re3, {0, 380, 510, 115}},
        {w.BitBtn5, {328, 527, 182, 25}}, {w.StringGrid1, {0, 525, 298, 117}},
        {w.Memo1, {4, 2, 476, 80}},       {w.ShapeLED, {4, -3, 11, 26}},
        {w.SpeedButton8, {54, -2, 33, 22}}, {w.Panel11, {106, 359, 502, 21}}};
    // clang-format on
    for (const auto& [control, rect] : design)
        QCOMPARE(control->geometry(), expected(rect, m_d, client, {815, 647}));

    // Fonts of their own are truncated; controls using the window's font
    // follow the window's, which is rounded.
    const double f = fontFactor(m_d, client, {815, 647});
    QCOMPARE(w.Edit1->font().pixelSize(),
             ScaleMath::controlFontSize(ScaleMath::round(12 / m_d), f));
    QCOMPARE(w.ListView1->font().pixelSize(),
             ScaleMath::controlFontSize(ScaleMath::round(13 / m_d), f));
    QCOMPARE(w.Panel11->panel(BandFilter::Band::m20)->font().pixelSize(),
             ScaleMath::controlFontSize(ScaleMath::round(12 / m_d), f));
    QCOMPARE(w.font().pointSize(), ScaleMath::ownerFontSize(9, f));
    const int icon = ScaleMath::ownerFontSize(ScaleMath::round(16 / m_d), f);
    QCOMPARE(w.SpeedButton2->iconSize(), QSize(icon, icon));
    QCOMPARE(w.BitBtn5->iconSize(), QSize(icon, icon));
    QCOMPARE(w.BitBtn5->font().pointSize(), w.font().pointSize());
    QCOMPARE(w.Re1->font().pointSize(), w.font().pointSize());
}

// Every pass starts from the reference layout, so after any number of
// resizes the design size shows exactly the layout of the first pass.
void TestScalingWindow::noDriftBackToDesign()
{
    TestContext ctx;
    Tform1 w(ctx.make());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QSize design = w.size();
    struct Seen
    {
        QRect geometry;
        QFont font;
    };
    const auto snapshot = [&] {
        QHash<QWidget*, Seen> all;
        for (QWidget* c : w.findChildren<QWidget*>())
            all.insert(c, {c->geometry(), c->font()});
        return all;
    };
    const QHash<QWidget*, Seen> first = snapshot();

    std::mt19937 random(12);
    // Anywhere between the window's minimum and twice its size.
    std::uniform_int_distribution<int> width(design.width() * 3 / 4 + 4, design.width() * 2),
        height(design.height() * 3 / 4 + 4, design.height() * 2);
    for (int i = 0; i < 100; ++i)
        QVERIFY(resizeTo(w, i % 2 ? design : QSize(width(random), height(random))));
    QVERIFY(resizeTo(w, QSize(1017, 777)));
    QVERIFY(resizeTo(w, design));

    const QHash<QWidget*, Seen> last = snapshot();
    for (auto it = first.cbegin(); it != first.cend(); ++it) {
        QVERIFY2(last[it.key()].geometry == it->geometry, qPrintable(it.key()->objectName()));
        QVERIFY2(last[it.key()].font == it->font, qPrintable(it.key()->objectName()));
    }
}

// NoResizeCtl keeps a control's bounds and font; NoResizeFntCtl only its
// font (names without regard to case).
void TestScalingWindow::excludedControls()
{
    Fixture x;
    x.kit->setNoResizeCtl("a");
    x.kit->setNoResizeFntCtl("X;b");
    x.w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&x.w));
    const QRect aBefore = x.a->geometry();
    const QSize client = x.w.size() * 2;
    QVERIFY(resizeTo(x.w, client));
    QCOMPARE(x.a->geometry(), aBefore);
    QCOMPARE(x.a->font().pixelSize(), ScaleMath::round(12 / m_d));
    QCOMPARE(x.b->geometry(), expected({10, 40, 100, 30}, m_d, client, {400, 300}));
    QCOMPARE(x.b->font().pixelSize(), ScaleMath::round(12 / m_d));
    QCOMPARE(x.c->font().pixelSize(),
             ScaleMath::controlFontSize(ScaleMath::round(12 / m_d),
                                        fontFactor(m_d, client, {400, 300})));
    // A label inside a panel is a control of the window too, and keeps
    // using the panel's (the window's) font.
    QCOMPARE(x.d->geometry(), expected({5, 5, 50, 20}, m_d, client, {400, 300}));
    QCOMPARE(x.d->font().pointSize(), x.w.font().pointSize());
    QVERIFY(!x.d->testAttribute(Qt::WA_SetFont));
}

// Controls made after load join the registry at the next pass (or at
// DynamicAdd) with bounds taken back to factor 1.0; unnamed ones get a name.
void TestScalingWindow::lateControls()
{
    Fixture x;
    x.w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&x.w));
    const QSize start = x.w.size();
    QVERIFY(resizeTo(x.w, start * 2));

    auto* late = new QPushButton("RKitAdd text", &x.w);
    late->setFont(pixels(24));
    late->setGeometry(40, 200, 200, 60); // placed in the doubled window
    x.kit->DynamicAdd();
    QCOMPARE(late->objectName(), QString("RKitAdd0001"));
    QVERIFY(late->text().isEmpty());

    auto* later = new QLabel("Later", &x.w);
    later->setObjectName("Later");
    later->setGeometry(400, 400, 100, 40);
    QVERIFY(resizeTo(x.w, start)); // registered by the pass itself
    QCOMPARE(late->geometry(), QRect(20, 100, 100, 30));
    QCOMPARE(late->font().pixelSize(), 12);
    QCOMPARE(later->geometry(), QRect(200, 200, 50, 20));

    delete later;
    x.kit->DynamicDelete();
    QCOMPARE(x.kit->registry().count("Later"), 0);
    QCOMPARE(x.kit->registry().count("RKitAdd0001"), 1);
}

// Under a style sheet Qt no longer passes a parent's font on; controls
// using their parent's font still follow the scaled window. A font the
// program gives a control later stays in proportion from then on.
void TestScalingWindow::fontsUnderStyleSheet()
{
    qApp->setStyleSheet("QLabel { color: navy; } QPushButton { color: navy; }");
    Fixture x;
    x.w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&x.w));
    const QSize start = x.w.size();
    QVERIFY(resizeTo(x.w, start * 2));
    QCOMPARE(x.w.font().pointSize(), 18);
    QCOMPARE(x.d->font().pointSize(), 18);
    QCOMPARE(x.b->font().pixelSize(), ScaleMath::round(12 / m_d) * 2);

    x.b->setFont(pixels(30));
    QVERIFY(resizeTo(x.w, start));
    QCOMPARE(x.b->font().pixelSize(), 15);
    QCOMPARE(x.d->font().pointSize(), 9);
    qApp->setStyleSheet(QString());
}

// The page of a scroll box scales like a panel and stays where the box
// scrolled it.
void TestScalingWindow::scrollBoxPage()
{
    Fixture x;
    auto* box = Fixture::make<QScrollArea>(&x.w, "ScrollBox1", QRect(10, 150, 300, 100));
    auto* page = new QWidget;
    page->resize(280, 400);
    auto* line = Fixture::make<QLabel>(page, "Label5", QRect(10, 300, 200, 20));
    box->setWidget(page);
    x.kit->DynamicAdd();
    x.w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&x.w));
    const QSize start = x.w.size();
    box->verticalScrollBar()->setValue(50);
    QVERIFY(resizeTo(x.w, start * 2));
    QCOMPARE(page->size(), QSize(560, 800));
    QCOMPARE(page->pos().x(), 0);
    QCOMPARE(line->geometry(), QRect(20, 600, 400, 40));
}

void TestScalingWindow::minimizeAndRestore()
{
    Fixture x;
    x.w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&x.w));
    int passes = 0;
    x.kit->OnExitResize = [&](TResizeKit* kit, double sx, double sy) {
        QCOMPARE(kit, x.kit);
        QVERIFY(sx > 0 && sy > 0);
        ++passes;
    };
    x.w.showMinimized();
    QTRY_VERIFY(x.w.isMinimized());
    QCOMPARE(passes, 0);
    x.w.showNormal();
    QTRY_COMPARE(passes, 1);
}

// Off: the window's events pass by, and its own limits are back. On again:
// the component acts on the window, even after its native window was made
// anew.
void TestScalingWindow::switchedOffAndOn()
{
    Fixture x;
    x.w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&x.w));
    QVERIFY(x.w.maximumSize() != QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    const QRect b = x.b->geometry();

    x.kit->setEnabled(false);
    QCOMPARE(x.w.maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    QVERIFY(resizeTo(x.w, x.w.size() * 2));
    QCOMPARE(x.b->geometry(), b);

    x.w.setWindowFlag(Qt::WindowStaysOnTopHint); // a new native window
    x.kit->setEnabled(true);
    x.w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&x.w));
    const QSize client = x.w.size() + QSize(10, 10);
    QVERIFY(resizeTo(x.w, client));
    QCOMPARE(x.b->geometry(), expected({10, 40, 100, 30}, m_d, client, {400, 300}));
}

void TestScalingWindow::firstShowPlacement()
{
    const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
    {
        // Partly beyond the right edge: pulled back onto the work area.
        Fixture x;
        x.w.move(work.right() - 100, 100);
        x.w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&x.w));
        QTRY_COMPARE(x.w.frameGeometry().right(), work.right());
        QCOMPARE(x.w.frameGeometry().top(), 100);
    }
    {
        Fixture x;
        x.kit->setFormPos(TResizeFormPos::rpBottomCenter);
        x.w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&x.w));
        const QRect f = x.w.frameGeometry();
        QTRY_COMPARE(x.w.frameGeometry().left(), work.left() + (work.width() - f.width()) / 2);
        QCOMPARE(x.w.frameGeometry().bottom(), work.bottom());
    }
}

// The drag limits are the window's minimum and maximum size: the chosen
// limits, and never beyond the work area.
void TestScalingWindow::sizeLimits()
{
    Fixture x;
    x.w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&x.w));
    const QSize frame = x.w.frameGeometry().size() - x.w.size();
    QCOMPARE(x.w.maximumSize() + frame,
             QGuiApplication::primaryScreen()->availableGeometry().size());

    x.kit->setFormMaxWidth(800);
    QCOMPARE(x.w.maximumSize() + frame,
             QGuiApplication::primaryScreen()->availableGeometry().size()); // one is no limit
    x.kit->setFormMaxHeight(600);
    x.kit->setFormMinWidth(500);
    x.kit->setFormMinHeight(400);
    QCOMPARE(x.w.maximumSize(), QSize(800, 600) - frame);
    QCOMPARE(x.w.minimumSize(), QSize(500, 400) - frame);
    x.w.resize(900, 700);
    QTRY_COMPARE(x.w.size(), QSize(800, 600) - frame);
    x.w.resize(100, 100);
    QTRY_COMPARE(x.w.size(), QSize(500, 400) - frame);

    QVERIFY_THROWS_EXCEPTION(EInvalidOperation, x.kit->setFormMinWidth(900));
    QCOMPARE(x.kit->FormMinWidth(), 500);
}

QTEST_MAIN(TestScalingWindow)
#include "tst_scaling_window.moc"
