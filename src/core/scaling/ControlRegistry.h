#pragma once

#include "scaling/ScaleMath.h"
#include "scaling/TCtrlInfo.h"

#include <QHash>
#include <QList>
#include <QString>

#include <optional>

// The registry of a window's controls, keyed by name. Two controls may share
// a name, so the n-th control of a name belongs to the n-th entry of it.
class ControlRegistry
{
public:
    TCtrlInfo* find(const QString& name, int occurrence = 0);
    int count(const QString& name) const;
    void add(const TCtrlInfo& entry) { m_entries.append(entry); }
    const QList<TCtrlInfo>& entries() const { return m_entries; }

    // Drops the entries of controls that are gone: for each name, the entries
    // beyond the number of live controls of that name, the last ones first.
    // Returns how many were removed.
    int removeMissing(const QHash<QString, int>& liveNames);

    // The name given to the n-th control registered without one: RKitAdd0001.
    static QString addedName(int n);

    // An entry for a control met after load, from what it shows now, taken
    // back to factor 1.0 with the factors of the last pass. fontSize is
    // empty for a control without a font.
    static TCtrlInfo lateEntry(const QString& name, const QRect& current,
                               std::optional<int> fontSize, bool parentFont,
                               const ScaleMath::Factors& last);

private:
    QList<TCtrlInfo> m_entries;
};
