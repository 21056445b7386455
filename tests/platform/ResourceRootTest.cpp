// The data root: created with default permissions, filled from the shipped files, a missing
// shipped file copied again, the user's own changes kept.
#include "platform/ResourceRoot.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QTemporaryDir>

#include <sys/stat.h>

#include <gtest/gtest.h>

using testsupport::modeOf;
using testsupport::readFile;

namespace
{
void writeFile(const QString &path, const QByteArray &data, QFile::Permissions perms = {})
{
    QDir().mkpath(QFileInfo(path).path());
    ASSERT_TRUE(testsupport::writeFile(path, data));
    if (perms)
        QFile::setPermissions(path, perms);
}

} // namespace

TEST(ResourceRoot, FillsFromShippedAndCopiesMissingAgain)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString shipped = tmp.filePath("shipped");
    const QString root = tmp.filePath("user/data/root");
    // Installed resources are read-only; the user's copies must still be writable.
    writeFile(shipped + "/Help.pdf", "help", QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    writeFile(shipped + "/Templates/a.dcard", "tmpl");
    writeFile(shipped + "/Fill_Style_Image/Dots.png", "dots");

    const mode_t oldMask = ::umask(022);
    ResourceRoot::Result r = ResourceRoot::prepare(root, shipped);
    ::umask(oldMask);
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_EQ(r.copied, 3);
    EXPECT_TRUE(r.failed.isEmpty());
    EXPECT_EQ(readFile(root + "/Templates/a.dcard"), "tmpl");
    EXPECT_EQ(modeOf(root), mode_t(0755)); // never world-writable
    EXPECT_EQ(modeOf(root + "/Templates"), mode_t(0755));
    EXPECT_TRUE(QFileInfo(root + "/Help.pdf").isWritable());

    // The user's edit stays; a deleted shipped file comes back.
    writeFile(root + "/Templates/a.dcard", "mine");
    QFile::remove(root + "/Fill_Style_Image/Dots.png");
    r = ResourceRoot::prepare(root, shipped);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.copied, 1);
    EXPECT_EQ(readFile(root + "/Templates/a.dcard"), "mine");
    EXPECT_EQ(readFile(root + "/Fill_Style_Image/Dots.png"), "dots");
}

// More shipped files than are written ahead of their commits (0 bytes to 3 MiB, in nested
// folders): every one arrives whole, with no temporary file left beside it.
TEST(ResourceRoot, ManyShippedFilesAllArriveWhole)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString shipped = tmp.filePath("shipped");
    const QString root = tmp.filePath("root");
    QHash<QString, QByteArray> files;
    for (int i = 0; i < 150; ++i) {
        const QString rel = QStringLiteral("Set%1/Sub%2/file%3.bin").arg(i % 5).arg(i % 3).arg(i);
        const QByteArray data = i == 7 ? QByteArray(3 << 20, 'x') : QByteArray::number(i).repeated(i);
        files.insert(rel, data);
        writeFile(shipped + "/" + rel, data);
    }
    const ResourceRoot::Result r = ResourceRoot::prepare(root, shipped);
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_EQ(r.copied, 150);
    EXPECT_TRUE(r.failed.isEmpty());
    for (auto it = files.cbegin(); it != files.cend(); ++it)
        EXPECT_EQ(readFile(root + "/" + it.key()), it.value()) << it.key().toStdString();
    int found = 0;
    for (QDirIterator all(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); all.hasNext();
         all.next())
        ++found;
    EXPECT_EQ(found, 150);
}

TEST(ResourceRoot, MissingShippedIsFineUnwritableRootFails)
{
    QTemporaryDir tmp;
    ResourceRoot::Result r = ResourceRoot::prepare(tmp.filePath("root"), tmp.filePath("nothing-here"));
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.copied, 0);
    EXPECT_TRUE(QFileInfo(tmp.filePath("root")).isDir());

    writeFile(tmp.filePath("afile"), "x");
    r = ResourceRoot::prepare(tmp.filePath("afile/sub"), QString());
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.error.isEmpty());
    EXPECT_FALSE(ResourceRoot::prepare(QString(), QString()).ok);
}

TEST(ResourceRoot, TheRootFollowsTheUsersDataHomeAndTheShippedFolderHoldsTheResources)
{
    QTemporaryDir home;
    const QByteArray before = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", home.path().toUtf8());
    const QString root = ResourceRoot::defaultLocation();
    if (before.isNull())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", before);
    EXPECT_EQ(root, home.path() + QStringLiteral("/tessaly-designer"));
    // What a first start copies is really there.
    const QDir shipped(ResourceRoot::shippedLocation());
    EXPECT_TRUE(QFileInfo(shipped.filePath(QStringLiteral("Help.pdf"))).isFile())
        << shipped.path().toStdString();
    EXPECT_TRUE(QFileInfo(shipped.filePath(QStringLiteral("Background"))).isDir());
}

TEST(ResourceRoot, ShippedFilesFoundBesideAProgramInstalledElsewhere)
{
    // Installed with another prefix than the configured one: found relative to the program.
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString bin = tmp.filePath("prefix/bin");
    const QString shipped = tmp.filePath("prefix/share/tessaly-designer/resources");
    ASSERT_TRUE(QDir().mkpath(bin));
    EXPECT_NE(ResourceRoot::shippedLocationFor(bin), shipped);
    ASSERT_TRUE(QDir().mkpath(shipped));
    EXPECT_EQ(ResourceRoot::shippedLocationFor(bin), shipped);
}
