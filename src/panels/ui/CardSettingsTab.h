// The card page's settings tab: name, sides, size list and size, outline, and the font and colour
// every text of the side takes. It owns its controls; the card page panel connects and loads them.
#pragma once

class ColorWell;
class QButtonGroup;
class QComboBox;
class QFormLayout;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QWidget;
class RowListModel;
class StepperField;

class CardSettingsTab
{
public:
    explicit CardSettingsTab(QWidget *page);

    QLineEdit *card_name = nullptr;
    QComboBox *Sides_ComboBox = nullptr;
    QComboBox *Preset_ComboBox = nullptr;
    QComboBox *Category_ComboBox = nullptr;
    RowListModel *ListData = nullptr;
    QTableView *ColList = nullptr;
    StepperField *width_Stepper = nullptr;  // millimetres
    StepperField *height_Stepper = nullptr; // millimetres
    QPushButton *Apply_Size_btn = nullptr;
    QButtonGroup *matrix_card_shape = nullptr;
    // The content font and colour, and their snapshots taken at each load (never shown).
    QLabel *All_Text_font_value = nullptr;
    QPushButton *All_Text_font_btn = nullptr;
    ColorWell *All_Text_clr = nullptr;

private:
    // One maker per group of controls, in the order the user tabs through them.
    QFormLayout *makeNameForm();
    QTableView *makeSizeList();
    QHBoxLayout *makeSizeRow();
    QGroupBox *makeShapeBox();
    QGroupBox *makeContentBox();

    QWidget *m_page;
};
