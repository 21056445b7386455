#include "output/PrintLayout.h"

#include "foundation/CardCodes.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

namespace
{
struct Paper {
    const char *size;
    const char *name;
};
constexpr Paper papers[] = {
    {"297.00 x 420.00", "A3"},           {"210.00 x 297.00", "A4"},
    {"148.00 x 210.00", "A5"},           {"176.00 x 250.00", "B5"},
    {"105.00 x 241.00", "Envelope #10"}, {"120.00 x 235.00", "Envelope Choukei 3"},
    {"110.00 x 220.00", "Envelope DL"},  {"182.00 x 257.00", "JIS B5"},
    {"197.00 x 273.00", "ROC 16K"},      {"330.00 x 483.00", "Super B/A3"},
    {"279.00 x 432.00", "Tabloid"},      {"305.00 x 457.00", "Tabloid Oversize"},
    {"216.00 x 356.00", "US Legal"},     {"216.00 x 279.00", "US Letter"},
    {"215.90 x 279.40", "Letter"},       {"100.00 x 148.00", "Postcard"},
    {"184.00 x 267.00", "Executive"},
};

// How many lengths `per` fit into `room`, held to a sane count. Sizes typed in millimetres reach
// here through 32-bit points, so an exact fit may come out a hair short: it still counts.
int fitCount(double room, double per)
{
    const double n = std::floor(room / per + 1e-5);
    return n < 1 ? 0 : int(std::min(n, 1e6));
}
} // namespace

const QString PrintLayout::MsgCardBigger = QStringLiteral(
    "'Card Size' is bigger than selected 'Paper Size' or drawn label may be out of margin area.\n\n"
    "Do you want to continue?");
const QString PrintLayout::MsgNothingToPrint = QStringLiteral("There is no barcode to print.");
const QString PrintLayout::MsgBadWidth = QStringLiteral("Please enter a card width greater than 0.");
const QString PrintLayout::MsgBadHeight = QStringLiteral("Please enter a card height greater than 0.");

void PrintLayout::resetForOpening(const QSizeF &card, bool inDataMode, int batchSize)
{
    Print_Card_Side = SideCode::Front;
    Print_Card_Algn = ArrangementCode::FrontAboveBack;
    auto_center_flag = false;
    Show_margin_rect = true;
    Print_Row = Print_Col = askedRows = askedCols = 1;
    dataMode = inDataMode;
    Total_Label = inDataMode ? batchSize : 1;
    const QSizeF label = labelSize(card);
    label_width = float(label.width());
    label_hight = float(label.height());
    horz_mar = vert_mar = 0;
    label_align_val = 1;
}

void PrintLayout::setMargins(const QSizeF &paperSize, const QRectF &printable)
{
    paper = paperSize;
    if (printable.isEmpty()) {
        Left_Mar = Rite_Mar = Top_Mar = Bot_Mar = 0;
        return;
    }
    Left_Mar = float(printable.x());
    Rite_Mar = float(paperSize.width() - printable.x() - printable.width());
    Top_Mar = float(printable.y());
    Bot_Mar = float(paperSize.height() - printable.y() - printable.height());
}

QSizeF PrintLayout::labelSize(const QSizeF &card) const
{
    QSizeF label = card;
    if (bothSides()) {
        if (Print_Card_Algn == ArrangementCode::FrontLeftOfBack)
            label.rwidth() *= 2;
        else
            label.rheight() *= 2;
    }
    return label;
}

QSizeF PrintLayout::labelCardSize() const
{
    QSizeF card(label_width, label_hight);
    if (bothSides()) {
        if (Print_Card_Algn == ArrangementCode::FrontLeftOfBack)
            card.rwidth() /= 2;
        else
            card.rheight() /= 2;
    }
    return card;
}

PrintFitResult PrintLayout::Check_Max_Cell_Value(const PrintFields &fields)
{
    PrintFitResult result;
    const float lw0 = MM_to_Points_Convert(float(fields.widthMm));
    const float lh0 = MM_to_Points_Convert(float(fields.heightMm));
    // A label without width or height would fit without end and divide by zero below.
    if (!(lw0 > 0) || !(lh0 > 0)) {
        static_cast<OpResult &>(result) = OpResult::failed(lw0 > 0 ? MsgBadHeight : MsgBadWidth);
        return result;
    }
    const QSizeF label = labelSize(QSizeF(lw0, lh0));
    label_width = float(label.width());
    label_hight = float(label.height());
    horz_mar = std::max(0.0f, MM_to_Points_Convert(float(fields.horzGapMm)));
    vert_mar = std::max(0.0f, MM_to_Points_Convert(float(fields.vertGapMm)));
    int cols = fields.cols;
    int rows = fields.rows;
    if (cols < 1) {
        cols = 1;
        result.colsRewritten = true;
    }
    if (rows < 1) {
        rows = 1;
        result.rowsRewritten = true;
    }

    const double pw = paper.width(), ph = paper.height();
    const double PW = printableWidth(), PH = printableHeight();
    const double lw = label_width, lh = label_hight;

    // One axis at a time: count, room, label length, gap, paper length and the two margins.
    auto fit = [&](int &count, double room, double length, float &gap, double paperLength, double m1,
                   double m2, bool &rewritten) {
        const int asked = count;
        if (auto_center_flag) {
            const double spread = (room - count * length) / (count + 1);
            if (spread > 0) {
                gap = float(spread);
                return;
            }
            const int n = std::max(1, fitCount(room, length));
            count = std::min(count, n);
            rewritten = true;
            gap = 0;
            return;
        }
        if (((room - count * length) - (count - 1) * double(gap)) / (count + 1) > 0)
            return;
        const int n = std::max(1, fitCount(paperLength + gap - m1 - m2, length + gap));
        count = std::min(count, n);
        if (count < asked)
            rewritten = true;
    };
    fit(cols, PW, lw, horz_mar, pw, Left_Mar, Rite_Mar, result.colsRewritten);
    fit(rows, PH, lh, vert_mar, ph, Top_Mar, Bot_Mar, result.rowsRewritten);

    askedRows = std::max(1, fields.rows);
    askedCols = std::max(1, fields.cols);
    Print_Row = rows;
    Print_Col = cols;
    if (!dataMode) {
        Total_Label = rows * cols;
        result.totalRewritten = true;
    }
    return result;
}

QString PrintLayout::fitNote() const
{
    if (Print_Row >= askedRows && Print_Col >= askedCols)
        return {};
    const auto count = [](int n, const char *one, const char *many) {
        return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : many));
    };
    return QStringLiteral("%1 x %2 labels do not fit on this paper; a sheet holds %3 (%4, %5).")
        .arg(askedRows)
        .arg(askedCols)
        .arg(Print_Row * Print_Col)
        .arg(count(Print_Row, "row", "rows"), count(Print_Col, "column", "columns"));
}

bool PrintLayout::exceedsPaper() const
{
    return label_width + Left_Mar + Rite_Mar + horz_mar > paper.width() ||
           label_hight + Top_Mar + Bot_Mar + vert_mar > paper.height();
}

QString PrintLayout::Find_Papaer_Name_From_Size(const QString &width, const QString &height)
{
    const QString w = width.trimmed(), h = height.trimmed();
    if (w.isEmpty() || h.isEmpty())
        return {};
    const QString asGiven = w + QStringLiteral(" x ") + h;
    const QString turned = h + QStringLiteral(" x ") + w;
    for (const Paper &p : papers) {
        const QString size = QString::fromLatin1(p.size);
        if (size == asGiven || size == turned)
            return QString::fromLatin1(p.name);
    }
    return {};
}
