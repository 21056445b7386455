// Where the print window's controls sit: printer and paper, the label grid, alignment and sides,
// the data boxes on the left; the sheet preview and the closing buttons on the right. Controls
// are made with the window as parent, in the order a user tabs through them.
#include "output/ui/Print_Wnd.h"

#include "foundation/ui/PanelWidgets.h"
#include "foundation/ui/StepperField.h"
#include "output/ui/Sample_Preview.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

using PanelWidgets::named;

void Print_Wnd::buildWindow()
{
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(makeSettingsColumn());
    layout->addLayout(makePreviewColumn(), 1);
}

QVBoxLayout *Print_Wnd::makeSettingsColumn()
{
    QFormLayout *printerForm = makePrinterForm();
    QFormLayout *labelForm = makeLabelForm();
    Show_Margins = named(new QCheckBox(QStringLiteral("Show margins"), this), "Show_Margins");
    Auto_Center_chk_bx = named(new QCheckBox(QStringLiteral("Auto centre"), this), "Auto_Center_chk_bx");
    auto *checks = new QHBoxLayout;
    checks->addWidget(Show_Margins);
    checks->addWidget(Auto_Center_chk_bx);
    auto *boxes = new QHBoxLayout;
    boxes->addWidget(makeAlignmentBox());
    boxes->addWidget(makeSideBox());
    print_with_batch_chk =
        named(new QCheckBox(QStringLiteral("Print with series data"), this), "print_with_batch_chk");
    print_with_excel_chk =
        named(new QCheckBox(QStringLiteral("Print with Excel data"), this), "print_with_excel_chk");

    auto *left = new QVBoxLayout;
    left->addLayout(printerForm);
    left->addLayout(labelForm);
    left->addLayout(checks);
    left->addLayout(boxes);
    left->addWidget(print_with_batch_chk);
    left->addWidget(print_with_excel_chk);
    left->addStretch();
    return left;
}

// The printer, its paper and unprintable margins in millimetres.
QFormLayout *Print_Wnd::makePrinterForm()
{
    Printer_ComboBox = named(new QComboBox(this), "Printer_ComboBox");
    Orient_ComboBox = named(new QComboBox(this), "Orient_ComboBox");
    Orient_ComboBox->addItems({QStringLiteral("Portrait"), QStringLiteral("Landscape")});
    Paper_id = named(new QLabel(this), "Paper_id");
    Size_id = named(new QLabel(this), "Size_id");
    l_mar_id = named(new QLabel(this), "l_mar_id");
    r_mar_id = named(new QLabel(this), "r_mar_id");
    t_mar_id = named(new QLabel(this), "t_mar_id");
    b_mar_id = named(new QLabel(this), "b_mar_id");
    page_setup_button = new QPushButton(QStringLiteral("Page Setup..."), this);

    auto *printerForm = new QFormLayout;
    printerForm->addRow(QStringLiteral("Printer:"), Printer_ComboBox);
    printerForm->addRow(QStringLiteral("Orientation:"), Orient_ComboBox);
    printerForm->addRow(QStringLiteral("Paper:"), Paper_id);
    printerForm->addRow(QStringLiteral("Size (mm):"), Size_id);
    auto *margins = new QHBoxLayout;
    for (auto [title, label] :
         {std::pair{"L", l_mar_id}, {"R", r_mar_id}, {"T", t_mar_id}, {"B", b_mar_id}}) {
        margins->addWidget(new QLabel(QString::fromLatin1(title) + QLatin1Char(':'), this));
        margins->addWidget(label);
    }
    printerForm->addRow(QStringLiteral("Margins (mm):"), margins);
    printerForm->addRow(QString(), page_setup_button);
    return printerForm;
}

// The label's size, the grid of rows and columns with its gaps, how many labels and copies. The
// gaps come first in the tab order, as they always have.
QFormLayout *Print_Wnd::makeLabelForm()
{
    // Made in the order the form shows them, which is the order Tab goes through them.
    width_Stepper = named(new StepperField(0, 2000, 1, 2, this), "width_Stepper");
    height_Stepper = named(new StepperField(0, 2000, 1, 2, this), "height_Stepper");
    Row_Stepper = named(new StepperField(1, 999, 1, 0, this), "Row_Stepper");
    Col_Stepper = named(new StepperField(1, 999, 1, 0, this), "Col_Stepper");
    horz_mar_Stepper = named(new StepperField(0, 1000, 0.5, 2, this), "horz_mar_Stepper");
    vert_mar_Stepper = named(new StepperField(0, 1000, 0.5, 2, this), "vert_mar_Stepper");
    Total_Stepper = named(new StepperField(0, 999999, 1, 0, this), "Total_Stepper");
    Copies_Stepper = named(new StepperField(1, 999, 1, 0, this), "Copies_Stepper");

    auto *labelForm = new QFormLayout;
    labelForm->addRow(QStringLiteral("Card width (mm):"), width_Stepper);
    labelForm->addRow(QStringLiteral("Card height (mm):"), height_Stepper);
    labelForm->addRow(QStringLiteral("Rows:"), Row_Stepper);
    labelForm->addRow(QStringLiteral("Columns:"), Col_Stepper);
    // Says so when the rows and columns asked for do not fit the paper and fewer were taken.
    fit_note_id = named(new QLabel(this), "fit_note_id");
    fit_note_id->setWordWrap(true);
    fit_note_id->setStyleSheet(QStringLiteral("color: #b00000;"));
    fit_note_id->hide();
    labelForm->addRow(fit_note_id);
    labelForm->addRow(QStringLiteral("Horizontal gap (mm):"), horz_mar_Stepper);
    labelForm->addRow(QStringLiteral("Vertical gap (mm):"), vert_mar_Stepper);
    labelForm->addRow(QStringLiteral("Total labels:"), Total_Stepper);
    labelForm->addRow(QStringLiteral("Copies:"), Copies_Stepper);
    return labelForm;
}

// Nine buttons, one per place of the labels on the sheet, by alignment value 1..9.
QGroupBox *Print_Wnd::makeAlignmentBox()
{
    auto *alignBox = named(new QGroupBox(QStringLiteral("Alignment"), this), "align_Gp_Bx");
    align_Gp_Bx = alignBox;
    auto *alignGrid = new QGridLayout(alignBox);
    static const char *const buttonNames[] = {"top_left_btn", "top_center_btn", "top_rite_btn",
                                              "mid_left_btn", "mid_center_btn", "mid_rite_btn",
                                              "bot_left_btn", "bot_center_btn", "bot_rite_btn"};
    for (int v = 1; v <= 9; ++v) {
        auto *button = named(new QToolButton(alignBox), buttonNames[v - 1]);
        button->setIconSize(QSize(24, 24));
        button->setAutoRaise(true);
        alignGrid->addWidget(button, (v - 1) / 3, (v - 1) % 3);
        alignButtons << button;
    }
    return alignBox;
}

// Which sides print (button ids 0 both, 1 front, 2 back) and how the two sides of a label sit.
QGroupBox *Print_Wnd::makeSideBox()
{
    auto *sideBox = new QGroupBox(QStringLiteral("Card side"), this);
    auto *sideLayout = new QVBoxLayout(sideBox);
    matrix_card_side = new QButtonGroup(this);
    matrix_card_side->setObjectName(QStringLiteral("matrix_card_side"));
    const QStringList sideTitles{QStringLiteral("Both sides"), QStringLiteral("Front side"),
                                 QStringLiteral("Back side")};
    for (int i = 0; i < sideTitles.size(); ++i) {
        auto *radio = new QRadioButton(sideTitles[i], sideBox);
        matrix_card_side->addButton(radio, i);
        sideLayout->addWidget(radio);
    }
    print_alignment = named(new QComboBox(sideBox), "print_alignment");
    print_alignment->addItems({QStringLiteral("Front above back"), QStringLiteral("Front beside back")});
    sideLayout->addWidget(print_alignment);
    return sideBox;
}

// The sheet preview, then Cancel, Preview and Print (the default).
QVBoxLayout *Print_Wnd::makePreviewColumn()
{
    PrintView = new Sample_Preview;
    PrintView->setScale(0.75);
    Print_sclview = named(new QScrollArea(this), "Print_sclview");
    Print_sclview->setWidget(PrintView);
    Print_sclview->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Print_sclview->setMinimumSize(470, 520);
    test_image_view = named(new QLabel(this), "test_image_view");
    test_image_view->hide(); // holds the preview's last picture for whoever asks
    // Where the last run's PDF file was written.
    print_result_id = named(new QLabel(this), "print_result_id");
    print_result_id->setWordWrap(true);
    print_result_id->setTextInteractionFlags(Qt::TextSelectableByMouse);

    preview_button = new QPushButton(QStringLiteral("Preview"), this);
    print_button = new QPushButton(QStringLiteral("Print"), this);
    cancel_button = new QPushButton(QStringLiteral("Cancel"), this);
    print_button->setDefault(true);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancel_button);
    buttons->addWidget(preview_button);
    buttons->addWidget(print_button);

    auto *right = new QVBoxLayout;
    right->addWidget(Print_sclview, 1);
    right->addWidget(test_image_view);
    right->addWidget(print_result_id);
    right->addLayout(buttons);
    return right;
}
