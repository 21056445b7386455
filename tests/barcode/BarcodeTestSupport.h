// Helpers of the barcode tests: pictures rendered through the generation pipeline, and
// ZXingReader's escaped one-line form read over many files (SymbolDecoder has the rest).
#pragma once

#include "SymbolDecoder.h"

#include "barcode/BarcodeGenerator.h"

#include <QColor>
#include <QDir>
#include <QImage>
#include <QMap>

namespace barcodetest
{

inline BarcodeSettings settingsFor(const QString &title)
{
    BarcodeSettings s;
    s.symbologyTitle = title;
    s.linear_or_2d = BarcodeSettings::isTwoDTitle(title) ? 1 : 0;
    return s;
}

// The picture at a resolution on white, with a white border standing in for the quiet zone a
// printed label has around it.
inline QImage renderPadded(const Picture &picture, double dpi, int border = 60)
{
    return testsupport::onWhite(picture.toImage(dpi, Qt::white), border);
}

using testsupport::hasTool;

// ZXingReader's one-line form escapes control characters as <NAME>.
inline QString zxingEscaped(const QString &text)
{
    QString out;
    for (const QChar c : text) {
        if (c.unicode() < 32)
            out += QLatin1Char('<') + QLatin1String(SymbolDecoder::kControlNames[c.unicode()]) +
                   QLatin1Char('>');
        else if (c.unicode() == 127)
            out += QStringLiteral("<DEL>");
        else
            out += c;
    }
    return out;
}

// File name -> decoded text of every file ZXingReader read (escaped form).
inline QMap<QString, QString> zxingRead(const QStringList &files, const QStringList &extra = {})
{
    const QMap<QString, QString> byPath =
        SymbolDecoder::zxingEscapedText(files, QStringList{QStringLiteral("-norotate")} + extra);
    QMap<QString, QString> out;
    for (auto it = byPath.cbegin(); it != byPath.cend(); ++it)
        out.insert(QFileInfo(it.key()).fileName(), it.value());
    return out;
}

} // namespace barcodetest
