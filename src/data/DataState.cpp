// Process-wide values of the data engine that the import dialogs and the workbook reader share,
// kept together so tests can reset them.
#include "DataState.h"

DataState &DataState::instance()
{
    static DataState state;
    return state;
}
