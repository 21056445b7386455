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
        // The family's own style, where bold and italic alone do not name it ("Condensed Bold
        // Italic", "Light"); empty otherwise.
        QString style;
        bool operator==(const Face &o) const
        {
            return family == o.family && bold == o.bold && italic == o.italic && style == o.style;
        }
    };

    // "TimesNewRomanPS-BoldItalicMT" -> Liberation Serif, bold, italic. Arial and Helvetica give
    // Liberation Sans, Courier Liberation Mono; another installed family is used by its name, in
    // its style the name spells ("DejaVuSerif-CondensedBoldItalic"); anything else gives the
    // default family with the style the name states. Thread-safe.
    static Face faceFor(const QString &postScriptName);
    // A font of that face at `pointSize` points (12 when the size is not positive).
    static QFont font(const QString &postScriptName, double pointSize);
    static QFont font(const FontDescriptor &descriptor)
    {
        return font(descriptor.postScriptName, descriptor.size);
    }

    // The PostScript name to store for a family and style ("Liberation Sans" bold -> "Arial-BoldMT").
    // A style of another family that bold and italic do not name (`styleName`, as the font window
    // gives it) is spelt out after the dash, so the name keeps it.
    static QString postScriptNameFor(const QString &family, bool bold, bool italic,
                                     const QString &styleName = QString());
    // The name to store for a font chosen in a font window: its family, weight, slant and style.
    static QString postScriptNameFor(const QFont &chosen);

    static QString defaultFamily() { return QStringLiteral("Liberation Serif"); }
};
