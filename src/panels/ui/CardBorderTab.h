// The card page's border tab: border on or off, its colour, width and dash style. Its controls
// are the window's outlets.
#pragma once

struct InspectorLayout;
class QWidget;

class CardBorderTab
{
public:
    CardBorderTab(QWidget *page, InspectorLayout &ui);
};
