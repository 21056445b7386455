// Where the start window's controls sit: the start screen and the four steps on one stack, then
// the start screen's buttons and the steps' buttons. Controls are made in the order a user tabs
// through them.
#include "editor/ui/Invitation_Wizard.h"

#include "canvas/ui/ImageBrowser.h"
#include "canvas/ui/ImageBrowserModel.h"
#include "foundation/DateFormats.h"
#include "foundation/ui/StepperField.h"
#include "foundation/ui/WindowLook.h"

#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace
{
QLabel *heading(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    QFont f = label->font();
    f.setPointSizeF(f.pointSizeF() * 1.4);
    f.setBold(true);
    label->setFont(f);
    return label;
}

QWidget *framed(QWidget *parent)
{
    auto *box = new QWidget(parent);
    box->setAutoFillBackground(true);
    QPalette pal = box->palette();
    pal.setColor(QPalette::Window, WindowLook::backgroundColor());
    box->setPalette(pal);
    return box;
}
} // namespace

void Invitation_Wizard::buildWindow()
{
    pages = new QStackedWidget(this);
    pages->addWidget(makeStartScreen());
    pages->addWidget(makeSizeStep());
    pages->addWidget(makeBackgroundStep());
    pages->addWidget(makeGreetingStep());
    pages->addWidget(makeDetailsStep());
    QHBoxLayout *startRow = makeStartButtonRow();
    makeStepButtonBox();

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(pages, 1);
    layout->addLayout(startRow);
    layout->addWidget(button_box);
    resize(760, 540);
}

QWidget *Invitation_Wizard::makeStartScreen()
{
    Start_card_box = framed(pages);
    Using_Wizard_btn =
        new QPushButton(QStringLiteral("Create an invitation card with the wizard"), Start_card_box);
    Open_Log_btn = new QPushButton(QStringLiteral("Open an existing design..."), Start_card_box);
    for (QPushButton *b : {Using_Wizard_btn, Open_Log_btn})
        b->setMinimumHeight(48);
    Using_Wizard_btn->setDefault(true);
    APP_path_label = new QLabel(Start_card_box);
    APP_path_label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    APP_path_label->setWordWrap(true);
    auto *layout = new QVBoxLayout(Start_card_box);
    layout->addWidget(heading(QStringLiteral("Welcome to Tessaly Greeting Designer"), Start_card_box));
    layout->addWidget(new QLabel(QStringLiteral("How would you like to begin?"), Start_card_box));
    layout->addSpacing(16);
    layout->addWidget(Using_Wizard_btn);
    layout->addWidget(Open_Log_btn);
    layout->addStretch();
    layout->addWidget(
        new QLabel(QStringLiteral("Your designs, series and templates are kept in:"), Start_card_box));
    layout->addWidget(APP_path_label);
    return Start_card_box;
}

// Step 1: card size.
QWidget *Invitation_Wizard::makeSizeStep()
{
    first_box = framed(pages);
    width_Stepper = new StepperField(10, 1000, 1, 2, first_box);
    height_Stepper = new StepperField(10, 1000, 1, 2, first_box);
    width_Stepper->setObjectName(QStringLiteral("width_Stepper"));
    height_Stepper->setObjectName(QStringLiteral("height_Stepper"));
    auto *sizeForm = new QFormLayout;
    sizeForm->addRow(QStringLiteral("Width (mm):"), width_Stepper);
    sizeForm->addRow(QStringLiteral("Height (mm):"), height_Stepper);
    auto *l1 = new QVBoxLayout(first_box);
    l1->addWidget(heading(QStringLiteral("Step 1 of 4: Card size"), first_box));
    l1->addLayout(sizeForm);
    l1->addStretch();
    return first_box;
}

// Step 2: background picture.
QWidget *Invitation_Wizard::makeBackgroundStep()
{
    second_box = framed(pages);
    images = new ImageBrowserModel(this);
    imageBrowser = new ImageBrowser(images, second_box);
    auto *l2 = new QVBoxLayout(second_box);
    l2->addWidget(heading(QStringLiteral("Step 2 of 4: Background"), second_box));
    l2->addWidget(
        new QLabel(QStringLiteral("Click a picture to use it as the card's background."), second_box));
    l2->addWidget(imageBrowser, 1);
    return second_box;
}

// Step 3: title and message, each between buttons that step through the shipped texts.
QWidget *Invitation_Wizard::makeGreetingStep()
{
    third_box = framed(pages);
    msg_title = new QLineEdit(third_box);
    msg_title->setObjectName(QStringLiteral("msg_title"));
    msg_value = new QPlainTextEdit(third_box);
    msg_value->setObjectName(QStringLiteral("msg_value"));
    msg_value->setTabChangesFocus(true);
    makeGreetingArrows();
    auto *titleRow = new QHBoxLayout;
    titleRow->addWidget(title_bk_btn);
    titleRow->addWidget(msg_title, 1);
    titleRow->addWidget(title_nxt_btn);
    auto *msgRow = new QHBoxLayout;
    msgRow->addWidget(msg_bk_btn, 0, Qt::AlignTop);
    msgRow->addWidget(msg_value, 1);
    msgRow->addWidget(msg_nxt_btn, 0, Qt::AlignTop);
    auto *l3 = new QVBoxLayout(third_box);
    l3->addWidget(heading(QStringLiteral("Step 3 of 4: Title and message"), third_box));
    l3->addWidget(new QLabel(QStringLiteral("Title:"), third_box));
    l3->addLayout(titleRow);
    l3->addWidget(new QLabel(QStringLiteral("Message:"), third_box));
    l3->addLayout(msgRow, 1);
    return third_box;
}

// The previous and next buttons of the title and the message: clicked, never tabbed to.
void Invitation_Wizard::makeGreetingArrows()
{
    title_bk_btn = new QPushButton(QStringLiteral("<"), third_box);
    title_nxt_btn = new QPushButton(QStringLiteral(">"), third_box);
    msg_bk_btn = new QPushButton(QStringLiteral("<"), third_box);
    msg_nxt_btn = new QPushButton(QStringLiteral(">"), third_box);
    for (QPushButton *b : {title_bk_btn, title_nxt_btn, msg_bk_btn, msg_nxt_btn}) {
        b->setAutoDefault(false);
        b->setFixedWidth(32);
        b->setFocusPolicy(Qt::NoFocus);
    }
    title_bk_btn->setToolTip(QStringLiteral("Previous title"));
    title_nxt_btn->setToolTip(QStringLiteral("Next title"));
    msg_bk_btn->setToolTip(QStringLiteral("Previous message"));
    msg_nxt_btn->setToolTip(QStringLiteral("Next message"));
}

// Step 4: sender and addressee (venue, date and time are kept but not offered).
QWidget *Invitation_Wizard::makeDetailsStep()
{
    fourth_box = framed(pages);
    QFormLayout *form = makeDetailsForm();
    clear_details_btn = new QPushButton(QStringLiteral("Clear Details"), fourth_box);
    clear_details_btn->setAutoDefault(false);
    auto *l4 = new QVBoxLayout(fourth_box);
    l4->addWidget(heading(QStringLiteral("Step 4 of 4: From and to"), fourth_box));
    l4->addLayout(form);
    l4->addWidget(clear_details_btn, 0, Qt::AlignLeft);
    l4->addStretch();

    const QDateTime now = DateFormats::now();
    Date_picker->setDate(now.date());
    Time_picker->setTime(now.time());
    return fourth_box;
}

QFormLayout *Invitation_Wizard::makeDetailsForm()
{
    from_value = new QLineEdit(fourth_box);
    from_value->setObjectName(QStringLiteral("from_value"));
    to_value = new QLineEdit(fourth_box);
    to_value->setObjectName(QStringLiteral("to_value"));
    venue_value = new QLineEdit(fourth_box);
    venue_label = new QLabel(QStringLiteral("Venue:"), fourth_box);
    Date_picker = new QDateEdit(fourth_box);
    Date_picker->setCalendarPopup(true);
    Date_ctrl_value = new QLineEdit(fourth_box);
    Date_ctrl_value->setReadOnly(true);
    date_label = new QLabel(QStringLiteral("Date:"), fourth_box);
    Time_picker = new QTimeEdit(fourth_box);
    Time_ctrl_value = new QLineEdit(fourth_box);
    Time_ctrl_value->setReadOnly(true);
    time_label = new QLabel(QStringLiteral("Time:"), fourth_box);

    m_detailsForm = new QFormLayout;
    m_detailsForm->addRow(QStringLiteral("From:"), from_value);
    m_detailsForm->addRow(QStringLiteral("To:"), to_value);
    m_detailsForm->addRow(venue_label, venue_value);
    auto *dateRow = new QHBoxLayout;
    dateRow->addWidget(Date_picker);
    dateRow->addWidget(Date_ctrl_value, 1);
    m_detailsForm->addRow(date_label, dateRow);
    auto *timeRow = new QHBoxLayout;
    timeRow->addWidget(Time_picker);
    timeRow->addWidget(Time_ctrl_value, 1);
    m_detailsForm->addRow(time_label, timeRow);
    return m_detailsForm;
}

// Help, Contact Us and Exit under the start screen.
QHBoxLayout *Invitation_Wizard::makeStartButtonRow()
{
    Help_btn_1 = new QPushButton(QStringLiteral("Help"), this);
    Contact_us_btn = new QPushButton(QStringLiteral("Contact Us"), this);
    Exit_btn = new QPushButton(QStringLiteral("Exit"), this);
    for (QPushButton *b : {Help_btn_1, Contact_us_btn, Exit_btn})
        b->setAutoDefault(false);
    auto *startRow = new QHBoxLayout;
    startRow->addWidget(Help_btn_1);
    startRow->addWidget(Contact_us_btn);
    startRow->addStretch();
    startRow->addWidget(Exit_btn);
    return startRow;
}

// Help, Cancel, Back and Next (the default) under the steps.
void Invitation_Wizard::makeStepButtonBox()
{
    button_box = new QWidget(this);
    Help_btn_2 = new QPushButton(QStringLiteral("Help"), button_box);
    Cancel_btn = new QPushButton(QStringLiteral("Cancel"), button_box);
    Back_Btn = new QPushButton(QStringLiteral("< &Back"), button_box);
    Next_btn = new QPushButton(QStringLiteral("&Next >"), button_box);
    for (QPushButton *b : {Help_btn_2, Cancel_btn, Back_Btn})
        b->setAutoDefault(false);
    auto *stepRow = new QHBoxLayout(button_box);
    stepRow->setContentsMargins(0, 0, 0, 0);
    stepRow->addWidget(Help_btn_2);
    stepRow->addStretch();
    stepRow->addWidget(Cancel_btn);
    stepRow->addWidget(Back_Btn);
    stepRow->addWidget(Next_btn);
}
