#pragma once

#include "settings/SettingsFiles.h"
#include "settings/TerminalFont.h"

#include <QObject>
#include <QString>

#include <functional>

class QComboBox;
class QWidget;
class TResizeKit;
class TerminalFontDialog;
class TerminalPane;

// The main window's look: the theme box (ComboBox1) with the stored theme
// applied at start, and the terminal pane's font (BitBtn4's dialog), both
// kept in the settings files. A chosen theme takes effect at the next
// start, so choosing one saves it and ends the program.
class AppearanceController : public QObject
{
    Q_OBJECT
public:
    struct Parts
    {
        QWidget* window = nullptr;
        QComboBox* themeBox = nullptr; // ComboBox1
        TerminalPane* terminal = nullptr; // Re1
        TResizeKit* scaling = nullptr;
        SettingsFiles* settings = nullptr;
        std::function<void(const QString&)> showMessage;
        std::function<void()> quit;
    };

    explicit AppearanceController(Parts parts, QObject* parent = nullptr);

    // Start-up: the style names, the stored theme, then the terminal font.
    void restore();
    // ComboBox1Change: the theme the box shows now.
    void themeChosen();
    // BitBtn4Click: the font dialog, its choice applied and saved.
    void chooseFont();

    const FontSettings& terminalFont() const { return TerminalFont; }
    const QString& selectedTheme() const { return SelectedTheme; }
    TerminalFontDialog* fontDialog() const { return FontDialog1; }

private:
    void applyStoredTheme();
    void applyTerminalFont();

    Parts m_parts;
    QString SelectedTheme;     // the theme saved in settings.ini
    FontSettings TerminalFont; // the terminal font saved in settings2.ini
    TerminalFontDialog* FontDialog1 = nullptr; // made at first use
};
