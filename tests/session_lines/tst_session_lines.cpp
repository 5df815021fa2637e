#include "session/IncomingLine.h"
#include "session/LineAssembler.h"
#include "session/SessionRules.h"

#include <QtTest>

using Chunks = QList<QByteArray>;

class TestSessionLines : public QObject
{
    Q_OBJECT
private slots:
    void assemble_data();
    void assemble();
    void pauseKeepsACutCharacter_data();
    void pauseKeepsACutCharacter();
    void longTailIsCutAtOnce();
    void longLineGivesTheSamePiecesForAnyChunks();
    void crAtChunkEndGivesItsLineAtOnce();
    void tailMayBecomeSpot_data();
    void tailMayBecomeSpot();
    void commandLineAfterSend_data();
    void commandLineAfterSend();
};

void TestSessionLines::assemble_data()
{
    QTest::addColumn<Chunks>("chunks");
    QTest::addColumn<QStringList>("lines"); // complete lines, in order
    QTest::addColumn<QString>("tail");      // what takeTail() gives; "<none>" for nothing

    const QByteArray spot1 =
        "DX de W3LPL:     21021.0  VP2MXX       CW 579 up 2                    0712Z";
    const QByteArray spot2 =
        "DX de K1TTT:     14025.0  Q9ZZZ        CW 599                         0713Z";
    const QString none = QStringLiteral("<none>");

    QTest::newRow("two lines in one chunk")
        << Chunks{spot1 + "\r\n" + spot2 + "\r\n"} << QStringList{spot1, spot2} << none;
    QTest::newRow("spot split inside its frequency columns")
        << Chunks{spot1.left(19), spot1.mid(19) + "\r\n"} << QStringList{spot1} << none;
    QTest::newRow("crlf split across chunks")
        << Chunks{spot1 + "\r", "\n" + spot2 + "\r\n"} << QStringList{spot1, spot2} << none;
    QTest::newRow("lone cr ends a line") << Chunks{"a\rb\r\n"} << QStringList{"a", "b"} << none;
    QTest::newRow("lf alone ends a line") << Chunks{"a\nb\n"} << QStringList{"a", "b"} << none;
    QTest::newRow("empty lines are lines")
        << Chunks{"\r\n\r\n", "x\n\n"} << QStringList{"", "", "x", ""} << none;
    QTest::newRow("cr cr lf is two lines") << Chunks{"a\r\r\n"} << QStringList{"a", ""} << none;
    QTest::newRow("lf cr is one line end")
        << Chunks{"a\n\rb\n\r\n\rc\n\r"} << QStringList{"a", "b", "", "c"} << none;
    QTest::newRow("lf cr split across chunks")
        << Chunks{"a\n", "\rb\n", "\r"} << QStringList{"a", "b"} << none;
    QTest::newRow("cr lf then a lone cr")
        << Chunks{"a\r\n\rb\r\n"} << QStringList{"a", "", "b"} << none;
    QTest::newRow("lf at chunk end, then text")
        << Chunks{"a\n", "b\n"} << QStringList{"a", "b"} << none;
    QTest::newRow("login prompt stays as tail") << Chunks{"Welcome to SIM-1\r\n\r\nlogin: "}
                                                << QStringList{"Welcome to SIM-1", ""} << "login: ";
    QTest::newRow("utf8 character split across chunks")
        << Chunks{"To ALL de F5XX: caf\xC3", "\xA9 ouvert\r\n"}
        << QStringList{QString::fromUtf8("To ALL de F5XX: café ouvert")} << none;
    QTest::newRow("invalid utf8 read as windows-1252")
        << Chunks{"To ALL de F5XX: caf\xE9 \x80 5\r\n"}
        << QStringList{QString::fromUtf8("To ALL de F5XX: café € 5")} << none;
    QTest::newRow("each line decoded on its own")
        << Chunks{"caf\xE9\r\ncaf\xC3\xA9\r\n"}
        << QStringList{QString::fromUtf8("café"), QString::fromUtf8("café")} << none;
    QTest::newRow("bell bytes stay in the line")
        << Chunks{spot1 + "\a\a\r\n"} << QStringList{QString(spot1 + "\a\a")} << none;
    QTest::newRow("tail after lines, over several chunks")
        << Chunks{"a\r\nN0CALL de ", "SIM-1 >"} << QStringList{"a"} << "N0CALL de SIM-1 >";
    QTest::newRow("byte by byte") <<
        [] {
            Chunks c;
            for (char b : QByteArray("ab\r\ncd\re\n"))
                c << QByteArray(1, b);
            return c;
        }() << QStringList{"ab", "cd", "e"}
                                  << none;
}

void TestSessionLines::assemble()
{
    QFETCH(Chunks, chunks);
    QFETCH(QStringList, lines);
    QFETCH(QString, tail);

    LineAssembler assembler;
    QStringList got;
    for (const QByteArray& c : chunks)
        got += assembler.feed(c);
    QCOMPARE(got, lines);
    QCOMPARE(assembler.takeTail().value_or(QStringLiteral("<none>")), tail);
    QVERIFY(!assembler.takeTail());
}

void TestSessionLines::pauseKeepsACutCharacter_data()
{
    QTest::addColumn<QByteArray>("before"); // bytes before the pause
    QTest::addColumn<QString>("shown");     // the tail shown at the pause; "<none>" for none
    QTest::addColumn<QByteArray>("after");  // the rest of the line
    QTest::addColumn<QString>("line");      // the line the rest completes
    const QString none = QStringLiteral("<none>");
    QTest::newRow("two-byte letter cut") << QByteArray("Gr\xC3") << "Gr"
                                         << QByteArray("\xBC\xC3\x9F""e\r\n") << QString::fromUtf8("\u00FC\u00DF""e");
    QTest::newRow("three-byte sign cut after its second byte")
        << QByteArray("5 \xE2\x82") << "5 " << QByteArray("\xAC\r\n") << QString::fromUtf8("\u20AC");
    QTest::newRow("four-byte letter cut") << QByteArray("x\xF0\x9F\x93") << "x"
                                          << QByteArray("\xBB\r\n") << QString::fromUtf8("\U0001F4FB");
    QTest::newRow("only a cut character waits") << QByteArray("\xC3") << none
                                                << QByteArray("\xA9\r\n") << QString::fromUtf8("\u00E9");
    QTest::newRow("whole letter at the end is shown") << QByteArray("caf\xC3\xA9") << QString::fromUtf8("caf\u00E9")
                                                      << QByteArray("!\r\n") << "!";
    QTest::newRow("windows-1252 text is shown whole") << QByteArray("caf\xE9 \xE9") << QString::fromUtf8("caf\u00E9 \u00E9")
                                                      << QByteArray("\r\n") << "";
}

void TestSessionLines::pauseKeepsACutCharacter()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, shown);
    QFETCH(QByteArray, after);
    QFETCH(QString, line);
    LineAssembler assembler;
    QVERIFY(assembler.feed(before).isEmpty());
    QCOMPARE(assembler.takeTailKeepingCutCharacter().value_or(QStringLiteral("<none>")), shown);
    QCOMPARE(assembler.feed(after), QList<QString>{line});
    QVERIFY(!assembler.hasTail());
}

void TestSessionLines::longTailIsCutAtOnce()
{
    LineAssembler assembler;
    const QByteArray block(LineAssembler::MaxTail, 'x');
    // Exactly 64 KiB pending is still a tail.
    QVERIFY(assembler.feed(block).isEmpty());
    QVERIFY(assembler.hasTail());
    // One byte more and the 64 KiB come out, without waiting.
    const QList<QString> lines = assembler.feed("y");
    QCOMPARE(lines, QList<QString>{QString(block)});
    QCOMPARE(assembler.tail(), "y");
    QCOMPARE(assembler.feed("z\r\n"), QList<QString>{"yz"});
}

void TestSessionLines::longLineGivesTheSamePiecesForAnyChunks()
{
    // Two and a half pieces, with a two-byte letter across the first cut.
    const QByteArray line = QByteArray(LineAssembler::MaxTail - 1, 'a') + "\xC3\xA9" +
                            QByteArray(LineAssembler::MaxTail * 3 / 2, 'b') + "\r\n";
    const QList<QString> expected{
        QString(LineAssembler::MaxTail - 1, QLatin1Char('a')),
        QString::fromUtf8("\xC3\xA9") + QString(LineAssembler::MaxTail - 2, QLatin1Char('b')),
        QString(LineAssembler::MaxTail / 2 + 2, QLatin1Char('b')),
    };
    for (const qsizetype chunk : {line.size(), qsizetype(1), qsizetype(1000), qsizetype(65537)}) {
        LineAssembler assembler;
        QList<QString> got;
        for (qsizetype at = 0; at < line.size(); at += chunk) {
            got += assembler.feed(line.mid(at, chunk));
            QVERIFY(assembler.tail().size() <= LineAssembler::MaxTail);
        }
        QCOMPARE(got, expected);
    }
}

void TestSessionLines::crAtChunkEndGivesItsLineAtOnce()
{
    // A spot ended by CR must not wait for the next chunk, and an LF arriving
    // later must not add an empty line.
    LineAssembler assembler;
    QCOMPARE(assembler.feed("DX de X:  14025.0  Q9ZZZ\r"),
             QList<QString>{"DX de X:  14025.0  Q9ZZZ"});
    QVERIFY(!assembler.hasTail());
    QCOMPARE(assembler.feed("\n"), QList<QString>{});
    QCOMPARE(assembler.feed("\n"), QList<QString>{""});

    // After a reset a leading LF is a line end of its own again.
    assembler.feed("a\r");
    assembler.reset();
    QCOMPARE(assembler.feed("\n"), QList<QString>{""});
}

void TestSessionLines::tailMayBecomeSpot_data()
{
    QTest::addColumn<QByteArray>("tail");
    QTest::addColumn<bool>("waitsAsSpot");
    QTest::newRow("spot start") << QByteArray("DX de W3LPL:     2102") << true;
    QTest::newRow("lone D") << QByteArray("D") << true;
    QTest::newRow("bells before D") << QByteArray("\a\aD") << true;
    QTest::newRow("nul and blanks before DX") << QByteArray("\0\0  DX de") << true;
    QTest::newRow("bell between D and X") << QByteArray("D\aX de") << true;
    QTest::newRow("D then a bell") << QByteArray("D\a") << true;
    QTest::newRow("blanks only") << QByteArray("   ") << true;
    QTest::newRow("D then a blank") << QByteArray("D ") << false;
    QTest::newRow("login prompt") << QByteArray("login: ") << false;
    QTest::newRow("lower-case dx") << QByteArray("dx de") << false;
    QTest::newRow("user prompt") << QByteArray("N0CALL de SIM-1 >") << false;
}

void TestSessionLines::tailMayBecomeSpot()
{
    QFETCH(QByteArray, tail);
    QFETCH(bool, waitsAsSpot);
    QCOMPARE(IncomingLine::tailMayBecomeSpot(tail), waitsAsSpot);
}

void TestSessionLines::commandLineAfterSend_data()
{
    QTest::addColumn<QString>("sent");
    QTest::addColumn<QString>("now");
    QTest::addColumn<QString>("after");
    QTest::newRow("all sent") << "sh/dx" << "sh/dx" << "";
    QTest::newRow("typed on while waiting") << "sh/dx" << "sh/dxsh/wwv" << "sh/wwv";
    QTest::newRow("line changed meanwhile") << "sh/dx" << "bye" << "bye";
    QTest::newRow("case counts") << "sh/dx" << "SH/DX" << "SH/DX";
    QTest::newRow("empty line sent") << "" << "x" << "x";
}

void TestSessionLines::commandLineAfterSend()
{
    QFETCH(QString, sent);
    QFETCH(QString, now);
    QFETCH(QString, after);
    QCOMPARE(SessionRules::commandLineAfterSend(sent, now), after);
}

QTEST_GUILESS_MAIN(TestSessionLines)
#include "tst_session_lines.moc"
