// The mail settings window driven as a user would: the checks in order with the focus on the
// field at fault, Save into a private file, SSL and TLS, the test message off the GUI thread (given
// up on Cancel or when the server does not answer), Reset, and a quit while the mail script runs.
#include "foundation/Preferences.h"
#include "foundation/ui/PleaseWaitSheet.h"
#include "foundation/ui/PleaseWait_Modeless.h"
#include "output/MailRun.h"
#include "output/MailStub.h"
#include "output/ScriptMailTransport.h"
#include "output/ui/Email_Setting.h"
#include "output/ui/MailFakes.h"
#include "platform/GuiThreadQueue.h"
#include "platform/PropertyList.h"
#include "support/KeyboardWalk.h"
#include "support/WindowFixture.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <cerrno>
#include <csignal>
#include <sys/stat.h>

using mailtest::RecordingTransport;
using testsupport::WindowFixture;

class MailSettingsWindow : public WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        window.setTransport(transport);
        window.show(); // laid out, so clicks land where a user's would
        window.setSettingsChanged([this] { ++settingsChanged; });
    }

    static void type(QLineEdit *field, const QString &text) { mailtest::typeInto(field, text); }
    void fillValid()
    {
        type(window._send_mail_sender_mail, QStringLiteral("Cards@Example.COM"));
        type(window._send_mail_password, QStringLiteral("pässwörd"));
        type(window._send_mail_smtp, QStringLiteral("smtp.example.com"));
        type(window._send_mail_port, QStringLiteral("465"));
        type(window._send_mail_to, QStringLiteral("Friend@Example.org"));
    }
    plist::Dict stored() const
    {
        const PropertyList::ReadResult r = PropertyList::readFile(Preferences::sharedInstance().path());
        return r.ok && r.value.isDict() ? r.value.toDict() : plist::Dict();
    }
    QString storedText(const char *key) const
    {
        const plist::Dict dict = stored();
        const plist::Value *v = dict.find(QString::fromLatin1(key));
        return v && v->isString() ? v->toString() : QString();
    }

    std::shared_ptr<RecordingTransport> transport = std::make_shared<RecordingTransport>();
    Email_Setting window;
    int settingsChanged = 0;
};

TEST_F(MailSettingsWindow, ChecksComeInOrderAndFocusTheFieldAtFault)
{
    QList<QLineEdit *> focused;
    int saved = -1;
    modalScripts.push_back([&](QDialog &dialog) {
        dialog.show();
        auto press = [&](QPushButton *button) {
            QTest::mouseClick(button, Qt::LeftButton);
            focused << qobject_cast<QLineEdit *>(dialog.focusWidget());
        };
        press(window.save_button);
        type(window._send_mail_sender_mail, QStringLiteral("   ")); // blanks are not empty, but not valid
        press(window.save_button);
        type(window._send_mail_sender_mail, QStringLiteral("Cards@Example.COM"));
        press(window.save_button);
        type(window._send_mail_password, QStringLiteral("pässwörd"));
        press(window.save_button);
        type(window._send_mail_smtp, QStringLiteral("smtp.example.com"));
        press(window.save_button);
        // A port is a number from 1 to 65535, at Save as for a test message.
        for (const char *port : {"smtp", "0", "65536", "-25", "5 87"}) {
            type(window._send_mail_port, QString::fromLatin1(port));
            press(window.save_button);
        }
        // A recipient is needed for a test message only.
        type(window._send_mail_port, QStringLiteral(" 587 "));
        press(window.test_button);
        type(window._send_mail_to, QStringLiteral("a@b.c"));
        press(window.test_button);
        EXPECT_TRUE(transport->sent.isEmpty());
        WindowFixture::saveArtifact(&dialog, QStringLiteral("mail_settings.png"));
        QTest::mouseClick(window.save_button, Qt::LeftButton);
        dialog.hide();
        return dialog.result();
    });
    saved = window.Open_Wnd();

    const QString range = "\n" + Email_Setting::PortRangeMessage;
    EXPECT_EQ(
        messages.messages(),
        (QStringList{"\nPlease enter sender E-mail.", "\nPlease enter valid sender E-mail address.",
                     "\nPlease enter password.", "\nPlease enter SMTP server.", "\nPlease enter port number.",
                     range, range, range, range, range, "\nPlease enter recipient E-mail address.",
                     "\nPlease enter valid recipient E-mail address."}));
    const QList<QLineEdit *> portFocused(5, window._send_mail_port);
    EXPECT_EQ(focused, (QList<QLineEdit *>{window._send_mail_sender_mail, window._send_mail_sender_mail,
                                           window._send_mail_password, window._send_mail_smtp,
                                           window._send_mail_port} +
                        portFocused + QList<QLineEdit *>{window._send_mail_to, window._send_mail_to}));
    EXPECT_EQ(saved, 1);
    EXPECT_EQ(storedText("SendEmailSender"), "Cards@Example.COM"); // as typed
    EXPECT_EQ(storedText("SendEmailPwd"), "pässwörd");
    EXPECT_EQ(storedText("SendEmailPORT"), "587");
    EXPECT_EQ(storedText("SendEmailRecipient"), "a@b.c");
    EXPECT_EQ(storedText("SendEnableSSL"), "N"); // nothing stored before: TLS
    struct stat info {
    };
    ASSERT_EQ(::stat(QFile::encodeName(Preferences::sharedInstance().path()).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(settingsChanged, 1);
}

TEST_F(MailSettingsWindow, TabFollowsTheFieldsDownTheWindow)
{
    // The security choice sits under the port and above the test recipient: Tab goes that way.
    ASSERT_TRUE(testsupport::showWithKeyboard(window));
    const QList<QWidget *> visited = testsupport::tabStopsFrom(window._send_mail_sender_mail, 8);
    const qsizetype port = visited.indexOf(window._send_mail_port);
    const qsizetype recipient = visited.indexOf(window._send_mail_to);
    EXPECT_EQ(visited.mid(0, 3),
              (QList<QWidget *>{window._send_mail_password, window._send_mail_smtp, window._send_mail_port}));
    ASSERT_GT(recipient, port + 1);
    for (qsizetype i = port + 1; i < recipient; ++i)
        EXPECT_TRUE(visited.at(i) == window._send_mail_ssl || visited.at(i) == window._send_mail_tls) << i;
    EXPECT_EQ(visited.value(recipient + 1), window.test_button);
}

TEST_F(MailSettingsWindow, TheTestMessageGoesOutOffTheGuiThreadWithTheWindowsEntries)
{
    window.loadPreferences();
    fillValid();
    QTest::mouseClick(window._send_mail_ssl, Qt::LeftButton);
    EXPECT_EQ(window.sslFlag(), "Y");
    QString statusWhileSending;
    bool sheetWhileSending = false;
    transport->accept = [&](const MailTransport::Message &) {
        // Looked at from the worker: the GUI thread is turning its own loop meanwhile.
        GuiThreadQueue::runAndWait([&] {
            statusWhileSending = window._send_mail_result_status->text();
            sheetWhileSending = PleaseWaitSheet::current() != nullptr;
        });
        return true;
    };
    QTest::mouseClick(window.test_button, Qt::LeftButton);

    ASSERT_EQ(transport->sent.size(), 1);
    const RecordingTransport::Sent &s = transport->sent[0];
    EXPECT_FALSE(s.onGuiThread);
    EXPECT_EQ(statusWhileSending, Email_Setting::WaitText);
    EXPECT_TRUE(sheetWhileSending);
    EXPECT_EQ(s.message.sender, "cards@example.com");
    EXPECT_EQ(s.message.recipient, "friend@example.org");
    EXPECT_EQ(s.message.subject, "Tessaly Greeting Designer Test Mail");
    EXPECT_EQ(s.message.body, "This is test mail sent by Tessaly Greeting Designer.");
    EXPECT_TRUE(s.message.attachments.isEmpty());
    EXPECT_EQ(s.account.password, "pässwörd");
    EXPECT_EQ(s.account.server, "smtp.example.com");
    EXPECT_EQ(s.account.port, "465");
    EXPECT_EQ(s.account.ssl, "Y");
    EXPECT_EQ(window._send_mail_result_status->text(), "E-mail has been sent successfully.");
    EXPECT_EQ(messages.messages(), QStringList{"\nE-mail has been sent successfully."});
    EXPECT_FALSE(QFileInfo(Preferences::sharedInstance().path()).size() > 0); // nothing saved by a test

    // TLS, and a server that refuses.
    messages.clear();
    QTest::mouseClick(window._send_mail_tls, Qt::LeftButton);
    transport->accept = [](const MailTransport::Message &) { return false; };
    QTest::mouseClick(window.test_button, Qt::LeftButton);
    EXPECT_EQ(transport->calls, 2);
    EXPECT_EQ(window._send_mail_result_status->text(), "Could not send email.");
    // The checklist, then what the server said.
    const QString failure = Email_Setting::failureText();
    EXPECT_TRUE(failure.startsWith("Please make sure that:\n1. Entered E-mail settings are correct."));
    EXPECT_TRUE(failure.endsWith("server.\n\nCould not send email."));
    EXPECT_EQ(messages.messages(), QStringList{"\n" + failure + "\n\n535 authentication failed"});
}

namespace
{
// Fails every message with the words given, as the mail script would print them.
class FailingTransport : public MailTransport
{
public:
    explicit FailingTransport(QString why) : m_why(std::move(why)) {}
    Delivery send(const Message &, const Account &, QString *error) override
    {
        *error = m_why;
        return Delivery::Failed;
    }

private:
    QString m_why;
};
} // namespace

TEST_F(MailSettingsWindow, ALongFailureKeepsTheLayoutAndACertificateFailureIsNamed)
{
    window.loadPreferences();
    fillValid();
    QCoreApplication::processEvents();
    const QSize before = window.size();
    const QRect buttonBefore = window.test_button->geometry();
    QString longWords;
    for (int i = 0; i < 200; ++i)
        longWords += QStringLiteral("the server said something long, ");
    window.setTransport(std::make_shared<FailingTransport>("pyth_mail: " + longWords));
    QTest::mouseClick(window.test_button, Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(window.size(), before);
    EXPECT_EQ(window.test_button->geometry(), buttonBefore);
    EXPECT_EQ(window._send_mail_result_status->text(), "Could not send email.");
    ASSERT_EQ(messages.messages().size(), 1);
    EXPECT_TRUE(
        messages.messages()[0].startsWith("\n" + Email_Setting::failureText() + "\n\nthe server said"));
    EXPECT_TRUE(messages.messages()[0].endsWith("...")); // cut to a box's size
    WindowFixture::saveArtifact(&window, QStringLiteral("mail_settings_failed.png"));

    // The script's words for an untrusted certificate reach the box as they are.
    messages.clear();
    window.setTransport(std::make_shared<FailingTransport>(
        "pyth_mail: certificate failure: the server's certificate could not be verified (self-signed "
        "certificate). If the server uses its own certificate authority, start the program with "
        "SSL_CERT_FILE "
        "set to that authority's certificate file."));
    QTest::mouseClick(window.test_button, Qt::LeftButton);
    ASSERT_EQ(messages.messages().size(), 1);
    EXPECT_TRUE(
        messages.messages()[0].contains("\n\ncertificate failure: the server's certificate could not be "
                                        "verified (self-signed certificate)."));
    EXPECT_EQ(window.size(), before);
}

TEST_F(MailSettingsWindow, SslChoiceIsStoredAsYAndReadBack)
{
    modalScripts.push_back([&](QDialog &dialog) {
        fillValid();
        QTest::mouseClick(window._send_mail_ssl, Qt::LeftButton);
        QTest::mouseClick(window.save_button, Qt::LeftButton);
        return dialog.result();
    });
    EXPECT_EQ(window.Open_Wnd(), 1);
    EXPECT_EQ(storedText("SendEnableSSL"), "Y");

    // Reopening shows what is stored; Close keeps the store as it was.
    Preferences::resetSharedInstance(Preferences::sharedInstance().path());
    modalScripts.push_back([&](QDialog &dialog) {
        EXPECT_TRUE(window._send_mail_ssl->isChecked());
        EXPECT_FALSE(window._send_mail_tls->isChecked());
        EXPECT_EQ(window._send_mail_sender_mail->text(), "Cards@Example.COM");
        type(window._send_mail_smtp, QStringLiteral("other.example.com"));
        QTest::mouseClick(window.close_button, Qt::LeftButton);
        return dialog.result();
    });
    EXPECT_EQ(window.Open_Wnd(), 0);
    EXPECT_EQ(storedText("SendEmailSMTP"), "smtp.example.com");
}

TEST_F(MailSettingsWindow, ResetAsksThenForgetsEverySetting)
{
    Preferences &p = Preferences::sharedInstance();
    p.setsend_email_SenderEmail(QStringLiteral("cards@example.com"));
    p.setsend_email_enable_ssl(QStringLiteral("Y"));
    ASSERT_TRUE(p.flush());
    window.loadPreferences();

    messages.queueAnswers({false});
    QTest::mouseClick(window.reset_button, Qt::LeftButton);
    EXPECT_EQ(messages.questions(), QStringList{Email_Setting::ResetQuestion});
    EXPECT_TRUE(QFileInfo::exists(p.path()));
    EXPECT_EQ(window._send_mail_sender_mail->text(), "cards@example.com");
    EXPECT_EQ(settingsChanged, 0);

    messages.queueAnswers({true});
    QTest::mouseClick(window.reset_button, Qt::LeftButton);
    EXPECT_FALSE(QFileInfo::exists(p.path()));
    EXPECT_TRUE(window._send_mail_sender_mail->text().isEmpty());
    EXPECT_TRUE(window._send_mail_tls->isChecked());
    EXPECT_FALSE(window._send_mail_ssl->isChecked());
    EXPECT_EQ(settingsChanged, 1);
    // Whoever reads the store now finds nothing, as on a first start.
    EXPECT_TRUE(p.send_email_SenderEmail().isEmpty());
    EXPECT_TRUE(p.send_email_enable_ssl().isNull());
}

TEST_F(MailSettingsWindow, AnUnreadableSettingsFileIsLeftAsItIsUntilTheUserSaves)
{
    const QString path = Preferences::sharedInstance().path();
    const QByteArray damaged = "<plist><dict><key>SendEmailSender</key><string>cards@exa";
    testsupport::writeFile(path, damaged);
    Preferences::resetSharedInstance(path);
    modalScripts.push_back([&](QDialog &dialog) {
        EXPECT_TRUE(window._send_mail_sender_mail->text().isEmpty());
        QTest::mouseClick(window.close_button, Qt::LeftButton);
        return dialog.result();
    });
    EXPECT_EQ(window.Open_Wnd(), 0);
    EXPECT_EQ(mailtest::readAll(path), damaged); // the user's only copy is not overwritten
}

TEST_F(MailSettingsWindow, QuittingWhileTheScriptRunsKillsIt)
{
    const QString folder = m_tmp.path();
    window.setTransport(std::make_shared<ScriptMailTransport>(mailtest::writeSleepingInterpreter(folder),
                                                              QStringLiteral("pyth_mail.py")));
    window.loadPreferences();
    fillValid();
    qint64 pid = 0;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QFile f(folder + QStringLiteral("/pid"));
        if (f.open(QIODevice::ReadOnly) && (pid = f.readAll().trimmed().toLongLong()) > 0) {
            poll.stop();
            QCoreApplication::exit(0); // what the program does on a termination signal
        }
    });
    QTimer::singleShot(0, [&] {
        poll.start();
        QTest::mouseClick(window.test_button, Qt::LeftButton);
    });
    // Never hang the test; a timer of the test's own, so it cannot end a later test's loop.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    guard.start(20000);
    QCoreApplication::exec();

    ASSERT_GT(pid, 0);
    EXPECT_EQ(::kill(pid_t(pid), 0), -1); // killed and reaped, not left to sleep on
    EXPECT_EQ(errno, ESRCH);
    EXPECT_EQ(window._send_mail_result_status->text(), "Could not send email.");
}

// A server that never answers: the please-wait sheet's Cancel gives the test message up at once,
// and without Cancel it is given up when its time is over; either way the window is free again.
TEST_F(MailSettingsWindow, ATestMessageToASilentServerCanBeCancelledAndGivesUpByItself)
{
    mailtest::SilentServer silent;
    ASSERT_FALSE(silent.port.isEmpty());
    window.setTransport(std::make_shared<ScriptMailTransport>()); // the shipped script
    window.setTestTimeoutMs(2000);
    window.loadPreferences();
    fillValid();
    type(window._send_mail_smtp, QStringLiteral("127.0.0.1"));
    type(window._send_mail_port, silent.port);
    struct Case {
        bool cancel;
        QString status;
        QStringList boxes;
    };
    const Case cases[] = {
        {true, Email_Setting::CancelledLine, {}},
        {false,
         Email_Setting::FailureLine,
         {"\n" + Email_Setting::failureText() + "\n\nThe server did not answer within 2 seconds."}},
    };
    for (const Case &c : cases) {
        messages.clear();
        bool cancelled = false;
        QTimer canceller;
        canceller.setInterval(20);
        QObject::connect(&canceller, &QTimer::timeout, [&] {
            PleaseWait_Modeless *sheet = PleaseWaitSheet::current();
            if (!sheet || !silent.hasWaitingClient() || cancelled)
                return;
            cancelled = true;
            WindowFixture::saveArtifact(sheet, QStringLiteral("mail_test_waiting.png"));
            QTest::mouseClick(sheet->cancel_button, Qt::LeftButton);
        });
        if (c.cancel)
            canceller.start();
        QTest::mouseClick(window.test_button, Qt::LeftButton);
        canceller.stop();
        EXPECT_EQ(cancelled, c.cancel);
        EXPECT_EQ(window._send_mail_result_status->text(), c.status);
        EXPECT_EQ(messages.messages(), c.boxes);
        EXPECT_EQ(PleaseWaitSheet::current(), nullptr);
    }
}
