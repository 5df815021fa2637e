#include "spots/Spot.h"

QString Spot::kilohertzText() const
{
    const qint64 khz = frequencyHz / 1000;
    int rest = int(frequencyHz % 1000);
    int decimals = 3;
    while (decimals > 1 && rest % 10 == 0) {
        rest /= 10;
        --decimals;
    }
    return QString::number(khz) + u'.' + QString::number(rest).rightJustified(decimals, u'0');
}
