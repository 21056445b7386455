// File and folder helpers: deleting an item, creating the data folders under Resource_Path and
// opening the help document. Folders get the user's default permissions.
#pragma once

#include "platform/ResourceRoot.h"

#include <QString>
#include <QUrl>

// Removes the file or folder (with its contents) at `path` when it may be removed; a symbolic
// link is removed itself, never followed. Refuses an empty path and the root, home and data
// folders themselves. Returns whether it is gone.
bool Delete_File(const QString &path);

// Creates, where missing, Data_Folder_Path and "Background", "Fill_Style_Image", "LibraryImage",
// "Templates" and "Templates/User" under Resource_Path. Does nothing while Resource_Path is unset.
void Check_Path_And_Create_Files();

// Opens Resource_Path + "Help.pdf" with the desktop's application, or says that it is missing or
// that nothing could open it (helpNotOpenedText, naming the file).
void Open_Help_File();
QString helpNotOpenedText(const QString &path);

// Opens a file or folder with the desktop's program. When there is none, shows `notOpened`
// (which names the place, so the user can open it by hand) and answers false; when the desktop's
// opener starts and then fails, shows it as soon as that is known.
bool openOrSay(const QString &path, const QString &notOpened);
// "<what> could not be opened. You can open it yourself at:" and the path on a line of its own.
QString notOpenedText(const QString &what, const QString &path);
// Opens a web or mail address with the desktop's program. When there is none, or the opener
// fails soon after starting, tells the user the address to open or write to by hand; false in
// the first case.
bool openUrlOrSay(const QUrl &url);

// Prepares the data root (created, filled with the shipped files it lacks), then sets
// Resource_Path and Data_Folder_Path to it and creates the data folders. On failure nothing is set.
ResourceRoot::Result setUpDataRoot(const QString &root = ResourceRoot::defaultLocation(),
                                   const QString &shipped = ResourceRoot::shippedLocation());
