// Encodes a text as a PDF417 symbol and keeps it as an image stretched to the view's size at the
// output resolution; the barcode window holds one and hands its image to the picture drawing.
#include "PDF417View.h"

#include "barcode/BarcodeSizing.h"
#include "platform/Units.h"

#include <QCoreApplication>
#include <QPainter>

#include <cmath>

namespace
{

bool isAscii(const QString &text)
{
    for (QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

} // namespace

PDF417View::PDF417View()
{
    PDF417Encoder::pdf417init(m_p);
}

void PDF417View::setErrorLevel(int level)
{
    m_errorLevel = level;
}

int PDF417View::drawWithText(const QString &text)
{
    if (text.isEmpty()) {
        m_imageState = ImageEmpty;
        m_lastError.clear();
        return m_imageState;
    }
    PDF417Encoder::pdf417init(m_p);
    if (isAscii(text)) {
        m_p.text = text.toLatin1();
    } else {
        m_p.text = text.toUtf8();
        m_p.eci = 26;
    }
    m_p.lenText = static_cast<int>(m_p.text.size());
    m_p.options = PDF417Param::UseErrorLevel | PDF417Param::InvertBits;
    m_p.errorLevel = m_errorLevel;
    m_p.aspectRatio = 1.0f;
    PDF417Encoder::paintCode(m_p);
    if (m_p.error) {
        // The reason travels to the window or the check that asked; nothing goes to the terminal.
        m_lastError =
            m_p.error == PDF417Param::ErrorTextTooBig
                ? QCoreApplication::translate("PDF417View", "The text is too long for a PDF417 symbol.")
                : QCoreApplication::translate("PDF417View", "The PDF417 settings are not valid.");
        PDF417Encoder::pdf417free(m_p);
        m_imageState = ImageFailed;
        return m_imageState;
    }

    // Every module column and symbol row is stretched over the frame; without a frame the
    // symbol takes its natural size (one point per module, rows three modules high).
    const int columns = m_p.bitColumns, rows = m_p.codeRows;
    QSizeF size = m_frameSize;
    if (!(size.width() > 0 && size.height() > 0))
        size = QSizeF(columns, rows * m_p.yHeight);
    // Rounded up as the output raise does.
    const int width = BarcodeSizing::pixelsFor(size.width(), m_dpi);
    const int height = BarcodeSizing::pixelsFor(size.height(), m_dpi);
    // Drawn into the frame, a module smaller than a device pixel (rows are yHeight modules high) is
    // lost and no reader can read the symbol: that is a refusal, not a picture.
    const int moduleRows = rows * std::max(1, int(m_p.yHeight));
    if (width < columns || height < moduleRows) {
        m_lastError =
            QCoreApplication::translate(
                "PDF417View", "The text needs a PDF417 barcode of at least %1 x %2 points at %3 dpi. "
                              "Make the barcode larger or the text shorter.")
                .arg(std::ceil(columns * Units::PointsPerInch / m_dpi))
                .arg(std::ceil(moduleRows * Units::PointsPerInch / m_dpi))
                .arg(m_dpi);
        PDF417Encoder::pdf417free(m_p);
        m_imageState = ImageFailed;
        return m_imageState;
    }
    auto grid = std::make_shared<ModuleGrid>(columns, rows, QRectF(QPointF(0, 0), size));
    for (int row = 0; row < rows; ++row) {
        for (int x = 0; x < columns; ++x) {
            if (!PDF417Encoder::bitAt(m_p, x, row)) // inverted: a set bit is light
                grid->setDark(x, row);
        }
    }
    m_grid = std::move(grid);
    m_pdf417Image = QImage();
    m_imageDpi = m_dpi;
    m_imageSize = size;
    m_bits = m_p.outBits;
    m_bitColumns = columns;
    m_bitRows = rows;
    m_imageState = ImageReady;
    m_lastError.clear();
    return m_imageState;
}

QImage PDF417View::getImage() const
{
    if (!m_pdf417Image.isNull() || !m_grid)
        return m_pdf417Image;
    const ModuleGrid &grid = *m_grid;
    const int columns = grid.columns(), rows = grid.rows();
    // Rounded up as the output raise does.
    const int width = std::max(BarcodeSizing::pixelsFor(m_imageSize.width(), m_imageDpi), columns);
    const int height = std::max(BarcodeSizing::pixelsFor(m_imageSize.height(), m_imageDpi), rows);
    QImage image(width, height, QImage::Format_ARGB32);
    if (image.isNull())
        return {};
    image.fill(qRgba(255, 255, 255, 255));
    std::vector<int> columnStart(columns + 1);
    for (int x = 0; x <= columns; ++x)
        columnStart[x] = static_cast<int>(static_cast<long long>(x) * width / columns);
    for (int y = 0; y < height; ++y) {
        const int row = static_cast<int>(static_cast<long long>(y) * rows / height);
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < columns; ++x) {
            if (!grid.isDark(x, row))
                continue;
            for (int px = columnStart[x]; px < columnStart[x + 1]; ++px)
                line[px] = qRgba(0, 0, 0, 255);
        }
    }
    m_pdf417Image = image;
    return m_pdf417Image;
}

void PDF417View::drawRect(QPainter &painter) const
{
    const QRectF bounds(QPointF(0, 0), m_frameSize);
    switch (m_imageState) {
    case ImageReady:
        painter.drawImage(bounds, getImage());
        break;
    case ImageEmpty:
        painter.fillRect(bounds, Qt::lightGray);
        break;
    default:
        painter.fillRect(bounds, Qt::white);
        painter.drawText(
            bounds, Qt::TextWordWrap,
            QCoreApplication::translate("PDF417View", "There was a problem drawing the barcode."));
        break;
    }
}

QByteArray PDF417View::makeEPS() const
{
    if (m_bits.isEmpty() || m_bitRows <= 0)
        return {};
    const int width = static_cast<int>(std::ceil(m_imageSize.width()));
    const int height = static_cast<int>(std::ceil(m_imageSize.height()));
    const int bytesPerRow = static_cast<int>(m_bits.size()) / m_bitRows;
    QByteArray eps;
    eps += "%!PS-Adobe-3.0 EPSF-3.0\n";
    eps += QByteArray("%%BoundingBox: 0 0 ") + QByteArray::number(width) + ' ' + QByteArray::number(height) +
           '\n';
    eps += "%%EndComments\n";
    eps += "/picstr " + QByteArray::number(bytesPerRow) + " string def\n";
    eps +=
        QByteArray::number(m_imageSize.width()) + ' ' + QByteArray::number(m_imageSize.height()) + " scale\n";
    eps += QByteArray::number(m_bitColumns) + ' ' + QByteArray::number(m_bitRows) + " 1 [" +
           QByteArray::number(m_bitColumns) + " 0 0 -" + QByteArray::number(m_bitRows) + " 0 " +
           QByteArray::number(m_bitRows) + "]\n{currentfile picstr readhexstring pop} image\n";
    for (int row = 0; row < m_bitRows; ++row)
        eps += m_bits.mid(row * bytesPerRow, bytesPerRow).toHex().toUpper() + '\n';
    eps += "showpage\n%%EOF\n";
    return eps;
}
