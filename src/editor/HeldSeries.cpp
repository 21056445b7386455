#include "editor/HeldSeries.h"

#include "data/SeriesEditing.h"
#include "data/SeriesFiles.h"
#include "foundation/CardCodes.h"

#include <QFileInfo>

namespace
{
void addSeriesBoundOn(const GraphicList &graphics, QStringList &names)
{
    for (const GraphicPtr &g : graphics) {
        if (!g || g->data_source_type != DataSourceCode::Series)
            continue;
        const SKTGraphic::Kind k = g->kind();
        if (k != SKTGraphic::Kind::Text && k != SKTGraphic::Kind::Image && k != SKTGraphic::Kind::Barcode)
            continue;
        if (!names.contains(g->batch_list_name_val()))
            names << g->batch_list_name_val();
    }
}
} // namespace

HeldSeries::HeldSeries() = default;

HeldSeries::~HeldSeries() = default;

void HeldSeries::follow(const GraphicList &front, const GraphicList &back, const QString &cardSideStr,
                        const QString &dataFolder)
{
    if (dataFolder != m_folder) {
        m_held.clear();
        m_folder = dataFolder;
    }
    const QStringList bound = HeldSeries::bound(front, back, cardSideStr);
    for (auto it = m_held.begin(); it != m_held.end();)
        it = bound.contains(it->first) ? std::next(it) : m_held.erase(it);
    for (const QString &name : bound) {
        // A series whose file is gone, or whose name leads out of the folder, is not held.
        const QString path = SeriesFiles::safePath(dataFolder, name);
        if (m_held.count(name) || path.isEmpty() || !QFileInfo(path).isFile())
            continue;
        auto editing = std::make_unique<SeriesEditing>(dataFolder, name);
        if (editing->holdsLock())
            m_held.emplace(name, std::move(editing));
    }
}

QStringList HeldSeries::bound(const GraphicList &front, const GraphicList &back, const QString &cardSideStr)
{
    QStringList names;
    addSeriesBoundOn(front, names);
    if (cardSideStr == QLatin1String("2"))
        addSeriesBoundOn(back, names);
    return names;
}

QStringList HeldSeries::held() const
{
    QStringList names;
    for (const auto &entry : m_held)
        names << entry.first;
    return names;
}
