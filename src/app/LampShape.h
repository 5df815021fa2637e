#pragma once

#include <QColor>
#include <QWidget>

// A signal lamp: a circle or a square filled with one colour (lime for on,
// red for off).
class LampShape : public QWidget
{
    Q_OBJECT
public:
    enum class Kind
    {
        Circle,
        Square
    };

    explicit LampShape(Kind kind, QWidget* parent = nullptr);

    void setBrushColor(const QColor& color);
    QColor brushColor() const { return m_color; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Kind m_kind;
    QColor m_color = Qt::white;
};
