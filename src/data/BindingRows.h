// The binding table's rows held compactly: one column per key any row holds, each column its cells'
// texts in one UTF-16 buffer and an offset and length per row. A cell costs 8 bytes and its text (a
// map per row would take some 200 bytes a cell). Copies share everything; a change copies only the
// column it touches, so the copies undo steps and run plans keep cost nothing.
#pragma once

#include <QHash>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringView>

#include <cstdint>

class BindingRows
{
public:
    // Rows are maps from key to text, as the design file stores them.
    using Row = QMap<QString, QString>;

    qsizetype size() const { return m_size; }
    bool isEmpty() const { return m_size == 0; }
    // Keys held by any row, and their column index; -1 for a key no row holds.
    qsizetype keyCount() const { return m_columns.size(); }
    const QString &key(qsizetype column) const { return m_columns.at(column).key; }
    int columnOf(const QString &key) const { return m_index.value(key, -1); }
    // Column indices in the order of their keys as a Row's map keeps them.
    const QList<int> &keyOrder() const { return m_order; }

    // Whether row holds the key of column, and its text (null when it does not).
    bool has(qsizetype row, int column) const;
    QStringView view(qsizetype row, int column) const;
    QString value(qsizetype row, int column) const;
    qsizetype cellCount(qsizetype row) const; // keys row holds
    Row row(qsizetype row) const;

    // The column of key, added (held by no row) when missing.
    int addKey(const QString &key);
    // Appends a row holding no key; rows are added one by one, so space grows in steps.
    void appendRow();
    void appendRow(const Row &row);
    void set(qsizetype row, int column, QStringView text);
    void reserve(qsizetype rows);
    // Gives back the room kept for rows and texts to come.
    void squeeze();

    // The same rows, cell by cell (an empty text equals a null one, as maps compare them).
    bool operator==(const BindingRows &other) const;
    // The same storage: nothing changed in either since one was copied from the other.
    bool isSharedWith(const BindingRows &other) const
    {
        return m_size == other.m_size && m_columns.isSharedWith(other.m_columns);
    }

private:
    struct Cell {
        uint32_t offset = 0;
        uint32_t length = Absent;
    };
    static constexpr uint32_t Absent = 0xFFFFFFFFu;
    struct Column {
        QString key;
        QString text;         // the texts of the cells, one after another
        QList<Cell> cells;    // one a row
        qsizetype unused = 0; // units of text no cell points at any more
    };
    static void compact(Column &column);

    QList<Column> m_columns;
    QHash<QString, int> m_index;
    QList<int> m_order;
    qsizetype m_size = 0;
};
