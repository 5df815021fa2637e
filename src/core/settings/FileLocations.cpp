#include "settings/FileLocations.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryFile>

namespace {

const QString kNodesFile = QStringLiteral("nodes.txt");
const QString kDefaultFiles[] = {QStringLiteral("nodes.txt"), QStringLiteral("dx.wav")};

} // namespace

bool folderAcceptsNewFiles(const QString& dir)
{
    if (dir.isEmpty() || !QFileInfo(dir).isDir())
        return false;
    QTemporaryFile probe(QDir(dir).filePath(QStringLiteral(".marvix-write-check-XXXXXX")));
    return probe.open(); // removed when probe goes out of scope
}

bool isInstalledExecutable(const QString& executableDir, const QString& installedDefaultsDir)
{
    if (executableDir.isEmpty() || installedDefaultsDir.isEmpty())
        return false;
    return QFileInfo(QDir::cleanPath(executableDir)).fileName() == QLatin1String("bin")
        && QFileInfo(installedDefaultsDir).isDir();
}

FileLocations decideFileLocations(const FileLocationInput& input)
{
    FileLocations loc;
    if (!isInstalledExecutable(input.executableDir, input.installedDefaultsDir)
        && folderAcceptsNewFiles(input.executableDir)) {
        loc.programDir = input.executableDir;
    } else {
        loc.programDir = input.configDir;
        loc.perUserConfig = true;
    }
    // nodes.txt present but unreadable still counts as present: the program
    // then shows what it shows for an unreadable list, in the folder the
    // user chose.
    if (QFileInfo(QDir(input.currentDir).filePath(kNodesFile)).isFile()) {
        loc.workDir = input.currentDir;
    } else {
        loc.workDir = input.dataDir;
        loc.perUserData = true;
    }
    return loc;
}

bool prepareFileLocations(const FileLocations& locations, const QString& defaultsDir)
{
    bool ok = true;
    if (locations.perUserConfig)
        ok = QDir().mkpath(locations.programDir) && ok;
    if (!locations.perUserData)
        return ok;
    if (!QDir().mkpath(locations.workDir))
        return false;
    for (const QString& name : kDefaultFiles) {
        const QString target = QDir(locations.workDir).filePath(name);
        if (QFileInfo::exists(target))
            continue;
        if (defaultsDir.isEmpty() || !QFile::copy(QDir(defaultsDir).filePath(name), target)) {
            ok = false;
            continue;
        }
        // A copy keeps the source's permissions, and the installed (or
        // built-in) defaults are read-only; the user's copy is for editing.
        QFile::setPermissions(target, QFile::permissions(target) | QFile::WriteOwner
                                          | QFile::WriteUser);
    }
    return ok;
}

QString findDefaultsDir(const QStringList& candidates)
{
    for (const QString& dir : candidates) {
        if (!dir.isEmpty() && QFileInfo(QDir(dir).filePath(kNodesFile)).isFile())
            return dir;
    }
    return {};
}

QStringList describeFileLocations(const FileLocations& locations)
{
    QStringList notes;
    if (locations.perUserData)
        notes << QStringLiteral("The node list and the alarm sound dx.wav in %1 are your own copies, "
                                "made from the installed defaults at the first start. The program "
                                "never overwrites them; a file you delete comes back as the "
                                "default at the next start. Started from a folder that holds a "
                                "nodes.txt, the program uses that folder's files instead.")
                     .arg(QDir::toNativeSeparators(locations.workDir));
    if (locations.perUserConfig)
        notes << QStringLiteral("The program's own folder takes no files, so the settings and the "
                                "calendar page temp.html are kept in your configuration folder.");
    return notes;
}
