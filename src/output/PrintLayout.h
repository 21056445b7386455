// The label sheet settings of the print window: paper, margins, label size, rows and columns, gaps,
// alignment and sides, with the fitting of rows and columns to the paper and the paper names.
#pragma once

#include "foundation/CardCodes.h"
#include "platform/OpResult.h"
#include "platform/Units.h"

#include <QRectF>
#include <QSizeF>
#include <QString>

struct PrintFields {
    // What the window's fields hold: sizes and gaps in millimetres.
    double widthMm = 0;
    double heightMm = 0;
    double horzGapMm = 0;
    double vertGapMm = 0;
    int rows = 1;
    int cols = 1;
};

// Done, or failed with why the fields were refused; and which fields the window must rewrite.
struct PrintFitResult : OpResult {
    bool rowsRewritten = false;  // the rows field must show Print_Row
    bool colsRewritten = false;  // the columns field must show Print_Col
    bool totalRewritten = false; // the total field must show Total_Label
};

class PrintLayout
{
public:
    // Lengths in points, y measured as the paper's margins give it.
    QSizeF paper;
    float Left_Mar = 0, Rite_Mar = 0, Top_Mar = 0, Bot_Mar = 0;
    float label_width = 0, label_hight = 0;
    float horz_mar = 0, vert_mar = 0;
    int Print_Row = 1, Print_Col = 1;
    int askedRows = 1, askedCols = 1; // the grid last asked for; Print_Row and Print_Col are what fit
    int Total_Label = 1;
    int label_align_val = 1; // 1..9: top left, top centre, ... bottom right
    bool auto_center_flag = false;
    bool Show_margin_rect = true;
    QString Print_Card_Side = SideCode::Front;                 // "BOTH", "F" or "B"
    QString Print_Card_Algn = ArrangementCode::FrontAboveBack; // or FrontLeftOfBack
    bool dataMode = false;                                     // labels are filled from the data rows

    static const QString MsgCardBigger;     // the size question before printing
    static const QString MsgNothingToPrint; // "There is no barcode to print."
    static const QString MsgBadWidth;
    static const QString MsgBadHeight;

    // The window shows millimetres; the settings hold points (32-bit, multiplied in double).
    static float Points_to_MM_Convert(float points) { return Units::pointsToMillimetres(points); }
    static float MM_to_Points_Convert(float mm) { return Units::millimetresToPoints(mm); }

    // A fresh opening: one row and column, alignment 1, no auto-centre, outlines on, the label the
    // card's size (doubled for both sides), total 1 or the batch size in data mode.
    void resetForOpening(const QSizeF &card, bool inDataMode, int batchSize);

    // The unprintable margins from the paper and its printable rectangle (y down from the top).
    void setMargins(const QSizeF &paperSize, const QRectF &printable);

    // The label cell for one card of width x height points on the chosen sides.
    QSizeF labelSize(const QSizeF &card) const;
    // The card in the label the layout holds: the label halved along the arrangement for both sides.
    QSizeF labelCardSize() const;
    bool bothSides() const { return Print_Card_Side == SideCode::Both; }

    // Reads the fields, fits rows and columns to the printable area and sets the gaps; a width or
    // height of 0 or less is refused and changes nothing. Rows or columns below 1 become 1.
    PrintFitResult Check_Max_Cell_Value(const PrintFields &fields);

    // "" when the grid asked for fits the paper; else how many labels a sheet holds instead.
    QString fitNote() const;

    // Whether one label with its margins and gap is larger than the paper (the size question).
    bool exceedsPaper() const;
    float printableWidth() const { return float(paper.width()) - Left_Mar - Rite_Mar; }
    float printableHeight() const { return float(paper.height()) - Top_Mar - Bot_Mar; }

    // The paper name of a size given as millimetre texts ("210.00"), in either order; "" when no
    // paper has exactly that size.
    static QString Find_Papaer_Name_From_Size(const QString &width, const QString &height);
};
