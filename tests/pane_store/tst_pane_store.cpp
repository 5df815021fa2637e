#include "session/PaneText.h"

#include <QtTest>

namespace {

// What a reader of the text hears, in order: "+n" for n lines appended,
// "-n:c" for the n oldest dropped (c characters in offsets), "clear n:c".
struct Notices
{
    QStringList heard;
    explicit Notices(PaneText& text)
    {
        QObject::connect(&text, &PaneText::linesAppended, &text,
                         [this](int n) { heard << QStringLiteral("+%1").arg(n); });
        QObject::connect(&text, &PaneText::linesDropped, &text, [this](int n, int c) {
            heard << QStringLiteral("-%1:%2").arg(n).arg(c);
        });
        QObject::connect(&text, &PaneText::cleared, &text, [this](int n, int c) {
            heard << QStringLiteral("clear %1:%2").arg(n).arg(c);
        });
    }
};

// The lines, their count of characters and their offsets tell the same text.
void verifyInStep(const PaneText& text)
{
    const LineOffsets& o = text.offsets();
    QCOMPARE(o.lineCount(), text.lineCount());
    qint64 chars = 0;
    QStringList lines;
    for (int i = 0; i < text.lineCount(); ++i) {
        QCOMPARE(o.lineLength(i), int(text.line(i).size()));
        chars += text.line(i).size();
        lines << text.line(i);
    }
    QCOMPARE(text.characterCount(), chars);
    QCOMPARE(text.toPlainText(), lines.join(QLatin1Char('\n')));
    QCOMPARE(o.characterCount(), int(text.toPlainText().size()));
}

} // namespace

class TestPaneStore : public QObject
{
    Q_OBJECT
private slots:
    void splitLines_data();
    void splitLines();
    void limits_data();
    void limits();
    void offsetsFollowDropsAndClear();
};

void TestPaneStore::splitLines_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QStringList>("lines");
    const QString spot = QStringLiteral("DX de W3LPL:     21021.0  VP2MXX       CW 579 up 2  1423Z");
    QTest::newRow("no break") << spot << QStringList{spot};
    QTest::newRow("CR LF") << spot + "\r\nTo ALL de EA8ABC: hello"
                           << QStringList{spot, "To ALL de EA8ABC: hello"};
    QTest::newRow("LF") << "a\nb" << QStringList{"a", "b"};
    QTest::newRow("CR alone") << "a\rb" << QStringList{"a", "b"};
    QTest::newRow("CR, then CR LF") << "a\r\r\nb" << QStringList{"a", "", "b"};
    QTest::newRow("LF CR is two breaks") << "a\n\rb" << QStringList{"a", "", "b"};
    QTest::newRow("break at the end") << "a\r\n" << QStringList{"a", ""};
    QTest::newRow("empty") << "" << QStringList{""};
    QTest::newRow("break only") << "\r\n" << QStringList{"", ""};
}

void TestPaneStore::splitLines()
{
    QFETCH(QString, entry);
    QFETCH(QStringList, lines);
    QCOMPARE(PaneText::splitLines(entry), lines);

    PaneText text;
    Notices n(text);
    text.appendEntry(QStringLiteral("first"));
    text.appendEntry(entry);
    QCOMPARE(text.lineCount(), int(1 + lines.size()));
    QCOMPARE(n.heard, (QStringList{"+1", QStringLiteral("+%1").arg(lines.size())}));
    verifyInStep(text);
}

void TestPaneStore::limits_data()
{
    QTest::addColumn<int>("maxLines");
    QTest::addColumn<int>("dropBlock");
    QTest::addColumn<int>("maxChars");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("kept");
    QTest::addColumn<QStringList>("heard");
    QTest::addColumn<int>("dropped"); // lines dropped in all

    QTest::newRow("within the line limit")
        << 5 << 2 << 0 << QStringList{"a", "b", "c"} << QStringList{"a", "b", "c"}
        << QStringList{"+1", "+1", "+1"} << 0;
    // "1\n2\n" is 4 characters in offsets.
    QTest::newRow("one line too many drops a block first")
        << 4 << 2 << 0 << QStringList{"1", "2", "3", "4", "5"} << QStringList{"3", "4", "5"}
        << QStringList{"+1", "+1", "+1", "+1", "-2:4", "+1"} << 2;
    QTest::newRow("overshoot by more than a block drops whole blocks")
        << 4 << 2 << 0 << QStringList{"1", "2", "3", "4", "a\nb\nc"}
        << QStringList{"a", "b", "c"} << QStringList{"+1", "+1", "+1", "+1", "-4:7", "+3"} << 4;
    QTest::newRow("entry longer than the limit keeps its last lines")
        << 3 << 2 << 0 << QStringList{"x", "1\r\n2\r\n3\r\n4\r\n5"} << QStringList{"3", "4", "5"}
        << QStringList{"+1", "-1:1", "+5", "-2:4"} << 3;
    // 25 units in a room of 20: the oldest go until 18 are held at most.
    QTest::newRow("character limit frees a tenth of the room")
        << 0 << 0 << 20 << QStringList{"aaaaa", "bbbbb", "ccccc", "ddddd", "eeeee"}
        << QStringList{"ccccc", "ddddd", "eeeee"}
        << QStringList{"+1", "+1", "+1", "+1", "-2:12", "+1"} << 2;
    QTest::newRow("line longer than the room is kept alone")
        << 0 << 0 << 10 << QStringList{"abc", QString(15, 'x')} << QStringList{QString(15, 'x')}
        << QStringList{"+1", "-1:3", "+1"} << 1;
    QTest::newRow("and goes with the next line")
        << 0 << 0 << 10 << QStringList{QString(15, 'x'), "abc"} << QStringList{"abc"}
        << QStringList{"+1", "-1:15", "+1"} << 1;
    QTest::newRow("entry longer than the room keeps its last line")
        << 0 << 0 << 10 << QStringList{"ab", "cdefgh\nijklmnopq"} << QStringList{"ijklmnopq"}
        << QStringList{"+1", "-1:2", "+2", "-1:7"} << 2;
    QTest::newRow("both limits, lines first")
        << 3 << 1 << 7 << QStringList{"abc", "de", "fg", "hijk"} << QStringList{"fg", "hijk"}
        << QStringList{"+1", "+1", "+1", "-1:4", "-1:3", "+1"} << 2;
}

void TestPaneStore::limits()
{
    QFETCH(int, maxLines);
    QFETCH(int, dropBlock);
    QFETCH(int, maxChars);
    QFETCH(QStringList, entries);
    QFETCH(QStringList, kept);
    QFETCH(QStringList, heard);
    QFETCH(int, dropped);

    PaneText text;
    text.setLimits({maxLines, dropBlock, maxChars});
    Notices n(text);
    for (const QString& e : std::as_const(entries)) {
        text.appendEntry(e);
        verifyInStep(text);
        if (maxLines > 0)
            QVERIFY(text.lineCount() <= maxLines);
        if (maxChars > 0 && text.lineCount() > 1)
            QVERIFY(text.characterCount() <= maxChars);
    }
    QCOMPARE(text.toPlainText(), kept.join('\n'));
    QCOMPARE(n.heard, heard);
    QCOMPARE(text.droppedLineCount(), qint64(dropped));
}

// A screen reader's offsets count from the first line kept: after a drop the
// same offset names another character, and what was dropped is told by its
// length.
void TestPaneStore::offsetsFollowDropsAndClear()
{
    PaneText text;
    text.setLineLimit(4, 2);
    Notices n(text);
    for (const QString& l : QStringList{"aaaaa", "", "bbb", "ccccccc"})
        text.appendEntry(l);
    QCOMPARE(text.positionOf(7), (PaneText::Position{2, 0}));

    text.appendEntry(QStringLiteral("dd")); // "aaaaa\n\n" goes
    QCOMPARE(n.heard.mid(4), (QStringList{"-2:7", "+1"}));
    QCOMPARE(text.toPlainText(), QStringLiteral("bbb\nccccccc\ndd"));
    QCOMPARE(text.offsets().characterCount(), 14);
    QCOMPARE(text.positionOf(4), (PaneText::Position{1, 0}));
    QCOMPARE(text.positionOf(99), (PaneText::Position{2, 2}));
    QCOMPARE(text.offsetOf({2, 1}), 13);
    QCOMPARE(text.offsetOf({1, 99}), 11); // clamped to the line's end
    QCOMPARE(text.text(2, 6), QStringLiteral("b\ncc"));
    QCOMPARE(text.text(-5, 3), QStringLiteral("bbb"));
    QCOMPARE(text.text(11, 99), QStringLiteral("\ndd"));
    QCOMPARE(text.line(3), QString());
    QCOMPARE(text.line(-1), QString());

    n.heard.clear();
    text.clear();
    QCOMPARE(n.heard, QStringList{"clear 3:14"});
    QCOMPARE(text.lineCount(), 0);
    QCOMPARE(text.droppedLineCount(), qint64(5));
    QCOMPARE(text.positionOf(3), (PaneText::Position{0, 0}));
    QCOMPARE(text.text(0, 10), QString());
    verifyInStep(text);

    // Numbering goes on from where it was: the next line is line 5 of all.
    text.appendEntry(QStringLiteral("after"));
    QCOMPARE(text.line(0), QStringLiteral("after"));
    QCOMPARE(text.droppedLineCount(), qint64(5));
}

QTEST_MAIN(TestPaneStore)
#include "tst_pane_store.moc"
