// The page: its fields are the design's, defined here.
#pragma once

class Card_Property
{
public:
    QString Card_Shape = QStringLiteral("R");
    QSizeF Card_Size;
};
