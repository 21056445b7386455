#include "model/Card_Property.h"

#include "foundation/CardCodes.h"
#include "model/CardPageFields.h"
#include "model/PathUtil.h"
#include "paint/PathPainting.h"
#include "platform/KeyedUnarchiver.h"
#include "platform/PictureReader.h"

#include <type_traits>

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
    Card_border_style = BorderCode::Solid;
    Card_Content_clr = contentColor;
    Card_Content_font = contentFont;
}

QString Card_Property::setBackgroundImage(const QString &path)
{
    if (path.isEmpty())
        return {};
    // Qt reads pictures top row first, which is already upright on the y-down canvas.
    const PictureReader::Result read = PictureReader::readFileBytes(PathUtil::standardizedPath(path));
    if (!read.ok())
        return read.error;
    Card_fill_chk = true;
    Card_fill_style = FillCode::Picture;
    Card_BG_Image_Path = path;
    Card_BG_Image = read.picture;
    return {};
}

double Card_Property::drawOpacity() const
{
    return PathPainting::clampedOpacity(Card_alpha_Stepper);
}

void Card_Property::encodeWithCoder(KeyedArchiver &c) const
{
    for (const CardPageFields::Field &field : CardPageFields::Table) {
        const QString key = QLatin1String(field.name);
        std::visit(
            [&](auto member) {
                using T = std::remove_cvref_t<decltype(this->*member)>;
                const T &value = this->*member;
                if constexpr (std::is_same_v<T, bool>)
                    c.encodeBool(key, value);
                else if constexpr (std::is_same_v<T, QColor>)
                    c.encodeColor(key, value);
                else if constexpr (std::is_same_v<T, qint32>)
                    c.encodeInt(key, value);
                else if constexpr (std::is_same_v<T, float>)
                    c.encodeFloat(key, value);
                else if constexpr (std::is_same_v<T, QString>)
                    c.encodeString(key, value);
                else if constexpr (std::is_same_v<T, QPointF>)
                    c.encodePoint(key, value);
                else
                    c.encodeFont(key, value);
            },
            field.member);
    }
    c.encodePicture(QStringLiteral("Card_BG_Image"), Card_BG_Image);
}

void Card_Property::initWithCoder(KeyedUnarchiver &c)
{
    // Missing or empty objects (colours, texts, the font) keep the defaults; numbers are taken as
    // they are.
    for (const CardPageFields::Field &field : CardPageFields::Table) {
        const QString key = QLatin1String(field.name);
        std::visit(
            [&](auto member) {
                using T = std::remove_cvref_t<decltype(this->*member)>;
                T &value = this->*member;
                if constexpr (std::is_same_v<T, bool>) {
                    value = c.decodeBool(key);
                } else if constexpr (std::is_same_v<T, QColor>) {
                    if (auto v = c.decodeColor(key))
                        value = *v;
                } else if constexpr (std::is_same_v<T, qint32>) {
                    value = qint32(c.decodeInt(key));
                } else if constexpr (std::is_same_v<T, float>) {
                    value = c.decodeFloat(key);
                } else if constexpr (std::is_same_v<T, QString>) {
                    if (auto v = c.decodeString(key))
                        value = *v;
                } else if constexpr (std::is_same_v<T, QPointF>) {
                    value = c.decodePoint(key);
                } else {
                    if (auto v = c.decodeFont(key))
                        value = *v;
                }
            },
            field.member);
    }
    Card_BG_Image = c.decodePicture(QStringLiteral("Card_BG_Image"));
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
