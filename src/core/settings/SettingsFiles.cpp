#include "settings/SettingsFiles.h"

#include "settings/IniFile.h"

#include <QDir>

SettingsFiles::SettingsFiles(QString programDir) : m_programDir(std::move(programDir)) {}

QString SettingsFiles::settingsPath() const
{
    return QDir(m_programDir).filePath(QStringLiteral("settings.ini"));
}

QString SettingsFiles::settings2Path() const
{
    return QDir(m_programDir).filePath(QStringLiteral("settings2.ini"));
}

bool SettingsFiles::SaveThemeSettings(const QString& themeName, QString* error) const
{
    return IniFile(settingsPath())
        .writeString(QStringLiteral("Theme"), QStringLiteral("SelectedTheme"), themeName, error);
}

QString SettingsFiles::LoadThemeSettings() const
{
    return IniFile(settingsPath())
        .readString(QStringLiteral("Theme"), QStringLiteral("SelectedTheme"));
}

bool SettingsFiles::SaveNode(const QString& nodeText, QString* error) const
{
    return IniFile(settingsPath())
        .writeString(QStringLiteral("Node"), QStringLiteral("Elemento"), nodeText, error);
}

QString SettingsFiles::LoadNode() const
{
    return IniFile(settingsPath()).readString(QStringLiteral("Node"), QStringLiteral("Elemento"));
}

bool SettingsFiles::LoadAutoReconnect() const
{
    return IniFile(settingsPath()).readInteger(QStringLiteral("Session"),
                                               QStringLiteral("AutoReconnect"), 1) != 0;
}

bool SettingsFiles::SaveFont(const FontSettings& font, QString* error) const
{
    const IniFile ini(settings2Path());
    const QString section = QStringLiteral("Font");
    return ini.writeString(section, QStringLiteral("FontName"), font.name, error) &&
           ini.writeInteger(section, QStringLiteral("FontSize"), font.size, error) &&
           ini.writeString(section, QStringLiteral("FontBold"),
                           font.bold ? QStringLiteral("1") : QStringLiteral("0"), error) &&
           ini.writeString(section, QStringLiteral("FontItalic"),
                           font.italic ? QStringLiteral("1") : QStringLiteral("0"), error) &&
           ini.writeInteger(section, QStringLiteral("TextColor"), font.color, error);
}

QString SettingsFiles::LoadFontsName() const
{
    return IniFile(settings2Path()).readString(QStringLiteral("Font"), QStringLiteral("FontName"));
}

int SettingsFiles::LoadFontsSize() const
{
    return IniFile(settings2Path())
        .readInteger(QStringLiteral("Font"), QStringLiteral("FontSize"), kDefaultFontSize);
}

int SettingsFiles::LoadFontsColor() const
{
    return IniFile(settings2Path())
        .readInteger(QStringLiteral("Font"), QStringLiteral("TextColor"), kDefaultTextColor);
}
