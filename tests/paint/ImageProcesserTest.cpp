#include "paint/ImageProcesser.h"
#include "paint/PictureOps.h"
#include "paint/ProcessedPictures.h"

#include <QPainter>
#include <QPicture>
#include <gtest/gtest.h>

#include <optional>
#include <thread>
#include <vector>

namespace
{

// A picture with a colour ramp, a red block and a transparent corner, so colour stages have work.
Picture testPicture(int w = 40, int h = 20)
{
    QImage img(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgba(x * 255 / w, y * 255 / h, (x * y) % 256, 255));
    QPainter p(&img);
    p.fillRect(0, 0, w / 4, h / 4, Qt::red);
    p.end();
    img.setPixel(w - 1, h - 1, qRgba(0, 0, 0, 0));
    return Picture(img);
}

QImage pixels(const Picture &p)
{
    return ImageProcesser::pixelsOf(p).convertToFormat(QImage::Format_ARGB32);
}

int maxDiff(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return 1000;
    int d = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            if (qAlpha(p) == 0 && qAlpha(q) == 0)
                continue;
            d = std::max({d, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                          std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
        }
    return d;
}

} // namespace

TEST(ImageProcesser, NeutralSettingsChangeNothing)
{
    const Picture in = testPicture();
    auto out = ImageProcesser::Get_Processed_Image(in, false, false, false, 0, 1, 0, 1, 0, 0, 0, 0, 100);
    ASSERT_TRUE(out);
    EXPECT_EQ(out->size(), in.size());
    EXPECT_EQ(maxDiff(pixels(*out), pixels(in)), 0);
    EXPECT_EQ(maxDiff(pixels(ImageProcesser::adjust_Gamma(in, 1)), pixels(in)), 0);
    // Transparency is accepted and never used.
    auto faded = ImageProcesser::Get_Processed_Image(in, false, false, false, 0, 1, 0, 1, 0, 0, 0, 0, 3);
    EXPECT_EQ(maxDiff(pixels(*faded), pixels(in)), 0);
    EXPECT_FALSE(
        ImageProcesser::Get_Processed_Image(Picture(), false, false, false, 0, 1, 0, 1, 0, 0, 0, 0, 0));
}

TEST(ImageProcesser, ColourStagesHaveTheirProperties)
{
    const Picture in = testPicture();
    const QImage gray = pixels(ImageProcesser::GrayScale(in));
    for (int y = 0; y < gray.height(); ++y)
        for (int x = 0; x < gray.width(); ++x) {
            const QRgb p = gray.pixel(x, y);
            if (qAlpha(p) == 0)
                continue;
            ASSERT_EQ(qRed(p), qGreen(p));
            ASSERT_EQ(qGreen(p), qBlue(p));
        }
    EXPECT_EQ(qAlpha(gray.pixel(39, 19)), 0);

    const Picture inverted = ImageProcesser::Invert_Color(in);
    EXPECT_EQ(qRed(pixels(inverted).pixel(0, 0)), 0);
    EXPECT_EQ(maxDiff(pixels(ImageProcesser::Invert_Color(inverted)), pixels(in)), 0);

    // A full turn of hue comes back; saturation 0 is gray; contrast 0 is mid gray.
    EXPECT_LE(maxDiff(pixels(ImageProcesser::adjust_Hue(in, float(2 * M_PI))), pixels(in)), 2);
    const QImage desat = pixels(ImageProcesser::adjust_Color_Control(in, 0, 0, 1));
    EXPECT_LE(std::abs(qRed(desat.pixel(5, 5)) - qBlue(desat.pixel(5, 5))), 1);
    const QImage flat = pixels(ImageProcesser::adjust_Color_Control(in, 1, 0, 0));
    EXPECT_NEAR(qRed(flat.pixel(3, 3)), 128, 1);

    // Exposure +1 brightens, blur evens out the red block's edge, sepia warms pure blue.
    EXPECT_GT(qGreen(pixels(ImageProcesser::adjust_EV(in, 1)).pixel(20, 10)),
              qGreen(pixels(in).pixel(20, 10)));
    const QImage blurred = pixels(ImageProcesser::adjust_boxBlur(in, 2));
    EXPECT_LT(qRed(blurred.pixel(9, 2)), 255); // the red block's right edge softens
    EXPECT_GT(qRed(blurred.pixel(9, 2)), 100);
    QImage blue(4, 4, QImage::Format_ARGB32);
    blue.fill(Qt::blue);
    const QRgb s = pixels(ImageProcesser::Sepia(Picture(blue))).pixel(1, 1);
    EXPECT_GT(qRed(s), qBlue(s));
}

TEST(ImageProcesser, VectorPicturesAreFilteredAtFourPixelsPerPoint)
{
    QPicture rec;
    QPainter rp(&rec);
    rp.fillRect(QRectF(0, 0, 10, 5), QColor(200, 30, 30));
    rp.end();
    const Picture vec = Picture::fromVector(rec, QSizeF(10, 5));
    const Picture gray = ImageProcesser::GrayScale(vec);
    EXPECT_EQ(gray.size(), QSizeF(10, 5));
    const QImage px = pixels(gray);
    EXPECT_EQ(px.size(), QSize(40, 20));
    EXPECT_EQ(qRed(px.pixel(20, 10)), qBlue(px.pixel(20, 10)));
    EXPECT_GT(qAlpha(px.pixel(20, 10)), 250);
}

TEST(ImageProcesser, SizeCapKeepsTheCallersPicture)
{
    QImage img(10, 10, QImage::Format_ARGB32);
    img.fill(Qt::green);
    const Picture wide(img, QSizeF(1000, 300));
    EXPECT_EQ(ImageProcesser::Set_Dimaension(wide).size(), QSizeF(724, 300));
    EXPECT_EQ(wide.size(), QSizeF(1000, 300));
    EXPECT_EQ(ImageProcesser::Set_Dimaension(Picture(img, QSizeF(500, 600))).size(), QSizeF(500, 468));
    EXPECT_EQ(ImageProcesser::Set_Dimaension(Picture(img, QSizeF(724, 468))).size(), QSizeF(724, 468));
    auto out = ImageProcesser::Get_Processed_Image(wide, false, false, false, 0, 1, 0, 1, 0, 0, 0, 0, 100);
    EXPECT_EQ(out->size(), QSizeF(724, 300));
}

TEST(ImageProcesser, RotationSizes)
{
    const Picture in = testPicture(100, 50);
    EXPECT_EQ(ImageProcesser::imageRotated(in, 0).image().constBits(), in.image().constBits());
    EXPECT_EQ(ImageProcesser::imageRotated(in, 360).image().constBits(), in.image().constBits());
    EXPECT_EQ(ImageProcesser::imageRotated(in, -360).size(), QSizeF(100, 50));
    EXPECT_EQ(ImageProcesser::imageRotated(in, 90).size(), QSizeF(50, 100));
    EXPECT_EQ(ImageProcesser::imageRotated(in, -270).size(), QSizeF(50, 100));
    EXPECT_EQ(ImageProcesser::imageRotated(in, 450).size(), QSizeF(50, 100));
    EXPECT_EQ(ImageProcesser::imageRotated(in, 180).size(), QSizeF(100, 50));
    EXPECT_EQ(ImageProcesser::imageRotated(in, 45).size(), QSizeF(120, 120));
    // The chain truncates 89.9 to 89: a square, not swapped sides.
    auto out =
        ImageProcesser::Get_Processed_Image(in, false, false, false, 0, 1, 0, 1, int(89.9f), 0, 0, 0, 100);
    EXPECT_EQ(out->size(), QSizeF(120, 120));

    // 180 turns the red top-left block to the bottom right; 90 (counter-clockwise) to the bottom left.
    const QImage half = pixels(ImageProcesser::imageRotated(in, 180));
    EXPECT_EQ(half.pixel(98, 48), qRgba(255, 0, 0, 255));
    const QImage quarter = pixels(ImageProcesser::imageRotated(in, 90));
    EXPECT_EQ(quarter.pixel(2, 97), qRgba(255, 0, 0, 255));

    EXPECT_EQ(ImageProcesser::adjust_Rotate(in, 0).image().constBits(), in.image().constBits());
    const QSizeF r = ImageProcesser::adjust_Rotate(in, 90).size();
    EXPECT_NEAR(r.width(), 50, 1e-6);
    EXPECT_NEAR(r.height(), 100, 1e-6);
    const QSizeF d = ImageProcesser::imageRotatedByDegrees(testPicture(100, 100), 45).size();
    EXPECT_NEAR(d.width(), 141.42, 0.01);
    EXPECT_NEAR(d.height(), 141.42, 0.01);
}

TEST(PictureOps, SizesAndBitmaps)
{
    QImage img(300, 300, QImage::Format_ARGB32);
    img.fill(Qt::white);
    const Picture p(img, QSizeF(10, 10));
    EXPECT_EQ(PictureOps::normalizeSize(p).size(), QSizeF(300, 300));
    EXPECT_EQ(PictureOps::setDPI(p, 144).size(), QSizeF(150, 150));
    EXPECT_EQ(PictureOps::setDPI(p, 72).size(), PictureOps::normalizeSize(p).size());
    EXPECT_TRUE(PictureOps::bitmapImageRepresentation(Picture(img, QSizeF(0.9, 10))).isNull());
    const QImage bmp = PictureOps::bitmapImageRepresentation(Picture(img, QSizeF(12.7, 5)));
    EXPECT_EQ(bmp.size(), QSize(12, 5));
    EXPECT_FALSE(PictureOps::toPngData(p).isEmpty());

    QImage dot(4, 4, QImage::Format_ARGB32);
    dot.fill(Qt::transparent);
    dot.setPixel(1, 1, qRgba(0, 0, 0, 255));
    const QImage tinted = pixels(ImageProcesser::imageTintedWithColor(Picture(dot), Qt::red));
    EXPECT_EQ(tinted.pixel(1, 1), qRgba(255, 0, 0, 255));
    EXPECT_EQ(qAlpha(tinted.pixel(0, 0)), 0);
}

TEST(ProcessedPictures, EachPictureAndFilterValuesAreFilteredOnceAsTheChainWould)
{
    ProcessedPictures::clear();
    QImage pixels(40, 30, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            pixels.setPixel(x, y, qRgb(x * 6, y * 8, 120));
    const Picture photo(pixels, QSizeF(40, 30));
    ProcessedPictures::Filters grey;
    grey.grayscale = true;
    ProcessedPictures::Filters blurred = grey;
    blurred.blur = 3;
    EXPECT_TRUE(ProcessedPictures::isReady(photo, {})); // nothing to filter
    for (const auto &filters : {grey, blurred}) {
        EXPECT_FALSE(ProcessedPictures::isReady(photo, filters));
        const std::optional<Picture> first = ProcessedPictures::processed(photo, filters);
        EXPECT_TRUE(ProcessedPictures::isReady(photo, filters));
        const std::optional<Picture> again = ProcessedPictures::processed(Picture(photo), filters);
        ASSERT_TRUE(first && again);
        EXPECT_EQ(first->image().constBits(), again->image().constBits());
        const std::optional<Picture> chain = ImageProcesser::Get_Processed_Image(
            photo, filters.grayscale, false, false, 0, 1, 0, 1, 0, 0, 0, filters.blur, 0);
        EXPECT_EQ(first->image(), chain->image());
    }
    // Other pixels of the same size are filtered on their own.
    QImage other = pixels.copy();
    other.setPixel(0, 0, qRgb(255, 255, 255));
    EXPECT_FALSE(ProcessedPictures::isReady(Picture(other, QSizeF(40, 30)), grey));
}

TEST(ProcessedPictures, ThreadsFilteringOnePictureGetOneResult)
{
    ProcessedPictures::clear();
    QImage pixels(200, 150, QImage::Format_ARGB32_Premultiplied);
    pixels.fill(qRgb(200, 40, 90));
    const Picture photo(pixels);
    ProcessedPictures::Filters sepia;
    sepia.sepia = true;
    std::vector<std::optional<Picture>> made(6);
    std::vector<std::thread> threads;
    for (size_t i = 0; i < made.size(); ++i)
        threads.emplace_back([&, i] { made[i] = ProcessedPictures::processed(photo, sepia); });
    for (std::thread &t : threads)
        t.join();
    const std::optional<Picture> kept = ProcessedPictures::processed(photo, sepia);
    for (const auto &m : made)
        EXPECT_EQ(m->image(), kept->image());
}
