#include "CanvasTestSupport.h"

#include "canvas/SKTRenderingView.h"
#include "foundation/FoundationState.h"
#include "model/ModelGlobals.h"
#include "model/SKTBarcode.h"
#include "model/SKTImage.h"
#include "model/SKTLine.h"
#include "model/SKTSignature.h"
#include "model/SKTText.h"
#include "model/Shape_Control.h"

#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <limits>

using testsupport::darkRuns;

namespace
{

const QString kResources = QStringLiteral(TESSALY_SOURCE_RESOURCES);

template <typename T> std::shared_ptr<T> make(const QRectF &bounds)
{
    auto g = std::dynamic_pointer_cast<T>(SKTGraphic::create(T::StaticKind));
    g->setBounds(bounds);
    return g;
}

RenderSide sideOf(const GraphicList &graphics, QSizeF size = QSizeF(200, 120))
{
    DesignSettings design;
    design.setCardSize(size);
    return RenderSide::of(design, 0, graphics, kResources);
}

QImage render(const GraphicList &graphics, QSizeF size = QSizeF(200, 120))
{
    const RenderSide side = sideOf(graphics, size);
    return SKTRenderingView::imageOfSide(side, 72).convertToFormat(QImage::Format_ARGB32);
}

// Red top half over a green bottom half, with a blue left quarter: shows turns and mirrors.
Picture markedPicture()
{
    QImage img(40, 20, QImage::Format_ARGB32);
    img.fill(Qt::green);
    QPainter p(&img);
    p.fillRect(0, 0, 40, 10, Qt::red);
    p.fillRect(0, 0, 10, 20, Qt::blue);
    p.end();
    return Picture(img);
}

bool near(QRgb a, QColor b, int tol = 8)
{
    return std::abs(qRed(a) - b.red()) <= tol && std::abs(qGreen(a) - b.green()) <= tol &&
           std::abs(qBlue(a) - b.blue()) <= tol;
}

} // namespace

TEST(ObjectPainting, StarAndDoublyTracedPolygonAreFilledInside)
{
    auto star = make<Shape_Control>(QRectF(10, 10, 100, 100));
    star->Set_Shape_Type("S");
    star->_fillColor = QColor(Qt::red);
    star->_isDrawingStroke = false;
    auto polygon = make<Shape_Control>(QRectF(120, 10, 70, 70));
    polygon->Set_Shape_Type("P");
    polygon->polygon_type = 2; // a pentagon traced twice
    polygon->_fillColor = QColor(Qt::blue);
    polygon->_isDrawingStroke = false;
    const QImage img = render({star, polygon});
    // Its middle and its points alike, in the picture, the vector recording and the PDF.
    const RenderSide side = sideOf({star, polygon});
    QImage replayed(200, 120, QImage::Format_ARGB32);
    replayed.fill(Qt::white);
    {
        QPainter p(&replayed);
        Picture::replay(p, SKTRenderingView::pictureOfSide(side));
    }
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("star.pdf"));
    ASSERT_TRUE(testsupport::writeFile(pdf, SKTRenderingView::pdfDataWithGraphics_data(side)));
    testsupport::output(QStringLiteral("pdftoppm"),
                        {"-r", "72", "-png", "-singlefile", pdf, dir.filePath(QStringLiteral("star"))});
    const QImage printed(dir.filePath(QStringLiteral("star.png")));
    ASSERT_FALSE(printed.isNull());
    for (const QImage &shown : {img, replayed, printed}) {
        EXPECT_TRUE(near(shown.pixel(60, 62), Qt::red));
        EXPECT_TRUE(near(shown.pixel(60, 25), Qt::red)); // its top point
        EXPECT_TRUE(near(shown.pixel(44, 82), Qt::red)); // its lower left point
        EXPECT_TRUE(near(shown.pixel(155, 47), Qt::blue));
        EXPECT_TRUE(near(shown.pixel(12, 108), Qt::white)); // outside the star
    }

    // A hostile point count draws an empty outline and keeps its value.
    polygon->polygon_type = 2000000000;
    const QImage hostile = render({polygon});
    EXPECT_TRUE(near(hostile.pixel(155, 47), Qt::white));
    EXPECT_EQ(polygon->polygon_type, 2000000000);
    // Hit testing builds the same outline: it must not hang or hit either.
    EXPECT_FALSE(polygon->isContentsUnderPoint(QPointF(155, 47)));
}

TEST(ObjectPainting, DashesOfBorderCodeInPointsAtWidthsOneAndFour)
{
    for (double width : {1.0, 4.0}) {
        auto line = make<SKTLine>(QRectF(10, 20, 180, 0));
        line->_stroke_border_type = QStringLiteral("DA");
        line->_strokeWidth = width;
        const QImage img = render({line});
        const QList<int> runs = darkRuns(img, 20, 12, 188);
        ASSERT_GT(runs.size(), 10);
        for (int i = 1; i < runs.size() - 1; ++i)
            EXPECT_NEAR(runs[i], 8, 1) << "width " << width;
        // The gaps: every dash starts 10 points after the one before it.
        int previousStart = -1, dashes = 0;
        for (int x = 12; x < 188; ++x) {
            const bool dark = qGray(img.pixel(x, 20)) < 128, before = qGray(img.pixel(x - 1, 20)) < 128;
            if (dark && !before) {
                if (previousStart >= 0) {
                    EXPECT_NEAR(x - previousStart, 10, 1) << "width " << width;
                }
                previousStart = x;
                ++dashes;
            }
        }
        EXPECT_GT(dashes, 10);
    }
}

TEST(ObjectPainting, GradientFillEndsWhereTheAnglePutsThem)
{
    auto rect = make<Shape_Control>(QRectF(0, 0, 200, 120));
    rect->_fill_type = QStringLiteral("G");
    rect->_fill_Grad_clr1 = QColor(Qt::red);
    rect->_fill_Grad_clr2 = QColor(Qt::blue);
    rect->_isDrawingStroke = false;
    rect->_fill_grad_angle = 0;
    QImage img = render({rect});
    EXPECT_TRUE(near(img.pixel(1, 60), Qt::red, 12));
    EXPECT_TRUE(near(img.pixel(198, 60), Qt::blue, 12));
    rect->_fill_grad_angle = 90;
    img = render({rect});
    EXPECT_TRUE(near(img.pixel(100, 1), Qt::red, 12));
    EXPECT_TRUE(near(img.pixel(100, 118), Qt::blue, 12));
}

TEST(ObjectPainting, PicturesUprightMirroredAndTranslucent)
{
    auto image = make<SKTImage>(QRectF(20, 20, 80, 40));
    image->_contents = markedPicture();
    image->_file_path = QStringLiteral("/nonexistent/marked.png");
    image->_isDrawingStroke = false;
    QImage img = render({image});
    EXPECT_TRUE(near(img.pixel(60, 25), Qt::red)); // top stays on top
    EXPECT_TRUE(near(img.pixel(60, 55), Qt::green));
    EXPECT_TRUE(near(img.pixel(25, 40), Qt::blue)); // left stays left

    image->_isFlippedHorizontally = true;
    img = render({image});
    EXPECT_TRUE(near(img.pixel(95, 40), Qt::blue));
    EXPECT_TRUE(near(img.pixel(60, 25), Qt::red));

    image->_isFlippedHorizontally = false;
    image->_isFlippedVertically = true;
    img = render({image});
    EXPECT_TRUE(near(img.pixel(60, 25), Qt::green));
    EXPECT_TRUE(near(img.pixel(60, 55), Qt::red));
    EXPECT_TRUE(near(img.pixel(25, 40), Qt::blue));

    image->_isFlippedVertically = false;
    image->img_trnsp_val = 50;
    img = render({image});
    EXPECT_NEAR(qGreen(img.pixel(60, 55)), 255, 3);
    EXPECT_NEAR(qRed(img.pixel(60, 55)), 127, 3); // green at half over the white page

    // An empty path draws nothing, not even the border; a zero-sized picture keeps the border only.
    image->img_trnsp_val = 100;
    image->_isDrawingStroke = true;
    image->_file_path = QString();
    EXPECT_TRUE(near(render({image}).pixel(20, 40), Qt::white));
    image->_file_path = QStringLiteral("/nonexistent/marked.png");
    image->_contents = markedPicture().withSize(QSizeF(0, 20));
    img = render({image});
    EXPECT_TRUE(near(img.pixel(60, 40), Qt::white));
    EXPECT_LT(qGray(img.pixel(20, 40)), 200);
}

TEST(ObjectPainting, HiddenObjectsDrawNothing)
{
    auto shape = make<Shape_Control>(QRectF(0, 0, 200, 120));
    shape->_fillColor = QColor(Qt::black);
    auto text = make<SKTText>(QRectF(0, 0, 200, 120));
    auto sign = make<SKTSignature>(QRectF(0, 0, 200, 120));
    sign->Set_Control_File_path("Default");
    auto image = make<SKTImage>(QRectF(0, 0, 200, 120));
    image->_contents = markedPicture();
    image->_file_path = QStringLiteral("/nonexistent/marked.png");
    auto line = make<SKTLine>(QRectF(0, 0, 200, 120));
    line->_strokeWidth = 10;
    auto barcode = make<SKTBarcode>(QRectF(0, 0, 200, 120)); // would show the sample picture
    GraphicList all{shape, text, sign, image, line, barcode};
    for (const GraphicPtr &g : all)
        g->Set_Ctrl_Is_Visible(false);
    const QImage img = render(all);
    for (int y = 0; y < img.height(); y += 7)
        for (int x = 0; x < img.width(); x += 7)
            ASSERT_EQ(img.pixel(x, y), qRgba(255, 255, 255, 255)) << x << "," << y;
}

TEST(ObjectPainting, SignatureSampleAndTextInk)
{
    FoundationState::instance().setResourcePath(kResources);
    auto sign = make<SKTSignature>(QRectF(0, 0, 200, 120));
    sign->Set_Control_File_path("Default");
    sign->_isDrawingStroke = false;
    QImage img = render({sign});
    int ink = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            ink += qBlue(img.pixel(x, y)) > qRed(img.pixel(x, y)) + 40;
    EXPECT_GT(ink, 100); // the dark blue sample hand

    auto text = make<SKTText>(QRectF(10, 10, 180, 100));
    text->_isDrawingStroke = false;
    text->_isDrawingFill = false;
    text->_Text_contents = AttributedText{QStringLiteral("   \t\n "), {}, {}, 0};
    img = render({text});
    EXPECT_TRUE(near(img.pixel(20, 20), Qt::white));
    text->_Text_contents = AttributedText{QStringLiteral("WWWW"), {}, {}, 0};
    text->text_ctrl_font = FontDescriptor{QStringLiteral("ArialMT"), 40};
    text->txt_clr = QColor(Qt::black);
    text->text_alignmnet = 77; // unknown: left
    img = render({text});
    EXPECT_LT(darkRuns(img, 40, 10, 60).size() + darkRuns(img, 30, 10, 60).size(), 100u);
    EXPECT_FALSE(darkRuns(img, 30, 10, 40).isEmpty());
}

TEST(ObjectPainting, TextAlignmentAndPictureRotation)
{
    auto inkColumns = [](const QImage &img) {
        int first = img.width(), last = -1;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (qGray(img.pixel(x, y)) < 128)
                    first = std::min(first, x), last = std::max(last, x);
        return std::make_pair(first, last);
    };
    auto text = make<SKTText>(QRectF(0, 0, 200, 40));
    text->_isDrawingStroke = false;
    text->_isDrawingFill = false;
    text->_Text_contents = AttributedText{QStringLiteral("Hi"), {}, {}, 0};
    text->text_ctrl_font = FontDescriptor{QStringLiteral("ArialMT"), 20};
    text->text_alignmnet = 0;
    EXPECT_LT(inkColumns(render({text})).first, 10);
    text->text_alignmnet = 1; // right
    EXPECT_GT(inkColumns(render({text})).second, 190);
    text->text_alignmnet = 2; // centre
    const auto centred = inkColumns(render({text}));
    EXPECT_NEAR((centred.first + centred.second) / 2.0, 100, 4);

    // A half turn shows the picture upside down and mirrored in the same bounds.
    auto image = make<SKTImage>(QRectF(20, 20, 80, 40));
    image->_contents = markedPicture();
    image->_file_path = QStringLiteral("/nonexistent/marked.png");
    image->_isDrawingStroke = false;
    image->rotate_image = 180.7f; // truncated to 180
    const QImage img = render({image});
    EXPECT_TRUE(near(img.pixel(60, 55), Qt::red));
    EXPECT_TRUE(near(img.pixel(60, 25), Qt::green));
    EXPECT_TRUE(near(img.pixel(95, 40), Qt::blue));
}

TEST(ObjectPainting, HatchedShapeShowsPatternOverItsBackground)
{
    auto rect = make<Shape_Control>(QRectF(0, 0, 48, 48));
    rect->_fill_type = QStringLiteral("H");
    rect->_fill_hatch_type = QStringLiteral("Horizontal");
    rect->_fill_htch_clr = QColor(Qt::yellow);
    rect->_isDrawingStroke = false;
    QImage img = render({rect});
    EXPECT_TRUE(near(img.pixel(20, 2), Qt::yellow));
    EXPECT_LT(qGray(img.pixel(20, 6)), 100);
    rect->_fill_hatch_type = QStringLiteral("Missing");
    img = render({rect});
    EXPECT_TRUE(near(img.pixel(20, 6), Qt::yellow)); // a missing pattern keeps the background
}

TEST(ObjectPainting, HostileValuesFromAFileDrawWithoutHangingOrCrashing)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    GraphicList all;
    for (const double v : {nan, inf, -inf, 1e30, -1e30, 1e-30}) {
        auto text = make<SKTText>(QRectF(10, 10, 180, 100));
        text->_Text_contents = AttributedText{QStringLiteral("Hello there, some words"), {}, {}, 0};
        text->text_ctrl_font = FontDescriptor{QStringLiteral("ArialMT"), v};
        text->text_kerning = float(v);
        text->_strokeWidth = v;
        text->_fill_type = QStringLiteral("G");
        text->_fill_grad_angle = v;
        all.append(text);
        auto line = make<SKTLine>(QRectF(10, 20, 180, 30));
        line->_strokeWidth = v;
        line->_stroke_border_type = QStringLiteral("DDD");
        all.append(line);
        auto image = make<SKTImage>(QRectF(20, 20, 80, 40));
        image->_contents = markedPicture();
        image->_file_path = QStringLiteral("/nonexistent/marked.png");
        image->rotate_image = float(v);
        image->img_trnsp_val = float(v);
        image->blr_val = float(v);
        image->hue_val = float(v);
        image->ev_val = float(v);
        all.append(image);
    }
    // Sizes a font engine would choke on: the text still draws in bounded time.
    auto huge = make<SKTText>(QRectF(0, 0, 200, 120));
    huge->_Text_contents = AttributedText{QString(20000, QChar(u'W')), {}, {}, 0};
    huge->text_ctrl_font = FontDescriptor{QStringLiteral("ArialMT"), 100000};
    all.append(huge);
    const QImage img = render(all);
    EXPECT_FALSE(img.isNull());
}

TEST(ObjectPainting, NaturalSizeMeasuresTheTextAsDrawn)
{
    // Drawn in the record's font, whatever the storage's own font says.
    auto text = make<SKTText>(QRectF(10, 10, 400, 20));
    text->_Text_contents =
        AttributedText{QStringLiteral("Hello"), FontDescriptor{QStringLiteral("ArialMT"), 20}, {}, 0};
    text->text_ctrl_font = FontDescriptor{QStringLiteral("CourierNewPSMT"), 40};
    EXPECT_NEAR(text->naturalSize().width(), 121, 2); // five 0.6-em cells, and a point to spare
    EXPECT_NEAR(text->naturalSize().height(), 45, 3); // one line of a 40-point font
    text->makeNaturalSize();
    EXPECT_EQ(text->bounds().topLeft(), QPointF(10, 10));

    // In upper case with letter spacing, every word still shows on the one line it takes.
    auto guests = make<SKTText>(QRectF(10, 10, 200, 20));
    guests->_Text_contents = AttributedText{QStringLiteral("11 guests"), {}, {}, 0};
    guests->text_ctrl_font = FontDescriptor{QStringLiteral("ArialMT"), 18};
    guests->text_transfrom_case = 1;
    guests->text_kerning = 3;
    const double oneLine = guests->naturalSize().height();
    guests->makeNaturalSize();
    EXPECT_EQ(guests->cutOf(QStringLiteral("11 guests")), SKTText::Cut::None);
    EXPECT_EQ(guests->drawnTextHeight(), oneLine);
    EXPECT_EQ(guests->naturalSize(), guests->bounds().size()); // measured again: the same
}

TEST(ObjectPainting, LetterCaseRules)
{
    // Upper case letters reach cap height, lower case x-height only: compare the ink heights.
    auto inkHeight = [](const QImage &img) {
        int top = img.height(), bottom = -1;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (qGray(img.pixel(x, y)) < 128)
                    top = std::min(top, y), bottom = std::max(bottom, y);
        return bottom - top + 1;
    };
    auto text = make<SKTText>(QRectF(0, 0, 200, 60));
    text->_isDrawingStroke = false;
    text->_isDrawingFill = false;
    text->_Text_contents = AttributedText{QStringLiteral("  mAxo  "), {}, {}, 0};
    text->text_ctrl_font = FontDescriptor{QStringLiteral("ArialMT"), 40};
    text->text_transfrom_case = 1;
    const int upper = inkHeight(render({text}));
    text->text_transfrom_case = 2;
    const int lower = inkHeight(render({text}));
    text->text_transfrom_case = 7; // unknown: as stored, one capital
    const int stored = inkHeight(render({text}));
    EXPECT_NEAR(upper, 29, 2);
    EXPECT_NEAR(lower, 21, 2);
    EXPECT_EQ(stored, upper);
}

TEST(ObjectPainting, AbsurdPictureSizesFromAFileDrawBoundedOrNotAtAll)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    QImage pixels(8, 8, QImage::Format_ARGB32);
    pixels.fill(Qt::black);
    GraphicList all;
    for (const QSizeF size : {QSizeF(1e30, 1e30), QSizeF(nan, 10), QSizeF(-5, 10), QSizeF(1e-30, 1e-30)}) {
        auto barcode = make<SKTBarcode>(QRectF(10, 10, 50, 50));
        barcode->Set_Barcode_image(Picture(pixels, QSizeF(8, 8)).withSize(size));
        auto image = make<SKTImage>(QRectF(10, 10, 50, 50));
        image->_contents = Picture(pixels, QSizeF(8, 8)).withSize(size);
        image->_file_path = QStringLiteral("/nonexistent/p.png");
        image->rotate_image = 45;
        all << barcode << image;
    }
    const RenderSide side = sideOf(all, QSizeF(100, 100));
    EXPECT_FALSE(SKTRenderingView::imageOfSide(side, 300).isNull());
    EXPECT_FALSE(SKTRenderingView::pdfDataWithGraphics_data(side).isEmpty());
}
