#include "barcode/NKDRoyalMailBarcode.h"

#include "platform/Units.h"

namespace
{

constexpr char kTable[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr double kPointsPerMm = Units::PointsPerMillimetre;

// The two bars (1..4) that reach out for a row or column value 1..6.
constexpr int kReaching[6][2] = {{3, 4}, {2, 4}, {2, 3}, {1, 4}, {1, 3}, {1, 2}};

} // namespace

bool NKDRoyalMailBarcode::initWithContent(const QString &content, bool)
{
    if (content.isNull())
        return false;
    m_content = content.toUpper();
    setBarWidth(1.4173229);
    m_printsCaption = false;
    generateChecksum();
    setHeight(14.3149605);
    calculateWidth();
    return true;
}

int NKDRoyalMailBarcode::tableIndex(char c)
{
    for (int i = 0; kTable[i]; ++i) {
        if (kTable[i] == c)
            return i;
    }
    return -1;
}

std::array<int, 4> NKDRoyalMailBarcode::statesOf(char c)
{
    std::array<int, 4> states{0, 0, 0, 0};
    const int k = tableIndex(c);
    if (k < 0)
        return states;
    const int row = k / 6;
    const int column = k % 6;
    for (const int bar : kReaching[row])
        states[bar - 1] |= 2;
    for (const int bar : kReaching[column])
        states[bar - 1] |= 1;
    return states;
}

void NKDRoyalMailBarcode::generateChecksum()
{
    int upper = 0;
    int lower = 0;
    for (const char c : bytes()) {
        const int k = tableIndex(c);
        if (k < 0)
            continue;
        upper += k / 6 + 1;
        lower += k % 6 + 1;
    }
    const int row = upper % 6 == 0 ? 6 : upper % 6;
    const int column = lower % 6 == 0 ? 6 : lower % 6;
    m_checkDigit = kTable[(row - 1) * 6 + (column - 1)];
}

int NKDRoyalMailBarcode::_barDescriptor(int index) const
{
    const int length = int(bytes().size());
    if (index == 0)
        return 2;
    if (index >= (length + 1) * 8 + 2)
        return 3;
    const int character = (index - 2) / 8;
    const int bar = ((index - 2) % 8) / 2;
    const char c = character < length ? bytes()[character] : char(m_checkDigit);
    return statesOf(c)[bar];
}

double NKDRoyalMailBarcode::barTop(int index) const
{
    return ((_barDescriptor(index) & 2) ? 5.05 : 3.15) * kPointsPerMm;
}

double NKDRoyalMailBarcode::barBottom(int index) const
{
    return ((_barDescriptor(index) & 1) ? 0.0 : 1.9) * kPointsPerMm;
}

double NKDRoyalMailBarcode::fixedBarHeight() const
{
    return 5.05 * kPointsPerMm;
}
