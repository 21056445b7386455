// The pictures of one browser, in display order, with thumbnails made on first show. Items are
// added and reordered by their owner; the user can reorder them but never remove them.
#include "canvas/ImageBrowserModel.h"

#include "foundation/StringUtils.h"

#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QMimeData>

#include <algorithm>

ImageBrowserModel::ImageBrowserModel(QObject *parent) : QAbstractListModel(parent) {}

QStringList ImageBrowserModel::pictureFilesIn(const QString &folder)
{
    const QFileInfo info(folder);
    if (!info.isDir())
        return {};
    QStringList paths;
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo &fi : entries) {
        const QString ext = fi.suffix().toLower();
        if (ext == QLatin1String("png") || ext == QLatin1String("jpg"))
            paths << fi.absoluteFilePath();
    }
    return paths;
}

bool ImageBrowserModel::fillFromFolder(const QString &folder)
{
    if (!QFileInfo(folder).isDir())
        return false;
    clear();
    for (const QString &path : pictureFilesIn(folder)) {
        const QString name = QFileInfo(path).fileName();
        addImageWithPath(path, name, name);
    }
    return true;
}

void ImageBrowserModel::addImageWithPath(const QString &path, const QString &imageName,
                                         const QString &image_UID)
{
    const QString trimmed = path.trimmed();
    if (trimmed.isEmpty())
        return;
    const int row = count();
    beginInsertRows(QModelIndex(), row, row);
    m_images.append(MyImageObject(trimmed, imageName, image_UID));
    endInsertRows();
}

void ImageBrowserModel::clear()
{
    beginResetModel();
    m_images.clear();
    endResetModel();
}

bool ImageBrowserModel::moveItemsAtIndexes(QList<int> indexes, int toIndex)
{
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    indexes.erase(
        std::remove_if(indexes.begin(), indexes.end(), [this](int i) { return i < 0 || i >= count(); }),
        indexes.end());
    if (indexes.isEmpty())
        return true;
    int destination = toIndex;
    for (int i : indexes) {
        if (i < toIndex)
            --destination;
    }
    beginResetModel();
    QList<MyImageObject> moved;
    for (auto it = indexes.crbegin(); it != indexes.crend(); ++it)
        moved.prepend(m_images.takeAt(*it));
    destination = std::clamp(destination, 0, int(m_images.size()));
    for (int k = 0; k < moved.size(); ++k)
        m_images.insert(destination + k, moved.at(k));
    endResetModel();
    return true;
}

void ImageBrowserModel::setThumbnailSide(int pixels)
{
    if (pixels == m_side)
        return;
    m_side = pixels;
    if (count() > 0)
        emit dataChanged(index(0), index(count() - 1), {Qt::DecorationRole});
}

int ImageBrowserModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant ImageBrowserModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= count())
        return {};
    const MyImageObject &item = m_images.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return item.imageTitle();
    case Qt::DecorationRole:
        return thumbnail(index.row());
    default:
        return {};
    }
}

QPixmap ImageBrowserModel::thumbnail(int row) const
{
    const MyImageObject &item = m_images.at(row);
    const QString key = item.path() + QLatin1Char('\n') + QString::number(m_side);
    if (!item.path().isEmpty()) {
        const auto found = m_thumbnails.constFind(key);
        if (found != m_thumbnails.constEnd())
            return *found;
    }
    QImage picture;
    if (!item.path().isEmpty()) {
        // Read at about the thumbnail's size: large backgrounds stay cheap to list.
        QImageReader reader(item.path());
        reader.setAutoTransform(true);
        const QSize full = reader.size();
        if (full.isValid() && (full.width() > m_side || full.height() > m_side))
            reader.setScaledSize(full.scaled(m_side, m_side, Qt::KeepAspectRatio));
        picture = reader.read();
    } else {
        picture = item.image();
    }
    // Fitted into the square, without padding: the title then sits right under the picture.
    QPixmap pixmap;
    if (!picture.isNull())
        pixmap =
            QPixmap::fromImage(picture.scaled(m_side, m_side, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    if (!item.path().isEmpty())
        m_thumbnails.insert(key, pixmap);
    return pixmap;
}

Qt::ItemFlags ImageBrowserModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
}

QMimeData *ImageBrowserModel::mimeData(const QModelIndexList &indexes) const
{
    QByteArray rows;
    QDataStream out(&rows, QIODevice::WriteOnly);
    for (const QModelIndex &i : indexes)
        out << qint32(i.row());
    auto *mime = new QMimeData;
    mime->setData(RowsMimeType, rows);
    return mime;
}

bool ImageBrowserModel::canDropMimeData(const QMimeData *data, Qt::DropAction, int, int,
                                        const QModelIndex &) const
{
    return data && data->hasFormat(RowsMimeType);
}

bool ImageBrowserModel::dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                                     const QModelIndex &parent)
{
    if (!canDropMimeData(data, action, row, column, parent))
        return false;
    QByteArray bytes = data->data(RowsMimeType);
    QDataStream in(&bytes, QIODevice::ReadOnly);
    QList<int> rows;
    while (!in.atEnd()) {
        qint32 r = -1;
        in >> r;
        if (in.status() != QDataStream::Ok)
            break;
        rows << r;
    }
    int destination = row;
    if (destination < 0)
        destination = parent.isValid() ? parent.row() : count();
    return moveItemsAtIndexes(rows, destination);
}
