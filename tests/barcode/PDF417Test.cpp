// PDF417 encoder and view: symbols read back by an independent decoder at every error level
// and compaction mode, segmentation rules, the view's states and sizes, and bad input.
#include "barcode/BarcodeGenerator.h"
#include "barcode/PDF417Encoder.h"
#include "barcode/PDF417Tables.h"
#include "barcode/PDF417View.h"

#include "SymbolDecoder.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <set>

using testsupport::randomText;

namespace
{

std::string types(const std::vector<PDF417Encoder::Segment> &list)
{
    std::string out;
    for (const auto &s : list)
        out += s.type + std::to_string(s.length()) + " ";
    return out;
}

PDF417Param encode(const QByteArray &text, int level)
{
    PDF417Param p;
    PDF417Encoder::pdf417init(p);
    p.text = text;
    p.lenText = static_cast<int>(text.size());
    p.options = PDF417Param::UseErrorLevel | PDF417Param::InvertBits;
    p.errorLevel = level;
    p.aspectRatio = 1.0f;
    PDF417Encoder::paintCode(p);
    return p;
}

} // namespace

// The pattern table itself: 929 distinct patterns per cluster, each of four bars and four
// spaces of 1 to 6 modules whose cluster number matches its table.
TEST(PDF417Test, ClusterTablesAreWellFormed)
{
    for (int cluster = 0; cluster < 3; ++cluster) {
        std::set<int> seen;
        for (int cw = 0; cw < 929; ++cw) {
            const int pattern = PDF417Tables::CLUSTERS[cluster][cw];
            seen.insert(pattern);
            int widths[8] = {}, element = 0;
            for (int bit = 16; bit >= 0; --bit) {
                const bool bar = (pattern >> bit) & 1;
                if (bit < 16 && bar != (((pattern >> (bit + 1)) & 1) != 0))
                    ++element;
                ASSERT_LT(element, 8);
                ASSERT_EQ(bar, element % 2 == 0);
                ++widths[element];
            }
            ASSERT_EQ(element, 7);
            for (int w : widths)
                ASSERT_TRUE(w >= 1 && w <= 6);
            ASSERT_EQ((widths[0] - widths[2] + widths[4] - widths[6] + 9) % 9, cluster * 3);
        }
        EXPECT_EQ(seen.size(), 929u);
    }
}

TEST(PDF417Test, SymbolsDecodeAtEveryLevel)
{
    ASSERT_TRUE(SymbolDecoder::hasTool(QStringLiteral("ZXingReader")));
    QTemporaryDir dir;
    const QString upper = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ ");
    const QString mixed =
        QStringLiteral("Hello, World! #42 & more: a-b.c/d $5 *x* (paren) {brace} ~tilde\t\r\n"
                       "MiXeD CaSe ;<>@[\\]_`|\"'?=^+%");
    const std::vector<QString> texts = {
        QStringLiteral("PDF417"),
        randomText(upper, 120, 1),
        randomText(mixed, 200, 2),
        QStringLiteral("Order 1234567890123456789012345 shipped, ref 998877665544332211 ok"),
        QStringLiteral("12345678"),
        QStringLiteral("Grüße aus Köln – 日本語テキスト, €5"),
        QStringLiteral("ABC") + QChar(0xC8) + QStringLiteral("DEF"),
        randomText(mixed + QStringLiteral("0123456789"), 700, 3),
        QString(1600, QLatin1Char('7')),
    };
    QStringList files;
    std::vector<QString> expected;
    for (size_t i = 0; i < texts.size(); ++i) {
        for (int level : {0, 2, 4, 6, 8}) {
            PDF417View view;
            view.setOutputDpi(144); // two pixels per module at the natural size
            view.setErrorLevel(level);
            const int state = view.drawWithText(texts[i]);
            if (state != PDF417View::ImageReady) {
                // Only the largest texts may refuse the highest levels.
                EXPECT_GE(texts[i].size(), 700) << level;
                continue;
            }
            // The level asked for, or the highest that still leaves room for the data.
            if (texts[i].size() < 700) {
                EXPECT_GE(view.param().errorLevel, level);
            }
            const QString file = dir.filePath(QStringLiteral("p%1_%2.png").arg(i).arg(level));
            ASSERT_TRUE(SymbolDecoder::onWhite(view.getImage(), 12).save(file));
            files << file;
            expected.push_back(texts[i]);
        }
    }
    ASSERT_GE(files.size(), 40);
    const auto decoded = SymbolDecoder::zxing(files, QStringLiteral("PDF417"));
    for (int i = 0; i < files.size(); ++i) {
        EXPECT_TRUE(decoded.contains(files[i])) << "not read: " << files[i].toStdString();
        EXPECT_EQ(decoded.value(files[i]).toStdString(), expected[i].toStdString()) << files[i].toStdString();
    }
}

TEST(PDF417Test, Segmentation)
{
    EXPECT_EQ(types(PDF417Encoder::breakString("ab123456789012cd", 16)), "T16 ");
    EXPECT_EQ(types(PDF417Encoder::breakString("ab1234567890123cd", 17)), "T2 N13 T2 ");
    EXPECT_EQ(types(PDF417Encoder::breakString("12345678", 8)), "N8 ");
    EXPECT_EQ(types(PDF417Encoder::breakString("1234567", 7)), "T7 ");
    EXPECT_EQ(types(PDF417Encoder::breakString("ABC\xc8"
                                               "DEF",
                                               7)),
              "T7 ");
    EXPECT_EQ(types(PDF417Encoder::breakString("\x01\x02\x03\x04", 4)), "B4 ");

    // Three letters, a byte and three letters: one text segment whose byte shift follows a 29.
    const PDF417Param p = encode("ABC\xc8"
                                 "DEF",
                                 2);
    ASSERT_EQ(p.error, 0);
    EXPECT_EQ(p.codewords[1], 0 * 30 + 1);
    EXPECT_EQ(p.codewords[2], 2 * 30 + 29);
    EXPECT_EQ(p.codewords[3], 913);
    EXPECT_EQ(p.codewords[4], 200);
    EXPECT_EQ(p.codewords[5], 3 * 30 + 4);
}

TEST(PDF417Test, ShapeLevelAndBits)
{
    const PDF417Param p = encode("Short", 5);
    ASSERT_EQ(p.error, 0);
    EXPECT_GE(p.errorLevel, 5);
    EXPECT_EQ(p.lenCodewords, p.codeRows * p.codeColumns);
    EXPECT_EQ(p.bitColumns, 17 * (p.codeColumns + 3) + 18);
    EXPECT_GE(p.codeRows, 3);
    EXPECT_EQ(p.lenBits, ((p.bitColumns - 1) / 8 + 1) * p.codeRows);
    // Inverted: the start pattern's eight leading bars are zero bits.
    EXPECT_EQ(static_cast<unsigned char>(p.outBits.at(0)), 0x00);
    EXPECT_EQ(PDF417Encoder::maxPossibleErrorLevel(512), 8);
    EXPECT_EQ(PDF417Encoder::maxPossibleErrorLevel(511), 7);
    EXPECT_EQ(PDF417Encoder::maxPossibleErrorLevel(3), 0);
}

TEST(PDF417Test, BadInputGivesErrors)
{
    EXPECT_EQ(encode(QByteArray(5421, 'a'), 2).error, PDF417Param::ErrorTextTooBig);
    EXPECT_EQ(encode(QByteArray(3000, 'a'), 2).error, PDF417Param::ErrorTextTooBig); // > 926 codewords
    EXPECT_EQ(encode(QByteArray(), 2).error, PDF417Param::ErrorInvalidParams);
    EXPECT_TRUE(encode(QByteArray(5421, 'a'), 2).outBits.isEmpty());

    PDF417Param raw;
    PDF417Encoder::pdf417init(raw);
    raw.options = PDF417Param::RawCodewords;
    raw.lenCodewords = 3;
    raw.codewords[0] = 2;
    PDF417Encoder::paintCode(raw);
    EXPECT_EQ(raw.error, PDF417Param::ErrorInvalidParams);

    // Random bytes at random levels: bits or an error, never a crash.
    QRandomGenerator random(7);
    for (int i = 0; i < 150; ++i) {
        QByteArray bytes(random.bounded(1, 1200), Qt::Uninitialized);
        for (char &c : bytes)
            c = static_cast<char>(random.bounded(i % 2 ? 256 : 128));
        const PDF417Param p = encode(bytes, random.bounded(-2, 11));
        if (p.error == 0) {
            EXPECT_EQ(p.lenBits, p.outBits.size());
            EXPECT_LE(p.lenCodewords, 928);
        }
    }
}

TEST(PDF417Test, ViewStatesAndSizes)
{
    PDF417View view;
    EXPECT_EQ(view.imageState(), PDF417View::ImageEmpty);
    EXPECT_TRUE(view.getImage().isNull());
    EXPECT_EQ(view.getErrorLevel(), 2);

    view.setFrameSize(QSizeF(200, 60));
    view.setOutputDpi(600);
    ASSERT_EQ(view.drawWithText(QStringLiteral("Greetings")), PDF417View::ImageReady);
    EXPECT_EQ(view.getImage().size(), QSize(1667, 500));
    EXPECT_EQ(view.imageSize(), QSizeF(200, 60));
    EXPECT_TRUE(view.makeEPS().startsWith("%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 200 60\n"));
    const QImage first = view.getImage();

    // Empty text: empty state, image kept. Too long: failed state with a reason, image kept.
    EXPECT_EQ(view.drawWithText(QString()), PDF417View::ImageEmpty);
    EXPECT_EQ(view.getImage(), first);
    EXPECT_EQ(view.drawWithText(QString(6000, QLatin1Char('x'))), PDF417View::ImageFailed);
    EXPECT_FALSE(view.lastError().isEmpty());
    EXPECT_EQ(view.getImage(), first);

    // A frame that gives a module less than a device pixel is refused with the size it needs,
    // and the last image stays.
    view.setFrameSize(QSizeF(10, 5));
    view.setOutputDpi(72);
    ASSERT_EQ(view.drawWithText(QStringLiteral("Greetings")), PDF417View::ImageFailed);
    EXPECT_TRUE(view.lastError().startsWith(QStringLiteral("The text needs a PDF417 barcode of at least ")))
        << view.lastError().toStdString();
    EXPECT_EQ(view.getImage(), first);
    // Just large enough: every module has its pixel.
    const int columns = view.param().bitColumns, rows = view.param().codeRows;
    view.setFrameSize(QSizeF(columns, rows * 3));
    ASSERT_EQ(view.drawWithText(QStringLiteral("Greetings")), PDF417View::ImageReady);
    EXPECT_EQ(view.getImage().size(), QSize(columns, rows * 3));
}

TEST(PDF417Test, DenseTextInASmallBoxIsRefusedNotUnreadable)
{
    // 2,000 digits in the default 100 x 20 point box at 300 dpi: less than a pixel a module.
    BarcodeSettings settings;
    settings.symbologyTitle = QStringLiteral("PDF417");
    settings.linear_or_2d = 1;
    settings.dpi = 300;
    const QString digits = QString::fromLatin1(QByteArray("1234567890").repeated(200));
    const BarcodeResult refused = BarcodeGenerator::Get_Image_From_Val(settings, digits, {}, {});
    EXPECT_FALSE(refused.ok());
    EXPECT_TRUE(refused.message.contains(QStringLiteral("at least"))) << refused.message.toStdString();
    EXPECT_TRUE(refused.message.contains(QStringLiteral("300 dpi"))) << refused.message.toStdString();

    // Given room, the same text makes a symbol an independent reader reads.
    settings.pdf_wdt_val = 250;
    settings.pdf_hgt_val = 120;
    const BarcodeResult made = BarcodeGenerator::Get_Image_From_Val(settings, digits, {}, {});
    ASSERT_TRUE(made.ok()) << made.message.toStdString();
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("dense.png"));
    ASSERT_TRUE(made.picture.toImage(300, Qt::white).save(file));
    EXPECT_EQ(SymbolDecoder::zxing({file}, QStringLiteral("PDF417")).value(file), digits);
}

#ifdef CARDTOOL_PATH
TEST(PDF417, ARefusedValueGivesItsReasonAndPrintsNothingElse)
{
    QTemporaryDir dir;
    const testsupport::ProcResult r = testsupport::cardtool(
        {QStringLiteral("barcode"), QStringLiteral("--title"), QStringLiteral("PDF417"),
         QStringLiteral("--value"), QString(6000, QLatin1Char('x')), QStringLiteral("--format"),
         QStringLiteral("png"), QStringLiteral("--out"), dir.filePath(QStringLiteral("x.png"))});
    EXPECT_NE(r.exitCode, 0);
    EXPECT_TRUE(r.errText().contains(QStringLiteral("cardtool: The text is too long for a PDF417 symbol.")))
        << r.errText().toStdString();
    EXPECT_FALSE(r.errText().contains(QStringLiteral("drawing barcode"))) << r.errText().toStdString();
}
#endif
