#include "scaling/ControlRegistry.h"

TCtrlInfo* ControlRegistry::find(const QString& name, int occurrence)
{
    for (TCtrlInfo& e : m_entries) {
        if (e.Name == name && occurrence-- == 0)
            return &e;
    }
    return nullptr;
}

int ControlRegistry::count(const QString& name) const
{
    int n = 0;
    for (const TCtrlInfo& e : m_entries)
        n += e.Name == name ? 1 : 0;
    return n;
}

int ControlRegistry::removeMissing(const QHash<QString, int>& liveNames)
{
    QHash<QString, int> seen;
    int removed = 0;
    // Walking forward and keeping the first live-count entries of each name
    // removes the last ones.
    for (qsizetype i = 0; i < m_entries.size();) {
        const QString& name = m_entries[i].Name;
        if (++seen[name] > liveNames.value(name, 0)) {
            m_entries.removeAt(i);
            ++removed;
        } else {
            ++i;
        }
    }
    return removed;
}

QString ControlRegistry::addedName(int n)
{
    return QStringLiteral("RKitAdd%1").arg(n, 4, 10, QLatin1Char('0'));
}

TCtrlInfo ControlRegistry::lateEntry(const QString& name, const QRect& current,
                                     std::optional<int> fontSize, bool parentFont,
                                     const ScaleMath::Factors& last)
{
    TCtrlInfo e;
    e.Name = name;
    e.reference = ScaleMath::referenceFromCurrent(current, last.x, last.y);
    e.old = current;
    if (fontSize) {
        e.hasFont = true;
        e.fontSize = ScaleMath::referenceFromCurrent(*fontSize, last.font);
        e.OldFontSize = *fontSize;
        e.ParentFont = parentFont;
        e.OrgParentFont = parentFont;
    }
    return e;
}
