// Runs the picture filter chain for a canvas off the window's thread when there is much to filter:
// the canvas draws what is ready, and the please-wait sheet shows once the work passes a second.
#pragma once

#include "model/SKTGraphic.h"

class SKTGraphicView;

class CanvasPictureFilters
{
public:
    explicit CanvasPictureFilters(SKTGraphicView &view) : m_view(view) {}

    // Before a paint of these objects: true when the paint may filter what it draws itself (little
    // or nothing to filter); else their filtering has been started, and the paint draws without
    // waiting for it. The canvas is drawn again when it ends.
    // `scale`: the canvas's device pixels per point, which sets the pixels its photos are shown at.
    bool paintMayFilter(const GraphicList &drawn, double scale);

    // Pixels past which a paint's filtering goes to workers: about a tenth of a second of work.
    static constexpr qint64 PaintPixels = 4'000'000;
    static constexpr int SheetAfterMs = 1000;

    bool isRunning() const { return m_running; }

private:
    void run();

    SKTGraphicView &m_view;
    bool m_running = false;
    bool m_scheduled = false;
    double m_scale = 1.0;
};
