// Process-wide state of data (wrong: it keeps the rows).
#pragma once

struct DataState {
    int sheet = 0;
    ExcelBindingTable rows;
};
