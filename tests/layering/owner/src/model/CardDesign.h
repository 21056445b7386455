// The one owner: both pages and the binding table.
#pragma once

#include "model/Card_Property.h"

class CardDesign
{
public:
    Card_Property frontPage;
    Card_Property backPage;
    ExcelBindingTable binding;
};
