#include "output/ui/Email_Setting.h"

#include "foundation/AppIdentity.h"
#include "foundation/FileUtils.h"
#include "foundation/MessageBoxes.h"
#include "foundation/Preferences.h"
#include "foundation/WorkerRun.h"
#include "foundation/ui/ModalRunner.h"
#include "foundation/ui/PleaseWaitSheet.h"
#include "foundation/ui/PleaseWait_Modeless.h"
#include "foundation/ui/WindowLook.h"
#include "output/MailRun.h"
#include "output/ScriptMailTransport.h"

#include <QButtonGroup>
#include <QFile>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

Email_Setting::Email_Setting(QWidget *parent)
    : QDialog(parent), m_transport(std::make_shared<ScriptMailTransport>())
{
    setObjectName(QStringLiteral("Email_Setting"));
    setWindowTitle(QStringLiteral("E-mail Settings"));
    WindowLook::applyBackground(this);

    makeFields();
    QGroupBox *account = makeAccountBox();
    QGroupBox *test = makeTestBox();
    QHBoxLayout *buttons = makeButtonRow();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(account);
    layout->addWidget(test);
    layout->addLayout(buttons);

    connect(save_button, &QPushButton::clicked, this, &Email_Setting::Save_Button);
    connect(close_button, &QPushButton::clicked, this, &Email_Setting::Close_Button);
    connect(test_button, &QPushButton::clicked, this, &Email_Setting::Send_Test_Email);
    connect(reset_button, &QPushButton::clicked, this, &Email_Setting::Reset_Button);
    connect(_send_mail_ssl, &QRadioButton::clicked, this, &Email_Setting::SSL_Selected);
    connect(_send_mail_tls, &QRadioButton::clicked, this, &Email_Setting::TLS_Selected);
}

// The account's fields, the test recipient, SSL or TLS, and the test's status line, in the order
// a user tabs through them.
void Email_Setting::makeFields()
{
    auto field = [this](const char *name) {
        auto *edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setMinimumWidth(260);
        return edit;
    };
    _send_mail_sender_mail = field("_send_mail_sender_mail");
    _send_mail_password = field("_send_mail_password");
    _send_mail_password->setEchoMode(QLineEdit::Password);
    _send_mail_smtp = field("_send_mail_smtp");
    _send_mail_port = field("_send_mail_port");
    _send_mail_ssl = new QRadioButton(QStringLiteral("SS&L"), this);
    _send_mail_ssl->setObjectName(QStringLiteral("_send_mail_ssl"));
    _send_mail_tls = new QRadioButton(QStringLiteral("TLS"), this);
    _send_mail_tls->setObjectName(QStringLiteral("_send_mail_tls"));
    _send_mail_to = field("_send_mail_to");
    auto *security = new QButtonGroup(this);
    security->addButton(_send_mail_ssl);
    security->addButton(_send_mail_tls);
    _send_mail_result_status = new QLabel(this);
    _send_mail_result_status->setObjectName(QStringLiteral("_send_mail_result_status"));
    // One short line: the whole text of a failure goes to the message box, so the window keeps
    // its layout however long the server's reason is.
    _send_mail_result_status->setMinimumHeight(36);
    _send_mail_result_status->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
}

QGroupBox *Email_Setting::makeAccountBox()
{
    auto *account = new QGroupBox(QStringLiteral("Sender account"), this);
    auto *form = new QFormLayout(account);
    form->addRow(QStringLiteral("Sender &E-mail:"), _send_mail_sender_mail);
    form->addRow(QStringLiteral("&Password:"), _send_mail_password);
    form->addRow(QStringLiteral("SMTP &server:"), _send_mail_smtp);
    form->addRow(QStringLiteral("P&ort:"), _send_mail_port);
    auto *securityRow = new QHBoxLayout;
    securityRow->addWidget(_send_mail_ssl);
    securityRow->addWidget(_send_mail_tls);
    securityRow->addStretch();
    form->addRow(QStringLiteral("Security:"), securityRow);
    return account;
}

QGroupBox *Email_Setting::makeTestBox()
{
    auto *test = new QGroupBox(QStringLiteral("Test message"), this);
    auto *testForm = new QFormLayout(test);
    test_button = new QPushButton(QStringLiteral("Send Test &Mail"), this);
    test_button->setObjectName(QStringLiteral("test_button"));
    test_button->setAutoDefault(false);
    testForm->addRow(QStringLiteral("&Recipient E-mail:"), _send_mail_to);
    auto *testRow = new QHBoxLayout;
    testRow->addWidget(_send_mail_result_status, 1);
    testRow->addWidget(test_button, 0, Qt::AlignTop);
    testForm->addRow(testRow);
    return test;
}

// Reset, then Save (the default) and Close.
QHBoxLayout *Email_Setting::makeButtonRow()
{
    reset_button = new QPushButton(QStringLiteral("Reset"), this);
    reset_button->setObjectName(QStringLiteral("reset_button"));
    reset_button->setAutoDefault(false);
    QHBoxLayout *buttons = WindowLook::okCancelRow(this, save_button, close_button);
    save_button->setText(QStringLiteral("Sa&ve"));
    save_button->setObjectName(QStringLiteral("save_button"));
    close_button->setText(QStringLiteral("&Close"));
    close_button->setObjectName(QStringLiteral("close_button"));
    buttons->insertWidget(0, reset_button);
    return buttons;
}

Email_Setting::~Email_Setting() = default;

QString Email_Setting::failureText()
{
    return QStringLiteral(
               "Please make sure that:\n1. Entered E-mail settings are correct.\n2. Internet connectivity to "
               "E-mail server is not interrupted and E-mail server is not down.\n3. Your Firewall or "
               "Security "
               "software (if any) is not blocking the software to communicate with your E-mail server.") +
           QStringLiteral("\n\nCould not send email.");
}

int Email_Setting::Open_Wnd()
{
    loadPreferences();
    return ModalRunner::exec(*this);
}

void Email_Setting::loadPreferences()
{
    const Preferences &p = Preferences::sharedInstance();
    _send_mail_to->setText(p.send_email_Recipient());
    _send_mail_sender_mail->setText(p.send_email_SenderEmail());
    _send_mail_smtp->setText(p.send_email_SMTP_server());
    _send_mail_port->setText(p.send_email_PORT_num());
    _send_mail_password->setText(p.send_email_Password());
    if (p.send_email_enable_ssl() == QLatin1String("Y"))
        SSL_Selected();
    else
        TLS_Selected();
    _send_mail_result_status->clear();
}

bool Email_Setting::flushPreferences()
{
    Preferences &p = Preferences::sharedInstance();
    p.setsend_email_Recipient(_send_mail_to->text());
    p.setsend_email_SenderEmail(_send_mail_sender_mail->text());
    p.setsend_email_SMTP_server(_send_mail_smtp->text());
    p.setsend_email_PORT_num(_send_mail_port->text().trimmed());
    p.setsend_email_Password(_send_mail_password->text());
    p.setsend_email_enable_ssl(sslFlag());
    QString error;
    const bool written = p.flush(&error);
    if (m_settingsChanged)
        m_settingsChanged();
    if (!written)
        Show_MessageBox(QStringLiteral("The e-mail settings could not be saved.\n\n") + error);
    return written;
}

QString Email_Setting::sslFlag() const
{
    return _send_mail_ssl->isChecked() && !_send_mail_tls->isChecked() ? QStringLiteral("Y")
                                                                       : QStringLiteral("N");
}

void Email_Setting::SSL_Selected()
{
    _send_mail_ssl->setChecked(true);
    _send_mail_tls->setChecked(false);
}

void Email_Setting::TLS_Selected()
{
    _send_mail_tls->setChecked(true);
    _send_mail_ssl->setChecked(false);
}

bool Email_Setting::refuse(const QString &text, QLineEdit *field)
{
    Show_MessageBox(text);
    field->setFocus(Qt::OtherFocusReason);
    return false;
}

bool Email_Setting::isPortNumber(const QString &text)
{
    const QString digits = text.trimmed();
    bool ok = false;
    const int port = digits.toInt(&ok);
    return ok && std::all_of(digits.begin(), digits.end(), [](QChar c) { return c.isDigit(); }) &&
           port >= 1 && port <= 65535;
}

bool Email_Setting::Check_Validation(bool withRecipient)
{
    const QString sender = _send_mail_sender_mail->text().toLower();
    if (sender.isEmpty())
        return refuse(QStringLiteral("Please enter sender E-mail."), _send_mail_sender_mail);
    if (!MailRun::isValidEmail(sender))
        return refuse(QStringLiteral("Please enter valid sender E-mail address."), _send_mail_sender_mail);
    if (_send_mail_password->text().isEmpty())
        return refuse(QStringLiteral("Please enter password."), _send_mail_password);
    if (_send_mail_smtp->text().isEmpty())
        return refuse(QStringLiteral("Please enter SMTP server."), _send_mail_smtp);
    if (_send_mail_port->text().isEmpty())
        return refuse(QStringLiteral("Please enter port number."), _send_mail_port);
    if (!isPortNumber(_send_mail_port->text()))
        return refuse(PortRangeMessage, _send_mail_port);
    if (withRecipient) {
        const QString recipient = _send_mail_to->text().toLower();
        if (recipient.isEmpty())
            return refuse(QStringLiteral("Please enter recipient E-mail address."), _send_mail_to);
        if (!MailRun::isValidEmail(recipient))
            return refuse(QStringLiteral("Please enter valid recipient E-mail address."), _send_mail_to);
    }
    return true;
}

void Email_Setting::Save_Button()
{
    if (!Check_Validation(false))
        return;
    if (flushPreferences())
        done(1);
}

void Email_Setting::Close_Button()
{
    done(0);
}

QString Email_Setting::timeoutText(int ms)
{
    return QStringLiteral("The server did not answer within %1 seconds.").arg((ms + 999) / 1000);
}

// The script runs on a worker under the please-wait sheet, so the window keeps painting. Cancel on
// the sheet, or no answer within the time allowed, gives the message up; so does quitting.
Email_Setting::TestEnd Email_Setting::sendOffTheGuiThread(const MailTransport::Message &message,
                                                          const MailTransport::Account &account,
                                                          QString *error)
{
    const std::shared_ptr<MailTransport> transport = m_transport;
    TestEnd gaveUp = TestEnd::NotSent;
    // Asked again until the work returns: a script not yet started when the user gave up is ended too.
    QTimer ender;
    ender.setInterval(100);
    QObject::connect(&ender, &QTimer::timeout, [transport] { transport->endCurrent(); });
    const auto giveUp = [&](TestEnd why) {
        if (gaveUp != TestEnd::NotSent)
            return;
        gaveUp = why;
        transport->endCurrent();
        ender.start();
    };
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, [&] { giveUp(TestEnd::TimedOut); });

    MailTransport::Delivery delivery = MailTransport::Delivery::Failed;
    QString why;
    {
        PleaseWaitSheet sheet(this, [&] { giveUp(TestEnd::Cancelled); });
        deadline.start(m_testTimeoutMs);
        WorkerRun::Options options;
        options.quit = [transport] { transport->abort(); };
        WorkerRun::run([&] { delivery = transport->send(message, account, &why); }, options);
    }
    if (error)
        *error = why;
    // A message the server took before it was given up was sent all the same.
    if (delivery == MailTransport::Delivery::Sent)
        return TestEnd::Sent;
    return gaveUp;
}

void Email_Setting::Send_Test_Email()
{
    if (!Check_Validation(true))
        return;
    MailTransport::Message message;
    message.recipient = _send_mail_to->text().toLower().trimmed();
    message.sender = _send_mail_sender_mail->text().toLower().trimmed();
    message.subject = AppIdentity::DisplayName + TestSubjectSuffix;
    message.body = QStringLiteral("This is test mail sent by ") + AppIdentity::DisplayName + QLatin1Char('.');
    MailTransport::Account account;
    account.password = _send_mail_password->text();
    account.server = _send_mail_smtp->text();
    account.port = _send_mail_port->text().trimmed();
    account.ssl = sslFlag();

    _send_mail_result_status->setText(WaitText);
    QString error;
    const TestEnd end = sendOffTheGuiThread(message, account, &error);
    if (end == TestEnd::Sent) {
        _send_mail_result_status->setText(MailRun::sentText());
        Show_MessageBox(MailRun::sentText());
        return;
    }
    if (end == TestEnd::Cancelled) {
        Show_NSLog_Message(QStringLiteral("Test message cancelled."));
        _send_mail_result_status->setText(CancelledLine);
        return;
    }
    const QString why = end == TestEnd::TimedOut ? timeoutText(m_testTimeoutMs) : MailRun::reasonText(error);
    Show_NSLog_Message(QStringLiteral("Test message not sent: ") + (end == TestEnd::TimedOut ? why : error));
    _send_mail_result_status->setText(FailureLine);
    Show_MessageBox(why.isEmpty() ? failureText() : failureText() + QStringLiteral("\n\n") + why);
}

void Email_Setting::Reset_Button()
{
    if (!Show_YES_NO_MessageBox(ResetQuestion))
        return;
    Preferences &p = Preferences::sharedInstance();
    Delete_File(p.path());
    // The store forgets them too, so whoever reads it next finds nothing, as after a fresh start.
    p.setsend_email_enable_ssl(QString());
    p.setDefaults();
    for (QLineEdit *edit :
         {_send_mail_to, _send_mail_sender_mail, _send_mail_smtp, _send_mail_port, _send_mail_password})
        edit->clear();
    TLS_Selected();
    _send_mail_result_status->clear();
    if (m_settingsChanged)
        m_settingsChanged();
}
