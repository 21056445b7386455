#include "foundation/ui/FilePanels.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QTreeView>

namespace
{
FilePanels *g_installedPanels = nullptr;

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

std::optional<QString> runDialog(QFileDialog &dialog)
{
    FilePanels::prepareDialog(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
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
                                            const QStringList &suffixes)
{
    QFileDialog dialog(parent, title);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (!suffixes.isEmpty())
        dialog.setNameFilter(filterFor(suffixes));
    return runDialog(dialog);
}

std::optional<QString> FilePanels::openFolder(QWidget *parent, const QString &title)
{
    QFileDialog dialog(parent, title);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    return runDialog(dialog);
}

std::optional<QString> FilePanels::saveFile(QWidget *parent, const QString &title, const QString &suffix,
                                            const QString &suggestedName)
{
    QFileDialog dialog(parent, title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (!suffix.isEmpty()) {
        dialog.setNameFilter(filterFor({suffix}));
        dialog.setDefaultSuffix(suffix);
    }
    if (!suggestedName.isEmpty())
        dialog.selectFile(suggestedName);
    std::optional<QString> path = runDialog(dialog);
    if (path && !suffix.isEmpty() && QFileInfo(*path).suffix().compare(suffix, Qt::CaseInsensitive) != 0)
        *path += QLatin1Char('.') + suffix;
    return path;
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
