// Both sides of a card in one picture: the front on the upper half, the back on the lower half.
// A back of another size keeps its own size, anchored at the lower left corner.
#pragma once

#include <QImage>

class CombinedImage
{
public:
    // w x 2h pixels for a front of w x h; a null image when either side is missing.
    static QImage Export_Combined_Image(const QImage &front, const QImage &back);
};
