// A big design's file: a design bound to 100,000 rows saved, read back (what runs off the window's
// thread) and put in the document, and the unsaved-changes check the window makes after each click.
#include "editor/DesignFile.h"
#include "editor/EditorState.h"
#include "model/SKTDocument.h"

#include <benchmark/benchmark.h>

#include <QSaveFile>
#include <QTemporaryDir>

namespace
{

constexpr int RowCount = 100000;

QTemporaryDir &folder()
{
    static QTemporaryDir dir;
    return dir;
}

struct BigDesign {
    QString path = folder().filePath(QStringLiteral("rows.dcard"));
    SKTDocument document;

    BigDesign()
    {
        ExcelBindingTable binding;
        binding.Excel_Binding_Use = true;
        binding.setColumnTitles({QStringLiteral("Name"), QStringLiteral("City"), QStringLiteral("Code")});
        QList<ExcelBindingTable::Row> rows;
        for (int k = 0; k < RowCount; ++k)
            rows.append({{ExcelBindingTable::rowNumberKey(), QString::number(k + 1)},
                         {ExcelBindingTable::columnIdentifier(1), QStringLiteral("Guest number %1").arg(k)},
                         {ExcelBindingTable::columnIdentifier(2), QStringLiteral("Town %1").arg(k % 97)},
                         {ExcelBindingTable::columnIdentifier(3), QString::number(k * 7919)}});
        binding.setListData(rows);
        document.setBinding(binding);
        EditorState::instance().Project_File_Name = path;
        DesignFile(document).Save_project_file(false, false);
    }
};

BigDesign &bigDesign()
{
    // Left for the exit to take: a document destroyed after the application would outlive Qt's own.
    static BigDesign *design = new BigDesign;
    return *design;
}

// Serializing and writing the whole design: the worker's share of a save.
void BM_SaveRows100k(benchmark::State &state)
{
    BigDesign &d = bigDesign();
    for (auto _ : state) {
        CardDesign copy = d.document.design();
        QSaveFile file(d.path);
        benchmark::DoNotOptimize(file.open(QIODevice::WriteOnly) && DesignFileFormat::write(file, copy) &&
                                 file.commit());
    }
}
BENCHMARK(BM_SaveRows100k)->Unit(benchmark::kMillisecond);

// Reading and parsing it: the worker's share of an open.
void BM_ReadRows100k(benchmark::State &state)
{
    BigDesign &d = bigDesign();
    for (auto _ : state) {
        CardDesign read;
        QString reason;
        benchmark::DoNotOptimize(DesignFile::readDesign(d.path, &read, &reason));
    }
}
BENCHMARK(BM_ReadRows100k)->Unit(benchmark::kMillisecond);

// Opening it whole through the document, as the window's thread sees it once the parse is done
// (the parse included: the road without a window).
void BM_OpenRows100k(benchmark::State &state)
{
    BigDesign &d = bigDesign();
    for (auto _ : state) {
        SKTDocument document;
        benchmark::DoNotOptimize(DesignFile(document).Read_and_load_design_Log(d.path, QStringLiteral("L")));
    }
}
BENCHMARK(BM_OpenRows100k)->Unit(benchmark::kMillisecond);

// The unsaved-changes check with the rows unchanged since the last one (after every click), and
// after one cell was edited.
void BM_UnsavedCheckRows100k(benchmark::State &state)
{
    BigDesign &d = bigDesign();
    const DesignFile file(d.document);
    const bool edited = state.range(0) != 0;
    int k = 0;
    for (auto _ : state) {
        if (edited)
            d.document.changeSettingsRecorded(QStringLiteral("Edit"), 0, [&k](DesignSettings &settings) {
                settings.binding.setObjectValue(QString::number(++k), 1, 0);
            });
        benchmark::DoNotOptimize(file.isModified());
    }
}
BENCHMARK(BM_UnsavedCheckRows100k)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
