#include "scaling/ResizeKitSettings.h"

#include "scaling/EInvalidOperation.h"

#include <QLocale>

namespace {

enum class Bound
{
    AtLeast,
    AtMost
};

// "Set this value equal to or greater than the FormMinWidth", or its
// Japanese form "FormMinWidth 以上の値を入れてください". An empty property
// name stands for 0.
[[noreturn]] void fail(Bound bound, const char* property)
{
    const QString name = QLatin1String(property);
    if (QLocale().language() == QLocale::Japanese) {
        const QString subject = name.isEmpty() ? QStringLiteral("0") : name;
        throw EInvalidOperation(subject + (bound == Bound::AtLeast
                                               ? QStringLiteral(" 以上の値を入れてください")
                                               : QStringLiteral(" 以下の値を入れてください")));
    }
    const QString subject = name.isEmpty() ? QStringLiteral("0") : QStringLiteral("the ") + name;
    throw EInvalidOperation(
        QStringLiteral("Set this value equal to or %1 than %2")
            .arg(bound == Bound::AtLeast ? QLatin1String("greater") : QLatin1String("less"),
                 subject));
}

// The checks in their order; the first that fails wins.
void notNegative(int value)
{
    if (value < 0)
        fail(Bound::AtLeast, "");
}

void notBelow(int value, int other, const char* otherName)
{
    if (other > 0 && value < other)
        fail(Bound::AtLeast, otherName);
}

void notAbove(int value, int other, const char* otherName)
{
    if (other > 0 && value > other)
        fail(Bound::AtMost, otherName);
}

} // namespace

void ResizeKitSettings::setFormWidth(int value)
{
    if (value != 0) {
        notNegative(value);
        notBelow(value, m_limits.minWidth, "FormMinWidth");
        notAbove(value, m_limits.maxWidth, "FormMaxWidth");
    }
    m_formWidth = value;
}

void ResizeKitSettings::setFormHeight(int value)
{
    if (value != 0) {
        notNegative(value);
        notBelow(value, m_limits.minHeight, "FormMinHeight");
        notAbove(value, m_limits.maxHeight, "FormMaxHeight");
    }
    m_formHeight = value;
}

void ResizeKitSettings::setFormMaxWidth(int value)
{
    if (value != 0) {
        notNegative(value);
        notBelow(value, m_limits.minWidth, "FormMinWidth");
        notBelow(value, m_formWidth, "FormWidth");
    }
    m_limits.maxWidth = value;
}

void ResizeKitSettings::setFormMaxHeight(int value)
{
    if (value != 0) {
        notNegative(value);
        notBelow(value, m_limits.minHeight, "FormMinHeight");
        notBelow(value, m_formHeight, "FormHeight");
    }
    m_limits.maxHeight = value;
}

void ResizeKitSettings::setFormMinWidth(int value)
{
    if (value != 0) {
        notNegative(value);
        notAbove(value, m_limits.maxWidth, "FormMaxWidth");
        notAbove(value, m_formWidth, "FormWidth");
    }
    m_limits.minWidth = value;
}

void ResizeKitSettings::setFormMinHeight(int value)
{
    if (value != 0) {
        notNegative(value);
        notAbove(value, m_limits.maxHeight, "FormMaxHeight");
        notAbove(value, m_formHeight, "FormHeight");
    }
    m_limits.minHeight = value;
}
