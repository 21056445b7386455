// Where the labels of a print layout fall on each sheet: cell origins for the nine alignments and
// auto-centre, the places of the card pictures in a cell, and which label each sheet carries.
#pragma once

#include "output/PrintLayout.h"

#include <QList>
#include <QPointF>
#include <QRectF>

class SheetGeometry
{
public:
    explicit SheetGeometry(const PrintLayout &layout) : m_layout(layout) {}

    static constexpr int PreviewPageLimit = 50;
    static const QString MsgPreviewLimit;

    int labelsPerSheet() const { return std::max(1, m_layout.Print_Row) * std::max(1, m_layout.Print_Col); }
    // Sheets needed for Total_Label labels.
    int pageCount() const;
    // The same, held to PreviewPageLimit for an on-screen preview; capped tells whether it was.
    int previewPageCount(bool *capped = nullptr) const;

    // The lower-left corner of cell (row, col), both from 1, with y measured up from the paper's
    // bottom edge, as the layout rules are written.
    QPointF cellOriginYUp(int row, int col) const;
    // The cell as a rectangle on the paper with y down from the top edge.
    QRectF cellRect(int row, int col) const;

    // The places in one cell, y down: the first item's place (the cell, or its upper or left half
    // for both sides), the front picture of size `picture` at its origin, and for both sides the
    // back picture below or right of it.
    struct Places {
        QRectF firstPlace;
        QRectF first;
        QRectF second; // empty unless both sides
    };
    Places places(int row, int col, const QSizeF &picture) const;

    // One label of a sheet: its cell and the running label number (from 0). In data mode
    // dataRow is that number; labels past the data rows are not drawn.
    struct Label {
        int row = 0, col = 0;
        int index = 0;
    };
    // The labels drawn on sheet `sheet` (from 0), in reading order. dataRows < 0: no data mode.
    QList<Label> labelsOnSheet(int sheet, int dataRows = -1) const;

    // The caption number of a cell: (row - 1) x columns + col.
    int labelNumber(int row, int col) const { return (row - 1) * m_layout.Print_Col + col; }

private:
    float contentWidth() const;
    float contentHeight() const;
    PrintLayout m_layout;
};
