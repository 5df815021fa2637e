#include "app/AppearanceController.h"

#include "scaling/TResizeKit.h"
#include "session/TerminalPane.h"
#include "settings/AppTheme.h"
#include "settings/StyleRegistry.h"
#include "settings/TerminalFontDialog.h"
#include "settings/ThemeExemptions.h"

#include <QComboBox>

AppearanceController::AppearanceController(Parts parts, QObject* parent)
    : QObject(parent), m_parts(std::move(parts))
{
}

void AppearanceController::restore()
{
    applyStoredTheme();
    TerminalFont = TerminalFont::restored(m_parts.settings->LoadFontsName(),
                                          m_parts.settings->LoadFontsSize(),
                                          m_parts.settings->LoadFontsColor());
    applyTerminalFont();
}

// The names of all styles, then the stored one selected and applied. An
// empty or unknown name leaves the designed look.
void AppearanceController::applyStoredTheme()
{
    QComboBox* box = m_parts.themeBox;
    box->addItems(StyleRegistry::displayNames());
    box->setCurrentIndex(-1);
    ThemeExemptions::apply(m_parts.window);
    SelectedTheme = m_parts.settings->LoadThemeSettings();
    if (SelectedTheme.isEmpty())
        return;
    const std::optional<StyleRegistry::Style> style = StyleRegistry::find(SelectedTheme);
    if (!style)
        return;
    box->setCurrentIndex(box->findText(style->displayName));
    if (!AppTheme::apply(style->displayName))
        return;
    if (!StyleRegistry::isSystemLook(*style))
        ThemeExemptions::themeApplied(m_parts.window);
    // The scaling component watches the window again once the style is in
    // place.
    m_parts.scaling->setEnabled(false);
    m_parts.scaling->setEnabled(true);
}

void AppearanceController::themeChosen()
{
    QComboBox* box = m_parts.themeBox;
    if (!m_parts.settings->SaveThemeSettings(box->currentText())) {
        m_parts.showMessage(QStringLiteral("Not applied, try again after restart"));
        // The box shows again the style in use.
        const std::optional<StyleRegistry::Style> inUse = StyleRegistry::find(SelectedTheme);
        box->setCurrentIndex(inUse ? box->findText(inUse->displayName) : -1);
        return;
    }
    m_parts.showMessage(
        QStringLiteral("Now Marvix Terminal will be closed, please restart to apply theme"));
    m_parts.quit();
}

// The terminal pane shows every line in one font, so the whole font reaches
// the text already there and every line added later.
void AppearanceController::applyTerminalFont()
{
    m_parts.terminal->setPaneFont(TerminalFontDialog::fontOf(TerminalFont));
    m_parts.terminal->setTextColor(
        QColor::fromRgb(TerminalFont::rgbFromTextColor(TerminalFont.color)));
}

void AppearanceController::chooseFont()
{
    // Made at its first use: making it reads the icon theme, which would
    // only slow the start.
    if (!FontDialog1)
        FontDialog1 = new TerminalFontDialog(m_parts.window);
    FontDialog1->setCurrentFont(TerminalFontDialog::fontOf(TerminalFont));
    FontDialog1->setTextColor(QColor::fromRgb(TerminalFont::rgbFromTextColor(TerminalFont.color)));
    if (FontDialog1->exec() != QDialog::Accepted)
        return;
    const QFont chosen = FontDialog1->currentFont();
    TerminalFont = TerminalFont::chosen(TerminalFont, chosen.family(), chosen.pointSize(),
                                        chosen.bold(), chosen.italic(),
                                        FontDialog1->textColor().rgb());
    applyTerminalFont();
    // A refused save is reported; the font stays for this run all the same.
    QString error;
    if (!m_parts.settings->SaveFont(TerminalFont, &error))
        m_parts.showMessage(error);
}
