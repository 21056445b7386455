#include "output/BatchFiller.h"

#include "canvas/SKTRenderingView.h"
#include "foundation/CardCodes.h"
#include "model/SKTImage.h"
#include "output/BatchBarcodeSettings.h"
#include "output/OwnBarcodePicture.h"
#include "platform/Units.h"

#include <QPainter>

#include <cmath>
#include <exception>

BatchFiller::BatchFiller(std::shared_ptr<const RunPlan> plan, double dpi, BarcodeMaker barcodeMaker)
    : m_plan(std::move(plan)), m_dpi(dpi > 0 ? dpi : Units::PointsPerInch),
      m_barcodeMaker(std::move(barcodeMaker))
{
    m_front = CardDesign::cloneList(m_plan->design().front);
    m_back = CardDesign::cloneList(m_plan->design().back);
    // A barcode without a picture of its own (a design written elsewhere) is drawn from its own
    // settings, as the canvas draws it; a bound one is made on each row.
    for (const GraphicList *side : {&m_front, &m_back})
        for (const GraphicPtr &g : *side)
            if (g && OwnBarcodePicture::lacksPicture(*g))
                if (const std::optional<Picture> picture = OwnBarcodePicture::of(*g, m_barcodeMaker))
                    g->Set_Barcode_image(picture);
}

bool BatchFiller::Assign_Batch_Values_To_Control(GraphicList &graphics, bool back, int row, QString *error)
{
    m_blankBarcodes.clear();
    for (qsizetype i = 0; i < graphics.size(); ++i) {
        const GraphicPtr &g = graphics.at(i);
        if (!g || !RunPlan::isBindable(*g))
            continue;
        const std::optional<QString> bound = m_plan->valueOf(back, int(i), row);
        if (!bound)
            continue;
        const QString &value = *bound;
        switch (g->kind()) {
        case SKTGraphic::Kind::Text: {
            // One replacement of the whole text keeps its font, size and colour.
            g->Text_contents().text = value;
            break;
        }
        case SKTGraphic::Kind::Image: {
            auto *image = static_cast<SKTImage *>(g.get());
            image->setFilePath(value);
            if (image->_contents)
                m_plan->keepFilledPicture(*image->_contents);
            if (!value.isEmpty() && (!image->_contents || image->_contents->isNull())) {
                const QString note =
                    QStringLiteral("the picture \"%1\" could not be read; the card was written without it.")
                        .arg(value);
                if (!m_notes.contains(note))
                    m_notes.append(note);
            }
            break;
        }
        case SKTGraphic::Kind::Barcode: {
            // Each barcode is made with its own settings on every row, never with those of the
            // barcode loaded last.
            const BarcodeSettings settings = BatchBarcodeSettings::Set_Barcode_Prop_To_Control(*g);
            std::optional<Picture> picture;
            if (!value.isEmpty()) {
                const BarcodeResult made =
                    m_barcodeMaker ? m_barcodeMaker(settings, value, g->header_val.value_or(QString()),
                                                    g->footer_val.value_or(QString()))
                                   : BarcodeResult{};
                if (!made.ok()) {
                    const QString title = settings.symbologyTitle.isEmpty() ? QStringLiteral("unknown")
                                                                            : settings.symbologyTitle;
                    *error = QStringLiteral("no %1 barcode could be made from \"%2\"").arg(title, value);
                    if (!made.message.isEmpty())
                        *error += QStringLiteral(": ") + made.message;
                    return false;
                }
                picture = made.picture;
            }
            g->Set_Barcode_image(picture);
            // A row without a value shows no barcode (not a stand-in picture).
            if (!picture)
                m_blankBarcodes.insert(g.get());
            break;
        }
        default:
            break;
        }
    }
    return true;
}

QStringList BatchFiller::takeNotes()
{
    QStringList notes;
    notes.swap(m_notes);
    return notes;
}

QImage BatchFiller::Set_data_table_value_to_card(int row, const QString &card_side, bool print_box,
                                                 QString *error)
{
    Q_UNUSED(print_box); // pictures are pixels either way; the flag only matters to printing
    const bool back = card_side != SideCode::Front;
    GraphicList &graphics = back ? m_back : m_front;
    const CardDesign &d = m_plan->design();
    QString reason;
    try {
        if (!Assign_Batch_Values_To_Control(graphics, back, row, &reason)) {
            if (error)
                *error = reason;
            return {};
        }
        const QString &resources = m_plan->folders().resources;
        QImage &canvas = back ? m_backCanvas : m_frontCanvas;
        std::shared_ptr<const SKTRenderingView::Page> &page = back ? m_backPage : m_frontPage;
        if (!page)
            page = m_plan->sharedPage(back, m_dpi, [&] {
                // Drawn in this worker's canvas, which its first card then draws over.
                return SKTRenderingView::pageOfSide(RenderSide::of(d, back ? 1 : 0, {}, resources), m_dpi,
                                                    canvas);
            });
        QImage image =
            renderSide(d, back ? 1 : 0, graphics, resources, m_dpi, m_blankBarcodes, &canvas, page.get());
        if (image.isNull() && error)
            *error = QStringLiteral("the card could not be drawn.");
        return image;
    } catch (const std::exception &e) {
        if (error)
            *error = QString::fromUtf8(e.what());
    }
    return {};
}

QImage BatchFiller::renderUnfilled(bool back, QString *error)
{
    const CardDesign &d = m_plan->design();
    QImage image = renderSide(d, back ? 1 : 0, back ? m_back : m_front, m_plan->folders().resources, m_dpi);
    if (image.isNull() && error)
        *error = QStringLiteral("the card could not be drawn.");
    return image;
}

QImage BatchFiller::renderSide(const DesignSettings &design, int sideOfCard, const GraphicList &graphics,
                               const QString &resourcePath, double dpi,
                               const QSet<const SKTGraphic *> &leaveOut, QImage *canvas,
                               const SKTRenderingView::Page *page)
{
    GraphicList drawn;
    for (const GraphicPtr &g : graphics)
        if (g && !leaveOut.contains(g.get()))
            drawn.append(g);
    const RenderSide side = RenderSide::of(design, sideOfCard, std::move(drawn), resourcePath);
    if (!canvas)
        return SKTRenderingView::imageOfSide(side, dpi);
    if (!page)
        return SKTRenderingView::imageOfSide(side, dpi, *canvas);
    return SKTRenderingView::imageOfSide(side, dpi, *canvas, *page);
}
