// Names the embedded fonts of a PDF written by Qt as the subsets they are. Qt embeds only the
// glyphs used and tags the descriptor's name ("QNTAAA+LiberationSerif"), but leaves the font's
// own name untagged, so readers and checkers report a whole font.
#pragma once

#include <QByteArray>

namespace PdfFontNames
{

// Gives every font whose descriptor carries a subset tag that tag in its /BaseFont too. True when
// the file needed nothing or was mended; false, and pdf unchanged, when its layout is not Qt's.
bool tagSubsets(QByteArray &pdf);

} // namespace PdfFontNames
