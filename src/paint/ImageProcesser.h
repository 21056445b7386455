// The picture filter chain that picture objects pass their picture through on every draw, and its stages.
// Stateless class operations on immutable Picture values: safe to call from any number of threads at once.
#pragma once

#include "platform/Picture.h"

#include <QColor>
#include <QImage>

#include <optional>

class ImageProcesser
{
public:
    // Largest picture the chain works on, in points; each side is capped on its own.
    static constexpr double MaxWidth = 724.0;
    static constexpr double MaxHeight = 468.0;

    // The whole chain in its fixed order: size cap, grayscale, sepia, invert, hue, colour controls,
    // sharpen (r), box blur (b), exposure (g), rotation. tranprency is accepted and not used.
    // nullopt when the picture is null or cannot be processed.
    static std::optional<Picture> Get_Processed_Image(const Picture &image, bool grayscale, bool sepia,
                                                      bool invrtclr, float hue, float sat, float brt,
                                                      float con, int rotate, float r, float g, float b,
                                                      float tranprency);

    // The size cap. Returns the capped picture; the caller's picture is never changed, so workers
    // can share one picture while they draw.
    static Picture Set_Dimaension(const Picture &image);
    static QSizeF cappedSize(QSizeF size);

    // One stage per filter. Each returns a new picture (or the input itself when the values change
    // nothing, or when the stage cannot run).
    static Picture GrayScale(const Picture &image);
    static Picture Sepia(const Picture &image);
    static Picture Invert_Color(const Picture &image);
    static Picture adjust_Hue(const Picture &image, float withHue);
    static Picture adjust_Color_Control(const Picture &image, float sat, float brt, float con);
    static Picture adjust_Sharpness(const Picture &image, float withvalue);
    static Picture adjust_boxBlur(const Picture &image, float withvalue);
    static Picture adjust_EV(const Picture &image, float withvalue);
    static Picture adjust_Gamma(const Picture &image, float withvalue);

    // Rotation about the centre for the chain: right angles swap or keep the sides, any other angle
    // gives a square of side max(w, h) + 20 (corners falling outside are cut). Whole turns return
    // the picture itself. Positive angles turn counter-clockwise as seen on the card.
    static Picture imageRotated(const Picture &image, float degrees);

    // Rotation by any angle into a picture of the rotated bounds: w|cos| + h|sin| by w|sin| + h|cos|.
    static Picture adjust_Rotate(const Picture &image, float withvalue);
    // Rotation into the bounds of the rotated rectangle, nothing cut off.
    static Picture imageRotatedByDegrees(const Picture &image, double degrees);
    // The picture's opaque parts tinted with the colour (source-atop); an invalid colour changes nothing.
    static Picture imageTintedWithColor(const Picture &image, const QColor &tint);

    // The pixels a stage works on: the stored pixels, or a vector picture drawn at one pixel per point.
    static QImage pixelsOf(const Picture &image);
};
