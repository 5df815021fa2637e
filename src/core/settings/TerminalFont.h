#pragma once

#include "settings/DesignLook.h"
#include "settings/SettingsFiles.h"

#include <QString>

// The rules of the terminal font between settings2.ini and the pane.
// settings2.ini keeps the colour the Windows way, 0x00BBGGRR with red in the
// lowest byte; the pane wants 0xRRGGBB.
class TerminalFont
{
public:
    static QString designFamily() { return DesignLook::fontFamily(); }
    // Sizes outside this range cannot be shown sensibly (a hand-edited
    // "FontSize=0" or "FontSize=90000"); they give the default size.
    static constexpr int kMinSize = 1;
    static constexpr int kMaxSize = 200;

    // The font of a start: family, size and colour as stored; never bold or
    // italic, whatever was saved. An empty family leaves Segoe UI, a size
    // out of range gives 12, a colour that is not 0x00BBGGRR gives 10000.
    static FontSettings restored(const QString& name, int size, int textColor);

    // The font the Font dialog gave back: family, style and the colour as
    // 0xRRGGBB. A size the dialog could not tell (a pixel-sized font gives
    // -1) keeps the size before; any other size is held to the range.
    //   ("Consolas", 14, bold, 0x102700) -> Consolas 14 bold, colour 10000
    static FontSettings chosen(const FontSettings& before, const QString& family,
                               int pointSize, bool bold, bool italic, quint32 rgb);

    // 10000 (0x002710) -> 0x102700: red 16, green 39, blue 0.
    static quint32 rgbFromTextColor(int textColor);
    static int textColorFromRgb(quint32 rgb);
    static bool isTextColor(int textColor) { return textColor >= 0 && textColor <= 0xFFFFFF; }
};
