// cardtool barcode: one barcode picture from a symbology title, a value and record fields,
// written as PNG or PDF through the batch road of barcode generation.
#include "Command.h"

#include "barcode/BarcodeGenerator.h"
#include "barcode/BarcodePicture.h"

#include <QBuffer>
#include <QImage>
#include <QSaveFile>

CARDTOOL_COMMAND(barcodeCommand, "barcode",
                 "--title TITLE --value VALUE [--header H] [--footer F] [--set KEY=VALUE]... "
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
    if (!cardtool::takeOption(rest, QStringLiteral("--value"), &value)) {
        cardtool::fail(QStringLiteral("barcode: --value is required"));
        return 1;
    }
    cardtool::takeOption(rest, QStringLiteral("--header"), &header);
    cardtool::takeOption(rest, QStringLiteral("--footer"), &footer);
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
    QString assignment;
    while (cardtool::takeOption(rest, QStringLiteral("--set"), &assignment)) {
        const int eq = assignment.indexOf(QLatin1Char('='));
        if (eq <= 0) {
            cardtool::fail(QStringLiteral("barcode: --set needs KEY=VALUE, got \"%1\"").arg(assignment));
            return 1;
        }
        QString error;
        if (!settings.applyRecordField(assignment.left(eq), assignment.mid(eq + 1), &error)) {
            cardtool::fail(QStringLiteral("barcode: ") + error);
            return 1;
        }
    }
    if (!rest.isEmpty()) {
        cardtool::fail(QStringLiteral("barcode: unexpected argument \"%1\"").arg(rest.first()));
        return 1;
    }

    const BarcodeResult result = BarcodeGenerator::Get_Image_From_Val(settings, value, header, footer);
    if (!result.ok()) {
        cardtool::fail(result.error);
        return 1;
    }

    QByteArray bytes;
    if (format == QLatin1String("pdf")) {
        bytes = BarcodePicture::pdfFromPicture(result.picture);
    } else {
        const QImage image = result.picture.toImage(dpi, Qt::white);
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (image.isNull() || !image.save(&buffer, "PNG"))
            bytes.clear();
    }
    if (bytes.isEmpty()) {
        cardtool::fail(QStringLiteral("barcode: the picture could not be rendered"));
        return 1;
    }
    QSaveFile file(out);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        cardtool::fail(QStringLiteral("barcode: cannot write %1").arg(out));
        return 1;
    }
    return 0;
}
