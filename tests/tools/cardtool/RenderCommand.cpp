// cardtool render: draws one side of a design file as PNG, PDF or TIFF, the way exports draw it.
#include "Command.h"

#include "canvas/SKTRenderingView.h"
#include "editor/DesignFile.h"
#include "editor/DesignFileFormat.h"
#include "foundation/CardCodes.h"
#include "foundation/FoundationState.h"
#include "model/SKTDocument.h"
#include "output/ImageFileWriter.h"
#include "output/PngEncoder.h"
#include "platform/ResourceRoot.h"

#include <QFile>

CARDTOOL_COMMAND(renderCommand, "render",
                 "DESIGN --side front|back --format png|pdf|tiff [--dpi N] --out FILE   draw one side")
{
    QStringList rest = args;
    QString sideName = QStringLiteral("front"), format, dpiText = QStringLiteral("72"), out;
    cardtool::takeOption(rest, "--side", &sideName);
    cardtool::takeOption(rest, "--dpi", &dpiText);
    if (!cardtool::takeOption(rest, "--format", &format) || !cardtool::takeOption(rest, "--out", &out) ||
        rest.size() != 1 || (sideName != "front" && sideName != "back") ||
        (format != "png" && format != "pdf" && format != "tiff")) {
        cardtool::fail(
            "usage: cardtool render DESIGN --side front|back --format png|pdf|tiff [--dpi N] --out FILE");
        return 1;
    }
    bool ok = false;
    const double dpi = dpiText.toDouble(&ok);
    if (!ok || !(dpi > 0) || dpi > 2400) {
        cardtool::fail("--dpi must be a number above 0 and at most 2400");
        return 1;
    }

    // The design reader's own checks: a pipe or a device is refused rather than read for ever.
    QByteArray fileBytes;
    QString reason;
    if (!DesignFile::readFileBytes(rest[0], &fileBytes, &reason)) {
        cardtool::fail("cannot read " + rest[0] + ": " + reason);
        return 1;
    }
    CardDesign design;
    if (!DesignFileFormat::parse(fileBytes, &design, &reason)) {
        cardtool::fail("File is corrupt and cannot be opened. (" + reason + ")");
        return 1;
    }

    QString resources = FoundationState::instance().Resource_Path;
    if (resources.isEmpty()) {
        resources = ResourceRoot::shippedLocation();
        FoundationState::instance().setResourcePath(resources);
    }
    const bool back = sideName == "back";
    Card_Property &page = design.page(back ? 1 : 0);
    if (page.Card_fill_chk && page.Card_fill_style == FillCode::Picture)
        page.setBackgroundImage(page.Card_BG_Image_Path);
    const RenderSide side = RenderSide::of(design, back ? 1 : 0, design.objects(back ? 1 : 0), resources);

    QByteArray bytes;
    QString error;
    if (format == "png") {
        const QString tooLarge = SKTRenderingView::sizeRefusal(side.cardSize(), dpi);
        const QImage image = tooLarge.isEmpty() ? SKTRenderingView::imageOfSide(side, dpi) : QImage();
        if (image.isNull()) {
            cardtool::fail(tooLarge.isEmpty() ? QStringLiteral("the card cannot be drawn at that size")
                                              : tooLarge);
            return 1;
        }
        bytes = PngEncoder::encode(image, dpi, &error);
    } else if (format == "pdf") {
        bytes = SKTRenderingView::pdfDataWithGraphics_data(side, &error);
    } else {
        int code = 0;
        bytes = SKTRenderingView::tiffDataWithGraphics(side.graphics(), resources, &code, dpi);
        if (bytes.isEmpty())
            error = QStringLiteral("there is nothing on that side to draw");
    }
    if (bytes.isEmpty()) {
        cardtool::fail(error.isEmpty() ? QStringLiteral("drawing failed") : error);
        return 1;
    }
    if (!ImageFileWriter::writeAtomically(out, bytes).ok) {
        cardtool::fail("cannot write " + out);
        return 1;
    }
    return 0;
}
