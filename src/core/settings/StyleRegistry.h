#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The visual styles the program carries. "Windows" is the plain system look
// and has no resource; every built-in style has an upper-case resource name
// (its files under :/styles/) and the display name shown in the theme box and
// stored in settings.ini.
class StyleRegistry
{
public:
    struct Style
    {
        QString resourceName; // empty for the plain system look
        QString displayName;
    };

    // "Windows" first, then the built-in styles.
    static const QList<Style>& styles();
    static QStringList displayNames();

    // The style shown under this display name, letters compared without
    // regard to case (a hand-edited settings.ini may say "obsidian"); nothing
    // for an unknown name.
    static std::optional<Style> find(const QString& displayName);

    static bool isSystemLook(const Style& style) { return style.resourceName.isEmpty(); }

    // Where a built-in style's files live in the program's resources.
    static QString paletteResource(const Style& style);
    static QString extraSheetResource(const Style& style);
    // The rules every built-in style shares, written with @colour names.
    static QString sheetTemplateResource();
};
