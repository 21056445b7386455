#include "platform/SharedPictures.h"

#include <QFile>
#include <QHash>

#include <sys/stat.h>

#include <algorithm>
#include <list>
#include <memory>
#include <mutex>

namespace
{
// What is shared: the picture as read. Pictures handed out keep it alive; the table only looks.
struct Decoded {
    Picture picture;
};

struct SharedTable {
    std::mutex mutex;
    QHash<QString, std::weak_ptr<const Decoded>> entries;
};

SharedTable &sharedTable()
{
    static SharedTable table;
    return table;
}

// The file as it is now; empty when it cannot be looked at (the reader then says why).
QString keyOfFile(const QString &path, qint64 maxPixels)
{
    struct stat facts {
    };
    if (::stat(QFile::encodeName(path).constData(), &facts) != 0)
        return {};
    return QStringLiteral("%1\n%2:%3:%4:%5.%6:%7")
        .arg(path)
        .arg(quint64(facts.st_dev))
        .arg(quint64(facts.st_ino))
        .arg(qint64(facts.st_size))
        .arg(qint64(facts.st_mtim.tv_sec))
        .arg(qint64(facts.st_mtim.tv_nsec))
        .arg(maxPixels);
}

Picture handedOut(const std::shared_ptr<const Decoded> &decoded)
{
    return decoded->picture.keepingAlive(decoded);
}
} // namespace

PictureReader::Result SharedPictures::read(const QString &path, qint64 maxPixels)
{
    const QString key = keyOfFile(path, maxPixels);
    if (key.isEmpty())
        return PictureReader::readFile(path, maxPixels);
    SharedTable &table = sharedTable();
    {
        const std::lock_guard lock(table.mutex);
        if (const auto kept = table.entries.value(key).lock())
            return {handedOut(kept), {}};
    }
    // Decoded outside the lock: other files are read meanwhile on other threads.
    PictureReader::Result read = PictureReader::readFile(path, maxPixels);
    if (!read.ok() || read.picture.isNull())
        return read;
    auto decoded = std::make_shared<const Decoded>(Decoded{read.picture});
    const std::lock_guard lock(table.mutex);
    // Another thread may have read the same file meanwhile: the first one kept is shared.
    if (const auto kept = table.entries.value(key).lock())
        return {handedOut(kept), {}};
    for (auto it = table.entries.begin(); it != table.entries.end();)
        it = it->expired() ? table.entries.erase(it) : std::next(it);
    table.entries.insert(key, decoded);
    return {handedOut(decoded), {}};
}

int SharedPictures::liveCount()
{
    SharedTable &table = sharedTable();
    const std::lock_guard lock(table.mutex);
    int live = 0;
    for (const auto &entry : std::as_const(table.entries))
        live += entry.expired() ? 0 : 1;
    return live;
}

struct SharedPictures::Recent::Table {
    // What a picture is made of: its encoded source, recording or drawing, else its pixels.
    struct Key {
        const void *content = nullptr;
        qint64 pixels = 0;
        bool operator==(const Key &) const = default;
    };
    struct Kept {
        Key key;
        Picture picture;
        qint64 bytes = 0;
    };
    std::mutex mutex;
    std::list<Kept> order; // most recently given first
    qint64 bytes = 0;
};

SharedPictures::Recent::Recent() : m_table(std::make_unique<Table>()) {}

SharedPictures::Recent::~Recent() = default;

void SharedPictures::Recent::keep(const Picture &picture)
{
    if (picture.isNull())
        return;
    Table::Key key;
    qint64 bytes = 0;
    if (picture.encoded())
        key.content = picture.encoded().get();
    else if (picture.vector())
        key.content = picture.vector();
    else if (picture.drawing())
        key.content = picture.drawing();
    else
        key.pixels = picture.image().cacheKey(), bytes = picture.image().sizeInBytes();
    Table &t = *m_table;
    const std::lock_guard lock(t.mutex);
    // At most MostKept: a look down the list costs little beside drawing a picture.
    const auto found =
        std::find_if(t.order.begin(), t.order.end(), [&](const Table::Kept &k) { return k.key == key; });
    if (found != t.order.end()) {
        t.order.splice(t.order.begin(), t.order, found);
        return;
    }
    t.order.push_front({key, picture, bytes});
    t.bytes += bytes;
    while (!t.order.empty() && (t.order.size() > size_t(MostKept) || t.bytes > MostKeptBytes)) {
        t.bytes -= t.order.back().bytes;
        t.order.pop_back();
    }
}
