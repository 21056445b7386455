// Series names: the one cleaning rule, the names it refuses, and every series found, opened and
// deleted under the name the list shows.
#include "DataTestUtil.h"

#include "data/SeriesFiles.h"
#include "data/SeriesName.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace datatest;

namespace
{
const QString reservedCharacters = QStringLiteral("/\\?%*|\"<>");
QString endsMessage(QChar c)
{
    return QStringLiteral("The name of a Batch Processing Series must not begin or end with \"%1\".").arg(c);
}
} // namespace

TEST(SeriesName, CleaningTakesBlanksAndReservedCharactersOffBothEndsUntilNoneIsLeft)
{
    QList<std::pair<QString, QString>> cases = {
        {"Guests", "Guests"},
        {"  Guests \t", "Guests"},
        {"\nGuests\r\n", "Guests"},
        {"Who is coming? ", "Who is coming"},
        {" ?* Guests *? ", "Guests"},
        {"? ? ?", ""},
        {"", ""},
    };
    for (const QChar c : reservedCharacters) {
        cases.append({c + QStringLiteral("a"), "a"});
        cases.append({QStringLiteral("a") + c, "a"});
        cases.append(
            {QStringLiteral("a") + c + QStringLiteral("b"), QStringLiteral("a") + c + QStringLiteral("b")});
        cases.append({QStringLiteral(" ") + c + QStringLiteral(" a ") + c + QStringLiteral(" "), "a"});
        cases.append({c + QStringLiteral(" ") + c + QStringLiteral("a") + c, "a"});
    }
    for (const auto &[typed, cleaned] : cases) {
        EXPECT_EQ(SeriesName::clean(typed), cleaned) << typed.toStdString();
        EXPECT_EQ(SeriesName::clean(SeriesName::clean(typed)), cleaned) << typed.toStdString();
    }
}

TEST(SeriesName, ANameThatCleaningWouldChangeIsRefusedWithTheCharacterNamed)
{
    const QString slash =
        QStringLiteral("The name of a Batch Processing Series must not contain \"/\" or \"\\\".");
    QList<std::pair<QString, QString>> cases = {
        {"Guests 2024", ""},
        {"  Guests  ", ""}, // blanks alone are only trimmed
        {"a?b", ""},
        {"Who is coming? ", endsMessage(QLatin1Char('?'))},
        {" <Guests ", endsMessage(QLatin1Char('<'))},
        {"a/b", slash},
        {"a\\b", slash},
        {".hidden", QStringLiteral("The name of a Batch Processing Series must not start with \".\".")},
        {"  ", QStringLiteral("Please enter a name for the Batch Processing Series.")},
    };
    for (const QChar c : reservedCharacters) {
        cases.append({c + QStringLiteral("Guests"), endsMessage(c)});
        cases.append({QStringLiteral("Guests ") + c + QStringLiteral(" "), endsMessage(c)});
    }
    for (const auto &[typed, message] : cases)
        EXPECT_EQ(SeriesFiles::checkName(typed), message) << typed.toStdString();
}

TEST(SeriesName, EverySeriesIsOpenedAndDeletedUnderItsListedName)
{
    QTemporaryDir tmp;
    const QString folder = tmp.path();
    const SeriesQuestion yes = [](const QString &) { return true; };
    const SeriesInUseTest none = [](const QString &) { return false; };
    // Saved with blanks round it, a series is listed and found trimmed.
    ASSERT_TRUE(SeriesFiles::Save(folder, QStringLiteral(" Guests "), {}, {"g"}, none, yes).ok());
    EXPECT_EQ(SeriesFiles::Get_datasheet_File_Name_Array(folder), QStringList{"Guests"});
    EXPECT_FALSE(SeriesFiles::Save(folder, QStringLiteral("Who is coming? "), {}, {"x"}, none, yes).ok());

    // A file an older version saved with a reserved character at its end is still its own series.
    writeFile(folder + QStringLiteral("/Who is coming?.txt"), "Ann\nBob\n");
    writeFile(folder + QStringLiteral("/Who is coming.txt"), "other\n");
    const QString listed = QStringLiteral("Who is coming?");
    EXPECT_EQ(SeriesFiles::readValues(folder, listed), (QStringList{"Ann", "Bob"}));
    EXPECT_EQ(SeriesFiles::readRows(folder, listed), (QStringList{"Ann", "Bob"}));
    EXPECT_EQ(SeriesFiles::Get_First_Value_Of_Dataset(folder, listed), QStringLiteral("Ann"));
    QStringList deleted;
    EXPECT_TRUE(SeriesFiles::Delete(folder, {listed}, listed, none, yes, false, &deleted).ok());
    EXPECT_EQ(deleted, QStringList{listed});
    EXPECT_EQ(SeriesFiles::Get_datasheet_File_Name_Array(folder), (QStringList{"Guests", "Who is coming"}));

    // A file that cannot be removed is reported by name, and not counted as deleted.
    QDir(folder).mkpath(QStringLiteral("Stuck.txt/inside"));
    const SeriesResult stuck =
        SeriesFiles::Delete(folder, {"Guests", "Stuck"}, "Stuck", none, yes, false, &deleted);
    EXPECT_FALSE(stuck.ok());
    EXPECT_TRUE(stuck.message.startsWith(
        QStringLiteral("The Batch Processing Series \"Stuck\" could not be deleted")))
        << stuck.message.toStdString();
    EXPECT_EQ(deleted, QStringList{"Guests"});
}
