#include "model/CardDesign.h"

#include "foundation/CardCodes.h"

void CardDesign::setOutline(int outline)
{
    const QString code = codeOf(outline);
    frontPage.Card_Shape = code;
    backPage.Card_Shape = code;
}

CardDesign::Outline CardDesign::outlineOf(const QString &code)
{
    if (code == OutlineCode::RoundedRectangle)
        return RoundedRectangle;
    if (code == OutlineCode::Ellipse)
        return Ellipse;
    return Rectangle;
}

QString CardDesign::codeOf(int outline)
{
    return outline == RoundedRectangle ? QString(OutlineCode::RoundedRectangle)
           : outline == Ellipse        ? QString(OutlineCode::Ellipse)
                                       : QString(OutlineCode::Rectangle);
}

QSizeF CardDesign::cardSize() const
{
    const QSizeF size = frontPage.Card_Size;
    return size.isValid() && !size.isEmpty() ? size : DefaultCardSize;
}

void CardDesign::setCardSize(const QSizeF &size)
{
    frontPage.Card_Size = size;
    backPage.Card_Size = size;
}

void CardDesign::resetPages()
{
    const QColor black(0, 0, 0);
    frontPage.resetForNewDesign(black, Card_Property::defaultContentFont());
    backPage.resetForNewDesign(black, Card_Property::defaultContentFont());
}

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
