#pragma once

#include "spots/BandPlan.h"

#include <QByteArray>
#include <QString>

#include <QList>

#include <optional>

// The DX window's keys in the program's settings files:
//
//   settings.ini                settings2.ini
//   [Station]                   [DxWindow]
//   Locator=JO31lk              Continent=EU
//   Region=1
//   [DxWindow]                  Mode=CW
//   MaxAgeMinutes=30            Filter=3Y0
//                               Geometry=AdnQywADAAAAAAH...
//                               ColumnWidths=50,70,90,180,...
//                               SizedColumns=3
//                               SortColumn=9
//                               SortDescending=1
//                               Locator=JO31lk
//
// The locator and the age limit are the user's station settings; the
// window's choices are kept beside the terminal font. The locator is kept
// in both files: settings.ini is where the user writes it by hand, and a
// settings.ini written afresh (as the demo does at each start) must not
// lose it. The columns are plain numbers, not a header's saved state: a
// damaged state can hold the window in a loop as it opens.
class DxSettings
{
public:
    explicit DxSettings(QString programDir);

    // The stored locator when it is a valid one, else empty: settings.ini's
    // when it holds one, else settings2.ini's.
    QString locator() const;
    // Into both files; error tells of settings.ini's write first.
    bool saveLocator(const QString& locator, QString* error = nullptr) const;

    // The IARU region of `[Station] Region=` (1, 2 or 3), Region 1 for
    // anything else: the band plan every spot is placed by.
    BandPlan::Region region() const;

    // Minutes a station stays without a new spot: 30 unless set; values
    // below 1 or above a day are taken as the nearest bound.
    int maxAgeMinutes() const;

    QString continent() const; // "" for all
    QString mode() const;      // "CW", "Phone", "Digital" or "" for all
    QString filterText() const;
    QByteArray geometry() const;
    // The widths of the table's columns from the first, as many as were
    // kept (each within MinColumnWidth and MaxColumnWidth).
    QList<int> columnWidths() const;
    // The columns whose width the user set (the others fit their contents).
    QList<int> sizedColumns() const;
    struct Sort
    {
        int column = 0;
        bool descending = true;
    };
    std::optional<Sort> sort() const;

    static constexpr int MinColumnWidth = 16;
    static constexpr int MaxColumnWidth = 2000;

    struct Choices
    {
        QString continent;
        QString mode;
        QString filterText;
        QByteArray geometry;
        QList<int> columnWidths;
        QList<int> sizedColumns;
        Sort sort;
    };
    bool saveChoices(const Choices& choices) const;

private:
    QString m_programDir;
};
