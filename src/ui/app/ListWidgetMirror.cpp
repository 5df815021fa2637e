#include "app/ListWidgetMirror.h"

#include <QAbstractItemModel>
#include <QListWidget>

ListWidgetMirror::ListWidgetMirror(QAbstractItemModel* model, QListWidget* view, QList<int> roles)
    : QObject(view), m_model(model), m_view(view), m_roles(std::move(roles))
{
    connect(m_model, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex& parent, int first, int last) {
                if (!parent.isValid())
                    insertRows(first, last);
            });
    connect(m_model, &QAbstractItemModel::rowsRemoved, this,
            [this](const QModelIndex& parent, int first, int last) {
                if (!parent.isValid())
                    removeRows(first, last);
            });
    connect(m_model, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& topLeft, const QModelIndex& bottomRight) {
                if (!topLeft.parent().isValid())
                    updateRows(topLeft.row(), bottomRight.row());
            });
    // A move is rare in a list like this one: it is shown as a reset.
    connect(m_model, &QAbstractItemModel::rowsMoved, this, &ListWidgetMirror::reset);
    connect(m_model, &QAbstractItemModel::layoutChanged, this, &ListWidgetMirror::reset);
    connect(m_model, &QAbstractItemModel::modelReset, this, &ListWidgetMirror::reset);
    reset();
}

QListWidgetItem* ListWidgetMirror::makeItem(int row) const
{
    const QModelIndex index = m_model->index(row, 0);
    auto* item = new QListWidgetItem(m_model->data(index, Qt::DisplayRole).toString());
    for (int role : m_roles)
        item->setData(role, m_model->data(index, role));
    return item;
}

void ListWidgetMirror::insertRows(int first, int last)
{
    for (int row = first; row <= last; ++row)
        m_view->insertItem(row, makeItem(row));
}

void ListWidgetMirror::removeRows(int first, int last)
{
    for (int row = last; row >= first; --row)
        delete m_view->takeItem(row);
}

void ListWidgetMirror::updateRows(int first, int last)
{
    for (int row = first; row <= last && row < m_view->count(); ++row) {
        const QModelIndex index = m_model->index(row, 0);
        QListWidgetItem* item = m_view->item(row);
        item->setText(m_model->data(index, Qt::DisplayRole).toString());
        for (int role : m_roles)
            item->setData(role, m_model->data(index, role));
    }
}

void ListWidgetMirror::reset()
{
    m_view->clear();
    insertRows(0, m_model->rowCount() - 1);
}
