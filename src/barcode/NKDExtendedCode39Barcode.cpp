#include "barcode/NKDExtendedCode39Barcode.h"

bool NKDExtendedCode39Barcode::initWithContent(const QString &content, bool printsCaption)
{
    if (!NKDCode39Barcode::initWithContent(content, printsCaption))
        return false;
    m_content = content;
    calculateWidth();
    return true;
}

QByteArray NKDExtendedCode39Barcode::fullAsciiPair(char c)
{
    const unsigned char u = static_cast<unsigned char>(c);
    if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || c == ' ' || c == '-' || c == '.')
        return QByteArray(1, c);
    if (c == '\t')
        return "$I";
    if (c == '\n')
        return "$J";
    if (u < 32 || u >= 127)
        return {};
    if (c >= 'a' && c <= 'z')
        return QByteArray("+") + char(c - 'a' + 'A');
    if (c >= '!' && c <= ',')
        return QByteArray("/") + char(c - '!' + 'A');
    switch (c) {
    case '/':
        return "/O";
    case ':':
        return "/Z";
    case '@':
        return "%V";
    case '`':
        return "%W";
    default:
        break;
    }
    if (c >= ';' && c <= '?')
        return QByteArray("%") + char(c - ';' + 'F');
    if (c >= '[' && c <= '_')
        return QByteArray("%") + char(c - '[' + 'K');
    if (c >= '{' && c <= '~')
        return QByteArray("%") + char(c - '{' + 'P');
    return {};
}

QByteArray NKDExtendedCode39Barcode::_encodeChar(char c) const
{
    QByteArray out;
    for (const char part : fullAsciiPair(c))
        out += patternOf(part);
    return out;
}
