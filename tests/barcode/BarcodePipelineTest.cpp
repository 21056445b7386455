// Barcode settings, sizes and units, the window's rules, picture drawing and rendering, PDF output,
// cardtool barcode and generation from many threads.
#include "BarcodeTestSupport.h"

#include "barcode/BarcodeDrawing.h"
#include "barcode/BarcodePicture.h"
#include "barcode/BarcodeRules.h"
#include "barcode/BarcodeSizing.h"
#include "barcode/BarcodeText.h"
#include "barcode/JapanPostBarcode.h"

#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <thread>

using namespace barcodetest;

namespace
{

// Ink (non-white) bounds of an image.
QRect inkBounds(const QImage &image, QRect within = {})
{
    const QRect area = within.isNull() ? image.rect() : within.intersected(image.rect());
    int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (qGray(image.pixel(x, y)) < 128) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

QString runPdfInfoPageSize(const QString &path)
{
    const QString out = testsupport::output(QStringLiteral("pdfinfo"), {path});
    for (const QString &line : out.split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("Page size:")))
            return line;
    }
    return {};
}

} // namespace

TEST(BarcodeSettingsTest, RecordFieldsParseOrAreRefusedWithoutChange)
{
    BarcodeSettings s;
    EXPECT_TRUE(BarcodeSettings::titleForIndex(0, 19).isEmpty());
    EXPECT_TRUE(BarcodeSettings::titleForIndex(1, -1).isEmpty());

    QString error;
    EXPECT_TRUE(s.applyRecordField("qr_ec_index", "2", &error));
    EXPECT_EQ(s.qr_ec_index, 2);
    EXPECT_TRUE(s.applyRecordField("show_hide_hdr", "1"));
    EXPECT_EQ(s.show_hide_hdr, 1);
    EXPECT_TRUE(s.applyRecordField("barcode_font_index", "8"));
    EXPECT_EQ(s.symbologyTitle, QString("EAN-13"));
    EXPECT_TRUE(s.applyRecordField("linear_or_2d", "1"));
    EXPECT_TRUE(s.applyRecordField("barcode_font_index", "1"));
    EXPECT_EQ(s.symbologyTitle, QString("PDF417"));
    EXPECT_TRUE(s.isTwoD());
    EXPECT_TRUE(s.applyRecordField("header_font_val", "Arial-BoldMT 14.5"));
    EXPECT_EQ(s.header_font.postScriptName, QString("Arial-BoldMT"));
    EXPECT_DOUBLE_EQ(s.header_font.size, 14.5);
    EXPECT_TRUE(s.applyRecordField("barcode_clr_val", "1 0 0 1"));
    EXPECT_EQ(s.barcode_clr, QColor(Qt::red));
    EXPECT_TRUE(s.applyRecordField("barcode_back_clr_val", "#00ff00"));
    EXPECT_EQ(s.barcode_back_clr, QColor(Qt::green));
    EXPECT_TRUE(s.applyRecordField("dpi_val_index", "3"));
    EXPECT_EQ(s.dpi, 300);

    const BarcodeSettings before = s;
    EXPECT_FALSE(s.applyRecordField("no_such_field", "1", &error));
    EXPECT_TRUE(error.contains("no_such_field"));
    EXPECT_FALSE(s.applyRecordField("qr_ec_index", "two", &error));
    EXPECT_FALSE(s.applyRecordField("value_font_val", "NoSize", &error));
    EXPECT_FALSE(s.applyRecordField("barcode_clr_val", "1 0", &error));
    EXPECT_FALSE(s.applyRecordField("barcode_font_index", "7", &error)); // 2D list has three
    EXPECT_EQ(s.qr_ec_index, before.qr_ec_index);
    EXPECT_EQ(s.symbologyTitle, before.symbologyTitle);
}

TEST(BarcodeSizingTest, MarginsAndWidths)
{
    BarcodeSettings s;
    s.show_hide_val = 1;
    EXPECT_EQ(BarcodeSizing::margins(s).value, 0.0);

    NKDBarcode b;
    b.initWithContent("x", false);
    b.setWidth(100);
    b.setHeaderWidth(50);
    EXPECT_NEAR(BarcodeSizing::Set_Linear_Barcode_Width(s, b), 120.6693, 1e-3);
    s.LR_margin_val = 0;
    EXPECT_FLOAT_EQ(BarcodeSizing::Set_Linear_Barcode_Width(s, b), 100.0f);
    b.setHeaderWidth(130);
    EXPECT_FLOAT_EQ(BarcodeSizing::Set_Linear_Barcode_Width(s, b), 130.0f);
    s.show_hide_hdr = 1;
    EXPECT_FLOAT_EQ(BarcodeSizing::Set_Linear_Barcode_Width(s, b), 100.0f);

    const QImage square(10, 10, QImage::Format_ARGB32);
    const QImage raised = BarcodeSizing::Increase_DPI(square, QSizeF(60, 60), 600);
    EXPECT_EQ(raised.size(), QSize(500, 500));
    EXPECT_TRUE(BarcodeSizing::Increase_DPI(QImage(), QSizeF(60, 60), 600).isNull());
}

TEST(BarcodeRulesTest, ValueCheckFloorsAndPrintState)
{
    QString reason;
    EXPECT_FALSE(BarcodeRules::Check_And_Validat_Barcode("", &reason));
    EXPECT_EQ(reason, QString("Please enter barcode value"));
    EXPECT_TRUE(BarcodeRules::Check_And_Validat_Barcode("0123"));

    BarcodeSettings s;
    s.qr_size_val = 30;
    EXPECT_EQ(BarcodeRules::Check_And_Set_QR_size_Acc_Version(s, 5), 37);
    EXPECT_EQ(s.qr_size_val, 37);
    EXPECT_EQ(BarcodeRules::qrMinimumSize(0), 21);
    EXPECT_EQ(BarcodeRules::qrMinimumSize(40), 177);
    s.qr_size_val = 100;
    BarcodeRules::Check_And_Set_QR_size_Acc_Version(s, 5);
    EXPECT_EQ(s.qr_size_val, 100);

    s.dm_format_index = int(BarcodeSettings::dataMatrixFormats().indexOf("C16X48"));
    s.dm_module_val = 2;
    int w = 40, h = 40;
    BarcodeRules::data_matrix_barcode_size_acc_format(s, &w, &h);
    EXPECT_EQ(w, 96);
    EXPECT_EQ(h, 40);
    s.dm_format_index = int(BarcodeSettings::dataMatrixFormats().indexOf("C8X18"));
    s.dm_module_val = 3;
    w = h = 1;
    BarcodeRules::data_matrix_barcode_size_acc_format(s, &w, &h);
    EXPECT_EQ(w, 54);
    EXPECT_EQ(h, 24);
    s.dm_format_index = 0;
    w = h = 5;
    BarcodeRules::data_matrix_barcode_size_acc_format(s, &w, &h);
    EXPECT_EQ(w, 5);

    EXPECT_EQ(BarcodeRules::Get_Print_State(s), 1);
    s.show_hide_val = 1;
    EXPECT_EQ(BarcodeRules::Get_Print_State(s), 0);
    s.show_hide_val = 0;
    s.captionBoxEnabled = false;
    EXPECT_EQ(BarcodeRules::Get_Print_State(s), 0);
}

TEST(BarcodePictureTest, RenderedSizeAndPlacementFollowTheResolution)
{
    const BarcodeResult r =
        BarcodeGenerator::Get_Image_From_Val(settingsFor("Code 39"), "TESSALY", "HEADER", "FOOTER");
    ASSERT_TRUE(r.ok()) << r.message.toStdString();
    ASSERT_TRUE(r.picture.isVector());
    const QSizeF size = r.picture.size();
    const QImage low = r.picture.toImage(72, Qt::white);
    const QImage high = r.picture.toImage(288, Qt::white);
    EXPECT_EQ(low.width(), int(std::ceil(size.width() - 1e-9)));
    EXPECT_EQ(high.width(), int(std::ceil(size.width() * 4 - 1e-9)));
    EXPECT_EQ(high.height(), int(std::ceil(size.height() * 4 - 1e-9)));
    // Bars and texts land on the same points at both resolutions.
    const QRect a = inkBounds(low);
    const QRect b = inkBounds(high);
    ASSERT_FALSE(a.isNull());
    EXPECT_NEAR(b.left() / 4.0, a.left(), 1.5);
    EXPECT_NEAR(b.right() / 4.0, a.right(), 1.5);
    EXPECT_NEAR(b.top() / 4.0, a.top(), 1.5);
    EXPECT_NEAR(b.bottom() / 4.0, a.bottom(), 1.5);
    // The first bar starts where the centred module string starts.
    const BarcodePreview p =
        BarcodeGenerator::Generate_Barcode_Variable(settingsFor("Code 39"), "TESSALY", "HEADER", "FOOTER");
    ASSERT_TRUE(p.barcode);
    const double firstX = (size.width() - p.barcode->completeBarcode().size() * p.barcode->barWidth()) / 2.0;
    const int barRow = int(high.height() / 2);
    const QRect row = inkBounds(high, QRect(0, barRow, high.width(), 1));
    EXPECT_NEAR(row.left() / 4.0, firstX, 0.5);
}

TEST(BarcodeRulesTest, BarWidthStepRecomputesTheWidth)
{
    BarcodeSettings s = settingsFor("Code 39");
    BarcodePreview p = BarcodeGenerator::Generate_Barcode_Variable(s, "AB", "", "");
    ASSERT_TRUE(p.barcode);
    s.linear_width_val = 10;
    s.LR_margin_val = 0;
    BarcodeRules::applyBarWidth(s, *p.barcode);
    EXPECT_NEAR(p.barcode->barWidth(), 0.72, 1e-6);
    EXPECT_NEAR(p.barcode->width(), 4 * 13 * 0.72, 1e-4);
    const BarcodeResult redrawn = BarcodeGenerator::Get_Image_From_Barcode(s, *p.barcode, false);
    ASSERT_TRUE(redrawn.ok());
    EXPECT_NEAR(redrawn.picture.size().width(), std::max(4 * 13 * 0.72, p.barcode->headerWidth()), 1e-3);
}

TEST(BarcodePictureTest, PdfPageIsThePictureSize)
{
    if (!hasTool("pdfinfo"))
        GTEST_SKIP() << "pdfinfo is needed";
    const BarcodeResult r =
        BarcodeGenerator::Get_Image_From_Val(settingsFor("EAN-13"), "590123412345", "H", "F");
    ASSERT_TRUE(r.ok());
    const QByteArray pdf = BarcodePicture::pdfFromPicture(r.picture);
    ASSERT_TRUE(pdf.startsWith("%PDF"));
    QTemporaryDir dir;
    const QString pdfPath = dir.filePath("b.pdf");
    ASSERT_TRUE(testsupport::writeFile(pdfPath, pdf));
    static const QRegularExpression re(QStringLiteral("Page size:\\s+([0-9.]+) x ([0-9.]+) pts"));
    const auto m = re.match(runPdfInfoPageSize(pdfPath));
    ASSERT_TRUE(m.hasMatch());
    EXPECT_NEAR(m.captured(1).toDouble(), r.picture.size().width(), 0.01);
    EXPECT_NEAR(m.captured(2).toDouble(), r.picture.size().height(), 0.01);
    EXPECT_TRUE(BarcodePicture::pdfFromPicture(Picture()).isEmpty());

    // The page shows the picture at its size: rasterised, its ink lies where the picture's does.
    if (!hasTool("pdftoppm"))
        return;
    testsupport::run(QStringLiteral("pdftoppm"),
                     {"-r", "144", "-png", "-singlefile", pdfPath, dir.filePath("page")});
    const QImage page(dir.filePath("page.png"));
    ASSERT_FALSE(page.isNull());
    const QRect expected = inkBounds(r.picture.toImage(144, Qt::white));
    const QRect got = inkBounds(page);
    EXPECT_NEAR(got.left(), expected.left(), 2);
    EXPECT_NEAR(got.right(), expected.right(), 2);
    EXPECT_NEAR(got.top(), expected.top(), 2);
    EXPECT_NEAR(got.bottom(), expected.bottom(), 2);
}

TEST(BarcodePictureTest, PdfHeaderAndFooterReadAsTyped)
{
    if (!hasTool("pdftotext"))
        GTEST_SKIP() << "pdftotext is needed";
    const QString header = QString::fromUtf8("محمد"), footer = QString::fromUtf8("مرحبا");
    const BarcodeResult r =
        BarcodeGenerator::Get_Image_From_Val(settingsFor("Code 128"), "T-1", header, footer);
    ASSERT_TRUE(r.ok());
    QTemporaryDir dir;
    const QString pdfPath = dir.filePath("arabic.pdf");
    ASSERT_TRUE(testsupport::writeFile(pdfPath, BarcodePicture::pdfFromPicture(r.picture)));
    const QString text = testsupport::output(QStringLiteral("pdftotext"), {pdfPath, QStringLiteral("-")});
    for (const QString &word : {header, footer})
        EXPECT_TRUE(text.contains(word)) << word.toStdString() << " not in " << text.toStdString();
}

TEST(BarcodePictureTest, HeaderIsMeasuredWithItsLetterSpacing)
{
    BarcodeSettings s = settingsFor("Code 128");
    s.LR_margin_val = 0;
    const QString header = QStringLiteral("A RATHER LONG HEADER OVER A SHORT CODE");
    const BarcodePreview p = BarcodeGenerator::Generate_Barcode_Variable(s, "1", header, "F");
    ASSERT_TRUE(p.ok());
    const double spaced = BarcodeText::size(header, s.header_font, 2.0).width();
    EXPECT_NEAR(p.barcode->headerWidth(), spaced, 1e-6);
    EXPECT_GT(spaced, BarcodeText::size(header, s.header_font, 0).width() + header.size() * 1.5);
    EXPECT_NEAR(p.picture.size().width(), spaced, 1e-3);
    // The whole header shows: its ink keeps clear of both side edges.
    const QImage image = p.picture.toImage(144, Qt::white);
    const QRect headerInk = inkBounds(image, QRect(0, 0, image.width(), image.height() / 4));
    ASSERT_FALSE(headerInk.isNull());
    EXPECT_GT(headerInk.left(), 0);
    EXPECT_LT(headerInk.right(), image.width() - 1);
}

TEST(BarcodePictureTest, DigitsBesideTheBarsStayInsideTheFrame)
{
    const std::pair<const char *, const char *> cases[] = {
        {"UPCE", "0123456"}, {"UPCA", "03600029145"}, {"EAN-13", "590123412345"}};
    for (const auto &[title, value] : cases) {
        const BarcodeResult r = BarcodeGenerator::Get_Image_From_Val(settingsFor(title), value, "", "");
        ASSERT_TRUE(r.ok()) << title;
        const QImage image = r.picture.toImage(144, Qt::white);
        const QRect ink = inkBounds(image);
        EXPECT_GT(ink.left(), 0) << title;
        EXPECT_LT(ink.right(), image.width() - 1) << title;
    }
}

TEST(BarcodePictureTest, FourStateBarsAreDrawnBetweenTheirEnds)
{
    for (const QString &title :
         {QStringLiteral("Royal Mail Barcode (RM4SCC / CBC)"), QStringLiteral("Japan Post Barcode")}) {
        const BarcodePreview p =
            BarcodeGenerator::Generate_Barcode_Variable(settingsFor(title), "1234567AB", "HEADER", "FOOTER");
        ASSERT_TRUE(p.ok()) << p.message.toStdString();
        const NKDBarcode &b = *p.barcode;
        const double H = p.picture.size().height();
        const double scale = 4.0;
        const QImage image = p.picture.toImage(72 * scale, Qt::white);
        const BarcodeMargins &m = b.margins();
        const double C = b.captionHeight() * 72.0;
        const double F = b.footerHeight() * 72.0;
        const double yb = C + F + m.value + m.footer + m.topBottom;
        // Bars, texts and margins fit the frame.
        const double headerBottom = H - b.headerHeight() * 72.0 - m.topBottom - m.header;
        const QByteArray modules = b.completeBarcode();
        const double x0 = (p.picture.size().width() - modules.size() * b.barWidth()) / 2.0;
        int checked = 0;
        for (int i = 0; i < modules.size(); ++i) {
            if (modules[i] != '1')
                continue;
            EXPECT_LE(yb + b.barTop(i), headerBottom + 1e-6) << title.toStdString();
            const int x = int((x0 + (i + 0.5) * b.barWidth()) * scale);
            const int bandTop = int((H - yb - b.fixedBarHeight()) * scale) - 2;
            const int bandBottom = int((H - yb) * scale) + 2;
            const QRect ink = inkBounds(image, QRect(x, bandTop, 1, bandBottom - bandTop));
            ASSERT_FALSE(ink.isNull()) << i;
            EXPECT_NEAR(ink.top(), (H - yb - b.barTop(i)) * scale, 2.0)
                << title.toStdString() << " bar " << i;
            EXPECT_NEAR(ink.bottom() + 1, (H - yb - b.barBottom(i)) * scale, 2.0)
                << title.toStdString() << " bar " << i;
            ++checked;
        }
        EXPECT_GT(checked, 30);
    }
}

// Pictures and refusals travel as the program's other results do: a refusal is failed, its message
// shown to the user and written to the log; a picture is done with nothing to say. Done without a
// picture is no picture to show.
TEST(BarcodeGenerationTest, OutcomesAreOpResults)
{
    const BarcodeResult made = BarcodeGenerator::Get_Image_From_Val(settingsFor("Code 128"), "OP-1", "", "");
    EXPECT_TRUE(made.ok());
    EXPECT_EQ(made.status, OpResult::Status::Done);
    EXPECT_TRUE(made.message.isEmpty() && made.reason.isEmpty());

    const BarcodeResult refused =
        BarcodeGenerator::Get_Image_From_Val(settingsFor("EAN-13"), "12345", "", "");
    EXPECT_EQ(refused.status, OpResult::Status::Failed);
    EXPECT_TRUE(refused.message.startsWith("Invalid barcode value for EAN-13"))
        << refused.message.toStdString();
    EXPECT_EQ(refused.reason, refused.message);
    const OpResult &reported = refused;
    EXPECT_FALSE(reported.ok());

    // The preview road: a 2D symbol too large to raise fails with its own reason, and the
    // window's check of the value fails before any symbol is made.
    BarcodeSettings huge = settingsFor("QR Code");
    huge.qr_size_val = 100000;
    const BarcodePreview tooLarge = BarcodeGenerator::Generate_Barcode_Variable(huge, "x", "", "");
    EXPECT_EQ(tooLarge.status, OpResult::Status::Failed);
    EXPECT_EQ(tooLarge.message, QString("The QR Code picture is too large for the resolution"));
    EXPECT_FALSE(tooLarge.grid2D);
    const BarcodePreview empty =
        BarcodeGenerator::Generate_Barcode_Variable(settingsFor("Code 128"), "", "", "");
    EXPECT_EQ(empty.status, OpResult::Status::Failed);
    EXPECT_FALSE(empty.message.isEmpty());

    EXPECT_FALSE(BarcodeResult().ok());
}

TEST(BarcodeGenerationTest, RefusedValuesGiveReasons)
{
    BarcodeResult r = BarcodeGenerator::Get_Image_From_Val(settingsFor("EAN-13"), "12345", "", "");
    EXPECT_FALSE(r.ok());
    EXPECT_TRUE(r.message.contains("EAN-13"));
    EXPECT_TRUE(r.picture.isNull());
    r = BarcodeGenerator::Get_Image_From_Val(settingsFor("Code 39"), "", "", "");
    EXPECT_EQ(r.message, QString("Please enter barcode value"));
    BarcodeSettings wrongKind = settingsFor("QR Code");
    wrongKind.linear_or_2d = 0;
    EXPECT_FALSE(BarcodeGenerator::Get_Image_From_Val(wrongKind, "x", "", "").ok());
    // Text outside ASCII goes to the symbology on both roads, the window's preview and a batch
    // row: each 2D symbology takes it, each linear one refuses it with its own rule.
    const QString accented = QStringLiteral("Zo\u00eb Stra\u00dfe");
    for (const QString &title : BarcodeSettings::twoDTitles()) {
        EXPECT_TRUE(BarcodeGenerator::Generate_Barcode_Variable(settingsFor(title), accented, "", "").ok())
            << title.toStdString();
        EXPECT_TRUE(BarcodeGenerator::Get_Image_From_Val(settingsFor(title), accented, "", "").ok());
    }
    for (const QString &title : BarcodeSettings::linearTitles()) {
        const QString reason =
            BarcodeGenerator::Generate_Barcode_Variable(settingsFor(title), accented, "", "").message;
        EXPECT_TRUE(reason.startsWith("Invalid barcode value for " + title)) << reason.toStdString();
        EXPECT_EQ(BarcodeGenerator::Get_Image_From_Val(settingsFor(title), accented, "", "").message, reason);
    }
    // A QR Code side too large to raise gives a reason, not a crash.
    BarcodeSettings huge = settingsFor("QR Code");
    huge.qr_size_val = 2147483647;
    r = BarcodeGenerator::Get_Image_From_Val(huge, "x", "", "");
    EXPECT_FALSE(r.ok());
    EXPECT_FALSE(r.message.isEmpty());
    BarcodeSettings noWidth = settingsFor("Code 39");
    noWidth.linear_width_val = 0;
    EXPECT_EQ(BarcodeGenerator::Get_Image_From_Val(noWidth, "A", "H", "F").message,
              QString("The bar width must be more than 0 mils"));
    BarcodeSettings noHeight = settingsFor("Code 39");
    noHeight.linear_height_val = -1;
    EXPECT_FALSE(BarcodeGenerator::Get_Image_From_Val(noHeight, "A", "H", "F").ok());
    // Code 128 set C keeps its leading zero rule; Japan Post's caption follows its content.
    const BarcodePreview c =
        BarcodeGenerator::Generate_Barcode_Variable(settingsFor("Code 128 SET C"), "123", "", "");
    ASSERT_TRUE(c.ok());
    EXPECT_EQ(c.barcode->content(), QString("123"));
}

TEST(BarcodeGenerationTest, EveryBatchRowGetsAFrameOfItsOwnSymbol)
{
    BarcodeSettings s = settingsFor("QR Code");
    s.qr_size_val = 21;
    s.dpi = 72;
    const BarcodeResult small1 = BarcodeGenerator::Get_Image_From_Val(s, "A", "H", "F");
    const BarcodeResult large = BarcodeGenerator::Get_Image_From_Val(s, QString(60, 'x'), "H", "F");
    const BarcodeResult small2 = BarcodeGenerator::Get_Image_From_Val(s, "A", "H", "F");
    ASSERT_TRUE(small1.ok() && large.ok() && small2.ok());
    EXPECT_GT(large.picture.size().height(), small1.picture.size().height());
    EXPECT_EQ(small1.picture.size(), small2.picture.size());
    EXPECT_EQ(small1.picture.toImage(72), small2.picture.toImage(72));

    const BarcodeResult narrow = BarcodeGenerator::Get_Image_From_Val(settingsFor("Code 128"), "1", "", "");
    const BarcodeResult wide =
        BarcodeGenerator::Get_Image_From_Val(settingsFor("Code 128"), "WIDE VALUE 1", "", "");
    EXPECT_GT(wide.picture.size().width(), narrow.picture.size().width());
}

// Measuring a row's barcode gives what making it gives: the same refusal in the same words, or a
// picture of the same size marked over the same area.
TEST(BarcodeGenerationTest, MeasuringAgreesWithMaking)
{
    const auto with = [](const QString &title, const std::function<void(BarcodeSettings &)> &change = {}) {
        BarcodeSettings s = settingsFor(title);
        s.dpi = 300;
        if (change)
            change(s);
        return s;
    };
    const auto small = [](BarcodeSettings &s) { s.qr_size_val = 10; };
    const auto version1H = [](BarcodeSettings &s) {
        s.qr_version_index = 1;
        s.qr_ec_index = 3;
    };
    const auto huge = [](BarcodeSettings &s) { s.qr_size_val = 100000; };
    const auto texts = [](BarcodeSettings &s) {
        s.show_hide_hdr = 0;
        s.show_hide_ftr = 0;
    };
    const struct {
        BarcodeSettings settings;
        QString value;
        bool made;
    } cases[] = {
        {with("QR Code"), "https://example.com/c/123456789", true},
        {with("QR Code", small), "https://example.com/c/123456789", true},
        {with("QR Code", texts), QStringLiteral("Zo\u00eb Stra\u00dfe"), true},
        {with("QR Code"), QString(7089, '1'), true}, // each mode's capacity at level L, and one more
        {with("QR Code"), QString(7090, '1'), false},
        {with("QR Code"), QString(4296, 'A'), true},
        {with("QR Code"), QString(4297, 'A'), false},
        {with("QR Code"), QString(2953, 'a'), true},
        {with("QR Code"), QString(2954, 'a'), false},
        {with("QR Code", version1H), QString(7, 'a'), true}, // version 1 at level H holds 7 bytes
        {with("QR Code", version1H), QString(8, 'a'), false},
        {with("QR Code", huge), "x", false},
        {with("QR Code"), "", false},
        {with("PDF417"), QString(52, '1'), true}, // the most its frame shows at 300 dpi, and more
        {with("PDF417"), QString(53, '1'), false},
        {with("PDF417"), QString(2711, '1'), false},
        {with("DataMatrix"), QString(3116, '1'), true},
        {with("DataMatrix"), QString(3117, '1'), false},
        {with("DataMatrix", texts), QStringLiteral("\u00e9t\u00e9"), true},
        {with("Code 128", texts), "123456789", true},
        {with("Code 128"), "Dear Guest 1", true},
        {with("UPCA"), "01234567890", true}, // captions beside the bars
        {with("Code 39", [](BarcodeSettings &s) { s.linear_width_val = 0; }), "A", false},
        {with("PostNet", [](BarcodeSettings &s) { s.linear_height_val = -1; }), "12345", true},
        {with("EAN-13"), "12345", false},
        {with("Code 93"), "x", false},
    };
    for (const auto &c : cases) {
        const std::string what = (c.settings.symbologyTitle + " " + c.value.left(12)).toStdString() + " (" +
                                 std::to_string(c.value.size()) + ")";
        const BarcodeResult made = BarcodeGenerator::Get_Image_From_Val(c.settings, c.value, "Head", "Foot");
        const BarcodeGenerator::Extent measured =
            BarcodeGenerator::measure(c.settings, c.value, "Head", "Foot");
        ASSERT_EQ(made.ok(), c.made) << what;
        ASSERT_EQ(measured.made, made.ok()) << what;
        if (!made.ok()) {
            EXPECT_EQ(measured.error, made.message) << what;
            continue;
        }
        EXPECT_EQ(measured.size, made.picture.size()) << what;
        const auto *drawing = dynamic_cast<const BarcodeDrawing *>(made.picture.drawing());
        ASSERT_TRUE(drawing) << what;
        EXPECT_EQ(measured.markedArea(), drawing->markedArea()) << what;
    }
}

TEST(BarcodeGenerationTest, ManyThreadsGiveTheSamePicturesAsOne)
{
    const QStringList titles = {
        "Code 128",           "EAN-13",  "Code 39", "Royal Mail Barcode (RM4SCC / CBC)",
        "Japan Post Barcode", "QR Code", "PDF417",  "PostNet",
        "DataMatrix"};
    auto valueFor = [](int i, const QString &title) {
        if (title == "EAN-13" || title == "PostNet")
            return QString::number(100000000000LL + i * 7919LL).left(title == "PostNet" ? 5 : 12);
        if (title == "Japan Post Barcode")
            return QString::number(1000000 + i) + "A";
        if (title == "DataMatrix") // symbols of many sizes, so their error correction differs
            return QStringLiteral("D%1").arg(i).repeated(1 + i % 13);
        return QStringLiteral("V%1").arg(i);
    };
    constexpr int kCount = 1000;
    auto make = [&](int i) {
        BarcodeSettings s = settingsFor(titles.at(i % titles.size()));
        s.dpi = 72;
        s.qr_size_val = 25;
        s.pdf_hgt_val = 40; // a pixel for every module row at 72 dpi
        const BarcodeResult r =
            BarcodeGenerator::Get_Image_From_Val(s, valueFor(i, s.symbologyTitle), "H", "F");
        return r.ok() ? r.picture.toImage(36, Qt::white) : QImage();
    };
    std::vector<QImage> single(kCount), parallel(kCount);
    for (int i = 0; i < kCount; ++i)
        single[i] = make(i);
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&, t] {
            for (int i = t; i < kCount; i += 8)
                parallel[i] = make(i);
        });
    }
    for (auto &th : threads)
        th.join();
    for (int i = 0; i < kCount; ++i) {
        ASSERT_FALSE(single[i].isNull()) << i;
        ASSERT_EQ(single[i], parallel[i]) << i << " " << titles.at(i % titles.size()).toStdString();
    }
}

TEST(CardtoolBarcode, WritesPngAndPdfAndRefusesBadInput)
{
    QTemporaryDir dir;
    auto run = [](const QStringList &args, QString *err = nullptr) {
        const testsupport::ProcResult r = testsupport::cardtool(QStringList{"barcode"} + args);
        if (err)
            *err = r.errText();
        return r.exitCode;
    };
    const QString png = dir.filePath("c.png");
    ASSERT_EQ(run({"--title", "Code 128", "--value", "Tessaly 42", "--set", "show_hide_hdr=1", "--dpi", "150",
                   "--format", "png", "--out", png}),
              0);
    QImage image(png);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::white));
    BarcodeSettings s = settingsFor("Code 128");
    s.show_hide_hdr = 1;
    const BarcodeResult same = BarcodeGenerator::Get_Image_From_Val(s, "Tessaly 42", "HEADER", "FOOTER");
    EXPECT_EQ(image.width(), BarcodeSizing::pixelsFor(same.picture.size().width(), 150));
    ASSERT_TRUE(hasTool("ZXingReader"));
    EXPECT_EQ(zxingRead({png}).value("c.png"), QString("Tessaly 42"));

    const QString pdf = dir.filePath("q.pdf");
    ASSERT_EQ(run({"--title", "QR Code", "--value", "hello", "--set", "qr_ec_index=2", "--format", "pdf",
                   "--out", pdf}),
              0);
    if (hasTool("pdfinfo")) {
        EXPECT_FALSE(runPdfInfoPageSize(pdf).isEmpty());
    }

    // The record's data fields: the linear value defaults to "0123"; header_val sets the header.
    const QString recordPng = dir.filePath("r.png");
    ASSERT_EQ(run({"--title", "Code 128", "--set", "header_val=", "--set", "footer_val=", "--format", "png",
                   "--out", recordPng}),
              0);
    const QString utf8Png = dir.filePath("u.png");
    ASSERT_EQ(run({"--title", "QR Code", "--value", QStringLiteral("Gr\u00fc\u00dfe"), "--format", "png",
                   "--out", utf8Png}),
              0);
    ASSERT_TRUE(hasTool("ZXingReader"));
    EXPECT_EQ(zxingRead({recordPng}).value("r.png"), QString("0123"));
    EXPECT_EQ(zxingRead({utf8Png}).value("u.png"), QString("Gr<U+FC><U+DF>e"));
    BarcodeSettings bare = settingsFor("Code 128");
    const BarcodeResult noTexts = BarcodeGenerator::Get_Image_From_Val(bare, "0123", "", "");
    EXPECT_EQ(QImage(recordPng).height(), BarcodeSizing::pixelsFor(noTexts.picture.size().height(), 300));

    QString err;
    EXPECT_EQ(
        run({"--title", "EAN-8", "--value", "12", "--format", "png", "--out", dir.filePath("x.png")}, &err),
        1);
    EXPECT_TRUE(err.contains("Invalid barcode value for EAN-8")) << err.toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath("x.png")));
    EXPECT_EQ(run({"--title", "Code 39", "--value", "A", "--set", "bogus=1", "--format", "png", "--out", png},
                  &err),
              1);
    EXPECT_EQ(run({"--title", "Nope", "--value", "A", "--format", "png", "--out", png}, &err), 1);
    EXPECT_EQ(run({"--title", "Code 39", "--value", "A", "--format", "gif", "--out", png}, &err), 1);
    EXPECT_EQ(
        run({"--title", "Code 39", "--value", "A", "--format", "png", "--dpi", "0", "--out", png}, &err), 1);
}
