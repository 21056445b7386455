#include "panels/Card_Property.h"

#include "foundation/CardCodes.h"
#include "model/PathUtil.h"
#include "paint/PathPainting.h"
#include "platform/KeyedUnarchiver.h"

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
    Card_fill_style = FillCode::Picture;
    Card_BG_Image_Path = path;
    // Qt reads pictures top row first, which is already upright on the y-down canvas.
    Picture picture = PathUtil::loadPicture(path);
    if (picture.isNull())
        Card_BG_Image.reset();
    else
        Card_BG_Image = picture;
}

double Card_Property::drawOpacity() const
{
    return PathPainting::clampedOpacity(Card_alpha_Stepper);
}

void Card_Property::encodeWithCoder(KeyedArchiver &c) const
{
    c.encodeBool(QStringLiteral("Card_border_chk"), Card_border_chk);
    c.encodeBool(QStringLiteral("Card_fill_chk"), Card_fill_chk);
    c.encodeColor(QStringLiteral("Card_bordr_clr"), Card_bordr_clr);
    c.encodeColor(QStringLiteral("Card_fill_clr"), Card_fill_clr);
    c.encodeColor(QStringLiteral("Card_fill_Grd_1_clr"), Card_fill_Grd_1_clr);
    c.encodeColor(QStringLiteral("Card_fill_Grd_2_clr"), Card_fill_Grd_2_clr);
    c.encodeColor(QStringLiteral("Card_hatch_bk_clr"), Card_hatch_bk_clr);
    c.encodeInt(QStringLiteral("Card_bor_Stepper"), Card_bor_Stepper);
    c.encodeInt(QStringLiteral("Card_grad_Stepper"), Card_grad_Stepper);
    c.encodeInt(QStringLiteral("Card_Cat_index"), Card_Cat_index);
    c.encodeFloat(QStringLiteral("Card_alpha_Stepper"), Card_alpha_Stepper);
    c.encodeString(QStringLiteral("Card_border_style"), Card_border_style);
    c.encodeString(QStringLiteral("Card_fill_style"), Card_fill_style);
    c.encodeString(QStringLiteral("Card_hatch_style"), Card_hatch_style);
    c.encodeString(QStringLiteral("Card_Side"), Card_Side);
    c.encodeString(QStringLiteral("Card_Side_Name"), Card_Side_Name);
    c.encodeString(QStringLiteral("Card_Shape"), Card_Shape);
    c.encodeString(QStringLiteral("Card_Name"), Card_Name);
    c.encodeString(QStringLiteral("Card_Preset"), Card_Preset);
    c.encodeString(QStringLiteral("Card_Category"), Card_Category);
    c.encodeString(QStringLiteral("Card_Sub_Category"), Card_Sub_Category);
    c.encodeString(QStringLiteral("Card_Create_Mode"), Card_Create_Mode);
    c.encodeString(QStringLiteral("Card_BG_Image_Path"), Card_BG_Image_Path);
    c.encodeString(QStringLiteral("Card_BG_Image_Layout"), Card_BG_Image_Layout);
    c.encodePicture(QStringLiteral("Card_BG_Image"), Card_BG_Image);
    c.encodePoint(QStringLiteral("Card_Location"), Card_Location);
    c.encodeSize(QStringLiteral("Card_Size"), Card_Size);
    c.encodeColor(QStringLiteral("Card_Content_clr"), Card_Content_clr);
    c.encodeFont(QStringLiteral("Card_Content_font"), Card_Content_font);
}

void Card_Property::initWithCoder(KeyedUnarchiver &c)
{
    // Missing or empty objects keep the defaults; numbers are taken as they are.
    auto colour = [&](const char *key, QColor &field) {
        if (auto v = c.decodeColor(QLatin1String(key)))
            field = *v;
    };
    auto text = [&](const char *key, QString &field) {
        if (auto v = c.decodeString(QLatin1String(key)))
            field = *v;
    };
    Card_border_chk = c.decodeBool(QStringLiteral("Card_border_chk"));
    Card_fill_chk = c.decodeBool(QStringLiteral("Card_fill_chk"));
    colour("Card_bordr_clr", Card_bordr_clr);
    colour("Card_fill_clr", Card_fill_clr);
    colour("Card_fill_Grd_1_clr", Card_fill_Grd_1_clr);
    colour("Card_fill_Grd_2_clr", Card_fill_Grd_2_clr);
    colour("Card_hatch_bk_clr", Card_hatch_bk_clr);
    Card_bor_Stepper = qint32(c.decodeInt(QStringLiteral("Card_bor_Stepper")));
    Card_grad_Stepper = qint32(c.decodeInt(QStringLiteral("Card_grad_Stepper")));
    Card_Cat_index = qint32(c.decodeInt(QStringLiteral("Card_Cat_index")));
    Card_alpha_Stepper = c.decodeFloat(QStringLiteral("Card_alpha_Stepper"));
    text("Card_border_style", Card_border_style);
    text("Card_fill_style", Card_fill_style);
    text("Card_hatch_style", Card_hatch_style);
    text("Card_Side", Card_Side);
    text("Card_Side_Name", Card_Side_Name);
    text("Card_Shape", Card_Shape);
    text("Card_Name", Card_Name);
    text("Card_Preset", Card_Preset);
    text("Card_Category", Card_Category);
    text("Card_Sub_Category", Card_Sub_Category);
    text("Card_Create_Mode", Card_Create_Mode);
    text("Card_BG_Image_Path", Card_BG_Image_Path);
    text("Card_BG_Image_Layout", Card_BG_Image_Layout);
    Card_BG_Image = c.decodePicture(QStringLiteral("Card_BG_Image"));
    Card_Location = c.decodePoint(QStringLiteral("Card_Location"));
    Card_Size = c.decodeSize(QStringLiteral("Card_Size"));
    colour("Card_Content_clr", Card_Content_clr);
    if (auto f = c.decodeFont(QStringLiteral("Card_Content_font")))
        Card_Content_font = *f;
}

void Card_Property::registerClass(KeyedUnarchiver &coder)
{
    coder.registerClass(QStringLiteral("Card_Property"),
                        [](KeyedUnarchiver &c) -> std::shared_ptr<Archivable> {
                            auto p = std::make_shared<Card_Property>();
                            p->initWithCoder(c);
                            return p;
                        });
}

std::optional<Card_Property> Card_Property::unarchive(const QByteArray &archive, QString *error)
{
    KeyedUnarchiver coder(archive);
    registerClass(coder);
    std::shared_ptr<Archivable> root = coder.ok() ? coder.decodeRootObject() : nullptr;
    auto *record = dynamic_cast<Card_Property *>(root.get());
    if (!record || !coder.ok()) {
        if (error)
            *error = coder.error().isEmpty() ? QStringLiteral("The page settings could not be read.")
                                             : coder.error();
        return std::nullopt;
    }
    return *record;
}
