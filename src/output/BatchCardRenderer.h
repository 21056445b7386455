// The card renderer of real designs: each worker gets its own filler over the shared plan,
// filling the row's values into its own copies of the objects before drawing a side.
#pragma once

#include "canvas/RenderSide.h"
#include "output/BatchFiller.h"
#include "output/CardRenderer.h"
#include "output/OwnBarcodePicture.h"

#include <optional>

class BatchCardRenderer : public CardRenderer
{
public:
    // fill: false draws the design as it stands (single export), true fills each row first.
    BatchCardRenderer(std::shared_ptr<const RunPlan> plan, double dpi, bool fill,
                      BatchFiller::BarcodeMaker barcodeMaker = OwnBarcodePicture::batchRoad());

    QImage renderSide(int row, bool back, QString *error) override;
    QStringList takeNotes() override { return m_filler.takeNotes(); }

    // The side of a row as what it is made of, for drawing on a vector device (printing): copies
    // of the objects filled with the row's values, the page and the card's exact size. The copies
    // are the caller's, so the next row can be filled while they are drawn. Nullopt and *error
    // when a value could not be applied, as renderSide gives no picture then.
    std::optional<RenderSide> sideOf(int row, bool back, QString *error);

    // One renderer per worker thread.
    static CardRendererFactory
    factory(std::shared_ptr<const RunPlan> plan, double dpi, bool fill,
            BatchFiller::BarcodeMaker barcodeMaker = OwnBarcodePicture::batchRoad());

private:
    std::shared_ptr<const RunPlan> m_plan;
    BatchFiller m_filler;
    bool m_fill;
};
