#include "app/ListWidgetMirror.h"
#include "livecheck/SpottedList.h"

#include <QAccessible>
#include <QApplication>
#include <QListWidget>
#include <QStringListModel>
#include <QtTest>

namespace {

// What a list widget holds, row by row: each item's text, tag and link.
QStringList shown(const QListWidget& view)
{
    QStringList rows;
    for (int i = 0; i < view.count(); ++i) {
        const QListWidgetItem* item = view.item(i);
        rows << QStringLiteral("%1 %2 %3")
                    .arg(item->text())
                    .arg(item->data(SpottedList::kTagRole).toInt())
                    .arg(item->data(SpottedList::kLinkRole).toUrl().toString());
    }
    return rows;
}

// The rows as a screen reader reads them. (Asked once per widget: without a
// screen reader running, as here, the list does not tell its accessible
// table of later changes, so a cell read earlier would be stale.)
QStringList readAloud(QListWidget& view)
{
    QStringList rows;
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(&view);
    for (int i = 0; i < view.count(); ++i) {
        QAccessibleInterface* cell = list->tableInterface()->cellAt(i, 0);
        rows << (cell ? cell->text(QAccessible::Name) : QStringLiteral("(unread)"));
    }
    return rows;
}

QStringList modelRows(const SpottedList& list)
{
    QStringList rows;
    for (int row = 0; row < list.rowCount(); ++row) {
        const QModelIndex i = list.index(row);
        rows << QStringLiteral("%1 %2 %3")
                    .arg(i.data().toString())
                    .arg(i.data(SpottedList::kTagRole).toInt())
                    .arg(i.data(SpottedList::kLinkRole).toUrl().toString());
    }
    return rows;
}

} // namespace

class TestSpottedView : public QObject
{
    Q_OBJECT
private slots:
    void widgetShowsTheSpottedRows();
    void widgetFollowsAnyListModel();
};

// The main window's list is a list widget kept row for row with the spotted
// list: thirteen hits and a repeat leave the twelve newest, each readable
// with its link; a widget attached late starts with what is there.
void TestSpottedView::widgetShowsTheSpottedRows()
{
    SpottedList list;
    list.setLookupBase("https://www.qrz.com/db/");
    QListWidget view;
    new ListWidgetMirror(&list, &view, {SpottedList::kTagRole, SpottedList::kLinkRole});
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    list.PopulateListView("VP2M/W1AW");
    list.PopulateListView("../x");
    QCOMPARE(shown(view), (QStringList{"../x 0 ", "VP2M/W1AW 1 https://www.qrz.com/db/VP2M/W1AW"}));
    for (int i = 1; i <= 12; ++i)
        list.PopulateListView(QStringLiteral("Q%1AA").arg(i));
    list.PopulateListView("q3aa");
    QCOMPARE(view.count(), SpottedList::kMaxItems);
    QCOMPARE(view.item(0)->text(), QString("Q12AA"));
    QCOMPARE(view.item(11)->text(), QString("Q1AA"));
    QCOMPARE(shown(view), modelRows(list));
    QCOMPARE(readAloud(view), list.items());

    QListWidget late;
    new ListWidgetMirror(&list, &late, {SpottedList::kTagRole, SpottedList::kLinkRole});
    QCOMPARE(shown(late), modelRows(list));
}

// Rows changed, removed, reset or moved in the model are so in the widget.
void TestSpottedView::widgetFollowsAnyListModel()
{
    QStringListModel model(QStringList{"A", "B", "C", "D"});
    QListWidget view;
    new ListWidgetMirror(&model, &view, {});
    const auto texts = [&view] {
        QStringList out;
        for (int i = 0; i < view.count(); ++i)
            out << view.item(i)->text();
        return out;
    };
    QCOMPARE(texts(), model.stringList());
    model.setData(model.index(1), "b");
    model.removeRows(2, 1);
    model.insertRows(0, 2);
    model.setData(model.index(0), "new");
    QCOMPARE(texts(), model.stringList());
    model.moveRows(QModelIndex(), 0, 1, QModelIndex(), 4);
    QCOMPARE(texts(), model.stringList());
    model.setStringList({"X"});
    QCOMPARE(texts(), QStringList{"X"});
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    TestSpottedView test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_spotted_view.moc"
