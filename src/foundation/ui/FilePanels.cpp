#include "foundation/ui/FilePanels.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QImageWriter>
#include <QTreeView>

#include <algorithm>

namespace
{
FilePanels *g_installedPanels = nullptr;
QString g_lastFolder;

QString filterFor(const QStringList &suffixes)
{
    if (suffixes.isEmpty())
        return QString();
    QStringList patterns;
    for (const QString &s : suffixes)
        patterns << QStringLiteral("*.") + s;
    return QStringLiteral("%1 (%2)").arg(suffixes.join(QStringLiteral(", ")),
                                         patterns.join(QLatin1Char(' ')));
}

// The dialog's folder is set before anything else: a name selected before it would be taken
// as relative to the program's working folder.
void startIn(QFileDialog &dialog, const QString &folder)
{
    FilePanels::prepareDialog(dialog);
    dialog.setDirectory(folder.isEmpty() ? FilePanels::startFolder() : folder);
}

// A typed suffix names the file type asked for when it is the same or another name of one picture
// format ("tif" for "tiff", "jpg" for "jpeg"), as the picture writers know them.
bool suffixNamesType(const QString &typed, const QString &suffix)
{
    if (typed.compare(suffix, Qt::CaseInsensitive) == 0)
        return true;
    const QByteArray a = typed.toLower().toLatin1(), b = suffix.toLower().toLatin1();
    const QList<QByteArray> mimeTypes = QImageWriter::supportedMimeTypes();
    return !a.isEmpty() && std::any_of(mimeTypes.begin(), mimeTypes.end(), [&](const QByteArray &mime) {
        const QList<QByteArray> names = QImageWriter::imageFormatsForMimeType(mime);
        return names.contains(a) && names.contains(b);
    });
}

std::optional<QString> runDialog(QFileDialog &dialog)
{
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const QString chosen = dialog.selectedFiles().constFirst();
    // The folder of what was chosen is where the next panel opens.
    if (!chosen.isEmpty()) {
        const QFileInfo info(chosen);
        g_lastFolder =
            dialog.fileMode() == QFileDialog::Directory ? info.absoluteFilePath() : info.absolutePath();
    }
    return chosen;
}
} // namespace

void FilePanels::prepareDialog(QFileDialog &dialog)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    // Qt's own size cuts the size and type columns ("67....KiB"): the name takes what is left
    // after the other columns have the width of their contents.
    dialog.resize(dialog.sizeHint().expandedTo(QSize(860, 520)));
    if (auto *details = dialog.findChild<QTreeView *>(QStringLiteral("treeView"))) {
        QHeaderView *header = details->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
        for (int column = 1; column < header->count(); ++column)
            header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    }
}

std::optional<QString> FilePanels::openFile(QWidget *parent, const QString &title,
                                            const QStringList &suffixes, const QString &folder)
{
    QFileDialog dialog(parent, title);
    startIn(dialog, folder);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (!suffixes.isEmpty())
        dialog.setNameFilter(filterFor(suffixes));
    return runDialog(dialog);
}

std::optional<QString> FilePanels::openFolder(QWidget *parent, const QString &title, const QString &folder)
{
    QFileDialog dialog(parent, title);
    startIn(dialog, folder);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    return runDialog(dialog);
}

std::optional<QString> FilePanels::saveFile(QWidget *parent, const QString &title, const QString &suffix,
                                            const QString &suggestedName, const QString &folder)
{
    QFileDialog dialog(parent, title);
    startIn(dialog, folder);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (!suffix.isEmpty()) {
        dialog.setNameFilter(filterFor({suffix}));
        dialog.setDefaultSuffix(suffix);
    }
    if (!suggestedName.isEmpty())
        dialog.selectFile(suggestedName);
    std::optional<QString> path = runDialog(dialog);
    if (path && !suffix.isEmpty() && !suffixNamesType(QFileInfo(*path).suffix(), suffix))
        *path += QLatin1Char('.') + suffix;
    return path;
}

QString FilePanels::startFolder(const QString &besideFile)
{
    if (!besideFile.isEmpty()) {
        // A design opened by a relative path is still beside its own folder; a bare name of a
        // design never saved has no folder.
        const QFileInfo file(besideFile);
        if ((file.isAbsolute() || file.exists()) && file.absoluteDir().exists())
            return file.absolutePath();
    }
    if (!g_lastFolder.isEmpty() && QDir(g_lastFolder).exists())
        return g_lastFolder;
    return QDir::homePath();
}

FilePanels &FilePanels::instance()
{
    static FilePanels real;
    return g_installedPanels ? *g_installedPanels : real;
}

void FilePanels::install(FilePanels *panels)
{
    g_installedPanels = panels;
}

void FilePanels::uninstall(FilePanels *panels)
{
    if (g_installedPanels == panels)
        g_installedPanels = nullptr;
}
