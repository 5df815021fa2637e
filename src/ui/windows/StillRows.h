#pragma once

#include <QObject>
#include <QPoint>
#include <QString>

#include <functional>
#include <optional>

class QModelIndex;
class QTableView;
class QWidget;

// Keeps a sorted, live table still under the user's hand. Rows come and go
// and move as spots arrive; a ham pointing at "JA1BBB" to double-click it
// must not find "FT8WW" there when the click lands. So, across every change
// of the rows:
//  - the row the pointer is over (else the selected row, when in view)
//    keeps its place on screen: the table scrolls by as much as the rows
//    above it moved;
//  - the selected station stays selected, found again by its key (the
//    model may reuse a row for another station);
//  - a double-click acts on the station that was under the pointer at the
//    press.
// Rows are told apart by a key the owner gives (callsign and band).
class StillRows : public QObject
{
    Q_OBJECT
public:
    using KeyOf = std::function<QString(const QModelIndex& index)>;
    using IndexOf = std::function<QModelIndex(const QString& key)>;

    StillRows(QTableView* table, KeyOf keyOf, IndexOf indexOf);

    // The station the last press was on, as a row of the table now;
    // invalid when it has gone.
    QModelIndex pressedIndex() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void remember();
    void restore();
    void selectionMoved();

    QTableView* m_table;
    // Kept apart from the view: the viewport still sends events while the
    // view around it is being destroyed, when the view may not be asked.
    QWidget* m_viewport;
    KeyOf m_keyOf;
    IndexOf m_indexOf;
    std::optional<QPoint> m_pointer; // over the viewport, in its coordinates
    QString m_selectedKey;
    QString m_pressedKey;
    QString m_anchorKey; // the row held in place during a change
    int m_anchorTop = 0;
    bool m_restoring = false;
};
