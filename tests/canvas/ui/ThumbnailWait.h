// What a picture browser shows of a row, and waiting until every row shows its thumbnail or knows
// why it has none. Asking for a row's picture is what starts its reading.
#pragma once

#include "canvas/ui/ImageBrowserModel.h"

#include <QPixmap>

namespace thumbnails
{
inline QPixmap shown(const ImageBrowserModel &model, int row)
{
    return model.data(model.index(row), Qt::DecorationRole).value<QPixmap>();
}

inline bool settled(const ImageBrowserModel &model)
{
    for (int row = 0; row < model.count(); ++row) {
        if (shown(model, row).isNull() && model.thumbnailError(row).isEmpty())
            return false;
    }
    return true;
}
} // namespace thumbnails
