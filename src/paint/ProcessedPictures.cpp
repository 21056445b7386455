#include "paint/ProcessedPictures.h"

#include "paint/ImageProcesser.h"

#include <list>
#include <memory>
#include <mutex>

namespace
{
// A source picture by what it is made of: pixels by their cache key (never given twice in a run),
// recordings and drawings by the object, which the entry holds so that no other takes its address,
// encoded pictures by their source and level.
struct SourceOf {
    qint64 pixels = 0;
    std::shared_ptr<const void> content;
    QSizeF size;
    bool operator==(const SourceOf &) const = default;
};

SourceOf sourceOf(const Picture &picture)
{
    SourceOf s;
    s.size = picture.size();
    if (const PictureDrawing *drawing = picture.drawing())
        s.content = std::shared_ptr<const void>(std::shared_ptr<const void>(), drawing);
    else if (const QPicture *vector = picture.vector())
        s.content = std::shared_ptr<const void>(std::shared_ptr<const void>(), vector);
    else if (picture.encoded())
        s.content = picture.encoded(), s.pixels = picture.level();
    else
        s.pixels = picture.image().cacheKey();
    return s;
}

struct Made {
    SourceOf source;
    ProcessedPictures::Filters filters;
    std::optional<Picture> picture;
    Picture keptSource; // recordings and drawings only
    qint64 bytes = 0;
};

struct MadeTable {
    std::mutex mutex;
    std::list<Made> entries; // most recently used first
    qint64 bytes = 0;
};

MadeTable &madeTable()
{
    static MadeTable table;
    return table;
}

// Under the table's lock: the entry, moved to the front.
const Made *findMade(MadeTable &table, const SourceOf &source, const ProcessedPictures::Filters &filters)
{
    for (auto it = table.entries.begin(); it != table.entries.end(); ++it) {
        if (it->source == source && it->filters == filters) {
            table.entries.splice(table.entries.begin(), table.entries, it);
            return &table.entries.front();
        }
    }
    return nullptr;
}

std::optional<Picture> runChain(const Picture &source, const ProcessedPictures::Filters &f)
{
    // A blur's radius is in pixels of the full picture: one drawn from coarser pixels blurs as much.
    return ImageProcesser::Get_Processed_Image(source, f.grayscale, f.sepia, f.invert, f.hue, f.sat, f.brt,
                                               f.con, f.rotate, f.sharpen, f.exposure,
                                               float(f.blur * source.detailScale()), 0.f);
}

bool changesNothing(const ProcessedPictures::Filters &f)
{
    return f == ProcessedPictures::Filters{};
}
} // namespace

std::optional<Picture> ProcessedPictures::processed(const Picture &source, const Filters &filters)
{
    // Unfiltered, the chain only caps the size: nothing worth keeping.
    if (source.isNull() || changesNothing(filters))
        return runChain(source, filters);
    const SourceOf key = sourceOf(source);
    MadeTable &table = madeTable();
    {
        const std::lock_guard lock(table.mutex);
        if (const Made *made = findMade(table, key, filters))
            return made->picture;
    }
    // Filtered outside the lock: other pictures are filtered meanwhile on other threads.
    const std::optional<Picture> picture = runChain(source, filters);
    // Values that change nothing here (a blur too small, a whole turn) give the source itself:
    // keeping it would keep the source's pixels past its last object.
    if (picture && !source.isVector() && picture->sameContent(ImageProcesser::Set_Dimaension(source)))
        return picture;
    Made made{key, filters, picture, source.isVector() ? source : Picture(), 0};
    if (picture && !picture->isVector())
        made.bytes = picture->image().sizeInBytes();
    const std::lock_guard lock(table.mutex);
    if (const Made *other = findMade(table, key, filters))
        return other->picture;
    if (made.bytes > BudgetBytes)
        return picture;
    table.bytes += made.bytes;
    table.entries.push_front(std::move(made));
    while (table.bytes > BudgetBytes && table.entries.size() > 1) {
        table.bytes -= table.entries.back().bytes;
        table.entries.pop_back();
    }
    return picture;
}

bool ProcessedPictures::isReady(const Picture &source, const Filters &filters)
{
    if (source.isNull())
        return true;
    if (changesNothing(filters))
        return source.isDecoded();
    MadeTable &table = madeTable();
    const std::lock_guard lock(table.mutex);
    return findMade(table, sourceOf(source), filters) != nullptr;
}

void ProcessedPictures::clear()
{
    MadeTable &table = madeTable();
    const std::lock_guard lock(table.mutex);
    table.entries.clear();
    table.bytes = 0;
}
