#include "paint/ResourcePictures.h"

#include <QDir>
#include <QHash>
#include <mutex>

namespace
{
std::mutex g_mutex;
QHash<QString, std::optional<Picture>> g_cache;
} // namespace

std::optional<Picture> ResourcePictures::load(const QString &path)
{
    if (path.isEmpty())
        return std::nullopt;
    const QString key = QDir::cleanPath(path);
    {
        const std::lock_guard<std::mutex> lock(g_mutex);
        auto it = g_cache.constFind(key);
        if (it != g_cache.constEnd())
            return *it;
    }
    // Read outside the lock; two threads racing on the same first read both get equal pictures.
    Picture p = Picture::fromFile(key);
    std::optional<Picture> value = p.isNull() ? std::nullopt : std::optional<Picture>(p);
    const std::lock_guard<std::mutex> lock(g_mutex);
    auto it = g_cache.constFind(key);
    if (it != g_cache.constEnd())
        return *it;
    g_cache.insert(key, value);
    return value;
}

std::optional<Picture> ResourcePictures::sample(const QString &resourcePath, const QString &fileName)
{
    return load(QDir(resourcePath).filePath(fileName));
}

std::optional<Picture> ResourcePictures::hatch(const QString &resourcePath, const QString &name)
{
    if (name.isEmpty() || name.contains(u'/') || name.contains(u'\\') || name.startsWith(u'.'))
        return std::nullopt;
    return load(
        QDir(resourcePath).filePath(QStringLiteral("%1/%2.png").arg(QLatin1String(HatchFolder), name)));
}
