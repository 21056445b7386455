// The card renderer of real designs: each worker gets its own filler over the shared snapshot,
// filling the row's values into its own copies of the objects before drawing a side.
#pragma once

#include "output/BatchFiller.h"
#include "output/CardRenderer.h"

class BatchCardRenderer : public CardRenderer
{
public:
    // fill: false draws the design as it stands (single export), true fills each row first.
    BatchCardRenderer(std::shared_ptr<const BatchFillSnapshot> snapshot, double dpi, bool fill,
                      BatchFiller::BarcodeMaker barcodeMaker = BatchFiller::defaultBarcodeMaker());

    QImage renderSide(int row, bool back, QString *error) override;
    QStringList takeNotes() override { return m_filler.takeNotes(); }

    // One renderer per worker thread.
    static CardRendererFactory
    factory(std::shared_ptr<const BatchFillSnapshot> snapshot, double dpi, bool fill,
            BatchFiller::BarcodeMaker barcodeMaker = BatchFiller::defaultBarcodeMaker());

private:
    BatchFiller m_filler;
    bool m_fill;
};
