#pragma once

#include "spots/BandFilter.h"

#include <QColor>
#include <QFrame>

#include <array>

class BandPanel;
class QPushButton;

// The band strip "Panel11": the twelve band panels and the "All Red" and
// "All Green" buttons. It shows the BandFilter it is given and forwards
// clicks; the filter is the only holder of the band states.
class BandStrip : public QFrame
{
    Q_OBJECT
public:
    explicit BandStrip(BandFilter& filter, QWidget* parent = nullptr);
    // A strip for a form: it shows a filter of its own (every band on) until
    // it is given the one to show.
    explicit BandStrip(QWidget* parent = nullptr);

    // The filter to show and toggle from now on; it must outlive the strip.
    void setFilter(BandFilter& filter);

    // Makes every panel show exactly the filter's state again (call it after
    // changing the filter from outside).
    void refresh();

    BandPanel* panel(BandFilter::Band band) const { return m_panels[BandFilter::indexOf(band)]; }
    QColor captionColor(BandFilter::Band band) const;
    QPushButton* allRedButton() const { return m_allRed; }
    QPushButton* allGreenButton() const { return m_allGreen; }

    static QColor onColor();
    static QColor offColor();

signals:
    // A band panel was clicked; the filter has already been toggled.
    void bandToggled(BandFilter::Band band);
    void allRedClicked();
    void allGreenClicked();

private:
    void build();

    BandFilter m_ownFilter;
    BandFilter* m_filter = &m_ownFilter;
    std::array<BandPanel*, BandFilter::BandCount> m_panels{};
    QPushButton* m_allRed = nullptr;
    QPushButton* m_allGreen = nullptr;
};
