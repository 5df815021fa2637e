#include "windows/StillRows.h"

#include <QAbstractItemModel>
#include <QEvent>
#include <QItemSelectionModel>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTableView>

StillRows::StillRows(QTableView* table, KeyOf keyOf, IndexOf indexOf)
    : QObject(table), m_table(table), m_viewport(table->viewport()), m_keyOf(std::move(keyOf)),
      m_indexOf(std::move(indexOf))
{
    // Whole pixels, so that a shift of any height can be taken back.
    m_table->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_viewport->setMouseTracking(true);
    m_viewport->installEventFilter(this);

    // Connected after the view's own handlers, which have laid out the rows
    // anew by the time restore() looks at them.
    QAbstractItemModel* model = m_table->model();
    connect(model, &QAbstractItemModel::layoutAboutToBeChanged, this, &StillRows::remember);
    connect(model, &QAbstractItemModel::layoutChanged, this, &StillRows::restore);
    connect(model, &QAbstractItemModel::rowsAboutToBeInserted, this, &StillRows::remember);
    connect(model, &QAbstractItemModel::rowsInserted, this, &StillRows::restore);
    connect(model, &QAbstractItemModel::rowsAboutToBeRemoved, this, &StillRows::remember);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &StillRows::restore);
    connect(model, &QAbstractItemModel::modelAboutToBeReset, this, &StillRows::remember);
    connect(model, &QAbstractItemModel::modelReset, this, &StillRows::restore);
    connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &StillRows::selectionMoved);
}

QModelIndex StillRows::pressedIndex() const
{
    return m_pressedKey.isEmpty() ? QModelIndex() : m_indexOf(m_pressedKey);
}

bool StillRows::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_viewport) {
        switch (event->type()) {
        case QEvent::MouseMove:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
            m_pointer = at;
            if (event->type() != QEvent::MouseMove)
                m_pressedKey = m_keyOf(m_table->indexAt(at));
            break;
        }
        case QEvent::Leave:
            m_pointer.reset();
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

// The user chose a row (or the view moved the selection with the rows):
// only the user's choices count.
void StillRows::selectionMoved()
{
    if (m_restoring)
        return;
    const QModelIndexList rows = m_table->selectionModel()->selectedRows();
    m_selectedKey = rows.isEmpty() ? QString() : m_keyOf(rows.first());
}

void StillRows::remember()
{
    m_anchorKey.clear();
    QModelIndex anchor;
    if (m_pointer)
        anchor = m_table->indexAt(*m_pointer);
    if (!anchor.isValid() && !m_selectedKey.isEmpty()) {
        const QModelIndex selected = m_indexOf(m_selectedKey);
        if (selected.isValid() &&
            m_table->visualRect(selected).intersects(m_table->viewport()->rect()))
            anchor = selected;
    }
    if (!anchor.isValid())
        return;
    m_anchorKey = m_keyOf(anchor);
    m_anchorTop = m_table->visualRect(anchor).top();
}

void StillRows::restore()
{
    m_restoring = true;
    if (!m_selectedKey.isEmpty()) {
        const QModelIndex selected = m_indexOf(m_selectedKey);
        QItemSelectionModel* selection = m_table->selectionModel();
        const QModelIndexList now = selection->selectedRows();
        const bool same =
            !now.isEmpty() && selected.isValid() && now.first().row() == selected.row();
        if (!selected.isValid()) {
            // The station went: nothing else takes its place in the selection.
            if (!now.isEmpty())
                selection->clearSelection();
            m_selectedKey.clear();
        } else if (!same) {
            selection->setCurrentIndex(selected, QItemSelectionModel::ClearAndSelect |
                                                     QItemSelectionModel::Rows);
        }
    }
    if (!m_anchorKey.isEmpty()) {
        const QModelIndex anchor = m_indexOf(m_anchorKey);
        if (anchor.isValid()) {
            const int shift = m_table->visualRect(anchor).top() - m_anchorTop;
            if (shift != 0) {
                QScrollBar* bar = m_table->verticalScrollBar();
                // The view sets the scroll range once it lays itself out again;
                // until then the range may still be the one before the rows came.
                const int wanted = bar->value() + shift;
                if (wanted > bar->maximum())
                    bar->setMaximum(wanted);
                bar->setValue(wanted);
            }
        }
        m_anchorKey.clear();
    }
    m_restoring = false;
}
