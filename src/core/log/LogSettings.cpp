#include "log/LogSettings.h"

#include "settings/IniFile.h"

#include <QDir>

namespace {

const QString kSection = QStringLiteral("Log");

IniFile settingsIni(const QString& dir)
{
    return IniFile(QDir(dir).filePath(QStringLiteral("settings.ini")));
}

} // namespace

LogSettings::LogSettings(QString programDir) : m_programDir(std::move(programDir)) {}

QString LogSettings::file() const
{
    return settingsIni(m_programDir).readString(kSection, QStringLiteral("File")).trimmed();
}

bool LogSettings::saveFile(const QString& path, QString* error) const
{
    return settingsIni(m_programDir).writeString(kSection, QStringLiteral("File"), path, error);
}

LogOptions LogSettings::options() const
{
    const IniFile ini = settingsIni(m_programDir);
    LogOptions options;
    if (const auto bits = LogOptions::confirmationsFromText(
            ini.readString(kSection, QStringLiteral("Confirmations"))))
        options.confirmations = *bits;
    options.myCalls =
        LogOptions::callsFromText(ini.readString(kSection, QStringLiteral("MyCalls")));
    if (const auto since =
            LogOptions::dateFromText(ini.readString(kSection, QStringLiteral("Since"))))
        options.since = *since;
    return options;
}

bool LogSettings::saveOptions(const LogOptions& options, QString* error) const
{
    const IniFile ini = settingsIni(m_programDir);
    return ini.writeString(kSection, QStringLiteral("Confirmations"),
                           LogOptions::confirmationsText(options.confirmations), error) &&
           ini.writeString(kSection, QStringLiteral("MyCalls"), options.myCalls.join(u','),
                           error) &&
           ini.writeString(
               kSection, QStringLiteral("Since"),
               options.since.isValid() ? options.since.toString(Qt::ISODate) : QString(), error);
}
