#include "data/SeriesValueModel.h"

#include "data/FreedMemory.h"

#include <utility>

SeriesValueModel::SeriesValueModel(const QString &title, QObject *parent)
    : QAbstractTableModel(parent), m_title(title)
{
}

QString SeriesValueModel::value(int row) const
{
    return row >= 0 && row < count() ? m_values.at(row) : QString();
}

void SeriesValueModel::setValues(QStringList values)
{
    // Giving memory back takes a moment; it pays only after a long list.
    const bool wasLong = m_values.size() > 100000;
    beginResetModel();
    m_values = std::move(values);
    endResetModel();
    if (wasLong)
        FreedMemory::release();
}

void SeriesValueModel::append(QStringList values)
{
    if (values.isEmpty())
        return;
    if (m_values.isEmpty()) {
        setValues(std::move(values));
        return;
    }
    beginInsertRows(QModelIndex(), count(), count() + int(values.size()) - 1);
    m_values.append(std::move(values));
    endInsertRows();
}

void SeriesValueModel::clear()
{
    if (m_values.isEmpty())
        return;
    setValues({});
}

bool SeriesValueModel::setValue(int row, const QString &value)
{
    if (row < 0 || row >= count())
        return false;
    m_values[row] = value;
    emit dataChanged(index(row, 0), index(row, 0));
    return true;
}

void SeriesValueModel::removeRowsAt(const QList<int> &rows)
{
    QStringList kept;
    kept.reserve(m_values.size() - rows.size());
    qsizetype next = 0;
    for (int i = 0; i < count(); ++i) {
        if (next < rows.size() && rows.at(next) == i)
            ++next;
        else
            kept.append(std::move(m_values[i]));
    }
    setValues(std::move(kept));
}

int SeriesValueModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

int SeriesValueModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 1;
}

QVariant SeriesValueModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= count() || index.column() != 0)
        return QVariant();
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return m_values.at(index.row());
    return QVariant();
}

QVariant SeriesValueModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section != 0)
        return QVariant();
    return m_title;
}

Qt::ItemFlags SeriesValueModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}
