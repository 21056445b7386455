// Hostile and careless workbooks, written by an independent script: each is refused with its
// message, quickly and with bounded memory, and never blocks; the plain one beside them reads.
#include "DataTestUtil.h"

#include "data/XlsxReader.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <tuple>

using namespace datatest;

namespace
{

class XlsxHostile : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_dir = new QTemporaryDir;
        const ProcResult r = run(QStringLiteral("/usr/bin/python3"),
                                 {testFile(QStringLiteral("hostile_workbooks.py")), s_dir->path()});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    }
    static void TearDownTestSuite()
    {
        delete s_dir;
        s_dir = nullptr;
    }
    static QString file(const char *name) { return s_dir->filePath(QString::fromLatin1(name)); }

    // The message of opening the file, or of reading its first sheet when it opens.
    static QString refusal(const QString &path)
    {
        XlsxReader reader;
        QString message;
        if (!reader.open(path, &message))
            return message;
        const XlsxRows rows = reader.readSheet(1);
        return rows.ok ? QString() : rows.message;
    }

    static QTemporaryDir *s_dir;
};

QTemporaryDir *XlsxHostile::s_dir = nullptr;

} // namespace

TEST_F(XlsxHostile, PlainWorkbookReads)
{
    XlsxReader reader;
    ASSERT_TRUE(reader.open(file("plain.xlsx")));
    const XlsxRows rows = reader.readSheet(1);
    ASSERT_TRUE(rows.ok) << rows.message.toStdString();
    EXPECT_EQ(rows.rows, (QList<QStringList>{{"Name", "2"}}));
}

TEST_F(XlsxHostile, DocumentTypeDeclarationInAnyPartIsCorrupt)
{
    for (const char *name : {"dtd_root_rels.xlsx", "dtd_workbook.xlsx", "dtd_workbook_rels.xlsx",
                             "dtd_sheet.xlsx", "dtd_strings.xlsx", "laughs.xlsx"})
        EXPECT_EQ(refusal(file(name)), XlsxReader::corruptMessage()) << name;
}

TEST_F(XlsxHostile, DuplicatePartNamesAreCorrupt)
{
    // Two entries of one worksheet with different cells, and the shared strings twice in
    // different case: which one a program took would decide what it showed.
    for (const char *name : {"duplicate_sheet.xlsx", "duplicate_case.xlsx"}) {
        XlsxReader reader;
        QString message;
        EXPECT_FALSE(reader.open(file(name), &message)) << name;
        EXPECT_EQ(message, XlsxReader::corruptMessage()) << name;
    }
}

TEST_F(XlsxHostile, OldAndEncryptedWorkbooksSaySo)
{
    const QString old = refusal(file("old_format.xlsx"));
    EXPECT_EQ(old, XlsxReader::oldFormatMessage());
    EXPECT_TRUE(old.startsWith(XlsxReader::corruptMessage()));
    EXPECT_TRUE(old.contains(QLatin1String(".xls")));
    const QString encrypted = refusal(file("encrypted.xlsx"));
    EXPECT_EQ(encrypted, XlsxReader::encryptedMessage());
    EXPECT_TRUE(encrypted.startsWith(XlsxReader::corruptMessage()));
    EXPECT_TRUE(encrypted.contains(QLatin1String("password")));
}

TEST_F(XlsxHostile, PipesAndDevicesAreRefusedWithoutBlocking)
{
    const QString fifo = s_dir->filePath(QStringLiteral("pipe.xlsx"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString &path : {fifo, QStringLiteral("/dev/zero"), s_dir->path()}) {
        // In a child with a deadline: a reader that blocked would be killed and fail here.
        const ProcResult tool =
            run(QStringLiteral(CARDTOOL_PATH), {QStringLiteral("xlsx-read"), path}, {}, 20000);
        EXPECT_EQ(tool.exitCode, 1) << path.toStdString();
        EXPECT_TRUE(tool.err.contains("not a regular file")) << tool.err.toStdString();
        EXPECT_EQ(refusal(path), XlsxReader::notAFileMessage());
    }
}

TEST_F(XlsxHostile, SheetTextBeyondTheBudgetIsTooLargeWithBoundedMemory)
{
    const ProcResult made = run(QStringLiteral("/usr/bin/python3"),
                                {testFile(QStringLiteral("hostile_workbooks.py")), s_dir->path(), "big"});
    ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
    // 300 MB of text inside a small file as cells, and 1.2 GB as one cell its format repeats;
    // format codes of 15 million placeholders are not taken apart: their cells read as General.
    const std::tuple<const char *, int, QByteArray> cases[] = {
        {"big_text.xlsx", 1, XlsxReader::tooLargeMessage().toUtf8()},
        {"text_format_bomb.xlsx", 1, XlsxReader::tooLargeMessage().toUtf8()},
        {"long_format_code.xlsx", 0, {}},
    };
    for (const auto &[name, exitCode, message] : cases) {
        SCOPED_TRACE(name);
        const QString big = file(name);
        ASSERT_LT(QFileInfo(big).size(), 8 << 20);
        // The peak of the reading process alone, measured by its parent; then what it read.
        const ProcResult peak = python(QStringLiteral(R"(
import resource, subprocess, sys
p = subprocess.run(sys.argv[1:], capture_output=True)
print(p.returncode, resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss // 1024)
print(p.stdout.decode().strip())
sys.stderr.buffer.write(p.stderr)
)"),
                                       {QStringLiteral(CARDTOOL_PATH), QStringLiteral("xlsx-read"), big});
        const QList<QByteArray> lines = peak.out.trimmed().split('\n');
        const QList<QByteArray> figures = lines.value(0).split(' ');
        ASSERT_EQ(figures.size(), 2) << peak.err.toStdString();
        EXPECT_EQ(figures[0].toInt(), exitCode);
        EXPECT_TRUE(peak.err.contains(message)) << peak.err.toStdString();
        EXPECT_LT(figures[1].toInt(), 1024) << "peak MiB";
        if (exitCode == 0) {
            EXPECT_EQ(QJsonDocument::fromJson(lines.value(1)).toVariant(),
                      QJsonDocument::fromJson(R"([["Name","2"]])").toVariant());
        }
    }
}
