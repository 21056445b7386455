// One output run (an export, a print or its preview, a mail run, and the check before them) as one
// value, worked out once on the GUI thread from the design (CardDesign) and its data sources: a
// deep copy of the design, the source each bound object reads (a workbook column found by its
// heading, once), the card count, which rows and sides the run outputs, and an object's value on
// a row. Immutable but for the pictures it keeps for the run, which any thread may add to, so the
// run's threads share it; nothing in it writes into the design.
#pragma once

#include "canvas/SKTRenderingView.h"
#include "data/BatchRowCounter.h"
#include "data/SeriesTable.h"
#include "model/CardDesign.h"
#include "output/CardRenderer.h"
#include "platform/SharedPictures.h"

#include <QList>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class RunPlan
{
public:
    // Where a run finds the files a design names: the shipped pictures and the series files.
    struct Folders {
        QString resources;
        QString data; // the "DataSet" folder of the series files
        // The program's own: Resource_Path and Data_Folder_Path.
        static Folders current();
    };

    // What the run's window chose.
    struct Choices {
        bool useSeries = true; // false: the user unticked the series box
        bool useExcel = true;  // false: the user unticked the workbook box
        // The sides the run outputs; none: the design's own (the back only on a double-sided card).
        std::optional<ExportSide> sides;
        int most = -1; // cards the run outputs at most (a print's total, a card a recipient); -1: all
        // Rows whose every value the run fills an object with is empty make no card (blank()).
        bool leaveOutBlank = false;

        Choices &withSources(bool series, bool excel)
        {
            useSeries = series;
            useExcel = excel;
            return *this;
        }
        Choices &withSides(std::optional<ExportSide> chosen)
        {
            sides = chosen;
            return *this;
        }
        Choices &atMost(int cards)
        {
            most = cards;
            return *this;
        }
        Choices &leavingOutBlank(bool leave = true)
        {
            leaveOutBlank = leave;
            return *this;
        }
    };

    // Where an object's value comes from.
    struct Binding {
        enum class Source { Own, Series, Column };
        Source source = Source::Own; // Own: the object shows what the design holds
        QString series;              // the bound series' name
        int column = -1;             // the binding table's column (0 the row number); -1: missing
        QString named;               // the source as reports name it: series "x", column "Name"
        int rows = 0;                // the rows the source gives
        bool missingColumn() const { return source == Source::Column && column < 0; }
    };

    // The sides of a side code: "BOTH", "B", and any other the front.
    static ExportSide sidesOfCode(const QString &code);

    // Copies the design, reads the bound series (from the series folder) and counts the cards;
    // without choices, every source and the design's own sides; without folders, the program's.
    static std::shared_ptr<const RunPlan> make(const CardDesign &design, const Choices &choices,
                                               const Folders &folders);
    static std::shared_ptr<const RunPlan> make(const CardDesign &design, const Choices &choices);
    static std::shared_ptr<const RunPlan> make(const CardDesign &design);
    // The same design and sources under other choices; nothing is read again.
    std::shared_ptr<const RunPlan> with(const Choices &choices) const;
    // Both plans read the same rows: the binding table's and every bound series'.
    bool sameData(const RunPlan &other) const;

    // The run's own copy of the design.
    const CardDesign &design() const;
    const Choices &choices() const { return m_choices; }
    const Folders &folders() const;
    // The card's size and outline, as the design has them.
    QRectF cardArea() const { return QRectF(QPointF(0, 0), design().cardSize()); }

    // Kinds that take part in data binding: text, picture, barcode.
    static bool isBindable(const SKTGraphic &graphic);

    // Sources that a taking-part side binds and that give rows, whether or not this run uses them:
    // the boxes a window offers.
    bool offersSeries() const { return m_offered.Use_Data_Sheet_Values; }
    bool offersExcel() const { return m_offered.Use_Excel_Binding_Values; }
    // An object of a taking-part side is bound to a series or the binding table, rows or not.
    bool bindsData() const;
    bool backTakesPart() const;

    bool usesSeries() const { return m_counts.Use_Data_Sheet_Values; }
    bool usesExcel() const { return m_counts.Use_Excel_Binding_Values; }
    bool isBatch() const { return usesSeries() || usesExcel(); }
    // Cards of the batch, the longest source used deciding, less the blank rows left out; 0 without
    // a batch.
    int cardCount() const;
    // Cards the run outputs: the batch's first rows (at most `most`), else the design once.
    int outputCount() const;
    bool outputsFront() const;
    bool outputsBack() const;

    // The object at index of a side's list (the design's copies, whose order every copy keeps).
    const Binding &binding(bool back, int index) const;
    // Whether this run fills that object from a data source it uses.
    bool fills(bool back, int index) const;
    // A card's row is its place in the run (from 0); it is filled from the data row of the same
    // place, unless blank rows are left out: then from the row sourceRow gives.
    int sourceRow(int row) const;
    // What that object shows on a card's row: the row's value trimmed, "" past its source's end
    // or for a missing column; nothing when it shows what the design holds in this run.
    std::optional<QString> valueOf(bool back, int index, int row) const;
    // Every object the run fills on the sides it outputs, visible and printed, is empty on the card
    // of that row (false when the run fills none: its cards show the design).
    bool blank(int row) const;
    // The number a card's row goes by in what the user reads: the number the sheet shows beside
    // its data row when the run reads the workbook and that is known, else the data row's place
    // from 1 (the series' numbering, which is the card's).
    int rowNumber(int row) const;
    // The same for a data row (from 0) itself.
    int sourceRowNumber(int sourceRow) const;
    // What reports call a row so numbered: "row", or "sheet row" when the numbers are the sheet's
    // while a series fills cards too, whose rows the user numbers otherwise.
    QString rowWord() const;

    // Keeps a picture a row was filled with for the rest of the run (the most recent ones), so
    // that a file named on many rows is read and decoded once, as a placed picture is.
    void keepFilledPicture(const Picture &picture) const { m_pictures->keep(picture); }
    // The page a side's cards start from at dpi (SKTRenderingView::pageOfSide), made by the first
    // worker that asks and shared by all: a page that is not one colour holds a card's pixels.
    std::shared_ptr<const SKTRenderingView::Page>
    sharedPage(bool back, double dpi, const std::function<SKTRenderingView::Page()> &make) const;

    // Problems met while reading series (a bound series whose file is missing), for the log.
    const QStringList &warnings() const;
    // Among them: an object set to Series with no series picked, which shows its own value.
    static inline const QString NoSeriesChosen =
        QStringLiteral("A text or picture is set to take its values from a series, but no series is "
                       "chosen: its cards show its own words or picture.");
    // Bound series of the sides that take part whose file is gone, by name: no run may make their
    // cards, which would show the design's sample values instead of any row.
    const QStringList &missingSeries() const;
    // What the user is told of them: each series with the file it was looked for in; "" when none.
    QString missingSeriesText() const;
    // Bound series whose file is there but could not be read: no export may run, since the cards
    // would lose their values.
    const QStringList &unreadableSeries() const;

private:
    struct Sources;
    RunPlan(std::shared_ptr<const Sources> sources, const Choices &choices);
    QString cell(int row, int column) const;
    bool numbersBySheet() const;
    std::optional<QString> valueOfSource(bool back, int index, int sourceRow) const;
    bool blankSource(int sourceRow) const;
    // Rows of the workbook above the first row read (1 when the first row held the titles); -1
    // when the workbook's facts are not known.
    int rowsAbove() const;

    std::shared_ptr<const Sources> m_sources;
    Choices m_choices;
    BatchCounts m_offered; // every source the design binds
    BatchCounts m_counts;  // the sources this run uses
    // The objects (side, index) whose values can make a card blank: filled, shown and printed.
    QList<std::pair<bool, int>> m_filled;
    // The data rows of the cards when blank rows are left out; null: every row, in place.
    std::shared_ptr<const QList<int>> m_kept;
    std::shared_ptr<SharedPictures::Recent> m_pictures = std::make_shared<SharedPictures::Recent>();
    struct Pages;
    std::shared_ptr<Pages> m_pages;
};
