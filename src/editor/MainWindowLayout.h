// The widgets of the main window's inspector pages and command row, built in one place and reached
// under their outlet names; the controller and the panels connect them.
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

struct MainWindowLayout {
    // Fills the inspector's pages with the controls the editor itself sets; the card page and
    // alignment controls are built by their tabs (src/panels) into the fields below.
    void buildPages(InspectorTabs &tabs);
    // The row of side buttons above the card, and the column of card and output buttons.
    QWidget *buildCommandRow(QWidget *parent);
    QWidget *buildCardButtons(QWidget *parent);

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
    // command row
    QPushButton *Front_Card_Btn = nullptr;
    QPushButton *Back_Card_Btn = nullptr;
    QPushButton *Temp_Card_Btn = nullptr;
    QCheckBox *Show_Ruler_chk = nullptr;
    QPushButton *Card_Prop_Btn = nullptr;
    QPushButton *Card_Bckgrnd_Btn = nullptr;
    QPushButton *Grid_Btn = nullptr;
    QPushButton *User_Profile_Btn = nullptr;
    QPushButton *Print_Btn = nullptr;
    QPushButton *Mail_Btn = nullptr;
};
