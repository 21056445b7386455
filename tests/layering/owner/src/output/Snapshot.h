// A run's own copy of a design, a second definition of it (wrong); one page to draw is fine.
#pragma once

#include "model/CardDesign.h"

struct Design {
    Card_Property frontPage;
    Card_Property backPage;
    QString CARD_SIDE_STR;
};

struct Run {
    CardDesign design;
};

struct RenderSide {
    Card_Property page;
};
