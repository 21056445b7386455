// One barcode picture kept as what it is made of: filled rectangles, bars, text lines and 2D
// module grids. Painted into pixels, bars and modules land on whole device pixels; on vector
// devices (PDF, recordings) they stay exact rectangles. Texts are text on a PDF and outlines
// elsewhere.
#pragma once

#include "barcode/ModuleGrid.h"
#include "platform/FontDescriptor.h"
#include "platform/PictureDrawing.h"

#include <QColor>
#include <QRectF>
#include <QString>

#include <memory>
#include <vector>

class QPainter;
struct DirectPixels;

class BarcodeDrawing : public PictureDrawing
{
public:
    // All in points of the picture, y down. Painted in the order they were added.
    void fillRect(const QRectF &rect, const QColor &color);
    void fillBar(const QRectF &rect, const QColor &color);
    // A line of text with its baseline starting at origin, kern points after every character.
    void fillText(const QString &text, const FontDescriptor &font, double kern, const QPointF &origin,
                  const QColor &color);
    // The grid's dark modules, its area moved by origin.
    void fillModules(std::shared_ptr<const ModuleGrid> grid, const QPointF &origin, const QColor &color);

    void paint(QPainter &painter) const override;

    // The bars as added, for checks.
    std::vector<QRectF> bars() const;
    // Where the picture shows anything over its ground (the first fill, which covers the frame):
    // bars, dark modules, texts and other fills, in points; empty when nothing shows.
    QRectF markedArea() const;

private:
    enum class Kind { Rect, Bar, Text, Modules };
    struct Item {
        Kind kind;
        QRectF rect; // Rect and Bar: the rectangle; Modules and Text: the origin in its top-left corner
        QColor color;
        int index = -1; // into m_texts or m_grids
    };
    struct TextLine {
        QString text;
        FontDescriptor font;
        double kern = 0;
    };
    static bool snapped(Kind kind) { return kind == Kind::Bar || kind == Kind::Modules; }
    void paintItem(QPainter &painter, const Item &item) const;
    // Items [from, to), bars and module grids of one colour, as one set of rectangles.
    void paintRunAsRects(QPainter &painter, size_t from, size_t to) const;
    void paintItemInPixels(QPainter &painter, const DirectPixels &direct, const QTransform &toDevice,
                           const Item &item) const;

    std::vector<Item> m_items;
    std::vector<TextLine> m_texts;
    std::vector<std::shared_ptr<const ModuleGrid>> m_grids;
};
