#include "output/ui/Sample_Preview.h"

#include "foundation/CardCodes.h"
#include "output/Printing_View.h"
#include "output/SheetGeometry.h"

#include <QFont>
#include <QPainter>

Sample_Preview::Sample_Preview(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PrintView"));
}

void Sample_Preview::setLayout(const PrintLayout &layout, const QSizeF &frontSize)
{
    m_layout = layout;
    m_front = frontSize;
    setFixedSize(shownSize());
    update();
}

void Sample_Preview::setScale(double pixelsPerPoint)
{
    m_scale = pixelsPerPoint;
    setFixedSize(shownSize());
    update();
}

QSize Sample_Preview::shownSize() const
{
    // Before a printer gives the paper its size there is nothing to show, not a negative size.
    return m_layout.paper.isEmpty() ? QSize(0, 0) : (m_layout.paper * m_scale).toSize();
}

void Sample_Preview::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(m_scale, m_scale);
    drawSheet(painter);
}

void Sample_Preview::drawSheet(QPainter &painter) const
{
    painter.fillRect(QRectF(QPointF(0, 0), m_layout.paper), Qt::white);
    if (m_layout.paper.isEmpty())
        return;
    const SheetGeometry geometry(m_layout);
    const QString side = m_layout.Print_Card_Side;
    const int columns = std::max(1, m_layout.Print_Col);
    for (int r = 1; r <= std::max(1, m_layout.Print_Row); ++r) {
        for (int c = 1; c <= columns; ++c) {
            const SheetGeometry::Places places = geometry.places(r, c, m_front);
            if (m_front.isEmpty()) {
                Draw_Label_String(painter, places.firstPlace, QStringLiteral("Invalid Data"), r, c, columns);
                Draw_Margin_rect(painter, places.firstPlace);
                continue;
            }
            Draw_Label_String(painter, places.firstPlace,
                              side == SideCode::Back ? QStringLiteral("Back") : QStringLiteral("Card"), r, c,
                              columns);
            Draw_Margin_rect(painter, places.firstPlace);
            if (side == SideCode::Both) {
                Draw_Label_String(painter, places.second, QStringLiteral("Back"), r, c, columns);
                Draw_Margin_rect(painter, places.second);
            }
        }
    }
    drawFitNote(painter);
}

void Sample_Preview::drawFitNote(QPainter &painter) const
{
    const QString note = m_layout.fitNote();
    if (note.isEmpty())
        return;
    // Across the foot of the sheet, over whatever is there: it is the one thing to read first.
    QFont font;
    font.setBold(true);
    font.setPixelSize(16);
    painter.save();
    painter.setFont(font);
    const QRectF paper(QPointF(0, 0), m_layout.paper);
    const QRectF room = paper.adjusted(12, 0, -12, 0);
    const QRectF text =
        painter.boundingRect(QRectF(room.left(), 0, room.width(), paper.height()), Qt::TextWordWrap, note);
    const QRectF band(paper.left(), paper.bottom() - text.height() - 16, paper.width(), text.height() + 16);
    painter.fillRect(band, QColor(255, 236, 236));
    painter.setPen(QColor(176, 0, 0));
    painter.drawText(band.adjusted(12, 8, -12, -8), Qt::AlignCenter | Qt::TextWordWrap, note);
    painter.restore();
}

void Sample_Preview::Draw_Label_String(QPainter &painter, const QRectF &rect, const QString &str_val, int row,
                                       int col, int columns)
{
    const bool numbered = str_val == QLatin1String("Front") || str_val == QLatin1String("Back") ||
                          str_val == QLatin1String("Card");
    const QString text =
        numbered ? QStringLiteral("%1 %2").arg(str_val).arg((row - 1) * columns + col) : str_val;
    Printing_View::drawCaption(painter, rect, text, numbered);
}

void Sample_Preview::Draw_Margin_rect(QPainter &painter, const QRectF &rect) const
{
    if (!m_layout.Show_margin_rect)
        return;
    painter.save();
    painter.setPen(QPen(Qt::darkGray, 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect);
    painter.restore();
}

QImage Sample_Preview::imageRepresentation() const
{
    if (m_layout.paper.isEmpty())
        return {};
    QImage image((m_layout.paper * m_scale).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(m_scale, m_scale);
    drawSheet(painter);
    return image;
}
