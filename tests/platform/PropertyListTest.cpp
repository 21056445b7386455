#include "platform/PropertyList.h"
#include "support/TestSupport.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using plist::Value;

namespace
{

const QString checker = QStringLiteral(TESSALY_TESTS_DIR "/platform/plist_check.py");

// The same sample as plist_check.py builds; in XML a UID is the dictionary {"CF$UID": n}.
Value sample()
{
    plist::Dict d;
    d.insert("string", "hello");
    d.insert("unicode", QString::fromUtf8("Gr\u00fc\u00dfe \u2603 \U0001d11e"));
    d.insert("empty", "");
    d.insert("escapes", "a < b & c > d \"q\" 'x'\ttab\nline");
    d.insert("int", 42);
    d.insert("byte", 255);
    d.insert("short", 65535);
    d.insert("word", qint64(4294967295LL));
    d.insert("big", qint64((1LL << 62) + 5));
    d.insert("neg", -7);
    d.insert("minint", std::numeric_limits<qint64>::min());
    d.insert("maxint", std::numeric_limits<qint64>::max());
    d.insert("real", 1.5);
    d.insert("third", 1.0 / 3.0);
    d.insert("tiny", 1e-300);
    d.insert("negreal", -2.25);
    d.insert("wholereal", 2.0);
    d.insert("true", true);
    d.insert("false", false);
    QByteArray bytes;
    for (int r = 0; r < 3; ++r)
        for (int i = 0; i < 256; ++i)
            bytes.append(char(i));
    d.insert("data", bytes);
    d.insert("nodata", QByteArray(""));
    d.insert("date", QDateTime(QDate(2021, 3, 4), QTime(5, 6, 7), QTimeZone::utc()));
    d.insert("olddate", QDateTime(QDate(1969, 7, 20), QTime(20, 17, 40), QTimeZone::utc()));
    plist::Dict four;
    four.insert("four", 4);
    d.insert("array", plist::Array{1, "two", plist::Array{3.0, four}, plist::Array{}});
    plist::Dict deep, nested;
    deep.insert("deep", plist::Array{true, QString(40, 'x')});
    nested.insert("nested", deep);
    d.insert("dict", nested);
    d.insert("emptydict", plist::Dict());
    plist::Array many;
    for (int i = 0; i < 300; ++i)
        many.append(i);
    d.insert("many", many);
    d.insert("uid", plist::Uid{7});
    d.insert("biguid", plist::Uid{70000});
    d.insert("uids", plist::Array{plist::Uid{0}, plist::Uid{255}, plist::Uid{256}});
    return d;
}

int runChecker(const QStringList &args, QString *output)
{
    const testsupport::ProcResult r =
        testsupport::run(QStringLiteral("/usr/bin/python3"), QStringList{checker} + args);
    *output = QString::fromUtf8(r.out + r.err).trimmed();
    return r.exitCode;
}

} // namespace

TEST(PropertyList, PlistlibReadsWhatWeWrite)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString xml = dir.filePath("ours.xml"), bin = dir.filePath("ours.bin");
    QString error;
    ASSERT_TRUE(PropertyList::writeFile(xml, sample(), PropertyList::Format::Xml, &error))
        << error.toStdString();
    ASSERT_TRUE(PropertyList::writeFile(bin, sample(), PropertyList::Format::Binary, &error))
        << error.toStdString();
    QString out;
    EXPECT_EQ(runChecker({"check", xml, "xml"}, &out), 0) << out.toStdString();
    EXPECT_EQ(runChecker({"check", bin, "binary"}, &out), 0) << out.toStdString();
}

TEST(PropertyList, WeReadWhatPlistlibWrites)
{
    QTemporaryDir dir;
    QString out;
    ASSERT_EQ(runChecker({"write", dir.path()}, &out), 0) << out.toStdString();
    for (const char *name : {"sample.xml", "sample.bin"}) {
        const auto r = PropertyList::readFile(dir.filePath(name));
        ASSERT_TRUE(r.ok) << name << ": " << r.error.toStdString();
        EXPECT_EQ(r.format,
                  QString(name).endsWith("bin") ? PropertyList::Format::Binary : PropertyList::Format::Xml);
        const Value expectedAll = sample();
        for (const auto &[key, expected] : expectedAll.toDict().items())
            EXPECT_EQ(r.value.toDict().value(key), expected) << name << " key " << key.toStdString();
        EXPECT_EQ(r.value, sample()) << name;
    }
    // Integers beyond 64 bits signed are refused with a message, not wrapped.
    const auto huge = PropertyList::readFile(dir.filePath("huge.bin"));
    EXPECT_FALSE(huge.ok);
    EXPECT_TRUE(huge.error.contains("too large")) << huge.error.toStdString();
}

TEST(PropertyList, RoundTripsBothFormats)
{
    for (auto format : {PropertyList::Format::Xml, PropertyList::Format::Binary}) {
        const QByteArray bytes = format == PropertyList::Format::Xml ? PropertyList::writeXml(sample())
                                                                     : PropertyList::writeBinary(sample());
        const auto r = PropertyList::read(bytes);
        ASSERT_TRUE(r.ok) << r.error.toStdString();
        EXPECT_EQ(r.format, format);
        EXPECT_EQ(r.value, sample());
    }
    // Special reals and characters XML must escape survive too.
    plist::Dict d;
    d.insert("inf", std::numeric_limits<double>::infinity());
    d.insert("ninf", -std::numeric_limits<double>::infinity());
    d.insert("cr", "one\r\ntwo\rthree");
    d.insert("spaces", "  padded  ");
    const auto r = PropertyList::read(PropertyList::writeXml(d));
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_EQ(r.value, Value(d));
    const auto nan = PropertyList::read(PropertyList::writeXml(Value(std::nan(""))));
    EXPECT_TRUE(nan.ok && std::isnan(nan.value.toReal()));
}

TEST(PropertyList, BinaryLayoutIsMinimal)
{
    // A small plist: one-byte refs and offsets, ASCII strings, an 8-byte negative integer.
    plist::Dict d;
    d.insert("a", -1);
    d.insert("b", "\u00e9");
    const QByteArray bin = PropertyList::writeBinary(d);
    ASSERT_TRUE(bin.startsWith("bplist00"));
    const QByteArray trailer = bin.right(32);
    EXPECT_EQ(trailer.at(6), 1); // offset size
    EXPECT_EQ(trailer.at(7), 1); // reference size
    EXPECT_TRUE(bin.contains(QByteArray::fromHex("13ffffffffffffffff")));
    EXPECT_TRUE(bin.contains(QByteArray::fromHex("6100e9"))); // UTF-16BE
    EXPECT_TRUE(bin.contains(QByteArray::fromHex("5161")));   // ASCII "a"
    // Repeated strings are stored once.
    plist::Array same{"repeat", "repeat", "repeat"};
    EXPECT_EQ(PropertyList::writeBinary(same).count("repeat"), 1);
    // Many objects need two-byte references.
    plist::Array many;
    for (int i = 0; i < 400; ++i)
        many.append(i);
    EXPECT_EQ(PropertyList::writeBinary(many).right(32).at(7), 2);
}

TEST(PropertyList, XmlHasStandardHeaderAndForms)
{
    plist::Dict d;
    d.insert("n", 1.25);
    d.insert("w", 3.0);
    d.insert("u", plist::Uid{5});
    d.insert("t", QDateTime(QDate(2020, 1, 2), QTime(3, 4, 5), QTimeZone::utc()));
    d.insert("f", false);
    const QByteArray xml = PropertyList::writeXml(d);
    EXPECT_TRUE(xml.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE plist PUBLIC"));
    EXPECT_TRUE(xml.contains("<plist version=\"1.0\">"));
    EXPECT_TRUE(xml.contains("<real>1.25</real>"));
    EXPECT_TRUE(xml.contains("<real>3</real>"));
    EXPECT_TRUE(xml.contains("<key>CF$UID</key>"));
    EXPECT_TRUE(xml.contains("<date>2020-01-02T03:04:05Z</date>"));
    EXPECT_TRUE(xml.contains("<false/>"));
}

TEST(PropertyList, BadInputGivesClearErrors)
{
    const QList<QByteArray> bad = {
        "",
        "hello",
        "{ old = style; }",
        "bplist00",
        "bplist01" + QByteArray(40, '\0'),
        "<plist version=\"1.0\"><dict><key>a</key></dict></plist>",
        "<plist><integer>12x</integer></plist>",
        "<plist><integer>99999999999999999999</integer></plist>",
        "<plist><date>yesterday</date></plist>",
        "<plist><data>!!!</data></plist>",
        "<plist><blob/></plist>",
        "<plist><string>open",
        "<plist></plist>",
        "<plist><string>a</string><string>b</string></plist>",
        QByteArray(100000, ' '), // white space past the first look at the format
        QByteArray(100000, '\n') + "hello",
    };
    for (const QByteArray &b : bad) {
        const auto r = PropertyList::read(b);
        EXPECT_FALSE(r.ok) << b.left(80).toStdString();
        EXPECT_FALSE(r.error.isEmpty()) << b.left(80).toStdString();
    }
    const QByteArray far = QByteArray(100000, ' ') + "<plist><string>far</string></plist>";
    EXPECT_EQ(PropertyList::read(far).value, Value("far"));
    EXPECT_FALSE(PropertyList::readFile("/nonexistent/x.plist").ok);
    // A device never ends: refused at once instead of read until memory runs out.
    const auto device = PropertyList::readFile("/dev/zero");
    EXPECT_FALSE(device.ok);
    EXPECT_TRUE(device.error.contains("not a regular file")) << device.error.toStdString();
}

TEST(PropertyList, BinaryCyclesAndOutOfRangeReferencesAreRefused)
{
    // One array whose only item is itself.
    QByteArray cyc("bplist00");
    cyc.append(char(0xA1)).append(char(0x00)); // object 0 at offset 8: [ref 0]
    cyc.append(char(8));                       // offset table at 10
    QByteArray trailer(32, '\0');
    trailer[6] = 1;
    trailer[7] = 1;
    trailer[15] = 1;  // one object
    trailer[31] = 10; // table offset
    auto r = PropertyList::read(cyc + trailer);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.contains("itself")) << r.error.toStdString();

    QByteArray outOfRange = cyc;
    outOfRange[9] = 5; // refers to object 5 of 1
    r = PropertyList::read(outOfRange + trailer);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.contains("out of range")) << r.error.toStdString();

    QByteArray hugeCount = cyc;
    hugeCount[8] = char(0xAF); // count follows as an integer object...
    hugeCount[9] = char(0x13); // ...of 8 bytes, which run past the end
    EXPECT_FALSE(PropertyList::read(hugeCount + trailer).ok);
}

TEST(PropertyList, NestingIsLimited)
{
    // Deeper than the limit is refused in both formats; at the limit it still reads.
    auto nested = [](int levels) {
        Value v = 1;
        for (int i = 0; i < levels; ++i)
            v = plist::Array{v};
        return v;
    };
    QByteArray deepXml = "<plist>";
    for (int i = 0; i < PropertyList::MaxDepth + 5; ++i)
        deepXml += "<array>";
    auto r = PropertyList::read(deepXml);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.contains("nested")) << r.error.toStdString();
    EXPECT_TRUE(PropertyList::read(PropertyList::writeBinary(nested(PropertyList::MaxDepth))).ok);
    EXPECT_TRUE(PropertyList::read(PropertyList::writeXml(nested(PropertyList::MaxDepth))).ok);

    QTemporaryDir dir;
    QString error;
    EXPECT_FALSE(PropertyList::writeFile(dir.filePath("deep.plist"), nested(PropertyList::MaxDepth + 2),
                                         PropertyList::Format::Binary, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFile::exists(dir.filePath("deep.plist")));
}

TEST(PropertyList, SharedObjectsCannotDeepenPastTheLimit)
{
    // Chains that reuse an already-read deep object: each read stays shallow, but the tree would not.
    QByteArray body("bplist00");
    QList<int> offsets;
    const int chain = 300;
    // Object 0 = 1; object i = [object i-1] for i < chain; then two objects reusing the chain's end.
    offsets.append(body.size());
    body.append(char(0x10)).append(char(1));
    for (int i = 1; i < chain; ++i) {
        offsets.append(body.size());
        body.append(char(0xA1)).append(char(0x00)).append(char(0x00));
        body[body.size() - 2] = char((i - 1) >> 8);
        body[body.size() - 1] = char((i - 1) & 0xFF);
    }
    // Top: [last, [[[... last]]]] would read last at depth 1 and again 300 levels down.
    for (int i = 0; i < chain; ++i) {
        offsets.append(body.size());
        const int target = i == 0 ? chain - 1 : chain + i - 1;
        body.append(char(0xA1)).append(char(target >> 8)).append(char(target & 0xFF));
    }
    offsets.append(body.size());
    body.append(char(0xA2));
    body.append(char((chain - 1) >> 8)).append(char((chain - 1) & 0xFF));
    body.append(char((2 * chain - 1) >> 8)).append(char((2 * chain - 1) & 0xFF));
    const int table = body.size();
    for (int off : offsets)
        body.append(char(off >> 8)).append(char(off & 0xFF));
    QByteArray trailer(32, '\0');
    trailer[6] = 2;
    trailer[7] = 2;
    trailer[14] = char(offsets.size() >> 8);
    trailer[15] = char(offsets.size() & 0xFF);
    trailer[22] = char((offsets.size() - 1) >> 8);
    trailer[23] = char((offsets.size() - 1) & 0xFF);
    trailer[30] = char(table >> 8);
    trailer[31] = char(table & 0xFF);
    const auto r = PropertyList::read(body + trailer);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.contains("nested")) << r.error.toStdString();
}

TEST(PropertyList, WriteFileKeepsTheOldFileOnFailure)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("prefs.plist");
    ASSERT_TRUE(PropertyList::writeFile(path, sample(), PropertyList::Format::Xml));
    QString error;
    EXPECT_FALSE(PropertyList::writeFile(dir.filePath("missing/dir/x.plist"), sample(),
                                         PropertyList::Format::Xml, &error));
    EXPECT_FALSE(error.isEmpty());
    const auto r = PropertyList::readFile(path);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.value, sample());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1); // no temporary left behind
}

TEST(PlistValue, CopiesAreIndependent)
{
    Value a = plist::Array{1, 2};
    Value b = a;
    b.array().append(3);
    EXPECT_EQ(a.toArray().size(), 2);
    EXPECT_EQ(b.toArray().size(), 3);
    Value d = plist::Dict();
    d.dict().insert("k", 1);
    Value e = d;
    e.dict().insert("k", 2);
    EXPECT_EQ(d.toDict().value("k").toInteger(), 1);
    EXPECT_EQ(Value(std::nan("")).toInteger(), 0);
    EXPECT_EQ(Value(1e300).toInteger(), std::numeric_limits<qint64>::max());
    EXPECT_EQ(Value("x").toArray().size(), 0);
}

#ifdef CARDTOOL_PATH
TEST(PropertyList, CardtoolConvertsBetweenFormats)
{
    QTemporaryDir dir;
    const QString xml = dir.filePath("in.xml"), bin = dir.filePath("out.bin"),
                  back = dir.filePath("back.xml");
    ASSERT_TRUE(PropertyList::writeFile(xml, sample(), PropertyList::Format::Xml));
    auto run = [](const QStringList &args, QString *err) {
        const testsupport::ProcResult r = testsupport::cardtool(args);
        *err = r.errText();
        return r.exitCode;
    };
    QString err;
    ASSERT_EQ(run({"plist", "--to", "binary", xml, bin}, &err), 0) << err.toStdString();
    ASSERT_EQ(run({"plist", "--to", "xml", bin, back}, &err), 0) << err.toStdString();
    const auto b = PropertyList::readFile(bin), x = PropertyList::readFile(back);
    EXPECT_EQ(b.format, PropertyList::Format::Binary);
    EXPECT_EQ(x.format, PropertyList::Format::Xml);
    EXPECT_EQ(b.value, sample());
    EXPECT_EQ(x.value, sample());

    const QString junk = dir.filePath("junk");
    ASSERT_TRUE(testsupport::writeFile(junk, "bplist00 not really"));
    EXPECT_EQ(run({"plist", "--to", "xml", junk, dir.filePath("o")}, &err), 1);
    EXPECT_TRUE(err.contains("damaged")) << err.toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath("o")));
    EXPECT_EQ(run({"plist", "--to", "yaml", xml, dir.filePath("o")}, &err), 1);
}
#endif

TEST(PropertyList, ReadsUtf16Xml)
{
    const QString text = QString::fromUtf8(PropertyList::writeXml(sample())).replace("UTF-8", "UTF-16");
    QByteArray utf16("\xFF\xFE");
    for (QChar c : text)
        utf16.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
    const auto r = PropertyList::read(utf16);
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_EQ(r.value, sample());
}

// A design's rows repeat the same keys in every row: the tree read holds each key's text once.
TEST(PropertyList, KeysRepeatedFromDictToDictAreHeldOnce)
{
    plist::Array rows;
    for (int r = 0; r < 3; ++r) {
        plist::Dict row;
        row.insert(QStringLiteral("Extension"), Value(QString::number(r + 1)));
        row.insert(QStringLiteral("Column1"), Value(QStringLiteral("Ann")));
        rows.append(Value(row));
    }
    const auto read = PropertyList::read(PropertyList::writeXml(Value(rows)));
    ASSERT_TRUE(read.ok) << read.error.toStdString();
    const plist::Array &got = read.value.toArray();
    ASSERT_EQ(got.size(), 3);
    for (int k = 0; k < 2; ++k) {
        const QString &first = got.at(0).toDict().items().at(k).first;
        for (int r = 1; r < 3; ++r)
            EXPECT_TRUE(got.at(r).toDict().items().at(k).first.isSharedWith(first)) << first.toStdString();
    }
}

// A sink takes the dictionaries of the one top-level array it names, as an XML list is read; what it
// refuses, and everything else, stays in the tree.
TEST(PropertyList, ASinkTakesTheDictionariesOfItsArrayOnly)
{
    const auto dict = [](const QString &name) {
        plist::Dict d;
        d.insert(QStringLiteral("name"), Value(name));
        return Value(d);
    };
    plist::Dict holder; // an array one level further down is not the sink's
    holder.insert(QStringLiteral("inner"), Value(plist::Array{dict("deep")}));
    const plist::Array top{
        Value(plist::Array{dict("before")}),
        Value(plist::Array{dict("a"), Value("text"), dict("refused"), dict("b"), Value(holder)}),
        Value(plist::Array{dict("after")})};
    QStringList taken;
    const PropertyList::DictSink sink{1, [&taken](const plist::Dict &d) {
                                          const QString name = d.value(QStringLiteral("name")).toString();
                                          if (name.isEmpty() || name == QLatin1String("refused"))
                                              return false;
                                          taken << name;
                                          return true;
                                      }};
    const auto read = PropertyList::read(PropertyList::writeXml(Value(top)), &sink);
    ASSERT_TRUE(read.ok) << read.error.toStdString();
    EXPECT_EQ(taken, QStringList({"a", "b"}));
    const plist::Array &got = read.value.toArray();
    ASSERT_EQ(got.size(), 3);
    EXPECT_EQ(got.at(0), top.at(0));
    EXPECT_EQ(got.at(1), Value(plist::Array{Value("text"), dict("refused"), Value(holder)}));
    EXPECT_EQ(got.at(2), top.at(2));
}

// Written to a device as they are made, and with a source giving the dictionaries of one array,
// the bytes are those of the whole list written at once, across the pieces they go out in.
TEST(PropertyList, WrittenInPiecesTheBytesAreThoseOfTheWholeList)
{
    const auto dict = [](int i) {
        plist::Dict d;
        d.insert(QStringLiteral("name"), Value(QStringLiteral("Guest <%1> & \r co").arg(i)));
        if (i % 3 == 0)
            d.insert(QStringLiteral("note"), Value(QString(i % 50, QLatin1Char('x'))));
        return d;
    };
    const struct {
        const char *what;
        int count;
    } cases[] = {{"no dictionaries", 0}, {"one", 1}, {"many pieces' worth", 20000}};
    for (const auto &c : cases) {
        plist::Array dicts;
        for (int i = 0; i < c.count; ++i)
            dicts.append(Value(dict(i)));
        const plist::Array whole{Value("before"), Value(dicts), Value(3)};
        const QByteArray expected = PropertyList::writeXml(Value(whole));

        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("list.plist"));
        ASSERT_TRUE(PropertyList::writeFile(file, Value(whole), PropertyList::Format::Xml)) << c.what;
        EXPECT_EQ(testsupport::readFile(file), expected) << c.what;

        plist::Array placeholder = whole;
        placeholder[1] = Value(plist::Array{Value("not written")});
        const PropertyList::DictSource source{1, c.count, dict};
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        ASSERT_TRUE(PropertyList::writeXml(out, Value(placeholder), &source)) << c.what;
        EXPECT_EQ(out.data(), expected) << c.what;
    }
}
