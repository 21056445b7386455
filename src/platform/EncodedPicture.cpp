#include "platform/EncodedPicture.h"

#include "platform/PictureReader.h"

#include <QHash>

#include <algorithm>
#include <atomic>
#include <functional>
#include <list>
#include <mutex>

namespace
{
std::atomic<quint64> nextId{1};
std::atomic<qint64> decodingsMade{0};

struct Key {
    quint64 id;
    int level;
    bool operator==(const Key &) const = default;
};

size_t qHash(const Key &key, size_t seed = 0)
{
    return ::qHash(key.id * 16 + quint64(key.level), seed);
}

// A decoding's pixels. Every drawing gets a copy of the one image, never an image of its own over
// the same bits: a PDF writer knows an image by its cache key and embeds it once only when every
// placement draws that same image. The image's reference count tells the cache whether anyone
// still draws with it.
struct Pixels {
    QImage image;
};

bool drawnWith(const Pixels &pixels)
{
    return !pixels.image.isNull() && !pixels.image.isDetached();
}

QImage handedOut(const std::shared_ptr<const Pixels> &pixels)
{
    return pixels ? pixels->image : QImage();
}

// One decoding: made once by the first thread that asks; the others wait on its flag.
struct Slot {
    std::once_flag once;
    std::shared_ptr<const Pixels> pixels;
};

struct DecodeCache {
    std::mutex mutex;
    std::list<std::pair<Key, std::shared_ptr<Slot>>> order; // most recently used first
    QHash<Key, std::list<std::pair<Key, std::shared_ptr<Slot>>>::iterator> places;
    QHash<Key, qint64> bytesOf; // of the slots decoded so far
    qint64 bytes = 0;
    // Decodings let go by the cache while a drawing still held them: found again rather than
    // decoded twice, and counted against the budget until the last holder lets go; forgotten at
    // the next look once none does.
    QHash<Key, std::shared_ptr<const Pixels>> released;
};

DecodeCache &decodeCache()
{
    // Never destroyed: pictures held by other tables kept for the whole run (the filtered pictures)
    // may go after it at exit, and each takes its decodings out of it as it goes.
    static DecodeCache *const cache = new DecodeCache;
    return *cache;
}

// Under the lock: the bytes of released decodings still held, forgetting those no longer held.
qint64 heldBytes(DecodeCache &cache)
{
    qint64 held = 0;
    for (auto it = cache.released.begin(); it != cache.released.end();) {
        if (drawnWith(**it)) {
            held += (*it)->image.sizeInBytes();
            ++it;
        } else {
            it = cache.released.erase(it);
        }
    }
    return held;
}

// Under the lock: the slot of the key, made and put first when missing; a released decoding
// still held fills it at once.
std::shared_ptr<Slot> slotOf(DecodeCache &cache, const Key &key)
{
    const auto found = cache.places.constFind(key);
    if (found != cache.places.constEnd()) {
        cache.order.splice(cache.order.begin(), cache.order, *found);
        return cache.order.front().second;
    }
    // Decodings no drawing holds any longer are freed before another is made.
    heldBytes(cache);
    auto slot = std::make_shared<Slot>();
    if (const auto held = cache.released.take(key)) {
        std::call_once(slot->once, [&] { slot->pixels = held; });
        cache.bytesOf.insert(key, held->image.sizeInBytes());
        cache.bytes += held->image.sizeInBytes();
    }
    cache.order.emplace_front(key, slot);
    cache.places.insert(key, cache.order.begin());
    return slot;
}

// Under the lock: lets the decoding at `it` go, remembering it while a drawing holds it.
void release(DecodeCache &cache, std::list<std::pair<Key, std::shared_ptr<Slot>>>::iterator it)
{
    const Key key = it->first;
    if (it->second->pixels && drawnWith(*it->second->pixels))
        cache.released.insert(key, it->second->pixels);
    cache.bytes -= cache.bytesOf.take(key);
    cache.places.remove(key);
    cache.order.erase(it);
}

// Under the lock: forgets the least recently used decodings until the budget holds the kept ones
// and those still drawn with, freeing those no drawing holds first.
void trim(DecodeCache &cache)
{
    qint64 held = heldBytes(cache);
    for (const bool evenDrawn : {false, true}) {
        auto it = cache.order.end();
        while (cache.bytes + held > EncodedPicture::BudgetBytes && it != cache.order.begin()) {
            const auto victim = std::prev(it);
            if (!cache.bytesOf.contains(victim->first)) { // still being decoded
                it = victim;
                continue;
            }
            const bool drawn = drawnWith(*victim->second->pixels);
            if (drawn && !evenDrawn) {
                it = victim;
                continue;
            }
            if (drawn)
                held += cache.bytesOf.value(victim->first);
            release(cache, victim);
        }
    }
}

// Under the lock: counts a decoding that its slot now holds, if the slot is still kept.
void account(DecodeCache &cache, const Key &key, const QImage &image)
{
    if (!cache.places.contains(key) || cache.bytesOf.contains(key))
        return;
    const qint64 bytes = image.sizeInBytes();
    if (bytes > EncodedPicture::BudgetBytes) {
        release(cache, cache.places.value(key));
        return;
    }
    cache.bytesOf.insert(key, bytes);
    cache.bytes += bytes;
    trim(cache);
}

// The key's slot, filled once by the first caller's make and counted then; later callers, on any
// thread, take what it made.
QImage filledOnce(const Key &key, const std::function<QImage()> &make)
{
    DecodeCache &cache = decodeCache();
    std::shared_ptr<Slot> slot;
    {
        const std::lock_guard lock(cache.mutex);
        slot = slotOf(cache, key);
    }
    // Outside the lock: a thread filling this slot takes the lock when it ends.
    bool filledHere = false;
    std::call_once(slot->once, [&] {
        slot->pixels = std::make_shared<const Pixels>(Pixels{make()});
        filledHere = true;
    });
    // Handed out before the budget is looked at, so that the decoding counts as drawn with.
    QImage out = handedOut(slot->pixels);
    if (filledHere) {
        const std::lock_guard lock(cache.mutex);
        account(cache, key, slot->pixels->image);
    }
    return out;
}

// Levels that give the full pixels are all level 0, so they share one decoding.
int usedLevel(const EncodedPicture &picture, int level)
{
    return picture.pixelsAt(level) == picture.pixelsAt(0) ? 0
                                                          : std::clamp(level, 0, EncodedPicture::MostLevel);
}
} // namespace

EncodedPicture::EncodedPicture(Origin origin, QSize storedPixels, QSize fullPixels, bool turned,
                               qint64 maxPixels)
    : m_origin(std::move(origin)), m_stored(storedPixels), m_full(fullPixels), m_turned(turned),
      m_maxPixels(maxPixels), m_id(nextId++)
{
}

EncodedPicture::~EncodedPicture()
{
    // Its decodings can never be asked for again.
    DecodeCache &cache = decodeCache();
    const std::lock_guard lock(cache.mutex);
    for (int level = 0; level <= MostLevel; ++level) {
        const Key key{m_id, level};
        const auto found = cache.places.constFind(key);
        if (found == cache.places.constEnd())
            continue;
        cache.order.erase(*found);
        cache.places.remove(key);
        cache.bytes -= cache.bytesOf.take(key);
    }
    for (int level = 0; level <= MostLevel; ++level)
        cache.released.remove(Key{m_id, level});
}

QSize EncodedPicture::storedAt(int level) const
{
    if (level <= 0)
        return m_full;
    const int d = 1 << std::min(level, MostLevel);
    const QSize s((m_stored.width() + d - 1) / d, (m_stored.height() + d - 1) / d);
    // A level is a reduction: where it would not be smaller than the full read, the full read is it.
    return qint64(s.width()) * s.height() < qint64(m_full.width()) * m_full.height() ? s : m_full;
}

QSize EncodedPicture::pixelsAt(int level) const
{
    const QSize s = storedAt(level);
    return m_turned ? s.transposed() : s;
}

int EncodedPicture::levelFor(QSize needed) const
{
    for (int level = MostLevel; level > 0; --level) {
        const QSize s = pixelsAt(level);
        if (s != pixelsAt(0) && s.width() >= needed.width() && s.height() >= needed.height())
            return level;
    }
    return 0;
}

QImage EncodedPicture::pixels(int level) const
{
    level = usedLevel(*this, level);
    return filledOnce(Key{m_id, level}, [this, level] {
        ++decodingsMade;
        return PictureReader::decode(m_origin, level > 0 ? storedAt(level) : QSize(), m_maxPixels);
    });
}

bool EncodedPicture::isDecoded(int level) const
{
    level = usedLevel(*this, level);
    DecodeCache &cache = decodeCache();
    const std::lock_guard lock(cache.mutex);
    return cache.bytesOf.contains(Key{m_id, level});
}

std::optional<QImage> EncodedPicture::heldPixels(int level) const
{
    const Key key{m_id, usedLevel(*this, level)};
    DecodeCache &cache = decodeCache();
    const std::lock_guard lock(cache.mutex);
    // Counted only once its slot is filled: the image is no longer written.
    if (!cache.bytesOf.contains(key))
        return std::nullopt;
    const auto place = *cache.places.constFind(key);
    cache.order.splice(cache.order.begin(), cache.order, place);
    return handedOut(place->second->pixels);
}

void EncodedPicture::keep(int level, const QImage &image) const
{
    filledOnce(Key{m_id, usedLevel(*this, level)}, [&image] { return image; });
}

qint64 EncodedPicture::cachedBytes()
{
    DecodeCache &cache = decodeCache();
    const std::lock_guard lock(cache.mutex);
    return cache.bytes;
}

void EncodedPicture::clearCache()
{
    DecodeCache &cache = decodeCache();
    const std::lock_guard lock(cache.mutex);
    cache.order.clear();
    cache.places.clear();
    cache.bytesOf.clear();
    cache.bytes = 0;
    cache.released.clear();
}

qint64 EncodedPicture::decodings()
{
    return decodingsMade;
}
