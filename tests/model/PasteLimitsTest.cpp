// Objects read from the clipboard keep the design file's limits: a small clipboard naming one
// archive many times is refused before anything is decoded, and a list within the limits pastes.
#include "ModelFixture.h"

#include "model/ObjectListLimits.h"
#include "model/SKTText.h"
#include "platform/PropertyList.h"

#include <QtEndian>

namespace
{
class PasteLimitsTest : public ModelTest
{
};

void appendBig(QByteArray &out, quint64 value, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i)
        out.append(char((value >> (8 * i)) & 0xff));
}

// A binary property list by hand: one array whose `count` elements all name the same data object,
// as a hostile program would write it (our own writer stores each element).
QByteArray arrayNamingOneData(quint32 count, const QByteArray &payload)
{
    QByteArray out("bplist00");
    const quint64 arrayAt = quint64(out.size());
    out.append(char(0xAF));
    out.append(char(0x12)); // a four-byte count follows
    appendBig(out, count, 4);
    out.append(QByteArray(qsizetype(count), char(1))); // one-byte references to object 1
    const quint64 dataAt = quint64(out.size());
    out.append(char(0x4F));
    out.append(char(0x12));
    appendBig(out, quint64(payload.size()), 4);
    out.append(payload);
    const quint64 tableAt = quint64(out.size());
    appendBig(out, arrayAt, 4);
    appendBig(out, dataAt, 4);
    out.append(QByteArray(6, '\0'));
    out.append(char(4)); // offset size
    out.append(char(1)); // reference size
    appendBig(out, 2, 8);
    appendBig(out, 0, 8);
    appendBig(out, tableAt, 8);
    return out;
}

QByteArray textArchive()
{
    auto text = std::make_shared<SKTText>();
    text->Text_contents().text = QStringLiteral("Hello");
    return text->archivedData();
}
} // namespace

TEST_F(PasteLimitsTest, OneArchiveNamedManyThousandTimesIsRefusedAsTooManyObjects)
{
    // 200 KB naming one small element 200,000 times, and 80,000 names of a real text archive
    // (as many as the property-list reader lets through for an archive of its size).
    for (const auto &[count, payload] :
         {std::pair<quint32, QByteArray>(200000, QByteArray("tiny")), std::pair(80000u, textArchive())}) {
        const QByteArray hostile = arrayNamingOneData(count, payload);
        ASSERT_LT(hostile.size(), 300 * 1024);
        // The crafted list is a sound property list: the refusal comes from the object limit.
        const PropertyList::ReadResult r = PropertyList::read(hostile);
        ASSERT_TRUE(r.ok) << r.error.toStdString();
        ASSERT_EQ(r.value.toArray().size(), qsizetype(count));
        int code = 0;
        EXPECT_FALSE(SKTGraphic::graphicsWithPasteboardData(hostile, &code)) << count;
        EXPECT_EQ(code, SKTGraphic::PasteTooManyObjects) << count;
    }
}

TEST_F(PasteLimitsTest, ObjectCountLimitIsTheDesignFilesAndItsEdgePastes)
{
    const QByteArray archive = textArchive();
    int code = 0;
    const std::optional<GraphicList> atLimit = SKTGraphic::graphicsWithPasteboardData(
        arrayNamingOneData(quint32(ObjectListLimits::MaxObjects), archive), &code);
    ASSERT_TRUE(atLimit);
    EXPECT_EQ(atLimit->size(), ObjectListLimits::MaxObjects);
    EXPECT_EQ(atLimit->last()->_Text_contents->text, QStringLiteral("Hello"));
    EXPECT_FALSE(SKTGraphic::graphicsWithPasteboardData(
        arrayNamingOneData(quint32(ObjectListLimits::MaxObjects + 1), archive), &code));
    EXPECT_EQ(code, SKTGraphic::PasteTooManyObjects);
}

TEST_F(PasteLimitsTest, ArchiveBytesCountEveryNamingAndHugeDataIsRefusedUnread)
{
    // 100 names of one 400 KB archive: 40 MB of archives from a 400 KB clipboard.
    QByteArray padded = textArchive();
    padded.append(QByteArray(400 * 1024, ' '));
    int code = 0;
    EXPECT_FALSE(SKTGraphic::graphicsWithPasteboardData(arrayNamingOneData(100, padded), &code));
    EXPECT_EQ(code, SKTGraphic::PasteTooLargeBytes);
    // Within the byte limit the same archive pastes (a damaged archive is skipped, not fatal).
    code = 0;
    const std::optional<GraphicList> few =
        SKTGraphic::graphicsWithPasteboardData(arrayNamingOneData(10, padded), &code);
    ASSERT_TRUE(few) << code;
    EXPECT_LE(few->size(), 10);
    // Data far beyond the limit is refused before it is parsed.
    code = 0;
    EXPECT_FALSE(SKTGraphic::graphicsWithPasteboardData(
        QByteArray(qsizetype(ObjectListLimits::MaxObjectArchiveBytes + (2 << 20)), 'x'), &code));
    EXPECT_EQ(code, SKTGraphic::PasteTooLargeBytes);
}
