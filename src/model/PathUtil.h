// Path helpers of the drawing model: files of the data root and tidying a path before loading.
// Plain functions on strings, apart from the picture loader.
#pragma once

#include "platform/Picture.h"

#include <QString>

class PathUtil
{
public:
    // folder + "/" + name, without doubling the separator; the name alone for an empty folder.
    static QString join(const QString &folder, const QString &name);
    // A file of the data root (Resource_Path); the name alone while the root is unset.
    static QString resourceFile(const QString &name);
    // "~" expanded to the home folder, "." and ".." segments and doubled separators removed.
    static QString standardizedPath(const QString &path);
    // The picture of a regular file at the standardized path; a null picture for anything else
    // (a missing file, a folder, a device or pipe named by a damaged design).
    static Picture loadPicture(const QString &path);
};
