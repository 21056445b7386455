#include "output/ExportPaths.h"

#include <QDir>
#include <QFileInfo>

QString ExportPaths::batchFolderPath(const QString &chosenFolder)
{
    return QDir(chosenFolder).filePath(batchFolderName());
}

QString ExportPaths::unableSavingMessage()
{
    return QStringLiteral(
        "Unable to continue saving barcode image.\n\nEither Destination Drive is inaccessible or there is "
        "no free space available in drive to save barcode image.");
}

QString ExportPaths::createBatchFolder(const QString &batchFolder)
{
    const QString unableSavingMsg = unableSavingMessage();
    QFileInfo info(batchFolder);
    if (info.exists() && !info.isDir())
        return unableSavingMsg;
    // mkpath leaves the mode to the user's umask, as for any folder the user makes.
    if (!QDir().mkpath(batchFolder))
        return unableSavingMsg;
    return {};
}

QString ExportPaths::batchCardPath(const QString &batchFolder, int row, const QString &extension)
{
    QString ext = extension;
    if (ext.startsWith(QLatin1Char('.')))
        ext.remove(0, 1);
    return QDir(batchFolder).filePath(QStringLiteral("Card_%1.%2").arg(row + 1).arg(ext));
}

QString ExportPaths::Create_Back_Card_Path(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const QString folder = path.left(slash + 1);
    const QString name = path.mid(slash + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot <= 0)
        return folder + name + QStringLiteral("_Back");
    return folder + name.left(dot) + QStringLiteral("_Back") + name.mid(dot);
}
