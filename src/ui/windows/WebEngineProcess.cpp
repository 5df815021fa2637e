#include "windows/WebEngineProcess.h"

#include <QCoreApplication>

#include <unistd.h>

namespace WebEngineProcess {

void prepare()
{
    // Chromium refuses to run its sandbox as root and ends the whole process
    // instead; without root the sandbox stays on.
    if (::geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // The browser shares its drawing contexts with the window; this can only
    // be said before the application object is made.
    if (!QCoreApplication::instance())
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

} // namespace WebEngineProcess
