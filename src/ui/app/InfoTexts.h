#pragma once

#include <QStringList>

// The four information texts that Memo1 rotates through, one a minute.
namespace InfoTexts {

inline QStringList texts()
{
    const QString crlf = QStringLiteral("\r\n");
    return {
        QStringList{
            QStringLiteral(
                "Welcome in Marvix Terminal, first of all you can check if a Node is pinged"),
            QStringLiteral("<-------- Click on the address, the answer is V for \"Verified\", N "
                           "for \"not reachable\""),
            QStringLiteral(
                "When a Node is choosen just press the CONNECT button, it will ask for LOGIN,"),
            QStringLiteral("...when you're logged in, you are ready to active LIVE CHECK "
                           "(highlight Dxpeditions)"),
        }
            .join(crlf),
        QStringLiteral(
            "All spots from the cluster are checked to determine if they are included in the main "
            "list for the current month. (gathered from major bullettins and world lists)"),
        QStringList{
            QStringLiteral("All spots from the cluster are checked to determine if they are "
                           "included in the main list for the current month."),
            QStringLiteral("Dxpeditions on air highlighted also with \"DX\" sound  _..  _.._ "),
        }
            .join(crlf),
        QStringList{
            QStringLiteral(" "),
            QStringLiteral("At the beginning of each month, close and reopen the program to load "
                           "the new list. "),
        }
            .join(crlf),
    };
}

} // namespace InfoTexts
