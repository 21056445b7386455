// The start window every new project passes through: open a design, or build an invitation in
// four steps (card size, background, title and message, sender and addressee).
#include "editor/Invitation_Wizard.h"

#include "canvas/ImageBrowser.h"
#include "canvas/ImageBrowserModel.h"
#include "editor/DesignEditor.h"
#include "editor/EditorState.h"
#include "foundation/AppExit.h"
#include "foundation/DateFormats.h"
#include "foundation/FileUtils.h"
#include "foundation/FoundationState.h"
#include "foundation/MessageBoxes.h"
#include "foundation/ModalRunner.h"
#include "foundation/StepperField.h"
#include "foundation/StringUtils.h"
#include "foundation/WindowLook.h"
#include "model/ModelGlobals.h"
#include "panels/CardSizeTables.h"
#include "platform/UrlOpener.h"
#include "support/WebLinks.h"

#include <QDateEdit>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTextCursor>
#include <QTimeEdit>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>

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

Invitation_Wizard::Invitation_Wizard(DesignEditor *editor, std::function<int()> openDesign, QWidget *parent)
    : QDialog(parent), m_editor(editor), m_openDesign(std::move(openDesign))
{
    setObjectName(QStringLiteral("Invitation_Wizard"));
    setWindowTitle(QStringLiteral("Start Wizard"));
    applyBackgroundPattern();

    pages = new QStackedWidget(this);
    buildStartScreen();
    buildSteps();

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

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(pages, 1);
    layout->addLayout(startRow);
    layout->addWidget(button_box);
    resize(760, 540);

    connect(Using_Wizard_btn, &QPushButton::clicked, this, &Invitation_Wizard::Using_Wizard_Click);
    connect(Open_Log_btn, &QPushButton::clicked, this, &Invitation_Wizard::Open_Log_Click);
    connect(Next_btn, &QPushButton::clicked, this, &Invitation_Wizard::OK_Click);
    connect(Back_Btn, &QPushButton::clicked, this, &Invitation_Wizard::Back_Click);
    connect(Cancel_btn, &QPushButton::clicked, this, &Invitation_Wizard::CancelClick);
    connect(Exit_btn, &QPushButton::clicked, this, &Invitation_Wizard::ExitClick);
    connect(Help_btn_1, &QPushButton::clicked, this, &Invitation_Wizard::HelpClick);
    connect(Help_btn_2, &QPushButton::clicked, this, &Invitation_Wizard::HelpClick);
    connect(Contact_us_btn, &QPushButton::clicked, this,
            [] { UrlOpener::open(WebLinks::toUrl(WebLinks::supportMail())); });
    connect(title_bk_btn, &QPushButton::clicked, this, &Invitation_Wizard::Title_Back_Click);
    connect(title_nxt_btn, &QPushButton::clicked, this, &Invitation_Wizard::Title_Next_Click);
    connect(msg_bk_btn, &QPushButton::clicked, this, &Invitation_Wizard::Msg_Back_Click);
    connect(msg_nxt_btn, &QPushButton::clicked, this, &Invitation_Wizard::Msg_Next_Click);
    connect(clear_details_btn, &QPushButton::clicked, this, &Invitation_Wizard::Clear_Details_Click);
    connect(Date_picker, &QDateEdit::editingFinished, this, &Invitation_Wizard::datePickerAction);
    connect(Time_picker, &QTimeEdit::editingFinished, this, &Invitation_Wizard::timePickerAction);
    connect(imageBrowser, &ImageBrowser::imageBrowserSelectionDidChange, this,
            &Invitation_Wizard::imageBrowserSelectionDidChange);
    // A click on the picture already chosen (the first, chosen on entry) moves on as well.
    connect(imageBrowser, &ImageBrowser::clicked, this, [this](const QModelIndex &index) {
        if (next_counter == 2 && imageBrowser->selectedRows().value(0, -1) == index.row())
            OK_Click();
    });
    limitField(from_value, SenderLimit, true);
    limitField(to_value, AddresseeLimit, true);
    limitField(venue_value, VenueLimit, true);
    limitField(msg_title, TitleLimit, false);
    connect(msg_value, &QPlainTextEdit::textChanged, this, &Invitation_Wizard::limitMessage);
}

void Invitation_Wizard::applyBackgroundPattern()
{
    WindowLook::applyBackground(this);
    const QPixmap pattern(Resource_Path + QStringLiteral("Wizard_pattern.jpg"));
    if (pattern.isNull())
        return;
    QPalette pal = palette();
    pal.setBrush(QPalette::Window, QBrush(pattern));
    setPalette(pal);
}

void Invitation_Wizard::buildStartScreen()
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
    pages->addWidget(Start_card_box);
}

void Invitation_Wizard::buildSteps()
{
    // Step 1: card size.
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
    pages->addWidget(first_box);

    // Step 2: background picture.
    second_box = framed(pages);
    images = new ImageBrowserModel(this);
    imageBrowser = new ImageBrowser(images, second_box);
    auto *l2 = new QVBoxLayout(second_box);
    l2->addWidget(heading(QStringLiteral("Step 2 of 4: Background"), second_box));
    l2->addWidget(
        new QLabel(QStringLiteral("Click a picture to use it as the card's background."), second_box));
    l2->addWidget(imageBrowser, 1);
    pages->addWidget(second_box);

    // Step 3: title and message.
    third_box = framed(pages);
    msg_title = new QLineEdit(third_box);
    msg_title->setObjectName(QStringLiteral("msg_title"));
    msg_value = new QPlainTextEdit(third_box);
    msg_value->setObjectName(QStringLiteral("msg_value"));
    msg_value->setTabChangesFocus(true);
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
    pages->addWidget(third_box);

    // Step 4: sender and addressee (venue, date and time are kept but not offered).
    fourth_box = framed(pages);
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
    clear_details_btn = new QPushButton(QStringLiteral("Clear Details"), fourth_box);
    clear_details_btn->setAutoDefault(false);
    auto *form = new QFormLayout;
    m_detailsForm = form;
    form->addRow(QStringLiteral("From:"), from_value);
    form->addRow(QStringLiteral("To:"), to_value);
    form->addRow(venue_label, venue_value);
    auto *dateRow = new QHBoxLayout;
    dateRow->addWidget(Date_picker);
    dateRow->addWidget(Date_ctrl_value, 1);
    form->addRow(date_label, dateRow);
    auto *timeRow = new QHBoxLayout;
    timeRow->addWidget(Time_picker);
    timeRow->addWidget(Time_ctrl_value, 1);
    form->addRow(time_label, timeRow);
    auto *l4 = new QVBoxLayout(fourth_box);
    l4->addWidget(heading(QStringLiteral("Step 4 of 4: From and to"), fourth_box));
    l4->addLayout(form);
    l4->addWidget(clear_details_btn, 0, Qt::AlignLeft);
    l4->addStretch();
    pages->addWidget(fourth_box);

    const QDateTime now = DateFormats::now();
    Date_picker->setDate(now.date());
    Time_picker->setTime(now.time());
}

void Invitation_Wizard::limitField(QLineEdit *field, int limit, bool enablesClear)
{
    field->setMaxLength(limit);
    if (enablesClear) {
        connect(field, &QLineEdit::textEdited, this, [this](const QString &text) {
            if (!text.isEmpty())
                clear_details_btn->setEnabled(true);
        });
    }
}

void Invitation_Wizard::limitMessage()
{
    const QString text = msg_value->toPlainText();
    if (text.size() <= MessageLimit)
        return;
    // Cut to the limit and keep the caret at the end, as typing on would leave it.
    const QSignalBlocker block(msg_value);
    msg_value->setPlainText(text.left(MessageLimit));
    QTextCursor c = msg_value->textCursor();
    c.movePosition(QTextCursor::End);
    msg_value->setTextCursor(c);
}

int Invitation_Wizard::Open_Wnd(bool fromNew)
{
    m_fromNew = fromNew;
    m_exitChosen = false;
    try {
        width_Stepper->setValue(120);
        height_Stepper->setValue(120);
        APP_path_label->setText(Resource_Path);
        images->clear();
        Show_Hide_Card_Start_Screen(true);
        imageBrowser->setZoomValue(0.4);
        Load_and_fill_backgrounds();
        Reset_All();
        Load_Msg_And_Title();
        msg_title->setText(Get_Title());
        msg_value->setPlainText(Get_Message());
        const int result = ModalRunner::exec(*this);
        hide();
        return result == 1 ? 1 : 0;
    } catch (const std::exception &e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
        return 0;
    }
}

void Invitation_Wizard::Load_and_fill_backgrounds()
{
    images->fillFromFolder(Resource_Path + QStringLiteral("Background"));
}

void Invitation_Wizard::Load_Msg_And_Title()
{
    m_titles.load(QStringLiteral("Title.txt"));
    m_messages.load(QStringLiteral("Message.txt"));
}

void Invitation_Wizard::Select_card_option(int option)
{
    if (option == 0)
        Start_Card_Option = QStringLiteral("T");
    else if (option == 1)
        Start_Card_Option = QStringLiteral("W");
    else if (option == 2)
        Start_Card_Option = QStringLiteral("L");
    else
        return;
    OK_Click();
}

void Invitation_Wizard::showStep(int step)
{
    next_counter = step;
    pages->setCurrentIndex(step);
    Next_btn->setText(step >= 4 ? QStringLiteral("&Finish") : QStringLiteral("&Next >"));
    Next_btn->setDefault(step >= 1);
    Using_Wizard_btn->setDefault(step == 0);
    // The keyboard starts in the step's first field.
    QWidget *first[] = {Using_Wizard_btn, width_Stepper, imageBrowser, msg_title, from_value};
    first[std::clamp(step, 0, 4)]->setFocus();
}

void Invitation_Wizard::OK_Click()
{
    if (Start_Card_Option == QLatin1String("L")) {
        if (m_openDesign && m_openDesign() == 1)
            QDialog::done(1);
        return;
    }
    if (next_counter <= 0) {
        Show_Hide_Card_Start_Screen(false);
        return;
    }
    if (next_counter == 1) {
        showStep(2);
        if (images->count() > 0) {
            auto_background_selection = true;
            imageBrowser->selectRow(0);
            auto_background_selection = false;
        }
        return;
    }
    if (next_counter == 2) {
        if (!selected_image.isEmpty() && QFileInfo(selected_image).isFile())
            showStep(3);
        else
            Show_MessageBox(SelectBackgroundMessage);
        return;
    }
    if (next_counter == 3) {
        selected_title = msg_title->text();
        selected_msg = msg_value->toPlainText();
        // Blanks alone would lay out nothing: they count as no text.
        if (Trim_Str(selected_title).isEmpty()) {
            Show_MessageBox(SelectTitleMessage);
            msg_title->setFocus();
        } else if (Trim_Str(selected_msg).isEmpty()) {
            Show_MessageBox(SelectMessageMessage);
            msg_value->setFocus();
        } else {
            showStep(4);
            // Venue, date and time stay out of this step, so their values stay empty.
            for (int row : {2, 3, 4})
                m_detailsForm->setRowVisible(row, false);
            from_value->setFocus();
        }
        return;
    }
    // Finish.
    Card_Shape = 0;
    const float w = float(width_Stepper->value());
    const float h = float(height_Stepper->value());
    const QSizeF points(CardSizeTables::MM_to_Points_Convert(w), CardSizeTables::MM_to_Points_Convert(h));
    if (m_editor) {
        m_editor->Set_Card_Size_In_Control(w, h);
        m_editor->Set_Document_Size(points);
        m_editor->SetDocumentCanvasSize(points);
    }
    EditorState &s = EditorState::instance();
    s.Invite_Title = Trim_Str(selected_title);
    s.Invite_Message = Trim_Str(selected_msg);
    s.Invite_From = Trim_Str(from_value->text());
    s.Invite_To = Trim_Str(to_value->text());
    s.Invite_Venue = Trim_Str(venue_value->text());
    s.Invite_Date = Trim_Str(selected_date);
    s.Invite_Time = Trim_Str(selected_time);
    s.Invite_BG_IMG = Trim_Str(selected_image);
    QDialog::done(1);
}

void Invitation_Wizard::imageBrowserSelectionDidChange()
{
    const QList<int> rows = imageBrowser->selectedRows();
    if (rows.isEmpty())
        return;
    selected_image = images->item(rows.first()).path();
    // A picture the user clicks moves straight on; the wizard's own first choice does not.
    if (!auto_background_selection && next_counter == 2)
        OK_Click();
}

void Invitation_Wizard::Back_Click()
{
    if (next_counter == 1)
        Show_Hide_Card_Start_Screen(true);
    else if (next_counter >= 2)
        showStep(next_counter - 1);
}

void Invitation_Wizard::CancelClick()
{
    Show_Hide_Card_Start_Screen(true);
}

void Invitation_Wizard::ExitClick()
{
    Start_Card_Option.clear();
    m_exitChosen = true;
    QDialog::done(0);
    // Opened by New, the main window leaves through its own exit, with the save question.
    if (!m_fromNew)
        AppExit::exit(0);
}

void Invitation_Wizard::reject()
{
    if (next_counter > 0) {
        CancelClick();
    } else if (m_fromNew) {
        // Closing the start window that New opened keeps the design the user has.
        Start_Card_Option.clear();
        QDialog::done(0);
    } else {
        ExitClick();
    }
}

void Invitation_Wizard::HelpClick()
{
    Open_Help_File();
}

void Invitation_Wizard::Title_Back_Click()
{
    m_titles.back();
    msg_title->setText(Get_Title());
}

void Invitation_Wizard::Title_Next_Click()
{
    m_titles.next();
    msg_title->setText(Get_Title());
}

void Invitation_Wizard::Msg_Back_Click()
{
    m_messages.back();
    msg_value->setPlainText(Get_Message());
}

void Invitation_Wizard::Msg_Next_Click()
{
    m_messages.next();
    msg_value->setPlainText(Get_Message());
}

void Invitation_Wizard::Show_Hide_Card_Start_Screen(bool show)
{
    const bool onStart = show;
    for (QPushButton *b : {Exit_btn, Help_btn_1, Contact_us_btn})
        b->setVisible(onStart);
    button_box->setVisible(!onStart);
    if (show) {
        auto_background_selection = false;
        showStep(0);
        Reset_All();
        msg_title->setText(Get_Title());
        msg_value->setPlainText(Get_Message());
    } else {
        showStep(1);
    }
}

void Invitation_Wizard::Reset_All()
{
    selected_image.clear();
    selected_title.clear();
    selected_msg.clear();
    selected_date.clear();
    selected_time.clear();
    next_counter = 0;
    m_titles.rewind();
    m_messages.rewind();
    msg_title->clear();
    msg_value->clear();
    imageBrowser->clearSelection();
    clear_details_btn->setEnabled(false);
    Clear_Details();
}

void Invitation_Wizard::Clear_Details()
{
    from_value->clear();
    to_value->clear();
    venue_value->clear();
    const QDateTime now = DateFormats::now();
    Date_picker->setDate(now.date());
    Time_picker->setTime(now.time());
    Date_ctrl_value->clear();
    Time_ctrl_value->clear();
    clear_details_btn->setEnabled(false);
}

void Invitation_Wizard::Clear_Details_Click()
{
    if (Show_YES_NO_MessageBox(ClearDetailsQuestion))
        Clear_Details();
}

void Invitation_Wizard::datePickerAction()
{
    selected_date = QLocale().toString(Date_picker->date(), QLocale::LongFormat);
    Date_ctrl_value->setText(selected_date);
    clear_details_btn->setEnabled(true);
}

void Invitation_Wizard::timePickerAction()
{
    selected_time = QLocale().toString(Time_picker->time(), DateFormats::toQt(QStringLiteral("h:mm a")));
    Time_ctrl_value->setText(selected_time);
    clear_details_btn->setEnabled(true);
}
