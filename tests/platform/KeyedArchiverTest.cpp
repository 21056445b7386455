#include "platform/KeyedArchiver.h"
#include "platform/KeyedUnarchiver.h"
#include "platform/PropertyList.h"
#include "support/TestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

// A small graphic with every kind of field, nesting children like a group does.
struct Shape : Archivable {
    QRectF bounds;
    QPointF origin;
    QSizeF corner;
    bool filled = false;
    qint64 tag = 0;
    double angle = 0;
    float opacity = 1;
    std::optional<QString> name;
    std::optional<QString> note;
    std::optional<QColor> fill, stroke;
    std::optional<FontDescriptor> font;
    std::optional<AttributedText> text;
    std::optional<Picture> picture;
    std::optional<QByteArray> blob;
    plist::Value extra;
    QList<std::shared_ptr<Shape>> children;
    std::shared_ptr<Shape> mask;

    QStringList classHierarchy() const override { return {"SKTShape", "SKTGraphic", "NSObject"}; }
    void encodeWithCoder(KeyedArchiver &c) const override
    {
        c.encodeRect("bounds", bounds);
        c.encodePoint("origin", origin);
        c.encodeSize("corner", corner);
        c.encodeBool("filled", filled);
        c.encodeInt("tag", tag);
        c.encodeDouble("angle", angle);
        c.encodeFloat("opacity", opacity);
        c.encodeString("name", name);
        c.encodeString("note", note);
        c.encodeColor("fill", fill);
        c.encodeColor("stroke", stroke);
        c.encodeFont("font", font);
        c.encodeText("text", text);
        c.encodePicture("picture", picture);
        c.encodeData("blob", blob);
        c.encodeValue("extra", extra);
        QList<const Archivable *> kids;
        for (const auto &k : children)
            kids.append(k.get());
        c.encodeObjects("children", kids);
        c.encodeObject("mask", mask.get());
    }
    static std::shared_ptr<Archivable> decode(KeyedUnarchiver &c)
    {
        auto s = std::make_shared<Shape>();
        s->bounds = c.decodeRect("bounds");
        s->origin = c.decodePoint("origin");
        s->corner = c.decodeSize("corner");
        s->filled = c.decodeBool("filled");
        s->tag = c.decodeInt("tag");
        s->angle = c.decodeDouble("angle");
        s->opacity = c.decodeFloat("opacity");
        s->name = c.decodeString("name");
        s->note = c.decodeString("note");
        s->fill = c.decodeColor("fill");
        s->stroke = c.decodeColor("stroke");
        s->font = c.decodeFont("font");
        s->text = c.decodeText("text");
        s->picture = c.decodePicture("picture");
        s->blob = c.decodeData("blob");
        s->extra = c.decodeValue("extra");
        for (const auto &k : c.decodeObjects("children"))
            s->children.append(std::dynamic_pointer_cast<Shape>(k));
        s->mask = std::dynamic_pointer_cast<Shape>(c.decodeObject("mask"));
        return s;
    }
};

Picture testPicture()
{
    QImage img(4, 3, QImage::Format_ARGB32);
    img.fill(QColor(10, 200, 30, 128));
    img.setPixel(1, 1, qRgba(255, 0, 0, 255));
    return Picture(img, QSizeF(8.5, 6));
}

std::shared_ptr<Shape> sampleTree()
{
    auto root = std::make_shared<Shape>();
    root->bounds = QRectF(1.5, 2, 100, 50.25);
    root->origin = QPointF(-3.125, 0.1);
    root->corner = QSizeF(7, 9.5);
    root->filled = true;
    root->tag = -42;
    root->angle = 1.0 / 3.0;
    root->opacity = 0.7f;
    root->name = QString::fromUtf8("Gl\u00fcckwunsch");
    root->fill = QColor(255, 128, 0, 200);
    root->stroke = QColor::fromRgbF(0.1f, 0.2f, 0.3f, 1.0f);
    root->font = FontDescriptor{"LiberationSerif-Bold", 14.5};
    root->text =
        AttributedText{"Happy birthday", FontDescriptor{"LiberationSans", 24}, QColor(0, 0, 255), 1.5};
    root->picture = testPicture();
    root->blob = QByteArray("\x00\x01\x02", 3);
    root->extra = plist::Array{1, "two", 3.5};
    for (int i = 0; i < 3; ++i) {
        auto child = std::make_shared<Shape>();
        child->name = QString("child %1").arg(i);
        child->fill = QColor(i * 50, 0, 0);
        child->text = AttributedText{"", FontDescriptor{}, QColor(), 0};
        if (i == 1) {
            auto grandchild = std::make_shared<Shape>();
            grandchild->name = "deep";
            child->children.append(grandchild);
        }
        root->children.append(child);
    }
    root->mask = std::make_shared<Shape>();
    root->mask->tag = 7;
    return root;
}

KeyedUnarchiver reader(const QByteArray &archive)
{
    KeyedUnarchiver u(archive);
    u.registerClass("SKTShape", &Shape::decode);
    return u;
}

// A hand-made archive: $objects as given, root UID 1.
QByteArray archiveOf(const plist::Array &objects, quint64 root = 1)
{
    plist::Dict top, archive;
    top.insert("root", plist::Uid{root});
    archive.insert("$archiver", "NSKeyedArchiver");
    archive.insert("$version", 100000);
    archive.insert("$top", top);
    archive.insert("$objects", objects);
    return PropertyList::writeBinary(archive);
}

plist::Dict classDict(const QString &name)
{
    plist::Dict d;
    d.insert("$classes", plist::Array{name, "NSObject"});
    d.insert("$classname", name);
    return d;
}

plist::Dict object(quint64 cls, std::initializer_list<std::pair<const char *, plist::Value>> fields)
{
    plist::Dict d;
    d.insert("$class", plist::Uid{cls});
    for (const auto &[k, v] : fields)
        d.insert(k, v);
    return d;
}

} // namespace

TEST(KeyedArchiver, NestedObjectsRoundTrip)
{
    const auto original = sampleTree();
    const QByteArray bytes = KeyedArchiver::archivedObject(*original);
    auto u = reader(bytes);
    ASSERT_TRUE(u.ok()) << u.error().toStdString();
    auto decoded = std::dynamic_pointer_cast<Shape>(u.decodeRootObject());
    ASSERT_TRUE(decoded) << u.error().toStdString();
    EXPECT_TRUE(u.ok()) << u.error().toStdString();
    EXPECT_EQ(decoded->bounds, original->bounds);
    EXPECT_EQ(decoded->origin, original->origin);
    EXPECT_EQ(decoded->corner, original->corner);
    EXPECT_EQ(decoded->filled, true);
    EXPECT_EQ(decoded->tag, -42);
    EXPECT_EQ(decoded->angle, original->angle);
    EXPECT_EQ(decoded->opacity, 0.7f);
    EXPECT_EQ(decoded->name, original->name);
    EXPECT_FALSE(decoded->note.has_value());
    EXPECT_EQ(decoded->fill, original->fill);
    EXPECT_EQ(decoded->stroke, original->stroke);
    EXPECT_EQ(decoded->font, original->font);
    EXPECT_EQ(decoded->text, original->text);
    ASSERT_TRUE(decoded->picture.has_value());
    EXPECT_EQ(decoded->picture->size(), QSizeF(8.5, 6));
    EXPECT_EQ(decoded->picture->image().convertToFormat(QImage::Format_ARGB32),
              original->picture->image().convertToFormat(QImage::Format_ARGB32));
    EXPECT_EQ(decoded->blob, original->blob);
    EXPECT_EQ(decoded->extra, original->extra);
    ASSERT_EQ(decoded->children.size(), 3);
    EXPECT_EQ(decoded->children[2]->name, "child 2");
    EXPECT_EQ(decoded->children[2]->fill, QColor(100, 0, 0));
    EXPECT_EQ(decoded->children[0]->text, original->children[0]->text);
    ASSERT_EQ(decoded->children[1]->children.size(), 1);
    EXPECT_EQ(decoded->children[1]->children[0]->name, "deep");
    ASSERT_TRUE(decoded->mask);
    EXPECT_EQ(decoded->mask->tag, 7);
    EXPECT_FALSE(decoded->children[0]->mask);

    // Through an XML plist tree as well, as design files embed archives.
    KeyedArchiver a;
    const auto viaXml = PropertyList::read(PropertyList::writeXml(a.archiveTree(*original)));
    ASSERT_TRUE(viaXml.ok);
    KeyedUnarchiver u2(viaXml.value);
    u2.registerClass("SKTShape", &Shape::decode);
    auto again = std::dynamic_pointer_cast<Shape>(u2.decodeRootObject());
    ASSERT_TRUE(again) << u2.error().toStdString();
    EXPECT_EQ(again->text, original->text);
}

TEST(KeyedArchiver, PlistlibSeesTheStandardLayout)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("archive.bin");
    ASSERT_TRUE(testsupport::writeFile(path, KeyedArchiver::archivedObject(*sampleTree())));
    const testsupport::ProcResult p = testsupport::run(
        QStringLiteral("/usr/bin/python3"), {TESSALY_TESTS_DIR "/platform/plist_check.py", "archive", path});
    ASSERT_EQ(p.exitCode, 0) << p.err.toStdString();
    const QJsonObject top = QJsonDocument::fromJson(p.out).object();
    EXPECT_EQ(top["$archiver"].toString(), "NSKeyedArchiver");
    EXPECT_EQ(top["$version"].toInt(), 100000);
    const QJsonArray objects = top["$objects"].toArray();
    ASSERT_GT(objects.size(), 10);
    EXPECT_EQ(objects[0].toString(), "$null");
    auto deref = [&](const QJsonValue &v) { return objects[v.toObject()["$uid"].toInt()]; };
    auto classOf = [&](const QJsonValue &obj) { return deref(obj.toObject()["$class"]).toObject(); };

    const QJsonObject root = deref(top["$top"].toObject()["root"]).toObject();
    EXPECT_EQ(classOf(root)["$classname"].toString(), "SKTShape");
    EXPECT_EQ(classOf(root)["$classes"].toArray(), QJsonArray({"SKTShape", "SKTGraphic", "NSObject"}));
    EXPECT_EQ(root["bounds"].toString(), "{{1.5, 2}, {100, 50.25}}");
    EXPECT_EQ(root["origin"].toString(), "{-3.125, 0.1}");
    EXPECT_EQ(root["corner"].toString(), "{7, 9.5}");
    EXPECT_EQ(root["filled"].toBool(), true);
    EXPECT_EQ(root["tag"].toInt(), -42);
    EXPECT_DOUBLE_EQ(root["opacity"].toDouble(), double(0.7f));
    EXPECT_EQ(deref(root["name"]).toString(), QString::fromUtf8("Gl\u00fcckwunsch"));
    EXPECT_EQ(root["note"].toObject()["$uid"].toInt(), 0); // no object: "$null"
    EXPECT_EQ(root["mask"].toObject().contains("$uid"), true);

    const QJsonObject fill = deref(root["fill"]).toObject();
    EXPECT_EQ(classOf(fill)["$classname"].toString(), "NSColor");
    EXPECT_EQ(fill["NSColorSpace"].toInt(), 2);
    const QByteArray rgb = QByteArray::fromHex(fill["NSRGB"].toObject()["$data"].toString().toLatin1());
    // the shortest text that reads back to the same 16-bit channels, plus a final NUL
    EXPECT_EQ(rgb, QByteArray("1 0.50196 0 0.78431", 20));

    const QJsonObject font = deref(root["font"]).toObject();
    EXPECT_EQ(classOf(font)["$classes"].toArray(), QJsonArray({"NSFont", "NSObject"}));
    EXPECT_EQ(deref(font["NSName"]).toString(), "LiberationSerif-Bold");
    EXPECT_EQ(font["NSSize"].toDouble(), 14.5);
    EXPECT_EQ(font["NSfFlags"].toInt(), 16);

    const QJsonObject text = deref(root["text"]).toObject();
    EXPECT_EQ(classOf(text)["$classes"].toArray(),
              QJsonArray({"NSTextStorage", "NSMutableAttributedString", "NSAttributedString", "NSObject"}));
    EXPECT_EQ(deref(text["NSString"]).toString(), "Happy birthday");
    const QJsonObject attrs = deref(text["NSAttributes"]).toObject();
    EXPECT_EQ(classOf(attrs)["$classname"].toString(), "NSDictionary");
    const QJsonArray keys = attrs["NS.keys"].toArray(), values = attrs["NS.objects"].toArray();
    ASSERT_EQ(keys.size(), 3);
    ASSERT_EQ(values.size(), 3);
    EXPECT_EQ(deref(keys[0]).toString(), "NSFont");
    EXPECT_EQ(deref(keys[1]).toString(), "NSColor");
    EXPECT_EQ(deref(keys[2]).toString(), "NSKern");
    EXPECT_EQ(deref(values[2]).toDouble(), 1.5);
    EXPECT_EQ(classOf(deref(values[1]))["$classname"].toString(), "NSColor");

    const QJsonObject picture = deref(root["picture"]).toObject();
    EXPECT_EQ(classOf(picture)["$classes"].toArray(), QJsonArray({"NSImage", "NSObject"}));
    EXPECT_EQ(picture["NSSize"].toString(), "{8.5, 6}");
    EXPECT_TRUE(picture["PNGRepresentation"].toObject()["$data"].toString().startsWith("89504e470d0a1a0a"));

    const QJsonObject children = deref(root["children"]).toObject();
    EXPECT_EQ(classOf(children)["$classes"].toArray(), QJsonArray({"NSArray", "NSObject"}));
    EXPECT_EQ(children["NS.objects"].toArray().size(), 3);

    // Each class is described once, however many objects use it.
    int colorClasses = 0, shapeClasses = 0;
    for (const QJsonValue &o : objects) {
        colorClasses += o.toObject()["$classname"].toString() == "NSColor";
        shapeClasses += o.toObject()["$classname"].toString() == "SKTShape";
    }
    EXPECT_EQ(colorClasses, 1);
    EXPECT_EQ(shapeClasses, 1);
}

TEST(KeyedArchiver, NumberTextIsShortestExactDecimal)
{
    EXPECT_EQ(KeyedArchiver::numberText(1.5), "1.5");
    EXPECT_EQ(KeyedArchiver::numberText(2), "2");
    EXPECT_EQ(KeyedArchiver::numberText(-0.0), "0");
    EXPECT_EQ(KeyedArchiver::numberText(0.1), "0.1");
    EXPECT_EQ(KeyedArchiver::numberText(1234567), "1234567");
    EXPECT_EQ(KeyedArchiver::numberText(-72.25), "-72.25");
    EXPECT_EQ(KeyedArchiver::numberText(1e-7), "0.0000001");
    EXPECT_EQ(KeyedArchiver::numberText(1.0 / 3.0).toDouble(), 1.0 / 3.0);
}

TEST(KeyedArchiver, OneCallColoursAndFonts)
{
    QString error;
    const QColor c(12, 34, 56, 78);
    EXPECT_EQ(KeyedUnarchiver::unarchiveColor(KeyedArchiver::archivedColor(c), &error), c);
    EXPECT_TRUE(error.isEmpty());
    const FontDescriptor f{"LiberationMono-Italic", 9.25};
    EXPECT_EQ(KeyedUnarchiver::unarchiveFont(KeyedArchiver::archivedFont(f), &error), f);
    EXPECT_FALSE(KeyedUnarchiver::unarchiveColor(KeyedArchiver::archivedFont(f), &error).has_value());
    EXPECT_TRUE(error.contains("NSFont")) << error.toStdString();
    EXPECT_FALSE(KeyedUnarchiver::unarchiveFont("garbage", &error).has_value());
    EXPECT_FALSE(error.isEmpty());

    // A list of objects as root.
    Shape a, b;
    a.tag = 1;
    b.tag = 2;
    auto u = reader(KeyedArchiver::archivedObjects({&a, nullptr, &b}));
    const auto list = u.decodeRootObjects();
    ASSERT_EQ(list.size(), 2) << u.error().toStdString();
    EXPECT_EQ(std::static_pointer_cast<Shape>(list[1])->tag, 2);
}

TEST(KeyedUnarchiver, ReadsOtherColourSpaces)
{
    auto colour = [](qint64 space, const char *key, const QByteArray &text) {
        plist::Dict c = object(2, {{"NSColorSpace", space}, {key, text}});
        return KeyedUnarchiver::unarchiveColor(archiveOf({"$null", c, classDict("NSColor")}));
    };
    EXPECT_EQ(colour(1, "NSRGB", QByteArray("1 0 0", 6)), QColor(255, 0, 0));
    EXPECT_NEAR(colour(1, "NSRGB", "0 1 0 0.5")->alphaF(), 0.5, 1e-4);
    EXPECT_EQ(colour(3, "NSWhite", QByteArray("0.5", 4)), QColor::fromRgbF(0.5f, 0.5f, 0.5f));
    EXPECT_EQ(colour(4, "NSWhite", "1 0"), QColor::fromRgbF(1, 1, 1, 0));
    EXPECT_EQ(colour(6, "NSCatalogName", "System"), QColor(Qt::black));
    QString error;
    plist::Dict bad = object(2, {{"NSColorSpace", 2}, {"NSRGB", "1 x 0"}});
    EXPECT_FALSE(KeyedUnarchiver::unarchiveColor(archiveOf({"$null", bad, classDict("NSColor")}), &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(KeyedUnarchiver, HostileArchivesGiveErrors)
{
    auto decode = [](const QByteArray &bytes) {
        auto u = reader(bytes);
        auto o = u.decodeRootObject();
        EXPECT_FALSE(o);
        EXPECT_FALSE(u.ok());
        return u.error();
    };
    const plist::Dict shapeClass = classDict("SKTShape");
    // An object that is its own mask.
    EXPECT_TRUE(
        decode(archiveOf({"$null", object(2, {{"mask", plist::Uid{1}}}), shapeClass})).contains("itself"));
    // Two objects that contain each other.
    EXPECT_TRUE(decode(archiveOf({"$null", object(3, {{"mask", plist::Uid{2}}}),
                                  object(3, {{"mask", plist::Uid{1}}}), shapeClass}))
                    .contains("itself"));
    // References out of range: root, field, class.
    EXPECT_FALSE(decode(archiveOf({"$null", object(2, {}), shapeClass}, 9)).isEmpty());
    EXPECT_TRUE(
        decode(archiveOf({"$null", object(2, {{"name", plist::Uid{99}}}), shapeClass})).contains("99"));
    EXPECT_FALSE(decode(archiveOf({"$null", object(50, {}), shapeClass})).isEmpty());
    // Unknown class, malformed class descriptions, wrong kinds.
    EXPECT_TRUE(decode(archiveOf({"$null", object(2, {}), classDict("SKTUnknown")})).contains("SKTUnknown"));
    plist::Dict noName;
    noName.insert("$classes", plist::Array{"X"});
    EXPECT_FALSE(decode(archiveOf({"$null", object(2, {}), noName})).isEmpty());
    plist::Dict badList = shapeClass;
    badList.insert("$classes", plist::Array{1, 2});
    EXPECT_FALSE(decode(archiveOf({"$null", object(2, {}), badList})).isEmpty());
    EXPECT_TRUE(decode(archiveOf({"$null", object(2, {{"tag", "seven"}}), shapeClass})).contains("tag"));
    EXPECT_TRUE(
        decode(archiveOf({"$null", object(2, {{"bounds", "{1, 2}"}}), shapeClass})).contains("bounds"));
    EXPECT_FALSE(decode(archiveOf({"$null", object(2, {{"name", plist::Uid{2}}}), shapeClass})).isEmpty());
    EXPECT_FALSE(decode(archiveOf({"$null", object(2, {{"fill", plist::Uid{1}}}), shapeClass})).isEmpty());
    EXPECT_FALSE(decode(archiveOf({"$null", object(2, {{"children", 5}}), shapeClass})).isEmpty());
    EXPECT_FALSE(decode(archiveOf({"$null", "not an object", shapeClass})).isEmpty());
    // Not keyed archives at all.
    EXPECT_FALSE(decode(PropertyList::writeBinary(plist::Array{1, 2})).isEmpty());
    EXPECT_FALSE(decode("junk").isEmpty());

    // A long chain of masks is refused before it can exhaust the stack.
    plist::Array chain{"$null"};
    for (int i = 1; i < 2000; ++i)
        chain.append(object(2000, {{"mask", plist::Uid{quint64(i + 1 < 2000 ? i + 1 : 0)}}}));
    chain.append(shapeClass);
    EXPECT_TRUE(decode(archiveOf(chain)).contains("nested")) << decode(archiveOf(chain)).toStdString();
}

TEST(KeyedArchiver, SelfContainingObjectsAreCutNotLooped)
{
    auto a = std::make_shared<Shape>();
    a->mask = a; // a model fault; the archive must still be readable
    auto u = reader(KeyedArchiver::archivedObject(*a));
    auto back = std::dynamic_pointer_cast<Shape>(u.decodeRootObject());
    ASSERT_TRUE(back) << u.error().toStdString();
    EXPECT_FALSE(back->mask);
    a->mask.reset();
}

TEST(KeyedUnarchiver, AbsurdPictureSizesAreHarmless)
{
    QImage img(2, 2, QImage::Format_ARGB32);
    img.fill(Qt::red);
    plist::Dict image =
        object(3, {{"NSSize", "{1e300, 1e300}"}, {"PNGRepresentation", Picture(img).toPng()}});
    plist::Dict shape = object(4, {{"picture", plist::Uid{2}}});
    auto u = reader(archiveOf({"$null", shape, image, classDict("NSImage"), classDict("SKTShape")}));
    auto s = std::dynamic_pointer_cast<Shape>(u.decodeRootObject());
    ASSERT_TRUE(s) << u.error().toStdString();
    ASSERT_TRUE(s->picture.has_value());
    EXPECT_TRUE(s->picture->toImage(300).isNull()); // refused, not a crash or a huge allocation
}
