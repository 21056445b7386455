// Series files at their limits: one size limit for writing and reading with a "too large" message,
// numbers past 32 bits refused by the generator, and one rule for text that is not UTF-8.
#include "DataTestUtil.h"

#include "data/SeriesFiles.h"
#include "data/SeriesGenerator.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace datatest;

TEST(SeriesLimits, AFileOverTheLimitIsTooLargeNotMissing)
{
    QTemporaryDir tmp;
    QFile big(tmp.filePath(QStringLiteral("big.txt")));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    ASSERT_TRUE(big.resize(SeriesFiles::MaxFileSize + 1)); // sparse: no disk used
    big.close();

    QString problem;
    EXPECT_FALSE(SeriesFiles::readRows(tmp.path(), QStringLiteral("big"), &problem).has_value());
    EXPECT_EQ(problem, SeriesFiles::tooLargeMessage(QStringLiteral("big")));
    EXPECT_TRUE(problem.contains(QStringLiteral("too large")));
    QString message;
    EXPECT_FALSE(SeriesFiles::readValues(tmp.path(), QStringLiteral("big"), &message).has_value());
    EXPECT_EQ(message, problem);

    // A missing series has no problem to tell: it is simply not there.
    problem.clear();
    EXPECT_FALSE(SeriesFiles::readRows(tmp.path(), QStringLiteral("none"), &problem).has_value());
    EXPECT_TRUE(problem.isEmpty());
}

TEST(SeriesLimits, WritingStopsAtTheLimitAndKeepsTheOldSeries)
{
    QTemporaryDir tmp;
    writeFile(tmp.filePath(QStringLiteral("s.txt")), "old\n");
    const QString line(1 << 20, QLatin1Char('v'));
    qint64 made = 0;
    const SeriesResult r = SeriesFiles::writeNew(
        tmp.path(), QStringLiteral("s"),
        [&](const SeriesValueWriter &write) {
            for (int i = 0; i < 600; ++i, ++made) {
                if (!write(line))
                    return false;
            }
            return true;
        },
        [](const QString &) { return true; });
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.message, SeriesFiles::tooLargeMessage(QStringLiteral("s")));
    EXPECT_LT(made, 600);
    EXPECT_EQ(readFile(tmp.filePath(QStringLiteral("s.txt"))), QByteArray("old\n"));
    EXPECT_EQ(QDir(tmp.path()).entryList(QDir::Files), QStringList{QStringLiteral("s.txt")});
}

TEST(SeriesLimits, TheGeneratorRefusesWhatCouldNotBeReadBack)
{
    // 62 million numbers make a file of about 547 MB: refused before any value is made.
    int delivered = 0;
    const GeneratorResult big = SeriesGenerator::sequential(QStringLiteral("1"), QStringLiteral("62000000"),
                                                            {}, {}, false, [&](const QString &) {
                                                                ++delivered;
                                                                return true;
                                                            });
    EXPECT_FALSE(big.ok());
    EXPECT_EQ(big.message, SeriesGenerator::tooLargeMessage());
    EXPECT_EQ(big.field, QStringLiteral("to"));
    EXPECT_EQ(delivered, 0);

    // A "To" past 32 bits is refused, not held at 2,147,483,647.
    const GeneratorResult huge =
        SeriesGenerator::sequential(QStringLiteral("1"), QStringLiteral("99999999999"), {}, {}, false);
    EXPECT_FALSE(huge.ok());
    EXPECT_EQ(huge.message, SeriesGenerator::outOfRangeMessage(QStringLiteral("To")));
    EXPECT_EQ(huge.field, QStringLiteral("to"));
    const GeneratorResult low =
        SeriesGenerator::sequential(QStringLiteral("-2147483649"), QStringLiteral("5"), {}, {}, false);
    EXPECT_EQ(low.message, SeriesGenerator::outOfRangeMessage(QStringLiteral("From")));
    EXPECT_TRUE(
        SeriesGenerator::sequential(QStringLiteral("2147483646"), QStringLiteral("2147483647"), {}, {}, false)
            .ok());

    // The measured size is the size of what is written.
    struct Range {
        const char *from, *to;
        bool pad;
    };
    for (const Range &range : {Range{"-120", "1005", false}, Range{"-120", "1005", true},
                               Range{"7", "9", true}, Range{"-5", "-1", false}, Range{"0099", "101", true}}) {
        const GeneratorResult r = SeriesGenerator::sequential(
            QString::fromLatin1(range.from), QString::fromLatin1(range.to), "é", "/", range.pad);
        ASSERT_TRUE(r.ok());
        qint64 bytes = 0;
        for (const QString &v : r.values)
            bytes += v.toUtf8().size() + 1;
        const int width = int(std::max(qstrlen(range.from), qstrlen(range.to)));
        EXPECT_EQ(SeriesGenerator::sequentialBytes(SeriesGenerator::readNumber(range.from),
                                                   SeriesGenerator::readNumber(range.to),
                                                   range.pad ? width : 0, QByteArray("é/").size() + 1),
                  bytes)
            << range.from << " " << range.to;
    }
}

TEST(SeriesLimits, TextThatIsNotUtf8ReadsTheSameEverywhereWithAWarning)
{
    QTemporaryDir tmp;
    writeFile(tmp.filePath(QStringLiteral("mixed.txt")), "caf\xe9\n Ann \nBob\n");
    QString message, warning;
    const auto values = SeriesFiles::readValues(tmp.path(), QStringLiteral("mixed"), &message, &warning);
    ASSERT_TRUE(values.has_value());
    EXPECT_EQ(*values,
              (QStringList{QStringLiteral("caf\uFFFD"), QStringLiteral("Ann"), QStringLiteral("Bob")}));
    EXPECT_TRUE(warning.contains(QStringLiteral("not UTF-8"))) << warning.toStdString();
    QString problem, rowWarning;
    const auto rows = SeriesFiles::readRows(tmp.path(), QStringLiteral("mixed"), &problem, &rowWarning);
    ASSERT_TRUE(rows.has_value());
    EXPECT_EQ(*rows,
              (QStringList{QStringLiteral("caf\uFFFD"), QStringLiteral(" Ann "), QStringLiteral("Bob")}));
    EXPECT_EQ(rowWarning, warning);
    EXPECT_TRUE(problem.isEmpty());

    // Sound UTF-8 gives no warning.
    writeFile(tmp.filePath(QStringLiteral("fine.txt")), "Gr\xc3\xbc\xc3\x9f"
                                                        "e\n");
    warning.clear();
    EXPECT_EQ(*SeriesFiles::readValues(tmp.path(), QStringLiteral("fine"), nullptr, &warning),
              QStringList{QString::fromUtf8("Grüße")});
    EXPECT_TRUE(warning.isEmpty());
}
