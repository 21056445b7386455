// Reads keyed archives written by KeyedArchiver or by other writers of the same layout.
// Objects are decoded once per UID; self-containing objects, bad UIDs and wrong kinds set an error.
#include "platform/KeyedUnarchiver.h"

#include "platform/GeometryText.h"
#include "platform/PropertyList.h"

#include <QLocale>

#include <cfloat>
#include <cmath>

namespace
{
// Objects inside objects: far more than any design holds, well within the stack.
constexpr int MaxObjectDepth = 256;

QString kindName(const plist::Value &v)
{
    switch (v.type()) {
    case plist::Value::Type::Null:
        return QStringLiteral("nothing");
    case plist::Value::Type::Bool:
        return QStringLiteral("a flag");
    case plist::Value::Type::Integer:
    case plist::Value::Type::Real:
        return QStringLiteral("a number");
    case plist::Value::Type::String:
        return QStringLiteral("text");
    case plist::Value::Type::Data:
        return QStringLiteral("data");
    case plist::Value::Type::Date:
        return QStringLiteral("a date");
    case plist::Value::Type::Array:
        return QStringLiteral("a list");
    case plist::Value::Type::Dict:
        return QStringLiteral("a dictionary");
    case plist::Value::Type::Uid:
        return QStringLiteral("an object reference");
    }
    return {};
}

} // namespace

struct KeyedUnarchiver::Impl {
    QString error;
    plist::Array objects;
    quint64 root = 0;
    QHash<QString, ArchivableFactory> factories;
    QHash<quint64, std::shared_ptr<Archivable>> decoded;

    struct Frame {
        quint64 uid;
        plist::Dict fields;
        QString className;
    };
    QList<Frame> stack;

    bool fail(const QString &why)
    {
        if (error.isEmpty())
            error = QStringLiteral("The archive is damaged: %1.").arg(why);
        return false;
    }

    void open(const plist::Value &tree)
    {
        const plist::Dict &top = tree.toDict();
        if (!tree.isDict() ||
            top.value(QStringLiteral("$archiver")).toString() != QLatin1String("NSKeyedArchiver")) {
            error = QStringLiteral("This is not a keyed archive.");
            return;
        }
        const plist::Value objs = top.value(QStringLiteral("$objects"));
        if (!objs.isArray() || objs.toArray().isEmpty()) {
            fail(QStringLiteral("it has no object table"));
            return;
        }
        objects = objs.toArray();
        const plist::Value rootRef = top.value(QStringLiteral("$top")).toDict().value(QStringLiteral("root"));
        if (!rootRef.isUid()) {
            fail(QStringLiteral("it has no root object"));
            return;
        }
        root = rootRef.toUid().value;
        if (root >= quint64(objects.size()))
            fail(QStringLiteral("the root object is out of range"));
    }

    const plist::Value *field(const QString &key) const
    {
        return stack.isEmpty() ? nullptr : stack.last().fields.find(key);
    }

    // A field that holds a flag or a number; any other kind fails the decode.
    const plist::Value *numberField(const QString &key, const char *what)
    {
        const plist::Value *v = field(key);
        if (!v || !error.isEmpty())
            return nullptr;
        if (!v->isBool() && !v->isNumber()) {
            fail(QStringLiteral("\"%1\" holds %2 where %3 belongs")
                     .arg(key, kindName(*v), QLatin1String(what)));
            return nullptr;
        }
        return v;
    }

    // A field that holds an object: absent gives nothing, and so does any error met decoding it.
    template <typename T>
    std::optional<T> decodeField(const QString &key,
                                 std::optional<T> (Impl::*of)(const plist::Value &, const QString &))
    {
        const plist::Value *v = field(key);
        if (!v || !error.isEmpty())
            return std::nullopt;
        std::optional<T> r = (this->*of)(*v, key);
        return error.isEmpty() ? r : std::nullopt;
    }

    // The object a reference names; null for "$null" (UID 0) or on error (error set).
    const plist::Value *target(const plist::Value &ref, const QString &key)
    {
        if (!ref.isUid()) {
            fail(QStringLiteral("\"%1\" holds %2 where an object reference belongs").arg(key, kindName(ref)));
            return nullptr;
        }
        const quint64 uid = ref.toUid().value;
        if (uid >= quint64(objects.size())) {
            fail(QStringLiteral("\"%1\" refers to object %2 of %3").arg(key).arg(uid).arg(objects.size()));
            return nullptr;
        }
        return uid == 0 ? nullptr : &objects.at(qsizetype(uid));
    }

    // The class name of an object dictionary; empty with the error set when it is malformed.
    QString classOf(const plist::Dict &object)
    {
        const plist::Value *ref = object.find(QStringLiteral("$class"));
        if (!ref || !ref->isUid() || ref->toUid().value == 0 ||
            ref->toUid().value >= quint64(objects.size())) {
            fail(QStringLiteral("an object has no valid class"));
            return {};
        }
        const plist::Value &cls = objects.at(qsizetype(ref->toUid().value));
        const plist::Value name = cls.toDict().value(QStringLiteral("$classname"));
        if (!name.isString() || name.toString().isEmpty()) {
            fail(QStringLiteral("a class description has no class name"));
            return {};
        }
        const plist::Value *classes = cls.toDict().find(QStringLiteral("$classes"));
        if (classes) {
            if (!classes->isArray()) {
                fail(QStringLiteral("the class list of %1 is not a list").arg(name.toString()));
                return {};
            }
            for (const plist::Value &c : classes->toArray()) {
                if (!c.isString()) {
                    fail(QStringLiteral("the class list of %1 holds %2").arg(name.toString(), kindName(c)));
                    return {};
                }
            }
        }
        return name.toString();
    }

    // The fields of the object a reference names, which must be of one of the given classes.
    // nullopt for "$null" or on error.
    std::optional<plist::Dict> objectOf(const plist::Value &ref, const QString &key,
                                        const QStringList &classNames)
    {
        const plist::Value *obj = target(ref, key);
        if (!obj)
            return std::nullopt;
        if (!obj->isDict()) {
            fail(QStringLiteral("\"%1\" refers to %2, not an object").arg(key, kindName(*obj)));
            return std::nullopt;
        }
        const QString name = classOf(obj->toDict());
        if (name.isEmpty())
            return std::nullopt;
        if (!classNames.contains(name)) {
            fail(QStringLiteral("\"%1\" holds a %2 where a %3 belongs").arg(key, name, classNames.first()));
            return std::nullopt;
        }
        return obj->toDict();
    }

    // A string stored inline, as a string object, or as an NSString object.
    std::optional<QString> stringOf(const plist::Value &v, const QString &key)
    {
        if (v.isString())
            return v.toString();
        const plist::Value *obj = target(v, key);
        if (!obj)
            return std::nullopt;
        if (obj->isString())
            return obj->toString();
        if (obj->isDict()) {
            const QString name = classOf(obj->toDict());
            const plist::Value s = obj->toDict().value(QStringLiteral("NS.string"));
            if ((name == QLatin1String("NSString") || name == QLatin1String("NSMutableString")) &&
                s.isString())
                return s.toString();
        }
        fail(QStringLiteral("\"%1\" refers to %2 where text belongs").arg(key, kindName(*obj)));
        return std::nullopt;
    }

    std::optional<QByteArray> dataOf(const plist::Value &v, const QString &key)
    {
        if (v.isData())
            return v.toData();
        const plist::Value *obj = target(v, key);
        if (!obj)
            return std::nullopt;
        if (obj->isData())
            return obj->toData();
        if (obj->isDict()) {
            const QString name = classOf(obj->toDict());
            const plist::Value b = obj->toDict().value(QStringLiteral("NS.bytes"));
            if ((name == QLatin1String("NSData") || name == QLatin1String("NSMutableData")) && b.isData())
                return b.toData();
        }
        fail(QStringLiteral("\"%1\" refers to %2 where data belongs").arg(key, kindName(*obj)));
        return std::nullopt;
    }

    std::optional<QList<double>> numbersOf(const plist::Dict &fields, const QString &key, const QString &name)
    {
        const plist::Value data = fields.value(key);
        if (!data.isData()) {
            fail(QStringLiteral("the colour's \"%1\" holds %2").arg(key, kindName(data)));
            return std::nullopt;
        }
        QByteArray text = data.toData();
        while (text.endsWith('\0'))
            text.chop(1);
        QList<double> out;
        for (const QByteArray &part : text.simplified().split(' ')) {
            if (part.isEmpty())
                continue;
            bool ok = false;
            const double v = QLocale::c().toDouble(QString::fromLatin1(part), &ok);
            if (!ok || std::isnan(v)) {
                fail(QStringLiteral("the %1 colour components are unreadable").arg(name));
                return std::nullopt;
            }
            out.append(qBound(0.0, v, 1.0));
        }
        return out;
    }

    std::optional<QColor> colorOf(const plist::Value &ref, const QString &key)
    {
        const auto fields = objectOf(ref, key, {QStringLiteral("NSColor")});
        if (!fields)
            return std::nullopt;
        const plist::Value *spaceValue = fields->find(QStringLiteral("NSColorSpace"));
        qint64 space = 0;
        if (spaceValue && spaceValue->isNumber())
            space = spaceValue->toInteger();
        else if (!spaceValue && fields->contains(QStringLiteral("NSRGB")))
            space = 2;
        else if (!spaceValue && fields->contains(QStringLiteral("NSWhite")))
            space = 3;
        if (space == 1 || space == 2) {
            const auto c = numbersOf(*fields, QStringLiteral("NSRGB"), QStringLiteral("RGB"));
            if (!c)
                return std::nullopt;
            if (c->size() < 3 || c->size() > 4) {
                fail(QStringLiteral("an RGB colour has %1 components").arg(c->size()));
                return std::nullopt;
            }
            return QColor::fromRgbF(float(c->at(0)), float(c->at(1)), float(c->at(2)),
                                    float(c->size() == 4 ? c->at(3) : 1.0));
        }
        if (space == 3 || space == 4) {
            const auto c = numbersOf(*fields, QStringLiteral("NSWhite"), QStringLiteral("grey"));
            if (!c)
                return std::nullopt;
            if (c->isEmpty() || c->size() > 2) {
                fail(QStringLiteral("a grey colour has %1 components").arg(c->size()));
                return std::nullopt;
            }
            const float w = float(c->at(0));
            return QColor::fromRgbF(w, w, w, float(c->size() == 2 ? c->at(1) : 1.0));
        }
        // Colour spaces this program does not know read as opaque black.
        return QColor(Qt::black);
    }

    std::optional<FontDescriptor> fontOf(const plist::Value &ref, const QString &key)
    {
        const auto fields = objectOf(ref, key, {QStringLiteral("NSFont")});
        if (!fields)
            return std::nullopt;
        FontDescriptor f;
        const auto name = stringOf(fields->value(QStringLiteral("NSName")), QStringLiteral("NSName"));
        if (!error.isEmpty())
            return std::nullopt;
        f.postScriptName = name.value_or(QString());
        const plist::Value size = fields->value(QStringLiteral("NSSize"));
        if (!size.isNumber() || !std::isfinite(size.toReal())) {
            fail(QStringLiteral("a font size is %1").arg(kindName(size)));
            return std::nullopt;
        }
        f.size = size.toReal();
        return f;
    }

    std::optional<AttributedText> textOf(const plist::Value &ref, const QString &key)
    {
        const auto fields =
            objectOf(ref, key,
                     {QStringLiteral("NSTextStorage"), QStringLiteral("NSMutableAttributedString"),
                      QStringLiteral("NSAttributedString")});
        if (!fields)
            return std::nullopt;
        AttributedText t;
        if (const plist::Value *s = fields->find(QStringLiteral("NSString")))
            t.text = stringOf(*s, QStringLiteral("NSString")).value_or(QString());
        const plist::Value *attrsRef = fields->find(QStringLiteral("NSAttributes"));
        if (!error.isEmpty())
            return std::nullopt;
        if (!attrsRef)
            return t;
        const auto attrs = objectOf(*attrsRef, QStringLiteral("NSAttributes"),
                                    {QStringLiteral("NSDictionary"), QStringLiteral("NSMutableDictionary")});
        if (!error.isEmpty())
            return std::nullopt;
        if (!attrs)
            return t;
        const plist::Value keys = attrs->value(QStringLiteral("NS.keys"));
        const plist::Value values = attrs->value(QStringLiteral("NS.objects"));
        if (!keys.isArray() || !values.isArray() || keys.toArray().size() != values.toArray().size()) {
            fail(QStringLiteral("the text attributes are malformed"));
            return std::nullopt;
        }
        for (qsizetype i = 0; i < keys.toArray().size() && error.isEmpty(); ++i) {
            const auto name = stringOf(keys.toArray().at(i), QStringLiteral("NS.keys"));
            const plist::Value &v = values.toArray().at(i);
            if (!name)
                continue;
            if (*name == QLatin1String("NSFont")) {
                t.font = fontOf(v, *name).value_or(FontDescriptor());
            } else if (*name == QLatin1String("NSColor")) {
                t.color = colorOf(v, *name).value_or(QColor());
            } else if (*name == QLatin1String("NSKern")) {
                const plist::Value *kern = v.isNumber() ? &v : target(v, *name);
                if (kern && (!kern->isNumber() || !std::isfinite(kern->toReal())))
                    fail(QStringLiteral("the letter spacing is %1").arg(kindName(*kern)));
                else if (kern)
                    t.kern = kern->toReal();
            }
        }
        if (!error.isEmpty())
            return std::nullopt;
        return t;
    }

    std::optional<QSizeF> sizeOf(const plist::Value &v, const QString &key)
    {
        const auto text = stringOf(v, key);
        if (!text)
            return std::nullopt;
        const std::optional<QSizeF> size = GeometryText::parseSize(*text);
        if (!size)
            fail(QStringLiteral("\"%1\" is not a size: \"%2\"").arg(key, text->left(60)));
        return size;
    }

    std::optional<Picture> pictureOf(const plist::Value &ref, const QString &key)
    {
        const auto fields = objectOf(ref, key, {QStringLiteral("NSImage")});
        if (!fields)
            return std::nullopt;
        const plist::Value *png = fields->find(QStringLiteral("PNGRepresentation"));
        if (!png)
            return std::nullopt;
        const auto bytes = dataOf(*png, QStringLiteral("PNGRepresentation"));
        if (!bytes)
            return std::nullopt;
        Picture p = Picture::fromData(*bytes);
        if (p.isNull()) {
            fail(QStringLiteral("a picture's pixels are unreadable"));
            return std::nullopt;
        }
        if (const plist::Value *size = fields->find(QStringLiteral("NSSize"))) {
            const auto s = sizeOf(*size, QStringLiteral("NSSize"));
            if (!s)
                return std::nullopt;
            if (s->width() > 0 && s->height() > 0)
                p = p.withSize(*s);
        }
        return p;
    }

    std::shared_ptr<Archivable> objectAt(quint64 uid, KeyedUnarchiver &coder)
    {
        if (!error.isEmpty() || uid == 0)
            return nullptr;
        const auto done = decoded.constFind(uid);
        if (done != decoded.constEnd())
            return *done;
        for (const Frame &f : std::as_const(stack)) {
            if (f.uid == uid) {
                fail(QStringLiteral("an object of class %1 contains itself").arg(f.className));
                return nullptr;
            }
        }
        if (stack.size() >= MaxObjectDepth) {
            fail(QStringLiteral("objects are nested too deeply"));
            return nullptr;
        }
        if (uid >= quint64(objects.size())) {
            fail(QStringLiteral("a reference to object %1 of %2").arg(uid).arg(objects.size()));
            return nullptr;
        }
        const plist::Value &obj = objects.at(qsizetype(uid));
        if (!obj.isDict()) {
            fail(QStringLiteral("object %1 is %2, not an object").arg(uid).arg(kindName(obj)));
            return nullptr;
        }
        const QString name = classOf(obj.toDict());
        if (name.isEmpty())
            return nullptr;
        const auto factory = factories.constFind(name);
        if (factory == factories.constEnd() || !*factory) {
            fail(QStringLiteral("it holds an object of unknown class %1").arg(name));
            return nullptr;
        }
        stack.append(Frame{uid, obj.toDict(), name});
        std::shared_ptr<Archivable> made = (*factory)(coder);
        stack.removeLast();
        if (!error.isEmpty())
            return nullptr;
        if (!made) {
            fail(QStringLiteral("an object of class %1 could not be read").arg(name));
            return nullptr;
        }
        decoded.insert(uid, made);
        return made;
    }

    QList<std::shared_ptr<Archivable>> objectsOf(const plist::Value &ref, const QString &key,
                                                 KeyedUnarchiver &coder)
    {
        QList<std::shared_ptr<Archivable>> out;
        const auto fields = objectOf(ref, key, {QStringLiteral("NSArray"), QStringLiteral("NSMutableArray")});
        if (!fields)
            return out;
        const plist::Value items = fields->value(QStringLiteral("NS.objects"));
        if (!items.isArray()) {
            fail(QStringLiteral("the list \"%1\" has no items").arg(key));
            return out;
        }
        for (const plist::Value &item : items.toArray()) {
            if (!item.isUid()) {
                fail(QStringLiteral("the list \"%1\" holds %2").arg(key, kindName(item)));
                return {};
            }
            if (item.toUid().value >= quint64(objects.size())) {
                fail(QStringLiteral("the list \"%1\" refers to object %2 of %3")
                         .arg(key)
                         .arg(item.toUid().value)
                         .arg(objects.size()));
                return {};
            }
            // "$null" entries hold nothing to build; they are left out.
            if (auto o = objectAt(item.toUid().value, coder))
                out.append(o);
            if (!error.isEmpty())
                return {};
        }
        return out;
    }
};

KeyedUnarchiver::KeyedUnarchiver(const QByteArray &archive) : d(std::make_shared<Impl>())
{
    const auto r = PropertyList::read(archive);
    if (!r.ok) {
        d->error = r.error;
        return;
    }
    d->open(r.value);
}

KeyedUnarchiver::KeyedUnarchiver(const plist::Value &archiveTree) : d(std::make_shared<Impl>())
{
    d->open(archiveTree);
}

bool KeyedUnarchiver::ok() const
{
    return d->error.isEmpty();
}

QString KeyedUnarchiver::error() const
{
    return d->error;
}

void KeyedUnarchiver::registerClass(const QString &className, ArchivableFactory factory)
{
    d->factories.insert(className, std::move(factory));
}

std::shared_ptr<Archivable> KeyedUnarchiver::decodeRootObject()
{
    if (!ok())
        return nullptr;
    return d->objectAt(d->root, *this);
}

QList<std::shared_ptr<Archivable>> KeyedUnarchiver::decodeRootObjects()
{
    if (!ok())
        return {};
    return d->objectsOf(plist::Uid{d->root}, QStringLiteral("root"), *this);
}

std::optional<QColor> KeyedUnarchiver::decodeRootColor()
{
    if (!ok())
        return std::nullopt;
    auto c = d->colorOf(plist::Uid{d->root}, QStringLiteral("root"));
    return ok() ? c : std::nullopt;
}

std::optional<FontDescriptor> KeyedUnarchiver::decodeRootFont()
{
    if (!ok())
        return std::nullopt;
    auto f = d->fontOf(plist::Uid{d->root}, QStringLiteral("root"));
    return ok() ? f : std::nullopt;
}

bool KeyedUnarchiver::decodeBool(const QString &key)
{
    const plist::Value *v = d->numberField(key, "a flag");
    return v && v->toBool();
}

qint64 KeyedUnarchiver::decodeInt(const QString &key)
{
    const plist::Value *v = d->numberField(key, "a number");
    return v ? v->toInteger() : 0;
}

double KeyedUnarchiver::decodeDouble(const QString &key)
{
    const plist::Value *v = d->numberField(key, "a number");
    return v ? v->toReal() : 0;
}

float KeyedUnarchiver::decodeFloat(const QString &key)
{
    // Out-of-range doubles are clamped: converting them to float is undefined.
    const double v = decodeDouble(key);
    if (std::isnan(v))
        return std::numeric_limits<float>::quiet_NaN();
    return float(qBound(double(-FLT_MAX), v, double(FLT_MAX)));
}

std::optional<QString> KeyedUnarchiver::decodeString(const QString &key)
{
    return d->decodeField(key, &Impl::stringOf);
}

QRectF KeyedUnarchiver::decodeRect(const QString &key)
{
    const auto text = decodeString(key);
    if (!text)
        return {};
    const std::optional<QRectF> rect = GeometryText::parseRect(*text);
    if (!rect) {
        d->fail(QStringLiteral("\"%1\" is not a rectangle: \"%2\"").arg(key, text->left(60)));
        return {};
    }
    return *rect;
}

QPointF KeyedUnarchiver::decodePoint(const QString &key)
{
    const auto text = decodeString(key);
    if (!text)
        return {};
    const std::optional<QPointF> point = GeometryText::parsePoint(*text);
    if (!point) {
        d->fail(QStringLiteral("\"%1\" is not a point: \"%2\"").arg(key, text->left(60)));
        return {};
    }
    return *point;
}

QSizeF KeyedUnarchiver::decodeSize(const QString &key)
{
    const plist::Value *v = d->field(key);
    if (!v || !ok())
        return {};
    return d->sizeOf(*v, key).value_or(QSizeF());
}

std::optional<QByteArray> KeyedUnarchiver::decodeData(const QString &key)
{
    return d->decodeField(key, &Impl::dataOf);
}

std::optional<QColor> KeyedUnarchiver::decodeColor(const QString &key)
{
    return d->decodeField(key, &Impl::colorOf);
}

std::optional<FontDescriptor> KeyedUnarchiver::decodeFont(const QString &key)
{
    return d->decodeField(key, &Impl::fontOf);
}

std::optional<AttributedText> KeyedUnarchiver::decodeText(const QString &key)
{
    return d->decodeField(key, &Impl::textOf);
}

std::optional<Picture> KeyedUnarchiver::decodePicture(const QString &key)
{
    return d->decodeField(key, &Impl::pictureOf);
}

std::shared_ptr<Archivable> KeyedUnarchiver::decodeObject(const QString &key)
{
    const plist::Value *v = d->field(key);
    if (!v || !ok())
        return nullptr;
    if (!d->target(*v, key))
        return nullptr;
    return d->objectAt(v->toUid().value, *this);
}

QList<std::shared_ptr<Archivable>> KeyedUnarchiver::decodeObjects(const QString &key)
{
    const plist::Value *v = d->field(key);
    if (!v || !ok())
        return {};
    return d->objectsOf(*v, key, *this);
}

plist::Value KeyedUnarchiver::decodeValue(const QString &key)
{
    const plist::Value *v = d->field(key);
    return v ? *v : plist::Value();
}

std::optional<QColor> KeyedUnarchiver::unarchiveColor(const QByteArray &archive, QString *error)
{
    KeyedUnarchiver u(archive);
    auto c = u.decodeRootColor();
    if (error)
        *error = u.error();
    return c;
}

std::optional<FontDescriptor> KeyedUnarchiver::unarchiveFont(const QByteArray &archive, QString *error)
{
    KeyedUnarchiver u(archive);
    auto f = u.decodeRootFont();
    if (error)
        *error = u.error();
    return f;
}
