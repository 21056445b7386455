#include "editor/ui/Invitation_Wizard.h"

#include "canvas/ui/ImageBrowser.h"
#include "canvas/ui/ImageBrowserModel.h"
#include "editor/EditorState.h"
#include "foundation/DataRoot.h"
#include "foundation/DateFormats.h"
#include "foundation/FileUtils.h"
#include "foundation/MessageBoxes.h"
#include "foundation/StringUtils.h"
#include "foundation/ui/AppExit.h"
#include "foundation/ui/ModalRunner.h"
#include "foundation/ui/StepperField.h"
#include "foundation/ui/WindowLook.h"
#include "model/ModelGlobals.h"
#include "panels/CardSizeTables.h"
#include "support/WebLinks.h"

#include <QDateEdit>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTextCursor>
#include <QTimeEdit>

#include <algorithm>
#include <exception>

Invitation_Wizard::Invitation_Wizard(std::function<int()> openDesign, QWidget *parent)
    : QDialog(parent), m_openDesign(std::move(openDesign))
{
    setObjectName(QStringLiteral("Invitation_Wizard"));
    setWindowTitle(QStringLiteral("Start Wizard"));
    applyBackgroundPattern();

    buildWindow();
    connectControls();
}

void Invitation_Wizard::connectControls()
{
    connect(Using_Wizard_btn, &QPushButton::clicked, this, &Invitation_Wizard::Using_Wizard_Click);
    connect(Open_Log_btn, &QPushButton::clicked, this, &Invitation_Wizard::Open_Log_Click);
    connect(Next_btn, &QPushButton::clicked, this, &Invitation_Wizard::OK_Click);
    connect(Back_Btn, &QPushButton::clicked, this, &Invitation_Wizard::Back_Click);
    connect(Cancel_btn, &QPushButton::clicked, this, &Invitation_Wizard::CancelClick);
    connect(Exit_btn, &QPushButton::clicked, this, &Invitation_Wizard::ExitClick);
    connect(Help_btn_1, &QPushButton::clicked, this, &Invitation_Wizard::HelpClick);
    connect(Help_btn_2, &QPushButton::clicked, this, &Invitation_Wizard::HelpClick);
    connect(Contact_us_btn, &QPushButton::clicked, this,
            [] { openUrlOrSay(WebLinks::toUrl(WebLinks::supportMail())); });
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
    // Finish. The window makes the card from what was chosen, in one write of the new design.
    InvitationDetails &d = m_invitation;
    d.cardSize = cardSize();
    d.title = Trim_Str(selected_title);
    d.message = Trim_Str(selected_msg);
    d.from = Trim_Str(from_value->text());
    d.to = Trim_Str(to_value->text());
    d.venue = Trim_Str(venue_value->text());
    d.date = Trim_Str(selected_date);
    d.time = Trim_Str(selected_time);
    d.background = Trim_Str(selected_image);
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
    QDialog::done(0);
    // Opened by New, Exit closes the window over the design the user has.
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

QSizeF Invitation_Wizard::cardSize() const
{
    return QSizeF(CardSizeTables::MM_to_Points_Convert(float(width_Stepper->value())),
                  CardSizeTables::MM_to_Points_Convert(float(height_Stepper->value())));
}
