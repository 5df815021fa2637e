#pragma once

#include "settings/Hosts.h"
#include "text/InfoText.h"

#include <QDialog>
#include <QUrl>

#include <functional>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class TResizeKit;

// The info window "Info and Credits": what the program is and how to use it,
// a button that writes to the support address, one that opens the program's
// channel page, and the way back to the terminal. The main window shows it
// modally.
class Tinfo : public QDialog
{
    Q_OBJECT
public:
    Tinfo(const InfoText::Facts& facts, const Hosts& hosts,
          std::function<void(const QUrl&)> openUrl, QWidget* parent = nullptr);

    QPlainTextEdit* Memo1 = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* BitBtn2 = nullptr; // Questions
    QPushButton* BitBtn3 = nullptr; // Back to Terminal
    QPushButton* BitBtn4 = nullptr; // the channel
    TResizeKit* ResizeKit1 = nullptr;

    void BitBtn2Click();
    void BitBtn3Click();
    void BitBtn4Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void openAddress(const QString& address);

    Hosts m_hosts;
    std::function<void(const QUrl&)> m_openUrl;
};
