// The data root as every folder reads it: the per-user resource folder and its series folder,
// set once at start through FoundationState::setResourcePath and read-only here.
#pragma once

#include <QString>

// The data root (per-user, writable), with a trailing "/"; empty until set up.
extern const QString &Resource_Path;
// Resource_Path + "DataSet": the folder of the series files.
extern const QString &Data_Folder_Path;
// Extension of the series files; never changes.
extern const QString &batch_file_EXT;
