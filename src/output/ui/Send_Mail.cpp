#include "output/ui/Send_Mail.h"

#include "foundation/CardCodes.h"
#include "foundation/MessageBoxes.h"
#include "foundation/Preferences.h"
#include "foundation/ui/ControlUtils.h"
#include "foundation/ui/FilePanels.h"
#include "foundation/ui/ModalRunner.h"
#include "foundation/ui/StepperField.h"
#include "foundation/ui/WindowLook.h"
#include "output/OutputState.h"
#include "output/ScriptMailTransport.h"
#include "output/ui/BatchRun.h"
#include "output/ui/Email_Setting.h"
#include "output/ui/OutputHost.h"
#include "output/ui/RunStart.h"
#include "output/ui/Send_Modeless.h"
#include "platform/GuiThreadQueue.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

Send_Mail::Send_Mail(OutputHost &host, QWidget *parent)
    : QDialog(parent), m_host(host), m_transport(std::make_shared<ScriptMailTransport>())
{
    setObjectName(QStringLiteral("Send_Mail"));
    setWindowTitle(QStringLiteral("Send Mail"));
    WindowLook::applyBackground(this);
    buildWindow();
    connectControls();
    SetObjEnabled(delayed_box, false);
}

Send_Mail::~Send_Mail() = default;

void Send_Mail::connectControls()
{
    connect(send_button, &QPushButton::clicked, this, &Send_Mail::Send_Button);
    connect(close_button, &QPushButton::clicked, this, &Send_Mail::Close_Button);
    connect(setting_button, &QPushButton::clicked, this, &Send_Mail::Setting_Button);
    connect(browse_att, &QPushButton::clicked, this, &Send_Mail::browse_att_Button);
    connect(clear_att, &QPushButton::clicked, this, &Send_Mail::clear_att_Button);
    connect(matrix_card_side, &QButtonGroup::idClicked, this, &Send_Mail::mail_card_side_CellClick);
    connect(rd_without_barcode, &QRadioButton::clicked, this, &Send_Mail::Without_barcode_rd_select);
    connect(rd_mail_curr_barcode, &QRadioButton::clicked, this, &Send_Mail::send_barcode_rd_select);
    connect(send_with_batch_chk, &QCheckBox::clicked, this, &Send_Mail::send_with_batch_chk_select);
    connect(send_with_excel_chk, &QCheckBox::clicked, this, &Send_Mail::send_with_excel_chk_select);
    connect(delayed_delv_chk, &QCheckBox::clicked, this, &Send_Mail::delayed_delv_chk_select);
}

void Send_Mail::setTransport(std::shared_ptr<MailTransport> transport)
{
    m_transport = std::move(transport);
    if (m_settingsWindow)
        m_settingsWindow->setTransport(m_transport);
}

Send_Mail::StoredSettings Send_Mail::readStoredSettings()
{
    const Preferences &p = Preferences::sharedInstance();
    StoredSettings s;
    s.sender = p.send_email_SenderEmail();
    s.account.password = p.send_email_Password();
    s.account.server = p.send_email_SMTP_server();
    s.account.port = p.send_email_PORT_num();
    s.account.ssl =
        p.send_email_enable_ssl() == QLatin1String("Y") ? QStringLiteral("Y") : QStringLiteral("N");
    return s;
}

Send_Mail::StoredSettings Send_Mail::storedSettings()
{
    return m_settingsSource ? m_settingsSource() : readStoredSettings();
}

int Send_Mail::Open_Wnd()
{
    // The design's sources as the window opens decide the boxes offered; Send reads them again.
    m_offered = RunStart::plan(m_host);
    // Said as the window opens; it still sends a message without a card.
    RunStart::stopsForGoneSeries(*m_offered);
    resetWindow();
    return ModalRunner::exec(*this);
}

void Send_Mail::resetWindow()
{
    mail_card_side_CellClick(1);
    from_txt->setText(storedSettings().sender);
    to_txt->clear();
    file_name_txt->setText(QStringLiteral("ZOLVCard"));
    send_with_batch_chk->setChecked(false);
    send_with_excel_chk->setChecked(false);
    rd_all_to_every->setChecked(true);
    send_barcode_rd_select();
    subject_txt->clear();
    message_txt->clear();
    attachment->clear();
    delayed_delv_chk->setChecked(false);
    delayed_delv_chk_select();
    mail_count_stepper->setValue(1);
    hour_stepper->setValue(0);
    min_stepper->setValue(0);
    sec_stepper->setValue(0);
    to_txt->setFocus(Qt::OtherFocusReason);
}

void Send_Mail::Close_Button()
{
    done(0);
}

void Send_Mail::Setting_Button()
{
    if (m_settingsOpener) {
        m_settingsOpener();
    } else {
        if (!m_settingsWindow) {
            m_settingsWindow = new Email_Setting(this);
            m_settingsWindow->setTransport(m_transport);
        }
        m_settingsWindow->Open_Wnd();
    }
    from_txt->setText(storedSettings().sender);
}

void Send_Mail::browse_att_Button()
{
    const std::optional<QString> path =
        FilePanels::instance().openFile(this, QStringLiteral("Choose the file to send"), {});
    if (path)
        attachment->setText(*path);
}

void Send_Mail::clear_att_Button()
{
    attachment->clear();
}

void Send_Mail::mail_card_side_CellClick(int row)
{
    card_side_str = row == 0 ? SideCode::Both : row == 1 ? SideCode::Front : SideCode::Back;
    if (QAbstractButton *radio = matrix_card_side->button(std::clamp(row, 0, 2)))
        radio->setChecked(true);
}

void Send_Mail::Without_barcode_rd_select()
{
    rd_without_barcode->setChecked(true);
    SetObjEnabled(send_sett_box, false);
    for (QWidget *w : std::initializer_list<QWidget *>{attachment, browse_att, clear_att})
        w->setEnabled(true);
}

void Send_Mail::send_barcode_rd_select()
{
    if (!m_offered)
        m_offered = RunStart::plan(m_host);
    const RunPlan &plan = *m_offered;
    rd_mail_curr_barcode->setChecked(true);
    SetObjEnabled(send_sett_box, true);
    // A box is offered only for a source the design uses.
    send_with_batch_chk->setEnabled(plan.offersSeries());
    if (!plan.offersSeries())
        send_with_batch_chk->setChecked(false);
    send_with_excel_chk->setEnabled(plan.offersExcel());
    if (!plan.offersExcel())
        send_with_excel_chk->setChecked(false);
    // A single-sided card sends its front only.
    for (const int row : {0, 2})
        matrix_card_side->button(row)->setEnabled(plan.backTakesPart());
    if (!plan.backTakesPart())
        mail_card_side_CellClick(1);
    followSpreadChoice();
    for (QWidget *w : std::initializer_list<QWidget *>{attachment, browse_att, clear_att})
        w->setEnabled(false);
}

// Who gets which card matters only when the card is filled from data rows.
void Send_Mail::followSpreadChoice()
{
    const bool batch = send_with_batch_chk->isChecked() || send_with_excel_chk->isChecked();
    rd_all_to_every->setEnabled(batch);
    rd_one_per_recp->setEnabled(batch);
}

void Send_Mail::send_with_batch_chk_select()
{
    followSpreadChoice();
}

void Send_Mail::send_with_excel_chk_select()
{
    followSpreadChoice();
}

void Send_Mail::delayed_delv_chk_select()
{
    SetObjEnabled(delayed_box, delayed_delv_chk->isChecked());
}

MailRun::Request Send_Mail::request(const StoredSettings &settings)
{
    MailRun::Request r;
    r.sender = from_txt->text();
    r.recipients = to_txt->text();
    r.subject = subject_txt->text();
    r.body = message_txt->toPlainText();
    r.account = settings.account;
    r.mode = rd_without_barcode->isChecked() ? MailRun::Mode::WithoutCard : MailRun::Mode::Card;
    r.attachment = attachment->text();
    r.fileName = file_name_txt->text();
    r.side = card_side_str;
    r.spread = rd_one_per_recp->isChecked() ? MailRun::Spread::OnePerRecipient : MailRun::Spread::AllToEvery;
    r.delayed = delayed_delv_chk->isChecked();
    r.pauseEvery = int(mail_count_stepper->value());
    r.pauseMs = qint64(hour_stepper->value()) * 3600000 + qint64(min_stepper->value()) * 60000 +
                qint64(sec_stepper->value()) * 1000;
    // The data as it stands at Send (the workbook and series files may have changed while the
    // window was open), under the sources the boxes leave.
    if (r.mode == MailRun::Mode::Card)
        r.plan =
            RunStart::plan(m_host, RunPlan::Choices().withSources(
                                       send_with_batch_chk->isEnabled() && send_with_batch_chk->isChecked(),
                                       send_with_excel_chk->isEnabled() && send_with_excel_chk->isChecked()));
    return r;
}

QString Send_Mail::pauseHintText()
{
    return QStringLiteral("The next message goes one second before the time set is up: a pause of "
                          "1 second or less sends without waiting.");
}

QString Send_Mail::recipientListTooLongText()
{
    return QStringLiteral("The recipient list is longer than the %1 characters the \"To\" field keeps, so "
                          "its end was cut off. Please send to fewer recipients at a time.")
        .arg(QLocale(QLocale::English).toString(RecipientFieldChars));
}

// The run as it may start, with its outline; false when it must not. Every mail run's question
// speaks of mail and defaults to Cancel. The data the run sends is the data read after the last
// question: when it changed while the question was open, the run is worked out anew, and asked
// about again when its count of messages or who gets no card changed with it.
bool Send_Mail::mayBegin(const MailRun::Hooks &hooks, std::unique_ptr<MailRun> &run,
                         MailRun::Outline &outline)
{
    ExportProgress &progress = OutputState::instance().progress;
    MailRun::Request asked = request(storedSettings());
    run = std::make_unique<MailRun>(asked, *m_transport, progress, hooks);
    outline = run->outline();
    if (!outline.refusal.isEmpty()) {
        Show_MessageBox(outline.refusal);
        return false;
    }
    if (!outline.plan)
        return true; // the mode without the card reads no data
    if (RunStart::stopsForGoneSeries(*outline.plan))
        return false;
    std::shared_ptr<const RunPlan> plan =
        RunStart::mayBegin(outline.plan, 0, MailRun::scaleText(outline), true);
    // The run each plan makes, the blank cards left out as its choices say.
    const auto runOf = [&](const RunPlan &cards) {
        MailRun::Request r = asked;
        r.plan = cards.with(cards.choices());
        auto made = std::make_unique<MailRun>(r, *m_transport, progress, hooks);
        if (cards.choices().leaveOutBlank)
            made->leaveOutBlankCards();
        return made;
    };
    const auto size = [&](const RunPlan &cards) { return MailRun::sizeText(runOf(cards)->outline()); };
    if (!plan || !(plan = RunStart::atFirstCard(m_host, plan, 0, size, true)))
        return false;
    run = runOf(*plan);
    outline = run->outline();
    if (!outline.refusal.isEmpty()) {
        Show_MessageBox(outline.refusal);
        return false;
    }
    return true;
}

void Send_Mail::Send_Button()
{
    // A full field may hold a list cut short, its last address cut mid-way: nothing is sent.
    if (to_txt->text().size() >= to_txt->maxLength()) {
        Show_MessageBox(recipientListTooLongText());
        return;
    }
    MailRun::Hooks hooks;
    // The worker's pause line reaches the sheet on the GUI thread.
    hooks.pauseLine = [](const QString &line) {
        GuiThreadQueue::post([line] {
            if (Send_Modeless *sheet = Send_Modeless::defaultInstance())
                sheet->pause_label->setText(line);
        });
    };
    hooks.log = [](const QString &line) { Show_NSLog_Message(line); };

    ExportProgress &progress = OutputState::instance().progress;
    progress.Stop_SMS_Sending_Now = false;
    const std::shared_ptr<MailTransport> transport = m_transport;
    std::unique_ptr<MailRun> run;
    MailRun::Outline outline;
    if (!mayBegin(hooks, run, outline))
        return;
    // The sheet counts messages, which a row sent to every recipient holds several of.
    progress.start(outline.planned);
    MailRun::Result result;
    BatchRun::exec(
        this, progress, outline.planned, BatchRun::Kind::Mail, [&] { result = run->run(); },
        [transport] { transport->abort(); }, [transport] { transport->endCurrent(); });
    BatchRun::showDesignAgain(m_host);
    m_lastResult = result;
    for (const QString &problem : result.problems())
        Show_NSLog_Message(QStringLiteral("Mail: ") + problem);
    Show_MessageBox(result.message);
}
