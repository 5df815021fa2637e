#include "spots/DecimalNumber.h"

std::optional<DecimalNumber> DecimalNumber::read(QStringView text)
{
    qint64 whole = 0;
    qsizetype i = 0;
    const qsizetype n = text.size();
    for (; i < n && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        if (i == 9)
            return std::nullopt;
        whole = whole * 10 + (text[i].unicode() - u'0');
    }
    if (i == 0)
        return std::nullopt;
    DecimalNumber number;
    number.thousandths = whole * 1000;
    if (i == n)
        return number;
    if (text[i] != u'.' || i + 1 == n)
        return std::nullopt;
    qint64 scale = 100;
    for (++i; i < n; ++i) {
        if (text[i] < u'0' || text[i] > u'9' || number.decimals == 3)
            return std::nullopt;
        number.thousandths += (text[i].unicode() - u'0') * scale;
        scale /= 10;
        ++number.decimals;
    }
    return number;
}
