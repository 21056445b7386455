// Pictures of every kind drawn as export draws them and as the canvas shows them, each compared
// with PIL's reading of the same file: below a million pixels they are decoded once, above it at
// the size they are drawn, and either way every pixel must come out as PIL sees it.
#include "canvas/SKTRenderingView.h"
#include "model/DesignSettings.h"
#include "model/GraphicDrawContext.h"
#include "model/SKTImage.h"
#include "platform/EncodedPicture.h"
#include "platform/Picture.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

const QString Script = QStringLiteral(TESSALY_TESTS_DIR "/canvas/drawn_pictures.py");

testsupport::ProcResult script(const QStringList &args)
{
    return testsupport::run(QStringLiteral("/usr/bin/python3"), QStringList{Script} + args);
}

// The picture filling a card of the box's size.
std::shared_ptr<SKTImage> objectOf(const Picture &picture, const QString &path, QSizeF box)
{
    auto image = std::dynamic_pointer_cast<SKTImage>(SKTGraphic::create(SKTImage::StaticKind));
    image->setBounds(QRectF(QPointF(0, 0), box));
    image->_contents = picture;
    image->_file_path = path;
    image->_isDrawingStroke = false;
    return image;
}

// As an editing canvas paints the object at the zoom.
QImage onCanvas(const SKTImage &image, QSizeF box, double zoom)
{
    QImage out(QSizeF(box * zoom).toSize(), QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::white);
    QPainter painter(&out);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.scale(zoom, zoom);
    GraphicDrawContext context;
    context.deviceScale = zoom;
    context.editingCanvas = true;
    context.waitForFilters = true;
    image.drawContentsInView(painter, context, false);
    painter.end();
    return out;
}

} // namespace

TEST(DrawnPictures, EveryKindAtEveryResolutionAndZoomLooksAsAnotherDecoderReadsIt)
{
    QTemporaryDir dir;
    const testsupport::ProcResult written = script({QStringLiteral("write"), dir.path()});
    ASSERT_EQ(written.exitCode, 0) << written.errText().toStdString();
    const QStringList names = written.outText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_GT(names.size(), 60);
    const QDir out(dir.filePath(QStringLiteral("out")));
    ASSERT_TRUE(out.mkpath(QStringLiteral(".")));

    for (const QString &name : names) {
        const QString path = dir.filePath(name);
        const Picture picture = Picture::fromFile(path);
        ASSERT_FALSE(picture.isNull()) << name.toStdString();
        // Each road: above a million pixels the picture stays encoded.
        EXPECT_EQ(bool(picture.encoded()), name.contains(QLatin1String("1280x800"))) << name.toStdString();
        const QSizeF size = picture.size();
        const QSizeF box = size.width() > size.height() ? QSizeF(120, 72) : QSizeF(72, 120);
        const auto image = objectOf(picture, path, box);
        DesignSettings design;
        design.setCardSize(box);
        const RenderSide side = RenderSide::of(design, 0, {image}, QStringLiteral(TESSALY_SOURCE_RESOURCES));
        for (const int dpi : {72, 150, 300, 600}) {
            const QImage drawn = SKTRenderingView::imageOfSide(side, dpi);
            ASSERT_TRUE(drawn.save(out.filePath(QStringLiteral("%1@%2dpi.ppm").arg(name).arg(dpi))));
        }
        for (const int zoom : {25, 100, 400}) {
            const QImage shown = onCanvas(*image, box, zoom / 100.0);
            ASSERT_TRUE(shown.save(out.filePath(QStringLiteral("%1@zoom%2.ppm").arg(name).arg(zoom))));
        }
        EncodedPicture::clearCache();
    }

    const testsupport::ProcResult checked = script({QStringLiteral("check"), dir.path()});
    ASSERT_EQ(checked.exitCode, 0) << checked.errText().toStdString();
    EXPECT_EQ(checked.outText().toStdString(), "");
}
