// Fills one card side from one data row and renders it, on a worker's own copy of the plan's
// objects: bound texts, pictures and barcodes take the row's values; the live design is untouched.
#pragma once

#include "barcode/BarcodeResult.h"
#include "barcode/BarcodeSettings.h"
#include "canvas/SKTRenderingView.h"
#include "output/OwnBarcodePicture.h"
#include "output/RunPlan.h"
#include "platform/Picture.h"

#include <QImage>
#include <QSet>

#include <functional>
#include <memory>
#include <optional>

class BatchFiller
{
public:
    // Makes a barcode picture from settings, value, header and footer, or says why it cannot.
    using BarcodeMaker = OwnBarcodePicture::Maker;

    BatchFiller(std::shared_ptr<const RunPlan> plan, double dpi,
                BarcodeMaker barcodeMaker = OwnBarcodePicture::batchRoad());

    // Fills side "F" (any other text: the back) from row (from 0) and renders it at the filler's
    // resolution. A null image and *error when a bound value could not be applied or drawn, so a
    // failed row is never written with another row's values.
    QImage Set_data_table_value_to_card(int row, const QString &card_side, bool print_box, QString *error);

    // Puts row's values into the bound objects of graphics, a copy of the plan's side (back or
    // front) in its order; false with *error on the first object that could not take its value
    // (objects already filled keep their new values).
    // A bound picture that cannot be read does not fail the row: the card goes without it and a
    // note says so (takeNotes).
    bool Assign_Batch_Values_To_Control(GraphicList &graphics, bool back, int row, QString *error);

    // The notes of the rows filled since the last call, each once; the list is emptied.
    QStringList takeNotes();

    // The side as the design holds it, without filling (single export).
    QImage renderUnfilled(bool back, QString *error);

    // Objects drawn over the design's page of a side (1 the back) on its card at dpi; objects
    // flagged not to print are left out, and so are those in leaveOut. With a canvas, the image
    // is drawn into it when nobody else holds it.
    // With a page (the side's, at dpi), the card starts from it instead of drawing it.
    static QImage renderSide(const DesignSettings &design, int side, const GraphicList &graphics,
                             const QString &resourcePath, double dpi,
                             const QSet<const SKTGraphic *> &leaveOut = {}, QImage *canvas = nullptr,
                             const SKTRenderingView::Page *page = nullptr);

    // The bound barcodes the last filled row gave no value: a side drawn from the filled objects
    // leaves them out.
    const QSet<const SKTGraphic *> &blankBarcodes() const { return m_blankBarcodes; }
    const GraphicList &frontGraphics() const { return m_front; }
    const GraphicList &backGraphics() const { return m_back; }

private:
    std::shared_ptr<const RunPlan> m_plan;
    double m_dpi;
    BarcodeMaker m_barcodeMaker;
    GraphicList m_front; // this filler's own copies
    GraphicList m_back;
    QSet<const SKTGraphic *> m_blankBarcodes; // bound barcodes with no value on the current row
    QStringList m_notes;
    QImage m_frontCanvas; // drawn over card after card once the last card's image is let go
    QImage m_backCanvas;
    // The design's page of each side, drawn once for the run: rows never change it.
    std::shared_ptr<const SKTRenderingView::Page> m_frontPage;
    std::shared_ptr<const SKTRenderingView::Page> m_backPage;
};
