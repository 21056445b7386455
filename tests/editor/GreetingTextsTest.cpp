// Reading the greeting files as any editor may have saved them.
#include "editor/GreetingTexts.h"
#include "support/TestSupport.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

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
