#include "foundation/ui/FilePanels.h"

#include <QFileDialog>
#include <QFileInfo>

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
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}
} // namespace

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
