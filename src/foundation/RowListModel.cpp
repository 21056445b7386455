#include "foundation/RowListModel.h"

#include "foundation/MessageBoxes.h"
#include "foundation/StringUtils.h"

RowListModel::RowListModel(const QStringList &columns, const QStringList &titles, QObject *parent)
    : QAbstractTableModel(parent), m_columns(columns), m_titles(titles)
{
}

void RowListModel::setListData(const QList<Row> &rows)
{
    beginResetModel();
    m_rows = rows;
    endResetModel();
}

void RowListModel::Create_List(const QString &text)
{
    const QString trimmed = Trim_Str(text);
    if (trimmed.isEmpty() || m_columns.isEmpty())
        return;
    beginInsertRows(QModelIndex(), count(), count());
    m_rows.append(Row{{m_columns.constFirst(), trimmed}});
    endInsertRows();
}

QString RowListModel::Get_Item_Text(int row) const
{
    if (row < 0 || row >= count() || m_columns.isEmpty()) {
        Show_NSLog_Message(QStringLiteral("Row %1 is outside the list of %2 rows.").arg(row).arg(count()));
        return QString();
    }
    return m_rows.at(row).value(m_columns.constFirst());
}

bool RowListModel::setObjectValue(const QString &value, const QString &column, int row)
{
    if (row < 0 || row >= count()) {
        Show_NSLog_Message(QStringLiteral("Invalid parameter not satisfying: %1").arg(AssertionText));
        return false;
    }
    m_rows[row].insert(column, value);
    const int c = int(m_columns.indexOf(column));
    if (c >= 0)
        emit dataChanged(index(row, c), index(row, c));
    return true;
}

QString RowListModel::objectValue(const QString &column, int row) const
{
    if (row < 0 || row >= count())
        return QString();
    return m_rows.at(row).value(column);
}

bool RowListModel::isChecked(int row) const
{
    return objectValue(StateColumn, row) == QLatin1String("1");
}

int RowListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

int RowListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant RowListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= count() || index.column() >= m_columns.size())
        return QVariant();
    const QString &column = m_columns.at(index.column());
    if (column == StateColumn) {
        if (role == Qt::CheckStateRole)
            return isChecked(index.row()) ? Qt::Checked : Qt::Unchecked;
        return QVariant();
    }
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return m_rows.at(index.row()).value(column);
    return QVariant();
}

bool RowListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || index.column() >= m_columns.size())
        return false;
    const QString &column = m_columns.at(index.column());
    if (column == StateColumn && role == Qt::CheckStateRole)
        return setObjectValue(value.toInt() == Qt::Checked ? QStringLiteral("1") : QStringLiteral("0"),
                              column, index.row());
    if (role != Qt::EditRole)
        return false;
    return setObjectValue(value.toString(), column, index.row());
}

QVariant RowListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= m_columns.size())
        return QVariant();
    return section < m_titles.size() ? m_titles.at(section) : m_columns.at(section);
}

Qt::ItemFlags RowListModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() < m_columns.size() && m_columns.at(index.column()) == StateColumn)
        f |= Qt::ItemIsUserCheckable;
    else if (m_editable)
        f |= Qt::ItemIsEditable;
    return f;
}
