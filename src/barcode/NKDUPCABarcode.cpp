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

QByteArray NKDUPCABarcode::barcode() const
{
    const QByteArray b = bytes();
    if (b.size() < 11)
        return {};
    return halves(b.left(6), b.mid(6, 5));
}

QString NKDUPCABarcode::caption() const
{
    if (m_content.size() < 11)
        return m_content;
    return QStringLiteral("%1\t%2").arg(m_content.mid(1, 5), m_content.mid(6, 5));
}
