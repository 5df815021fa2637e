#include "TestFiles.h"
#include "TestContext.h"

#include "app/Tform1.h"
#include "session/TerminalPane.h"
#include "settings/AppTheme.h"
#include "settings/ColorContrast.h"
#include "settings/StyleDefinition.h"
#include "settings/StyleRegistry.h"
#include "settings/TerminalFont.h"
#include "settings/TerminalFontDialog.h"
#include "spots/BandPanel.h"
#include "spots/BandStrip.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFontDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {



// How many pixels of the picture have exactly this colour.
int countPixels(const QImage& image, QRgb rgb)
{
    int n = 0;
    const QImage img = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x)
            n += (line[x] & 0xFFFFFF) == (rgb & 0xFFFFFF);
    }
    return n;
}

QImage grab(QWidget* w)
{
    return w->grab().toImage();
}

quint32 styleColour(const QString& displayName, const char* key)
{
    const auto def = AppTheme::definition(*StyleRegistry::find(displayName));
    return def ? def->colour(QLatin1String(key)).value_or(0) : 0;
}

} // namespace

class TestAppearance : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();

    // Pure rules.
    void styleList();
    void everyStyleIsReadable_data();
    void everyStyleIsReadable();
    void styleDefinitionFaults_data();
    void styleDefinitionFaults();
    void sheetNamesAreWholeWords();
    void terminalFontRules_data();
    void terminalFontRules();
    void chosenFont_data();
    void chosenFont();

    // Through the main window.
    void themeBoxAtStart_data();
    void themeBoxAtStart();
    void pickingAThemeSavesAndEnds();
    void refusedThemeSave();
    void themeBoxSwallowsKeys_data();
    void themeBoxSwallowsKeys();
    void exemptControlsKeepTheirColours();
    void terminalFontAtStart_data();
    void terminalFontAtStart();
    void fontDialog_data();
    void fontDialog();
};

void TestAppearance::cleanup()
{
    AppTheme::reset();
}

void TestAppearance::styleList()
{
    const QStringList names = StyleRegistry::displayNames();
    QCOMPARE(names.size(), 20);
    QCOMPARE(names.first(), "Windows");
    for (const char* n : {"Amakrits", "Amethyst Kamri", "Aqua Graphite", "Auric", "Carbon",
                             "Charcoal Dark Slate", "Cobalt XEMedia", "Cyan Dusk", "Cyan Night",
                             "Emerald Light Slate", "Golden Graphite", "Light", "Luna", "Obsidian",
                             "Onyx Blue", "Ruby Graphite", "Windows10", "Windows10 Blue",
                             "Windows10 Dark"})
        QVERIFY2(names.indexOf(QLatin1String(n)) > 0, n);
    QCOMPARE(StyleRegistry::find("ruby graphite")->resourceName, "RUBYGRAPHITE");
    QCOMPARE(StyleRegistry::find("Windows10")->resourceName, "WINDOWS");
    QVERIFY(StyleRegistry::isSystemLook(*StyleRegistry::find("Windows")));
    QVERIFY(!StyleRegistry::find("Windows 10"));
    QVERIFY(!StyleRegistry::find(""));
}

void TestAppearance::everyStyleIsReadable_data()
{
    QTest::addColumn<QString>("name");
    for (const StyleRegistry::Style& s : StyleRegistry::styles()) {
        if (!StyleRegistry::isSystemLook(s))
            QTest::newRow(qPrintable(s.displayName)) << s.displayName;
    }
}

// Every pair of colours that the sheet and the palette put text on, with
// the contrast that body text needs; disabled text, focus borders and the
// like need less.
void TestAppearance::everyStyleIsReadable()
{
    QFETCH(QString, name);
    const StyleRegistry::Style style = *StyleRegistry::find(name);
    QString error;
    const std::optional<StyleDefinition> def = AppTheme::definition(style, &error);
    QVERIFY2(def, qPrintable(error));
    const std::optional<QString> sheet = AppTheme::styleSheet(style, &error);
    QVERIFY2(sheet, qPrintable(error));
    QVERIFY(!sheet->contains(QLatin1Char('@')));

    struct Pair
    {
        const char* text;
        const char* background;
        double least;
    };
    const Pair pairs[] = {
        {"windowText", "window", 4.5},       {"text", "base", 4.5},
        {"text", "alternateBase", 4.5},      {"buttonText", "button", 4.5},
        {"buttonText", "buttonTop", 4.5},    {"buttonText", "buttonBottom", 4.5},
        {"buttonText", "buttonHover", 4.5},  {"highlightedText", "highlight", 4.5},
        {"toolTipText", "toolTipBase", 4.5}, {"headerText", "header", 4.5},
        {"disabledText", "window", 3.0},     {"disabledText", "button", 3.0},
        {"disabledText", "base", 3.0},       {"accent", "window", 3.0},
        {"accent", "base", 3.0},
    };
    for (const Pair& p : pairs) {
        const double r = ColorContrast::ratio(*def->colour(QLatin1String(p.text)),
                                              *def->colour(QLatin1String(p.background)));
        QVERIFY2(r >= p.least, qPrintable(QStringLiteral("%1 on %2: %3")
                                              .arg(p.text, p.background)
                                              .arg(r, 0, 'f', 2)));
    }
    // The terminal text keeps its own colour; the designed very dark green
    // must read on every style's terminal background.
    const double terminal = ColorContrast::ratio(
        TerminalFont::rgbFromTextColor(SettingsFiles::kDefaultTextColor), *def->colour("terminal"));
    QVERIFY2(terminal >= 4.5, qPrintable(QString::number(terminal)));
}

void TestAppearance::styleDefinitionFaults_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("error");
    QString full;
    for (const QString& key : StyleDefinition::requiredColours())
        full += key + QStringLiteral(" = #102030\n");
    QTest::newRow("complete, with comment and blank") << "; a comment\n\n" + full << QString();
    QTest::newRow("no '='") << full + "radius 3px\n" << "line 21: expected key = value";
    QTest::newRow("colour missing") << QString(full).remove("terminal = #102030\n")
                                    << "missing colour terminal";
    QTest::newRow("short colour") << QString(full).replace("base = #102030", "base = #10203")
                                  << "base is not a #rrggbb colour";
    QTest::newRow("colour name") << QString(full).replace("accent = #102030", "accent = red")
                                 << "accent is not a #rrggbb colour";
}

void TestAppearance::styleDefinitionFaults()
{
    QFETCH(QString, text);
    QFETCH(QString, error);
    QString reason;
    const std::optional<StyleDefinition> def = StyleDefinition::parse(text, &reason);
    QCOMPARE(def.has_value(), error.isEmpty());
    QCOMPARE(reason, error);
}

void TestAppearance::sheetNamesAreWholeWords()
{
    QString text;
    for (const QString& key : StyleDefinition::requiredColours())
        text += key + QStringLiteral(" = #000000\n");
    text.replace("button = #000000", "button = #111111");
    text.replace("buttonText = #000000", "buttonText = #eeeeee");
    const StyleDefinition def = *StyleDefinition::parse(text);
    QStringList unknown;
    QCOMPARE(def.expand("QPushButton { background: @button; color: @buttonText; "
                        "border-radius: @radius; } /* mail@example */",
                        &unknown),
             "QPushButton { background: #111111; color: #eeeeee; border-radius: @radius; } "
             "/* mail@example */");
    QCOMPARE(unknown, (QStringList{"radius", "example"}));
}

void TestAppearance::terminalFontRules_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("color");
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("expectedSize");
    QTest::addColumn<quint32>("rgb");
    QTest::newRow("defaults") << "" << 12 << 10000 << "Segoe UI" << 12 << 0x102700u;
    QTest::newRow("stored") << "DejaVu Sans Mono" << 14 << 0x0000FF << "DejaVu Sans Mono" << 14
                            << 0xFF0000u;
    QTest::newRow("blue in the high byte") << "Courier" << 9 << 0xFF0000 << "Courier" << 9
                                           << 0x0000FFu;
    QTest::newRow("blank name") << "   " << 12 << 0 << "Segoe UI" << 12 << 0x000000u;
    QTest::newRow("size 0") << "Courier" << 0 << 10000 << "Courier" << 12 << 0x102700u;
    QTest::newRow("negative size") << "Courier" << -8 << 10000 << "Courier" << 12 << 0x102700u;
    QTest::newRow("huge size") << "Courier" << 90000 << 10000 << "Courier" << 12 << 0x102700u;
    QTest::newRow("negative colour") << "Courier" << 12 << -16777208 << "Courier" << 12
                                     << 0x102700u;
    QTest::newRow("colour above 24 bits") << "Courier" << 12 << 0x1000000 << "Courier" << 12
                                          << 0x102700u;
}

void TestAppearance::terminalFontRules()
{
    QFETCH(QString, name);
    QFETCH(int, size);
    QFETCH(int, color);
    QFETCH(QString, family);
    QFETCH(int, expectedSize);
    QFETCH(quint32, rgb);
    const FontSettings f = TerminalFont::restored(name, size, color);
    QCOMPARE(f.name, family);
    QCOMPARE(f.size, expectedSize);
    QVERIFY(!f.bold && !f.italic);
    QCOMPARE(TerminalFont::rgbFromTextColor(f.color), rgb);
    QCOMPARE(TerminalFont::textColorFromRgb(rgb), f.color);
}

// What the Font dialog gave back becomes the stored font.
void TestAppearance::chosenFont_data()
{
    QTest::addColumn<int>("pointSize");
    QTest::addColumn<quint32>("rgb"); // as the dialog's colour gives it, alpha included
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("color");
    QTest::newRow("size and colour") << 14 << 0xFF102700u << 14 << 10000;
    QTest::newRow("pixel-sized font keeps the size") << -1 << 0xFF0000FFu << 9 << 0xFF0000;
    QTest::newRow("too large") << 500 << 0xFF000000u << 200 << 0;
}

void TestAppearance::chosenFont()
{
    QFETCH(int, pointSize);
    QFETCH(quint32, rgb);
    QFETCH(int, size);
    QFETCH(int, color);
    const FontSettings before{QStringLiteral("Courier"), 9, false, false, 10000};
    const FontSettings f =
        TerminalFont::chosen(before, QStringLiteral("DejaVu Sans Mono"), pointSize, true, true, rgb);
    QCOMPARE(f.name, QStringLiteral("DejaVu Sans Mono"));
    QCOMPARE(f.size, size);
    QVERIFY(f.bold && f.italic);
    QCOMPARE(f.color, color);
}

void TestAppearance::themeBoxAtStart_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<bool>("styled");
    QTest::newRow("no settings.ini") << QByteArray() << QString() << false;
    QTest::newRow("empty name") << QByteArray("[Theme]\r\nSelectedTheme=\r\n") << QString()
                                << false;
    QTest::newRow("Obsidian") << QByteArray("[Theme]\r\nSelectedTheme=Obsidian\r\n")
                              << "Obsidian" << true;
    QTest::newRow("name in other case")
        << QByteArray("[theme]\r\nselectedtheme=ruby graphite\r\n") << "Ruby Graphite" << true;
    QTest::newRow("Windows") << QByteArray("[Theme]\r\nSelectedTheme=Windows\r\n") << "Windows"
                             << false;
    QTest::newRow("unknown name") << QByteArray("[Theme]\r\nSelectedTheme=Sunset Glow\r\n")
                                  << QString() << false;
}

// The box lists the twenty names; the stored one is selected and applied,
// and a name the program does not carry leaves the designed look without a
// word while start-up goes on.
void TestAppearance::themeBoxAtStart()
{
    QFETCH(QByteArray, settings);
    QFETCH(QString, selected);
    QFETCH(bool, styled);
    TestContext ctx;
    if (!settings.isEmpty())
        writeFile(QDir(ctx.dir()).filePath("settings.ini"), settings);
    Tform1 w(ctx.make());
    QStringList items;
    for (int i = 0; i < w.ComboBox1->count(); ++i)
        items << w.ComboBox1->itemText(i);
    QCOMPARE(items, StyleRegistry::displayNames());
    QCOMPARE(w.ComboBox1->currentText(), selected);
    QCOMPARE(!qApp->styleSheet().isEmpty(), styled);
    QVERIFY(ctx.messages.isEmpty());
    QCOMPARE(w.Re3->lineCount(), 2); // the start sequence went on to its end
    if (styled) {
        // What the user sees: the terminal pane's background is the style's.
        w.resize(815, 647);
        w.show();
        const QImage pane = grab(w.Re1->viewport());
        QCOMPARE(pane.pixel(pane.width() - 20, pane.height() - 20) & 0xFFFFFF,
                 styleColour(selected, "terminal"));
    }
}

namespace {

// A user's click on one entry of the theme box's open list.
void pickTheme(Tform1& w, const QString& name)
{
    w.ComboBox1->showPopup();
    QAbstractItemView* view = w.ComboBox1->view();
    QTRY_VERIFY(view->isVisible());
    const QModelIndex index = view->model()->index(w.ComboBox1->findText(name), 0);
    view->scrollTo(index);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
}

} // namespace

// The pick is saved, the user is told, the program ends; the old look stays
// until then, and the next start applies the new one.
void TestAppearance::pickingAThemeSavesAndEnds()
{
    TestContext ctx;
    {
        Tform1 w(ctx.make());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        pickTheme(w, "Ruby Graphite");
        QCOMPARE(ctx.messages,
                 (QStringList{"Now Marvix Terminal will be closed, please restart to apply theme"}));
        QCOMPARE(ctx.quitRequests, 1);
        QVERIFY(qApp->styleSheet().isEmpty());
        QVERIFY(readFile(QDir(ctx.dir()).filePath("settings.ini"))
                    .contains("[Theme]\r\nSelectedTheme=Ruby Graphite\r\n"));
    }
    ctx.messages.clear();
    Tform1 again(ctx.make());
    QCOMPARE(again.ComboBox1->currentText(), "Ruby Graphite");
    QVERIFY(qApp->styleSheet().contains(
        QColor::fromRgb(styleColour("Ruby Graphite", "terminal")).name()));
    QCOMPARE(QApplication::palette().color(QPalette::Window).rgb() & 0xFFFFFF,
             styleColour("Ruby Graphite", "window"));
    QVERIFY(ctx.messages.isEmpty());
}

void TestAppearance::refusedThemeSave()
{
    TestContext ctx;
    writeFile(QDir(ctx.dir()).filePath("settings.ini"), "[Theme]\r\nSelectedTheme=Luna\r\n");
    Tform1 w(ctx.make());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    // A folder where settings.ini should be: no write can succeed.
    QVERIFY(QFile::remove(QDir(ctx.dir()).filePath("settings.ini")));
    QVERIFY(QDir(ctx.dir()).mkdir("settings.ini"));
    ctx.messages.clear();
    pickTheme(w, "Carbon");
    QCOMPARE(ctx.messages, (QStringList{"Not applied, try again after restart"}));
    QCOMPARE(ctx.quitRequests, 0);
    QCOMPARE(w.ComboBox1->currentText(), "Luna"); // the style still in use
    QVERIFY(w.isVisible());
}

void TestAppearance::themeBoxSwallowsKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("Down") << int(Qt::Key_Down) << 0;
    QTest::newRow("Up") << int(Qt::Key_Up) << 0;
    QTest::newRow("End") << int(Qt::Key_End) << 0;
    QTest::newRow("PageDown") << int(Qt::Key_PageDown) << 0;
    QTest::newRow("letter C") << int(Qt::Key_C) << 0;
    QTest::newRow("Space") << int(Qt::Key_Space) << 0;
    QTest::newRow("Alt+Down") << int(Qt::Key_Down) << int(Qt::AltModifier);
    QTest::newRow("F4") << int(Qt::Key_F4) << 0;
    QTest::newRow("wheel") << 0 << 0;
    QTest::newRow("Down, Enter in the open list") << -1 << 0;
}

// Only a click chooses a theme: keys (and the wheel) change nothing, save
// nothing and never end the program.
void TestAppearance::themeBoxSwallowsKeys()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    TestContext ctx;
    writeFile(QDir(ctx.dir()).filePath("settings.ini"), "[Theme]\r\nSelectedTheme=Light\r\n");
    Tform1 w(ctx.make());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QByteArray before = readFile(QDir(ctx.dir()).filePath("settings.ini"));
    w.ComboBox1->setFocus();
    if (key > 0) {
        QTest::keyClick(w.ComboBox1, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    } else if (key == 0) {
        const QPoint at = w.ComboBox1->rect().center();
        QWheelEvent wheel(at, w.ComboBox1->mapToGlobal(at), {}, QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(w.ComboBox1, &wheel);
    } else {
        w.ComboBox1->showPopup();
        QTRY_VERIFY(w.ComboBox1->view()->isVisible());
        QTest::keyClick(w.ComboBox1->view(), Qt::Key_Down);
        QTest::keyClick(w.ComboBox1->view(), Qt::Key_Return);
        QVERIFY(w.ComboBox1->view()->isVisible());
        QTest::keyClick(w.ComboBox1->view(), Qt::Key_Escape);
        QTRY_VERIFY(!w.ComboBox1->view()->isVisible());
    }
    QCOMPARE(w.ComboBox1->currentText(), "Light");
    QVERIFY(!w.ComboBox1->view()->isVisible());
    QVERIFY(ctx.messages.isEmpty());
    QCOMPARE(ctx.quitRequests, 0);
    QCOMPARE(readFile(QDir(ctx.dir()).filePath("settings.ini")), before);
}

// Under a dark style the spot pane, the command line, the node box and the
// band strip look as they do without a style; the terminal pane takes the
// style's background (themeBoxAtStart).
void TestAppearance::exemptControlsKeepTheirColours()
{
    const QColor systemBase = QApplication::palette().color(QPalette::Base);
    TestContext ctx;
    writeFile(QDir(ctx.dir()).filePath("settings.ini"),
              "[Theme]\r\nSelectedTheme=Obsidian\r\n[Node]\r\nElemento=GB7DJK\r\n");
    Tform1 w(ctx.make());
    QVERIFY(!qApp->styleSheet().isEmpty());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTest::mouseClick(w.BitBtn6, Qt::LeftButton);
    QVERIFY(w.Panel11->isVisible());

    const QImage spots = grab(w.Re3->viewport());
    QCOMPARE(QColor(spots.pixel(spots.width() - 10, spots.height() - 10)), systemBase);
    QVERIFY(countPixels(spots, qRgb(0, 0, 0)) > 50); // the two start lines, in black

    const QImage strip = grab(w.Panel11);
    QCOMPARE(QColor(strip.pixel(1, 1)), QColor(Qt::black));
    const QImage band = grab(w.Panel11->panel(BandFilter::Band::m20));
    QCOMPARE(QColor(band.pixel(1, 1)), QColor(Qt::black));
    QVERIFY(countPixels(band, qRgb(0, 255, 0)) > 5);

    const QImage command = grab(w.EditCommand);
    QCOMPARE(QColor(command.pixel(command.width() - 8, command.height() / 2)), QColor(0, 255, 255));
    const QImage node = grab(w.Edit1);
    QCOMPARE(QColor(node.pixel(node.width() - 8, node.height() / 2)), QColor(Qt::white));
    QVERIFY(countPixels(node, qRgb(0, 0, 255)) > 5);
}

void TestAppearance::terminalFontAtStart_data()
{
    QTest::addColumn<QByteArray>("settings2");
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("size");
    QTest::addColumn<QColor>("color");
    QTest::newRow("no settings2.ini") << QByteArray() << "Segoe UI" << 12 << QColor(16, 39, 0);
    QTest::newRow("saved bold italic red")
        << QByteArray("[Font]\r\nFontName=Liberation Mono\r\nFontSize=0x10\r\nFontBold=1\r\n"
                      "FontItalic=1\r\nTextColor=255\r\n")
        << "Liberation Mono" << 16 << QColor(255, 0, 0);
    QTest::newRow("unreadable size and colour")
        << QByteArray("[Font]\r\nFontName=Liberation Sans\r\nFontSize=abc\r\nTextColor=-5\r\n")
        << "Liberation Sans" << 12 << QColor(16, 39, 0);
}

// Family, size and colour come back, bold and italic never; the start line
// already shows in the colour.
void TestAppearance::terminalFontAtStart()
{
    QFETCH(QByteArray, settings2);
    QFETCH(QString, family);
    QFETCH(int, size);
    QFETCH(QColor, color);
    TestContext ctx;
    if (!settings2.isEmpty())
        writeFile(QDir(ctx.dir()).filePath("settings2.ini"), settings2);
    Tform1 w(ctx.make());
    QCOMPARE(w.Re1->font().family(), family);
    QCOMPARE(w.Re1->font().pointSize(), size);
    QVERIFY(!w.Re1->font().bold());
    QVERIFY(!w.Re1->font().italic());
    QCOMPARE(w.Re1->textColor(), color);
    w.addRe1("DX de N0CALL:     14025.0  3Y0K         CW                          1200Z");
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(countPixels(grab(w.Re1->viewport()), color.rgb()) > 20);
}

void TestAppearance::fontDialog_data()
{
    QTest::addColumn<bool>("accept");
    QTest::addColumn<bool>("refuseSave");
    QTest::newRow("chosen") << true << false;
    QTest::newRow("cancelled") << false << false;
    QTest::newRow("chosen, save refused") << true << true;
}

// The dialog opens with the current font and colour; the chosen font goes
// whole to every line of the terminal pane at once and is saved; a restart
// brings back family, size and colour but not bold.
void TestAppearance::fontDialog()
{
    QFETCH(bool, accept);
    QFETCH(bool, refuseSave);
    TestContext ctx;
    const QString settings2 = QDir(ctx.dir()).filePath("settings2.ini");
    // The font of the last run, or none at all when settings2.ini cannot be
    // written (then not read either).
    const QByteArray saved = "[Font]\r\nFontName=Liberation Sans\r\nFontSize=11\r\n"
                             "FontBold=0\r\nFontItalic=0\r\nTextColor=32768\r\n";
    if (refuseSave)
        QVERIFY(QDir(ctx.dir()).mkdir("settings2.ini"));
    else
        writeFile(settings2, saved);
    const QString family = refuseSave ? "Segoe UI" : "Liberation Sans";
    const int size = refuseSave ? 12 : 11;
    const QColor colour = refuseSave ? QColor(16, 39, 0) : QColor(0, 128, 0);
    Tform1 w(ctx.make());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.addRe1("DX de N0CALL:     14025.0  3Y0K         CW                          1200Z");

    QFont opened;
    QColor openedColour;
    QTimer::singleShot(0, this, [&] {
        auto* d = qobject_cast<TerminalFontDialog*>(QApplication::activeModalWidget());
        QVERIFY(d);
        opened = d->currentFont();
        openedColour = d->textColor();
        QFont f("Liberation Mono");
        f.setPointSize(14);
        f.setBold(true);
        d->fontChooser()->setCurrentFont(f);
        d->colourBox()->setFocus();
        QTest::keyClicks(d->colourBox(), "Navy");
        auto* box = d->findChild<QDialogButtonBox*>();
        QTest::mouseClick(box->button(accept ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel),
                          Qt::LeftButton);
    });
    QTest::mouseClick(w.BitBtn4, Qt::LeftButton);
    // Segoe UI is missing here; the dialog shows the family standing in.
    if (!refuseSave)
        QCOMPARE(opened.family(), family);
    QCOMPARE(opened.pointSize(), size);
    QCOMPARE(openedColour, colour);

    if (!accept) {
        QCOMPARE(w.Re1->font().family(), family);
        QCOMPARE(w.Re1->font().pointSize(), size);
        QCOMPARE(w.Re1->textColor(), colour);
        QCOMPARE(readFile(settings2), saved);
        return;
    }
    QCOMPARE(w.Re1->font().family(), "Liberation Mono");
    QCOMPARE(w.Re1->font().pointSize(), 14);
    QVERIFY(w.Re1->font().bold());
    QCOMPARE(w.Re1->textColor(), QColor(0, 0, 128));
    QVERIFY(countPixels(grab(w.Re1->viewport()), qRgb(0, 0, 128)) > 20);
    if (refuseSave) {
        QCOMPARE(ctx.messages, (QStringList{"Unable to write to " + settings2}));
        return;
    }
    QVERIFY(ctx.messages.isEmpty());
    QCOMPARE(QString::fromLatin1(readFile(settings2)),
             "[Font]\r\nFontName=Liberation Mono\r\nFontSize=14\r\nFontBold=1\r\n"
             "FontItalic=0\r\nTextColor=8388608\r\n");
    Tform1 again(ctx.make());
    QCOMPARE(again.Re1->font().family(), "Liberation Mono");
    QCOMPARE(again.Re1->font().pointSize(), 14);
    QVERIFY(!again.Re1->font().bold());
    QCOMPARE(again.Re1->textColor(), QColor(0, 0, 128));
}

QTEST_MAIN(TestAppearance)
#include "tst_appearance.moc"
