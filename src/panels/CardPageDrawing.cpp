#include "panels/CardPageDrawing.h"

#include "foundation/CardCodes.h"
#include "model/GraphicPainting.h"
#include "paint/PathPainting.h"

#include <QPainter>

QPainterPath CardPageDrawing::outlinePath(int cardShape, const QRectF &rect)
{
    QPainterPath path;
    if (cardShape == RoundedRectangle)
        path.addRoundedRect(rect, CornerRadius, CornerRadius);
    else if (cardShape == Ellipse)
        path.addEllipse(rect);
    else
        path.addRect(rect);
    path.setFillRule(Qt::WindingFill);
    return path;
}

void CardPageDrawing::Card_Base_Drawing(QPainter &painter, const Card_Property &page, int cardShape,
                                        const QRectF &side, const QString &resourcePath)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QPainterPath outline = outlinePath(cardShape, side);
    painter.fillPath(outline, Qt::white);

    if (page.Card_fill_chk) {
        const QString &style = page.Card_fill_style;
        if (style == FillCode::Gradient) {
            PathPainting::fillGradient(painter, outline, page.Card_fill_Grd_1_clr, page.Card_fill_Grd_2_clr,
                                       page.Card_grad_Stepper);
        } else if (style == FillCode::Hatch) {
            PathPainting::fillHatch(painter, outline, page.Card_hatch_bk_clr, resourcePath,
                                    page.Card_hatch_style);
        } else if (style == FillCode::Picture) {
            if (page.Card_BG_Image && !page.Card_BG_Image->isNull()) {
                if (page.Card_BG_Image_Layout == u"Tile") {
                    PathPainting::fillTiled(painter, outline, *page.Card_BG_Image, page.drawOpacity());
                } else {
                    // Stretched over the whole card, corners outside a rounded or elliptic outline included.
                    PathPainting::drawPicture(painter, *page.Card_BG_Image, side, page.drawOpacity());
                }
            }
        } else {
            painter.fillPath(outline, page.Card_fill_clr);
        }
    }

    if (page.Card_border_chk) {
        // The border follows the outline's straight-segment approximation, centred on it.
        QPainterPath flat;
        for (const QPolygonF &poly : outline.toSubpathPolygons()) {
            flat.addPolygon(poly);
            flat.closeSubpath();
        }
        PathPainting::strokeBorder(painter, flat, page.Card_bordr_clr, page.Card_bor_Stepper,
                                   page.Card_border_style);
    }
    painter.restore();
}

void CardPageDrawing::Refresh_Canvas()
{
    GraphicPainting::requestCanvasRefresh();
}
