#include "canvas/ui/ZoomFactor.h"

#include <algorithm>
#include <cmath>

const std::array<double, ZoomFactor::RowCount> &ZoomFactor::factors()
{
    static const std::array<double, RowCount> table = {double(0.1f), 0.25, 0.5, 0.75, 1.0, 1.25,
                                                       1.5,          2.0,  4.0, 8.0,  16.0};
    return table;
}

QStringList ZoomFactor::labels()
{
    return {QStringLiteral("10%"),  QStringLiteral("25%"),  QStringLiteral("50%"),  QStringLiteral("75%"),
            QStringLiteral("100%"), QStringLiteral("125%"), QStringLiteral("150%"), QStringLiteral("200%"),
            QStringLiteral("400%"), QStringLiteral("800%"), QStringLiteral("1600%")};
}

int ZoomFactor::rowForFactor(double f)
{
    for (int i = 0; i < RowCount; ++i) {
        if (factors()[i] == f)
            return i;
    }
    return -1;
}

double ZoomFactor::steppedFactor(double f, int steps)
{
    if (steps == 0)
        return f;
    const auto &table = factors();
    int row = rowForFactor(f);
    if (row < 0) {
        // Between rows: the first step lands on the neighbour in the direction asked.
        int above = 0;
        while (above < RowCount && table[std::size_t(above)] < f)
            ++above;
        row = steps > 0 ? above - 1 : above;
    }
    row = std::clamp(row + steps, 0, RowCount - 1);
    return table[std::size_t(row)];
}

double ZoomFactor::wholeCardFactor(const QSizeF &cardPoints, const QSizeF &area)
{
    const auto &table = factors();
    for (int row = rowForFactor(1.0); row > 0; --row) {
        const double f = table[std::size_t(row)];
        if (std::ceil(cardPoints.width() * f - 1e-9) <= area.width() &&
            std::ceil(cardPoints.height() * f - 1e-9) <= area.height())
            return f;
    }
    return table[0];
}

ZoomFactor::ZoomFactor(QObject *parent) : QObject(parent) {}

void ZoomFactor::setFactor(double factor)
{
    if (!std::isfinite(factor) || factor <= 0 || factor == m_factor)
        return;
    m_factor = factor;
    emit changed(factor);
}
