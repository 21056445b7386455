#include "canvas/ui/ZoomFactor.h"

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

ZoomFactor::ZoomFactor(QObject *parent) : QObject(parent) {}

void ZoomFactor::setFactor(double factor)
{
    if (!std::isfinite(factor) || factor <= 0 || factor == m_factor)
        return;
    m_factor = factor;
    emit changed(factor);
}
