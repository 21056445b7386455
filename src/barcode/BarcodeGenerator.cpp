#include "barcode/BarcodeGenerator.h"

#include "barcode/BarcodeDrawing.h"
#include "barcode/BarcodePicture.h"
#include "barcode/BarcodeRules.h"
#include "barcode/BarcodeSizing.h"
#include "barcode/BarcodeText.h"
#include "barcode/JapanPostBarcode.h"
#include "barcode/NKDBarcodeOffscreenView.h"
#include "barcode/NKDCodabarBarcode.h"
#include "barcode/NKDCode128Barcode.h"
#include "barcode/NKDEAN8Barcode.h"
#include "barcode/NKDExtendedCode39Barcode.h"
#include "barcode/NKDIndustrialTwoOfFiveBarcode.h"
#include "barcode/NKDModifiedPlesseyHexBarcode.h"
#include "barcode/NKDPlanetBarcode.h"
#include "barcode/NKDRoyalMailBarcode.h"
#include "barcode/NKDUPCEBarcode.h"

#include <algorithm>
#include <exception>

namespace
{

std::unique_ptr<NKDBarcode> code128(int set)
{
    auto b = std::make_unique<NKDCode128Barcode>();
    b->setCodeSet(set);
    return b;
}

QString unknownType(const QString &title)
{
    return QStringLiteral("Unknown barcode type \"%1\"").arg(title);
}

// "" when the settings' 2D choice agrees with their symbology, else why nothing can be made.
QString typeMismatch(const BarcodeSettings &settings)
{
    return settings.isTwoD() == BarcodeSettings::isTwoDTitle(settings.symbologyTitle)
               ? QString()
               : unknownType(settings.symbologyTitle);
}

QString thrownMessage(const std::exception &e)
{
    return QStringLiteral("The barcode could not be made: %1").arg(QString::fromUtf8(e.what()));
}

QRectF markedAreaOf(const Picture &picture)
{
    const auto *drawing = dynamic_cast<const BarcodeDrawing *>(picture.drawing());
    return drawing ? drawing->markedArea() : QRectF(QPointF(0, 0), picture.size());
}

} // namespace

std::unique_ptr<NKDBarcode> BarcodeGenerator::barcodeForTitle(const QString &title)
{
    const int i = int(BarcodeSettings::linearTitles().indexOf(title));
    switch (i) {
    case 0:
        return std::make_unique<NKDCode39Barcode>();
    case 1:
        return std::make_unique<NKDExtendedCode39Barcode>();
    case 2:
        return std::make_unique<NKDInterleavedTwoOfFiveBarcode>();
    case 3:
        return std::make_unique<NKDUPCABarcode>();
    case 4:
        return std::make_unique<NKDPostnetBarcode>();
    case 5:
        return std::make_unique<NKDModifiedPlesseyBarcode>();
    case 6:
        return std::make_unique<NKDModifiedPlesseyHexBarcode>();
    case 7:
        return std::make_unique<NKDIndustrialTwoOfFiveBarcode>();
    case 8:
        return std::make_unique<NKDEAN13Barcode>();
    case 9:
        return code128(NKDCode128Barcode::Automatic);
    case 10:
        return code128(NKDCode128Barcode::SetA);
    case 11:
        return code128(NKDCode128Barcode::SetB);
    case 12:
        return code128(NKDCode128Barcode::SetC);
    case 13:
        return std::make_unique<NKDCodabarBarcode>();
    case 14:
        return std::make_unique<NKDUPCEBarcode>();
    case 15:
        return std::make_unique<NKDEAN8Barcode>();
    case 16:
        return std::make_unique<NKDRoyalMailBarcode>();
    case 17:
        return std::make_unique<NKDPlanetBarcode>();
    case 18:
        return std::make_unique<JapanPostBarcode>();
    default:
        return nullptr;
    }
}

QString BarcodeGenerator::contentRule(const QString &title)
{
    static const QStringList rules = {
        QStringLiteral("digits, capital letters, space and - . $ / + %"),
        QStringLiteral("printable ASCII characters, tab and line feed"),
        QStringLiteral("digits only"),
        QStringLiteral("11 digits, or 12 ending with the right check digit"),
        QStringLiteral("5, 9 or 11 digits"),
        QStringLiteral("digits only"),
        QStringLiteral("digits and the letters A to F"),
        QStringLiteral("digits only"),
        QStringLiteral("12 digits, or 13 ending with the right check digit"),
        QStringLiteral("ASCII characters"),
        QStringLiteral("ASCII characters"),
        QStringLiteral("ASCII characters"),
        QStringLiteral("digits only"),
        QStringLiteral(
            "digits and - $ : / . +, starting and ending with A, B, C or D and none of them inside"),
        QStringLiteral(
            "0 or 1 and six digits, optionally ending with the right check digit, or an 11-digit UPC-A "
            "number that can be zero-suppressed"),
        QStringLiteral("7 digits, or 8 ending with the right check digit"),
        QStringLiteral("ASCII characters"),
        QStringLiteral("5, 9 or 11 digits"),
        QStringLiteral("a 7-digit postal code, then digits, letters and hyphens"),
    };
    const int i = int(BarcodeSettings::linearTitles().indexOf(title));
    return i >= 0 && i < rules.size() ? rules.at(i) : QString();
}

QString BarcodeGenerator::sampleValue(const QString &title)
{
    // By the linear titles' order; "0123" where digits of any count do, and for 2D symbols.
    static const QStringList samples = {
        QStringLiteral("0123"),        QStringLiteral("0123"),   QStringLiteral("0123"),
        QStringLiteral("01234567890"), QStringLiteral("01234"),  QStringLiteral("0123"),
        QStringLiteral("0123"),        QStringLiteral("0123"),   QStringLiteral("012345678901"),
        QStringLiteral("0123"),        QStringLiteral("0123"),   QStringLiteral("0123"),
        QStringLiteral("0123"),        QStringLiteral("A0123A"), QStringLiteral("0123456"),
        QStringLiteral("0123456"),     QStringLiteral("0123"),   QStringLiteral("01234"),
        QStringLiteral("1234567"),
    };
    const int i = int(BarcodeSettings::linearTitles().indexOf(title));
    return i >= 0 && i < samples.size() ? samples.at(i) : QStringLiteral("0123");
}

double BarcodeGenerator::leastWidth(const BarcodeSettings &settings, const QString &value)
{
    // Symbologies whose symbol has one length whatever the value (Japan Post takes its first
    // characters only): UPC-A, POSTNET, EAN-13, UPC-E, EAN-8, PLANET, Japan Post.
    static const QList<int> fixedLength{3, 4, 8, 14, 15, 17, 18};
    const int i = int(BarcodeSettings::linearTitles().indexOf(settings.symbologyTitle));
    if (settings.isTwoD() || i < 0 || fixedLength.contains(i))
        return 0;
    // Every other symbology gives a character at least five modules (two digits of Code 128's
    // set C take eleven). A bar is never thinner than a dot of the finest resolution drawn.
    constexpr double ModulesPerCharacter = 5.0;
    constexpr double ThinnestBar = 72.0 / 2400.0;
    return double(value.size()) * ModulesPerCharacter *
           std::max(BarcodeSizing::barWidthForMils(settings.linear_width_val), ThinnestBar);
}

void BarcodeGenerator::layoutLinear(const BarcodeSettings &settings, NKDBarcode &b)
{
    b.setCaptionFontSize(settings.value_font.size, settings.value_font);
    b.setHeaderFontSize(settings.header_font.size, settings.header_font, BarcodeText::kHeaderFooterKern);
    b.setFooterFontSize(settings.footer_font.size, settings.footer_font, BarcodeText::kHeaderFooterKern);
    BarcodeSizing::Set_Barcode_Height(settings, b);
    b.calculateWidth();
    b.setWidth(BarcodeSizing::Set_Linear_Barcode_Width(settings, b));
}

BarcodePreview BarcodeGenerator::prepareLinear(const BarcodeSettings &settings, const QString &value,
                                               const QString &header, const QString &footer)
{
    BarcodePreview out;
    std::shared_ptr<NKDBarcode> b = barcodeForTitle(settings.symbologyTitle);
    if (!b) {
        out.fail(unknownType(settings.symbologyTitle));
        return out;
    }
    const bool caption = BarcodeRules::Get_Print_State(settings) == 1;
    if (!b->initWithContent(value, caption) || !b->isContentValid()) {
        out.fail(QStringLiteral("Invalid barcode value for %1: expected %2")
                     .arg(settings.symbologyTitle, contentRule(settings.symbologyTitle)));
        return out;
    }
    if (!(settings.linear_width_val > 0)) {
        out.fail(QStringLiteral("The bar width must be more than 0 mils"));
        return out;
    }
    if (!(settings.linear_height_val > 0) && b->fixedBarHeight() <= 0) {
        out.fail(QStringLiteral("The bar height must be more than 0"));
        return out;
    }
    b->setHeader(header);
    b->setFooter(footer);
    b->setPrintsCaption(caption);
    b->setPrintsHeader(settings.show_hide_hdr != 1);
    b->setPrintsFooter(settings.show_hide_ftr != 1);
    b->setBarWidth(BarcodeSizing::barWidthForMils(settings.linear_width_val));
    out.barcode = std::move(b);
    return out;
}

BarcodePreview BarcodeGenerator::generateLinear(const BarcodeSettings &settings, const QString &value,
                                                const QString &header, const QString &footer)
{
    BarcodePreview out = prepareLinear(settings, value, header, footer);
    if (!out.barcode)
        return out;
    const BarcodeResult drawn = Get_Image_From_Barcode(settings, *out.barcode, true);
    out.picture = drawn.picture;
    out.setOutcome(drawn);
    return out;
}

BarcodePreview BarcodeGenerator::generate2D(const BarcodeSettings &settings, const QString &value,
                                            const QString &header, const QString &footer, bool sizeOnly)
{
    Symbol2D symbol = encode2D(settings, value, sizeOnly);
    if (!symbol.grid) {
        BarcodePreview out;
        out.fail(symbol.error.isEmpty() ? QStringLiteral("No barcode produced") : symbol.error);
        return out;
    }
    return Get_Image_From_barcode_image(settings, std::move(symbol.grid), symbol.size, value, header, footer);
}

BarcodePreview BarcodeGenerator::Get_Image_From_barcode_image(const BarcodeSettings &settings,
                                                              std::shared_ptr<const ModuleGrid> symbol,
                                                              QSizeF symbolSize, const QString &value,
                                                              const QString &header, const QString &footer)
{
    BarcodePreview out;
    SymbolFrame &f = out.frame;
    f.content = value;
    f.header = header;
    f.footer = footer;
    f.printsCaption = BarcodeRules::Get_Print_State(settings) == 1;
    f.printsHeader = settings.show_hide_hdr != 1;
    f.printsFooter = settings.show_hide_ftr != 1;
    // The measured sizes of the texts, as a linear object measures its own.
    NKDBarcode measure;
    measure.setHeader(header);
    measure.setFooter(footer);
    measure.setHeaderFontSize(settings.header_font.size, settings.header_font,
                              BarcodeText::kHeaderFooterKern);
    measure.setFooterFontSize(settings.footer_font.size, settings.footer_font,
                              BarcodeText::kHeaderFooterKern);
    f.headerHeight = measure.headerHeight();
    f.footerHeight = measure.footerHeight();
    f.headerWidth = measure.headerWidth();
    f.footerWidth = measure.footerWidth();
    BarcodeSizing::Set_2d_Barcode_Height(settings, symbolSize, f);
    BarcodeSizing::Set_2d_Barcode_Width(settings, symbolSize, f);
    out.grid2D = symbol;
    out.image2DSize = symbolSize;
    out.picture = BarcodePicture::imageFromBarcodeImage(std::move(symbol), symbolSize, f, settings);
    if (out.picture.isNull())
        out.fail(QStringLiteral("No barcode produced"));
    return out;
}

BarcodePreview BarcodeGenerator::generate(const BarcodeSettings &settings, const QString &value,
                                          const QString &header, const QString &footer)
{
    BarcodePreview out;
    try {
        const QString mismatch = typeMismatch(settings);
        if (!mismatch.isEmpty()) {
            out.fail(mismatch);
            return out;
        }
        return settings.isTwoD() ? generate2D(settings, value, header, footer, false)
                                 : generateLinear(settings, value, header, footer);
    } catch (const std::exception &e) {
        out = BarcodePreview();
        out.fail(thrownMessage(e));
        return out;
    }
}

BarcodePreview BarcodeGenerator::Generate_Barcode_Variable(const BarcodeSettings &settings,
                                                           const QString &value, const QString &header,
                                                           const QString &footer)
{
    BarcodePreview out;
    QString reason;
    if (!BarcodeRules::Check_And_Validat_Barcode(value, &reason)) {
        out.fail(reason);
        return out;
    }
    return generate(settings, value, header, footer);
}

BarcodeResult BarcodeGenerator::Get_Image_From_Val(const BarcodeSettings &settings, const QString &value,
                                                   const QString &header, const QString &footer)
{
    // Text outside ASCII goes to the symbology: QR Code, PDF417 and Data Matrix carry it as
    // UTF-8, and each linear symbology refuses what it cannot draw. Each row is framed for its own
    // symbol: nothing of an earlier picture is reused.
    return BarcodeResult(Generate_Barcode_Variable(settings, value, header, footer));
}

BarcodeGenerator::Extent BarcodeGenerator::measureLinear(const BarcodeSettings &settings,
                                                         const QString &value, const QString &header,
                                                         const QString &footer)
{
    Extent out;
    const BarcodePreview prepared = prepareLinear(settings, value, header, footer);
    if (!prepared.barcode) {
        out.error = prepared.message;
        return out;
    }
    // The frame is the bars and the texts beside them; the caption, measured and placed only
    // when drawn, is drawn inside it.
    std::shared_ptr<NKDBarcode> b = prepared.barcode;
    layoutLinear(settings, *b);
    out.size = NKDBarcodeOffscreenView(*b, settings).bounds().size();
    out.made = !out.size.isEmpty();
    if (!out.made) {
        out.error = QStringLiteral("The barcode has no size: check its bar width and height");
        return out;
    }
    out.marked = [b, settings] { return markedAreaOf(BarcodePicture::imageFromBarcode(*b, settings)); };
    return out;
}

BarcodeGenerator::Extent BarcodeGenerator::measure(const BarcodeSettings &settings, const QString &value,
                                                   const QString &header, const QString &footer)
{
    // The batch road's own steps, with the symbol measured instead of drawn.
    Extent out;
    QString reason;
    if (!BarcodeRules::Check_And_Validat_Barcode(value, &reason)) {
        out.error = reason;
        return out;
    }
    try {
        out.error = typeMismatch(settings);
        if (!out.error.isEmpty())
            return out;
        if (!settings.isTwoD())
            return measureLinear(settings, value, header, footer);
        const BarcodePreview made = generate2D(settings, value, header, footer, true);
        out.made = made.ok();
        if (!out.made) {
            out.error = made.message;
            return out;
        }
        out.size = made.picture.size();
        out.marked = [picture = made.picture] { return markedAreaOf(picture); };
    } catch (const std::exception &e) {
        out = Extent();
        out.error = thrownMessage(e);
    }
    return out;
}

BarcodeResult BarcodeGenerator::Get_Image_From_Barcode(const BarcodeSettings &settings, NKDBarcode &barcode,
                                                       bool relayout)
{
    if (relayout)
        layoutLinear(settings, barcode);
    BarcodeResult out;
    out.picture = BarcodePicture::imageFromBarcode(barcode, settings);
    if (out.picture.isNull())
        out.fail(QStringLiteral("The barcode has no size: check its bar width and height"));
    return out;
}
