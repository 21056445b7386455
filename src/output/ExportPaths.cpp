#include "output/ExportPaths.h"

#include "output/ImageFileWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

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

QString ExportPaths::newBatchFolderPath(const QString &chosenFolder)
{
    const QDir chosen(chosenFolder);
    for (int n = 2;; ++n) {
        const QString path = chosen.filePath(QStringLiteral("%1 %2").arg(batchFolderName()).arg(n));
        if (!QFileInfo(path).exists() && !QFileInfo(path).isSymLink())
            return path;
    }
}

ExportPaths::EarlierCards ExportPaths::earlierCards(const QString &batchFolder)
{
    static const QRegularExpression cardName(QStringLiteral("^Card_([1-9][0-9]{0,8})(_Back)?\\.([^.]+)$"));
    struct Found {
        int number;
        bool back;
        QString path;
    };
    QList<Found> found;
    const QFileInfoList entries = QDir(batchFolder).entryInfoList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo &entry : entries) {
        const QRegularExpressionMatch m = cardName.match(entry.fileName());
        // Only what an export could have written: a file of another type is the user's own.
        if (m.hasMatch() &&
            ImageFileWriter::formatForExtension(m.captured(3)) != ImageFileWriter::Format::Unsupported)
            found.append({m.captured(1).toInt(), m.capturedLength(2) > 0, entry.filePath()});
    }
    std::sort(found.begin(), found.end(), [](const Found &a, const Found &b) {
        return a.number != b.number ? a.number < b.number : a.back < b.back;
    });
    EarlierCards earlier;
    for (qsizetype i = 0; i < found.size(); ++i) {
        earlier.files << found[i].path;
        earlier.cards += i == 0 || found[i].number != found[i - 1].number;
    }
    return earlier;
}

QString ExportPaths::removeEarlierCards(const QString &batchFolder)
{
    for (const QString &path : earlierCards(batchFolder).files) {
        QFile file(path);
        if (!file.remove())
            return QStringLiteral("The cards of the earlier export could not be removed:\n\n\"%1\"\n\n%2")
                .arg(QDir::toNativeSeparators(path), file.errorString());
    }
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
