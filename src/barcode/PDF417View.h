// Encodes a text as a PDF417 symbol and keeps its modules stretched over the view's size; the
// barcode window holds one and hands the modules, or an image at the output resolution, on.
#pragma once

#include "PDF417Encoder.h"
#include "barcode/ModuleGrid.h"

#include <QImage>
#include <QSizeF>
#include <QString>

#include <memory>

class QPainter;

class PDF417View
{
public:
    enum ImageState { ImageReady = 0, ImageEmpty = 1, ImageFailed = 2 };

    PDF417View(); // error level 2, empty state

    // Size of the symbol picture in points (the view's bounds).
    void setFrameSize(QSizeF points) { m_frameSize = points; }
    QSizeF frameSize() const { return m_frameSize; }
    // Dots per inch of the image made by drawWithText (600 unless told otherwise).
    void setOutputDpi(int dpi) { m_dpi = dpi > 0 ? dpi : 600; }
    int outputDpi() const { return m_dpi; }

    // Encodes the text: an empty text shows the empty state and keeps the image; a failure keeps
    // the image of the last success. ASCII text goes as it is, other text as UTF-8 behind ECI 26.
    int drawWithText(const QString &text);
    int imageState() const { return m_imageState; }
    // Why the last encoding failed (empty when it did not).
    QString lastError() const { return m_lastError; }

    // The symbol at the output resolution, each module at least one pixel (a frame too small for
    // that is refused); null before any success. Made on first use: a view belongs to one thread
    // at a time.
    QImage getImage() const;
    // The modules of the last success over (0, 0, imageSize); null before any success.
    std::shared_ptr<const ModuleGrid> moduleGrid() const { return m_grid; }
    // Its size in points: the frame at the time it was made.
    QSizeF imageSize() const { return m_imageSize; }
    // The module rows of the last success (0 bit dark), its columns and rows.
    const PDF417Param &param() const { return m_p; }

    void setErrorLevel(int level);
    int getErrorLevel() const { return m_errorLevel; }

    // Paints the view into (0, 0, frame): the image, a light grey box when empty, or the
    // failure text on white.
    void drawRect(QPainter &painter) const;
    // The last symbol as Encapsulated PostScript scaled to the frame (empty before any success).
    QByteArray makeEPS() const;

private:
    mutable QImage m_pdf417Image;
    std::shared_ptr<const ModuleGrid> m_grid;
    int m_imageDpi = 600;
    QSizeF m_imageSize;
    PDF417Param m_p;
    int m_errorLevel = 2;
    int m_imageState = ImageEmpty;
    QSizeF m_frameSize;
    int m_dpi = 600;
    QString m_lastError;
    QByteArray m_bits; // module rows of the image shown
    int m_bitColumns = 0;
    int m_bitRows = 0;
};
