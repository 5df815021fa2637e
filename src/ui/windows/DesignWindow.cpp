#include "windows/DesignWindow.h"

#include "scaling/TResizeKit.h"
#include "settings/DesignLook.h"

#include <QFont>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

void DesignWindow::setUp(QWidget* window, QSize designSize, Placement placement)
{
    window->setFont(QFont(DesignLook::fontFamily(), DesignLook::kWindowPointSize));
    window->resize(designSize);
    if (placement == Placement::CentreNow)
        centre(window);
}

void DesignWindow::centre(QWidget* window)
{
    QScreen* s = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (s)
        window->move(s->availableGeometry().center() - window->rect().center());
}

TResizeKit* DesignWindow::attachScaling(QWidget* window, QSize designSize)
{
    return TResizeKit::attach(window, {designSize.width(), designSize.height(), 96, 96});
}

QFont DesignWindow::pixelFont(int pixels, bool bold, bool italic, bool underline)
{
    QFont f(DesignLook::fontFamily());
    f.setPixelSize(pixels);
    f.setBold(bold);
    f.setItalic(italic);
    f.setUnderline(underline);
    return f;
}
