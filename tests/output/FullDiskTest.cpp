// A full disk, on a small memory file system mounted for the test (skipped where mounting is not
// allowed): the system's reason is reported, a batch stops at the first card that finds no space,
// and a design saved there leaves nothing cut off behind.
#include "BatchDesignFixture.h"
#include "SmallDisk.h"

#include "data/ExcelBindingTable.h"
#include "editor/DesignFile.h"
#include "editor/DesignFileFormat.h"
#include "output/BatchExportEngine.h"
#include "output/ImageFileWriter.h"
#include "platform/PropertyList.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace batchtest;

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
