#include "scaling/NameList.h"

NameList::NameList(const QString& text)
{
    m_items = text.split(QLatin1Char(';'));
    if (m_items.last().isEmpty())
        m_items.removeLast();
}

bool NameList::contains(const QString& name) const
{
    return m_items.contains(name, Qt::CaseInsensitive);
}
