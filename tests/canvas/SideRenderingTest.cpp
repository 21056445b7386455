#include "CanvasTestSupport.h"

#include "barcode/BarcodeGenerator.h"
#include "canvas/DocumentData.h"
#include "canvas/SKTRenderingView.h"
#include "model/SKTBarcode.h"
#include "model/SKTImage.h"
#include "model/SKTSignature.h"
#include "model/SKTText.h"
#include "model/Shape_Control.h"
#include "paint/PathPainting.h"
#include "platform/PdfPageBox.h"
#include "platform/PropertyList.h"
#include "support/TestSupport.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QPicture>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace
{

std::shared_ptr<SKTText> textAt(const QRectF &bounds, const QString &text)
{
    auto t = std::dynamic_pointer_cast<SKTText>(SKTGraphic::create(SKTGraphic::Kind::Text));
    t->setBounds(bounds);
    t->_Text_contents = AttributedText{text, {}, {}, 0};
    t->text_ctrl_font = FontDescriptor{QStringLiteral("ArialMT"), 14};
    t->txt_clr = QColor(Qt::black);
    t->_isDrawingFill = false;
    t->_isDrawingStroke = false;
    return t;
}

// A side of a design whose card has the given size, on the default page.
RenderSide sideOf(QSizeF cardSize, GraphicList graphics)
{
    DesignSettings design;
    design.setCardSize(cardSize);
    return RenderSide::of(design, 0, std::move(graphics), QStringLiteral(TESSALY_SOURCE_RESOURCES));
}

// Extra objects go behind the sample's.
RenderSide sampleSide(QSizeF cardSize = QSizeF(243, 154), const GraphicList &extra = {})
{
    DesignSettings design;
    design.setCardSize(cardSize);
    Card_Property &page = design.frontPage;
    page.resetForNewDesign(Qt::black, Card_Property::defaultContentFont());
    page.Card_fill_chk = true;
    page.Card_fill_style = "G";
    page.Card_fill_Grd_1_clr = QColor(250, 230, 200);
    page.Card_fill_Grd_2_clr = QColor(200, 220, 250);
    auto hello = textAt(QRectF(10, 10, 220, 30), QStringLiteral("  hello wORLD  "));
    hello->text_transfrom_case = 3;
    auto hidden = textAt(QRectF(10, 60, 220, 30), QStringLiteral("Secret"));
    hidden->print_object = 1;
    auto barcode = std::dynamic_pointer_cast<SKTBarcode>(SKTGraphic::create(SKTGraphic::Kind::Barcode));
    barcode->setBounds(QRectF(10, 90, 50, 30));
    auto vectorBarcode = std::dynamic_pointer_cast<SKTBarcode>(SKTGraphic::create(SKTGraphic::Kind::Barcode));
    vectorBarcode->setBounds(QRectF(150, 90, 50, 30));
    QPicture bars; // a vector picture shared by every thread that renders the side
    QPainter bp(&bars);
    for (int i = 0; i < 20; i += 2)
        bp.fillRect(QRectF(i * 2.0, 0, 2, 30), Qt::black);
    bp.end();
    vectorBarcode->Set_Barcode_image(Picture::fromVector(bars, QSizeF(40, 30)));
    return RenderSide::of(design, 0, GraphicList{hello, hidden, barcode, vectorBarcode} + extra,
                          QStringLiteral(TESSALY_SOURCE_RESOURCES));
}

} // namespace

// A card that is not a whole number of points (a credit card) keeps its exact size as a PDF page,
// its drawing stays at the top left, and the file is still well formed.
TEST(SideRendering, PdfPageHasTheExactFractionalCardSize)
{
    QTemporaryDir dir;
    const RenderSide side = sampleSide(QSizeF(242.65, 153.35));
    const QByteArray pdf = SKTRenderingView::pdfDataWithGraphics_data(side);
    const QString path = dir.filePath("credit.pdf");
    ASSERT_TRUE(testsupport::writeFile(path, pdf));

    const testsupport::ProcResult check = testsupport::run("qpdf", {"--check", path});
    EXPECT_EQ(check.exitCode, 0) << check.outText().toStdString() << check.err.toStdString();
    const QString info = testsupport::output("pdfinfo", {path});
    EXPECT_TRUE(info.contains(QRegularExpression(R"(Page size:\s+242\.65 x 153\.35 pts)")))
        << info.toStdString();

    const QString boxes = testsupport::output("pdftotext", {"-bbox", path, "-"});
    const QRegularExpressionMatch word =
        QRegularExpression(R"re(xMin="([\d.]+)" yMin="([\d.]+)"[^>]*>Hello<)re").match(boxes);
    ASSERT_TRUE(word.hasMatch()) << boxes.toStdString();
    EXPECT_NEAR(word.captured(1).toDouble(), 10, 2);
    EXPECT_NEAR(word.captured(2).toDouble(), 10, 2);

    // Whole sizes are left exactly as Qt writes them.
    QByteArray whole = SKTRenderingView::pdfDataWithGraphics_data(sampleSide());
    const QByteArray before = whole;
    EXPECT_TRUE(PdfPageBox::setExactSize(whole, QSizeF(243, 154)));
    EXPECT_EQ(whole, before);
    // A file without the expected layout is refused and left alone.
    QByteArray odd("%PDF-1.4\n/MediaBox [0 0 243 154]\n");
    EXPECT_FALSE(PdfPageBox::setExactSize(odd, QSizeF(242.65, 153.35)));
    EXPECT_EQ(odd, QByteArray("%PDF-1.4\n/MediaBox [0 0 243 154]\n"));
}

TEST(SideRendering, PdfHasTheCardSizeItsTextsAndNoFlaggedObject)
{
    QTemporaryDir dir;
    const QByteArray pdf = SKTRenderingView::pdfDataWithGraphics_data(sampleSide());
    ASSERT_FALSE(pdf.isEmpty());
    const QString path = dir.filePath("side.pdf");
    ASSERT_TRUE(testsupport::writeFile(path, pdf));

    const QString info = testsupport::output("pdfinfo", {path});
    QRegularExpressionMatch m = QRegularExpression(R"(Page size:\s+([\d.]+) x ([\d.]+) pts)").match(info);
    ASSERT_TRUE(m.hasMatch()) << info.toStdString();
    EXPECT_NEAR(m.captured(1).toDouble(), 243, 1);
    EXPECT_NEAR(m.captured(2).toDouble(), 154, 1);
    EXPECT_TRUE(info.contains(QRegularExpression(R"(Pages:\s+1)")));

    const QString text = testsupport::output("pdftotext", {path, "-"});
    EXPECT_TRUE(text.contains("Hello World")) << text.toStdString();
    EXPECT_FALSE(text.contains("Secret"));

    // The 14-point text keeps its size and place in the PDF: the word box is about a line high.
    const QString boxes = testsupport::output("pdftotext", {"-bbox", path, "-"});
    const QRegularExpressionMatch word =
        QRegularExpression(R"re(xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">Hello<)re")
            .match(boxes);
    ASSERT_TRUE(word.hasMatch()) << boxes.toStdString();
    EXPECT_NEAR(word.captured(1).toDouble(), 10, 2);
    EXPECT_NEAR(word.captured(2).toDouble(), 10, 2);
    EXPECT_NEAR(word.captured(4).toDouble() - word.captured(2).toDouble(), 16, 3);

    // A size no PDF page can have is refused with a message, not written as some other page.
    for (const QSizeF bad : {QSizeF(1e9, 100), QSizeF(100, 20000), QSizeF(14401, 100)}) {
        const RenderSide side = sampleSide(bad);
        QString error;
        EXPECT_TRUE(SKTRenderingView::pdfDataWithGraphics_data(side, &error).isEmpty());
        EXPECT_FALSE(error.isEmpty());
    }
}

TEST(SideRendering, ImageSizePlacementAndFlaggedObjects)
{
    RenderSide side = sampleSide();
    const QImage img = SKTRenderingView::imageOfSide(side, 300);
    EXPECT_EQ(img.size(), QSize(1013, 642)); // ceil(243 x 300 / 72), ceil(154 x 300 / 72)
    EXPECT_TRUE(SKTRenderingView::imageOfSide(side, 1e9).isNull());
    EXPECT_FALSE(SKTRenderingView::sizeRefusal(QSizeF(0, 0), 72).isEmpty());

    // The flagged text leaves no ink in its box; unflagged it does.
    side = sampleSide();
    auto inkIn = [](const QImage &im, QRect r) {
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                n += qGray(im.pixel(x, y)) < 100;
        return n;
    };
    const QRect box(10, 60, 200, 25);
    EXPECT_EQ(inkIn(SKTRenderingView::imageOfSide(side, 72), box), 0);
    side.graphics()[1]->print_object = 0;
    EXPECT_GT(inkIn(SKTRenderingView::imageOfSide(side, 72), box), 10);
}

TEST(SideRendering, VectorPictureOfASideDrawsLikeTheSide)
{
    const RenderSide side = sampleSide();
    const auto picture = SKTRenderingView::image_From_Card_Graphics(side, true);
    ASSERT_TRUE(picture);
    EXPECT_TRUE(picture->isVector());
    EXPECT_EQ(picture->size(), side.cardSize());
    const QImage direct = SKTRenderingView::imageOfSide(side, 144);
    QImage replayed(direct.size(), QImage::Format_ARGB32_Premultiplied);
    replayed.fill(Qt::transparent);
    QPainter p(&replayed);
    p.scale(2, 2);
    PathPainting::drawPicture(p, *picture, QRectF(QPointF(0, 0), side.cardSize()));
    p.end();
    int differing = 0;
    for (int y = 0; y < direct.height(); y += 3)
        for (int x = 0; x < direct.width(); x += 3)
            differing += std::abs(qGray(direct.pixel(x, y)) - qGray(replayed.pixel(x, y))) > 60;
    EXPECT_LT(differing, direct.width() * direct.height() / 9 / 50); // under 2 % of the samples
}

TEST(SideRendering, EightThreadsGiveIdenticalImages)
{
    // Every kind that reads pictures: a filtered, turned picture over its original size, a signature
    // sample and a hatched shape. None of them may change what another thread reads.
    QImage photo(900, 500, QImage::Format_ARGB32);
    photo.fill(QColor(40, 120, 200));
    auto image = std::dynamic_pointer_cast<SKTImage>(SKTGraphic::create(SKTGraphic::Kind::Image));
    image->setBounds(QRectF(60, 40, 90, 50));
    image->_contents = Picture(photo, QSizeF(900, 500));
    image->_file_path = QStringLiteral("/nonexistent/photo.png");
    image->gray_Scale = 1;
    image->blr_val = 2;
    image->rotate_image = 30;
    auto sign = std::dynamic_pointer_cast<SKTSignature>(SKTGraphic::create(SKTGraphic::Kind::Signature));
    sign->setBounds(QRectF(160, 10, 70, 30));
    sign->Set_Control_File_path(QStringLiteral("Default"));
    auto hatched = std::dynamic_pointer_cast<Shape_Control>(SKTGraphic::create(SKTGraphic::Kind::Shape));
    hatched->setBounds(QRectF(200, 100, 40, 40));
    hatched->_fill_type = QStringLiteral("H");
    hatched->_fill_hatch_type = QStringLiteral("Cross");
    const RenderSide side = sampleSide(QSizeF(243, 154), {image, sign, hatched});
    const QImage reference = SKTRenderingView::imageOfSide(side, 150);
    EXPECT_EQ(image->_contents->size(), QSizeF(900, 500)); // painting caps no stored picture
    QList<QImage> results(8);
    std::vector<std::thread> threads;
    for (int i = 0; i < 8; ++i)
        threads.emplace_back([&, i] {
            for (int k = 0; k < 3; ++k)
                results[i] = SKTRenderingView::imageOfSide(side, 150);
        });
    for (std::thread &t : threads)
        t.join();
    for (const QImage &r : results)
        EXPECT_EQ(r, reference);
}

TEST(SideRendering, TiffOfObjectsAloneAndDocumentData)
{
    auto shape = std::dynamic_pointer_cast<Shape_Control>(SKTGraphic::create(SKTGraphic::Kind::Shape));
    shape->setBounds(QRectF(100, 100, 50, 50));
    shape->_isDrawingStroke = false;
    shape->_fillColor = QColor(Qt::red);
    shape->print_object = 1; // the TIFF does not consult the flag
    int code = 0;
    const QByteArray tiff = SKTRenderingView::tiffDataWithGraphics({shape}, QString(), &code);
    QBuffer buf;
    buf.setData(tiff);
    QImageReader reader(&buf, "tiff");
    const QImage img = reader.read();
    ASSERT_FALSE(img.isNull());
    EXPECT_EQ(img.size(), shape->drawingBounds().size().toSize());
    const QPointF centre = shape->bounds().center() - shape->drawingBounds().topLeft();
    EXPECT_EQ(QColor(img.pixel(centre.toPoint())), QColor(Qt::red));

    EXPECT_TRUE(SKTRenderingView::tiffDataWithGraphics({}, QString(), &code).isEmpty());
    EXPECT_EQ(code, 3);

    const RenderSide empty = sideOf(DesignSettings::DefaultCardSize, {});
    SKTError error;
    EXPECT_FALSE(DocumentData::dataOfType(empty, DocumentData::TiffType, {}, &error));
    EXPECT_EQ(error.code, 3);
    EXPECT_EQ(error.domain, "TessalyErrorDomain");
    EXPECT_FALSE(DocumentData::SKTErrorWithCode(3).localizedDescription.isEmpty());
    EXPECT_FALSE(DocumentData::dataOfType(empty, "text/plain", {}, &error));

    const auto native = DocumentData::dataOfType(empty, DocumentData::NativeTypeName, QByteArray("info"));
    ASSERT_TRUE(native);
    const PropertyList::ReadResult r = PropertyList::read(*native);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.format, PropertyList::Format::Binary);
    EXPECT_EQ(r.value.toDict().value("version").toInteger(), 2);
    EXPECT_TRUE(r.value.toDict().value("graphics").toArray().isEmpty());
    EXPECT_EQ(r.value.toDict().value("printInfo").toData(), QByteArray("info"));
    const RenderSide one = sideOf(DesignSettings::DefaultCardSize, {shape});
    const auto withShape = DocumentData::dataOfType(one, DocumentData::NativeTypeIdentifier, {});
    ASSERT_TRUE(withShape);
    const plist::Array archives = PropertyList::read(*withShape).value.toDict().value("graphics").toArray();
    ASSERT_EQ(archives.size(), 1);
    const GraphicPtr back = SKTGraphic::unarchive(archives.first().toData());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->bounds(), shape->bounds());

    const auto pdf = DocumentData::dataOfType(empty, DocumentData::PdfType, {});
    ASSERT_TRUE(pdf);
    EXPECT_TRUE(pdf->startsWith("%PDF"));
    EXPECT_EQ(DocumentData::printJobTitle("/a/b/Card One.tgd", "Untitled"), "Card One");
    EXPECT_EQ(DocumentData::printJobTitle("", "Untitled"), "Untitled");
}

namespace
{

// The ink box of the darkest pixels, in pixels.
QRect inkBox(const QImage &im, const QRect &area)
{
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(im.pixel(x, y)) < 100)
                box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

TEST(SideRendering, EngineBarcodesAndTextsKeepTheirSizeAtEveryResolution)
{
    const BarcodeResult made = canvastest::code128At300Dpi(QStringLiteral("TESSALY-42"));
    ASSERT_TRUE(made.ok()) << made.message.toStdString();
    const QSizeF barcodeSize = made.picture.size();
    ASSERT_GT(barcodeSize.width(), 20);

    auto barcode = std::dynamic_pointer_cast<SKTBarcode>(SKTGraphic::create(SKTGraphic::Kind::Barcode));
    barcode->setBounds(QRectF(20, 20, 10, 10)); // the picture draws at its own size, not the bounds'
    barcode->Set_Barcode_image(made.picture);
    auto text = textAt(QRectF(20, 200, 360, 50), QStringLiteral("HHHH"));
    text->text_ctrl_font = FontDescriptor{QStringLiteral("ArialMT"), 36};
    const RenderSide side = sideOf(QSizeF(400, 260), {barcode, text});
    // Kerning is extra room in points between letters: three gaps of 10 points at every resolution.
    const QRect plain = inkBox(SKTRenderingView::imageOfSide(side, 72), QRect(0, 195, 400, 60));
    text->text_kerning = 10;

    QTemporaryDir dir;
    QRect barcodeAt72, textAt72;
    for (const double dpi : {72.0, 150.0, 300.0}) {
        const double k = dpi / 72.0;
        QImage img = SKTRenderingView::imageOfSide(side, dpi);
        ASSERT_FALSE(img.isNull());
        const QRect barcodeArea = QRectF(0, 0, 400 * k, 190 * k).toRect();
        const QRect bars = inkBox(img, barcodeArea);
        const QRect letters = inkBox(img, QRectF(0, 195 * k, 400 * k, 60 * k).toRect());
        ASSERT_FALSE(bars.isEmpty());
        ASSERT_FALSE(letters.isEmpty());
        // Ink stays inside the picture's own size in points and fills most of its width.
        EXPECT_GE(bars.left(), int(20 * k) - 1) << dpi;
        EXPECT_LE(bars.right(), int((20 + barcodeSize.width()) * k) + 1) << dpi;
        EXPECT_GT(bars.width(), barcodeSize.width() * k * 0.6) << dpi;
        if (dpi == 72.0) {
            barcodeAt72 = bars;
            textAt72 = letters;
        } else {
            // Both keep their size in points: the pixel sizes grow with the resolution.
            EXPECT_NEAR(bars.width() / k, barcodeAt72.width(), 2.5) << dpi;
            EXPECT_NEAR(letters.width() / k, textAt72.width(), 2.5) << dpi;
            EXPECT_NEAR(letters.height() / k, textAt72.height(), 2.5) << dpi;
        }
        EXPECT_NEAR(letters.width() / k, plain.width() + 30, 3) << dpi;
        // Capital letters of 36 points stand about 26 points tall.
        EXPECT_NEAR(letters.height() / k, 26, 3) << dpi;

        // The decoder reads the barcode's own area on white (its scan stumbles over a small code on a large
        // blank page).
        const QRect around = bars.adjusted(-int(15 * k), -int(15 * k), int(15 * k), int(15 * k));
        QImage flat(around.size(), QImage::Format_RGB32);
        flat.fill(Qt::white);
        QPainter p(&flat);
        p.drawImage(QPoint(0, 0), img, around);
        p.end();
        const QString path = dir.filePath(QStringLiteral("card%1.png").arg(int(dpi)));
        ASSERT_TRUE(flat.save(path));
        if (dpi >= 150.0) {
            const QString decoded = testsupport::output(QStringLiteral("ZXingReader"), {path});
            EXPECT_TRUE(decoded.contains(QStringLiteral("TESSALY-42"))) << dpi << decoded.toStdString();
        }
        if (dpi == 300.0) {
            // The PDF of the side holds the same barcode at the same place, read at 300 dpi.
            const QString pdfPath = dir.filePath(QStringLiteral("card.pdf"));
            ASSERT_TRUE(testsupport::writeFile(pdfPath, SKTRenderingView::pdfDataWithGraphics_data(side)));
            const QString prefix = dir.filePath(QStringLiteral("page"));
            testsupport::output(QStringLiteral("pdftoppm"),
                                {"-r", "300", "-png", "-singlefile", "-x", QString::number(around.x()), "-y",
                                 QString::number(around.y()), "-W", QString::number(around.width()), "-H",
                                 QString::number(around.height()), pdfPath, prefix});
            const QImage page(prefix + ".png");
            ASSERT_FALSE(page.isNull());
            const QRect pdfBars = inkBox(page, page.rect());
            EXPECT_NEAR(pdfBars.width(), bars.width(), 3);
            EXPECT_NEAR(pdfBars.height(), bars.height(), 3);
            const QString decoded = testsupport::output(QStringLiteral("ZXingReader"), {prefix + ".png"});
            EXPECT_TRUE(decoded.contains(QStringLiteral("TESSALY-42"))) << decoded.toStdString();
        }
    }
}

TEST(SideRendering, VectorPictureOfASideReplaysAtItsSizeOnEveryDevice)
{
    const BarcodeResult made = canvastest::code128At300Dpi(QStringLiteral("NESTED-7"));
    ASSERT_TRUE(made.ok()) << made.message.toStdString();
    auto barcode = std::dynamic_pointer_cast<SKTBarcode>(SKTGraphic::create(SKTGraphic::Kind::Barcode));
    barcode->setBounds(QRectF(20, 20, 10, 10));
    barcode->Set_Barcode_image(made.picture);
    auto text = textAt(QRectF(20, 140, 260, 50), QStringLiteral("HHHH"));
    text->text_ctrl_font = FontDescriptor{QStringLiteral("ArialMT"), 30};
    const RenderSide side = sideOf(QSizeF(300, 200), {barcode, text});
    const auto picture = SKTRenderingView::image_From_Card_Graphics(side, true);
    ASSERT_TRUE(picture);
    for (const double dpi : {72.0, 300.0}) {
        const double k = dpi / 72.0;
        const QImage direct = SKTRenderingView::imageOfSide(side, dpi);
        QImage replayed(direct.size(), QImage::Format_ARGB32_Premultiplied);
        replayed.fill(Qt::white);
        const int dpm = int(std::lround(dpi / 0.0254));
        replayed.setDotsPerMeterX(dpm);
        replayed.setDotsPerMeterY(dpm);
        QPainter p(&replayed);
        p.scale(k, k);
        PathPainting::drawPicture(p, *picture, QRectF(QPointF(0, 0), side.cardSize()));
        p.end();
        for (const QRectF area : {QRectF(0, 0, 300, 130), QRectF(0, 135, 300, 60)}) {
            const QRect scaled = QRectF(area.topLeft() * k, area.size() * k).toRect();
            const QRect a = inkBox(direct, scaled), b = inkBox(replayed, scaled);
            ASSERT_FALSE(a.isEmpty());
            EXPECT_NEAR(b.left(), a.left(), 2 * k) << dpi;
            EXPECT_NEAR(b.width(), a.width(), 2 * k) << dpi;
            EXPECT_NEAR(b.height(), a.height(), 2 * k) << dpi;
        }
    }
}

TEST(SideRendering, ObjectsDrawBackToFrontOverThePage)
{
    auto square = [](const QColor &colour) {
        auto s = std::dynamic_pointer_cast<Shape_Control>(SKTGraphic::create(SKTGraphic::Kind::Shape));
        s->setBounds(QRectF(20, 20, 40, 40));
        s->_fillColor = colour;
        s->_isDrawingStroke = false;
        return s;
    };
    DesignSettings design;
    design.setCardSize(QSizeF(100, 80));
    design.frontPage.Card_fill_chk = true;
    design.frontPage.Card_fill_clr = QColor(Qt::green);
    const RenderSide side =
        RenderSide::of(design, 0, {square(Qt::red), square(Qt::blue)}, QString()); // index 0 is frontmost
    const QImage img = SKTRenderingView::imageOfSide(side, 72);
    EXPECT_EQ(QColor(img.pixel(40, 40)), QColor(Qt::red));
    EXPECT_EQ(QColor(img.pixel(80, 70)), QColor(Qt::green));
}

TEST(SideRendering, CardsStartedFromTheKeptPageMatchCardsDrawnWhole)
{
    struct Case {
        const char *name;
        int outline;
        QSizeF size;
        void (*page)(Card_Property &);
        bool oneColour;
    };
    const Case cases[] = {
        {"plain white", DesignSettings::Rectangle, QSizeF(120, 48), [](Card_Property &) {}, true},
        {"filled", DesignSettings::Rectangle, QSizeF(120, 48),
         [](Card_Property &p) {
             p.Card_fill_chk = true;
             p.Card_fill_clr = QColor(200, 30, 60);
         },
         true},
        {"part of a pixel at the edge", DesignSettings::Rectangle, QSizeF(100.3, 33.5),
         [](Card_Property &) {}, false},
        {"rounded with a border", DesignSettings::RoundedRectangle, QSizeF(120, 80),
         [](Card_Property &p) {
             p.Card_border_chk = true;
             p.Card_bor_Stepper = 3;
         },
         false},
        {"gradient ellipse", DesignSettings::Ellipse, QSizeF(120, 80),
         [](Card_Property &p) {
             p.Card_fill_chk = true;
             p.Card_fill_style = "G";
             p.Card_fill_Grd_1_clr = QColor(250, 230, 200);
             p.Card_fill_Grd_2_clr = QColor(20, 120, 250);
         },
         false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        DesignSettings design;
        design.setCardSize(c.size);
        design.setOutline(c.outline);
        c.page(design.frontPage);
        auto sideWith = [&](const QString &text) {
            return RenderSide::of(design, 0, GraphicList{textAt(QRectF(5, 5, 90, 20), text)},
                                  QStringLiteral(TESSALY_SOURCE_RESOURCES));
        };
        const SKTRenderingView::Page page = SKTRenderingView::pageOfSide(sideWith("first"), 300);
        EXPECT_EQ(page.pixels.isNull(), c.oneColour);
        // Card after card over one canvas, as a worker draws them.
        QImage canvas;
        for (const QString &text : {QStringLiteral("first"), QStringLiteral("Wg second")}) {
            const QImage whole = SKTRenderingView::imageOfSide(sideWith(text), 300);
            const QImage fromPage = SKTRenderingView::imageOfSide(sideWith(text), 300, canvas, page);
            ASSERT_EQ(fromPage.size(), whole.size());
            EXPECT_TRUE(fromPage == whole);
        }
    }
}
