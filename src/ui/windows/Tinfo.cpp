#include "windows/Tinfo.h"
#include "ui_Tinfo.h"

#include "scaling/TResizeKit.h"
#include "windows/DesignWindow.h"

#include <QIcon>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

// The client area at 96 dpi (the form, Tinfo.ui, holds every position): the
// text fills the left part, the picture and the buttons stand on the right.
constexpr QSize kInfoSize(805, 763);

} // namespace

Tinfo::Tinfo(const InfoText::Facts& facts, const Hosts& hosts,
             std::function<void(const QUrl&)> openUrl, QWidget* parent)
    : QDialog(parent), m_hosts(hosts), m_openUrl(std::move(openUrl))
{
    DesignWindow::setUp(this, kInfoSize, DesignWindow::Placement::CentreOnShow);
    Ui::Tinfo form;
    form.setupUi(this);
    Memo1 = form.Memo1;
    Image1 = form.Image1;
    Label1 = form.Label1;
    BitBtn2 = form.BitBtn2;
    BitBtn3 = form.BitBtn3;
    BitBtn4 = form.BitBtn4;

    Memo1->setPlainText(InfoText::compose(facts));
    Image1->setPixmap(QIcon(QStringLiteral(":/images/app.svg")).pixmap(QSize(128, 128)));
    Label1->setText(QStringLiteral("Marvix Terminal\nversion %1").arg(facts.version));

    connect(BitBtn2, &QPushButton::clicked, this, &Tinfo::BitBtn2Click);
    connect(BitBtn3, &QPushButton::clicked, this, &Tinfo::BitBtn3Click);
    connect(BitBtn4, &QPushButton::clicked, this, &Tinfo::BitBtn4Click);

    ResizeKit1 = DesignWindow::attachScaling(this, kInfoSize);
}

void Tinfo::BitBtn2Click()
{
    openAddress(m_hosts.supportMail);
}

void Tinfo::BitBtn4Click()
{
    openAddress(m_hosts.channel);
}

void Tinfo::BitBtn3Click()
{
    close();
}

// Handed to the desktop; nothing is reported when no browser or mail program
// takes it, and an address that is not one is not handed on at all.
void Tinfo::openAddress(const QString& address)
{
    const QUrl url = linkUrl(address);
    if (m_openUrl && !url.isEmpty())
        m_openUrl(url);
}

void Tinfo::showEvent(QShowEvent* event)
{
    DesignWindow::centre(this);
    QDialog::showEvent(event);
}
