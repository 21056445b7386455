#include "output/RunPlan.h"

#include "data/ColumnBinding.h"
#include "data/SeriesFiles.h"
#include "foundation/CardCodes.h"
#include "foundation/DataRoot.h"
#include "foundation/StringUtils.h"

#include <QDir>

#include <algorithm>
#include <map>
#include <mutex>

// What every plan of one design shares: read once, never changed.
struct RunPlan::Sources {
    CardDesign design;
    Folders folders;
    SeriesTable series;
    BatchCounts counts; // every source the design binds
    QList<Binding> front, back;
    QStringList warnings;
    QStringList unreadableSeries;
    QStringList missingSeries;
};

namespace
{
// Notes a text once: both sides may bind the same series.
void noteOnce(QStringList &list, const QString &text)
{
    if (!text.isEmpty() && !list.contains(text))
        list << text;
}

SeriesLoader loaderInto(const QString &dataFolder, QStringList &warnings, QStringList &unreadable,
                        QStringList &missing)
{
    return
        [&dataFolder, &warnings, &unreadable, &missing](const QString &name) -> std::optional<QStringList> {
            // Set to Series with none picked (a design saved so): no file is looked for by no name.
            if (name.trimmed().isEmpty()) {
                noteOnce(warnings, RunPlan::NoSeriesChosen);
                return std::nullopt;
            }
            QString problem, replaced;
            std::optional<QStringList> rows = SeriesFiles::readRows(dataFolder, name, &problem, &replaced);
            if (!rows && problem.isEmpty()) {
                noteOnce(warnings, QStringLiteral("The series \"%1\" was not found.").arg(name));
                noteOnce(missing, name);
            }
            noteOnce(warnings, replaced);
            // A series that is there but cannot be read must not turn the batch into one plain card.
            noteOnce(unreadable, problem);
            return rows;
        };
}

// What the counting needs to know of a side's objects.
QList<BoundObjectInfo> describe(const GraphicList &graphics)
{
    QList<BoundObjectInfo> out;
    out.reserve(graphics.size());
    for (const GraphicPtr &g : graphics) {
        if (!g)
            continue;
        BoundObjectInfo info;
        switch (g->kind()) {
        case SKTGraphic::Kind::Text:
            info.kind = BoundKind::Text;
            break;
        case SKTGraphic::Kind::Image:
            info.kind = BoundKind::Image;
            break;
        case SKTGraphic::Kind::Barcode:
            info.kind = BoundKind::Barcode;
            break;
        default:
            info.kind = BoundKind::Other;
            break;
        }
        info.data_source_type = g->data_source_type;
        info.batch_list_name = g->batch_list_name_val();
        info.excel_col_indx = g->excel_col_indx;
        out.append(info);
    }
    return out;
}

RunPlan::Binding bindingOf(const SKTGraphic &g, const CardDesign &design, const SeriesTable &series)
{
    RunPlan::Binding b;
    if (!RunPlan::isBindable(g))
        return b;
    if (g.data_source_type == DataSourceCode::Series) {
        b.source = RunPlan::Binding::Source::Series;
        b.series = g.batch_list_name_val();
        b.named = QStringLiteral("series \"%1\"").arg(b.series);
        b.rows = series.rowsOf(b.series);
    } else if (g.data_source_type == DataSourceCode::BindingColumn) {
        b.source = RunPlan::Binding::Source::Column;
        // Without known headings (a table of rows kept with no titles but the row number's) the
        // stored place is all there is.
        const QStringList titles =
            design.binding.columnCount() > 1 ? design.binding.columnTitles() : QStringList();
        b.column = titles.isEmpty() ? g.excel_col_indx
                                    : ColumnBinding::resolve(titles, g.excel_col_indx, g.excel_col_title);
        const QString heading = Trim_Str(g.excel_col_title.value_or(QString()));
        if (b.column >= 0 && b.column < titles.size())
            b.named = QStringLiteral("column \"%1\"").arg(titles.at(b.column));
        else if (!heading.isEmpty())
            b.named = QStringLiteral("column \"%1\"").arg(heading);
        else
            b.named = QStringLiteral("column %1").arg(g.excel_col_indx);
        b.rows = b.column < 0 ? 0 : design.binding.rowCount();
    }
    return b;
}
} // namespace

struct RunPlan::Pages {
    std::mutex mutex;
    std::map<std::pair<bool, double>, std::shared_ptr<const SKTRenderingView::Page>> made;
};

RunPlan::RunPlan(std::shared_ptr<const Sources> sources, const Choices &choices)
    : m_sources(std::move(sources)), m_choices(choices), m_offered(m_sources->counts), m_counts(m_offered),
      m_pages(std::make_shared<Pages>())
{
    m_counts.Use_Data_Sheet_Values = m_offered.Use_Data_Sheet_Values && choices.useSeries;
    m_counts.Use_Excel_Binding_Values = m_offered.Use_Excel_Binding_Values && choices.useExcel;
    BatchRowCounter::Get_total_Card_count(m_counts, m_sources->series, m_sources->design.binding.rowCount());
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

RunPlan::Folders RunPlan::Folders::current()
{
    return Folders{Resource_Path, Data_Folder_Path};
}

bool RunPlan::isBindable(const SKTGraphic &graphic)
{
    const SKTGraphic::Kind k = graphic.kind();
    return k == SKTGraphic::Kind::Text || k == SKTGraphic::Kind::Image || k == SKTGraphic::Kind::Barcode;
}

std::shared_ptr<const RunPlan> RunPlan::make(const CardDesign &design, const Choices &choices,
                                             const Folders &folders)
{
    auto sources = std::make_shared<Sources>();
    Sources &s = *sources;
    s.design = design.deepCopy();
    s.folders = folders;
    s.counts = BatchRowCounter::Check_Series_Or_Excel_Use_or_not(
        s.series, describe(s.design.front), describe(s.design.back), s.design.isTwoSided(),
        s.design.binding.rowCount(),
        loaderInto(s.folders.data, s.warnings, s.unreadableSeries, s.missingSeries));
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

std::shared_ptr<const RunPlan> RunPlan::make(const CardDesign &design, const Choices &choices)
{
    return make(design, choices, Folders::current());
}

std::shared_ptr<const RunPlan> RunPlan::make(const CardDesign &design)
{
    return make(design, Choices());
}

std::shared_ptr<const RunPlan> RunPlan::with(const Choices &choices) const
{
    return std::shared_ptr<const RunPlan>(new RunPlan(m_sources, choices));
}

std::shared_ptr<const SKTRenderingView::Page>
RunPlan::sharedPage(bool back, double dpi, const std::function<SKTRenderingView::Page()> &make) const
{
    // Made under the lock: the other workers wait for the page they need too.
    const std::lock_guard lock(m_pages->mutex);
    auto &page = m_pages->made[{back, dpi}];
    if (!page)
        page = std::make_shared<const SKTRenderingView::Page>(make());
    return page;
}

bool RunPlan::sameData(const RunPlan &other) const
{
    if (m_sources == other.m_sources)
        return true;
    const ExcelBindingTable &mine = design().binding, &theirs = other.design().binding;
    return m_sources->series == other.m_sources->series && mine.rows() == theirs.rows() &&
           mine.columnTitles() == theirs.columnTitles() && mine.sheetRows() == theirs.sheetRows();
}

const CardDesign &RunPlan::design() const
{
    return m_sources->design;
}

const RunPlan::Folders &RunPlan::folders() const
{
    return m_sources->folders;
}

bool RunPlan::backTakesPart() const
{
    return design().isTwoSided();
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
    return design().binding.objectValue(column, row);
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
    const ExcelBindingTable &binding = design().binding;
    return usesExcel() &&
           ((!binding.sheetRows().isEmpty() && binding.sheetRows().first() > 0) || rowsAbove() >= 0);
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
    const QList<int> &known = design().binding.sheetRows();
    if (row < known.size()) {
        if (known.at(row) > 0)
            return known.at(row);
    } else if (!known.isEmpty() && known.last() > 0) {
        return known.last() + (row - int(known.size()) + 1);
    }
    return row + 1 + std::max(0, rowsAbove());
}

int RunPlan::rowsAbove() const
{
    const WorkbookFacts &facts = design().binding.sourceFacts;
    return facts.isKnown() ? facts.firstRow : -1;
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

const QStringList &RunPlan::missingSeries() const
{
    return m_sources->missingSeries;
}

QString RunPlan::missingSeriesText() const
{
    if (m_sources->missingSeries.isEmpty())
        return {};
    QStringList lines;
    for (const QString &name : m_sources->missingSeries) {
        const QString path = SeriesFiles::safePath(folders().data, name);
        lines << (path.isEmpty() ? QStringLiteral("The series \"%1\" was not found.").arg(name)
                                 : QStringLiteral("The series \"%1\" was not found: its file %2 is gone.")
                                       .arg(name, QDir::toNativeSeparators(path)));
    }
    return lines.join(QLatin1Char('\n')) +
           QStringLiteral("\n\nNo card is made while a series it reads is gone: put the file back, or "
                          "bind the objects to another series.");
}
