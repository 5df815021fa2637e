#pragma once

#include <QList>
#include <QObject>

class QAbstractItemModel;
class QListWidget;
class QListWidgetItem;

// Keeps a list widget showing a one-column list model, row for row: each
// item's text is the row's display text, and it carries the row's data under
// the roles given. The model stays the one truth; the widget keeps its item
// API and its accessible tree. A row the model inserts or removes is
// inserted or removed in the widget, a changed row is updated, and nothing
// else is touched.
class ListWidgetMirror : public QObject
{
    Q_OBJECT
public:
    // Lives as long as the widget; the model must outlive neither.
    ListWidgetMirror(QAbstractItemModel* model, QListWidget* view, QList<int> roles);

private:
    QListWidgetItem* makeItem(int row) const;
    void insertRows(int first, int last);
    void removeRows(int first, int last);
    void updateRows(int first, int last);
    void reset();

    QAbstractItemModel* m_model;
    QListWidget* m_view;
    QList<int> m_roles;
};
