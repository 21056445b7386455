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
    return halves(b.mid(1, 6), b.mid(7, 5), [&](int i) { return _parityForSystemDigit(b[0], i); });
}

QString NKDEAN13Barcode::caption() const
{
    if (m_content.size() < 12)
        return m_content;
    return QStringLiteral("  %1\t%2%3").arg(m_content.mid(1, 6), m_content.mid(7, 5), checkDigitText());
}
