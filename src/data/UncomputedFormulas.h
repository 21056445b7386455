// The cells of a table that hold a formula the workbook never computed: their text is no result, so
// the cards made from them would be blank or wrong. Kept as runs down each column, so a column of a
// million formulas is one entry.
#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <map>
#include <utility>
#include <vector>

class UncomputedFormulas
{
public:
    // Rows and columns count from 0; a run holds rows first..last of one column.
    struct Run {
        int column;
        qsizetype first;
        qsizetype last;
    };

    // Rows of one column come in rising order, as a sheet is read.
    void add(qsizetype row, int column);
    bool contains(qsizetype row, int column) const;
    // The cell holds something else now (a value typed over the formula's).
    void remove(qsizetype row, int column);
    bool isEmpty() const { return m_columns.empty(); }
    qsizetype cellCount() const;
    // Column by column, rows rising.
    std::vector<Run> runs() const;

    // For the user, cells named as a sheet names them (column letter, row from 1): "Total: C2-C41
    // hold formulas that were never computed; open and save the workbook in a spreadsheet program
    // first." Only the given sheet columns count (every column when none are given); "" when none
    // of them holds such a cell. heading gives a column's heading, "" for none.
    QString note(const std::function<QString(int column)> &heading, const QList<int> &columns = {}) const;

private:
    std::map<int, std::vector<std::pair<qsizetype, qsizetype>>> m_columns; // column -> runs
};
