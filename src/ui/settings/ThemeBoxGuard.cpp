#include "settings/ThemeBoxGuard.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>

ThemeBoxGuard::ThemeBoxGuard(QComboBox* box) : QObject(box), m_box(box)
{
    box->installEventFilter(this);
    box->view()->installEventFilter(this);
}

bool ThemeBoxGuard::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (watched == m_box)
        // The wheel would step through the styles, and each step ends the
        // program.
        return type == QEvent::KeyPress || type == QEvent::KeyRelease || type == QEvent::Wheel;
    // The open list chooses on Enter before the key press arrives, while
    // shortcuts are looked up; Escape still closes it without choosing.
    if (watched == m_box->view() &&
        (type == QEvent::ShortcutOverride || type == QEvent::KeyPress ||
         type == QEvent::KeyRelease))
        return static_cast<QKeyEvent*>(event)->key() != Qt::Key_Escape;
    return false;
}
