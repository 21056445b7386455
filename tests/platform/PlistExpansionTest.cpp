#include "platform/BinaryPlistReader.h"
#include "platform/PropertyList.h"
#include "support/TestSupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

// A binary property list from already encoded objects, two-byte references and four-byte offsets;
// the last object is the top.
QByteArray binaryPlist(const QList<QByteArray> &objects)
{
    QByteArray body("bplist00");
    QList<quint32> offsets;
    for (const QByteArray &o : objects) {
        offsets.append(quint32(body.size()));
        body.append(o);
    }
    const quint32 table = quint32(body.size());
    for (quint32 off : offsets)
        body.append(char(off >> 24)).append(char(off >> 16)).append(char(off >> 8)).append(char(off));
    QByteArray trailer(32, '\0');
    trailer[6] = 4;
    trailer[7] = 2;
    const int count = int(objects.size());
    trailer[14] = char(count >> 8);
    trailer[15] = char(count);
    trailer[22] = char((count - 1) >> 8);
    trailer[23] = char(count - 1);
    for (int i = 0; i < 4; ++i)
        trailer[28 + i] = char(table >> (8 * (3 - i)));
    return body + trailer;
}

QByteArray ref(int r)
{
    return QByteArray(1, char(r >> 8)) + QByteArray(1, char(r));
}

// Level 0 is a string; each further level is an array (or a dictionary) naming the level below twice.
QByteArray doublingLevels(int levels, bool dictionaries)
{
    QList<QByteArray> objects{QByteArray("\x55hello"), QByteArray("\x51k"), QByteArray("\x51j")};
    for (int i = 1; i <= levels; ++i) {
        const int below = i == 1 ? 0 : 2 + i - 1;
        if (dictionaries)
            objects.append(QByteArray("\xD2") + ref(1) + ref(2) + ref(below) + ref(below));
        else
            objects.append(QByteArray("\xA2") + ref(below) + ref(below));
    }
    return binaryPlist(objects);
}

} // namespace

TEST(PlistExpansion, SharedLevelsThatWouldExplodeAreRefused)
{
    for (bool dictionaries : {false, true}) {
        for (int levels : {24, 40}) {
            const auto r = PropertyList::read(doublingLevels(levels, dictionaries));
            EXPECT_FALSE(r.ok) << levels;
            EXPECT_TRUE(r.error.contains("too large")) << r.error.toStdString();
        }
    }
}

TEST(PlistExpansion, ModestSharingStillReadsAndWritesInFull)
{
    // Ten levels: 1,024 copies of the string once written out.
    const auto r = PropertyList::read(doublingLevels(10, false));
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    const QByteArray xml = PropertyList::writeXml(r.value);
    EXPECT_EQ(xml.count("<string>hello</string>"), 1024);
    const auto back = PropertyList::read(PropertyList::writeBinary(r.value));
    ASSERT_TRUE(back.ok);
    EXPECT_EQ(back.value, r.value);
}

TEST(PlistExpansion, SharedDataIsBudgetedByBytes)
{
    // One megabyte of data named 300 times would be 300 MB written out.
    QList<QByteArray> objects;
    objects.append(QByteArray("\x4F\x12\x00\x10\x00\x00", 6) + QByteArray(1 << 20, 'z'));
    QByteArray array("\xAF\x11\x01\x2C", 4);
    for (int i = 0; i < 300; ++i)
        array.append(ref(0));
    objects.append(array);
    const auto r = PropertyList::read(binaryPlist(objects));
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.contains("too large")) << r.error.toStdString();

    // The same data named a few times is fine.
    objects[1] = QByteArray("\xA3") + ref(0) + ref(0) + ref(0);
    const auto few = PropertyList::read(binaryPlist(objects));
    ASSERT_TRUE(few.ok) << few.error.toStdString();
    EXPECT_EQ(few.value.toArray().size(), 3);
}

TEST(PlistExpansion, LoneSurrogateIsWrittenAsReplacementCharacter)
{
    QString text = QStringLiteral("a");
    text.append(QChar(0xD83D)); // high half with no low half
    text.append(QLatin1String("b"));
    text.append(QChar(0xDC00)); // low half alone
    plist::Dict d;
    d.insert("name", text);
    const QByteArray xml = PropertyList::writeXml(d);
    const auto r = PropertyList::read(xml);
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    const QString expected = QStringLiteral("a\uFFFDb\uFFFD");
    EXPECT_EQ(r.value.toDict().value("name").toString(), expected);

    // An independent reader sees the same text.
    QTemporaryDir dir;
    const QString path = dir.filePath("s.plist");
    ASSERT_TRUE(testsupport::writeFile(path, xml));
    const auto py = testsupport::python(
        "import plistlib,sys;print(ascii(plistlib.load(open(sys.argv[1],'rb'))['name']))", {path});
    ASSERT_EQ(py.exitCode, 0) << py.errText().toStdString();
    EXPECT_EQ(py.outText().trimmed(), QStringLiteral("'a\\ufffdb\\ufffd'"));
}
