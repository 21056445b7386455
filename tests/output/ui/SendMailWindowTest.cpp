// The mail window driven as a user would: its defaults and the controls that follow each other,
// the refusals before the progress sheet, card and data-row runs under the sheet, the mode
// without the card, the Settings button, and a quit while the mail script runs.
#include "foundation/Preferences.h"
#include "foundation/StepperField.h"
#include "output/BatchDesignFixture.h"
#include "output/MailRun.h"
#include "output/MailStub.h"
#include "output/OutputState.h"
#include "output/ScriptMailTransport.h"
#include "output/Send_Mail.h"
#include "output/Send_Modeless.h"
#include "output/ui/MailFakes.h"
#include "output/ui/OutputWindowFixture.h"
#include "platform/GuiThreadQueue.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <QThread>

#include <atomic>
#include <cerrno>
#include <csignal>

using mailtest::RecordingTransport;
using outputtest::FakeHost;
using outputtest::plainDesign;
using testsupport::WindowFixture;

namespace
{
void click(QAbstractButton *button)
{
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, 6));
}

void type(QLineEdit *field, const QString &text)
{
    mailtest::typeInto(field, text);
}
} // namespace

class SendMailWindow : public WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        Preferences &p = Preferences::sharedInstance();
        p.setsend_email_SenderEmail(QStringLiteral("Cards@Example.com"));
        p.setsend_email_Password(QStringLiteral("secret"));
        p.setsend_email_SMTP_server(QStringLiteral("smtp.example.com"));
        p.setsend_email_PORT_num(QStringLiteral("587"));
    }

    // Opens the window on host and lets drive work on it; the window is closed afterwards.
    void withWindow(FakeHost &host, const std::function<void(Send_Mail &)> &drive)
    {
        Send_Mail window(host, &host.window);
        window.setTransport(transport);
        modalScripts.push_back([&](QDialog &) {
            drive(window);
            QTest::mouseClick(window.close_button, Qt::LeftButton);
            return window.result();
        });
        EXPECT_EQ(window.Open_Wnd(), 0);
    }

    std::shared_ptr<RecordingTransport> transport = std::make_shared<RecordingTransport>();
};

TEST_F(SendMailWindow, OpensWithItsDefaultsAndTheControlsFollowTheMode)
{
    FakeHost host(plainDesign());
    withWindow(host, [&](Send_Mail &w) {
        EXPECT_EQ(w.windowTitle(), "Send Mail");
        EXPECT_EQ(w.from_txt->text(), "Cards@Example.com");
        EXPECT_EQ(w.file_name_txt->text(), "ZOLVCard");
        EXPECT_TRUE(w.matrix_card_side->button(1)->isChecked());
        EXPECT_EQ(w.card_side_str, "F");
        EXPECT_TRUE(w.rd_mail_curr_barcode->isChecked());
        EXPECT_EQ(w.mail_count_stepper->value(), 1);
        EXPECT_EQ(w.hour_stepper->value() + w.min_stepper->value() + w.sec_stepper->value(), 0);
        // No data source in the design: neither data box can be ticked, so who gets which card
        // does not arise.
        EXPECT_FALSE(w.send_with_batch_chk->isEnabled());
        EXPECT_FALSE(w.send_with_excel_chk->isEnabled());
        EXPECT_FALSE(w.rd_all_to_every->isEnabled());
        EXPECT_TRUE(w.rd_all_to_every->isChecked());
        EXPECT_FALSE(w.browse_att->isEnabled());
        EXPECT_FALSE(w.clear_att->isEnabled());
        EXPECT_FALSE(w.mail_count_stepper->isEnabled());
        EXPECT_TRUE(w.file_name_txt->isEnabled());

        click(w.rd_without_barcode);
        EXPECT_FALSE(w.file_name_txt->isEnabled());
        EXPECT_FALSE(w.matrix_card_side->button(0)->isEnabled());
        EXPECT_TRUE(w.browse_att->isEnabled());
        EXPECT_TRUE(w.clear_att->isEnabled());
        click(w.rd_mail_curr_barcode);
        EXPECT_TRUE(w.file_name_txt->isEnabled());
        EXPECT_FALSE(w.send_with_batch_chk->isEnabled()); // still no source
        EXPECT_FALSE(w.browse_att->isEnabled());

        click(w.delayed_delv_chk);
        EXPECT_TRUE(w.mail_count_stepper->isEnabled());
        EXPECT_TRUE(w.sec_stepper->isEnabled());
        click(w.matrix_card_side->button(0));
        EXPECT_EQ(w.card_side_str, "BOTH");
        click(w.matrix_card_side->button(2));
        EXPECT_EQ(w.card_side_str, "B");
        WindowFixture::saveArtifact(&w, QStringLiteral("send_mail.png"));
    });
    EXPECT_EQ(modalTitles, QStringList{"Send Mail"});
}

TEST_F(SendMailWindow, DataBoxesAreOfferedForTheSourcesInUseAndOpenTheChoiceOfRecipients)
{
    batchtest::SampleDesign sample(tempPath("DataSet"), 3, true);
    FakeHost host(sample.design);
    withWindow(host, [&](Send_Mail &w) {
        EXPECT_TRUE(w.send_with_batch_chk->isEnabled());
        EXPECT_TRUE(w.send_with_excel_chk->isEnabled());
        EXPECT_FALSE(w.send_with_batch_chk->isChecked());
        EXPECT_FALSE(w.rd_one_per_recp->isEnabled());
        click(w.send_with_batch_chk);
        EXPECT_TRUE(w.rd_one_per_recp->isEnabled());
        click(w.send_with_excel_chk);
        click(w.send_with_batch_chk);
        EXPECT_TRUE(w.rd_one_per_recp->isEnabled()); // Excel still ticked
        click(w.send_with_excel_chk);
        EXPECT_FALSE(w.rd_one_per_recp->isEnabled());
    });
}

TEST_F(SendMailWindow, RefusalsComeBeforeTheProgressSheet)
{
    FakeHost host(plainDesign());
    QStringList sheetsSeen;
    withWindow(host, [&](Send_Mail &w) {
        auto send = [&] {
            delete Send_Modeless::defaultInstance();
            QTest::mouseClick(w.send_button, Qt::LeftButton);
            if (Send_Modeless::defaultInstance())
                sheetsSeen << w.to_txt->text();
        };
        w.from_txt->clear();
        type(w.to_txt, QStringLiteral("one@example.org"));
        send();
        type(w.from_txt, QStringLiteral("cards@example.com"));
        w.to_txt->clear();
        send();
        type(w.to_txt, QStringLiteral("one@example.org, nobody"));
        send();
        type(w.to_txt, QStringLiteral("one@example.org"));
        type(w.file_name_txt, QStringLiteral("  "));
        send();
        type(w.file_name_txt, QStringLiteral("../cards"));
        send();
    });
    EXPECT_EQ(messages.messages(),
              (QStringList{"\n" + MailRun::settingsHint(), "\nPlease specify the Recipient E-mail address.",
                           "\nRecipient E-mail address is invalid or incomplete.\n\n\"nobody\"",
                           "\nPlease enter valid file name.", "\nPlease enter valid file name."}));
    EXPECT_TRUE(sheetsSeen.isEmpty());
    EXPECT_EQ(transport->calls, 0);
}

TEST_F(SendMailWindow, DataRowsGoToEveryRecipientOrOneEachUnderTheSheet)
{
    batchtest::SampleDesign sample(tempPath("DataSet"), 3, true);
    FakeHost host(sample.design);
    QStringList sheetCounts;
    withWindow(host, [&](Send_Mail &w) {
        type(w.to_txt, QStringLiteral("One@Example.org, two@example.org"));
        type(w.subject_txt, QStringLiteral("Your card"));
        QTest::keyClicks(w.message_txt, QStringLiteral("Hello"));
        click(w.matrix_card_side->button(0));
        click(w.send_with_batch_chk);
        click(w.send_with_excel_chk);
        QTimer::singleShot(0, [&] {
            if (Send_Modeless *sheet = Send_Modeless::defaultInstance())
                sheetCounts << sheet->_tot_msg_cnt->text() << sheet->_curr_msg_cnt->text();
        });
        QTest::mouseClick(w.send_button, Qt::LeftButton);
        EXPECT_EQ(w.lastResult().sent, 6);

        click(w.rd_one_per_recp);
        QTest::mouseClick(w.send_button, Qt::LeftButton);
        EXPECT_EQ(w.lastResult().sent, 2);
    });
    EXPECT_EQ(sheetCounts, (QStringList{"3", "0 / 3"})); // one item per row
    ASSERT_EQ(transport->sent.size(), 8);
    QStringList recipients;
    for (const RecordingTransport::Sent &s : transport->sent) {
        recipients << s.message.recipient;
        EXPECT_EQ(s.names, (QStringList{"ZOLVCard_Back.jpeg", "ZOLVCard.jpeg"}));
        EXPECT_FALSE(s.onGuiThread);
        EXPECT_EQ(s.message.sender, "cards@example.com");
        EXPECT_EQ(s.message.subject, "Your card");
        EXPECT_EQ(s.message.body, "Hello");
        EXPECT_EQ(s.account.password, "secret");
        EXPECT_EQ(s.account.ssl, "N"); // nothing stored yet: STARTTLS required
    }
    EXPECT_EQ(recipients,
              (QStringList{"one@example.org", "two@example.org", "one@example.org", "two@example.org",
                           "one@example.org", "two@example.org", "one@example.org", "two@example.org"}));
    EXPECT_EQ(messages.messages(),
              (QStringList{"\nE-mail has been sent successfully.", "\nE-mail has been sent successfully."}));
    EXPECT_GE(host.redraws, 2); // row 1 shown again after each run
    EXPECT_FALSE(OutputState::instance().Card_Value_In_Process.load());
}

TEST_F(SendMailWindow, TheScriptGetsTheMessageThePasswordAndTheCardInItsNamedFormat)
{
    Preferences &p = Preferences::sharedInstance();
    p.setsend_email_Password(QStringLiteral("pässwörd"));
    p.setsend_email_enable_ssl(QStringLiteral("Y"));
    const QString dir = tempPath("stub");
    QDir().mkpath(dir);
    testsupport::writeFile(dir + "/code", "0");
    FakeHost host(plainDesign());
    Send_Mail w(host, &host.window);
    w.setTransport(std::make_shared<ScriptMailTransport>(mailtest::makeStub(dir), "/opt/mail/pyth_mail.py"));
    modalScripts.push_back([&](QDialog &) {
        type(w.to_txt, QStringLiteral(" Guest@Example.org "));
        type(w.subject_txt, QStringLiteral("Grüße"));
        QTest::keyClicks(w.message_txt, QStringLiteral("Hello"));
        click(w.matrix_card_side->button(0));
        QTest::mouseClick(w.send_button, Qt::LeftButton);
        return 0;
    });
    w.Open_Wnd();

    const QList<QByteArray> argv = mailtest::nulSeparated(mailtest::readAll(dir + "/argv"));
    ASSERT_EQ(argv.size(), 12);
    EXPECT_EQ(argv.mid(0, 10),
              (QList<QByteArray>{"-I", "/opt/mail/pyth_mail.py", "cards@example.com", "smtp.example.com",
                                 "587", "cards@example.com", "guest@example.org", "Grüße", "Hello", "Y"}));
    EXPECT_TRUE(argv[10].endsWith("/ZOLVCard_Back.jpeg")); // the back first
    EXPECT_TRUE(argv[11].endsWith("/ZOLVCard.jpeg"));
    QList<QByteArray> env = mailtest::nulSeparated(mailtest::readAll(dir + "/env"));
    std::sort(env.begin(), env.end());
    EXPECT_EQ(env, (QList<QByteArray>{"PATH=/bin:/usr/bin:/usr/local/bin", "PYTHONPATH="}));
    EXPECT_EQ(mailtest::readAll(dir + "/stdin"), QStringLiteral("pässwörd\nDescription").toUtf8());
    // Both pictures are JPEG data, as their names say, and the run's folder is gone afterwards.
    for (const char *name : {"/ZOLVCard_Back.jpeg", "/ZOLVCard.jpeg"})
        EXPECT_TRUE(mailtest::readAll(dir + name).startsWith("\xff\xd8\xff")) << name;
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(QString::fromUtf8(argv[11])).absolutePath()));
    EXPECT_EQ(messages.messages(), QStringList{"\nE-mail has been sent successfully."});
}

TEST_F(SendMailWindow, StopLetsTheMessageInProgressCompleteAndSendsNoMore)
{
    FakeHost host(plainDesign());
    std::atomic<bool> sending{false}, release{false};
    transport->accept = [&](const MailTransport::Message &) {
        sending = true;
        while (!release)
            QThread::msleep(1);
        return true;
    };
    QTimer stopper;
    stopper.setInterval(20);
    QObject::connect(&stopper, &QTimer::timeout, [&] {
        Send_Modeless *sheet = Send_Modeless::defaultInstance();
        if (!sending || !sheet)
            return;
        stopper.stop();
        messages.queueAnswers({true});
        QTest::mouseClick(sheet->_stop_btn, Qt::LeftButton);
        release = true;
    });
    withWindow(host, [&](Send_Mail &w) {
        type(w.to_txt, QStringLiteral("one@example.org,two@example.org"));
        stopper.start();
        QTest::mouseClick(w.send_button, Qt::LeftButton);
        EXPECT_TRUE(w.lastResult().stopped);
    });
    EXPECT_EQ(messages.questions(), QStringList{Send_Modeless::StopQuestion});
    ASSERT_EQ(transport->sent.size(), 1); // the message in progress went out
    EXPECT_EQ(transport->calls, 1);       // the next was never tried
    EXPECT_FALSE(transport->aborted);     // Stop does not kill a message on its way
    EXPECT_TRUE(messages.messages().last().endsWith("1 of 2 messages could not be sent."));
}

TEST_F(SendMailWindow, WithoutTheCardTheChosenFileOrNone)
{
    FakeHost host(plainDesign());
    const QString file = tempPath("invitation.pdf");
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("%PDF-1.4\n");
    f.close();
    files.answers.push_back(file);
    withWindow(host, [&](Send_Mail &w) {
        type(w.to_txt, QStringLiteral("one@example.org"));
        click(w.rd_without_barcode);
        QTest::mouseClick(w.browse_att, Qt::LeftButton);
        EXPECT_EQ(w.attachment->text(), file);
        QTest::mouseClick(w.send_button, Qt::LeftButton);
        QTest::mouseClick(w.clear_att, Qt::LeftButton);
        QTest::mouseClick(w.send_button, Qt::LeftButton);
        type(w.attachment, tempPath("gone.pdf"));
        QTest::mouseClick(w.send_button, Qt::LeftButton);
    });
    ASSERT_EQ(transport->sent.size(), 3);
    EXPECT_EQ(transport->sent[0].names, QStringList{"invitation.pdf"});
    EXPECT_TRUE(transport->sent[1].names.isEmpty());
    EXPECT_TRUE(transport->sent[2].names.isEmpty()); // a missing file: sent without it
    EXPECT_EQ(files.requests.size(), 1);
    EXPECT_TRUE(files.requests[0].suffixes.isEmpty()); // any file
}

TEST_F(SendMailWindow, APauseShowsItsLineOnTheSheetBetweenMessages)
{
    FakeHost host(plainDesign());
    QStringList linesSeen;
    transport->accept = [&](const MailTransport::Message &m) {
        if (m.recipient == "two@example.org") // the pause after the first message has run
            GuiThreadQueue::runAndWait(
                [&] { linesSeen << Send_Modeless::defaultInstance()->pause_label->text(); });
        return true;
    };
    QTimer watch;
    watch.setInterval(50);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (Send_Modeless *sheet = Send_Modeless::defaultInstance())
            if (!sheet->pause_label->text().isEmpty() && !linesSeen.contains(sheet->pause_label->text()))
                linesSeen << sheet->pause_label->text();
    });
    withWindow(host, [&](Send_Mail &w) {
        type(w.to_txt, QStringLiteral("one@example.org,two@example.org"));
        click(w.delayed_delv_chk);
        w.sec_stepper->setValue(2);
        watch.start();
        QTest::mouseClick(w.send_button, Qt::LeftButton);
        watch.stop();
    });
    EXPECT_EQ(transport->sent.size(), 2);
    ASSERT_FALSE(linesSeen.isEmpty());
    EXPECT_EQ(linesSeen.first(), "Pausing the process for 2 Seconds.");
    EXPECT_EQ(linesSeen.last(), QString()); // emptied once the pause is over
}

TEST_F(SendMailWindow, TheSettingsButtonPutsTheNewSenderIntoTheWindow)
{
    FakeHost host(plainDesign());
    withWindow(host, [&](Send_Mail &w) {
        modalScripts.push_back([](QDialog &dialog) {
            auto *sender = dialog.findChild<QLineEdit *>(QStringLiteral("_send_mail_sender_mail"));
            type(sender, QStringLiteral("new@example.com"));
            QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("save_button")), Qt::LeftButton);
            return dialog.result();
        });
        QTest::mouseClick(w.setting_button, Qt::LeftButton);
        EXPECT_EQ(w.from_txt->text(), "new@example.com");
    });
    EXPECT_EQ(modalTitles, (QStringList{"Send Mail", "E-mail Settings"}));
    EXPECT_EQ(Preferences::sharedInstance().send_email_SenderEmail(), "new@example.com");
}

TEST_F(SendMailWindow, QuittingDuringARunKillsTheScriptInProgress)
{
    FakeHost host(plainDesign());
    const QString folder = m_tmp.path();
    Send_Mail w(host, &host.window);
    w.setTransport(std::make_shared<ScriptMailTransport>(mailtest::writeSleepingInterpreter(folder),
                                                         QStringLiteral("pyth_mail.py")));
    modalScripts.push_back([](QDialog &) { return 0; });
    w.Open_Wnd();
    type(w.to_txt, QStringLiteral("one@example.org,two@example.org"));
    qint64 pid = 0;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QFile pidFile(folder + QStringLiteral("/pid"));
        if (pidFile.open(QIODevice::ReadOnly) && (pid = pidFile.readAll().trimmed().toLongLong()) > 0) {
            poll.stop();
            QCoreApplication::exit(0);
        }
    });
    QTimer::singleShot(0, [&] {
        poll.start();
        QTest::mouseClick(w.send_button, Qt::LeftButton);
    });
    QTimer::singleShot(20000, [] { QCoreApplication::exit(1); });
    QCoreApplication::exec();

    ASSERT_GT(pid, 0);
    EXPECT_EQ(::kill(pid_t(pid), 0), -1);
    EXPECT_EQ(errno, ESRCH);
    EXPECT_EQ(w.lastResult().sent, 0);
    EXPECT_TRUE(w.lastResult().stopped); // the second recipient is not tried
    EXPECT_TRUE(messages.messages().last().endsWith("2 of 2 messages could not be sent."));
}
