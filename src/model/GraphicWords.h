// An object named as the user knows it, for messages: a text by its words, a picture by its file,
// the others by their kind. One wording for every message that names an object.
#pragma once

#include <QString>

class SKTGraphic;

namespace GraphicWords
{
// "the text "Happy Birthday"", "the picture "rose.png"", "a shape", "a fingerprint". barcode: how a barcode
// is named, "another barcode" where the message is about a barcode itself.
QString of(const SKTGraphic &g, const QString &barcode = QStringLiteral("a barcode"));
} // namespace GraphicWords
