#include "barcode/NKDUPCABarcode.h"

bool NKDUPCABarcode::initWithContent(const QString &content, bool printsCaption)
{
    if (!NKDBarcode::initWithContent(content, printsCaption))
        return false;
    if (m_content.size() < 12) {
        generateChecksum();
    } else {
        m_checkDigit = m_content.at(11).toLatin1();
        m_content = m_content.left(11);
    }
    calculateWidth();
    return true;
}

void NKDUPCABarcode::generateChecksum()
{
    const int check = expectedCheckDigit();
    if (check >= 0)
        m_checkDigit = check;
}

int NKDUPCABarcode::expectedCheckDigit() const
{
    const QByteArray b = bytes();
    if (b.size() != 11 || !allDigits(b))
        return -1;
    return mod10CheckDigit(b);
}

bool NKDUPCABarcode::isContentValid() const
{
    const QByteArray b = bytes();
    if (!isAscii() || b.size() != 11 || !allDigits(b))
        return false;
    return m_checkDigit == expectedCheckDigit();
}

QByteArray NKDUPCABarcode::barcode() const
{
    const QByteArray b = bytes();
    if (b.size() < 11)
        return {};
    QByteArray out;
    for (int i = 0; i < 6; ++i)
        out += _encodeChar(b[i]);
    out += "01010";
    for (int i = 6; i < 11; ++i)
        out += swapHandedness(_encodeChar(b[i]));
    out += swapHandedness(_encodeChar(char(m_checkDigit)));
    return out;
}

QString NKDUPCABarcode::caption() const
{
    if (m_content.size() < 11)
        return m_content;
    return QStringLiteral("%1\t%2").arg(m_content.mid(1, 5), m_content.mid(6, 5));
}
