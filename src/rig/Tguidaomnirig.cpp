#include "rig/Tguidaomnirig.h"

#include "scaling/TResizeKit.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSvgRenderer>
#include <QWheelEvent>

namespace {

// A picture drawn from its vector file at the size of the control.
class Picture : public QWidget
{
public:
    Picture(const QString& file, QWidget* parent) : QWidget(parent), m_file(file) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        QSvgRenderer(m_file).render(&p, QRectF(rect()));
    }

private:
    QString m_file;
};

QFrame* panel(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* p = new QFrame(parent);
    p->setObjectName(QLatin1String(name));
    p->setFrameShape(QFrame::Panel);
    p->setFrameShadow(QFrame::Raised);
    p->setGeometry(geometry);
    return p;
}

QLabel* line(QWidget* parent, int number, const QString& text, int left, int top, int width,
             bool bold = false)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QStringLiteral("Label%1").arg(number));
    l->setGeometry(left, top, width, 20);
    if (bold) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }
    return l;
}

// How a Linux user reaches a radio: the lines of the panel below the guide.
const char* const kLinuxLines[] = {
    "On Linux, Marvix Terminal talks to the radio through Hamlib instead of OMNIRIG.",
    "Either run Hamlib's rig server rigctld, for Rig 1 on port 4532 (Rig 2 on port 4534),",
    "for example for an IC-7300 on the first USB serial port:",
    "        rigctld -m 3073 -r /dev/ttyUSB0 -s 19200 -t 4532",
    "(rigctl -l lists the model numbers; check with:  rigctl -m 2 -r localhost:4532 f )",
    "or let Marvix Terminal drive the radio itself: write in settings.ini, beside the program,",
    "        [Rig1]   Model=3073   Port=/dev/ttyUSB0   Speed=19200",
    "and the same under [Rig2] for a second radio. Port may also be host:port of a rigctld.",
};

} // namespace

Tguidaomnirig::Tguidaomnirig(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("guidaomnirig"));
    setWindowTitle(QStringLiteral("Omnirig Cat Control Guide"));
    setFont(QFont(QStringLiteral("Segoe UI"), 9));
    resize(766, 665);
    if (QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());

    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setGeometry(0, 0, 766, 626);
    ScrollBox1->setWidgetResizable(false);
    ScrollBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ScrollBox1->viewport()->installEventFilter(this);

    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("ScrollBox1Content"));
    content->resize(746, 1030);

    const QStringList lines = guideLines();
    auto* Panel1 = panel(content, "Panel1", QRect(8, 8, 470, 298));
    for (int i = 0; i < 13; ++i)
        line(Panel1, i + 1, lines.at(i), 10, 6 + i * 22, 455, i == 0 || i == 2);

    auto* Label16 = new QLabel(QStringLiteral("sample image of Omnirig"), content);
    Label16->setObjectName(QStringLiteral("Label16"));
    Label16->setGeometry(488, 8, 250, 20);
    Label16->setAlignment(Qt::AlignCenter);
    auto* Image1 = new Picture(QStringLiteral(":/images/guide-rig-settings.svg"), content);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(488, 30, 250, 276);

    auto* Panel2 = panel(content, "Panel2", QRect(8, 314, 730, 54));
    line(Panel2, 14, lines.at(13), 10, 5, 715);
    line(Panel2, 15, lines.at(14), 10, 27, 715);

    auto* Image2 = new Picture(QStringLiteral(":/images/guide-cat-link.svg"), content);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setGeometry(113, 378, 520, 260);

    auto* Panel3 = panel(content, "Panel3", QRect(8, 650, 730, 226));
    auto* Label17 = new QLabel(QStringLiteral("Marvix Terminal on Linux"), Panel3);
    Label17->setObjectName(QStringLiteral("Label17"));
    Label17->setGeometry(10, 6, 300, 20);
    QFont bold = Label17->font();
    bold.setBold(true);
    Label17->setFont(bold);
    int top = 30;
    int number = 18;
    for (const char* text : kLinuxLines) {
        auto* l = line(Panel3, number++, QString::fromLatin1(text), 10, top, 715);
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
        top += 23;
    }
    content->resize(746, 886);
    ScrollBox1->setWidget(content);

    BitBtn1 = new QPushButton(QStringLiteral("Back to Terminal Window"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(288, 632, 190, 27);
    connect(BitBtn1, &QPushButton::clicked, this, &Tguidaomnirig::BitBtn1Click);

    ResizeKit1 = TResizeKit::attach(this, {766, 665, 96, 96});
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
