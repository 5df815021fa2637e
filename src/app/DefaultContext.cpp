#include "app/DefaultContext.h"

#include "rig/RigConfig.h"
#include "settings/Hosts.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QMessageBox>

AppContext makeDefaultContext()
{
    AppContext ctx;
    ctx.programDir = QCoreApplication::applicationDirPath();
    ctx.workDir = QDir::currentPath();
    ctx.hosts = loadHosts(ctx.programDir);
    ctx.rig = loadRigBackend(ctx.programDir);
    ctx.nowUtc = [] { return QDateTime::currentDateTimeUtc(); };
    ctx.showMessage = [](const QString& text) {
        QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), text,
                        QMessageBox::Ok, QApplication::activeWindow());
        box.exec();
    };
    ctx.openUrl = [](const QUrl& url) { QDesktopServices::openUrl(url); };
    // Queued, so that a request made before the event loop runs still ends it.
    ctx.quit = [] {
        QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    };
    return ctx;
}
