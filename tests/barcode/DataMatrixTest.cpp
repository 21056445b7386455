// Data Matrix through iec16022: every size and encoding read back by an independent decoder,
// the library's gaps reported as reasons, the EPS page and the picture's geometry.
#include "barcode/DataMatrixEncoder.h"

#include "SymbolDecoder.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

#ifdef TESSALY_SANITIZED
// The iec16022 library leaks its work buffer when an encoding fails; that is not ours to free.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:encmake\n";
}
#endif

using testsupport::randomText;

namespace
{

struct DataMatrixSample {
    QString text;
    QString label;
    QString file;
};

// Four pixels per unit, on white with a quiet zone.
QString save(const DataMatrixSymbol &symbol, const QTemporaryDir &dir, const QString &name)
{
    const QString file = dir.filePath(name + QStringLiteral(".png"));
    return SymbolDecoder::onWhite(DataMatrixEncoder::pageImage(symbol, 288), 16).save(file) ? file
                                                                                            : QString();
}

} // namespace

TEST(DataMatrixTest, EverySizeAndEncodingDecodes)
{
    ASSERT_TRUE(SymbolDecoder::hasTool(QStringLiteral("ZXingReader")));
    ASSERT_TRUE(SymbolDecoder::hasTool(QStringLiteral("dmtxread")));
    QTemporaryDir dir;
    const QString alphabet =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 abcdefghijklmnopqrstuvwxyz.-/:,!");
    std::vector<DataMatrixSample> samples;
    QStringList files;
    const QStringList formats = DataMatrixEncoder::formats();
    ASSERT_EQ(formats.size(), 31);
    int seed = 0;
    for (const QString &format : formats) {
        int rows = 0, columns = 0;
        DataMatrixEncoder::parseFormat(format, rows, columns);
        for (const QString &encoding : {QStringLiteral("Auto"), QStringLiteral("Ascii"),
                                        QStringLiteral("C40"), QStringLiteral("Text")}) {
            // The longest text of this kind that the size takes, from its capacity down.
            const int capacity = DataMatrixEncoder::encode(QStringLiteral("A"), format, encoding).capacity;
            const int start = format == QLatin1String("Auto") ? 300 : capacity;
            ASSERT_GT(start, 0) << format.toStdString();
            DataMatrixSymbol symbol;
            QString text;
            for (int length = start; length > 0 && !symbol.ok(); length -= std::max(1, length / 12)) {
                text = randomText(alphabet, length, ++seed);
                symbol = DataMatrixEncoder::encode(text, format, encoding);
            }
            ASSERT_TRUE(symbol.ok()) << format.toStdString() << " " << encoding.toStdString();
            if (rows > 0) {
                EXPECT_EQ(symbol.height, rows);
                EXPECT_EQ(symbol.width, columns);
            }
            const QString label = format + QLatin1Char('_') + encoding;
            files << save(symbol, dir, label);
            samples.push_back({text, label, files.last()});
        }
    }
    // Short texts whose C40 or Text values end in a partial triple, and text outside ASCII.
    const QStringList shortTexts = {
        QStringLiteral("hell"),  QStringLiteral("HELLO"), QStringLiteral("hello"),
        QStringLiteral("a"),     QStringLiteral("Ab"),    QStringLiteral("hellowo"),
        QStringLiteral("Grüße"), QStringLiteral("日本"),  QStringLiteral("x\ty")};
    for (const QString &text : shortTexts) {
        for (const QString &encoding :
             {QStringLiteral("Ascii"), QStringLiteral("C40"), QStringLiteral("Text")}) {
            const DataMatrixSymbol symbol = DataMatrixEncoder::encode(text, QStringLiteral("Auto"), encoding);
            ASSERT_TRUE(symbol.ok()) << text.toStdString() << " " << encoding.toStdString();
            const QString label = QStringLiteral("short%1_%2").arg(samples.size()).arg(encoding);
            files << save(symbol, dir, label);
            samples.push_back({text, label, files.last()});
        }
    }
    // This ZXingReader cannot read 144 x 144 symbols (not even its own); libdmtx reads those.
    const auto decoded = SymbolDecoder::zxing(files, QStringLiteral("DataMatrix"));
    for (const DataMatrixSample &s : samples) {
        const bool largest = s.label.startsWith(QLatin1String("C144X144"));
        const QString text = largest ? QString::fromUtf8(SymbolDecoder::dmtx(s.file)) : decoded.value(s.file);
        EXPECT_EQ(text.toStdString(), s.text.toStdString()) << "read back: " << s.label.toStdString();
    }
}

// Text within ISO 8859-1, the symbology's default character set, is written in it; any other as
// UTF-8 behind ECI 26, at every size. libdmtx shows the bytes as written (an ECI as its number
// in one byte); ZXingReader decodes the text.
TEST(DataMatrixTest, TextBeyondAsciiIsLatin1OrUtf8BehindAnEci)
{
    QTemporaryDir dir;
    std::vector<DataMatrixSample> samples;
    QStringList files;
    QList<QByteArray> bytes;
    struct Case {
        QString text;
        QStringList encodings;
    };
    const QStringList libraryEncodings = {QStringLiteral("Auto"), QStringLiteral("Ascii"),
                                          QStringLiteral("C40"), QStringLiteral("Text")};
    const QStringList eciEncodings = {QStringLiteral("Auto"), QStringLiteral("Ascii"),
                                      QStringLiteral("Base256"), QStringLiteral("C40")};
    const QList<Case> cases = {
        {QString::fromUtf8("Zoë"), libraryEncodings},
        {QString::fromUtf8("José Núñez, Ærø ÿ"), libraryEncodings},
        {QString::fromUtf8("Zoë 日本 €5"), eciEncodings},
        {QString::fromUtf8("Ωμέγα 12345678"), eciEncodings},
    };
    for (const Case &c : cases) {
        const bool latin1 =
            std::all_of(c.text.begin(), c.text.end(), [](QChar ch) { return ch.unicode() <= 0xFF; });
        for (const QString &encoding : c.encodings) {
            const DataMatrixSymbol symbol =
                DataMatrixEncoder::encode(c.text, QStringLiteral("Auto"), encoding);
            ASSERT_TRUE(symbol.ok()) << c.text.toStdString() << " " << encoding.toStdString();
            files << save(symbol, dir, QStringLiteral("t%1").arg(files.size()));
            samples.push_back({c.text, encoding, files.last()});
            bytes << (latin1 ? c.text.toLatin1() : QByteArray("\x1a") + c.text.toUtf8());
        }
    }
    // Every size, filled close to its capacity.
    const QString alphabet = QString::fromUtf8("日本語 Zoë €-12");
    int seed = 100;
    for (const QString &format : DataMatrixEncoder::formats()) {
        DataMatrixSymbol symbol;
        QString text;
        for (int length = 700; length >= 0 && !symbol.ok(); length -= std::max(1, length / 12)) {
            text = randomText(alphabet, length, ++seed) + QChar(0x3A9);
            symbol = DataMatrixEncoder::encode(text, format, QStringLiteral("Auto"));
        }
        if (!symbol.ok()) { // the ECI and one letter beyond ISO 8859-1 take six codewords
            EXPECT_LT(symbol.capacity, 6) << format.toStdString();
            continue;
        }
        files << save(symbol, dir, format);
        samples.push_back({text, format, files.last()});
        bytes << QByteArray("\x1a") + text.toUtf8();
    }
    const auto decoded = SymbolDecoder::zxing(files, QStringLiteral("DataMatrix"));
    for (size_t i = 0; i < samples.size(); ++i) {
        const DataMatrixSample &s = samples[i];
        SCOPED_TRACE(s.label.toStdString() + " " + s.text.left(20).toStdString());
        EXPECT_EQ(SymbolDecoder::dmtx(s.file), bytes[qsizetype(i)]);
        if (s.label != QLatin1String("C144X144")) {
            EXPECT_EQ(decoded.value(s.file).toStdString(), s.text.toStdString());
        }
    }
    EXPECT_EQ(DataMatrixEncoder::encode(QString(1000, QChar(0x65E5)), QStringLiteral("Auto"),
                                        QStringLiteral("Auto"))
                  .error,
              QStringLiteral("The text is too long for a Data Matrix."));
    EXPECT_EQ(DataMatrixEncoder::encode(QString(20, QChar(0x65E5)), QStringLiteral("C10X10"),
                                        QStringLiteral("Ascii"))
                  .error,
              QStringLiteral("The text does not fit a Data Matrix of 10 x 10 modules with this encoding."));
}

TEST(DataMatrixTest, LibraryGapsGiveReasons)
{
    const DataMatrixSymbol base256 =
        DataMatrixEncoder::encode(QStringLiteral("hello"), QStringLiteral("Auto"), QStringLiteral("Base256"));
    EXPECT_FALSE(base256.ok());
    EXPECT_TRUE(base256.error.contains(QStringLiteral("Base256")));

    // A refusal carries a reason, and the report lines for the log.
    const DataMatrixSymbol tooLong = DataMatrixEncoder::encode(
        QString(60, QLatin1Char('x')), QStringLiteral("C10X10"), QStringLiteral("Auto"));
    EXPECT_FALSE(tooLong.ok());
    EXPECT_FALSE(tooLong.error.isEmpty());
    EXPECT_TRUE(tooLong.report().startsWith(QStringLiteral("No barcode produced\nSize    : ")));

    for (const DataMatrixSymbol &s :
         {DataMatrixEncoder::encode(QString(), QStringLiteral("Auto"), QStringLiteral("Auto")),
          DataMatrixEncoder::encode(QString(4000, QLatin1Char('a')), QStringLiteral("Auto"),
                                    QStringLiteral("Auto")),
          DataMatrixEncoder::encode(QString(100, QLatin1Char('a')), QStringLiteral("C10X10"),
                                    QStringLiteral("Ascii")),
          DataMatrixEncoder::encode(QStringLiteral("abc"), QStringLiteral("C11X11"), QStringLiteral("Auto")),
          DataMatrixEncoder::encode(QStringLiteral("abc"), QStringLiteral("C10"), QStringLiteral("Auto")).ok()
              ? DataMatrixSymbol{}
              : DataMatrixSymbol{}}) {
        EXPECT_FALSE(s.ok());
        EXPECT_TRUE(DataMatrixEncoder::pageImage(s, 600).isNull());
    }
    // A format without "X" asks for the library's own size.
    int rows = -1, columns = -1;
    DataMatrixEncoder::parseFormat(QStringLiteral("C10"), rows, columns);
    EXPECT_EQ(rows, 0);
    EXPECT_EQ(columns, 0);
    DataMatrixEncoder::parseFormat(QStringLiteral("C8X18"), rows, columns);
    EXPECT_EQ(rows, 8);
    EXPECT_EQ(columns, 18);

    // Random bytes, sizes and encodings: a grid or a reason, never a crash.
    QRandomGenerator random(3);
    const QStringList formats = DataMatrixEncoder::formats(), encodings = DataMatrixEncoder::encodings();
    for (int i = 0; i < 80; ++i) {
        QByteArray bytes(random.bounded(1, 400), Qt::Uninitialized);
        for (char &c : bytes)
            c = static_cast<char>(random.bounded(1, 256));
        int r = 0, c = 0;
        DataMatrixEncoder::parseFormat(formats.at(random.bounded(formats.size())), r, c);
        const QString encoding = encodings.at(random.bounded(encodings.size()));
        const DataMatrixSymbol s =
            DataMatrixEncoder::encodeBytes(bytes, r, c, DataMatrixEncoder::encodingString(encoding, bytes));
        EXPECT_NE(s.ok(), !s.error.isEmpty());
        if (s.ok()) {
            EXPECT_EQ(s.grid.size(), s.width * s.height);
        }
    }
}

TEST(DataMatrixTest, EpsPage)
{
    const DataMatrixSymbol symbol =
        DataMatrixEncoder::encode(QStringLiteral("12"), QStringLiteral("C10X10"), QStringLiteral("Ascii"));
    ASSERT_TRUE(symbol.ok());
    const QByteArray eps = DataMatrixEncoder::makeEPS_Data_Matrix("12", 10, 10, symbol.grid);
    EXPECT_TRUE(eps.startsWith("%!PS-Adobe-3.0 EPSF-3.0\n%%Creator: IEC16022 barcode/stamp generator\n"
                               "%%BarcodeData: 12\n%%BarcodeSize: 10x10\n"));
    EXPECT_TRUE(
        eps.contains("%%BoundingBox: 0 0 12 12\n%%EndComments\n%%Page: 1 1\n10 10 1[1 0 0 1 -1 -1]{<\n"));
    EXPECT_TRUE(eps.endsWith(" \n\n>}image\n"));
    // One line of ten rows, four hexadecimal digits and a space each.
    const QByteArray data = eps.mid(eps.indexOf("{<\n") + 3);
    const QByteArray line = data.left(data.indexOf('\n'));
    EXPECT_EQ(line.size(), 50);
    // Row 0 (the bottom) of a symbol is its solid finder edge: all dark, so all zero samples.
    EXPECT_TRUE(line.startsWith("003F "));
    EXPECT_TRUE(DataMatrixEncoder::makeEPS_Data_Matrix("x", 10, 10, QByteArray(3, 1)).isEmpty());
}

TEST(DataMatrixTest, PageGeometry)
{
    const DataMatrixSymbol symbol =
        DataMatrixEncoder::encode(QStringLiteral("card"), QStringLiteral("C8X18"), QStringLiteral("Auto"));
    ASSERT_TRUE(symbol.ok());
    const QImage image = DataMatrixEncoder::pageImage(symbol, 600);
    EXPECT_EQ(image.size(), QSize(167, 84));
    EXPECT_EQ(DataMatrixEncoder::pageSize(symbol, 2), QSizeF(36, 16));
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);             // border left unpainted
    EXPECT_EQ(image.pixel(10, 70), qRgba(0, 0, 0, 255)); // bottom-left corner of the finder
    EXPECT_EQ(qAlpha(image.pixel(166, 83)), 0);
    // A low resolution still gives every unit a pixel.
    EXPECT_EQ(DataMatrixEncoder::pageImage(symbol, 10).size(), QSize(20, 10));
}
