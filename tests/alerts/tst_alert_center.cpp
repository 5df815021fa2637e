// The alert rules at work without a window: what the DX window's alert list
// gets, and which sound a line asks for.

#include "alerts/AlertCenter.h"
#include "dxcc/CountryTable.h"

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

} // namespace

class TestAlertCenter : public QObject
{
    Q_OBJECT
private slots:
    void firedRulesAreListedWithOneSound_data();
    void firedRulesAreListedWithOneSound();
    void listKeepsTheNewest();
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

QTEST_GUILESS_MAIN(TestAlertCenter)
#include "tst_alert_center.moc"
