// Reading spots and the other lines people read from node lines, by their
// words: the layouts of DXSpider, AR-Cluster, CC Cluster and the skimmer
// nodes, the comment's fields, the band plan of each region.

#include "spots/Announcement.h"
#include "spots/BandPlan.h"
#include "spots/NodeLine.h"
#include "spots/SolarReport.h"
#include "spots/Spot.h"
#include "spots/SpotReader.h"

#include <QtTest>

#include <climits>

namespace {

constexpr int kNone = INT_MIN;

int orNone(const std::optional<int>& value)
{
    return value ? *value : kNone;
}

QString bandName(const std::optional<BandPlan::Band>& band)
{
    return band ? BandPlan::name(*band) : QString();
}

QString timeText(const QTime& time)
{
    return time.isValid() ? time.toString(u"HH:mm") : QString();
}

} // namespace

class TestSpotReader : public QObject
{
    Q_OBJECT
private slots:
    void liveLines_data();
    void liveLines();
    void notSpots_data();
    void notSpots();
    void commentFields_data();
    void commentFields();
    void splits_data();
    void splits();
    void listingLines_data();
    void listingLines();
    void bandEdges_data();
    void bandEdges();
    void planGroups_data();
    void planGroups();
    void regionSetting();
    void solarReports_data();
    void solarReports();
    void announcements_data();
    void announcements();
    void nodeLineKinds_data();
    void nodeLineKinds();
    void kilohertzText_data();
    void kilohertzText();
};

void TestSpotReader::liveLines_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("spotter");
    QTest::addColumn<bool>("skimmer");
    QTest::addColumn<qint64>("hz");
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("comment");
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("band");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<int>("group");

    const int cw = int(ModeGroup::Cw);
    const int phone = int(ModeGroup::Phone);
    const int digital = int(ModeGroup::Digital);
    QTest::newRow("DXSpider")
        << "DX de W3LPL:     21021.0  VP2MXX       CW 579 up 2                    0712Z"
        << "W3LPL" << false << qint64(21021000) << "VP2MXX"
        << "CW 579 up 2"
        << "07:12"
        << "15m"
        << "CW" << cw;
    // CC Cluster's SET/RES 2: two decimals, one column further left.
    QTest::newRow("two decimals, 21057.61 is not 210576.1")
        << "DX de VE7CC-1:  21057.61 ZS6AAA       599                            1733Z"
        << "VE7CC-1" << false << qint64(21057610) << "ZS6AAA"
        << "599"
        << "17:33"
        << "15m"
        << "" << cw;
    QTest::newRow("two decimals, 1812.79 is not 18127.9")
        << "DX de OH2BH:     1812.79 FT8WW        tnx QSO                        2101Z"
        << "OH2BH" << false << qint64(1812790) << "FT8WW"
        << "tnx QSO"
        << "21:01"
        << "160m"
        << "" << cw;
    QTest::newRow("two decimals, JA1BBB keeps its J")
        << "DX de DL1ABC:   14025.00 JA1BBB       CW 599                         0815Z"
        << "DL1ABC" << false << qint64(14025000) << "JA1BBB"
        << "CW 599"
        << "08:15"
        << "20m"
        << "CW" << cw;
    QTest::newRow("three decimals")
        << "DX de EA5WU:    7055.125 EA5XX        LSB 59                         0930Z"
        << "EA5WU" << false << qint64(7055125) << "EA5XX"
        << "LSB 59"
        << "09:30"
        << "40m"
        << "LSB" << phone;
    QTest::newRow("FT8 on 30 m is digital, not CW")
        << "DX de G4ABC:     10137.0  PY2XX        FT8 -12 dB                     1200Z"
        << "G4ABC" << false << qint64(10137000) << "PY2XX"
        << "FT8 -12 dB"
        << "12:00"
        << "30m"
        << "FT8" << digital;
    QTest::newRow("comment's mode over the band plan")
        << "DX de K3LR:      14205.0  TX5S         CW pse QRS                     1455Z"
        << "K3LR" << false << qint64(14205000) << "TX5S"
        << "CW pse QRS"
        << "14:55"
        << "20m"
        << "CW" << cw;
    QTest::newRow("no mode word: phone segment")
        << "DX de N1MM:      14195.0  5X1XA        up 5-10                        1420Z"
        << "N1MM" << false << qint64(14195000) << "5X1XA"
        << "up 5-10"
        << "14:20"
        << "20m"
        << "" << phone;
    QTest::newRow("skimmer")
        << "DX de DK9IP-#:   14023.8  JA1BBB       CW 19 dB 18 WPM CQ             0712Z"
        << "DK9IP-#" << true << qint64(14023800) << "JA1BBB"
        << "CW 19 dB 18 WPM CQ"
        << "07:12"
        << "20m"
        << "CW" << cw;
    QTest::newRow("long spotter, no blank after the colon")
        << "DX de 3V/KF5EYY-#:7018.0  OH2BH        CW 12 dB 22 WPM CQ             0713Z"
        << "3V/KF5EYY-#" << true << qint64(7018000) << "OH2BH"
        << "CW 12 dB 22 WPM CQ"
        << "07:13"
        << "40m"
        << "CW" << cw;
    QTest::newRow("older node, spotter without colon")
        << "DX de IK4VYX  14023.0  JA1BBB  CW 599 0717Z"
        << "IK4VYX" << false << qint64(14023000) << "JA1BBB"
        << "CW 599"
        << "07:17"
        << "20m"
        << "CW" << cw;
    QTest::newRow("long call pushes the time")
        << "DX de W3LPL:     14025.0  VK9/DL1ABCD/MM CW 579                        0714Z"
        << "W3LPL" << false << qint64(14025000) << "VK9/DL1ABCD/MM"
        << "CW 579"
        << "07:14"
        << "20m"
        << "CW" << cw;
    QTest::newRow("9-character frequency, 23 cm")
        << "DX de W6RK:    1296200.0  W5LUA        EME JT65 -24                   2232Z"
        << "W6RK" << false << qint64(1296200000) << "W5LUA"
        << "EME JT65 -24"
        << "22:32"
        << "23cm"
        << "JT65" << digital;
    QTest::newRow("10-character frequency, no band")
        << "DX de DL7APV: 10368887.0  OK1KIR       CW EME 559                     1801Z"
        << "DL7APV" << false << qint64(10368887000) << "OK1KIR"
        << "CW EME 559"
        << "18:01"
        << ""
        << "CW" << cw;
    QTest::newRow("outside every band, still a spot")
        << "DX de W1AW:       5405.0  K1N          59 tnx                         2310Z"
        << "W1AW" << false << qint64(5405000) << "K1N"
        << "59 tnx"
        << "23:10"
        << ""
        << "" << int(ModeGroup::Unknown);
    QTest::newRow("trailing BELs")
        << "DX de W3LPL:     21021.0  VP2MXX       CW 579 up 2                    0712Z\a\a\r\n"
        << "W3LPL" << false << qint64(21021000) << "VP2MXX"
        << "CW 579 up 2"
        << "07:12"
        << "15m"
        << "CW" << cw;
    QTest::newRow("AR-Cluster, state after the time")
        << "DX de K1TTT:     14025.0  JA1BBB       CW 599                         0816Z MA"
        << "K1TTT" << false << qint64(14025000) << "JA1BBB"
        << "CW 599"
        << "08:16"
        << "20m"
        << "CW" << cw;
    QTest::newRow("a time in the comment")
        << "DX de W1AW:      14030.0  K5D          QRV 0700Z daily                1230Z"
        << "W1AW" << false << qint64(14030000) << "K5D"
        << "QRV 0700Z daily"
        << "12:30"
        << "20m"
        << "" << cw;
    QTest::newRow("no time, small letters") << "DX de W1AW:      14030.0  k5d          qrv cw"
                                            << "W1AW" << false << qint64(14030000) << "K5D"
                                            << "qrv cw"
                                            << ""
                                            << "20m"
                                            << "CW" << cw;
    QTest::newRow("no comment") << "DX de W1AW:      14030.0  K5D"
                                << "W1AW" << false << qint64(14030000) << "K5D"
                                << ""
                                << ""
                                << "20m"
                                << "" << cw;
}

void TestSpotReader::liveLines()
{
    QFETCH(QString, line);
    const std::optional<Spot> spot = SpotReader().read(line);
    QVERIFY(spot);
    QTEST(spot->spotter, "spotter");
    QTEST(spot->skimmer, "skimmer");
    QTEST(spot->frequencyHz, "hz");
    QTEST(spot->call, "call");
    QTEST(spot->comment, "comment");
    QTEST(timeText(spot->time), "time");
    QTEST(bandName(spot->band), "band");
    QTEST(spot->mode, "mode");
    QTEST(int(spot->group), "group");
    QVERIFY(!spot->date.isValid());
}

void TestSpotReader::notSpots_data()
{
    QTest::addColumn<QString>("line");
    QTest::newRow("prompt") << "G1TLH de GB7DJK  7-Feb-2022 1357Z dxspider >";
    QTest::newRow("talk") << "G4ABC de G1TLH: DX de W3LPL: 14025.0 JA1BBB";
    QTest::newRow("no decimal") << "DX de W3LPL:     14025  JA1BBB       CW 599     0712Z";
    QTest::newRow("four decimals") << "DX de W3LPL:   14025.0000 JA1BBB     CW 599     0712Z";
    QTest::newRow("below 1.8 MHz") << "DX de W3LPL:       136.0  JA1BBB     CW 599     0712Z";
    QTest::newRow("just below 1800.0") << "DX de W3LPL:     1799.99 JA1BBB     CW 599     0712Z";
    QTest::newRow("above 250 GHz") << "DX de W3LPL: 250000000.1 JA1BBB     CW 599     0712Z";
    QTest::newRow("ten digits") << "DX de W3LPL: 1000000000.0 JA1BBB    CW 599     0712Z";
    QTest::newRow("word before the number") << "DX de W3LPL: on 14025.0 JA1BBB CW";
    QTest::newRow("no call") << "DX de W3LPL:     14025.0";
    QTest::newRow("call without digit") << "DX de W3LPL:     14025.0  CQ     CW 599    0712Z";
    QTest::newRow("time as call") << "DX de W3LPL:     14025.0  0712Z";
    QTest::newRow("number as call") << "DX de W3LPL:     14025.0  599    CW        0712Z";
    QTest::newRow("spotter with a strange sign") << "DX de W3$LPL:     14025.0  JA1BBB  0712Z";
    QTest::newRow("small dx") << "dx de W3LPL:     14025.0  JA1BBB       CW 599     0712Z";
    QTest::newRow("longer than a line may be")
        << "DX de W3LPL:     14025.0  JA1BBB       " + QString(500, u'x') + " 0712Z";
    QTest::newRow("empty") << "";
}

void TestSpotReader::notSpots()
{
    QFETCH(QString, line);
    QVERIFY(!SpotReader().read(line));
    QCOMPARE(NodeLine::read(line, SpotReader()).kind, NodeLine::Kind::Other);
}

void TestSpotReader::commentFields_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("snr");
    QTest::addColumn<int>("wpm");
    QTest::addColumn<int>("tag");
    QTest::addColumn<QStringList>("locators");
    QTest::addColumn<QStringList>("nodeLocators");

    QTest::newRow("CW skimmer, CQ")
        << "DX de DK9IP-#:   14023.8  JA1BBB       CW 19 dB 18 WPM CQ             0712Z" << 19 << 18
        << int(Spot::Tag::Cq) << QStringList() << QStringList();
    QTest::newRow("FT8 skimmer, locator in the comment")
        << "DX de KM3T-#:    14074.0  PY2ABC       FT8 -12 dB GG66 CQ             1201Z" << -12
        << kNone << int(Spot::Tag::Cq) << QStringList{"GG66"} << QStringList();
    QTest::newRow("DX, locator after the time")
        << "DX de OH6BG-#:    7018.0  RA9AA        CW 14 dB 26 WPM DX             0715Z KP23" << 14
        << 26 << int(Spot::Tag::Dx) << QStringList() << QStringList{"KP23"};
    QTest::newRow("NCDXF beacon")
        << "DX de W3OA-#:    14100.0  4X6TU        CW 5 dB 22 WPM NCDXF B         0716Z" << 5 << 22
        << int(Spot::Tag::NcdxfBeacon) << QStringList() << QStringList();
    QTest::newRow("beacon, joined units")
        << "DX de W3OA-#:    28222.5  W3XYZ/B      CW 8dB 15WPM BEACON            0717Z" << 8 << 15
        << int(Spot::Tag::Beacon) << QStringList() << QStringList();
    // A human's "CQ" without a report is no skimmer's tag.
    QTest::newRow("no report, no tag")
        << "DX de W1AW:      14025.0  JA1BBB       CQ CQ                          0718Z" << kNone
        << kNone << int(Spot::Tag::None) << QStringList() << QStringList();
    QTest::newRow("6 m path, six-character locators")
        << "DX de EA3XU:     50313.0  PY2XB        FT8 jn11cl<ES>GG66rm           1802Z JN11"
        << kNone << kNone << int(Spot::Tag::None) << QStringList{"JN11cl", "GG66rm"}
        << QStringList{"JN11"};
    QTest::newRow("RR73, letters out of range or not ASCII are no locator")
        << "DX de W1AW:      14074.0  JA1BBB       FT8 RR73 JS31 AB1 ıo31           0719Z" << kNone
        << kNone << int(Spot::Tag::None) << QStringList() << QStringList();
}

void TestSpotReader::commentFields()
{
    QFETCH(QString, line);
    const std::optional<Spot> spot = SpotReader().read(line);
    QVERIFY(spot);
    QTEST(orNone(spot->snrDb), "snr");
    QTEST(orNone(spot->wpm), "wpm");
    QTEST(int(spot->tag), "tag");
    QTEST(spot->locators, "locators");
    QTEST(spot->nodeLocators, "nodeLocators");
}

void TestSpotReader::splits_data()
{
    QTest::addColumn<QString>("frequency");
    QTest::addColumn<QString>("comment");
    QTest::addColumn<int>("direction"); // -1: no split
    QTest::addColumn<qint64>("lowest");
    QTest::addColumn<qint64>("highest");

    const int up = int(SpotSplit::Direction::Up);
    const int down = int(SpotSplit::Direction::Down);
    const int listen = int(SpotSplit::Direction::Listen);
    QTest::newRow("UP") << "14025.0"
                        << "CW UP" << up << qint64(0) << qint64(0);
    QTest::newRow("UP2") << "14025.0"
                         << "UP2" << up << qint64(14027000) << qint64(14027000);
    QTest::newRow("UP 2") << "14025.0"
                          << "pse UP 2" << up << qint64(14027000) << qint64(14027000);
    QTest::newRow("U2") << "14025.0"
                        << "U2 tnx" << up << qint64(14027000) << qint64(14027000);
    QTest::newRow("up 1.5") << "14025.0"
                            << "up 1.5" << up << qint64(14026500) << qint64(14026500);
    QTest::newRow("up 5-10") << "14195.0"
                             << "up 5-10" << up << qint64(14200000) << qint64(14205000);
    QTest::newRow("UP 2kHz") << "14025.0"
                             << "UP 2kHz" << up << qint64(14027000) << qint64(14027000);
    QTest::newRow("DWN 3") << "7160.0"
                           << "SSB DWN 3" << down << qint64(7157000) << qint64(7157000);
    QTest::newRow("down 5-10") << "7160.0"
                               << "down 5-10" << down << qint64(7150000) << qint64(7155000);
    QTest::newRow("QSX 14.025") << "14020.0"
                                << "QSX 14.025" << listen << qint64(14025000) << qint64(14025000);
    QTest::newRow("QSX 025") << "14020.0"
                             << "QSX 025" << listen << qint64(14025000) << qint64(14025000);
    QTest::newRow("QSX 14025") << "14020.0"
                               << "qsx 14025" << listen << qint64(14025000) << qint64(14025000);
    QTest::newRow("QSX14025.5") << "14020.0"
                                << "QSX14025.5" << listen << qint64(14025500) << qint64(14025500);
    QTest::newRow("UP 14.195 is a frequency")
        << "14190.0"
        << "UP 14.195" << up << qint64(14195000) << qint64(14195000);
    QTest::newRow("QSX alone is none") << "14020.0"
                                       << "QSX pse" << -1 << qint64(0) << qint64(0);
    QTest::newRow("QSX 1.5 is below the spots") << "14020.0"
                                                << "QSX 1.5" << -1 << qint64(0) << qint64(0);
    QTest::newRow("UPPER, USB are none") << "14250.0"
                                         << "USB UPPER" << -1 << qint64(0) << qint64(0);
}

void TestSpotReader::splits()
{
    QFETCH(QString, frequency);
    QFETCH(QString, comment);
    QFETCH(int, direction);
    const std::optional<Spot> spot = SpotReader().read(
        QStringLiteral("DX de W3LPL:     %1  DL1ABC       %2   0712Z").arg(frequency, comment));
    QVERIFY(spot);
    QCOMPARE(spot->split.has_value(), direction >= 0);
    if (!spot->split)
        return;
    QCOMPARE(int(spot->split->direction), direction);
    QTEST(spot->split->lowestHz, "lowest");
    QTEST(spot->split->highestHz, "highest");
}

void TestSpotReader::listingLines_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("spotter");
    QTest::addColumn<qint64>("hz");
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("comment");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("time");

    QTest::newRow("DXSpider")
        << "   14222.0  9L5M         4-Dec-2023 1655Z  TNX                          <EB1DJ>" << true
        << "EB1DJ" << qint64(14222000) << "9L5M"
        << "TNX" << QDate(2023, 12, 4) << "16:55";
    QTest::newRow("two-digit day, no comment") << "14222.0  9L5M  04-Dec-2023 1655Z  <EB1DJ>"
                                               << true << "EB1DJ" << qint64(14222000) << "9L5M"
                                               << "" << QDate(2023, 12, 4) << "16:55";
    QTest::newRow("skimmer, two decimals")
        << "   7018.20  JA1BBB      30-Jan-2024 0712Z  CW 19 dB 18 WPM CQ           <DK9IP-#>"
        << true << "DK9IP-#" << qint64(7018200) << "JA1BBB"
        << "CW 19 dB 18 WPM CQ" << QDate(2024, 1, 30) << "07:12";
    QTest::newRow("control byte before the spotter")
        << "14222.0  9L5M  04-Dec-2023 1655Z  TNX \x16  <EB1DJ>" << true << "EB1DJ"
        << qint64(14222000) << "9L5M"
        << "TNX" << QDate(2023, 12, 4) << "16:55";
    QTest::newRow("no spotter") << "14222.0  9L5M  04-Dec-2023 1655Z  TNX" << false << ""
                                << qint64(0) << ""
                                << "" << QDate() << "";
    QTest::newRow("31 February") << "14222.0  9L5M  31-Feb-2023 1655Z  TNX  <EB1DJ>" << false << ""
                                 << qint64(0) << ""
                                 << "" << QDate() << "";
    QTest::newRow("hour 24") << "14222.0  9L5M  04-Dec-2023 2400Z  TNX  <EB1DJ>" << false << ""
                             << qint64(0) << ""
                             << "" << QDate() << "";
}

void TestSpotReader::listingLines()
{
    QFETCH(QString, line);
    QFETCH(bool, valid);
    const std::optional<Spot> spot = SpotReader().readListing(line);
    QCOMPARE(spot.has_value(), valid);
    QCOMPARE(NodeLine::read(line, SpotReader()).kind,
             valid ? NodeLine::Kind::ListedSpot : NodeLine::Kind::Other);
    if (!spot)
        return;
    QTEST(spot->spotter, "spotter");
    QTEST(spot->frequencyHz, "hz");
    QTEST(spot->call, "call");
    QTEST(spot->comment, "comment");
    QTEST(spot->date, "date");
    QTEST(timeText(spot->time), "time");
}

void TestSpotReader::bandEdges_data()
{
    QTest::addColumn<int>("region");
    QTest::addColumn<qint64>("hz");
    QTest::addColumn<QString>("band"); // empty: between the bands

    QTest::newRow("R1 2200m") << 1 << qint64(137000) << "2200m";
    QTest::newRow("R2 630m top") << 2 << qint64(479000) << "630m";
    QTest::newRow("R1 1809.999") << 1 << qint64(1809999) << "";
    QTest::newRow("R1 1810.0") << 1 << qint64(1810000) << "160m";
    QTest::newRow("R2 1800.0") << 2 << qint64(1800000) << "160m";
    QTest::newRow("R3 1800.0") << 3 << qint64(1800000) << "160m";
    QTest::newRow("R1 2000.0") << 1 << qint64(2000000) << "160m";
    QTest::newRow("R1 2000.001") << 1 << qint64(2000001) << "";
    QTest::newRow("R1 3800.0") << 1 << qint64(3800000) << "80m";
    QTest::newRow("R1 3850.0") << 1 << qint64(3850000) << "";
    QTest::newRow("R3 3900.0") << 3 << qint64(3900000) << "80m";
    QTest::newRow("R3 3950.0") << 3 << qint64(3950000) << "";
    QTest::newRow("R2 4000.0") << 2 << qint64(4000000) << "80m";
    QTest::newRow("60m bottom") << 1 << qint64(5351500) << "60m";
    QTest::newRow("60m 5351.4") << 2 << qint64(5351400) << "";
    QTest::newRow("R1 7200.0") << 1 << qint64(7200000) << "40m";
    QTest::newRow("R1 7250.0") << 1 << qint64(7250000) << "";
    QTest::newRow("R3 7250.0") << 3 << qint64(7250000) << "";
    QTest::newRow("R2 7300.0") << 2 << qint64(7300000) << "40m";
    QTest::newRow("30m top") << 3 << qint64(10150000) << "30m";
    QTest::newRow("20m 14350.0") << 1 << qint64(14350000) << "20m";
    QTest::newRow("20m 14350.1") << 1 << qint64(14350100) << "";
    QTest::newRow("17m bottom") << 2 << qint64(18068000) << "17m";
    QTest::newRow("15m") << 1 << qint64(21450000) << "15m";
    QTest::newRow("12m") << 3 << qint64(24890000) << "12m";
    QTest::newRow("10m top") << 1 << qint64(29700000) << "10m";
    QTest::newRow("6m 52.5 MHz") << 1 << qint64(52500000) << "6m";
    QTest::newRow("R1 4m") << 1 << qint64(70200000) << "4m";
    QTest::newRow("R2 no 4m") << 2 << qint64(70200000) << "";
    QTest::newRow("R1 146.5 MHz") << 1 << qint64(146500000) << "";
    QTest::newRow("R2 146.5 MHz") << 2 << qint64(146500000) << "2m";
    QTest::newRow("R2 1.25m") << 2 << qint64(222100000) << "1.25m";
    QTest::newRow("R1 no 1.25m") << 1 << qint64(222100000) << "";
    QTest::newRow("R2 425 MHz") << 2 << qint64(425000000) << "70cm";
    QTest::newRow("R1 425 MHz") << 1 << qint64(425000000) << "";
    QTest::newRow("R2 33cm") << 2 << qint64(915000000) << "33cm";
    QTest::newRow("R3 no 33cm") << 3 << qint64(915000000) << "";
    QTest::newRow("23cm") << 3 << qint64(1296200000) << "23cm";
    QTest::newRow("3 cm is beyond the plan") << 1 << qint64(10368887000) << "";
}

void TestSpotReader::bandEdges()
{
    QFETCH(int, region);
    QFETCH(qint64, hz);
    QFETCH(QString, band);
    const BandPlan plan{BandPlan::Region(region)};
    const std::optional<BandPlan::Band> found = plan.bandOf(hz);
    QCOMPARE(bandName(found), band);
    if (found) {
        const std::optional<BandPlan::Edges> edges = plan.edges(*found);
        QVERIFY(edges && edges->lowestHz <= hz && hz <= edges->highestHz);
        QCOMPARE(BandPlan::fromName(band), found);
    }
}

void TestSpotReader::planGroups_data()
{
    QTest::addColumn<int>("region");
    QTest::addColumn<qint64>("hz");
    QTest::addColumn<int>("group");

    const int cw = int(ModeGroup::Cw);
    const int phone = int(ModeGroup::Phone);
    const int digital = int(ModeGroup::Digital);
    QTest::newRow("R1 1810.0 CW") << 1 << qint64(1810000) << cw;
    QTest::newRow("R1 1840.0 FT8") << 1 << qint64(1840000) << digital;
    QTest::newRow("R1 1850.0 phone") << 1 << qint64(1850000) << phone;
    QTest::newRow("R2 1800.0 CW") << 2 << qint64(1800000) << cw;
    QTest::newRow("3525.0 CW") << 1 << qint64(3525000) << cw;
    QTest::newRow("3580.0 digital") << 1 << qint64(3580000) << digital;
    QTest::newRow("R2 3900.0 phone") << 2 << qint64(3900000) << phone;
    QTest::newRow("7074.0 FT8 in the phone segment") << 1 << qint64(7074000) << digital;
    QTest::newRow("7150.0 phone") << 1 << qint64(7150000) << phone;
    QTest::newRow("R2 7250.0 phone") << 2 << qint64(7250000) << phone;
    QTest::newRow("10137.0 digital") << 1 << qint64(10137000) << digital;
    QTest::newRow("10115.0 CW") << 1 << qint64(10115000) << cw;
    QTest::newRow("14025.0 CW") << 3 << qint64(14025000) << cw;
    QTest::newRow("14100.0 beacon, CW") << 1 << qint64(14100000) << cw;
    QTest::newRow("14195.0 phone") << 1 << qint64(14195000) << phone;
    QTest::newRow("21140.0 FT4") << 1 << qint64(21141000) << digital;
    QTest::newRow("28500.0 phone") << 1 << qint64(28500000) << phone;
    QTest::newRow("50090.0 CW") << 1 << qint64(50090000) << cw;
    QTest::newRow("R1 144050.0 CW") << 1 << qint64(144050000) << cw;
    QTest::newRow("R2 144200.0 phone") << 2 << qint64(144200000) << phone;
    QTest::newRow("144174.0 FT8") << 2 << qint64(144175000) << digital;
    QTest::newRow("R1 430500.0 FM") << 1 << qint64(430500000) << phone;
    QTest::newRow("between bands") << 1 << qint64(14500000) << int(ModeGroup::Unknown);
}

void TestSpotReader::planGroups()
{
    QFETCH(int, region);
    QFETCH(qint64, hz);
    QTEST(int(BandPlan(BandPlan::Region(region)).groupOf(hz)), "group");
}

void TestSpotReader::regionSetting()
{
    QCOMPARE(BandPlan::regionFromSetting(u" 2 "), BandPlan::Region::Two);
    QCOMPARE(BandPlan::regionFromSetting(u"3"), BandPlan::Region::Three);
    for (const QStringView bad : {u"", u"0", u"4", u"R1", u"1.0"})
        QVERIFY2(!BandPlan::regionFromSetting(bad), qPrintable(bad.toString()));
    // The reader's plan gives the spot's band: 7250.0 is 40 m in Region 2 only.
    const QString line = QStringLiteral("DX de K1TTT:      7250.0  HC8N  59  0712Z");
    QCOMPARE(bandName(SpotReader(BandPlan(BandPlan::Region::Two)).read(line)->band), u"40m");
    QCOMPARE(SpotReader().read(line)->band, std::nullopt);
}

void TestSpotReader::solarReports_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("reporter");
    QTest::addColumn<int>("hour");
    QTest::addColumn<QList<int>>("figures"); // SFI, A, K, expK, R
    QTest::addColumn<QStringList>("words");  // SA, GMF, Au, remark

    QTest::newRow("WWV") << "WWV de W0MU <21>:   SFI=118, A=8, K=2, No Storms -> Minor w/G1"
                         << "W0MU" << 21 << QList<int>{118, 8, 2, kNone, kNone}
                         << QStringList{"", "", "", "No Storms -> Minor w/G1"};
    QTest::newRow("WCY")
        << "WCY de DK0WCY-1 <12> : K=2 expK=0 A=13 R=12 SFI=72 SA=qui GMF=qui Au=no"
        << "DK0WCY-1" << 12 << QList<int>{72, 13, 2, 0, 12} << QStringList{"qui", "qui", "no", ""};
    QTest::newRow("bad figure, no hour")
        << "WWV de W0MU:   SFI=high, A=8"
        << "W0MU" << -1 << QList<int>{kNone, 8, kNone, kNone, kNone} << QStringList{"", "", "", ""};
}

void TestSpotReader::solarReports()
{
    QFETCH(QString, line);
    const std::optional<SolarReport> r = SolarReport::read(line);
    QVERIFY(r);
    QTEST(r->reporter, "reporter");
    QTEST(r->hour, "hour");
    QTEST((QList<int>{orNone(r->sfi), orNone(r->a), orNone(r->k), orNone(r->expK), orNone(r->r)}),
          "figures");
    QTEST((QStringList{r->sa, r->gmf, r->au, r->remark}), "words");
}

void TestSpotReader::announcements_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("fields"); // audience, from, text; empty: none

    QTest::newRow("ALL") << "To ALL de EA8ABC: Contest starts at 0000Z, pse QRX"
                         << QStringList{"ALL", "EA8ABC", "Contest starts at 0000Z, pse QRX"};
    QTest::newRow("LOCAL with time") << "To LOCAL de G1TLH <1357Z>: node down at 1400Z"
                                     << QStringList{"LOCAL", "G1TLH", "node down at 1400Z"};
    QTest::newRow("SYSOP, no text") << "To SYSOP de GB7DJK:" << QStringList{"SYSOP", "GB7DJK", ""};
    QTest::newRow("talk is none") << "To G1TLH de G4ABC: hello" << QStringList();
    QTest::newRow("no colon") << "To ALL de EA8ABC hello" << QStringList();
}

void TestSpotReader::announcements()
{
    QFETCH(QString, line);
    QFETCH(QStringList, fields);
    const std::optional<Announcement> a = Announcement::read(line);
    QCOMPARE(a.has_value(), !fields.isEmpty());
    if (a)
        QCOMPARE((QStringList{a->audience, a->from, a->text}), fields);
}

void TestSpotReader::nodeLineKinds_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("kind");
    QTest::newRow("spot") << "DX de W3LPL:     21021.0  VP2MXX       CW 579       0712Z"
                          << int(NodeLine::Kind::Spot);
    QTest::newRow("listing") << "  14222.0  9L5M   4-Dec-2023 1655Z  TNX  <EB1DJ>"
                             << int(NodeLine::Kind::ListedSpot);
    QTest::newRow("WWV") << "WWV de W0MU <21>:   SFI=118, A=8, K=2" << int(NodeLine::Kind::Wwv);
    QTest::newRow("WCY") << "WCY de DK0WCY-1 <12> : K=2 expK=0" << int(NodeLine::Kind::Wcy);
    QTest::newRow("announcement") << "To ALL de EA8ABC: QRV" << int(NodeLine::Kind::Announcement);
    QTest::newRow("WX is other") << "WX de G4ABC: sunny" << int(NodeLine::Kind::Other);
    QTest::newRow("greeting") << "Hello John, this is GB7DJK in Dorking"
                              << int(NodeLine::Kind::Other);
}

void TestSpotReader::nodeLineKinds()
{
    QFETCH(QString, line);
    const NodeLine read = NodeLine::read(line, SpotReader());
    QTEST(int(read.kind), "kind");
    const bool spot = read.kind == NodeLine::Kind::Spot || read.kind == NodeLine::Kind::ListedSpot;
    QCOMPARE(read.spot.has_value(), spot);
    QCOMPARE(read.solar.has_value(),
             read.kind == NodeLine::Kind::Wwv || read.kind == NodeLine::Kind::Wcy);
    QCOMPARE(read.announcement.has_value(), read.kind == NodeLine::Kind::Announcement);
}

void TestSpotReader::kilohertzText_data()
{
    QTest::addColumn<qint64>("hz");
    QTest::addColumn<QString>("text");
    QTest::newRow("two decimals") << qint64(21057610) << "21057.61";
    QTest::newRow("160 m") << qint64(1812790) << "1812.79";
    QTest::newRow("one decimal kept") << qint64(14025000) << "14025.0";
    QTest::newRow("three decimals") << qint64(7055125) << "7055.125";
    QTest::newRow("leading zero decimal") << qint64(14025005) << "14025.005";
    QTest::newRow("23 cm") << qint64(1296200000) << "1296200.0";
}

void TestSpotReader::kilohertzText()
{
    QFETCH(qint64, hz);
    Spot spot;
    spot.frequencyHz = hz;
    QTEST(spot.kilohertzText(), "text");
}

QTEST_GUILESS_MAIN(TestSpotReader)
#include "tst_spot_reader.moc"
