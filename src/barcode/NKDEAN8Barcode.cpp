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

QByteArray NKDEAN8Barcode::barcode() const
{
    const QByteArray b = bytes();
    if (b.size() < 7)
        return {};
    return halves(b.left(4), b.mid(4, 3));
}

QString NKDEAN8Barcode::caption() const
{
    if (m_content.size() < 7)
        return m_content;
    return QStringLiteral(" %1\t%2%3").arg(m_content.left(4), m_content.mid(4, 3), checkDigitText());
}
