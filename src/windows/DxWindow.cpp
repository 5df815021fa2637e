#include "windows/DxWindow.h"

#include "dxcc/ActiveDxFilter.h"
#include "dxcc/ActiveDxModel.h"
#include "dxcc/DxSettings.h"
#include "dxcc/Locator.h"

#include <QAccessible>
#include <QComboBox>
#include <QDateTime>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QPushButton>
#include <QShowEvent>
#include <QHideEvent>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

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
        }
    }
};

const char* const kContinents[] = {"AF", "AN", "AS", "EU", "NA", "OC", "SA"};
const char* const kModes[] = {"CW", "Phone", "Digital"};

} // namespace

DxWindow::DxWindow(ActiveDxModel* model, QString programDir, const QString& countryFileLine,
                   QAbstractItemModel* alerts, QWidget* parent)
    : QWidget(parent, Qt::Window), m_model(model), m_filter(new ActiveDxFilter(this)),
      m_programDir(std::move(programDir)), m_alerts(alerts)
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
    const int widths[] = {50, 70, 90, 150, 40, 35, 35, 60, 70, 60, 50, 60};
    for (int c = 0; c < int(std::size(widths)); ++c)
        m_table->setColumnWidth(c, widths[c]);

    // The newest row in words, for a screen reader, as the terminal pane's
    // new lines are told.
    m_newest = new QLabel(this);
    m_newest->setObjectName(QStringLiteral("NewestRow"));

    // The alerts of the rules, newest last, a list a screen reader reads as
    // one; each new one is also told in words.
    auto* alertsLabel = new QLabel(QStringLiteral("&Alerts:"), this);
    m_alertList = new QListView(this);
    m_alertList->setObjectName(QStringLiteral("AlertList"));
    m_alertList->setAccessibleName(QStringLiteral("Alerts"));
    m_alertList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_alertList->setMaximumHeight(m_alertList->fontMetrics().height() * 5 + 8);
    alertsLabel->setBuddy(m_alertList);
    if (m_alerts)
        m_alertList->setModel(m_alerts);
    m_newestAlert = new QLabel(this);
    m_newestAlert->setObjectName(QStringLiteral("NewestAlert"));
    auto* rulesButton = new QPushButton(QStringLiteral("Alert &rules..."), this);
    rulesButton->setObjectName(QStringLiteral("AlertRulesButton"));
    rulesButton->setAccessibleName(QStringLiteral("Alert rules"));
    connect(rulesButton, &QPushButton::clicked, this, &DxWindow::alertsRequested);

    auto* locatorRow = new QHBoxLayout;
    locatorRow->addWidget(locatorLabel);
    locatorRow->addWidget(m_locator);
    locatorRow->addWidget(m_setLocator);
    locatorRow->addWidget(m_locatorMessage, 1);
    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(m_continent);
    filterRow->addWidget(m_mode);
    filterRow->addWidget(m_text, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_countryLine);
    layout->addLayout(locatorRow);
    layout->addLayout(filterRow);
    layout->addWidget(m_table, 1);
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
    if (!restoreGeometry(settings.geometry()))
        resize(1000, 480);

    connect(m_continent, &QComboBox::currentIndexChanged, this, [this, applyFilters] {
        applyFilters();
        saveChoices();
    });
    connect(m_mode, &QComboBox::currentIndexChanged, this, [this, applyFilters] {
        applyFilters();
        saveChoices();
    });
    connect(m_text, &QLineEdit::textChanged, this, [applyFilters] { applyFilters(); });
    connect(m_text, &QLineEdit::editingFinished, this, &DxWindow::saveChoices);
    connect(m_setLocator, &QPushButton::clicked, this, &DxWindow::applyLocator);
    connect(m_locator, &QLineEdit::returnPressed, this, &DxWindow::applyLocator);
    connect(m_table, &QTableView::doubleClicked, this, &DxWindow::chooseRow);
    connect(m_model, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) { announceRows(first, last); });
    if (m_alerts) {
        // A row may come empty and get its text just after (a string list
        // model is filled so): each is told once it has its text.
        connect(m_alerts, &QAbstractItemModel::rowsInserted, this,
                [this](const QModelIndex&, int, int last) { announceAlert(last); });
        connect(m_alerts, &QAbstractItemModel::dataChanged, this,
                [this](const QModelIndex&, const QModelIndex& bottomRight) {
                    if (bottomRight.row() == m_alerts->rowCount() - 1)
                        announceAlert(bottomRight.row());
                });
    }

    // Stations age out even when no spot comes.
    m_expiry = new QTimer(this);
    m_expiry->setInterval(10000);
    connect(m_expiry, &QTimer::timeout, this,
            [this] { m_model->expire(QDateTime::currentDateTimeUtc()); });
    m_expiry->start();
}

void DxWindow::setBandStates(const BandFilter::States& states)
{
    m_filter->setBandStates(states);
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
    const QString line = proxyIndex.siblingAtColumn(0).data(ActiveDxModel::LineRole).toString();
    if (!line.isEmpty())
        emit tuneRequested(line);
}

void DxWindow::announceAlert(int row)
{
    const QModelIndex index = m_alerts->index(row, 0);
    const QString text = index.data().toString();
    if (text.isEmpty())
        return;
    m_alertList->scrollTo(index);
    if (!isVisible())
        return;
    m_newestAlert->setText(QStringLiteral("Alert: ") + text);
    if (QAccessible::isActive()) {
        QAccessibleEvent e(m_newestAlert, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&e);
    }
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
    QWidget::showEvent(event);
    if (!event->spontaneous())
        emit shownChanged(true);
}

void DxWindow::hideEvent(QHideEvent* event)
{
    saveChoices();
    QWidget::hideEvent(event);
    if (!event->spontaneous())
        emit shownChanged(false);
}

void DxWindow::saveChoices()
{
    DxSettings(m_programDir)
        .saveChoices(m_continent->currentData().toString(), m_mode->currentData().toString(),
                     m_text->text().trimmed(), saveGeometry());
}

void DxWindow::announceRows(int first, int last)
{
    if (!isVisible())
        return;
    Q_UNUSED(first); // rows come one at a time; the last is the newest
    const auto text = [this, last](int column) {
        return m_model->data(m_model->index(last, column)).toString();
    };
    const QString entity = text(ActiveDxModel::Entity);
    m_newest->setText(QStringLiteral("New: %1 %2 kHz%3")
                          .arg(text(ActiveDxModel::Dx), text(ActiveDxModel::Khz),
                               entity.isEmpty() ? QString() : QStringLiteral(", ") + entity));
    if (QAccessible::isActive()) {
        QAccessibleEvent e(m_newest, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&e);
    }
}
