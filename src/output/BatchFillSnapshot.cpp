#include "output/BatchFillSnapshot.h"

#include "model/SKTDocument.h"

GraphicList BatchFillSnapshot::cloneList(const GraphicList &graphics)
{
    GraphicList out;
    out.reserve(graphics.size());
    for (const GraphicPtr &g : graphics)
        if (g)
            out.append(g->clone());
    return out;
}

bool BatchFillSnapshot::isBindable(const SKTGraphic &graphic)
{
    const SKTGraphic::Kind k = graphic.kind();
    return k == SKTGraphic::Kind::Text || k == SKTGraphic::Kind::Image || k == SKTGraphic::Kind::Barcode;
}

BatchFillSnapshot::Design BatchFillSnapshot::designOf(const Sources &sources)
{
    Design design;
    design.front = sources.document.graphics();
    design.back = sources.document.graphics_back();
    design.frontPage = sources.frontPage;
    design.backPage = sources.backPage;
    design.cardShape = sources.cardShape;
    design.CARD_SIDE_STR = sources.frontPage.Card_Side;
    const auto usable = [](const QSizeF &size) { return size.isValid() && !size.isEmpty(); };
    const QSizeF card = usable(sources.canvasSize) ? sources.canvasSize : sources.frontPage.Card_Size;
    if (usable(card))
        design.cardArea = QRectF(QPointF(0, 0), card);
    design.resourcePath = sources.resourcePath;
    design.dataFolder = sources.dataFolder;
    design.excelRows = sources.binding.ListData();
    design.excelTitles = sources.binding.columnTitles();
    design.excelSheetRows = sources.binding.sheetRows();
    if (sources.binding.sourceFacts.isKnown())
        design.excelRowsAbove = sources.binding.sourceFacts.firstRow;
    design.excelUncomputed = sources.binding.uncomputedFormulas();
    return design;
}

QList<BoundObjectInfo> BatchFillSnapshot::describe(const GraphicList &graphics)
{
    QList<BoundObjectInfo> out;
    out.reserve(graphics.size());
    for (const GraphicPtr &g : graphics) {
        if (!g)
            continue;
        BoundObjectInfo info;
        switch (g->kind()) {
        case SKTGraphic::Kind::Text:
            info.kind = BoundKind::Text;
            break;
        case SKTGraphic::Kind::Image:
            info.kind = BoundKind::Image;
            break;
        case SKTGraphic::Kind::Barcode:
            info.kind = BoundKind::Barcode;
            break;
        default:
            info.kind = BoundKind::Other;
            break;
        }
        info.data_source_type = g->data_source_type;
        info.batch_list_name = g->batch_list_name_val();
        info.excel_col_indx = g->excel_col_indx;
        out.append(info);
    }
    return out;
}
