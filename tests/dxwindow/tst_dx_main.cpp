// The DX window from the main window: opened by F3 and by its picture
// button (which covers no control of the layout), fed with the lines the
// main window shows after the band filter, and tuning the radio through the
// same path as a click on a spot line.

#include "FakeClusterNode.h"
#include "RigctldProcess.h"
#include "MainWindowFixture.h"

#include "app/Tform1.h"
#include "activedx/ActiveDxModel.h"
#include "session/TerminalPane.h"
#include "windows/DxWindow.h"

#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QLineEdit>
#include <QTableView>
#include <QToolButton>
#include <QtTest>

namespace {

QString spot(const QString& khz, const QString& call, const QString& comment = QString())
{
    QString line = QStringLiteral("DX de W3LPL:").leftJustified(24 - khz.size()) + khz;
    return line + QStringLiteral("  ") + call.leftJustified(12) + u' ' + comment.leftJustified(30)
           + QStringLiteral(" 1200Z");
}

QStringList shownCalls(const DxWindow& w)
{
    QStringList calls;
    const QAbstractItemModel* m = w.table()->model();
    for (int r = 0; r < m->rowCount(); ++r)
        calls << m->index(r, ActiveDxModel::Dx).data().toString();
    calls.sort();
    return calls;
}

DxWindow* dxWindow(const MainWindowFixture& f)
{
    return f.form->findChild<DxWindow*>("DxWindow");
}

} // namespace

class TestDxMain : public QObject
{
    Q_OBJECT
private slots:
    void buttonInFreeSpace();
    void openedByF3AndButton();
    void f3BringsItBackFromMinimised();
    void fedAfterBandFilter();
    void rowTunesRig();
    void spotsReadByTheirWords();
    void spotTunesInItsOwnMode_data();
    void spotTunesInItsOwnMode();
};

void TestDxMain::buttonInFreeSpace()
{
    MainWindowFixture f;
    auto* button = f.form->findChild<QToolButton*>("DxWindowButton");
    QVERIFY(button);
    QVERIFY(button->isVisible());
    QCOMPARE(button->accessibleName(), button->toolTip());
    QVERIFY(button->toolTip().contains(QStringLiteral("F3")));
    // No control of the window's layout is under it, at the design size
    // and scaled up.
    for (const QSize size : {QSize(815, 647), QSize(1222, 970)}) {
        f.form->resize(size);
        QTest::qWait(50);
        const QRect place = button->geometry();
        for (QWidget* other : f.form->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (other == button || other->isWindow() || !other->isVisible())
                continue;
            QVERIFY2(!place.intersects(other->geometry()),
                     qPrintable(other->objectName() + QStringLiteral(" under the button")));
        }
    }
}

void TestDxMain::openedByF3AndButton()
{
    MainWindowFixture f;
    QVERIFY(!dxWindow(f));
    // F3 while the command line has the focus: no line edit takes it.
    f.form->EditCommand->setFocus();
    QTest::keyClick(f.form->EditCommand, Qt::Key_F3);
    DxWindow* w = dxWindow(f);
    QVERIFY(w);
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QVERIFY(!w->isModal());
    QCOMPARE(f.form->EditCommand->text(), QString());
    // Debian's file, as installed by ./dev.
    QVERIFY2(w->findChild<QLabel*>("CountryFileLine")->text().startsWith(
                 QStringLiteral("Country file cty.dat of ")),
             qPrintable(w->findChild<QLabel*>("CountryFileLine")->text()));

    w->close();
    QVERIFY(!w->isVisible());
    QTest::mouseClick(f.form->findChild<QToolButton*>("DxWindowButton"), Qt::LeftButton);
    QVERIFY(w->isVisible());
    QCOMPARE(dxWindow(f), w);
}

// Opened wholly on the main window's screen; minimised and forgotten, F3 or
// the button brings it back to the front.
void TestDxMain::f3BringsItBackFromMinimised()
{
    MainWindowFixture f;
    QTest::keyClick(f.form.get(), Qt::Key_F3);
    DxWindow* w = dxWindow(f);
    QVERIFY(w);
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QVERIFY(f.form->screen()->availableGeometry().contains(w->frameGeometry()));

    w->showMinimized();
    QTRY_VERIFY(w->isMinimized());
    // What a window manager does when a window goes to the task bar (the
    // offscreen platform has none): the main window becomes the active one.
    QApplication::setActiveWindow(f.form.get());
    QTRY_COMPARE(QApplication::activeWindow(), f.form.get());
    QTest::keyClick(f.form.get(), Qt::Key_F3);
    QTRY_VERIFY(!w->isMinimized());
    QVERIFY(w->isVisible());
    QTRY_COMPARE(QApplication::activeWindow(), w);

    w->showMinimized();
    QTRY_VERIFY(w->isMinimized());
    QTest::mouseClick(f.form->findChild<QToolButton*>("DxWindowButton"), Qt::LeftButton);
    QTRY_VERIFY(!w->isMinimized());
}

void TestDxMain::fedAfterBandFilter()
{
    FakeClusterNode node;
    MainWindowFixture f;
    QVERIFY(f.connectTo(node));
    // Before the window opens, spots wait unread, and come in at its opening.
    node.send(spot("14010.0", "KG4QQ", "CW").toLatin1() + "\r\n");
    QVERIFY(QTest::qWaitFor([&] { return f.form->Re1->lineCount() > 0
                                      && f.form->Re1->line(f.form->Re1->lineCount() - 1).contains(u"KG4QQ"); },
                            5000));
    QCOMPARE(f.form->activeDx()->rowCount(), 0);
    f.form->showDxWindow();
    DxWindow* w = dxWindow(f);
    QCOMPARE(shownCalls(*w), QStringList({"KG4QQ"}));

    // 40 m off: its spot is neither shown nor counted.
    f.form->BitBtn6Click();
    QTest::mouseClick(f.form->findChild<QWidget*>("m40"), Qt::LeftButton);
    QVERIFY(!f.form->bands().isOn(BandFilter::Band::m40));

    QByteArray bytes;
    for (const QString& line :
         {spot("14025.0", "EA8XYZ", "CW 599"), QStringLiteral("WWV de W0MU <21>:   SFI=118, A=8"),
          spot("7005.0", "KL7ND", "CW"), spot("21295.0", "VE1CWJ/VP9", "SSB"),
          spot("14026.0", "EA8XYZ", "CW")})
        bytes += line.toLatin1() + "\r\n";
    node.send(bytes);
    QVERIFY(QTest::qWaitFor([&] { return f.form->activeDx()->rowCount() == 3; }, 5000));
    QTest::qWait(100);
    QCOMPARE(f.form->activeDx()->rowCount(), 3);
    QCOMPARE(shownCalls(*w), QStringList({"EA8XYZ", "KG4QQ", "VE1CWJ/VP9"}));

    // 15 m off afterwards: its row is hidden, and comes back.
    QTest::mouseClick(f.form->findChild<QWidget*>("m15"), Qt::LeftButton);
    QCOMPARE(shownCalls(*w), QStringList({"EA8XYZ", "KG4QQ"}));
    QTest::mouseClick(f.form->findChild<QWidget*>("m15"), Qt::LeftButton);
    QCOMPARE(shownCalls(*w), QStringList({"EA8XYZ", "KG4QQ", "VE1CWJ/VP9"}));

    // Closed again: new spots wait; reopened, they are there.
    w->close();
    node.send(spot("28020.0", "IT9X", "CW").toLatin1() + "\r\n");
    QVERIFY(QTest::qWaitFor([&] { return f.form->Re1->line(f.form->Re1->lineCount() - 1).contains(u"IT9X"); }, 5000));
    QCOMPARE(f.form->activeDx()->rowCount(), 3);
    f.form->showDxWindow();
    QCOMPARE(f.form->activeDx()->rowCount(), 4);

    // Two spots of EA8XYZ on 20 m: one row, the later frequency.
    const QAbstractItemModel* m = w->table()->model();
    for (int r = 0; r < m->rowCount(); ++r)
        if (m->index(r, ActiveDxModel::Dx).data().toString() == u"EA8XYZ")
            QCOMPARE(m->index(r, ActiveDxModel::Khz).data().toString(), QStringLiteral("14026.0"));
}

void TestDxMain::rowTunesRig()
{
    RigctldProcess rig;
    QString error;
    QVERIFY2(rig.start(&error), qPrintable(error));
    MainWindowFixture f([&](AppContext& app) { app.rig.rig1.port = rig.address(); });
    f.form->activeDx()->addLine(spot("14025.0", "EA8XYZ", "CW"), QDateTime::currentDateTimeUtc());
    DxWindow* w = f.form->showDxWindow();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QTableView* t = w->table();

    // Without an open rig nothing happens, as with a click on the pane.
    t->setFocus();
    t->setCurrentIndex(t->model()->index(0, 0));
    QTest::keyClick(t, Qt::Key_Return);

    QTest::mouseClick(f.form->SpeedButton8, Qt::LeftButton);
    QVERIFY(QTest::qWaitFor([&] { return f.form->rigOpen() && f.form->rigChosen(1); }, 20000));
    QVERIFY(rig.setFrequency(7000000));
    QTest::keyClick(t, Qt::Key_Return);
    QVERIFY(QTest::qWaitFor([&] { return rig.frequency() == 14025000; }, 10000));
    QCOMPARE(rig.mode(), QStringLiteral("CW"));
}

// The DX window reads each spot by its words, not by the pane's columns:
// frequencies with two decimals stay whole, a call longer than its column
// keeps its first letter, and a spot the pane's 160 m window (1830-1850)
// drops still reaches the window while 160 m is on.
void TestDxMain::spotsReadByTheirWords()
{
    FakeClusterNode node;
    MainWindowFixture f;
    QVERIFY(f.connectTo(node));
    DxWindow* w = f.form->showDxWindow();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    node.send("DX de W3LPL:     21057.61  VP2MXX       CW 599                         1200Z\r\n"
              "DX de DL8LAS:     1812.79  FT8WW        FT8 -12 dB                     1201Z\r\n"
              "DX de DK9IP-#:   14025.00  JA1BBB       CW 19 dB 18 WPM CQ             1202Z\r\n");
    node.send(spot("14010.0", "KG4QQ", "CW").toLatin1() + "\r\n");
    QVERIFY(QTest::qWaitFor([&] { return f.form->activeDx()->rowCount() == 4; }, 5000));
    QVERIFY(f.waitForLine(spot("14010.0", "KG4QQ", "CW").left(60)));
    // The pane drops the 160 m spot outside its window, as designed.
    for (const QString& line : f.lines())
        QVERIFY2(!line.contains(u"FT8WW"), qPrintable(line));

    const QAbstractItemModel* m = w->table()->model();
    QStringList rows;
    for (int r = 0; r < m->rowCount(); ++r) {
        QStringList cells;
        for (int c : {ActiveDxModel::Khz, ActiveDxModel::Dx, ActiveDxModel::Entity,
                      ActiveDxModel::Mode})
            cells << m->index(r, c).data().toString();
        rows << cells.join(u'|');
    }
    rows.sort();
    QCOMPARE(rows, QStringList({"14010.0|KG4QQ|Guantanamo Bay|CW", "14025.0|JA1BBB|Japan|CW",
                                "1812.79|FT8WW|Crozet Island|FT8",
                                "21057.61|VP2MXX|Montserrat|CW"}));
}

void TestDxMain::spotTunesInItsOwnMode_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<qint64>("hz");
    QTest::addColumn<QString>("mode");
    QTest::newRow("FT8 on 30 m: the data mode")
        << "DX de DL8LAS:    10136.0  FT8WW        FT8 -12 dB                     1201Z" << qint64(10136000)
        << "PKTUSB";
    QTest::newRow("FT8 on 160 m, two decimals")
        << "DX de DL8LAS:     1840.12  FT8WW        FT8 -12 dB                     1201Z" << qint64(1840120)
        << "PKTUSB";
    QTest::newRow("SSB below 10 MHz: LSB")
        << "DX de EA8ABC:     7150.0  EA8XYZ       SSB 59                         1201Z" << qint64(7150000)
        << "LSB";
    QTest::newRow("phone segment above 10 MHz: USB")
        << "DX de G3ABC:     14195.0  G8AAA        up 5                           1201Z" << qint64(14195000)
        << "USB";
    QTest::newRow("CW, hertz kept")
        << "DX de W3LPL:     21057.61  VP2MXX       CW 599                        1200Z" << qint64(21057610)
        << "CW";
}

void TestDxMain::spotTunesInItsOwnMode()
{
    QFETCH(QString, line);
    QFETCH(qint64, hz);
    QFETCH(QString, mode);
    RigctldProcess rig;
    QString error;
    QVERIFY2(rig.start(&error), qPrintable(error));
    FakeClusterNode node;
    MainWindowFixture f([&](AppContext& app) { app.rig.rig1.port = rig.address(); });
    QVERIFY(f.connectTo(node));
    DxWindow* w = f.form->showDxWindow();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    node.send(line.toLatin1() + "\r\n");
    QVERIFY(QTest::qWaitFor([&] { return f.form->activeDx()->rowCount() == 1; }, 5000));
    QTest::mouseClick(f.form->SpeedButton8, Qt::LeftButton);
    QVERIFY(QTest::qWaitFor([&] { return f.form->rigOpen() && f.form->rigChosen(1); }, 20000));
    QVERIFY(rig.setMode(QStringLiteral("AM")));

    QTableView* t = w->table();
    const QRect cell = t->visualRect(t->model()->index(0, ActiveDxModel::Dx));
    QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(t->viewport(), Qt::LeftButton, {}, cell.center());
    QVERIFY2(QTest::qWaitFor([&] { return rig.frequency() == hz; }, 10000),
             qPrintable(QString::number(rig.frequency())));
    QCOMPARE(rig.mode(), mode);
}

QTEST_MAIN(TestDxMain)
#include "tst_dx_main.moc"
