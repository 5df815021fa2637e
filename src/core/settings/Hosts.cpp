#include "settings/Hosts.h"

#include "settings/IniFile.h"

#include <QDir>

#include <utility>

Hosts loadHosts(const QString& programDir)
{
    Hosts hosts;
    const IniFile ini(QDir(programDir).filePath(QStringLiteral("settings.ini")));
    const std::pair<const char*, QString*> keys[] = {
        {"Probe", &hosts.probe},
        {"DxpeditionList", &hosts.dxpeditionList},
        {"CalendarWidget", &hosts.calendarWidget},
        {"PrintableCalendar", &hosts.printableCalendar},
        {"WeatherMap", &hosts.weatherMap},
        {"DayNightMap", &hosts.dayNightMap},
        {"ClusterCommands", &hosts.clusterCommands},
        {"CallsignLookup", &hosts.callsignLookup},
        {"Channel", &hosts.channel},
        {"SupportMail", &hosts.supportMail},
    };
    for (const auto& [key, field] : keys) {
        const QString value = ini.readString(QStringLiteral("Hosts"), QLatin1String(key));
        if (!value.isEmpty())
            *field = value;
    }
    return hosts;
}

QUrl linkUrl(const QString& address)
{
    const QUrl url(address.trimmed(), QUrl::StrictMode);
    if (!url.isValid() || url.scheme().isEmpty() ||
        (url.path().isEmpty() && url.host().isEmpty()))
        return {};
    return url;
}
