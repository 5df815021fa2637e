#include "settings/TerminalFont.h"

#include <algorithm>

FontSettings TerminalFont::restored(const QString& name, int size, int textColor)
{
    FontSettings font;
    font.name = name.trimmed().isEmpty() ? designFamily() : name;
    font.size = (size >= kMinSize && size <= kMaxSize) ? size : SettingsFiles::kDefaultFontSize;
    font.bold = false;
    font.italic = false;
    font.color = isTextColor(textColor) ? textColor : SettingsFiles::kDefaultTextColor;
    return font;
}

quint32 TerminalFont::rgbFromTextColor(int textColor)
{
    const quint32 v =
        static_cast<quint32>(isTextColor(textColor) ? textColor : SettingsFiles::kDefaultTextColor);
    const quint32 r = v & 0xff;
    const quint32 g = (v >> 8) & 0xff;
    const quint32 b = (v >> 16) & 0xff;
    return (r << 16) | (g << 8) | b;
}

int TerminalFont::textColorFromRgb(quint32 rgb)
{
    const quint32 r = (rgb >> 16) & 0xff;
    const quint32 g = (rgb >> 8) & 0xff;
    const quint32 b = rgb & 0xff;
    return static_cast<int>((b << 16) | (g << 8) | r);
}

FontSettings TerminalFont::chosen(const FontSettings& before, const QString& family,
                                  int pointSize, bool bold, bool italic, quint32 rgb)
{
    FontSettings f = before;
    f.name = family;
    f.size = std::clamp(pointSize > 0 ? pointSize : before.size, kMinSize, kMaxSize);
    f.bold = bold;
    f.italic = italic;
    f.color = textColorFromRgb(rgb & 0xFFFFFF);
    return f;
}
