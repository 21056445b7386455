// The look every window of the program shares: the pale blue-grey window colour.
#include "foundation/WindowLook.h"

#include <QPalette>
#include <QWidget>

QColor WindowLook::backgroundColor()
{
    return QColor::fromRgbF(241 / 255.0f, 244 / 255.0f, 250 / 255.0f, 1.0f);
}

void WindowLook::applyBackground(QWidget *window)
{
    QPalette pal = window->palette();
    pal.setColor(QPalette::Window, backgroundColor());
    window->setPalette(pal);
    window->setAutoFillBackground(true);
}
