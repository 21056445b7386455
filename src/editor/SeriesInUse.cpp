#include "editor/SeriesInUse.h"

#include "data/SeriesFiles.h"
#include "foundation/CardCodes.h"

#include <QFileInfo>

namespace
{
bool sideBindsSeries(const GraphicList &graphics, const QString &name)
{
    for (const GraphicPtr &g : graphics) {
        if (!g)
            continue;
        const SKTGraphic::Kind k = g->kind();
        if (k != SKTGraphic::Kind::Text && k != SKTGraphic::Kind::Image && k != SKTGraphic::Kind::Barcode)
            continue;
        if (g->data_source_type == DataSourceCode::Series && g->batch_list_name_val() == name)
            return true;
    }
    return false;
}
} // namespace

bool Check_Batch_File_In_Use_Validation(const QString &name, const GraphicList &front,
                                        const GraphicList &back, const QString &cardSideStr,
                                        const QString &dataFolder)
{
    // A name that could not name a series file is not one in use (and must not reach the disk).
    const QString path = SeriesFiles::safePath(dataFolder, name);
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return false;
    if (sideBindsSeries(front, name))
        return true;
    return cardSideStr == QLatin1String("2") && sideBindsSeries(back, name);
}
