#pragma once

#include <QString>
#include <QUrl>

// Every outside address the program talks to. The compiled-in defaults can
// be overridden by an optional [Hosts] section of settings.ini, which is how
// the demo and the tests point the program at local servers.
struct Hosts
{
    QString probe = QStringLiteral("http://www.google.com/");
    // The program has no web host of its own yet: the list lives under a
    // reserved domain until one exists (see README).
    QString dxpeditionList = QStringLiteral("https://marvix-terminal.example/listadxdolv.txt");
    QString calendarWidget = QStringLiteral("https://www.dxnews.com/calendar.php?width=21&lang=en");
    QString printableCalendar = QStringLiteral("https://www.dxnews.com/calendar/");
    QString weatherMap = QStringLiteral("https://zoom.earth/maps/satellite/");
    QString dayNightMap = QStringLiteral("https://www.timeanddate.com/worldclock/sunearth.html");
    QString clusterCommands = QStringLiteral("https://www.ve7cc.net/CCC_Commands.htm");
    QString callsignLookup = QStringLiteral("https://www.qrz.com/db/");
    // No channel yet: a reserved domain, so the button never sends a user to
    // a stranger's page (see README).
    QString channel = QStringLiteral("https://channel.marvix-terminal.example/");
    QString supportMail = QStringLiteral("mailto:support@marvix-terminal.example");
};

// The hosts with the overrides of the optional [Hosts] section of
// settings.ini in programDir applied: a key present with a non-empty value
// replaces its default. The program never writes that section.
//
//   [Hosts]
//   Probe=http://127.0.0.1:8080/
Hosts loadHosts(const QString& programDir);

// The address as a link for the desktop to open ("https://...",
// "mailto:..."); an empty URL for text that is no address.
QUrl linkUrl(const QString& address);
