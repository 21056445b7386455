// The page defined outside the model (wrong).
#pragma once

class Card_Property
{
public:
    QSizeF Card_Size;
};
