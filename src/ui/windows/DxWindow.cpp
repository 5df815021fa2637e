#include "windows/DxWindow.h"

#include "alerts/AlertCenter.h"
#include "activedx/ActiveDxAlerts.h"
#include "activedx/ActiveDxFilter.h"
#include "activedx/ActiveDxModel.h"
#include "activedx/ActiveDxTexts.h"
#include "dxcc/CountryFileUpdate.h"
#include "activedx/DxSettings.h"
#include "dxcc/Locator.h"
#include "log/StatusColors.h"
#include "scaling/ScreenFit.h"
#include "windows/CoalescedAnnouncer.h"
#include "windows/LogPanel.h"
#include "windows/StillRows.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShowEvent>
#include <QHideEvent>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// Rows of a DXpedition the live check found stand out, in the colours the
// spots pane gives such lines' alarm: dark text on a light gold ground
// that reads under every theme.
class DxpeditionRowDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.data(ActiveDxModel::DxpeditionRole).toBool()) {
            option->backgroundBrush = QColor(0xFF, 0xE0, 0x80);
            option->palette.setColor(QPalette::Text, Qt::black);
            option->palette.setColor(QPalette::HighlightedText, Qt::black);
        } else if (index.column() == ActiveDxModel::Status) {
            // A hue per status, chosen to read on this theme's ground.
            const int kind = index.data(ActiveDxModel::StatusRole).toInt();
            if (kind >= 0 && kind < SpotStatus::KindCount) {
                const QPalette& palette = option->palette;
                option->palette.setColor(
                    QPalette::Text,
                    QColor::fromRgb(StatusColors::textColor(SpotStatus::Kind(kind),
                                                           palette.color(QPalette::Base).rgb() & 0xFFFFFF,
                                                           palette.color(QPalette::Text).rgb() & 0xFFFFFF)));
                if (index.data(ActiveDxModel::NeededRole).toBool())
                    option->font.setBold(true);
            }
        }
    }
};

const char* const kContinents[] = {"AF", "AN", "AS", "EU", "NA", "OC", "SA"};
const char* const kModes[] = {"CW", "Phone", "Digital"};

// The columns whose texts differ in width from row to row; the others fit
// their heading or a few digits.
constexpr int kVaryingColumns[] = {ActiveDxModel::Khz,  ActiveDxModel::Dx, ActiveDxModel::Entity,
                                   ActiveDxModel::Mode, ActiveDxModel::Km, ActiveDxModel::Status};
// Rows looked at for their widths in one go, the newest.
constexpr int kRowsMeasuredAtOnce = 500;

} // namespace

DxWindow::DxWindow(ActiveDxModel* model, QString programDir, const QString& countryFileLine,
                   QAbstractItemModel* alerts, QWidget* parent)
    : QWidget(parent, Qt::Window), m_model(model), m_filter(new ActiveDxFilter(this)),
      m_programDir(std::move(programDir))
{
    setObjectName(QStringLiteral("DxWindow"));
    setWindowTitle(QStringLiteral("DX window"));
    resize(1000, 480);

    m_countryLine = new QLabel(countryFileLine, this);
    m_countryLine->setObjectName(QStringLiteral("CountryFileLine"));
    m_countryLine->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* locatorLabel = new QLabel(QStringLiteral("My &locator:"), this);
    m_locator = new QLineEdit(this);
    m_locator->setObjectName(QStringLiteral("Locator"));
    m_locator->setMaxLength(6);
    m_locator->setPlaceholderText(QStringLiteral("JO31lk"));
    m_locator->setAccessibleName(QStringLiteral("My locator"));
    locatorLabel->setBuddy(m_locator);
    m_setLocator = new QPushButton(QStringLiteral("Set"), this);
    m_setLocator->setObjectName(QStringLiteral("SetLocator"));
    m_locatorMessage = new QLabel(this);
    m_locatorMessage->setObjectName(QStringLiteral("LocatorMessage"));

    m_continent = new QComboBox(this);
    m_continent->setObjectName(QStringLiteral("Continent"));
    m_continent->setAccessibleName(QStringLiteral("Continent"));
    m_continent->addItem(QStringLiteral("All continents"), QString());
    for (const char* c : kContinents)
        m_continent->addItem(QString::fromLatin1(c), QString::fromLatin1(c));
    m_mode = new QComboBox(this);
    m_mode->setObjectName(QStringLiteral("Mode"));
    m_mode->setAccessibleName(QStringLiteral("Mode"));
    m_mode->addItem(QStringLiteral("All modes"), QString());
    for (const char* m : kModes)
        m_mode->addItem(QString::fromLatin1(m), QString::fromLatin1(m));
    m_text = new QLineEdit(this);
    m_text->setObjectName(QStringLiteral("TextFilter"));
    m_text->setPlaceholderText(QStringLiteral("Filter: call, entity or comment"));
    m_text->setAccessibleName(QStringLiteral("Filter"));
    m_text->setMaxLength(40);
    m_text->setClearButtonEnabled(true);
    m_neededOnly = new QCheckBox(QStringLiteral("&Needed only"), this);
    m_neededOnly->setObjectName(QStringLiteral("NeededOnly"));
    m_neededOnly->setToolTip(
        QStringLiteral("Only New one, New band, New mode and New slot, by your log"));

    m_filter->setSourceModel(m_model);
    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("DxTable"));
    m_table->setAccessibleName(QStringLiteral("Active DX stations"));
    m_table->setModel(m_filter);
    m_table->setItemDelegate(new DxpeditionRowDelegate(m_table));
    m_table->setSortingEnabled(true);
    m_table->sortByColumn(ActiveDxModel::Utc, Qt::DescendingOrder);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setWordWrap(false);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->installEventFilter(this);
    // A row is its station: callsign and band.
    m_stillRows = new StillRows(
        m_table,
        [](const QModelIndex& index) {
            if (!index.isValid())
                return QString();
            const QModelIndex first = index.siblingAtColumn(0);
            return first.data(ActiveDxModel::CallRole).toString() + u' '
                   + first.data(ActiveDxModel::BandRole).toString();
        },
        [this](const QString& key) {
            const qsizetype blank = key.lastIndexOf(u' ');
            const int row = m_model->rowOf(key.left(blank), key.mid(blank + 1).toInt());
            return row < 0 ? QModelIndex() : m_filter->mapFromSource(m_model->index(row, 0));
        });
    const int widths[] = {50, 70, 90, 150, 40, 35, 35, 60, 70, 60, 50, 60};
    for (int c = 0; c < int(std::size(widths)); ++c)
        m_table->setColumnWidth(c, widths[c]);

    // In the table's place while it could show nothing.
    m_emptyReason = new QLabel(ActiveDxTexts::allBandsOffText(), this);
    m_emptyReason->setObjectName(QStringLiteral("EmptyReason"));
    m_emptyReason->setWordWrap(true);
    m_emptyReason->setAlignment(Qt::AlignCenter);
    m_emptyReason->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_emptyReason->hide();

    // The newest row in words, for a screen reader, as the terminal pane's
    // new lines are told.
    m_newest = new QLabel(this);
    m_newest->setObjectName(QStringLiteral("NewestRow"));
    m_rowNews = new CoalescedAnnouncer(m_newest, &ActiveDxTexts::newRows, this);

    // The alerts of the rules, newest last, a list a screen reader reads as
    // one; new ones are also told in words.
    auto* alertsLabel = new QLabel(QStringLiteral("&Alerts:"), this);
    m_alertList = new QListView(this);
    m_alertList->setObjectName(QStringLiteral("AlertList"));
    m_alertList->setAccessibleName(QStringLiteral("Alerts"));
    m_alertList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_alertList->setMaximumHeight(m_alertList->fontMetrics().height() * 5 + 8);
    // One line each, all alike: a new line is laid out without measuring
    // the thousand before it.
    m_alertList->setUniformItemSizes(true);
    m_alertList->setWordWrap(false);
    alertsLabel->setBuddy(m_alertList);
    if (alerts) {
        m_alerts = new ActiveDxAlerts(alerts, AlertCenter::kLogMax, this);
        m_alertList->setModel(m_alerts);
    }
    m_newestAlert = new QLabel(this);
    m_newestAlert->setObjectName(QStringLiteral("NewestAlert"));
    m_alertNews = new CoalescedAnnouncer(m_newestAlert, &ActiveDxTexts::newAlerts, this);
    auto* rulesButton = new QPushButton(QStringLiteral("Alert &rules..."), this);
    rulesButton->setObjectName(QStringLiteral("AlertRulesButton"));
    rulesButton->setAccessibleName(QStringLiteral("Alert rules"));
    connect(rulesButton, &QPushButton::clicked, this, &DxWindow::alertsRequested);

    m_updateCountries = new QPushButton(QStringLiteral("&Update country file"), this);
    m_updateCountries->setObjectName(QStringLiteral("UpdateCountryFile"));
    m_updateCountries->hide();
    m_countryMessage = new QLabel(this);
    m_countryMessage->setObjectName(QStringLiteral("CountryFileMessage"));
    m_countryMessage->setWordWrap(true);
    auto* countryRow = new QHBoxLayout;
    countryRow->addWidget(m_countryLine, 1);
    countryRow->addWidget(m_updateCountries);

    auto* locatorRow = new QHBoxLayout;
    locatorRow->addWidget(locatorLabel);
    locatorRow->addWidget(m_locator);
    locatorRow->addWidget(m_setLocator);
    locatorRow->addWidget(m_locatorMessage, 1);
    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(m_continent);
    filterRow->addWidget(m_mode);
    filterRow->addWidget(m_text, 1);
    filterRow->addWidget(m_neededOnly);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(countryRow);
    layout->addWidget(m_countryMessage);
    layout->addLayout(locatorRow);
    layout->addLayout(filterRow);
    layout->addWidget(m_table, 1);
    layout->addWidget(m_emptyReason, 1);
    layout->addWidget(m_newest);
    auto* alertsRow = new QHBoxLayout;
    alertsRow->addWidget(alertsLabel);
    alertsRow->addStretch(1);
    alertsRow->addWidget(rulesButton);
    layout->addLayout(alertsRow);
    layout->addWidget(m_alertList);
    layout->addWidget(m_newestAlert);

    // The stored choices.
    const DxSettings settings(m_programDir);
    m_locator->setText(settings.locator());
    m_model->setLocator(settings.locator());
    m_continent->setCurrentIndex(qMax(0, m_continent->findData(settings.continent())));
    m_mode->setCurrentIndex(qMax(0, m_mode->findData(settings.mode())));
    m_text->setText(settings.filterText());
    const auto applyFilters = [this] {
        m_filter->setContinent(m_continent->currentData().toString());
        const QString mode = m_mode->currentData().toString();
        m_filter->setModeGroup(mode == u"CW"        ? std::optional(SpotMode::Group::Cw)
                               : mode == u"Phone"   ? std::optional(SpotMode::Group::Phone)
                               : mode == u"Digital" ? std::optional(SpotMode::Group::Digital)
                                                    : std::nullopt);
        m_filter->setText(m_text->text());
    };
    applyFilters();
    m_placed = restoreGeometry(settings.geometry());
    if (!m_placed)
        resize(1000, 480);
    QHeaderView* header = m_table->horizontalHeader();
    m_fittingColumns = true;
    const QList<int> kept = settings.columnWidths();
    for (int c = 0; c < kept.size() && c < ActiveDxModel::ColumnCount - 1; ++c)
        m_table->setColumnWidth(c, kept[c]);
    m_fittingColumns = false;
    m_sizedColumns = settings.sizedColumns();
    if (const std::optional<DxSettings::Sort> sort = settings.sort())
        m_table->sortByColumn(sort->column,
                              sort->descending ? Qt::DescendingOrder : Qt::AscendingOrder);

    connect(m_continent, &QComboBox::currentIndexChanged, this, [this, applyFilters] {
        applyFilters();
        saveChoices();
    });
    connect(m_mode, &QComboBox::currentIndexChanged, this, [this, applyFilters] {
        applyFilters();
        saveChoices();
    });
    connect(m_text, &QLineEdit::textChanged, this, [applyFilters] { applyFilters(); });
    connect(m_neededOnly, &QCheckBox::toggled, m_filter, &ActiveDxFilter::setNeededOnly);
    // The Status column comes and goes with the log; it stands before the
    // comment, which takes the rest of the width.
    connect(m_model, &QAbstractItemModel::columnsInserted, this, [this] {
        placeStatusColumn();
        m_unmeasured = 0;
        if (!m_fitColumns->isActive())
            m_fitColumns->start();
    });
    connect(m_text, &QLineEdit::editingFinished, this, &DxWindow::saveChoices);
    connect(m_setLocator, &QPushButton::clicked, this, &DxWindow::applyLocator);
    connect(m_locator, &QLineEdit::returnPressed, this, &DxWindow::applyLocator);
    // The station that was under the pointer at the press, wherever the rows
    // went since.
    connect(m_table, &QTableView::doubleClicked, this,
            [this](const QModelIndex&) { chooseRow(m_stillRows->pressedIndex()); });
    connect(m_model, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) { announceRows(first, last); });
    if (m_alerts)
        connect(m_alerts, &ActiveDxAlerts::linesAdded, this, &DxWindow::alertsAdded);
    // The list follows its newest line unless the user scrolled back to
    // read: when a batch (laid out once, after it came) or a smaller list
    // grows the range, the end stays in view.
    QScrollBar* alertBar = m_alertList->verticalScrollBar();
    connect(alertBar, &QScrollBar::valueChanged, this,
            [this, alertBar](int value) { m_followAlerts = value >= alertBar->maximum(); });
    connect(alertBar, &QScrollBar::rangeChanged, this, [this, alertBar](int, int maximum) {
        if (m_followAlerts)
            alertBar->setValue(maximum);
    });

    // A column the user drags keeps its width; the others keep fitting.
    connect(header, &QHeaderView::sectionResized, this, [this](int column, int before, int after) {
        if (m_fittingColumns || before == after || column == ActiveDxModel::ColumnCount - 1)
            return;
        if (!m_sizedColumns.contains(column))
            m_sizedColumns.append(column);
        saveSoon();
    });
    connect(header, &QHeaderView::sortIndicatorChanged, this, &DxWindow::saveSoon);
    m_fitColumns = new QTimer(this);
    m_fitColumns->setSingleShot(true);
    m_fitColumns->setInterval(ActiveDxAlerts::BatchMs);
    connect(m_fitColumns, &QTimer::timeout, this, &DxWindow::fitColumns);
    m_save = new QTimer(this);
    m_save->setSingleShot(true);
    m_save->setInterval(1000);
    connect(m_save, &QTimer::timeout, this, &DxWindow::saveChoices);

    // Stations age out even when no spot comes.
    m_expiry = new QTimer(this);
    m_expiry->setInterval(10000);
    connect(m_expiry, &QTimer::timeout, this,
            [this] { m_model->expire(QDateTime::currentDateTimeUtc()); });
    m_expiry->start();
}

DxWindow::~DxWindow()
{
    // The program may end with the window open, and then no hide comes.
    if (m_shown)
        saveChoices();
}

void DxWindow::setBandStates(const BandFilter::States& states)
{
    m_filter->setBandStates(states);
    const bool allOff = ActiveDxTexts::allBandsOff(states);
    m_table->setVisible(!allOff);
    m_emptyReason->setVisible(allOff);
}

void DxWindow::present()
{
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

// Wholly on a screen: a place of its own stays when it still is (on any
// screen); otherwise the window goes onto the main window's screen, the
// first time centred on the main window.
void DxWindow::fitOnScreen()
{
    QWidget* main = parentWidget() ? parentWidget()->window() : nullptr;
    QScreen* screen = main ? main->screen() : this->screen();
    if (!screen)
        return;
    // Before the first show the frame is unknown: the main window's is
    // the best guess of what the window manager adds.
    const auto frameOf = [](const QWidget* w) {
        const QRect inner = w->geometry();
        const QRect outer = w->frameGeometry();
        return QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                        outer.right() - inner.right(), outer.bottom() - inner.bottom());
    };
    QMargins frame = frameOf(this);
    if (frame.isNull() && main && main->isVisible())
        frame = frameOf(main);
    QList<QRect> workAreas;
    for (const QScreen* s : QGuiApplication::screens())
        workAreas.append(s->availableGeometry());
    if (m_placed && ScreenFit::fullyOnAScreen(geometry().marginsAdded(frame), workAreas))
        return;
    const QRect centreOn = !m_placed && main ? main->frameGeometry() : QRect();
    setGeometry(ScreenFit::fitted(geometry(), frame, screen->availableGeometry(), centreOn,
                                  minimumSizeHint()));
    m_placed = true;
}

// Columns grow to fit the texts of new rows (and their headings), unless the
// user gave one its width. Only the rows that came since the last look are
// measured, so a row costs the same with 5,000 rows as with ten.
void DxWindow::fitColumns()
{
    if (!isVisible())
        return;
    const int rows = m_model->rowCount();
    const int first = qMax(qMin(m_unmeasured, rows), rows - kRowsMeasuredAtOnce);
    m_unmeasured = rows;
    const QFontMetrics metrics(m_table->font());
    // What the item delegate adds around a text, the grid line, and a
    // pixel or two the text layout rounds up to.
    const int padding =
        2 * (m_table->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_table) + 1)
        + (m_table->showGrid() ? 1 : 0) + 2;
    QHeaderView* header = m_table->horizontalHeader();
    const QFontMetrics headerMetrics(header->font());
    const int headerPadding =
        2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    m_fittingColumns = true;
    for (int column = 0; column < m_model->columnCount(); ++column) {
        if (column == ActiveDxModel::Comment || m_sizedColumns.contains(column))
            continue;
        // The heading's words; the sort arrow may take the margin.
        int wanted = headerMetrics.horizontalAdvance(
                         m_model->headerData(column, Qt::Horizontal).toString())
                     + headerPadding;
        if (std::find(std::begin(kVaryingColumns), std::end(kVaryingColumns), column)
            != std::end(kVaryingColumns)) {
            for (int r = first; r < rows; ++r)
                wanted = qMax(wanted, metrics.horizontalAdvance(
                                          m_model->index(r, column).data().toString())
                                          + padding);
        }
        if (wanted > header->sectionSize(column))
            header->resizeSection(column, wanted);
    }
    m_fittingColumns = false;
}

void DxWindow::placeStatusColumn()
{
    if (m_model->columnCount() <= ActiveDxModel::Status)
        return;
    QHeaderView* header = m_table->horizontalHeader();
    const int from = header->visualIndex(ActiveDxModel::Status);
    const int to = header->visualIndex(ActiveDxModel::Comment);
    if (from > to)
        header->moveSection(from, to);
}

void DxWindow::setLog(LogLoader* loader)
{
    if (m_logPanel || !loader)
        return;
    m_logPanel = new LogPanel(loader, m_programDir, this);
    static_cast<QVBoxLayout*>(layout())->insertWidget(0, m_logPanel);
    placeStatusColumn();
}

void DxWindow::setCountryFileUpdate(CountryFileUpdate* update)
{
    if (!update)
        return;
    m_updateCountries->show();
    m_updateCountries->setEnabled(!update->isRunning());
    connect(m_updateCountries, &QPushButton::clicked, update, [this, update] {
        if (!update->start())
            return;
        m_updateCountries->setEnabled(false);
        m_countryMessage->setText(QStringLiteral("Fetching the country file..."));
    });
    connect(update, &CountryFileUpdate::finished, this,
            [this](const CountryFileUpdate::Outcome& outcome) {
                m_updateCountries->setEnabled(true);
                m_countryMessage->setText(outcome.message);
                QAccessibleEvent event(m_countryMessage, QAccessible::NameChanged);
                QAccessible::updateAccessibility(&event);
            });
}

void DxWindow::setCountryFileLine(const QString& line)
{
    m_countryLine->setText(line);
}

void DxWindow::applyLocator()
{
    const QString typed = m_locator->text();
    if (typed.trimmed().isEmpty()) {
        m_model->setLocator(QString());
        DxSettings(m_programDir).saveLocator(QString());
        m_locatorMessage->setText(QStringLiteral("No locator: bearing and distance stay empty."));
        return;
    }
    const std::optional<QString> locator = Locator::normalized(typed);
    if (!locator) {
        m_locatorMessage->setText(Locator::refusal(typed));
        m_locator->setFocus();
        m_locator->selectAll();
        return;
    }
    m_locator->setText(*locator);
    m_model->setLocator(*locator);
    QString error;
    if (DxSettings(m_programDir).saveLocator(*locator, &error))
        m_locatorMessage->setText(QStringLiteral("Bearing and distance from %1.").arg(*locator));
    else
        m_locatorMessage->setText(error);
}

void DxWindow::chooseRow(const QModelIndex& proxyIndex)
{
    if (!proxyIndex.isValid())
        return;
    const QModelIndex source = m_filter->mapToSource(proxyIndex);
    if (!source.isValid())
        return;
    const QString line = source.siblingAtColumn(0).data(ActiveDxModel::LineRole).toString();
    if (!line.isEmpty())
        emit tuneRequested(line);
    emit spotChosen(m_model->spotAt(source.row()));
}

void DxWindow::alertsAdded(int count, const QString& newest)
{
    if (isVisible())
        m_alertNews->post(newest, count);
}

bool DxWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_table && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            chooseRow(m_table->currentIndex());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void DxWindow::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) {
        fitOnScreen();
        m_shown = true;
    }
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        m_opening = true;
        emit shownChanged(true);
        m_opening = false;
        // What came while the window was closed: every row's width once,
        // the alerts' end in view.
        m_unmeasured = 0;
        fitColumns();
        if (m_alerts) {
            m_alerts->takeNew();
            m_followAlerts = true;
            m_alertList->scrollToBottom();
        }
    }
}

void DxWindow::hideEvent(QHideEvent* event)
{
    saveChoices();
    QWidget::hideEvent(event);
    if (!event->spontaneous())
        emit shownChanged(false);
}

void DxWindow::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    saveSoon();
}

void DxWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    saveSoon();
}

void DxWindow::saveSoon()
{
    if (isVisible())
        m_save->start();
}

void DxWindow::saveChoices()
{
    m_save->stop();
    // The last column stretches to the window's edge: its width is no
    // choice.
    QList<int> widths;
    for (int c = 0; c < ActiveDxModel::ColumnCount - 1; ++c)
        widths.append(m_table->columnWidth(c));
    const QHeaderView* header = m_table->horizontalHeader();
    DxSettings(m_programDir)
        .saveChoices({m_continent->currentData().toString(), m_mode->currentData().toString(),
                      m_text->text().trimmed(), saveGeometry(), widths, m_sizedColumns,
                      {header->sortIndicatorSection(),
                       header->sortIndicatorOrder() == Qt::DescendingOrder}});
}

void DxWindow::announceRows(int first, int last)
{
    if (!m_fitColumns->isActive())
        m_fitColumns->start();
    // The rows waiting while the window was closed come in at its opening,
    // all at once: they are no news.
    if (!isVisible() || m_opening)
        return;
    // Rows come one at a time; the last is the newest.
    const auto text = [this, last](int column) {
        return m_model->data(m_model->index(last, column)).toString();
    };
    m_rowNews->post(ActiveDxTexts::row(text(ActiveDxModel::Dx), text(ActiveDxModel::Khz),
                                       text(ActiveDxModel::Entity)),
                    last - first + 1);
}
