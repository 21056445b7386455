// Content of a picture that paints itself at whatever resolution it is shown, such as a barcode
// kept as bars and modules. Made once and never changed, so many threads may paint it at once.
#pragma once

class QPainter;

class PictureDrawing
{
public:
    virtual ~PictureDrawing() = default;
    // Paints the content into (0, 0, size) of the painter's current units, in points.
    virtual void paint(QPainter &painter) const = 0;
};
