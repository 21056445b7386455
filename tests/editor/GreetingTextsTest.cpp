// Reading the greeting files as any editor may have saved them.
#include "editor/GreetingTexts.h"
#include "foundation/FoundationState.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

TEST(GreetingTexts, LinesOfUnixAndWindowsFilesAlike)
{
    QTemporaryDir dir;
    const QString unix = dir.filePath(QStringLiteral("u.txt")),
                  windows = dir.filePath(QStringLiteral("w.txt"));
    ASSERT_TRUE(testsupport::writeFile(unix, "\n  Happy Day \n\nWelcome\n\n"));
    ASSERT_TRUE(testsupport::writeFile(windows, "\r\n  Happy Day \r\n\r\nWelcome\r\n\r\n"));
    // The whole text is trimmed; lines keep their own blanks, and an empty line inside stays.
    const QStringList expected{QStringLiteral("Happy Day "), QString(), QStringLiteral("Welcome")};
    EXPECT_EQ(GreetingTexts::readLines(unix), expected);
    EXPECT_EQ(GreetingTexts::readLines(windows), expected);
    EXPECT_EQ(GreetingTexts::readLines(dir.filePath(QStringLiteral("missing.txt"))), QStringList());
    ASSERT_TRUE(testsupport::writeFile(unix, "Gr\xC3\xBC\xC3\x9F"
                                             "e"));
    EXPECT_EQ(GreetingTexts::readLines(unix), QStringList{QString::fromUtf8("Gr\xC3\xBC\xC3\x9F"
                                                                            "e")});
}

TEST(GreetingTexts, OnlyARegularFileOfBoundedSizeIsRead)
{
    QTemporaryDir dir;
    // A FIFO with no writer would block the start for good.
    const QString pipe = dir.filePath(QStringLiteral("Title.txt"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    QString error;
    EXPECT_EQ(GreetingTexts::readLines(pipe, &error), QStringList());
    EXPECT_EQ(error, QStringLiteral("it is not a regular file"));

    // A link to a device that never ends.
    const QString zero = dir.filePath(QStringLiteral("Message.txt"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zero));
    EXPECT_EQ(GreetingTexts::readLines(zero, &error), QStringList());
    EXPECT_EQ(error, QStringLiteral("it is not a regular file"));

    // A file just over the limit is refused whole; one at the limit is read.
    const QString big = dir.filePath(QStringLiteral("big.txt"));
    QByteArray line(GreetingTexts::MaxFileBytes, 'a');
    ASSERT_TRUE(testsupport::writeFile(big, line));
    const QStringList lines = GreetingTexts::readLines(big, &error);
    EXPECT_TRUE(error.isEmpty());
    ASSERT_EQ(lines.size(), 1);
    EXPECT_EQ(lines.first().size(), GreetingTexts::MaxFileBytes);
    ASSERT_TRUE(testsupport::writeFile(big, line + "\nb"));
    EXPECT_EQ(GreetingTexts::readLines(big, &error), QStringList());
    EXPECT_EQ(error, QStringLiteral("the file is too large (256 KB; at most 256 KB)"));

    // Loading from the data root returns at once with no greetings.
    const QString previousRoot = FoundationState::instance().Resource_Path;
    FoundationState::instance().setResourcePath(dir.path() + QLatin1Char('/'));
    GreetingTexts texts;
    texts.setLines({QStringLiteral("old")});
    texts.load(QStringLiteral("Title.txt"));
    EXPECT_EQ(texts.count(), 0);
    EXPECT_EQ(texts.current(), QString());
    FoundationState::instance().setResourcePath(previousRoot);
}
