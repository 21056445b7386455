#include "platform/KeyedArchiver.h"
#include "platform/KeyedUnarchiver.h"
#include "platform/PropertyList.h"

#include <QTimeZone>
#include <gtest/gtest.h>

#include <random>

namespace
{

struct Node : Archivable {
    QString label;
    std::optional<QColor> color;
    std::optional<FontDescriptor> font;
    std::optional<AttributedText> text;
    std::optional<Picture> picture;
    QRectF frame;
    QList<std::shared_ptr<Node>> kids;

    QStringList classHierarchy() const override { return {"TSNode", "NSObject"}; }
    void encodeWithCoder(KeyedArchiver &c) const override
    {
        c.encodeString("label", label);
        c.encodeColor("color", color);
        c.encodeFont("font", font);
        c.encodeText("text", text);
        c.encodePicture("picture", picture);
        c.encodeRect("frame", frame);
        QList<const Archivable *> list;
        for (const auto &k : kids)
            list.append(k.get());
        c.encodeObjects("kids", list);
    }
    static std::shared_ptr<Archivable> decode(KeyedUnarchiver &c)
    {
        auto n = std::make_shared<Node>();
        n->label = c.decodeString("label").value_or(QString());
        n->color = c.decodeColor("color");
        n->font = c.decodeFont("font");
        n->text = c.decodeText("text");
        n->picture = c.decodePicture("picture");
        n->frame = c.decodeRect("frame");
        n->kids.clear();
        for (const auto &k : c.decodeObjects("kids"))
            n->kids.append(std::static_pointer_cast<Node>(k));
        return n;
    }
};

plist::Value smallPlist()
{
    plist::Dict d;
    d.insert("name", "card");
    d.insert("wide", QString::fromUtf8("\u00e9t\u00e9 \u2603"));
    d.insert("count", 3);
    d.insert("big", qint64(1) << 40);
    d.insert("neg", -5);
    d.insert("ratio", 0.75);
    d.insert("on", true);
    d.insert("blob", QByteArray("\x01\x02\x03\xff", 4));
    d.insert("when", QDateTime(QDate(2022, 5, 6), QTime(7, 8, 9), QTimeZone::utc()));
    d.insert("ref", plist::Uid{3});
    plist::Dict inner;
    inner.insert("list", plist::Array{1, "x", plist::Array{2.5, false}});
    d.insert("inner", inner);
    return d;
}

QByteArray sampleArchive()
{
    Node root;
    root.label = "root";
    root.color = QColor(1, 2, 3, 4);
    root.font = FontDescriptor{"LiberationSans", 12};
    root.text = AttributedText{"Hi", FontDescriptor{"LiberationSerif", 10}, QColor(Qt::red), 0.5};
    QImage img(2, 2, QImage::Format_ARGB32);
    img.fill(Qt::blue);
    root.picture = Picture(img);
    root.frame = QRectF(1, 2, 3, 4);
    for (int i = 0; i < 2; ++i) {
        auto k = std::make_shared<Node>();
        k->label = QString("kid %1").arg(i);
        root.kids.append(k);
    }
    return KeyedArchiver::archivedObject(root);
}

// Whatever a reader accepts must write back stably in both formats.
void checkStable(const plist::Value &v)
{
    for (auto format : {PropertyList::Format::Binary, PropertyList::Format::Xml}) {
        auto write = [&](const plist::Value &x) {
            return format == PropertyList::Format::Binary ? PropertyList::writeBinary(x)
                                                          : PropertyList::writeXml(x);
        };
        const auto first = PropertyList::read(write(v));
        ASSERT_TRUE(first.ok) << first.error.toStdString();
        const auto second = PropertyList::read(write(first.value));
        ASSERT_TRUE(second.ok) << second.error.toStdString();
        EXPECT_EQ(write(first.value), write(second.value));
    }
}

void readArchive(const QByteArray &bytes)
{
    KeyedUnarchiver u(bytes);
    u.registerClass("TSNode", &Node::decode);
    const auto root = u.decodeRootObject();
    EXPECT_EQ(root != nullptr, u.ok()) << u.error().toStdString();
    if (!u.ok()) {
        EXPECT_FALSE(u.error().isEmpty());
    }
}

// Truncations at every point of the tail and header, plus random bit flips and byte stamps.
QList<QByteArray> mutations(const QByteArray &seed, int count, std::mt19937 &rng)
{
    QList<QByteArray> out;
    const int n = int(seed.size());
    const int step = qMax(1, n / 120);
    for (int len = 0; len < n; len += (len < 48 || len > n - 48) ? 1 : step)
        out.append(seed.left(len));
    static const char stamps[] = {'\x00', '\xff', '\x0f', '\x7f', '\x80', '\x5f', '\xdf', '\x13'};
    while (out.size() < count) {
        QByteArray m = seed;
        const int edits = 1 + int(rng() % 4);
        for (int e = 0; e < edits; ++e) {
            // Bias a third of the edits towards the trailer and offset table, where binary plists are
            // fragile.
            const int pos =
                (rng() % 3 == 0) ? n - 1 - int(rng() % quint32(qMin(n, 64))) : int(rng() % quint32(n));
            if (rng() % 2)
                m[pos] = char(m[pos] ^ char(1 << (rng() % 8)));
            else
                m[pos] = stamps[rng() % sizeof(stamps)];
        }
        out.append(m);
    }
    return out;
}

void quietMessages(QtMsgType, const QMessageLogContext &, const QString &) {}

} // namespace

TEST(PlistFuzz, DamagedInputsReadOrFailCleanly)
{
    // Damaged pictures inside archives make the image decoder warn; that noise is not the test.
    const auto previous = qInstallMessageHandler(quietMessages);
    std::mt19937 rng(20240611);
    const plist::Value sample = smallPlist();
    const QList<QByteArray> plistSeeds = {PropertyList::writeBinary(sample), PropertyList::writeXml(sample)};
    int accepted = 0, total = 0;
    for (const QByteArray &seed : plistSeeds) {
        for (const QByteArray &m : mutations(seed, 1500, rng)) {
            const auto r = PropertyList::read(m);
            ++total;
            if (r.ok) {
                ++accepted;
                checkStable(r.value);
            } else {
                EXPECT_FALSE(r.error.isEmpty());
            }
        }
    }
    KeyedArchiver a;
    Node tiny;
    tiny.label = "t";
    tiny.color = QColor(Qt::green);
    const QList<QByteArray> archiveSeeds = {sampleArchive(),
                                            PropertyList::writeXml(PropertyList::read(sampleArchive()).value),
                                            KeyedArchiver::archivedObject(tiny)};
    for (const QByteArray &seed : archiveSeeds) {
        for (const QByteArray &m : mutations(seed, 700, rng)) {
            readArchive(m);
            ++total;
        }
    }
    qInstallMessageHandler(previous);
    EXPECT_GT(total, 5000);
    EXPECT_GT(accepted, 0);
    EXPECT_LT(accepted, total);
}

TEST(PlistFuzz, HandMadeHostileBinaries)
{
    auto withTrailer = [](QByteArray body, int offsetSize, int refSize, quint64 count, quint64 top,
                          quint64 table) {
        QByteArray t(6, '\0');
        t.append(char(offsetSize)).append(char(refSize));
        for (quint64 v : {count, top, table})
            for (int i = 7; i >= 0; --i)
                t.append(char((v >> (8 * i)) & 0xFF));
        return body + t;
    };
    const QByteArray oneInt =
        QByteArray("bplist00") + QByteArray::fromHex("1005") + QByteArray::fromHex("08");
    EXPECT_TRUE(PropertyList::read(withTrailer(oneInt, 1, 1, 1, 0, 10)).ok);
    for (const auto &bad : {
             withTrailer(oneInt, 0, 1, 1, 0, 10),           // no offset size
             withTrailer(oneInt, 9, 1, 1, 0, 10),           // offset size too large
             withTrailer(oneInt, 1, 1, 0, 0, 10),           // no objects
             withTrailer(oneInt, 1, 1, 1, 1, 10),           // top object out of range
             withTrailer(oneInt, 1, 1, ~quint64(0), 0, 10), // absurd object count
             withTrailer(oneInt, 1, 1, 1, 0, ~quint64(0)),  // table offset past the end
             withTrailer(oneInt, 8, 8, 1, 0, 10),           // table runs into the trailer
             withTrailer(QByteArray("bplist00") + QByteArray::fromHex("5f10ff") + QByteArray::fromHex("08"),
                         1, 1, 1, 0, 11), // string longer than the file
             withTrailer(QByteArray("bplist00") + QByteArray::fromHex("6f13ffffffffffffffff08"), 1, 1, 1, 0,
                         18),
             withTrailer(QByteArray("bplist00") + QByteArray::fromHex("d1000008"), 1, 1, 1, 0,
                         11), // key not a string
             withTrailer(QByteArray("bplist00") + QByteArray::fromHex("33") + QByteArray(8, '\x7f') +
                             QByteArray::fromHex("08"),
                         1, 1, 1, 0, 17), // date out of range
         }) {
        const auto r = PropertyList::read(bad);
        EXPECT_FALSE(r.ok) << bad.toHex().toStdString();
        EXPECT_FALSE(r.error.isEmpty());
    }
}
