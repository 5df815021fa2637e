#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>

#include <memory>

class ActiveDxFeed;
class ActiveDxModel;
class CountryTable;

// What the DX window shows, made with the main window: the country file read
// once (with the line the window says about it), the model of the stations
// active now with the locator and age limit of settings.ini, and the feed of
// shown lines into it. The window itself is made when it is first opened.
class ActiveDxStations : public QObject
{
    Q_OBJECT
public:
    // programDir holds settings.ini and may hold a cty.dat of its own.
    explicit ActiveDxStations(const QString& programDir, QObject* parent = nullptr);
    ~ActiveDxStations() override;

    ActiveDxModel* model() const { return m_model; }
    // Never null; empty without a country file.
    const std::shared_ptr<const CountryTable>& countries() const { return m_countries; }
    //   "Country file cty.dat of 2023-05-02 (/usr/share/hamradio-files/cty.dat)"
    // or why there is none, then a line for each copy passed over.
    const QString& countryFileLine() const { return m_countryFileLine; }

    // A line the main window has shown; dxpedition when the live check had
    // it as a hit.
    void feed(const QString& line, const QDateTime& nowUtc, bool dxpedition);
    // The window is open: the waiting lines go in, and each line from now on.
    void setLive(bool live);

private:
    ActiveDxModel* m_model;
    std::shared_ptr<const CountryTable> m_countries;
    QString m_countryFileLine;
    std::unique_ptr<ActiveDxFeed> m_feed;
};
