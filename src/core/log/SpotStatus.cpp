#include "log/SpotStatus.h"

QString SpotStatus::textOf(Kind kind)
{
    switch (kind) {
    case Kind::NewOne:
        return QStringLiteral("New one");
    case Kind::NewBand:
        return QStringLiteral("New band");
    case Kind::NewMode:
        return QStringLiteral("New mode");
    case Kind::NewSlot:
        return QStringLiteral("New slot");
    case Kind::Worked:
        return QStringLiteral("Worked");
    case Kind::Confirmed:
        return QStringLiteral("Confirmed");
    }
    return QString();
}
