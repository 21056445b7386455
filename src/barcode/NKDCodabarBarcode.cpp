#include "barcode/NKDCodabarBarcode.h"

#include <cstring>

QByteArray NKDCodabarBarcode::_encodeChar(char c) const
{
    // Seven elements (bar, space, ... bar), '1' for a wide element.
    static const char kChars[] = "0123456789-$:/.+ABCD";
    static const char *const kWide[] = {"0000011", "0000110", "0001001", "1100000", "0010010",
                                        "1000010", "0100001", "0100100", "0110000", "1001000",
                                        "0001100", "0011000", "1000101", "1010001", "1010100",
                                        "0010101", "0011010", "0101001", "0001011", "0001110"};
    const char *found = c ? std::strchr(kChars, c) : nullptr;
    if (!found)
        return {};
    return wideNarrowModules(kWide[found - kChars]);
}

bool NKDCodabarBarcode::isContentValid() const
{
    if (!NKDBarcode::isContentValid())
        return false;
    const QByteArray b = bytes();
    auto isStartStop = [](char c) { return c >= 'A' && c <= 'D'; };
    if (b.size() < 2 || !isStartStop(b.front()) || !isStartStop(b.back()))
        return false;
    for (qsizetype i = 1; i + 1 < b.size(); ++i) {
        if (isStartStop(b[i]))
            return false;
    }
    return true;
}
