#include "foundation/FolderListing.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>

#include <algorithm>

QStringList Get_Files_Array_At_Path(const QString &folder)
{
    QStringList names;
    const QFileInfo info(folder);
    if (folder.isEmpty() || !info.isDir())
        return names;
    // No QDir::Hidden: names that begin with "." stay out.
    for (const QFileInfo &fi : QDir(folder).entryInfoList(QDir::Files | QDir::NoDotAndDotDot))
        names << fi.completeBaseName();
    QCollator collator;
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(names.begin(), names.end(), [&](const QString &a, const QString &b) {
        const int c = collator.compare(a, b);
        return c != 0 ? c < 0 : a < b;
    });
    return names;
}
