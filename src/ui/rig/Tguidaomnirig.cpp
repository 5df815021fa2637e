#include "rig/Tguidaomnirig.h"
#include "ui_Tguidaomnirig.h"

#include "scaling/TResizeKit.h"
#include "windows/DesignWindow.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>

namespace {

// The client area at 96 dpi; the form (Tguidaomnirig.ui) holds the
// positions, the panel for Linux users and the two pictures.
constexpr QSize kRigGuideSize(766, 665);

} // namespace

Tguidaomnirig::Tguidaomnirig(QWidget* parent) : QWidget(parent, Qt::Window)
{
    DesignWindow::setUp(this, kRigGuideSize);
    Ui::Tguidaomnirig form;
    form.setupUi(this);
    ScrollBox1 = form.ScrollBox1;
    BitBtn1 = form.BitBtn1;

    const QStringList lines = guideLines();
    QLabel* const guide[] = {form.Label1,  form.Label2,  form.Label3,  form.Label4,  form.Label5,
                             form.Label6,  form.Label7,  form.Label8,  form.Label9,  form.Label10,
                             form.Label11, form.Label12, form.Label13, form.Label14, form.Label15};
    for (int i = 0; i < lines.size(); ++i)
        guide[i]->setText(lines.at(i));

    ScrollBox1->viewport()->installEventFilter(this);
    connect(BitBtn1, &QPushButton::clicked, this, &Tguidaomnirig::BitBtn1Click);

    ResizeKit1 = DesignWindow::attachScaling(this, kRigGuideSize);
}

QStringList Tguidaomnirig::guideLines()
{
    return {
        QStringLiteral("MARVIX TERMINAL can controll radio equipment"),
        QStringLiteral("through OMNIRIG ver 1.xx and CAT system."),
        QStringLiteral("   Just two easy steps:"),
        QStringLiteral("1. Be sure to download and configure OMNIRIG 1.xx"),
        QStringLiteral("to work with your radio, care attention to all parameters."),
        QStringLiteral("Note that Marvix Terminal works WITH RIG 1 and RIG2"),
        QStringLiteral("2. Check if there is communication through your PC and Radio,"),
        QStringLiteral("just close MARVIX TERMINAL and run it again, choose a RIG and press  ALT+F2, "),
        QStringLiteral("your RADIO will change MODE and cycle (USB, LSB, CW, FM, AM)."),
        QStringLiteral("If CAT is working and OMNIRIG setup is done in the right way"),
        QStringLiteral("ALT+F2 change Mode success confirms that system is ready."),
        QStringLiteral("If not working.. check OMNIRIG configuration and CAT connection"),
        QStringLiteral("Search in Google.. i cannot help you directly with Omnirig setup"),
        QStringLiteral("When CAT system is working fine through OMNIRIG choose RIG1 or RIG2 on the "
                       "first page of application."),
        QStringLiteral("You will be able to set your radio Freq and Mode just doing CLICK on a "
                       "DXpedition call listed  under  the main terminal window"),
    };
}

void Tguidaomnirig::BitBtn1Click()
{
    close();
}

void Tguidaomnirig::ScrollBox1MouseWheel(int wheelDelta)
{
    QScrollBar* bar = ScrollBox1->verticalScrollBar();
    bar->setValue(bar->value() - wheelDelta);
}

bool Tguidaomnirig::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ScrollBox1->viewport() && event->type() == QEvent::Wheel) {
        ScrollBox1MouseWheel(static_cast<QWheelEvent*>(event)->angleDelta().y());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
