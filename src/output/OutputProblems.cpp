#include "output/OutputProblems.h"

#include "barcode/BarcodeDrawing.h"
#include "barcode/BarcodeGenerator.h"
#include "model/PathUtil.h"
#include "model/SKTImage.h"
#include "model/SKTText.h"
#include "output/BatchBarcodeSettings.h"

#include <QFileInfo>
#include <QImage>

#include <cstdlib>

namespace OutputProblems
{
namespace
{
// Half a point: what an edge may be off by before a card shows it cut.
constexpr double Slack = 0.5;

bool inside(const QRectF &area, const QRectF &card)
{
    return area.isEmpty() || card.adjusted(-Slack, -Slack, Slack, Slack).contains(area);
}

// Where the pixels of a picture differ from its background, in points from its corner.
QRectF inkOfPixels(const QImage &pixels, QSizeF size, const QColor &background)
{
    const QImage image = pixels.convertToFormat(QImage::Format_ARGB32);
    int left = image.width(), top = image.height(), right = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = line[x];
            const int differs = std::abs(qRed(p) - background.red()) +
                                std::abs(qGreen(p) - background.green()) +
                                std::abs(qBlue(p) - background.blue());
            if (qAlpha(p) < 128 || differs < 96)
                continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    if (right < 0)
        return {};
    const double kx = size.width() / image.width(), ky = size.height() / image.height();
    return QRectF(left * kx, top * ky, (right - left + 1) * kx, (bottom - top + 1) * ky);
}

// Where a barcode picture shows anything over its ground, in points from its corner: read from
// what a barcode is made of, or from the pixels of one kept in a design file.
QRectF inkOf(const Picture &picture, const QColor &background)
{
    if (const auto *made = dynamic_cast<const BarcodeDrawing *>(picture.drawing()))
        return made->markedArea();
    if (!picture.image().isNull())
        return inkOfPixels(picture.image(), picture.size(), background);
    // Some other recording: the whole picture, unless it is small enough to look at.
    constexpr double MostPoints = 4.0e6;
    const QSizeF size = picture.size();
    if (size.width() * size.height() > MostPoints)
        return QRectF(QPointF(0, 0), size);
    return inkOfPixels(picture.toImage(), size, background);
}

QString textProblem(const Shown &shown)
{
    if (shown.object.kind() != SKTGraphic::Kind::Text)
        return {};
    const auto &text = static_cast<const SKTText &>(shown.object);
    switch (text.cutOf(shown.value ? *shown.value : text.textContentsForDrawing().text, shown.card)) {
    case SKTText::Cut::ByBox:
        return QStringLiteral("does not fit its box and is cut.");
    case SKTText::Cut::ByCard:
        return QStringLiteral("runs past the card's edge and is cut.");
    case SKTText::Cut::None:
        break;
    }
    return {};
}

QString barcodeProblem(const Shown &shown)
{
    const SKTGraphic &g = shown.object;
    if (g.kind() != SKTGraphic::Kind::Barcode)
        return {};
    const QString offCard = QStringLiteral("runs off the card.");
    const QColor background = g.barcode_back_clr_val.value_or(QColor(Qt::white));
    // Drawn at its own size from the object's corner, as the card draws it; a blank margin past the
    // card's edge loses nothing.
    const QPointF at = g.bounds().topLeft();
    const auto fits = [&](const Picture &picture) {
        // Most pictures lie on the card whole: what they show need not be looked for then.
        return inside(QRectF(at, picture.size()), shown.card) ||
               inside(inkOf(picture, background).translated(at), shown.card);
    };
    if (!shown.value)
        return !g._barcode_image || g._barcode_image->isNull() || fits(*g._barcode_image) ? QString()
                                                                                          : offCard;
    const BarcodeSettings settings = BatchBarcodeSettings::Set_Barcode_Prop_To_Control(g);
    // Known from the value's length: making such a symbol only to measure it takes long.
    if (BarcodeGenerator::leastWidth(settings, *shown.value) > shown.card.width() + Slack)
        return QStringLiteral("has a value too long to fit on the card.");
    if (!shown.maker)
        return {};
    const BarcodeResult made = shown.maker(settings, *shown.value, g.header_val.value_or(QString()),
                                           g.footer_val.value_or(QString()));
    if (!made.ok())
        return QStringLiteral("cannot be made from the row's value.");
    return fits(made.picture) ? QString() : offCard;
}

QString pictureProblem(const Shown &shown)
{
    if (shown.object.kind() != SKTGraphic::Kind::Image)
        return {};
    if (!shown.value) {
        if (!shown.fileGone)
            return {};
        const QString path = shown.object.FilePath();
        return QFileInfo::exists(PathUtil::standardizedPath(path))
                   ? QStringLiteral("is blank: its file \"%1\" cannot be read.").arg(path)
                   : QStringLiteral("is blank: its file \"%1\" is gone.").arg(path);
    }
    const bool there = shown.value->isEmpty() || QFileInfo(PathUtil::standardizedPath(*shown.value)).isFile();
    return there ? QString() : QStringLiteral("is blank: the row's picture file is gone.");
}
} // namespace

const std::vector<Kind> &kinds()
{
    static const std::vector<Kind> all{textProblem, barcodeProblem, pictureProblem};
    return all;
}

GraphicList picturesWhoseFileIsGone(const GraphicList &objects)
{
    GraphicList gone;
    for (const GraphicPtr &g : objects) {
        if (!g || g->kind() != SKTGraphic::Kind::Image || g->FilePath().trimmed().isEmpty())
            continue;
        // A picture read when the design opened still shows, wherever its file went since.
        const auto &picture = static_cast<const SKTImage &>(*g)._contents;
        if (!picture || picture->isNull())
            gone.append(g);
    }
    return gone;
}

} // namespace OutputProblems
