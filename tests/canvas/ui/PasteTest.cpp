// Paste as a user meets it: a picture from another program is kept as a file in the data folder
// and comes back from a saved design at its size; our own clipboard type is held to a design's
// limits, with a message and nothing pasted.
#include "CanvasFixture.h"

#include "canvas/PastedPictures.h"
#include "canvas/ui/CanvasCreation.h"
#include "data/ExcelBindingTable.h"
#include "editor/DesignFileFormat.h"
#include "model/GraphicPasteboard.h"
#include "model/SKTImage.h"
#include "platform/PropertyList.h"

#include <QDir>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>

namespace
{
// A picture no file on this machine holds: a gradient with a mark in one corner.
QImage foreignPicture(int w, int h)
{
    QImage picture(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            picture.setPixel(x, y, qRgb(x * 255 / w, y * 255 / h, 90));
    picture.setPixel(0, 0, qRgb(255, 0, 255));
    return picture;
}

QByteArray arrayNamingOneArchive(quint32 count, const QByteArray &archive)
{
    // Our own writer stores each element; a hostile one names one element many times.
    auto big = [](QByteArray &out, quint64 v, int n) {
        for (int i = n - 1; i >= 0; --i)
            out.append(char((v >> (8 * i)) & 0xff));
    };
    QByteArray out("bplist00");
    out.append(char(0xAF));
    out.append(char(0x12));
    big(out, count, 4);
    out.append(QByteArray(qsizetype(count), char(1)));
    const quint64 dataAt = quint64(out.size());
    out.append(char(0x4F));
    out.append(char(0x12));
    big(out, quint64(archive.size()), 4);
    out.append(archive);
    const quint64 tableAt = quint64(out.size());
    big(out, 8, 4);
    big(out, dataAt, 4);
    out.append(QByteArray(6, '\0'));
    out.append(char(4));
    out.append(char(1));
    big(out, 2, 8);
    big(out, 0, 8);
    big(out, tableAt, 8);
    return out;
}
} // namespace

class Paste : public CanvasFixture
{
protected:
    void SetUp() override
    {
        CanvasFixture::SetUp();
        ASSERT_TRUE(data.isValid());
        FoundationState::instance().setResourcePath(data.path() + QLatin1Char('/'));
    }
    QStringList keptFiles() const
    {
        return QDir(QDir(data.path()).filePath(PastedPictures::FolderName))
            .entryList(QDir::Files | QDir::NoDotAndDotDot);
    }
    void pasteWithKeys()
    {
        // What Edit > Paste and the Paste button run.
        view->setFocus();
        view->paste();
        CanvasDriver::settle();
    }
    QTemporaryDir data;
};

TEST_P(Paste, PictureFromAnotherProgramIsKeptAndComesBackFromASavedDesignAtItsSize)
{
    // The library's last choice must not stand in for the pasted picture.
    QTemporaryDir elsewhere;
    const QString libraryChoice = elsewhere.filePath(QStringLiteral("library.png"));
    QImage(8, 8, QImage::Format_RGB32).save(libraryChoice);
    Library_Selected_Image = libraryChoice;

    const QImage picture = foreignPicture(40, 30);
    QApplication::clipboard()->setImage(picture);
    pasteWithKeys();
    ASSERT_EQ(document.graphics().size(), 1);
    const GraphicPtr pasted = document.graphics().first();
    ASSERT_EQ(pasted->kind(), SKTGraphic::Kind::Image);
    const QString path = pasted->FilePath();
    EXPECT_NE(path, libraryChoice);
    EXPECT_TRUE(path.startsWith(QDir(data.path()).filePath(PastedPictures::FolderName) + QLatin1Char('/')))
        << path.toStdString();
    EXPECT_EQ(keptFiles().size(), 1);
    // The file holds the very pixels that were pasted.
    QImage onDisk(path);
    ASSERT_FALSE(onDisk.isNull());
    EXPECT_EQ(onDisk.convertToFormat(QImage::Format_ARGB32), picture);
    EXPECT_TRUE(host.errors.isEmpty());

    // Saved as a design and read back: the picture is there, at its size, from the kept file.
    CardDesign saved;
    saved.front = document.graphics();
    const plist::Array items = DesignFileFormat::buildItems(saved);
    CardDesign reopened;
    QString reason;
    ASSERT_TRUE(DesignFileFormat::parse(PropertyList::writeXml(plist::Value(items)), &reopened, &reason))
        << reason.toStdString();
    ASSERT_EQ(reopened.front.size(), 1);
    const auto &image = static_cast<const SKTImage &>(*reopened.front.first());
    EXPECT_EQ(image.FilePath(), path);
    ASSERT_TRUE(image._contents);
    EXPECT_EQ(image._contents->size(), QSizeF(40, 30));
    EXPECT_EQ(image.bounds(), pasted->bounds());
}

TEST_P(Paste, SamePictureTwiceSharesOneFileAndAnotherGetsItsOwn)
{
    QApplication::clipboard()->setImage(foreignPicture(40, 30));
    pasteWithKeys();
    pasteWithKeys();
    ASSERT_EQ(document.graphics().size(), 2);
    EXPECT_EQ(document.graphics().at(0)->FilePath(), document.graphics().at(1)->FilePath());
    EXPECT_EQ(keptFiles().size(), 1);
    QApplication::clipboard()->setImage(foreignPicture(41, 30));
    pasteWithKeys();
    ASSERT_EQ(document.graphics().size(), 3);
    EXPECT_NE(document.graphics().at(0)->FilePath(), document.graphics().at(1)->FilePath());
    EXPECT_EQ(keptFiles().size(), 2);
    // Written whole under its final name: no temporary file is left beside them.
    EXPECT_EQ(QDir(QDir(data.path()).filePath(PastedPictures::FolderName))
                  .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
                  .size(),
              2);
}

TEST_P(Paste, PictureThatCannotBeKeptIsNotPastedAndTheUserIsToldWhy)
{
    // A file stands where the folder should be, so nothing can be written there.
    QFile blocker(QDir(data.path()).filePath(PastedPictures::FolderName));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QApplication::clipboard()->setImage(foreignPicture(40, 30));
    pasteWithKeys();
    EXPECT_TRUE(document.graphics().isEmpty());
    ASSERT_EQ(host.errors.size(), 1);
    EXPECT_TRUE(host.errors.first().startsWith(CanvasCreation::PastedPictureNotKeptMessage));
    EXPECT_TRUE(host.errors.first().contains(PastedPictures::FolderName));
}

TEST_P(Paste, OwnTypeNamingOneObjectThousandsOfTimesIsRefusedWithAMessage)
{
    const GraphicPtr shape = SKTGraphic::create(SKTGraphic::Kind::Shape);
    for (quint32 count : {200000u, quint32(DesignFileFormat::MaxObjects + 1)}) {
        auto *mime = new QMimeData;
        mime->setData(GraphicPasteboard::MimeType, arrayNamingOneArchive(count, QByteArray("tiny")));
        QApplication::clipboard()->setMimeData(mime);
        host.errors.clear();
        pasteWithKeys();
        EXPECT_TRUE(document.graphics().isEmpty()) << count;
        ASSERT_EQ(host.errors.size(), 1) << count;
        EXPECT_TRUE(host.errors.first().contains(QStringLiteral("more than 5000 objects")))
            << host.errors.first().toStdString();
    }
    // A clipboard of many objects within the limit still pastes them all, selected.
    auto *mime = new QMimeData;
    mime->setData(GraphicPasteboard::MimeType, arrayNamingOneArchive(300, shape->archivedData()));
    QApplication::clipboard()->setMimeData(mime);
    host.errors.clear();
    pasteWithKeys();
    EXPECT_TRUE(host.errors.isEmpty());
    EXPECT_EQ(document.graphics().size(), 300);
    EXPECT_EQ(selected().size(), 300);
}

TEST_P(Paste, OwnTypeWhoseArchivesPassTheByteLimitIsRefusedWithAMessage)
{
    QByteArray padded = SKTGraphic::create(SKTGraphic::Kind::Shape)->archivedData();
    padded.append(QByteArray(400 * 1024, ' '));
    auto *mime = new QMimeData;
    mime->setData(GraphicPasteboard::MimeType, arrayNamingOneArchive(100, padded));
    QApplication::clipboard()->setMimeData(mime);
    pasteWithKeys();
    EXPECT_TRUE(document.graphics().isEmpty());
    ASSERT_EQ(host.errors.size(), 1);
    EXPECT_TRUE(host.errors.first().contains(QStringLiteral("more than 32 MB")))
        << host.errors.first().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Zoom, Paste, ::testing::Values(1.0),
                         [](const auto &) { return std::string("At100"); });
