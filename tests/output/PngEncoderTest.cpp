// The PNG encoder's colour types: each picture is written in the smallest type that keeps it, and
// Qt reads back exactly the pixels that went in; barcode pictures still decode.
#include "output/PngEncoder.h"

#include "barcode/BarcodeGenerator.h"
#include "output/BatchDesignFixture.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>

#include <zlib.h>

#include <cstring>
#include <functional>
#include <optional>
#include <random>
#include <set>

#ifdef TESSALY_HAVE_SPNG
#include <spng.h>
#endif

namespace
{

// Colour type and bit depth from the header chunk, which always comes first.
struct Header {
    int colourType = -1;
    int bitDepth = -1;
};

Header headerOf(const QByteArray &png)
{
    if (png.size() < 33 || png.mid(12, 4) != "IHDR")
        return {};
    return {uchar(png[25]), uchar(png[24])};
}

bool hasChunk(const QByteArray &png, const char *type)
{
    for (qsizetype at = 8; at + 8 <= png.size();) {
        const quint32 length = (quint32(uchar(png[at])) << 24) | (quint32(uchar(png[at + 1])) << 16) |
                               (quint32(uchar(png[at + 2])) << 8) | quint32(uchar(png[at + 3]));
        if (png.mid(at + 4, 4) == type)
            return true;
        at += 12 + qsizetype(length);
    }
    return false;
}

// Every pixel as Qt reads it back, against the source in the same straight-alpha format.
void expectSamePixels(const QImage &source, const QByteArray &png, const std::string &what)
{
    const QImage back = QImage::fromData(png, "PNG").convertToFormat(QImage::Format_ARGB32);
    const QImage want = source.convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(back.size(), want.size()) << what;
    for (int y = 0; y < want.height(); ++y)
        for (int x = 0; x < want.width(); ++x)
            ASSERT_EQ(back.pixel(x, y), want.pixel(x, y)) << what << " at " << x << "," << y;
}

// A picture whose pixel (x, y) is colour(x + y * width).
QImage picture(int w, int h, QImage::Format format, const std::function<QRgb(int)> &colour)
{
    QImage img(w, h, format);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, colour(x + y * w));
    return img;
}

QRgb grey(int v, int a = 255)
{
    return qRgba(v, v, v, a);
}

// The zlib stream of all IDAT chunks together.
QByteArray idatStream(const QByteArray &png)
{
    QByteArray stream;
    for (qsizetype at = 8; at + 8 <= png.size();) {
        const quint32 length = (quint32(uchar(png[at])) << 24) | (quint32(uchar(png[at + 1])) << 16) |
                               (quint32(uchar(png[at + 2])) << 8) | quint32(uchar(png[at + 3]));
        if (png.mid(at + 4, 4) == "IDAT")
            stream += png.mid(at + 8, qsizetype(length));
        at += 12 + qsizetype(length);
    }
    return stream;
}

} // namespace

// A card's rows are deflated at the encoder's fast level: into about 0.63 of the bytes zlib's level 1
// writes for them. Its fastest level writes a quarter more (0.78), and so would every exported card.
TEST(PngEncoder, ACardIsDeflatedAtTheFastLevel)
{
    QImage card(1013, 642, QImage::Format_RGB32);
    card.fill(Qt::white);
    {
        QPainter p(&card);
        p.setRenderHint(QPainter::Antialiasing);
        p.setFont(QFont(QStringLiteral("Liberation Sans"), 28));
        p.drawText(QRect(40, 30, 900, 80), QStringLiteral("Happy birthday, Ada Example"));
        p.setBrush(QColor(200, 30, 30));
        p.drawEllipse(QRect(60, 160, 300, 200));
        for (int x = 500; x < 900; x += 7)
            p.fillRect(QRect(x, 200, 3 + x % 4, 250), Qt::black);
        QLinearGradient gradient(0, 500, 1013, 642);
        gradient.setColorAt(0, QColor(30, 90, 200));
        gradient.setColorAt(1, QColor(240, 220, 120));
        p.fillRect(QRect(0, 500, 1013, 142), gradient);
    }
    const QByteArray stream = idatStream(PngEncoder::encode(card, 300));
    QByteArray rows(16 << 20, Qt::Uninitialized);
    uLongf rowsSize = uLongf(rows.size());
    ASSERT_EQ(uncompress(reinterpret_cast<Bytef *>(rows.data()), &rowsSize,
                         reinterpret_cast<const Bytef *>(stream.constData()), uLong(stream.size())),
              Z_OK);
    QByteArray fast(int(compressBound(rowsSize)), Qt::Uninitialized);
    uLongf fastSize = uLongf(fast.size());
    ASSERT_EQ(compress2(reinterpret_cast<Bytef *>(fast.data()), &fastSize,
                        reinterpret_cast<const Bytef *>(rows.constData()), rowsSize, 1),
              Z_OK);
    EXPECT_LT(double(stream.size()), 0.7 * double(fastSize)) << stream.size() << " against " << fastSize;
}

TEST(PngEncoder, EachPictureTakesTheSmallestExactColourType)
{
    constexpr int Grey = 0, Rgb = 2, Palette = 3, GreyAlpha = 4, Rgba = 6;
    const auto rgb = QImage::Format_RGB32;
    const auto argb = QImage::Format_ARGB32;
    const auto premultiplied = QImage::Format_ARGB32_Premultiplied;
    struct Case {
        const char *what;
        QImage image;
        int colourType;
        int bitDepth;
    };
    const Case cases[] = {
        {"black and white", picture(37, 9, rgb, [](int i) { return grey(i % 3 ? 255 : 0); }), Grey, 1},
        {"four even greys", picture(19, 5, rgb, [](int i) { return grey(85 * (i % 4)); }), Grey, 2},
        {"sixteen even greys", picture(23, 7, rgb, [](int i) { return grey(17 * (i % 16)); }), Grey, 4},
        {"every grey", picture(64, 8, rgb, [](int i) { return grey(i % 256); }), Grey, 8},
        // Three odd greys need 8 bits as grey but 2 as palette indices.
        {"three odd greys", picture(11, 3, rgb, [](int i) { return grey(10 + 90 * (i % 3)); }), Palette, 2},
        {"two colours", picture(9, 9, argb, [](int i) { return i % 2 ? qRgb(200, 0, 0) : qRgb(0, 0, 200); }),
         Palette, 1},
        {"200 colours", picture(40, 10, rgb, [](int i) { return qRgb(i % 200, 7, 3 * (i % 200) % 256); }),
         Palette, 8},
        {"300 opaque colours", picture(30, 10, rgb, [](int i) { return qRgb(i % 256, i / 256, 9); }), Rgb, 8},
        {"300 clear and partly clear colours",
         picture(30, 10, argb, [](int i) { return qRgba(i % 256, i / 256, 9, 255 - i % 200); }), Rgba, 8},
        {"the same premultiplied",
         picture(30, 10, premultiplied,
                 [](int i) { return qPremultiply(qRgba(i % 256, i / 256, 9, 255 - i % 200)); }),
         Rgba, 8},
        {"300 greys with alpha", picture(30, 10, argb, [](int i) { return grey(i % 256, 100 + i / 256); }),
         GreyAlpha, 8},
        {"premultiplied greys with alpha",
         picture(32, 16, premultiplied,
                 [](int i) { return qPremultiply(grey(i % 256, i < 256 ? 255 : 200)); }),
         GreyAlpha, 8},
        // Premultiplying folds neighbouring greys into one: at most 256 colours are left.
        {"premultiplied greys folded",
         picture(30, 10, premultiplied, [](int i) { return qPremultiply(grey(i % 256, 100 + i / 256)); }),
         Palette, 8},
        // A card with a clear outside, an opaque inside and soft edges: a palette with its
        // transparency, colours kept under straight alpha.
        {"clear outside, soft edges",
         picture(25, 6, premultiplied,
                 [](int i) {
                     return i % 25 < 3   ? 0u
                            : i % 25 < 6 ? qPremultiply(qRgba(30, 60, 90, 40 * (i % 25)))
                                         : qRgb(30, 60, 90);
                 }),
         Palette, 4},
        {"straight clear pixels of different colours",
         picture(13, 4, argb, [](int i) { return qRgba(i % 5, 50, 60, i % 2 ? 0 : 255); }), Palette, 4},
    };
    for (const Case &c : cases) {
        QString error;
        const QByteArray png = PngEncoder::encode(c.image, 300, &error);
        ASSERT_FALSE(png.isEmpty()) << c.what << ": " << error.toStdString();
        const Header h = headerOf(png);
        EXPECT_EQ(h.colourType, c.colourType) << c.what;
        EXPECT_EQ(h.bitDepth, c.bitDepth) << c.what;
        EXPECT_EQ(hasChunk(png, "PLTE"), c.colourType == Palette) << c.what;
        EXPECT_EQ(hasChunk(png, "tRNS"), c.colourType == Palette && !PngEncoder::isOpaque(c.image)) << c.what;
        EXPECT_TRUE(hasChunk(png, "pHYs")) << c.what;
        expectSamePixels(c.image, png, c.what);
        EXPECT_EQ(png, PngEncoder::encode(c.image, 300)) << c.what << ": the same pixels, the same bytes";
    }
}

// Samples of 1, 2 and 4 bits fill a row's last byte only partly: every width, and pictures in
// formats the encoder converts first.
TEST(PngEncoder, PackedSamplesOfEveryWidthAndConvertedFormats)
{
    QByteArray buffer;
    for (int w = 1; w <= 17; ++w) {
        for (int levels : {2, 4, 16, 3}) {
            const QImage img = picture(w, 3, QImage::Format_RGB32, [&](int i) {
                return levels == 3 ? qRgb(i % 3 * 100, 0, 0) : grey(255 / (levels - 1) * ((i * 7) % levels));
            });
            ASSERT_TRUE(PngEncoder::encodeInto(img, 0, buffer));
            EXPECT_FALSE(hasChunk(buffer, "pHYs"));
            expectSamePixels(img, buffer, std::to_string(w) + " wide, " + std::to_string(levels) + " levels");
        }
    }
    QImage indexed(21, 5, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(255, 0, 0), qRgba(0, 255, 0, 128), qRgb(0, 0, 255)});
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 21; ++x)
            indexed.setPixel(x, y, uint((x + y) % 3));
    QImage grey8(21, 5, QImage::Format_Grayscale8);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 21; ++x)
            grey8.bits()[y * grey8.bytesPerLine() + x] = uchar(x * 12);
    for (const QImage &img : {indexed, grey8, indexed.convertToFormat(QImage::Format_RGB888),
                              indexed.convertToFormat(QImage::Format_RGBA8888)}) {
        ASSERT_TRUE(PngEncoder::encodeInto(img, 72, buffer));
        expectSamePixels(img, buffer, "format " + std::to_string(int(img.format())));
    }
    // Pictures large enough that they are converted in bands: every row of every band, up to the
    // last, partly filled one.
    const auto soft = [](int i) { return qPremultiply(qRgba(i % 251, i % 241, i % 239, i % 256)); };
    const QImage large = picture(1013, 203, QImage::Format_ARGB32_Premultiplied, soft);
    for (const QImage &img : {large, large.convertToFormat(QImage::Format_RGBA8888),
                              large.convertToFormat(QImage::Format_RGB888)}) {
        ASSERT_TRUE(PngEncoder::encodeInto(img, 300, buffer));
        expectSamePixels(img, buffer, "large, format " + std::to_string(int(img.format())));
    }
}

// Barcode pictures as the batch road draws them: black on white, written as 1-bit grey, and read
// back by an independent decoder.
TEST(PngEncoder, BarcodePicturesAreSmallAndStillDecode)
{
    if (!testsupport::hasTool("ZXingReader"))
        GTEST_SKIP() << "ZXingReader is not installed";
    QTemporaryDir tmp;
    struct Symbol {
        const char *title;
        int linearOr2d;
        QString value;
        const char *format;
    };
    const Symbol symbols[] = {{"Code 128", 0, QStringLiteral("TSLY-4417"), "Code128"},
                              {"QR Code", 1, QStringLiteral("https://example.com/c/Q7XK2"), "QRCode"}};
    for (const Symbol &s : symbols) {
        BarcodeSettings settings;
        settings.symbologyTitle = QString::fromLatin1(s.title);
        settings.linear_or_2d = s.linearOr2d;
        settings.dpi = 300;
        settings.qr_size_val = 60;
        settings.linear_width_val = 10;
        settings.show_hide_hdr = 1;
        settings.show_hide_ftr = 1;
        const BarcodeResult made = BarcodeGenerator::Get_Image_From_Val(settings, s.value, {}, {});
        ASSERT_TRUE(made.ok()) << s.title;
        for (const QColor &background : {QColor(Qt::white), QColor(Qt::transparent)}) {
            const QImage image = made.picture.toImage(300, background);
            const QByteArray png = PngEncoder::encode(image, 300);
            expectSamePixels(image, png, s.title);
            const QString path = tmp.filePath(QStringLiteral("%1.png").arg(s.linearOr2d));
            ASSERT_TRUE(testsupport::writeFile(path, png));
            if (background == Qt::white) {
                const Header h = headerOf(png);
                EXPECT_TRUE(h.colourType == 0 || h.colourType == 3) << s.title << " " << h.colourType;
                EXPECT_LT(png.size(), image.width() * image.height() / 8 + 1024) << s.title;
                EXPECT_TRUE(batchtest::decode(path, QString::fromLatin1(s.format))
                                .contains(QString::fromLatin1(s.format) + ":" + s.value))
                    << s.title;
            } else {
                ASSERT_TRUE(
                    testsupport::writeFile(path, PngEncoder::encode(testsupport::onWhite(image, 20), 300)));
                EXPECT_TRUE(batchtest::decode(path, QString::fromLatin1(s.format))
                                .contains(QString::fromLatin1(s.format) + ":" + s.value))
                    << s.title << " on a clear background";
            }
        }
    }
}

// Photos take their rows' differences from the left neighbour, 8-bit grey from the row above,
// other drawn pictures none; either way an independent reader (Pillow) gets the very pixels, with
// and without alpha.
TEST(PngEncoder, PhotosAreFilteredAndReadBackExactly)
{
    if (testsupport::python(QStringLiteral("import PIL")).exitCode != 0)
        GTEST_SKIP() << "python3-pil is not installed";
    const auto photo = [](int i) {
        const int x = i % 301, y = i / 301;
        return qRgba((x * 7 + y * 3) % 256, (x * x + y) % 251, (x ^ y) & 0xff, 255 - (x + y) % 97);
    };
    const QImage busy = picture(301, 40, QImage::Format_ARGB32, photo);
    struct Case {
        const char *what;
        QImage image;
        int filter; // of every row
    };
    const Case cases[] = {
        {"photo with alpha", busy, 1},
        {"opaque photo", busy.convertToFormat(QImage::Format_RGB32), 1},
        {"premultiplied photo", busy.convertToFormat(QImage::Format_ARGB32_Premultiplied), 1},
        {"runs of colour",
         picture(301, 40, QImage::Format_RGB32, [](int i) { return qRgb(i / 97 % 256, 40, i / 13 % 256); }),
         0},
        {"noise over several chunks of deflated pixels",
         picture(400, 300, QImage::Format_ARGB32, [](int i) { return quint32(i) * 2654435761u; }), 1},
        {"grey bars and smoothed text",
         picture(301, 40, QImage::Format_RGB32,
                 [](int i) {
                     const int x = i % 301, y = i / 301,
                               v = y < 30 ? (x / 5 % 3 ? 255 : 0) : (x * 37 + y * 11) % 256;
                     return qRgb(v, v, v);
                 }),
         2},
        {"grey noise handed over in many pieces, over several chunks",
         picture(700, 400, QImage::Format_RGB32,
                 [](int i) { return grey(int((quint32(i) * 2654435761u) >> 24)); }),
         2},
    };
    const QString script = QStringLiteral(
        "import sys, zlib, hashlib\n"
        "from PIL import Image\n"
        "data = open(sys.argv[1], 'rb').read()\n"
        "at, idat, ihdr = 8, b'', None\n"
        "while at < len(data):\n"
        "    n = int.from_bytes(data[at:at + 4], 'big'); kind = data[at + 4:at + 8]\n"
        "    if kind == b'IHDR': ihdr = data[at + 8:at + 8 + n]\n"
        "    if kind == b'IDAT': idat += data[at + 8:at + 8 + n]\n"
        "    at += 12 + n\n"
        "w, h = int.from_bytes(ihdr[0:4], 'big'), int.from_bytes(ihdr[4:8], 'big')\n"
        "raw = zlib.decompress(idat); stride = len(raw) // h\n"
        "print(sorted(set(raw[y * stride] for y in range(h))))\n"
        "print(hashlib.sha1(Image.open(sys.argv[1]).convert('RGBA').tobytes()).hexdigest())\n");
    QTemporaryDir tmp;
    for (const Case &c : cases) {
        const QByteArray png = PngEncoder::encode(c.image, 300);
        expectSamePixels(c.image, png, c.what);
        const QString path = tmp.filePath(QStringLiteral("p.png"));
        ASSERT_TRUE(testsupport::writeFile(path, png));
        const QImage want = c.image.convertToFormat(QImage::Format_RGBA8888);
        QCryptographicHash sha(QCryptographicHash::Sha1);
        for (int y = 0; y < want.height(); ++y)
            sha.addData(
                QByteArrayView(reinterpret_cast<const char *>(want.constScanLine(y)), want.width() * 4));
        const testsupport::ProcResult read = testsupport::python(script, {path});
        ASSERT_EQ(read.exitCode, 0) << c.what << ": " << read.errText().toStdString();
        EXPECT_EQ(read.outText().split(QLatin1Char('\n')).value(0), QStringLiteral("[%1]").arg(c.filter))
            << c.what;
        EXPECT_EQ(read.outText().split(QLatin1Char('\n')).value(1), QString::fromLatin1(sha.result().toHex()))
            << c.what;
    }
}

namespace
{

// libspng's reading of a PNG as 8-bit RGBA ("refused" when it refuses the file), nothing when the
// tests are built without it.
std::optional<QByteArray> spngRgba(const QByteArray &png)
{
#ifdef TESSALY_HAVE_SPNG
    spng_ctx *ctx = spng_ctx_new(0);
    QByteArray out = "refused";
    size_t length = 0;
    if (spng_set_png_buffer(ctx, png.constData(), size_t(png.size())) == 0 &&
        spng_decoded_image_size(ctx, SPNG_FMT_RGBA8, &length) == 0) {
        out.resize(qsizetype(length));
        if (spng_decode_image(ctx, out.data(), length, SPNG_FMT_RGBA8, SPNG_DECODE_TRNS) != 0)
            out = "refused";
    }
    spng_ctx_free(ctx);
    return out;
#else
    Q_UNUSED(png);
    return std::nullopt;
#endif
}

// A random picture of one of the kinds cards hold, in one of the formats callers hand over: kinds
// that fit each grey depth and palette size, with and without partly clear colours, grey with
// alpha, and more colours than a palette holds; rows repeated, runs of one colour and noise.
QImage randomPicture(std::mt19937 &random, int kind)
{
    auto below = [&](int n) { return int(random() % unsigned(n)); };
    const bool large = below(40) == 0; // deflated pixels over several chunks
    const int w = large ? 200 + below(300) : 1 + below(70), h = large ? 60 + below(60) : 1 + below(40);
    // Each kind's colour of a random number r.
    const std::function<QRgb(quint32)> colours[] = {
        [](quint32 r) { return grey(r & 1 ? 255 : 0); },                       // 1-bit grey
        [](quint32 r) { return grey(int(r % 4) * 85); },                       // 2-bit grey
        [](quint32 r) { return grey(int(r % 16) * 17); },                      // 4-bit grey
        [](quint32 r) { return grey(int(r % 256)); },                          // 8-bit grey
        [](quint32 r) { return qRgb(int(r % 7) * 40, int(r % 5) * 60, 200); }, // a few colours
        [](quint32 r) { return qRgba(int(r % 9) * 30, 90, int(r % 3) * 120, int(r % 4) * 85); },
        [](quint32 r) { return grey(int(r % 256), int(r >> 8 & 0xff)); }, // grey with alpha
        [](quint32 r) { return r | 0xff000000u; },                        // RGB
        [](quint32 r) { return QRgb(r); },                                // RGBA
    };
    const auto &colour = colours[kind];
    // Up to 256 of them for the kinds of few colours, more for the others.
    std::vector<QRgb> palette(size_t(1 + below(kind < 6 ? 256 : 4096)));
    for (QRgb &c : palette)
        c = colour(quint32(random()));
    QImage img(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y) {
        auto *line = reinterpret_cast<QRgb *>(img.scanLine(y));
        if (y > 0 && below(3) == 0) {
            std::memcpy(line, img.constScanLine(y - 1), size_t(w) * 4);
            continue;
        }
        const bool noise = below(2) == 0;
        for (int x = 0; x < w;) {
            const QRgb c = palette[size_t(below(int(palette.size())))];
            for (int run = noise ? 1 : 1 + below(12); run > 0 && x < w; --run)
                line[x++] = c;
        }
    }
    const bool opaque = kind < 5 || kind == 7;
    const QImage::Format formats[] = {QImage::Format_ARGB32,
                                      QImage::Format_ARGB32_Premultiplied,
                                      QImage::Format_RGBA8888,
                                      opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32,
                                      opaque ? QImage::Format_RGB888 : QImage::Format_RGBA64,
                                      kind < 4 ? QImage::Format_Grayscale8 : QImage::Format_ARGB32};
    return img.convertToFormat(formats[below(6)]);
}

} // namespace

// Thousands of random pictures of every colour type through the encoder: Pillow, libspng and Qt
// each read back the very pixels given (straight alpha, as Qt converts them), and pngcheck finds
// every file sound.
TEST(PngEncoder, RandomPicturesOfEveryColourTypeReadBackExactlyEverywhere)
{
    constexpr int Pictures = 2200, Kinds = 9;
    std::mt19937 random(20261209);
    QTemporaryDir tmp;
    QStringList files;
    std::set<std::pair<int, int>> types; // colour type and bit depth of the files written
    for (int i = 0; i < Pictures; ++i) {
        const QImage source = randomPicture(random, i % Kinds);
        const std::string what = "picture " + std::to_string(i) + " (" + std::to_string(source.width()) +
                                 " x " + std::to_string(source.height()) + ", format " +
                                 std::to_string(source.format()) + ")";
        const QByteArray png = PngEncoder::encode(source, 300);
        ASSERT_FALSE(png.isEmpty()) << what;
        const Header header = headerOf(png);
        types.insert({header.colourType, header.bitDepth});
        const QImage want = source.convertToFormat(QImage::Format_RGBA8888);
        QByteArray pixels;
        for (int y = 0; y < want.height(); ++y)
            pixels.append(reinterpret_cast<const char *>(want.constScanLine(y)), want.width() * 4);
        if (const std::optional<QByteArray> spng = spngRgba(png)) {
            ASSERT_EQ(*spng, pixels) << what << " as libspng reads it";
        }
        ASSERT_EQ(QImage::fromData(png, "PNG").convertToFormat(QImage::Format_RGBA8888), want)
            << what << " as Qt reads it";
        const QString path = tmp.filePath(QString::number(i));
        ASSERT_TRUE(testsupport::writeFile(path + QStringLiteral(".png"), png));
        ASSERT_TRUE(testsupport::writeFile(path + QStringLiteral(".rgba"), pixels));
        files << path;
    }
    const std::set<std::pair<int, int>> every = {{0, 1}, {0, 2}, {0, 4}, {0, 8}, {2, 8}, {3, 1},
                                                 {3, 2}, {3, 4}, {3, 8}, {4, 8}, {6, 8}};
    EXPECT_EQ(types, every);

    if (testsupport::python(QStringLiteral("import PIL")).exitCode == 0) {
        const testsupport::ProcResult read = testsupport::python(
            QStringLiteral("import sys\n"
                           "from PIL import Image\n"
                           "for path in sys.argv[1:]:\n"
                           "    if Image.open(path + '.png').convert('RGBA').tobytes() != "
                           "open(path + '.rgba', 'rb').read():\n"
                           "        print(path)\n"),
            files);
        EXPECT_EQ(read.exitCode, 0) << read.errText().toStdString();
        EXPECT_EQ(read.outText(), QString()) << "pictures Pillow reads otherwise";
    } else {
        ADD_FAILURE() << "python3-pil is not installed";
    }
    if (testsupport::hasTool(QStringLiteral("pngcheck"))) {
        QStringList pngs;
        for (const QString &f : files)
            pngs << f + QStringLiteral(".png");
        const testsupport::ProcResult check =
            testsupport::run(QStringLiteral("pngcheck"), QStringList{"-q"} + pngs);
        EXPECT_EQ(check.exitCode, 0) << check.outText().toStdString();
    } else {
        ADD_FAILURE() << "pngcheck is not installed";
    }
}
