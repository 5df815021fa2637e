#pragma once

#include "dxcc/SpotMode.h"
#include "spots/BandFilter.h"

#include <QSortFilterProxyModel>
#include <QString>

#include <optional>

// What the DX window shows of the active stations: the bands the band
// filter lets through, one continent or all, one mode group or all, and the
// rows whose callsign, entity or comment hold a text, and, with a log, the
// rows the user still needs only (New one, New band, New mode, New slot). Sorted by the
// columns' numbers, not their texts ("9" before "10").
class ActiveDxFilter : public QSortFilterProxyModel
{
    Q_OBJECT
public:
    explicit ActiveDxFilter(QObject* parent = nullptr);

    void setBandStates(const BandFilter::States& states);
    void setContinent(const QString& continent); // "EU"; empty: all
    void setModeGroup(std::optional<SpotMode::Group> group); // none: all
    void setText(const QString& text);
    // Without a log it lets every row pass: no row has a status.
    void setNeededOnly(bool neededOnly);

    QString continent() const { return m_continent; }
    std::optional<SpotMode::Group> modeGroup() const { return m_group; }
    QString text() const { return m_text; }
    bool neededOnly() const { return m_neededOnly; }

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    BandFilter::States m_bands;
    QString m_continent;
    std::optional<SpotMode::Group> m_group;
    QString m_text;
    bool m_neededOnly = false;
};
