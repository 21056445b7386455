#include "platform/PdfPageBox.h"

#include <QRegularExpression>

#include <algorithm>
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

struct Patch {
    qsizetype at = 0;     // offset in the original bytes
    qsizetype length = 0; // bytes replaced
    QByteArray with;
};

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
    std::vector<Patch> patches;
    for (auto it = boxPattern.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.captured(1).toDouble() != whole.width() || m.captured(2).toDouble() != whole.height())
            return false;
        patches.push_back({m.capturedStart(), m.capturedLength(), box});
    }
    if (patches.empty())
        return false;

    // One classic table: "xref", "0 N", N entries of 20 bytes, then "startxref" and its offset.
    const qsizetype startxref = pdf.lastIndexOf("startxref");
    if (startxref < 0)
        return false;
    static const QRegularExpression tail(QStringLiteral(R"(^startxref\s+(\d+)\s+%%EOF)"));
    const QRegularExpressionMatch end = tail.match(text.mid(startxref));
    if (!end.hasMatch())
        return false;
    const qsizetype xref = end.captured(1).toLongLong();
    static const QRegularExpression header(QStringLiteral(R"(^xref\r?\n0 (\d+)\r?\n)"));
    const QRegularExpressionMatch table = header.match(text.mid(xref, 64));
    if (xref <= 0 || xref >= startxref || !table.hasMatch())
        return false;
    const int entries = table.captured(1).toInt();
    const qsizetype first = xref + table.capturedLength();
    if (first + qsizetype(entries) * 20 > startxref)
        return false;

    auto shifted = [&](qsizetype offset) {
        qsizetype moved = offset;
        for (const Patch &p : patches)
            if (p.at < offset)
                moved += p.with.size() - p.length;
        return moved;
    };
    for (int i = 0; i < entries; ++i) {
        const qsizetype at = first + qsizetype(i) * 20;
        if (pdf.at(at + 17) != 'n')
            continue;
        bool ok = false;
        const qsizetype offset = pdf.mid(at, 10).toLongLong(&ok);
        if (!ok)
            return false;
        patches.push_back({at, 10, QByteArray::number(shifted(offset)).rightJustified(10, '0')});
    }
    const qsizetype xrefDigits = startxref + end.capturedStart(1);
    patches.push_back({xrefDigits, end.capturedLength(1), QByteArray::number(shifted(xref))});

    // Apply from the end so the earlier offsets stay valid.
    std::sort(patches.begin(), patches.end(), [](const Patch &a, const Patch &b) { return a.at > b.at; });
    for (const Patch &p : patches)
        pdf.replace(p.at, p.length, p.with);
    return true;
}
