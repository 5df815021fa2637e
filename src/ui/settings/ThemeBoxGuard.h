#pragma once

#include <QObject>

class QComboBox;

// Keeps the theme box to the mouse: choosing a theme ends the program, so no
// key and no wheel turn may step to another theme by accident. Every key in
// the box and in its open list is swallowed, Escape in the open list aside
// (it still closes the list without choosing). Made as a child of the box.
class ThemeBoxGuard : public QObject
{
    Q_OBJECT
public:
    explicit ThemeBoxGuard(QComboBox* box);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QComboBox* m_box;
};
