// Goes through what a run will output before its first card is written and says which cards would
// come out wrong, object by object, bound or not: blank cards, texts whose ink their box or the
// card's edge cuts, characters no installed font can draw, barcodes that cannot be made or would
// leave the card, pictures whose file is gone, columns the workbook lacks, formulas it never
// computed and rows past the end of a shorter source. Each distinct value of an object is judged
// once, the values spread over the run's threads.
#pragma once

#include "output/BatchFiller.h"
#include "output/RunPlan.h"

#include <QList>
#include <QString>

class OutputCheck
{
public:
    struct Problem {
        QString what;         // what is wrong, naming the object and its side
        int cards = 0;        // how many cards it touches
        QList<int> firstRows; // the first of those rows, numbered by RunPlan::rowNumber
    };
    struct Report {
        QList<Problem> problems;
        int totalCards = 0;                      // the cards the run outputs
        bool batch = false;                      // they are filled from data rows
        QString rowWord = QStringLiteral("row"); // RunPlan::rowWord
        int blankCards = 0; // cards on which every object the run fills is empty (RunPlan::blank)
        bool isEmpty() const { return problems.isEmpty(); }
        // The report as the user reads it, one paragraph per problem, at most `most` of them (-1:
        // all) and then how many more there are; "" when all is well.
        QString text(int most = -1) const;
    };
    static constexpr int RowsNamed = 5;

    // The cards and sides the plan outputs, each barcode measured by the generator without
    // making it. threads: 0 every core.
    static Report check(const RunPlan &plan, int threads = 0);
    // The same, each barcode made by `maker` (an empty one leaves the barcodes' values unjudged).
    static Report check(const RunPlan &plan, const BatchFiller::BarcodeMaker &maker, int threads = 0);

    // How a report names an object: its kind, the start of its text (shown, the row's value, when
    // given; else what the design holds), its side and, when given, its source.
    static QString objectName(const SKTGraphic &graphic, bool back, const RunPlan::Binding *source = nullptr,
                              const QString *shown = nullptr);

private:
    static Report checkWith(const RunPlan &plan, const BatchFiller::BarcodeMaker *maker, int threads);
};
