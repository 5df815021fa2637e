#include "app/DefaultContext.h"

#include "rig/RigConfig.h"
#include "settings/FileLocations.h"
#include "settings/Hosts.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QMessageBox>
#include <QStandardPaths>

namespace {

// Where the program's own folders are decided, once. The installed default
// nodes.txt and dx.wav lie in share/marvix-terminal of the install prefix,
// found from the executable's folder; a program run from its build folder
// seeds from the copies built into it.
FileLocations placeFiles()
{
    const QString exeDir = QCoreApplication::applicationDirPath();
    const QString installed =
        QDir::cleanPath(QDir(exeDir).filePath(QStringLiteral(MARVIX_DEFAULTS_FROM_BINDIR)));
    const FileLocations loc = decideFileLocations(
        {exeDir, QDir::currentPath(),
         QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation),
         QStandardPaths::writableLocation(QStandardPaths::AppDataLocation), installed});
    prepareFileLocations(loc, findDefaultsDir({installed, QStringLiteral(":/")}));
    return loc;
}

} // namespace

void showMessageBox(const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), text,
                    QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

AppContext makeDefaultContext()
{
    // The built-in default files are read before the window exists.
    Q_INIT_RESOURCE(resources);
    AppContext ctx;
    const FileLocations loc = placeFiles();
    ctx.programDir = loc.programDir;
    ctx.workDir = loc.workDir;
    ctx.fileNotes = describeFileLocations(loc);
    ctx.hosts = loadHosts(ctx.programDir);
    ctx.rig = loadRigBackend(ctx.programDir);
    ctx.nowUtc = [] { return QDateTime::currentDateTimeUtc(); };
    ctx.showMessage = showMessageBox;
    ctx.openUrl = [](const QUrl& url) { QDesktopServices::openUrl(url); };
    // Queued, so that a request made before the event loop runs still ends it.
    ctx.quit = [] {
        QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    };
    return ctx;
}
