// Turns the PostScript font names stored in designs into fonts to draw with, and back.
// The common faces map to the metric-compatible Liberation families, so layout is the same everywhere.
#pragma once

#include "platform/FontDescriptor.h"

#include <QFont>
#include <QString>

class FontResolver
{
public:
    struct Face {
        QString family;
        bool bold = false;
        bool italic = false;
        bool operator==(const Face &o) const
        {
            return family == o.family && bold == o.bold && italic == o.italic;
        }
    };

    // "TimesNewRomanPS-BoldItalicMT" -> Liberation Serif, bold, italic. Arial and Helvetica give
    // Liberation Sans, Courier Liberation Mono; another installed family is used by its name;
    // anything else gives the default family with the style the name states. Thread-safe.
    static Face faceFor(const QString &postScriptName);
    // A font of that face at `pointSize` points (12 when the size is not positive).
    static QFont font(const QString &postScriptName, double pointSize);
    static QFont font(const FontDescriptor &descriptor)
    {
        return font(descriptor.postScriptName, descriptor.size);
    }

    // The PostScript name to store for a family and style ("Liberation Sans" bold -> "Arial-BoldMT").
    static QString postScriptNameFor(const QString &family, bool bold, bool italic);

    static QString defaultFamily() { return QStringLiteral("Liberation Serif"); }
};
