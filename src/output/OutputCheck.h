// Goes through every data row of a batch before it is exported, printed or mailed and says which
// cards would come out wrong: columns the workbook lacks, texts too long for their box, barcodes
// that cannot be made or would leave the card, and rows past the end of a shorter source.
#pragma once

#include "output/BatchFillSnapshot.h"
#include "output/BatchFiller.h"

#include <QList>
#include <QString>

class OutputCheck
{
public:
    struct Problem {
        QString what;         // what is wrong, naming the object and its side
        int cards = 0;        // how many cards it touches
        QList<int> firstRows; // the first of those rows, counted from 1
    };
    struct Report {
        QList<Problem> problems;
        int totalCards = 0;
        bool isEmpty() const { return problems.isEmpty(); }
        // The report as the user reads it, one paragraph per problem, at most `most` of them (-1:
        // all) and then how many more there are; "" when all is well.
        QString text(int most = -1) const;
    };
    static constexpr int RowsNamed = 5;

    // Every row of the snapshot's run (nothing for a run without data).
    static Report check(const BatchFillSnapshot &snapshot,
                        const BatchFiller::BarcodeMaker &maker = BatchFiller::defaultBarcodeMaker());

    // How a report names an object: its kind, a text's start, its side and, with titles, its source.
    static QString objectName(const SKTGraphic &graphic, bool back, const QStringList *excelTitles);
};
