// The card page's background tab: fill on or off, solid, gradient, pattern or picture, their
// colours, angle and picture, and the page opacity. Its controls are the window's outlets.
#pragma once

struct InspectorLayout;
class QWidget;

class CardBackgroundTab
{
public:
    CardBackgroundTab(QWidget *page, InspectorLayout &ui);
};
