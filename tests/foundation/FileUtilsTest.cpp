// File helpers: deleting items safely, creating the data folders with default permissions,
// preparing the data root, and opening the help document.
#include "foundation/FileUtils.h"
#include "foundation/FoundationState.h"
#include "platform/MessageAnswerer.h"
#include "platform/UrlOpener.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

#include <gtest/gtest.h>

using testsupport::modeOf;

namespace
{
void touch(const QString &path, const QByteArray &data = "x")
{
    QDir().mkpath(QFileInfo(path).path());
    ASSERT_TRUE(testsupport::writeFile(path, data));
}

class FileUtils : public ::testing::Test
{
protected:
    void SetUp() override { FoundationState::instance().reset(); }
    void TearDown() override
    {
        FoundationState::instance().reset();
        UrlOpener::setHook({});
    }
    QTemporaryDir tmp;
};
} // namespace

TEST_F(FileUtils, DeleteFileRefusesEmptyAndDoesNotFollowLinks)
{
    EXPECT_FALSE(Delete_File(QString()));
    EXPECT_FALSE(Delete_File(QStringLiteral("  ")));

    const QString target = tmp.filePath("target/inner.txt");
    touch(target);
    const QString link = tmp.filePath("link");
    ASSERT_TRUE(QFile::link(tmp.filePath("target"), link));
    EXPECT_TRUE(Delete_File(link));
    EXPECT_FALSE(QFileInfo(link).isSymLink());
    EXPECT_TRUE(QFileInfo::exists(target));

    EXPECT_TRUE(Delete_File(tmp.filePath("target")));
    EXPECT_FALSE(QFileInfo::exists(tmp.filePath("target")));
    EXPECT_FALSE(Delete_File(tmp.filePath("never-there")));

    // A path whose file name was left empty names the whole data root: it stays.
    FoundationState::instance().setResourcePath(tmp.filePath("data"));
    touch(tmp.filePath("data/DataSet/Names.txt"));
    EXPECT_FALSE(Delete_File(Resource_Path));
    EXPECT_FALSE(Delete_File(Resource_Path + QStringLiteral("/.")));
    EXPECT_TRUE(QFileInfo::exists(tmp.filePath("data/DataSet/Names.txt")));
    EXPECT_TRUE(Delete_File(Data_Folder_Path));
}

TEST_F(FileUtils, DataFoldersCreatedWithDefaultPermissionsOnce)
{
    // Nothing is created anywhere while the data root is unknown.
    Check_Path_And_Create_Files();
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("DataSet")));

    FoundationState::instance().setResourcePath(tmp.path());
    EXPECT_TRUE(Resource_Path.endsWith(QLatin1Char('/')));
    EXPECT_EQ(Data_Folder_Path, Resource_Path + QStringLiteral("DataSet"));
    const mode_t oldMask = ::umask(022);
    Check_Path_And_Create_Files();
    ::umask(oldMask);
    for (const char *f :
         {"DataSet", "Background", "Fill_Style_Image", "LibraryImage", "Templates", "Templates/User"}) {
        const QString p = tmp.filePath(QString::fromLatin1(f));
        EXPECT_TRUE(QFileInfo(p).isDir()) << f;
        EXPECT_EQ(modeOf(p), mode_t(0755)) << f; // not 0777
    }
    touch(tmp.filePath("DataSet/names.txt"), "Ann\nBo");
    Check_Path_And_Create_Files();
    EXPECT_EQ(testsupport::readFile(tmp.filePath("DataSet/names.txt")), QByteArray("Ann\nBo"));
}

TEST_F(FileUtils, SetUpDataRootFillsAndSetsPaths)
{
    touch(tmp.filePath("shipped/Help.pdf"), "%PDF");
    const ResourceRoot::Result r = setUpDataRoot(tmp.filePath("root"), tmp.filePath("shipped"));
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(Resource_Path, tmp.filePath("root") + QLatin1Char('/'));
    EXPECT_TRUE(QFileInfo(tmp.filePath("root/Templates/User")).isDir());
    EXPECT_TRUE(QFileInfo(tmp.filePath("root/Help.pdf")).isFile());

    touch(tmp.filePath("blocker"));
    EXPECT_FALSE(setUpDataRoot(tmp.filePath("blocker/root"), QString()).ok);
    EXPECT_EQ(Resource_Path, tmp.filePath("root") + QLatin1Char('/')); // unchanged on failure
}

TEST_F(FileUtils, OpenHelpFileOpensOrSaysItIsMissing)
{
    MessageAnswerer answerer;
    QList<QUrl> opened;
    UrlOpener::setHook([&](const QUrl &u) {
        opened << u;
        return true;
    });
    FoundationState::instance().setResourcePath(tmp.path());
    Open_Help_File();
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_EQ(answerer.messages(), QStringList{QStringLiteral("\nHelp file does not exist!")});

    touch(tmp.filePath("Help.pdf"), "%PDF");
    Open_Help_File();
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0].toLocalFile(), tmp.filePath("Help.pdf"));
}
