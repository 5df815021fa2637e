#include "livecheck/LineDecision.h"
#include "livecheck/LiveCheckBook.h"
#include "spots/BandFilter.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QThreadPool>
#include <QtTest>

namespace {

// A spot as a node sends it, cut as the window cuts it:
//   "DX de W3LPL:     14025.0  3Y0K         CW 599                    2330Z"
QString spot(const QString& call)
{
    return QStringLiteral("DX de W3LPL:     14025.0  %1 CW 599                    2330Z")
        .arg(call.leftJustified(12));
}

// The calendar list of a page whose text has the callsigns on lines of their
// own after the three heading lines, as the calendar window builds it.
CalendarList calendarOf(const QStringList& calls)
{
    CalendarList list;
    list.rebuild(QStringList{"DXNews.com calendar", "December 2026", "01 Dec - 20 Dec"} + calls +
                 QStringList{QString()});
    return list;
}

// One line through the book as the main window takes it: the calendar list
// while it exists, then the DXpedition list.
LineDecision decide(const LiveCheckBook& book, const QString& line, bool liveOn = true)
{
    const BandFilter bands;
    const auto calendar = [&book](const QString& w) { return book.checkCalendar(w); };
    const auto dxpeditions = [&book](const QString& w) { return book.checkDxpeditions(w); };
    return LineDecision::decide(line, bands,
                                book.calendarExists() ? LineDecision::Lookup(calendar) : nullptr,
                                dxpeditions, liveOn);
}

} // namespace

class TestLiveCheckBook : public QObject
{
    Q_OBJECT
private slots:
    void threeLists_data();
    void threeLists();
    void calendarHandedInAfterLinesWereChecked();
    void ownCallsStayOnceTheGridIsCleared();
    void spottedRows_data();
    void spottedRows();
    void spottedListKeepsTwelveNewestAsRows();
};

void TestLiveCheckBook::threeLists_data()
{
    QTest::addColumn<QString>("call");
    QTest::addColumn<bool>("calendarHandedIn");
    QTest::addColumn<bool>("liveOn");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QString>("resultString");
    using O = LineDecision::Outcome;
    // The downloaded list has 3Y0K and vp8/g4abc, the grid gave " jw0x ",
    // the calendar page has TX5S and 3Y0K.
    QTest::newRow("downloaded list, other case") << "VP8/G4ABC" << false << true << int(O::Hit) << "VP8/G4ABC";
    QTest::newRow("own call, trimmed, other case") << "JW0X" << false << true << int(O::Hit) << "JW0X";
    QTest::newRow("calendar only, no calendar list yet") << "TX5S" << false << true << int(O::Show) << "TX5S";
    QTest::newRow("calendar only, list handed in") << "TX5S" << true << true << int(O::Hit) << "TX5S";
    QTest::newRow("part of a calendar entry") << "TX5" << true << true << int(O::Hit) << "TX5";
    QTest::newRow("in both lists") << "3Y0K" << true << true << int(O::Hit) << "3Y0K";
    QTest::newRow("downloaded list, calendar in place") << "VP8/G4ABC" << true << true << int(O::Hit) << "VP8/G4ABC";
    QTest::newRow("in no list") << "ZL7G" << true << true << int(O::Show) << "ZL7G";
    QTest::newRow("found, live check off") << "TX5S" << true << false << int(O::Show) << "TX5S";
}

void TestLiveCheckBook::threeLists()
{
    QFETCH(QString, call);
    QFETCH(bool, calendarHandedIn);
    QFETCH(bool, liveOn);
    QFETCH(int, outcome);
    QFETCH(QString, resultString);
    LiveCheckBook book;
    book.dxpeditions().StringListDolv = {"3Y0K", "vp8/g4abc"};
    book.dxpeditions().FinalstringListDolv = book.dxpeditions().StringListDolv;
    book.addOwnCalls({" jw0x ", "", "", "", ""});
    if (calendarHandedIn)
        book.setCalendarList(calendarOf({"TX5S", "3Y0K"}));
    const LineDecision d = decide(book, spot(call), liveOn);
    QCOMPARE(int(d.outcome), outcome);
    QCOMPARE(d.match.resultString, resultString);
}

// The calendar window hands its list in whenever an activation is done;
// lines checked before count against what the book held then.
void TestLiveCheckBook::calendarHandedInAfterLinesWereChecked()
{
    LiveCheckBook book;
    QVERIFY(!book.calendarExists());
    QCOMPARE(int(decide(book, spot("TX5S")).outcome), int(LineDecision::Outcome::Show));

    book.setCalendarList(calendarOf({"TX5S"}));
    QVERIFY(book.calendarExists());
    QCOMPARE(int(decide(book, spot("tx5s")).outcome), int(LineDecision::Outcome::Hit));

    // The next activation: the old list is gone at once, an empty one stands
    // in until the new one comes.
    book.dropCalendarList();
    QVERIFY(book.calendarExists());
    QVERIFY(book.calendarList().FinalstringList().isEmpty());
    QCOMPARE(int(decide(book, spot("TX5S")).outcome), int(LineDecision::Outcome::Show));

    // A page of one endless line gives a list long enough to be freed on a
    // worker when the one after it comes.
    book.setCalendarList(calendarOf({QString(20000, QLatin1Char('A')) + "E51D"}));
    QVERIFY(book.calendarList().FinalstringList().size() > LiveCheckBook::kFreeAsideEntries);
    QCOMPARE(int(decide(book, spot("E51D")).outcome), int(LineDecision::Outcome::Hit));
    book.dropCalendarList();
    book.setCalendarList(calendarOf({"FT8WW"}));
    QThreadPool::globalInstance()->waitForDone();
    QCOMPARE(int(decide(book, spot("E51D")).outcome), int(LineDecision::Outcome::Show));
    QCOMPARE(int(decide(book, spot("FT8WW")).outcome), int(LineDecision::Outcome::Hit));
}

// The grid is read at each close of the calendar window; opening it again
// starts a new grid list, and what was added before stays in the check.
void TestLiveCheckBook::ownCallsStayOnceTheGridIsCleared()
{
    LiveCheckBook book;
    book.addOwnCalls({"  zs8w ", "", "   ", "VP8/G4ABC", "OJ0C"});
    QCOMPARE(book.dxpeditions().StringListShort, (QStringList{"zs8w", "VP8/G4ABC", "OJ0C"}));
    book.clearOwnCalls();
    QVERIFY(book.dxpeditions().StringListShort.isEmpty());
    book.addOwnCalls({"3D2AG", "", "", "VP8/G4ABC", ""});
    QCOMPARE(book.dxpeditions().StringListShort, (QStringList{"3D2AG", "VP8/G4ABC"}));
    for (const QString& call : QStringList{"ZS8W", "oj0c", "3D2AG", "VP8/G4ABC"})
        QVERIFY2(book.checkDxpeditions(spot(call)).trovatouguale, qPrintable(call));
}

void TestLiveCheckBook::spottedRows_data()
{
    QTest::addColumn<QString>("call");
    QTest::addColumn<int>("tag");
    QTest::addColumn<QString>("link");
    QTest::newRow("plain") << "3Y0K" << 1 << "https://www.qrz.com/db/3Y0K";
    QTest::newRow("portable") << "VP2M/W1AW" << 1 << "https://www.qrz.com/db/VP2M/W1AW";
    QTest::newRow("query escaped") << "X?a#b" << 1 << "https://www.qrz.com/db/X%3Fa%23b";
    QTest::newRow("steps up: nothing to open") << "../x" << 0 << "";
}

// What the list view shows of a row: the callsign, its tag and its link.
void TestLiveCheckBook::spottedRows()
{
    QFETCH(QString, call);
    QFETCH(int, tag);
    QFETCH(QString, link);
    LiveCheckBook book;
    SpottedList& list = book.spotted();
    list.setLookupBase("https://www.qrz.com/db/");
    QVERIFY(list.PopulateListView("FIRST"));
    QVERIFY(list.PopulateListView(call));
    QCOMPARE(list.rowCount(), 2);
    const QModelIndex top = list.index(0);
    QCOMPARE(top.data().toString(), call);
    QCOMPARE(top.data(SpottedList::kTagRole).toInt(), tag);
    QCOMPARE(top.data(SpottedList::kLinkRole).toUrl().toString(QUrl::FullyEncoded), link);
    // The row below kept its own link.
    QCOMPARE(list.index(1).data(SpottedList::kLinkRole).toUrl(),
             QUrl("https://www.qrz.com/db/FIRST"));
    QVERIFY(!list.index(2).data().isValid());
}

// Thirteen callsigns and repeats, as a view sees them through the model's
// signals: a full list loses its bottom row before the new one comes in at
// the top; a repeat changes nothing.
void TestLiveCheckBook::spottedListKeepsTwelveNewestAsRows()
{
    LiveCheckBook book;
    SpottedList& list = book.spotted();
    QAbstractItemModelTester tester(&list, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy inserted(&list, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&list, &QAbstractItemModel::rowsRemoved);
    QStringList newestFirst;
    for (int i = 1; i <= 12; ++i) {
        newestFirst.prepend(QStringLiteral("Q%1AA").arg(i));
        QVERIFY(list.PopulateListView(newestFirst.first()));
    }
    QCOMPARE(inserted.size(), 12);
    QCOMPARE(removed.size(), 0);
    QVERIFY(!list.PopulateListView("q5aa"));
    QCOMPARE(inserted.size(), 12);

    QVERIFY(list.PopulateListView("Q13AA"));
    newestFirst.prepend("Q13AA");
    QCOMPARE(removed.size(), 1);
    QCOMPARE(removed.first().at(1).toInt(), 11);
    QCOMPARE(removed.first().at(2).toInt(), 11);
    QCOMPARE(inserted.size(), 13);
    QCOMPARE(inserted.last().at(1).toInt(), 0);
    QStringList rows;
    for (int row = 0; row < list.rowCount(); ++row)
        rows << list.index(row).data().toString();
    QCOMPARE(rows, newestFirst.mid(0, 12));
    QCOMPARE(list.items(), rows);

    // Pushed out, and never back this run.
    QVERIFY(!list.PopulateListView("Q1AA"));
    QCOMPARE(removed.size(), 1);
    QCOMPARE(list.PrintedResults.size(), 13);
}

QTEST_GUILESS_MAIN(TestLiveCheckBook)
#include "tst_livecheck_book.moc"
