// Zip archives under hostile or unusual conditions: empty archives, zip64 sizes, damaged entries over
// existing files, links that lead out of the destination, and pipes or devices in place of files.
#include "DataTestUtil.h"

#include "data/SSZipArchive.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace datatest;

namespace
{

QByteArray numbers()
{
    QByteArray text;
    for (int i = 0; i < 3000; ++i)
        text += QByteArray::number(i * 7919) + ' ';
    return text;
}

// Our archive of one file, rewritten so that both headers leave the sizes to a zip64 extra field
// (as writers do for entries of 4 GiB and more).
QByteArray withZip64Sizes(const QByteArray &zip)
{
    QByteArray z = zip;
    const qsizetype central = z.indexOf(QByteArray("PK\x01\x02", 4));
    const qsizetype end = z.indexOf(QByteArray("PK\x05\x06", 4));
    const quint32 compressed = qFromLittleEndian<quint32>(z.constData() + central + 20);
    const quint32 size = qFromLittleEndian<quint32>(z.constData() + central + 24);
    for (qsizetype at : {qsizetype(18), qsizetype(22), central + 20, central + 24})
        qToLittleEndian<quint32>(0xFFFFFFFFu, z.data() + at);
    const quint16 nameLength = qFromLittleEndian<quint16>(z.constData() + central + 28);
    const quint16 extraLength = qFromLittleEndian<quint16>(z.constData() + central + 30);
    QByteArray extra(20, '\0');
    qToLittleEndian<quint16>(0x0001, extra.data());
    qToLittleEndian<quint16>(16, extra.data() + 2);
    qToLittleEndian<quint64>(size, extra.data() + 4);
    qToLittleEndian<quint64>(compressed, extra.data() + 12);
    qToLittleEndian<quint16>(quint16(extraLength + extra.size()), z.data() + central + 30);
    qToLittleEndian<quint16>(45, z.data() + central + 6); // needs version 4.5
    z.insert(central + 46 + nameLength + extraLength, extra);
    const qsizetype newEnd = end + extra.size();
    const quint32 dirSize = qFromLittleEndian<quint32>(z.constData() + newEnd + 12);
    qToLittleEndian<quint32>(dirSize + quint32(extra.size()), z.data() + newEnd + 12);
    return z;
}

} // namespace

TEST(ZipHardening, AnEmptyArchiveUnpacksNothing)
{
    QTemporaryDir tmp;
    const QString zip = tmp.filePath(QStringLiteral("empty.zip"));
    const ProcResult made = python("import zipfile,sys\n"
                                   "zipfile.ZipFile(sys.argv[1],'w').close()\n"
                                   "z=zipfile.ZipFile(sys.argv[2],'w'); z.comment=b'nothing here'; z.close()",
                                   {zip, tmp.filePath(QStringLiteral("comment.zip"))});
    ASSERT_EQ(made.exitCode, 0) << made.errText().toStdString();
    for (const QString &name : {QStringLiteral("empty.zip"), QStringLiteral("comment.zip")}) {
        const QString dest = tmp.filePath(QStringLiteral("out-") + name);
        ZipError error;
        EXPECT_TRUE(SSZipArchive::unzipFileAtPath(tmp.filePath(name), dest, true, {}, &error))
            << error.message.toStdString();
        EXPECT_TRUE(QFileInfo(dest).isDir());
        EXPECT_TRUE(QDir(dest).isEmpty());
    }
}

TEST(ZipHardening, SizesInTheZip64ExtraFieldAreRead)
{
    QTemporaryDir tmp;
    const QString src = tmp.filePath(QStringLiteral("data.txt"));
    writeFile(src, numbers());
    const QString plain = tmp.filePath(QStringLiteral("plain.zip"));
    ASSERT_TRUE(SSZipArchive::createZipFileAtPath(plain, src));
    const QString zip64 = tmp.filePath(QStringLiteral("zip64.zip"));
    writeFile(zip64, withZip64Sizes(readFile(plain)));
    // Another reader agrees the archive is sound.
    const ProcResult test = run(QStringLiteral("unzip"), {QStringLiteral("-tq"), zip64});
    ASSERT_EQ(test.exitCode, 0) << test.outText().toStdString();

    ZipError error;
    const QString out = tmp.filePath(QStringLiteral("out"));
    ASSERT_TRUE(SSZipArchive::unzipFileAtPath(zip64, out, true, {}, &error)) << error.message.toStdString();
    EXPECT_EQ(readFile(out + QStringLiteral("/data.txt")), numbers());

    // The zip64 size is checked as any other: one byte more is a read error.
    QByteArray longer = readFile(zip64);
    const qsizetype central = longer.indexOf(QByteArray("PK\x01\x02", 4));
    const qsizetype sizeAt = central + 46 + qFromLittleEndian<quint16>(longer.constData() + central + 28) + 4;
    qToLittleEndian<quint64>(quint64(numbers().size()) + 1, longer.data() + sizeAt);
    writeFile(zip64, longer);
    error = {};
    EXPECT_FALSE(SSZipArchive::unzipFileAtPath(zip64, tmp.filePath(QStringLiteral("o2")), true, {}, &error));
    EXPECT_EQ(error.code, SSZipArchive::ErrorReadEntry);
    EXPECT_FALSE(QFileInfo::exists(tmp.filePath(QStringLiteral("o2/data.txt"))));
}

TEST(ZipHardening, ADamagedEntryLeavesTheExistingFileAlone)
{
    QTemporaryDir tmp;
    const QString src = tmp.filePath(QStringLiteral("data.txt"));
    writeFile(src, numbers());
    const QString good = tmp.filePath(QStringLiteral("good.zip"));
    ASSERT_TRUE(SSZipArchive::createZipFileAtPath(good, src));
    QByteArray bytes = readFile(good);
    bytes[30 + 8 + 300] = char(bytes[30 + 8 + 300] ^ 0x10);
    const QString bad = tmp.filePath(QStringLiteral("bad.zip"));
    writeFile(bad, bytes);

    const QString dest = tmp.filePath(QStringLiteral("dest"));
    QDir().mkpath(dest);
    writeFile(dest + QStringLiteral("/data.txt"), "the user's own text");
    ZipError error;
    EXPECT_FALSE(SSZipArchive::unzipFileAtPath(bad, dest, true, {}, &error));
    EXPECT_EQ(error.code, SSZipArchive::ErrorReadEntry);
    EXPECT_EQ(readFile(dest + QStringLiteral("/data.txt")), QByteArray("the user's own text"));
    EXPECT_EQ(QDir(dest).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("data.txt")}); // no temporary file left

    // A sound entry replaces the file.
    ASSERT_TRUE(SSZipArchive::unzipFileAtPath(good, dest, true, {}, &error));
    EXPECT_EQ(readFile(dest + QStringLiteral("/data.txt")), numbers());
}

TEST(ZipHardening, ALinkToAFolderElsewhereCreatesNothingThere)
{
    QTemporaryDir tmp;
    const QString elsewhere = tmp.filePath(QStringLiteral("elsewhere"));
    const QString dest = tmp.filePath(QStringLiteral("dest"));
    QDir().mkpath(elsewhere);
    QDir().mkpath(dest + QStringLiteral("/inner"));
    ASSERT_TRUE(QFile::link(elsewhere, dest + QStringLiteral("/out")));
    ASSERT_TRUE(QFile::link(dest + QStringLiteral("/inner"), dest + QStringLiteral("/in")));
    ASSERT_TRUE(QFile::link(tmp.filePath(QStringLiteral("missing")), dest + QStringLiteral("/gone")));

    const QString zip = tmp.filePath(QStringLiteral("links.zip"));
    const ProcResult made = python("import zipfile,sys\n"
                                   "with zipfile.ZipFile(sys.argv[1],'w') as z:\n"
                                   "  z.writestr('out/made/deep/', '')\n"
                                   "  z.writestr('out/sub/x.txt', 'x')\n"
                                   "  z.writestr('gone/y.txt', 'y')\n"
                                   "  z.writestr('in/ok/z.txt', 'z')\n",
                                   {zip});
    ASSERT_EQ(made.exitCode, 0) << made.errText().toStdString();
    ZipError error;
    EXPECT_FALSE(SSZipArchive::unzipFileAtPath(zip, dest, true, {}, &error));
    EXPECT_EQ(error.code, SSZipArchive::ErrorUnsafeName);
    EXPECT_TRUE(QDir(elsewhere).isEmpty()) << QDir(elsewhere).entryList().join(' ').toStdString();
    EXPECT_FALSE(QFileInfo::exists(tmp.filePath(QStringLiteral("missing"))));
    // A link that stays inside the destination is followed as before.
    EXPECT_EQ(readFile(dest + QStringLiteral("/inner/ok/z.txt")), QByteArray("z"));
}

TEST(ZipHardening, PipesAndDevicesAreRefusedWithoutBlocking)
{
    QTemporaryDir tmp;
    const QString fifo = tmp.filePath(QStringLiteral("pipe.zip"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ZipError error;
    EXPECT_FALSE(SSZipArchive::unzipFileAtPath(fifo, tmp.filePath(QStringLiteral("o")), true, {}, &error));
    EXPECT_EQ(error.code, SSZipArchive::ErrorOpenZip);
    EXPECT_TRUE(error.message.contains(QStringLiteral("not a regular file"))) << error.message.toStdString();

    // A pipe inside a folder being packed, and a device given directly: listed as not added, and
    // the archive that was there stays.
    const QString folder = tmp.filePath(QStringLiteral("folder"));
    QDir().mkpath(folder);
    writeFile(folder + QStringLiteral("/a.txt"), "a");
    ASSERT_EQ(mkfifo(QFile::encodeName(folder + QStringLiteral("/fifo")).constData(), 0600), 0);
    const QString out = tmp.filePath(QStringLiteral("out.zip"));
    writeFile(out, "old archive");
    for (const QString &path : {folder, QStringLiteral("/dev/zero")}) {
        QStringList failed;
        error = {};
        EXPECT_FALSE(SSZipArchive::createZipFileAtPath(out, path, &failed, &error));
        EXPECT_EQ(error.code, SSZipArchive::ErrorAddPath);
        ASSERT_EQ(failed.size(), 1);
        EXPECT_TRUE(failed.first().endsWith(path == folder ? QStringLiteral("/fifo") : path))
            << failed.first().toStdString();
        EXPECT_EQ(readFile(out), QByteArray("old archive"));
    }
    // cardtool refuses the pipe at once rather than waiting for a writer.
    const ProcResult r =
        testsupport::run(QStringLiteral(CARDTOOL_PATH),
                         {QStringLiteral("unzip"), fifo, tmp.filePath(QStringLiteral("o2"))}, {}, 20000);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.errText().contains(QStringLiteral("not a regular file"))) << r.errText().toStdString();
}

TEST(ZipHardening, ManyEntriesAreSyncedOnceAndLandTogether)
{
    QTemporaryDir tmp;
    const QString tree = tmp.filePath(QStringLiteral("tree"));
    for (int d = 0; d < 5; ++d) {
        QDir().mkpath(tree + QStringLiteral("/d%1").arg(d));
        for (int i = 0; i < 40; ++i)
            writeFile(tree + QStringLiteral("/d%1/f%2.txt").arg(d).arg(i), QByteArray::number(d * 1000 + i));
    }
    const QString zip = tmp.filePath(QStringLiteral("many.zip"));
    ASSERT_TRUE(SSZipArchive::createZipFileAtPath(zip, tree));
    const QDateTime stamp = QFileInfo(tree + QStringLiteral("/d3/f7.txt")).lastModified();

    // Counted from outside: no sync per entry, one before and one after the files are moved in.
    if (testsupport::hasTool(QStringLiteral("strace"))) {
        const QString out = tmp.filePath(QStringLiteral("traced"));
        // The leak checker cannot run under ptrace: a sanitized cardtool is traced without it.
        QString asan = qEnvironmentVariable("ASAN_OPTIONS");
        asan += asan.isEmpty() ? QStringLiteral("detect_leaks=0") : QStringLiteral(":detect_leaks=0");
        const ProcResult r =
            run(QStringLiteral("strace"),
                {QStringLiteral("-f"), QStringLiteral("-E"), QStringLiteral("ASAN_OPTIONS=") + asan,
                 QStringLiteral("-e"), QStringLiteral("trace=fsync,fdatasync,syncfs,sync_file_range"),
                 QStringLiteral(CARDTOOL_PATH), QStringLiteral("unzip"), zip, out});
        ASSERT_EQ(r.exitCode, 0) << r.errText().toStdString();
        const QString log = r.errText();
        EXPECT_EQ(log.count(QStringLiteral("syncfs(")), 2) << log.toStdString();
        EXPECT_EQ(log.count(QStringLiteral("fsync(")) + log.count(QStringLiteral("fdatasync(")), 0);
        EXPECT_EQ(readFile(out + QStringLiteral("/tree/d4/f39.txt")), QByteArray("4039"));
    }

    const QString dest = tmp.filePath(QStringLiteral("dest"));
    ZipError error;
    ASSERT_TRUE(SSZipArchive::unzipFileAtPath(zip, dest, true, {}, &error)) << error.message.toStdString();
    const QFileInfo f(dest + QStringLiteral("/tree/d3/f7.txt"));
    EXPECT_EQ(readFile(f.filePath()), QByteArray("3007"));
    EXPECT_LE(qAbs(f.lastModified().secsTo(stamp)), 2); // zip times have two-second steps
    // Files get the modes any new file gets here, not the temporary files' private 0600.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    EXPECT_EQ(
        int(f.permissions() & (QFile::ReadOther | QFile::ReadGroup | QFile::ReadOwner)),
        int((mask & 004 ? 0 : QFile::ReadOther) | (mask & 040 ? 0 : QFile::ReadGroup) | QFile::ReadOwner));
    EXPECT_EQ(QDir(dest + QStringLiteral("/tree/d0")).entryList(QDir::Files | QDir::Hidden).size(), 40);
    // Nothing of the staging is left beside the unpacked tree.
    EXPECT_EQ(QDir(dest).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"tree"});

    // Into a destination that holds the tree already (files replaced one by one) and a file of the
    // user's own beside it, which stays.
    writeFile(dest + QStringLiteral("/tree/d1/f5.txt"), "edited");
    writeFile(dest + QStringLiteral("/tree/d1/mine.txt"), "mine");
    ASSERT_TRUE(SSZipArchive::unzipFileAtPath(zip, dest, true, {}, &error)) << error.message.toStdString();
    EXPECT_EQ(readFile(dest + QStringLiteral("/tree/d1/f5.txt")), QByteArray("1005"));
    EXPECT_EQ(readFile(dest + QStringLiteral("/tree/d1/mine.txt")), QByteArray("mine"));
    EXPECT_EQ(QDir(dest).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"tree"});

    // A damaged last entry: none of the sound ones before it lands either, and nothing is left.
    QByteArray bytes = readFile(zip);
    const qsizetype central = bytes.indexOf(QByteArray("PK\x01\x02", 4));
    bytes[central - 3] = char(bytes[central - 3] ^ 0x55); // inside the last entry's data
    const QString bad = tmp.filePath(QStringLiteral("bad.zip"));
    writeFile(bad, bytes);
    const QString other = tmp.filePath(QStringLiteral("other"));
    EXPECT_FALSE(SSZipArchive::unzipFileAtPath(bad, other, true, {}, &error));
    QStringList files;
    for (const QFileInfo &fi :
         QDir(other).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
        if (fi.isDir()) {
            for (const QString &n :
                 QDir(fi.filePath()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot))
                for (const QString &m :
                     QDir(fi.filePath() + QLatin1Char('/') + n).entryList(QDir::Files | QDir::Hidden))
                    files << n + QLatin1Char('/') + m;
        }
    }
    EXPECT_TRUE(files.isEmpty()) << files.join(QLatin1Char(' ')).toStdString();
    // A destination that did not exist is not made by a failed unpacking, and its staging folder
    // beside it is gone too.
    EXPECT_FALSE(QFileInfo::exists(other));
    EXPECT_TRUE(QDir(tmp.path())
                    .entryList({QStringLiteral(".tessaly-unzip-*")}, QDir::AllEntries | QDir::Hidden)
                    .isEmpty());
}
