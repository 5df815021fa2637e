#pragma once

#include "session/ClusterSession.h"

#include <QList>
#include <QTableWidget>

#include <functional>

// The node grid: one row per line of nodes.txt, so that grid row i is file
// line i. Row 0 holds the file's heading line; it is drawn like a header and
// can be neither chosen nor pinged. Columns: name, address, port, and the
// reachability mark: "V" in green, centred, after an answered ping, "N"
// after a failed one; each stays until the next loading.
class NodeGrid : public QTableWidget
{
    Q_OBJECT
public:
    static constexpr int kColumns = 4;
    static constexpr int kNameColumn = 0;
    static constexpr int kAddressColumn = 1;
    static constexpr int kPortColumn = 2;
    static constexpr int kMarkColumn = 3;

    using Pinger = std::function<bool(const QString&)>;

    explicit NodeGrid(QWidget* parent = nullptr);

    // Empties the grid, sets the loading widths, fills the rows from the
    // file and selects the first data row whose name equals chosenName
    // exactly, then takes the focus. False when the file cannot be read
    // (the grid then stays empty).
    bool PopulateServers(const QString& nodesPath, const QString& chosenName);

    // base := client width div (columns + 1); the address column gets
    // 2 * base + 20, every other column base.
    void adjustColumnWidths();

    // The ping runs on the thread pool through this function; PingAddress
    // unless replaced.
    void setPinger(Pinger pinger);

    // Pings still running.
    int pendingPings() const { return m_pingsRunning; }

    // Text of a cell, empty for a cell without an item.
    QString cellText(int row, int column) const;

    // The data rows as nodes, in grid order, each marked answered when its
    // last ping was ("V"), leaving out the one at address and port: where
    // the session may turn when the chosen node fails.
    QList<ClusterSession::Node> otherNodes(const QString& address, const QString& port) const;

signals:
    // A row was chosen, by mouse, by keys or by loading. Empty strings for
    // an empty row.
    void nodeChosen(const QString& name, const QString& address, const QString& port);
    // A ping started from the grid has been answered (or not) and marked.
    void pingFinished(int row, bool answered);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void chooseCell(int row, int column);
    void startPing(int row);
    void showPingResult(int row, bool answered, quint64 generation);
    void setRowTexts(int row, const QString& name, const QString& address, const QString& port);

    Pinger m_pinger;
    // Counts loadings, so that a ping answered after a reload marks nothing.
    quint64 m_generation = 0;
    bool m_quiet = false;
    int m_pingsRunning = 0;
};
