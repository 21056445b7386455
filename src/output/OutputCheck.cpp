#include "output/OutputCheck.h"

#include "foundation/StringUtils.h"
#include "foundation/ThreadSpread.h"
#include "output/OutputProblems.h"

#include <QHash>

#include <algorithm>
#include <exception>
#include <optional>
#include <vector>

namespace
{
// Rows of one problem, gathered in row order.
struct RowTally {
    int cards = 0;
    QList<int> first;
    void add(int rowNumber)
    {
        ++cards;
        if (first.size() < OutputCheck::RowsNamed)
            first.append(rowNumber);
    }
};

// One object showing one value (or what the design holds), judged once by every kind.
struct Unit {
    const SKTGraphic *object = nullptr;
    std::optional<SKTImage::MissingPicture> missing;
    std::optional<QString> value;
    QList<std::pair<int, QString>> findings; // (kind, what is wrong)
    OutputProblems::Undrawable undrawable;
    const GraphicList *side = nullptr; // the object's side and place there
    int index = -1;
};

// An object of a side the run outputs.
struct Subject {
    const SKTGraphic *object = nullptr;
    bool back = false;
    const RunPlan::Binding *source = nullptr; // filled from data in this run; null: shows its own
    int ownUnit = -1;                         // the unit of an object that shows its own
    std::vector<int> unitOfRow;               // a filled object's unit by row; -1 for a blank value
};

class Checker
{
public:
    Checker(const RunPlan &plan, const BatchFiller::BarcodeMaker *maker) : m_plan(plan), m_maker(maker)
    {
        m_report.totalCards = plan.outputCount();
        m_report.batch = plan.isBatch();
        m_report.rowWord = plan.rowWord();
    }

    void gatherSide(bool back)
    {
        const GraphicList &side = back ? m_plan.design().back : m_plan.design().front;
        QHash<const SKTGraphic *, SKTImage::MissingPicture> missing;
        for (const SKTImage::MissingPicture &m : SKTImage::missingPictures(side))
            missing.insert(m.object.get(), m);
        for (int i = 0; i < side.size(); ++i) {
            const SKTGraphic &g = *side.at(i);
            // A hidden object, or one left off the output, shows nothing, right or wrong.
            if (!g.ctrl_is_visible || g.print_object != 0)
                continue;
            Subject s;
            s.object = &g;
            s.back = back;
            if (m_plan.fills(back, i)) {
                s.source = &m_plan.binding(back, i);
                gatherRows(s, back, i);
            } else {
                s.ownUnit = int(m_units.size());
                const auto m = missing.constFind(&g);
                m_units.push_back(
                    {&g, m == missing.constEnd() ? std::nullopt : std::optional(*m), {}, {}, {}, &side, i});
            }
            m_subjects.push_back(std::move(s));
        }
    }

    void judge(int threads)
    {
        ThreadSpread::forEachIndex(qsizetype(m_units.size()), threads,
                                   [this] { return [this](qsizetype i) { judge(m_units[size_t(i)]); }; });
    }

    OutputCheck::Report report()
    {
        reportBlank();
        reportUncomputed();
        for (const Subject &s : m_subjects) {
            if (s.source)
                reportFilled(s);
            else
                reportOwn(s);
        }
        return std::move(m_report);
    }

private:
    int outputRows() const { return m_report.batch ? m_report.totalCards : 0; }

    // The units of a filled object's rows: one per distinct value, rows often repeat one.
    void gatherRows(Subject &s, bool back, int index)
    {
        const GraphicList &side = back ? m_plan.design().back : m_plan.design().front;
        if (s.source->missingColumn())
            return;
        QHash<QString, int> seen;
        s.unitOfRow.assign(size_t(outputRows()), -1);
        for (int r = 0; r < outputRows(); ++r) {
            if (m_plan.sourceRow(r) >= s.source->rows)
                continue;
            const QString value = m_plan.valueOf(back, index, r).value_or(QString());
            if (value.isEmpty())
                continue;
            auto it = seen.constFind(value);
            if (it == seen.constEnd()) {
                it = seen.insert(value, int(m_units.size()));
                m_units.push_back({s.object, std::nullopt, value, {}, {}, &side, index});
            }
            s.unitOfRow[size_t(r)] = *it;
        }
    }

    void judge(Unit &unit) const
    {
        const QRectF card = m_plan.cardArea();
        const OutputProblems::Shown shown{*unit.object, unit.value ? &*unit.value : nullptr,     card,
                                          m_maker,      unit.missing ? &*unit.missing : nullptr, unit.side,
                                          unit.index};
        const std::vector<OutputProblems::Kind> &kinds = OutputProblems::kinds();
        for (size_t k = 0; k < kinds.size(); ++k) {
            QString what;
            try {
                what = kinds[k](shown);
            } catch (const std::exception &e) {
                what = QStringLiteral("could not be checked: %1").arg(QString::fromUtf8(e.what()));
            }
            if (!what.isEmpty())
                unit.findings.append({int(k), what});
        }
        try {
            unit.undrawable = OutputProblems::undrawable(shown);
        } catch (const std::exception &e) {
            unit.findings.append(
                {int(kinds.size()),
                 QStringLiteral("could not be checked: %1").arg(QString::fromUtf8(e.what()))});
        }
    }

    void add(const QString &what, const RowTally &tally)
    {
        if (tally.cards > 0)
            m_report.problems.append({what, tally.cards, tally.first});
    }

    // Every card the run outputs.
    RowTally everyCard() const
    {
        RowTally all;
        for (int r = 0; r < std::max(1, outputRows()) && all.first.size() < OutputCheck::RowsNamed; ++r)
            all.add(m_plan.rowNumber(r));
        all.cards = m_report.totalCards;
        if (!m_report.batch)
            all.first.clear();
        return all;
    }

    void reportOwn(const Subject &s)
    {
        const QString name = OutputCheck::objectName(*s.object, s.back);
        const Unit &unit = m_units[size_t(s.ownUnit)];
        for (const auto &[kind, what] : unit.findings)
            add(name + QLatin1Char(' ') + what, everyCard());
        if (!unit.undrawable.isEmpty())
            add(name + QLatin1Char(' ') + OutputProblems::undrawableProblem(*s.object, unit.undrawable),
                everyCard());
    }

    // Cards on which every object the run fills is empty: a label sheet shows them as gaps.
    void reportBlank()
    {
        RowTally blank;
        for (int r = 0; r < outputRows(); ++r)
            if (m_plan.blank(r))
                blank.add(m_plan.rowNumber(r));
        m_report.blankCards = blank.cards;
        add(QStringLiteral("Blank cards: every value they are filled with is empty."), blank);
    }

    // Each workbook column a filled object reads, over the cards whose cell there holds a formula
    // the workbook never computed: the card shows no true value, whichever object reads it.
    void reportUncomputed()
    {
        const UncomputedFormulas &marks = m_plan.design().binding.uncomputedFormulas();
        if (marks.isEmpty())
            return;
        QList<int> seen;
        for (const Subject &s : m_subjects) {
            const RunPlan::Binding *b = s.source;
            if (!b || b->source != RunPlan::Binding::Source::Column || b->missingColumn() ||
                seen.contains(b->column))
                continue;
            seen.append(b->column);
            RowTally rows;
            for (int r = 0; r < outputRows(); ++r) {
                const int row = m_plan.sourceRow(r);
                if (row < b->rows && marks.contains(row, b->column))
                    rows.add(m_plan.rowNumber(r));
            }
            add(QStringLiteral("The workbook's %1 holds formulas that were never computed: open and save the "
                               "workbook in a spreadsheet program first.")
                    .arg(b->named),
                rows);
        }
    }

    // What a filled object shows on the card of row r (from 0), "" for nothing.
    const QString &shownOn(const Subject &s, int r) const
    {
        static const QString none;
        const int unit = r < int(s.unitOfRow.size()) ? s.unitOfRow[size_t(r)] : -1;
        return unit < 0 ? none : *m_units[size_t(unit)].value;
    }

    void reportFilled(const Subject &s)
    {
        const RunPlan::Binding &b = *s.source;
        const QString blank;
        if (b.missingColumn()) {
            // Named without its source: the sentence names the column.
            add(QStringLiteral("%1 is blank: the workbook has no %2.")
                    .arg(OutputCheck::objectName(*s.object, s.back, nullptr, &blank), b.named),
                everyCard());
            return;
        }
        RowTally past;
        for (int r = 0; r < outputRows(); ++r)
            if (m_plan.sourceRow(r) >= b.rows)
                past.add(m_plan.rowNumber(r));
        const QString unnamed = OutputCheck::objectName(*s.object, s.back, &b, &blank);
        add(b.rows == 0 ? QStringLiteral("%1 is blank: its source gives no rows.").arg(unnamed)
                        : QStringLiteral("%1 is blank past %2 %3, where its source ends.")
                              .arg(unnamed, m_report.rowWord)
                              .arg(m_plan.sourceRowNumber(b.rows - 1)),
            past);
        // Each problem quotes the text of the first row it names.
        struct Found {
            int kind;
            QString what;
            int firstRow;
            RowTally rows;
        };
        QList<Found> found;
        OutputProblems::Undrawable undrawable;
        Found undrawableRows{0, {}, -1, {}};
        for (size_t r = 0; r < s.unitOfRow.size(); ++r) {
            if (s.unitOfRow[r] < 0)
                continue;
            const Unit &unit = m_units[size_t(s.unitOfRow[r])];
            if (!unit.undrawable.isEmpty()) {
                undrawable.add(unit.undrawable);
                if (undrawableRows.firstRow < 0)
                    undrawableRows.firstRow = int(r);
                undrawableRows.rows.add(m_plan.rowNumber(int(r)));
            }
            for (const auto &[kind, what] : unit.findings) {
                auto it =
                    std::find_if(found.begin(), found.end(), [&](const Found &f) { return f.what == what; });
                if (it == found.end())
                    it = found.insert(found.end(), {kind, what, int(r), {}});
                it->rows.add(m_plan.rowNumber(int(r)));
            }
        }
        std::stable_sort(found.begin(), found.end(),
                         [](const Found &a, const Found &b) { return a.kind < b.kind; });
        const auto name = [&](int r) {
            return OutputCheck::objectName(*s.object, s.back, &b, &shownOn(s, r));
        };
        for (const Found &f : found)
            add(name(f.firstRow) + QLatin1Char(' ') + f.what, f.rows);
        // One problem whichever rows bring which characters: the font is the object's.
        if (!undrawable.isEmpty())
            add(name(undrawableRows.firstRow) + QLatin1Char(' ') +
                    OutputProblems::undrawableProblem(*s.object, undrawable),
                undrawableRows.rows);
    }

    const RunPlan &m_plan;
    const BatchFiller::BarcodeMaker *m_maker; // null: barcodes measured
    OutputCheck::Report m_report;
    std::vector<Subject> m_subjects;
    std::vector<Unit> m_units;
};
} // namespace

QString OutputCheck::objectName(const SKTGraphic &graphic, bool back, const RunPlan::Binding *source,
                                const QString *shown)
{
    QString kind = QStringLiteral("picture");
    if (graphic.kind() == SKTGraphic::Kind::Barcode) {
        kind = OutputProblems::barcodeName(graphic, shown);
    } else if (graphic.kind() == SKTGraphic::Kind::Text) {
        const QString words = Trim_Str(shown ? *shown : graphic.textContentsForDrawing().text).simplified();
        kind = words.isEmpty() ? QStringLiteral("text")
                               : QStringLiteral("text \"%1\"")
                                     .arg(words.size() > 24 ? words.left(23) + QChar(0x2026) : words);
    }
    QString name =
        QStringLiteral("The %1 on the %2").arg(kind, back ? QStringLiteral("back") : QStringLiteral("front"));
    return source && !source->named.isEmpty() ? name + QStringLiteral(" (%1)").arg(source->named) : name;
}

OutputCheck::Report OutputCheck::check(const RunPlan &plan, int threads)
{
    return checkWith(plan, nullptr, threads);
}

OutputCheck::Report OutputCheck::check(const RunPlan &plan, const BatchFiller::BarcodeMaker &maker,
                                       int threads)
{
    return checkWith(plan, &maker, threads);
}

OutputCheck::Report OutputCheck::checkWith(const RunPlan &plan, const BatchFiller::BarcodeMaker *maker,
                                           int threads)
{
    Checker checker(plan, maker);
    if (plan.outputsFront())
        checker.gatherSide(false);
    if (plan.outputsBack())
        checker.gatherSide(true);
    checker.judge(threads);
    return checker.report();
}

QString OutputCheck::Report::text(int most) const
{
    QStringList parts;
    for (const Problem &p : problems) {
        if (most >= 0 && parts.size() == most) {
            parts.append(QStringLiteral("… and %1 more.").arg(problems.size() - most));
            break;
        }
        // A card made without data rows has no rows to name.
        if (!batch) {
            parts.append(p.what);
            continue;
        }
        QStringList rows;
        for (int r : p.firstRows)
            rows.append(QString::number(r));
        if (p.cards > p.firstRows.size())
            rows.append(QStringLiteral("…"));
        parts.append(QStringLiteral("%1\n%2 of %3 cards (%4%5 %6)")
                         .arg(p.what)
                         .arg(p.cards)
                         .arg(totalCards)
                         .arg(rowWord, rows.size() == 1 ? QString() : QStringLiteral("s"),
                              rows.join(QStringLiteral(", "))));
    }
    return parts.join(QStringLiteral("\n\n"));
}
