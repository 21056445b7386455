// Helpers of the barcode tests: pictures rendered through the generation pipeline, and the
// independent decoders (ZXingReader, zbarimg) run once over many files.
#pragma once

#include "barcode/BarcodeGenerator.h"

#include <QColor>
#include <QDir>
#include <QImage>
#include <QMap>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

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
    const QImage image = picture.toImage(dpi, Qt::white);
    QImage out(image.width() + 2 * border, image.height() + 2 * border, QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter p(&out);
    p.drawImage(border, border, image);
    p.end();
    return out;
}

inline bool toolAvailable(const QString &name)
{
    return !QStandardPaths::findExecutable(name).isEmpty();
}

// ZXingReader's one-line form escapes control characters as <NAME>.
inline QString zxingEscaped(const QString &text)
{
    static const char *const names[32] = {"NUL", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL",
                                          "BS",  "HT",  "LF",  "VT",  "FF",  "CR",  "SO",  "SI",
                                          "DLE", "DC1", "DC2", "DC3", "DC4", "NAK", "SYN", "ETB",
                                          "CAN", "EM",  "SUB", "ESC", "FS",  "GS",  "RS",  "US"};
    QString out;
    for (const QChar c : text) {
        if (c.unicode() < 32)
            out += QLatin1Char('<') + QLatin1String(names[c.unicode()]) + QLatin1Char('>');
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
    QProcess p;
    p.start(QStringLiteral("ZXingReader"),
            QStringList{QStringLiteral("-1"), QStringLiteral("-norotate")} + extra + files);
    p.waitForFinished(120000);
    QMap<QString, QString> out;
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    for (const QString &line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const int a = line.indexOf(QLatin1Char(' '));
        const int b = line.indexOf(QLatin1Char(' '), a + 1);
        if (a < 0 || b < 0)
            continue;
        QString value = line.mid(b + 1);
        if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"')))
            value = value.mid(1, value.size() - 2);
        out.insert(QFileInfo(line.left(a)).fileName(), value);
    }
    return out;
}

// File name -> (symbology, text) of every file zbarimg read.
inline QMap<QString, QPair<QString, QString>> zbarRead(const QStringList &files)
{
    QProcess p;
    p.start(QStringLiteral("zbarimg"),
            QStringList{QStringLiteral("--nodbus"), QStringLiteral("--xml"), QStringLiteral("-q")} + files);
    p.waitForFinished(120000);
    QMap<QString, QPair<QString, QString>> out;
    const QString xml = QString::fromUtf8(p.readAllStandardOutput());
    static const QRegularExpression source(QStringLiteral("<source href='([^']*)'>(.*?)</source>"),
                                           QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression symbol(
        QStringLiteral("<symbol type='([^']*)'[^>]*><data><!\\[CDATA\\[(.*?)\\]\\]></data>"),
        QRegularExpression::DotMatchesEverythingOption);
    auto it = source.globalMatch(xml);
    while (it.hasNext()) {
        const auto m = it.next();
        const auto s = symbol.match(m.captured(2));
        if (s.hasMatch())
            out.insert(QFileInfo(m.captured(1)).fileName(), {s.captured(1), s.captured(2)});
    }
    return out;
}

} // namespace barcodetest
