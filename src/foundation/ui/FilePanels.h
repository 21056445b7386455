// The open and save panels the windows ask for, behind one seam: the program shows Qt's own
// (non-native) file dialogs; tests install a double that answers without showing anything.
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
                                            const QStringList &suffixes);
    // One folder (folder creation allowed); none when cancelled.
    virtual std::optional<QString> openFolder(QWidget *parent, const QString &title);
    // A path to save to; the suffix is added when the name lacks it. None when cancelled.
    virtual std::optional<QString> saveFile(QWidget *parent, const QString &title, const QString &suffix,
                                            const QString &suggestedName = QString());

    // Qt's dialog as the real panels show it: non-native, and large enough that the detail view's
    // columns (name, size, type, date) show whole.
    static void prepareDialog(QFileDialog &dialog);

    // The installed panels, or the real ones.
    static FilePanels &instance();
    static void install(FilePanels *panels);
    static void uninstall(FilePanels *panels); // only when it is the installed one
};
