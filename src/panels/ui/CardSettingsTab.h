// The card page's settings tab: name, sides, size list and size, outline, and the font and colour
// every text of the side takes. Its controls are the window's outlets of the same names.
#pragma once

struct InspectorLayout;
class QWidget;

class CardSettingsTab
{
public:
    CardSettingsTab(QWidget *page, InspectorLayout &ui);
};
