#include "text/TextDecoding.h"

#include <QtTest>

class TestText : public QObject
{
    Q_OBJECT
private slots:
    void decodeFile_data();
    void decodeFile();
    void windows1252RoundTrip();
};

void TestText::decodeFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");
    QTest::newRow("ascii") << QByteArray("DX de K1TTT") << QString("DX de K1TTT");
    QTest::newRow("utf8 without mark") << QByteArray("caf\xC3\xA9") << QString::fromUtf8("café");
    QTest::newRow("utf8 mark dropped") << QByteArray("\xEF\xBB\xBFok") << QString("ok");
    QTest::newRow("utf16le mark") << QByteArray("\xFF\xFEo\0k\0", 6) << QString("ok");
    QTest::newRow("utf16be mark") << QByteArray("\xFE\xFF\0o\0k", 6) << QString("ok");
    // Only the file's own mark goes; a second one is a character (U+FEFF).
    QTest::newRow("utf16le mark twice") << QByteArray("\xFF\xFE\xFF\xFE\xFF\xFE", 6)
                                        << QString(QChar(0xFEFF)) + QChar(0xFEFF);
    QTest::newRow("utf8 mark twice") << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBFok")
                                     << QString(QChar(0xFEFF)) + "ok";
    QTest::newRow("cp1252 e acute") << QByteArray("caf\xE9") << QString::fromUtf8("café");
    QTest::newRow("cp1252 euro") << QByteArray("\x80 5") << QString::fromUtf8("€ 5");
    QTest::newRow("truncated utf8 sequence") << QByteArray("a\xC3") << QString::fromUtf8("aÃ");
    QTest::newRow("overlong slash is not utf8")
        << QByteArray("\xC0\xAF") << QString::fromUtf8("À¯");
    QTest::newRow("four-byte utf8") << QByteArray("\xF0\x9F\x93\xBB") << QString::fromUtf8("📻");
}

void TestText::decodeFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    QCOMPARE(TextDecoding::decodeFile(bytes), expected);
}

void TestText::windows1252RoundTrip()
{
    const QByteArray all = [] {
        QByteArray b;
        for (int i = 0; i < 256; ++i)
            b.append(char(i));
        return b;
    }();
    QCOMPARE(TextDecoding::toWindows1252(TextDecoding::fromWindows1252(all)), all);
    QCOMPARE(TextDecoding::toWindows1252(QString::fromUtf8("Łódź")), QByteArray("?\xF3"
                                                                                "d?"));
}

QTEST_GUILESS_MAIN(TestText)
#include "tst_text.moc"
