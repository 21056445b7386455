// Text with one set of attributes for the whole run: what text objects store and archive.
#pragma once

#include "platform/FontDescriptor.h"

#include <QColor>
#include <QString>

struct AttributedText {
    QString text;
    FontDescriptor font; // invalid font: none stored
    QColor color;        // invalid colour: none stored
    double kern = 0.0;   // extra spacing between letters, in points

    bool operator==(const AttributedText &o) const
    {
        return text == o.text && font == o.font && color == o.color && kern == o.kern;
    }
};
