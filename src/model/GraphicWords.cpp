#include "model/GraphicWords.h"

#include "foundation/CardCodes.h"
#include "model/PathUtil.h"
#include "model/SKTGraphic.h"
#include "paint/ResourcePictures.h"

#include <QFileInfo>

namespace
{
QString quoted(QString words)
{
    words = words.simplified();
    if (words.size() > 30)
        words = words.left(29) + QChar(0x2026);
    return QLatin1Char('"') + words + QLatin1Char('"');
}
} // namespace

QString GraphicWords::of(const SKTGraphic &g, const QString &barcode)
{
    switch (g.kind()) {
    case SKTGraphic::Kind::Text: {
        const QString words = g.textContentsForDrawing().text.simplified();
        return words.isEmpty() ? QStringLiteral("an empty text")
                               : QStringLiteral("the text ") + quoted(words);
    }
    case SKTGraphic::Kind::Image: {
        // The stand-in a picture shows until one is chosen is no file of the user's.
        const bool own =
            g.FilePath() != PathUtil::resourceFile(QString::fromLatin1(ResourcePictures::NoImage));
        const QString file = own ? QFileInfo(g.FilePath()).fileName() : QString();
        return file.isEmpty() ? QStringLiteral("a picture") : QStringLiteral("the picture ") + quoted(file);
    }
    case SKTGraphic::Kind::Line:
        return QStringLiteral("a line");
    case SKTGraphic::Kind::Shape:
        return QStringLiteral("a shape");
    case SKTGraphic::Kind::Signature:
        return g.sign_or_fingureprint.value_or(QString()) == SignatureCode::Fingerprint
                   ? QStringLiteral("a fingerprint")
                   : QStringLiteral("a signature");
    case SKTGraphic::Kind::Barcode:
        return barcode;
    }
    return QStringLiteral("an object");
}
