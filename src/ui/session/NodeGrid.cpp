#include "session/NodeGrid.h"

#include "net/IcmpEcho.h"
#include "session/NodeList.h"

#include <QFile>

#include "settings/BoundedFile.h"
#include <QFutureWatcher>
#include <QHeaderView>
#include <QMouseEvent>
#include <QtConcurrent/QtConcurrentRun>

namespace {

const int kLoadingWidths[NodeGrid::kColumns] = {70, 115, 35, 20};

// Green of the "answered" mark.
const QColor kAnsweredColor(0, 128, 0);

} // namespace

NodeGrid::NodeGrid(QWidget* parent) : QTableWidget(parent), m_pinger(&PingAddress)
{
    setColumnCount(kColumns);
    horizontalHeader()->setMinimumSectionSize(0);
    horizontalHeader()->hide();
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    for (int c = 0; c < kColumns; ++c)
        setColumnWidth(c, kLoadingWidths[c]);

    connect(this, &QTableWidget::currentCellChanged, this, [this](int row, int column, int, int) {
        if (!m_quiet)
            chooseCell(row, column);
    });
}

void NodeGrid::setPinger(Pinger pinger)
{
    m_pinger = pinger ? std::move(pinger) : Pinger(&PingAddress);
}

QString NodeGrid::cellText(int row, int column) const
{
    const QTableWidgetItem* it = item(row, column);
    return it ? it->text() : QString();
}

QList<ClusterSession::Node> NodeGrid::otherNodes(const QString& address,
                                                const QString& port) const
{
    QList<ClusterSession::Node> others;
    for (int row = 1; row < rowCount(); ++row) {
        ClusterSession::Node node{cellText(row, kNameColumn), cellText(row, kAddressColumn),
                                  cellText(row, kPortColumn),
                                  cellText(row, kMarkColumn) == QLatin1String("V")};
        if (node.address == address && node.port == port)
            continue;
        others.append(node);
    }
    return others;
}

void NodeGrid::setRowTexts(int row, const QString& name, const QString& address,
                           const QString& port)
{
    const QString texts[kColumns] = {name, address, port, QString()};
    for (int c = 0; c < kColumns; ++c) {
        auto* cell = new QTableWidgetItem(texts[c]);
        if (row == 0) {
            // The heading: shown like a fixed row, never current or selected.
            cell->setFlags(Qt::NoItemFlags);
            cell->setBackground(palette().button());
            cell->setForeground(palette().buttonText());
        } else {
            cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        }
        setItem(row, c, cell);
    }
}

bool NodeGrid::PopulateServers(const QString& nodesPath, const QString& chosenName)
{
    ++m_generation;
    m_quiet = true;
    clearContents();
    setColumnCount(kColumns);
    for (int c = 0; c < kColumns; ++c)
        setColumnWidth(c, kLoadingWidths[c]);

    const BoundedFile::Result file = BoundedFile::read(nodesPath, BoundedFile::kNodesMaxBytes);
    if (file.status != BoundedFile::Status::Read) {
        m_quiet = false;
        return false;
    }
    const QList<NodeRow> rows = NodeList::parse(file.bytes);
    setCurrentCell(-1, -1);
    setRowCount(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r)
        setRowTexts(r, rows[r].name, rows[r].address, rows[r].port);
    // The heading line stays in view above the rows as the fixed top row;
    // grid row numbers remain file line numbers.
    const bool heading = !rows.isEmpty();
    if (heading) {
        setHorizontalHeaderLabels({rows[0].name, rows[0].address, rows[0].port, QString()});
        setRowHidden(0, true);
    }
    horizontalHeader()->setVisible(heading);
    m_quiet = false;

    // The heading row cannot be chosen, so the search starts below it.
    for (int r = 1; r < rows.size(); ++r) {
        if (rows[r].name == chosenName) {
            setCurrentCell(r, kNameColumn);
            scrollToItem(item(r, kNameColumn));
            break;
        }
    }
    setFocus(Qt::OtherFocusReason);
    viewport()->update();
    return true;
}

void NodeGrid::adjustColumnWidths()
{
    const int base = viewport()->width() / (columnCount() + 1);
    for (int c = 0; c < columnCount(); ++c)
        setColumnWidth(c, c == kAddressColumn ? 2 * base + 20 : base);
}

void NodeGrid::chooseCell(int row, int column)
{
    Q_UNUSED(column);
    if (row == 0)
        return;
    if (row < 0) {
        emit nodeChosen(QString(), QString(), QString());
        return;
    }
    emit nodeChosen(cellText(row, kNameColumn), cellText(row, kAddressColumn),
                    cellText(row, kPortColumn));
}

void NodeGrid::focusInEvent(QFocusEvent* event)
{
    // Taking the focus may make a cell current by itself; that chooses no
    // node, only the user or the loading does.
    m_quiet = true;
    QTableWidget::focusInEvent(event);
    m_quiet = false;
}

void NodeGrid::mousePressEvent(QMouseEvent* event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    // Only the left button moves the selection, so a left press on an
    // address also chooses the node that is pinged.
    if (event->button() == Qt::LeftButton)
        QTableWidget::mousePressEvent(event);
    else
        event->accept();
    if (index.isValid() && index.row() > 0 && index.column() == kAddressColumn)
        startPing(index.row());
}

void NodeGrid::startPing(int row)
{
    const QString address = cellText(row, kAddressColumn);
    const quint64 generation = m_generation;
    auto* watcher = new QFutureWatcher<bool>(this);
    connect(watcher, &QFutureWatcher<bool>::finished, this, [this, watcher, row, generation] {
        --m_pingsRunning;
        const bool answered = watcher->future().isValid() && watcher->result();
        watcher->deleteLater();
        showPingResult(row, answered, generation);
    });
    ++m_pingsRunning;
    const Pinger pinger = m_pinger;
    watcher->setFuture(
        QtConcurrent::run(pingThreadPool(), [pinger, address] { return pinger(address); }));
}

void NodeGrid::showPingResult(int row, bool answered, quint64 generation)
{
    // A reload in the meantime has replaced the row the ping was for.
    if (generation != m_generation || row >= rowCount())
        return;
    // Both marks stay in their cell until the next loading. A "V" drawn only
    // once would be painted over at once by the repaints that follow the
    // click (the selection, the window's activation) and never be seen.
    auto* cell = new QTableWidgetItem(answered ? QStringLiteral("V") : QStringLiteral("N"));
    cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    if (answered) {
        cell->setForeground(kAnsweredColor);
        cell->setTextAlignment(Qt::AlignCenter);
    }
    setItem(row, kMarkColumn, cell);
    emit pingFinished(row, answered);
}

// Rows keep room for their text when the window scales the grid's font.
void NodeGrid::changeEvent(QEvent* event)
{
    QTableWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
}
