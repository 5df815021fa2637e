// Alert rules: which spots alert, how often, and alerts.ini as a user edits it.

#include "alerts/AlertBook.h"
#include "alerts/AlertRule.h"
#include "alerts/AlertSpot.h"
#include "alerts/AlertsFile.h"
#include "dxcc/CountryTable.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A few records in the country file's own layout (AD1C's cty.dat): name, CQ
// and ITU zone, continent, latitude, longitude (west positive), UTC offset,
// primary prefix; then the aliases, "=" for a whole call.
const QByteArray kCountries =
    "Bouvet:                   38:  67:  AF:  -54.42:    -3.38:    -1.0:  3Y/b:\n"
    "    =3Y0J,=3Y0K;\n"
    "Western Kiribati:         31:  65:  OC:    1.42:  -173.00:   -12.0:  T30:\n"
    "    T30;\n"
    "Central Kiribati:         31:  62:  OC:   -2.83:   171.72:   -13.0:  T31:\n"
    "    T31;\n"
    "Japan:                    25:  45:  AS:   36.40:  -138.38:    -9.0:  JA:\n"
    "    7J,7K,7L,7M,7N,8J,8K,8L,8M,8N,JA,JE,JF,JG,JH,JI,JJ,JK,JL,JM,JN,JO,JP,JQ,JR,JS;\n"
    "Fed. Rep. of Germany:     14:  28:  EU:   51.00:   -10.00:    -1.0:  DL:\n"
    "    DA,DB,DC,DD,DE,DF,DG,DH,DI,DJ,DK,DL,DM,DN,DO,DP,DQ,DR;\n";

const CountryTable& countries()
{
    static const CountryTable table = CountryTable::parse(kCountries);
    return table;
}

// A spot as a node sends it, frequency ending in column 24:
//   DX de W3LPL:     14025.0  3Y0K         CW 599                         0712Z
QString spotLine(const QString& kHz, const QString& call, const QString& comment)
{
    return QStringLiteral("DX de W3LPL:%1  %2 %3 0712Z")
        .arg(kHz, 12)
        .arg(call, -12)
        .arg(comment, -30);
}

AlertSpot spot(const QString& kHz, const QString& call, const QString& comment = QStringLiteral("CW"))
{
    const std::optional<AlertSpot> s = AlertSpot::fromLine(spotLine(kHz, call, comment), countries());
    if (!s)
        qFatal("no spot: %s", qPrintable(spotLine(kHz, call, comment)));
    return *s;
}

// One rule from the lines of its section, e.g. "Call=T3*\nBands=40m".
AlertRule rule(const QString& keys, const QString& name = QStringLiteral("Test"))
{
    const AlertsFile::Contents c =
        AlertsFile::parse(("[Rule1]\r\nName=" + name + "\r\n" + keys + "\r\n").toUtf8());
    if (c.rules.size() != 1)
        qFatal("rule does not read: %s", qPrintable(c.problems.join(u'|')));
    return c.rules.first();
}

QStringList names(const QList<AlertRule>& rules)
{
    QStringList n;
    for (const AlertRule& r : rules)
        n.append(r.name);
    return n;
}

const QDateTime kStart(QDate(2026, 12, 11), QTime(2, 0), Qt::UTC);

} // namespace

class TestAlertRules : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void spotFacts();
    void matches_data();
    void matches();
    void repeats();
    void memoryStaysBounded();
    void issueExample();
    void brokenRules_data();
    void brokenRules();
    void brokenFiles_data();
    void brokenFiles();
    void unreadableFile();
    void rulesPastTheCap();
    void writeThenRead();
};

void TestAlertRules::initTestCase()
{
    QCOMPARE(countries().entityCount(), 5);
}

void TestAlertRules::spotFacts()
{
    const std::optional<AlertSpot> s = AlertSpot::fromLine(
        QStringLiteral("DX de W3LPL:     14025.0  3Y0K         CW 599 up 2                    0712Z"),
        countries());
    QVERIFY(s);
    QCOMPARE(s->callsign, QStringLiteral("3Y0K"));
    QCOMPARE(s->spotter, QStringLiteral("W3LPL"));
    QCOMPARE(s->frequencyKhz, 14025.0);
    QCOMPARE(AlertRule::bandName(s->band), QStringLiteral("20m"));
    QCOMPARE(s->mode, QStringLiteral("CW"));
    QCOMPARE(s->modeGroup, SpotMode::Group::Cw);
    QCOMPARE(s->entity, QStringLiteral("Bouvet"));
    QCOMPARE(s->primaryPrefix, QStringLiteral("3Y/b"));
    QCOMPARE(s->continent, QStringLiteral("AF"));

    // A call the country file does not know still makes a spot, without entity.
    const AlertSpot unknown = spot(QStringLiteral("14025.0"), QStringLiteral("Q9ZZZ"));
    QVERIFY(unknown.entity.isEmpty());
    QVERIFY(unknown.continent.isEmpty());

    QVERIFY(!AlertSpot::fromLine(QStringLiteral("WWV de VE7CC <18>:   SFI=180, A=5, K=1"), countries()));
    QVERIFY(!AlertSpot::fromLine(QString(), countries()));
}

void TestAlertRules::matches_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("kHz");
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("comment");
    QTest::addColumn<bool>("expected");

    const QString cw = QStringLiteral("CW 599");
    QTest::newRow("no condition: any spot") << "" << "14025.0" << "Q9ZZZ" << "" << true;
    QTest::newRow("empty keys: any spot") << "Call=\nEntity=\nContinent=\nBands=\nModes=" << "7025.0"
                                          << "DL1ABC" << cw << true;

    QTest::newRow("star prefix") << "Call=T3*" << "14025.0" << "T30ABC" << cw << true;
    QTest::newRow("star: whole call only") << "Call=T3*" << "14025.0" << "KH6/T30X" << cw << false;
    QTest::newRow("star matches nothing") << "Call=3Y0K*" << "14025.0" << "3Y0K" << cw << true;
    QTest::newRow("star inside, retried") << "Call=*A*B" << "14025.0" << "DA1AB" << cw << true;
    QTest::newRow("star inside, no end") << "Call=*A*B" << "14025.0" << "DA1ABC" << cw << false;
    QTest::newRow("suffix") << "Call=*/P" << "14025.0" << "DL1ABC/P" << cw << true;
    QTest::newRow("question: one char") << "Call=3Y?K" << "14025.0" << "3Y0K" << cw << true;
    QTest::newRow("question: not two") << "Call=3Y?K" << "14025.0" << "3Y00K" << cw << false;
    QTest::newRow("question: not none") << "Call=3Y?K" << "14025.0" << "3YK1" << cw << false;
    QTest::newRow("plain call exact") << "Call=DL1ABC" << "14025.0" << "DL1ABC" << cw << true;
    QTest::newRow("plain call not a prefix") << "Call=DL1AB" << "14025.0" << "DL1ABC" << cw << false;
    QTest::newRow("call lower case") << "Call=t3*" << "14025.0" << "T30ABC" << cw << true;

    QTest::newRow("entity by name") << "Entity=Bouvet" << "14025.0" << "3Y0K" << cw << true;
    QTest::newRow("entity name any case") << "Entity=bOUVET" << "14025.0" << "3Y0K" << cw << true;
    QTest::newRow("entity by name, other") << "Entity=Bouvet" << "14025.0" << "DL1ABC" << cw << false;
    QTest::newRow("entity by prefix") << "Entity=T31" << "14025.0" << "T31AB" << cw << true;
    QTest::newRow("entity by prefix, lower") << "Entity=ja" << "14025.0" << "7K1XYZ" << cw << true;
    QTest::newRow("entity by prefix, neighbour") << "Entity=T31" << "14025.0" << "T30AB" << cw << false;
    QTest::newRow("entity: unknown call") << "Entity=Bouvet" << "14025.0" << "Q9ZZZ" << cw << false;

    QTest::newRow("continent in list") << "Continent=OC,AS" << "14025.0" << "JA1ABC" << cw << true;
    QTest::newRow("continent other") << "Continent=OC,AS" << "14025.0" << "DL1ABC" << cw << false;
    QTest::newRow("continent lower, blanks") << "Continent= oc , af" << "14025.0" << "3Y0K" << cw << true;
    QTest::newRow("continent: unknown call") << "Continent=OC" << "14025.0" << "Q9ZZZ" << cw << false;

    QTest::newRow("band 40m") << "Bands=40m,20m" << "7025.0" << "DL1ABC" << cw << true;
    QTest::newRow("band 20m") << "Bands=40m,20m" << "14025.0" << "DL1ABC" << cw << true;
    QTest::newRow("band 15m off") << "Bands=40m,20m" << "21025.0" << "DL1ABC" << cw << false;
    QTest::newRow("band gap") << "Bands=20m" << "14352.0" << "DL1ABC" << cw << false;
    QTest::newRow("band VHF") << "Bands=vhf" << "144300.0" << "DL1ABC" << cw << true;
    QTest::newRow("band 160m lower edge") << "Bands=160M" << "1830.0" << "DL1ABC" << cw << true;

    QTest::newRow("mode CW from comment") << "Modes=CW" << "14074.0" << "DL1ABC" << cw << true;
    QTest::newRow("mode FT8 is digital") << "Modes=DIGITAL" << "14074.0" << "DL1ABC" << "FT8 -12 dB" << true;
    QTest::newRow("mode FT8 not CW") << "Modes=CW" << "14074.0" << "DL1ABC" << "FT8 -12 dB" << false;
    QTest::newRow("mode USB is phone") << "Modes=PHONE" << "14025.0" << "DL1ABC" << "USB 59" << true;
    QTest::newRow("mode from band plan") << "Modes=CW" << "14025.0" << "DL1ABC" << "up 2" << true;
    QTest::newRow("mode from band plan, phone") << "Modes=cw" << "14195.0" << "DL1ABC" << "up 2" << false;

    const QString all = QStringLiteral("Call=T3*\nEntity=Western Kiribati\nContinent=OC\n"
                                       "Bands=20m\nModes=CW");
    QTest::newRow("all hold") << all << "14025.0" << "T30ABC" << cw << true;
    QTest::newRow("all but band") << all << "7025.0" << "T30ABC" << cw << false;
    QTest::newRow("all but mode") << all << "14025.0" << "T30ABC" << "FT8" << false;
    QTest::newRow("all but entity") << all << "14025.0" << "T31ABC" << cw << false;
}

void TestAlertRules::matches()
{
    QFETCH(QString, keys);
    QFETCH(QString, kHz);
    QFETCH(QString, call);
    QFETCH(QString, comment);
    QFETCH(bool, expected);
    QCOMPARE(rule(keys).matches(spot(kHz, call, comment)), expected);
}

void TestAlertRules::repeats()
{
    AlertBook book({rule(QStringLiteral("Call=3Y*"), QStringLiteral("Bouvet")),
                    rule(QStringLiteral("On=0"), QStringLiteral("Switched off")),
                    rule(QStringLiteral("Continent=AF"), QStringLiteral("Africa")),
                    rule(QStringLiteral("Call=DL*"), QStringLiteral("Germany"))});
    const AlertSpot on20 = spot(QStringLiteral("14025.0"), QStringLiteral("3Y0K"));
    const AlertSpot on40 = spot(QStringLiteral("7025.0"), QStringLiteral("3Y0K"));
    const auto at = [](int minutes, int seconds = 0) {
        return kStart.addSecs(minutes * 60 + seconds);
    };

    // Every rule that is on and matches, in file order; never the off one.
    QCOMPARE(names(book.check(on20, at(0))), QStringList({"Bouvet", "Africa"}));
    // The same station on the same band: quiet for ten minutes from the alert.
    QVERIFY(book.check(on20, at(5)).isEmpty());
    QVERIFY(book.check(on20, at(9, 59)).isEmpty());
    // Another band, another station: each alerts on its own.
    QCOMPARE(names(book.check(on40, at(5))), QStringList({"Bouvet", "Africa"}));
    QCOMPARE(names(book.check(spot(QStringLiteral("14025.0"), QStringLiteral("DL1ABC")), at(6))),
             QStringList({"Germany"}));
    // Ten minutes on: again, and the next ten minutes run from there.
    QCOMPARE(names(book.check(on20, at(10))), QStringList({"Bouvet", "Africa"}));
    QVERIFY(book.check(on20, at(19, 59)).isEmpty());
    QVERIFY(!book.check(on20, at(20)).isEmpty());
    // A spot no rule matches leaves no memory behind.
    const AlertSpot ja = spot(QStringLiteral("14025.0"), QStringLiteral("JA1ABC"));
    QVERIFY(book.check(ja, at(21)).isEmpty());
    book.setRules({rule(QStringLiteral("Continent=AS"), QStringLiteral("Asia"))});
    QCOMPARE(names(book.check(ja, at(22))), QStringList({"Asia"}));
    // New rules keep the memory: saving in the editor does not ring again.
    book.setRules({rule(QStringLiteral(""), QStringLiteral("Everything"))});
    QVERIFY(book.check(on20, at(21)).isEmpty());
    // A clock put back an hour does not silence the station for an hour.
    QCOMPARE(names(book.check(on20, at(-60))), QStringList({"Everything"}));
}

void TestAlertRules::memoryStaysBounded()
{
    AlertBook book({rule(QString())});
    AlertSpot s;
    s.band = 5;
    for (int i = 0; i < 3 * AlertBook::kMaxRemembered; ++i) {
        s.callsign = QStringLiteral("Q%1X").arg(i);
        QVERIFY(!book.check(s, kStart.addMSecs(i)).isEmpty());
    }
    QVERIFY(book.rememberedCount() <= AlertBook::kMaxRemembered);
    // The newest are still remembered.
    QVERIFY(book.check(s, kStart.addSecs(60)).isEmpty());
    // Ten minutes later all are forgotten but the one that alerts then.
    s.callsign = QStringLiteral("Q0Y");
    QVERIFY(!book.check(s, kStart.addSecs(11 * 60)).isEmpty());
    QCOMPARE(book.rememberedCount(), 1);
}

void TestAlertRules::issueExample()
{
    const QByteArray file = "[Rule1]\r\n"
                            "Name=Kiribati\r\n"
                            "On=1\r\n"
                            "Call=T3*\r\n"
                            "Entity=\r\n"
                            "Continent=OC,AS\r\n"
                            "Bands=40m,20m\r\n"
                            "Modes=CW,PHONE,DIGITAL\r\n"
                            "Sound=1\r\n"
                            "Notify=1\r\n"
                            "Speak=0\r\n";
    const AlertsFile::Contents c = AlertsFile::parse(file);
    QVERIFY2(c.problems.isEmpty(), qPrintable(c.problems.join(u'\n')));
    QCOMPARE(c.rules.size(), 1);
    const AlertRule& r = c.rules.first();
    QCOMPARE(r.name, QStringLiteral("Kiribati"));
    QVERIFY(r.on);
    QCOMPARE(r.call.text(), QStringLiteral("T3*"));
    QVERIFY(r.entity.isEmpty());
    QVERIFY(r.hasContinent(*AlertRule::continentIndex(u"OC")));
    QVERIFY(r.hasContinent(*AlertRule::continentIndex(u"AS")));
    QVERIFY(!r.hasContinent(*AlertRule::continentIndex(u"EU")));
    QVERIFY(r.hasBand(3) && r.hasBand(5) && !r.hasBand(4));
    QCOMPARE(r.modes, quint8(0b111));
    QCOMPARE(r.sound, AlertRule::Sound::Alarm);
    QVERIFY(r.notify);
    QVERIFY(!r.speak);
    // Written back, it reads the same, the continents in their fixed order.
    QCOMPARE(AlertsFile::format(c.rules), QByteArray(file).replace("OC,AS", "AS,OC"));
}

void TestAlertRules::brokenRules_data()
{
    QTest::addColumn<QString>("line");    // the one line that breaks Rule2
    QTest::addColumn<QString>("problem"); // what the user is told

    QTest::newRow("band") << "Bands=40m,11m" << "Rule2: unknown band 11m";
    QTest::newRow("continent") << "Continent=OC,XX"
                               << "Rule2: unknown continent XX (AF, AN, AS, EU, NA, OC, SA)";
    QTest::newRow("mode") << "Modes=CW,SSB" << "Rule2: unknown mode SSB (CW, PHONE, DIGITAL)";
    QTest::newRow("on word") << "On=yes" << "Rule2: On must be 0 or 1, not yes";
    QTest::newRow("speak word") << "Speak=2" << "Rule2: Speak must be 0 or 1, not 2";
    QTest::newRow("sound word") << "Sound=beep"
                                << "Rule2: Sound must be 0, 1 or the name of a .wav file, not beep";
    QTest::newRow("call character")
        << "Call=T3#" << "Rule2: callsign pattern T3# may hold only letters, digits, /, * and ? "
                         "(at most 32 characters)";
    QTest::newRow("call too long")
        << "Call=" + QString(33, u'A')
        << "Rule2: callsign pattern " + QString(33, u'A') +
               " may hold only letters, digits, /, * and ? (at most 32 characters)";
    // A misspelt key would otherwise make a rule that alerts on every spot.
    QTest::newRow("unknown key") << "Band=40m" << "Rule2: unknown key Band";
    QTest::newRow("key twice") << "Notify=0" << "Rule2: Notify is given twice";
    // A runaway line is quoted only in part.
    QTest::newRow("long value")
        << "Sound=" + QString(100000, u'x')
        << "Rule2: Sound must be 0, 1 or the name of a .wav file, not " + QString(40, u'x') + "...";
    QTest::newRow("no equals sign") << "Bands 40m" << "Rule2: line 8 is no Key=value line: Bands 40m";
}

void TestAlertRules::brokenRules()
{
    QFETCH(QString, line);
    QFETCH(QString, problem);
    const QString file = "[Rule1]\r\nName=First\r\nCall=T3*\r\n\r\n"
                         "[Rule2]\r\nName=Broken\r\nNotify=1\r\n" +
                         line + "\r\nEntity=\r\n\r\n[Rule3]\r\nName=Third\r\n";
    const AlertsFile::Contents c = AlertsFile::parse(file.toUtf8());
    QCOMPARE(c.problems, QStringList{problem});
    QCOMPARE(names(c.rules), QStringList({"First", "Third"}));
}

void TestAlertRules::brokenFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("problems");
    QTest::addColumn<QStringList>("rules");

    QTest::newRow("empty") << QByteArray() << QStringList() << QStringList();
    QTest::newRow("comments, LF, other section")
        << QByteArray("; my rules\n[Options]\nSpeakHits=1\n[rule7]\n# friends\nName=Friend\nCall=DL1ABC\n")
        << QStringList() << QStringList{"Friend"};
    QTest::newRow("twice the same section")
        << QByteArray("[Rule1]\r\nName=A\r\n[Rule2]\r\nName=B\r\n[RULE1]\r\nName=C\r\n")
        << QStringList{"RULE1: appears twice; the second one is skipped"} << QStringList{"A", "B"};
    QTest::newRow("no name: the section's")
        << QByteArray("[Rule4]\r\nCall=K1*\r\n") << QStringList() << QStringList{"Rule4"};
    QTest::newRow("no rule file at all")
        << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)
        << QStringList{QStringLiteral("alerts.ini: line 1 stands before any [RuleN] section: ") +
                       QChar(0x2030) + "PNG"}
        << QStringList();
    QTest::newRow("Windows-1252 name")
        << QByteArray("[Rule1]\r\nName=S\xE3o Tom\xE9\r\n") << QStringList()
        << QStringList{QString::fromUtf8("S\u00e3o Tom\u00e9")};
}

void TestAlertRules::brokenFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, problems);
    QFETCH(QStringList, rules);
    const AlertsFile::Contents c = AlertsFile::parse(bytes);
    QCOMPARE(c.problems, problems);
    QCOMPARE(names(c.rules), rules);
}

void TestAlertRules::unreadableFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(AlertsFile::fileName());

    // No file: no rules, nothing to tell.
    AlertsFile::Contents c = AlertsFile::read(path);
    QVERIFY(c.rules.isEmpty());
    QVERIFY(c.problems.isEmpty());

    // Over the limit: one problem, and not a byte of it read as rules.
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QByteArray rule("[Rule1]\r\nName=Big\r\n");
        f.write(rule);
        f.write(QByteArray(AlertsFile::kMaxBytes, ' '));
    }
    c = AlertsFile::read(path);
    QVERIFY(c.rules.isEmpty());
    QCOMPARE(c.problems, QStringList{path + " cannot be read: it must be a file of at most 1 MiB"});

    // A folder in its place: the same.
    QVERIFY(QFile::remove(path));
    QVERIFY(QDir(dir.path()).mkdir(AlertsFile::fileName()));
    c = AlertsFile::read(path);
    QVERIFY(c.rules.isEmpty());
    QCOMPARE(c.problems.size(), 1);
}

// A shared file of many thousand rules: the first thousand are read, the
// rest named in one line; the editor lists the first problems and a count.
void TestAlertRules::rulesPastTheCap()
{
    QByteArray file;
    for (int i = 1; i <= 1500; ++i)
        file += "[Rule" + QByteArray::number(i) + (i % 2 ? "]\n" : "]\nBands=11m\n");
    const AlertsFile::Contents c = AlertsFile::parse(file);
    QCOMPARE(c.rules.size(), 500);
    QCOMPARE(c.rules.last().name, QStringLiteral("Rule999"));
    QCOMPARE(c.problems.size(), 501);
    QCOMPARE(c.problems.first(),
             QStringLiteral("alerts.ini: 500 rules past the first 1000 are skipped, from Rule1001 on"));
    QCOMPARE(c.problems.last(), QStringLiteral("Rule1000: unknown band 11m"));

    const QStringList shown = AlertsFile::shownProblems(c.problems);
    QCOMPARE(shown.size(), AlertsFile::kShownProblems + 1);
    QCOMPARE(shown.mid(0, AlertsFile::kShownProblems), c.problems.mid(0, AlertsFile::kShownProblems));
    QCOMPARE(shown.last(), QStringLiteral("and 481 more problems"));
    const QStringList few = c.problems.mid(0, AlertsFile::kShownProblems);
    QCOMPARE(AlertsFile::shownProblems(few), few);
}

void TestAlertRules::writeThenRead()
{
    QList<AlertRule> rules;
    rules.append(rule(QStringLiteral("On=1\nCall=T3*\nContinent=OC,AS\nBands=40m,20m\n"
                                     "Modes=CW,PHONE,DIGITAL\nSound=1\nNotify=1\nSpeak=0"),
                      QStringLiteral("Kiribati")));
    rules.append(rule(QStringLiteral("On=0\nEntity=Bouvet\nBands=160m,80m,60m,40m,30m,20m,17m,"
                                     "15m,12m,10m,6m,VHF\nSound=bouvet.WAV\nSpeak=1"),
                      QString::fromUtf8("Bouvet \u00e9 = 3Y; [x]")));
    rules.append(rule(QString(), QStringLiteral("Everything")));
    AlertRule byHand;
    byHand.name = QStringLiteral("two\nlines");
    byHand.call = *CallPattern::compile(QStringLiteral("dl1abc/p"));
    byHand.modes = 0b010;
    rules.append(byHand);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(AlertsFile::fileName());
    QString error;
    QVERIFY(AlertsFile::write(path, rules, &error));
    QVERIFY(error.isEmpty());

    const AlertsFile::Contents c = AlertsFile::read(path);
    QVERIFY2(c.problems.isEmpty(), qPrintable(c.problems.join(u'\n')));
    QCOMPARE(c.rules.size(), rules.size());
    // A line break cannot live in a line of the file: it becomes a blank.
    rules[3].name = QStringLiteral("two lines");
    for (int i = 0; i < rules.size(); ++i)
        QCOMPARE(c.rules[i], rules[i]);

    // Every line ends in CR LF, as in settings.ini.
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    QCOMPARE(bytes.count('\n'), bytes.count("\r\n"));
    QVERIFY(bytes.startsWith("[Rule1]\r\nName=Kiribati\r\nOn=1\r\nCall=T3*\r\n"));

    // A folder that is not there: refused, with the full path; no file made.
    const QString nowhere = dir.filePath(QStringLiteral("missing/alerts.ini"));
    QVERIFY(!AlertsFile::write(nowhere, rules, &error));
    QCOMPARE(error, QStringLiteral("Unable to write to ") + nowhere);
}

QTEST_GUILESS_MAIN(TestAlertRules)
#include "tst_alert_rules.moc"
