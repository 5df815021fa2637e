#include "app/LampShape.h"

#include <QPainter>

LampShape::LampShape(Kind kind, QWidget* parent) : QWidget(parent), m_kind(kind) {}

void LampShape::setBrushColor(const QColor& color)
{
    if (color == m_color)
        return;
    m_color = color;
    update();
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
