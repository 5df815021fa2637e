#include "app/DefaultContext.h"
#include "app/Tform1.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Marvix Terminal"));
    QApplication::setApplicationDisplayName(QStringLiteral("Marvix Terminal"));

    Tform1 form1(makeDefaultContext());
    form1.show();
    return QApplication::exec();
}
