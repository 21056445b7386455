#include "output/BatchCardRenderer.h"

#include "foundation/CardCodes.h"

#include <exception>

BatchCardRenderer::BatchCardRenderer(std::shared_ptr<const RunPlan> plan, double dpi, bool fill,
                                     BatchFiller::BarcodeMaker barcodeMaker)
    : m_plan(plan), m_filler(std::move(plan), dpi, std::move(barcodeMaker)), m_fill(fill)
{
}

QImage BatchCardRenderer::renderSide(int row, bool back, QString *error)
{
    if (!m_fill)
        return m_filler.renderUnfilled(back, error);
    return m_filler.Set_data_table_value_to_card(
        row, back ? QString(SideCode::Back) : QString(SideCode::Front), false, error);
}

std::optional<RenderSide> BatchCardRenderer::sideOf(int row, bool back, QString *error)
{
    const CardDesign &d = m_plan->design();
    // The same objects renderSide fills and draws: the filler's own copies.
    GraphicList graphics = back ? m_filler.backGraphics() : m_filler.frontGraphics();
    try {
        QString reason;
        if (m_fill && !m_filler.Assign_Batch_Values_To_Control(graphics, back, row, &reason)) {
            if (error)
                *error = reason;
            return std::nullopt;
        }
        const QSet<const SKTGraphic *> blank = m_fill ? m_filler.blankBarcodes() : QSet<const SKTGraphic *>();
        GraphicList drawn;
        for (const GraphicPtr &g : graphics)
            if (g && !blank.contains(g.get()))
                drawn.append(g->clone());
        return RenderSide::of(d, back ? 1 : 0, std::move(drawn), m_plan->folders().resources);
    } catch (const std::exception &e) {
        if (error)
            *error = QString::fromUtf8(e.what());
    }
    return std::nullopt;
}

CardRendererFactory BatchCardRenderer::factory(std::shared_ptr<const RunPlan> plan, double dpi, bool fill,
                                               BatchFiller::BarcodeMaker barcodeMaker)
{
    return [plan = std::move(plan), dpi, fill, barcodeMaker = std::move(barcodeMaker)]() {
        return std::make_unique<BatchCardRenderer>(plan, dpi, fill, barcodeMaker);
    };
}
