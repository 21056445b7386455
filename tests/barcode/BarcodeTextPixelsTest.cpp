// Barcode texts are measured and outlined from caches kept per thread: what they give is what a
// fresh font and a fresh layout give, to the last bit, and the pictures drawn with them (texts
// from glyph images kept per thread) keep their pixels and colours, cold or warm, on any thread.
#include "BarcodeTestSupport.h"

#include "barcode/BarcodeText.h"
#include "platform/FontResolver.h"

#include <QCryptographicHash>
#include <QFontMetricsF>
#include <QPainter>
#include <QTransform>

#include <gtest/gtest.h>

#include <future>
#include <vector>

using namespace barcodetest;

namespace
{

// What the texts were before any cache: a font made for the call, laid out for the call.
QFont freshFont(const FontDescriptor &font, double kern)
{
    QFont f = FontResolver::font(font.postScriptName, std::max(font.size, 0.01));
    f.setPixelSize(1000);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setKerning(false);
    if (kern != 0.0)
        f.setLetterSpacing(QFont::AbsoluteSpacing, kern * 1000.0 / std::max(font.size, 0.01));
    return f;
}

QPainterPath freshOutline(const QString &text, const FontDescriptor &font, double kern, QPointF origin)
{
    QPainterPath path;
    if (text.isEmpty())
        return path;
    path.addText(QPointF(0, 0), freshFont(font, kern), text);
    const double s = std::max(font.size, 0.01) / 1000.0;
    QTransform t;
    t.translate(origin.x(), origin.y());
    t.scale(s, s);
    return t.map(path);
}

// Element by element, coordinates compared as bits.
bool samePath(const QPainterPath &a, const QPainterPath &b)
{
    if (a.elementCount() != b.elementCount() || a.fillRule() != b.fillRule())
        return false;
    for (int i = 0; i < a.elementCount(); ++i) {
        const QPainterPath::Element ea = a.elementAt(i), eb = b.elementAt(i);
        if (ea.type != eb.type || std::memcmp(&ea.x, &eb.x, sizeof(double)) != 0 ||
            std::memcmp(&ea.y, &eb.y, sizeof(double)) != 0)
            return false;
    }
    return true;
}

struct TextCase {
    QString text;
    FontDescriptor font;
    double kern;
};

std::vector<TextCase> textCases()
{
    const QStringList texts = {QStringLiteral("0XGR2569"),         QStringLiteral("XLCKUD26"),
                               QStringLiteral("5 901234 123457"),  QStringLiteral("Guest list"),
                               QStringLiteral("fin office AV Wa"), QStringLiteral("Row 12 of 1,000"),
                               QStringLiteral("Zürich – café"),    QStringLiteral("i"),
                               QStringLiteral(" Row 12  "),        QString()};
    const std::vector<FontDescriptor> fonts = {{QStringLiteral("TimesNewRomanPSMT"), 10.0},
                                               {QStringLiteral("TimesNewRomanPSMT"), 7.5},
                                               {QStringLiteral("Helvetica-Bold"), 12.0},
                                               {QStringLiteral("Courier"), 0.0}};
    std::vector<TextCase> out;
    for (const FontDescriptor &font : fonts)
        for (const double kern : {0.0, 2.0, 1.37, -0.4})
            for (const QString &text : texts)
                out.push_back({text, font, kern});
    return out;
}

// Every case twice (the second from the caches), checked against the fresh layout: the failures.
QStringList checkTexts()
{
    QStringList failures;
    for (int round = 0; round < 2; ++round)
        for (const TextCase &c : textCases()) {
            const QString name = QStringLiteral("%1 %2 %3 kern %4")
                                     .arg(c.text, c.font.postScriptName)
                                     .arg(c.font.size)
                                     .arg(c.kern);
            const QPointF origin(3.25 + round, 17.125);
            if (!samePath(BarcodeText::outline(c.text, c.font, c.kern, origin),
                          freshOutline(c.text, c.font, c.kern, origin)))
                failures << QStringLiteral("outline of ") + name;
            const QFontMetricsF m(freshFont(c.font, c.kern));
            const double s = std::max(c.font.size, 0.01) / 1000.0;
            const QSizeF size = BarcodeText::size(c.text, c.font, c.kern);
            const double width = c.text.isEmpty() ? 0.0 : m.horizontalAdvance(c.text);
            if (size.width() != width * s || size.height() != m.height() * s)
                failures << QStringLiteral("size of ") + name;
            const QFontMetricsF plain(freshFont(c.font, 0));
            if (BarcodeText::ascent(c.font) != plain.ascent() * s ||
                BarcodeText::descent(c.font) != plain.descent() * s ||
                BarcodeText::capHeight(c.font) != plain.capHeight() * s)
                failures << QStringLiteral("metrics of ") + name;
        }
    return failures;
}

// The picture drawn as a card export draws it: into a transparent premultiplied image at the
// resolution, clipped to its place, which starts at a fraction of a point.
QByteArray exportedPixels(const Picture &picture, double dpi)
{
    const QSizeF size = picture.size() + QSizeF(1.5, 1.5);
    const double k = dpi / 72.0;
    QImage image(int(std::ceil(size.width() * k)), int(std::ceil(size.height() * k)),
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.scale(k, k);
    const QRectF target(QPointF(0.75, 0.5), picture.size());
    painter.setClipRect(target, Qt::IntersectClip);
    picture.draw(painter, target);
    painter.end();
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (int y = 0; y < image.height(); ++y)
        hash.addData(QByteArrayView(image.constScanLine(y), image.width() * 4));
    return hash.result().toHex().left(16);
}

struct PictureCase {
    const char *name;
    QString title;
    QString value, header, footer;
    void (*adjust)(BarcodeSettings &);
    const char *at300, *at72; // checksums of the pixels
};

// Every picture drawn twice (the second from warm caches), checked against its checksums: the
// failures.
QStringList checkPictures()
{
    const std::vector<PictureCase> cases = {
        {"Code 128, caption, header and footer", QStringLiteral("Code 128"), QStringLiteral("0XGR2569"),
         QStringLiteral("Guest list"), QStringLiteral("Row 12"), [](BarcodeSettings &) {}, "dc773d4b0126cca3",
         "76292d341c0c4ec2"},
        {"Code 128, value spread over the bars, on top", QStringLiteral("Code 128"),
         QStringLiteral("XLCKUD26"), QString(), QString(),
         [](BarcodeSettings &s) {
             s.kerning_value = 1;
             s.show_val_on_top = 1;
             s.align_hdr_index = 2;
         },
         "255ef15f776e5432", "49b7dc7bd07d895a"},
        {"EAN-13, caption in parts", QStringLiteral("EAN-13"), QStringLiteral("590123412345"),
         QStringLiteral("Left"), QStringLiteral("Footer text"),
         [](BarcodeSettings &s) { s.align_ftr_index = 0; }, "c2ba511a49c4d398", "d02baf8e4d71fef6"},
        {"UPCA", QStringLiteral("UPCA"), QStringLiteral("03600029145"), QString(), QString(),
         [](BarcodeSettings &s) {
             s.value_font = {QStringLiteral("Helvetica-Bold"), 9.0};
         },
         "ca5a25983c253b4c", "09d8293d974e7c5d"},
        {"Code 39", QStringLiteral("Code 39"), QStringLiteral("CARD-42"), QStringLiteral("Header"), QString(),
         [](BarcodeSettings &) {}, "18b32318b3edce18", "842eac987d39dfa4"},
        {"QR Code, header and footer", QStringLiteral("QR Code"),
         QStringLiteral("https://example.com/guest?id=7"), QStringLiteral("Scan me"),
         QStringLiteral("example.com"), [](BarcodeSettings &) {}, "1e0385ea2937cba8", "6ca8274b43729e4c"},
    };
    QStringList failures;
    for (const PictureCase &c : cases) {
        BarcodeSettings settings = settingsFor(c.title);
        c.adjust(settings);
        for (int round = 0; round < 2; ++round) {
            const BarcodeResult result =
                BarcodeGenerator::Get_Image_From_Val(settings, c.value, c.header, c.footer);
            if (!result.ok() || exportedPixels(result.picture, 300) != c.at300 ||
                exportedPixels(result.picture, 72) != c.at72)
                failures << QString::fromLatin1(c.name) + QStringLiteral(" in round %1").arg(round);
        }
    }
    return failures;
}

} // namespace

TEST(BarcodeText, CachedTextsAreTheFreshLayoutToTheBit)
{
    EXPECT_EQ(checkTexts(), QStringList());
}

TEST(BarcodeText, CachesOnManyThreadsGiveTheFreshLayout)
{
    std::vector<std::future<QStringList>> runs;
    for (int i = 0; i < 6; ++i)
        runs.push_back(std::async(std::launch::async, checkTexts));
    for (auto &run : runs)
        EXPECT_EQ(run.get(), QStringList());
}

TEST(BarcodeText, PicturesKeepTheirPixels)
{
    EXPECT_EQ(checkPictures(), QStringList());
}

TEST(BarcodeText, CachesOnManyThreadsKeepThePictures)
{
    std::vector<std::future<QStringList>> runs;
    for (int i = 0; i < 6; ++i)
        runs.push_back(std::async(std::launch::async, checkPictures));
    for (auto &run : runs)
        EXPECT_EQ(run.get(), QStringList());
}

// A thread keeps its glyph images by colour too: the same header drawn in one colour and then in
// another on the same thread takes each colour, not the one its glyphs were first filled in.
TEST(BarcodeText, KeptGlyphImagesKeepTheirColour)
{
    const std::pair<QColor, int> colours[] = {{Qt::red, 0}, {Qt::blue, 2}, {Qt::red, 0}, {Qt::green, 1}};
    BarcodeSettings settings = settingsFor(QStringLiteral("Code 128"));
    for (const auto &[colour, channel] : colours) {
        SCOPED_TRACE(colour.name().toStdString());
        settings.barcode_hdr_clr = colour;
        const BarcodeResult result = BarcodeGenerator::Get_Image_From_Val(
            settings, QStringLiteral("0XGR2569"), QStringLiteral("Guest list"), QString());
        ASSERT_TRUE(result.ok());
        QImage image((result.picture.size() * 300 / 72).toSize(), QImage::Format_ARGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(300.0 / 72, 300.0 / 72);
        result.picture.draw(painter, QRectF(QPointF(), result.picture.size()));
        painter.end();
        // Coloured pixels, by the channel that leads in them.
        int ours = 0, others = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                const int v[3] = {c.red(), c.green(), c.blue()};
                const int lead = int(std::max_element(v, v + 3) - v);
                if (*std::max_element(v, v + 3) - *std::min_element(v, v + 3) > 96)
                    (lead == channel ? ours : others) += 1;
            }
        EXPECT_GT(ours, 100);
        EXPECT_EQ(others, 0);
    }
}
