// The DX window on its own, over a model fed with spot lines: what its table
// shows through the filters, the locator check, the choices kept in
// settings2.ini, tuning by double-click and Enter, the DXpedition colour,
// and the table as a screen reader reads it; a burst of alerts told in few
// words, why the table is empty, where the window opens, and its columns.

#include "alerts/AlertCenter.h"
#include "activedx/ActiveDxModel.h"
#include "dxcc/CountryTable.h"
#include "windows/CoalescedAnnouncer.h"
#include "windows/DxWindow.h"

#include <QAccessible>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QDateTime kNow(QDate(2026, 12, 10), QTime(12, 0), Qt::UTC);

QString spot(const QString& khz, const QString& call, const QString& comment = QString())
{
    QString line = QStringLiteral("DX de W3LPL:").leftJustified(24 - khz.size()) + khz;
    return line + QStringLiteral("  ") + call.leftJustified(12) + u' ' + comment.leftJustified(30)
           + QStringLiteral(" 1200Z");
}

std::shared_ptr<const CountryTable> fixtureTable()
{
    QFile f(QStringLiteral(DXCC_FIXTURE));
    if (!f.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", DXCC_FIXTURE);
    return std::make_shared<const CountryTable>(CountryTable::parse(f.readAll()));
}

// The callsigns the table shows, top to bottom.
QStringList shownCalls(const DxWindow& w)
{
    QStringList calls;
    const QAbstractItemModel* m = w.table()->model();
    for (int r = 0; r < m->rowCount(); ++r)
        calls << m->index(r, ActiveDxModel::Dx).data().toString();
    return calls;
}

// The width a column needs to show every text of the rows in view whole,
// as the table itself measures it.
int needed(const QTableView* table, int column)
{
    return static_cast<const QAbstractItemView*>(table)->sizeHintForColumn(column);
}

struct Fixture
{
    QTemporaryDir dir;
    ActiveDxModel model;
    Fixture()
    {
        model.setCountryTable(fixtureTable());
        // Oldest first; the window shows the newest on top.
        model.addLine(spot("14025.0", "EA8XYZ", "CW 599"), kNow);                 // AF, CW, 20 m
        model.addLine(spot("14195.0", "G8AAA", "up 5"), kNow.addSecs(1));         // EU, SSB, 20 m
        model.addLine(spot("7074.0", "VE1CWJ/VP9", "FT8 -10"), kNow.addSecs(2));  // NA, FT8, 40 m
        model.addLine(spot("21025.0", "IT9X", "CW"), kNow.addSecs(3), true);      // EU, CW, 15 m, hit
    }
};

} // namespace

class TestDxWindow : public QObject
{
    Q_OBJECT
private slots:
    void filters();
    void locator();
    void choicesKept();
    void tuneByDoubleClickAndEnter();
    void dxpeditionRowStandsOut();
    void readableAsTable();
    void burstOfAlertsToldInFewWords();
    void everyBandOffSaysWhy();
    void opensWhollyOnScreenAndComesBack();
    void columnsFitTheirTextsUntilSized();
    void locatorOutlivesARewrittenSettingsIni();
    void damagedChoicesAreBounded();
    void rowsStayStillUnderThePointer();
};

void TestDxWindow::filters()
{
    Fixture f;
    DxWindow w(&f.model, f.dir.path(), QStringLiteral("No country file: install hamradio-files"));
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.findChild<QLabel*>("CountryFileLine")->text(),
             QStringLiteral("No country file: install hamradio-files"));
    QCOMPARE(shownCalls(w), QStringList({"IT9X", "VE1CWJ/VP9", "G8AAA", "EA8XYZ"}));

    auto* continent = w.findChild<QComboBox*>("Continent");
    auto* mode = w.findChild<QComboBox*>("Mode");
    auto* text = w.findChild<QLineEdit*>("TextFilter");
    continent->setCurrentIndex(continent->findText("EU"));
    QCOMPARE(shownCalls(w), QStringList({"IT9X", "G8AAA"}));
    mode->setCurrentIndex(mode->findText("CW"));
    QCOMPARE(shownCalls(w), QStringList({"IT9X"}));
    continent->setCurrentIndex(0);
    mode->setCurrentIndex(mode->findText("Digital"));
    QCOMPARE(shownCalls(w), QStringList({"VE1CWJ/VP9"}));
    mode->setCurrentIndex(mode->findText("Phone"));
    QCOMPARE(shownCalls(w), QStringList({"G8AAA"}));
    mode->setCurrentIndex(0);

    // The text filter looks at call, entity and comment, in any case.
    QTest::keyClicks(text, "canary");
    QCOMPARE(shownCalls(w), QStringList({"EA8XYZ"}));
    text->clear();
    QTest::keyClicks(text, "ft8");
    QCOMPARE(shownCalls(w), QStringList({"VE1CWJ/VP9"}));
    text->clear();

    // Bands the band filter switched off are hidden.
    BandFilter bands;
    bands.setOn(BandFilter::Band::m20, false);
    w.setBandStates(bands.states());
    QCOMPARE(shownCalls(w), QStringList({"IT9X", "VE1CWJ/VP9"}));
    // A new spot on a shown band appears at once, on top.
    f.model.addLine(spot("7005.0", "KL7ND", "CW"), kNow.addSecs(4));
    QCOMPARE(shownCalls(w), QStringList({"KL7ND", "IT9X", "VE1CWJ/VP9"}));

    // Sorting by a number column goes by number.
    w.table()->sortByColumn(ActiveDxModel::Khz, Qt::AscendingOrder);
    QCOMPARE(shownCalls(w), QStringList({"KL7ND", "VE1CWJ/VP9", "IT9X"}));
}

void TestDxWindow::locator()
{
    Fixture f;
    DxWindow w(&f.model, f.dir.path(), QString());
    w.show();
    auto* edit = w.findChild<QLineEdit*>("Locator");
    auto* set = w.findChild<QPushButton*>("SetLocator");
    auto* message = w.findChild<QLabel*>("LocatorMessage");
    const QString settingsIni = f.dir.filePath("settings.ini");
    const auto bearingOf = [&w](const QString& call) {
        const QAbstractItemModel* m = w.table()->model();
        for (int r = 0; r < m->rowCount(); ++r)
            if (m->index(r, ActiveDxModel::Dx).data().toString() == call)
                return m->index(r, ActiveDxModel::Bearing).data().toString();
        return QStringLiteral("(no row)");
    };
    QCOMPARE(bearingOf("EA8XYZ"), QString());

    QTest::keyClicks(edit, "JO3X");
    QTest::mouseClick(set, Qt::LeftButton);
    QCOMPARE(message->text(), QStringLiteral("\"JO3X\" is no locator: give 4 or 6 characters, like JO31 or JO31lk."));
    QVERIFY(!QFile::exists(settingsIni));
    QCOMPARE(bearingOf("EA8XYZ"), QString());

    edit->clear();
    QTest::keyClicks(edit, "re78");
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(edit->text(), QStringLiteral("RE78"));
    QCOMPARE(message->text(), QStringLiteral("Bearing and distance from RE78."));
    // RE78 to the Canary Islands, 142.71 degrees (see tst_dxcc).
    QCOMPARE(bearingOf("EA8XYZ"), QStringLiteral("143\u00b0"));
    QFile ini(settingsIni);
    QVERIFY(ini.open(QIODevice::ReadOnly));
    QVERIFY2(ini.readAll().contains("[Station]\r\nLocator=RE78"), qPrintable(settingsIni));

    // A new window takes the stored locator.
    ActiveDxModel other;
    other.setCountryTable(fixtureTable());
    DxWindow again(&other, f.dir.path(), QString());
    QCOMPARE(again.findChild<QLineEdit*>("Locator")->text(), QStringLiteral("RE78"));
    other.addLine(spot("14025.0", "EA8XYZ"), kNow);
    QCOMPARE(other.data(other.index(0, ActiveDxModel::Bearing)).toString(), QStringLiteral("143\u00b0"));
}

void TestDxWindow::choicesKept()
{
    Fixture f;
    QRect placed;
    {
        DxWindow w(&f.model, f.dir.path(), QString());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.setGeometry(100, 120, 700, 300);
        auto* continent = w.findChild<QComboBox*>("Continent");
        continent->setCurrentIndex(continent->findText("NA"));
        auto* mode = w.findChild<QComboBox*>("Mode");
        mode->setCurrentIndex(mode->findText("Digital"));
        QTest::keyClicks(w.findChild<QLineEdit*>("TextFilter"), "VP9");
        placed = w.geometry();
        w.close();
    }
    DxWindow w(&f.model, f.dir.path(), QString());
    QCOMPARE(w.findChild<QComboBox*>("Continent")->currentText(), QStringLiteral("NA"));
    QCOMPARE(w.findChild<QComboBox*>("Mode")->currentText(), QStringLiteral("Digital"));
    QCOMPARE(w.findChild<QLineEdit*>("TextFilter")->text(), QStringLiteral("VP9"));
    QCOMPARE(shownCalls(w), QStringList({"VE1CWJ/VP9"}));
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.geometry().size(), placed.size());
}

void TestDxWindow::tuneByDoubleClickAndEnter()
{
    Fixture f;
    DxWindow w(&f.model, f.dir.path(), QString());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QSignalSpy tune(&w, &DxWindow::tuneRequested);
    QTableView* t = w.table();
    // Row 1 from the top is VE1CWJ/VP9.
    const QRect cell = t->visualRect(t->model()->index(1, ActiveDxModel::Dx));
    // A real double-click: the first click, then the second as Qt reports it.
    QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(t->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(tune.count(), 1);
    QCOMPARE(tune.at(0).at(0).toString(), spot("7074.0", "VE1CWJ/VP9", "FT8 -10"));

    t->setFocus();
    t->setCurrentIndex(t->model()->index(3, 0));
    QTest::keyClick(t, Qt::Key_Return);
    QCOMPARE(tune.count(), 2);
    QCOMPARE(tune.at(1).at(0).toString(), spot("14025.0", "EA8XYZ", "CW 599"));
}

void TestDxWindow::dxpeditionRowStandsOut()
{
    Fixture f;
    DxWindow w(&f.model, f.dir.path(), QString());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTableView* t = w.table();
    const QImage shot = t->viewport()->grab().toImage();
    // Top row IT9X was a hit; the row below was not. Sample the Comment
    // cell's right part, clear of text.
    const auto colourAt = [&](int row) {
        const QRect r = t->visualRect(t->model()->index(row, ActiveDxModel::Mode));
        return QColor(shot.pixel(r.right() - 3, r.center().y()));
    };
    QCOMPARE(colourAt(0), QColor(0xFF, 0xE0, 0x80));
    QVERIFY(colourAt(1) != QColor(0xFF, 0xE0, 0x80));
}

void TestDxWindow::readableAsTable()
{
    Fixture f;
    DxWindow w(&f.model, f.dir.path(), QString());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w.table());
    QVERIFY(a);
    QCOMPARE(a->role(), QAccessible::Table);
    QAccessibleTableInterface* table = a->tableInterface();
    QVERIFY(table);
    QCOMPARE(table->rowCount(), 4);
    QCOMPARE(table->columnCount(), int(ActiveDxModel::ColumnCount));
    QCOMPARE(table->columnDescription(ActiveDxModel::Entity), QStringLiteral("Entity"));
    QCOMPARE(table->columnDescription(ActiveDxModel::LongPath), QStringLiteral("Long path"));
    QAccessibleInterface* cell = table->cellAt(0, ActiveDxModel::Entity);
    QVERIFY(cell);
    QCOMPARE(cell->text(QAccessible::Name), QStringLiteral("Sicily"));

    // A new row is told in words.
    f.model.addLine(spot("3505.0", "KG4QQ", "CW"), kNow.addSecs(9));
    QCOMPARE(w.findChild<QLabel*>("NewestRow")->text(),
             QStringLiteral("New: KG4QQ 3505.0 kHz, Guantanamo Bay"));
}

// 5,000 alerting spots in 2.5 s, as reads from a node bring them, with the
// window open: a screen reader is told a few times at most, the newest in
// words with how many came, and the list shows the newest line.
void TestDxWindow::burstOfAlertsToldInFewWords()
{
    Fixture f;
    {
        QFile rules(f.dir.filePath("alerts.ini"));
        QVERIFY(rules.open(QIODevice::WriteOnly));
        rules.write("[Rule1]\r\nName=All\r\nOn=1\r\nCall=*\r\n");
    }
    AlertCenter::Setup setup;
    setup.alertsPath = f.dir.filePath("alerts.ini");
    setup.settingsPath = f.dir.filePath("settings.ini");
    setup.soundDir = f.dir.path();
    setup.countries = fixtureTable();
    setup.nowUtc = [] { return kNow; };
    AlertCenter alerts(setup);
    DxWindow w(&f.model, f.dir.path(), QString(), alerts.log());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto* newestAlert = w.findChild<QLabel*>("NewestAlert");
    auto* newestRow = w.findChild<QLabel*>("NewestRow");
    QMap<QObject*, int> told;
    CoalescedAnnouncer::setSink([&](QAccessibleEvent* e) {
        if (e->type() == QAccessible::NameChanged)
            ++told[e->object()];
    });
    const auto call = [](int n) {
        QString c = QStringLiteral("K") + QString::number(n % 10);
        for (int i = n / 10, k = 0; k < 3; ++k, i /= 26)
            c += QChar(u'A' + i % 26);
        return c;
    };
    QElapsedTimer clock;
    clock.start();
    QString last;
    for (int n = 0; n < 5000; ++n) {
        last = spot(QString::number(14000 + n % 300) + ".0", call(n), "CW");
        f.model.addLine(last, kNow.addMSecs(n));
        alerts.spotShown(last, true);
        if (n % 100 == 99)
            QTest::qWait(50);
    }
    // The last news is told at most a second after it came.
    QTRY_VERIFY2(newestAlert->text().endsWith(call(4999) + QStringLiteral(" CW 1200Z")),
                 qPrintable(newestAlert->text()));
    QTRY_VERIFY2(newestRow->text().contains(call(4999)), qPrintable(newestRow->text()));
    const int allowed = int(clock.elapsed() / CoalescedAnnouncer::IntervalMs) + 2;
    CoalescedAnnouncer::setSink({});
    QVERIFY2(told.value(newestAlert) <= allowed, qPrintable(QString::number(told.value(newestAlert))));
    QVERIFY2(told.value(newestRow) <= allowed, qPrintable(QString::number(told.value(newestRow))));
    QVERIFY(told.value(newestAlert) >= 2);
    QVERIFY2(newestAlert->text().contains(QRegularExpression("^\\d+ new alerts, the newest: 12:00 All: DX de W3LPL")),
             qPrintable(newestAlert->text()));
    QVERIFY2(newestRow->text().contains(QRegularExpression("^\\d+ new stations, the newest: K9")),
             qPrintable(newestRow->text()));

    // The list as a screen reader reads it: the log's thousand lines, the
    // newest last and in view, the oldest scrolled away.
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(w.alertList());
    QCOMPARE(list->childCount(), AlertCenter::kLogMax);
    QAccessibleInterface* newest = list->child(list->childCount() - 1);
    QVERIFY2(newest->text(QAccessible::Name).contains(call(4999)),
             qPrintable(newest->text(QAccessible::Name)));
    QVERIFY(!newest->state().invisible && !newest->state().offscreen);
    QVERIFY(list->child(0)->text(QAccessible::Name).contains(call(4000)));
    QVERIFY(list->child(0)->state().offscreen || list->child(0)->state().invisible);
}

// With every band switched off the table could show nothing: the window
// says why, in its place, in words a screen reader reads.
void TestDxWindow::everyBandOffSaysWhy()
{
    Fixture f;
    DxWindow w(&f.model, f.dir.path(), QString());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto* why = w.findChild<QLabel*>("EmptyReason");
    QVERIFY(why && !why->isVisible());
    BandFilter bands;
    for (int b = 0; b < BandFilter::BandCount; ++b)
        bands.setOn(BandFilter::Band(b), false);
    w.setBandStates(bands.states());
    QVERIFY(why->isVisible());
    QVERIFY(!w.table()->isVisible());
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(why);
    QCOMPARE(a->text(QAccessible::Name),
             QStringLiteral("Every band is switched off in the band strip of the main window, so no "
                            "station is shown. Switch a band on to see its stations."));
    QVERIFY(!a->state().invisible);

    bands.setOn(BandFilter::Band::m15, true);
    w.setBandStates(bands.states());
    QVERIFY(!why->isVisible());
    QVERIFY(w.table()->isVisible());
    QCOMPARE(shownCalls(w), QStringList({"IT9X"}));
}

// The window opens wholly on the screen, also when it was last left half
// off it or the screen got smaller, and comes back from minimised.
void TestDxWindow::opensWhollyOnScreenAndComesBack()
{
    Fixture f;
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    {
        // The first opening: wider than the screen as designed (1000 pixels
        // on an 800-pixel screen in the tests).
        DxWindow w(&f.model, f.dir.path(), QString());
        w.present();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY2(screen.contains(w.frameGeometry()),
                 qPrintable(QStringLiteral("%1,%2 %3x%4").arg(w.x()).arg(w.y()).arg(w.width()).arg(w.height())));
        // Left half off the screen.
        w.setGeometry(screen.right() - 200, screen.bottom() - 100, 600, 400);
        w.close();
    }
    DxWindow w(&f.model, f.dir.path(), QString());
    w.present();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(screen.contains(w.frameGeometry()));
    QCOMPARE(w.size(), QSize(600, 400));
    // A place wholly on the screen stays.
    w.move(screen.topLeft() + QPoint(30, 40));
    const QRect kept = w.geometry();
    w.close();
    w.present();
    QCOMPARE(w.geometry(), kept);

    w.showMinimized();
    QTRY_VERIFY(w.isMinimized());
    w.present();
    QTRY_VERIFY(!w.isMinimized());
    QVERIFY(w.isVisible());
}

// Columns take the width of their texts, the Entity column the whole of
// "United States of America"; a column the user drags keeps its width, and
// widths and sort come back with the next window.
void TestDxWindow::columnsFitTheirTextsUntilSized()
{
    Fixture f;
    f.model.addLine(spot("14030.0", "K1ABC", "CW"), kNow.addSecs(5));
    {
        DxWindow w(&f.model, f.dir.path(), QString());
        w.present();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTableView* t = w.table();
        QVERIFY2(t->columnWidth(ActiveDxModel::Entity) >= needed(t, ActiveDxModel::Entity),
                 qPrintable(QString::number(t->columnWidth(ActiveDxModel::Entity))));
        QCOMPARE(shownCalls(w).first(), QStringLiteral("K1ABC"));

        // A longer call that comes later widens its column too.
        f.model.addLine(spot("14031.0", "VP2V/KB1ABCDE", "CW"), kNow.addSecs(6));
        QTRY_VERIFY(t->columnWidth(ActiveDxModel::Dx) >= needed(t, ActiveDxModel::Dx));

        // The user drags the Entity column's right edge 80 pixels left.
        QHeaderView* header = t->horizontalHeader();
        const int edge = header->sectionViewportPosition(ActiveDxModel::Entity)
                         + header->sectionSize(ActiveDxModel::Entity) - 1;
        const int y = header->height() / 2;
        const int before = header->sectionSize(ActiveDxModel::Entity);
        QTest::mousePress(header->viewport(), Qt::LeftButton, {}, QPoint(edge, y));
        QTest::mouseMove(header->viewport(), QPoint(edge - 40, y));
        QTest::mouseMove(header->viewport(), QPoint(edge - 80, y));
        QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, QPoint(edge - 80, y));
        QCOMPARE(header->sectionSize(ActiveDxModel::Entity), before - 80);
        f.model.addLine(spot("14032.0", "KH1ZZ", "CW"), kNow.addSecs(7)); // Baker & Howland
        QTest::qWait(300);
        QCOMPARE(header->sectionSize(ActiveDxModel::Entity), before - 80);

        // Sorted by distance, the farthest first, with a click on its
        // heading twice.
        const auto clickHeading = [&](int column) {
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                              QPoint(header->sectionViewportPosition(column) + 10, y));
        };
        clickHeading(ActiveDxModel::Km);
        clickHeading(ActiveDxModel::Km);
        QCOMPARE(header->sortIndicatorSection(), int(ActiveDxModel::Km));
        w.close();
    }
    DxWindow w(&f.model, f.dir.path(), QString());
    w.present();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QHeaderView* header = w.table()->horizontalHeader();
    QVERIFY(header->sectionSize(ActiveDxModel::Entity) < needed(w.table(), ActiveDxModel::Entity));
    QCOMPARE(header->sortIndicatorSection(), int(ActiveDxModel::Km));
    QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);
    // The user's width stays; another column still fits what comes.
    const int entity = header->sectionSize(ActiveDxModel::Entity);
    f.model.addLine(spot("14033.0", "VP2V/KB1ABCDEFGH", "CW"), kNow.addSecs(8));
    QTRY_VERIFY(w.table()->columnWidth(ActiveDxModel::Dx) >= needed(w.table(), ActiveDxModel::Dx));
    QCOMPARE(header->sectionSize(ActiveDxModel::Entity), entity);
}

// The demo writes settings.ini afresh at each start; the locator set in the
// window comes back all the same.
void TestDxWindow::locatorOutlivesARewrittenSettingsIni()
{
    Fixture f;
    {
        DxWindow w(&f.model, f.dir.path(), QString());
        w.show();
        auto* edit = w.findChild<QLineEdit*>("Locator");
        QTest::keyClicks(edit, "jo31lk");
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(w.findChild<QLabel*>("LocatorMessage")->text(),
                 QStringLiteral("Bearing and distance from JO31lk."));
    }
    QFile settings(f.dir.filePath("settings.ini"));
    QVERIFY(settings.open(QIODevice::WriteOnly | QIODevice::Truncate));
    settings.write("[Node]\r\nElemento=DEMO-SIM\r\n[Hosts]\r\nProbe=http://127.0.0.1:1/\r\n");
    settings.close();
    ActiveDxModel other;
    DxWindow again(&other, f.dir.path(), QString());
    QCOMPARE(again.findChild<QLineEdit*>("Locator")->text(), QStringLiteral("JO31lk"));

    // A locator the user writes into settings.ini by hand wins.
    QVERIFY(settings.open(QIODevice::Append));
    settings.write("[Station]\r\nLocator=RE78\r\n");
    settings.close();
    DxWindow third(&other, f.dir.path(), QString());
    QCOMPARE(third.findChild<QLineEdit*>("Locator")->text(), QStringLiteral("RE78"));
}

// A hand-edited or damaged settings2.ini: widths out of all measure, a sort
// column that does not exist, a giant geometry. The window opens as usual,
// its columns within bounds, sorted by time.
void TestDxWindow::damagedChoicesAreBounded()
{
    Fixture f;
    QFile ini(f.dir.filePath("settings2.ini"));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[DxWindow]\r\nColumnWidths=-5,99999999,0x40,abc,7\r\nSizedColumns=1,1,77,-1,3\r\n"
              "SortColumn=4000\r\nGeometry=" + QByteArray(100000, 'A') + "\r\n");
    ini.close();
    DxWindow w(&f.model, f.dir.path(), QString());
    w.present();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTableView* t = w.table();
    // -5 and 99999999 are taken as the bounds; "0x40" ends the list. The
    // time column was not the user's: it fits its heading again.
    QVERIFY(t->columnWidth(ActiveDxModel::Utc) >= 16 && t->columnWidth(ActiveDxModel::Utc) < 100);
    QCOMPARE(t->columnWidth(ActiveDxModel::Khz), 2000);
    QCOMPARE(t->columnWidth(ActiveDxModel::Dx), 90);
    QCOMPARE(t->horizontalHeader()->sortIndicatorSection(), int(ActiveDxModel::Utc));
    QCOMPARE(shownCalls(w), QStringList({"IT9X", "VE1CWJ/VP9", "G8AAA", "EA8XYZ"}));
    QVERIFY(QGuiApplication::primaryScreen()->availableGeometry().contains(w.frameGeometry()));
}

QTEST_MAIN(TestDxWindow)
#include "tst_dx_window.moc"

// New spots come in on top and re-spotted stations move up, but the row the
// user points at stays under the pointer, the chosen station stays chosen
// as rows come and go, and a double-click tunes the station it was aimed at.
void TestDxWindow::rowsStayStillUnderThePointer()
{
    Fixture f;
    f.model.setMaxAgeMinutes(24 * 60);
    for (int i = 0; i < 40; ++i)
        f.model.addLine(spot(QStringLiteral("%1.0").arg(14030 + i), QStringLiteral("K%1AA").arg(i)),
                        kNow.addSecs(10 + i));
    DxWindow w(&f.model, f.dir.path(), QString());
    w.resize(900, 400);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTableView* t = w.table();
    QWidget* view = t->viewport();
    const auto callAt = [t](const QPoint& p) {
        return t->indexAt(p).siblingAtColumn(ActiveDxModel::Dx).data().toString();
    };
    const auto selectedCall = [t] {
        const QModelIndexList rows = t->selectionModel()->selectedRows(ActiveDxModel::Dx);
        return rows.isEmpty() ? QString() : rows.first().data().toString();
    };
    const QPoint p = t->visualRect(t->model()->index(5, ActiveDxModel::Dx)).center();
    QTest::mouseMove(view, p);
    QTest::mouseClick(view, Qt::LeftButton, {}, p);
    const QString pointed = callAt(p);
    QCOMPARE(pointed, QStringLiteral("K34AA"));
    QCOMPARE(selectedCall(), pointed);

    // Three new stations above, and one from below re-spotted to the top.
    for (int i = 0; i < 3; ++i)
        f.model.addLine(spot("7010.0", QStringLiteral("N%1EW").arg(i)), kNow.addSecs(60 + i));
    f.model.addLine(spot("14031.0", "K1AA"), kNow.addSecs(70));
    QCOMPARE(shownCalls(w).first(), QStringLiteral("K1AA"));
    QCOMPARE(callAt(p), pointed);
    QCOMPARE(selectedCall(), pointed);

    // The oldest go (the model fills their places with other rows): the
    // chosen station stays chosen.
    f.model.setMaxAgeMinutes(1);
    f.model.expire(kNow.addSecs(60 + 40));
    QVERIFY(f.model.rowCount() < 40);
    QCOMPARE(selectedCall(), pointed);
    QCOMPARE(callAt(p), pointed);

    // Rows come between the first click and the double-click.
    QSignalSpy tune(&w, &DxWindow::tuneRequested);
    QTest::mouseClick(view, Qt::LeftButton, {}, p);
    f.model.addLine(spot("7011.0", "N9EW"), kNow.addSecs(80));
    QTest::mouseDClick(view, Qt::LeftButton, {}, p);
    QCOMPARE(tune.count(), 1);
    QVERIFY2(tune.at(0).at(0).toString().contains(pointed), qPrintable(tune.at(0).at(0).toString()));
}
