// Zip archives: packing a tree that other tools accept, unpacking archives of other tools, and
// refusing entries that lead outside the target or are damaged.
#include "DataTestUtil.h"

#include "data/SSZipArchive.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

using namespace datatest;

namespace
{

// Relative path -> contents of every file below root ("name/" for empty folders).
QMap<QString, QByteArray> tree(const QString &root)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QString rel = QDir(root).relativeFilePath(it.filePath());
        if (it.fileInfo().isDir()) {
            if (QDir(it.filePath()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot))
                files.insert(rel + QLatin1Char('/'), {});
        } else {
            files.insert(rel, readFile(it.filePath()));
        }
    }
    return files;
}

// Debian's unzip does not decode UTF-8 names, so non-ASCII names are left to the other checks.
void makeSampleTree(const QString &root, bool nonAsciiName)
{
    QDir().mkpath(root + QStringLiteral("/xl/worksheets"));
    QDir().mkpath(root + QStringLiteral("/empty"));
    writeFile(root + QStringLiteral("/xl/worksheets/sheet1.xml"), QByteArray(100000, 'x'));
    writeFile(root + QStringLiteral("/[Content_Types].xml"), "<Types/>");
    writeFile(root + QStringLiteral("/.hidden"), "h");
    writeFile(root + (nonAsciiName ? QStringLiteral("/Grüße.dat") : QStringLiteral("/binary.dat")),
              QByteArray("\x00\x01\xff binary", 11));
}

} // namespace

TEST(Zip, PackedTreePassesUnzipAndExtractsEqual)
{
    QTemporaryDir tmp;
    const QString src = tmp.filePath(QStringLiteral("src"));
    makeSampleTree(src, false);
    const QStringList top = QDir(src).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    QStringList paths;
    for (const QString &e : top)
        paths << src + QLatin1Char('/') + e + (e == QLatin1String("xl") ? QStringLiteral("/") : QString());
    const QString zip = tmp.filePath(QStringLiteral("out.zip"));
    ZipError error;
    ASSERT_TRUE(SSZipArchive::createZipFileAtPath(zip, paths, nullptr, &error))
        << error.message.toStdString();

    const datatest::ProcResult test = run(QStringLiteral("unzip"), {QStringLiteral("-t"), zip});
    EXPECT_EQ(test.exitCode, 0) << test.out.toStdString();
    // Entries are named below the folder that holds each path; a folder with files has no entry.
    const datatest::ProcResult list = run(QStringLiteral("unzip"), {QStringLiteral("-Z1"), zip});
    const QStringList names = QString::fromUtf8(list.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    EXPECT_TRUE(names.contains(QStringLiteral("xl/worksheets/sheet1.xml")));
    EXPECT_TRUE(names.contains(QStringLiteral("empty/")));
    EXPECT_FALSE(names.contains(QStringLiteral("xl/")));

    const QString byUnzip = tmp.filePath(QStringLiteral("byunzip"));
    EXPECT_EQ(
        run(QStringLiteral("unzip"), {QStringLiteral("-q"), zip, QStringLiteral("-d"), byUnzip}).exitCode, 0);
    EXPECT_EQ(tree(byUnzip), tree(src));
    const QString byUs = tmp.filePath(QStringLiteral("byus"));
    ASSERT_TRUE(SSZipArchive::unzipFileAtPath(zip, byUs, true, {}, &error)) << error.message.toStdString();
    EXPECT_EQ(tree(byUs), tree(src));
}

TEST(Zip, ArchivesOfOtherToolsUnpackEqual)
{
    QTemporaryDir tmp;
    const QString src = tmp.filePath(QStringLiteral("src"));
    makeSampleTree(src, true);
    // Info-ZIP, written to a pipe so that it streams with data descriptors.
    const datatest::ProcResult zipped = run(
        QStringLiteral("sh"),
        {QStringLiteral("-c"), QStringLiteral("cd '%1' && zip -q -r - . | cat > ../infozip.zip").arg(src)});
    ASSERT_EQ(zipped.exitCode, 0) << zipped.err.toStdString();
    // Python's zipfile with zip64 records, written to an unseekable stream (data descriptors).
    const datatest::ProcResult py = python(QStringLiteral(R"(
import os, sys, zipfile
src = sys.argv[1]
with zipfile.ZipFile(sys.stdout.buffer, 'w', zipfile.ZIP_DEFLATED) as z:
    for root, dirs, files in os.walk(src):
        rel = os.path.relpath(root, src)
        if not dirs and not files:
            z.writestr(rel + '/', b'')
        for f in files:
            name = os.path.normpath(os.path.join(rel, f))
            with open(os.path.join(root, f), 'rb') as fh, z.open(name, 'w', force_zip64=True) as out:
                out.write(fh.read())
)"),
                                           {src});
    ASSERT_EQ(py.exitCode, 0) << py.err.toStdString();
    writeFile(tmp.filePath(QStringLiteral("python.zip")), py.out);

    for (const QString &name : {QStringLiteral("infozip.zip"), QStringLiteral("python.zip")}) {
        const QString dest = tmp.filePath(name + QStringLiteral(".d"));
        ZipError error;
        EXPECT_TRUE(SSZipArchive::unzipFileAtPath(tmp.filePath(name), dest, true, {}, &error))
            << name.toStdString() << ": " << error.message.toStdString();
        EXPECT_EQ(tree(dest), tree(src)) << name.toStdString();
    }
}

TEST(Zip, TraversalEntriesWriteNothingOutside)
{
    QTemporaryDir tmp;
    const QString zip = tmp.filePath(QStringLiteral("evil.zip"));
    const datatest::ProcResult py = python(QStringLiteral(R"(
import sys, zipfile
with zipfile.ZipFile(sys.argv[1], 'w') as z:
    z.writestr('../escape1.txt', 'x')
    z.writestr('/tmp/escape2.txt', 'x')
    z.writestr('a/../../escape3.txt', 'x')
    z.writestr('..\\escape4.txt', 'x')
    z.writestr('a\\b\\ok.txt', 'fine')
)"),
                                           {zip});
    ASSERT_EQ(py.exitCode, 0) << py.err.toStdString();
    const QString dest = tmp.filePath(QStringLiteral("target/inner"));
    ZipError error;
    EXPECT_FALSE(SSZipArchive::unzipFileAtPath(zip, dest, true, {}, &error));
    EXPECT_EQ(error.code, SSZipArchive::ErrorUnsafeName);
    EXPECT_EQ(error.domain, QStringLiteral("SSZipArchiveErrorDomain"));
    for (const QString &n :
         {QStringLiteral("escape1.txt"), QStringLiteral("escape3.txt"), QStringLiteral("escape4.txt")}) {
        EXPECT_FALSE(QFileInfo::exists(tmp.filePath(QStringLiteral("target/") + n)));
        EXPECT_FALSE(QFileInfo::exists(tmp.filePath(n)));
    }
    // Backslashes separate folders; the safe entry is still unpacked.
    EXPECT_EQ(readFile(dest + QStringLiteral("/a/b/ok.txt")), QByteArray("fine"));
}

TEST(Zip, DamagedAndForeignInputFails)
{
    QTemporaryDir tmp;
    ZipError error;
    writeFile(tmp.filePath(QStringLiteral("not.zip")), "this is not a zip archive");
    EXPECT_FALSE(SSZipArchive::unzipFileAtPath(tmp.filePath(QStringLiteral("not.zip")), tmp.filePath("o1"),
                                               true, {}, &error));
    EXPECT_EQ(error.code, -1);
    EXPECT_EQ(error.message, QStringLiteral("failed to open zip file"));

    // The end record alone claiming an entry is not an archive.
    const QByteArray claims = QByteArray("PK\x05\x06\0\0\0\0\1\0\1\0", 12) + QByteArray(10, '\0');
    writeFile(tmp.filePath(QStringLiteral("claims.zip")), claims);
    error = {};
    EXPECT_FALSE(SSZipArchive::unzipFileAtPath(tmp.filePath(QStringLiteral("claims.zip")), tmp.filePath("o2"),
                                               true, {}, &error));
    EXPECT_TRUE(error.code == -1 || error.code == -2);

    // A flipped byte inside the compressed data: a read or checksum error, and no half file.
    const QString src = tmp.filePath(QStringLiteral("data.txt"));
    QByteArray text;
    for (int i = 0; i < 2000; ++i)
        text += QByteArray::number(i * 7919) + ' ';
    writeFile(src, text);
    const QString good = tmp.filePath(QStringLiteral("good.zip"));
    ASSERT_TRUE(SSZipArchive::createZipFileAtPath(good, src));
    QByteArray bytes = readFile(good);
    bytes[30 + 8 + 200] = char(bytes[30 + 8 + 200] ^ 0x10); // inside the deflated data
    writeFile(tmp.filePath(QStringLiteral("bad.zip")), bytes);
    error = {};
    const QString out = tmp.filePath(QStringLiteral("o3"));
    EXPECT_FALSE(
        SSZipArchive::unzipFileAtPath(tmp.filePath(QStringLiteral("bad.zip")), out, true, {}, &error));
    EXPECT_EQ(error.code, SSZipArchive::ErrorReadEntry);
    EXPECT_FALSE(QFileInfo::exists(out + QStringLiteral("/data.txt")));

    // Recorded sizes are not trusted: an entry claiming more bytes than it holds, with a wrong
    // checksum in both headers, is still a checksum error.
    const QByteArray good2 = readFile(good);
    for (const bool larger : {true, false}) {
        QByteArray forged = good2;
        const qsizetype central = forged.indexOf(QByteArray("PK\x01\x02", 4));
        ASSERT_GT(central, 0);
        auto bump = [&](qsizetype at, quint32 delta) {
            quint32 v = qFromLittleEndian<quint32>(forged.constData() + at) + delta;
            qToLittleEndian(v, forged.data() + at);
        };
        bump(14, 1); // local header checksum
        bump(central + 16, 1);
        if (larger) {
            bump(22, 500); // uncompressed sizes
            bump(central + 24, 500);
        }
        writeFile(tmp.filePath(QStringLiteral("forged.zip")), forged);
        error = {};
        const QString out2 = tmp.filePath(larger ? QStringLiteral("o4") : QStringLiteral("o5"));
        EXPECT_FALSE(
            SSZipArchive::unzipFileAtPath(tmp.filePath(QStringLiteral("forged.zip")), out2, true, {}, &error))
            << larger;
        EXPECT_EQ(error.code, SSZipArchive::ErrorReadEntry) << larger;
        EXPECT_FALSE(QFileInfo::exists(out2 + QStringLiteral("/data.txt"))) << larger;
    }
}

TEST(Zip, PackingReportsPathsItCouldNotAdd)
{
    QTemporaryDir tmp;
    const QString zip = tmp.filePath(QStringLiteral("a.zip"));
    writeFile(zip, "old contents");
    writeFile(tmp.filePath(QStringLiteral("present.txt")), "here");
    const QString missing = tmp.filePath(QStringLiteral("missing.txt"));
    QStringList failed;
    ZipError error;
    EXPECT_FALSE(SSZipArchive::createZipFileAtPath(
        zip, {tmp.filePath(QStringLiteral("present.txt")), missing}, &failed, &error));
    EXPECT_EQ(failed, QStringList{missing});
    EXPECT_EQ(error.code, SSZipArchive::ErrorAddPath);
    EXPECT_EQ(readFile(zip), QByteArray("old contents")); // the old file stays

    const datatest::ProcResult tool =
        cardtool({QStringLiteral("zip"), tmp.filePath(QStringLiteral("b.zip")), missing});
    EXPECT_EQ(tool.exitCode, 1);
    EXPECT_TRUE(tool.err.contains("missing.txt"));
}

TEST(Zip, OverwriteOffKeepsExistingFiles)
{
    QTemporaryDir tmp;
    writeFile(tmp.filePath(QStringLiteral("f.txt")), "new");
    const QString zip = tmp.filePath(QStringLiteral("a.zip"));
    ASSERT_TRUE(SSZipArchive::createZipFileAtPath(zip, tmp.filePath(QStringLiteral("f.txt"))));
    const QString dest = tmp.filePath(QStringLiteral("d"));
    QDir().mkpath(dest);
    writeFile(dest + QStringLiteral("/f.txt"), "old");
    EXPECT_TRUE(SSZipArchive::unzipFileAtPath(zip, dest, false));
    EXPECT_EQ(readFile(dest + QStringLiteral("/f.txt")), QByteArray("old"));
    EXPECT_TRUE(SSZipArchive::unzipFileAtPath(zip, dest, true));
    EXPECT_EQ(readFile(dest + QStringLiteral("/f.txt")), QByteArray("new"));
    // cardtool unzip of the same archive.
    EXPECT_EQ(cardtool({QStringLiteral("unzip"), zip, tmp.filePath(QStringLiteral("e"))}).exitCode, 0);
    EXPECT_EQ(readFile(tmp.filePath(QStringLiteral("e/f.txt"))), QByteArray("new"));
}
