// The DX window's model: spot lines read into fields, the mode of a spot,
// and the table of active stations (one row per callsign and band, age
// limit, row limit, country columns); the alert lines the window lists.

#include "activedx/ActiveDxAlerts.h"
#include "activedx/ActiveDxModel.h"
#include "dxcc/CountryTable.h"
#include "dxcc/SpotFields.h"
#include "dxcc/SpotMode.h"
#include "spots/BandFilter.h"

#include <QAbstractItemModelTester>
#include <QFile>
#include <QSignalSpy>
#include <QStringListModel>
#include <QtTest>

namespace {

const QDateTime kStart(QDate(2026, 12, 10), QTime(12, 0), Qt::UTC);

// A spot line in the usual layout: frequency right-aligned in columns
// 17-24, callsign from column 27, comment from 40, time from 71.
QString spot(const QString& spotter, const QString& khz, const QString& call,
             const QString& comment = QString(), const QString& time = QStringLiteral("1200Z"))
{
    QString line = (QStringLiteral("DX de ") + spotter + u':').leftJustified(24 - khz.size()) + khz;
    line += QStringLiteral("  ") + call.leftJustified(12) + u' ' + comment.leftJustified(30);
    if (!time.isEmpty())
        line += u' ' + time;
    return line;
}

std::shared_ptr<const CountryTable> fixtureTable()
{
    QFile f(QStringLiteral(DXCC_FIXTURE));
    if (!f.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", DXCC_FIXTURE);
    return std::make_shared<const CountryTable>(CountryTable::parse(f.readAll()));
}

QString cell(const ActiveDxModel& m, int row, int column)
{
    return m.data(m.index(row, column)).toString();
}

int band(BandFilter::Band b)
{
    return BandFilter::indexOf(b);
}

} // namespace

class TestActiveDx : public QObject
{
    Q_OBJECT
private slots:
    void fields_data();
    void fields();
    void mode_data();
    void mode();

    void header();
    void oneRowPerCallAndBand();
    void notSpotsMakeNoRows_data();
    void notSpotsMakeNoRows();
    void ageLimit();
    void rowLimit();
    void countryColumns();
    void alertLinesTakenInBatches();
};

void TestActiveDx::fields_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("spotter"); // empty column set: no spot
    QTest::addColumn<int>("frequency");
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("comment");
    QTest::addColumn<QString>("time");

    QTest::newRow("DXSpider")
        << "DX de W3LPL:     21021.0  VP2MXX       CW 579 up 2                    0712Z"
        << "W3LPL" << 210210 << "VP2MXX" << "CW 579 up 2" << "0712";
    QTest::newRow("skimmer")
        << "DX de KO7SS-7-#: 14025.0  EA8XYZ       CW 12 dB 22 WPM CQ             2359Z"
        << "KO7SS-7-#" << 140250 << "EA8XYZ" << "CW 12 dB 22 WPM CQ" << "2359";
    QTest::newRow("locator after time")
        << "DX de DL1ABC:     7074.0  JA1XYZ       FT8 -12 dB                     0001Z JO31"
        << "DL1ABC" << 70740 << "JA1XYZ" << "FT8 -12 dB" << "0001";
    QTest::newRow("no time") << "DX de G3ABC:     28400.0  PY2AA        ssb"
                             << "G3ABC" << 284000 << "PY2AA" << "ssb" << "";
    // The last decimal number is in the comment; the callsign still comes
    // from after the frequency.
    QTest::newRow("decimal in comment")
        << "DX de IK2XYZ:    14195.0  3Y0J         QSX 14.200 up                  1015Z"
        << "IK2XYZ" << 141950 << "3Y0J" << "QSX 14.200 up" << "1015";
    QTest::newRow("time-like word mid comment")
        << "DX de F5ABC:     10110.0  K2ND/4       QRV 1230Z sked                 1215Z"
        << "F5ABC" << 101100 << "K2ND/4" << "QRV 1230Z sked" << "1215";
    QTest::newRow("no valid time") << "DX de F5ABC:     10110.0  K2ND         2460Z"
                                   << "F5ABC" << 101100 << "K2ND" << "2460Z" << "";
    QTest::newRow("WWV") << "WWV de W0MU <21>:   SFI=118, A=8, K=2, No Storms" << "" << 0 << "" << "" << "";
    QTest::newRow("talk") << "G4ABC de G1TLH: 14025.0 later" << "" << 0 << "" << "" << "";
    QTest::newRow("lower case dx") << "dx de W3LPL:     21021.0  VP2MXX" << "" << 0 << "" << "" << "";
    QTest::newRow("no frequency") << "DX de W3LPL:   QRT now    VP2MXX" << "" << 0 << "" << "" << "";
    QTest::newRow("no callsign") << "DX de W3LPL:     21021.0" << "" << 0 << "" << "" << "";
    QTest::newRow("word is no call") << "DX de W3LPL:     21021.0  TEST         hello" << "" << 0 << "" << "" << "";
}

void TestActiveDx::fields()
{
    QFETCH(QString, line);
    QFETCH(QString, spotter);
    const std::optional<SpotFields> f = SpotFields::read(line);
    if (spotter.isEmpty()) {
        QVERIFY2(!f, qPrintable(f ? f->callsign : QString()));
        return;
    }
    QVERIFY(f);
    QCOMPARE(f->spotter, spotter);
    QTEST(f->frequency, "frequency");
    QTEST(f->callsign, "call");
    QTEST(f->comment, "comment");
    QTEST(f->time, "time");
}

void TestActiveDx::mode_data()
{
    QTest::addColumn<QString>("comment");
    QTest::addColumn<int>("frequency");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<int>("group");

    const int cw = int(SpotMode::Group::Cw);
    const int phone = int(SpotMode::Group::Phone);
    const int digital = int(SpotMode::Group::Digital);
    QTest::newRow("CW word") << "CW 599" << 141950 << "CW" << cw; // the word beats the band
    QTest::newRow("skimmer CW") << "CW 12 dB 22 WPM CQ" << 140250 << "CW" << cw;
    QTest::newRow("FT8") << "FT8 -12 dB FK68 CQ" << 140740 << "FT8" << digital;
    QTest::newRow("ft4 lower case") << "tnx ft4" << 70475 << "FT4" << digital;
    QTest::newRow("USB is SSB") << "tnx QSO, USB" << 140250 << "SSB" << phone;
    QTest::newRow("LSB") << "LSB 59" << 37500 << "SSB" << phone;
    QTest::newRow("RTTY") << "RTTY contest" << 140850 << "RTTY" << digital;
    QTest::newRow("PSK31") << "PSK31" << 140700 << "PSK" << digital;
    QTest::newRow("AM") << "AM 5/9" << 37100 << "AM" << phone;
    QTest::newRow("word inside word") << "CWOP SSBX" << 140250 << "CW" << cw; // band decides
    QTest::newRow("band CW segment") << "up 2" << 140250 << "CW" << cw;
    QTest::newRow("band voice segment") << "up 5" << 141950 << "SSB" << phone;
    QTest::newRow("6 m voice") << "" << 501250 << "SSB" << phone;
    QTest::newRow("outside the plan") << "tnx" << 1443000 << "" << int(SpotMode::Group::Unknown);
}

void TestActiveDx::mode()
{
    QFETCH(QString, comment);
    QFETCH(int, frequency);
    const QString m = SpotMode::of(comment, frequency);
    QTEST(m, "mode");
    QTEST(int(SpotMode::groupOf(m)), "group");
}

void TestActiveDx::header()
{
    ActiveDxModel m;
    QStringList names;
    for (int c = 0; c < m.columnCount(); ++c)
        names << m.headerData(c, Qt::Horizontal).toString();
    QCOMPARE(names, QStringList({"UTC", "kHz", "DX", "Entity", "Cont", "CQ", "ITU", "Bearing",
                                 "Long path", "km", "Mode", "Spotters", "Comment"}));
}

void TestActiveDx::oneRowPerCallAndBand()
{
    ActiveDxModel m;
    QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);

    QVERIFY(m.addLine(spot("W3LPL", "14025.0", "VP2MXX", "CW 579", "1200Z"), kStart));
    QVERIFY(m.addLine(spot("DL1ABC", "14027.5", "VP2MXX", "up 2", "1203Z"), kStart.addSecs(180)));
    // The same spotter again counts once.
    QVERIFY(m.addLine(spot("W3LPL", "14195.0", "VP2MXX", "now SSB", "1210Z"), kStart.addSecs(600)));
    QCOMPARE(m.rowCount(), 1);
    QCOMPARE(cell(m, 0, ActiveDxModel::Khz), QStringLiteral("14195.0"));
    QCOMPARE(cell(m, 0, ActiveDxModel::Utc), QStringLiteral("12:10"));
    QCOMPARE(cell(m, 0, ActiveDxModel::Comment), QStringLiteral("now SSB"));
    QCOMPARE(cell(m, 0, ActiveDxModel::Mode), QStringLiteral("SSB"));
    QCOMPARE(cell(m, 0, ActiveDxModel::Spotters), QStringLiteral("2"));
    QCOMPARE(m.firstHeard(0), kStart);
    QCOMPARE(m.lastHeard(0), kStart.addSecs(600));

    // Another band: a row of its own.
    QVERIFY(m.addLine(spot("W3LPL", "7005.0", "VP2MXX", "", "1211Z"), kStart.addSecs(660)));
    QCOMPARE(m.rowCount(), 2);
    QCOMPARE(m.rowOf("VP2MXX", band(BandFilter::Band::m40)), 1);
    QCOMPARE(cell(m, 1, ActiveDxModel::Mode), QStringLiteral("CW"));
    QCOMPARE(m.data(m.index(1, 0), ActiveDxModel::BandRole).toInt(), band(BandFilter::Band::m40));
    QCOMPARE(m.data(m.index(1, ActiveDxModel::Khz), ActiveDxModel::SortRole).toInt(), 70050);

    // A line without its time shows the time it came.
    QVERIFY(m.addLine(spot("W3LPL", "10105.0", "K2ND", "", ""), kStart.addSecs(3600 + 5 * 60)));
    QCOMPARE(cell(m, m.rowOf("K2ND", band(BandFilter::Band::m30)), ActiveDxModel::Utc),
             QStringLiteral("13:05"));
}

void TestActiveDx::notSpotsMakeNoRows_data()
{
    QTest::addColumn<QString>("line");
    QTest::newRow("WWV") << "WWV de W0MU <21>:   SFI=118, A=8, K=2, No Storms -> Minor w/G1";
    QTest::newRow("announcement") << "To ALL de EA8ABC: 14025.0 DX1ABC is QRV";
    QTest::newRow("prompt") << "G1TLH de GB7DJK  7-Feb-2022 1357Z dxspider >";
    QTest::newRow("between bands") << spot("W3LPL", "14352.0", "VP2MXX");
    QTest::newRow("no decimal") << "DX de W3LPL:       14025  VP2MXX       CW";
    QTest::newRow("empty") << "";
    QTest::newRow("control characters") << QStringLiteral("DX de \x01\x02:\x7f 14025.0  \x1b[0m");
}

void TestActiveDx::notSpotsMakeNoRows()
{
    QFETCH(QString, line);
    ActiveDxModel m;
    QSignalSpy inserted(&m, &QAbstractItemModel::rowsInserted);
    QVERIFY(!m.addLine(line, kStart));
    QCOMPARE(m.rowCount(), 0);
    QCOMPARE(inserted.count(), 0);
}

void TestActiveDx::ageLimit()
{
    ActiveDxModel m;
    QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(m.maxAgeMinutes(), 30);
    m.addLine(spot("W3LPL", "14025.0", "AAA1A"), kStart);
    m.addLine(spot("W3LPL", "14026.0", "BBB1B"), kStart.addSecs(10 * 60));
    m.addLine(spot("W3LPL", "14027.0", "CCC1C"), kStart.addSecs(20 * 60));
    // AAA1A is heard again, late: its age counts from then.
    m.addLine(spot("G3ABC", "14025.0", "AAA1A"), kStart.addSecs(25 * 60));

    m.expire(kStart.addSecs(40 * 60));
    QCOMPARE(m.rowCount(), 3); // BBB1B is exactly 30 minutes old: it stays
    m.expire(kStart.addSecs(40 * 60 + 1));
    QCOMPARE(m.rowCount(), 2);
    QCOMPARE(m.rowOf("BBB1B", band(BandFilter::Band::m20)), -1);

    // A new spot also clears out the old rows: CCC1C, not AAA1A.
    m.addLine(spot("W3LPL", "7025.0", "DDD1D"), kStart.addSecs(55 * 60));
    QCOMPARE(m.rowCount(), 2);
    QCOMPARE(cell(m, 0, ActiveDxModel::Dx), QStringLiteral("AAA1A"));
    QCOMPARE(cell(m, 1, ActiveDxModel::Dx), QStringLiteral("DDD1D"));

    m.setMaxAgeMinutes(5);
    m.expire(kStart.addSecs(59 * 60));
    QCOMPARE(m.rowCount(), 1);
    QCOMPARE(cell(m, 0, ActiveDxModel::Dx), QStringLiteral("DDD1D"));
}

void TestActiveDx::rowLimit()
{
    ActiveDxModel m;
    m.setMaxAgeMinutes(24 * 60);
    for (int i = 0; i < ActiveDxModel::MaxRows; ++i)
        QVERIFY(m.addLine(spot("W3LPL", "14025.0", QStringLiteral("K%1A").arg(i)), kStart.addMSecs(i)));
    QCOMPARE(m.rowCount(), ActiveDxModel::MaxRows);
    // The first station is heard again and so is no longer the oldest.
    QVERIFY(m.addLine(spot("G3ABC", "14025.0", "K0A"), kStart.addSecs(10)));

    QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QVERIFY(m.addLine(spot("W3LPL", "14025.0", "NEW1A"), kStart.addSecs(11)));
    QCOMPARE(m.rowCount(), ActiveDxModel::MaxRows);
    QVERIFY(m.rowOf("K0A", band(BandFilter::Band::m20)) >= 0);
    QCOMPARE(m.rowOf("K1A", band(BandFilter::Band::m20)), -1);
    const int r = m.rowOf("NEW1A", band(BandFilter::Band::m20));
    QCOMPARE(cell(m, r, ActiveDxModel::Dx), QStringLiteral("NEW1A"));
    QCOMPARE(cell(m, m.rowOf("K2A", band(BandFilter::Band::m20)), ActiveDxModel::Dx), QStringLiteral("K2A"));
}

void TestActiveDx::countryColumns()
{
    ActiveDxModel m;
    QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
    m.addLine(spot("W3LPL", "14025.0", "EA8XYZ"), kStart);
    m.addLine(spot("W3LPL", "14026.0", "DL1XYZ/MM"), kStart);
    // No country file yet: empty cells, the row is there all the same.
    QCOMPARE(m.rowCount(), 2);
    QCOMPARE(cell(m, 0, ActiveDxModel::Entity), QString());

    QSignalSpy changed(&m, &QAbstractItemModel::dataChanged);
    m.setCountryTable(fixtureTable());
    QCOMPARE(changed.count(), 1);
    QCOMPARE(cell(m, 0, ActiveDxModel::Entity), QStringLiteral("Canary Islands"));
    QCOMPARE(cell(m, 0, ActiveDxModel::Continent), QStringLiteral("AF"));
    QCOMPARE(cell(m, 0, ActiveDxModel::CqZone), QStringLiteral("33"));
    QCOMPARE(cell(m, 0, ActiveDxModel::ItuZone), QStringLiteral("36"));
    QCOMPARE(m.data(m.index(0, 0), ActiveDxModel::ContinentRole).toString(), QStringLiteral("AF"));
    QCOMPARE(cell(m, 0, ActiveDxModel::Bearing), QString()); // no locator yet
    QCOMPARE(cell(m, 1, ActiveDxModel::Entity), QString());  // at sea

    m.setLocator(QStringLiteral("xx99")); // refused: stays empty
    QCOMPARE(cell(m, 0, ActiveDxModel::Km), QString());
    // RE78 to the Canary Islands: 142.71 / 322.71 degrees, 18250 km
    // (spherical formulas, see tst_dxcc).
    m.setLocator(QStringLiteral("RE78"));
    QCOMPARE(cell(m, 0, ActiveDxModel::Bearing), QStringLiteral("143\u00b0"));
    QCOMPARE(cell(m, 0, ActiveDxModel::LongPath), QStringLiteral("323\u00b0"));
    const int km = m.data(m.index(0, ActiveDxModel::Km), ActiveDxModel::SortRole).toInt();
    QVERIFY2(qAbs(km - 18250) <= 2, qPrintable(QString::number(km)));
    QCOMPARE(cell(m, 1, ActiveDxModel::Bearing), QString());
    QCOMPARE(m.data(m.index(1, ActiveDxModel::Bearing), ActiveDxModel::SortRole).toInt(), -1);

    // A new row is looked up as it comes.
    m.addLine(spot("W3LPL", "14027.0", "VE1CWJ/VP9"), kStart);
    QCOMPARE(cell(m, 2, ActiveDxModel::Entity), QStringLiteral("Bermuda"));
    QVERIFY(!cell(m, 2, ActiveDxModel::Km).isEmpty());
}

// The alert log grows a line at a time (as AlertCenter fills it: a row,
// then its text; the oldest dropped at its limit); the window's list takes
// the new lines in one insertion a batch, keeps its newest maxLines, and
// tells how many came.
void TestActiveDx::alertLinesTakenInBatches()
{
    QStringListModel log;
    const auto alert = [&log](const QString& text) {
        const int row = log.rowCount();
        log.insertRows(row, 1);
        log.setData(log.index(row, 0), text);
        if (log.rowCount() > 5)
            log.removeRows(0, log.rowCount() - 5);
    };
    for (const char* text : {"a1", "a2", "a3", "a4"})
        alert(QString::fromLatin1(text));
    ActiveDxAlerts list(&log, 3);
    QAbstractItemModelTester tester(&list, QAbstractItemModelTester::FailureReportingMode::QtTest);
    const auto lines = [&list] {
        QStringList l;
        for (int r = 0; r < list.rowCount(); ++r)
            l << list.index(r).data().toString();
        return l;
    };
    QCOMPARE(lines(), QStringList({"a2", "a3", "a4"}));
    QSignalSpy inserted(&list, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&list, &QAbstractItemModel::rowsRemoved);
    QSignalSpy added(&list, &ActiveDxAlerts::linesAdded);

    alert("b1");
    alert("b2");
    QCOMPARE(list.rowCount(), 3); // nothing yet: the batch waits
    QVERIFY(added.wait(1000));
    QCOMPARE(lines(), QStringList({"a4", "b1", "b2"}));
    QCOMPARE(inserted.size(), 1);
    QCOMPARE(removed.size(), 1);
    QCOMPARE(added.last().at(0).toInt(), 2);
    QCOMPARE(added.last().at(1).toString(), QStringLiteral("b2"));

    // More than the list holds, and more than the log keeps, in one batch.
    for (int i = 1; i <= 7; ++i)
        alert(QStringLiteral("c%1").arg(i));
    list.takeNew();
    QCOMPARE(lines(), QStringList({"c5", "c6", "c7"}));
    QCOMPARE(inserted.size(), 2);
    QCOMPARE(added.last().at(0).toInt(), 7);

    // The log's lines going at its front change nothing listed; a log
    // started afresh is listed afresh.
    log.removeRows(0, 3);
    QCOMPARE(lines(), QStringList({"c5", "c6", "c7"}));
    log.setStringList({"d1"});
    QCOMPARE(lines(), QStringList({"d1"}));
}

QTEST_GUILESS_MAIN(TestActiveDx)
#include "tst_active_dx.moc"
