#pragma once

#include "net/InternetCheck.h"
#include "rig/RigConfig.h"
#include "session/SessionTimings.h"
#include "settings/Hosts.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>


// Everything the main window takes from the outside world. main() builds the
// real one; a test builds one around a temporary folder and records what the
// window shows and opens.
struct AppContext
{
    QString programDir; // settings.ini, settings2.ini, temp.html
    QString workDir;    // nodes.txt, dx.wav
    // What the info window tells the user about where this run keeps its
    // files, beyond the two folders (empty for a program in a folder of its
    // own, run where its nodes.txt is).
    QStringList fileNotes;
    Hosts hosts;
    // The hooks are never empty: main() gives the real ones (a message box,
    // the desktop's browser, the application's end), a test its recorders;
    // these defaults only keep a context made by hand from calling nothing.
    std::function<QDateTime()> nowUtc = [] { return QDateTime::currentDateTimeUtc(); };
    std::function<void(const QString&)> showMessage = [](const QString&) {}; // modal box, one OK button
    std::function<void(const QUrl&)> openUrl = [](const QUrl&) {};
    // The start-up internet probe, asked with hosts.probe and the HTTP
    // limits below: the real one unless a test gives its own answer.
    std::function<bool(const QString& probeUrl, int connectTimeoutMs, int requestTimeoutMs)>
        internetCheck = CheckInternetConnection;
    // Asks the application to end.
    std::function<void()> quit = [] {};
    int startupPauseMs = 1000;
    // The calendar window and its browser are made, hidden, once the main
    // window is on screen; without this they are made at their first use.
    bool calendarAtStart = true;
    // Limits of the start-up fetches (the probe and the DXpedition list), so
    // that a web host that never answers cannot hold start-up for ever.
    int httpConnectTimeoutMs = 10000;
    int httpRequestTimeoutMs = 30000;
    // Where alerts go: the D-Bus bus of the desktop's notification service
    // (empty: the session bus) and the speech engine (empty: the system's).
    QString notificationBusAddress;
    QString speechEngine;
    // The radios behind "Rig 1" and "Rig 2".
    RigBackend rig;
    SessionTimings timings;
    // Where the count of the lines taken from the node (Label4) starts; the
    // warning comes when it reaches 200,000. The program starts at 0; a test
    // starts just below the warning instead of feeding 200,000 lines.
    qint32 countedLinesAtStart = 0;
};
