// File and folder names of exported cards: the batch folder, the numbered card files and the
// back side's file next to the front's.
#pragma once

#include <QString>
#include <QStringList>

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

    // A batch folder beside the usual one that does not exist yet: "ZOLV Tessaly Greeting Card 2",
    // then 3 and on.
    static QString newBatchFolderPath(const QString &chosenFolder);

    // The cards an earlier export left in a batch folder: the files named as cards are named
    // ("Card_3.png", "Card_3_Back.png") in a type cards are written in, in card order, and how
    // many cards they are. None when the folder is absent.
    struct EarlierCards {
        QStringList files;
        int cards = 0;
    };
    static EarlierCards earlierCards(const QString &batchFolder);
    // Removes those files and nothing else; empty on success, else the message to show.
    static QString removeEarlierCards(const QString &batchFolder);

    // "Card_<row + 1>.<extension>" inside the batch folder; row counts from 0.
    static QString batchCardPath(const QString &batchFolder, int row, const QString &extension);

    // "name.ext" -> "name_Back.ext", changing only the last path component; the extension keeps
    // its case. A name without extension gets "_Back" appended.
    static QString Create_Back_Card_Path(const QString &path);
    static QString Create_Front_Card_Path(const QString &path) { return path; }
};
