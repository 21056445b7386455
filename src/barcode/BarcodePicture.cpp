#include "barcode/BarcodePicture.h"

#include "barcode/BarcodeDrawing.h"
#include "barcode/NKDBarcode.h"
#include "barcode/NKDBarcodeOffscreenView.h"
#include "platform/PdfPageBox.h"
#include "platform/PdfToUnicode.h"
#include "platform/Units.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPicture>

#include <memory>

namespace
{

Picture record(const NKDBarcodeOffscreenView &view)
{
    const QRectF bounds = view.bounds();
    if (bounds.isEmpty())
        return {};
    auto drawing = std::make_shared<BarcodeDrawing>();
    view.drawRect(*drawing);
    return Picture::fromDrawing(std::move(drawing), bounds.size());
}

} // namespace

Picture BarcodePicture::imageFromBarcode(const NKDBarcode &barcode, const BarcodeSettings &settings)
{
    return record(NKDBarcodeOffscreenView(barcode, settings));
}

Picture BarcodePicture::imageFromBarcodeImage(std::shared_ptr<const ModuleGrid> symbol, QSizeF symbolSize,
                                              const SymbolFrame &frame, const BarcodeSettings &settings)
{
    if (!symbol || symbol->isEmpty())
        return {};
    return record(NKDBarcodeOffscreenView(std::move(symbol), symbolSize, frame, settings));
}

QByteArray BarcodePicture::pdfFromBarcode(const NKDBarcode &barcode, const BarcodeSettings &settings)
{
    return pdfFromPicture(imageFromBarcode(barcode, settings));
}

QByteArray BarcodePicture::pdfFromPicture(const Picture &picture)
{
    const QSizeF size = picture.size();
    if (picture.isNull() || size.isEmpty())
        return {};
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly))
        return {};
    {
        QPdfWriter writer(&buffer);
        writer.setCreator(QStringLiteral("Tessaly Greeting Designer"));
        // A recording replays scaled by the device's resolution over the one it was recorded at;
        // a writer at that same resolution replays it as recorded.
        const int dpi = QPicture().logicalDpiX();
        writer.setResolution(dpi > 0 ? dpi : 72);
        // Qt's pages are whole points: the page is rounded up, and given the picture's exact size
        // once written.
        const QPageSize pageSize(PdfPageBox::wholePointPage(size), QPageSize::Point, QString(),
                                 QPageSize::ExactMatch);
        writer.setPageLayout(QPageLayout(pageSize, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        QPainter painter;
        if (!painter.begin(&writer))
            return {};
        const double pointsToDevice = Units::pixelsPerPoint(writer.resolution());
        painter.scale(pointsToDevice, pointsToDevice);
        picture.draw(painter, QRectF(QPointF(0, 0), size));
        painter.end();
    }
    // The header and footer are text: joined Arabic letters copy and search as typed, as on a card.
    // A file laid out otherwise than Qt writes is left as it is, still a whole PDF.
    PdfPageBox::setExactSize(bytes, size);
    PdfToUnicode::spellOutPresentationForms(bytes);
    return bytes;
}
