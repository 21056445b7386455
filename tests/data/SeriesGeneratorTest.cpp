// The series generator: sequences with zeros, prefix and suffix, the dialog's checks, constant and
// random series, and spans beyond 32 bits.
#include "DataTestUtil.h"

#include "data/SeriesFiles.h"
#include "data/SeriesGenerator.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace datatest;

TEST(SeriesGenerator, Sequences)
{
    EXPECT_EQ(SeriesGenerator::sequential("8", "12", "", "", true).values,
              (QStringList{"08", "09", "10", "11", "12"}));
    EXPECT_EQ(SeriesGenerator::sequential("8", "12", "", "", false).values,
              (QStringList{"8", "9", "10", "11", "12"}));
    EXPECT_EQ(SeriesGenerator::sequential("1", "3", "A", "Z", false).values,
              (QStringList{"A1Z", "A2Z", "A3Z"}));
    const QStringList padded = SeriesGenerator::sequential("001", "00200", "", "", true).values;
    ASSERT_EQ(padded.size(), 200);
    EXPECT_EQ(padded.first(), QStringLiteral("00001"));
    EXPECT_EQ(padded.last(), QStringLiteral("00200"));
    EXPECT_EQ(SeriesGenerator::sequential("0", "200", "", "", true).values.at(1), QStringLiteral("001"));
    // Negative numbers get their zeros after the sign.
    EXPECT_EQ(SeriesGenerator::sequential("-10", "1", "", "", true).values.mid(8),
              (QStringList{"-02", "-01", "000", "001"}));
}

TEST(SeriesGenerator, FieldsTakeOnlyWholeNumbers)
{
    const QString from = SeriesGenerator::notWholeMessage(QStringLiteral("From"));
    const QString to = SeriesGenerator::notWholeMessage(QStringLiteral("To"));
    const QString count = SeriesGenerator::notWholeMessage(QStringLiteral("Count"));
    const QString length = SeriesGenerator::notWholeMessage(QStringLiteral("Length"));
    EXPECT_TRUE(from.contains(QStringLiteral("'From'")));
    struct Case {
        GeneratorResult result;
        QString message; // "" when the fields are taken
    };
    const QList<Case> cases = {
        {SeriesGenerator::checkSequential("1O", "2O"), from},
        {SeriesGenerator::checkSequential("1", "2O"), to},
        {SeriesGenerator::checkSequential("abc", "5"), from},
        {SeriesGenerator::checkSequential("1,000", "2000"), from},
        {SeriesGenerator::checkSequential("1.5", "3"), from},
        {SeriesGenerator::checkSequential("12abc", "13"), from},
        {SeriesGenerator::checkSequential("-", "5"), from},
        {SeriesGenerator::checkSequential(" ", "5"), from},
        {SeriesGenerator::checkSequential(" 7 ", "+9"), ""},
        {SeriesGenerator::checkSequential("-3", "0"), ""},
        {SeriesGenerator::checkConstant("x", "3x"), count},
        {SeriesGenerator::checkConstant("x", "3"), ""},
        {SeriesGenerator::checkRandom("1", "1O"), count},
        {SeriesGenerator::checkRandom("4a", "2"), length},
        {SeriesGenerator::checkRandom("4", "2"), ""},
    };
    for (qsizetype i = 0; i < cases.size(); ++i)
        EXPECT_EQ(cases[i].result.message, cases[i].message) << "case " << i;
    // Blanks round a number set no width of leading zeros.
    EXPECT_EQ(SeriesGenerator::sequential(" 8", "10 ", "", "", true).values, (QStringList{"08", "09", "10"}));
}

TEST(SeriesGenerator, ChecksAndMessages)
{
    auto msg = [](const GeneratorResult &r) { return r.message.toStdString(); };
    EXPECT_EQ(msg(SeriesGenerator::sequential("", "5", "", "", false)), "Please enter valid 'From' value.");
    EXPECT_EQ(msg(SeriesGenerator::sequential("1", "", "", "", false)), "Please enter valid 'To' value.");
    EXPECT_EQ(msg(SeriesGenerator::sequential("5", "5", "", "", false)),
              "'From' value must be smaller than 'To' value.");
    // The span of two 32-bit numbers is computed in 64 bits and refused when too long.
    const GeneratorResult huge = SeriesGenerator::sequential("-2147483648", "2147483647", "", "", false);
    EXPECT_FALSE(huge.ok());
    EXPECT_EQ(huge.message, SeriesGenerator::tooManyMessage());
    EXPECT_EQ(SeriesGenerator::sequential("-2147483647", "0", "", "", false).message,
              SeriesGenerator::tooManyMessage());
    EXPECT_EQ(SeriesGenerator::readNumber("99999999999"), 2147483647);
    EXPECT_EQ(SeriesGenerator::readNumber("  -99999999999x"), -2147483647 - 1);
    EXPECT_EQ(SeriesGenerator::readNumber("abc"), 0);

    EXPECT_EQ(SeriesGenerator::checkCountText("123456"), QStringLiteral("10000"));
    EXPECT_EQ(SeriesGenerator::checkCountText("0"), QStringLiteral("1"));
    EXPECT_EQ(SeriesGenerator::checkCountText(""), QStringLiteral("1"));
    EXPECT_EQ(SeriesGenerator::checkLengthText("47"), QStringLiteral("4"));

    const ProcResult bad = cardtool({"series-generate", "--from", "5", "--to", "5"});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_TRUE(bad.err.contains("'From' value must be smaller than 'To' value."));
    const ProcResult good =
        cardtool({"series-generate", "--from", "-1", "--to", "1", "--pad", "--prefix", "N", "--suffix", "/"});
    EXPECT_EQ(good.exitCode, 0);
    EXPECT_EQ(good.out, QByteArray("N-1/\nN00/\nN01/\n"));
}

TEST(SeriesGenerator, ConstantAndRandom)
{
    EXPECT_EQ(SeriesGenerator::constant(" x ", "3").values, (QStringList{" x ", " x ", " x "}));
    EXPECT_TRUE(SeriesGenerator::constant("x", "-2").values.isEmpty());
    EXPECT_EQ(SeriesGenerator::constant("", "2").message, QStringLiteral("Please enter valid 'Value'."));
    EXPECT_EQ(SeriesGenerator::constant("x", "").message,
              QStringLiteral("Please enter valid 'Count' value."));
    EXPECT_EQ(SeriesGenerator::random("", "", "", "3").message,
              QStringLiteral("Please enter valid 'Length' value."));

    for (const QString &v : SeriesGenerator::random("", "", "1", "500").values) {
        EXPECT_GE(v.toInt(), 1);
        EXPECT_LE(v.toInt(), 9);
    }
    for (const QString &v : SeriesGenerator::random("P", "S", "9", "200").values) {
        EXPECT_EQ(v.size(), 11);
        EXPECT_TRUE(v.startsWith('P') && v.endsWith('S'));
    }
    EXPECT_EQ(SeriesGenerator::random("", "", "12", "2").values, (QStringList{"0", "0"}));
}

TEST(SeriesGenerator, LongSpansStream)
{
    // The largest span a 32-bit count allows would make a file no reader takes: refused at once.
    const GeneratorResult widest =
        SeriesGenerator::sequential("-2147483646", "0", "", "", true, [](const QString &) { return true; });
    EXPECT_EQ(widest.message, SeriesGenerator::tooLargeMessage());
    // A long span is streamed; the receiver decides when to stop.
    QStringList firstValues;
    const GeneratorResult stopped =
        SeriesGenerator::sequential("-2147483646", "-2140000000", "", "", true, [&](const QString &v) {
            firstValues << v;
            return firstValues.size() < 2;
        });
    EXPECT_FALSE(stopped.ok());
    EXPECT_TRUE(stopped.message.isEmpty());
    EXPECT_EQ(firstValues, (QStringList{"-2147483646", "-2147483645"}));

    // Straight into a new series file; an empty name is refused; a stopped run keeps the old file.
    QTemporaryDir tmp;
    const QString folder = tmp.filePath(QStringLiteral("DataSet"));
    auto produce = [](const QString &from, const QString &to) {
        return [from, to](const SeriesValueWriter &write) {
            return SeriesGenerator::sequential(from, to, "A", "", true, write).ok();
        };
    };
    EXPECT_TRUE(SeriesFiles::writeNew(folder, "S", produce("8", "10"), nullptr).ok());
    EXPECT_EQ(readFile(SeriesFiles::filePath(folder, "S")), QByteArray("A08\nA09\nA10\n"));
    EXPECT_FALSE(SeriesFiles::writeNew(folder, " ", produce("1", "2"), nullptr).message.isEmpty());
    int written = 0;
    const SeriesResult halted = SeriesFiles::writeNew(
        folder, "S", [&](const SeriesValueWriter &write) { return write("x") && ++written < 1; },
        [](const QString &) { return true; });
    EXPECT_FALSE(halted.ok());
    EXPECT_EQ(readFile(SeriesFiles::filePath(folder, "S")), QByteArray("A08\nA09\nA10\n"));

    // More values than a dialog ever typed, streamed.
    const ProcResult big = cardtool({"series-generate", "--from", "-5", "--to", "1000000", "--pad"});
    EXPECT_EQ(big.exitCode, 0);
    EXPECT_EQ(big.out.count('\n'), 1000006);
    EXPECT_TRUE(big.out.startsWith("-000005\n-000004\n"));
    EXPECT_TRUE(big.out.endsWith("\n0999999\n1000000\n"));
}
