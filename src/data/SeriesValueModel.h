// The values of the series open in the manager, one column, kept as a plain list of strings so a
// series of millions of values costs a string each rather than a row of cells each.
#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

class SeriesValueModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit SeriesValueModel(const QString &title, QObject *parent = nullptr);

    int count() const { return int(m_values.size()); }
    const QStringList &values() const { return m_values; }
    // "" for a row outside the list.
    QString value(int row) const;

    void setValues(QStringList values);
    void append(QStringList values);
    // Empties the list and gives the memory of a long one back to the system.
    void clear();
    // False (nothing stored) for a row outside the list.
    bool setValue(int row, const QString &value);
    // Removes the rows given in ascending order.
    void removeRowsAt(const QList<int> &rows);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    QString m_title;
    QStringList m_values;
};
