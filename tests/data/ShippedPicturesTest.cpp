// The shipped backgrounds and library pictures are print quality: a background covers the largest
// built-in card, either way up, at 300 dpi without chroma subsampling (no ringing at coloured
// edges), library pictures have at least 600 pixels, and the committed script makes these files.
#include "DataTestUtil.h"

#include "panels/CardSizeTables.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

using namespace datatest;

namespace
{
const QString shipped = QStringLiteral(TESSALY_TESTS_DIR "/../resources/shipped");

// The sampling factors of each component of a baseline or progressive JPEG frame.
QList<int> jpegSampling(const QByteArray &jpeg)
{
    for (qsizetype i = 2; i + 4 < jpeg.size();) {
        if (uchar(jpeg[i]) != 0xFF)
            return {};
        const uchar marker = uchar(jpeg[i + 1]);
        const int length = (uchar(jpeg[i + 2]) << 8) | uchar(jpeg[i + 3]);
        if (marker == 0xC0 || marker == 0xC1 || marker == 0xC2) {
            QList<int> factors;
            const int components = uchar(jpeg[i + 9]);
            for (int c = 0; c < components && i + 11 + 3 * c < jpeg.size(); ++c)
                factors << uchar(jpeg[i + 11 + 3 * c]);
            return factors;
        }
        i += 2 + length;
    }
    return {};
}
} // namespace

TEST(ShippedPictures, BackgroundsHave300DpiOnTheLargestCardEitherWayUp)
{
    // The largest card of the built-in tables, in pixels at 300 dpi, landscape and portrait.
    int needW = 0, needH = 0;
    for (const QString &category : {CardSizeTables::PvcCategory, QStringLiteral("Paper")}) {
        for (int row = 0; row < CardSizeTables::namesFor(category).size(); ++row) {
            for (const QString &preset : {QStringLiteral("H"), QStringLiteral("V")}) {
                const QSizeF mm = CardSizeTables::Get_My_card_Size(category, preset, row);
                needW = std::max(needW, int(std::ceil(mm.width() / 25.4 * 300 - 0.5)));
                needH = std::max(needH, int(std::ceil(mm.height() / 25.4 * 300 - 0.5)));
            }
        }
    }
    EXPECT_GE(needW, 1770); // 5.91 in

    const QStringList backgrounds = QDir(shipped + QStringLiteral("/Background")).entryList(QDir::Files);
    ASSERT_GE(backgrounds.size(), 6);
    for (const QString &name : backgrounds) {
        SCOPED_TRACE(name.toStdString());
        const QString path = shipped + QStringLiteral("/Background/") + name;
        QImageReader reader(path);
        const QSize size = reader.size();
        EXPECT_GE(size.width(), needW);
        EXPECT_GE(size.height(), needH);
        EXPECT_LE(QFileInfo(path).size(), 400 * 1024); // kept compressed
        const QByteArray bytes = readFile(path);
        if (bytes.startsWith("\xFF\xD8")) {
            // Full-resolution colour: every component sampled 1x1.
            EXPECT_EQ(jpegSampling(bytes), (QList<int>{0x11, 0x11, 0x11}));
        }
        EXPECT_FALSE(reader.read().isNull());
    }
}

TEST(ShippedPictures, LibraryPicturesHaveAtLeast600Pixels)
{
    int count = 0;
    QDirIterator it(shipped + QStringLiteral("/LibraryImage"), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        SCOPED_TRACE(path.toStdString());
        const QImage image(path);
        ASSERT_FALSE(image.isNull());
        EXPECT_GE(std::min(image.width(), image.height()), 600);
        EXPECT_LE(QFileInfo(path).size(), 100 * 1024);
        ++count;
    }
    EXPECT_GE(count, 15);
}

TEST(ShippedPictures, TheScriptMakesTheShippedFiles)
{
    QTemporaryDir tmp;
    qputenv("TESSALY_PICTURES_OUT", tmp.path().toUtf8());
    const ProcResult r = run(QStringLiteral("/usr/bin/python3"),
                             {QStringLiteral(TESSALY_TESTS_DIR "/../resources/tools/make_pictures.py")});
    qunsetenv("TESSALY_PICTURES_OUT");
    ASSERT_EQ(r.exitCode, 0) << r.errText().toStdString();
    int compared = 0;
    for (const QString &folder : {QStringLiteral("Background"), QStringLiteral("LibraryImage")}) {
        QDirIterator it(tmp.filePath(folder), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString made = it.next();
            const QString rel = QDir(tmp.path()).relativeFilePath(made);
            EXPECT_EQ(readFile(made), readFile(shipped + QLatin1Char('/') + rel)) << rel.toStdString();
            ++compared;
        }
    }
    EXPECT_GE(compared, 21);
}
