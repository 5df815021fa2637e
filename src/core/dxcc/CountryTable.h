#pragma once

#include "dxcc/CountryInfo.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringView>
#include <QtNumeric>

#include <optional>

// The country file cty.dat and the callsign-to-entity lookup on it.
//
// The file is a list of records, each a header of eight fields ended by
// colons and an alias list ended by a semicolon:
//
//   Sicily:                   15:  28:  EU:   37.50:   -14.00:    -1.0:  *IT9:
//       IB9,ID9,IE9,IF9,II9,IJ9,IO9,IQ9,IR9,IT9,IU9,IW9,IY9,=II0GDF/9,=II0OGB,
//       =IT9ZSB/LH,=IW0HBY/9;
//
// name, CQ zone, ITU zone, continent, latitude (north), longitude (WEST is
// positive: -14.00 is 14 degrees east), hours from UTC, primary prefix (a
// star: the entity counts for WAE/CQ but not for DXCC). An alias is a
// prefix, or with "=" a whole callsign; either may carry overrides of the
// record's values for itself alone:
//
//   W8(4)[7]  CQ zone 4, ITU zone 7      <12.5/-70.1>  latitude/longitude
//   {SA}      continent                  ~-4.0~        hours from UTC
//
// The file's edition is hidden in it as the whole call "=VER20230502".
class CountryTable
{
public:
    // Reads the text of a country file. Never fails: records that do not
    // read (a field that is no number, a zone out of range, a missing colon)
    // are left out and counted, and a file with no good record gives an
    // empty table.
    static CountryTable parse(const QByteArray& text);

    bool isEmpty() const { return m_entities.isEmpty(); }
    int entityCount() const { return int(m_entities.size()); }
    int skippedRecords() const { return m_skippedRecords; }
    int skippedAliases() const { return m_skippedAliases; }
    // The edition as "yyyymmdd", empty when the file names none.
    QString version() const { return m_version; }

    // The entity of a callsign as a cluster spot names it ("DL1XYZ/PA",
    // "K2ND/4", "EA8XYZ"); none for an unknown or malformed call and for a
    // station at sea or in the air (/MM, /AM).
    std::optional<CountryInfo> lookup(QStringView callsign) const;

private:
    struct Alias
    {
        int entity = -1;
        // Overrides; a negative zone, NaN position or empty continent means
        // "as the record says".
        qint16 cqZone = -1;
        qint16 ituZone = -1;
        double latitude = qQNaN();
        double longitudeWest = qQNaN();
        double utcOffset = qQNaN();
        QString continent;
    };

    bool parseRecord(QStringView record);
    bool parseAlias(QStringView token, int entity);
    CountryInfo resolve(const Alias& alias) const;
    const Alias* exactAlias(const QString& call) const;
    const Alias* longestPrefix(const QString& call, int maxLength) const;
    std::optional<CountryInfo> lookupHome(QString home, QChar areaDigit) const;

    QList<CountryInfo> m_entities;
    QHash<QString, Alias> m_exact;
    QHash<QString, Alias> m_prefixes;
    int m_longestPrefix = 0;
    int m_skippedRecords = 0;
    int m_skippedAliases = 0;
    QString m_version;
};
