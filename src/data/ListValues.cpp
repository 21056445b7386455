#include "data/ListValues.h"

ListValues::ListValues(const QStringList &values)
{
    for (const QString &v : values)
        append(v);
}

QStringView ListValues::view(qsizetype i) const
{
    const qsizetype start = i == 0 ? 0 : m_ends.at(i - 1);
    return QStringView(m_text).mid(start, m_ends.at(i) - start);
}

void ListValues::append(QStringView value)
{
    m_text += value;
    m_ends.push_back(m_text.size());
}

QStringList ListValues::toList() const
{
    QStringList list;
    list.reserve(size());
    for (qsizetype i = 0; i < size(); ++i)
        list << at(i);
    return list;
}
