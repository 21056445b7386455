#include "barcode/NKDCode39Barcode.h"

#include <cstring>

QByteArray NKDCode39Barcode::patternOf(char c)
{
    // Nine elements (bar, space, ... bar), '1' for a wide element.
    static const char kChars[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%*";
    static const char *const kWide[] = {
        "000110100", "100100001", "001100001", "101100000", "000110001", "100110000", "001110000",
        "000100101", "100100100", "001100100", "100001001", "001001001", "101001000", "000011001",
        "100011000", "001011000", "000001101", "100001100", "001001100", "000011100", "100000011",
        "001000011", "101000010", "000010011", "100010010", "001010010", "000000111", "100000110",
        "001000110", "000010110", "110000001", "011000001", "111000000", "010010001", "110010000",
        "011010000", "010000101", "110000100", "011000100", "010101000", "010100010", "010001010",
        "000101010", "010010100"};
    const char *found = c ? std::strchr(kChars, c) : nullptr;
    if (!found)
        return {};
    return wideNarrowModules(kWide[found - kChars]);
}

bool NKDCode39Barcode::initWithContent(const QString &content, bool printsCaption)
{
    return NKDBarcode::initWithContent(content.toUpper(), printsCaption);
}

QByteArray NKDCode39Barcode::_encodeChar(char c) const
{
    return c == '*' ? QByteArray() : patternOf(c);
}

QByteArray NKDCode39Barcode::initiator() const
{
    return patternOf('*');
}
