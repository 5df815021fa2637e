// The log loader with real files: read off the UI thread, read again when
// the logger writes or replaces the file, and never held up by what lies
// at the path (a device, a pipe, a folder).

#include "dxcc/CountryTable.h"
#include "log/LogLoader.h"
#include "settings/AtomicFile.h"
#include "spots/Spot.h"

#include "TestFiles.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace {

QByteArray qso(const QByteArray& call, const QByteArray& band, const QByteArray& extra = {})
{
    return "<CALL:" + QByteArray::number(call.size()) + '>' + call +
           "<BAND:" + QByteArray::number(band.size()) + '>' + band + "<MODE:2>CW" + extra +
           "<EOR>\n";
}

const QByteArray kHeader = "Exported for the test\n<EOH>\n";

CountryTable countries()
{
    QFile f(QStringLiteral(DXCC_FIXTURE));
    if (!f.open(QIODevice::ReadOnly))
        qFatal("no country file excerpt at %s", DXCC_FIXTURE);
    return CountryTable::parse(f.readAll());
}

// What the log says of a German station spotted on 20 m CW: "New one",
// "Worked", "Confirmed"...; "no log" without an index.
QString germanyOn20(const LogLoader& loader)
{
    static const CountryTable table = countries();
    const std::shared_ptr<const LogIndex> index = loader.index();
    if (!index)
        return QStringLiteral("no log");
    Spot spot;
    spot.call = QStringLiteral("DL2XYZ");
    spot.band = BandPlan::Band::m20;
    spot.group = ModeGroup::Cw;
    return index->status(spot, *table.lookup(spot.call))->text();
}

} // namespace

class TestLogLoader : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void followsTheFile();
    void followsAReplacedFile();
    void optionsReadItAgain();
    void refused_data();
    void refused();
    void brokenRewriteKeepsTheLog();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;
    std::unique_ptr<LogLoader> m_loader;
};

void TestLogLoader::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_path = m_dir->filePath(QStringLiteral("mylog.adi"));
    m_loader = std::make_unique<LogLoader>();
    m_loader->setSettleMs(50);
    m_loader->setCountryTable(countries());
}

void TestLogLoader::followsTheFile()
{
    QVERIFY(writeFile(m_path, kHeader + qso("DL1ABC", "40m")));
    QSignalSpy indexes(m_loader.get(), &LogLoader::indexChanged);
    m_loader->setFile(m_path);
    // The reading runs on: the caller has no index yet.
    QVERIFY(m_loader->isReading());
    QCOMPARE(germanyOn20(*m_loader), QStringLiteral("no log"));
    QVERIFY(indexes.wait(5000));
    QCOMPARE(germanyOn20(*m_loader), QStringLiteral("New band"));
    QCOMPARE(m_loader->index()->summary().fileName, QStringLiteral("mylog.adi"));

    // The logger adds a QSO to the file as it stands.
    {
        QFile f(m_path);
        QVERIFY(f.open(QIODevice::Append));
        f.write(qso("DL3ABC", "20m"));
    }
    QVERIFY(indexes.wait(5000));
    QCOMPARE(germanyOn20(*m_loader), QStringLiteral("Worked"));
    QCOMPARE(m_loader->index()->summary().qsos, 2);

    // A file written beside it is no change of the log.
    QVERIFY(writeFile(m_dir->filePath(QStringLiteral("other.txt")), "x"));
    QVERIFY(!indexes.wait(500));

    // No log any more: no index, no status.
    m_loader->setFile(QString());
    QCOMPARE(indexes.size(), 3);
    QVERIFY(!indexes.last().first().value<std::shared_ptr<const LogIndex>>());
    QCOMPARE(germanyOn20(*m_loader), QStringLiteral("no log"));
}

// Loggers save by writing a new file and renaming it over the old one;
// the new file is followed as the old one was.
void TestLogLoader::followsAReplacedFile()
{
    QVERIFY(writeFile(m_path, kHeader + qso("DL1ABC", "40m")));
    QSignalSpy indexes(m_loader.get(), &LogLoader::indexChanged);
    m_loader->setFile(m_path);
    QVERIFY(indexes.wait(5000));
    QCOMPARE(germanyOn20(*m_loader), QStringLiteral("New band"));

    QVERIFY(AtomicFile::write(m_path, kHeader + qso("DL1ABC", "20m")));
    QVERIFY(indexes.wait(5000));
    QCOMPARE(germanyOn20(*m_loader), QStringLiteral("Worked"));

    // The new file is watched in its turn.
    {
        QFile f(m_path);
        QVERIFY(f.open(QIODevice::Append));
        f.write(qso("DL1ABC", "20m", "<LOTW_QSL_RCVD:1>Y"));
    }
    QVERIFY(indexes.wait(5000));
    QCOMPARE(germanyOn20(*m_loader), QStringLiteral("Confirmed"));

    // Removed, then written again a while later.
    QVERIFY(QFile::remove(m_path));
    QTest::qWait(200);
    QVERIFY(writeFile(m_path, kHeader + qso("PA1ABC", "20m")));
    QVERIFY(QTest::qWaitFor([&] { return germanyOn20(*m_loader) == u"New one"; }, 5000));
}

void TestLogLoader::optionsReadItAgain()
{
    QVERIFY(writeFile(m_path, kHeader + qso("DL1ABC", "20m", "<EQSL_QSL_RCVD:1>Y")));
    QSignalSpy indexes(m_loader.get(), &LogLoader::indexChanged);
    m_loader->setFile(m_path);
    QVERIFY(indexes.wait(5000));
    QCOMPARE(germanyOn20(*m_loader), QStringLiteral("Worked"));
    LogOptions options;
    options.confirmations = LogQso::AllConfirmations;
    m_loader->setOptions(options);
    QVERIFY(indexes.wait(5000));
    QCOMPARE(germanyOn20(*m_loader), QStringLiteral("Confirmed"));
}

void TestLogLoader::refused_data()
{
    QTest::addColumn<QString>("what");
    QTest::addColumn<QString>("message"); // after the path

    QTest::newRow("device") << "/dev/zero"
                            << " cannot be read: a log must be a file of at most 256 MiB";
    QTest::newRow("pipe") << "pipe"
                          << " cannot be read: a log must be a file of at most 256 MiB";
    QTest::newRow("folder") << "folder"
                            << " cannot be read: a log must be a file of at most 256 MiB";
    QTest::newRow("missing") << "missing"
                             << ": no such file";
    QTest::newRow("no log") << "letter"
                            << " is not an ADIF log: line 2 holds no ADIF record";
}

void TestLogLoader::refused()
{
    QFETCH(QString, what);
    QFETCH(QString, message);

    QString path = what;
    if (what == u"pipe") {
        // Nobody ever writes to it: an open that waited would wait forever.
        path = m_dir->filePath(QStringLiteral("log.adi"));
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else if (what == u"folder") {
        path = m_dir->filePath(QStringLiteral("logs"));
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("logs")));
    } else if (what == u"missing") {
        path = m_dir->filePath(QStringLiteral("gone.adi"));
    } else if (what == u"letter") {
        path = m_dir->filePath(QStringLiteral("letter.adi"));
        QVERIFY(writeFile(path, "\nDear OM,\nthanks for the QSO.\n"));
    }
    QSignalSpy failures(m_loader.get(), &LogLoader::failed);
    QSignalSpy indexes(m_loader.get(), &LogLoader::indexChanged);
    m_loader->setFile(path);
    QVERIFY(failures.wait(5000));
    QCOMPARE(failures.first().first().toString(),
             QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()) + message);
    QVERIFY(!m_loader->index());
    QVERIFY(indexes.isEmpty());
}

// The logger leaves the file broken for a moment: the last good reading
// stays until the file reads again.
void TestLogLoader::brokenRewriteKeepsTheLog()
{
    QVERIFY(writeFile(m_path, kHeader + qso("DL1ABC", "20m")));
    QSignalSpy indexes(m_loader.get(), &LogLoader::indexChanged);
    QSignalSpy failures(m_loader.get(), &LogLoader::failed);
    m_loader->setFile(m_path);
    QVERIFY(indexes.wait(5000));

    QVERIFY(writeFile(m_path, kHeader + "<CALL:6>DL1A"));
    QVERIFY(failures.wait(5000));
    QCOMPARE(failures.last().first().toString(),
             QDir::toNativeSeparators(m_path) +
                 " is not an ADIF log: line 3: <CALL:6> runs past the end of the file");
    QCOMPARE(germanyOn20(*m_loader), QStringLiteral("Worked"));

    QVERIFY(writeFile(m_path, kHeader + qso("DL1ABC", "20m", "<QSL_RCVD:1>Y")));
    QVERIFY(indexes.wait(5000));
    QCOMPARE(germanyOn20(*m_loader), QStringLiteral("Confirmed"));
}

QTEST_GUILESS_MAIN(TestLogLoader)
#include "tst_log_loader.moc"
