#include "spots/BandStrip.h"

#include "settings/DesignLook.h"
#include "settings/ThemeExemptions.h"
#include "spots/BandPanel.h"

#include <QPushButton>

namespace {

struct PanelPlace
{
    int left;
    int width;
};

// Positions on the strip at 96 dpi; every panel is 17 high at top 2.
constexpr std::array<PanelPlace, BandFilter::BandCount> kPlaces{{
    {5, 25},
    {36, 25},
    {67, 25},
    {98, 25},
    {129, 25},
    {160, 25},
    {191, 25},
    {222, 25},
    {253, 25},
    {284, 23},
    {313, 23},
    {342, 45},
}};

} // namespace

BandStrip::BandStrip(BandFilter& filter, QWidget* parent) : QFrame(parent), m_filter(&filter)
{
    build();
}

BandStrip::BandStrip(QWidget* parent) : QFrame(parent)
{
    build();
}

void BandStrip::setFilter(BandFilter& filter)
{
    m_filter = &filter;
    refresh();
}

QColor BandStrip::onColor()
{
    return QColor::fromRgb(DesignLook::kLime);
}

QColor BandStrip::offColor()
{
    return QColor::fromRgb(DesignLook::kRed);
}

void BandStrip::build()
{
    setObjectName(QStringLiteral("Panel11"));
    setFrameShape(QFrame::NoFrame);
    resize(502, 21);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor::fromRgb(DesignLook::kStripBackground));
    setPalette(pal);
    setStyleSheet(ThemeExemptions::bandStripSheet());

    for (BandFilter::Band band : BandFilter::bands()) {
        const int i = BandFilter::indexOf(band);
        auto* p = new BandPanel(BandFilter::caption(band), this);
        p->setObjectName(BandFilter::panelName(band));
        p->setGeometry(kPlaces[i].left, 2, kPlaces[i].width, 17);
        connect(p, &BandPanel::clicked, this, [this, band] {
            m_filter->toggle(band);
            refresh();
            emit bandToggled(band);
        });
        m_panels[i] = p;
    }

    m_allRed = new QPushButton(QStringLiteral("All Red"), this);
    m_allRed->setObjectName(QStringLiteral("BitBtn8"));
    m_allRed->setGeometry(394, 3, 49, 16);
    connect(m_allRed, &QPushButton::clicked, this, &BandStrip::allRedClicked);

    m_allGreen = new QPushButton(QStringLiteral("All Green"), this);
    m_allGreen->setObjectName(QStringLiteral("BitBtn9"));
    m_allGreen->setGeometry(445, 3, 53, 16);
    connect(m_allGreen, &QPushButton::clicked, this, &BandStrip::allGreenClicked);

    refresh();
}

void BandStrip::refresh()
{
    for (BandFilter::Band band : BandFilter::bands()) {
        const QColor wanted = m_filter->isOn(band) ? onColor() : offColor();
        BandPanel* p = m_panels[BandFilter::indexOf(band)];
        if (p->captionColor() != wanted)
            p->setCaptionColor(wanted);
    }
}

QColor BandStrip::captionColor(BandFilter::Band band) const
{
    return m_panels[BandFilter::indexOf(band)]->captionColor();
}
