#include "platform/PdfFontNames.h"

#include "platform/PdfPatch.h"

#include <QList>

namespace
{

// Where a PDF name ends: whitespace or a delimiter.
bool endsName(char c)
{
    return QByteArrayView(" \t\r\n\f/[]<>()%{}").contains(c) || c == '\0';
}

QByteArray nameAt(const QByteArray &pdf, qsizetype from)
{
    qsizetype end = from;
    while (end < pdf.size() && !endsName(pdf.at(end)))
        ++end;
    return pdf.mid(from, end - from);
}

// "ABCDEF+Name": six capital letters and a plus sign.
bool isTagged(const QByteArray &name)
{
    if (name.size() < 8 || name.at(6) != '+')
        return false;
    for (int i = 0; i < 6; ++i)
        if (name.at(i) < 'A' || name.at(i) > 'Z')
            return false;
    return true;
}

} // namespace

bool PdfFontNames::tagSubsets(QByteArray &pdf)
{
    static const QByteArray fontName = "/FontName /";
    static const QByteArray baseFont = "/BaseFont /";
    QList<QByteArray> tagged;
    for (qsizetype at = pdf.indexOf(fontName); at >= 0; at = pdf.indexOf(fontName, at + 1)) {
        const QByteArray name = nameAt(pdf, at + fontName.size());
        if (isTagged(name) && !tagged.contains(name))
            tagged << name;
    }
    std::vector<PdfPatch::Patch> patches;
    for (qsizetype at = pdf.indexOf(baseFont); at >= 0; at = pdf.indexOf(baseFont, at + 1)) {
        const qsizetype nameStart = at + baseFont.size();
        const QByteArray name = nameAt(pdf, nameStart);
        for (const QByteArray &full : tagged)
            if (full.mid(7) == name) {
                patches.push_back({nameStart, name.size(), full});
                break;
            }
    }
    return PdfPatch::apply(pdf, std::move(patches));
}
