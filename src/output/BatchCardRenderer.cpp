#include "output/BatchCardRenderer.h"

#include "foundation/CardCodes.h"

BatchCardRenderer::BatchCardRenderer(std::shared_ptr<const BatchFillSnapshot> snapshot, double dpi, bool fill,
                                     BatchFiller::BarcodeMaker barcodeMaker)
    : m_filler(std::move(snapshot), dpi, std::move(barcodeMaker)), m_fill(fill)
{
}

QImage BatchCardRenderer::renderSide(int row, bool back, QString *error)
{
    if (!m_fill)
        return m_filler.renderUnfilled(back, error);
    return m_filler.Set_data_table_value_to_card(
        row, back ? QString(SideCode::Back) : QString(SideCode::Front), false, error);
}

CardRendererFactory BatchCardRenderer::factory(std::shared_ptr<const BatchFillSnapshot> snapshot, double dpi,
                                               bool fill, BatchFiller::BarcodeMaker barcodeMaker)
{
    return [snapshot = std::move(snapshot), dpi, fill, barcodeMaker = std::move(barcodeMaker)]() {
        return std::make_unique<BatchCardRenderer>(snapshot, dpi, fill, barcodeMaker);
    };
}
