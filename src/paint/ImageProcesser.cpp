#include "paint/ImageProcesser.h"

#include "platform/Units.h"

#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace
{

// Colour math runs on straight (not premultiplied) 8-bit ARGB so that alpha stays as it was.
QImage straightCopy(const QImage &img)
{
    return img.convertToFormat(QImage::Format_ARGB32);
}

Picture result(const Picture &from, const QImage &pixels)
{
    if (pixels.isNull())
        return from;
    return Picture(pixels.convertToFormat(QImage::Format_ARGB32_Premultiplied), from.size());
}

inline float clamp01(float v)
{
    return v < 0.f ? 0.f : (v > 1.f ? 1.f : v);
}

inline int to8(float v)
{
    return int(clamp01(v) * 255.f + 0.5f);
}

// Rec. 709 luma weights, the ones the colour stages use for "brightness of a pixel".
inline float luma(float r, float g, float b)
{
    return 0.2125f * r + 0.7154f * g + 0.0721f * b;
}

// Replaces every pixel of a straight-alpha copy by fn(pixel).
template <typename Fn> QImage mapPixels(const QImage &src, Fn fn)
{
    QImage img = straightCopy(src);
    if (img.isNull())
        return {};
    for (int y = 0; y < img.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            line[x] = fn(line[x]);
    }
    return img;
}

// Calls fn(r, g, b) with components in [0, 1] for every pixel; the results are clamped back.
template <typename Fn> QImage mapColours(const QImage &src, Fn fn)
{
    return mapPixels(src, [&fn](QRgb p) {
        float r = qRed(p) / 255.f, g = qGreen(p) / 255.f, b = qBlue(p) / 255.f;
        fn(r, g, b);
        return qRgba(to8(r), to8(g), to8(b), qAlpha(p));
    });
}

// A per-channel lookup table applied to every colour component.
QImage mapTable(const QImage &src, const std::array<quint8, 256> &table)
{
    return mapPixels(src, [&table](QRgb p) {
        return qRgba(table[qRed(p)], table[qGreen(p)], table[qBlue(p)], qAlpha(p));
    });
}

float srgbToLinear(float c)
{
    return c <= 0.04045f ? c / 12.92f : std::pow((c + 0.055f) / 1.055f, 2.4f);
}

float linearToSrgb(float c)
{
    c = std::max(c, 0.f);
    return c <= 0.0031308f ? c * 12.92f : 1.055f * std::pow(c, 1.f / 2.4f) - 0.055f;
}

// Running-sum box blur along one direction over premultiplied pixels; edges repeat the border pixel.
void boxPass(const QImage &src, QImage &dst, int radius, bool horizontal)
{
    const int w = src.width(), h = src.height();
    const int len = horizontal ? w : h, lines = horizontal ? h : w;
    const int window = 2 * radius + 1;
    std::vector<QRgb> buf(len);
    for (int l = 0; l < lines; ++l) {
        for (int i = 0; i < len; ++i)
            buf[i] = horizontal ? reinterpret_cast<const QRgb *>(src.constScanLine(l))[i]
                                : reinterpret_cast<const QRgb *>(src.constScanLine(i))[l];
        auto at = [&](int i) { return buf[std::clamp(i, 0, len - 1)]; };
        qint64 sa = 0, sr = 0, sg = 0, sb = 0;
        for (int i = -radius; i <= radius; ++i) {
            const QRgb p = at(i);
            sa += qAlpha(p), sr += qRed(p), sg += qGreen(p), sb += qBlue(p);
        }
        for (int i = 0; i < len; ++i) {
            const QRgb out = qRgba(int(sr / window), int(sg / window), int(sb / window), int(sa / window));
            if (horizontal)
                reinterpret_cast<QRgb *>(dst.scanLine(l))[i] = out;
            else
                reinterpret_cast<QRgb *>(dst.scanLine(i))[l] = out;
            const QRgb in = at(i + radius + 1), gone = at(i - radius);
            sa += qAlpha(in) - qAlpha(gone), sr += qRed(in) - qRed(gone);
            sg += qGreen(in) - qGreen(gone), sb += qBlue(in) - qBlue(gone);
        }
    }
}

} // namespace

QImage ImageProcesser::pixelsOf(const Picture &image)
{
    if (image.isNull())
        return {};
    if (!image.isVector())
        return image.image();
    // A vector picture is drawn at four pixels per point so that filtered barcodes and art stay sharp
    // (one per point when that would be huge).
    const QSizeF s = image.size();
    if (!(s.width() > 0) || !(s.height() > 0) || s.width() * s.height() > 64e6)
        return {};
    const double k = (s.width() * s.height() * 16.0 > 16e6) ? 1.0 : 4.0;
    return image.toImage(Units::PointsPerInch * k);
}

QSizeF ImageProcesser::cappedSize(QSizeF size)
{
    return QSizeF(size.width() > MaxWidth ? MaxWidth : size.width(),
                  size.height() > MaxHeight ? MaxHeight : size.height());
}

Picture ImageProcesser::Set_Dimaension(const Picture &image)
{
    const QSizeF capped = cappedSize(image.size());
    if (capped == image.size())
        return image;
    return image.withSize(capped);
}

std::optional<Picture> ImageProcesser::Get_Processed_Image(const Picture &image, bool grayscale, bool sepia,
                                                           bool invrtclr, float hue, float sat, float brt,
                                                           float con, int rotate, float r, float g, float b,
                                                           float tranprency)
{
    Q_UNUSED(tranprency);
    if (image.isNull())
        return std::nullopt;
    Picture p = Set_Dimaension(image);
    if (grayscale)
        p = GrayScale(p);
    if (sepia)
        p = Sepia(p);
    if (invrtclr)
        p = Invert_Color(p);
    p = adjust_Hue(p, hue);
    p = adjust_Color_Control(p, sat, brt, con);
    p = adjust_Sharpness(p, r);
    p = adjust_boxBlur(p, b);
    p = adjust_EV(p, g);
    p = imageRotated(p, float(rotate));
    if (p.isNull())
        return std::nullopt;
    return p;
}

// Monochrome in 50 % gray: each pixel becomes its luma, mixed with the gray as an overlay, which for
// a mid gray leaves the luma itself (r = g = b = L).
Picture ImageProcesser::GrayScale(const Picture &image)
{
    const float tone = 0.5f;
    return result(image, mapColours(pixelsOf(image), [tone](float &r, float &g, float &b) {
                      const float l = luma(r, g, b);
                      const float v = tone < 0.5f ? 2.f * l * tone : 1.f - 2.f * (1.f - l) * (1.f - tone);
                      r = g = b = v;
                  }));
}

// Sepia tone at full intensity: the classic sepia matrix
// r' = .393r + .769g + .189b, g' = .349r + .686g + .168b, b' = .272r + .534g + .131b.
Picture ImageProcesser::Sepia(const Picture &image)
{
    return result(image, mapColours(pixelsOf(image), [](float &r, float &g, float &b) {
                      const float nr = 0.393f * r + 0.769f * g + 0.189f * b;
                      const float ng = 0.349f * r + 0.686f * g + 0.168f * b;
                      const float nb = 0.272f * r + 0.534f * g + 0.131f * b;
                      r = nr, g = ng, b = nb;
                  }));
}

// Invert: c' = 1 - c for each colour component; alpha is kept.
Picture ImageProcesser::Invert_Color(const Picture &image)
{
    std::array<quint8, 256> t{};
    for (int i = 0; i < 256; ++i)
        t[i] = quint8(255 - i);
    return result(image, mapTable(pixelsOf(image), t));
}

// Hue: rotation of the colour about the gray axis by the angle in radians (0 changes nothing):
// c' = M c with M = cos·I + (1 - cos)·(1/3)·J + sin·(1/sqrt 3)·K (J all ones, K the cross-product matrix).
Picture ImageProcesser::adjust_Hue(const Picture &image, float withHue)
{
    if (withHue == 0.f || !std::isfinite(withHue))
        return image;
    const float c = std::cos(withHue), s = std::sin(withHue);
    const float a = c + (1.f - c) / 3.f;
    const float bb = (1.f - c) / 3.f - std::sqrt(1.f / 3.f) * s;
    const float cc = (1.f - c) / 3.f + std::sqrt(1.f / 3.f) * s;
    return result(image, mapColours(pixelsOf(image), [=](float &r, float &g, float &b) {
                      const float nr = a * r + bb * g + cc * b;
                      const float ng = cc * r + a * g + bb * b;
                      const float nb = bb * r + cc * g + a * b;
                      r = nr, g = ng, b = nb;
                  }));
}

// Colour controls: saturation mixes with the luma (c = L + sat·(c - L); 1 neutral), brightness adds
// (c += brt; 0 neutral), contrast scales about mid gray (c = (c - 0.5)·con + 0.5; 1 neutral).
Picture ImageProcesser::adjust_Color_Control(const Picture &image, float sat, float brt, float con)
{
    if ((sat == 1.f && brt == 0.f && con == 1.f) || !std::isfinite(sat) || !std::isfinite(brt) ||
        !std::isfinite(con))
        return image;
    return result(image, mapColours(pixelsOf(image), [=](float &r, float &g, float &b) {
                      const float l = luma(r, g, b);
                      float *ch[3] = {&r, &g, &b};
                      for (float *v : ch) {
                          float x = l + sat * (*v - l);
                          x += brt;
                          x = (x - 0.5f) * con + 0.5f;
                          *v = x;
                      }
                  }));
}

// Luma sharpening: L' = L + s·(L - blur3x3(L)); the difference is added to each colour (0 neutral).
Picture ImageProcesser::adjust_Sharpness(const Picture &image, float withvalue)
{
    if (withvalue == 0.f || !std::isfinite(withvalue))
        return image;
    QImage img = straightCopy(pixelsOf(image));
    if (img.isNull() || img.width() < 3 || img.height() < 3)
        return image;
    const int w = img.width(), h = img.height();
    std::vector<float> l(size_t(w) * h);
    for (int y = 0; y < h; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(img.constScanLine(y));
        for (int x = 0; x < w; ++x)
            l[size_t(y) * w + x] = luma(qRed(line[x]), qGreen(line[x]), qBlue(line[x])) / 255.f;
    }
    for (int y = 0; y < h; ++y) {
        auto *line = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < w; ++x) {
            float sum = 0;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    sum += l[size_t(std::clamp(y + dy, 0, h - 1)) * w + std::clamp(x + dx, 0, w - 1)];
            const float d = withvalue * (l[size_t(y) * w + x] - sum / 9.f);
            const QRgb p = line[x];
            line[x] = qRgba(to8(qRed(p) / 255.f + d), to8(qGreen(p) / 255.f + d), to8(qBlue(p) / 255.f + d),
                            qAlpha(p));
        }
    }
    return result(image, img);
}

// Box blur: every pixel becomes the mean of the (2r+1)² square around it (two running-sum passes over
// premultiplied pixels; edge pixels repeat). A radius below 0.5 changes nothing.
Picture ImageProcesser::adjust_boxBlur(const Picture &image, float withvalue)
{
    if (!(withvalue >= 0.5f))
        return image;
    QImage src = pixelsOf(image).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (src.isNull())
        return image;
    // Clamp before rounding: a huge or infinite radius from a file must not overflow.
    const int radius = int(std::lround(std::min<double>(withvalue, std::max(src.width(), src.height()))));
    QImage tmp(src.size(), src.format()), out(src.size(), src.format());
    if (tmp.isNull() || out.isNull())
        return image;
    boxPass(src, tmp, radius, true);
    boxPass(tmp, out, radius, false);
    return Picture(out, image.size());
}

// Exposure: in linear light c' = c · 2^EV (0 neutral), applied through a lookup table on sRGB values.
Picture ImageProcesser::adjust_EV(const Picture &image, float withvalue)
{
    if (withvalue == 0.f || !std::isfinite(withvalue))
        return image;
    const float f = std::pow(2.f, std::clamp(withvalue, -64.f, 64.f));
    std::array<quint8, 256> t{};
    for (int i = 0; i < 256; ++i)
        t[i] = quint8(to8(linearToSrgb(srgbToLinear(i / 255.f) * f)));
    return result(image, mapTable(pixelsOf(image), t));
}

// Gamma: c' = c^power (1 neutral).
Picture ImageProcesser::adjust_Gamma(const Picture &image, float withvalue)
{
    if (withvalue == 1.f || !std::isfinite(withvalue) || withvalue < 0.f)
        return image;
    std::array<quint8, 256> t{};
    for (int i = 0; i < 256; ++i)
        t[i] = quint8(to8(std::pow(i / 255.f, withvalue)));
    return result(image, mapTable(pixelsOf(image), t));
}

namespace
{

// Pixels per point of a picture's pixels (vector pictures are drawn at four per point).
double densityOf(const Picture &image, const QImage &pixels)
{
    if (image.size().width() <= 0 || pixels.width() <= 0)
        return 1.0;
    return pixels.width() / image.size().width();
}

// Draws the picture's pixels turned by `degrees` (counter-clockwise as seen) about the centre of a new
// picture of `newSize` points, replacing whatever is under it (copy compositing).
Picture drawRotated(const Picture &image, double degrees, QSizeF newSize)
{
    const QImage src = ImageProcesser::pixelsOf(image);
    if (src.isNull() || newSize.width() <= 0 || newSize.height() <= 0)
        return image;
    const double k = densityOf(image, src);
    const int pw = std::max(1, int(std::lround(newSize.width() * k)));
    const int ph = std::max(1, int(std::lround(newSize.height() * k)));
    if (double(pw) * ph > 400e6)
        return image;
    QImage out(pw, ph, QImage::Format_ARGB32_Premultiplied);
    if (out.isNull())
        return image;
    out.fill(Qt::transparent);
    QPainter p(&out);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.setRenderHint(QPainter::Antialiasing);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.translate(pw / 2.0, ph / 2.0);
    p.rotate(-degrees); // y runs down: a negative turn is counter-clockwise on the card
    const double w = image.size().width() * k, h = image.size().height() * k;
    p.drawImage(QRectF(-w / 2, -h / 2, w, h), src);
    p.end();
    return Picture(out, newSize);
}

} // namespace

Picture ImageProcesser::imageRotated(const Picture &image, float degrees)
{
    if (image.isNull() || !std::isfinite(degrees))
        return image;
    const double a = std::fmod(double(degrees), 360.0);
    if (a == 0.0)
        return image;
    const double w = image.size().width(), h = image.size().height();
    QSizeF newSize;
    if (a == 90 || a == 270 || a == -90 || a == -270)
        newSize = QSizeF(h, w);
    else if (a == 180 || a == -180)
        newSize = QSizeF(w, h);
    else
        newSize = QSizeF(std::max(w, h) + 20.0, std::max(w, h) + 20.0);
    return drawRotated(image, a, newSize);
}

Picture ImageProcesser::adjust_Rotate(const Picture &image, float withvalue)
{
    // The rotated bounds are w|cos| + h|sin| by w|sin| + h|cos|: the fitted box.
    if (withvalue == 0.f)
        return image;
    return imageRotatedByDegrees(image, withvalue);
}

Picture ImageProcesser::imageRotatedByDegrees(const Picture &image, double degrees)
{
    if (image.isNull() || !std::isfinite(degrees))
        return image;
    const QSizeF size = image.size();
    const QRectF turned = QTransform().rotate(-degrees).mapRect(QRectF(QPointF(0, 0), size));
    return drawRotated(image, degrees, turned.size());
}

// Tint: source-atop fill with the colour, so only where the picture has alpha is coloured.
Picture ImageProcesser::imageTintedWithColor(const Picture &image, const QColor &tint)
{
    if (!tint.isValid() || image.isNull())
        return image;
    QImage img = pixelsOf(image).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (img.isNull())
        return image;
    QPainter p(&img);
    p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    p.fillRect(img.rect(), tint);
    p.end();
    return Picture(img, image.size());
}
