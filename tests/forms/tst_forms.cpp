#include "TestContext.h"

#include "app/Tform1.h"
#include "settings/AppTheme.h"
#include "spots/BandPanel.h"
#include "spots/BandStrip.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QtTest>

namespace {

// The band strip of a main window started with this theme in settings.ini
// (none: the plain look), shown as the user shows it, with 20 m switched off.
// The pictures are taken from the window, as it is seen: a grab of the strip
// alone would fill its background with its palette even where it paints
// nothing of its own.
QImage stripUnder(const QString& theme, QImage* offPanel)
{
    TestContext ctx;
    if (!theme.isEmpty()) {
        QFile f(QDir(ctx.dir()).filePath("settings.ini"));
        if (!f.open(QIODevice::WriteOnly))
            return {};
        f.write(QStringLiteral("[Theme]\r\nSelectedTheme=%1\r\n").arg(theme).toUtf8());
    }
    Tform1 w(ctx.make());
    w.show();
    if (!QTest::qWaitForWindowExposed(&w))
        return {};
    QTest::mouseClick(w.BitBtn6, Qt::LeftButton);
    QTest::mouseClick(w.Panel11->panel(BandFilter::Band::m20), Qt::LeftButton);
    const BandPanel* panel = w.Panel11->panel(BandFilter::Band::m20);
    *offPanel = w.grab(QRect(panel->mapTo(&w, QPoint()), panel->size())).toImage();
    const QImage strip = w.grab(w.Panel11->geometry()).toImage();
    AppTheme::reset();
    return strip;
}

} // namespace

class TestForms : public QObject
{
    Q_OBJECT
private slots:
    void bandStripKeepsItsColoursUnderATheme_data();
    void bandStripKeepsItsColoursUnderATheme();
};

void TestForms::bandStripKeepsItsColoursUnderATheme_data()
{
    QTest::addColumn<QString>("theme");
    QTest::newRow("Carbon (dark)") << "Carbon";
    QTest::newRow("Aqua Graphite") << "Aqua Graphite";
    QTest::newRow("Light") << "Light";
}

// The strip and its band panels are exempt from themes: the free area of the
// strip (around and between the panels) and a panel look exactly as without
// a theme, whatever the theme's window colour.
void TestForms::bandStripKeepsItsColoursUnderATheme()
{
    QFETCH(QString, theme);
    QImage plainPanel;
    const QImage plain = stripUnder(QString(), &plainPanel);
    QVERIFY(!plain.isNull());
    QImage themedPanel;
    const QImage themed = stripUnder(theme, &themedPanel);
    QVERIFY(!themed.isNull());
    QCOMPARE(themed.size(), plain.size());

    // Free area: the top edge, the gap between 160 and 80 (5+25 .. 36), the
    // gap after "vhf up" (342+45 .. 394), below the buttons, the right end.
    const QList<QPoint> freeArea{{1, 1}, {32, 10}, {390, 10}, {420, 20}, {500, 10}};
    for (const QPoint& at : freeArea) {
        QCOMPARE(QColor(themed.pixel(at)), QColor(plain.pixel(at)));
        QCOMPARE(QColor(themed.pixel(at)), QColor(Qt::black));
    }
    // A panel switched off: its black box and red caption, pixel for pixel.
    QCOMPARE(themedPanel.size(), plainPanel.size());
    QCOMPARE(QColor(themedPanel.pixel(1, 1)), QColor(Qt::black));
    QCOMPARE(themedPanel.convertToFormat(QImage::Format_RGB32),
             plainPanel.convertToFormat(QImage::Format_RGB32));
    int red = 0;
    for (int y = 0; y < themedPanel.height(); ++y)
        for (int x = 0; x < themedPanel.width(); ++x)
            red += (themedPanel.pixel(x, y) & 0xFFFFFF) == 0xFF0000;
    QVERIFY(red > 5);
}

QTEST_MAIN(TestForms)
#include "tst_forms.moc"
