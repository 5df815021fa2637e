#pragma once

#include <QColor>
#include <QLabel>

// One band panel of the strip: a black box with the band's caption, lime while
// the band is on and red while it is off. It carries its own style sheet so a
// theme applied to the application never recolours it.
class BandPanel : public QLabel
{
    Q_OBJECT
public:
    BandPanel(const QString& caption, QWidget* parent = nullptr);

    void setCaptionColor(const QColor& color);
    QColor captionColor() const { return m_color; }

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QColor m_color;
    bool m_pressed = false;
};
