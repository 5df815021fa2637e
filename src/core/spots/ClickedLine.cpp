#include "spots/ClickedLine.h"

#include "spots/SpotText.h"

namespace ClickedLine {

std::optional<QString> tuningDigits(const QString& line, Pane pane)
{
    if (line.isEmpty())
        return std::nullopt;
    if (pane == Pane::Terminal && !SpotText::isDxSpot(line))
        return std::nullopt;
    // "14025.0" from column 18 on, or empty when column 18 is a blank
    // ("1830.0" sits in columns 19-24).
    if (ScansionaStringa(line, 18).size() > 7)
        return std::nullopt;
    return SpotText::frequencyDigits(line);
}

} // namespace ClickedLine
