#pragma once

#include <QString>

// The font the terminal pane uses, as settings2.ini stores it.
struct FontSettings
{
    QString name;
    int size = 12;
    bool bold = false;
    bool italic = false;
    int color = 10000; // 0x00BBGGRR, red in the lowest byte
};

// The program's two settings files in its own folder: settings.ini (theme
// and chosen node) and settings2.ini (terminal font). Each call opens its
// file afresh. A refused write returns false and sets error to
// "Unable to write to <full path>" for the window to show.
class SettingsFiles
{
public:
    static constexpr int kDefaultFontSize = 12;
    // Red 16, green 39, blue 0: a very dark green.
    static constexpr int kDefaultTextColor = 10000;

    explicit SettingsFiles(QString programDir);

    QString settingsPath() const;  // settings.ini
    QString settings2Path() const; // settings2.ini

    bool SaveThemeSettings(const QString& themeName, QString* error = nullptr) const;
    QString LoadThemeSettings() const;

    bool SaveNode(const QString& nodeText, QString* error = nullptr) const;
    QString LoadNode() const;

    // [Session] AutoReconnect: on unless the user wrote 0; never written.
    bool LoadAutoReconnect() const;

    // Writes FontName, FontSize, FontBold, FontItalic and TextColor, in that
    // order; stops at the first refused write.
    bool SaveFont(const FontSettings& font, QString* error = nullptr) const;
    QString LoadFontsName() const;
    int LoadFontsSize() const;
    int LoadFontsColor() const;

private:
    QString m_programDir;
};
