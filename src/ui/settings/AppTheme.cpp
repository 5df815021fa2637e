#include "settings/AppTheme.h"

#include <QApplication>
#include <QFile>
#include <QStyle>
#include <QStyleFactory>

namespace {

// What the application looked like before the first style was applied.
struct SystemLook
{
    bool saved = false;
    QPalette palette;
    QString styleName;
};

SystemLook& systemLook()
{
    static SystemLook look;
    return look;
}

void saveSystemLook()
{
    SystemLook& look = systemLook();
    if (look.saved)
        return;
    look.saved = true;
    look.palette = QApplication::palette();
    look.styleName = QApplication::style()->name();
}

std::optional<QString> readResource(const QString& path, QString* error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("cannot read %1").arg(path);
        return std::nullopt;
    }
    return QString::fromUtf8(f.readAll());
}

QColor colourOf(const StyleDefinition& def, const char* key)
{
    return QColor::fromRgb(def.colour(QLatin1String(key)).value_or(0));
}

} // namespace

// The style files live in the static UI library, whose resources are not
// registered by themselves.
static void initResources()
{
    Q_INIT_RESOURCE(styles);
}

std::optional<StyleDefinition> AppTheme::definition(const StyleRegistry::Style& style,
                                                    QString* error)
{
    initResources();
    const std::optional<QString> text = readResource(StyleRegistry::paletteResource(style), error);
    if (!text)
        return std::nullopt;
    QString reason;
    std::optional<StyleDefinition> def = StyleDefinition::parse(*text, &reason);
    if (!def && error)
        *error = QStringLiteral("%1: %2").arg(StyleRegistry::paletteResource(style), reason);
    return def;
}

std::optional<QString> AppTheme::styleSheet(const StyleRegistry::Style& style, QString* error)
{
    const std::optional<StyleDefinition> def = definition(style, error);
    if (!def)
        return std::nullopt;
    std::optional<QString> sheet = readResource(StyleRegistry::sheetTemplateResource(), error);
    if (!sheet)
        return std::nullopt;
    // A style may add rules of its own after the shared ones.
    if (QFile::exists(StyleRegistry::extraSheetResource(style)))
        *sheet += readResource(StyleRegistry::extraSheetResource(style), nullptr).value_or(QString());
    QStringList unknown;
    QString expanded = def->expand(*sheet, &unknown);
    if (!unknown.isEmpty()) {
        if (error)
            *error = QStringLiteral("%1 lacks %2")
                         .arg(StyleRegistry::paletteResource(style), unknown.join(QLatin1String(", ")));
        return std::nullopt;
    }
    return expanded;
}

QPalette AppTheme::palette(const StyleDefinition& def)
{
    const QColor window = colourOf(def, "window");
    const QColor button = colourOf(def, "button");
    const QColor disabled = colourOf(def, "disabledText");
    QPalette pal(button, window);
    pal.setColor(QPalette::Window, window);
    pal.setColor(QPalette::WindowText, colourOf(def, "windowText"));
    pal.setColor(QPalette::Base, colourOf(def, "base"));
    pal.setColor(QPalette::AlternateBase, colourOf(def, "alternateBase"));
    pal.setColor(QPalette::Text, colourOf(def, "text"));
    pal.setColor(QPalette::Button, button);
    pal.setColor(QPalette::ButtonText, colourOf(def, "buttonText"));
    pal.setColor(QPalette::Highlight, colourOf(def, "highlight"));
    pal.setColor(QPalette::HighlightedText, colourOf(def, "highlightedText"));
    pal.setColor(QPalette::ToolTipBase, colourOf(def, "toolTipBase"));
    pal.setColor(QPalette::ToolTipText, colourOf(def, "toolTipText"));
    pal.setColor(QPalette::PlaceholderText, disabled);
    pal.setColor(QPalette::Link, colourOf(def, "accent"));
    pal.setColor(QPalette::LinkVisited, colourOf(def, "accent"));
    pal.setColor(QPalette::BrightText, colourOf(def, "highlightedText"));
    // The frames of panels are drawn with these shades of the button colour.
    pal.setColor(QPalette::Light, button.lighter(150));
    pal.setColor(QPalette::Midlight, button.lighter(120));
    pal.setColor(QPalette::Mid, colourOf(def, "border"));
    pal.setColor(QPalette::Dark, button.darker(180));
    pal.setColor(QPalette::Shadow, button.darker(300));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        pal.setColor(QPalette::Disabled, role, disabled);
    return pal;
}

bool AppTheme::apply(const QString& displayName, QString* error)
{
    const std::optional<StyleRegistry::Style> style = StyleRegistry::find(displayName);
    if (!style) {
        if (error)
            *error = QStringLiteral("no style named %1").arg(displayName);
        return false;
    }
    if (StyleRegistry::isSystemLook(*style)) {
        reset();
        return true;
    }
    const std::optional<StyleDefinition> def = definition(*style, error);
    const std::optional<QString> sheet = def ? styleSheet(*style, error) : std::nullopt;
    if (!sheet)
        return false;
    saveSystemLook();
    // Fusion draws every control from the palette, so the colours hold on
    // any desktop.
    if (QApplication::style()->name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) != 0)
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setPalette(palette(*def));
    qApp->setStyleSheet(*sheet);
    return true;
}

void AppTheme::reset()
{
    SystemLook& look = systemLook();
    qApp->setStyleSheet(QString());
    if (!look.saved)
        return;
    if (QApplication::style()->name() != look.styleName)
        QApplication::setStyle(look.styleName);
    QApplication::setPalette(look.palette);
}
