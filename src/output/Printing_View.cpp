#include "output/Printing_View.h"

#include "canvas/SKTRenderingView.h"
#include "foundation/CardCodes.h"
#include "foundation/MessageBoxes.h"
#include "foundation/ThreadSpread.h"
#include "output/BatchCardRenderer.h"
#include "output/LabelFeed.h"
#include "platform/PdfDrawnText.h"
#include "platform/PdfFontNames.h"
#include "platform/PdfToUnicode.h"
#include "platform/Units.h"

#include <QBuffer>
#include <QPdfWriter>

#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>

#include <limits>
#include <memory>
#include <optional>
#include <vector>

namespace
{
// Labels kept filled ahead of the sheet being drawn, for each core.
constexpr int FillAheadPerThread = 8;
} // namespace

Printing_View::Printing_View(const PrintLayout &layout, Sides sides, std::shared_ptr<const RunPlan> plan,
                             QSizeF cardSize)
    : m_layout(layout), m_geometry(layout), m_sides(std::move(sides)), m_plan(std::move(plan)),
      m_cardSize(cardSize)
{
    if (m_cardSize.isEmpty())
        m_cardSize = m_plan          ? m_plan->design().cardSize()
                     : m_sides.front ? m_sides.front->cardSize()
                     : m_sides.back  ? m_sides.back->cardSize()
                                     : QSizeF();
}

int Printing_View::numberOfPages(bool preview) const
{
    if (!preview)
        return m_geometry.pageCount();
    bool capped = false;
    const int pages = m_geometry.previewPageCount(&capped);
    if (capped)
        Show_MessageBox(SheetGeometry::MsgPreviewLimit);
    return pages;
}

OpResult Printing_View::paint(QPagedPaintDevice &device, bool preview, const SheetProgress &progress,
                              int copies)
{
    const int oneCopy = numberOfPages(preview);
    copies = std::max(1, copies);
    const int sheets = oneCopy * copies;
    // A paper lying on its side is a standard size turned, which printers know, not a custom size.
    const bool landscape = m_layout.paper.width() > m_layout.paper.height();
    device.setPageLayout(
        QPageLayout(QPageSize(landscape ? m_layout.paper.transposed() : m_layout.paper, QPageSize::Point),
                    landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    QPainter painter;
    if (!painter.begin(&device))
        return OpResult::failed(QStringLiteral("The printer could not be started."));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    // One painter unit is one point of the paper.
    painter.scale(device.logicalDpiX() / 72.0, device.logicalDpiY() / 72.0);
    // The labels are filled on the other cores while this thread draws and writes the sheets.
    const std::unique_ptr<LabelFeed> feed = feedFor(sheets, oneCopy);
    for (int sheet = 0; sheet < sheets; ++sheet) {
        if (progress && !progress(sheet + 1, sheets))
            break;
        if (sheet > 0)
            device.newPage();
        drawSheet(painter, sheet % oneCopy, feed ? feed->takeSheet(sheet) : std::vector<Sides>());
    }
    painter.end();
    return OpResult::done();
}

OpResult Printing_View::paintPdf(QIODevice &out, const QString &creator, const QString &title,
                                 const SheetProgress &progress, int copies)
{
    QByteArray bytes;
    OpResult result = OpResult::done();
    std::optional<PdfDrawnText> drawnText;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        drawnText.emplace(&writer);
        writer.setCreator(creator);
        writer.setTitle(title);
        result = paint(writer, false, progress, copies);
    }
    if (!result.ok())
        return result;
    // Qt embeds only the glyphs used but names the fonts as whole ones; a file it wrote otherwise
    // than expected is kept as it is.
    if (!PdfFontNames::tagSubsets(bytes))
        Show_NSLog_Message(QStringLiteral("The PDF's fonts could not be named as subsets."));
    if (!PdfToUnicode::spellOutPresentationForms(bytes) || !drawnText->spellOut(bytes))
        Show_NSLog_Message(QStringLiteral("The PDF's text could not be mapped to the letters typed."));
    if (out.write(bytes) != bytes.size())
        return OpResult::failed(QStringLiteral("The PDF file could not be written: ") + out.errorString());
    return result;
}

Printing_View::Sides Printing_View::sidesOf(BatchCardRenderer &renderer, int row, const QString &printSide,
                                            QString *error)
{
    Sides sides;
    if (printSide != SideCode::Front)
        sides.back = renderer.sideOf(row, true, error);
    if (printSide != SideCode::Back)
        sides.front = renderer.sideOf(row, false, error);
    return sides;
}

std::unique_ptr<LabelFeed> Printing_View::feedFor(int sheets, int oneCopy) const
{
    if (!dataMode())
        return nullptr;
    std::vector<int> labels, sheetEnds;
    const int cards = m_plan->cardCount();
    for (int sheet = 0; sheet < sheets; ++sheet) {
        for (const SheetGeometry::Label &label : m_geometry.labelsOnSheet(sheet % oneCopy, cards))
            labels.push_back(label.index);
        sheetEnds.push_back(int(labels.size()));
    }
    const int ahead = ThreadSpread::threadsFor(std::numeric_limits<int>::max(), 0) * FillAheadPerThread;
    return std::make_unique<LabelFeed>(
        std::move(labels), std::move(sheetEnds), ahead,
        [this] {
            // The resolution is never used: the sides are drawn as vectors.
            return [this, renderer = std::make_shared<BatchCardRenderer>(m_plan, Units::PointsPerInch, true)](
                       int row) {
                QString error;
                Sides sides = sidesOf(*renderer, row, m_layout.Print_Card_Side, &error);
                if (!error.isEmpty())
                    Show_NSLog_Message(QStringLiteral("Label %1: %2").arg(row + 1).arg(error));
                return sides;
            };
        },
        m_fillThreads);
}

void Printing_View::drawLabelSide(QPainter &painter, const QPointF &at, const RenderSide &side)
{
    painter.save();
    painter.translate(at);
    // What reaches past the card is cut at its edge, as on a card picture. In a PDF a clip is
    // written again with every later change of state, so it is set only when something reaches out.
    const QRectF card(QPointF(0, 0), side.cardSize());
    if (side.page().Card_border_chk ||
        (!side.graphics().isEmpty() && !card.contains(SKTGraphic::drawingBoundsOfGraphics(side.graphics()))))
        painter.setClipRect(card, Qt::IntersectClip);
    SKTRenderingView::drawSide(painter, side);
    painter.restore();
}

void Printing_View::drawSheet(QPainter &painter, int sheet, const std::vector<Sides> &filled)
{
    const QRectF paper(QPointF(0, 0), m_layout.paper);
    painter.fillRect(paper, Qt::white);
    const bool data = dataMode();
    const QList<SheetGeometry::Label> labels =
        m_geometry.labelsOnSheet(sheet, data ? m_plan->cardCount() : -1);
    const QString side = m_layout.Print_Card_Side;
    const Sides none;

    for (int i = 0; i < labels.size(); ++i) {
        const SheetGeometry::Label &label = labels[i];
        const Sides &s = !data ? m_sides : size_t(i) < filled.size() ? filled[size_t(i)] : none;
        // The side that decides the places: the front, or the back alone for the back side.
        const std::optional<RenderSide> &lead = side == SideCode::Back ? s.back : s.front;
        const SheetGeometry::Places places = m_geometry.places(label.row, label.col, m_cardSize);
        if (!lead) {
            // A fill that gave no card is never replaced by another row's card.
            Draw_Label_String(painter, places.firstPlace, InvalidData, label.row, label.col,
                              m_layout.Print_Col);
        } else {
            drawLabelSide(painter, places.first.topLeft(), *lead);
            if (side == SideCode::Both && s.back)
                drawLabelSide(painter, places.second.topLeft(), *s.back);
        }
    }
}

int Printing_View::labelCount() const
{
    const int dataRows = dataMode() ? m_plan->cardCount() : -1;
    int count = 0;
    for (int sheet = 0; sheet < numberOfPages(false); ++sheet)
        count += int(m_geometry.labelsOnSheet(sheet, dataRows).size());
    return count;
}

void Printing_View::Draw_Label_String(QPainter &painter, const QRectF &rect, const QString &str_val, int row,
                                      int col, int columns)
{
    const bool numbered = str_val == QLatin1String("Label");
    const QString text =
        numbered ? QStringLiteral("%1 %2").arg(str_val).arg((row - 1) * columns + col) : str_val;
    drawCaption(painter, rect, text, numbered);
}

void Printing_View::drawCaption(QPainter &painter, const QRectF &rect, const QString &text, bool grey)
{
    QFont font;
    font.setBold(true);
    font.setPixelSize(11);
    painter.save();
    painter.setFont(font);
    painter.setPen(grey ? QColor(Qt::gray) : QColor(Qt::red));
    const QFontMetricsF metrics(font, painter.device());
    const QSizeF size(metrics.horizontalAdvance(text), metrics.height());
    const QRectF textRect(rect.x() + (rect.width() - size.width()) / 2,
                          rect.y() + (rect.height() - size.height()) / 2, size.width(), size.height());
    painter.drawText(textRect, Qt::AlignCenter, text);
    painter.restore();
}
