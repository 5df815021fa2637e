#include "RigctldProcess.h"

#include "rig/OmniRigModes.h"
#include "rig/RigControl.h"
#include "rig/RigTuning.h"
#include "spots/ClickedLine.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QtTest>

#include <clocale>

#include <memory>
#include <optional>

using namespace OmniRigModes;

Q_DECLARE_METATYPE(std::optional<QString>)

namespace {

// The mode table as the band plan gives it: lowest F, highest F, mode.
struct Row
{
    qint64 lowest;
    qint64 highest;
    qint32 mode;
};
const Row kTable[] = {
    {18300, 18389, PM_CW_U},    {18390, 18500, PM_SSB_L},   {35000, 35999, PM_CW_U},
    {36000, 38000, PM_SSB_L},   {53150, 53409, PM_CW_U},    {53410, 56500, PM_SSB_L},
    {70000, 70499, PM_CW_U},    {70500, 73000, PM_SSB_L},   {101000, 115000, PM_CW_U},
    {140000, 140999, PM_CW_U},  {141000, 143500, PM_SSB_U}, {180680, 181109, PM_CW_U},
    {181110, 181680, PM_SSB_U}, {210000, 211509, PM_CW_U},  {211510, 214500, PM_SSB_U},
    {248900, 249309, PM_CW_U},  {249310, 249900, PM_SSB_U}, {280000, 282019, PM_CW_U},
    {282020, 289990, PM_SSB_U}, {500000, 500999, PM_CW_U},  {501000, 510000, PM_SSB_U},
};

std::optional<qint32> expectedMode(qint64 f)
{
    for (const Row& r : kTable)
        if (f >= r.lowest && f <= r.highest)
            return r.mode;
    return std::nullopt;
}

const char* modeName(std::optional<qint32> mode)
{
    if (!mode)
        return "none";
    switch (*mode) {
    case PM_CW_U:
        return "CW";
    case PM_SSB_U:
        return "USB";
    case PM_SSB_L:
        return "LSB";
    default:
        return "?";
    }
}

// A rig control whose Rig 1 and Rig 2 are two dummy rigs behind rigctld.
struct Rigs
{
    RigctldProcess rig1;
    RigctldProcess rig2;
    std::unique_ptr<RigControl> control;

    bool start(int shutdownWaitMs = 2000)
    {
        QString error;
        if (!rig1.start(&error) || !rig2.start(&error)) {
            qWarning("%s", qPrintable(error));
            return false;
        }
        RigBackend backend;
        backend.rig1.port = rig1.address();
        backend.rig2.port = rig2.address();
        backend.shutdownWaitMs = shutdownWaitMs;
        control = std::make_unique<RigControl>(backend);
        return true;
    }

    bool open(int rig)
    {
        QSignalSpy spy(control.get(), &RigControl::opened);
        control->open(rig);
        return spy.wait(15000) && spy.at(0).at(1).toBool();
    }

    bool idle(int ms = 20000)
    {
        return QTest::qWaitFor([&] { return control->pendingOperations() == 0; }, ms);
    }
};

} // namespace

class TestRig : public QObject
{
    Q_OBJECT
private slots:
    void modeTable_data();
    void modeTable();
    void tunePlan_data();
    void tunePlan();
    void clickedLine_data();
    void clickedLine();

    void tuneSetsModeThenFrequency();
    void openWhileNumbersUseAnotherLocale();
    void tuneWithoutModeRowSetsOnlyFrequency();
    void onlyTheNamedRigIsTuned();
    void openWithoutServerFails();
    void failedOpenKeepsEarlierConnection();
    void modeCycle_data();
    void modeCycle();
    void hungServerQueuesInOrder();
    void restartedServerIsFoundAgain();
    void endWithHungServerDoesNotHang();
};

// Every row edge: each bound and the value just outside it.
void TestRig::modeTable_data()
{
    QTest::addColumn<qint64>("f");
    QTest::addColumn<int>("mode"); // 0 for none
    auto add = [](qint64 f) {
        const std::optional<qint32> m = expectedMode(f);
        QTest::addRow("%lld %s", f, modeName(m)) << f << int(m.value_or(0));
    };
    for (const Row& r : kTable) {
        add(r.lowest - 1);
        add(r.lowest);
        add(r.highest);
        add(r.highest + 1);
    }
    QTest::newRow("0 none") << qint64(0) << 0;
    QTest::newRow("144300.0 kHz none") << qint64(1443000) << 0;
}

void TestRig::modeTable()
{
    QFETCH(qint64, f);
    QFETCH(int, mode);
    QCOMPARE(RigTuning::modeForFrequency(f).value_or(0), mode);
}

void TestRig::tunePlan_data()
{
    QTest::addColumn<QString>("digits");
    QTest::addColumn<int>("mode"); // 0 for none
    QTest::addColumn<qint64>("hz"); // -1 for none
    QTest::newRow("empty writes nothing") << "" << 0 << qint64(-1);
    QTest::newRow("14025.0 CW") << "140250" << PM_CW_U << qint64(14025000);
    QTest::newRow("14195.0 USB") << "141950" << PM_SSB_U << qint64(14195000);
    QTest::newRow("3725.0 LSB") << "37250" << PM_SSB_L << qint64(3725000);
    QTest::newRow("10136.0 CW") << "101360" << PM_CW_U << qint64(10136000);
    QTest::newRow("144300.0 frequency only") << "1443000" << 0 << qint64(144300000);
    QTest::newRow("28999.5 frequency only") << "289995" << 0 << qint64(28999500);
    QTest::newRow("largest Hz that fits") << "21474836" << 0 << qint64(2147483600);
    QTest::newRow("Hz above 2147483647") << "21474837" << 0 << qint64(-1);
    QTest::newRow("F above 32 bits") << "99999999999" << 0 << qint64(-1);
}

void TestRig::tunePlan()
{
    QFETCH(QString, digits);
    QFETCH(int, mode);
    QFETCH(qint64, hz);
    const RigTuning::TunePlan plan = RigTuning::planTune(digits);
    QCOMPARE(plan.mode.value_or(0), mode);
    QCOMPARE(plan.hz ? qint64(*plan.hz) : qint64(-1), hz);
}

void TestRig::clickedLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("terminalPane");
    QTest::addColumn<std::optional<QString>>("digits");
    const QString spot = "DX de Q1AAA:     14025.0  Q9ZZZ        CW 599";
    const std::optional<QString> none;
    QTest::newRow("spot") << spot << true << std::optional<QString>("140250");
    QTest::newRow("hit line") << spot + "  <------" << true << std::optional<QString>("140250");
    QTest::newRow("160 m, column 18 blank")
        << "DX de Q1AAA:      1830.0  Q9ZZZ" << true << std::optional<QString>("18300");
    QTest::newRow("144300.0 passes the length test")
        << "DX de Q1AAA:    144300.0  Q9ZZZ" << true << std::optional<QString>("1443000");
    QTest::newRow("more than 7 from column 18")
        << "DX de Q1AAA:     14025.00000 Q9ZZZ" << true << none;
    QTest::newRow("Dx") << "Dx de Q1AAA:     14025.0  Q9ZZZ" << true << none;
    QTest::newRow("leading blank") << " DX de Q1AAA:    14025.0  Q9ZZZ" << true << none;
    QTest::newRow("empty") << "" << true << none;
    QTest::newRow("not a spot") << "Hello N0CALL, this is Q1AAA-2" << true << none;
    QTest::newRow("spot pane hit with time")
        << "DX de Q1AAA:     21025.0  Q9ZZZ        CW 599  23:41" << false
        << std::optional<QString>("210250");
    QTest::newRow("spot pane has no DX test")
        << "xx de Q1AAA:     21025.0  Q9ZZZ" << false << std::optional<QString>("210250");
    QTest::newRow("spot pane first start line")
        << "Press CONNECT BUTTON, then WRITE your CALL SIGN and press ENTER" << false
        << std::optional<QString>("");
    QTest::newRow("spot pane second start line")
        << "Remember also that you must SET ACTIVE LIVE CHECK option" << false
        << std::optional<QString>("");
}

void TestRig::clickedLine()
{
    QFETCH(QString, line);
    QFETCH(bool, terminalPane);
    QFETCH(std::optional<QString>, digits);
    QCOMPARE(ClickedLine::tuningDigits(line, terminalPane ? ClickedLine::Pane::Terminal
                                                          : ClickedLine::Pane::Spots),
             digits);
}

void TestRig::tuneSetsModeThenFrequency()
{
    Rigs rigs;
    QVERIFY(rigs.start());
    QVERIFY(rigs.rig1.setMode("USB"));
    QVERIFY(rigs.open(1));
    rigs.rig1.clearLog();
    rigs.control->tune(1, "140250");
    QVERIFY(rigs.idle());
    QCOMPARE(rigs.rig1.mode(), "CW");
    QCOMPARE(rigs.rig1.frequency(), 14025000);
    // The mode first, then VFO A and the current VFO.
    QTRY_COMPARE(rigs.rig1.settings(),
             QStringList({"mode CW", "freq 14025000", "freq 14025000"}));
}

// Hamlib sets back the number locale it found when it opens a rig; a name
// other than "C" was read after Hamlib's own switch had freed it (the
// sanitizer build stops on it).
void TestRig::openWhileNumbersUseAnotherLocale()
{
    QVERIFY(std::setlocale(LC_NUMERIC, "C.UTF-8"));
    Rigs rigs;
    QVERIFY(rigs.start());
    QCOMPARE(QByteArray(std::setlocale(LC_NUMERIC, nullptr)), QByteArray("C"));
    QVERIFY(rigs.open(1));
    QVERIFY(rigs.open(2));
    rigs.control->tune(1, "140250");
    QVERIFY(rigs.idle());
    QCOMPARE(rigs.rig1.frequency(), 14025000);
}

void TestRig::tuneWithoutModeRowSetsOnlyFrequency()
{
    Rigs rigs;
    QVERIFY(rigs.start());
    QVERIFY(rigs.rig1.setMode("AM"));
    QVERIFY(rigs.open(1));
    rigs.rig1.clearLog();
    rigs.control->tune(1, "289995");
    rigs.control->tune(1, "");
    QVERIFY(rigs.idle());
    QCOMPARE(rigs.rig1.mode(), "AM");
    QCOMPARE(rigs.rig1.frequency(), 28999500);
    QTRY_COMPARE(rigs.rig1.settings(), QStringList({"freq 28999500", "freq 28999500"}));
}

void TestRig::onlyTheNamedRigIsTuned()
{
    Rigs rigs;
    QVERIFY(rigs.start());
    const qint64 before = rigs.rig1.frequency();
    QVERIFY(rigs.open(2));
    rigs.control->tune(2, "210250");
    QVERIFY(rigs.idle());
    QCOMPARE(rigs.rig2.frequency(), 21025000);
    QCOMPARE(rigs.rig2.mode(), "CW");
    QCOMPARE(rigs.rig1.frequency(), before);
}

void TestRig::openWithoutServerFails()
{
    RigBackend backend;
    backend.rig1.port = QStringLiteral("127.0.0.1:%1").arg(RigctldProcess::freePort());
    RigControl control(backend);
    QSignalSpy spy(&control, &RigControl::opened);
    control.open(1);
    QVERIFY(spy.wait(15000));
    QCOMPARE(spy.at(0).at(0).toInt(), 1);
    QCOMPARE(spy.at(0).at(1).toBool(), false);
    // Nothing is open, so a tune is dropped without an error.
    control.tune(1, "140250");
    QTRY_COMPARE(control.pendingOperations(), 0);
}

// Rig 1 is open; "Rig 2" fails: the Rig 1 connection is still the one tuned.
void TestRig::failedOpenKeepsEarlierConnection()
{
    Rigs rigs;
    QVERIFY(rigs.start());
    QVERIFY(rigs.open(1));
    rigs.rig2.kill();
    QVERIFY(!rigs.open(2));
    rigs.control->tune(1, "70120");
    QVERIFY(rigs.idle());
    QCOMPARE(rigs.rig1.frequency(), 7012000);
}

void TestRig::modeCycle_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::newRow("CW to USB") << "CW" << "USB";
    QTest::newRow("USB to LSB") << "USB" << "LSB";
    QTest::newRow("LSB to FM") << "LSB" << "FM";
    QTest::newRow("FM to AM") << "FM" << "AM";
    QTest::newRow("AM to CW") << "AM" << "CW";
    QTest::newRow("CW lower stays") << "CWR" << "CWR";
    QTest::newRow("digital stays") << "PKTUSB" << "PKTUSB";
}

void TestRig::modeCycle()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    Rigs rigs;
    QVERIFY(rigs.start());
    QVERIFY(rigs.rig1.setMode(from));
    QVERIFY(rigs.rig2.setMode("CW"));
    QVERIFY(rigs.open(1));
    rigs.control->cycleMode(1);
    QVERIFY(rigs.idle());
    QCOMPARE(rigs.rig1.mode(), to);
    QCOMPARE(rigs.rig2.mode(), "CW");
}

// A server that stops answering: every call returns at once, the operations
// wait their turn, and once the server is back they run in the order given.
void TestRig::hungServerQueuesInOrder()
{
    Rigs rigs;
    QVERIFY(rigs.start());
    QVERIFY(rigs.rig1.setMode("USB"));
    QVERIFY(rigs.open(1));
    rigs.rig1.clearLog();
    rigs.rig1.pause();
    QElapsedTimer t;
    t.start();
    rigs.control->tune(1, "140250");
    rigs.control->tune(1, "70500");
    rigs.control->tune(1, "212000");
    QVERIFY2(t.elapsed() < 50, qPrintable(QString::number(t.elapsed())));
    QTest::qWait(1000);
    QVERIFY(rigs.control->pendingOperations() >= 2);
    rigs.rig1.resume();
    QVERIFY(rigs.idle());
    QCOMPARE(rigs.rig1.frequency(), 21200000);
    QCOMPARE(rigs.rig1.mode(), "USB");
    QTRY_COMPARE(rigs.rig1.settings(),
             QStringList({"mode CW", "freq 14025000", "freq 14025000", "mode LSB", "freq 7050000",
                          "freq 7050000", "mode USB", "freq 21200000", "freq 21200000"}));
}

// rigctld dies and is started again on its port: the rig is opened afresh and
// tuning works again, without closing and opening "Rig 1".
void TestRig::restartedServerIsFoundAgain()
{
    Rigs rigs;
    QVERIFY(rigs.start());
    QVERIFY(rigs.open(1));
    const quint16 port = rigs.rig1.port();
    rigs.rig1.kill();
    rigs.control->tune(1, "140250");
    QVERIFY(rigs.idle());
    RigctldProcess again;
    QVERIFY(again.start(nullptr, port));
    // The first command on the broken connection may be the one that finds
    // it broken (each step of a tune has its own guard), so a slow machine
    // can lose part of the first click; the next click tunes fully.
    rigs.control->tune(1, "70120");
    QVERIFY(rigs.idle());
    rigs.control->tune(1, "70130");
    QVERIFY(rigs.idle());
    QCOMPARE(again.frequency(), 7013000);
    QCOMPARE(again.mode(), "CW");
}

// The end of the program waits a bounded time for a rig that hangs.
void TestRig::endWithHungServerDoesNotHang()
{
    Rigs rigs;
    QVERIFY(rigs.start(300));
    QVERIFY(rigs.open(1));
    rigs.rig1.pause();
    rigs.control->tune(1, "140250");
    rigs.control->cycleMode(1);
    QTest::qWait(100);
    QElapsedTimer t;
    t.start();
    rigs.control.reset();
    QVERIFY2(t.elapsed() < 1500, qPrintable(QString::number(t.elapsed())));
    rigs.rig1.resume();
}

QTEST_MAIN(TestRig)
#include "tst_rig.moc"
