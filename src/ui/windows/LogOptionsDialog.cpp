#include "windows/LogOptionsDialog.h"

#include "log/LogQso.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

LogOptionsDialog::LogOptionsDialog(const LogOptions& options, QWidget* parent)
    : QDialog(parent), m_options(options)
{
    setObjectName(QStringLiteral("LogOptionsDialog"));
    setWindowTitle(QStringLiteral("Log options"));
    m_lotw = new QCheckBox(QStringLiteral("&LoTW"), this);
    m_card = new QCheckBox(QStringLiteral("&Card"), this);
    m_eqsl = new QCheckBox(QStringLiteral("&eQSL"), this);
    m_lotw->setChecked(options.confirmations & LogQso::Lotw);
    m_card->setChecked(options.confirmations & LogQso::Card);
    m_eqsl->setChecked(options.confirmations & LogQso::Eqsl);
    auto* confirmations = new QHBoxLayout;
    for (QCheckBox* box : {m_lotw, m_card, m_eqsl})
        confirmations->addWidget(box);

    m_calls = new QLineEdit(options.myCalls.join(QStringLiteral(", ")), this);
    m_calls->setObjectName(QStringLiteral("LogMyCalls"));
    m_calls->setMaxLength(200);
    m_calls->setPlaceholderText(QStringLiteral("All my calls"));
    m_since = new QLineEdit(options.since.isValid() ? options.since.toString(Qt::ISODate) : QString(),
                            this);
    m_since->setObjectName(QStringLiteral("LogSince"));
    m_since->setMaxLength(10);
    m_since->setPlaceholderText(QStringLiteral("yyyy-mm-dd"));
    m_problem = new QLabel(this);
    m_problem->setObjectName(QStringLiteral("LogOptionsProblem"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Confirmations that count:"), confirmations);
    form->addRow(QStringLiteral("&My calls:"), m_calls);
    form->addRow(QStringLiteral("&Since:"), m_since);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &LogOptionsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &LogOptionsDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_problem);
    layout->addWidget(buttons);
}

void LogOptionsDialog::accept()
{
    LogOptions options;
    options.confirmations = (m_lotw->isChecked() ? LogQso::Lotw : 0)
                            | (m_card->isChecked() ? LogQso::Card : 0)
                            | (m_eqsl->isChecked() ? LogQso::Eqsl : 0);
    if (options.confirmations == 0) {
        m_problem->setText(QStringLiteral("Tick at least one confirmation that counts."));
        return;
    }
    options.myCalls = LogOptions::callsFromText(m_calls->text());
    const QString since = m_since->text().trimmed();
    if (!since.isEmpty()) {
        const std::optional<QDate> date = LogOptions::dateFromText(since);
        if (!date) {
            m_problem->setText(QStringLiteral("\"%1\" is no date: write it as 2020-01-01.").arg(since));
            m_since->setFocus();
            return;
        }
        options.since = *date;
    }
    m_options = options;
    QDialog::accept();
}
