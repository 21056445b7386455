// Image files: format by extension, atomic replacement, naming of batch and back files.
#include "output/ImageFileWriter.h"
#include "output/CombinedImage.h"
#include "output/ExportPaths.h"
#include "output/PngEncoder.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QTemporaryDir>

#include <thread>
#include <vector>

using testsupport::readFile;

namespace
{

QImage sample(int w, int h, bool transparentCorner)
{
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(QColor(20, 120, 220));
    QPainter p(&img);
    p.fillRect(QRect(w / 4, h / 4, w / 2, h / 2), QColor(250, 200, 10));
    if (transparentCorner) {
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.fillRect(QRect(0, 0, 3, 3), QColor(255, 0, 0, 128));
    }
    return img;
}

} // namespace

TEST(ExportPaths, BackFileChangesOnlyTheLastComponent)
{
    EXPECT_EQ(ExportPaths::Create_Back_Card_Path("/x/card.png"), "/x/card_Back.png");
    EXPECT_EQ(ExportPaths::Create_Back_Card_Path("/a/Card_3/Card_3.PNG"), "/a/Card_3/Card_3_Back.PNG");
    EXPECT_EQ(ExportPaths::Create_Back_Card_Path("/a/card.png/card.png"), "/a/card.png/card_Back.png");
    EXPECT_EQ(ExportPaths::Create_Back_Card_Path("/a/b.tar.tiff"), "/a/b.tar_Back.tiff");
    EXPECT_EQ(ExportPaths::Create_Back_Card_Path("/a/noext"), "/a/noext_Back");
    EXPECT_EQ(ExportPaths::Create_Front_Card_Path("/a/card.png"), "/a/card.png");
    EXPECT_EQ(ExportPaths::batchCardPath("/o/ZOLV Tessaly Greeting Card", 0, "JPG"),
              "/o/ZOLV Tessaly Greeting Card/Card_1.JPG");
    EXPECT_EQ(ExportPaths::batchFolderPath("/o"), "/o/ZOLV Tessaly Greeting Card");
}

TEST(ExportPaths, BatchFolderIsCreatedWithDefaultPermissionsAndReused)
{
    QTemporaryDir tmp;
    const QString folder = ExportPaths::batchFolderPath(tmp.filePath("deep/er"));
    EXPECT_TRUE(ExportPaths::createBatchFolder(folder).isEmpty());
    EXPECT_FALSE(QFileInfo(folder).permissions() & QFile::WriteOther); // umask honoured, not 0777
    QFile other(QDir(folder).filePath("keep.txt"));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.close();
    EXPECT_TRUE(ExportPaths::createBatchFolder(folder).isEmpty());
    EXPECT_TRUE(QFile::exists(other.fileName()));

    QFile blocker(tmp.filePath("file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_FALSE(ExportPaths::createBatchFolder(tmp.filePath("file")).isEmpty());
}

// What an earlier export left is told apart from the user's own files by name and type, in card
// order, and only it is removed.
TEST(ExportPaths, EarlierCardsAreTheCardFilesOfTheTypesWrittenAndNothingElse)
{
    QTemporaryDir tmp;
    const QString folder = ExportPaths::batchFolderPath(tmp.path());
    EXPECT_TRUE(ExportPaths::earlierCards(folder).files.isEmpty()); // no folder yet
    ASSERT_TRUE(QDir().mkpath(folder + "/Card_7.png"));             // a folder, not a card
    const QStringList cards{"Card_2.jpeg", "Card_2_Back.jpeg", "Card_10.png", "Card_11_Back.TIFF"};
    const QStringList others{"Card_0.png", "Card_03.png", "Card_4.pdf",      "Card_5.png.txt",
                             "notes.txt",  "card_6.png",  "Card_8_Front.png"};
    for (const QString &name : cards + others)
        testsupport::writeFile(QDir(folder).filePath(name), "x");
    const ExportPaths::EarlierCards earlier = ExportPaths::earlierCards(folder);
    QStringList names;
    for (const QString &path : earlier.files)
        names << QFileInfo(path).fileName();
    EXPECT_EQ(names, cards);
    EXPECT_EQ(earlier.cards, 3);

    EXPECT_EQ(ExportPaths::newBatchFolderPath(tmp.path()), folder + " 2");
    ASSERT_TRUE(QDir().mkpath(folder + " 2"));
    EXPECT_EQ(ExportPaths::newBatchFolderPath(tmp.path()), folder + " 3");

    EXPECT_TRUE(ExportPaths::removeEarlierCards(folder).isEmpty());
    QStringList left = QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    left.sort();
    QStringList kept = others + QStringList{"Card_7.png"};
    kept.sort();
    EXPECT_EQ(left, kept);
}

TEST(ImageFileWriter, EachFileHoldsTheFormatItsExtensionNames)
{
    QTemporaryDir tmp;
    const QImage img = sample(40, 30, true);
    const struct {
        const char *ext;
        QByteArray magic;
        QByteArray readerFormat;
    } cases[] = {{"png", "\x89PNG", "png"},
                 {"PNG", "\x89PNG", "png"},
                 {"jpg", "\xff\xd8\xff", "jpeg"},
                 {"jpeg", "\xff\xd8\xff", "jpeg"},
                 {"tiff", "II*", "tiff"},
                 {"TIF", "II*", "tiff"},
                 {"bmp", "BM", "bmp"}};
    for (const auto &c : cases) {
        EXPECT_TRUE(ImageFileWriter::checkExtension(c.ext).isEmpty()) << c.ext;
        const QString path = tmp.filePath(QStringLiteral("card.%1").arg(c.ext));
        ASSERT_TRUE(ImageFileWriter::Save_gen_image(img, path, 300).ok) << c.ext;
        EXPECT_TRUE(readFile(path).startsWith(c.magic)) << c.ext;
        QImageReader reader(path);
        reader.setDecideFormatFromContent(true);
        EXPECT_EQ(reader.format(), c.readerFormat) << c.ext;
        const QImage back = reader.read();
        ASSERT_EQ(back.size(), img.size()) << c.ext;
        EXPECT_NEAR(back.dotsPerMeterX(), 300 / 0.0254, 1) << c.ext;
        // Lossless formats keep the pixels; JPEG keeps them roughly.
        const QColor mid = back.pixelColor(20, 15);
        EXPECT_NEAR(mid.red(), 250, 8) << c.ext;
        EXPECT_NEAR(mid.blue(), 10, 12) << c.ext;
    }
    // PNG keeps transparency; BMP and JPEG put it on white.
    EXPECT_EQ(QImage(tmp.filePath("card.png")).pixelColor(0, 0).alpha(), 128);
    EXPECT_EQ(QImage(tmp.filePath("card.bmp")).pixelColor(10, 10).alpha(), 255);
    // An extension given with its dot, as the export options may carry it, names the same format.
    EXPECT_EQ(ImageFileWriter::formatForExtension(".jpeg"), ImageFileWriter::Format::Jpeg);
    // Other extensions are refused and write nothing.
    for (const char *other : {"gif", "pdf", ""}) {
        EXPECT_FALSE(ImageFileWriter::checkExtension(other).isEmpty()) << other;
        const QString path = tmp.filePath(QStringLiteral("other.%1").arg(other));
        EXPECT_FALSE(ImageFileWriter::Save_gen_image(img, path, 72).ok) << other;
        EXPECT_FALSE(QFile::exists(path)) << other;
    }
}

// Rows are packed four pixels at a time: every width, every 32-bit format and every kind of
// alpha comes back as drawn, and a buffer used card after card holds only the last card.
TEST(ImageFileWriter, PngPackingOfEveryWidthAndAlpha)
{
    QByteArray buffer;
    for (int w : {1, 2, 3, 4, 5, 7, 8, 33}) {
        for (QImage::Format format :
             {QImage::Format_RGB32, QImage::Format_ARGB32, QImage::Format_ARGB32_Premultiplied}) {
            QImage img(w, 3, format);
            for (int y = 0; y < 3; ++y)
                for (int x = 0; x < w; ++x)
                    img.setPixelColor(x, y, QColor((x * 37) % 256, (y * 91 + x) % 256, (x * 13 + 200) % 256));
            // One pixel clear, one half clear, at the row's far end where the packing tail works.
            if (format != QImage::Format_RGB32) {
                img.setPixelColor(w - 1, 1, QColor(10, 20, 30, 0));
                img.setPixelColor(w - 1, 2, QColor(200, 100, 50, 128));
            }
            ASSERT_EQ(PngEncoder::isOpaque(img), format == QImage::Format_RGB32);
            ASSERT_TRUE(PngEncoder::encodeInto(img, 72, buffer));
            EXPECT_EQ(buffer, PngEncoder::encode(img, 72));
            const QImage back = QImage::fromData(buffer, "PNG").convertToFormat(QImage::Format_ARGB32);
            const QImage want = img.convertToFormat(QImage::Format_ARGB32);
            ASSERT_EQ(back.size(), want.size());
            for (int y = 0; y < 3; ++y)
                for (int x = 0; x < w; ++x) {
                    if (qAlpha(want.pixel(x, y)) == 0)
                        EXPECT_EQ(qAlpha(back.pixel(x, y)), 0) << w << " " << x << "," << y;
                    else
                        EXPECT_EQ(back.pixel(x, y), want.pixel(x, y)) << w << " " << x << "," << y;
                }
        }
    }
    QString error;
    EXPECT_FALSE(PngEncoder::encodeInto(QImage(), 72, buffer, &error));
    EXPECT_TRUE(buffer.isEmpty());
    EXPECT_FALSE(error.isEmpty());
}

TEST(ImageFileWriter, FailedWriteKeepsTheOldFile)
{
    QTemporaryDir tmp;
    const QString path = tmp.filePath("card.png");
    ASSERT_TRUE(ImageFileWriter::Save_gen_image(sample(10, 10, false), path).ok);
    const QByteArray before = readFile(path);
    // Nothing to encode: the old card stays whole rather than being deleted first.
    const auto r = ImageFileWriter::Save_gen_image(QImage(), path);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.contains(path));
    EXPECT_EQ(readFile(path), before);
    // A target that cannot be replaced gives a message naming it.
    QDir(tmp.path()).mkdir("taken.png");
    EXPECT_FALSE(ImageFileWriter::writeAtomically(tmp.filePath("taken.png"), "x").ok);
    EXPECT_FALSE(ImageFileWriter::writeAtomically(tmp.filePath("missing/card.png"), "x").ok);
    // A successful write replaces the content.
    ASSERT_TRUE(ImageFileWriter::writeAtomically(path, "new").ok);
    EXPECT_EQ(readFile(path), "new");
}

// Both ways of writing (an unnamed file named when complete, and the named temporary for file
// systems without unnamed files) put whole files in place, keep a replaced file's permissions and
// leave no temporary behind, also when writers race for one name.
TEST(ImageFileWriter, EveryWayOfWritingReplacesWholeAndLeavesNoTemporary)
{
    using Write = ImageFileWriter::WriteResult (*)(const QString &, const QByteArray &);
    for (Write write : {&ImageFileWriter::writeAtomically, &ImageFileWriter::writeThroughNamedFile}) {
        QTemporaryDir tmp;
        const QString path = tmp.filePath("card.png");
        ASSERT_TRUE(write(path, "first").ok);
        EXPECT_EQ(readFile(path), "first");
        ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
        ASSERT_TRUE(write(path, "second").ok);
        EXPECT_EQ(readFile(path), "second");
        EXPECT_EQ(QFileInfo(path).permissions() & 0x7077,
                  QFile::ReadOwner | QFile::WriteOwner); // owner, group, others

        QDir(tmp.path()).mkdir("taken.png");
        const auto refused = write(tmp.filePath("taken.png"), "x");
        EXPECT_FALSE(refused.ok);
        EXPECT_TRUE(refused.error.contains(tmp.filePath("taken.png"))) << refused.error.toStdString();
        EXPECT_FALSE(write(tmp.filePath("missing/card.png"), "x").ok);

        std::vector<std::thread> racers;
        for (int t = 0; t < 6; ++t)
            racers.emplace_back([&, t] {
                for (int i = 0; i < 20; ++i)
                    EXPECT_TRUE(write(tmp.filePath("raced.png"), QByteArray(1000 + t, char('a' + t))).ok);
            });
        for (std::thread &r : racers)
            r.join();
        const QByteArray raced = readFile(tmp.filePath("raced.png"));
        ASSERT_GE(raced.size(), 1000);
        EXPECT_EQ(raced, QByteArray(raced.size(), char('a' + raced.size() - 1000)));

        EXPECT_EQ(QDir(tmp.path()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name),
                  QStringList({"card.png", "raced.png"}));
    }
}

// A group begins every file at once and names each only when finished: until then an old file of
// that name stays whole, a failure stays with its own file, and what is never finished leaves
// nothing behind.
TEST(ImageFileWriter, AGroupNamesEachFileWhenFinishedAndDropsTheRest)
{
    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    ASSERT_TRUE(ImageFileWriter::writeAtomically(dir.filePath("b.png"), "old b").ok);
    ASSERT_TRUE(dir.mkdir("taken.png"));
    {
        ImageFileWriter::WriteGroup group;
        const size_t a = group.add(dir.filePath("a.png"), "new a");
        const size_t b = group.add(dir.filePath("b.png"), "new b");
        const size_t taken = group.add(dir.filePath("taken.png"), "x");
        const size_t missing = group.add(dir.filePath("missing/c.png"), "x");
        const size_t never = group.add(dir.filePath("never.png"), "x");
        EXPECT_FALSE(dir.exists("a.png"));
        EXPECT_EQ(readFile(dir.filePath("b.png")), "old b");

        EXPECT_TRUE(group.finish(b).ok);
        EXPECT_EQ(readFile(dir.filePath("b.png")), "new b");
        EXPECT_FALSE(dir.exists("a.png"));
        const auto refused = group.finish(taken);
        EXPECT_FALSE(refused.ok);
        EXPECT_TRUE(refused.error.contains(dir.filePath("taken.png"))) << refused.error.toStdString();
        EXPECT_FALSE(group.finish(missing).ok);
        EXPECT_TRUE(group.finish(a).ok);
        EXPECT_FALSE(group.finish(a).ok); // once
        EXPECT_EQ(readFile(dir.filePath("a.png")), "new a");
        (void)never;
    }
    EXPECT_EQ(dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name),
              QStringList({"a.png", "b.png"}));
}

TEST(CombinedImage, FrontAboveBackAndBackAnchoredLowerLeft)
{
    QImage front(10, 6, QImage::Format_ARGB32_Premultiplied);
    front.fill(Qt::red);
    QImage back(10, 6, QImage::Format_ARGB32_Premultiplied);
    back.fill(Qt::blue);
    QImage c = CombinedImage::Export_Combined_Image(front, back);
    ASSERT_EQ(c.size(), QSize(10, 12));
    EXPECT_EQ(c.pixelColor(5, 0), QColor(Qt::red));
    EXPECT_EQ(c.pixelColor(5, 5), QColor(Qt::red));
    EXPECT_EQ(c.pixelColor(5, 6), QColor(Qt::blue));
    EXPECT_EQ(c.pixelColor(5, 11), QColor(Qt::blue));

    QImage small(4, 3, QImage::Format_ARGB32_Premultiplied);
    small.fill(Qt::green);
    c = CombinedImage::Export_Combined_Image(front, small);
    EXPECT_EQ(c.pixelColor(0, 11), QColor(Qt::green));
    EXPECT_EQ(c.pixelColor(3, 9), QColor(Qt::green));
    EXPECT_EQ(c.pixelColor(5, 11).alpha(), 0);
    EXPECT_EQ(c.pixelColor(0, 8).alpha(), 0);
    EXPECT_TRUE(CombinedImage::Export_Combined_Image(front, QImage()).isNull());
}
