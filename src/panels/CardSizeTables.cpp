#include "panels/CardSizeTables.h"

#include "platform/Units.h"

#include <array>
#include <cmath>
#include <utility>

namespace
{
using Inches = std::pair<float, float>;
constexpr std::array<Inches, 7> PvcSizes{{{3.37f, 2.13f},
                                          {3.31f, 2.06f},
                                          {3.62f, 2.38f},
                                          {3.88f, 2.62f},
                                          {3.5f, 1.75f},
                                          {3.25f, 2.34f},
                                          {2.88f, 2.12f}}};
constexpr std::array<Inches, 8> PaperSizes{{{2.36f, 1.58f},
                                            {2.95f, 1.58f},
                                            {2.95f, 1.58f},
                                            {3.54f, 2.13f},
                                            {3.54f, 2.36f},
                                            {2.36f, 3.54f},
                                            {3.94f, 4.09f},
                                            {5.91f, 4.96f}}};

template <std::size_t N> Inches lookup(const std::array<Inches, N> &table, int index)
{
    if (index < 0 || index >= int(N))
        return {30.0f, 30.0f};
    return table[std::size_t(index)];
}
} // namespace

QStringList CardSizeTables::pvc_card_arry()
{
    return {QStringLiteral("CR80-Credit Card Size"),
            QStringLiteral("CR79"),
            QStringLiteral("CR90-Over Sized"),
            QStringLiteral("CR100-Military Size"),
            QStringLiteral("CR50"),
            QStringLiteral("CR60"),
            QStringLiteral("CR70")};
}

QStringList CardSizeTables::paper_card_arry()
{
    QStringList names;
    for (int n = 1452; n <= 1459; ++n)
        names << QStringLiteral("Durable %1 - Name Badge").arg(n);
    return names;
}

QStringList CardSizeTables::categories()
{
    return {PvcCategory, PaperCategory, CustomCategory};
}

QStringList CardSizeTables::namesFor(const QString &category)
{
    if (category == CustomCategory)
        return {};
    return category == PvcCategory ? pvc_card_arry() : paper_card_arry();
}

QSizeF CardSizeTables::Get_My_card_Size(const QString &category, const QString &preset, int listIndex)
{
    Inches v = category == PvcCategory ? lookup(PvcSizes, listIndex) : lookup(PaperSizes, listIndex);
    if (listIndex != -1) {
        v.first = float(double(v.first) * Units::MillimetresPerInch);
        v.second = float(double(v.second) * Units::MillimetresPerInch);
    }
    if (preset == QLatin1String("V"))
        return QSizeF(v.second, v.first);
    return QSizeF(v.first, v.second);
}

QString CardSizeTables::presetOf(const QString &orientation)
{
    return orientation == QLatin1String("Horizontal") ? QStringLiteral("H") : QStringLiteral("V");
}

int CardSizeTables::rowOfSize(const QString &category, const QString &preset, const QSizeF &mm, int preferred)
{
    // The fields keep two decimals and the default card is the credit card size rounded up to
    // whole points, while the closest two different entries lie 1.5 mm apart.
    constexpr double ToleranceMM = 0.5;
    const qsizetype rows = namesFor(category).size();
    const auto fits = [&](int row) {
        if (row < 0 || row >= rows)
            return false;
        const QSizeF entry = Get_My_card_Size(category, preset, row);
        return std::abs(mm.width() - entry.width()) <= ToleranceMM &&
               std::abs(mm.height() - entry.height()) <= ToleranceMM;
    };
    if (fits(preferred))
        return preferred;
    for (int row = 0; row < rows; ++row)
        if (fits(row))
            return row;
    return -1;
}

CardSizeTables::SizeEntry CardSizeTables::entryOfSize(const QString &category, const QString &preset,
                                                      const QSizeF &mm, int preferred)
{
    const QString named = category == PvcCategory ? PvcCategory : PaperCategory;
    const QString other = named == PvcCategory ? PaperCategory : PvcCategory;
    const QString turned = preset == QLatin1String("V") ? QStringLiteral("H") : QStringLiteral("V");
    // A custom size named last time may since have become a listed one: both tables are looked at.
    const bool custom = category == CustomCategory;
    for (const QString &c : {named, other}) {
        for (const QString &p : {preset, turned}) {
            const bool asNamed = !custom && c == named && p == preset;
            const int row = rowOfSize(c, p, mm, asNamed ? preferred : -1);
            if (row >= 0)
                return {c, p == QLatin1String("V") ? QStringLiteral("V") : QStringLiteral("H"), row};
        }
    }
    return {CustomCategory, mm.height() > mm.width() ? QStringLiteral("V") : QStringLiteral("H"), -1};
}

float CardSizeTables::Points_to_MM_Convert(float points)
{
    return Units::pointsToMillimetres(points);
}

float CardSizeTables::MM_to_Points_Convert(float mm)
{
    return Units::millimetresToPoints(mm);
}
