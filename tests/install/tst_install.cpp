#include "TestFiles.h"
#include "settings/FileLocations.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

namespace {



QStringList entries(const QString& dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

// A program folder the file system refuses new files in, even for root
// (tests run as root in CI, where permission bits do not stop a write).
const QString kRefusingFolder = QStringLiteral("/proc/self");

// Temporary folders laid out like a start of the program: the executable's
// folder, the working folder and the two per-user folders (not made yet,
// as at a first start).
struct StartFolders
{
    QTemporaryDir root;
    QString exe = root.filePath("bin");
    QString cwd = root.filePath("cwd");
    QString config = root.filePath("home/.config/marvix-terminal");
    QString data = root.filePath("home/.local/share/marvix-terminal");
    QString defaults = root.filePath("share/marvix-terminal");

    StartFolders()
    {
        QDir().mkpath(exe);
        QDir().mkpath(cwd);
        QDir().mkpath(defaults);
        writeFile(QDir(defaults).filePath("nodes.txt"), "name_of_node;address;port\r\nGB7DJK;gb7djk.dxcluster.net;7300\r\n");
        writeFile(QDir(defaults).filePath("dx.wav"), "RIFF....WAVE");
        QFile::setPermissions(QDir(defaults).filePath("nodes.txt"), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    }
    FileLocationInput input(const QString& exeDir) const { return {exeDir, cwd, config, data, {}}; }
};

} // namespace

class TestInstall : public QObject
{
    Q_OBJECT
private slots:
    void folderAcceptsNewFiles_data();
    void folderAcceptsNewFiles();
    void decide_data();
    void decide();
    void installedPrefix_data();
    void installedPrefix();
    void firstStartSeedsTheDataFolder();
    void userCopiesAreKept();
    void folderThatCannotBeMade();
    void defaultsFolder();
};

void TestInstall::folderAcceptsNewFiles_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("expected");
    QTest::newRow("writable folder") << "writable" << true;
    QTest::newRow("read-only folder") << "readonly" << false;
    QTest::newRow("folder of a file system that takes no files") << "proc" << false;
    QTest::newRow("missing folder") << "missing" << false;
    QTest::newRow("regular file") << "file" << false;
    QTest::newRow("empty path") << "empty" << false;
}

void TestInstall::folderAcceptsNewFiles()
{
    QFETCH(QString, kind);
    QFETCH(bool, expected);
    QTemporaryDir tmp;
    QString dir = tmp.filePath("dir");
    QDir().mkpath(dir);
    if (kind == "readonly") {
        if (geteuid() == 0)
            QSKIP("root may write into a read-only folder");
        QFile::setPermissions(dir, QFile::ReadOwner | QFile::ExeOwner);
    } else if (kind == "proc") {
        dir = kRefusingFolder;
    } else if (kind == "missing") {
        dir = tmp.filePath("nowhere");
    } else if (kind == "file") {
        dir = tmp.filePath("file");
        writeFile(dir, "x");
    } else if (kind == "empty") {
        dir.clear();
    }
    QCOMPARE(::folderAcceptsNewFiles(dir), expected);
    if (kind == "writable")
        QCOMPARE(entries(dir), QStringList()); // the check leaves nothing behind
    QFile::setPermissions(tmp.filePath("dir"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void TestInstall::decide_data()
{
    QTest::addColumn<bool>("exeWritable");
    QTest::addColumn<QString>("nodesInCwd"); // file, none, folder, unreadable
    QTest::addColumn<bool>("perUserConfig");
    QTest::addColumn<bool>("perUserData");
    QTest::newRow("program folder of its own, run where nodes.txt is") << true << "file" << false << false;
    QTest::newRow("installed, started from a folder with nodes.txt") << false << "file" << true << false;
    QTest::newRow("own folder, started where no nodes.txt is") << true << "none" << false << true;
    QTest::newRow("installed, started by the desktop in the home folder") << false << "none" << true << true;
    QTest::newRow("nodes.txt is a folder") << true << "folder" << false << true;
    // An unreadable list is the user's: the program shows what it shows for
    // an unreadable list rather than quietly using another one.
    QTest::newRow("nodes.txt unreadable") << true << "unreadable" << false << false;
}

void TestInstall::decide()
{
    QFETCH(bool, exeWritable);
    QFETCH(QString, nodesInCwd);
    QFETCH(bool, perUserConfig);
    QFETCH(bool, perUserData);
    StartFolders f;
    const QString nodes = QDir(f.cwd).filePath("nodes.txt");
    if (nodesInCwd == "file") {
        writeFile(nodes, "name_of_node;address;port\r\n");
    } else if (nodesInCwd == "folder") {
        QDir().mkpath(nodes);
    } else if (nodesInCwd == "unreadable") {
        writeFile(nodes, "name_of_node;address;port\r\n");
        QFile::setPermissions(nodes, {});
    }
    const QStringList cwdBefore = entries(f.cwd);

    const FileLocations loc = decideFileLocations(f.input(exeWritable ? f.exe : kRefusingFolder));

    QCOMPARE(loc.perUserConfig, perUserConfig);
    QCOMPARE(loc.programDir, perUserConfig ? f.config : f.exe);
    QCOMPARE(loc.perUserData, perUserData);
    QCOMPARE(loc.workDir, perUserData ? f.data : f.cwd);
    // Deciding writes nothing anywhere.
    QCOMPARE(entries(f.exe), QStringList());
    QCOMPARE(entries(f.cwd), cwdBefore);
    QVERIFY(!QFileInfo::exists(f.root.filePath("home")));

    // The info window names the per-user data folder when it is used.
    const QString notes = describeFileLocations(loc).join('\n');
    QCOMPARE(notes.contains(f.data), perUserData);
    QCOMPARE(notes.contains("configuration folder"), perUserConfig);
}

void TestInstall::installedPrefix_data()
{
    QTest::addColumn<QString>("exeFolder");
    QTest::addColumn<bool>("defaultsBeside");
    QTest::addColumn<bool>("perUserConfig");
    // Root may write into /usr/bin; the settings must still go to the
    // user's folder.
    QTest::newRow("bin of a prefix, writable") << "bin" << true << true;
    QTest::newRow("bin of a prefix, trailing slash") << "bin/" << true << true;
    QTest::newRow("a bin without the prefix's defaults") << "bin" << false << false;
    QTest::newRow("portable folder beside a share folder") << "marvix" << true << false;
}

void TestInstall::installedPrefix()
{
    QFETCH(QString, exeFolder);
    QFETCH(bool, defaultsBeside);
    QFETCH(bool, perUserConfig);
    QTemporaryDir root;
    const QString exe = root.filePath(exeFolder);
    QDir().mkpath(exe);
    QDir().mkpath(root.filePath("cwd"));
    writeFile(root.filePath("cwd/nodes.txt"), "name_of_node;address;port\r\n");
    if (defaultsBeside)
        QDir().mkpath(root.filePath("share/marvix-terminal"));
    const QString config = root.filePath("home/.config/marvix-terminal");
    const QString installed = QDir::cleanPath(QDir(exe).filePath("../share/marvix-terminal"));

    QCOMPARE(isInstalledExecutable(exe, installed), perUserConfig);
    const FileLocations loc = decideFileLocations(
        {exe, root.filePath("cwd"), config, root.filePath("home/.local/share/marvix-terminal"),
         installed});
    QCOMPARE(loc.perUserConfig, perUserConfig);
    QCOMPARE(loc.programDir, perUserConfig ? config : exe);
    QCOMPARE(entries(exe), QStringList());
}

void TestInstall::firstStartSeedsTheDataFolder()
{
    StartFolders f;
    const FileLocations loc = decideFileLocations(f.input(kRefusingFolder));
    QVERIFY(prepareFileLocations(loc, f.defaults));

    QVERIFY(QFileInfo(f.config).isDir());
    QCOMPARE(entries(f.config), QStringList()); // settings come with the first write
    QCOMPARE(entries(f.data), QStringList({"dx.wav", "nodes.txt"}));
    for (const char* name : {"nodes.txt", "dx.wav"}) {
        const QString copy = QDir(f.data).filePath(name);
        QCOMPARE(readFile(copy), readFile(QDir(f.defaults).filePath(name)));
        // The installed defaults are read-only; the user's copy is for editing.
        QVERIFY(QFile::permissions(copy) & QFile::WriteOwner);
    }
    QCOMPARE(entries(f.cwd), QStringList());
}

void TestInstall::userCopiesAreKept()
{
    StartFolders f;
    QDir().mkpath(f.data);
    const QByteArray edited = "name_of_node;address;port\r\nMY-NODE;127.0.0.1;7300\r\n";
    writeFile(QDir(f.data).filePath("nodes.txt"), edited);

    // A later start: the edited list stays, a deleted dx.wav comes back.
    const FileLocations loc = decideFileLocations(f.input(f.exe));
    QVERIFY(loc.perUserData);
    QVERIFY(prepareFileLocations(loc, f.defaults));
    QCOMPARE(readFile(QDir(f.data).filePath("nodes.txt")), edited);
    QCOMPARE(readFile(QDir(f.data).filePath("dx.wav")), QByteArray("RIFF....WAVE"));
    // A program folder of its own makes no per-user configuration folder.
    QVERIFY(!QFileInfo::exists(f.config));

    // The same start without any defaults found leaves the user's files too.
    QFile::remove(QDir(f.data).filePath("dx.wav"));
    QVERIFY(!prepareFileLocations(loc, QString()));
    QCOMPARE(readFile(QDir(f.data).filePath("nodes.txt")), edited);
}

void TestInstall::folderThatCannotBeMade()
{
    // A home folder where nothing can be made: the program goes on with the
    // chosen paths and meets the missing files as it meets any missing file.
    StartFolders f;
    writeFile(f.root.filePath("home"), "a file, not a folder");
    const FileLocations loc = decideFileLocations(f.input(kRefusingFolder));
    QCOMPARE(loc.programDir, f.config);
    QCOMPARE(loc.workDir, f.data);
    QVERIFY(!prepareFileLocations(loc, f.defaults));
    QVERIFY(!QFileInfo::exists(QDir(f.data).filePath("nodes.txt")));
}

void TestInstall::defaultsFolder()
{
    Q_INIT_RESOURCE(resources);
    StartFolders f;
    const QString missing = f.root.filePath("share/none");
    QCOMPARE(findDefaultsDir({missing, f.defaults, ":/"}), f.defaults);
    // The build folder has no share/: the copies built into the program serve.
    QCOMPARE(findDefaultsDir({missing, ":/"}), ":/");
    QCOMPARE(findDefaultsDir({missing, QString()}), QString());

    const QString data = f.root.filePath("data");
    QVERIFY(prepareFileLocations({f.exe, data, false, true}, ":/"));
    QCOMPARE(readFile(QDir(data).filePath("nodes.txt")), readFile(":/nodes.txt"));
    QVERIFY(!readFile(QDir(data).filePath("dx.wav")).isEmpty());
    QVERIFY(QFile::permissions(QDir(data).filePath("nodes.txt")) & QFile::WriteOwner);
}

QTEST_GUILESS_MAIN(TestInstall)
#include "tst_install.moc"
