#pragma once

#include "alerts/AlertRule.h"

#include <QList>
#include <QWidget>

#include <memory>

class CountryTable;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// The editor of the alert rules: add, change, delete, turn on and off, and
// try a rule on a sample spot line. Every control is reached with the
// keyboard and has an accessible name. Saving writes alerts.ini and hands
// the rules to the main window.
class AlertsWindow : public QWidget
{
    Q_OBJECT
public:
    // path: alerts.ini; problems: what was wrong with it when it was read.
    AlertsWindow(QString path, QList<AlertRule> rules, const QStringList& problems,
                 std::shared_ptr<const CountryTable> countries, bool speakHits,
                 QWidget* parent = nullptr);

    const QList<AlertRule>& rules() const { return m_rules; }

    // The controls, for tests that drive the window as a user would.
    QListWidget* ruleList() const { return m_list; }
    QLabel* messageLabel() const { return m_message; }

signals:
    // The rules were saved to alerts.ini.
    void rulesSaved(const QList<AlertRule>& rules);
    void speakHitsChanged(bool speak);

private:
    void buildControls();
    void showRule(int row);
    void takeFields();
    void addRule();
    void deleteRule();
    void save();
    void testRule();
    void refreshItem(int row);
    void say(const QString& text);

    QString m_path;
    QList<AlertRule> m_rules;
    std::shared_ptr<const CountryTable> m_countries;
    bool m_filling = false; // fields are being filled from a rule

    QLabel* m_problems = nullptr;
    QListWidget* m_list = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_save = nullptr;
    QLineEdit* m_name = nullptr;
    QCheckBox* m_on = nullptr;
    QLineEdit* m_call = nullptr;
    QLineEdit* m_entity = nullptr;
    QList<QCheckBox*> m_continents;
    QList<QCheckBox*> m_bands;
    QList<QCheckBox*> m_modes;
    QList<QCheckBox*> m_needed; // entity, band, mode, slot: by the user's log
    QComboBox* m_sound = nullptr;
    QLineEdit* m_soundFile = nullptr;
    QCheckBox* m_notify = nullptr;
    QCheckBox* m_speak = nullptr;
    QLineEdit* m_sample = nullptr;
    QPushButton* m_test = nullptr;
    QCheckBox* m_speakHits = nullptr;
    QLabel* m_message = nullptr;
};
