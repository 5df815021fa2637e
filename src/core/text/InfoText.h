#pragma once

#include <QString>
#include <QStringList>

// The text of the info window: what the program is, how to use it, where its
// files are, and the disclaimer.
class InfoText
{
public:
    struct Facts
    {
        QString version;        // "0.1.0"
        QString nodeListPath;   // the nodes.txt this run reads
        QString settingsFolder; // where settings.ini and settings2.ini are kept
        // Further paragraphs about the program's files, shown after the
        // node list and the settings (for instance where an installed
        // program keeps each user's files).
        QStringList fileNotes;
    };

    // Lines separated by "\n".
    static QString compose(const Facts& facts);
};
