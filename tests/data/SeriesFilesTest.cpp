// Series files: reading rules of the manager and of the batch filling, saving, renaming and
// replacing without losing a file, deleting series in use, names, listing and export.
#include "DataTestUtil.h"

#include "data/SeriesFiles.h"
#include "data/XlsxReader.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace datatest;

namespace
{
struct Folder {
    QTemporaryDir tmp;
    QString path = tmp.filePath(QStringLiteral("DataSet"));
    Folder() { QDir().mkpath(path); }
    QString file(const QString &name) const
    {
        return path + QLatin1Char('/') + name + QStringLiteral(".txt");
    }
    void put(const QString &name, const QByteArray &bytes) const { writeFile(file(name), bytes); }
    QByteArray get(const QString &name) const { return readFile(file(name)); }
};
const SeriesQuestion yes = [](const QString &) { return true; };
const SeriesQuestion no = [](const QString &) { return false; };
const SeriesInUseTest nothingInUse = [](const QString &) { return false; };
} // namespace

TEST(SeriesFiles, ReadingRules)
{
    Folder f;
    f.put(QStringLiteral("s"), "one\n\n  two  \nthree\r\n\n\n");
    EXPECT_EQ(SeriesFiles::readValues(f.path, QStringLiteral("s")), (QStringList{"one", "two", "three"}));
    // The batch filling trims the whole text; blank lines inside count as rows.
    EXPECT_EQ(SeriesFiles::readRows(f.path, QStringLiteral("s")),
              (QStringList{"one", "", "  two  ", "three"}));
    EXPECT_EQ(SeriesFiles::Get_First_Value_Of_Dataset(f.path, QStringLiteral("s")), QStringLiteral("one"));
    f.put(QStringLiteral("blank"), " \n\n");
    EXPECT_EQ(SeriesFiles::readRows(f.path, QStringLiteral("blank")), QStringList());
    EXPECT_FALSE(SeriesFiles::readRows(f.path, QStringLiteral("missing")).has_value());
    QString message;
    EXPECT_FALSE(SeriesFiles::readValues(f.path, QStringLiteral("missing"), &message).has_value());
    EXPECT_EQ(message, SeriesFiles::MsgFileAccess);
    f.put(QStringLiteral("latin1"), "caf\xe9\n");
    EXPECT_EQ(SeriesFiles::readValues(f.path, QStringLiteral("latin1")),
              QStringList{QStringLiteral("caf\uFFFD")});
}

TEST(SeriesFiles, ListingIsSortedAndNamesStayInTheFolder)
{
    Folder f;
    for (const char *n : {"beta.txt", "Alpha.txt", "gamma.csv", ".hidden.txt"})
        writeFile(f.path + QLatin1Char('/') + QLatin1String(n), "x\n");
    QDir().mkpath(f.path + QStringLiteral("/folder"));
    EXPECT_EQ(SeriesFiles::Get_datasheet_File_Name_Array(f.path), (QStringList{"Alpha", "beta", "gamma"}));
    EXPECT_TRUE(SeriesFiles::Get_datasheet_File_Name_Array(f.path + QStringLiteral("/none")).isEmpty());

    const SeriesResult r = SeriesFiles::writeNew(f.path, QStringLiteral("../escape"), {"x"}, yes);
    EXPECT_FALSE(r.ok());
    EXPECT_FALSE(r.message.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(f.tmp.filePath(QStringLiteral("escape.txt"))));

    // A series name read from a design file never reaches a file outside the folder.
    const QString outside = f.tmp.filePath(QStringLiteral("outside.txt"));
    writeFile(outside, "secret\n");
    EXPECT_FALSE(SeriesFiles::readRows(f.path, QStringLiteral("../outside")).has_value());
    EXPECT_FALSE(SeriesFiles::readValues(f.path, QStringLiteral("../outside")).has_value());
    EXPECT_TRUE(SeriesFiles::Get_First_Value_Of_Dataset(f.path, QStringLiteral("../outside")).isEmpty());
    QStringList deleted;
    EXPECT_FALSE(
        SeriesFiles::Delete(f.path, {"../outside"}, "../outside", nothingInUse, yes, false, &deleted).ok());
    EXPECT_TRUE(QFileInfo::exists(outside));
    EXPECT_TRUE(deleted.isEmpty());
}

TEST(SeriesFiles, SaveTrimsRenamesAndReplaces)
{
    Folder f;
    EXPECT_EQ(SeriesFiles::Save(f.path, QStringLiteral("A"), {}, {}, nothingInUse, yes).message,
              SeriesFiles::MsgListEmpty);
    ASSERT_TRUE(SeriesFiles::Save(f.path, QStringLiteral("A"), {}, {"one", "  two  ", "   ", "three\nlines"},
                                  nothingInUse, yes)
                    .ok());
    EXPECT_EQ(f.get(QStringLiteral("A")), QByteArray("one\ntwo\nthree lines\n"));

    // Editing A and saving it as B (new): only B is left.
    ASSERT_TRUE(
        SeriesFiles::Save(f.path, QStringLiteral("B"), QStringLiteral("A"), {"b1"}, nothingInUse, no).ok());
    EXPECT_FALSE(QFileInfo::exists(f.file(QStringLiteral("A"))));
    EXPECT_EQ(f.get(QStringLiteral("B")), QByteArray("b1\n"));

    // Saving B as the existing C: No changes nothing; Yes replaces C and keeps B.
    f.put(QStringLiteral("C"), "c\n");
    QStringList asked;
    const SeriesQuestion record = [&](const QString &q) {
        asked << q;
        return false;
    };
    const SeriesResult refused =
        SeriesFiles::Save(f.path, QStringLiteral("C"), QStringLiteral("B"), {"new"}, nothingInUse, record);
    EXPECT_TRUE(refused.cancelled());
    EXPECT_EQ(asked, QStringList{SeriesFiles::MsgAlreadyExists});
    EXPECT_EQ(f.get(QStringLiteral("C")), QByteArray("c\n"));
    ASSERT_TRUE(
        SeriesFiles::Save(f.path, QStringLiteral("C"), QStringLiteral("B"), {"new"}, nothingInUse, yes).ok());
    EXPECT_EQ(f.get(QStringLiteral("C")), QByteArray("new\n"));
    EXPECT_EQ(f.get(QStringLiteral("B")), QByteArray("b1\n"));

    // Its own name never asks; a series in use cannot be updated.
    asked.clear();
    EXPECT_TRUE(
        SeriesFiles::Save(f.path, QStringLiteral("C"), QStringLiteral("C"), {"again"}, nothingInUse, record)
            .ok());
    EXPECT_TRUE(asked.isEmpty());
    const SeriesInUseTest cInUse = [](const QString &n) { return n == QLatin1String("C"); };
    EXPECT_EQ(SeriesFiles::Save(f.path, QStringLiteral("C"), QStringLiteral("C"), {"x"}, cInUse, yes).message,
              SeriesFiles::MsgCantUpdateInUse);
    // A new series (generated or imported) under its name is refused alike, without the replace question.
    EXPECT_EQ(SeriesFiles::writeNew(f.path, QStringLiteral("C"), {"y"}, record, false, cInUse).message,
              SeriesFiles::MsgCantUpdateInUse);
    EXPECT_TRUE(asked.isEmpty());
    EXPECT_EQ(f.get(QStringLiteral("C")), QByteArray("again\n"));
}

TEST(SeriesFiles, DeleteStopsAtSeriesInUse)
{
    Folder f;
    for (const char *n : {"free", "used", "other"})
        f.put(QLatin1String(n), "v\n");
    const SeriesInUseTest usedInUse = [](const QString &n) { return n == QLatin1String("used"); };
    QStringList deleted;
    EXPECT_EQ(SeriesFiles::Delete(f.path, {"free", "used"}, "used", usedInUse, yes, false, &deleted).message,
              SeriesFiles::MsgCantDeleteInUse);
    EXPECT_TRUE(deleted.isEmpty());
    EXPECT_TRUE(SeriesFiles::Delete(f.path, {"free"}, "free", usedInUse, no, false, &deleted).cancelled());
    EXPECT_TRUE(QFileInfo::exists(f.file(QStringLiteral("free"))));

    const SeriesResult r =
        SeriesFiles::Delete(f.path, {"free", "used", "other"}, "free", usedInUse, yes, false, &deleted);
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.message, SeriesFiles::MsgCantDeleteInUse);
    EXPECT_EQ(deleted, QStringList{"free"}); // the walk stopped at "used"
    EXPECT_TRUE(QFileInfo::exists(f.file(QStringLiteral("other"))));
    const SeriesResult all =
        SeriesFiles::Delete(f.path, {"used", "other"}, "other", usedInUse, yes, true, &deleted);
    EXPECT_EQ(deleted, QStringList{"other"});
    EXPECT_TRUE(all.message.isEmpty());
    EXPECT_TRUE(QFileInfo::exists(f.file(QStringLiteral("used"))));
}

TEST(SeriesFiles, ExportAsText)
{
    QTemporaryDir tmp;
    EXPECT_EQ(SeriesFiles::exportPath(QStringLiteral("/x/list.csv"), true), QStringLiteral("/x/list.xlsx"));
    EXPECT_EQ(SeriesFiles::exportPath(QStringLiteral("/x/list"), false), QStringLiteral("/x/list.txt"));
    const QString out = tmp.filePath(QStringLiteral("out.txt"));
    const SeriesResult r = SeriesFiles::Export({"a", "b c", "d\re"}, out, false);
    EXPECT_TRUE(r.ok());
    EXPECT_EQ(r.message, SeriesFiles::MsgExported);
    EXPECT_EQ(readFile(out), QByteArray("a\nb c\nd e\n"));
    EXPECT_EQ(SeriesFiles::Export({}, out, false).message, SeriesFiles::MsgListEmpty);
}

TEST(SeriesFiles, AWorkbookExportMustFitOneSheet)
{
    // The heading takes a row: one value fewer than the sheet's rows is the most.
    EXPECT_TRUE(SeriesFiles::exportProblem(XlsxReader::MaxRows - 1, true).isEmpty());
    EXPECT_TRUE(SeriesFiles::exportProblem(5000000, false).isEmpty());
    QTemporaryDir tmp;
    const QString out = tmp.filePath(QStringLiteral("out.xlsx"));
    const SeriesResult r =
        SeriesFiles::Export(QStringList(XlsxReader::MaxRows, QStringLiteral("v")), out, true);
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.message, SeriesFiles::exportProblem(XlsxReader::MaxRows, true));
    EXPECT_TRUE(r.message.contains(QStringLiteral("%L1 rows").arg(XlsxReader::MaxRows)));
    EXPECT_FALSE(QFileInfo::exists(out));
}
