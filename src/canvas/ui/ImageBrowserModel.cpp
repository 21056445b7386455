#include "canvas/ui/ImageBrowserModel.h"

#include "foundation/StringUtils.h"
#include "platform/GuiThreadQueue.h"
#include "platform/PictureReader.h"

#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QMimeData>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>

// Thumbnails asked for and not yet read, shared by a model and its reading thread. `owner` is
// touched on the GUI thread only: results posted there find it cleared once the model is gone.
struct ThumbnailQueue {
    struct Job {
        QString key;
        QString path;
        int side = 0;
    };
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<Job> jobs;
    bool stop = false;
    ImageBrowserModel *owner = nullptr;
};

ImageBrowserModel::ImageBrowserModel(QObject *parent)
    : QAbstractListModel(parent), m_queue(std::make_shared<ThumbnailQueue>())
{
    m_queue->owner = this;
}

ImageBrowserModel::~ImageBrowserModel()
{
    {
        const std::lock_guard<std::mutex> lock(m_queue->mutex);
        m_queue->stop = true;
        m_queue->jobs.clear();
    }
    m_queue->owner = nullptr;
    m_queue->wake.notify_all();
    // A picture being read is bounded by the picture budget, so this wait is short.
    if (m_reader.joinable())
        m_reader.join();
}

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
    // Thumbnails of the old size are no longer wanted.
    {
        const std::lock_guard<std::mutex> lock(m_queue->mutex);
        m_queue->jobs.clear();
    }
    m_pending.clear();
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
        return item.imageTitle();
    case Qt::ToolTipRole: {
        const QString error = m_errors.value(item.path());
        return error.isEmpty() ? item.imageTitle() : item.imageTitle() + QStringLiteral(": ") + error;
    }
    case Qt::DecorationRole:
        return thumbnail(index.row());
    default:
        return {};
    }
}

QString ImageBrowserModel::thumbnailKey(const QString &path) const
{
    return path + QLatin1Char('\n') + QString::number(m_side);
}

QString ImageBrowserModel::thumbnailError(int row) const
{
    return row >= 0 && row < count() ? m_errors.value(m_images.at(row).path()) : QString();
}

QPixmap ImageBrowserModel::thumbnail(int row) const
{
    const MyImageObject &item = m_images.at(row);
    if (item.path().isEmpty()) {
        const QImage picture = item.image();
        return picture.isNull() ? QPixmap()
                                : QPixmap::fromImage(picture.scaled(m_side, m_side, Qt::KeepAspectRatio,
                                                                    Qt::SmoothTransformation));
    }
    const QString key = thumbnailKey(item.path());
    const auto found = m_thumbnails.constFind(key);
    if (found != m_thumbnails.constEnd())
        return *found;
    requestThumbnail(item.path(), key);
    return QPixmap();
}

void ImageBrowserModel::requestThumbnail(const QString &path, const QString &key) const
{
    if (m_pending.contains(key))
        return;
    m_pending.insert(key);
    {
        const std::lock_guard<std::mutex> lock(m_queue->mutex);
        m_queue->jobs.push_back({key, path, m_side});
    }
    m_queue->wake.notify_one();
    if (m_reader.joinable())
        return;
    m_reader = std::thread([queue = m_queue] {
        for (;;) {
            ThumbnailQueue::Job job;
            {
                std::unique_lock<std::mutex> lock(queue->mutex);
                queue->wake.wait(lock, [&] { return queue->stop || !queue->jobs.empty(); });
                if (queue->stop)
                    return;
                job = queue->jobs.front();
                queue->jobs.pop_front();
            }
            QString error;
            QImage image = PictureReader::readThumbnail(job.path, job.side, &error);
            // Fitted into the square, without padding: the title then sits right under the picture.
            if (!image.isNull() && image.width() != job.side && image.height() != job.side)
                image = image.scaled(job.side, job.side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
            GuiThreadQueue::post([queue, job, image, error] {
                if (queue->owner)
                    queue->owner->thumbnailRead(job.key, job.path, image, error);
            });
        }
    });
}

void ImageBrowserModel::thumbnailRead(const QString &key, const QString &path, const QImage &image,
                                      const QString &error)
{
    m_pending.remove(key);
    m_thumbnails.insert(key, image.isNull() ? QPixmap() : QPixmap::fromImage(image));
    if (error.isEmpty())
        m_errors.remove(path);
    else
        m_errors.insert(path, error);
    for (int row = 0; row < count(); ++row) {
        if (m_images.at(row).path() == path)
            emit dataChanged(index(row), index(row), {Qt::DecorationRole, Qt::ToolTipRole});
    }
    emit thumbnailsArrived();
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
