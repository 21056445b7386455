#include "platform/PdfPageBox.h"

#include "platform/PdfPatch.h"

#include <QRegularExpression>

#include <cmath>
#include <vector>

namespace
{

// Points as a PDF number: up to four decimals, no trailing zeros.
QByteArray number(double v)
{
    QByteArray text = QByteArray::number(v, 'f', 4);
    while (text.contains('.') && (text.endsWith('0') || text.endsWith('.')))
        text.chop(1);
    return text;
}

} // namespace

QSizeF PdfPageBox::wholePointPage(const QSizeF &exact)
{
    // A size that is whole up to rounding noise stays as it is.
    auto up = [](double v) { return std::ceil(v - 1e-6); };
    return {up(exact.width()), up(exact.height())};
}

bool PdfPageBox::setExactSize(QByteArray &pdf, const QSizeF &exact)
{
    const QSizeF whole = wholePointPage(exact);
    if (whole == exact)
        return true;
    const QByteArray box = "/MediaBox [0 " + number(whole.height() - exact.height()) + ' ' +
                           number(exact.width()) + ' ' + number(whole.height()) + ']';

    static const QRegularExpression boxPattern(QStringLiteral(
        R"(/MediaBox\s*\[\s*0(?:\.0*)?\s+0(?:\.0*)?\s+(\d+(?:\.\d*)?)\s+(\d+(?:\.\d*)?)\s*\])"));
    const QString text = QString::fromLatin1(pdf);
    std::vector<PdfPatch::Patch> patches;
    for (auto it = boxPattern.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.captured(1).toDouble() != whole.width() || m.captured(2).toDouble() != whole.height())
            return false;
        patches.push_back({m.capturedStart(), m.capturedLength(), box});
    }
    if (patches.empty())
        return false;

    return PdfPatch::apply(pdf, std::move(patches));
}
