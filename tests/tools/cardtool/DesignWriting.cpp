#include "DesignWriting.h"

#include "Command.h"

#include "data/ExcelBindingTable.h"
#include "editor/DesignFile.h"

GraphicPtr cardtool::qrCode(const QRectF &box)
{
    GraphicPtr qr = SKTGraphic::create(SKTGraphic::Kind::Barcode);
    qr->setBounds(box);
    qr->linear_or_2d = 1;
    qr->barcode_font_index = 0; // QR Code
    qr->qr_size_val = int(box.width());
    qr->show_hide_hdr = 1;
    qr->show_hide_ftr = 1;
    return qr;
}

bool cardtool::writeDesign(const QString &path, const GraphicList &front, const QString &command)
{
    CardDesign design;
    design.resetPages();
    design.front = front;
    QString error;
    if (!DesignFile::writeItems(path, DesignFileFormat::buildItems(design), &error)) {
        cardtool::fail(command + QStringLiteral(": ") + error);
        return false;
    }
    return true;
}
