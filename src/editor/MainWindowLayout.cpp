// The widgets of the main window's inspector pages and command row, built in one place and reached
// under their outlet names; the controller and the panels connect them.
#include "editor/MainWindowLayout.h"

#include "editor/InspectorTabs.h"
#include "foundation/ColorWell.h"
#include "foundation/RowListModel.h"
#include "foundation/StepperField.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>

namespace
{
template <typename W> W *named(W *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QComboBox *combo(QWidget *parent, const char *name, const QStringList &items = {})
{
    auto *c = named(new QComboBox(parent), name);
    c->addItems(items);
    return c;
}
} // namespace

void MainWindowLayout::buildPages(InspectorTabs &tabs)
{
    // Settings: the outline.
    QWidget *settings = tabs.page(InspectorTabs::card_setting_tab);
    auto *settingsForm = new QVBoxLayout(settings);
    settingsForm->addWidget(new QLabel(QStringLiteral("Card shape:"), settings));
    matrix_card_shape = new QButtonGroup(settings);
    const QStringList shapes{QStringLiteral("Rectangle"), QStringLiteral("Rounded Rectangle"),
                             QStringLiteral("Ellipse")};
    for (int i = 0; i < shapes.size(); ++i) {
        auto *b = new QRadioButton(shapes.at(i), settings);
        matrix_card_shape->addButton(b, i);
        settingsForm->addWidget(b);
    }
    matrix_card_shape->button(0)->setChecked(true);
    settingsForm->addStretch();

    // Size.
    QWidget *size = tabs.page(InspectorTabs::card_size_tab);
    auto *sizeForm = new QFormLayout(size);
    Sides_ComboBox =
        combo(size, "Sides_ComboBox", {QStringLiteral("Double Side"), QStringLiteral("Single Side")});
    Preset_ComboBox =
        combo(size, "Preset_ComboBox", {QStringLiteral("Horizontal"), QStringLiteral("Vertical")});
    Category_ComboBox =
        combo(size, "Category_ComboBox", {QStringLiteral("PVC Card"), QStringLiteral("Paper Badge")});
    ListData = new RowListModel({QStringLiteral("Extension")}, {QStringLiteral("Size")}, size);
    ColList = named(new QTableView(size), "ColList");
    ColList->setModel(ListData);
    ColList->setSelectionMode(QAbstractItemView::SingleSelection);
    ColList->setSelectionBehavior(QAbstractItemView::SelectRows);
    ColList->horizontalHeader()->setStretchLastSection(true);
    ColList->verticalHeader()->hide();
    width_Stepper = named(new StepperField(0, 2000, 1, 2, size), "width_Stepper");
    height_Stepper = named(new StepperField(0, 2000, 1, 2, size), "height_Stepper");
    sizeForm->addRow(QStringLiteral("Sides:"), Sides_ComboBox);
    sizeForm->addRow(QStringLiteral("Orientation:"), Preset_ComboBox);
    sizeForm->addRow(QStringLiteral("Category:"), Category_ComboBox);
    sizeForm->addRow(ColList);
    sizeForm->addRow(QStringLiteral("Width (mm):"), width_Stepper);
    sizeForm->addRow(QStringLiteral("Height (mm):"), height_Stepper);

    // Background.
    QWidget *bkgd = tabs.page(InspectorTabs::card_bkgd_tab);
    auto *bkgdForm = new QVBoxLayout(bkgd);
    Card_fill_chk = named(new QCheckBox(QStringLiteral("Fill the card"), bkgd), "Card_fill_chk");
    Card_solid_fill_rd = named(new QRadioButton(QStringLiteral("Solid"), bkgd), "Card_solid_fill_rd");
    Card_gradient_fill_rd =
        named(new QRadioButton(QStringLiteral("Gradient"), bkgd), "Card_gradient_fill_rd");
    Card_Style_fill_rd = named(new QRadioButton(QStringLiteral("Pattern"), bkgd), "Card_Style_fill_rd");
    Card_Image_fill_rd = named(new QRadioButton(QStringLiteral("Picture"), bkgd), "Card_Image_fill_rd");
    Card_hatch_style = combo(bkgd, "Card_hatch_style");
    Card_image_layout = combo(bkgd, "Card_image_layout",
                              {QStringLiteral("Center"), QStringLiteral("Stretch"), QStringLiteral("Tile")});
    for (QWidget *w : std::initializer_list<QWidget *>{
             Card_fill_chk, Card_solid_fill_rd, Card_gradient_fill_rd, Card_Style_fill_rd, Card_Image_fill_rd,
             Card_hatch_style, Card_image_layout})
        bkgdForm->addWidget(w);
    bkgdForm->addStretch();

    // Border.
    QWidget *brdr = tabs.page(InspectorTabs::card_brdr_tab);
    auto *brdrForm = new QFormLayout(brdr);
    Card_border_chk = named(new QCheckBox(QStringLiteral("Border"), brdr), "Card_border_chk");
    Card_bor_Stepper = named(new StepperField(0, 50, 1, 0, brdr), "Card_bor_Stepper");
    const QStringList borderStyles{QStringLiteral("Solid"), QStringLiteral("Dash"), QStringLiteral("Dot"),
                                   QStringLiteral("Dash Dot"), QStringLiteral("Dash Dot Dot")};
    Card_border_style = combo(brdr, "Card_border_style", borderStyles);
    brdrForm->addRow(Card_border_chk);
    brdrForm->addRow(QStringLiteral("Width:"), Card_bor_Stepper);
    brdrForm->addRow(QStringLiteral("Style:"), Card_border_style);

    // Shape and text: the combos the window fills at start; their panels lay the pages out.
    QWidget *shape = tabs.page(InspectorTabs::shape_tab);
    shape_border_style = combo(shape, "shape_border_style", borderStyles);
    shape_hatch_style = combo(shape, "shape_hatch_style");
    QWidget *text = tabs.page(InspectorTabs::text_prop_tab);
    Text_Date_style = combo(text, "Text_Date_style");
    Text_Time_style = combo(text, "Text_Time_style");
    // Items in the order of the stored codes: the panel stores the index.
    Text_align_combo = combo(text, "Text_align_combo",
                             {QStringLiteral("Left"), QStringLiteral("Right"), QStringLiteral("Centre"),
                              QStringLiteral("Justified"), QStringLiteral("Natural")});
    Text_case_combo = combo(text, "Text_case_combo",
                            {QStringLiteral("As Typed"), QStringLiteral("UPPER CASE"),
                             QStringLiteral("lower case"), QStringLiteral("Capitalized")});
    All_Text_font_value = named(new QLabel(text), "All_Text_font_value");
    All_Text_font_value_COPY = named(new QLabel(text), "All_Text_font_value_COPY");
    All_Text_clr = named(new ColorWell(Qt::black, text), "All_Text_clr");
    All_Text_clr_COPY = named(new ColorWell(Qt::black, text), "All_Text_clr_COPY");
    // The card page shows the content font and colour; they have no place on the text pages.
    for (QWidget *w : std::initializer_list<QWidget *>{All_Text_font_value, All_Text_font_value_COPY,
                                                       All_Text_clr, All_Text_clr_COPY})
        w->hide();

    // Alignment.
    QWidget *align = tabs.page(InspectorTabs::aligmnt_tab);
    auto *grid = new QGridLayout(align);
    const auto button = [&](QPushButton *&field, const char *name, const QString &title, int r, int c) {
        field = named(new QPushButton(title, align), name);
        field->setFocusPolicy(Qt::NoFocus);
        grid->addWidget(field, r, c);
    };
    button(Align_Left_btn, "Align_Left_btn", QStringLiteral("Left"), 0, 0);
    button(Align_Right_btn, "Align_Right_btn", QStringLiteral("Right"), 0, 1);
    button(Align_Top_btn, "Align_Top_btn", QStringLiteral("Top"), 1, 0);
    button(Align_Bottom_btn, "Align_Bottom_btn", QStringLiteral("Bottom"), 1, 1);
    button(Align_Center_btn, "Align_Center_btn", QStringLiteral("Centre"), 2, 0);
    button(Align_Horz_btn, "Align_Horz_btn", QStringLiteral("Horizontal Centres"), 2, 1);
    button(Align_Vert_btn, "Align_Vert_btn", QStringLiteral("Vertical Centres"), 3, 0);
    button(Align_To_Grid_btn, "Align_To_Grid_btn", QStringLiteral("To Grid"), 3, 1);
    button(Make_Same_Width_btn, "Make_Same_Width_btn", QStringLiteral("Same Width"), 4, 0);
    button(Make_Same_Height_btn, "Make_Same_Height_btn", QStringLiteral("Same Height"), 4, 1);
    button(Make_Natural_btn, "Make_Natural_btn", QStringLiteral("Natural Size"), 5, 0);
    print_object_chk = named(new QCheckBox(QStringLiteral("Do not print"), align), "print_object_chk");
    grid->addWidget(print_object_chk, 6, 0, 1, 2);
    grid->setRowStretch(7, 1);

    // The pages still to be filled by their panels say so.
    for (InspectorTabs::Item item : {InspectorTabs::card_info_tab, InspectorTabs::datasource_tab,
                                     InspectorTabs::barcode_tab, InspectorTabs::Lock_tab}) {
        auto *l = new QVBoxLayout(tabs.page(item));
        l->addWidget(new QLabel(tabs.label(item), tabs.page(item)));
        l->addStretch();
    }
}

QWidget *MainWindowLayout::buildCommandRow(QWidget *parent)
{
    auto *row = new QWidget(parent);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    const auto button = [&](QPushButton *&field, const char *name, const QString &title) {
        field = named(new QPushButton(title, row), name);
        field->setFocusPolicy(Qt::NoFocus);
        layout->addWidget(field);
    };
    button(Front_Card_Btn, "Front_Card_Btn", QStringLiteral("Front"));
    button(Back_Card_Btn, "Back_Card_Btn", QStringLiteral("Back"));
    button(Temp_Card_Btn, "Temp_Card_Btn", QStringLiteral("Preview"));
    Show_Ruler_chk = named(new QCheckBox(QStringLiteral("Ruler"), row), "Show_Ruler_chk");
    Show_Ruler_chk->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(Show_Ruler_chk);
    layout->addStretch();
    return row;
}

QWidget *MainWindowLayout::buildCardButtons(QWidget *parent)
{
    auto *column = new QWidget(parent);
    auto *layout = new QVBoxLayout(column);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(1);
    const auto button = [&](QPushButton *&field, const char *name, const QString &title) {
        field = named(new QPushButton(title, column), name);
        field->setFocusPolicy(Qt::NoFocus);
        layout->addWidget(field);
    };
    button(Card_Prop_Btn, "Card_Prop_Btn", QStringLiteral("Card"));
    button(Card_Bckgrnd_Btn, "Card_Bckgrnd_Btn", QStringLiteral("Background"));
    button(Grid_Btn, "Grid_Btn", QStringLiteral("Grid"));
    button(User_Profile_Btn, "User_Profile_Btn", QStringLiteral("Details"));
    button(Print_Btn, "Print_Btn", QStringLiteral("Print"));
    button(Mail_Btn, "Mail_Btn", QStringLiteral("Mail"));
    return column;
}
