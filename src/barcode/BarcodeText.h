// Measures and draws the value, header and footer texts of barcode pictures in points: as text
// on a PDF (found by a search, one embedded font for every label), in pixels from glyph images
// kept per thread, else as filled outlines, so a recorded picture looks the same on every device.
#pragma once

#include "platform/FontDescriptor.h"

#include <QFont>
#include <QPainterPath>
#include <QRectF>
#include <QSizeF>
#include <QString>

class QColor;
class QPainter;

class BarcodeText
{
public:
    // Letter spacing of header and footer, in points: they are measured and drawn with it.
    static constexpr double kHeaderFooterKern = 2.0;

    // A font for drawing in point units: the family and style the PostScript name stands for.
    static QFont resolve(const FontDescriptor &font);

    // Height of capital letters, points.
    static double capHeight(const FontDescriptor &font);
    // Natural size of one line with kern points of extra space after every character.
    static QSizeF size(const QString &text, const FontDescriptor &font, double kern);
    static double ascent(const FontDescriptor &font);
    static double descent(const FontDescriptor &font);

    // Outline of the text with its baseline starting at origin (y down).
    static QPainterPath outline(const QString &text, const FontDescriptor &font, double kern, QPointF origin);
    // The box of the ink drawInPixels fills for the text (null for none), from the outlines of its
    // glyphs kept per thread: measuring a batch's values outlined each text again before.
    static QRectF inkBounds(const QString &text, const FontDescriptor &font, double kern, QPointF origin);
    // The same text drawn as text, glyph for glyph where the outline lies.
    static void draw(QPainter &painter, const QString &text, const FontDescriptor &font, double kern,
                     QPointF origin, const QColor &color);
    // The text's outline filled into pixels, where toDevice (scale and move only) maps points to
    // the painter's device: each glyph an image filled once per size, placement to a sixteenth
    // of a pixel and colour, then copied. False, drawing nothing, where the outline is to be
    // filled instead: glyphs too large to keep, a high-density device, or a text laid out before
    // the thread let its glyph outlines go.
    static bool drawInPixels(QPainter &painter, const QTransform &toDevice, const QString &text,
                             const FontDescriptor &font, double kern, QPointF origin, const QColor &color);
};
