// Large photos an editing canvas shows are decoded off its thread: while a canvas paints, a photo
// not yet decoded at the level it needs is drawn from the nearest level already held, scaled, and
// that level is decoded on a worker; the canvas is told once the decodings it waits for are ready
// and paints again. Output never paints inside a canvas's paint, so it decodes what it draws at
// once, at full quality.
#pragma once

#include <QImage>
#include <QRect>

#include <functional>
#include <memory>

class Picture;
class QPaintDevice;
class QPainter;

class PictureDecodes
{
public:
    struct Asker;

    // One per canvas. `ready` runs on the GUI thread after decodings the canvas asked for have
    // ended: once for all that ended before it ran. Decodings it asked for that have not started
    // are given up when it goes.
    class Canvas
    {
    public:
        explicit Canvas(std::function<void()> ready);
        ~Canvas();
        Canvas(const Canvas &) = delete;
        Canvas &operator=(const Canvas &) = delete;

    private:
        friend class PictureDecodes;
        std::shared_ptr<Asker> m_asker;
    };

    // While alive, drawing into `device` on this thread is the canvas's paint at `zoom` (device
    // pixels per point) showing `shown` of it; drawing into any other device (a picture made on
    // the way, which may be kept) is not. The canvas's decodings asked for at another zoom and
    // not started are given up: the user has moved on. A level decoded for the canvas is asked
    // for again only once the zoom or the part shown has changed: photos needing more than the
    // cache holds would otherwise push each other out and be decoded without end.
    class Painting
    {
    public:
        Painting(Canvas &canvas, const QPaintDevice *device, double zoom, QRect shown);
        ~Painting();
        Painting(const Painting &) = delete;
        Painting &operator=(const Painting &) = delete;

    private:
        Canvas *m_outerCanvas;
        const QPaintDevice *m_outerDevice;
    };

    // The pixels `painter` draws of `picture` (already at the level its drawing needs): its own,
    // decoded now if need be; on a canvas being painted, when that level is not held, the nearest
    // level held (null when none is) while the level is decoded for the canvas.
    static QImage shownPixels(const Picture &picture, const QPainter &painter);

    // Decodings asked for and not ended.
    static int pending();
    // For tests: called on the worker before each decoding, so a test can hold the decoder back.
    static void setBeforeDecode(std::function<void()> hook);
};
