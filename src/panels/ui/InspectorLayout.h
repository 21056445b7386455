// The widgets of the inspector's pages, built in one place and reached under their outlet names;
// the panels build the card page and alignment controls into these fields and connect them.
#pragma once

class ColorWell;
class InspectorTabs;
class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableView;
class QWidget;
class RowListModel;
class StepperField;

struct InspectorLayout {
    // Fills the inspector's pages with the controls the window sets at start; the card page and
    // alignment controls are built by their tabs into the fields below.
    void buildPages(InspectorTabs &tabs);

    // card settings and size (all on the settings page)
    QButtonGroup *matrix_card_shape = nullptr;
    QLineEdit *card_name = nullptr;
    QPushButton *Apply_Size_btn = nullptr;
    QPushButton *All_Text_font_btn = nullptr;
    QComboBox *Sides_ComboBox = nullptr;
    QComboBox *Preset_ComboBox = nullptr;
    QComboBox *Category_ComboBox = nullptr;
    RowListModel *ListData = nullptr;
    QTableView *ColList = nullptr;
    StepperField *width_Stepper = nullptr;  // millimetres
    StepperField *height_Stepper = nullptr; // millimetres
    // card background and border
    QGroupBox *Card_Fill_Box = nullptr;
    QCheckBox *Card_fill_chk = nullptr;
    ColorWell *Card_fill_clr = nullptr;
    ColorWell *Card_fill_Grd_1_clr = nullptr;
    ColorWell *Card_fill_Grd_2_clr = nullptr;
    ColorWell *Card_hatch_bk_clr = nullptr;
    StepperField *Card_grad_Stepper = nullptr;
    StepperField *Card_alpha_Stepper = nullptr;
    QGroupBox *Card_image_box = nullptr;
    QLineEdit *Card_Image_path = nullptr;
    QPushButton *Card_Image_Browse_btn = nullptr;
    QPushButton *Card_Image_Library_btn = nullptr;
    QRadioButton *Card_solid_fill_rd = nullptr;
    QRadioButton *Card_gradient_fill_rd = nullptr;
    QRadioButton *Card_Style_fill_rd = nullptr;
    QRadioButton *Card_Image_fill_rd = nullptr;
    QComboBox *Card_hatch_style = nullptr;
    QComboBox *Card_image_layout = nullptr;
    QGroupBox *Card_Border_Box = nullptr;
    QCheckBox *Card_border_chk = nullptr;
    ColorWell *Card_bordr_clr = nullptr;
    StepperField *Card_bor_Stepper = nullptr;
    QComboBox *Card_border_style = nullptr;
    // content font and colour of the card page, and their snapshots
    QLabel *All_Text_font_value = nullptr;
    QLabel *All_Text_font_value_COPY = nullptr;
    ColorWell *All_Text_clr = nullptr;
    ColorWell *All_Text_clr_COPY = nullptr;
    // shape and text pages
    QComboBox *shape_hatch_style = nullptr;
    QComboBox *shape_border_style = nullptr;
    QComboBox *Text_Date_style = nullptr;
    QComboBox *Text_Time_style = nullptr;
    QComboBox *Text_align_combo = nullptr;
    QComboBox *Text_case_combo = nullptr;
    // alignment page
    QPushButton *Align_Left_btn = nullptr;
    QPushButton *Align_Right_btn = nullptr;
    QPushButton *Align_Top_btn = nullptr;
    QPushButton *Align_Bottom_btn = nullptr;
    QPushButton *Align_Center_btn = nullptr;
    QPushButton *Align_Horz_btn = nullptr;
    QPushButton *Align_Vert_btn = nullptr;
    QPushButton *Make_Same_Width_btn = nullptr;
    QPushButton *Make_Same_Height_btn = nullptr;
    QPushButton *Make_Natural_btn = nullptr;
    QPushButton *Align_To_Grid_btn = nullptr;
    QCheckBox *print_object_chk = nullptr;
};
