// cardtool design-hand: writes a new design holding texts typed, pictures, rectangles and barcodes
// placed by hand, each at the box given in points, pictures whose files a series names, and
// optionally a QR Code bound to a series: a card for checks of what output and editing make of
// objects.
#include "Command.h"
#include "DesignWriting.h"

#include "barcode/BarcodeSettings.h"
#include "foundation/CardCodes.h"
#include "model/SKTGraphic.h"
#include "model/SKTImage.h"

#include <algorithm>
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

GraphicPtr handText(const QRectF &box, const QString &words)
{
    GraphicPtr text = SKTGraphic::create(SKTGraphic::Kind::Text);
    text->setBounds(box);
    text->_isDrawingFill = false;
    text->Text_contents().text = words;
    return text;
}

GraphicPtr handPicture(const QRectF &box, const QString &path)
{
    GraphicPtr picture = SKTGraphic::create(SKTGraphic::Kind::Image);
    picture->setBounds(box);
    static_cast<SKTImage &>(*picture).setFilePath(path);
    return picture;
}

// A picture whose file each row names in the series.
GraphicPtr boundPicture(const QRectF &box, const QString &series)
{
    GraphicPtr picture = SKTGraphic::create(SKTGraphic::Kind::Image);
    picture->setBounds(box);
    picture->data_source_type = DataSourceCode::Series;
    picture->batch_list_name = series;
    return picture;
}

// A rectangle from "FILL;STROKE;WIDTH;STYLE" (#rrggbb colours, a border-style code such as S or DA).
GraphicPtr handRectangle(const QRectF &box, const QString &look)
{
    const QStringList parts = look.split(QLatin1Char(';'));
    GraphicPtr rect = SKTGraphic::create(SKTGraphic::Kind::Shape);
    rect->setBounds(box);
    rect->_isDrawingFill = true;
    rect->_fillColor = QColor(parts.value(0));
    rect->_isDrawingStroke = true;
    rect->_strokeColor = QColor(parts.value(1));
    rect->_strokeWidth = parts.value(2).toDouble();
    rect->_stroke_border_type = parts.value(3, QStringLiteral("S"));
    return rect;
}

// A barcode of the value ("VALUE;TYPE" names its type, Code 39 otherwise), its picture left for
// the program to make.
GraphicPtr handBarcode(const QRectF &box, const QString &given)
{
    GraphicPtr barcode = SKTGraphic::create(SKTGraphic::Kind::Barcode);
    barcode->setBounds(box);
    const qsizetype split = given.lastIndexOf(QLatin1Char(';'));
    const QString title = split >= 0 ? given.mid(split + 1) : QString();
    const QString value = split >= 0 ? given.left(split) : given;
    const bool twoD = BarcodeSettings::twoDTitles().contains(title);
    barcode->linear_or_2d = twoD ? 1 : 0;
    barcode->barcode_font_index = std::max(
        0, int((twoD ? BarcodeSettings::twoDTitles() : BarcodeSettings::linearTitles()).indexOf(title)));
    (twoD ? barcode->two_d_font_val : barcode->linear_font_val) = value;
    return barcode;
}

// Takes every "option X,Y,W,H=VALUE", making an object of each; false after saying which is wrong.
bool takePlaced(QStringList &rest, const char *option, const char *value, GraphicList &objects,
                GraphicPtr (*make)(const QRectF &, const QString &))
{
    QString given;
    while (cardtool::takeOption(rest, QString::fromLatin1(option), &given)) {
        const auto box = placed(given);
        if (!box) {
            cardtool::fail(QStringLiteral("design-hand: %1 takes X,Y,W,H=%2").arg(option, value));
            return false;
        }
        objects << make(box->first, box->second);
    }
    return true;
}
} // namespace

CARDTOOL_COMMAND(
    designHand, "design-hand",
    "OUT.dcard [--text X,Y,W,H=TEXT]... [--picture X,Y,W,H=PATH]... [--picture-series X,Y,W,H=NAME]... "
    "[--rect X,Y,W,H=FILL;STROKE;WIDTH;STYLE]... [--barcode X,Y,W,H=VALUE[;TYPE]]... [--qr-series NAME] "
    "[--text-series NAME]")
{
    QStringList rest = args;
    GraphicList objects;
    if (!takePlaced(rest, "--text", "TEXT", objects, handText) ||
        !takePlaced(rest, "--picture", "PATH", objects, handPicture) ||
        !takePlaced(rest, "--picture-series", "NAME", objects, boundPicture) ||
        !takePlaced(rest, "--rect", "FILL;STROKE;WIDTH;STYLE", objects, handRectangle) ||
        !takePlaced(rest, "--barcode", "VALUE", objects, handBarcode))
        return 1;
    QString series;
    if (cardtool::takeOption(rest, QStringLiteral("--qr-series"), &series)) {
        GraphicPtr qr = cardtool::qrCode(QRectF(20, 70, 60, 60));
        qr->data_source_type = DataSourceCode::Series;
        qr->batch_list_name = series;
        objects << qr;
    }
    // A text each row fills, which the words of a printed sheet read back.
    if (cardtool::takeOption(rest, QStringLiteral("--text-series"), &series)) {
        GraphicPtr text = handText(QRectF(20, 20, 200, 30), series);
        text->data_source_type = DataSourceCode::Series;
        text->batch_list_name = series;
        objects << text;
    }
    if (rest.size() != 1 || rest.first().startsWith(QLatin1String("--"))) {
        cardtool::fail(QStringLiteral("design-hand needs one output path"));
        return 1;
    }
    return cardtool::writeDesign(rest.first(), objects, QStringLiteral("design-hand")) ? 0 : 1;
}
