#include "platform/SharedPictures.h"

#include <QFile>
#include <QHash>

#include <sys/stat.h>

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
