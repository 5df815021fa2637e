#include "windows/Tinfo.h"
#include "windows/DesignPlace.h"

#include "scaling/TResizeKit.h"

#include <QIcon>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

namespace {


} // namespace

// Design positions in pixels at 96 dpi; the client area is 805 x 763. The
// text fills the left part, the picture and the buttons stand on the right.
Tinfo::Tinfo(const InfoText::Facts& facts, const Hosts& hosts,
             std::function<void(const QUrl&)> openUrl, QWidget* parent)
    : QDialog(parent), m_hosts(hosts), m_openUrl(std::move(openUrl))
{
    setObjectName(QStringLiteral("info"));
    setWindowTitle(QStringLiteral("Info and Credits"));
    setModal(true);
    setFont(QFont(QStringLiteral("Segoe UI"), 9));
    resize(805, 763);

    Memo1 = place<QPlainTextEdit>(this, "Memo1", 8, 8, 600, 747);
    Memo1->setReadOnly(true);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setFont(QFont(QStringLiteral("Segoe UI"), 10));
    Memo1->setPlainText(InfoText::compose(facts));

    Image1 = place<QLabel>(this, "Image1", 641, 24, 128, 128);
    Image1->setPixmap(QIcon(QStringLiteral(":/images/app.svg")).pixmap(QSize(128, 128)));
    Image1->setAlignment(Qt::AlignCenter);

    Label1 = place<QLabel>(this, "Label1", 616, 160, 181, 40);
    Label1->setText(QStringLiteral("Marvix Terminal\nversion %1").arg(facts.version));
    Label1->setAlignment(Qt::AlignCenter);

    // The twenty blanks leave room for the picture.
    BitBtn2 = place<QPushButton>(this, "BitBtn2", 616, 606, 181, 41);
    BitBtn2->setText(QStringLiteral("                    Questions"));
    BitBtn2->setIcon(QIcon(QStringLiteral(":/images/mail.svg")));
    BitBtn2->setIconSize(QSize(24, 24));
    BitBtn2->setToolTip(QStringLiteral("Write to the program's support"));

    BitBtn4 = place<QPushButton>(this, "BitBtn4", 616, 655, 181, 41);
    BitBtn4->setText(QStringLiteral("Join our Telegram channel"));
    BitBtn4->setIcon(QIcon(QStringLiteral(":/images/channel.svg")));
    BitBtn4->setIconSize(QSize(24, 24));

    BitBtn3 = place<QPushButton>(this, "BitBtn3", 616, 714, 181, 41);
    BitBtn3->setText(QStringLiteral("Back to Terminal"));
    BitBtn3->setDefault(true);

    for (QPushButton* b : {BitBtn2, BitBtn4, BitBtn3})
        b->setCursor(Qt::PointingHandCursor);

    connect(BitBtn2, &QPushButton::clicked, this, &Tinfo::BitBtn2Click);
    connect(BitBtn3, &QPushButton::clicked, this, &Tinfo::BitBtn3Click);
    connect(BitBtn4, &QPushButton::clicked, this, &Tinfo::BitBtn4Click);

    ResizeKit1 = TResizeKit::attach(this, {805, 763, 96, 96});
}

void Tinfo::BitBtn2Click()
{
    open(m_hosts.supportMail);
}

void Tinfo::BitBtn4Click()
{
    open(m_hosts.channel);
}

void Tinfo::BitBtn3Click()
{
    close();
}

// Handed to the desktop; nothing is reported when no browser or mail program
// takes it, and an address that is not one is not handed on at all.
void Tinfo::open(const QString& address)
{
    const QUrl url = linkUrl(address);
    if (m_openUrl && !url.isEmpty())
        m_openUrl(url);
}

void Tinfo::showEvent(QShowEvent* event)
{
    if (QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
    QDialog::showEvent(event);
}
