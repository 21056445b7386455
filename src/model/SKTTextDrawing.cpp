// Painting of SKTText. Painting reads the record and changes nothing, so it may run on any thread.
#include "model/SKTText.h"

#include "foundation/StringUtils.h"
#include "model/GraphicPainting.h"
#include "platform/FontCoverage.h"
#include "platform/FontResolver.h"
#include "platform/PdfDrawnText.h"
#include "platform/Units.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <optional>

namespace
{

// Letter case: 1 upper, 2 lower, 3 each word capitalised; anything else as stored.
QString applyCase(const QString &text, int rule)
{
    switch (rule) {
    case 1:
        return text.toUpper();
    case 2:
        return text.toLower();
    case 3: {
        QString out = text.toLower();
        bool wordStart = true;
        for (QChar &c : out) {
            if (c.isLetterOrNumber()) {
                if (wordStart)
                    c = c.toUpper();
                wordStart = false;
            } else {
                wordStart = c.isSpace();
            }
        }
        return out;
    }
    default:
        return text;
    }
}

// Alignment codes as stored: 0 left, 1 right, 2 centre, 3 justified, 4 natural (left); anything else left.
Qt::Alignment alignmentFor(int code)
{
    switch (code) {
    case 1:
        return Qt::AlignRight;
    case 2:
        return Qt::AlignHCenter;
    case 3:
        return Qt::AlignJustify;
    default:
        return Qt::AlignLeft;
    }
}

// Text is laid out against one reference device of 96 dpi whatever the target: Qt scales absolute
// letter spacing by the device's dpi (and drops it at some), so kerning would change with the output.
// The painter's own transform then carries the layout to the device.
constexpr double LayoutDpi = 96.0;

const QPaintDevice *layoutDevice()
{
    thread_local QImage reference = [] {
        QImage img(1, 1, QImage::Format_ARGB32_Premultiplied);
        const int dpm = int(std::lround(LayoutDpi / 0.0254));
        img.setDotsPerMeterX(dpm);
        img.setDotsPerMeterY(dpm);
        return img;
    }();
    return &reference;
}

// A font whose size is `points` in the painter's units (card points) on the layout device.
QFont fontInPoints(const FontDescriptor &descriptor)
{
    QFont font = FontResolver::font(descriptor);
    // Sizes read from a file may be anything; Qt keeps font metrics in fixed point.
    const double size =
        std::isfinite(descriptor.size) && descriptor.size > 0 ? std::min(descriptor.size, 10000.0) : 12.0;
    const double dpi = layoutDevice()->logicalDpiY() > 0 ? layoutDevice()->logicalDpiY() : LayoutDpi;
    font.setPointSizeF(size * Units::PointsPerInch / dpi);
    // Unhinted outlines keep the line breaks the same at every resolution.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

// The characters `stored` draws as in `t`: trimmed, in its letter case, breaks as line separators.
QString drawnText(const SKTText &t, const QString &stored)
{
    QString text = applyCase(Trim_Str(stored), t.text_transfrom_case);
    text.replace(QLatin1String("\r\n"), QString(QChar::LineSeparator));
    text.replace(u'\n', QChar::LineSeparator);
    text.replace(u'\r', QChar::LineSeparator);
    return text;
}

// The record's font at its size in card points, with its kerning.
QFont drawingFont(const SKTText &t)
{
    QFont font = fontInPoints(t.drawnFont());
    if (t.text_kerning != 0.0f && std::isfinite(t.text_kerning))
        font.setLetterSpacing(QFont::AbsoluteSpacing, std::clamp(double(t.text_kerning), -10000.0, 10000.0));
    return font;
}

// Gives every character of the layout a face that has its glyph (the font's own where it can), so
// that no script is left blank on any output.
void setFaces(QTextLayout &layout, const QFont &font)
{
    layout.setFormats(FontCoverage::fallbackRanges(layout.text(), font));
}

// The advance of `text` on one line, as drawing lays it out.
double lineWidth(const QString &text, const QFont &font)
{
    QTextLayout layout(text, font, const_cast<QPaintDevice *>(layoutDevice()));
    setFaces(layout, font);
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    return line.isValid() ? line.naturalTextWidth() : 0.0;
}

// Lays the layout's text out as `t` draws its own: aligned, wrapped at `width` (its own when not
// given), lines running down from the top; lines past `height` are not laid out. Gives the height
// the laid-out lines take.
double layOut(QTextLayout &layout, const SKTText &t, double height, std::optional<double> wrapWidth = {})
{
    QTextOption option(alignmentFor(t.text_alignmnet));
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.setCacheEnabled(true);
    const double width = wrapWidth.value_or(t.bounds().width());
    double y = 0;
    layout.beginLayout();
    for (;;) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(std::max(0.0, width));
        line.setPosition(QPointF(0, y));
        y += line.height();
        if (y > height + line.height() || y > 100000)
            break;
    }
    layout.endLayout();
    return y;
}

// Characters measured at most from a text's start before the whole is.
constexpr qsizetype MeasuredStart = 4096;

// The text with every run of characters that take no room of their own (combining marks, format
// characters) cut to a few: a flood of them draws nothing more and makes laying out slow.
QString measuredText(const QString &text)
{
    constexpr int MostInRun = 8;
    QString out;
    out.reserve(text.size());
    int run = 0;
    for (const QChar c : text) {
        const QChar::Category k = c.category();
        const bool roomless =
            k == QChar::Mark_NonSpacing || k == QChar::Mark_Enclosing || k == QChar::Other_Format;
        run = roomless ? run + 1 : 0;
        if (run <= MostInRun)
            out.append(c);
    }
    return out;
}

// Ink is judged as the finest render, 600 dpi, shows it: a pixel that a clip takes whole (the clip
// takes whole pixels) loses its ink when more than half of it was covered. So ink passing an edge
// by up to half such a pixel is never lost: a Thai letter's rounded foot a fiftieth of a point below
// its baseline, or the tip of a Naskh letter's tail just under its box, is drawn all the same.
constexpr double InkPixel = 72.0 / 600;
constexpr double InkSlack = InkPixel / 2;

// Where a text's drawing may put ink: its box, and on either side and above as far as the canvas
// shows an object past its bounds, so that a letter leaning or reaching past the side (an italic's
// last letter, a serif) or a mark reaching above its face's ascent (Devanagari's vowel sign i) is
// drawn whole: no box height could make room for it. Lines that do not fit are cut at the bottom.
QRectF inkArea(const QRectF &box)
{
    return box.adjusted(-SKTGraphicHandleHalfWidth, -SKTGraphicHandleHalfWidth, SKTGraphicHandleHalfWidth, 0);
}

// Whether clipping a glyph (one glyph run, placed in the layout's points, whose ink lies in `ink`)
// to `area` loses ink: some pixel of a 600 dpi render past an edge, on a grid that starts at that
// edge and lies anywhere along it, more than half covered. The glyph is drawn as drawing draws it,
// the pixels a few deep past each edge at four placements along it; ink reaching further is lost.
bool losesInk(const QGlyphRun &glyph, const QRectF &ink, const QRectF &area)
{
    constexpr int Deepest = 16; // pixels
    // Past the left, top, right and bottom edges.
    const double past[4] = {area.left() - ink.left(), area.top() - ink.top(), ink.right() - area.right(),
                            ink.bottom() - area.bottom()};
    for (int side = 0; side < 4; ++side) {
        if (past[side] <= InkSlack)
            continue;
        if (past[side] > Deepest * InkPixel)
            return true;
        const int deep = int(std::ceil(past[side] / InkPixel));
        const bool beside = side % 2 == 0; // the band runs down the area's side, not along its top or bottom
        const int along = int(std::ceil((beside ? ink.height() : ink.width()) / InkPixel)) + 2;
        // The band's corner in points: the grid starts at the edge and runs away from the area.
        const QPointF corner(side == 0   ? area.left() - deep * InkPixel
                             : side == 2 ? area.right()
                                         : ink.left() - InkPixel,
                             side == 1   ? area.top() - deep * InkPixel
                             : side == 3 ? area.bottom()
                                         : ink.top() - InkPixel);
        QImage band(beside ? QSize(deep, along) : QSize(along, deep), QImage::Format_ARGB32_Premultiplied);
        for (int quarter = 0; quarter < 4; ++quarter) {
            band.fill(Qt::transparent);
            QPainter painter(&band);
            painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
            painter.setPen(Qt::black);
            painter.scale(1 / InkPixel, 1 / InkPixel);
            const double shift = quarter * InkPixel / 4;
            painter.translate(-corner + (beside ? QPointF(0, shift) : QPointF(shift, 0)));
            painter.drawGlyphRun(QPointF(), glyph);
            painter.end();
            for (int row = 0; row < band.height(); ++row) {
                const auto *pixels = reinterpret_cast<const QRgb *>(band.constScanLine(row));
                for (int col = 0; col < band.width(); ++col)
                    if (qAlpha(pixels[col]) > 128)
                        return true;
            }
        }
    }
    return false;
}

// Whether drawing a glyph run clipped to `area` (in the layout's points) keeps all the ink a render
// shows: each glyph judged by its outline; one whose rough bounds lie well inside is not outlined.
bool inkInside(const QGlyphRun &run, const QRectF &area)
{
    const QRawFont font = run.rawFont();
    const QList<quint32> glyphs = run.glyphIndexes();
    const QList<QPointF> positions = run.positions();
    // The rough bounds come from the font's metrics, which may be rounded to whole units.
    const QRectF well = area.adjusted(1, 1, -1, -1);
    const QRectF loose = area.adjusted(-InkSlack, -InkSlack, InkSlack, InkSlack);
    for (qsizetype i = 0; i < glyphs.size() && i < positions.size(); ++i) {
        const QRectF rough = font.boundingRect(glyphs.at(i));
        if (rough.isEmpty() || well.contains(rough.translated(positions.at(i))))
            continue;
        const QRectF ink = font.pathForGlyph(glyphs.at(i)).boundingRect().translated(positions.at(i));
        if (ink.isEmpty() || loose.contains(ink))
            continue;
        QGlyphRun one;
        one.setRawFont(font);
        one.setGlyphIndexes({glyphs.at(i)});
        one.setPositions({positions.at(i)});
        if (losesInk(one, ink, area))
            return false;
    }
    return true;
}

// The cut of a drawn text laid out in t's box: the ink of every glyph drawing puts down, against
// the area drawing clips it to and the card; text past the lines drawing lays out is never drawn.
SKTText::Cut cutOfLines(const SKTText &t, const QString &drawn, const QRectF &card)
{
    const QFont font = drawingFont(t);
    QTextLayout layout(drawn, font, const_cast<QPaintDevice *>(layoutDevice()));
    setFaces(layout, font);
    const QRectF box = t.bounds();
    layOut(layout, t, box.height());
    if (layout.lineCount() > 0) {
        const QTextLine last = layout.lineAt(layout.lineCount() - 1);
        if (!drawn.mid(last.textStart() + last.textLength()).trimmed().isEmpty())
            return SKTText::Cut::ByBox;
    }
    const QRectF inBox = inkArea(box).translated(-box.topLeft());
    const QRectF onCard = card.translated(-box.topLeft());
    bool byCard = false;
    for (const QGlyphRun &run : layout.glyphRuns()) {
        if (!inkInside(run, inBox))
            return SKTText::Cut::ByBox;
        byCard = byCard || (!card.isEmpty() && !inkInside(run, onCard));
    }
    return byCard ? SKTText::Cut::ByCard : SKTText::Cut::None;
}

// Draws each line as its glyph runs, one text object of the PDF each, and notes the line's text
// for the file's text layer. The runs go in the order the line shows them: the layout's own list
// of a line's runs comes in the order of a hash of font pointers, other on every run of the program.
void drawLinesNoted(QPainter &painter, const QTextLayout &layout, const QPointF &at)
{
    for (int i = 0; i < layout.lineCount(); ++i) {
        const QTextLine line = layout.lineAt(i);
        QList<QList<quint32>> glyphs;
        QStringList families;
        for (const QGlyphRun &run : line.glyphRuns()) {
            if (run.glyphIndexes().isEmpty())
                continue;
            painter.drawGlyphRun(at, run);
            glyphs << run.glyphIndexes();
            families << run.rawFont().familyName();
        }
        PdfDrawnText::note(painter.device(), layout.text().mid(line.textStart(), line.textLength()).trimmed(),
                           glyphs, families);
    }
}

} // namespace

void SKTText::drawContentsInView(QPainter &painter, const GraphicDrawContext &context,
                                 bool isBeingCreateOrEdited) const
{
    if (!ctrl_is_visible)
        return;
    const QRectF b = bounds();
    if (isBeingCreateOrEdited) {
        painter.save();
        painter.setPen(QPen(QColor(88, 138, 212), 1.0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(b.adjusted(-1, -1, 1, 1));
        painter.restore();
        GraphicPainting::requestCanvasRefresh();
        return;
    }
    const QString trimmed = Trim_Str(textContentsForDrawing().text);
    if (trimmed.isEmpty())
        return;

    if (isDrawingFill()) {
        QPainterPath box;
        box.addRect(b);
        // Texts know solid and gradient fills only: a hatch code fills with the solid colour.
        GraphicPainting::fillPath(painter, *this, box, context.resourcePath, false);
    }
    if (isDrawingStroke())
        GraphicPainting::strokeBounds(painter, *this);

    const QFont font = drawingFont(*this);
    QTextLayout layout(drawnText(*this, trimmed), font, const_cast<QPaintDevice *>(layoutDevice()));
    setFaces(layout, font);
    layOut(layout, *this, b.height());

    painter.save();
    painter.setClipRect(inkArea(b), Qt::IntersectClip);
    painter.setPen(txt_clr.value_or(QColor(0, 0, 0)));
    painter.setRenderHint(QPainter::TextAntialiasing);
    if (PdfDrawnText::noting(painter.device()) && PdfDrawnText::needsItsText(layout.text()))
        drawLinesNoted(painter, layout, b.topLeft());
    else
        layout.draw(&painter, b.topLeft());
    painter.restore();
    GraphicPainting::requestCanvasRefresh();
}

double SKTText::widestDrawnWord() const
{
    const QFont font = drawingFont(*this);
    const QString text = drawnText(*this, textContentsForDrawing().text);
    double widest = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && !text.at(i).isSpace()) // line separators count as spaces
            continue;
        if (i > start)
            widest = std::max(widest, lineWidth(text.mid(start, i - start), font));
        start = i + 1;
    }
    return widest;
}

double SKTText::drawnTextHeight() const
{
    return drawnTextHeightAt(bounds().width());
}

double SKTText::drawnTextHeightAt(double width) const
{
    const QString text = drawnText(*this, textContentsForDrawing().text);
    if (text.isEmpty())
        return 0.0;
    const QFont font = drawingFont(*this);
    QTextLayout layout(text, font, const_cast<QPaintDevice *>(layoutDevice()));
    setFaces(layout, font);
    return layOut(layout, *this, 100000, width);
}

SKTText::Cut SKTText::cutOf(const QString &text, const QRectF &card) const
{
    const QString drawn = measuredText(drawnText(*this, text));
    if (drawn.isEmpty())
        return Cut::None;
    // More text only adds lines and widens the last: a start that is cut already tells, and
    // laying out a very long text whole takes far longer than drawing the lines a box shows.
    if (drawn.size() > MeasuredStart) {
        const qsizetype n = drawn.at(MeasuredStart - 1).isHighSurrogate() ? MeasuredStart - 1 : MeasuredStart;
        const Cut start = cutOfLines(*this, drawn.left(n), card);
        if (start != Cut::None)
            return start;
    }
    return cutOfLines(*this, drawn, card);
}

QString SKTText::drawnCharacters(const QString &stored) const
{
    return drawnText(*this, stored);
}

FontDescriptor SKTText::drawnFont() const
{
    return text_ctrl_font.value_or(FontDescriptor{QString::fromLatin1(ModelGlobals::Text_Ctrl_Font), 14.0});
}

double SKTText::heightAsDrawn(const QString &text, const FontDescriptor &font, double width)
{
    // Measured on a text object, so that a layout made for a frame and its drawing agree.
    SKTText probe;
    probe.Text_contents().text = text;
    probe.text_ctrl_font = font;
    probe._bounds = QRectF(0, 0, std::max(0.0, width), 0);
    return probe.drawnTextHeight();
}

QSizeF SKTText::naturalSizeAt(double width) const
{
    // Laid out exactly as drawing lays it out, so that the frame it gives shows every line whole.
    const QFont font = drawingFont(*this);
    QTextLayout layout(drawnText(*this, textContentsForDrawing().text), font,
                       const_cast<QPaintDevice *>(layoutDevice()));
    setFaces(layout, font);
    const double height = layOut(layout, *this, 100000, width);
    double widest = 0;
    for (int i = 0; i < layout.lineCount(); ++i)
        widest = std::max(widest, layout.lineAt(i).naturalTextWidth());
    // Whole points and one more, as the frames that grow to fit a text take, so no rounding wraps.
    return QSizeF(std::ceil(widest) + 1, std::ceil(height));
}
