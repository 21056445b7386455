#include "barcode/NKDEAN8Barcode.h"

bool NKDEAN8Barcode::initWithContent(const QString &content, bool printsCaption)
{
    if (!NKDEAN13Barcode::initWithContent(content, printsCaption))
        return false;
    if (content.size() == 7) {
        m_content = content;
        generateChecksum();
    } else if (content.size() == 8) {
        m_checkDigit = content.at(7).toLatin1();
        m_content = content.left(7);
    }
    calculateWidth();
    return true;
}

int NKDEAN8Barcode::expectedCheckDigit() const
{
    const QByteArray b = bytes();
    if (b.size() != 7 || !allDigits(b))
        return -1;
    return mod10CheckDigit(b);
}

bool NKDEAN8Barcode::isContentValid() const
{
    const QByteArray b = bytes();
    if (!isAscii() || b.size() != 7 || !allDigits(b))
        return false;
    return m_checkDigit == expectedCheckDigit();
}

QByteArray NKDEAN8Barcode::barcode() const
{
    const QByteArray b = bytes();
    if (b.size() < 7)
        return {};
    QByteArray out;
    for (int i = 0; i < 4; ++i)
        out += _encodeChar(b[i]);
    out += "01010";
    for (int i = 4; i < 7; ++i)
        out += swapHandedness(_encodeChar(b[i]));
    out += swapHandedness(_encodeChar(char(m_checkDigit)));
    return out;
}

QString NKDEAN8Barcode::caption() const
{
    if (m_content.size() < 7)
        return m_content;
    return QStringLiteral(" %1\t%2%3")
        .arg(m_content.left(4), m_content.mid(4, 3),
             m_checkDigit >= 0 ? QString(QChar(m_checkDigit)) : QString());
}
