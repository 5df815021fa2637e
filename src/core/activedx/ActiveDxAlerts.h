#pragma once

#include <QAbstractListModel>
#include <QString>

#include <vector>

class QTimer;

// The alert lines as the DX window lists them: the newest lines of the alert
// log, newest last, such as
//   "23:30 Bouvet: DX de W3LPL: 21021.0 3Y0K CW 579"
// A burst of spots can fire hundreds of alerts a second, and a list view
// that lays out, scrolls and tells a screen reader about each one holds the
// whole program. So the log's new lines are taken in together, at most once
// every BatchMs, as one insertion at the end (and one removal at the front
// once MaxLines are listed); a line costs the same with one line listed as
// with a thousand. The lines are copies in a ring: the log may drop or
// change its own rows without a word reaching the view.
class ActiveDxAlerts : public QAbstractListModel
{
    Q_OBJECT
public:
    static constexpr int BatchMs = 100;

    // log: a one-column list model whose new rows come at its end (rows
    // removed from its front are no news). Its last maxLines lines are
    // listed at once.
    explicit ActiveDxAlerts(QAbstractItemModel* log, int maxLines, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // Takes in the lines that came since the last batch now, without waiting.
    void takeNew();

signals:
    // A batch went in: count new lines in the log (more than were listed
    // when the log added more than the list holds), the newest last.
    void linesAdded(int count, const QString& newest);

private:
    const QString& lineAt(int row) const;
    void copyTail(int news);

    QAbstractItemModel* m_log;
    QTimer* m_batch;
    std::vector<QString> m_ring; // capacity maxLines
    int m_first = 0;             // ring index of row 0
    int m_count = 0;
    int m_waiting = 0; // rows the log added since the last batch
};
