// Paints the label sheets of a print run on a paged device (a printer or a PDF file), one page per
// sheet in order, in points from the paper's corner; data-mode labels come from a snapshot.
#pragma once

#include "output/BatchFillSnapshot.h"
#include "output/PrintLayout.h"
#include "output/SheetGeometry.h"
#include "platform/OpResult.h"

#include <QImage>
#include <QRectF>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QPagedPaintDevice;
class QPainter;

class Printing_View
{
public:
    // The pictures of a run without data: every label shows them.
    struct Pictures {
        QImage front;
        QImage back;
    };
    static constexpr double LabelDpi = 300.0; // pictures are drawn at this resolution

    // snapshot: the data rows that fill the labels (null or not a batch: the pictures are used).
    Printing_View(const PrintLayout &layout, Pictures pictures,
                  std::shared_ptr<const BatchFillSnapshot> snapshot = nullptr);

    // Sheets of the run; a preview holds them to the preview limit and says so (each time asked).
    int numberOfPages(bool preview) const;

    // Called before each sheet with (sheet from 1, sheets); false cancels the rest of the run.
    using SheetProgress = std::function<bool(int sheet, int sheets)>;

    // Paints every sheet of the run (at most the preview limit for a preview) on a device whose page
    // is the paper with no margins. The counters start at 0 on every call, so a preview that
    // repaints gets the same sheets again.
    OpResult paint(QPagedPaintDevice &device, bool preview, const SheetProgress &progress = {});

    // One sheet (from 0) in points on a painter whose unit is one point.
    void drawSheet(QPainter &painter, int sheet);

    // A caption centred in a rectangle: "Label" numbered in grey, other texts unchanged in red,
    // bold 11 pt. Fonts are sized in pixels because the painter's unit is already the point.
    // The caption text itself, centred in rect in bold 11 pt: grey, or red for a warning.
    static void drawCaption(QPainter &painter, const QRectF &rect, const QString &text, bool grey);
    static void Draw_Label_String(QPainter &painter, const QRectF &rect, const QString &str_val, int row,
                                  int col, int columns);

    static inline const QString InvalidData = QStringLiteral("Invalid Data");

    int barcode_counter = 0; // labels placed so far in this pass
    int count = 0;           // data row of the next label

private:
    // Renders the data rows of a sheet's labels ahead, on all cores; null images where a fill gave none.
    std::vector<Pictures> renderSheetRows(const QList<SheetGeometry::Label> &labels) const;
    bool dataMode() const { return m_snapshot && m_snapshot->isBatch(); }

    PrintLayout m_layout;
    SheetGeometry m_geometry;
    Pictures m_pictures;
    std::shared_ptr<const BatchFillSnapshot> m_snapshot;
};
