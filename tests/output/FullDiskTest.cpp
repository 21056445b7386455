// A full disk, on a small memory file system mounted for the test (skipped where mounting is not
// allowed): the system's reason is reported, a batch stops at the first card that finds no space,
// and a design saved there leaves nothing cut off behind.
#include "BatchDesignFixture.h"

#include "data/ExcelBindingTable.h"
#include "editor/DesignFile.h"
#include "editor/DesignFileFormat.h"
#include "output/BatchExportEngine.h"
#include "output/ExportPaths.h"
#include "output/ImageFileWriter.h"
#include "platform/PropertyList.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QImage>
#include <QRegularExpression>
#include <QStorageInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>

#include <sys/mount.h>

using namespace batchtest;

namespace
{

// A tmpfs of the given size at a private folder, unmounted again when the test ends.
class SmallDisk
{
public:
    explicit SmallDisk(const char *size)
    {
        const QString options = QStringLiteral("size=%1,mode=0777").arg(QLatin1String(size));
        m_mounted = ::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", 0,
                            options.toLatin1().constData()) == 0;
    }
    ~SmallDisk()
    {
        if (m_mounted)
            ::umount(QFile::encodeName(m_dir.path()).constData());
    }
    bool mounted() const { return m_mounted; }
    QString path(const QString &name) const { return m_dir.filePath(name); }
    // Leaves about `left` bytes free.
    void fillUpTo(qint64 left) const
    {
        QFile fill(path(QStringLiteral("fill")));
        ASSERT_TRUE(fill.open(QIODevice::WriteOnly));
        const QByteArray block(4096, 'f');
        QStorageInfo info(m_dir.path());
        while (info.bytesAvailable() > left) {
            if (fill.write(block) != block.size() || !fill.flush())
                break;
            info.refresh();
        }
    }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};

} // namespace

TEST(FullDisk, AFileWriteSaysNoSpaceAndLeavesNothing)
{
    SmallDisk disk("256k");
    if (!disk.mounted())
        GTEST_SKIP() << "no permission to mount a small file system here";
    disk.fillUpTo(8192);
    const ImageFileWriter::WriteResult w =
        ImageFileWriter::writeAtomically(disk.path(QStringLiteral("card.png")), QByteArray(64 * 1024, 'p'));
    EXPECT_FALSE(w.ok);
    EXPECT_TRUE(w.noSpace);
    EXPECT_TRUE(w.error.contains(QStringLiteral("No space left on device"))) << w.error.toStdString();
    EXPECT_EQ(QDir(disk.path(QString())).entryList(QDir::Files | QDir::Hidden), QStringList{"fill"});

    // A design (a property list) saved onto the full disk: the reason, and no cut-off file.
    plist::Array items;
    for (int i = 0; i < 2000; ++i)
        items.append(plist::Value(QStringLiteral("value %1").arg(i)));
    QString error;
    EXPECT_FALSE(PropertyList::writeFile(disk.path(QStringLiteral("d.dcard")), plist::Value(items),
                                         PropertyList::Format::Xml, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("No space left on device"))) << error.toStdString();
    EXPECT_EQ(QDir(disk.path(QString())).entryList(QDir::Files | QDir::Hidden), QStringList{"fill"});
}

TEST(FullDisk, ABatchStopsAtTheFirstCardThatFindsNoSpace)
{
    // One thread, and several, where cards made while the disk filled wait for their writers.
    for (const char *threads : {"1", "4"}) {
        SCOPED_TRACE(threads);
        SmallDisk disk("2m");
        if (!disk.mounted())
            GTEST_SKIP() << "no permission to mount a small file system here";
        QTemporaryDir tmp;
        SampleDesign sample(tmp.filePath("DataSet"), 40, false);
        const QString design = writeDesign(tmp.filePath("d.dcard"), sample);
        disk.fillUpTo(300 * 1024); // room for a few cards at 300 dpi
        const testsupport::ProcResult r =
            testsupport::cardtool({"export", design, "--to", disk.path("out"), "--data",
                                   tmp.filePath("DataSet"), "--dpi", "300", "--threads", threads});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.err.contains("No space left on device")) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains("Unable to continue saving")) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains("Export stopped when the disk was full")) << r.err.toStdString();
        EXPECT_FALSE(r.err.contains("Unknown error")) << r.err.toStdString();
        // One card found the disk full and no card waiting was tried after it; the writers (one
        // worker has them too) may each have been writing when it filled.
        const QRegularExpression summary(QStringLiteral("(\\d+) cards written, (\\d+) failed"));
        const QRegularExpressionMatch m = summary.match(r.outText());
        ASSERT_TRUE(m.hasMatch()) << r.outText().toStdString();
        const int written = m.captured(1).toInt();
        const int failed = m.captured(2).toInt();
        EXPECT_GT(written, 0);
        EXPECT_LT(written, 39);
        const int writers = BatchExportEngine::writerCount(QByteArray(threads).toInt(), 40);
        EXPECT_TRUE(failed >= 1 && failed <= writers) << failed;
        // The cards written are whole; nothing half written is left.
        const QDir out(disk.path("out/ZOLV Tessaly Greeting Card"));
        const QStringList files = out.entryList(QDir::Files | QDir::Hidden);
        EXPECT_EQ(files.size(), written);
        for (const QString &f : files)
            EXPECT_FALSE(QImage(out.filePath(f)).isNull()) << f.toStdString();
    }
}

namespace
{
// Pictures of noise, which PNG cannot shrink: each card takes about 150 KiB of the disk.
class NoiseCard : public CardRenderer
{
public:
    explicit NoiseCard(std::atomic<int> *drawn) : m_drawn(drawn) {}
    QImage renderSide(int row, bool, QString *) override
    {
        ++*m_drawn;
        QImage image(200, 200, QImage::Format_ARGB32);
        quint32 x = 2463534242u + quint32(row);
        for (int y = 0; y < image.height(); ++y) {
            auto *line = reinterpret_cast<quint32 *>(image.scanLine(y));
            for (int i = 0; i < image.width(); ++i) {
                x ^= x << 13;
                x ^= x >> 17;
                x ^= x << 5;
                line[i] = x | 0xff000000u;
            }
        }
        return image;
    }

private:
    std::atomic<int> *m_drawn;
};
} // namespace

// One worker hands its cards to writers: when the disk fills, the cards waiting for a writer are
// not tried, the worker takes no further row, and the cards written are whole.
TEST(FullDisk, OneWorkerAndItsWritersStopAtTheFirstFullWrite)
{
    SmallDisk disk("2m");
    if (!disk.mounted())
        GTEST_SKIP() << "no permission to mount a small file system here";
    disk.fillUpTo(700 * 1024); // room for a few cards
    ExportProgress progress;
    BatchExportEngine engine(&progress);
    ExportOptions options;
    options.threads = 1;
    std::atomic<int> drawn{0};
    const ExportResult r = engine.Export_Batch_File(disk.path("out"), 60, options,
                                                    [&drawn] { return std::make_unique<NoiseCard>(&drawn); });
    const int writers = BatchExportEngine::writerCount(1, 60);
    EXPECT_TRUE(r.outOfSpace);
    EXPECT_TRUE(r.stopped);
    EXPECT_GT(r.written, 0);
    EXPECT_GE(r.failed, 1);
    EXPECT_LE(r.failed, writers);
    EXPECT_EQ(progress.written.load(), r.written);
    EXPECT_EQ(progress.failed.load(), r.failed);
    EXPECT_TRUE(r.message().contains(
        QStringLiteral("Export stopped when the disk was full: %1 of 60 cards were written.").arg(r.written)))
        << r.message().toStdString();
    EXPECT_TRUE(r.message().contains("No space left on device")) << r.message().toStdString();
    // Beside the cards tried, at most those in the writers' queue and the one being drawn.
    EXPECT_LE(drawn.load(), r.written + r.failed + writers + 1);
    const QDir out(ExportPaths::batchFolderPath(disk.path("out")));
    const QStringList files = out.entryList(QDir::Files | QDir::Hidden, QDir::Name);
    EXPECT_EQ(files.size(), r.written);
    // The cards tried are the first rows; a card after a failed one may have found the space that
    // failed card gave back.
    const QRegularExpression name(QStringLiteral("^Card_(\\d+)\\.png$"));
    for (const QString &f : files) {
        const QRegularExpressionMatch m = name.match(f);
        ASSERT_TRUE(m.hasMatch()) << f.toStdString();
        EXPECT_LE(m.captured(1).toInt(), r.written + r.failed) << f.toStdString();
        EXPECT_EQ(QImage(out.filePath(f)).size(), QSize(200, 200)) << f.toStdString();
    }
}
