// The start window every new project passes through: open a design, or build an invitation in
// four steps (card size, background, title and message, sender and addressee).
#pragma once

#include "editor/GreetingTexts.h"
#include "editor/InvitationLayout.h"

#include <QDialog>

#include <functional>

class ImageBrowser;
class ImageBrowserModel;
class QDateEdit;
class QFormLayout;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;
class QTimeEdit;
class QWidget;
class StepperField;

class Invitation_Wizard : public QDialog
{
    Q_OBJECT
public:
    // openDesign runs the open panel and loads the chosen design: 1 when one was loaded. The
    // wizard writes nothing into the design: the main window makes the card from invitation().
    explicit Invitation_Wizard(std::function<int()> openDesign, QWidget *parent = nullptr);

    static inline const QString SelectBackgroundMessage = QStringLiteral("Please select background.");
    static inline const QString SelectTitleMessage = QStringLiteral("Please select title.");
    static inline const QString SelectMessageMessage = QStringLiteral("Please select message.");
    static inline const QString ClearDetailsQuestion =
        QStringLiteral("Are you sure you want to clear details?");
    static constexpr int SenderLimit = 40, AddresseeLimit = 40, VenueLimit = 100, TitleLimit = 100,
                         MessageLimit = 250;

    // From the start screen with 120 x 120 mm; 1 when finished or a design was opened, 0 when
    // the window was left otherwise. At program start (fromNew false) Exit and closing the start
    // screen end the program. Opened by New they only close the window.
    int Open_Wnd(bool fromNew = false);
    // What the last finished wizard made of its four steps, each text trimmed, with the size.
    const InvitationDetails &invitation() const { return m_invitation; }
    // The card size it chose, in points.
    QSizeF cardSize() const;

    void Using_Wizard_Click() { Select_card_option(1); }
    void Open_Log_Click() { Select_card_option(2); }
    void Select_card_option(int option);
    void OK_Click();
    void Back_Click();
    void CancelClick();
    void ExitClick();
    void HelpClick();
    void Title_Back_Click();
    void Title_Next_Click();
    void Msg_Back_Click();
    void Msg_Next_Click();
    void Clear_Details_Click();
    void datePickerAction();
    void timePickerAction();
    void imageBrowserSelectionDidChange();

    void Load_and_fill_backgrounds();
    void Load_Msg_And_Title();
    QString Get_Title() const { return m_titles.current(); }
    QString Get_Message() const { return m_messages.current(); }
    void Show_Hide_Card_Start_Screen(bool show);
    void Reset_All();
    void Clear_Details();

    int step() const { return next_counter; }

    QStackedWidget *pages = nullptr;
    QWidget *Start_card_box = nullptr;
    QWidget *first_box = nullptr;
    QWidget *second_box = nullptr;
    QWidget *third_box = nullptr;
    QWidget *fourth_box = nullptr;
    QWidget *button_box = nullptr;
    QPushButton *Using_Wizard_btn = nullptr;
    QPushButton *Open_Log_btn = nullptr;
    QPushButton *Back_Btn = nullptr;
    QPushButton *Next_btn = nullptr;
    QPushButton *Cancel_btn = nullptr;
    QPushButton *Exit_btn = nullptr;
    QPushButton *Help_btn_1 = nullptr;
    QPushButton *Help_btn_2 = nullptr;
    QPushButton *Contact_us_btn = nullptr;
    StepperField *width_Stepper = nullptr;  // millimetres
    StepperField *height_Stepper = nullptr; // millimetres
    ImageBrowserModel *images = nullptr;
    ImageBrowser *imageBrowser = nullptr;
    QLabel *APP_path_label = nullptr;
    QLineEdit *msg_title = nullptr;
    QPushButton *title_bk_btn = nullptr;
    QPushButton *title_nxt_btn = nullptr;
    QPlainTextEdit *msg_value = nullptr;
    QPushButton *msg_bk_btn = nullptr;
    QPushButton *msg_nxt_btn = nullptr;
    QLineEdit *from_value = nullptr;
    QLineEdit *to_value = nullptr;
    QLineEdit *venue_value = nullptr;
    QLabel *venue_label = nullptr;
    QDateEdit *Date_picker = nullptr;
    QLineEdit *Date_ctrl_value = nullptr;
    QLabel *date_label = nullptr;
    QTimeEdit *Time_picker = nullptr;
    QLineEdit *Time_ctrl_value = nullptr;
    QLabel *time_label = nullptr;
    QPushButton *clear_details_btn = nullptr;

    QString selected_image, selected_title, selected_msg, selected_date, selected_time;

public slots:
    // Escape and the close button: back to the start screen from a step, leave from the start.
    void reject() override;

private:
    // The layout (InvitationWizardLayout.cpp): one maker per page and button row.
    void buildWindow();
    QWidget *makeStartScreen();
    QWidget *makeSizeStep();
    QWidget *makeBackgroundStep();
    QWidget *makeGreetingStep();
    void makeGreetingArrows();
    QWidget *makeDetailsStep();
    QFormLayout *makeDetailsForm();
    QHBoxLayout *makeStartButtonRow();
    void makeStepButtonBox();
    void connectControls();
    void showStep(int step);
    void limitField(QLineEdit *field, int limit, bool enablesClear);
    void limitMessage();
    void applyBackgroundPattern();

    QFormLayout *m_detailsForm = nullptr;
    std::function<int()> m_openDesign;
    bool m_fromNew = false;
    InvitationDetails m_invitation;
    GreetingTexts m_titles;
    GreetingTexts m_messages;
    int next_counter = 0;
    bool auto_background_selection = false;
};
