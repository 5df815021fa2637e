#include "app/DefaultContext.h"
#include "app/Tform1.h"
#include "settings/DesignLook.h"
#include "windows/WebEngineProcess.h"

#include <QApplication>
#include <QFont>

int main(int argc, char* argv[])
{
    // The calendar window's browser: no sandbox when run as root (Chromium
    // would end the process), shared drawing contexts.
    WebEngineProcess::prepare();
    QApplication app(argc, argv);
    // The title is "Marvix Terminal"; the short name names the per-user
    // folders (~/.config/marvix-terminal) and matches the desktop entry.
    QApplication::setApplicationName(QStringLiteral("marvix-terminal"));
    QApplication::setApplicationDisplayName(QStringLiteral("Marvix Terminal"));
    QGuiApplication::setDesktopFileName(QStringLiteral("marvix-terminal"));
    // The window is laid out for Segoe UI; where it is missing, a font of
    // about the same width keeps captions inside their controls.
    QFont::insertSubstitutions(DesignLook::fontFamily(),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                                QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")});

    Tform1 form1(makeDefaultContext());
    form1.show();
    return QApplication::exec();
}
