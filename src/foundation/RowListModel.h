// A table of rows, each a map from column identifier to text, as the list views of the program
// keep them (size list, series lists, column choices). Optional check column "State".
#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QMap>
#include <QStringList>

class RowListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    using Row = QMap<QString, QString>;

    // Column identifiers in display order, with titles (identifiers when none are given).
    explicit RowListModel(const QStringList &columns = {QStringLiteral("Extension")},
                          const QStringList &titles = {}, QObject *parent = nullptr);

    static inline const QString StateColumn = QStringLiteral("State");
    static inline const QString AssertionText =
        QStringLiteral("pRowIndex >= 0 && pRowIndex < [ListData count]");

    const QList<Row> &ListData() const { return m_rows; }
    void setListData(const QList<Row> &rows);
    void clear() { setListData({}); }
    int count() const { return int(m_rows.size()); }
    QStringList columns() const { return m_columns; }

    // Trims the text; a non-empty one is appended as a row under the first column.
    void Create_List(const QString &text);
    // The first column's text of a row; "" (and a log line) for a row outside the list.
    QString Get_Item_Text(int row) const;
    // Stores a cell. A row outside the list stores nothing and logs the failed condition.
    bool setObjectValue(const QString &value, const QString &column, int row);
    QString objectValue(const QString &column, int row) const;
    // Whether a row's "State" is ticked ("1").
    bool isChecked(int row) const;

    // Cells may be edited by the user; the check column is always user-checkable.
    void setEditable(bool editable) { m_editable = editable; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    QStringList m_columns;
    QStringList m_titles;
    QList<Row> m_rows;
    bool m_editable = false;
};
