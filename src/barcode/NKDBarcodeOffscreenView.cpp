#include "barcode/NKDBarcodeOffscreenView.h"

#include "barcode/BarcodeDrawing.h"
#include "barcode/BarcodeSizing.h"
#include "barcode/BarcodeText.h"
#include "barcode/NKDBarcode.h"
#include "platform/Units.h"

namespace
{

enum class Align { Natural, Left, Center, Right };

Align alignmentFor(int index)
{
    const QStringList &titles = BarcodeSettings::alignmentTitles();
    if (index < 0 || index >= titles.size())
        return Align::Natural;
    const QString &t = titles.at(index);
    if (t == QLatin1String("Center"))
        return Align::Center;
    if (t == QLatin1String("Right"))
        return Align::Right;
    return Align::Left;
}

} // namespace

NKDBarcodeOffscreenView::NKDBarcodeOffscreenView(const NKDBarcode &barcode, const BarcodeSettings &settings)
    : m_barcode(&barcode), m_settings(settings), m_margins(barcode.margins())
{
    double w = barcode.width();
    if (barcode.printsHeader())
        w = std::max(w, barcode.headerWidth());
    if (barcode.printsFooter())
        w = std::max(w, barcode.footerWidth());
    m_bounds = QRectF(0, 0, std::max(0.0, w), std::max(0.0, barcode.height()));
}

NKDBarcodeOffscreenView::NKDBarcodeOffscreenView(std::shared_ptr<const ModuleGrid> symbol, QSizeF symbolSize,
                                                 const SymbolFrame &frame, const BarcodeSettings &settings)
    : m_symbol(std::move(symbol)), m_symbolSize(symbolSize), m_frame(frame), m_settings(settings),
      m_margins(BarcodeSizing::margins(settings)), m_fromImage(true)
{
    m_bounds = QRectF(0, 0, std::max(0.0, frame.width), std::max(0.0, frame.height));
}

void NKDBarcodeOffscreenView::fillUp(BarcodeDrawing &drawing, double x, double yUp, double w, double h,
                                     const QColor &color) const
{
    if (w <= 0 || h <= 0)
        return;
    drawing.fillBar(QRectF(x, yDown(yUp + h), w, h), color);
}

void NKDBarcodeOffscreenView::drawTextAt(BarcodeDrawing &drawing, const QString &text,
                                         const FontDescriptor &font, const QColor &color, double kern,
                                         double x, double yUp) const
{
    if (text.isEmpty())
        return;
    const double baselineUp = yUp + BarcodeText::descent(font);
    drawing.fillText(text, font, kern, QPointF(x, yDown(baselineUp)), color);
}

void NKDBarcodeOffscreenView::drawTextInRect(BarcodeDrawing &drawing, const QString &text,
                                             const FontDescriptor &font, const QColor &color, double kern,
                                             int alignment, double x, double yUp, double width) const
{
    if (text.isEmpty())
        return;
    const QSizeF size = BarcodeText::size(text, font, kern);
    double left = x;
    switch (alignmentFor(alignment)) {
    case Align::Center:
        left = x + (width - size.width()) / 2.0;
        break;
    case Align::Right:
        left = x + width - size.width();
        break;
    default:
        break;
    }
    // The line hangs from the top of a rectangle as high as the text.
    const double baselineUp = yUp + size.height() - BarcodeText::ascent(font);
    drawing.fillText(text, font, kern, QPointF(left, yDown(baselineUp)), color);
}

void NKDBarcodeOffscreenView::drawHeaderFooter(BarcodeDrawing &drawing, bool printsHeader, bool printsFooter,
                                               const QString &header, const QString &footer,
                                               double headerHeightInches) const
{
    const double w = m_bounds.width();
    if (printsHeader) {
        const double yh = m_bounds.height() - Units::inchesToPoints(headerHeightInches) - m_margins.topBottom;
        drawTextInRect(drawing, header, m_settings.header_font, m_settings.barcode_hdr_clr,
                       BarcodeText::kHeaderFooterKern, m_settings.align_hdr_index, 0, yh, w);
    }
    if (printsFooter) {
        drawTextInRect(drawing, footer, m_settings.footer_font, m_settings.barcode_ftr_clr,
                       BarcodeText::kHeaderFooterKern, m_settings.align_ftr_index, 0, m_margins.topBottom, w);
    }
}

void NKDBarcodeOffscreenView::drawRect(BarcodeDrawing &drawing) const
{
    if (m_bounds.isEmpty())
        return;
    if (m_fromImage)
        draw2D(drawing);
    else
        drawLinear(drawing);
}

void NKDBarcodeOffscreenView::drawLinear(BarcodeDrawing &drawing) const
{
    const NKDBarcode &b = *m_barcode;
    drawing.fillRect(m_bounds, m_settings.barcode_back_clr);

    const double C = b.printsCaption() ? Units::inchesToPoints(b.captionHeight()) : 0.0;
    const double F = b.printsFooter() ? Units::inchesToPoints(b.footerHeight()) : 0.0;
    const bool top = m_settings.show_val_on_top != 0;
    const BarcodeMargins &m = m_margins;
    const double yb = top ? F + m.footer + m.topBottom : C + F + m.value + m.footer + m.topBottom;

    const QByteArray modules = b.completeBarcode();
    const int n = int(modules.size());
    const double bw = b.barWidth();
    double x = (m_bounds.width() - n * bw) / 2.0;
    int run = 0;
    double lastHeight = 0;
    auto drawRun = [&](int lastIndex) {
        const double t = b.barTop(lastIndex);
        const double bottom = b.drawsBarBottoms() ? b.barBottom(lastIndex) : 0.0;
        fillUp(drawing, x, yb + bottom, bw * run, t - bottom, m_settings.barcode_clr);
        lastHeight = t;
    };
    for (int i = 0; i < n; ++i) {
        if (modules[i] == '1') {
            ++run;
            if (i == n - 1)
                drawRun(i);
        } else {
            if (run > 0)
                drawRun(i - 1);
            x += bw * (run + 1);
            run = 0;
        }
    }

    if (b.printsCaption()) {
        const double yc =
            top ? F + m.footer + lastHeight + m.value + m.topBottom : F + m.footer + m.topBottom;
        drawCaption(drawing, yc);
    }
    drawHeaderFooter(drawing, b.printsHeader(), b.printsFooter(), b.header(), b.footer(), b.headerHeight());
}

void NKDBarcodeOffscreenView::drawCaption(BarcodeDrawing &drawing, double yc) const
{
    const NKDBarcode &b = *m_barcode;
    const FontDescriptor &font = m_settings.value_font;
    const QColor &color = m_settings.barcode_val_clr;
    const double lr = m_margins.leftRight;
    const double bw = b.barWidth();

    const QString left = b.leftCaption();
    if (!left.isEmpty())
        drawTextAt(drawing, left, font, color, 0, b.firstBar() * 0.25 + lr, yc + 3.0);

    const QString middle = b.caption();
    if (!middle.isEmpty()) {
        const QStringList parts = middle.split(QLatin1Char('\t'));
        if (left.isEmpty() && parts.size() <= 1) {
            // Only a value spread over the bars is measured first: laying out a text costs more
            // than drawing its glyphs, once per card in a batch.
            double kern = 2.0;
            if (m_settings.kerning_value == 1) {
                const double w = BarcodeText::size(middle, font, 0).width();
                kern = 2.0 * (b.width() - w) / (2.0 * middle.size());
            }
            drawTextInRect(drawing, middle, font, color, kern,
                           BarcodeSettings::alignmentTitles().indexOf("Center"), 0, yc, m_bounds.width());
        } else {
            const int count = int(parts.size());
            const double L = b.initiator().size();
            const double s = count == 1 ? b.width() / count - 2.0 * L * bw - 2.0 * b.firstBar()
                                        : b.width() / count - L * bw - b.firstBar();
            for (int i = 0; i < count; ++i) {
                const QString &part = parts.at(i);
                if (part.isEmpty())
                    continue;
                const double w = BarcodeText::size(part, font, 0).width();
                const double k = (s - w) / (2.0 * part.size());
                const double px = 3.0 * k + b.firstBar() + (i + 1) * L * bw + i * s + lr;
                drawTextAt(drawing, part, font, color, 1.3 * k, px, yc);
            }
        }
    }

    const QString right = b.rightCaption();
    if (!right.isEmpty()) {
        // Kept inside the frame: on a narrow symbol (UPC-E) the place right of the bars would
        // otherwise cut the digit off.
        const double w = BarcodeText::size(right, font, 0).width();
        const double x = std::min(b.lastBar() + b.width() * 0.07 + lr, m_bounds.width() - w);
        drawTextAt(drawing, right, font, color, 0, x, yc + 3.0);
    }
}

void NKDBarcodeOffscreenView::draw2D(BarcodeDrawing &drawing) const
{
    drawing.fillRect(m_bounds, Qt::white);
    const double headerHeight = Units::inchesToPoints(m_frame.headerHeight);
    const double yh = m_frame.printsHeader ? m_bounds.height() - headerHeight - m_margins.topBottom
                                           : m_bounds.height() - m_margins.topBottom;
    drawHeaderFooter(drawing, m_frame.printsHeader, false, m_frame.header, {}, m_frame.headerHeight);
    const double wi = m_symbolSize.width();
    const double hi = m_symbolSize.height();
    if (m_symbol && !m_symbol->isEmpty() && wi > 0 && hi > 0) {
        // The symbol's light modules and margins show the white ground.
        const double x = (m_bounds.width() - wi) / 2.0;
        const double yUp = yh - hi - m_margins.header;
        drawing.fillModules(m_symbol, QPointF(x, yDown(yUp + hi)), Qt::black);
    }
    drawHeaderFooter(drawing, false, m_frame.printsFooter, {}, m_frame.footer, 0);
}
