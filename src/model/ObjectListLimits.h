// How many card objects one read may bring in, and how many bytes of object archives: shared by
// the design file and the clipboard, since a small input can name one archive many times.
#pragma once

#include <QtGlobal>

struct ObjectListLimits {
    // Far beyond any card a person lays out; each object may cost many times its archive once decoded.
    static constexpr qsizetype MaxObjects = 5000;
    static constexpr qint64 MaxObjectArchiveBytes = qint64(32) << 20;
};
