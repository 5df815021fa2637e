// The alert rules at work without a window: what the DX window's alert list
// gets, and which sound a line asks for.

#include "alerts/AlertCenter.h"
#include "alerts/NoticeThrottle.h"
#include "alerts/SoundCache.h"
#include "dxcc/CountryTable.h"
#include "log/LogIndex.h"
#include "pipeline/SpotEvent.h"
#include "spots/SpotReader.h"
#include "settings/BoundedFile.h"

#include "ProcessMemory.h"
#include "TestFiles.h"

#include <QAbstractItemModel>
#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QDateTime kNow(QDate(2026, 12, 11), QTime(7, 12), Qt::UTC);

//   DX de W3LPL:     14025.0  3Y0K         CW 599 0712Z
QString spotLine(const QString& call)
{
    return QStringLiteral("DX de W3LPL:     14025.0  %1 CW 599 0712Z").arg(call, -12);
}

std::unique_ptr<AlertCenter> center(const QTemporaryDir& dir, const QByteArray& alertsIni)
{
    AlertCenter::Setup setup;
    setup.alertsPath = dir.filePath(QStringLiteral("alerts.ini"));
    setup.settingsPath = dir.filePath(QStringLiteral("settings.ini"));
    setup.soundDir = dir.path();
    setup.countries = std::make_shared<const CountryTable>();
    setup.nowUtc = [] { return kNow; };
    if (!writeFile(setup.alertsPath, alertsIni))
        qFatal("alerts.ini not written");
    return std::make_unique<AlertCenter>(std::move(setup));
}

QStringList rows(const QAbstractItemModel* model)
{
    QStringList r;
    for (int row = 0; row < model->rowCount(); ++row)
        r.append(model->index(row, 0).data().toString());
    return r;
}

const void* bufferOf(const QByteArray& bytes)
{
    return bytes.constData();
}

} // namespace

class TestAlertCenter : public QObject
{
    Q_OBJECT
private slots:
    void firedRulesAreListedWithOneSound_data();
    void firedRulesAreListedWithOneSound();
    void listKeepsTheNewest();
    void oneReadServesManyNames();
    void soundsStayUnderTheCap();
    void noticesKeepToTheirBudget();
    void neededRuleFollowsTheLog();
};

void TestAlertCenter::firedRulesAreListedWithOneSound_data()
{
    QTest::addColumn<bool>("soundOn");
    QTest::addColumn<QString>("soundKey"); // the first rule's Sound=
    QTest::addColumn<int>("alarms");
    QTest::addColumn<QList<QByteArray>>("sounds");
    const QByteArray wav("RIFF....WAVEfmt ");
    QTest::newRow("own file") << true << "beep.wav" << 0 << QList<QByteArray>{wav};
    QTest::newRow("missing file is silence") << true << "gone.wav" << 0 << QList<QByteArray>{{}};
    QTest::newRow("no file outside the folder")
        << true << "../beep.wav" << 0 << QList<QByteArray>{{}};
    QTest::newRow("alarm") << true << "1" << 1 << QList<QByteArray>{};
    QTest::newRow("first rule silent: the second's alarm") << true << "0" << 1 << QList<QByteArray>{};
    QTest::newRow("sound off") << false << "beep.wav" << 0 << QList<QByteArray>{};
}

// Two rules fire for one spot: both are listed, in file order, and only the
// first sound plays.
void TestAlertCenter::firedRulesAreListedWithOneSound()
{
    QFETCH(bool, soundOn);
    QFETCH(QString, soundKey);
    QFETCH(int, alarms);
    QFETCH(QList<QByteArray>, sounds);
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath(QStringLiteral("beep.wav")), "RIFF....WAVEfmt "));
    auto alerts = center(dir, "[Rule1]\r\nName=Bouvet\r\nCall=3Y0K\r\nSound=" + soundKey.toUtf8() +
                                  "\r\n[Rule2]\r\nName=Any 3Y\r\nCall=3Y*\r\nSound=1\r\n");
    QCOMPARE(alerts->rules().size(), 2);
    QSignalSpy alarm(alerts.get(), &AlertCenter::alarmWanted);
    QSignalSpy sound(alerts.get(), &AlertCenter::soundWanted);

    alerts->spotShown(spotLine(QStringLiteral("3Y0K")), soundOn);
    // Only a line that begins with "DX" is a spot.
    alerts->spotShown(QStringLiteral(" ") + spotLine(QStringLiteral("3Y0J")), soundOn);

    QCOMPARE(rows(alerts->log()),
             QStringList({QStringLiteral("07:12 Bouvet: DX de W3LPL: 14025.0 3Y0K CW 599 0712Z"),
                          QStringLiteral("07:12 Any 3Y: DX de W3LPL: 14025.0 3Y0K CW 599 0712Z")}));
    QCOMPARE(alarm.size(), alarms);
    QList<QByteArray> played;
    for (const QList<QVariant>& args : sound)
        played.append(args.at(0).toByteArray());
    QCOMPARE(played, sounds);
}

void TestAlertCenter::listKeepsTheNewest()
{
    QTemporaryDir dir;
    auto alerts = center(dir, "[Rule1]\r\nName=All\r\nCall=\r\n");
    for (int i = 0; i <= AlertCenter::kLogMax; ++i)
        alerts->spotShown(spotLine(QStringLiteral("Q%1A").arg(i)), true);
    const QStringList list = rows(alerts->log());
    QCOMPARE(list.size(), AlertCenter::kLogMax);
    QVERIFY2(list.first().contains(QLatin1String(" Q1A ")), qPrintable(list.first()));
    QVERIFY2(list.last().contains(QStringLiteral(" Q%1A ").arg(AlertCenter::kLogMax)),
             qPrintable(list.last()));
}

// 400 rules, each naming a WAV file of its own, each a link to the same
// 16 MiB file: the file is read once and every rule plays that one copy.
void TestAlertCenter::oneReadServesManyNames()
{
    constexpr int kRules = 400;
    QTemporaryDir dir;
    const QByteArray wav = "RIFF" + QByteArray(BoundedFile::kSoundMaxBytes - 4, 'x');
    const QString big = dir.filePath(QStringLiteral("big.wav"));
    QVERIFY(writeFile(big, wav));
    QByteArray ini;
    for (int i = 0; i < kRules; ++i) {
        QVERIFY(QFile::link(big, dir.filePath(QStringLiteral("s%1.wav").arg(i))));
        ini += QStringLiteral("[Rule%1]\nName=R%1\nCall=Q%1A\nSound=s%1.wav\n").arg(i).toUtf8();
    }
    auto alerts = center(dir, ini);
    QCOMPARE(alerts->rules().size(), kRules);

    const qint64 before = ProcessMemory::residentBytes();
    QByteArray first;
    int played = 0;
    bool shared = true;
    connect(alerts.get(), &AlertCenter::soundWanted, this, [&](const QByteArray& bytes) {
        if (played++ == 0)
            first = bytes;
        else
            shared = shared && bufferOf(bytes) == bufferOf(first);
    });
    // Stops at the first copy of its own: 400 of them would take 6 GB.
    for (int i = 0; i < kRules && shared; ++i)
        alerts->spotShown(spotLine(QStringLiteral("Q%1A").arg(i)), true);
    QVERIFY2(shared, qPrintable(QStringLiteral("sound %1 was a copy of its own").arg(played)));
    QCOMPARE(played, kRules);
    QCOMPARE(first, wav);
    const qint64 grown = ProcessMemory::residentBytes() - before;
    QVERIFY2(grown < 48 * 1024 * 1024, qPrintable(QStringLiteral("grew %1 MB").arg(grown >> 20)));
}

// Distinct files: the copies together stay under the cap, the sound used
// longest ago going first; a file changed on disk is read again.
void TestAlertCenter::soundsStayUnderTheCap()
{
    constexpr qint64 kMib = 1024 * 1024;
    QTemporaryDir dir;
    for (const char* name : {"a", "b", "c", "d"})
        QVERIFY(writeFile(dir.filePath(QLatin1String(name) + ".wav"), QByteArray(kMib, name[0])));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.wav")));
    SoundCache cache(dir.path(), 3 * kMib);

    const QByteArray a = cache.sound(QStringLiteral("a.wav"));
    const QByteArray b = cache.sound(QStringLiteral("b.wav"));
    const QByteArray c = cache.sound(QStringLiteral("c.wav"));
    QCOMPARE(cache.totalBytes(), 3 * kMib);
    QCOMPARE(bufferOf(cache.sound(QStringLiteral("a.wav"))), bufferOf(a));
    // d pushes out b, the one used longest ago; a and c stay.
    QCOMPARE(cache.sound(QStringLiteral("d.wav")), QByteArray(kMib, 'd'));
    QCOMPARE(cache.totalBytes(), 3 * kMib);
    QCOMPARE(bufferOf(cache.sound(QStringLiteral("a.wav"))), bufferOf(a));
    QCOMPARE(bufferOf(cache.sound(QStringLiteral("c.wav"))), bufferOf(c));
    // b comes back as a new read (the test still holds the old copy, so the
    // new one cannot lie in its place).
    const QByteArray b2 = cache.sound(QStringLiteral("b.wav"));
    QVERIFY(bufferOf(b2) != bufferOf(b));
    QCOMPARE(b2, b);
    QCOMPARE(cache.fileCount(), 3);

    QVERIFY(writeFile(dir.filePath(QStringLiteral("c.wav")), QByteArray(kMib + 10, 'C')));
    QCOMPARE(cache.sound(QStringLiteral("c.wav")), QByteArray(kMib + 10, 'C'));
    QVERIFY(cache.totalBytes() <= 3 * kMib);

    for (const char* name : {"folder.wav", "missing.wav", "../a.wav", "sub/a.wav"})
        QVERIFY2(cache.sound(QLatin1String(name)).isEmpty(), name);
}

void TestAlertCenter::noticesKeepToTheirBudget()
{
    using Notice = NoticeThrottle::Notice;
    const auto notice = [](const QString& rule, const QString& body) {
        return Notice{rule, rule, body, rule + u'|' + body};
    };
    NoticeThrottle throttle(1000, 3, 10);

    // One rule: three in the window, the rest folded into the newest.
    for (int i = 0; i < 3; ++i)
        QVERIFY(throttle.offer(notice("A", QString::number(i)), i * 100));
    QVERIFY(!throttle.offer(notice("A", "3"), 300));
    QVERIFY(!throttle.offer(notice("A", "4"), 400));
    QCOMPARE(throttle.nextDueMs(), std::optional<qint64>(1000));
    QVERIFY(throttle.due(999).isEmpty());
    QCOMPARE(throttle.due(1000), (QList<Notice>{Notice{"A", "A", "4\nand 1 more", "A|4"}}));
    QCOMPARE(throttle.nextDueMs(), std::nullopt);
    // The window slides: at 1100 it holds the notices of 200 and of 1000
    // (the summary counts), so one more goes and the next is folded.
    QVERIFY(throttle.offer(notice("A", "5"), 1100));
    QVERIFY(!throttle.offer(notice("A", "6"), 1150));
    QCOMPARE(throttle.nextDueMs(), std::optional<qint64>(1200));

    // All rules together: ten in a window; one folded alone keeps its text.
    NoticeThrottle all(1000, 3, 10);
    for (int r = 0; r < 12; ++r)
        QCOMPARE(bool(all.offer(notice(QString::number(r), "x"), 0)), r < 10);
    QCOMPARE(all.heldRules(), 2);
    QCOMPARE(all.due(1000), (QList<Notice>{notice("10", "x"), notice("11", "x")}));
}

// A rule with Needed= fires by what the user's log says of the spot, and
// never without a log.
void TestAlertCenter::neededRuleFollowsTheLog()
{
    QTemporaryDir dir;
    auto alerts = center(dir, "[Rule1]\r\nName=Needed\r\nNeeded=entity,band\r\n");
    QFile cty(QStringLiteral(DXCC_FIXTURE));
    QVERIFY(cty.open(QIODevice::ReadOnly));
    const CountryTable countries = CountryTable::parse(cty.readAll());
    auto log = std::make_shared<LogIndex>();
    LogQso qso;
    qso.call = QStringLiteral("EA8ABC");
    qso.band = BandPlan::Band::m20;
    qso.mode = QStringLiteral("CW");
    qso.group = ModeGroup::Cw;
    log->add(qso, countries);
    const auto take = [&](const QString& khz, const QString& call) {
        const QString line =
            QStringLiteral("DX de W3LPL:     %1  %2 CW 599 0712Z").arg(khz, 7).arg(call, -12);
        std::optional<Spot> spot = SpotReader().read(line);
        QVERIFY(spot);
        alerts->spotTaken(SpotEvent::resolve(*spot, line, kNow, &countries, {}), true);
    };

    take(QStringLiteral("14025.0"), QStringLiteral("EA8XYZ")); // no log: nothing is needed
    alerts->setLogIndex(log);
    take(QStringLiteral("14025.0"), QStringLiteral("EA8XYZ")); // Worked
    take(QStringLiteral("7025.0"), QStringLiteral("EA8XYZ"));  // New band
    take(QStringLiteral("14025.0"), QStringLiteral("G8AAA"));  // New one
    const QStringList fired = rows(alerts->log());
    QCOMPARE(fired.size(), 2);
    QVERIFY2(fired[0].contains(QStringLiteral("7025.0 EA8XYZ")), qPrintable(fired[0]));
    QVERIFY2(fired[1].contains(QStringLiteral("G8AAA")), qPrintable(fired[1]));
}

QTEST_GUILESS_MAIN(TestAlertCenter)
#include "tst_alert_center.moc"
