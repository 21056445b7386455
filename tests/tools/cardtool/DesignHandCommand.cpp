// cardtool design-hand: writes a new design holding texts typed and pictures placed by hand, each
// at the box given in points, and optionally a QR Code bound to a series: a card for checks of
// what output makes of objects that no data row fills.
#include "Command.h"

#include "data/ExcelBindingTable.h"
#include "editor/DesignFile.h"
#include "foundation/CardCodes.h"
#include "model/SKTGraphic.h"
#include "model/SKTImage.h"

#include <optional>

namespace
{
// "X,Y,W,H=VALUE" into the box and the value; nothing when it is not that.
std::optional<std::pair<QRectF, QString>> placed(const QString &text)
{
    const qsizetype equals = text.indexOf(QLatin1Char('='));
    const QStringList numbers = text.left(equals).split(QLatin1Char(','));
    if (equals < 0 || numbers.size() != 4)
        return std::nullopt;
    double v[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        v[i] = numbers[i].toDouble(&ok);
        if (!ok || v[i] < -10000 || v[i] > 10000)
            return std::nullopt;
    }
    return std::pair{QRectF(v[0], v[1], v[2], v[3]), text.mid(equals + 1)};
}
} // namespace

CARDTOOL_COMMAND(designHand, "design-hand",
                 "OUT.dcard [--text X,Y,W,H=TEXT]... [--picture X,Y,W,H=PATH]... [--qr-series NAME]")
{
    QStringList rest = args;
    GraphicList objects;
    QString value, series;
    while (cardtool::takeOption(rest, QStringLiteral("--text"), &value)) {
        const auto box = placed(value);
        if (!box) {
            cardtool::fail(QStringLiteral("design-hand: --text takes X,Y,W,H=TEXT"));
            return 1;
        }
        GraphicPtr text = SKTGraphic::create(SKTGraphic::Kind::Text);
        text->setBounds(box->first);
        text->_isDrawingFill = false;
        text->Text_contents().text = box->second;
        objects << text;
    }
    while (cardtool::takeOption(rest, QStringLiteral("--picture"), &value)) {
        const auto box = placed(value);
        if (!box) {
            cardtool::fail(QStringLiteral("design-hand: --picture takes X,Y,W,H=PATH"));
            return 1;
        }
        GraphicPtr picture = SKTGraphic::create(SKTGraphic::Kind::Image);
        picture->setBounds(box->first);
        static_cast<SKTImage &>(*picture).setFilePath(box->second);
        objects << picture;
    }
    if (cardtool::takeOption(rest, QStringLiteral("--qr-series"), &series)) {
        GraphicPtr qr = SKTGraphic::create(SKTGraphic::Kind::Barcode);
        qr->setBounds(QRectF(20, 70, 60, 60));
        qr->linear_or_2d = 1;
        qr->qr_size_val = 60;
        qr->show_hide_hdr = 1;
        qr->show_hide_ftr = 1;
        qr->data_source_type = DataSourceCode::Series;
        qr->batch_list_name = series;
        objects << qr;
    }
    if (rest.size() != 1 || rest.first().startsWith(QLatin1String("--"))) {
        cardtool::fail(QStringLiteral("design-hand needs one output path"));
        return 1;
    }
    Card_Property front, back;
    DesignFile::resetPageSettings(front, back);
    ExcelBindingTable binding;
    QString error;
    if (!DesignFile::writeItems(rest.first(), DesignFileFormat::buildItems(front, back, binding, objects, {}),
                                &error)) {
        cardtool::fail(error);
        return 1;
    }
    return 0;
}
