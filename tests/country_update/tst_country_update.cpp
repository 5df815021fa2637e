// "Update country file" against a real HTTPS host on 127.0.0.1 with a
// certificate made for the test: the new edition replaces the user's copy
// only when it is a country file, newer, and came from a host whose
// certificate verifies.

#include "dxcc/CountryFile.h"
#include "dxcc/CountryFileUpdate.h"

#include "LocalHttpServer.h"
#include "TestFiles.h"
#include "TlsTestServer.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray debianFile()
{
    return readFile(CountryFile::systemPath());
}

// Debian's file under another edition, or with none.
QByteArray edition(const QByteArray& version)
{
    QByteArray text = debianFile();
    return text.replace("=VER20230502", version.isEmpty() ? QByteArray() : "=VER" + version);
}

CountryFileUpdate::Outcome runUpdate(CountryFileUpdate& update)
{
    QSignalSpy done(&update, &CountryFileUpdate::finished);
    if (!update.start())
        qFatal("the update did not start");
    // One at a time.
    if (update.start())
        qFatal("a second update started beside the first");
    if (!done.wait(20000) || update.isRunning())
        qFatal("the update did not end");
    return done.first().first().value<CountryFileUpdate::Outcome>();
}

} // namespace

Q_DECLARE_METATYPE(CountryFileUpdate::Outcome)

class TestCountryUpdate : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void updates();
    void refused_data();
    void refused();
    void timeLimit();

private:
    TlsTestServer m_server;
};

void TestCountryUpdate::initTestCase()
{
    qRegisterMetaType<CountryFileUpdate::Outcome>();
    QVERIFY2(debianFile().contains("=VER20230502"),
             "Debian's cty.dat of 2023-05-02 (package hamradio-files) is needed");
    m_server.addFile(QStringLiteral("new.dat"), edition("20991231"));
    m_server.addFile(QStringLiteral("old.dat"), edition("20200101"));
    m_server.addFile(QStringLiteral("noedition.dat"), edition(QByteArray()));
    m_server.addFile(QStringLiteral("page.dat"), "<html><body>Moved</body></html>\n");
    m_server.addFile(QStringLiteral("huge.dat"), edition("20991231").repeated(16));
    QVERIFY2(m_server.start(), qPrintable(m_server.errorString()));
}

void TestCountryUpdate::updates()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    CountryFileUpdate update(dir.path());
    QCOMPARE(update.url(), QStringLiteral("https://www.country-files.com/cty/cty.dat"));
    // The address comes from settings.ini's [Hosts], as the demo sets it.
    QVERIFY(writeFile(dir.filePath(QStringLiteral("settings.ini")),
                      "[Hosts]\r\nCountryFile=" + m_server.url("/new.dat").toUtf8() + "\r\n"));
    CountryFileUpdate configured(dir.path());
    QCOMPARE(configured.url(), m_server.url(QStringLiteral("/new.dat")));
    configured.setCaFile(m_server.certificatePath());

    const QString before =
        CountryFile::describe(CountryFile::load(CountryFile::searchPaths(dir.path())), dir.path());
    QVERIFY2(before.contains(u"of 2023-05-02"), qPrintable(before));

    const CountryFileUpdate::Outcome outcome = runUpdate(configured);
    QCOMPARE(outcome.message, QStringLiteral("Country file updated to the edition of 2099-12-31"));
    QCOMPARE(outcome.result, CountryFileUpdate::Result::Updated);
    QCOMPARE(outcome.table.version(), QStringLiteral("20991231"));
    const QString userCopy = dir.filePath(QStringLiteral("cty.dat"));
    QCOMPARE(outcome.path, userCopy);
    QCOMPARE(readFile(userCopy), edition("20991231"));
    // The window's line names the new edition and the user's copy.
    const CountryFile::Loaded now = CountryFile::load(CountryFile::searchPaths(dir.path()));
    QCOMPARE(CountryFile::describe(now, dir.path()),
             QStringLiteral("Country file cty.dat of 2099-12-31 (%1)")
                 .arg(QDir::toNativeSeparators(userCopy)));

    // Asked again: nothing newer.
    const CountryFileUpdate::Outcome again = runUpdate(configured);
    QCOMPARE(again.result, CountryFileUpdate::Result::Current);
    QCOMPARE(again.message, QStringLiteral("The country file of 2099-12-31 is the newest"));
}

void TestCountryUpdate::refused_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("trusted");
    QTest::addColumn<QString>("message");

    QTest::newRow("certificate not trusted")
        << "/new.dat" << false
        << "Country file not updated: SSL certificate problem: self-signed certificate";
    QTest::newRow("older edition")
        << "/old.dat" << true << "The country file of 2023-05-02 is the newest";
    QTest::newRow("no edition") << "/noedition.dat" << true
                                << "Country file not updated: the download names no edition";
    QTest::newRow("a web page")
        << "/page.dat" << true
        << "Country file not updated: the download is no country file (0 entities, at least 300 "
           "expected)";
    QTest::newRow("larger than a country file")
        << "/huge.dat" << true << "Country file not updated: Response body too large";
}

void TestCountryUpdate::refused()
{
    QFETCH(QString, target);
    QFETCH(bool, trusted);
    QFETCH(QString, message);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // The user's copy there before stays as it was.
    const QString userCopy = dir.filePath(QStringLiteral("cty.dat"));
    QVERIFY(writeFile(userCopy, debianFile()));
    CountryFileUpdate update(dir.path());
    update.setUrl(m_server.url(target));
    if (trusted)
        update.setCaFile(m_server.certificatePath());
    const CountryFileUpdate::Outcome outcome = runUpdate(update);
    QCOMPARE(outcome.message, message);
    QVERIFY(outcome.result != CountryFileUpdate::Result::Updated);
    QCOMPARE(readFile(userCopy), debianFile());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("cty.dat")});
}

// A host that never answers holds the update no longer than its time limit.
void TestCountryUpdate::timeLimit()
{
    LocalHttpServer host;
    QVERIFY(host.start());
    host.setBehaviour(LocalHttpServer::Behaviour::NeverAnswer);
    QTemporaryDir dir;
    CountryFileUpdate update(dir.path());
    update.setUrl(host.url(QStringLiteral("/cty.dat")));
    update.setTimeouts(500, 1000);
    QElapsedTimer clock;
    clock.start();
    const CountryFileUpdate::Outcome outcome = runUpdate(update);
    QCOMPARE(outcome.result, CountryFileUpdate::Result::Failed);
    QVERIFY2(outcome.message.contains(u"10060"), qPrintable(outcome.message));
    QVERIFY(clock.elapsed() < 10000);
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("cty.dat"))));
}

QTEST_GUILESS_MAIN(TestCountryUpdate)
#include "tst_country_update.moc"
