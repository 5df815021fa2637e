#pragma once

#include <QString>
#include <QWidget>

#include <memory>

class LogIndex;
class LogLoader;
class QLabel;
class QLineEdit;
class QPushButton;

// The DX window's part about the user's log: the line that sums it up
//   "Log: 12,345 QSOs, 287 entities worked, 251 confirmed (mylog.adi, read 14:05)"
// and the row "My log:" with the file, a chooser and the options. A chosen
// file is read at once by the loader and kept in settings.ini only when it
// is a log; a file that is none is refused with the loader's words, which
// name the line, and the log in use before stays.
class LogPanel : public QWidget
{
    Q_OBJECT
public:
    LogPanel(LogLoader* loader, QString programDir, QWidget* parent = nullptr);

    // Takes a file as the chooser would give it.
    void chooseFile(const QString& path);

    QLabel* summaryLine() const { return m_summary; }
    QLabel* message() const { return m_message; }

private:
    void showIndex(const std::shared_ptr<const LogIndex>& index);
    void showFailure(const QString& message);
    void pickFile();
    void editOptions();
    void say(const QString& text);

    LogLoader* m_loader;
    QString m_programDir;
    QString m_trying; // a chosen file not yet read
    QLabel* m_summary = nullptr;
    QLineEdit* m_file = nullptr;
    QPushButton* m_choose = nullptr;
    QPushButton* m_options = nullptr;
    QLabel* m_message = nullptr;
};
