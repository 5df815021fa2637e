#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

// One built-in style's colours and measures, read from its palette file:
//
//   ; Ruby Graphite: graphite panels, ruby accents
//   window = #2b2d31
//   radius = 3
//
// The shared style sheet names them as @window, @radius ...; the window code
// turns the colours into the application palette.
class StyleDefinition
{
public:
    // The colours every style must give: the palette's roles and the few
    // the shared sheet adds (borders, hover, the terminal pane).
    static const QStringList& requiredColours();

    // Lines of "key = value"; blank lines and lines starting with ';' are
    // skipped. Fails, with a reason in error, on a line without '=', on a
    // missing required colour or on a colour that is not "#rrggbb".
    static std::optional<StyleDefinition> parse(const QString& text, QString* error = nullptr);

    QString value(const QString& key) const { return m_values.value(key); }
    // 0xRRGGBB of a colour value "#rrggbb"; nothing for another value.
    std::optional<quint32> colour(const QString& key) const;

    // The sheet with every @name replaced by its value. Names the style does
    // not give are left as they are and listed in unknown.
    QString expand(const QString& sheetTemplate, QStringList* unknown = nullptr) const;

    // "#1b1d21" -> 0x1b1d21; anything else -> nothing.
    static std::optional<quint32> parseColour(const QString& text);

private:
    QMap<QString, QString> m_values;
};
