// The mail window: recipients, subject and text, the card (one side, the other or both, filled
// per data row when asked) or any one file, and pauses; Send runs the mail under the progress sheet.
#pragma once

#include "foundation/CardCodes.h"
#include "output/MailRun.h"
#include "output/MailTransport.h"

#include <QDialog>

#include <functional>
#include <memory>

class Email_Setting;
class OutputHost;
class QButtonGroup;
class QCheckBox;
class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class StepperField;

class Send_Mail : public QDialog
{
    Q_OBJECT
public:
    explicit Send_Mail(OutputHost &host, QWidget *parent = nullptr);
    ~Send_Mail() override;

    // The stored account as the mail run needs it.
    struct StoredSettings {
        QString sender;
        MailTransport::Account account;
    };
    // Straight from the preferences store; "N" (STARTTLS required) while no SSL choice is stored.
    static StoredSettings readStoredSettings();

    // Resets the window and runs it until Close.
    int Open_Wnd();

    void Send_Button();
    void Close_Button();
    void Setting_Button();
    void browse_att_Button();
    void clear_att_Button();
    void mail_card_side_CellClick(int row);
    void Without_barcode_rd_select();
    void send_barcode_rd_select();
    void send_with_batch_chk_select();
    void send_with_excel_chk_select();
    void delayed_delv_chk_select();

    // The most the "To" field keeps. A list that fills it may have been cut off and is refused.
    static constexpr int RecipientFieldChars = 1 << 18;
    static QString recipientListTooLongText();

    // "BOTH", "F" or "B".
    QString card_side_str = SideCode::Front;
    // The result of the last Send that got past the checks.
    const MailRun::Result &lastResult() const { return m_lastResult; }

    // Seams for the main window and tests: where messages go, how the stored settings are read
    // (the main window reads them into its own copies first), and how the settings window opens.
    void setTransport(std::shared_ptr<MailTransport> transport);
    void setSettingsSource(std::function<StoredSettings()> source) { m_settingsSource = std::move(source); }
    void setSettingsOpener(std::function<void()> opener) { m_settingsOpener = std::move(opener); }

    QLineEdit *from_txt = nullptr;
    QLineEdit *to_txt = nullptr;
    QPushButton *setting_button = nullptr;
    QRadioButton *rd_mail_curr_barcode = nullptr;
    QRadioButton *rd_without_barcode = nullptr;
    QGroupBox *send_sett_box = nullptr;
    QLineEdit *file_name_txt = nullptr;
    QButtonGroup *matrix_card_side = nullptr;
    QCheckBox *send_with_batch_chk = nullptr;
    QCheckBox *send_with_excel_chk = nullptr;
    QRadioButton *rd_all_to_every = nullptr;
    QRadioButton *rd_one_per_recp = nullptr;
    QLineEdit *attachment = nullptr;
    QPushButton *browse_att = nullptr;
    QPushButton *clear_att = nullptr;
    QCheckBox *delayed_delv_chk = nullptr;
    QGroupBox *delayed_box = nullptr;
    // Each stands for a field and its stepper together.
    StepperField *mail_count_stepper = nullptr;
    StepperField *hour_stepper = nullptr;
    StepperField *min_stepper = nullptr;
    StepperField *sec_stepper = nullptr;
    QLabel *pause_hint = nullptr; // what the time set means
    static QString pauseHintText();
    QLineEdit *subject_txt = nullptr;
    QPlainTextEdit *message_txt = nullptr;
    QPushButton *send_button = nullptr;
    QPushButton *close_button = nullptr;

private:
    // The layout (SendMailLayout.cpp): one maker per group, in the order the user tabs through.
    void buildWindow();
    QGridLayout *makeHeadGrid();
    QGroupBox *makeCardBox();
    QHBoxLayout *makeSideRow(QWidget *box);
    QHBoxLayout *makeFileRow();
    QGroupBox *makePauseBox();
    void connectControls();
    void resetWindow();
    void followSpreadChoice();
    StoredSettings storedSettings();
    MailRun::Request request(const StoredSettings &settings);
    bool mayBegin(const MailRun::Hooks &hooks, std::unique_ptr<MailRun> &run, MailRun::Outline &outline);

    OutputHost &m_host;
    std::shared_ptr<MailTransport> m_transport;
    std::function<StoredSettings()> m_settingsSource;
    std::function<void()> m_settingsOpener;
    Email_Setting *m_settingsWindow = nullptr;
    std::shared_ptr<const RunPlan> m_offered; // read as the window opened: the boxes it offers
    MailRun::Result m_lastResult;
};
