// Names of the files of a folder, as the editor's lists show them: without their last extension,
// sorted, hidden files left out.
#pragma once

#include <QString>
#include <QStringList>

// Empty for a missing path or one that is not a folder. Sub-folders are not listed.
QStringList Get_Files_Array_At_Path(const QString &folder);
