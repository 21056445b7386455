#include "barcode/NKDEAN13Barcode.h"

bool NKDEAN13Barcode::initWithContent(const QString &content, bool printsCaption)
{
    if (!NKDBarcode::initWithContent(content, printsCaption))
        return false;
    m_content = content;
    if (m_content.size() < 13) {
        generateChecksum();
    } else {
        m_checkDigit = m_content.at(12).toLatin1();
        m_content = m_content.left(12);
    }
    calculateWidth();
    return true;
}

void NKDEAN13Barcode::generateChecksum()
{
    const int check = expectedCheckDigit();
    if (check >= 0)
        m_checkDigit = check;
}

int NKDEAN13Barcode::expectedCheckDigit() const
{
    const QByteArray b = bytes();
    if (b.size() != 12 || !allDigits(b))
        return -1;
    return mod10CheckDigit(b);
}

bool NKDEAN13Barcode::isContentValid() const
{
    const QByteArray b = bytes();
    if (!isAscii() || b.size() != 12 || !allDigits(b))
        return false;
    return m_checkDigit == expectedCheckDigit();
}

bool NKDEAN13Barcode::_parityForSystemDigit(char system, int index)
{
    // Left-half parities per number system digit, 'B' for the even set.
    static const char *const table[10] = {"AAAAAA", "AABABB", "AABBAB", "AABBBA", "ABAABB",
                                          "ABBAAB", "ABBBAA", "ABABAB", "ABABBA", "ABBABA"};
    if (system < '0' || system > '9' || index < 0 || index > 5)
        return false;
    return table[system - '0'][index] == 'B';
}

QByteArray NKDEAN13Barcode::barcode() const
{
    const QByteArray b = bytes();
    if (b.size() < 12)
        return {};
    QByteArray out;
    for (int i = 1; i <= 6; ++i) {
        const QByteArray a = _encodeChar(b[i]);
        out += _parityForSystemDigit(b[0], i - 1) ? swapParity(a) : a;
    }
    out += "01010";
    for (int i = 7; i <= 11; ++i)
        out += swapHandedness(_encodeChar(b[i]));
    out += swapHandedness(_encodeChar(char(m_checkDigit)));
    return out;
}

QString NKDEAN13Barcode::caption() const
{
    if (m_content.size() < 12)
        return m_content;
    return QStringLiteral("  %1\t%2%3")
        .arg(m_content.mid(1, 6), m_content.mid(7, 5),
             m_checkDigit >= 0 ? QString(QChar(m_checkDigit)) : QString());
}
