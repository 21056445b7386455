#include "data/UncomputedFormulas.h"

#include "data/XlsxText.h"

#include <algorithm>

namespace
{
// A note names this many runs of a column and this many columns; the rest are counted, so a sheet
// of scattered formulas still gives a message that fits the screen.
constexpr qsizetype kRunsNamed = 4;
constexpr int kColumnsNamed = 5;

// The run of a column's runs (rising, apart) that holds the row; end() when none does.
template <typename Runs> auto runHolding(Runs &runs, qsizetype row)
{
    // The last run starting at or before the row.
    auto after = std::upper_bound(runs.begin(), runs.end(), row,
                                  [](qsizetype r, const auto &run) { return r < run.first; });
    return after != runs.begin() && row <= std::prev(after)->second ? std::prev(after) : runs.end();
}
} // namespace

void UncomputedFormulas::add(qsizetype row, int column)
{
    auto &runs = m_columns[column];
    if (!runs.empty() && row <= runs.back().second)
        return; // already held
    if (!runs.empty() && row == runs.back().second + 1)
        runs.back().second = row;
    else
        runs.emplace_back(row, row);
}

bool UncomputedFormulas::contains(qsizetype row, int column) const
{
    const auto it = m_columns.find(column);
    if (it == m_columns.end())
        return false;
    return runHolding(it->second, row) != it->second.end();
}

void UncomputedFormulas::remove(qsizetype row, int column)
{
    const auto it = m_columns.find(column);
    if (it == m_columns.end())
        return;
    auto &runs = it->second;
    const auto run = runHolding(runs, row);
    if (run == runs.end())
        return;
    if (run->first == run->second) {
        runs.erase(run);
    } else if (row == run->first) {
        ++run->first;
    } else if (row == run->second) {
        --run->second;
    } else {
        const std::pair<qsizetype, qsizetype> rest(row + 1, run->second);
        run->second = row - 1;
        runs.insert(std::next(run), rest);
    }
    if (runs.empty())
        m_columns.erase(it);
}

qsizetype UncomputedFormulas::cellCount() const
{
    qsizetype n = 0;
    for (const auto &[column, runs] : m_columns) {
        for (const auto &[first, last] : runs)
            n += last - first + 1;
    }
    return n;
}

std::vector<UncomputedFormulas::Run> UncomputedFormulas::runs() const
{
    std::vector<Run> out;
    for (const auto &[column, runs] : m_columns) {
        for (const auto &[first, last] : runs)
            out.push_back({column, first, last});
    }
    return out;
}

QString UncomputedFormulas::note(const std::function<QString(int column)> &heading,
                                 const QList<int> &columns) const
{
    QStringList parts;
    int columnsLeft = 0;
    qsizetype cells = 0;
    for (const auto &[column, runs] : m_columns) {
        if (!columns.isEmpty() && !columns.contains(column))
            continue;
        for (const auto &[first, last] : runs)
            cells += last - first + 1;
        if (parts.size() == kColumnsNamed) {
            ++columnsLeft;
            continue;
        }
        const QString letters = XlsxText::ColumnIndexToName(column + 1);
        QStringList ranges;
        for (qsizetype k = 0; k < qsizetype(runs.size()) && k < kRunsNamed; ++k) {
            const auto &[first, last] = runs[size_t(k)];
            QString range = letters + QString::number(first + 1);
            if (last > first)
                range += QLatin1Char('-') + letters + QString::number(last + 1);
            ranges.append(range);
        }
        if (qsizetype(runs.size()) > kRunsNamed)
            ranges.append(QStringLiteral("and %1 more").arg(qsizetype(runs.size()) - kRunsNamed));
        const QString title = heading ? heading(column) : QString();
        const QString cellsText = ranges.join(QStringLiteral(", "));
        parts.append(title.isEmpty() ? cellsText : title + QStringLiteral(": ") + cellsText);
    }
    if (parts.isEmpty())
        return {};
    if (columnsLeft > 0)
        parts.append(QStringLiteral("%1 more column%2").arg(columnsLeft).arg(columnsLeft == 1 ? "" : "s"));
    const QString what = cells == 1 ? QStringLiteral(" holds a formula that was never computed")
                                    : QStringLiteral(" hold formulas that were never computed");
    return parts.join(QStringLiteral("; ")) + what +
           QStringLiteral("; open and save the workbook in a spreadsheet program first.");
}
