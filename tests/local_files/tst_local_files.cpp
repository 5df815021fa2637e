// The files read at start (dx.wav, settings.ini, settings2.ini, nodes.txt)
// as a user or a broken disk may leave them: links to endless devices, named
// pipes nobody writes to, folders, files of any size, and a disk with no
// room left. Each played against the real window.

#include "TestFiles.h"
#include "MainWindowFixture.h"

#include "session/NodeGrid.h"
#include "settings/BoundedFile.h"
#include "settings/IniFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {



qint64 limitOf(const QString& name)
{
    if (name == QLatin1String("dx.wav"))
        return BoundedFile::kSoundMaxBytes;
    if (name == QLatin1String("nodes.txt"))
        return BoundedFile::kNodesMaxBytes;
    return BoundedFile::kSettingsMaxBytes;
}

// Puts a thing of the given kind at path; false when it could not be made.
bool makeThing(const QString& kind, const QString& path, qint64 limit)
{
    const QByteArray native = QFile::encodeName(path);
    if (kind == QLatin1String("link to /dev/zero"))
        return QFile::link(QStringLiteral("/dev/zero"), path);
    if (kind == QLatin1String("named pipe"))
        return ::mkfifo(native.constData(), 0600) == 0;
    if (kind == QLatin1String("folder"))
        return QDir().mkdir(path);
    // Over the limit by one byte; a sparse file, so it costs no disk.
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write("[Node]\r\nElemento=\r\n") > 0 &&
           f.resize(limit + 1);
}

int modeOf(const QString& path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

// What is at path, as a user would see it in a listing.
QString describe(const QString& path)
{
    const QFileInfo info(path);
    if (info.isSymLink())
        return QStringLiteral("link to ") + info.symLinkTarget();
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return QStringLiteral("nothing");
    if (S_ISFIFO(st.st_mode))
        return QStringLiteral("pipe");
    if (S_ISDIR(st.st_mode))
        return QStringLiteral("folder");
    return QStringLiteral("file of %1 bytes, %2")
        .arg(st.st_size)
        .arg(QString::fromLatin1(QCryptographicHash::hash(readFile(path), QCryptographicHash::Sha1).toHex()));
}

// A tmpfs of the given size, mounted on a folder of its own for the life of
// the object. Needs the right to mount (root in CI).
class SmallFileSystem
{
public:
    explicit SmallFileSystem(const QByteArray& options)
    {
        m_mounted = ::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", 0,
                            options.constData()) == 0;
    }
    ~SmallFileSystem()
    {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
    }
    bool mounted() const { return m_mounted; }
    QString path() const { return m_dir.path(); }

    // Writes a filler file until the file system has no room left.
    void fill()
    {
        QFile filler(QDir(path()).filePath(QStringLiteral("filler")));
        if (!filler.open(QIODevice::WriteOnly))
            return;
        const QByteArray block(1024, 'x');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
        // Even a byte is refused now.
        filler.write("x", 1);
        filler.flush();
    }
    void unfill() { QFile::remove(QDir(path()).filePath(QStringLiteral("filler"))); }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};

} // namespace

class TestLocalFiles : public QObject
{
    Q_OBJECT
private slots:
    void filesThatAreNotWhatTheySeem_data();
    void filesThatAreNotWhatTheySeem();
    void boundedRead_data();
    void boundedRead();
    void writeKeepsLinkAndMode();
    void fullDiskKeepsTheSettings();
};

void TestLocalFiles::filesThatAreNotWhatTheySeem_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    for (const char* name : {"settings.ini", "settings2.ini", "dx.wav", "nodes.txt"}) {
        for (const char* kind : {"link to /dev/zero", "named pipe", "folder", "over its limit"})
            QTest::addRow("%s, %s", name, kind) << QString::fromLatin1(name) << QString::fromLatin1(kind);
    }
}

// The window shows at once, as without the file; the thing stays as it was
// (a settings file over its limit keeps every byte, and saving into it is
// refused with the design's message); everything else works.
void TestLocalFiles::filesThatAreNotWhatTheySeem()
{
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QString path;
    QString before;
    MainWindowFixture w([&](AppContext& app) {
        path = QDir(app.workDir).filePath(name);
        QFile::remove(path);
        QVERIFY(makeThing(kind, path, limitOf(name)));
        before = describe(path);
    });
    QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
    QCOMPARE(describe(path), before);

    if (name == QLatin1String("settings.ini")) {
        // Start-up saves the node box, and a choice saves it again: each
        // refused with the file's name.
        QVERIFY(!w.ctx.messages.isEmpty());
        for (const QString& message : w.ctx.messages)
            QCOMPARE(message, QStringLiteral("Unable to write to ") + path);
    } else {
        QCOMPARE(w.ctx.messages, QStringList());
    }
    if (name == QLatin1String("nodes.txt")) {
        QVERIFY(w.lines().contains(QStringLiteral(
            "The node list %1 is missing or unreadable: write one node per line as "
            "name_of_node;address;port")
                                       .arg(path)));
        QVERIFY(w.form->StringGrid1->rowCount() <= 1);
    }
    if (name == QLatin1String("dx.wav"))
        QVERIFY(!w.form->alarmSound().has_value() || w.form->alarmSound()->isEmpty());
    QCOMPARE(describe(path), before);
}

void TestLocalFiles::boundedRead_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("bytes");
    using S = BoundedFile::Status;
    QTest::newRow("nothing there") << "nothing" << int(S::Missing) << QByteArray();
    QTest::newRow("empty file") << "empty" << int(S::Read) << QByteArray();
    QTest::newRow("at its limit") << "at limit" << int(S::Read) << QByteArray(64, 'x');
    QTest::newRow("a byte over") << "over" << int(S::Unreadable) << QByteArray();
    QTest::newRow("link to a file") << "link" << int(S::Read) << QByteArray(64, 'x');
    QTest::newRow("link to nothing") << "dangling" << int(S::Unreadable) << QByteArray();
    QTest::newRow("link to /dev/zero") << "zero" << int(S::Unreadable) << QByteArray();
    QTest::newRow("named pipe") << "pipe" << int(S::Unreadable) << QByteArray();
    QTest::newRow("folder") << "folder" << int(S::Unreadable) << QByteArray();
    QTest::newRow("no right to read") << "mode 000" << int(S::Unreadable) << QByteArray();
}

void TestLocalFiles::boundedRead()
{
    QFETCH(QString, kind);
    QFETCH(int, status);
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("thing"));
    const QString other = dir.filePath(QStringLiteral("other"));
    if (kind == "empty")
        QVERIFY(writeFile(path, {}));
    else if (kind == "at limit")
        QVERIFY(writeFile(path, QByteArray(64, 'x')));
    else if (kind == "over")
        QVERIFY(writeFile(path, QByteArray(65, 'x')));
    else if (kind == "link")
        QVERIFY(writeFile(other, QByteArray(64, 'x')) && QFile::link(other, path));
    else if (kind == "dangling")
        QVERIFY(QFile::link(other, path));
    else if (kind == "zero")
        QVERIFY(makeThing(QStringLiteral("link to /dev/zero"), path, 0));
    else if (kind == "pipe")
        QVERIFY(makeThing(QStringLiteral("named pipe"), path, 0));
    else if (kind == "folder")
        QVERIFY(makeThing(QStringLiteral("folder"), path, 0));
    else if (kind == "mode 000") {
        if (::geteuid() == 0)
            QSKIP("root reads a file of any mode");
        QVERIFY(writeFile(path, "x") && QFile::setPermissions(path, {}));
    }
    const BoundedFile::Result result = BoundedFile::read(path, 64);
    QCOMPARE(int(result.status), status);
    QCOMPARE(result.bytes, bytes);
}

// A rewrite goes through a link to its target, which keeps its mode.
void TestLocalFiles::writeKeepsLinkAndMode()
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("kept/settings.ini"));
    const QString link = dir.filePath(QStringLiteral("settings.ini"));
    QVERIFY(QDir().mkdir(dir.filePath(QStringLiteral("kept"))));
    QVERIFY(writeFile(target, "[Rig1]\r\nModel=3073\r\n"));
    QVERIFY(::chmod(QFile::encodeName(target).constData(), 0640) == 0);
    QVERIFY(QFile::link(target, link));
    QString error;
    QVERIFY(IniFile(link).writeString(QStringLiteral("Node"), QStringLiteral("Elemento"),
                                      QStringLiteral("GB7DJK"), &error));
    QCOMPARE(error, QString());
    QCOMPARE(QFileInfo(link).symLinkTarget(), target);
    QCOMPARE(readFile(target), QByteArray("[Rig1]\r\nModel=3073\r\n[Node]\r\nElemento=GB7DJK\r\n"));
    QCOMPARE(modeOf(target), 0640);
}

// On a file system with no room left, choosing another node keeps
// settings.ini whole and says it cannot write; once there is room again the
// choice is saved with every other line kept.
void TestLocalFiles::fullDiskKeepsTheSettings()
{
    SmallFileSystem disk("size=64k");
    if (!disk.mounted())
        QSKIP("mounting a small tmpfs needs the right to mount (root)");
    const QString settings = QDir(disk.path()).filePath(QStringLiteral("settings.ini"));
    const QByteArray kept = "[Hosts]\r\n; the list and the calendar as the club serves them\r\n"
                            "[Rig1]\r\n; Model=3073 Port=/dev/ttyUSB0 Speed=19200\r\n"
                            "[Node]\r\nElemento=FIRST\r\n";
    QVERIFY(writeFile(settings, kept));
    QVERIFY(QFile::setPermissions(settings, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    disk.fill();

    MainWindowFixture w([&](AppContext& app) {
        app.programDir = disk.path();
        QVERIFY(writeFile(QDir(app.workDir).filePath(QStringLiteral("nodes.txt")),
                          "name_of_node;address;port\r\nFIRST;127.0.0.1;7300\r\nSECOND;127.0.0.1;7301\r\n"));
    });
    QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
    QTRY_VERIFY(w.form->StringGrid1->rowCount() == 3);
    w.ctx.messages.clear();
    w.form->StringGrid1->setCurrentCell(2, 0);
    QTRY_COMPARE(w.ctx.messages, QStringList{QStringLiteral("Unable to write to ") + settings});
    QCOMPARE(readFile(settings), kept);
    // Nothing of a half-made new file stays behind.
    QCOMPARE(QDir(disk.path()).entryList({QStringLiteral("*settings*")},
                                         QDir::Files | QDir::Hidden | QDir::System),
             QStringList{QStringLiteral("settings.ini")});

    disk.unfill();
    w.ctx.messages.clear();
    w.form->StringGrid1->setCurrentCell(1, 0);
    w.form->StringGrid1->setCurrentCell(2, 0);
    QTRY_VERIFY(readFile(settings).contains("Elemento=SECOND"));
    QCOMPARE(w.ctx.messages, QStringList());
    QCOMPARE(readFile(settings), QByteArray(kept).replace("FIRST", "SECOND"));
    QCOMPARE(modeOf(settings), 0600);
}

QTEST_MAIN(TestLocalFiles)
#include "tst_local_files.moc"
