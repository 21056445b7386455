// A font as stored in designs: its PostScript name and size in points.
// FontResolver turns it into a QFont for drawing.
#pragma once

#include <QString>

struct FontDescriptor {
    QString postScriptName;
    double size = 12.0;

    bool isValid() const { return !postScriptName.isEmpty() && size > 0; }
    bool operator==(const FontDescriptor &o) const
    {
        return postScriptName == o.postScriptName && size == o.size;
    }
};
