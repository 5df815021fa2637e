#pragma once

#include "spots/BandPlan.h"

#include <QDateTime>
#include <QObject>
#include <QString>

#include <memory>

class ActiveDxFeed;
class ActiveDxModel;
class CountryFileUpdate;
class CountryTable;
class LogLoader;
struct SpotEvent;

// What the DX window shows, made with the main window: the country file read
// once (with the line the window says about it), the model of the stations
// active now with the locator, region and age limit of settings.ini, and the
// feed of the pipeline's spots into it, and the user's log of settings.ini,
// kept read by its loader, whose index gives each row its status. The window itself is made when it is first opened.
class ActiveDxStations : public QObject
{
    Q_OBJECT
public:
    // programDir holds settings.ini and may hold a cty.dat of its own.
    explicit ActiveDxStations(const QString& programDir, QObject* parent = nullptr);
    ~ActiveDxStations() override;

    ActiveDxModel* model() const { return m_model; }
    // The user's log; its index reaches the model by itself.
    LogLoader* log() const { return m_log; }
    // "Update country file": a newer edition put in place is read at once
    // and used by the model and the log (countriesChanged).
    CountryFileUpdate* countryUpdate() const { return m_update; }
    // Never null; empty without a country file.
    const std::shared_ptr<const CountryTable>& countries() const { return m_countries; }
    //   "Country file cty.dat of 2023-05-02 (/usr/share/hamradio-files/cty.dat)"
    // or why there is none, then a line for each copy passed over.
    const QString& countryFileLine() const { return m_countryFileLine; }

    // The IARU region of settings.ini, for the band plan.
    BandPlan::Region region() const { return m_region; }

    // A spot from the pipeline.
    void feed(const SpotEvent& event);
    // The window is open: the waiting spots go in, and each spot from now on.
    void setLive(bool live);

signals:
    // A newer country file is in use, with the line about it.
    void countriesChanged(const std::shared_ptr<const CountryTable>& countries,
                          const QString& line);

private:
    void readCountries();

    QString m_programDir;
    CountryFileUpdate* m_update;
    ActiveDxModel* m_model;
    LogLoader* m_log;
    std::shared_ptr<const CountryTable> m_countries;
    QString m_countryFileLine;
    BandPlan::Region m_region = BandPlan::Region::One;
    std::unique_ptr<ActiveDxFeed> m_feed;
};
