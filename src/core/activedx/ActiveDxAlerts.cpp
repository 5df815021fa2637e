#include "activedx/ActiveDxAlerts.h"

#include <QTimer>

ActiveDxAlerts::ActiveDxAlerts(QAbstractItemModel* log, int maxLines, QObject* parent)
    : QAbstractListModel(parent), m_log(log), m_batch(new QTimer(this)),
      m_ring(size_t(qMax(1, maxLines)))
{
    m_batch->setSingleShot(true);
    m_batch->setInterval(BatchMs);
    connect(m_batch, &QTimer::timeout, this, &ActiveDxAlerts::takeNew);
    copyTail(m_log->rowCount());
    connect(m_log, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex& parent, int first, int last) {
                if (parent.isValid())
                    return;
                m_waiting += last - first + 1;
                if (!m_batch->isActive())
                    m_batch->start();
            });
    // A log that starts afresh is listed afresh.
    connect(m_log, &QAbstractItemModel::modelReset, this, [this] {
        m_batch->stop();
        m_waiting = 0;
        beginResetModel();
        m_first = 0;
        m_count = 0;
        endResetModel();
        copyTail(m_log->rowCount());
    });
}

int ActiveDxAlerts::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_count;
}

const QString& ActiveDxAlerts::lineAt(int row) const
{
    return m_ring[size_t((m_first + row) % int(m_ring.size()))];
}

QVariant ActiveDxAlerts::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_count || index.column() != 0)
        return {};
    if (role == Qt::DisplayRole)
        return lineAt(index.row());
    return {};
}

void ActiveDxAlerts::takeNew()
{
    m_batch->stop();
    const int count = std::exchange(m_waiting, 0);
    if (count > 0)
        copyTail(count);
}

// The log's last news rows (those still there) go in after the listed ones;
// the oldest listed ones make room first.
void ActiveDxAlerts::copyTail(int news)
{
    const int capacity = int(m_ring.size());
    const int available = m_log->rowCount();
    const int count = qMin(qMin(news, available), capacity);
    if (count <= 0)
        return;
    const int drop = qMax(0, m_count + count - capacity);
    if (drop > 0) {
        beginRemoveRows({}, 0, drop - 1);
        for (int r = 0; r < drop; ++r)
            m_ring[size_t((m_first + r) % capacity)].clear();
        m_first = (m_first + drop) % capacity;
        m_count -= drop;
        endRemoveRows();
    }
    beginInsertRows({}, m_count, m_count + count - 1);
    for (int i = 0; i < count; ++i) {
        const int from = available - count + i;
        m_ring[size_t((m_first + m_count + i) % capacity)] =
            m_log->index(from, 0).data().toString();
    }
    m_count += count;
    endInsertRows();
    emit linesAdded(news, lineAt(m_count - 1));
}
