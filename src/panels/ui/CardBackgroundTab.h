// The card page's background tab: fill on or off, solid, gradient, pattern or picture, their
// colours, angle and picture, and the page opacity. Its controls are the window's outlets.
#pragma once

class ColorWell;
struct InspectorLayout;
class QFormLayout;
class QWidget;

class CardBackgroundTab
{
public:
    CardBackgroundTab(QWidget *page, InspectorLayout &ui);

private:
    // One maker per group of rows of the fill box, in the order the user tabs through them.
    void makeSolidAndGradient(QFormLayout *form);
    void makePattern(QFormLayout *form);
    void makePicture(QFormLayout *form);
    ColorWell *well(ColorWell *&field, const char *name);

    InspectorLayout &m_ui;
};
