// File and folder names of exported cards: the batch folder, the numbered card files and the
// back side's file next to the front's.
#pragma once

#include <QString>

class ExportPaths
{
public:
    static QString batchFolderName() { return QStringLiteral("ZOLV Tessaly Greeting Card"); }

    // The batch folder inside the chosen folder.
    static QString batchFolderPath(const QString &chosenFolder);
    // Creates the batch folder (and missing parents) with the default permissions; an existing
    // folder is used as it is. Empty on success, else the message to show.
    static QString createBatchFolder(const QString &batchFolder);
    // "Unable to continue saving ...": the folder cannot be made, or the disk is full.
    static QString unableSavingMessage();

    // "Card_<row + 1>.<extension>" inside the batch folder; row counts from 0.
    static QString batchCardPath(const QString &batchFolder, int row, const QString &extension);

    // "name.ext" -> "name_Back.ext", changing only the last path component; the extension keeps
    // its case. A name without extension gets "_Back" appended.
    static QString Create_Back_Card_Path(const QString &path);
    static QString Create_Front_Card_Path(const QString &path) { return path; }
};
