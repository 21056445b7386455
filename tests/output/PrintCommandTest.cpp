// Sheets painted into a PDF file by the command-line harness through the print window's painter,
// checked with poppler: page counts, the refusals of layouts that cannot print, and labels drawn
// as vectors whose texts can be found and whose every barcode decodes.
#include "output/BatchDesignFixture.h"
#include "support/TestSupport.h"

#include <QImage>

#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{
int pdfPages(const QString &pdf)
{
    const QRegularExpressionMatch m =
        QRegularExpression("Pages:\\s+(\\d+)").match(testsupport::output("pdfinfo", {pdf}));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}
} // namespace

class PrintCommand : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!testsupport::hasTool("pdfinfo"))
            GTEST_SKIP() << "pdfinfo is not installed";
        ASSERT_EQ(testsupport::cardtool({"design-new", design}).exitCode, 0);
    }
    QTemporaryDir tmp;
    QString design = tmp.filePath("card.dcard");
    QString pdf = tmp.filePath("sheets.pdf");
};

TEST_F(PrintCommand, SevenLabelsOnTwoByThreeGiveTwoSheets)
{
    const auto r = testsupport::cardtool({"print", design, "--out", pdf, "--paper", "A4", "--rows", "2",
                                          "--cols", "3", "--total", "7", "--align", "5"});
    ASSERT_EQ(r.exitCode, 0) << r.errText().toStdString();
    EXPECT_TRUE(r.outText().trimmed().endsWith("2 sheets, 7 labels")) << r.outText().toStdString();
    EXPECT_EQ(pdfPages(pdf), 2);
}

// A CR80 card is 85.6 mm wide: two columns do not fit across A5, and the command says so.
TEST_F(PrintCommand, AGridThatDoesNotFitSaysHowManyLabelsASheetHolds)
{
    const auto r = testsupport::cardtool(
        {"print", design, "--out", pdf, "--paper", "A5", "--rows", "2", "--cols", "2", "--total", "4"});
    ASSERT_EQ(r.exitCode, 0) << r.errText().toStdString();
    EXPECT_TRUE(
        r.outText().contains("2 x 2 labels do not fit on this paper; a sheet holds 2 (2 rows, 1 column)."))
        << r.outText().toStdString();
    EXPECT_EQ(pdfPages(pdf), 2);
}

TEST_F(PrintCommand, LayoutsThatCannotPrintAreRefusedWithTheWindowsMessages)
{
    auto r = testsupport::cardtool(
        {"print", design, "--out", pdf, "--paper", "A4", "--rows", "1", "--cols", "1", "--total", "0"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.errText().contains("There is no barcode to print.")) << r.errText().toStdString();
    r = testsupport::cardtool({"print", design, "--out", pdf, "--paper", "A4", "--rows", "1", "--cols", "1",
                               "--margins", "150,0,0,0"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.errText().contains("'Card Size' is bigger than selected 'Paper Size'"))
        << r.errText().toStdString();
    r = testsupport::cardtool({"print", design, "--out", pdf, "--paper", "A4", "--rows", "0", "--cols", "1"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_FALSE(QFileInfo::exists(pdf));
}

// A photo placed three times on a card, printed on 10 labels: one image object that every
// placement draws, which poppler reads without complaint.
TEST_F(PrintCommand, APhotoOnEveryLabelIsEmbeddedOnce)
{
    if (!testsupport::hasTool("pdfimages"))
        GTEST_SKIP() << "pdfimages is not installed";
    QImage photo(1600, 1200, QImage::Format_RGB32); // kept encoded, decoded at the size drawn
    for (int y = 0; y < photo.height(); ++y)
        for (int x = 0; x < photo.width(); ++x)
            photo.setPixel(x, y, qRgb(x / 7 % 256, y / 5 % 256, 90));
    const QString path = tmp.filePath("photo.jpg");
    ASSERT_TRUE(photo.save(path, "JPEG", 85));
    const QString placed = tmp.filePath("placed.dcard");
    ASSERT_EQ(testsupport::cardtool({"design-hand", placed, "--picture", "10,10,70,50=" + path, "--picture",
                                     "90,10,70,50=" + path, "--picture", "10,80,70,50=" + path})
                  .exitCode,
              0);
    const auto r = testsupport::cardtool(
        {"print", placed, "--out", pdf, "--paper", "A4", "--rows", "5", "--cols", "2", "--total", "10"});
    ASSERT_EQ(r.exitCode, 0) << r.errText().toStdString();
    const testsupport::PdfImages images = testsupport::pdfImages(pdf);
    EXPECT_EQ(images.drawn, 30);
    EXPECT_EQ(images.objects, 1);
    EXPECT_EQ(images.errors, QString());
}

// 23 bound labels, 2 x 5 centred on A4: three sheets whose labels are texts and rectangles, not
// pictures; every name and every Code 128's value is found as text on its own sheet, the fonts are
// embedded subsets, and every label's Code 128 and QR Code read back as its row's values.
TEST_F(PrintCommand, LabelsAreVectorsWithTextThatCanBeFoundAndEveryLabelDecodes)
{
    for (const char *tool : {"pdftotext", "pdftoppm", "pdfimages", "pdffonts", "ZXingReader"})
        if (!testsupport::hasTool(tool))
            GTEST_SKIP() << tool << " is not installed";
    const int rows = 23;
    const QString data = tmp.filePath("DataSet");
    batchtest::SampleDesign sample(data, rows, false);
    const QString bound = batchtest::writeDesign(tmp.filePath("bound.dcard"), sample);
    const auto r = testsupport::cardtool({"print", bound, "--out", pdf, "--paper", "A4", "--rows", "5",
                                          "--cols", "2", "--align", "5", "--data", data});
    ASSERT_EQ(r.exitCode, 0) << r.errText().toStdString();
    EXPECT_TRUE(r.outText().trimmed().endsWith("3 sheets, 23 labels")) << r.outText().toStdString();
    ASSERT_EQ(pdfPages(pdf), 3);

    // No picture at all: the road that drew each label as a 300-dpi picture made one per label.
    const QStringList images =
        testsupport::output("pdfimages", {"-list", pdf}).split('\n', Qt::SkipEmptyParts).mid(2);
    EXPECT_TRUE(images.isEmpty()) << images.join('\n').toStdString();

    for (int page = 1; page <= 3; ++page) {
        const QString text = testsupport::output(
            "pdftotext", {"-f", QString::number(page), "-l", QString::number(page), "-layout", pdf, "-"});
        // The value under a Code 128 is spread to the bars' width: a reader sees spaced letters.
        const QString unspaced = QString(text).remove(QRegularExpression("[ \\t]"));
        for (int k = (page - 1) * 10; k < std::min(rows, page * 10); ++k) {
            EXPECT_TRUE(
                QRegularExpression(QStringLiteral("\\b%1\\b").arg(sample.names[k])).match(text).hasMatch())
                << sample.names[k].toStdString() << " on sheet " << page;
            EXPECT_TRUE(unspaced.contains(sample.codes[k]))
                << sample.codes[k].toStdString() << " on sheet " << page;
        }
    }
    // Every font is embedded, as the subset of the glyphs used, with its characters' meaning.
    const QStringList fonts = testsupport::output("pdffonts", {pdf}).split('\n', Qt::SkipEmptyParts).mid(2);
    EXPECT_FALSE(fonts.isEmpty());
    for (const QString &font : fonts)
        EXPECT_TRUE(QRegularExpression("\\byes\\s+yes\\s+yes\\s+\\d+\\s+0\\s*$").match(font).hasMatch())
            << font.toStdString();
    EXPECT_FALSE(testsupport::output("pdftotext", {"-f", "1", "-l", "1", pdf, "-"}).contains("Guest 11"));

    // Each cell read on its own at 300 dpi: 243 x 154 points, the block centred on 595 x 842.
    const double k = 300.0 / 72.0, x0 = (595 - 2 * 243) / 2.0, y0 = (842 - 5 * 154) / 2.0;
    testsupport::run("pdftoppm", {"-r", "300", "-png", pdf, tmp.filePath("sheet")});
    for (int label = 0; label < rows; ++label) {
        const QImage sheet(tmp.filePath(QStringLiteral("sheet-%1.png").arg(label / 10 + 1)));
        ASSERT_FALSE(sheet.isNull());
        const int cell = label % 10;
        const QRectF place(x0 + (cell % 2) * 243, y0 + (cell / 2) * 154, 243, 154);
        const QString path = tmp.filePath(QStringLiteral("label-%1.png").arg(label + 1));
        ASSERT_TRUE(sheet
                        .copy(QRect(QPoint(int(place.left() * k), int(place.top() * k)),
                                    QPoint(int(place.right() * k), int(place.bottom() * k))))
                        .save(path));
        const QStringList found = batchtest::decode(path);
        EXPECT_TRUE(found.contains("Code128:" + sample.codes[label]))
            << label + 1 << found.join(" | ").toStdString();
        EXPECT_TRUE(found.contains("QRCode:" + sample.qr[label]))
            << label + 1 << found.join(" | ").toStdString();
    }
}

// Names whose glyphs alone do not read back as their letters (Thai marks over tall letters,
// Devanagari conjuncts and vowel signs) come back from the sheets exactly, beside a fixed word like
// a part of them on every label.
TEST_F(PrintCommand, NamesInEveryScriptReadBackExactlyFromTheSheets)
{
    if (!testsupport::hasTool("pdftotext"))
        GTEST_SKIP() << "pdftotext is not installed";
    const QStringList names{QString::fromUtf8("วงศ์ใหญ่ ศรีสุข"), QString::fromUtf8("सिद्धार्थ Kumar"),
                            QString::fromUtf8("Dr. सिद्धार्थ"), QString::fromUtf8("สมชาย ใจดี"),
                            QString::fromUtf8("प्रिया वर्मा")};
    const QString data = tmp.filePath("DataSet");
    batchtest::writeSeries(data, "names", ((names + names).join('\n') + "\n").toUtf8());
    ASSERT_EQ(testsupport::cardtool(
                  {"design-hand", design, "--text", "20,90,200,30=Kumar", "--text-series", "names"})
                  .exitCode,
              0);
    const auto r = testsupport::cardtool(
        {"print", design, "--out", pdf, "--paper", "A4", "--rows", "5", "--cols", "2", "--data", data});
    ASSERT_EQ(r.exitCode, 0) << r.errText().toStdString();
    const QStringList lines = testsupport::output("pdftotext", {pdf, "-"}).split('\n');
    for (const QString &name : names)
        EXPECT_EQ(lines.count(name), 2) << name.toStdString();
}
