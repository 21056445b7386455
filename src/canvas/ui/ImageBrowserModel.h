// The pictures of one browser, in display order, with thumbnails made on first show. Items are
// added and reordered by their owner; the user can reorder them but never remove them.
#pragma once

#include "canvas/ui/MyImageObject.h"

#include <QAbstractListModel>
#include <QHash>
#include <QList>
#include <QPixmap>
#include <QSet>

#include <memory>
#include <thread>

struct ThumbnailQueue;

class ImageBrowserModel : public QAbstractListModel
{
    Q_OBJECT
public:
    explicit ImageBrowserModel(QObject *parent = nullptr);
    ~ImageBrowserModel() override;

    // Full paths of the pictures a browser lists from a folder: files whose extension is "png"
    // or "jpg" in any letter case, by name. Empty for a missing folder.
    static QStringList pictureFilesIn(const QString &folder);

    // Empties the list and adds the folder's pictures, each titled and identified by its file
    // name. A path that is not a folder changes nothing and answers false.
    bool fillFromFolder(const QString &folder);

    // Adds one item from a path trimmed of blanks and line breaks; an empty path adds nothing.
    void addImageWithPath(const QString &path, const QString &imageName, const QString &image_UID);
    void clear();

    // Takes the items at `indexes` out and puts them back as one run, in their order, at `toIndex`
    // counted before the move. Always succeeds.
    bool moveItemsAtIndexes(QList<int> indexes, int toIndex);

    int count() const { return int(m_images.size()); }
    const MyImageObject &item(int index) const { return m_images.at(index); }
    const QList<MyImageObject> &images() const { return m_images; }

    // Thumbnails of files are read on a thread of the browser's own, so a slow or hostile picture
    // never stops the window: a row shows no picture until its thumbnail arrives.
    void setThumbnailSide(int pixels);
    // Whether thumbnails asked for are still being read.
    bool thumbnailsPending() const { return !m_pending.isEmpty(); }
    // Why the row's picture could not be shown ("" when it was, or is not read yet).
    QString thumbnailError(int row) const;

signals:
    void thumbnailsArrived();

public:
    static inline const QString RowsMimeType = QStringLiteral("application/x-tessaly-browser-rows");

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    Qt::DropActions supportedDropActions() const override { return Qt::MoveAction; }
    Qt::DropActions supportedDragActions() const override { return Qt::MoveAction; }
    QStringList mimeTypes() const override { return {RowsMimeType}; }
    // Only the row numbers, in a type of this program: nothing other programs could take.
    QMimeData *mimeData(const QModelIndexList &indexes) const override;
    bool canDropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                         const QModelIndex &parent) const override;
    bool dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                      const QModelIndex &parent) override;
    // Removing is refused: the list keeps every picture.
    bool removeRows(int, int, const QModelIndex & = QModelIndex()) override { return false; }

private:
    QPixmap thumbnail(int row) const;
    QString thumbnailKey(const QString &path) const;
    void requestThumbnail(const QString &path, const QString &key) const;
    void thumbnailRead(const QString &key, const QString &path, const QImage &image, const QString &error);

    QList<MyImageObject> m_images;
    int m_side = 128;
    mutable QHash<QString, QPixmap> m_thumbnails; // by path and side
    QHash<QString, QString> m_errors;             // by path: why it shows no picture
    mutable QSet<QString> m_pending;              // keys being read
    std::shared_ptr<ThumbnailQueue> m_queue;
    mutable std::thread m_reader; // started on the first thumbnail asked for
};
