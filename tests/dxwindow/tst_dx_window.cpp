// The DX window on its own, over a model fed with spot lines: what its table
// shows through the filters, the locator check, the choices kept in
// settings2.ini, tuning by double-click and Enter, the DXpedition colour,
// and the table as a screen reader reads it.

#include "dxcc/ActiveDxModel.h"
#include "dxcc/CountryTable.h"
#include "windows/DxWindow.h"

#include <QAccessible>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
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

QTEST_MAIN(TestDxWindow)
#include "tst_dx_window.moc"
