#include "canvas/PastedPictures.h"

#include "platform/SaveFileCommit.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

QString PastedPictures::keep(const QImage &picture, const QString &dataRoot, QString *why)
{
    auto fail = [why](const QString &reason) {
        if (why)
            *why = reason;
        return QString();
    };
    if (picture.isNull())
        return fail(QStringLiteral("The clipboard holds no picture."));
    if (dataRoot.isEmpty())
        return fail(QStringLiteral("There is no data folder."));
    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!picture.save(&buffer, "PNG"))
            return fail(QStringLiteral("The picture could not be encoded as PNG."));
    }
    const QDir root(dataRoot);
    if (!root.mkpath(FolderName))
        return fail(QStringLiteral("The folder %1 could not be made.").arg(root.filePath(FolderName)));
    const QString name =
        QString::fromLatin1(QCryptographicHash::hash(png, QCryptographicHash::Sha256).toHex().left(32));
    const QString path = QDir(root.filePath(FolderName)).filePath(name + QStringLiteral(".png"));
    // The name comes from the contents: a whole file of that name is this picture already.
    const QFileInfo existing(path);
    if (existing.isFile() && existing.size() == png.size())
        return path;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    if (file.write(png) != png.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return fail(reason);
    }
    QString reason;
    if (!SaveFileCommit::commit(file, &reason))
        return fail(reason);
    return path;
}
