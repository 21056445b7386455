// The Export sheet's last choice: file type, resolution, card side and whether both sides go into
// one picture, kept in "export.ini" beside the preferences so that the next export, also after a
// restart, starts from it.
#pragma once

#include "foundation/CardCodes.h"

#include <QString>
#include <QStringList>

class RememberedExport
{
public:
    // What the sheet offers; a kept value outside these lists gives the default.
    static inline const QStringList FileTypes{QStringLiteral("PNG"), QStringLiteral("JPEG"),
                                              QStringLiteral("TIFF"), QStringLiteral("BMP")};
    static inline const QStringList Resolutions{QStringLiteral("72"), QStringLiteral("150"),
                                                QStringLiteral("300"), QStringLiteral("600")};
    static constexpr int DefaultDpi = 300; // print quality for a new user

    QString fileType = FileTypes.first();
    int dpi = DefaultDpi;
    QString side = SideCode::Front; // "F", "B" or "BOTH"
    bool combined = false;          // both sides in one picture

    static QString settingsPath();
    // What was kept; a value missing or edited to something the sheet does not offer keeps its
    // default.
    static RememberedExport load();
    // False when the file could not be written (the export goes on; the log says so).
    bool save() const;
};
