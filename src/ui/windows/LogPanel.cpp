#include "windows/LogPanel.h"

#include "log/LogIndex.h"
#include "log/LogLoader.h"
#include "log/LogSettings.h"
#include "windows/LogOptionsDialog.h"

#include <QAccessible>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

LogPanel::LogPanel(LogLoader* loader, QString programDir, QWidget* parent)
    : QWidget(parent), m_loader(loader), m_programDir(std::move(programDir))
{
    setObjectName(QStringLiteral("LogPanel"));
    m_summary = new QLabel(QStringLiteral("Log: none"), this);
    m_summary->setObjectName(QStringLiteral("LogSummary"));
    m_summary->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* label = new QLabel(QStringLiteral("My lo&g:"), this);
    m_file = new QLineEdit(m_loader->file(), this);
    m_file->setObjectName(QStringLiteral("LogFile"));
    m_file->setAccessibleName(QStringLiteral("My log"));
    m_file->setReadOnly(true);
    m_file->setPlaceholderText(QStringLiteral("No log: an ADIF export (.adi, .adif, .adx)"));
    label->setBuddy(m_file);
    m_choose = new QPushButton(QStringLiteral("C&hoose..."), this);
    m_choose->setObjectName(QStringLiteral("ChooseLog"));
    m_choose->setAccessibleName(QStringLiteral("Choose my log"));
    m_options = new QPushButton(QStringLiteral("Log &options..."), this);
    m_options->setObjectName(QStringLiteral("LogOptions"));
    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("LogMessage"));
    m_message->setWordWrap(true);
    m_message->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(label);
    row->addWidget(m_file, 1);
    row->addWidget(m_choose);
    row->addWidget(m_options);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_summary);
    layout->addLayout(row);
    layout->addWidget(m_message);

    connect(m_loader, &LogLoader::indexChanged, this, &LogPanel::showIndex);
    connect(m_loader, &LogLoader::failed, this, &LogPanel::showFailure);
    connect(m_choose, &QPushButton::clicked, this, &LogPanel::pickFile);
    connect(m_options, &QPushButton::clicked, this, &LogPanel::editOptions);
    showIndex(m_loader->index());
}

void LogPanel::pickFile()
{
    const QString start = m_loader->file().isEmpty() ? QString() : QFileInfo(m_loader->file()).path();
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("My log"), start,
        QStringLiteral("ADIF logs (*.adi *.adif *.adx *.ADI *.ADIF *.ADX);;All files (*)"));
    if (!path.isEmpty())
        chooseFile(path);
}

void LogPanel::chooseFile(const QString& path)
{
    if (path == m_loader->file() && m_trying.isEmpty()) {
        m_loader->reload();
        return;
    }
    m_trying = path;
    say(QStringLiteral("Reading %1...").arg(QFileInfo(path).fileName()));
    m_loader->setFile(path);
}

void LogPanel::showIndex(const std::shared_ptr<const LogIndex>& index)
{
    if (!index) {
        // A new file is being read, or there is no log.
        if (m_loader->file().isEmpty())
            m_summary->setText(QStringLiteral("Log: none"));
        return;
    }
    m_summary->setText(LogIndex::summaryLine(index->summary()));
    if (!m_trying.isEmpty() && m_trying == m_loader->file()) {
        m_trying.clear();
        m_file->setText(m_loader->file());
        QString error;
        if (LogSettings(m_programDir).saveFile(m_loader->file(), &error))
            say(QStringLiteral("Using %1.").arg(QFileInfo(m_loader->file()).fileName()));
        else
            say(error);
    }
}

void LogPanel::showFailure(const QString& message)
{
    say(message);
    if (m_trying.isEmpty())
        return;
    // The chosen file is no log: the one in use before comes back.
    m_trying.clear();
    const QString kept = LogSettings(m_programDir).file();
    m_file->setText(kept);
    // Once the loader is done telling: it is not read again from inside
    // its own signal.
    QMetaObject::invokeMethod(
        m_loader, [loader = m_loader, kept] { loader->setFile(kept); }, Qt::QueuedConnection);
    if (kept.isEmpty())
        m_summary->setText(QStringLiteral("Log: none"));
}

void LogPanel::editOptions()
{
    LogOptionsDialog dialog(LogSettings(m_programDir).options(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    QString error;
    if (!LogSettings(m_programDir).saveOptions(dialog.options(), &error))
        say(error);
    m_loader->setOptions(dialog.options());
}

// Shown, and told to a screen reader at once: the user just acted.
void LogPanel::say(const QString& text)
{
    m_message->setText(text);
    QAccessibleEvent event(m_message, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}
