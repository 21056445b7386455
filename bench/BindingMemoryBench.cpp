// The memory a design bound to 100,000 rows holds, for 2, 10 and 20 columns, by the two roads the
// window takes: a design file that keeps the rows opened through the document (the unsaved-changes
// check made once, as after every click), and a workbook read and its columns bound; and what
// saving that design again adds. Each case runs in a process of its own; the files are written by
// child processes, so that writing them is not counted. Before and after a change: run this
// program of each build one after the other.
#include "data/ColumnBinding.h"
#include "data/SpreadsheetWriter.h"
#include "data/XlsxReader.h"
#include "editor/DesignFile.h"
#include "editor/EditorState.h"
#include "model/SKTDocument.h"
#include "support/ProcessMemory.h"

#include <QTemporaryDir>

#include <functional>

#include <benchmark/benchmark.h>

#include <sys/wait.h>
#include <unistd.h>

namespace
{

constexpr int RowCount = 100000;

QTemporaryDir &folder()
{
    static QTemporaryDir dir;
    return dir;
}

// Cells of the kinds a guest list holds: names, towns, numbers.
QString cellText(int row, int column)
{
    switch (column % 3) {
    case 0:
        return QStringLiteral("Guest %1-%2").arg(row).arg(column);
    case 1:
        return QStringLiteral("Town %1").arg(row % 97);
    default:
        return QString::number(qint64(row) * 7919 + column);
    }
}

// Runs make in a child process; false when it failed.
bool inChild(const std::function<bool()> &make)
{
    const pid_t child = fork();
    if (child < 0)
        return false;
    if (child == 0)
        _exit(make() ? 0 : 1);
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

QString designWithRows(int columns)
{
    const QString path = folder().filePath(QStringLiteral("rows-%1.dcard").arg(columns));
    const bool made = inChild([&] {
        ExcelBindingTable binding;
        binding.Excel_Binding_Use = true;
        QStringList titles;
        for (int c = 1; c <= columns; ++c)
            titles << QStringLiteral("Heading %1").arg(c);
        binding.setColumnTitles(titles);
        for (int r = 0; r < RowCount; ++r) {
            QStringList cells;
            for (int c = 0; c < columns; ++c)
                cells << cellText(r, c);
            binding.Create_List_By_Array(cells, columns);
        }
        SKTDocument document;
        document.setBinding(binding);
        EditorState::instance().Project_File_Name = path;
        return DesignFile(document).Save_project_file(false, false).ok();
    });
    return made ? path : QString();
}

QString workbookWithRows(int columns)
{
    const QString path = folder().filePath(QStringLiteral("rows-%1.xlsx").arg(columns));
    const bool made = inChild([&] {
        QList<QStringList> rows;
        QStringList titles;
        for (int c = 1; c <= columns; ++c)
            titles << QStringLiteral("Heading %1").arg(c);
        rows << titles;
        for (int r = 0; r < RowCount; ++r) {
            QStringList cells;
            for (int c = 0; c < columns; ++c)
                cells << cellText(r, c);
            rows << cells;
        }
        return SpreadsheetWriter::WriteWorkbook(path, rows, true);
    });
    return made ? path : QString();
}

void report(benchmark::State &state, double before, double held)
{
    state.counters["HeldMiB"] = held - before;
    state.counters["PeakMiB"] = ProcessMemory::statusMiB("VmHWM") - before;
}

// A design file keeping the rows, opened through the document.
void BM_MemoryOfDesignRows(benchmark::State &state)
{
    const int columns = int(state.range(0));
    const QString path = designWithRows(columns);
    if (path.isEmpty()) {
        state.SkipWithError("the design could not be written");
        return;
    }
    for (auto _ : state) {
        ProcessMemory::resetPeak();
        const double before = ProcessMemory::statusMiB("VmRSS");
        SKTDocument document;
        DesignFile file(document);
        file.Read_and_load_design_Log(path, QStringLiteral("L"));
        benchmark::DoNotOptimize(file.isModified());
        if (document.design().binding.rowCount() != RowCount)
            state.SkipWithError("the rows were not read");
        report(state, before, ProcessMemory::statusMiB("VmRSS"));
    }
}
BENCHMARK(BM_MemoryOfDesignRows)->Arg(2)->Arg(10)->Arg(20)->Iterations(1)->Unit(benchmark::kMillisecond);

// That design saved again, once opened: the memory the save adds at its peak.
void BM_MemoryOfDesignSave(benchmark::State &state)
{
    const int columns = int(state.range(0));
    const QString path = designWithRows(columns);
    if (path.isEmpty()) {
        state.SkipWithError("the design could not be written");
        return;
    }
    SKTDocument document;
    DesignFile file(document);
    file.Read_and_load_design_Log(path, QStringLiteral("L"));
    const QString saved = folder().filePath(QStringLiteral("saved-%1.dcard").arg(columns));
    for (auto _ : state) {
        ProcessMemory::resetPeak();
        const double before = ProcessMemory::statusMiB("VmRSS");
        EditorState::instance().Project_File_Name = saved;
        if (!file.Save_project_file(false, false).ok())
            state.SkipWithError("the design could not be saved");
        report(state, before, ProcessMemory::statusMiB("VmRSS"));
    }
}
BENCHMARK(BM_MemoryOfDesignSave)->Arg(2)->Arg(10)->Arg(20)->Iterations(1)->Unit(benchmark::kMillisecond);

// A workbook read and every column of it bound, as the Excel import puts it into the design.
void BM_MemoryOfWorkbookRows(benchmark::State &state)
{
    const int columns = int(state.range(0));
    const QString path = workbookWithRows(columns);
    if (path.isEmpty()) {
        state.SkipWithError("the workbook could not be written");
        return;
    }
    for (auto _ : state) {
        ProcessMemory::resetPeak();
        const double before = ProcessMemory::statusMiB("VmRSS");
        SKTDocument document;
        {
            XlsxReader reader;
            if (!reader.open(path)) {
                state.SkipWithError("the workbook could not be read");
                return;
            }
            const XlsxRows read = reader.readSheet(1);
            QList<int> all;
            for (int c = 0; c < columns; ++c)
                all << c;
            document.setBinding(ColumnBinding::tableOf(read.rows, all, 1));
        }
        if (document.design().binding.rowCount() != RowCount)
            state.SkipWithError("the rows were not bound");
        report(state, before, ProcessMemory::statusMiB("VmRSS"));
    }
}
BENCHMARK(BM_MemoryOfWorkbookRows)->Arg(2)->Arg(10)->Arg(20)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
