// cardtool print: lays a design out on label sheets as the print window does and paints the sheets
// into a PDF file through the same sheet painter; refuses the layouts the window refuses.
#include "Command.h"
#include "DesignLoading.h"

#include "foundation/CardCodes.h"
#include "output/BatchCardRenderer.h"
#include "output/PrintLayout.h"
#include "output/Printing_View.h"
#include "output/SheetGeometry.h"
#include "platform/ResourceRoot.h"

#include <QDir>
#include <QPageSize>
#include <QSaveFile>

namespace
{
std::optional<QSizeF> paperPoints(const QString &name)
{
    if (name.compare(QLatin1String("US Letter"), Qt::CaseInsensitive) == 0)
        return QPageSize(QPageSize::Letter).size(QPageSize::Point);
    for (int id = 0; id <= int(QPageSize::LastPageSize); ++id) {
        const QPageSize size{QPageSize::PageSizeId(id)};
        if (size.name().compare(name, Qt::CaseInsensitive) == 0 ||
            QPageSize::key(QPageSize::PageSizeId(id)).compare(name, Qt::CaseInsensitive) == 0)
            return size.size(QPageSize::Point);
    }
    return std::nullopt;
}

bool number(const QString &text, double *value, double low, double high)
{
    bool ok = false;
    *value = text.toDouble(&ok);
    return ok && *value >= low && *value <= high;
}
} // namespace

CARDTOOL_COMMAND(printCommand, "print",
                 "DESIGN --out FILE.pdf --paper NAME --rows R --cols C [--side F|B|BOTH] [--align 1..9] "
                 "[--gap-x MM --gap-y MM] [--margins L,R,T,B] [--data DIR] [--total N]")
{
    QStringList rest = args;
    QString out, paperName, rowsText, colsText, side = QStringLiteral("F"), alignText = QStringLiteral("1"),
                                                gapX = QStringLiteral("0"), gapY = QStringLiteral("0"),
                                                marginsText, dataFolder, totalText;
    if (!cardtool::takeOption(rest, QStringLiteral("--out"), &out) ||
        !cardtool::takeOption(rest, QStringLiteral("--paper"), &paperName) ||
        !cardtool::takeOption(rest, QStringLiteral("--rows"), &rowsText) ||
        !cardtool::takeOption(rest, QStringLiteral("--cols"), &colsText)) {
        cardtool::fail(QStringLiteral("print: --out, --paper, --rows and --cols are required"));
        return 1;
    }
    cardtool::takeOption(rest, QStringLiteral("--side"), &side);
    cardtool::takeOption(rest, QStringLiteral("--align"), &alignText);
    cardtool::takeOption(rest, QStringLiteral("--gap-x"), &gapX);
    cardtool::takeOption(rest, QStringLiteral("--gap-y"), &gapY);
    const bool haveMargins = cardtool::takeOption(rest, QStringLiteral("--margins"), &marginsText);
    const bool haveData = cardtool::takeOption(rest, QStringLiteral("--data"), &dataFolder);
    const bool haveTotal = cardtool::takeOption(rest, QStringLiteral("--total"), &totalText);
    if (rest.size() != 1 || rest.first().startsWith(QLatin1String("--"))) {
        cardtool::fail(QStringLiteral("print: give exactly one design file"));
        return 1;
    }
    const std::optional<QSizeF> paper = paperPoints(paperName);
    if (!paper) {
        cardtool::fail(QStringLiteral("print: unknown paper %1").arg(paperName));
        return 1;
    }
    double rows = 0, cols = 0, align = 0, gx = 0, gy = 0, total = 0;
    if (!number(rowsText, &rows, 1, 999) || !number(colsText, &cols, 1, 999) ||
        !number(alignText, &align, 1, 9) || !number(gapX, &gx, 0, 1000) || !number(gapY, &gy, 0, 1000) ||
        (haveTotal && !number(totalText, &total, 0, 999999)) ||
        !(side == SideCode::Front || side == SideCode::Back || side == SideCode::Both)) {
        cardtool::fail(
            QStringLiteral("print: rows and columns 1-999, align 1-9, gaps 0-1000 mm, side F, B or BOTH"));
        return 1;
    }
    QList<double> margins{0, 0, 0, 0};
    if (haveMargins) {
        const QStringList parts = marginsText.split(QLatin1Char(','));
        for (int i = 0; i < 4; ++i)
            if (parts.size() != 4 || !number(parts.value(i), &margins[i], 0, 1000)) {
                cardtool::fail(QStringLiteral("print: --margins takes four lengths in mm: L,R,T,B"));
                return 1;
            }
    }

    if (margins[0] + margins[1] >= PrintLayout::Points_to_MM_Convert(float(paper->width())) ||
        margins[2] + margins[3] >= PrintLayout::Points_to_MM_Convert(float(paper->height()))) {
        cardtool::fail(QStringLiteral("print: the margins leave no room on the paper"));
        return 1;
    }
    cardtool::LoadedDesign loaded;
    QString loadError;
    if (!cardtool::loadDesign(rest.first(), QStringLiteral("L"), loaded, &loadError)) {
        cardtool::fail(QStringLiteral("print: %1: %2").arg(rest.first(), loadError));
        return 1;
    }
    const QString resourcePath = ResourceRoot::shippedLocation();
    const auto design = RunPlan::make(
        loaded.design(), RunPlan::Choices(),
        {resourcePath, haveData ? dataFolder : QDir(resourcePath).filePath(QStringLiteral("DataSet"))});
    if (!design->missingSeries().isEmpty()) {
        cardtool::fail(QStringLiteral("print: ") + design->missingSeriesText());
        return 1;
    }
    const bool dataMode = design->isBatch();
    // The label is the design's card exactly, as the print window takes it.
    const QSizeF card = design->design().cardSize();

    PrintLayout layout;
    const auto pt = [](double mmValue) { return PrintLayout::MM_to_Points_Convert(float(mmValue)); };
    layout.setMargins(*paper,
                      QRectF(pt(margins[0]), pt(margins[2]), paper->width() - pt(margins[0]) - pt(margins[1]),
                             paper->height() - pt(margins[2]) - pt(margins[3])));
    layout.resetForOpening(card, dataMode, design->cardCount());
    layout.Print_Card_Side = side;
    layout.label_align_val = int(align);
    PrintFields fields;
    fields.widthMm = PrintLayout::Points_to_MM_Convert(float(card.width()));
    fields.heightMm = PrintLayout::Points_to_MM_Convert(float(card.height()));
    fields.horzGapMm = gx;
    fields.vertGapMm = gy;
    fields.rows = int(rows);
    fields.cols = int(cols);
    const PrintFitResult fit = layout.Check_Max_Cell_Value(fields);
    if (!fit.ok()) {
        cardtool::fail(QStringLiteral("print: ") + fit.message);
        return 1;
    }
    if (!layout.fitNote().isEmpty())
        cardtool::writeStdout((layout.fitNote() + QLatin1Char('\n')).toUtf8());
    if (haveTotal)
        layout.Total_Label = int(total);
    if (layout.exceedsPaper()) {
        cardtool::fail(QStringLiteral("print: ") + PrintLayout::MsgCardBigger);
        return 1;
    }
    if (layout.Total_Label <= 0) {
        cardtool::fail(QStringLiteral("print: ") + PrintLayout::MsgNothingToPrint);
        return 1;
    }

    const auto plan =
        design->with(RunPlan::Choices().withSides(RunPlan::sidesOfCode(side)).atMost(layout.Total_Label));
    cardtool::reportRows(*plan, QStringLiteral("print"));
    Printing_View::Sides sides;
    if (!dataMode) {
        BatchCardRenderer plain(plan, Units::PointsPerInch, false);
        QString error;
        sides = Printing_View::sidesOf(plain, 0, side, &error);
    }
    Printing_View view(layout, sides, dataMode ? plan : nullptr, card);
    // Written as the print window writes its PDF file: whole or not at all.
    QSaveFile file(out);
    if (!file.open(QIODevice::WriteOnly)) {
        cardtool::fail(QStringLiteral("print: %1: %2").arg(out, file.errorString()));
        return 1;
    }
    const OpResult painted = view.paintPdf(file, QStringLiteral("cardtool"), QString());
    if (!painted.ok() || !file.commit()) {
        cardtool::fail(QStringLiteral("print: ") + (painted.ok() ? file.errorString() : painted.message));
        return 1;
    }
    cardtool::writeStdout(QStringLiteral("%1 sheets, %2 labels\n")
                              .arg(SheetGeometry(layout).pageCount())
                              .arg(view.labelCount())
                              .toUtf8());
    return 0;
}
