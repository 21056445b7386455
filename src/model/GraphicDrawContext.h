// What painting needs to know besides the painter: whether the target is the flipped canvas, and
// where the resource folder is. Plain values, copied per paint, so workers can paint in parallel.
#pragma once

#include <QString>

struct GraphicDrawContext {
    bool flipped = true;      // y grows downward (canvas and renderer)
    bool onCanvas = true;     // false when rendering output (images, print, mail)
    QString resourcePath;     // root of "Fill_Style_Image" and the sample pictures
    double deviceScale = 1.0; // device pixels per point, for aligning handles
    // An editing canvas (GUI thread): picture objects note what they showed there. With
    // waitForFilters false it has the filter chain run off its thread, and a picture whose
    // filtered form is not made yet is drawn as the object last showed it.
    bool editingCanvas = false;
    bool waitForFilters = true;
};
