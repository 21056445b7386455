// What painting needs to know besides the painter: whether the target is the flipped canvas, and
// where the resource folder is. Plain values, copied per paint, so workers can paint in parallel.
#pragma once

#include <QString>

struct GraphicDrawContext {
    bool flipped = true;      // y grows downward (canvas and renderer)
    bool onCanvas = true;     // false when rendering output (images, print, mail)
    QString resourcePath;     // root of "Fill_Style_Image" and the sample pictures
    double deviceScale = 1.0; // device pixels per point, for aligning handles
};
