#include "settings/StyleRegistry.h"

const QList<StyleRegistry::Style>& StyleRegistry::styles()
{
    static const QList<Style> all = {
        {QString(), QStringLiteral("Windows")},
        {QStringLiteral("AMAKRITS"), QStringLiteral("Amakrits")},
        {QStringLiteral("AMETHYSTKAMRI"), QStringLiteral("Amethyst Kamri")},
        {QStringLiteral("AQUAGRAPHITE"), QStringLiteral("Aqua Graphite")},
        {QStringLiteral("AURIC"), QStringLiteral("Auric")},
        {QStringLiteral("CARBON"), QStringLiteral("Carbon")},
        {QStringLiteral("CHARCOALDARKSLATE"), QStringLiteral("Charcoal Dark Slate")},
        {QStringLiteral("COBALTXEMEDIA"), QStringLiteral("Cobalt XEMedia")},
        {QStringLiteral("CYANDUSK"), QStringLiteral("Cyan Dusk")},
        {QStringLiteral("CYANNIGHT"), QStringLiteral("Cyan Night")},
        {QStringLiteral("EMERALDLIGHTSLATE"), QStringLiteral("Emerald Light Slate")},
        {QStringLiteral("GOLDENGRAPHITE"), QStringLiteral("Golden Graphite")},
        {QStringLiteral("LIGHT"), QStringLiteral("Light")},
        {QStringLiteral("LUNA"), QStringLiteral("Luna")},
        {QStringLiteral("OBSIDIAN"), QStringLiteral("Obsidian")},
        {QStringLiteral("ONYXBLUE"), QStringLiteral("Onyx Blue")},
        {QStringLiteral("RUBYGRAPHITE"), QStringLiteral("Ruby Graphite")},
        {QStringLiteral("WINDOWS"), QStringLiteral("Windows10")},
        {QStringLiteral("WINDOWSBLUE"), QStringLiteral("Windows10 Blue")},
        {QStringLiteral("WINDOWSDARK"), QStringLiteral("Windows10 Dark")},
    };
    return all;
}

QStringList StyleRegistry::displayNames()
{
    QStringList names;
    for (const Style& s : styles())
        names.append(s.displayName);
    return names;
}

std::optional<StyleRegistry::Style> StyleRegistry::find(const QString& displayName)
{
    for (const Style& s : styles()) {
        if (s.displayName.compare(displayName, Qt::CaseInsensitive) == 0)
            return s;
    }
    return std::nullopt;
}

QString StyleRegistry::paletteResource(const Style& style)
{
    return QStringLiteral(":/styles/%1.palette").arg(style.resourceName);
}

QString StyleRegistry::extraSheetResource(const Style& style)
{
    return QStringLiteral(":/styles/%1.qss").arg(style.resourceName);
}

QString StyleRegistry::sheetTemplateResource()
{
    return QStringLiteral(":/styles/template.qss");
}
