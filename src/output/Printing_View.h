// Paints the label sheets of a print run on a paged device (a printer or a PDF file), one page per
// sheet in order, in points from the paper's corner; data-mode labels come from the run's plan.
#pragma once

#include "canvas/RenderSide.h"
#include "output/PrintLayout.h"
#include "output/RunPlan.h"
#include "output/SheetGeometry.h"
#include "platform/OpResult.h"

#include <QRectF>
#include <QSizeF>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class BatchCardRenderer;
class LabelFeed;
class QIODevice;
class QPagedPaintDevice;
class QPainter;

class Printing_View
{
public:
    // The sides one label shows, as objects over their page: drawn on the sheet as vectors, so
    // texts stay text, bars and modules rectangles, and pictures keep their own resolution.
    struct Sides {
        std::optional<RenderSide> front;
        std::optional<RenderSide> back;
    };
    // The sides of a card that a print of printSide ("F", "B" or "BOTH") shows, drawn by renderer
    // for row; *error tells why a side drawn is missing.
    static Sides sidesOf(BatchCardRenderer &renderer, int row, const QString &printSide, QString *error);

    // sides: what every label shows in a run without data. plan: the data rows that fill the
    // labels (null or not a batch: the sides are used). cardSize: the card in points, exactly as
    // the design gives it; empty takes the plan's or the sides' own.
    Printing_View(const PrintLayout &layout, Sides sides, std::shared_ptr<const RunPlan> plan = nullptr,
                  QSizeF cardSize = QSizeF());

    // Sheets of the run; a preview holds them to the preview limit and says so (each time asked).
    int numberOfPages(bool preview) const;

    // Called before each sheet with (sheet from 1, sheets); false cancels the rest of the run.
    using SheetProgress = std::function<bool(int sheet, int sheets)>;

    // Paints every sheet of the run (at most the preview limit for a preview) on a device whose page
    // is the paper with no margins. The counters start at 0 on every call, so a preview that
    // repaints gets the same sheets again. copies > 1 repeats the whole run, collated, for a
    // device that makes no copies itself (a PDF file).
    OpResult paint(QPagedPaintDevice &device, bool preview, const SheetProgress &progress = {},
                   int copies = 1);
    // Every sheet as a PDF file written to out (the copies collated), its fonts named as the
    // subsets they are. Nothing is written when painting fails.
    OpResult paintPdf(QIODevice &out, const QString &creator, const QString &title,
                      const SheetProgress &progress = {}, int copies = 1);

    // One side at its place on the sheet, at the card's size, kept inside the card.
    static void drawLabelSide(QPainter &painter, const QPointF &at, const RenderSide &side);

    // A caption centred in a rectangle: "Label" numbered in grey, other texts unchanged in red,
    // bold 11 pt. Fonts are sized in pixels because the painter's unit is already the point.
    // The caption text itself, centred in rect in bold 11 pt: grey, or red for a warning.
    static void drawCaption(QPainter &painter, const QRectF &rect, const QString &text, bool grey);
    static void Draw_Label_String(QPainter &painter, const QRectF &rect, const QString &str_val, int row,
                                  int col, int columns);

    static inline const QString InvalidData = QStringLiteral("Invalid Data");

    QSizeF cardSize() const { return m_cardSize; }

    // The labels one copy of the sheets holds.
    int labelCount() const;

    // Threads that fill data-mode labels beside the one drawing the sheets (0: a core each).
    void setFillThreads(int threads) { m_fillThreads = threads; }

private:
    // The labels of a run's sheets (one copy's sheets repeated) filled from the data rows ahead of
    // their drawing; null without data.
    std::unique_ptr<LabelFeed> feedFor(int sheets, int oneCopy) const;
    // One sheet (from 0) in points on a painter whose unit is one point; in data mode `filled`
    // holds its labels in order (no side where a fill gave none).
    void drawSheet(QPainter &painter, int sheet, const std::vector<Sides> &filled);
    bool dataMode() const { return m_plan && m_plan->isBatch(); }

    PrintLayout m_layout;
    SheetGeometry m_geometry;
    Sides m_sides;
    std::shared_ptr<const RunPlan> m_plan;
    QSizeF m_cardSize;
    int m_fillThreads = 0;
};
