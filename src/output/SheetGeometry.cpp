#include "output/SheetGeometry.h"

#include "foundation/CardCodes.h"

#include <algorithm>

const QString SheetGeometry::MsgPreviewLimit =
    QStringLiteral("For Qualitative and Performance reason, previewer shows print previews of only first 50 "
                   "sheets. However, printing has no such restriction.");

int SheetGeometry::pageCount() const
{
    const int per = labelsPerSheet();
    const int total = std::max(0, m_layout.Total_Label);
    return total / per + (total % per ? 1 : 0);
}

int SheetGeometry::previewPageCount(bool *capped) const
{
    const int pages = pageCount();
    if (capped)
        *capped = pages > PreviewPageLimit;
    return std::min(pages, PreviewPageLimit);
}

float SheetGeometry::contentWidth() const
{
    const int c = m_layout.Print_Col;
    return c * m_layout.label_width + (c - 1) * m_layout.horz_mar;
}

float SheetGeometry::contentHeight() const
{
    const int r = m_layout.Print_Row;
    return r * m_layout.label_hight + (r - 1) * m_layout.vert_mar;
}

QPointF SheetGeometry::cellOriginYUp(int row, int col) const
{
    const PrintLayout &l = m_layout;
    const double pw = l.paper.width(), ph = l.paper.height();
    const double lw = l.label_width, lh = l.label_hight, hg = l.horz_mar, vg = l.vert_mar;
    const double PW = l.printableWidth(), PH = l.printableHeight();
    const double W = contentWidth(), H = contentHeight();
    const int align = l.label_align_val;

    double y1;
    if (l.auto_center_flag || align >= 7)
        y1 = H - lh + (l.auto_center_flag ? vg : 0) + l.Bot_Mar;
    else if (align >= 4)
        y1 = (PH - H) / 2 + l.Bot_Mar + H - lh;
    else
        y1 = ph - lh - l.Top_Mar;
    const double y = y1 - (row - 1) * (lh + vg);

    double x;
    if (l.auto_center_flag) {
        x = l.Left_Mar + col * hg + (col - 1) * lw;
    } else {
        double x1;
        switch (align) {
        case 2:
        case 5:
        case 8:
            x1 = l.Left_Mar + (PW - W) / 2;
            break;
        case 3:
        case 6:
        case 9:
            x1 = pw - W - l.Rite_Mar;
            break;
        default: // 1, 4, 7
            x1 = l.Left_Mar;
            break;
        }
        x = x1 + (col - 1) * (lw + hg);
    }
    return {x, y};
}

QRectF SheetGeometry::cellRect(int row, int col) const
{
    const QPointF o = cellOriginYUp(row, col);
    const double lh = m_layout.label_hight;
    return {o.x(), m_layout.paper.height() - o.y() - lh, m_layout.label_width, lh};
}

SheetGeometry::Places SheetGeometry::places(int row, int col, const QSizeF &picture) const
{
    const PrintLayout &l = m_layout;
    const QPointF o = cellOriginYUp(row, col);
    const double lw = l.label_width, lh = l.label_hight, iw = picture.width(), ih = picture.height();
    const bool both = l.bothSides();
    const bool upper = both && l.Print_Card_Algn != ArrangementCode::FrontLeftOfBack;
    const bool left = both && !upper;

    // Worked out with y up, as the rules are written, and turned over once at the end.
    // The first item's place is the label's card at the label's top left (y up: its top edge).
    const QSizeF card = l.labelCardSize();
    const QRectF place(o.x(), o.y() + lh - card.height(), card.width(), card.height());
    double ox = place.x(), oy = place.y();
    const double across = left ? 2 * iw : iw;
    const double down = upper ? 2 * ih : ih;
    if (lw > across)
        ox += (lw - across) / 2;
    if (lh > down)
        oy += (lh - down) / 2;

    QRectF second;
    if (upper)
        second = QRectF(ox, oy - ih, iw, ih);
    else if (left)
        second = QRectF(ox + iw, oy, iw, ih);

    const double ph = l.paper.height();
    auto turn = [ph](const QRectF &r) {
        return r.isNull() ? r : QRectF(r.x(), ph - r.y() - r.height(), r.width(), r.height());
    };
    return {turn(place), turn(QRectF(ox, oy, iw, ih)), turn(second)};
}

QList<SheetGeometry::Label> SheetGeometry::labelsOnSheet(int sheet, int dataRows) const
{
    QList<Label> labels;
    if (sheet < 0)
        return labels;
    const int per = labelsPerSheet();
    const int cols = std::max(1, m_layout.Print_Col);
    const qint64 first = qint64(sheet) * per;
    qint64 limit = std::max(0, m_layout.Total_Label);
    // In data mode the labels past the last row are used up without being drawn.
    if (dataRows >= 0)
        limit = std::min<qint64>(limit, dataRows);
    for (qint64 k = first; k < std::min<qint64>(first + per, limit); ++k) {
        const int inSheet = int(k - first);
        labels.push_back({inSheet / cols + 1, inSheet % cols + 1, int(k)});
    }
    return labels;
}
