// The open and save panels the windows ask for, behind one seam: the program shows Qt's own
// (non-native) file dialogs; tests install a double that answers without showing anything.
// A panel opens in the folder its caller gives, else in the last folder used, else at home: never
// in the folder the program happened to be started from.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QFileDialog;
class QWidget;

class FilePanels
{
public:
    virtual ~FilePanels() = default;

    // A file with one of the suffixes (no dots; empty allows any file); none when cancelled.
    virtual std::optional<QString> openFile(QWidget *parent, const QString &title,
                                            const QStringList &suffixes, const QString &folder = QString());
    // One folder (folder creation allowed); none when cancelled.
    virtual std::optional<QString> openFolder(QWidget *parent, const QString &title,
                                              const QString &folder = QString());
    // A path to save to; the suffix is added when the name lacks it or another name of its picture
    // format ("tif" for "tiff"). None when cancelled.
    virtual std::optional<QString> saveFile(QWidget *parent, const QString &title, const QString &suffix,
                                            const QString &suggestedName = QString(),
                                            const QString &folder = QString());

    // Where a panel for work on this file opens: the file's folder when it has one on disk, else
    // the last folder a panel was answered in, else the home folder.
    static QString startFolder(const QString &besideFile = QString());

    // Qt's dialog as the real panels show it: non-native, and large enough that the detail view's
    // columns (name, size, type, date) show whole.
    static void prepareDialog(QFileDialog &dialog);

    // The installed panels, or the real ones.
    static FilePanels &instance();
    static void install(FilePanels *panels);
    static void uninstall(FilePanels *panels); // only when it is the installed one
};
