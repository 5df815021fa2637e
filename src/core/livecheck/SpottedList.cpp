#include "livecheck/SpottedList.h"

#include "livecheck/CallsignIndex.h"

SpottedList::SpottedList(QObject* parent) : QAbstractListModel(parent) {}

bool SpottedList::listedBefore(const QString& resultString) const
{
    const QString folded = CallsignIndex::fold(resultString);
    for (const QString& listed : PrintedResults) {
        if (CallsignIndex::fold(listed) == folded)
            return true;
    }
    return false;
}

bool SpottedList::PopulateListView(const QString& resultString)
{
    if (listedBefore(resultString))
        return false;
    PrintedResults.append(resultString);
    if (m_items.size() >= kMaxItems) {
        const int last = int(m_items.size()) - 1;
        beginRemoveRows(QModelIndex(), last, last);
        m_items.removeLast();
        m_links.removeLast();
        endRemoveRows();
    }
    AddListViewItem(resultString, lookupLink(m_lookupBase, resultString));
    return true;
}

void SpottedList::AddListViewItem(const QString& value, const QUrl& link)
{
    beginInsertRows(QModelIndex(), 0, 0);
    m_items.prepend(value);
    m_links.prepend(link);
    endInsertRows();
}

int SpottedList::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_items.size());
}

QVariant SpottedList::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_items.size())
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
        return m_items.at(index.row());
    case kTagRole:
        return m_links.at(index.row()).isEmpty() ? 0 : 1;
    case kLinkRole:
        return m_links.at(index.row());
    default:
        return QVariant();
    }
}

QUrl SpottedList::lookupLink(const QString& base, const QString& callsign)
{
    // A URL keeps "-._~" as they are, whatever the encoding, so a path step
    // "." or ".." would climb out of the lookup folder: such a word gets no
    // link at all. No callsign has one.
    for (const QString& step : callsign.split(QLatin1Char('/'))) {
        if (step == QLatin1String(".") || step == QLatin1String(".."))
            return QUrl();
    }
    const QByteArray encoded = QUrl::toPercentEncoding(callsign, "/");
    QUrl url(base);
    url.setPath(url.path(QUrl::FullyEncoded) + QString::fromLatin1(encoded), QUrl::StrictMode);
    return url;
}
