#pragma once

#include "settings/SettingsFiles.h"

#include <QColor>
#include <QDialog>
#include <QFont>

class QComboBox;
class QFontDialog;

// The "Font" dialog of the terminal pane: Qt's font dialog, with a colour row
// below it, since the terminal font carries its colour. The colours are the
// sixteen basic ones, the current colour when it is none of them, and
// "Other..." for any colour.
class TerminalFontDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TerminalFontDialog(QWidget* parent = nullptr);

    // The stored terminal font as a font: family, point size, bold, italic.
    static QFont fontOf(const FontSettings& settings);

    void setCurrentFont(const QFont& font);
    QFont currentFont() const;
    void setTextColor(const QColor& color);
    QColor textColor() const;

    QFontDialog* fontChooser() const { return m_fonts; }
    QComboBox* colourBox() const { return m_colours; }

private:
    void colourPicked(int index);
    int indexOfColour(const QColor& color) const;

    QFontDialog* m_fonts = nullptr;
    QComboBox* m_colours = nullptr;
    QColor m_color;
    int m_customIndex = -1; // the row that shows a colour outside the basic ones
    int m_otherIndex = -1;  // "Other..."
};
