#include "activedx/ActiveDxFilter.h"

#include "activedx/ActiveDxModel.h"

ActiveDxFilter::ActiveDxFilter(QObject* parent) : QSortFilterProxyModel(parent)
{
    m_bands.fill(true);
    setSortRole(ActiveDxModel::SortRole);
    setDynamicSortFilter(true);
}

void ActiveDxFilter::setBandStates(const BandFilter::States& states)
{
    if (states == m_bands)
        return;
    m_bands = states;
    invalidateFilter();
}

void ActiveDxFilter::setContinent(const QString& continent)
{
    if (continent == m_continent)
        return;
    m_continent = continent;
    invalidateFilter();
}

void ActiveDxFilter::setModeGroup(std::optional<SpotMode::Group> group)
{
    if (group == m_group)
        return;
    m_group = group;
    invalidateFilter();
}

void ActiveDxFilter::setText(const QString& text)
{
    const QString t = text.trimmed();
    if (t == m_text)
        return;
    m_text = t;
    invalidateFilter();
}

void ActiveDxFilter::setNeededOnly(bool neededOnly)
{
    if (neededOnly == m_neededOnly)
        return;
    m_neededOnly = neededOnly;
    invalidateFilter();
}

bool ActiveDxFilter::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const
{
    const QAbstractItemModel* m = sourceModel();
    const QModelIndex first = m->index(sourceRow, 0, sourceParent);
    const int band = m->data(first, ActiveDxModel::BandRole).toInt();
    if (band < 0 || band >= BandFilter::BandCount || !m_bands[band])
        return false;
    if (!m_continent.isEmpty() && m->data(first, ActiveDxModel::ContinentRole).toString() != m_continent)
        return false;
    if (m_group && m->data(first, ActiveDxModel::ModeGroupRole).toInt() != int(*m_group))
        return false;
    // The model has a Status column only while there is a log.
    if (m_neededOnly && m->columnCount(sourceParent) > ActiveDxModel::Status
        && !m->data(first, ActiveDxModel::NeededRole).toBool())
        return false;
    if (!m_text.isEmpty()) {
        for (int column : {ActiveDxModel::Dx, ActiveDxModel::Entity, ActiveDxModel::Comment}) {
            if (m->data(m->index(sourceRow, column, sourceParent)).toString().contains(
                    m_text, Qt::CaseInsensitive))
                return true;
        }
        return false;
    }
    return true;
}
