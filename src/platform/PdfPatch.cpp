#include "platform/PdfPatch.h"

#include <QRegularExpression>

#include <algorithm>

bool PdfPatch::apply(QByteArray &pdf, std::vector<Patch> patches)
{
    if (patches.empty())
        return true;
    // One classic table: "xref", "0 N", N entries of 20 bytes, then "startxref" and its offset.
    const qsizetype startxref = pdf.lastIndexOf("startxref");
    if (startxref < 0)
        return false;
    static const QRegularExpression tail(QStringLiteral(R"(^startxref\s+(\d+)\s+%%EOF)"));
    const QRegularExpressionMatch end = tail.match(QString::fromLatin1(pdf.mid(startxref, 64)));
    if (!end.hasMatch())
        return false;
    const qsizetype xref = end.captured(1).toLongLong();
    static const QRegularExpression header(QStringLiteral(R"(^xref\r?\n0 (\d+)\r?\n)"));
    const QRegularExpressionMatch table = header.match(QString::fromLatin1(pdf.mid(xref, 64)));
    if (xref <= 0 || xref >= startxref || !table.hasMatch())
        return false;
    const int entries = table.captured(1).toInt();
    const qsizetype first = xref + table.capturedLength();
    if (first + qsizetype(entries) * 20 > startxref)
        return false;
    for (const Patch &p : patches)
        if (p.at < 0 || p.at + p.length > xref)
            return false;

    auto shifted = [&](qsizetype offset) {
        qsizetype moved = offset;
        for (const Patch &p : patches)
            if (p.at < offset)
                moved += p.with.size() - p.length;
        return moved;
    };
    std::vector<Patch> offsets;
    for (int i = 0; i < entries; ++i) {
        const qsizetype at = first + qsizetype(i) * 20;
        if (pdf.at(at + 17) != 'n')
            continue;
        bool ok = false;
        const qsizetype offset = pdf.mid(at, 10).toLongLong(&ok);
        if (!ok)
            return false;
        offsets.push_back({at, 10, QByteArray::number(shifted(offset)).rightJustified(10, '0')});
    }
    offsets.push_back(
        {startxref + end.capturedStart(1), end.capturedLength(1), QByteArray::number(shifted(xref))});
    patches.insert(patches.end(), offsets.begin(), offsets.end());

    // Applied from the end so the earlier offsets stay valid.
    std::sort(patches.begin(), patches.end(), [](const Patch &a, const Patch &b) { return a.at > b.at; });
    for (const Patch &p : patches)
        pdf.replace(p.at, p.length, p.with);
    return true;
}
