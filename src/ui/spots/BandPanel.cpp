#include "spots/BandPanel.h"

#include "settings/DesignLook.h"
#include "settings/ThemeExemptions.h"

#include <QMouseEvent>

BandPanel::BandPanel(const QString& caption, QWidget* parent) : QLabel(caption, parent)
{
    setAlignment(Qt::AlignCenter);
    setAutoFillBackground(true);
    QFont f(DesignLook::fontFamily());
    f.setPixelSize(12);
    f.setBold(true);
    setFont(f);
    setCursor(Qt::PointingHandCursor);
    setCaptionColor(QColor::fromRgb(DesignLook::kLime));
}

void BandPanel::setCaptionColor(const QColor& color)
{
    m_color = color;
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor::fromRgb(DesignLook::kStripBackground));
    pal.setColor(QPalette::WindowText, color);
    setPalette(pal);
    setStyleSheet(ThemeExemptions::bandPanelSheet(color));
}

void BandPanel::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_pressed = true;
    QLabel::mousePressEvent(event);
}

void BandPanel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool wasPressed = m_pressed;
    m_pressed = false;
    QLabel::mouseReleaseEvent(event);
    if (wasPressed && event->button() == Qt::LeftButton &&
        rect().contains(event->position().toPoint()))
        emit clicked();
}
