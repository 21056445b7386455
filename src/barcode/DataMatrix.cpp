#include "DataMatrix.h"

void DataMatrix::initWith(int dimension)
{
    m_dimension = dimension > 0 ? dimension : 0;
    m_data.assign(static_cast<size_t>(m_dimension) * static_cast<size_t>(m_dimension), 0);
}

void DataMatrix::set(int value, int x, int y)
{
    if (x < 0 || y < 0 || x >= m_dimension || y >= m_dimension)
        return;
    m_data[static_cast<size_t>(y) * m_dimension + x] = static_cast<signed char>(value);
}

int DataMatrix::valueAt(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_dimension || y >= m_dimension)
        return 0;
    return m_data[static_cast<size_t>(y) * m_dimension + x];
}

QString DataMatrix::description() const
{
    QString text;
    text.reserve(m_dimension * (m_dimension + 1));
    for (int y = 0; y < m_dimension; ++y) {
        for (int x = 0; x < m_dimension; ++x)
            text += QString::number(valueAt(x, y));
        text += QLatin1Char('\n');
    }
    return text;
}
