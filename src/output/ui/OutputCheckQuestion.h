// The question before an export, print or mail run of bound cards: what the row check found,
// with Yes to go on and No to stop.
#pragma once

class BatchFillSnapshot;

class OutputCheckQuestion
{
public:
    // True when the run may start: every row comes out right, or the user chose to go on. A run
    // that leaves a source out (its box unticked) is checked without it.
    static bool goOn(const BatchFillSnapshot &snapshot, bool useSeries = true, bool useExcel = true);
};
