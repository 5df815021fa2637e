#pragma once

#include "livecheck/LiveCheck.h"
#include "pipeline/SpotEvent.h"
#include "spots/SpotReader.h"

#include <QDateTime>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class BandFilter;
class CountryTable;
class LiveCheckBook;

// Every line the session hands out goes through here, once:
//
//   DX de W3LPL:     21021.0  3Y0K         CW 579 up 2                    0712Z
//
// First the panes' own path, exactly as the window has always taken it:
// the line is cleaned, the band filter judges its fixed columns, the live
// check looks its callsign up (the calendar list, then the DXpedition
// list), and the result is either dropped, shown (lineShown) or a hit
// (hitFound). Then, for the views beyond the panes, the line is read once
// by its words into a Spot, its country, bearing and distance are found
// once, and the one SpotEvent goes to every consumer (spotRead) - also
// when the band filter dropped the line from the pane, unless the user
// switched its band off: a spot on 1822.0 kHz reaches the DX window while
// 160 m is on, though the pane's 160 m window (1830-1850) drops it.
class SpotPipeline : public QObject
{
    Q_OBJECT
public:
    struct Setup
    {
        const LiveCheckBook* book = nullptr; // the live check's lists
        const BandFilter* bands = nullptr;   // the band strip's states
        std::shared_ptr<const CountryTable> countries; // may be null
        BandPlan::Region region = BandPlan::Region::One;
        std::function<QDateTime()> nowUtc;
    };

    explicit SpotPipeline(Setup setup, QObject* parent = nullptr);

    // The user's locator for bearing and distance; empty for none.
    // A newer country file: the spots from now on are placed by it.
    void setCountries(std::shared_ptr<const CountryTable> countries)
    {
        m_setup.countries = std::move(countries);
    }
    void setLocator(const QString& locator) { m_locator = locator; }

    // One line as the session hands it out; liveCheckOn is livecliccato.
    void takeLine(const QString& line, bool liveCheckOn);

signals:
    // The pane's normal path: the working copy to show in the terminal pane.
    void lineShown(const QString& stringaricevuta);
    // The pane's hit path: the working copy and the list entry of the hit.
    void hitFound(const QString& stringaricevuta, const QString& resultString);
    // A spot for the views and rules beyond the panes, after the pane's path.
    // The reference holds for the emit only; a consumer that keeps it copies
    // it (its texts are shared, not copied).
    void spotRead(const SpotEvent& event, bool hit);

private:
    // The match checks of the design: the calendar list, the DXpedition list.
    LiveCheck::Result verifica(const QString& stringaricevuta) const;
    LiveCheck::Result verifica2(const QString& stringaricevuta) const;

    Setup m_setup;
    SpotReader m_reader;
    QString m_locator;
};
