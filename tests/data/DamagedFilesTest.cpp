// Damaged workbooks and archives: truncations and bit flips of valid files either read or fail
// with a message; none may crash or hang (a bounded count, run under the sanitizers in CI).
#include "DataTestUtil.h"

#include "data/SSZipArchive.h"
#include "data/SpreadsheetWriter.h"
#include "data/XlsxReader.h"

#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace datatest;

namespace
{

void readEverything(const QString &path)
{
    XlsxReader reader;
    QString message;
    if (!reader.open(path, &message)) {
        EXPECT_FALSE(message.isEmpty());
        return;
    }
    for (int s = 1; s <= reader.sheetCount(); ++s) {
        const XlsxRows rows = reader.readSheet(s);
        if (!rows.ok) {
            EXPECT_FALSE(rows.message.isEmpty());
        }
        reader.readSheet(s, true);
    }
}

QList<QByteArray> damaged(const QByteArray &good, int flips)
{
    QList<QByteArray> out;
    for (qsizetype cut : {qsizetype(0), qsizetype(4), qsizetype(30), good.size() / 3, good.size() / 2,
                          good.size() - 22, good.size() - 1})
        out << good.left(cut);
    QRandomGenerator rng(20240607);
    for (int i = 0; i < flips; ++i) {
        QByteArray b = good;
        const int n = 1 + int(rng.bounded(3));
        for (int k = 0; k < n; ++k) {
            const qsizetype at = qsizetype(rng.bounded(quint32(b.size())));
            b[at] = char(b[at] ^ (1 << rng.bounded(8)));
        }
        out << b;
    }
    return out;
}

} // namespace

TEST(DamagedFiles, WorkbooksNeverCrash)
{
    QTemporaryDir tmp;
    const QString good = tmp.filePath(QStringLiteral("good.xlsx"));
    QList<QStringList> rows{{"Name", "Value", "Note"}};
    for (int i = 0; i < 40; ++i)
        rows << QStringList{QStringLiteral("n%1").arg(i), QString::number(i * 3), QStringLiteral("x\x01y")};
    ASSERT_TRUE(SpreadsheetWriter::WriteWorkbook(good, rows, false));
    int n = 0;
    for (const QString &source : {good, testFile(QStringLiteral("lo_layout.xlsx"))}) {
        for (const QByteArray &bytes : damaged(readFile(source), 150)) {
            const QString path = tmp.filePath(QStringLiteral("d%1.xlsx").arg(n++));
            writeFile(path, bytes);
            readEverything(path);
        }
    }
}

TEST(DamagedFiles, ArchivesNeverCrashOrEscape)
{
    QTemporaryDir tmp;
    const QString src = tmp.filePath(QStringLiteral("src"));
    QDir().mkpath(src + QStringLiteral("/sub"));
    QByteArray text;
    for (int i = 0; i < 500; ++i)
        text += QByteArray::number(i * 31) + '\n';
    writeFile(src + QStringLiteral("/sub/a.txt"), text);
    writeFile(src + QStringLiteral("/b.txt"), "short");
    const QString zip = tmp.filePath(QStringLiteral("good.zip"));
    ASSERT_TRUE(SSZipArchive::createZipFileAtPath(zip, src));
    int n = 0;
    for (const QByteArray &bytes : damaged(readFile(zip), 120)) {
        const QString path = tmp.filePath(QStringLiteral("d%1.zip").arg(n));
        writeFile(path, bytes);
        ZipError error;
        const QString dest = tmp.filePath(QStringLiteral("out%1/inner").arg(n++));
        if (!SSZipArchive::unzipFileAtPath(path, dest, true, {}, &error)) {
            EXPECT_NE(error.code, 0);
        }
    }
    // Nothing landed beside the targets.
    QStringList stray = QDir(tmp.path()).entryList(QDir::Files);
    stray.removeIf([](const QString &f) { return f.endsWith(QLatin1String(".zip")); });
    EXPECT_TRUE(stray.isEmpty()) << stray.join(',').toStdString();
}
