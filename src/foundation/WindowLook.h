// The look every window of the program shares: the pale blue-grey window colour.
#pragma once

#include <QColor>

class QWidget;

namespace WindowLook
{
// RGB (241, 244, 250), opaque.
QColor backgroundColor();
void applyBackground(QWidget *window);
} // namespace WindowLook
