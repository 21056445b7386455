#include "output/RunPlan.h"

#include "data/ColumnBinding.h"
#include "data/SeriesFiles.h"
#include "foundation/CardCodes.h"
#include "foundation/StringUtils.h"

#include <algorithm>

// What every plan of one design shares: read once, never changed.
struct RunPlan::Sources {
    Design design;
    SeriesTable series;
    BatchCounts counts; // every source the design binds
    QList<Binding> front, back;
    QStringList warnings;
    QStringList unreadableSeries;
};

namespace
{
// Notes a text once: both sides may bind the same series.
void noteOnce(QStringList &list, const QString &text)
{
    if (!text.isEmpty() && !list.contains(text))
        list << text;
}

SeriesLoader loaderInto(const QString &dataFolder, QStringList &warnings, QStringList &unreadable)
{
    return [&dataFolder, &warnings, &unreadable](const QString &name) {
        QString problem, replaced;
        std::optional<QStringList> rows = SeriesFiles::readRows(dataFolder, name, &problem, &replaced);
        if (!rows && problem.isEmpty())
            noteOnce(warnings, QStringLiteral("The series \"%1\" was not found.").arg(name));
        noteOnce(warnings, replaced);
        // A series that is there but cannot be read must not turn the batch into one plain card.
        noteOnce(unreadable, problem);
        return rows;
    };
}

RunPlan::Binding bindingOf(const SKTGraphic &g, const RunPlan::Design &design, const SeriesTable &series)
{
    RunPlan::Binding b;
    if (!BatchFillSnapshot::isBindable(g))
        return b;
    if (g.data_source_type == DataSourceCode::Series) {
        b.source = RunPlan::Binding::Source::Series;
        b.series = g.batch_list_name_val();
        b.named = QStringLiteral("series \"%1\"").arg(b.series);
        b.rows = series.rowsOf(b.series);
    } else if (g.data_source_type == DataSourceCode::BindingColumn) {
        b.source = RunPlan::Binding::Source::Column;
        const QStringList &titles = design.excelTitles;
        // Without known headings the stored place is all there is.
        b.column = titles.isEmpty() ? g.excel_col_indx
                                    : ColumnBinding::resolve(titles, g.excel_col_indx, g.excel_col_title);
        const QString heading = Trim_Str(g.excel_col_title.value_or(QString()));
        if (b.column >= 0 && b.column < titles.size())
            b.named = QStringLiteral("column \"%1\"").arg(titles.at(b.column));
        else if (!heading.isEmpty())
            b.named = QStringLiteral("column \"%1\"").arg(heading);
        else
            b.named = QStringLiteral("column %1").arg(g.excel_col_indx);
        b.rows = b.column < 0 ? 0 : int(design.excelRows.size());
    }
    return b;
}
} // namespace

RunPlan::RunPlan(std::shared_ptr<const Sources> sources, const Choices &choices)
    : m_sources(std::move(sources)), m_choices(choices), m_offered(m_sources->counts), m_counts(m_offered)
{
    m_counts.Use_Data_Sheet_Values = m_offered.Use_Data_Sheet_Values && choices.useSeries;
    m_counts.Use_Excel_Binding_Values = m_offered.Use_Excel_Binding_Values && choices.useExcel;
    BatchRowCounter::Get_total_Card_count(m_counts, m_sources->series,
                                          int(m_sources->design.excelRows.size()));
    for (const bool back : {false, true}) {
        if (back ? !outputsBack() : !outputsFront())
            continue;
        const GraphicList &side = back ? design().back : design().front;
        for (int i = 0; i < side.size(); ++i)
            if (fills(back, i) && side.at(i)->ctrl_is_visible && side.at(i)->print_object == 0)
                m_filled.append({back, i});
    }
    if (choices.leaveOutBlank && isBatch()) {
        auto kept = std::make_shared<QList<int>>();
        for (int r = 0; r < m_counts.Total_Batch_Excel_Card; ++r)
            if (!blankSource(r))
                kept->append(r);
        m_kept = std::move(kept);
    }
}

std::shared_ptr<const RunPlan> RunPlan::make(const Design &design, const Choices &choices)
{
    auto sources = std::make_shared<Sources>();
    Sources &s = *sources;
    s.design = design;
    s.design.front = BatchFillSnapshot::cloneList(design.front);
    s.design.back = BatchFillSnapshot::cloneList(design.back);
    const bool back = s.design.CARD_SIDE_STR == QLatin1String("2");
    s.counts = BatchRowCounter::Check_Series_Or_Excel_Use_or_not(
        s.series, BatchFillSnapshot::describe(s.design.front), BatchFillSnapshot::describe(s.design.back),
        back, int(s.design.excelRows.size()),
        loaderInto(s.design.dataFolder, s.warnings, s.unreadableSeries));
    for (const GraphicPtr &g : s.design.front)
        s.front.append(bindingOf(*g, s.design, s.series));
    for (const GraphicPtr &g : s.design.back)
        s.back.append(bindingOf(*g, s.design, s.series));
    return std::shared_ptr<const RunPlan>(new RunPlan(std::move(sources), choices));
}

ExportSide RunPlan::sidesOfCode(const QString &code)
{
    return code == SideCode::Both   ? ExportSide::Both
           : code == SideCode::Back ? ExportSide::Back
                                    : ExportSide::Front;
}

std::shared_ptr<const RunPlan> RunPlan::make(const Design &design)
{
    return make(design, Choices());
}

std::shared_ptr<const RunPlan> RunPlan::with(const Choices &choices) const
{
    return std::shared_ptr<const RunPlan>(new RunPlan(m_sources, choices));
}

const RunPlan::Design &RunPlan::design() const
{
    return m_sources->design;
}

bool RunPlan::backTakesPart() const
{
    return design().CARD_SIDE_STR == QLatin1String("2");
}

bool RunPlan::bindsData() const
{
    const auto bound = [](const QList<Binding> &side) {
        return std::any_of(side.begin(), side.end(),
                           [](const Binding &b) { return b.source != Binding::Source::Own; });
    };
    return bound(m_sources->front) || (backTakesPart() && bound(m_sources->back));
}

int RunPlan::cardCount() const
{
    return m_kept ? int(m_kept->size()) : m_counts.Total_Batch_Excel_Card;
}

int RunPlan::outputCount() const
{
    if (!isBatch())
        return 1;
    return m_choices.most < 0 ? cardCount() : std::min(cardCount(), m_choices.most);
}

bool RunPlan::outputsFront() const
{
    return m_choices.sides != ExportSide::Back;
}

bool RunPlan::outputsBack() const
{
    return m_choices.sides ? *m_choices.sides != ExportSide::Front : backTakesPart();
}

const RunPlan::Binding &RunPlan::binding(bool back, int index) const
{
    static const Binding own;
    const QList<Binding> &side = back ? m_sources->back : m_sources->front;
    return index >= 0 && index < side.size() ? side.at(index) : own;
}

QString RunPlan::cell(int row, int column) const
{
    const QList<BatchFillSnapshot::ExcelRow> &rows = design().excelRows;
    if (row < 0 || row >= rows.size() || column < 0)
        return {};
    return rows.at(row).value(column == 0 ? ExcelBindingTable::rowNumberKey()
                                          : ExcelBindingTable::columnIdentifier(column));
}

bool RunPlan::fills(bool back, int index) const
{
    const Binding::Source source = binding(back, index).source;
    return (source == Binding::Source::Series && usesSeries()) ||
           (source == Binding::Source::Column && usesExcel());
}

int RunPlan::sourceRow(int row) const
{
    return m_kept && row >= 0 && row < m_kept->size() ? m_kept->at(row) : row;
}

std::optional<QString> RunPlan::valueOfSource(bool back, int index, int sourceRow) const
{
    if (!fills(back, index))
        return std::nullopt;
    const Binding &b = binding(back, index);
    return Trim_Str(b.source == Binding::Source::Series
                        ? m_sources->series.Get_sel_row_col_value_of_dataset(sourceRow, b.series)
                        : cell(sourceRow, b.column));
}

std::optional<QString> RunPlan::valueOf(bool back, int index, int row) const
{
    return valueOfSource(back, index, sourceRow(row));
}

bool RunPlan::blankSource(int sourceRow) const
{
    return !m_filled.isEmpty() && std::all_of(m_filled.begin(), m_filled.end(), [&](const auto &object) {
        return valueOfSource(object.first, object.second, sourceRow).value_or(QString()).isEmpty();
    });
}

bool RunPlan::blank(int row) const
{
    return blankSource(sourceRow(row));
}

bool RunPlan::numbersBySheet() const
{
    const Design &d = design();
    return usesExcel() &&
           ((!d.excelSheetRows.isEmpty() && d.excelSheetRows.first() > 0) || d.excelRowsAbove >= 0);
}

int RunPlan::rowNumber(int row) const
{
    return sourceRowNumber(sourceRow(row));
}

int RunPlan::sourceRowNumber(int row) const
{
    if (!numbersBySheet())
        return row + 1;
    // The sheet's rows are read without gaps, so the numbering runs on past the last row known (a
    // longer series beside the workbook), and rows kept in a design follow the rows above them.
    const QList<int> &known = design().excelSheetRows;
    if (row < known.size()) {
        if (known.at(row) > 0)
            return known.at(row);
    } else if (!known.isEmpty() && known.last() > 0) {
        return known.last() + (row - int(known.size()) + 1);
    }
    return row + 1 + std::max(0, design().excelRowsAbove);
}

QString RunPlan::rowWord() const
{
    return numbersBySheet() && usesSeries() ? QStringLiteral("sheet row") : QStringLiteral("row");
}

const QStringList &RunPlan::warnings() const
{
    return m_sources->warnings;
}

const QStringList &RunPlan::unreadableSeries() const
{
    return m_sources->unreadableSeries;
}
