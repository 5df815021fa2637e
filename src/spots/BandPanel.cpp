#include "spots/BandPanel.h"

#include <QMouseEvent>

BandPanel::BandPanel(const QString& caption, QWidget* parent) : QLabel(caption, parent)
{
    setAlignment(Qt::AlignCenter);
    setAutoFillBackground(true);
    QFont f(QStringLiteral("Segoe UI"));
    f.setPixelSize(12);
    f.setBold(true);
    setFont(f);
    setCursor(Qt::PointingHandCursor);
    setCaptionColor(QColor(0, 255, 0));
}

void BandPanel::setCaptionColor(const QColor& color)
{
    m_color = color;
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    pal.setColor(QPalette::WindowText, color);
    setPalette(pal);
    // A style sheet on the widget itself wins over the application's, so the
    // theme cannot touch the band colours. The size stays with the widget's
    // font, which follows the window when it is scaled.
    setStyleSheet(QStringLiteral("QLabel { background-color: #000000; color: %1; "
                                 "font-family: \"Segoe UI\"; font-weight: bold; "
                                 "border: none; padding: 0px; margin: 0px; }")
                      .arg(color.name()));
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
