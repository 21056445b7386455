// Draws one barcode picture: a linear barcode or a finished 2D symbol in its frame, with
// background, value text, header and footer, styled by the barcode settings.
#pragma once

#include "barcode/BarcodeMargins.h"
#include "barcode/BarcodeSettings.h"
#include "barcode/ModuleGrid.h"
#include "barcode/SymbolFrame.h"

#include <QRectF>

#include <memory>

class BarcodeDrawing;
struct FontDescriptor;
class NKDBarcode;

class NKDBarcodeOffscreenView
{
public:
    // Frame: as wide as the widest of the bars and the shown header and footer, as high as the barcode.
    NKDBarcodeOffscreenView(const NKDBarcode &barcode, const BarcodeSettings &settings);
    // Frame: the one the sizing computed for the symbol; the symbol shows at symbolSize points.
    NKDBarcodeOffscreenView(std::shared_ptr<const ModuleGrid> symbol, QSizeF symbolSize,
                            const SymbolFrame &frame, const BarcodeSettings &settings);

    QRectF bounds() const { return m_bounds; }
    bool fromImageOrBarcode() const { return m_fromImage; }

    // Draws the whole picture into (0, 0, width, height), y down, in points.
    void drawRect(BarcodeDrawing &drawing) const;

private:
    struct Header {
        QString text;
        double height = 0; // inches
    };
    // Lengths are worked out bottom-up in points; these turn them into y-down coordinates.
    double yDown(double yUp) const { return m_bounds.height() - yUp; }
    void fillUp(BarcodeDrawing &drawing, double x, double yUp, double w, double h, const QColor &color) const;
    // Text laid out in a rectangle whose lower edge is at yUp, aligned by an alignment index.
    void drawTextInRect(BarcodeDrawing &drawing, const QString &text, const FontDescriptor &font,
                        const QColor &color, double kern, int alignment, double x, double yUp,
                        double width) const;
    // Text whose lower-left corner (below the descender) is at (x, yUp).
    void drawTextAt(BarcodeDrawing &drawing, const QString &text, const FontDescriptor &font,
                    const QColor &color, double kern, double x, double yUp) const;
    void drawHeaderFooter(BarcodeDrawing &drawing, bool printsHeader, bool printsFooter,
                          const QString &header, const QString &footer, double headerHeightInches) const;
    void drawLinear(BarcodeDrawing &drawing) const;
    void drawCaption(BarcodeDrawing &drawing, double yCaption) const;
    void draw2D(BarcodeDrawing &drawing) const;

    const NKDBarcode *m_barcode = nullptr;
    std::shared_ptr<const ModuleGrid> m_symbol;
    QSizeF m_symbolSize;
    SymbolFrame m_frame;
    BarcodeSettings m_settings;
    BarcodeMargins m_margins;
    QRectF m_bounds;
    bool m_fromImage = false;
};
