#include "CanvasTestSupport.h"

#include "barcode/BarcodeGenerator.h"
#include "data/ExcelBindingTable.h"
#include "editor/DesignFile.h"
#include "model/SKTBarcode.h"
#include "model/SKTText.h"
#include "support/TestSupport.h"

#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

using testsupport::cardtool;

namespace
{

GraphicPtr text(const QString &value, const QRectF &bounds)
{
    auto t = std::dynamic_pointer_cast<SKTText>(SKTGraphic::create(SKTGraphic::Kind::Text));
    t->setBounds(bounds);
    t->_Text_contents = AttributedText{value, {}, {}, 0};
    t->text_ctrl_font = FontDescriptor{QStringLiteral("ArialMT"), 12};
    t->txt_clr = QColor(Qt::black);
    return t;
}

QString writeDesign(const QTemporaryDir &dir, QSizeF frontSize)
{
    CardDesign d;
    d.resetPages();
    d.setCardSize(frontSize);
    d.backPage.Card_fill_chk = true;
    d.backPage.Card_fill_clr = QColor(Qt::blue);
    d.front = {text("Front greeting", QRectF(10, 10, 180, 30))};
    d.back = {text("Back greeting", QRectF(10, 10, 180, 30))};
    const plist::Array items = DesignFileFormat::buildItems(d);
    const QString path = dir.filePath("card.dcard");
    QString error;
    EXPECT_TRUE(DesignFile::writeItems(path, items, &error)) << error.toStdString();
    return path;
}

} // namespace

TEST(RenderCommand, PngSizesAndSides)
{
    QTemporaryDir dir;
    const QString design = writeDesign(dir, QSizeF(0, 0));
    const QString png = dir.filePath("front.png");
    ASSERT_EQ(cardtool({"render", design, "--side", "front", "--format", "png", "--out", png}).exitCode, 0);
    EXPECT_EQ(QImage(png).size(), QSize(243, 154)); // the default canvas at 72 dpi
    ASSERT_EQ(cardtool({"render", design, "--side", "back", "--format", "png", "--dpi", "100", "--out", png})
                  .exitCode,
              0);
    const QImage back(png);
    EXPECT_EQ(back.size(), QSize(338, 214));                   // ceil(243 x 100 / 72), ceil(154 x 100 / 72)
    EXPECT_EQ(QColor(back.pixel(300, 200)), QColor(Qt::blue)); // the back page's fill

    const QString sized = writeDesign(dir, QSizeF(200.5, 100));
    ASSERT_EQ(cardtool({"render", sized, "--format", "png", "--dpi", "300", "--out", png}).exitCode, 0);
    EXPECT_EQ(QImage(png).size(), QSize(836, 417));
}

TEST(RenderCommand, PdfAndTiff)
{
    QTemporaryDir dir;
    const QString design = writeDesign(dir, QSizeF(0, 0));
    const QString pdf = dir.filePath("back.pdf");
    ASSERT_EQ(cardtool({"render", design, "--side", "back", "--format", "pdf", "--out", pdf}).exitCode, 0);
    EXPECT_TRUE(
        testsupport::output("pdfinfo", {pdf}).contains(QRegularExpression(R"(Page size:\s+243 x 154 pts)")));
    const QString words = testsupport::output("pdftotext", {pdf, "-"});
    EXPECT_TRUE(words.contains("Back greeting"));
    EXPECT_FALSE(words.contains("Front greeting"));

    const QString tiff = dir.filePath("front.tiff");
    ASSERT_EQ(cardtool({"render", design, "--format", "tiff", "--out", tiff}).exitCode, 0);
    EXPECT_FALSE(QImage(tiff).isNull());
}

TEST(RenderCommand, BadInputFailsCleanly)
{
    QTemporaryDir dir;
    const QString junk = dir.filePath("junk.dcard");
    ASSERT_TRUE(testsupport::writeFile(
        junk, "<?xml version=\"1.0\"?><plist><array><string>nope</string></array></plist>"));
    const QString out = dir.filePath("x.png");
    const testsupport::ProcResult r = cardtool({"render", junk, "--format", "png", "--out", out});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_FALSE(r.err.isEmpty());
    EXPECT_FALSE(QFile::exists(out));
    EXPECT_EQ(cardtool({"render", junk, "--format", "gif", "--out", out}).exitCode, 1);
    EXPECT_EQ(cardtool({"render", junk, "--format", "png", "--dpi", "-3", "--out", out}).exitCode, 1);
    EXPECT_EQ(cardtool({"render", dir.filePath("missing"), "--format", "png", "--out", out}).exitCode, 1);

    // A device or a pipe is refused at once, not read for ever or waited on.
    const QString fifo = dir.filePath("pipe.dcard");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString &path : {QStringLiteral("/dev/zero"), fifo}) {
        const testsupport::ProcResult refused = testsupport::run(
            QStringLiteral(CARDTOOL_PATH), {"render", path, "--format", "png", "--out", out}, {}, 20000);
        EXPECT_EQ(refused.exitCode, 1) << path.toStdString();
        EXPECT_TRUE(refused.err.contains("not a regular file")) << refused.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(out));
}

TEST(RenderCommand, EngineBarcodeDecodesAt300Dpi)
{
    const BarcodeResult made = canvastest::code128At300Dpi(QStringLiteral("CARD-300"));
    ASSERT_TRUE(made.ok()) << made.message.toStdString();
    auto barcode = std::dynamic_pointer_cast<SKTBarcode>(SKTGraphic::create(SKTGraphic::Kind::Barcode));
    barcode->setBounds(QRectF(QPointF(20, 20), made.picture.size()));
    barcode->Set_Barcode_image(made.picture);

    QTemporaryDir dir;
    CardDesign d;
    d.resetPages();
    // Just wider and taller than the barcode with its quiet zones.
    d.setCardSize(made.picture.size() + QSizeF(40, 40));
    d.frontPage.Card_border_chk = false;
    d.front = {barcode};
    const QString design = dir.filePath("barcode.dcard");
    QString error;
    ASSERT_TRUE(DesignFile::writeItems(design, DesignFileFormat::buildItems(d), &error))
        << error.toStdString();
    const QString png = dir.filePath("barcode.png");
    ASSERT_EQ(cardtool({"render", design, "--format", "png", "--dpi", "300", "--out", png}).exitCode, 0);
    const QImage image(png);
    EXPECT_EQ(image.width(), int(std::ceil(d.cardSize().width() * 300 / 72 - 1e-9)));
    EXPECT_TRUE(testsupport::output("ZXingReader", {png}).contains("CARD-300"));
}
