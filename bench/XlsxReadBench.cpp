// Reading a large worksheet: seconds and peak memory for 200,000 rows of 10 columns, written once
// into a private temporary folder by the program's own workbook writer (in a child process).
#include "data/SpreadsheetWriter.h"
#include "data/XlsxReader.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

#include <sys/wait.h>
#include <unistd.h>

namespace
{

constexpr int kRows = 200000;
constexpr int kColumns = 10;

// XLSX_BENCH_FILE names where the workbook is kept (written there when missing), so that a script
// can hand the same file to another reader; otherwise it lives in a temporary folder.
const QString &workbook()
{
    static std::unique_ptr<QTemporaryDir> dir;
    static QString path;
    if (path.isEmpty()) {
        path = qEnvironmentVariable("XLSX_BENCH_FILE");
        if (!path.isEmpty() && QFile::exists(path))
            return path;
        if (path.isEmpty()) {
            dir = std::make_unique<QTemporaryDir>();
            path = dir->filePath(QStringLiteral("large.xlsx"));
        }
        // Written by a child process, so that the memory the writing takes is not counted here.
        const pid_t child = fork();
        if (child < 0) {
            path.clear();
            return path;
        }
        if (child > 0) {
            int status = 0;
            waitpid(child, &status, 0);
            if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
                path.clear();
            return path;
        }
        QList<QStringList> rows;
        rows.reserve(kRows);
        for (int r = 0; r < kRows; ++r) {
            QStringList row;
            for (int c = 0; c < kColumns; ++c) {
                switch (c % 3) {
                case 0:
                    row << QString::number(r * kColumns + c);
                    break;
                case 1:
                    row << QStringLiteral("text %1-%2").arg(r).arg(c);
                    break;
                default:
                    row << QStringLiteral("%1.25").arg(r % 977);
                }
            }
            rows << row;
        }
        _exit(SpreadsheetWriter::WriteWorkbook(path, rows, false) ? 0 : 1);
    }
    return path;
}

// Peak resident memory of the process in MiB; resettable so that setup does not count.
double peakMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return -1;
}

void resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

void BM_ReadLargeSheet(benchmark::State &state)
{
    const QString path = workbook();
    if (path.isEmpty()) {
        state.SkipWithError("could not write the workbook");
        return;
    }
    resetPeak();
    const double before = peakMiB();
    qsizetype cells = 0;
    for (auto _ : state) {
        XlsxReader reader;
        reader.open(path);
        const XlsxRows rows = reader.readSheet(1);
        cells = rows.rows.size() * rows.columns;
        benchmark::DoNotOptimize(rows.rows.text(rows.rows.size() - 1, rows.columns - 1));
    }
    state.counters["cells"] = double(cells);
    state.counters["peak_MiB"] = peakMiB();
    state.counters["peak_before_MiB"] = before;
    state.counters["file_MiB"] = double(QFile(path).size()) / (1 << 20);
}

} // namespace

BENCHMARK(BM_ReadLargeSheet)->Unit(benchmark::kSecond)->Iterations(3);
