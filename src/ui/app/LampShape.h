#pragma once

#include <QColor>
#include <QWidget>

// A signal lamp: a circle or a square filled with one colour (lime for on,
// red for off: DesignLook::kLime and kRed).
//
// A lamp shows its state only in colour, so it says it in words as well for
// screen readers: its accessible name is "<subject>: <state>", e.g.
// "Session: connected", and follows every change of colour.
class LampShape : public QWidget
{
    Q_OBJECT
    // A form makes a round lamp unless it sets this:
    //   <property name="square" stdset="0"><bool>true</bool></property>
    Q_PROPERTY(bool square READ isSquare WRITE setSquare)
public:
    enum class Kind
    {
        Circle,
        Square
    };

    explicit LampShape(QWidget* parent = nullptr);
    explicit LampShape(Kind kind, QWidget* parent = nullptr);

    bool isSquare() const { return m_kind == Kind::Square; }
    void setSquare(bool square);

    void setBrushColor(const QColor& color);
    QColor brushColor() const { return m_color; }

    // What the lamp shows and the words for its two states: onWord while it
    // is lime, offWord in any other colour.
    void setAccessibleSubject(const QString& subject, const QString& onWord,
                              const QString& offWord);
    // "<subject>: <state word>" for the current colour; empty without a subject.
    QString stateText() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void updateAccessibleName();

    Kind m_kind = Kind::Circle;
    QColor m_color = Qt::white;
    QString m_subject;
    QString m_onWord;
    QString m_offWord;
};
