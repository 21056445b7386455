#include "model/CardDesign.h"

CardDesign CardDesign::deepCopy() const
{
    CardDesign copy = *this;
    copy.front = cloneList(front);
    copy.back = cloneList(back);
    return copy;
}

GraphicList CardDesign::cloneList(const GraphicList &graphics)
{
    GraphicList out;
    out.reserve(graphics.size());
    for (const GraphicPtr &g : graphics)
        if (g)
            out.append(g->clone());
    return out;
}
