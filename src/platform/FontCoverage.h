// Which installed face draws each character of a text.
//
// Qt falls back to another family by the scripts a family claims as a whole, and then draws with
// that family's face in the text's style, which may lack the glyphs: DejaVu Sans has Arabic, its
// oblique faces have not, so Arabic in an italic card text came out as a blank gap. Here every
// character goes to the first face that really has its glyph: the text's own face, then the family
// Qt would pick for the character, then every installed family; within a family the asked style
// first, then upright, then regular. Answers are cached, so a text already seen costs hash lookups.
#pragma once

#include "platform/FontDescriptor.h"

#include <QFont>
#include <QList>
#include <QString>
#include <QTextLayout>

namespace FontCoverage
{

// The ranges of `text` (UTF-16 positions) that `font` cannot draw, each with a copy of `font` in
// the family and style that can (size, spacing and hinting kept). Empty when `font` draws it all;
// characters no installed font has stay in `font`. Spaces and marks go with their neighbours, so a
// word is shaped in one font. For QTextLayout::setFormats. Thread-safe.
QList<QTextLayout::FormatRange> fallbackRanges(const QString &text, const QFont &font);

// The distinct characters of `text` that no installed font can draw, in their order in the text;
// empty when every character can be drawn. Spaces, line breaks and invisible format characters
// need no glyph and never count. Thread-safe; for the check of a run, once per distinct text.
QString undrawableCharacters(const QString &text, const QFont &font);
QString undrawableCharacters(const QString &text, const FontDescriptor &font);

} // namespace FontCoverage
