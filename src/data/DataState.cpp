#include "DataState.h"

DataState &DataState::instance()
{
    static DataState state;
    return state;
}
