#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// The user's Maidenhead locator, as settings.ini keeps it:
//
//   [Station]
//   Locator=JO31LK
//
// Four characters (field and square, "JO31") or six (with the subsquare,
// "JO31LK"): letters A-R, digits, letters A-X. Either case is taken.
class Locator
{
public:
    // The locator in the usual writing ("jo31lk" -> "JO31lk"); none when
    // the text is no 4- or 6-character locator. Blanks around are dropped.
    static std::optional<QString> normalized(QStringView text);

    // The message for a locator that is refused.
    static QString refusal(QStringView text);

    struct Point
    {
        double latitude = 0;      // degrees, north positive
        double longitudeEast = 0; // degrees, east positive
    };

    // The centre of the locator's square or subsquare, from Hamlib's
    // locator2longlat; none for an invalid locator.
    //   "JO31" -> 51.5 N, 7.0 E;  "JO31LK" -> 51.4375 N, 6.958333 E
    static std::optional<Point> centre(QStringView locator);
};
