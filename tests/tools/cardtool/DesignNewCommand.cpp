// cardtool design-new: writes the design a New command leaves: reset page settings, empty sides,
// no Excel binding; --qr-series adds a QR Code on the front bound to a series, --qr-column one bound
// to the workbook column of that heading, which is what a batch run needs to be driven from outside;
// --qr-text one of that typed value saved without its picture, as a design written elsewhere keeps it.
#include "Command.h"
#include "DesignWriting.h"

#include "foundation/CardCodes.h"

CARDTOOL_COMMAND(designNew, "design-new",
                 "OUT.dcard [--qr-series NAME | --qr-column HEADING | --qr-text TEXT]")
{
    QStringList rest = args;
    QString series, heading, text;
    if (cardtool::takeOption(rest, QStringLiteral("--qr-text"), &text)) {
        GraphicPtr qr = cardtool::qrCode(QRectF(20, 20, 100, 100));
        qr->two_d_font_val = text;
        if (rest.size() != 1 || text.isEmpty()) {
            cardtool::fail(QStringLiteral("design-new needs one output path and a text"));
            return 1;
        }
        return cardtool::writeDesign(rest.first(), {qr}, QStringLiteral("design-new")) ? 0 : 1;
    }
    const bool toColumn = cardtool::takeOption(rest, QStringLiteral("--qr-column"), &heading);
    const bool bound = cardtool::takeOption(rest, QStringLiteral("--qr-series"), &series) || toColumn;
    if (rest.size() != 1 || (bound && series.isEmpty() && heading.isEmpty())) {
        cardtool::fail(QStringLiteral("design-new needs one output path"));
        return 1;
    }
    GraphicList objects;
    if (bound) {
        GraphicPtr qr = cardtool::qrCode(QRectF(20, 20, 60, 60));
        if (toColumn) {
            qr->data_source_type = DataSourceCode::BindingColumn;
            qr->Set_Excel_binding_Column(0, heading);
        } else {
            qr->data_source_type = DataSourceCode::Series;
            qr->batch_list_name = series;
        }
        objects << qr;
    }
    return cardtool::writeDesign(rest.first(), objects, QStringLiteral("design-new")) ? 0 : 1;
}
