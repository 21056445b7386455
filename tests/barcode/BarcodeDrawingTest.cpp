// Barcode pictures as bars and module grids: nearest-neighbour pixels at every resolution, whole
// device pixels for bars (written straight into an image as Qt fills them), exact rectangles and no images on
// vector devices, and symbols that still read back at 150 and 300 dpi.
#include "BarcodeTestSupport.h"

#include "barcode/BarcodeDrawing.h"
#include "barcode/BarcodePicture.h"
#include "barcode/BarcodeText.h"
#include "barcode/ModuleGrid.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QPicture>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace barcodetest;

namespace
{

// Pixels neither white nor black (nor transparent) inside a rectangle.
int greyPixels(const QImage &image, const QRect &area)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qAlpha(p) == 255 && qGray(p) > 0 && qGray(p) < 255)
                ++n;
        }
    return n;
}

QImage paint(const BarcodeDrawing &drawing, QSize pixels, double scale, bool turned = false)
{
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    if (turned) {
        p.translate(pixels.width(), 0);
        p.rotate(90);
    }
    p.scale(scale, scale);
    drawing.paint(p);
    p.end();
    return image;
}

} // namespace

TEST(ModuleGrid, BitsRunsAndNearestNeighbourPixels)
{
    ModuleGrid grid(150, 3, QRectF(0, 0, 150, 3));
    grid.setDark(0, 0);
    for (int x = 60; x < 130; ++x) // a run across a word boundary
        grid.setDark(x, 1);
    grid.setDark(149, 2);
    grid.setDark(150, 2); // outside: ignored
    grid.setDark(-1, 0);
    EXPECT_TRUE(grid.isDark(0, 0));
    EXPECT_FALSE(grid.isDark(150, 2));
    EXPECT_FALSE(grid.isDark(0, 3));
    EXPECT_EQ(grid.darkCount(), 72);
    EXPECT_EQ(grid.runEnd(0, 0), 1);
    EXPECT_EQ(grid.runEnd(1, 0), 150);
    EXPECT_EQ(grid.runEnd(0, 1), 60);
    EXPECT_EQ(grid.runEnd(60, 1), 130);
    EXPECT_EQ(grid.runEnd(130, 1), 150);
    EXPECT_EQ(grid.runEnd(148, 2), 149);
    EXPECT_EQ(grid.runEnd(149, 2), 150);
    EXPECT_EQ(grid.darkBounds(), QRect(0, 0, 150, 3));
    grid.setDark(0, 0, false);
    EXPECT_FALSE(grid.isDark(0, 0));
    EXPECT_EQ(grid.darkBounds(), QRect(60, 1, 90, 2));
    grid.setDark(149, 2, false);
    EXPECT_EQ(grid.darkBounds(), QRect(60, 1, 70, 1));
    EXPECT_TRUE(ModuleGrid(4, 4, QRectF(0, 0, 4, 4)).darkBounds().isEmpty());

    // A 3 x 3 checker inside a one-point border of a 5 x 5 point picture, at 144 dpi: two pixels
    // a module, the border transparent.
    ModuleGrid checker(3, 3, QRectF(1, 1, 3, 3));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            checker.setDark(x, y, (x + y) % 2 == 0);
    const QImage img = checker.toImage(QSizeF(5, 5), 144);
    ASSERT_EQ(img.size(), QSize(10, 10));
    EXPECT_EQ(qAlpha(img.pixel(1, 5)), 0);
    EXPECT_EQ(img.pixel(2, 2), qRgb(0, 0, 0));
    EXPECT_EQ(img.pixel(3, 3), qRgb(0, 0, 0));
    EXPECT_EQ(img.pixel(4, 2), qRgb(255, 255, 255));
    EXPECT_EQ(img.pixel(7, 7), qRgb(0, 0, 0));
    EXPECT_EQ(qAlpha(img.pixel(8, 8)), 0);
    EXPECT_TRUE(ModuleGrid().toImage(QSizeF(5, 5), 72).isNull());
    EXPECT_TRUE(ModuleGrid(0, 4, QRectF(0, 0, 1, 1)).isEmpty());
}

TEST(BarcodeDrawing, BarsAndModulesLandOnWholePixels)
{
    BarcodeDrawing d;
    d.fillRect(QRectF(0, 0, 20, 10), Qt::white);
    d.fillBar(QRectF(1.3, 1, 1.4, 8), Qt::black); // 1.69 .. 3.51 px at 1.3 px a point
    d.fillBar(QRectF(5.0, 1, 0.3, 8), Qt::black); // thinner than a pixel: one pixel
    auto grid = std::make_shared<ModuleGrid>(2, 2, QRectF(0, 0, 3, 3));
    grid->setDark(0, 0);
    grid->setDark(1, 1);
    d.fillModules(grid, QPointF(10.2, 2.1), Qt::black);
    ASSERT_EQ(d.bars().size(), 2u);

    const QImage img = paint(d, QSize(26, 13), 1.3);
    EXPECT_EQ(greyPixels(img, img.rect()), 0);
    // The first bar covers the pixels whose centres it covers: 2 and 3.
    EXPECT_EQ(img.pixel(1, 6), qRgb(255, 255, 255));
    EXPECT_EQ(img.pixel(2, 6), qRgb(0, 0, 0));
    EXPECT_EQ(img.pixel(3, 6), qRgb(0, 0, 0));
    EXPECT_EQ(img.pixel(4, 6), qRgb(255, 255, 255));
    int thin = 0;
    for (int x = 5; x < 9; ++x)
        thin += img.pixel(x, 6) == qRgb(0, 0, 0);
    EXPECT_EQ(thin, 1);
    // Module (0, 0) spans 13.26 .. 15.21 px across and 2.73 .. 4.68 px down; (1, 0) is light.
    EXPECT_EQ(img.pixel(13, 3), qRgb(0, 0, 0));
    EXPECT_EQ(img.pixel(14, 4), qRgb(0, 0, 0));
    EXPECT_EQ(img.pixel(15, 3), qRgb(255, 255, 255));
    EXPECT_EQ(img.pixel(12, 3), qRgb(255, 255, 255));
    EXPECT_EQ(img.pixel(16, 5), qRgb(0, 0, 0));

    // Turned a quarter, the drawing is painted as shapes, where the turn puts it: the first bar
    // then lies across pixels 18 to 28 of rows 2 and 3.
    const QImage turned = paint(d, QSize(30, 30), 1.3, true);
    EXPECT_LT(qGray(turned.pixel(23, 2)), 128);
    EXPECT_EQ(turned.pixel(23, 5), qRgb(255, 255, 255));
}

TEST(BarcodeDrawing, VectorDevicesGetRectanglesAndNoImages)
{
    BarcodeSettings s = settingsFor("QR Code");
    s.qr_size_val = 60;
    const BarcodeResult qr = BarcodeGenerator::Get_Image_From_Val(s, "https://example.org/a", "", "");
    ASSERT_TRUE(qr.ok()) << qr.message.toStdString();
    ASSERT_NE(qr.picture.drawing(), nullptr);

    // A recording of the picture holds shapes only: small, and the same at any output resolution.
    QPicture rec;
    QPainter p(&rec);
    qr.picture.draw(p, QRectF(QPointF(0, 0), qr.picture.size()));
    p.end();
    EXPECT_LT(rec.size(), 40000u);

    if (!hasTool("pdfimages") || !hasTool("pdftoppm"))
        GTEST_SKIP() << "poppler-utils are needed";
    QTemporaryDir dir;
    const QString pdf = dir.filePath("qr.pdf");
    ASSERT_TRUE(testsupport::writeFile(pdf, BarcodePicture::pdfFromPicture(qr.picture)));
    const QString images = testsupport::output("pdfimages", {"-list", pdf});
    EXPECT_EQ(images.split('\n', Qt::SkipEmptyParts).size(), 2) << images.toStdString(); // header only
    testsupport::run("pdftoppm", {"-r", "300", "-png", "-singlefile", pdf, dir.filePath("page")});
    const QImage page(dir.filePath("page.png"));
    ASSERT_FALSE(page.isNull());
    ASSERT_TRUE(testsupport::onWhite(page, 40).save(dir.filePath("padded.png")));
    EXPECT_TRUE(
        testsupport::output("ZXingReader", {dir.filePath("padded.png")}).contains("https://example.org/a"));
}

// Every 2D symbology and a linear one, drawn at 150 and 300 dpi: only black and white pixels in
// the symbol, each read back by the decoders.
TEST(BarcodeDrawing, SymbolsAreSharpAndReadAt150And300Dpi)
{
    ASSERT_TRUE(hasTool("ZXingReader")) << "ZXingReader is needed";
    struct Case {
        BarcodeSettings settings;
        QString value;
        QString decoder;
    };
    BarcodeSettings qr = settingsFor("QR Code");
    qr.qr_size_val = 60;
    BarcodeSettings pdf = settingsFor("PDF417");
    pdf.pdf_wdt_val = 220;
    pdf.pdf_hgt_val = 70;
    BarcodeSettings dm = settingsFor("DataMatrix");
    dm.dm_module_val = 3;
    BarcodeSettings code = settingsFor("Code 128");
    code.linear_width_val = 10;
    code.show_hide_val = 1;
    const std::vector<Case> cases = {{qr, "https://example.com/c/7Q2", "ZXingReader"},
                                     {pdf, "PDF417 AT TWO RESOLUTIONS", "ZXingReader"},
                                     {dm, "DM-150-300", "dmtxread"},
                                     {code, "TESSALY-128", "zbarimg"}};
    QTemporaryDir dir;
    for (const Case &c : cases) {
        const BarcodeResult r = BarcodeGenerator::Get_Image_From_Val(c.settings, c.value, "", "");
        ASSERT_TRUE(r.ok()) << r.message.toStdString();
        for (double dpi : {150.0, 300.0}) {
            const QImage img = r.picture.toImage(dpi, Qt::white);
            EXPECT_EQ(greyPixels(img, img.rect()), 0) << c.settings.symbologyTitle.toStdString() << dpi;
            // Bars and modules written straight into an image are Qt's own fill of them (a clip
            // that is no rectangle makes Qt fill them).
            QImage viaQt(img.size(), img.format());
            viaQt.fill(Qt::white);
            QPainter p(&viaQt);
            p.setRenderHint(QPainter::Antialiasing);
            QPainterPath clip;
            clip.addRect(viaQt.rect());
            clip.addRect(QRectF(-20, -20, 5, 5));
            p.setClipPath(clip);
            r.picture.draw(p, QRectF(QPointF(0, 0), r.picture.size() * (dpi / 72.0)));
            p.end();
            EXPECT_TRUE(viaQt == img) << c.settings.symbologyTitle.toStdString() << dpi;
            const QString file = dir.filePath(QStringLiteral("%1-%2.png").arg(c.decoder).arg(int(dpi)));
            ASSERT_TRUE(testsupport::onWhite(img, 40).save(file));
            if (!hasTool(c.decoder))
                continue;
            const QStringList args =
                c.decoder == QLatin1String("zbarimg") ? QStringList{"-q", file} : QStringList{file};
            EXPECT_TRUE(testsupport::output(c.decoder, args).contains(c.value))
                << c.decoder.toStdString() << " " << dpi;
        }
    }
}

// A picture cut to its frame is a rectangular clip whose edges fall between pixels: the bars and
// modules written straight into the image are still Qt's own clipped fill of them, edge pixels too.
TEST(BarcodeDrawing, UnderARectangularClipBarsAreQtsClippedFill)
{
    BarcodeSettings code = settingsFor("Code 128");
    code.linear_width_val = 10;
    code.show_hide_val = 1; // no value text: only opaque fills, which Source mode gives alike
    BarcodeSettings qr = settingsFor("QR Code");
    qr.qr_size_val = 60;
    for (const auto &[settings, value] : {std::pair{code, "CLIP-128"}, {qr, "https://example.org/clip"}}) {
        const BarcodeResult r = BarcodeGenerator::Get_Image_From_Val(settings, value, "", "");
        ASSERT_TRUE(r.ok()) << r.message.toStdString();
        for (const double dpi : {150.0, 300.0}) {
            const QSizeF size = r.picture.size() * (dpi / 72.0);
            const double w = size.width(), h = size.height();
            // Edges a fraction past a pixel's middle and short of it, through the bars and modules.
            std::vector<QRectF> cuts = {QRectF(3.3, 2.7, w - 7.6, h - 5.2)};
            for (const double k : {0.21, 0.33, 0.47})
                cuts.emplace_back(QPointF(std::floor(w * k) + 0.7, std::floor(h * k) + 0.7),
                                  QPointF(std::floor(w * (1 - k)) + 0.3, std::floor(h * (1 - k)) + 0.3));
            for (const QRectF &cut : cuts) {
                // SourceOver may write the pixels itself; Source makes Qt fill them.
                const auto drawn = [&](QPainter::CompositionMode mode) {
                    QImage img(size.toSize(), QImage::Format_ARGB32_Premultiplied);
                    img.fill(Qt::red);
                    QPainter p(&img);
                    p.setRenderHint(QPainter::Antialiasing);
                    p.setClipRect(cut);
                    p.setCompositionMode(mode);
                    r.picture.draw(p, QRectF(QPointF(0, 0), size));
                    return img;
                };
                EXPECT_TRUE(drawn(QPainter::CompositionMode_SourceOver) ==
                            drawn(QPainter::CompositionMode_Source))
                    << value << " at " << dpi << " cut " << cut.x() << "," << cut.y();
            }
        }
    }
}

TEST(BarcodeDrawing, TextsInPixelsLookAsTheFillOfTheirOutline)
{
    // Texts in pixels are copied from glyph images placed to a sixteenth of a pixel: beside one
    // fill of the whole outline (contours adding up, as in a font), edge pixels differ by a
    // fraction of a grey step, a little more where letters share a pixel, and the ink is the
    // same; a glyph a pixel off would differ by a whole step. For letters that overlap, touch,
    // stand apart or come from fallback fonts, at several resolutions and spacings.
    const QString texts[] = {QStringLiteral("K04271XZ"),
                             QStringLiteral("AVAWAY ffi"),
                             QStringLiteral("iiiiiiii"),
                             QStringLiteral("WWMMWW"),
                             QStringLiteral("\u0645\u0631\u062D\u0628\u0627 Ada"),
                             QStringLiteral("\u4F60\u597D GIFT-2026")};
    for (const QString &text : texts)
        for (const double kern : {0.0, -1.0, 2.0})
            for (const double dpi : {96.0, 150.0, 300.0, 600.0}) {
                const FontDescriptor font{QStringLiteral("TimesNewRomanPSMT"), 10.0};
                BarcodeDrawing drawing;
                drawing.fillText(text, font, kern, QPointF(3.3, 12.7), Qt::black);
                const double scale = dpi / 72.0;
                const QSize pixels(int(140 * scale), int(20 * scale));
                QImage whole(pixels, QImage::Format_ARGB32_Premultiplied);
                whole.fill(Qt::white);
                QPainter p(&whole);
                p.setRenderHint(QPainter::Antialiasing);
                p.scale(scale, scale);
                QPainterPath outline = BarcodeText::outline(text, font, kern, QPointF(3.3, 12.7));
                outline.setFillRule(Qt::WindingFill);
                p.fillPath(outline, Qt::black);
                p.end();
                const QImage drawn = paint(drawing, pixels, scale);
                double inkDrawn = 0, inkWhole = 0;
                int largest = 0;
                for (int y = 0; y < pixels.height(); ++y)
                    for (int x = 0; x < pixels.width(); ++x) {
                        const int a = 255 - qGray(drawn.pixel(x, y)), b = 255 - qGray(whole.pixel(x, y));
                        inkDrawn += a;
                        inkWhole += b;
                        largest = std::max(largest, std::abs(a - b));
                    }
                const std::string name = text.toStdString() + ", kern " + std::to_string(kern) + ", " +
                                         std::to_string(int(dpi)) + " dpi";
                EXPECT_GT(inkWhole, 0) << name;
                EXPECT_NEAR(inkDrawn / inkWhole, 1.0, 0.03) << name;
                EXPECT_LE(largest, 80) << name;
            }
}

TEST(BarcodeDrawing, ATextStillShowsAfterThousandsOfOtherGlyphs)
{
    // A thread lets its glyph outlines go past a bound; a text laid out before then still shows.
    const FontDescriptor font{QStringLiteral("TimesNewRomanPSMT"), 10.0};
    const auto draw = [&] {
        BarcodeDrawing drawing;
        drawing.fillText(QStringLiteral("K04271XZ"), font, 0, QPointF(2, 12), Qt::black);
        const QImage image = paint(drawing, QSize(200, 40), 2.0);
        double ink = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                ink += 255 - qGray(image.pixel(x, y));
        return ink;
    };
    const double before = draw();
    for (int k = 0; k < 120; ++k) {
        QString many;
        for (int i = 0; i < 40; ++i)
            many += QChar(0x4E00 + k * 40 + i);
        BarcodeText::size(many, font, 1.0); // another spacing: the first text stays laid out
    }
    EXPECT_GT(before, 0);
    EXPECT_NEAR(draw() / before, 1.0, 0.03);
}

// On a PDF, bars that fall on one grid are written in the grid's units and those that do not as
// they are: either way every point at least a third of a point from an edge is dark inside a bar
// and light outside, as rendered by poppler. (Module grids are read back from printed sheets.)
TEST(BarcodeDrawing, OnAPdfEveryBarStaysWhereItWas)
{
    if (!hasTool("pdftoppm"))
        GTEST_SKIP() << "pdftoppm is needed";
    const std::vector<std::vector<QRectF>> cases = {
        {QRectF(10.25, 20.5, 1.5, 30), QRectF(13.25, 20.5, 3, 30), QRectF(19.25, 20.5, 4.5, 30)}, // on a grid
        {QRectF(10.3, 20, 1.5, 30), QRectF(13.1, 20, 2.2, 30), QRectF(17, 25, 1.7, 21)},          // off any
    };
    QTemporaryDir dir;
    for (const std::vector<QRectF> &bars : cases) {
        BarcodeDrawing drawing;
        for (const QRectF &bar : bars)
            drawing.fillBar(bar, Qt::black);
        const QString pdf = dir.filePath("bars.pdf");
        {
            QPdfWriter writer(pdf);
            writer.setPageLayout(QPageLayout(QPageSize(QSizeF(40, 60), QPageSize::Point),
                                             QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
            QPainter p(&writer);
            p.scale(writer.logicalDpiX() / 72.0, writer.logicalDpiY() / 72.0);
            drawing.paint(p);
        }
        testsupport::run("pdftoppm",
                         {"-r", "144", "-gray", "-png", "-singlefile", pdf, dir.filePath("page")});
        const QImage page(dir.filePath("page.png"));
        ASSERT_FALSE(page.isNull());
        int checked = 0, wrong = 0;
        for (double y = 0.25; y < 60; y += 0.5)
            for (double x = 0.25; x < 40; x += 0.5) {
                bool inside = false, nearEdge = false;
                for (const QRectF &r : bars) {
                    inside = inside || r.contains(x, y);
                    nearEdge = nearEdge || (r.adjusted(-0.34, -0.34, 0.34, 0.34).contains(x, y) &&
                                            !r.adjusted(0.34, 0.34, -0.34, -0.34).contains(x, y));
                }
                if (!nearEdge) {
                    ++checked;
                    wrong += (qGray(page.pixel(int(x * 2), int(y * 2))) < 128) != inside;
                }
            }
        EXPECT_GT(checked, 9000);
        EXPECT_EQ(wrong, 0) << bars.front().x();
    }
}
