// Replaces byte ranges of a PDF written by Qt and moves its cross-reference offsets with the bytes,
// so that small edits (a page box, a font's name) leave a file every reader opens.
#pragma once

#include <QByteArray>

#include <vector>

namespace PdfPatch
{

struct Patch {
    qsizetype at = 0;     // offset in the original bytes
    qsizetype length = 0; // bytes replaced
    QByteArray with;
};

// Applies the patches (none overlapping) and rewrites the one classic cross-reference table and
// its startxref offset. False, and pdf unchanged, when the file does not have that simple layout.
bool apply(QByteArray &pdf, std::vector<Patch> patches);

} // namespace PdfPatch
