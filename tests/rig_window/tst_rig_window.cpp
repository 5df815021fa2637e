#include "MainWindowFixture.h"
#include "RigctldProcess.h"

#include "app/LampShape.h"
#include "app/Tform1.h"
#include "rig/RigControl.h"
#include "rig/Tguidaomnirig.h"
#include "session/TerminalPane.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace {

const QString kCwSpot = "DX de Q1AAA:     14025.0  Q9ZZZ        CW 599";
const QString kSsbSpot = "DX de Q2BBB:     14195.0  Q8YYY        up 5";
const QString kTalk = "Hello N0CALL, this is Q1AAA-2";
const QString kHit21 = "DX de Q1AAA:     21025.0  Q9ZZZ        CW 599  23:41";

const QColor kLime(0, 255, 0);
const QColor kRed(255, 0, 0);

// The colour the lamp shows, read from a picture of it.
QColor shown(QWidget* lamp)
{
    const QImage image = lamp->grab().toImage();
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

// A click with the given button on the middle of a line of a pane.
void clickLine(TerminalPane* pane, int index, Qt::MouseButton button = Qt::LeftButton)
{
    const int h = pane->fontMetrics().lineSpacing();
    const int first = pane->verticalScrollBar()->value();
    QTest::mouseClick(pane->viewport(), button, {}, QPoint(30, (index - first) * h + h / 2));
}

// Dummy rigs behind rigctld: none, Rig 1 only, or both.
struct DummyRigs
{
    RigctldProcess rig1;
    RigctldProcess rig2;

    explicit DummyRigs(int rigs)
    {
        QString error;
        if (rigs >= 1 && !rig1.start(&error))
            qFatal("%s", qPrintable(error));
        if (rigs >= 2 && !rig2.start(&error))
            qFatal("%s", qPrintable(error));
    }
};

// The main window with its rigs (the rigs start first, so the context can
// name them), the panes holding a CW spot, a talk line and an SSB spot.
struct Fixture : DummyRigs, MainWindowFixture
{
    // rigs: how many servers to start (0, 1 for Rig 1 only, 2 for both).
    explicit Fixture(int rigs)
        : DummyRigs(rigs), MainWindowFixture([this, rigs](AppContext& app) {
              if (rigs >= 1)
                  app.rig.rig1.port = rig1.address();
              if (rigs >= 2)
                  app.rig.rig2.port = rig2.address();
          })
    {
        form->Re1->clear();
        for (const QString& line : {kCwSpot, kTalk, kSsbSpot})
            form->Re1->appendEntry(line);
    }

    // Waits until the rig worker has run everything asked of it and its
    // answers have reached the window.
    bool settle(int ms = 20000)
    {
        const bool idle =
            QTest::qWaitFor([&] { return form->OmniRig->pendingOperations() == 0; }, ms);
        QTest::qWait(30);
        return idle;
    }

    bool open(QToolButton* button)
    {
        QTest::mouseClick(button, Qt::LeftButton);
        return settle();
    }
};

} // namespace

class TestRigWindow : public QObject
{
    Q_OBJECT
private slots:
    void rigWithoutServer();
    void openTuneCycleSwitchClose();
    void spotPaneTunes();
    void failedOpenKeepsEarlierRig();
    void hungServerKeepsWindowLive();
    void serverDiesMidSession();
    void guideWindow();
};

void TestRigWindow::rigWithoutServer()
{
    Fixture f(0);
    QVERIFY(f.open(f.form->SpeedButton8));
    QCOMPARE(shown(f.form->Shape2), kRed);
    QVERIFY(!f.form->SpeedButton10->isEnabled());
    QVERIFY(f.form->SpeedButton8->isChecked()); // as the click left it
    QVERIFY(f.ctx.messages.isEmpty());
    QVERIFY(!f.form->rigOpen());
    // A click on a spot line does nothing but move the focus.
    clickLine(f.form->Re1, 0);
    QCOMPARE(f.form->OmniRig->pendingOperations(), 0);
    QCOMPARE(QApplication::focusWidget(), f.form->EditCommand);
}

// The user's way through: Rig 1, clicks on lines, Alt+F2, Rig 2, close.
void TestRigWindow::openTuneCycleSwitchClose()
{
    Fixture f(2);
    Tform1& w = *f.form;
    QVERIFY(f.rig1.setMode("USB"));
    QVERIFY(f.open(w.SpeedButton8));
    QCOMPARE(shown(w.Shape2), kLime);
    QCOMPARE(w.Shape2->accessibleName(), "Rig control: connected");
    QVERIFY(w.SpeedButton10->isEnabled());
    QVERIFY(w.SpeedButton8->isChecked());
    QVERIFY(!w.SpeedButton9->isChecked());

    clickLine(w.Re1, 0);
    QCOMPARE(QApplication::focusWidget(), w.EditCommand);
    QVERIFY(f.settle());
    QCOMPARE(f.rig1.mode(), "CW");
    QCOMPARE(f.rig1.frequency(), 14025000);

    // A line that is not a spot changes nothing.
    f.rig1.clearLog();
    clickLine(w.Re1, 1);
    QVERIFY(f.settle());
    QCOMPARE(f.rig1.settings(), QStringList());

    // Any button counts, on the line that holds the start of the selection.
    clickLine(w.Re1, 2);
    QVERIFY(f.settle());
    QCOMPARE(f.rig1.frequency(), 14195000);
    QVERIFY(f.rig1.setFrequency(7001000));
    clickLine(w.Re1, 0, Qt::RightButton);
    QVERIFY(f.settle());
    QCOMPARE(f.rig1.frequency(), 14195000);
    QCOMPARE(f.rig1.mode(), "USB");

    QTest::keyClick(&w, Qt::Key_F2, Qt::AltModifier);
    QVERIFY(f.settle());
    QCOMPARE(f.rig1.mode(), "LSB");

    QVERIFY(f.open(w.SpeedButton9));
    QVERIFY(!w.SpeedButton8->isChecked());
    QVERIFY(w.SpeedButton9->isChecked());
    QCOMPARE(shown(w.Shape2), kLime);
    clickLine(w.Re1, 0);
    QVERIFY(f.settle());
    QCOMPARE(f.rig2.frequency(), 14025000);
    QCOMPARE(f.rig1.frequency(), 14195000);

    QTest::mouseClick(w.SpeedButton10, Qt::LeftButton);
    QCOMPARE(shown(w.Shape2), kRed);
    QCOMPARE(w.Shape2->accessibleName(), "Rig control: not connected");
    QVERIFY(!w.SpeedButton8->isChecked());
    QVERIFY(!w.SpeedButton9->isChecked());
    QVERIFY(!w.SpeedButton10->isEnabled());
    QVERIFY(f.settle());
    f.rig2.clearLog();
    clickLine(w.Re1, 2);
    QTest::keyClick(&w, Qt::Key_F2, Qt::AltModifier);
    QVERIFY(f.settle());
    QCOMPARE(f.rig2.settings(), QStringList());
    QVERIFY(f.ctx.messages.isEmpty());
}

void TestRigWindow::spotPaneTunes()
{
    Fixture f(2);
    Tform1& w = *f.form;
    QVERIFY(f.open(w.SpeedButton9));
    w.Re3->appendEntry(kHit21);
    f.rig2.clearLog();
    // The start lines hold no frequency digits: nothing is written.
    clickLine(w.Re3, 0);
    QVERIFY(f.settle());
    QCOMPARE(f.rig2.settings(), QStringList());
    clickLine(w.Re3, 2);
    QCOMPARE(QApplication::focusWidget(), w.EditCommand);
    QVERIFY(f.settle());
    QCOMPARE(f.rig2.frequency(), 21025000);
    QCOMPARE(f.rig2.mode(), "CW");
}

// Rig 1 is open and Rig 2 has no server: the click leaves the buttons as it
// toggled them and disables the close button, but Rig 1 stays in use.
void TestRigWindow::failedOpenKeepsEarlierRig()
{
    Fixture f(1);
    Tform1& w = *f.form;
    QVERIFY(f.open(w.SpeedButton8));
    QVERIFY(f.open(w.SpeedButton9));
    QVERIFY(!w.SpeedButton8->isChecked());
    QVERIFY(w.SpeedButton9->isChecked());
    QVERIFY(!w.SpeedButton10->isEnabled());
    QCOMPARE(shown(w.Shape2), kLime);
    QVERIFY(w.rigOpen() && w.rigChosen(1) && !w.rigChosen(2));
    clickLine(w.Re1, 0);
    QVERIFY(f.settle());
    QCOMPARE(f.rig1.frequency(), 14025000);
}

// rigctld stops answering: clicks return at once, the window goes on
// working, and the tunes run in order once the server is back.
void TestRigWindow::hungServerKeepsWindowLive()
{
    Fixture f(1);
    Tform1& w = *f.form;
    QVERIFY(f.open(w.SpeedButton8));
    f.rig1.pause();
    for (int line : {0, 2, 0, 2}) {
        QElapsedTimer t;
        t.start();
        clickLine(w.Re1, line);
        QVERIFY2(t.elapsed() < 200, qPrintable(QString::number(t.elapsed())));
    }
    QTest::keyClicks(w.EditCommand, "sh/dx");
    QCOMPARE(w.EditCommand->text(), "sh/dx");
    QVERIFY(w.OmniRig->pendingOperations() > 0);
    f.rig1.resume();
    QVERIFY(f.settle());
    QCOMPARE(f.rig1.frequency(), 14195000);
    QCOMPARE(f.rig1.mode(), "USB");
}

// rigctld dies: the program keeps running, the lamp and state stay as they
// were (nothing reads the rig back), and the close button still works.
void TestRigWindow::serverDiesMidSession()
{
    Fixture f(1);
    Tform1& w = *f.form;
    QVERIFY(f.open(w.SpeedButton8));
    f.rig1.kill();
    QElapsedTimer t;
    t.start();
    clickLine(w.Re1, 0);
    QTest::keyClick(&w, Qt::Key_F2, Qt::AltModifier);
    clickLine(w.Re1, 2);
    QVERIFY2(t.elapsed() < 600, qPrintable(QString::number(t.elapsed())));
    QVERIFY(f.settle());
    QCOMPARE(shown(w.Shape2), kLime);
    QVERIFY(w.rigOpen() && w.rigChosen(1));
    QTest::keyClicks(w.EditCommand, "sh/dx");
    QCOMPARE(w.EditCommand->text(), "sh/dx");
    QTest::mouseClick(w.SpeedButton10, Qt::LeftButton);
    QCOMPARE(shown(w.Shape2), kRed);
    QVERIFY(f.ctx.messages.isEmpty());
}

void TestRigWindow::guideWindow()
{
    Fixture f(0);
    Tguidaomnirig* guide = f.form->guidaomnirig;
    QVERIFY(!guide->isVisible());
    QTest::mouseClick(f.form->SpeedButton6, Qt::LeftButton);
    QVERIFY(guide->isVisible());
    QCOMPARE(guide->windowTitle(), "Omnirig Cat Control Guide");
    QCOMPARE(guide->size(), QSize(766, 665));
    QStringList shownLines;
    for (int i = 1; i <= 15; ++i)
        shownLines << guide->findChild<QLabel*>(QStringLiteral("Label%1").arg(i))->text();
    QCOMPARE(shownLines, Tguidaomnirig::guideLines());
    QCOMPARE(shownLines.at(7),
             "just close MARVIX TERMINAL and run it again, choose a RIG and press  ALT+F2, ");

    // The content is taller than the box; a notch up scrolls 120 pixels up.
    QScrollBar* bar = guide->ScrollBox1->verticalScrollBar();
    QVERIFY(bar->maximum() > 200);
    bar->setValue(200);
    QWheelEvent up(QPointF(100, 100), guide->ScrollBox1->mapToGlobal(QPointF(100, 100)), {},
                   QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(guide->ScrollBox1->viewport(), &up);
    QCOMPARE(bar->value(), 80);

    QTest::mouseClick(guide->BitBtn1, Qt::LeftButton);
    QVERIFY(!guide->isVisible());
    QTest::mouseClick(f.form->SpeedButton6, Qt::LeftButton);
    QVERIFY(guide->isVisible());
}

QTEST_MAIN(TestRigWindow)
#include "tst_rig_window.moc"
