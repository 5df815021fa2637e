// The user's log: reading ADI and ADX, the entities of its QSOs, the
// status each spot gets from it, its options and its summary line.

#include "dxcc/CountryFile.h"
#include "dxcc/CountryTable.h"
#include "log/AdiReader.h"
#include "log/AdifValues.h"
#include "log/AdxReader.h"
#include "log/DxccEntities.h"
#include "log/LogFile.h"
#include "log/LogIndex.h"
#include "log/LogSettings.h"
#include "log/StatusColors.h"
#include "settings/ColorContrast.h"
#include "spots/Spot.h"

#include "TestFiles.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

// One ADI field with its length in bytes: field("NAME", "Jürgen") is
// "<NAME:7>Jürgen".
QByteArray field(const QByteArray& name, const QByteArray& value)
{
    return '<' + name + ':' + QByteArray::number(value.size()) + '>' + value;
}

// A log written as the table reads best, one QSO per ";":
//   "DL1ABC 20m CW LOTW_QSL_RCVD=Y; PA1XYZ 40m MFSK SUBMODE=FT4"
// call, band and mode ("-" leaves one out), then any fields by name.
QByteArray adiLog(const QString& qsos)
{
    QByteArray text = "Written by the test\n<ADIF_VER:5>3.1.4 <EOH>\n";
    for (const QString& qso : qsos.split(u';', Qt::SkipEmptyParts)) {
        const QStringList words = qso.split(u' ', Qt::SkipEmptyParts);
        static const QByteArray first[] = {"CALL", "BAND", "MODE"};
        for (int i = 0; i < words.size(); ++i) {
            const QByteArray w = words[i].toUtf8();
            if (i < 3) {
                if (w != "-")
                    text += field(first[i], w) + ' ';
            } else {
                const qsizetype eq = w.indexOf('=');
                text += field(w.left(eq), w.mid(eq + 1)) + ' ';
            }
        }
        text += "<EOR>\n";
    }
    return text;
}

const CountryTable& excerpt()
{
    static const CountryTable table = [] {
        QFile f(QStringLiteral(DXCC_FIXTURE));
        if (!f.open(QIODevice::ReadOnly))
            qFatal("no country file excerpt at %s", DXCC_FIXTURE);
        return CountryTable::parse(f.readAll());
    }();
    return table;
}

ModeGroup groupNamed(const QString& name)
{
    if (name == u"CW")
        return ModeGroup::Cw;
    if (name == u"PHONE")
        return ModeGroup::Phone;
    if (name == u"DIGITAL")
        return ModeGroup::Digital;
    return ModeGroup::Unknown;
}

QString bandText(const std::optional<BandPlan::Band>& band)
{
    return band ? BandPlan::name(*band) : QStringLiteral("-");
}

} // namespace

class TestLog : public QObject
{
    Q_OBJECT
private slots:
    void adi_data();
    void adi();
    void adiFields();
    void adx_data();
    void adx();
    void formats();
    void values_data();
    void values();
    void dxccCodes();
    void status_data();
    void status();
    void summary();
    void settings();
    void demoLog();
    void statusColors_data();
    void statusColors();
};

void TestLog::adi_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("calls"); // the QSOs read, "K1ABC 40m,W1AW -"
    QTest::addColumn<int>("skipped");
    QTest::addColumn<QString>("problem"); // the first skipped, or the refusal

    const QByteArray k1abc = field("CALL", "K1ABC") + field("BAND", "40m") + "<EOR>";
    const QByteArray w1aw = field("CALL", "W1AW") + field("BAND", "20m") + "<EOR>";

    QTest::newRow("header") << "Exported by a logger\n" + field("ADIF_VER", "3.1.4") + " <EOH>\n" +
                                   k1abc + '\n'
                            << "K1ABC 40m" << 0 << "";
    QTest::newRow("no header") << k1abc << "K1ABC 40m" << 0 << "";
    // A file that begins with "<" has no header, but a logger that writes
    // one anyway loses no QSO by it.
    QTest::newRow("header fields first")
        << field("ADIF_VER", "3.1.4") + field("PROGRAMID", "LOGGER") + "<EOH>\n" + k1abc
        << "K1ABC 40m" << 0 << "";
    // Free text of a header may hold what looks like a record.
    QTest::newRow("record in the header")
        << "Sample: " + field("CALL", "N0CALL") + "<EOR>\n<EOH>\n" + w1aw << "W1AW 20m" << 0 << "";
    QTest::newRow("header without EOH") << "Exported\n" + k1abc << "K1ABC 40m" << 0 << "";
    QTest::newRow("names in any case")
        << QByteArray("<call:5>k1abc<Band:3>40M<eOr>") << "K1ABC 40m" << 0 << "";
    QTest::newRow("type indicators")
        << QByteArray("<CALL:5:S>K1ABC<QSO_DATE:8:D>20240301<BAND:3:E>20m<EOR>") << "K1ABC 20m" << 0
        << "";
    QTest::newRow("length in bytes of UTF-8")
        << field("NAME", "J\xc3\xbcrgen") + field("CALL", "DL1AB") + "<EOR>"
        << "DL1AB -" << 0 << "";
    QTest::newRow("data holding <EOR>")
        << field("COMMENT", "<EOR>") + field("CALL", "K1ABC") + "<EOR>"
        << "K1ABC -" << 0 << "";
    QTest::newRow("unknown and APP_ fields")
        << field("APP_LOGGER_RIG", "K3") + field("MY_GRIDSQUARE", "JO31") + k1abc << "K1ABC 40m"
        << 0 << "";
    QTest::newRow("CRLF") << "Log\r\n<EOH>\r\n" + field("CALL", "K1ABC") + "\r\n" +
                                 field("BAND", "40m") + "\r\n<EOR>\r\n" + w1aw + "\r\n"
                          << "K1ABC 40m,W1AW 20m" << 0 << "";
    QTest::newRow("byte order mark") << "\xEF\xBB\xBF" + k1abc << "K1ABC 40m" << 0 << "";
    QTest::newRow("stray < between records")
        << k1abc + " 3 < 4 <-- " + w1aw << "K1ABC 40m,W1AW 20m" << 0 << "";
    QTest::newRow("zero-length fields")
        << field("CALL", "K1ABC") + "<BAND:0>" + field("FREQ", "14.025") + "<MODE:0><EOR>"
        << "K1ABC 20m" << 0 << "";
    QTest::newRow("zero-length call") << "<CALL:0>" + field("BAND", "40m") + "<EOR>\n" + w1aw
                                      << "W1AW 20m" << 1 << "line 1: a record without CALL";
    QTest::newRow("call with a blank") << field("CALL", "K1 ABC") + "<EOR>\n" + w1aw << "W1AW 20m"
                                       << 1 << "line 1: CALL K1 ABC is no callsign";
    QTest::newRow("length past the end")
        << k1abc + '\n' + w1aw + "\n<CALL:50>N1MM<EOR>"
        << "K1ABC 40m,W1AW 20m" << 1 << "line 3: <CALL:50> runs past the end of the file";
    QTest::newRow("missing EOR at the end")
        << k1abc + '\n' + field("CALL", "W1AW") + field("BAND", "20m") + '\n'
        << "K1ABC 40m" << 1 << "line 2: no <EOR> ends the record";
    // Two QSOs run into one: neither can be told apart, the next is read.
    QTest::newRow("missing EOR between records")
        << field("CALL", "K1ABC") + field("BAND", "40m") + '\n' + w1aw + '\n' +
               field("CALL", "N1MM") + "<EOR>"
        << "N1MM -" << 1 << "line 2: CALL is given twice in one record";
    QTest::newRow("field that does not read")
        << k1abc + "\n<CALL:x>W1AW<EOR>\n" + w1aw << "K1ABC 40m,W1AW 20m" << 1
        << "line 2: <CALL:x> is no field";
    QTest::newRow("field with a line end in its length")
        << k1abc + "\n<CALL:4\r\n>W1AW<EOR>\n" + w1aw << "K1ABC 40m,W1AW 20m" << 1
        << "line 2: <CALL:4?\?> is no field";
    QTest::newRow("file ends inside a tag")
        << k1abc + "\n<CAL"
        << "K1ABC 40m" << 1 << "line 2: the file ends inside <CAL";
    QTest::newRow("EOR alone") << "<EOR>" + k1abc << "K1ABC 40m" << 0 << "";
    QTest::newRow("header only") << QByteArray("Exported\n<EOH>\n\n") << "" << 0 << "";
    QTest::newRow("empty file") << QByteArray() << "" << 0 << "";

    // No log at all: refused, and the message names the line.
    QTest::newRow("a letter") << QByteArray("Dear OM,\nthanks for the QSO.\n") << "" << 0
                              << "line 1 holds no ADIF record";
    QTest::newRow("text after a header")
        << QByteArray("Log\n<EOH>\n\n  nothing here\n") << "" << 0 << "line 4 holds no ADIF record";
    QTest::newRow("a web page") << QByteArray("<html>\n<body>Not found</body></html>") << "" << 0
                                << "line 1 holds no ADIF record";
    QTest::newRow("only broken records") << "Log <EOH>\n\n" + field("CALL", "K1ABC") << "" << 1
                                         << "line 3: no <EOR> ends the record";
}

void TestLog::adi()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, calls);
    QFETCH(int, skipped);
    QFETCH(QString, problem);

    const AdiReader::Result read = AdiReader::readAll(file);
    QStringList got;
    for (const LogQso& q : read.qsos)
        got << q.call + u' ' + bandText(q.band);
    QCOMPARE(got.join(u','), calls);
    QCOMPARE(read.report.qsos, int(read.qsos.size()));
    QCOMPARE(read.report.skipped, skipped);
    if (read.report.refused()) {
        QVERIFY(read.qsos.isEmpty());
        QCOMPARE(read.report.refusal, problem);
    } else {
        QCOMPARE(skipped ? read.report.firstSkipped() : QString(), problem);
    }
}

// Every field the program reads, from one record of a real export.
void TestLog::adiFields()
{
    const QByteArray record =
        "<CALL:4>3y0j <QSO_DATE:8>20230215 <TIME_ON:6>101500 <FREQ:6>14.080 <BAND:3>20m "
        "<MODE:4>MFSK <SUBMODE:3>FT4 <DXCC:2>24 <QSL_RCVD:1>N <LOTW_QSL_RCVD:1>Y "
        "<EQSL_QSL_RCVD:1>V <STATION_CALLSIGN:6>dl1xyz <APP_LOGGER_ID:3>123 <EOR>\n";
    const AdiReader::Result read = AdiReader::readAll(record);
    QCOMPARE(read.qsos.size(), 1);
    const LogQso& q = read.qsos.first();
    QCOMPARE(q.call, QStringLiteral("3Y0J"));
    QCOMPARE(q.band, BandPlan::Band::m20);
    QCOMPARE(q.mode, QStringLiteral("FT4"));
    QCOMPARE(q.group, ModeGroup::Digital);
    QCOMPARE(q.dxcc, 24);
    QCOMPARE(q.confirmations, quint8(LogQso::Lotw | LogQso::Eqsl));
    QCOMPARE(q.stationCallsign, QStringLiteral("DL1XYZ"));
    QCOMPARE(q.date, QDate(2023, 2, 15));

    // A length that ends inside a letter is read to the letter's end:
    // "ü" is two bytes, the length counted one.
    const AdiReader::Result cut =
        AdiReader::readAll("<CALL:5>DL1AB<STATION_CALLSIGN:1>\xc3\xbc<EOR>");
    QCOMPARE(cut.qsos.size(), 1);
    QCOMPARE(cut.qsos.first().stationCallsign, QStringLiteral("\u00dc"));
}

void TestLog::adx_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("calls");
    QTest::addColumn<int>("skipped");
    QTest::addColumn<QString>("problem");

    const QByteArray head = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ADX>\n"
                            "<HEADER><ADIF_VER>3.1.4</ADIF_VER>"
                            "<USERDEF FIELDID=\"1\" TYPE=\"S\">EPC</USERDEF></HEADER>\n<RECORDS>\n";
    const QByteArray tail = "</RECORDS>\n</ADX>\n";
    const QByteArray k1abc = "<RECORD><CALL>K1ABC</CALL><BAND>40m</BAND><MODE>CW</MODE>"
                             "<APP PROGRAMID=\"LOGGER\" FIELDNAME=\"RIG\" TYPE=\"S\">K3</APP>"
                             "<USERDEF FIELDNAME=\"EPC\">32123</USERDEF></RECORD>\n";
    const QByteArray w1aw = "<RECORD><CALL>W1AW</CALL><FREQ>14.025</FREQ></RECORD>\n";

    QTest::newRow("records") << head + k1abc + w1aw + tail << "K1ABC 40m,W1AW 20m" << 0 << "";
    QTest::newRow("names in any case")
        << QByteArray("<adx><records><record><call>k1abc</call><band>40M</band></record>"
                      "</records></adx>")
        << "K1ABC 40m" << 0 << "";
    QTest::newRow("no records") << head + tail << "" << 0 << "";
    QTest::newRow("field given twice")
        << head + "<RECORD><CALL>K1ABC</CALL>\n<CALL>N1MM</CALL></RECORD>\n" + w1aw + tail
        << "W1AW 20m" << 1 << "line 6: CALL is given twice in one record";
    QTest::newRow("element inside a field")
        << head + k1abc + "<RECORD>\n<CALL>W1<B>AW</B></CALL></RECORD>\n" + tail << "K1ABC 40m" << 1
        << "line 7: <CALL> holds an element";
    QTest::newRow("record without CALL")
        << head + "<RECORD><BAND>20m</BAND></RECORD>\n" + k1abc + tail << "K1ABC 40m" << 1
        << "line 5: a record without CALL";
    QTest::newRow("breaks off inside a record")
        << head + k1abc + "<RECORD><CALL>W1AW</CALL>"
        << "K1ABC 40m" << 1 << "line 6: the record breaks off: Premature end of document.";
    QTest::newRow("broken XML after the records")
        << head + k1abc + "</RECORDS><oops></ADX>"
        << "K1ABC 40m" << 1 << "line 6: the XML breaks off: Opening and ending tag mismatch.";
    // The reader counts an entity's line ends again each time it is used:
    // the message still names a line of the file (its last), and shows
    // the call on one line.
    QTest::newRow("entity with line ends")
        << QByteArray("<?xml version=\"1.0\"?>\n<!DOCTYPE ADX [<!ENTITY c \"K\r\r\r\r1\">]>\n"
                      "<ADX><RECORDS><RECORD><CALL>&c;</CALL></RECORD></RECORDS><oops></ADX>")
        << "" << 2 << "line 7: CALL K 1 is no callsign";
    // The fuzzer's: an error text that quotes the file, line ends and all.
    QTest::newRow("encoding quoted in the error")
        << QByteArray("<?xml version=\"1.0\" encoding=\"\r\xea\rUTF-8\"?>\n<ADX/>") << "" << 0
        << QString::fromUtf8("line 3: \xef\xbf\xbd UTF-8 is an invalid encoding name.");
    QTest::newRow("root is no ADX") << QByteArray("<?xml version=\"1.0\"?>\n<html><body/></html>")
                                    << "" << 0 << "line 2: <html> is no ADX log";
    QTest::newRow("no XML") << QByteArray("just text") << "" << 0 << "line 1: Start tag expected.";
}

void TestLog::adx()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, calls);
    QFETCH(int, skipped);
    QFETCH(QString, problem);

    const AdxReader::Result read = AdxReader::readAll(file);
    QStringList got;
    for (const LogQso& q : read.qsos)
        got << q.call + u' ' + bandText(q.band);
    QCOMPARE(got.join(u','), calls);
    QCOMPARE(read.report.skipped, skipped);
    if (read.report.refused())
        QCOMPARE(read.report.refusal, problem);
    else
        QCOMPARE(skipped ? read.report.firstSkipped() : QString(), problem);
}

// The file's text, not its name, tells ADI from ADX; both give the same.
void TestLog::formats()
{
    const QByteArray adi = adiLog(QStringLiteral("K1ABC 40m CW DXCC=291 LOTW_QSL_RCVD=Y"));
    const QByteArray adx = "\xEF\xBB\xBF  <?xml version=\"1.0\"?><ADX><RECORDS><RECORD>"
                           "<CALL>K1ABC</CALL><BAND>40m</BAND><MODE>CW</MODE><DXCC>291</DXCC>"
                           "<LOTW_QSL_RCVD>Y</LOTW_QSL_RCVD></RECORD></RECORDS></ADX>";
    QCOMPARE(LogFile::formatOf(adi), LogFile::Format::Adi);
    QCOMPARE(LogFile::formatOf(adx), LogFile::Format::Adx);
    QCOMPARE(LogFile::formatOf("<adx>"), LogFile::Format::Adx);
    QCOMPARE(LogFile::formatOf("<ADIF_VER:1>3<EOH>"), LogFile::Format::Adi);
    QList<LogQso> fromAdi, fromAdx;
    LogFile::read(adi, [&](LogQso&& q) { fromAdi << q; });
    LogFile::read(adx, [&](LogQso&& q) { fromAdx << q; });
    QCOMPARE(fromAdi.size(), 1);
    QCOMPARE(fromAdx, fromAdi);
}

void TestLog::values_data()
{
    QTest::addColumn<QString>("band");
    QTest::addColumn<QString>("freq");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("submode");
    QTest::addColumn<QString>("expectBand");
    QTest::addColumn<QString>("expectGroup");

    QTest::newRow("CW on 40m") << "40m"
                               << ""
                               << "CW"
                               << ""
                               << "40m"
                               << "CW";
    QTest::newRow("2190m is the plan's 2200m") << "2190m"
                                               << ""
                                               << "CW"
                                               << ""
                                               << "2200m"
                                               << "CW";
    QTest::newRow("band in capitals") << "70CM"
                                      << ""
                                      << "FM"
                                      << ""
                                      << "70cm"
                                      << "PHONE";
    QTest::newRow("band the plan has not") << "13cm"
                                           << ""
                                           << "SSB"
                                           << ""
                                           << "-"
                                           << "PHONE";
    QTest::newRow("band over frequency") << "20m"
                                         << "7.074"
                                         << "FT8"
                                         << ""
                                         << "20m"
                                         << "DIGITAL";
    QTest::newRow("frequency in MHz") << ""
                                      << "14.0255"
                                      << ""
                                      << ""
                                      << "20m"
                                      << "";
    QTest::newRow("frequency of Region 2 only") << ""
                                                << "7.250"
                                                << "SSB"
                                                << ""
                                                << "40m"
                                                << "PHONE";
    QTest::newRow("frequency of 2200m") << ""
                                        << "0.1365"
                                        << ""
                                        << ""
                                        << "2200m"
                                        << "";
    QTest::newRow("frequency with a comma") << ""
                                            << "14,025"
                                            << ""
                                            << ""
                                            << "-"
                                            << "";
    QTest::newRow("frequency between bands") << ""
                                             << "15.000"
                                             << ""
                                             << ""
                                             << "-"
                                             << "";
    QTest::newRow("unknown band word, frequency decides") << "20 M"
                                                          << "14.2"
                                                          << "USB"
                                                          << ""
                                                          << "20m"
                                                          << "PHONE";
    QTest::newRow("FT4 is MFSK") << ""
                                 << ""
                                 << "MFSK"
                                 << "FT4"
                                 << "-"
                                 << "DIGITAL";
    QTest::newRow("submode alone") << ""
                                   << ""
                                   << ""
                                   << "LSB"
                                   << "-"
                                   << "PHONE";
    QTest::newRow("digital voice") << ""
                                   << ""
                                   << "DIGITALVOICE"
                                   << "DSTAR"
                                   << "-"
                                   << "PHONE";
    QTest::newRow("pictures are phone") << ""
                                        << ""
                                        << "SSTV"
                                        << ""
                                        << "-"
                                        << "PHONE";
    QTest::newRow("RTTY") << ""
                          << ""
                          << "rtty"
                          << ""
                          << "-"
                          << "DIGITAL";
    QTest::newRow("unknown mode") << ""
                                  << ""
                                  << "XYZ"
                                  << ""
                                  << "-"
                                  << "";
}

void TestLog::values()
{
    QFETCH(QString, band);
    QFETCH(QString, freq);
    QFETCH(QString, mode);
    QFETCH(QString, submode);
    QFETCH(QString, expectBand);
    QFETCH(QString, expectGroup);

    QByteArray record = field("CALL", "K1ABC");
    for (const auto& [name, value] : {std::pair{"BAND", band}, std::pair{"FREQ", freq},
                                      std::pair{"MODE", mode}, std::pair{"SUBMODE", submode}}) {
        if (!value.isEmpty())
            record += field(name, value.toUtf8());
    }
    const AdiReader::Result read = AdiReader::readAll(record + "<EOR>");
    QCOMPARE(read.qsos.size(), 1);
    QCOMPARE(bandText(read.qsos.first().band), expectBand);
    QCOMPARE(read.qsos.first().group, groupNamed(expectGroup));
}

// The codes a log gives entities by, against the country file the spots
// are resolved with: each current entity is one of its records, and each
// of its records one entity or a part of one.
void TestLog::dxccCodes()
{
    const QByteArray text = readFile(CountryFile::systemPath());
    QVERIFY2(!text.isEmpty(), "Debian's cty.dat (package hamradio-files) is needed");
    // The primary prefix ends a record's first line:
    //   Bouvet:                   38:  67:  AF:  -54.42:    -3.38:    -1.0:  3Y/b:
    QSet<QString> inFile, waeInFile;
    for (const QByteArray& line : text.split('\n')) {
        const QList<QByteArray> fields = line.split(':');
        if (line.isEmpty() || line.startsWith(' ') || fields.size() < 9)
            continue;
        const QString prefix = QString::fromLatin1(fields[7].trimmed());
        if (prefix.startsWith(u'*'))
            waeInFile.insert(prefix.mid(1));
        else
            inFile.insert(prefix);
    }
    const QList<int> codes = DxccEntities::codes();
    QVERIFY(std::is_sorted(codes.begin(), codes.end()));
    QSet<QString> inTable;
    for (int code : codes) {
        const QString prefix = DxccEntities::prefixOf(code);
        QVERIFY2(!inTable.contains(prefix), qPrintable(prefix));
        inTable.insert(prefix);
        QCOMPARE(DxccEntities::codeOf(prefix), code);
    }
    QCOMPARE(inTable, inFile);
    QCOMPARE(inTable.size(), 340);

    QCOMPARE(DxccEntities::prefixOf(291), QStringLiteral("K"));
    QCOMPARE(DxccEntities::prefixOf(1), QStringLiteral("VE"));
    QCOMPARE(DxccEntities::prefixOf(230), QStringLiteral("DL"));
    QCOMPARE(DxccEntities::prefixOf(24), QStringLiteral("3Y/b"));
    QCOMPARE(DxccEntities::prefixOf(522), QStringLiteral("Z6"));
    // Deleted (Germany before 1973), none, and beyond the list.
    QVERIFY(DxccEntities::prefixOf(81).isEmpty());
    QVERIFY(DxccEntities::prefixOf(0).isEmpty());
    QVERIFY(DxccEntities::prefixOf(999).isEmpty());

    // The WAE-only records are parts of entities: Sicily is Italy,
    // Shetland Scotland.
    const CountryTable table = CountryTable::parse(text);
    QCOMPARE(waeInFile.size(), 6);
    for (QStringView call : {u"IT9ABC", u"2M0ZET", u"4U1VIC", u"JW0BEA", u"TA1ABC"}) {
        const std::optional<CountryInfo> info = table.lookup(call);
        QVERIFY2(info && info->waeOnly, qPrintable(call.toString()));
        QVERIFY(inTable.contains(DxccEntities::dxccPrefixOf(*info)));
        QVERIFY(DxccEntities::dxccPrefixOf(*info) != info->primaryPrefix);
    }
    QCOMPARE(DxccEntities::dxccPrefixOf(*table.lookup(u"IT9ABC")), QStringLiteral("I"));
    QCOMPARE(DxccEntities::dxccPrefixOf(*table.lookup(u"2M0ZET/P")), QStringLiteral("GM"));
    QCOMPARE(DxccEntities::dxccPrefixOf(*table.lookup(u"DL1ABC")), QStringLiteral("DL"));
}

void TestLog::status_data()
{
    QTest::addColumn<QString>("log");
    QTest::addColumn<QString>("confirmations"); // as settings.ini writes them; "" the default
    QTest::addColumn<QString>("myCalls");
    QTest::addColumn<QString>("since");
    QTest::addColumn<QString>("spot"); // "call band group": "DL2XYZ 20m CW", "-" for none
    QTest::addColumn<QString>("status");
    QTest::addColumn<bool>("workedBefore");

    const QString dl20cw = QStringLiteral("DL1ABC 20m CW");
    QTest::newRow("entity never worked") << dl20cw << ""
                                         << ""
                                         << ""
                                         << "PA1XYZ 20m CW"
                                         << "New one" << false;
    QTest::newRow("never on this band") << "DL1ABC 40m CW"
                                        << ""
                                        << ""
                                        << ""
                                        << "DL2XYZ 20m CW"
                                        << "New band" << false;
    QTest::newRow("never in this group") << "DL1ABC 20m SSB"
                                         << ""
                                         << ""
                                         << ""
                                         << "DL2XYZ 20m CW"
                                         << "New mode" << false;
    QTest::newRow("band and group, never together") << "DL1ABC 20m SSB; DL1ABC 40m CW"
                                                    << ""
                                                    << ""
                                                    << ""
                                                    << "DL2XYZ 20m CW"
                                                    << "New slot" << false;
    QTest::newRow("new band comes before new mode") << "DL1ABC 40m SSB"
                                                    << ""
                                                    << ""
                                                    << ""
                                                    << "DL2XYZ 20m CW"
                                                    << "New band" << false;
    QTest::newRow("worked, no confirmation") << dl20cw << ""
                                             << ""
                                             << ""
                                             << "DL2XYZ 20m CW"
                                             << "Worked" << false;
    QTest::newRow("LoTW confirms") << dl20cw + " LOTW_QSL_RCVD=Y"
                                   << ""
                                   << ""
                                   << ""
                                   << "DL2XYZ 20m CW"
                                   << "Confirmed" << false;
    QTest::newRow("a card confirms") << dl20cw + " QSL_RCVD=Y"
                                     << ""
                                     << ""
                                     << ""
                                     << "DL2XYZ 20m CW"
                                     << "Confirmed" << false;
    QTest::newRow("a card requested does not") << dl20cw + " QSL_RCVD=R"
                                               << ""
                                               << ""
                                               << ""
                                               << "DL2XYZ 20m CW"
                                               << "Worked" << false;
    QTest::newRow("eQSL does not count by default") << dl20cw + " EQSL_QSL_RCVD=Y"
                                                    << ""
                                                    << ""
                                                    << ""
                                                    << "DL2XYZ 20m CW"
                                                    << "Worked" << false;
    QTest::newRow("eQSL counts when chosen") << dl20cw + " EQSL_QSL_RCVD=Y"
                                             << "lotw,card,eqsl"
                                             << ""
                                             << ""
                                             << "DL2XYZ 20m CW"
                                             << "Confirmed" << false;
    QTest::newRow("cards do not count when not chosen") << dl20cw + " QSL_RCVD=Y"
                                                        << "lotw"
                                                        << ""
                                                        << ""
                                                        << "DL2XYZ 20m CW"
                                                        << "Worked" << false;
    QTest::newRow("confirmed on another band only")
        << "DL1ABC 40m CW LOTW_QSL_RCVD=Y; DL1ABC 20m CW"
        << ""
        << ""
        << ""
        << "DL2XYZ 20m CW"
        << "Worked" << false;
    QTest::newRow("this very call on this band") << dl20cw << ""
                                                 << ""
                                                 << ""
                                                 << "DL1ABC 20m CW"
                                                 << "Worked" << true;
    QTest::newRow("this very call on another band") << dl20cw << ""
                                                    << ""
                                                    << ""
                                                    << "DL1ABC 40m CW"
                                                    << "New band" << false;
    QTest::newRow("DXCC code over the call") << "K1ABC 20m CW DXCC=230"
                                             << ""
                                             << ""
                                             << ""
                                             << "DL2XYZ 20m CW"
                                             << "Worked" << false;
    QTest::newRow("DXCC 0: no entity") << "DL1ABC/MM 20m CW DXCC=0"
                                       << ""
                                       << ""
                                       << ""
                                       << "DL2XYZ 20m CW"
                                       << "New one" << false;
    QTest::newRow("deleted entity") << "DL1ABC 20m CW DXCC=81"
                                    << ""
                                    << ""
                                    << ""
                                    << "DL2XYZ 20m CW"
                                    << "New one" << false;
    QTest::newRow("Sicily is Italy") << "IT9ABC 20m CW"
                                     << ""
                                     << ""
                                     << ""
                                     << "I1XYZ 20m CW"
                                     << "Worked" << false;
    QTest::newRow("Italy spotted in Sicily") << "I1ABC 20m CW DXCC=248"
                                             << ""
                                             << ""
                                             << ""
                                             << "IT9XYZ 20m CW"
                                             << "Worked" << false;
    QTest::newRow("FT4 is digital") << "DL1ABC 20m MFSK SUBMODE=FT4"
                                    << ""
                                    << ""
                                    << ""
                                    << "DL2XYZ 20m DIGITAL"
                                    << "Worked" << false;
    QTest::newRow("QSO band from the frequency") << "DL1ABC - CW FREQ=14.025"
                                                 << ""
                                                 << ""
                                                 << ""
                                                 << "DL2XYZ 20m CW"
                                                 << "Worked" << false;
    QTest::newRow("spot between the bands") << dl20cw << ""
                                            << ""
                                            << ""
                                            << "DL2XYZ - CW"
                                            << "Worked" << false;
    QTest::newRow("spot of no known mode") << dl20cw << ""
                                           << ""
                                           << ""
                                           << "DL2XYZ 20m -"
                                           << "Worked" << false;
    QTest::newRow("spot of no known mode, new band") << dl20cw << ""
                                                     << ""
                                                     << ""
                                                     << "DL2XYZ 40m -"
                                                     << "New band" << false;
    QTest::newRow("QSO of no known mode") << "DL1ABC 20m XYZ LOTW_QSL_RCVD=Y"
                                          << ""
                                          << ""
                                          << ""
                                          << "DL2XYZ 20m CW"
                                          << "New mode" << false;
    QTest::newRow("made as one of my calls") << dl20cw + " STATION_CALLSIGN=DL1XYZ/P"
                                             << ""
                                             << "DL1XYZ"
                                             << ""
                                             << "DL2XYZ 20m CW"
                                             << "Worked" << false;
    QTest::newRow("made as another call") << dl20cw + " STATION_CALLSIGN=DA0XYZ"
                                          << ""
                                          << "DL1XYZ"
                                          << ""
                                          << "DL2XYZ 20m CW"
                                          << "New one" << false;
    QTest::newRow("before the date") << dl20cw + " QSO_DATE=20191231"
                                     << ""
                                     << ""
                                     << "2020-01-01"
                                     << "DL2XYZ 20m CW"
                                     << "New one" << false;
    QTest::newRow("on the date") << dl20cw + " QSO_DATE=20200101"
                                 << ""
                                 << ""
                                 << "20200101"
                                 << "DL2XYZ 20m CW"
                                 << "Worked" << false;
    QTest::newRow("spot of no entity") << dl20cw << ""
                                       << ""
                                       << ""
                                       << "QQ1ABC 20m CW"
                                       << "" << false;
}

void TestLog::status()
{
    QFETCH(QString, log);
    QFETCH(QString, confirmations);
    QFETCH(QString, myCalls);
    QFETCH(QString, since);
    QFETCH(QString, spot);
    QFETCH(QString, status);
    QFETCH(bool, workedBefore);

    LogOptions options;
    if (!confirmations.isEmpty())
        options.confirmations = *LogOptions::confirmationsFromText(confirmations);
    options.myCalls = LogOptions::callsFromText(myCalls);
    if (!since.isEmpty())
        options.since = *LogOptions::dateFromText(since);
    LogIndex index(options);
    const LogReadReport report =
        AdiReader::read(adiLog(log), [&](LogQso&& q) { index.add(q, excerpt()); });
    QVERIFY(!report.refused() && report.skipped == 0);

    const QStringList words = spot.split(u' ');
    Spot s;
    s.call = words[0];
    s.band = BandPlan::fromName(words[1]);
    s.group = groupNamed(words[2]);
    const std::optional<CountryInfo> entity = excerpt().lookup(s.call);
    const std::optional<SpotStatus> got = entity ? index.status(s, *entity) : std::nullopt;
    QCOMPARE(got ? got->text() : QString(), status);
    if (got) {
        QCOMPARE(got->workedBefore, workedBefore);
        QCOMPARE(got->isNeeded(), status.startsWith(u"New"));
    }
}

void TestLog::summary()
{
    LogIndex::Summary s;
    s.qsos = 12345;
    s.entitiesWorked = 287;
    s.entitiesConfirmed = 251;
    s.fileName = QStringLiteral("mylog.adi");
    s.readAt = QDateTime(QDate(2024, 3, 1), QTime(14, 5, 59));
    QCOMPARE(LogIndex::summaryLine(s),
             QStringLiteral(
                 "Log: 12,345 QSOs, 287 entities worked, 251 confirmed (mylog.adi, read 14:05)"));
    s.qsos = 1;
    s.entitiesWorked = 1;
    s.entitiesConfirmed = 0;
    s.skipped = 1234567;
    QCOMPARE(LogIndex::summaryLine(s),
             QStringLiteral("Log: 1 QSO, 1 entity worked, 0 confirmed (mylog.adi, read 14:05; "
                            "1,234,567 broken records skipped)"));

    // The counts of a log: entities by the chosen confirmations, QSOs
    // that count.
    LogOptions options;
    options.since = QDate(2000, 1, 1);
    LogIndex index(options);
    const QByteArray log = adiLog(QStringLiteral(
        "DL1ABC 20m CW LOTW_QSL_RCVD=Y QSO_DATE=20200101; DL2ABC 40m CW QSO_DATE=20200101;"
        "PA1ABC 20m SSB EQSL_QSL_RCVD=Y QSO_DATE=20200101; G3ABC 20m CW QSO_DATE=19991231;"
        "QQ1ABC 20m CW QSO_DATE=20200101"));
    AdiReader::read(log, [&](LogQso&& q) { index.add(q, excerpt()); });
    QCOMPARE(index.summary().qsos, 4);
    QCOMPARE(index.summary().entitiesWorked, 2);
    QCOMPARE(index.summary().entitiesConfirmed, 1);
}

void TestLog::settings()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const LogSettings settings(dir.path());
    // Nothing written: no log, the defaults.
    QVERIFY(settings.file().isEmpty());
    QCOMPARE(settings.options(), LogOptions());
    QCOMPARE(settings.options().confirmations, quint8(LogQso::Lotw | LogQso::Card));

    LogOptions options;
    options.confirmations = LogQso::Eqsl | LogQso::Lotw;
    options.myCalls = {QStringLiteral("DL1XYZ"), QStringLiteral("DA0XYZ")};
    options.since = QDate(2020, 1, 1);
    QVERIFY(settings.saveFile(dir.filePath(QStringLiteral("my log.adi"))));
    QVERIFY(settings.saveOptions(options));
    QCOMPARE(settings.file(), dir.filePath(QStringLiteral("my log.adi")));
    QCOMPARE(settings.options(), options);
    const QByteArray ini = readFile(dir.filePath(QStringLiteral("settings.ini")));
    QVERIFY2(ini.contains("Confirmations=lotw,eqsl") && ini.contains("MyCalls=DL1XYZ,DA0XYZ") &&
                 ini.contains("Since=2020-01-01"),
             ini.constData());

    // Written by hand, and wrong in places: what does not read is not given.
    QVERIFY(writeFile(dir.filePath(QStringLiteral("settings.ini")),
                      "[Log]\r\nConfirmations= Card , paper\r\nMyCalls=dl1xyz, not a call,\r\n"
                      "Since=1st of May\r\n"));
    const LogOptions read = settings.options();
    QCOMPARE(read.confirmations, quint8(LogQso::Card));
    QCOMPARE(read.myCalls, QStringList{QStringLiteral("DL1XYZ")});
    QVERIFY(!read.since.isValid());
    QVERIFY(
        writeFile(dir.filePath(QStringLiteral("settings.ini")), "[Log]\r\nConfirmations=none\r\n"));
    QCOMPARE(settings.options().confirmations, LogOptions().confirmations);
}

// The demo's log gives the simulator's spots every status.
void TestLog::demoLog()
{
    const CountryFile::Loaded countries = CountryFile::load({CountryFile::systemPath()});
    QVERIFY2(!countries.table.isEmpty(), "Debian's cty.dat (package hamradio-files) is needed");
    const LogFile::Loaded demo =
        LogFile::load(QStringLiteral(MARVIX_DEMO_LOG), LogOptions(), countries.table);
    QVERIFY2(demo.index, qPrintable(demo.error));
    QCOMPARE(demo.report.skipped, 0);
    QVERIFY(demo.report.qsos > 500);

    const struct
    {
        const char16_t* call;
        BandPlan::Band band;
        ModeGroup group;
        const char16_t* status;
        bool workedBefore;
    } spots[] = {
        {u"3Y0K", BandPlan::Band::m20, ModeGroup::Cw, u"New one", false},
        {u"FT8WW", BandPlan::Band::m15, ModeGroup::Digital, u"New one", false},
        {u"TX5S", BandPlan::Band::m40, ModeGroup::Cw, u"New band", false},
        {u"ZL7G", BandPlan::Band::m20, ModeGroup::Cw, u"New mode", false},
        {u"E6AD", BandPlan::Band::m80, ModeGroup::Cw, u"New slot", false},
        {u"VK9XY", BandPlan::Band::m20, ModeGroup::Digital, u"Worked", false},
        {u"E51D", BandPlan::Band::m20, ModeGroup::Cw, u"Confirmed", true},
        {u"DL7XYZ", BandPlan::Band::m15, ModeGroup::Phone, u"Confirmed", false},
        {u"OH2XYZ", BandPlan::Band::m15, ModeGroup::Phone, u"Worked", false},
        {u"A61XYZ", BandPlan::Band::m15, ModeGroup::Phone, u"New one", false},
    };
    for (const auto& s : spots) {
        Spot spot;
        spot.call = QString::fromUtf16(s.call);
        spot.band = s.band;
        spot.group = s.group;
        const std::optional<SpotStatus> status =
            demo.index->status(spot, *countries.table.lookup(spot.call));
        QVERIFY(status);
        QCOMPARE(spot.call + u' ' + status->text(),
                 spot.call + u' ' + QString::fromUtf16(s.status));
        QCOMPARE(status->workedBefore, s.workedBefore);
    }
}

// Each status keeps a hue of its own on the grounds of light and dark
// themes, with contrast enough for text; on a ground where neither shade
// reads, the theme's text colour is used.
void TestLog::statusColors_data()
{
    QTest::addColumn<quint32>("base");
    QTest::addColumn<quint32>("text");
    QTest::addColumn<bool>("hued");
    QTest::newRow("light theme") << 0xFFFFFFu << 0x000000u << true;
    QTest::newRow("dark theme") << 0x2B2B2Bu << 0xEEEEEEu << true;
    QTest::newRow("black") << 0x000000u << 0xFFFFFFu << true;
    QTest::newRow("mid grey ground") << 0x777777u << 0x000000u << false;
}

void TestLog::statusColors()
{
    QFETCH(quint32, base);
    QFETCH(quint32, text);
    QFETCH(bool, hued);
    QSet<quint32> hues;
    for (int k = 0; k < SpotStatus::KindCount; ++k) {
        const quint32 colour = StatusColors::textColor(SpotStatus::Kind(k), base, text);
        if (colour == text) {
            QVERIFY2(!hued, qPrintable(SpotStatus::textOf(SpotStatus::Kind(k))));
            continue;
        }
        QVERIFY2(ColorContrast::ratio(colour, base) >= StatusColors::MinContrast,
                 qPrintable(SpotStatus::textOf(SpotStatus::Kind(k))));
        hues.insert(colour);
    }
    if (hued)
        QCOMPARE(hues.size(), SpotStatus::KindCount);
}

QTEST_GUILESS_MAIN(TestLog)
#include "tst_log.moc"
