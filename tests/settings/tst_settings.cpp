#include "TestFiles.h"
#include "settings/Hosts.h"
#include "settings/IniFile.h"
#include "settings/SettingsFiles.h"

#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>

namespace {


// The bytes of a UTF-16 little-endian file with its byte-order mark.
QByteArray utf16le(const QString& text)
{
    QStringEncoder encoder(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
    return encoder.encode(text);
}


} // namespace

class TestSettings : public QObject
{
    Q_OBJECT
private slots:
    void readValue_data();
    void readValue();
    void readInteger_data();
    void readInteger();
    void writeKeepsOtherLines_data();
    void writeKeepsOtherLines();
    void writeKeepsEveryMeaning_data();
    void writeKeepsEveryMeaning();
    void eachCallOpensTheFileAfresh();
    void refusedWriteNamesTheFile_data();
    void refusedWriteNamesTheFile();
    void defaultsWithoutFiles();
    void savedSettingsComeBack();
    void hostsOverrides();
};

void TestSettings::readValue_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");
    const QByteArray node = "[Theme]\r\nSelectedTheme=Windows10\r\n[Node]\r\nElemento=GB7DJK\r\n";
    QTest::newRow("exact names") << node << "Node"
                                 << "Elemento"
                                 << "GB7DJK";
    QTest::newRow("names in another case") << node << "NODE"
                                           << "elemento"
                                           << "GB7DJK";
    QTest::newRow("key of another section") << node << "Theme"
                                            << "Elemento"
                                            << "<default>";
    QTest::newRow("missing section") << node << "Font"
                                     << "FontName"
                                     << "<default>";
    QTest::newRow("blanks around name and value")
        << QByteArray("[ Node ]\n  Elemento  =  DEMO-SIM  \n") << "Node"
        << "Elemento"
        << "DEMO-SIM";
    QTest::newRow("empty value") << QByteArray("[Node]\nElemento=\n") << "Node"
                                 << "Elemento"
                                 << "";
    QTest::newRow("first of two sections")
        << QByteArray("[Node]\nElemento=A\n[Node]\nElemento=B\n") << "Node"
        << "Elemento"
        << "A";
    QTest::newRow("utf-16 with mark") << utf16le(QString::fromUtf8("[Node]\nElemento=\u00e9\n"))
                                      << "Node"
                                      << "Elemento" << QString(QChar(0xE9));
    QTest::newRow("lone CR ends a line") << QByteArray("[Node]\rElemento=X\r[Theme]\rA=1") << "Node"
                                         << "Elemento"
                                         << "X";
}

void TestSettings::readValue()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    const QString path = dir.filePath("settings.ini");
    writeFile(path, file);
    QCOMPARE(IniFile(path).readString(section, key, "<default>"), expected);
}

void TestSettings::readInteger_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("expected");
    QTest::newRow("decimal") << "14" << 14;
    QTest::newRow("hexadecimal") << "0x10" << 16;
    QTest::newRow("hexadecimal capitals") << "0X1F" << 31;
    QTest::newRow("negative") << "-3" << -3;
    QTest::newRow("not a number") << "abc" << 12;
    QTest::newRow("digits then letters") << "14pt" << 12;
    QTest::newRow("hex prefix alone") << "0x" << 12;
    QTest::newRow("empty") << "" << 12;
    QTest::newRow("too large") << "99999999999" << 12;
}

void TestSettings::readInteger()
{
    QFETCH(QString, value);
    QFETCH(int, expected);
    QTemporaryDir dir;
    writeFile(dir.filePath("settings2.ini"), "[Font]\r\nFontSize=" + value.toUtf8() + "\r\n");
    QCOMPARE(SettingsFiles(dir.path()).LoadFontsSize(), expected);
}

void TestSettings::writeKeepsOtherLines_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("missing file") << QByteArray() << QByteArray("[Node]\r\nElemento=K1TTT\r\n");
    QTest::newRow("in place, foreign section kept")
        << QByteArray("[Hosts]\r\nProbe=http://127.0.0.1:8080/\r\n[node]\r\n; chosen "
                      "node\r\nELEMENTO=GB7DJK\r\nOther=1\r\n[Theme]\r\nSelectedTheme=Aqua\r\n")
        << QByteArray("[Hosts]\r\nProbe=http://127.0.0.1:8080/\r\n[node]\r\n; chosen "
                      "node\r\nElemento=K1TTT\r\nOther=1\r\n[Theme]\r\nSelectedTheme=Aqua\r\n");
    QTest::newRow("key added at the end of its section")
        << QByteArray("[Node]\nOther=1\n\n[Theme]\nSelectedTheme=Aqua\n")
        << QByteArray("[Node]\nOther=1\nElemento=K1TTT\n\n[Theme]\nSelectedTheme=Aqua\n");
    QTest::newRow("ANSI file stays ANSI")
        << QByteArray("[Theme]\r\nSelectedTheme=Caf\xE9\r\n")
        << QByteArray("[Theme]\r\nSelectedTheme=Caf\xE9\r\n[Node]\r\nElemento=K1TTT\r\n");
    QTest::newRow("section added, no final line break kept")
        << QByteArray("[Theme]\r\nSelectedTheme=Aqua")
        << QByteArray("[Theme]\r\nSelectedTheme=Aqua\r\n[Node]\r\nElemento=K1TTT");
    QTest::newRow("lone CR line ends kept")
        << QByteArray("[Node]\rElemento=A\r[Theme]\r\nSelectedTheme=X\r\n")
        << QByteArray("[Node]\rElemento=K1TTT\r[Theme]\r\nSelectedTheme=X\r\n");
    QTest::newRow("final lone CR not joined with the next line end")
        << QByteArray("[Theme]\nSelectedTheme=Aqua\r")
        << QByteArray("[Theme]\nSelectedTheme=Aqua\r[Node]\nElemento=K1TTT\n");
    // Rewritten as UTF-8 bytes, the rest of this file would read differently;
    // it becomes UTF-8 with a mark, every value keeping its meaning.
    QTest::newRow("ANSI file whose only ANSI byte is replaced")
        << QByteArray("[Node]\r\nElemento=Caf\xE9\r\n[Theme]\r\nSelectedTheme=\xC3\xA9\r\n")
        << QByteArray("\xEF\xBB\xBF[Node]\r\nElemento=K1TTT\r\n[Theme]\r\nSelectedTheme=\xC3\x83\xC2\xA9\r\n");
}

void TestSettings::writeKeepsOtherLines()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    QTemporaryDir dir;
    const QString path = dir.filePath("settings.ini");
    if (!before.isNull())
        writeFile(path, before);
    QString error;
    QVERIFY(SettingsFiles(dir.path()).SaveNode("K1TTT", &error));
    QVERIFY(error.isEmpty());
    QCOMPARE(readFile(path), after);
}

void TestSettings::writeKeepsEveryMeaning_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("value"); // written to Theme/SelectedTheme
    QTest::addColumn<QString>("other"); // Node/Elemento, before and after
    const QByteArray ansi = "[Theme]\r\nSelectedTheme=Caf\xE9\r\n[Node]\r\nElemento=Z\xFC"
                            "rich\r\n";
    QTest::newRow("É– into an ANSI file") << ansi << QString::fromUtf8("É–") << "Zürich";
    QTest::newRow("É– where it is the only ANSI text")
        << QByteArray("[Theme]\r\nSelectedTheme=Caf\xE9\r\n[Node]\r\nElemento=x\r\n")
        << QString::fromUtf8("É–") << "x";
    QTest::newRow("text outside the code page into an ANSI file")
        << ansi << QString::fromUtf8("日本 Ω") << "Zürich";
    QTest::newRow("ANSI byte replaced, UTF-8 look-alike elsewhere")
        << QByteArray("[Theme]\r\nSelectedTheme=Caf\xE9\r\n[Node]\r\nElemento=\xC3\xA9\r\n")
        << "Aqua" << QString::fromUtf8("Ã©");
    QTest::newRow("UTF-16 file") << utf16le(QString::fromUtf8("[Theme]\r\nSelectedTheme=a\r\n[Node]\r\nElemento=Ω\r\n"))
                                 << QString::fromUtf8("É–") << QString::fromUtf8("Ω");
    QTest::newRow("UTF-16 file cut in the middle of a character")
        << utf16le(QString::fromUtf8("[Node]\r\nElemento=Ω\r\n[Theme]\r\nSelectedTheme=a")) + "\x41"
        << QString::fromUtf8("É–") << QString::fromUtf8("Ω");
    QTest::newRow("UTF-16 file cut in a character, a lone surrogate in another value")
        << utf16le(QStringLiteral("[Node]\r\nElemento=x") + QChar(0xDF4C) +
                   QStringLiteral("\r\n[Theme]\r\nColour=a")) + "\x41"
        << QString::fromUtf8("É–") << QStringLiteral("x") + QChar(0xDF4C);
    QTest::newRow("UTF-8 file") << QByteArray("[Node]\nElemento=\xE2\x82\xAC\n")
                                << QString::fromUtf8("É–") << QString::fromUtf8("€");
}

void TestSettings::writeKeepsEveryMeaning()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, value);
    QFETCH(QString, other);
    QTemporaryDir dir;
    writeFile(dir.filePath("settings.ini"), before);
    const SettingsFiles settings(dir.path());
    QCOMPARE(settings.LoadNode(), other);
    QVERIFY(settings.SaveThemeSettings(value));
    QCOMPARE(settings.LoadThemeSettings(), value);
    QCOMPARE(settings.LoadNode(), other);
    // A second write finds the file as the first one left it.
    QVERIFY(settings.SaveThemeSettings("Aqua"));
    QCOMPARE(settings.LoadNode(), other);
}

void TestSettings::eachCallOpensTheFileAfresh()
{
    QTemporaryDir dir;
    const SettingsFiles settings(dir.path());
    QVERIFY(settings.SaveThemeSettings("Aqua"));
    QCOMPARE(settings.LoadThemeSettings(), "Aqua");
    // An edit made behind the object's back is seen at the next call.
    writeFile(dir.filePath("settings.ini"), "[THEME]\nselectedtheme=Carbon\n");
    QCOMPARE(settings.LoadThemeSettings(), "Carbon");
}

void TestSettings::refusedWriteNamesTheFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("folder is a regular file") << "file";
    QTest::newRow("folder under /proc") << "proc";
}

void TestSettings::refusedWriteNamesTheFile()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    QString programDir;
    if (kind == "file") {
        // Even root cannot make a file inside a regular file.
        programDir = dir.filePath("marvix-terminal");
        writeFile(programDir, "not a folder");
    } else {
        programDir = "/proc/self";
    }
    const SettingsFiles settings(programDir);
    QString error;
    QVERIFY(!settings.SaveNode("GB7DJK", &error));
    QCOMPARE(error, "Unable to write to " + programDir + "/settings.ini");
    error.clear();
    QVERIFY(!settings.SaveFont(FontSettings{}, &error));
    QCOMPARE(error, "Unable to write to " + programDir + "/settings2.ini");
    // Reading the same place is no error: it gives the defaults.
    QCOMPARE(settings.LoadNode(), QString());
    QCOMPARE(settings.LoadFontsColor(), 10000);
}

void TestSettings::defaultsWithoutFiles()
{
    QTemporaryDir dir;
    const SettingsFiles settings(dir.path());
    QCOMPARE(settings.LoadThemeSettings(), QString());
    QCOMPARE(settings.LoadNode(), QString());
    QCOMPARE(settings.LoadFontsName(), QString());
    QCOMPARE(settings.LoadFontsSize(), 12);
    QCOMPARE(settings.LoadFontsColor(), 10000);
    QVERIFY(!QFile::exists(dir.filePath("settings.ini")));
    QVERIFY(!QFile::exists(dir.filePath("settings2.ini")));

    // An empty node box is saved too: the file appears with an empty value.
    QVERIFY(settings.SaveNode(QString()));
    QCOMPARE(readFile(dir.filePath("settings.ini")), QByteArray("[Node]\r\nElemento=\r\n"));
}

void TestSettings::savedSettingsComeBack()
{
    QTemporaryDir dir;
    {
        const SettingsFiles settings(dir.path());
        QVERIFY(settings.SaveFont({"DejaVu Sans Mono", 14, true, true, 0x00FF8000}));
        QVERIFY(settings.SaveNode("DEMO-SIM"));
        QVERIFY(settings.SaveThemeSettings("Carbon"));
    }
    QCOMPARE(readFile(dir.filePath("settings2.ini")),
             QByteArray("[Font]\r\nFontName=DejaVu Sans Mono\r\nFontSize=14\r\nFontBold=1\r\n"
                        "FontItalic=1\r\nTextColor=16744448\r\n"));
    const SettingsFiles again(dir.path());
    QCOMPARE(again.LoadFontsName(), "DejaVu Sans Mono");
    QCOMPARE(again.LoadFontsSize(), 14);
    QCOMPARE(again.LoadFontsColor(), 0x00FF8000);
    QCOMPARE(again.LoadNode(), "DEMO-SIM");
    QCOMPARE(again.LoadThemeSettings(), "Carbon");
}

void TestSettings::hostsOverrides()
{
    QTemporaryDir dir;
    const Hosts defaults;
    // No file: every default stays.
    QCOMPARE(loadHosts(dir.path()).probe, defaults.probe);

    writeFile(dir.filePath("settings.ini"),
              "[hosts]\r\nprobe=http://127.0.0.1:8080/\r\nCallsignLookup=\r\n"
              "DxpeditionList=https://127.0.0.1:8443/listadxdolv.txt\r\n"
              "SupportMail=mailto:test@127.0.0.1\r\n[Node]\r\nElemento=X\r\n");
    const Hosts hosts = loadHosts(dir.path());
    QCOMPARE(hosts.probe, "http://127.0.0.1:8080/");
    QCOMPARE(hosts.dxpeditionList, "https://127.0.0.1:8443/listadxdolv.txt");
    QCOMPARE(hosts.supportMail, "mailto:test@127.0.0.1");
    // Present but empty keeps the default, as does a missing key.
    QCOMPARE(hosts.callsignLookup, defaults.callsignLookup);
    QCOMPARE(hosts.weatherMap, defaults.weatherMap);
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
