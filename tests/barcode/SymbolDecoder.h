// Test helper: reads 2D symbols back with independent decoders (ZXingReader, zbarimg), many
// pictures per run so that the suites stay fast.
#pragma once

#include "support/TestSupport.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QXmlStreamReader>

namespace SymbolDecoder
{

using testsupport::hasTool;
using testsupport::onWhite;

// The names ZXingReader's one-line form gives the control characters 0 to 31.
inline constexpr const char *kControlNames[32] = {"NUL", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL",
                                                  "BS",  "HT",  "LF",  "VT",  "FF",  "CR",  "SO",  "SI",
                                                  "DLE", "DC1", "DC2", "DC3", "DC4", "NAK", "SYN", "ETB",
                                                  "CAN", "EM",  "SUB", "ESC", "FS",  "GS",  "RS",  "US"};

// ZXingReader's one-line form escapes control characters by name and others as <U+hex>.
inline QString unescapeZXing(const QString &text)
{
    QString out;
    for (int i = 0; i < text.size(); ++i) {
        const int close = text.at(i) == QLatin1Char('<') ? text.indexOf(QLatin1Char('>'), i) : -1;
        if (close > i) {
            const QString name = text.mid(i + 1, close - i - 1);
            bool done = false;
            if (name.startsWith(QLatin1String("U+"))) {
                bool ok = false;
                const uint code = name.mid(2).toUInt(&ok, 16);
                if (ok) {
                    out += QString::fromUcs4(reinterpret_cast<const char32_t *>(&code), 1);
                    done = true;
                }
            } else if (name == QLatin1String("DEL")) {
                out += QChar(0x7F);
                done = true;
            } else {
                for (int c = 0; c < 32 && !done; ++c) {
                    if (name == QLatin1String(kControlNames[c])) {
                        out += QChar(c);
                        done = true;
                    }
                }
            }
            if (done) {
                i = close;
                continue;
            }
        }
        out += text.at(i);
    }
    return out;
}

// File path -> text as ZXingReader's one-line form prints it (escaped), for every picture it
// could read.
inline QMap<QString, QString> zxingEscapedText(const QStringList &files, const QStringList &options = {})
{
    QMap<QString, QString> result;
    const QStringList args = QStringList{QStringLiteral("-1")} + options + files;
    for (const QByteArray &rawLine : testsupport::run(QStringLiteral("ZXingReader"), args).out.split('\n')) {
        const QString line = QString::fromUtf8(rawLine);
        for (const QString &file : files) {
            if (!line.startsWith(file + QLatin1Char(' ')) || result.contains(file))
                continue;
            const int open = line.indexOf(QLatin1Char('"'), file.size());
            const int close = line.lastIndexOf(QLatin1Char('"'));
            if (open >= 0 && close > open)
                result.insert(file, line.mid(open + 1, close - open - 1));
        }
    }
    return result;
}

// File path -> decoded text for every picture ZXingReader could read.
inline QMap<QString, QString> zxing(const QStringList &files, const QString &format = {})
{
    QStringList options;
    if (!format.isEmpty())
        options << QStringLiteral("-format") << format;
    QMap<QString, QString> result = zxingEscapedText(files, options);
    for (QString &text : result)
        text = unescapeZXing(text);
    return result;
}

// File path -> decoded bytes for every picture zbarimg could read.
inline QMap<QString, QByteArray> zbar(const QStringList &files)
{
    QMap<QString, QByteArray> result;
    QXmlStreamReader xml(
        testsupport::run(
            QStringLiteral("zbarimg"),
            QStringList{QStringLiteral("--nodbus"), QStringLiteral("-q"), QStringLiteral("--xml")} + files)
            .out);
    QString source;
    bool base64 = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("source")) {
            source = xml.attributes().value(QLatin1String("href")).toString();
        } else if (xml.name() == QLatin1String("data")) {
            base64 = xml.attributes().value(QLatin1String("format")) == QLatin1String("base64");
            const QByteArray data = xml.readElementText().toUtf8();
            if (!result.contains(source))
                result.insert(source, base64 ? QByteArray::fromBase64(data.trimmed()) : data);
        }
    }
    return result;
}

// The bytes of the first Data Matrix symbol libdmtx finds in one picture (empty when none).
inline QByteArray dmtx(const QString &file)
{
    return testsupport::run(QStringLiteral("dmtxread"),
                            {QStringLiteral("-N1"), QStringLiteral("-m"), QStringLiteral("20000"), file}, {},
                            60000)
        .out;
}

} // namespace SymbolDecoder
