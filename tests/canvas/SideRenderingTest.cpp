#include "canvas/DocumentData.h"
#include "canvas/PathPainting.h"
#include "canvas/SKTRenderingView.h"
#include "model/SKTBarcode.h"
#include "model/SKTText.h"
#include "model/Shape_Control.h"
#include "platform/PropertyList.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QPicture>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

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

RenderSide sampleSide()
{
    RenderSide side;
    side.cardSize = QSizeF(243, 154);
    side.resourcePath = QStringLiteral(TESSALY_SOURCE_RESOURCES);
    side.page.resetForNewDesign(Qt::black, Card_Property::defaultContentFont());
    side.page.Card_fill_chk = true;
    side.page.Card_fill_style = "G";
    side.page.Card_fill_Grd_1_clr = QColor(250, 230, 200);
    side.page.Card_fill_Grd_2_clr = QColor(200, 220, 250);
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
    side.graphics = {hello, hidden, barcode, vectorBarcode};
    return side;
}

QString run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(20000))
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

TEST(SideRendering, PdfHasTheCardSizeItsTextsAndNoFlaggedObject)
{
    QTemporaryDir dir;
    const QByteArray pdf = SKTRenderingView::pdfDataWithGraphics_data(sampleSide());
    ASSERT_FALSE(pdf.isEmpty());
    const QString path = dir.filePath("side.pdf");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(pdf);
    f.close();

    const QString info = run("pdfinfo", {path});
    QRegularExpressionMatch m = QRegularExpression(R"(Page size:\s+([\d.]+) x ([\d.]+) pts)").match(info);
    ASSERT_TRUE(m.hasMatch()) << info.toStdString();
    EXPECT_NEAR(m.captured(1).toDouble(), 243, 1);
    EXPECT_NEAR(m.captured(2).toDouble(), 154, 1);
    EXPECT_TRUE(info.contains(QRegularExpression(R"(Pages:\s+1)")));

    const QString text = run("pdftotext", {path, "-"});
    EXPECT_TRUE(text.contains("Hello World")) << text.toStdString();
    EXPECT_FALSE(text.contains("Secret"));
}

TEST(SideRendering, ImageSizePlacementAndFlaggedObjects)
{
    RenderSide side = sampleSide();
    const QImage img = SKTRenderingView::imageOfSide(side, 300);
    EXPECT_EQ(img.size(), QSize(1013, 642)); // ceil(243 x 300 / 72), ceil(154 x 300 / 72)
    EXPECT_TRUE(SKTRenderingView::imageOfSide(side, 1e9).isNull());
    side.cardSize = QSizeF(0, 0);
    EXPECT_TRUE(SKTRenderingView::imageOfSide(side, 72).isNull());

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
    side.graphics[1]->print_object = 0;
    EXPECT_GT(inkIn(SKTRenderingView::imageOfSide(side, 72), box), 10);
}

TEST(SideRendering, VectorPictureOfASideDrawsLikeTheSide)
{
    const RenderSide side = sampleSide();
    const auto picture = SKTRenderingView::image_From_Card_Graphics(side, true);
    ASSERT_TRUE(picture);
    EXPECT_TRUE(picture->isVector());
    EXPECT_EQ(picture->size(), side.cardSize);
    const QImage direct = SKTRenderingView::imageOfSide(side, 144);
    QImage replayed(direct.size(), QImage::Format_ARGB32_Premultiplied);
    replayed.fill(Qt::transparent);
    QPainter p(&replayed);
    p.scale(2, 2);
    PathPainting::drawPicture(p, *picture, QRectF(QPointF(0, 0), side.cardSize));
    p.end();
    int differing = 0;
    for (int y = 0; y < direct.height(); y += 3)
        for (int x = 0; x < direct.width(); x += 3)
            differing += std::abs(qGray(direct.pixel(x, y)) - qGray(replayed.pixel(x, y))) > 60;
    EXPECT_LT(differing, direct.width() * direct.height() / 9 / 50); // under 2 % of the samples
}

TEST(SideRendering, EightThreadsGiveIdenticalImages)
{
    const RenderSide side = sampleSide();
    const QImage reference = SKTRenderingView::imageOfSide(side, 150);
    QList<QImage> results(8);
    QList<QThread *> threads;
    for (int i = 0; i < 8; ++i)
        threads.append(QThread::create([&, i] {
            for (int k = 0; k < 3; ++k)
                results[i] = SKTRenderingView::imageOfSide(side, 150);
        }));
    for (QThread *t : threads)
        t->start();
    for (QThread *t : threads) {
        t->wait();
        delete t;
    }
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

    RenderSide empty;
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
    RenderSide one;
    one.graphics = {shape};
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
