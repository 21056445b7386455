#include "panels/Card_Property.h"

#include <algorithm>
#include <cmath>

FontDescriptor Card_Property::defaultContentFont()
{
    return FontDescriptor{QStringLiteral("TimesNewRomanPS-ItalicMT"), 14.0};
}

void Card_Property::resetForNewDesign(const QColor &contentColor, const FontDescriptor &contentFont)
{
    *this = Card_Property();
    Card_border_chk = true;
    Card_bordr_clr = QColor(0, 0, 0);
    Card_bor_Stepper = 1;
    Card_border_style = QStringLiteral("S");
    Card_Content_clr = contentColor;
    Card_Content_font = contentFont;
}

void Card_Property::setBackgroundImage(const QString &path)
{
    if (path.isEmpty())
        return;
    Card_fill_chk = true;
    Card_fill_style = QStringLiteral("I");
    Card_BG_Image_Path = path;
    // Qt reads pictures top row first, which is already upright on the y-down canvas.
    Picture picture = Picture::fromFile(path);
    if (picture.isNull())
        Card_BG_Image.reset();
    else
        Card_BG_Image = picture;
}

double Card_Property::drawOpacity() const
{
    const double a = Card_alpha_Stepper;
    if (std::isnan(a))
        return 1.0;
    return std::clamp(a, 0.0, 1.0);
}
