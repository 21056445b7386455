#include "platform/KeyedArchiver.h"

#include "platform/GeometryText.h"
#include "platform/PropertyList.h"

#include <QHash>
#include <QSet>

#include <cmath>

namespace
{
const QString NullString = QStringLiteral("$null");

// A colour component as decimal text, 0 to 1.
QString componentText(double v)
{
    if (!std::isfinite(v))
        v = 0;
    v = qBound(0.0, v, 1.0);
    // Colours hold 16 bits a channel: write the shortest decimal that reads back to the same
    // channel value, so a component typed as 0.3 is stored as "0.3" and stays so on every resave.
    const int channel = qRound(v * 65535.0);
    for (int precision = 1; precision <= 7; ++precision) {
        QString s = QString::number(v, 'f', precision);
        if (qRound(s.toDouble() * 65535.0) != channel)
            continue;
        while (s.contains(QLatin1Char('.')) && (s.endsWith(QLatin1Char('0')) || s.endsWith(QLatin1Char('.'))))
            s.chop(1);
        return s;
    }
    return QString::number(v, 'f', 7);
}
} // namespace

struct KeyedArchiver::Impl {
    plist::Array objects;
    QHash<QString, quint64> classes;
    QHash<QString, quint64> strings;
    QSet<const Archivable *> inProgress;
    QList<plist::Dict> stack; // fields of the objects being encoded, innermost last

    void reset()
    {
        objects = plist::Array{plist::Value(NullString)};
        classes.clear();
        strings.clear();
        inProgress.clear();
        stack.clear();
    }

    quint64 add(const plist::Value &v)
    {
        objects.append(v);
        return quint64(objects.size() - 1);
    }

    void set(const QString &key, const plist::Value &v)
    {
        // Field encoders only mean something inside encodeWithCoder.
        if (!stack.isEmpty())
            stack.last().insert(key, v);
    }

    // Class dictionaries are written once per class name.
    plist::Uid classRef(QStringList hierarchy)
    {
        if (hierarchy.isEmpty())
            hierarchy = QStringList{QStringLiteral("NSObject")};
        const auto it = classes.constFind(hierarchy.first());
        if (it != classes.constEnd())
            return plist::Uid{*it};
        plist::Array names;
        for (const QString &n : hierarchy)
            names.append(n);
        plist::Dict d;
        d.insert(QStringLiteral("$classes"), names);
        d.insert(QStringLiteral("$classname"), hierarchy.first());
        const quint64 ref = add(d);
        classes.insert(hierarchy.first(), ref);
        return plist::Uid{ref};
    }

    plist::Dict objectDict(const QStringList &hierarchy)
    {
        plist::Dict d;
        d.insert(QStringLiteral("$class"), classRef(hierarchy));
        return d;
    }

    plist::Uid stringRef(const QString &s)
    {
        const auto it = strings.constFind(s);
        if (it != strings.constEnd())
            return plist::Uid{*it};
        const quint64 ref = add(s);
        strings.insert(s, ref);
        return plist::Uid{ref};
    }

    plist::Uid colorRef(const QColor &color)
    {
        if (!color.isValid())
            return plist::Uid{0};
        const QColor c = color.toRgb();
        plist::Dict d = objectDict({QStringLiteral("NSColor"), QStringLiteral("NSObject")});
        d.insert(QStringLiteral("NSColorSpace"), 2);
        QByteArray rgb = QStringLiteral("%1 %2 %3 %4")
                             .arg(componentText(c.redF()), componentText(c.greenF()),
                                  componentText(c.blueF()), componentText(c.alphaF()))
                             .toLatin1();
        rgb.append('\0');
        d.insert(QStringLiteral("NSRGB"), rgb);
        return plist::Uid{add(d)};
    }

    plist::Uid fontRef(const FontDescriptor &f)
    {
        plist::Dict d = objectDict({QStringLiteral("NSFont"), QStringLiteral("NSObject")});
        d.insert(QStringLiteral("NSName"), stringRef(f.postScriptName));
        d.insert(QStringLiteral("NSSize"), f.size);
        d.insert(QStringLiteral("NSfFlags"), 16);
        return plist::Uid{add(d)};
    }

    plist::Uid textRef(const AttributedText &t)
    {
        // The storage is reserved first so that it precedes its parts, as archives usually read.
        const quint64 ref = add(plist::Value());
        plist::Dict d =
            objectDict({QStringLiteral("NSTextStorage"), QStringLiteral("NSMutableAttributedString"),
                        QStringLiteral("NSAttributedString"), QStringLiteral("NSObject")});
        d.insert(QStringLiteral("NSString"), stringRef(t.text));
        plist::Array keys, values;
        if (t.font.isValid()) {
            keys.append(stringRef(QStringLiteral("NSFont")));
            values.append(fontRef(t.font));
        }
        if (t.color.isValid()) {
            keys.append(stringRef(QStringLiteral("NSColor")));
            values.append(colorRef(t.color));
        }
        keys.append(stringRef(QStringLiteral("NSKern")));
        values.append(plist::Uid{add(std::isfinite(t.kern) ? t.kern : 0.0)});
        plist::Dict attrs = objectDict({QStringLiteral("NSDictionary"), QStringLiteral("NSObject")});
        attrs.insert(QStringLiteral("NS.keys"), keys);
        attrs.insert(QStringLiteral("NS.objects"), values);
        d.insert(QStringLiteral("NSAttributes"), plist::Uid{add(attrs)});
        objects[qsizetype(ref)] = d;
        return plist::Uid{ref};
    }

    plist::Uid pictureRef(const Picture &p)
    {
        if (p.isNull())
            return plist::Uid{0};
        plist::Dict d = objectDict({QStringLiteral("NSImage"), QStringLiteral("NSObject")});
        d.insert(QStringLiteral("NSSize"), GeometryText::size(p.size()));
        d.insert(QStringLiteral("PNGRepresentation"), p.toPng());
        return plist::Uid{add(d)};
    }

    plist::Uid objectRef(const Archivable *object, KeyedArchiver &coder)
    {
        if (!object)
            return plist::Uid{0};
        // An object that contains itself would make an archive no reader accepts: the inner
        // reference is cut. Finished objects are not looked up by address, since a temporary's
        // address may be reused by the next one.
        if (inProgress.contains(object))
            return plist::Uid{0};
        const quint64 ref = add(plist::Value());
        inProgress.insert(object);
        stack.append(objectDict(object->classHierarchy()));
        object->encodeWithCoder(coder);
        objects[qsizetype(ref)] = stack.takeLast();
        inProgress.remove(object);
        return plist::Uid{ref};
    }

    plist::Uid arrayRef(const QList<const Archivable *> &list, KeyedArchiver &coder)
    {
        const quint64 ref = add(plist::Value());
        plist::Array items;
        for (const Archivable *o : list)
            items.append(objectRef(o, coder));
        plist::Dict d = objectDict({QStringLiteral("NSArray"), QStringLiteral("NSObject")});
        d.insert(QStringLiteral("NS.objects"), items);
        objects[qsizetype(ref)] = d;
        return plist::Uid{ref};
    }

    plist::Value finish(plist::Uid root)
    {
        plist::Dict top;
        top.insert(QStringLiteral("root"), root);
        plist::Dict archive;
        archive.insert(QStringLiteral("$version"), 100000);
        archive.insert(QStringLiteral("$archiver"), QStringLiteral("NSKeyedArchiver"));
        archive.insert(QStringLiteral("$top"), top);
        archive.insert(QStringLiteral("$objects"), objects);
        reset();
        return archive;
    }
};

KeyedArchiver::KeyedArchiver() : d(std::make_shared<Impl>())
{
    d->reset();
}

void KeyedArchiver::encodeBool(const QString &key, bool v)
{
    d->set(key, v);
}

void KeyedArchiver::encodeInt(const QString &key, qint64 v)
{
    d->set(key, v);
}

void KeyedArchiver::encodeDouble(const QString &key, double v)
{
    d->set(key, v);
}

void KeyedArchiver::encodeFloat(const QString &key, float v)
{
    d->set(key, double(v));
}

void KeyedArchiver::encodeString(const QString &key, const std::optional<QString> &v)
{
    d->set(key, v ? d->stringRef(*v) : plist::Uid{0});
}

void KeyedArchiver::encodeRect(const QString &key, const QRectF &r)
{
    d->set(key, GeometryText::rect(r));
}

void KeyedArchiver::encodePoint(const QString &key, const QPointF &p)
{
    d->set(key, GeometryText::point(p));
}

void KeyedArchiver::encodeSize(const QString &key, const QSizeF &s)
{
    d->set(key, GeometryText::size(s));
}

void KeyedArchiver::encodeData(const QString &key, const std::optional<QByteArray> &v)
{
    d->set(key, v ? plist::Value(*v) : plist::Value(plist::Uid{0}));
}

void KeyedArchiver::encodeColor(const QString &key, const std::optional<QColor> &c)
{
    d->set(key, c ? d->colorRef(*c) : plist::Uid{0});
}

void KeyedArchiver::encodeFont(const QString &key, const std::optional<FontDescriptor> &f)
{
    d->set(key, f ? d->fontRef(*f) : plist::Uid{0});
}

void KeyedArchiver::encodeText(const QString &key, const std::optional<AttributedText> &t)
{
    d->set(key, t ? d->textRef(*t) : plist::Uid{0});
}

void KeyedArchiver::encodePicture(const QString &key, const std::optional<Picture> &p)
{
    d->set(key, p ? d->pictureRef(*p) : plist::Uid{0});
}

void KeyedArchiver::encodeObject(const QString &key, const Archivable *object)
{
    d->set(key, d->objectRef(object, *this));
}

void KeyedArchiver::encodeObjects(const QString &key, const QList<const Archivable *> &objects)
{
    d->set(key, d->arrayRef(objects, *this));
}

void KeyedArchiver::encodeValue(const QString &key, const plist::Value &inlineValue)
{
    d->set(key, inlineValue);
}

QByteArray KeyedArchiver::archive(const Archivable &root)
{
    return PropertyList::writeBinary(archiveTree(root));
}

plist::Value KeyedArchiver::archiveTree(const Archivable &root)
{
    d->reset();
    const plist::Uid ref = d->objectRef(&root, *this);
    return d->finish(ref);
}

QByteArray KeyedArchiver::archivedColor(const QColor &c)
{
    KeyedArchiver a;
    return PropertyList::writeBinary(a.d->finish(a.d->colorRef(c)));
}

QByteArray KeyedArchiver::archivedFont(const FontDescriptor &f)
{
    KeyedArchiver a;
    return PropertyList::writeBinary(a.d->finish(a.d->fontRef(f)));
}

QByteArray KeyedArchiver::archivedObject(const Archivable &root)
{
    KeyedArchiver a;
    return a.archive(root);
}

QByteArray KeyedArchiver::archivedObjects(const QList<const Archivable *> &roots)
{
    KeyedArchiver a;
    const plist::Uid ref = a.d->arrayRef(roots, a);
    return PropertyList::writeBinary(a.d->finish(ref));
}

QString KeyedArchiver::numberText(double v)
{
    return GeometryText::number(v);
}
