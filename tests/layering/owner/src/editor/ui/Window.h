// The main window: a page of its own (wrong) beside a reference into the design (fine).
#pragma once

#include "model/CardDesign.h"

class Window
{
public:
    Card_Property Front_card_Prop;
    Card_Property &backPage;
    QCheckBox *Card_border_chk = nullptr; // a control named after its field
    std::optional<CardDesign> kept;
    const CardDesign *shown = nullptr;
    QList<Card_Property> sides;
};
