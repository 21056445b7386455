#include "canvas/ui/DocumentPrinting.h"

#include "canvas/SKTRenderingView.h"
#include "platform/Units.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

bool DocumentPrinting::printSide(QPrinter &printer, const RenderSide &front, const QString &jobTitle)
{
    printer.setDocName(jobTitle);
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF area = printer.pageLayout().paintRectPixels(printer.resolution());
    const double perPoint = Units::pixelsPerPoint(printer.resolution());
    const QSizeF card = front.cardSize() * perPoint;
    // Real size when it fits, else scaled down to the printable area.
    double k = perPoint;
    if (card.width() > area.width() || card.height() > area.height())
        k *= std::min(area.width() / card.width(), area.height() / card.height());
    painter.translate((area.width() - front.cardSize().width() * k) / 2.0,
                      (area.height() - front.cardSize().height() * k) / 2.0);
    painter.scale(k, k);
    SKTRenderingView::drawSide(painter, front);
    return painter.end();
}

bool DocumentPrinting::printOperationWithSettings(const RenderSide &front, const QString &jobTitle,
                                                  QWidget *parent)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(jobTitle);
    QPrintDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    return printSide(printer, front, jobTitle);
}
