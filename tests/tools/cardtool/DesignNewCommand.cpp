// cardtool design-new: writes the design a New command leaves: reset page settings, empty sides,
// no Excel binding; --qr-series adds a QR Code on the front bound to a series, --qr-column one bound
// to the workbook column of that heading, which is what a batch run needs to be driven from outside.
#include "Command.h"

#include "data/ExcelBindingTable.h"
#include "editor/DesignFile.h"
#include "foundation/CardCodes.h"
#include "model/SKTGraphic.h"

CARDTOOL_COMMAND(designNew, "design-new", "OUT.dcard [--qr-series NAME | --qr-column HEADING]")
{
    QStringList rest = args;
    QString series, heading;
    const bool toColumn = cardtool::takeOption(rest, QStringLiteral("--qr-column"), &heading);
    const bool bound = cardtool::takeOption(rest, QStringLiteral("--qr-series"), &series) || toColumn;
    if (rest.size() != 1 || (bound && series.isEmpty() && heading.isEmpty())) {
        cardtool::fail(QStringLiteral("design-new needs one output path"));
        return 1;
    }
    Card_Property front, back;
    DesignFile::resetPageSettings(front, back);
    GraphicList objects;
    if (bound) {
        GraphicPtr qr = SKTGraphic::create(SKTGraphic::Kind::Barcode);
        qr->setBounds(QRectF(20, 20, 60, 60));
        qr->linear_or_2d = 1;
        qr->barcode_font_index = 0; // QR Code
        qr->qr_size_val = 60;
        qr->show_hide_hdr = 1;
        qr->show_hide_ftr = 1;
        if (toColumn) {
            qr->data_source_type = DataSourceCode::BindingColumn;
            qr->Set_Excel_binding_Column(0, heading);
        } else {
            qr->data_source_type = DataSourceCode::Series;
            qr->batch_list_name = series;
        }
        objects << qr;
    }
    ExcelBindingTable binding;
    const plist::Array items = DesignFileFormat::buildItems(front, back, binding, objects, {});
    QString error;
    if (!DesignFile::writeItems(rest.first(), items, &error)) {
        cardtool::fail(error);
        return 1;
    }
    return 0;
}
