// Pictures pasted from other programs, kept as PNG files under the data folder ("Pasted/"), so a
// pasted picture object has a file to point at and survives saving, reopening and export.
#pragma once

#include <QImage>
#include <QString>

class PastedPictures
{
public:
    static inline const QString FolderName = QStringLiteral("Pasted");

    // Writes the picture atomically as "<dataRoot>/Pasted/<name>.png", the name taken from its
    // contents, so the same picture pasted again reuses its file. The file's path, or empty with
    // *why (the system's reason) when it could not be written.
    static QString keep(const QImage &picture, const QString &dataRoot, QString *why = nullptr);
};
