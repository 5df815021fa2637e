#pragma once

#include <QString>
#include <QUrl>

#include <functional>

// What the DX calendar window takes from the program: where its page file
// goes, the two addresses it shows, and the two ways it talks to the user.
struct CalendarWindowContext
{
    QString programDir;   // the page file "temp.html" is written here
    QString widgetUrl;    // the calendar widget script
    QString printableUrl; // the printable calendar page
    std::function<void(const QString&)> showMessage; // modal box with one OK button
    std::function<void(const QUrl&)> openUrl;
};
