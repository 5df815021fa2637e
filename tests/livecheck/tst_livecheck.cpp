#include "livecheck/CalendarList.h"
#include "livecheck/CallsignIndex.h"
#include "livecheck/DxpeditionList.h"
#include "livecheck/LineDecision.h"
#include "livecheck/LiveCheck.h"
#include "livecheck/SpottedList.h"

#include <QRandomGenerator>
#include <QtTest>

// The rules of the live check: the calendar list, the callsign compare, the
// spotted list and its lookup addresses.
class TestLiveCheck : public QObject
{
    Q_OBJECT
private slots:
    void separa_data();
    void separa();
    void indexAgreesWithScanOfTheList();
    void verifica_data();
    void verifica();
    void dxpeditionIndexFollowsTheList();
    void spottedListKeepsTwelveNewest();
    void spottedListTakesEachCallsignOnce();
    void lookupLink_data();
    void lookupLink();
    void lineDecision_data();
    void lineDecision();
    void spotPaneCopy_data();
    void spotPaneCopy();
};

namespace {

// Three lines that never count, then the line under test, then the empty
// last line after the final line break.
QStringList memo(const QStringList& body)
{
    return QStringList{"Head one", "Head two", "Head three"} + body + QStringList{""};
}

// The list walk as the check was first written: entry by entry, the letters
// A-Z and a-z taken alike, nothing else.
bool scanFinds(const QStringList& list, const QString& callsign)
{
    if (callsign.isEmpty())
        return false;
    for (const QString& entry : list) {
        if (entry.size() != callsign.size())
            continue;
        bool same = true;
        for (qsizetype i = 0; i < entry.size() && same; ++i) {
            char16_t a = entry[i].unicode(), b = callsign[i].unicode();
            if (a >= u'a' && a <= u'z')
                a -= 32;
            if (b >= u'a' && b <= u'z')
                b -= 32;
            same = a == b;
        }
        if (same)
            return true;
    }
    return false;
}

const QString kSpot = "DX de W3LPL:     21021.0  %1       CW 579 up";

} // namespace

void TestLiveCheck::separa_data()
{
    QTest::addColumn<QStringList>("memoLines");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("three letters, blank, three letters")
        << memo({"abc def"})
        << QStringList{"abc", "bc ", "c d", " de", "def",     // 3
                       "abc ", "bc d", "c de", " def",        // 4
                       "abc d", "bc de", "c def",             // 5
                       "abc de", "bc def", "abc def"};        // 6, 7
    QTest::newRow("blanks only") << memo({"          "}) << QStringList{};
    QTest::newRow("windows of blanks dropped, others kept")
        << memo({"a    "}) << QStringList{"a  ", "a   ", "a    "};
    QTest::newRow("first three lines never count")
        << QStringList{"3Y0K", "VP8PJ", "TX5S", ""} << QStringList{};
    QTest::newRow("last line never counts") << memo({}) + QStringList{"E51D"} << QStringList{};
    QTest::newRow("short lines") << memo({"ab", "xyz"}) << QStringList{"xyz"};
    QTest::newRow("ten characters: longest window nine")
        << memo({"MONTSERRAT"})
        << QStringList{"MON", "ONT", "NTS", "TSE", "SER", "ERR", "RRA", "RAT",
                       "MONT", "ONTS", "NTSE", "TSER", "SERR", "ERRA", "RRAT",
                       "MONTS", "ONTSE", "NTSER", "TSERR", "SERRA", "ERRAT",
                       "MONTSE", "ONTSER", "NTSERR", "TSERRA", "SERRAT",
                       "MONTSER", "ONTSERR", "NTSERRA", "TSERRAT",
                       "MONTSERR", "ONTSERRA", "NTSERRAT",
                       "MONTSERRA", "ONTSERRAT"};
    QTest::newRow("nothing at all") << QStringList{} << QStringList{};
}

void TestLiveCheck::separa()
{
    QFETCH(QStringList, memoLines);
    QFETCH(QStringList, expected);
    QCOMPARE(CalendarList::separa(memoLines), expected);

    CalendarList list;
    QVERIFY(!list.exists());
    list.rebuild(memoLines);
    QVERIFY(list.exists());
    QCOMPARE(list.FinalstringList(), expected);
}

// The hash set must give the same answer as walking the list for every
// callsign, letters beyond A-Z included: no Unicode case folding.
void TestLiveCheck::indexAgreesWithScanOfTheList()
{
    const QString alphabet = QStringLiteral("aAbBzZ09/ éÉßıIſSKk\u212Aǆǅ");
    QRandomGenerator random(8);
    auto word = [&] {
        QString w;
        const int n = random.bounded(0, 4);
        for (int i = 0; i < n; ++i)
            w += alphabet.at(random.bounded(int(alphabet.size())));
        return w;
    };
    QStringList entries;
    for (int i = 0; i < 300; ++i)
        entries << word();
    const CallsignIndex index(entries);
    int hits = 0;
    for (int i = 0; i < 5000; ++i) {
        const QString call = word();
        const bool expected = scanFinds(entries, call);
        QVERIFY2(index.contains(call) == expected, qPrintable(call));
        hits += expected;
    }
    QVERIFY(hits > 100 && hits < 4900); // both answers were tried
}

void TestLiveCheck::verifica_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("resultString");
    QTest::addColumn<bool>("trovatouguale");
    QTest::newRow("listed") << kSpot.arg("3Y0K") << "3Y0K" << true;
    QTest::newRow("listed in lower case") << kSpot.arg("E51D") << "E51D" << true;
    QTest::newRow("spotted in lower case") << kSpot.arg("tx5s") << "tx5s" << true;
    QTest::newRow("portable") << kSpot.arg("VP8/G4ABC") << "VP8/G4ABC" << true;
    QTest::newRow("not listed") << kSpot.arg("K1ABC") << "K1ABC" << false;
    QTest::newRow("entry with a trailing blank") << kSpot.arg("9N7AA") << "9N7AA" << false;
    QTest::newRow("Dx de line") << QString(kSpot.arg("3Y0K")).replace(0, 2, "Dx") << "" << false;
    QTest::newRow("announcement") << "To ALL de 3Y0K: 3Y0K QRV 14025.0  3Y0K" << "" << false;
    QTest::newRow("no decimal number") << "DX de W3LPL:     21021  3Y0K" << "" << false;
}

void TestLiveCheck::verifica()
{
    QFETCH(QString, line);
    const CallsignIndex list(QStringList{"3Y0K", "e51d", "TX5S", "vp8/g4abc", "9N7AA ", ""});
    const LiveCheck::Result r = LiveCheck::verifica(line, list);
    QTEST(r.resultString, "resultString");
    QTEST(r.trovatouguale, "trovatouguale");
}

void TestLiveCheck::dxpeditionIndexFollowsTheList()
{
    DxpeditionList dolv;
    dolv.FinalstringListDolv = {"3Y0K"};
    QVERIFY(dolv.checkIndex().contains("3y0k"));
    QVERIFY(!dolv.checkIndex().contains("JW0X"));
    // Each close of the calendar window adds the grid's callsigns.
    dolv.leggoshorteaggiungoadolv({"  jw0x ", "", "   ", "T31EU", ""});
    QCOMPARE(dolv.StringListShort, (QStringList{"jw0x", "T31EU"}));
    QVERIFY(dolv.checkIndex().contains("JW0X"));
    QVERIFY(dolv.checkIndex().contains("t31eu"));
}

void TestLiveCheck::spottedListKeepsTwelveNewest()
{
    SpottedList list;
    QStringList calls;
    for (int i = 1; i <= 13; ++i) {
        calls.prepend(QStringLiteral("Q%1AA").arg(i));
        QVERIFY(list.PopulateListView(calls.first()));
    }
    QCOMPARE(list.items(), calls.mid(0, 12));
    // The first one was pushed out and stays out.
    QVERIFY(!list.PopulateListView("Q1AA"));
    QCOMPARE(list.items(), calls.mid(0, 12));
    QCOMPARE(list.PrintedResults.size(), 13);
}

void TestLiveCheck::spottedListTakesEachCallsignOnce()
{
    SpottedList list;
    QVERIFY(list.PopulateListView("vp8pj"));
    QVERIFY(!list.PopulateListView("VP8PJ"));
    QVERIFY(!list.PopulateListView("vp8pj"));
    QVERIFY(list.PopulateListView("VP8PJ/P"));
    QVERIFY(list.PopulateListView("VP8PJÉ"));
    QVERIFY(list.PopulateListView("VP8PJé")); // no folding beyond A-Z
    QCOMPARE(list.items(), (QStringList{"VP8PJé", "VP8PJÉ", "VP8PJ/P", "vp8pj"}));
}

void TestLiveCheck::lookupLink_data()
{
    QTest::addColumn<QString>("callsign");
    QTest::addColumn<QString>("link");
    QTest::newRow("plain") << "3Y0K" << "https://www.qrz.com/db/3Y0K";
    QTest::newRow("portable keeps its slash") << "VP2M/W1AW" << "https://www.qrz.com/db/VP2M/W1AW";
    QTest::newRow("query and fragment") << "X?a=1#b" << "https://www.qrz.com/db/X%3Fa%3D1%23b";
    QTest::newRow("another host") << "@evil.example:80" << "https://www.qrz.com/db/%40evil.example%3A80";
    QTest::newRow("steps up: no link") << "../../evil" << "";
    QTest::newRow("this step: no link") << "VP2M/./W1AW" << "";
    QTest::newRow("dots inside a step") << "A..B/.x" << "https://www.qrz.com/db/A..B/.x";
    QTest::newRow("percent and blank") << "a%20 b" << "https://www.qrz.com/db/a%2520%20b";
    QTest::newRow("letter beyond ASCII") << "É1A" << "https://www.qrz.com/db/%C3%891A";
    QTest::newRow("backslash") << "a\\b" << "https://www.qrz.com/db/a%5Cb";
}

void TestLiveCheck::lookupLink()
{
    QFETCH(QString, callsign);
    QFETCH(QString, link);
    const QUrl url = SpottedList::lookupLink("https://www.qrz.com/db/", callsign);
    if (link.isEmpty()) {
        QVERIFY(url.isEmpty());
        return;
    }
    QVERIFY(url.isValid());
    QCOMPARE(url.adjusted(QUrl::NormalizePathSegments), url);
    QCOMPARE(url.toString(QUrl::FullyEncoded), link);
    QCOMPARE(url.host(), QString("www.qrz.com"));
    QVERIFY(!url.hasQuery());
    QVERIFY(!url.hasFragment());
    QCOMPARE(url.path(QUrl::FullyDecoded), "/db/" + callsign);
}

void TestLiveCheck::lineDecision_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("calendarExists");
    QTest::addColumn<QString>("calendarHas");
    QTest::addColumn<QString>("dxpeditionsHave");
    QTest::addColumn<bool>("liveOn");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QStringList>("lookups"); // in the order they ran
    using O = LineDecision::Outcome;
    const QString spot = "DX de W3LPL:     21021.0  3Y0K         CW 579 up 2                    0712Z";
    const QString on40 = "DX de W3LPL:      7005.0  3Y0K         CW 579 up 2                    0712Z";
    QTest::newRow("band off: dropped, nothing looked up")
        << on40 << true << "3Y0K" << "3Y0K" << true << int(O::Drop) << QStringList{};
    QTest::newRow("no calendar list yet: the DXpedition list only")
        << spot << false << "" << "3Y0K" << true << int(O::Hit) << QStringList{"dxpeditions"};
    QTest::newRow("calendar has it: the DXpedition list is not asked")
        << spot << true << "3Y0K" << "" << true << int(O::Hit) << QStringList{"calendar"};
    QTest::newRow("calendar has it not: the DXpedition list decides")
        << spot << true << "" << "3Y0K" << true << int(O::Hit)
        << QStringList{"calendar", "dxpeditions"};
    QTest::newRow("in no list: shown")
        << spot << true << "" << "" << true << int(O::Show) << QStringList{"calendar", "dxpeditions"};
    QTest::newRow("found with the live check off: shown")
        << spot << true << "3Y0K" << "" << false << int(O::Show) << QStringList{"calendar"};
    QTest::newRow("talk: shown")
        << "To ALL de EA8ABC: hello" << true << "" << "" << true << int(O::Show)
        << QStringList{"calendar", "dxpeditions"};
}

// The order of the rules for one line, with lookups that say what they were
// asked.
void TestLiveCheck::lineDecision()
{
    QFETCH(QString, line);
    QFETCH(bool, calendarExists);
    QFETCH(QString, calendarHas);
    QFETCH(QString, dxpeditionsHave);
    QFETCH(bool, liveOn);
    QFETCH(int, outcome);
    QFETCH(QStringList, lookups);
    BandFilter bands;
    bands.setOn(BandFilter::Band::m40, false);
    QStringList ran;
    const auto list = [&ran](const QString& name, const QString& has) {
        return [&ran, name, has](const QString& workingCopy) {
            ran << name;
            const bool found = !has.isEmpty() && workingCopy.contains(has);
            return LiveCheck::Result{found ? has : QString(), found};
        };
    };
    const LineDecision d = LineDecision::decide(
        line, bands,
        calendarExists ? LineDecision::Lookup(list("calendar", calendarHas)) : nullptr,
        list("dxpeditions", dxpeditionsHave), liveOn);
    QCOMPARE(int(d.outcome), outcome);
    QCOMPARE(ran, lookups);
    QCOMPARE(d.line.decision == IncomingLine::Decision::Drop, outcome == int(LineDecision::Outcome::Drop));
}

void TestLiveCheck::spotPaneCopy_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QString>("copy"); // empty: none
    const QDateTime utc(QDate(2026, 12, 11), QTime(23, 30, 59), Qt::UTC);
    const QString spot = kSpot.arg("3Y0K  ");
    QTest::newRow("spot") << spot << utc << spot + "  23:30";
    QTest::newRow("leading blanks go") << "   " + spot << utc << spot + "  23:30";
    QTest::newRow("a tab stays, so no DX") << "\t" + spot << utc << "";
    QTest::newRow("not a spot") << "WWV de W0MU <18Z> :   SFI=180" << utc << "";
    QTest::newRow("long line cut to 62")
        << spot + QString(80, u'x') << utc << (spot + QString(80, u'x')).left(62) + "  23:30";
    QTest::newRow("local time shown as UTC")
        << spot << utc.toOffsetFromUtc(3600) << spot + "  23:30";
}

void TestLiveCheck::spotPaneCopy()
{
    QFETCH(QString, line);
    QFETCH(QDateTime, now);
    QFETCH(QString, copy);
    QCOMPARE(LiveCheck::spotPaneCopy(line, now).value_or(QString()), copy);
}

QTEST_GUILESS_MAIN(TestLiveCheck)
#include "tst_livecheck.moc"
