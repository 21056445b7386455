// Process-wide values of the data engine that the import dialogs and the workbook reader share,
// kept together so tests can reset them.
#pragma once

struct DataState {
    int Excel_Sheet_Number = 0;  // sheet the reads take, counted from 1 in workbook order
    int Excel_Sheet_Columns = 1; // column count of the sheet last read

    static DataState &instance();
    void reset() { *this = DataState(); }
};
