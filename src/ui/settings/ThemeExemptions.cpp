#include "settings/ThemeExemptions.h"

#include "settings/DesignLook.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>

namespace {

enum class Keep
{
    Sheet,        // its own style sheet under every theme
    PlainOnly,    // its own style sheet under the plain look only
    SystemColours // the palette of the plain system look, fixed on the control
};

struct Exemption
{
    const char* window;
    const char* control;
    Keep keep;
    const char* sheet;
};

const Exemption kExemptions[] = {
    {"form1", "EditCommand", Keep::Sheet, "#EditCommand { background: aqua; }"},
    {"form1", "Edit1", Keep::Sheet, "#Edit1 { color: blue; background-color: white; }"},
    {"form1", "ListView1", Keep::PlainOnly, "#ListView1 { background: #A6CAF0; }"},
    {"form1", "Re3", Keep::SystemColours, nullptr},
    {"dxcalendar", "Label1", Keep::Sheet, "#Label1 { color: blue; }"},
    {"dxcalendar", "Label2", Keep::Sheet, "#Label2 { color: red; }"},
};

QWidget* controlOf(QWidget* window, const Exemption& e)
{
    if (window->objectName() != QLatin1String(e.window))
        return nullptr;
    return window->findChild<QWidget*>(QLatin1String(e.control));
}

// The spot pane paints with the palette, so the colours of the plain look
// are copied onto it, and its background is named in a sheet of its own.
void keepSystemColours(QWidget* control)
{
    const QPalette system = QApplication::palette();
    QPalette fixed = control->palette();
    for (QPalette::ColorRole role :
         {QPalette::Base, QPalette::Text, QPalette::Window, QPalette::WindowText,
          QPalette::Highlight, QPalette::HighlightedText}) {
        for (QPalette::ColorGroup group :
             {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            fixed.setColor(group, role, system.color(group, role));
    }
    control->setPalette(fixed);
    control->setStyleSheet(QStringLiteral("%1#%2 { background-color: %3; }")
                               .arg(QLatin1String(control->metaObject()->className()),
                                    control->objectName(), system.color(QPalette::Base).name()));
}

} // namespace

void ThemeExemptions::apply(QWidget* window)
{
    for (const Exemption& e : kExemptions) {
        QWidget* control = controlOf(window, e);
        if (!control)
            continue;
        if (e.keep == Keep::SystemColours)
            keepSystemColours(control);
        else
            control->setStyleSheet(QLatin1String(e.sheet));
    }
}

void ThemeExemptions::themeApplied(QWidget* window)
{
    for (const Exemption& e : kExemptions) {
        if (e.keep != Keep::PlainOnly)
            continue;
        if (QWidget* control = controlOf(window, e))
            control->setStyleSheet(QString());
    }
}

QString ThemeExemptions::bandStripSheet()
{
    return QStringLiteral("QFrame#Panel11 { background-color: %1; border: none; }")
        .arg(QColor::fromRgb(DesignLook::kStripBackground).name());
}

// A style sheet on the widget itself wins over the application's, so the
// theme cannot touch the band colours. The size stays with the widget's font,
// which follows the window when it is scaled.
QString ThemeExemptions::bandPanelSheet(const QColor& caption)
{
    return QStringLiteral("QLabel { background-color: %1; color: %2; "
                          "font-family: \"%3\"; font-weight: bold; "
                          "border: none; padding: 0px; margin: 0px; }")
        .arg(QColor::fromRgb(DesignLook::kStripBackground).name(), caption.name(),
             DesignLook::fontFamily());
}
