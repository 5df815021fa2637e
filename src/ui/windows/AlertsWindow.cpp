#include "windows/AlertsWindow.h"

#include "alerts/AlertSpot.h"
#include "alerts/AlertsFile.h"
#include "alerts/CallPattern.h"
#include "dxcc/CountryTable.h"
#include "spots/BandFilter.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// A row of check boxes, one for each word of a set, each named for a screen
// reader as "<what> <word>".
QWidget* checkRow(QWidget* parent, const QString& what, int count,
                  QString (*word)(int), QList<QCheckBox*>& boxes, int perRow)
{
    auto* row = new QWidget(parent);
    auto* grid = new QGridLayout(row);
    grid->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < count; ++i) {
        auto* box = new QCheckBox(word(i), row);
        box->setAccessibleName(what + QLatin1Char(' ') + word(i));
        grid->addWidget(box, i / perRow, i % perRow);
        boxes.append(box);
    }
    return row;
}

template <typename T> T maskOf(const QList<QCheckBox*>& boxes)
{
    T mask = 0;
    for (int i = 0; i < boxes.size(); ++i) {
        if (boxes[i]->isChecked())
            mask |= T(1u << i);
    }
    return mask;
}

void checkMask(const QList<QCheckBox*>& boxes, quint32 mask)
{
    for (int i = 0; i < boxes.size(); ++i)
        boxes[i]->setChecked(mask & (1u << i));
}

} // namespace

AlertsWindow::AlertsWindow(QString path, QList<AlertRule> rules, const QStringList& problems,
                           std::shared_ptr<const CountryTable> countries, bool speakHits,
                           QWidget* parent)
    : QWidget(parent, Qt::Window), m_path(std::move(path)), m_rules(std::move(rules)),
      m_countries(std::move(countries))
{
    setObjectName(QStringLiteral("AlertsWindow"));
    setWindowTitle(QStringLiteral("Alerts"));
    buildControls();
    // A file shared around may be broken in every one of its rules: the
    // first problems say what is wrong, the count says how much.
    m_problems->setText(AlertsFile::shownProblems(problems).join(QLatin1Char('\n')));
    m_problems->setVisible(!problems.isEmpty());
    m_speakHits->setChecked(speakHits);
    for (int row = 0; row < m_rules.size(); ++row) {
        m_list->addItem(QString());
        refreshItem(row);
    }
    if (!m_rules.isEmpty())
        m_list->setCurrentRow(0);
    showRule(m_list->currentRow());
}

void AlertsWindow::buildControls()
{
    m_problems = new QLabel(this);
    m_problems->setObjectName(QStringLiteral("AlertProblems"));
    m_problems->setWordWrap(true);
    m_problems->setStyleSheet(QStringLiteral("color: #a00000"));

    auto* listLabel = new QLabel(QStringLiteral("&Rules:"), this);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("RuleList"));
    m_list->setAccessibleName(QStringLiteral("Rules"));
    listLabel->setBuddy(m_list);
    m_add = new QPushButton(QStringLiteral("&Add"), this);
    m_add->setObjectName(QStringLiteral("AddRule"));
    m_delete = new QPushButton(QStringLiteral("&Delete"), this);
    m_delete->setObjectName(QStringLiteral("DeleteRule"));
    m_save = new QPushButton(QStringLiteral("Sa&ve"), this);
    m_save->setObjectName(QStringLiteral("SaveRules"));

    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("RuleName"));
    m_name->setAccessibleName(QStringLiteral("Name"));
    m_name->setMaxLength(60);
    m_on = new QCheckBox(QStringLiteral("Rule &is on"), this);
    m_on->setObjectName(QStringLiteral("RuleOn"));
    m_on->setAccessibleName(QStringLiteral("On"));
    m_call = new QLineEdit(this);
    m_call->setObjectName(QStringLiteral("RuleCall"));
    m_call->setAccessibleName(QStringLiteral("Callsign pattern"));
    m_call->setPlaceholderText(QStringLiteral("T3*  (* any letters, ? one)"));
    m_call->setMaxLength(CallPattern::kMaxLength);
    m_entity = new QLineEdit(this);
    m_entity->setObjectName(QStringLiteral("RuleEntity"));
    m_entity->setAccessibleName(QStringLiteral("Entity"));
    m_entity->setPlaceholderText(QStringLiteral("Bouvet or 3Y/b"));
    m_entity->setMaxLength(60);
    QWidget* continents = checkRow(this, QStringLiteral("Continent"), AlertRule::kContinentCount,
                                   &AlertRule::continentName, m_continents, 7);
    QWidget* bands = checkRow(this, QStringLiteral("Band"), BandFilter::BandCount,
                              &AlertRule::bandName, m_bands, 6);
    QWidget* modes = checkRow(this, QStringLiteral("Mode"), AlertRule::kModeCount,
                              &AlertRule::modeName, m_modes, 3);
    QWidget* needed = checkRow(this, QStringLiteral("Needed"), AlertRule::kNeededCount,
                               &AlertRule::neededName, m_needed, 4);
    needed->setToolTip(QStringLiteral("A new one, a new band, mode or slot in your log; "
                                      "never without a log"));
    m_sound = new QComboBox(this);
    m_sound->setObjectName(QStringLiteral("RuleSound"));
    m_sound->setAccessibleName(QStringLiteral("Sound"));
    m_sound->addItems({QStringLiteral("No sound"), QStringLiteral("The alarm sound (dx.wav)"),
                       QStringLiteral("A WAV file")});
    m_soundFile = new QLineEdit(this);
    m_soundFile->setObjectName(QStringLiteral("RuleSoundFile"));
    m_soundFile->setAccessibleName(QStringLiteral("WAV file name"));
    m_soundFile->setPlaceholderText(QStringLiteral("beep.wav, beside dx.wav"));
    m_soundFile->setMaxLength(200);
    m_notify = new QCheckBox(QStringLiteral("Desktop &notice"), this);
    m_notify->setObjectName(QStringLiteral("RuleNotify"));
    m_notify->setAccessibleName(QStringLiteral("Desktop notice"));
    m_speak = new QCheckBox(QStringLiteral("S&peak"), this);
    m_speak->setObjectName(QStringLiteral("RuleSpeak"));
    m_speak->setAccessibleName(QStringLiteral("Speak"));

    m_sample = new QLineEdit(this);
    m_sample->setObjectName(QStringLiteral("SampleLine"));
    m_sample->setAccessibleName(QStringLiteral("Sample spot line"));
    m_sample->setText(QStringLiteral("DX de W3LPL:     14025.0  3Y0K         CW 599"));
    m_sample->setMaxLength(200);
    m_test = new QPushButton(QStringLiteral("&Test"), this);
    m_test->setObjectName(QStringLiteral("TestRule"));
    m_speakHits = new QCheckBox(QStringLiteral("Speak the live check's DXpedition &hits"), this);
    m_speakHits->setObjectName(QStringLiteral("SpeakHits"));
    m_speakHits->setAccessibleName(QStringLiteral("Speak the live check's DXpedition hits"));
    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("AlertMessage"));
    m_message->setWordWrap(true);

    auto* form = new QFormLayout;
    const auto label = [this](const QString& text, QWidget* buddy) {
        auto* l = new QLabel(text, this);
        l->setBuddy(buddy);
        return l;
    };
    form->addRow(label(QStringLiteral("Na&me:"), m_name), m_name);
    form->addRow(QString(), m_on);
    form->addRow(label(QStringLiteral("&Callsign:"), m_call), m_call);
    form->addRow(label(QStringLiteral("&Entity:"), m_entity), m_entity);
    form->addRow(label(QStringLiteral("C&ontinents:"), m_continents.first()), continents);
    form->addRow(label(QStringLiteral("&Bands:"), m_bands.first()), bands);
    form->addRow(label(QStringLiteral("Mode&s:"), m_modes.first()), modes);
    form->addRow(label(QStringLiteral("Needed:"), m_needed.first()), needed);
    auto* soundRow = new QHBoxLayout;
    soundRow->addWidget(m_sound);
    soundRow->addWidget(m_soundFile, 1);
    form->addRow(label(QStringLiteral("So&und:"), m_sound), soundRow);
    form->addRow(QString(), m_notify);
    form->addRow(QString(), m_speak);
    auto* testRow = new QHBoxLayout;
    testRow->addWidget(m_sample, 1);
    testRow->addWidget(m_test);
    form->addRow(label(QStringLiteral("Sample &line:"), m_sample), testRow);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_add);
    buttons->addWidget(m_delete);
    buttons->addStretch(1);
    buttons->addWidget(m_save);
    auto* left = new QVBoxLayout;
    left->addWidget(listLabel);
    left->addWidget(m_list, 1);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addLayout(form, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_problems);
    layout->addLayout(columns, 1);
    layout->addWidget(m_speakHits);
    layout->addLayout(buttons);
    layout->addWidget(m_message);

    connect(m_list, &QListWidget::currentRowChanged, this, &AlertsWindow::showRule);
    connect(m_list, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        // The check box of a row turns its rule on and off.
        const int row = m_list->row(item);
        if (m_filling || row < 0 || row >= m_rules.size())
            return;
        m_rules[row].on = item->checkState() == Qt::Checked;
        if (row == m_list->currentRow()) {
            m_filling = true;
            m_on->setChecked(m_rules[row].on);
            m_filling = false;
        }
    });
    for (QLineEdit* edit : {m_name, m_call, m_entity, m_soundFile})
        connect(edit, &QLineEdit::textEdited, this, &AlertsWindow::takeFields);
    for (QCheckBox* box : QList<QCheckBox*>{m_on, m_notify, m_speak} + m_continents + m_bands + m_modes
                                + m_needed)
        connect(box, &QCheckBox::toggled, this, &AlertsWindow::takeFields);
    connect(m_sound, &QComboBox::currentIndexChanged, this, &AlertsWindow::takeFields);
    connect(m_add, &QPushButton::clicked, this, &AlertsWindow::addRule);
    connect(m_delete, &QPushButton::clicked, this, &AlertsWindow::deleteRule);
    connect(m_save, &QPushButton::clicked, this, &AlertsWindow::save);
    connect(m_test, &QPushButton::clicked, this, &AlertsWindow::testRule);
    connect(m_sample, &QLineEdit::returnPressed, this, &AlertsWindow::testRule);
    connect(m_speakHits, &QCheckBox::toggled, this, &AlertsWindow::speakHitsChanged);
}

void AlertsWindow::refreshItem(int row)
{
    QListWidgetItem* item = m_list->item(row);
    const AlertRule& rule = m_rules[row];
    const bool filling = std::exchange(m_filling, true);
    item->setText(rule.name.isEmpty() ? QStringLiteral("(no name)") : rule.name);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(rule.on ? Qt::Checked : Qt::Unchecked);
    m_filling = filling;
}

void AlertsWindow::showRule(int row)
{
    const bool has = row >= 0 && row < m_rules.size();
    const QList<QWidget*> fields = QList<QWidget*>{m_name, m_on, m_call, m_entity, m_sound,
                                                   m_soundFile, m_notify, m_speak, m_delete, m_test};
    for (QWidget* field : fields)
        field->setEnabled(has);
    for (QCheckBox* box : m_continents + m_bands + m_modes + m_needed)
        box->setEnabled(has);
    m_filling = true;
    const AlertRule rule = has ? m_rules[row] : AlertRule{};
    m_name->setText(rule.name);
    m_on->setChecked(rule.on);
    m_call->setText(rule.call.text());
    m_entity->setText(rule.entity);
    checkMask(m_continents, rule.continents);
    checkMask(m_bands, rule.bands);
    checkMask(m_modes, rule.modes);
    checkMask(m_needed, rule.needed);
    m_sound->setCurrentIndex(int(rule.sound));
    m_soundFile->setText(rule.soundFile);
    m_soundFile->setEnabled(has && rule.sound == AlertRule::Sound::File);
    m_notify->setChecked(rule.notify);
    m_speak->setChecked(rule.speak);
    m_filling = false;
}

// The fields into the current rule, as they change. A callsign pattern that
// is no pattern is refused with a message and the rule keeps its last one.
void AlertsWindow::takeFields()
{
    const int row = m_list->currentRow();
    if (m_filling || row < 0 || row >= m_rules.size())
        return;
    AlertRule& rule = m_rules[row];
    rule.name = m_name->text().trimmed();
    rule.on = m_on->isChecked();
    if (const std::optional<CallPattern> call = CallPattern::compile(m_call->text())) {
        rule.call = *call;
        if (m_message->text().startsWith(QLatin1String("Callsign")))
            m_message->clear();
    } else {
        say(QStringLiteral("Callsign pattern: only letters, digits, \"/\", \"*\" and \"?\""));
    }
    rule.entity = m_entity->text().trimmed();
    rule.continents = maskOf<quint8>(m_continents);
    rule.bands = maskOf<quint16>(m_bands);
    rule.modes = maskOf<quint8>(m_modes);
    rule.needed = maskOf<quint8>(m_needed);
    rule.sound = AlertRule::Sound(qBound(0, m_sound->currentIndex(), 2));
    rule.soundFile = rule.sound == AlertRule::Sound::File ? m_soundFile->text().trimmed() : QString();
    m_soundFile->setEnabled(rule.sound == AlertRule::Sound::File);
    rule.notify = m_notify->isChecked();
    rule.speak = m_speak->isChecked();
    refreshItem(row);
}

void AlertsWindow::addRule()
{
    AlertRule rule;
    rule.name = QStringLiteral("Rule %1").arg(m_rules.size() + 1);
    rule.on = true;
    rule.notify = true;
    m_rules.append(rule);
    m_list->addItem(QString());
    refreshItem(int(m_rules.size()) - 1);
    m_list->setCurrentRow(int(m_rules.size()) - 1);
    m_name->setFocus();
    m_name->selectAll();
}

void AlertsWindow::deleteRule()
{
    const int row = m_list->currentRow();
    if (row < 0 || row >= m_rules.size())
        return;
    const QString name = m_rules[row].name;
    m_rules.removeAt(row);
    delete m_list->takeItem(row);
    showRule(m_list->currentRow());
    say(QStringLiteral("Deleted %1 (not saved yet)").arg(name));
    m_list->setFocus();
}

void AlertsWindow::save()
{
    QString error;
    if (!AlertsFile::write(m_path, m_rules, &error)) {
        say(error);
        return;
    }
    m_problems->hide();
    say(QStringLiteral("Saved %1 rules").arg(m_rules.size()));
    emit rulesSaved(m_rules);
}

void AlertsWindow::testRule()
{
    const int row = m_list->currentRow();
    if (row < 0 || row >= m_rules.size())
        return;
    static const CountryTable noCountries;
    const CountryTable& countries = m_countries ? *m_countries : noCountries;
    const std::optional<AlertSpot> spot = AlertSpot::fromLine(m_sample->text(), countries);
    if (!spot) {
        say(QStringLiteral("The sample is no DX spot line"));
        return;
    }
    const AlertRule& rule = m_rules[row];
    const QString facts = QStringLiteral("%1, %2, %3, %4")
                              .arg(spot->callsign,
                                   spot->entity.isEmpty() ? QStringLiteral("unknown entity")
                                                          : spot->entity,
                                   spot->band >= 0 ? AlertRule::bandName(spot->band)
                                                   : QStringLiteral("no band"),
                                   spot->mode.isEmpty() ? QStringLiteral("no mode") : spot->mode);
    say(rule.matches(*spot) ? QStringLiteral("%1 alerts on %2").arg(rule.name, facts)
                            : QStringLiteral("%1 does not alert on %2").arg(rule.name, facts));
}

// A message under the controls, told to a screen reader as it changes.
void AlertsWindow::say(const QString& text)
{
    m_message->setText(text);
    if (QAccessible::isActive()) {
        QAccessibleEvent e(m_message, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&e);
    }
}
