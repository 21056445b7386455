// The pictures the filter chain makes, kept so that each picture and set of filter values is
// filtered once, whatever number of objects and threads draw it; the least recently used go first.
#pragma once

#include "platform/Picture.h"

#include <optional>

class ProcessedPictures
{
public:
    // The values a picture object gives the chain (ImageProcesser::Get_Processed_Image).
    struct Filters {
        bool grayscale = false;
        bool sepia = false;
        bool invert = false;
        float hue = 0, sat = 1, brt = 0, con = 1;
        int rotate = 0;
        float sharpen = 0, exposure = 0, blur = 0;
        bool operator==(const Filters &) const = default;
    };

    // The picture through the chain: the one kept, else made now and kept.
    static std::optional<Picture> processed(const Picture &source, const Filters &filters);
    // Whether processed() would answer at once: made already, or nothing to filter.
    static bool isReady(const Picture &source, const Filters &filters);

    // At most this many bytes of filtered pixels are kept.
    static constexpr qint64 BudgetBytes = qint64(384) * 1024 * 1024;
    static void clear();
};
