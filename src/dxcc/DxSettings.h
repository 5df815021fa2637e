#pragma once

#include <QByteArray>
#include <QString>

// The DX window's keys in the program's settings files:
//
//   settings.ini                settings2.ini
//   [Station]                   [DxWindow]
//   Locator=JO31lk              Continent=EU
//   [DxWindow]                  Mode=CW
//   MaxAgeMinutes=30            Filter=3Y0
//                               Geometry=AdnQywADAAAAAAH...
//
// The locator and the age limit are the user's station settings; the
// window's choices are kept beside the terminal font.
class DxSettings
{
public:
    explicit DxSettings(QString programDir);

    // The stored locator when it is a valid one, else empty.
    QString locator() const;
    bool saveLocator(const QString& locator, QString* error = nullptr) const;

    // Minutes a station stays without a new spot: 30 unless set; values
    // below 1 or above a day are taken as the nearest bound.
    int maxAgeMinutes() const;

    QString continent() const; // "" for all
    QString mode() const;      // "CW", "Phone", "Digital" or "" for all
    QString filterText() const;
    QByteArray geometry() const;
    bool saveChoices(const QString& continent, const QString& mode, const QString& filterText,
                     const QByteArray& geometry) const;

private:
    QString m_programDir;
};
