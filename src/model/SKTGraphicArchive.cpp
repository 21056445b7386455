// The keyed archive of a card object: 94 keys in a fixed order, the archive class being the kind.
#include "model/GraphicFields.h"
#include "model/SKTBarcode.h"
#include "model/SKTGraphic.h"
#include "model/SKTImage.h"
#include "model/SKTLine.h"
#include "model/SKTSignature.h"
#include "model/SKTText.h"
#include "model/Shape_Control.h"
#include "platform/KeyedUnarchiver.h"

namespace
{

template <typename T> std::shared_ptr<Archivable> readKind(KeyedUnarchiver &coder)
{
    auto g = std::make_shared<T>(SKTGraphic::ZeroFields{});
    g->initWithCoder(coder);
    return g;
}

// Keeps a decoded 32-bit integer within its field's range; larger archive values wrap as on write.
qint32 int32(qint64 v)
{
    return qint32(quint32(quint64(v)));
}

} // namespace

QStringList SKTGraphic::classHierarchy() const
{
    return {className(), QStringLiteral("SKTGraphic"), QStringLiteral("NSObject")};
}

void SKTGraphic::encodeWithCoder(KeyedArchiver &c) const
{
    for (const GraphicFields::Field &field : GraphicFields::Table) {
        const QString key = QLatin1String(field.name);
        std::visit(
            [&](auto member) {
                using T = std::remove_cvref_t<decltype(this->*member)>;
                const T &value = this->*member;
                if constexpr (std::is_same_v<T, QRectF>)
                    c.encodeRect(key, value);
                else if constexpr (std::is_same_v<T, bool>)
                    c.encodeBool(key, value);
                else if constexpr (std::is_same_v<T, std::optional<QColor>>)
                    c.encodeColor(key, value);
                else if constexpr (std::is_same_v<T, double>)
                    c.encodeFloat(key, float(value));
                else if constexpr (std::is_same_v<T, std::optional<QString>>)
                    c.encodeString(key, value);
                else if constexpr (std::is_same_v<T, float>)
                    c.encodeFloat(key, value);
                else if constexpr (std::is_same_v<T, qint32>)
                    c.encodeInt(key, value);
                else if constexpr (std::is_same_v<T, std::optional<FontDescriptor>>)
                    c.encodeFont(key, value);
                else if constexpr (std::is_same_v<T, std::optional<AttributedText>>)
                    c.encodeText(key, value);
                else
                    c.encodePicture(key, value);
            },
            field.member);
    }
}

void SKTGraphic::initWithCoder(KeyedUnarchiver &c)
{
    // Every field is taken as the archive has it: a missing object stays absent.
    for (const GraphicFields::Field &field : GraphicFields::Table) {
        const QString key = QLatin1String(field.name);
        std::visit(
            [&](auto member) {
                using T = std::remove_cvref_t<decltype(this->*member)>;
                T &value = this->*member;
                if constexpr (std::is_same_v<T, QRectF>)
                    value = c.decodeRect(key);
                else if constexpr (std::is_same_v<T, bool>)
                    value = c.decodeBool(key);
                else if constexpr (std::is_same_v<T, std::optional<QColor>>)
                    value = c.decodeColor(key);
                else if constexpr (std::is_same_v<T, double>)
                    value = double(c.decodeFloat(key));
                else if constexpr (std::is_same_v<T, std::optional<QString>>)
                    value = c.decodeString(key);
                else if constexpr (std::is_same_v<T, float>)
                    value = c.decodeFloat(key);
                else if constexpr (std::is_same_v<T, qint32>)
                    value = int32(c.decodeInt(key));
                else if constexpr (std::is_same_v<T, std::optional<FontDescriptor>>)
                    value = c.decodeFont(key);
                else if constexpr (std::is_same_v<T, std::optional<AttributedText>>)
                    value = c.decodeText(key);
                else
                    value = c.decodePicture(key);
            },
            field.member);
    }
}

void SKTGraphic::registerClasses(KeyedUnarchiver &coder)
{
    coder.registerClass(QStringLiteral("SKTText"), readKind<SKTText>);
    coder.registerClass(QStringLiteral("SKTImage"), readKind<SKTImage>);
    coder.registerClass(QStringLiteral("SKTLine"), readKind<SKTLine>);
    coder.registerClass(QStringLiteral("Shape_Control"), readKind<Shape_Control>);
    coder.registerClass(QStringLiteral("SKTSignature"), readKind<SKTSignature>);
    coder.registerClass(QStringLiteral("SKTBarcode"), readKind<SKTBarcode>);
}

static GraphicPtr unarchiveWith(KeyedUnarchiver &coder, QString *error)
{
    if (!coder.ok()) {
        if (error)
            *error = coder.error();
        return nullptr;
    }
    SKTGraphic::registerClasses(coder);
    std::shared_ptr<Archivable> root = coder.decodeRootObject();
    auto graphic = std::dynamic_pointer_cast<SKTGraphic>(root);
    if (!coder.ok() || !graphic) {
        if (error)
            *error = coder.ok() ? QStringLiteral("The archive holds no card object.") : coder.error();
        return nullptr;
    }
    return graphic;
}

GraphicPtr SKTGraphic::unarchive(const QByteArray &archive, QString *error)
{
    KeyedUnarchiver coder(archive);
    return unarchiveWith(coder, error);
}

GraphicPtr SKTGraphic::unarchive(const plist::Value &archiveTree, QString *error)
{
    KeyedUnarchiver coder(archiveTree);
    return unarchiveWith(coder, error);
}
