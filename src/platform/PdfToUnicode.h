// Makes the text of a PDF written by Qt read, copy and search as it was typed.
//
// Qt tells readers which characters each embedded glyph stands for by the first character the font
// maps to it. The joined forms of Arabic letters are reached only through their presentation-form
// characters (U+FB50 to U+FEFE), so a name like "محمد" came out of the file as four presentation
// forms that no search for the name finds.
#pragma once

#include <QByteArray>

namespace PdfToUnicode
{

// Gives every glyph the font's character maps name as a presentation form the letters that form
// stands for (its compatibility decomposition). True when the file needed nothing or was mended;
// false, and pdf unchanged, when its layout is not Qt's.
bool spellOutPresentationForms(QByteArray &pdf);

} // namespace PdfToUnicode
