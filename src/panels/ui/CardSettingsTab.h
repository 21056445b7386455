// The card page's settings tab: name, sides, size list and size, outline, and the font and colour
// every text of the side takes. Its controls are the window's outlets of the same names.
#pragma once

struct InspectorLayout;
class QFormLayout;
class QGroupBox;
class QHBoxLayout;
class QTableView;
class QWidget;

class CardSettingsTab
{
public:
    CardSettingsTab(QWidget *page, InspectorLayout &ui);

private:
    // One maker per group of controls, in the order the user tabs through them.
    QFormLayout *makeNameForm();
    QTableView *makeSizeList();
    QHBoxLayout *makeSizeRow();
    QGroupBox *makeShapeBox();
    QGroupBox *makeContentBox();

    QWidget *m_page;
    InspectorLayout &m_ui;
};
