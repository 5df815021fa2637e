#pragma once

#include "settings/StyleDefinition.h"
#include "settings/StyleRegistry.h"

#include <QPalette>
#include <QString>

#include <optional>

// Gives the whole application one of the styles of StyleRegistry: the style
// sheet made from the shared rules and the style's palette file, and the
// application palette made from the same colours. "Windows" is the plain
// system look the program starts with.
class AppTheme
{
public:
    // Switches the application to the style shown under this name. A name
    // the program does not carry, or a style whose files cannot be read,
    // changes nothing and returns false with the reason in error.
    static bool apply(const QString& displayName, QString* error = nullptr);

    // The plain system look of the start: no style sheet, the palette and
    // widget style the application had before the first apply().
    static void reset();

    // A built-in style's definition and its finished style sheet, read from
    // the resources.
    static std::optional<StyleDefinition> definition(const StyleRegistry::Style& style,
                                                     QString* error = nullptr);
    static std::optional<QString> styleSheet(const StyleRegistry::Style& style,
                                             QString* error = nullptr);
    static QPalette palette(const StyleDefinition& def);
};
