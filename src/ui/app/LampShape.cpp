#include "app/LampShape.h"

#include "settings/DesignLook.h"

#include <QPainter>

LampShape::LampShape(QWidget* parent) : QWidget(parent) {}

LampShape::LampShape(Kind kind, QWidget* parent) : QWidget(parent), m_kind(kind) {}

void LampShape::setSquare(bool square)
{
    m_kind = square ? Kind::Square : Kind::Circle;
    update();
}

void LampShape::setBrushColor(const QColor& color)
{
    if (color == m_color)
        return;
    m_color = color;
    updateAccessibleName();
    update();
}

void LampShape::setAccessibleSubject(const QString& subject, const QString& onWord,
                                     const QString& offWord)
{
    m_subject = subject;
    m_onWord = onWord;
    m_offWord = offWord;
    updateAccessibleName();
}

QString LampShape::stateText() const
{
    if (m_subject.isEmpty())
        return {};
    return m_subject + QStringLiteral(": ") +
           (m_color == QColor::fromRgb(DesignLook::kLime) ? m_onWord : m_offWord);
}

void LampShape::updateAccessibleName()
{
    // setAccessibleName tells a listening screen reader about the change.
    const QString text = stateText();
    if (text != accessibleName())
        setAccessibleName(text);
}

void LampShape::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(m_color);
    const int side = std::min(width(), height()) - 1;
    const QRect r((width() - side) / 2, (height() - side) / 2, side, side);
    if (m_kind == Kind::Circle)
        p.drawEllipse(r);
    else
        p.drawRect(r);
}
