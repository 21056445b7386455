// The values of an imported list, kept as one text and where each value ends in it, so that a list
// of millions of short values costs its characters and eight bytes a value, not a string each.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

class ListValues
{
public:
    ListValues() = default;
    ListValues(const QStringList &values); // NOLINT: a plain list converts freely

    qsizetype size() const { return m_ends.size(); }
    bool isEmpty() const { return m_ends.isEmpty(); }
    QStringView view(qsizetype i) const;
    QString at(qsizetype i) const { return view(i).toString(); }
    void append(QStringView value);
    QStringList toList() const;

    bool operator==(const ListValues &other) const = default;

private:
    QString m_text;
    QList<qsizetype> m_ends;
};
