#include "barcode/NKDUPCEBarcode.h"

bool NKDUPCEBarcode::initWithContent(const QString &content, bool printsCaption)
{
    if (!NKDUPCABarcode::initWithContent(content, printsCaption))
        return false;
    m_content = content;
    if (content.size() == 11) {
        // A UPC-A number without its check digit: keep its number system before the six digits.
        const QByteArray digits = content.toLatin1();
        if (allDigits(digits)) {
            m_checkDigit = mod10CheckDigit(digits);
            const QString six = UPCAToUPCE(content + QChar(m_checkDigit));
            if (!six.isEmpty())
                m_content = content.left(1) + six;
        }
    } else if (content.size() == 8) {
        m_checkDigit = content.at(7).toLatin1();
        m_content = content.left(7);
    } else if (content.size() == 7) {
        generateChecksum();
    }
    calculateWidth();
    return true;
}

QString NKDUPCEBarcode::UPCEToUPCA(const QString &upce)
{
    if (upce.size() != 7)
        return {};
    for (const QChar c : upce) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return {};
    }
    const QString ns = upce.left(1);
    const QString d = upce.mid(1);
    const QChar last = d.at(5);
    if (last <= QLatin1Char('2'))
        return ns + d.mid(0, 2) + last + QStringLiteral("0000") + d.mid(2, 3);
    if (last == QLatin1Char('3'))
        return ns + d.mid(0, 3) + QStringLiteral("00000") + d.mid(3, 2);
    if (last == QLatin1Char('4'))
        return ns + d.mid(0, 4) + QStringLiteral("00000") + d.mid(4, 1);
    return ns + d.mid(0, 5) + QStringLiteral("0000") + last;
}

int NKDUPCEBarcode::expectedCheckDigit() const
{
    const QString upca = UPCEToUPCA(m_content);
    if (upca.isEmpty())
        return -1;
    return mod10CheckDigit(upca.toLatin1());
}

bool NKDUPCEBarcode::isContentValid() const
{
    // Number system 0 or 1 only.
    const QByteArray b = bytes();
    if (b.isEmpty() || (b[0] != '0' && b[0] != '1'))
        return false;
    return NKDUPCABarcode::isContentValid();
}

bool NKDUPCEBarcode::parityForDigit(int position) const
{
    // Number system 0 parities per check digit, 'E' for the even set.
    static const char *const table[10] = {"EEEOOO", "EEOEOO", "EEOOEO", "EEOOOE", "EOEEOO",
                                          "EOOEEO", "EOOOEE", "EOEOEO", "EOEOOE", "EOOEOE"};
    if (position < 1 || position > 6 || m_checkDigit < '0' || m_checkDigit > '9')
        return false;
    const bool even = table[m_checkDigit - '0'][position - 1] == 'E';
    return m_content.startsWith(QLatin1Char('1')) ? !even : even;
}

QByteArray NKDUPCEBarcode::barcode() const
{
    const QByteArray b = bytes();
    if (b.size() < 7)
        return {};
    QByteArray out;
    for (int i = 1; i <= 6; ++i) {
        const QByteArray a = _encodeChar(b[i]);
        out += parityForDigit(i) ? swapParity(a) : a;
    }
    return out;
}

QString NKDUPCEBarcode::caption() const
{
    return m_content.mid(1, 6);
}

QString NKDUPCEBarcode::UPCAToUPCE(const QString &upca)
{
    if (upca.size() < 12)
        return {};
    const QString p345 = upca.mid(3, 3);
    if (p345 == QLatin1String("000") || p345 == QLatin1String("100") || p345 == QLatin1String("200"))
        return upca.mid(1, 2) + upca.mid(8, 3) + upca.mid(3, 1);
    if (upca.mid(4, 2) == QLatin1String("00"))
        return upca.mid(1, 3) + upca.mid(9, 2) + QLatin1Char('3');
    if (upca.at(5) == QLatin1Char('0'))
        return upca.mid(1, 4) + upca.mid(10, 1) + QLatin1Char('4');
    if (upca.at(10) >= QLatin1Char('5'))
        return upca.mid(1, 5) + upca.mid(10, 1);
    return {};
}
