// The country file and the callsign lookup.
//
// cty-excerpt.dat holds records of Debian's cty.dat edition 20230502
// (hamradio-files 20230502, AD1C, MIT licence), copied line for line; long
// alias lists are cut after a few lines and closed with ";". The expected
// answers below were read off those lines by hand.

#include "TestFiles.h"
#include "activedx/ActiveDxStations.h"
#include "dxcc/CountryFile.h"
#include "dxcc/CountryTable.h"
#include "dxcc/GreatCirclePath.h"
#include "dxcc/Locator.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace {

QByteArray fixture()
{
    QFile f(QStringLiteral(DXCC_FIXTURE));
    if (!f.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", DXCC_FIXTURE);
    return f.readAll();
}


} // namespace

class TestDxcc : public QObject
{
    Q_OBJECT
private slots:
    void golden_data();
    void golden();
    void positionAndVersion();
    void aliasOverrides();
    void damagedRecords_data();
    void damagedRecords();
    void installedFile();
    void searchOrder();
    void userCopyOfTooFewEntities_data();
    void userCopyOfTooFewEntities();
    void unusableFiles_data();
    void unusableFiles();

    void locatorText_data();
    void locatorText();
    void path_data();
    void path();
};

void TestDxcc::golden_data()
{
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("entity"); // empty: no entity
    QTest::addColumn<int>("cq");
    QTest::addColumn<int>("itu");
    QTest::addColumn<QString>("continent");
    QTest::addColumn<bool>("waeOnly");

    const QString usa = QStringLiteral("United States of America");
    // "=4U1UN" is a whole call of the UN record.
    QTest::newRow("4U1UN exact call") << "4U1UN" << "United Nations HQ" << 5 << 8 << "NA" << false;
    QTest::newRow("4U1UN/P exact after suffix") << "4U1UN/P" << "United Nations HQ" << 5 << 8 << "NA" << false;
    // The UN record's primary prefix 4U1U is no alias; "4U" is one of Italy's.
    QTest::newRow("4U1U by Italy's 4U") << "4U1U" << "Italy" << 15 << 28 << "EU" << false;
    QTest::newRow("IT9X star entity") << "IT9X" << "Sicily" << 15 << 28 << "EU" << true;
    QTest::newRow("IT1X plain I") << "IT1X" << "Italy" << 15 << 28 << "EU" << false;
    QTest::newRow("KL7ND") << "KL7ND" << "Alaska" << 1 << 1 << "NA" << false;
    QTest::newRow("G8AAA") << "G8AAA" << "England" << 14 << 27 << "EU" << false;
    QTest::newRow("EA8XYZ longer prefix than EA") << "EA8XYZ" << "Canary Islands" << 33 << 36 << "AF" << false;
    QTest::newRow("lower case") << "ea8xyz" << "Canary Islands" << 33 << 36 << "AF" << false;
    // K4ND: no K4 alias, so "K".
    QTest::newRow("K2ND/4 area digit") << "K2ND/4" << usa << 5 << 8 << "NA" << false;
    // K0ND: "K0(4)[7]".
    QTest::newRow("K2ND/0 area digit override") << "K2ND/0" << usa << 4 << 7 << "NA" << false;
    QTest::newRow("PA/DJ0LN/P prefix before") << "PA/DJ0LN/P" << "Netherlands" << 14 << 27 << "EU" << false;
    QTest::newRow("DL1XYZ/PA prefix after") << "DL1XYZ/PA" << "Netherlands" << 14 << 27 << "EU" << false;
    QTest::newRow("DL1XYZ home") << "DL1XYZ" << "Fed. Rep. of Germany" << 14 << 28 << "EU" << false;
    // "W8(4)[8]": the (CQ)[ITU] override of a prefix alias.
    QTest::newRow("W8LR/R rover, W8 override") << "W8LR/R" << usa << 4 << 8 << "NA" << false;
    QTest::newRow("VE1CWJ/VP9") << "VE1CWJ/VP9" << "Bermuda" << 5 << 11 << "NA" << false;
    QTest::newRow("XX0XX/YY") << "XX0XX/YY" << "Venezuela" << 9 << 12 << "SA" << false;
    QTest::newRow("XX0XX/YY0 longer prefix") << "XX0XX/YY0" << "Aves Island" << 8 << 11 << "NA" << false;
    QTest::newRow("G8AAA/QRP") << "G8AAA/QRP" << "England" << 14 << 27 << "EU" << false;
    QTest::newRow("G8AAA/M/QRP") << "G8AAA/M/QRP" << "England" << 14 << 27 << "EU" << false;
    // "=PA/DF8WA/LH" is listed whole.
    QTest::newRow("exact call with slashes") << "PA/DF8WA/LH" << "Netherlands" << 14 << 27 << "EU" << false;
    // "=KG4IJS/0(4)[7]": an exact call with its own zones.
    QTest::newRow("exact call override") << "KG4IJS/0" << usa << 4 << 7 << "NA" << false;
    // "KG4" prefix, two-letter suffix: Guantanamo Bay.
    QTest::newRow("KG4 two letters") << "KG4QQ" << "Guantanamo Bay" << 8 << 11 << "NA" << false;
    QTest::newRow("KG4 two letters exact") << "KG4AC" << "Guantanamo Bay" << 8 << 11 << "NA" << false;
    // One or three letters: a US 4th-area call, zones of "K".
    QTest::newRow("KG4 three letters") << "KG4ABC" << usa << 5 << 8 << "NA" << false;
    QTest::newRow("KG4 one letter") << "KG4A" << usa << 5 << 8 << "NA" << false;
    // "=KG4DFX(5)[8]" is listed under the USA.
    QTest::newRow("KG4 three letters exact") << "KG4DFX" << usa << 5 << 8 << "NA" << false;
    QTest::newRow("W1AW/KG4 exact") << "W1AW/KG4" << "Guantanamo Bay" << 8 << 11 << "NA" << false;

    QTest::newRow("/MM") << "/MM" << "" << 0 << 0 << "" << false;
    QTest::newRow("/AM") << "/AM" << "" << 0 << 0 << "" << false;
    QTest::newRow("DL1XYZ/MM") << "DL1XYZ/MM" << "" << 0 << 0 << "" << false;
    QTest::newRow("G8AAA/AM") << "G8AAA/AM" << "" << 0 << 0 << "" << false;
    // The file lists "=N2NL/MM(7)" for contest zones; at sea it is still no
    // entity.
    QTest::newRow("listed /MM still none") << "N2NL/MM" << "" << 0 << 0 << "" << false;
    QTest::newRow("/QRP alone") << "/QRP" << "" << 0 << 0 << "" << false;
    QTest::newRow("empty") << "" << "" << 0 << 0 << "" << false;
    QTest::newRow("no such prefix") << "QQ1ABC" << "" << 0 << 0 << "" << false;
    QTest::newRow("not a call") << "DL1 XYZ" << "" << 0 << 0 << "" << false;
}

void TestDxcc::golden()
{
    QFETCH(QString, call);
    QFETCH(QString, entity);
    static const CountryTable table = CountryTable::parse(fixture());
    const std::optional<CountryInfo> info = table.lookup(call);
    if (entity.isEmpty()) {
        QVERIFY2(!info, qPrintable(info ? info->name : QString()));
        return;
    }
    QVERIFY(info);
    QCOMPARE(info->name, entity);
    QTEST(info->cqZone, "cq");
    QTEST(info->ituZone, "itu");
    QTEST(info->continent, "continent");
    QTEST(info->waeOnly, "waeOnly");
}

void TestDxcc::positionAndVersion()
{
    const CountryTable table = CountryTable::parse(fixture());
    QCOMPARE(table.version(), QStringLiteral("20230502"));
    QCOMPARE(table.entityCount(), 18);
    QCOMPARE(table.skippedRecords(), 0);
    QCOMPARE(table.skippedAliases(), 0);

    // "Canary Islands: ... 28.32: 15.85: ... EA8:" lies 15.85 degrees WEST.
    const auto ea8 = table.lookup(u"EA8XYZ");
    QVERIFY(ea8);
    QCOMPARE(ea8->latitude, 28.32);
    QCOMPARE(ea8->longitudeWest, 15.85);
    QCOMPARE(ea8->longitudeEast(), -15.85);
    QCOMPARE(ea8->utcOffset, 0.0);
    QCOMPARE(ea8->primaryPrefix, QStringLiteral("EA8"));
    // "Macao: ... 22.10: -113.50: -8.0: XX9:" is east, eight hours ahead.
    const auto xx9 = table.lookup(u"XX9AA");
    QVERIFY(xx9);
    QCOMPARE(xx9->longitudeEast(), 113.5);
    QCOMPARE(xx9->utcOffset, -8.0);
    // The star is no part of the prefix.
    QCOMPARE(table.lookup(u"IT9X")->primaryPrefix, QStringLiteral("IT9"));
}

// The edition in use has no <lat/lon>, {CONT} or ~tz~ alias; these records
// are made up in the file's form.
void TestDxcc::aliasOverrides()
{
    const QByteArray text = "Test Land:  14:  27:  EU:   50.00:   -10.00:    -1.0:  T1:\n"
                            "    T1,T2(5)[9],=T1XX<-33.50/70.25>{SA}~-4.5~,\n"
                            "    T3{AF}(40)[90];\n";
    const CountryTable table = CountryTable::parse(text);
    QCOMPARE(table.skippedAliases(), 0);

    const auto plain = table.lookup(u"T1AA");
    QVERIFY(plain);
    QCOMPARE(plain->cqZone, 14);
    QCOMPARE(plain->longitudeWest, -10.0);

    const auto zones = table.lookup(u"T2AA");
    QCOMPARE(zones->cqZone, 5);
    QCOMPARE(zones->ituZone, 9);
    QCOMPARE(zones->continent, QStringLiteral("EU"));

    const auto all = table.lookup(u"T1XX");
    QCOMPARE(all->latitude, -33.5);
    QCOMPARE(all->longitudeWest, 70.25);
    QCOMPARE(all->continent, QStringLiteral("SA"));
    QCOMPARE(all->utcOffset, -4.5);
    QCOMPARE(all->cqZone, 14); // not overridden
    QCOMPARE(all->name, QStringLiteral("Test Land"));

    const auto order = table.lookup(u"T3AA");
    QCOMPARE(order->continent, QStringLiteral("AF"));
    QCOMPARE(order->cqZone, 40);
    QCOMPARE(order->ituZone, 90);
}

void TestDxcc::damagedRecords_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("entities");
    QTest::addColumn<int>("skippedRecords");
    QTest::addColumn<int>("skippedAliases");
    QTest::addColumn<QString>("stillFound"); // a call that must still be found

    const QByteArray good = "Netherlands:  14:  27:  EU:   52.28:    -5.47:    -1.0:  PA:\n    PA,PB;\n";
    QTest::newRow("empty") << QByteArray() << 0 << 0 << 0 << "";
    QTest::newRow("blank lines only") << QByteArray("\r\n\n  \n") << 0 << 0 << 0 << "";
    QTest::newRow("CRLF line ends") << QByteArray(good).replace("\n", "\r\n") << 1 << 0 << 0 << "PB1A";
    QTest::newRow("missing colon")
        << QByteArray("Bad: 14: 27: EU: 52.28: -5.47: -1.0 PA:\n PA;\n") + good << 1 << 1 << 0 << "PA1A";
    QTest::newRow("zone out of range")
        << QByteArray("Bad: 41: 27: EU: 52.28: -5.47: -1.0: QA:\n QA;\n") + good << 1 << 1 << 0 << "PA1A";
    QTest::newRow("unknown continent")
        << QByteArray("Bad: 14: 27: XY: 52.28: -5.47: -1.0: QA:\n QA;\n") + good << 1 << 1 << 0 << "PA1A";
    QTest::newRow("latitude not a number")
        << QByteArray("Bad: 14: 27: EU: nan: -5.47: -1.0: QA:\n QA;\n") + good << 1 << 1 << 0 << "PA1A";
    QTest::newRow("bad aliases skipped alone")
        << QByteArray("Netherlands: 14: 27: EU: 52.28: -5.47: -1.0: PA:\n PA(99),P#X,PC(3,PD[4],P/A,PB;")
        << 1 << 0 << 4 << "PB1A";
    QTest::newRow("binary junk") << QByteArray("\x00\xff:;;::,,\x80;\n", 12) + good << 1 << 2 << 0 << "PA1A";
    QTest::newRow("no final semicolon") << QByteArray(good).chopped(2) << 1 << 0 << 0 << "PB1A";
}

void TestDxcc::damagedRecords()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, stillFound);
    const CountryTable table = CountryTable::parse(text);
    QTEST(table.entityCount(), "entities");
    QTEST(table.skippedRecords(), "skippedRecords");
    QTEST(table.skippedAliases(), "skippedAliases");
    if (!stillFound.isEmpty())
        QVERIFY(table.lookup(stillFound));
    else
        QVERIFY(!table.lookup(u"PA1A"));
}

// Debian's file as installed; its edition may be newer than the excerpt's,
// so only answers that do not change between editions are checked.
void TestDxcc::installedFile()
{
    const QString path = CountryFile::systemPath();
    QVERIFY2(QFile::exists(path), "install hamradio-files (./dev installs it)");
    const CountryFile::Loaded loaded = CountryFile::load({path});
    QCOMPARE(loaded.path, path);
    const CountryTable& t = loaded.table;
    QVERIFY2(t.entityCount() > 300, qPrintable(QString::number(t.entityCount())));
    QCOMPARE(t.skippedRecords(), 0);
    QCOMPARE(t.skippedAliases(), 0);
    QVERIFY(QRegularExpression(QStringLiteral("^20\\d{6}$")).match(t.version()).hasMatch());
    QCOMPARE(t.lookup(u"G8AAA")->name, QStringLiteral("England"));
    QCOMPARE(t.lookup(u"DL1XYZ/PA")->name, QStringLiteral("Netherlands"));
    QCOMPARE(t.lookup(u"VE1CWJ/VP9")->name, QStringLiteral("Bermuda"));
    QCOMPARE(t.lookup(u"KL7ND")->name, QStringLiteral("Alaska"));
    QVERIFY(!t.lookup(u"DL1XYZ/MM"));
    QVERIFY(CountryFile::describe(loaded, QStringLiteral("/x"))
                .startsWith(QStringLiteral("Country file cty.dat of 20")));
}

void TestDxcc::searchOrder()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QStringList paths = CountryFile::searchPaths(dir.path());
    QCOMPARE(paths, QStringList({dir.filePath(QStringLiteral("cty.dat")), CountryFile::systemPath()}));

    // No copy of the user's: the system file.
    CountryFile::Loaded loaded = CountryFile::load(paths);
    QCOMPARE(loaded.path, CountryFile::systemPath());
    QVERIFY(loaded.skipped.isEmpty());

    // The user's copy wins.
    QVERIFY(writeFile(dir.filePath(QStringLiteral("cty.dat")), fixture()));
    loaded = CountryFile::load(paths);
    QCOMPARE(loaded.path, dir.filePath(QStringLiteral("cty.dat")));
    QCOMPARE(loaded.table.entityCount(), 18);
    QCOMPARE(CountryFile::describe(loaded, dir.path()),
             QStringLiteral("Country file cty.dat of 2023-05-02 (%1)").arg(loaded.path));

    // A user's copy without records is passed over, and said so.
    QVERIFY(writeFile(dir.filePath(QStringLiteral("cty.dat")), "not a country file\n"));
    loaded = CountryFile::load(paths);
    QCOMPARE(loaded.path, CountryFile::systemPath());
    QCOMPARE(loaded.skipped, QStringList(dir.filePath(QStringLiteral("cty.dat"))
                                         + QStringLiteral(": no country records in it")));

    // Nothing usable anywhere.
    loaded = CountryFile::load({dir.filePath(QStringLiteral("cty.dat"))});
    QVERIFY(loaded.table.isEmpty());
    QVERIFY(!loaded.table.lookup(u"G8AAA"));
    QCOMPARE(CountryFile::describe(loaded, dir.path()),
             QStringLiteral("No country file: install hamradio-files or put cty.dat in %1").arg(dir.path()));
}

void TestDxcc::userCopyOfTooFewEntities_data()
{
    QTest::addColumn<QByteArray>("copy");
    QTest::addColumn<QString>("refused"); // why, after the path; empty: the copy is used

    // A record that reads, whose aliases do not ("G#" is no prefix): it
    // would look up nothing at all.
    QTest::newRow("one record, no alias")
        << QByteArray("England:                  14:  27:  EU:   52.77:     1.47:     0.0:  G:\n"
                      "    G#,M#,2E#;\n")
        << "only 1 entity in it (at least 300)";
    QTest::newRow("an excerpt") << fixture() << "only 18 entities in it (at least 300)";
    QFile debian(CountryFile::systemPath());
    QVERIFY2(debian.open(QIODevice::ReadOnly), "install hamradio-files (./dev installs it)");
    QTest::newRow("a whole file") << debian.readAll() << QString();
}

// The program's choice of country file, as the DX window reports it: a
// user's copy of too few entities gives way to Debian's file, and the line
// about the country file says so.
void TestDxcc::userCopyOfTooFewEntities()
{
    QFETCH(QByteArray, copy);
    QFETCH(QString, refused);
    QTemporaryDir dir;
    const QString own = dir.filePath(QStringLiteral("cty.dat"));
    QVERIFY(writeFile(own, copy));

    const ActiveDxStations stations(dir.path());
    QCOMPARE(stations.countries()->lookup(u"G8AAA")->name, QStringLiteral("England"));
    QCOMPARE(stations.countries()->lookup(u"KL7ND")->name, QStringLiteral("Alaska"));
    const QStringList lines = stations.countryFileLine().split(u'\n');
    if (refused.isEmpty()) {
        QCOMPARE(lines.size(), 1);
        QVERIFY2(lines[0].endsWith(QStringLiteral("(%1)").arg(own)), qPrintable(lines[0]));
        return;
    }
    QCOMPARE(lines.size(), 2);
    QVERIFY2(lines[0].startsWith(QStringLiteral("Country file cty.dat of 20"))
                 && lines[0].endsWith(QStringLiteral("(%1)").arg(CountryFile::systemPath())),
             qPrintable(lines[0]));
    QCOMPARE(lines[1], QStringLiteral("Not used: %1: %2").arg(own, refused));
}

void TestDxcc::unusableFiles_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("missing") << "missing";
    QTest::newRow("folder") << "folder";
    QTest::newRow("pipe") << "pipe";
    QTest::newRow("link to a device") << "device";
    QTest::newRow("too large") << "large";
    QTest::newRow("unreadable") << "unreadable";
}

// None of these is read, and none blocks: a pipe with no writer would hold
// an open() for ever.
void TestDxcc::unusableFiles()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cty.dat"));
    if (kind == u"folder") {
        QVERIFY(QDir().mkdir(path));
    } else if (kind == u"pipe") {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else if (kind == u"device") {
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
    } else if (kind == u"large") {
        QByteArray big = fixture();
        big += QByteArray(CountryFile::MaxBytes, ' ');
        QVERIFY(writeFile(path, big));
    } else if (kind == u"unreadable") {
        QVERIFY(writeFile(path, fixture()));
        QFile::setPermissions(path, QFileDevice::WriteOwner);
        if (QFile(path).open(QIODevice::ReadOnly))
            QSKIP("running as root: a file without read permission still reads");
    }
    QVERIFY(!CountryFile::readBounded(path));
    const CountryFile::Loaded loaded = CountryFile::load({path});
    QVERIFY(loaded.table.isEmpty());
    QCOMPARE(loaded.skipped.size(), kind == u"missing" ? 0 : 1);
}

void TestDxcc::locatorText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("normalized"); // empty: refused
    QTest::addColumn<double>("lat");         // centre, worked out by hand
    QTest::addColumn<double>("lonEast");

    // "JO31": field J is 9 x 20 degrees east of 180 W (0), O is 14 x 10
    // degrees north of 90 S (50 N); square 3,1 adds 6 degrees east and 1
    // north; the centre lies half a square further (1 and 0.5 degrees).
    // "LK" adds 11 x 5' and 10 x 2.5', and half a subsquare (2.5', 1.25').
    QTest::newRow("square") << "JO31" << "JO31" << 51.5 << 7.0;
    QTest::newRow("subsquare") << "JO31LK" << "JO31lk" << 51.4375 << 6.958333;
    QTest::newRow("lower case, blanks") << " jo31lk " << "JO31lk" << 51.4375 << 6.958333;
    QTest::newRow("south-west corner") << "AA00aa" << "AA00aa" << -89.979167 << -179.958333;
    QTest::newRow("north-east corner") << "RR99xx" << "RR99xx" << 89.979167 << 179.958333;
    QTest::newRow("empty") << "" << "" << 0.0 << 0.0;
    QTest::newRow("field only") << "JO" << "" << 0.0 << 0.0;
    QTest::newRow("five") << "JO31L" << "" << 0.0 << 0.0;
    QTest::newRow("eight") << "JO31LK22" << "" << 0.0 << 0.0;
    QTest::newRow("field past R") << "SO31" << "" << 0.0 << 0.0;
    QTest::newRow("subsquare past X") << "JO31LY" << "" << 0.0 << 0.0;
    QTest::newRow("letters for digits") << "JOAB" << "" << 0.0 << 0.0;
    QTest::newRow("full-width digits") << "JO\uFF13\uFF11" << "" << 0.0 << 0.0;
}

void TestDxcc::locatorText()
{
    QFETCH(QString, text);
    QFETCH(QString, normalized);
    QFETCH(double, lat);
    QFETCH(double, lonEast);
    const std::optional<QString> n = Locator::normalized(text);
    const std::optional<Locator::Point> c = Locator::centre(text);
    if (normalized.isEmpty()) {
        QVERIFY(!n);
        QVERIFY(!c);
        QVERIFY(!GreatCirclePath::fromLocator(text, CountryInfo()));
        QVERIFY(Locator::refusal(text).startsWith(QStringLiteral("\"") + text.trimmed() + u'"'));
        return;
    }
    QCOMPARE(*n, normalized);
    QVERIFY(c);
    QVERIFY2(qAbs(c->latitude - lat) < 1e-5, qPrintable(QString::number(c->latitude)));
    QVERIFY2(qAbs(c->longitudeEast - lonEast) < 1e-5, qPrintable(QString::number(c->longitudeEast)));
}

void TestDxcc::path_data()
{
    QTest::addColumn<QString>("locator");
    QTest::addColumn<double>("lat");     // the entity, as the file gives it
    QTest::addColumn<double>("lonWest"); // west positive, as the file gives it
    QTest::addColumn<double>("bearing");
    QTest::addColumn<double>("longBearing");
    QTest::addColumn<double>("km");
    QTest::addColumn<double>("longKm");

    // Expected values: the spherical-earth formulas worked out apart from
    // Hamlib, in a python3 one-off: initial bearing
    //   atan2(sin dlon cos lat2, cos lat1 sin lat2 - sin lat1 cos lat2 cos dlon),
    // haversine distance with the mean radius 6371.0 km, long path
    // 2 pi R - d and bearing + 180. Hamlib takes 111.2 km a degree (R
    // 6371.25 km), hence the tolerance of a few km, and gives the bearing
    // in whole degrees.
    QTest::newRow("JO31 to England") << "JO31" << 52.77 << 1.47 << 287.05 << 107.05 << 594.70 << 39435.47;
    QTest::newRow("JO31lk to USA") << "JO31lk" << 37.60 << 91.87 << 301.27 << 121.27 << 7376.79 << 32653.38;
    QTest::newRow("FN31 to Macao") << "FN31" << 22.10 << -113.50 << 353.29 << 173.29 << 12911.40 << 27118.77;
    QTest::newRow("RE78 to Canary Islands") << "RE78" << 28.32 << 15.85 << 142.71 << 322.71 << 18250.13 << 21780.04;
    QTest::newRow("BL11 to Fiji, over 180") << "BL11" << -17.78 << -177.92 << 213.92 << 33.92 << 5151.44 << 34878.73;
    QTest::newRow("same place") << "JO31" << 51.5 << -7.0 << 0.0 << 180.0 << 0.0 << 40030.17;
}

void TestDxcc::path()
{
    QFETCH(QString, locator);
    QFETCH(double, lat);
    QFETCH(double, lonWest);
    CountryInfo dx;
    dx.latitude = lat;
    dx.longitudeWest = lonWest;
    const std::optional<GreatCirclePath> p = GreatCirclePath::fromLocator(locator, dx);
    QVERIFY(p);
    const auto near = [](double actual, double expected, double tolerance) {
        return qAbs(actual - expected) <= tolerance;
    };
    QFETCH(double, bearing);
    QFETCH(double, longBearing);
    QFETCH(double, km);
    QFETCH(double, longKm);
    QVERIFY2(near(p->bearing, bearing, 0.5), qPrintable(QString::number(p->bearing)));
    QVERIFY2(near(p->longBearing, longBearing, 0.5), qPrintable(QString::number(p->longBearing)));
    QVERIFY2(near(p->km, km, 2), qPrintable(QString::number(p->km)));
    QVERIFY2(near(p->longKm, longKm, 3), qPrintable(QString::number(p->longKm)));
}

QTEST_GUILESS_MAIN(TestDxcc)
#include "tst_dxcc.moc"
