// cardtool barcode: one barcode picture from a symbology title, a value and record fields,
// written as PNG or PDF through the batch road of barcode generation.
#include "Command.h"

#include "barcode/BarcodeGenerator.h"
#include "barcode/BarcodePicture.h"
#include "output/ImageFileWriter.h"

#include <QImage>

CARDTOOL_COMMAND(barcodeCommand, "barcode",
                 "--title TITLE [--value VALUE] [--header H] [--footer F] [--set KEY=VALUE]... "
                 "--format png|pdf [--dpi N] --out FILE")
{
    QStringList rest = args;
    QString title, value, format, out, dpiText;
    QString header = QStringLiteral("HEADER");
    QString footer = QStringLiteral("FOOTER");
    if (!cardtool::takeOption(rest, QStringLiteral("--title"), &title)) {
        cardtool::fail(QStringLiteral("barcode: --title is required"));
        return 1;
    }
    const bool valueGiven = cardtool::takeOption(rest, QStringLiteral("--value"), &value);
    // The options win over the record fields given with --set.
    const bool headerGiven = cardtool::takeOption(rest, QStringLiteral("--header"), &header);
    const bool footerGiven = cardtool::takeOption(rest, QStringLiteral("--footer"), &footer);
    if (!cardtool::takeOption(rest, QStringLiteral("--format"), &format) ||
        (format != QLatin1String("png") && format != QLatin1String("pdf"))) {
        cardtool::fail(QStringLiteral("barcode: --format png or --format pdf is required"));
        return 1;
    }
    if (!cardtool::takeOption(rest, QStringLiteral("--out"), &out) || out.isEmpty()) {
        cardtool::fail(QStringLiteral("barcode: --out FILE is required"));
        return 1;
    }

    BarcodeSettings settings;
    if (!BarcodeSettings::linearTitles().contains(title) && !BarcodeSettings::isTwoDTitle(title)) {
        cardtool::fail(QStringLiteral("barcode: unknown barcode type \"%1\"").arg(title));
        return 1;
    }
    settings.symbologyTitle = title;
    settings.linear_or_2d = BarcodeSettings::isTwoDTitle(title) ? 1 : 0;
    settings.dpi = 300;
    int dpi = 300;
    if (cardtool::takeOption(rest, QStringLiteral("--dpi"), &dpiText)) {
        bool ok = false;
        dpi = dpiText.toInt(&ok);
        if (!ok || dpi < 1 || dpi > 4800) {
            cardtool::fail(QStringLiteral("barcode: --dpi must be a whole number from 1 to 4800"));
            return 1;
        }
        settings.dpi = dpi;
    }
    // The record's data texts: the value of each kind, header and footer, with their defaults.
    QString linearValue = QStringLiteral("0123");
    QString twoDValue = QStringLiteral("0123");
    QString assignment;
    while (cardtool::takeOption(rest, QStringLiteral("--set"), &assignment)) {
        const int eq = assignment.indexOf(QLatin1Char('='));
        if (eq <= 0) {
            cardtool::fail(QStringLiteral("barcode: --set needs KEY=VALUE, got \"%1\"").arg(assignment));
            return 1;
        }
        const QString key = assignment.left(eq);
        const QString text = assignment.mid(eq + 1);
        if (key == QLatin1String("linear_font_val")) {
            linearValue = text;
            continue;
        }
        if (key == QLatin1String("two_d_font_val")) {
            twoDValue = text;
            continue;
        }
        if (key == QLatin1String("header_val")) {
            if (!headerGiven)
                header = text;
            continue;
        }
        if (key == QLatin1String("footer_val")) {
            if (!footerGiven)
                footer = text;
            continue;
        }
        QString error;
        if (!settings.applyRecordField(key, text, &error)) {
            cardtool::fail(QStringLiteral("barcode: ") + error);
            return 1;
        }
    }
    if (!rest.isEmpty()) {
        cardtool::fail(QStringLiteral("barcode: unexpected argument \"%1\"").arg(rest.first()));
        return 1;
    }

    if (!valueGiven)
        value = settings.isTwoD() ? twoDValue : linearValue;
    const BarcodeResult result = BarcodeGenerator::Get_Image_From_Val(settings, value, header, footer);
    if (!result.ok()) {
        cardtool::fail(result.message);
        return 1;
    }

    QByteArray bytes;
    if (format == QLatin1String("pdf")) {
        bytes = BarcodePicture::pdfFromPicture(result.picture);
    } else {
        const QImage image = result.picture.toImage(dpi, Qt::white);
        if (!image.isNull())
            bytes = ImageFileWriter::encode(image, ImageFileWriter::Format::Png, dpi).bytes;
    }
    if (bytes.isEmpty()) {
        cardtool::fail(QStringLiteral("barcode: the picture could not be rendered"));
        return 1;
    }
    if (!ImageFileWriter::writeAtomically(out, bytes).ok) {
        cardtool::fail(QStringLiteral("barcode: cannot write %1").arg(out));
        return 1;
    }
    return 0;
}
