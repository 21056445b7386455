// The mail window driven as a user would: its defaults and the controls that follow each other,
// the refusals before the progress sheet, card and data-row runs under the sheet, the mode
// without the card, the Settings button, a quit while the mail script runs, a real server that
// refuses one recipient, the sheet's count of messages sent, and the log line of each message.
#include "foundation/CardCodes.h"
#include "foundation/DataRoot.h"
#include "foundation/Preferences.h"
#include "foundation/ProgramLog.h"
#include "foundation/ui/MessageBoxService.h"
#include "foundation/ui/StepperField.h"
#include "output/BatchDesignFixture.h"
#include "output/MailRun.h"
#include "output/MailStub.h"
#include "output/OutputState.h"
#include "output/ScriptMailTransport.h"
#include "output/ui/BatchRun.h"
#include "output/ui/MailFakes.h"
#include "output/ui/OutputWindowFixture.h"
#include "output/ui/RunStart.h"
#include "output/ui/Send_Mail.h"
#include "output/ui/Send_Modeless.h"
#include "platform/GuiThreadQueue.h"
#include "support/IndicatorClick.h"
#include "support/KeyboardWalk.h"
#include "support/ReturnOnBox.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <QThread>

#include <QElapsedTimer>

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
    testsupport::clickIndicator(button);
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
        // The pause ends a second early: the window says what a pause of 1 second does.
        EXPECT_TRUE(w.pause_hint->isVisibleTo(w.delayed_box));
        EXPECT_TRUE(w.pause_hint->text().contains("1 second or less sends without waiting"));
        click(w.matrix_card_side->button(0));
        EXPECT_EQ(w.card_side_str, "BOTH");
        click(w.matrix_card_side->button(2));
        EXPECT_EQ(w.card_side_str, "B");
        WindowFixture::saveArtifact(&w, QStringLiteral("send_mail.png"));
    });
    EXPECT_EQ(modalTitles, QStringList{"Send Mail"});
}

TEST_F(SendMailWindow, TabGoesFromTheRecipientsToTheSubjectAndTheMessage)
{
    // Typed as a user would, Tab between the fields: nothing typed lands on a button.
    FakeHost host(plainDesign());
    withWindow(host, [&](Send_Mail &w) {
        ASSERT_TRUE(testsupport::showWithKeyboard(w));
        w.from_txt->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), w.setting_button);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), w.to_txt);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("bob@example.com"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Party"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("See you there"));
        EXPECT_EQ(w.to_txt->text(), "bob@example.com");
        EXPECT_EQ(w.subject_txt->text(), "Party");
        EXPECT_EQ(w.message_txt->toPlainText(), "See you there");
    });
}

TEST_F(SendMailWindow, DataBoxesAreOfferedForTheSourcesInUseAndOpenTheChoiceOfRecipients)
{
    batchtest::SampleDesign sample(Data_Folder_Path, 3, true);
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
    batchtest::SampleDesign sample(Data_Folder_Path, 3, true);
    FakeHost host(sample.design);
    QStringList sheetCounts;
    withWindow(host, [&](Send_Mail &w) {
        type(w.to_txt, QStringLiteral("One@Example.org, two@example.org"));
        type(w.subject_txt, QStringLiteral("Your card"));
        QTest::keyClicks(w.message_txt, QStringLiteral("Hello"));
        click(w.matrix_card_side->button(0));
        click(w.send_with_batch_chk);
        click(w.send_with_excel_chk);
        // Every card to every recipient: how many messages go to how many recipients is said
        // first, in a real box whose default is the safe answer: Return sends nothing.
        {
            MessageBoxService boxes;
            MessageService::install(&boxes);
            QString defaultAnswer;
            testsupport::pressReturnOnNextBox(defaultAnswer);
            delete Send_Modeless::defaultInstance();
            QTest::mouseClick(w.send_button, Qt::LeftButton);
            MessageService::install(&messages);
            EXPECT_EQ(defaultAnswer, "Cancel");
        }
        EXPECT_EQ(Send_Modeless::defaultInstance(), nullptr);
        EXPECT_EQ(transport->calls, 0);
        messages.queueChoices({0});
        QTimer::singleShot(0, [&] {
            if (Send_Modeless *sheet = Send_Modeless::defaultInstance())
                sheetCounts << sheet->_tot_msg_cnt->text() << sheet->_curr_msg_cnt->text();
        });
        QTest::mouseClick(w.send_button, Qt::LeftButton);
        EXPECT_EQ(w.lastResult().sent, 6);

        // One card each to two of the three rows: the third row's card goes to nobody, as asked.
        click(w.rd_one_per_recp);
        messages.queueChoices({0});
        QTest::mouseClick(w.send_button, Qt::LeftButton);
        EXPECT_EQ(w.lastResult().sent, 2);
    });
    EXPECT_EQ(sheetCounts, (QStringList{"6", "0 / 6"})); // a message for each row and recipient
    const QString question = "This sends 6 messages to 2 recipients, 3 to each: every card to every "
                             "recipient.\n\nDo you want to send them?";
    const QString oneEach = "This sends 2 messages, each row's card to the recipient in the same place in "
                            "the list.\n\nNo recipient for:\nrow 3: there are 2 recipients for 3 cards\n\n"
                            "Do you want to send them?";
    EXPECT_EQ(messages.questions(), (QStringList{question, oneEach}));
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
              (QStringList{"\nE-mail has been sent successfully.",
                           "\n2 messages were sent; the card of 1 row went to nobody.\n\nNo recipient for:\n"
                           "row 3: there are 2 recipients for 3 cards"}));
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

TEST_F(SendMailWindow, StopHoldsTheRunWhileAskedLetsTheMessageInProgressCompleteAndSendsNoMore)
{
    FakeHost host(plainDesign());
    std::atomic<int> entered{0};
    std::atomic<bool> release{false};
    transport->accept = [&](const MailTransport::Message &) {
        ++entered;
        while (!release)
            QThread::msleep(1);
        release = false; // the next message waits again
        return true;
    };
    ExportProgress &progress = OutputState::instance().progress;
    QList<int> callsWhileHeld;
    QStringList asked;
    // The question is asked while a message is out; the message completes, then the run waits
    // for the answer: first "Continue" during the first message, then "Stop" during the second.
    auto answer = [&](const char *button) {
        return [&, button](QDialog &box) {
            asked << box.findChild<QLabel *>(QStringLiteral("qt_msgbox_label"))->text();
            release = true;
            if (QTest::qWaitFor([&] { return progress.waitingInPause() == 1; }, 20000))
                callsWhileHeld << transport->calls;
            return mailtest::answerStopQuestion(box, button);
        };
    };
    int stops = 0;
    QTimer stopper;
    stopper.setInterval(20);
    QObject::connect(&stopper, &QTimer::timeout, [&] {
        Send_Modeless *sheet = Send_Modeless::defaultInstance();
        if (!sheet || entered != stops + 1 || release)
            return;
        modalScripts.push_back(answer(stops == 0 ? "continue_answer" : "stop_answer"));
        if (++stops == 2)
            stopper.stop();
        QTest::mouseClick(sheet->_stop_btn, Qt::LeftButton);
    });
    withWindow(host, [&](Send_Mail &w) {
        type(w.to_txt, QStringLiteral("one@example.org,two@example.org,three@example.org"));
        stopper.start();
        QTest::mouseClick(w.send_button, Qt::LeftButton);
        EXPECT_TRUE(w.lastResult().stopped);
    });
    EXPECT_EQ(asked, (QStringList{"Stop sending?", "Stop sending?"}));
    EXPECT_EQ(callsWhileHeld, (QList<int>{1, 2})); // nothing more was tried while each question was open
    ASSERT_EQ(transport->sent.size(), 2);          // the messages in progress went out
    EXPECT_EQ(transport->calls, 2);                // the third was never tried
    EXPECT_FALSE(transport->aborted);              // Stop is not a quit
    EXPECT_EQ(messages.messages().last(), "\nStopped: 2 of 3 messages were sent.");
    EXPECT_TRUE(messages.questions().isEmpty()); // asked in its own box
}

// A server that accepts the connection and never answers: Stop gives the message up after a
// grace time, as quitting does at once, and the run ends.
TEST_F(SendMailWindow, StopEndsAMessageHangingOnASilentServer)
{
    mailtest::SilentServer silent;
    ASSERT_FALSE(silent.port.isEmpty());
    Preferences &p = Preferences::sharedInstance();
    p.setsend_email_SMTP_server(QStringLiteral("127.0.0.1"));
    p.setsend_email_PORT_num(silent.port);

    FakeHost host(plainDesign());
    auto script = std::make_shared<ScriptMailTransport>(); // the shipped script
    QElapsedTimer sinceStop;
    QTimer stopper;
    stopper.setInterval(50);
    QObject::connect(&stopper, &QTimer::timeout, [&] {
        Send_Modeless *sheet = Send_Modeless::defaultInstance();
        // The script is waiting for the server's greeting once its connection is queued.
        if (!sheet || !silent.hasWaitingClient())
            return;
        stopper.stop();
        modalScripts.push_back([](QDialog &box) { return mailtest::answerStopQuestion(box, "stop_answer"); });
        sinceStop.start();
        QTest::mouseClick(sheet->_stop_btn, Qt::LeftButton);
    });
    // Never hang the test; a timer of the test's own, so it cannot end a later test's loop.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    guard.start(60000);
    withWindow(host, [&](Send_Mail &w) {
        w.setTransport(script);
        type(w.to_txt, QStringLiteral("one@example.org,two@example.org"));
        stopper.start();
        QTest::mouseClick(w.send_button, Qt::LeftButton);
        EXPECT_TRUE(w.lastResult().stopped);
        EXPECT_EQ(w.lastResult().sent, 0);
    });
    ASSERT_TRUE(sinceStop.isValid());
    // Not the script's own 60 s wait for the greeting: the grace time and a little.
    EXPECT_LT(sinceStop.elapsed(), BatchRun::StopGraceMs + 15000);
    EXPECT_EQ(messages.messages().last(), "\nStopped: 0 of 2 messages were sent.");
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
    bool sheetForMissingFile = false;
    withWindow(host, [&](Send_Mail &w) {
        type(w.to_txt, QStringLiteral("one@example.org"));
        click(w.rd_without_barcode);
        QTest::mouseClick(w.browse_att, Qt::LeftButton);
        EXPECT_EQ(w.attachment->text(), file);
        QTest::mouseClick(w.send_button, Qt::LeftButton);
        QTest::mouseClick(w.clear_att, Qt::LeftButton);
        QTest::mouseClick(w.send_button, Qt::LeftButton);
        type(w.attachment, tempPath("gone.pdf"));
        delete Send_Modeless::defaultInstance();
        QTest::mouseClick(w.send_button, Qt::LeftButton);
        sheetForMissingFile = Send_Modeless::defaultInstance() != nullptr;
    });
    ASSERT_EQ(transport->sent.size(), 2);
    EXPECT_EQ(transport->sent[0].names, QStringList{"invitation.pdf"});
    EXPECT_TRUE(transport->sent[1].names.isEmpty());
    // A path naming no readable file is refused before anything is sent, not sent without it.
    EXPECT_FALSE(sheetForMissingFile);
    EXPECT_EQ(messages.messages().last(),
              "\nThe file to send cannot be read:\n\n\"" + tempPath("gone.pdf") + "\"");
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
    // Never hang the test; a timer of the test's own, so it cannot end a later test's loop.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    guard.start(20000);
    QCoreApplication::exec();

    ASSERT_GT(pid, 0);
    EXPECT_EQ(::kill(pid_t(pid), 0), -1);
    EXPECT_EQ(errno, ESRCH);
    EXPECT_EQ(w.lastResult().sent, 0);
    EXPECT_TRUE(w.lastResult().stopped); // the second recipient is not tried
    EXPECT_EQ(messages.messages().last(), "\nStopped: 0 of 2 messages were sent.");
}

// A pasted list of 1,300 addresses went past the "To" field's 32,767 characters: its end was cut
// without a word, the last address mid-way, and that was mailed. Now the whole list is kept, and
// a list longer than the field keeps is refused rather than cut.
TEST_F(SendMailWindow, ALongPastedRecipientListIsKeptWholeOrRefused)
{
    FakeHost host(plainDesign());
    QStringList addresses;
    for (int i = 0; i < 1300; ++i)
        addresses << QStringLiteral("friend.%1@mail.example.org").arg(i, 4, 10, QLatin1Char('0'));
    const QString list = addresses.join(QStringLiteral(", "));
    ASSERT_GT(list.size(), 32767);
    bool sheetForLongList = true;
    withWindow(host, [&](Send_Mail &w) {
        click(w.rd_without_barcode);
        QApplication::clipboard()->setText(list);
        w.to_txt->setFocus();
        QTest::keyClick(w.to_txt, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(w.to_txt->text(), list);
        QTest::mouseClick(w.send_button, Qt::LeftButton);
        EXPECT_EQ(w.lastResult().sent, 1300);

        // More than the field keeps: what it kept is not sent. Set rather than pasted: the field
        // cuts both alike, and Qt's paste of a quarter of a million characters takes minutes
        // under the sanitizers.
        QString longer = list;
        while (longer.size() <= Send_Mail::RecipientFieldChars)
            longer += QStringLiteral(", ") + list;
        w.to_txt->setText(longer);
        EXPECT_EQ(w.to_txt->text().size(), Send_Mail::RecipientFieldChars);
        delete Send_Modeless::defaultInstance();
        QTest::mouseClick(w.send_button, Qt::LeftButton);
        sheetForLongList = Send_Modeless::defaultInstance() != nullptr;
    });
    ASSERT_EQ(transport->sent.size(), 1300);
    EXPECT_EQ(transport->sent.last().message.recipient, "friend.1299@mail.example.org");
    EXPECT_FALSE(sheetForLongList);
    EXPECT_EQ(messages.messages(), (QStringList{"\nE-mail has been sent successfully.",
                                                "\n" + Send_Mail::recipientListTooLongText()}));
    EXPECT_TRUE(Send_Mail::recipientListTooLongText().startsWith(
        "The recipient list is longer than the 262,144 characters the \"To\" field keeps"));
}

// Header fields with a line break or another control character used to end in the mail script's
// traceback; the window refuses them with a sentence before anything is sent.
TEST_F(SendMailWindow, HeaderFieldsWithControlCharactersAreRefusedBeforeTheSheet)
{
    FakeHost host(plainDesign());
    int sheets = 0;
    withWindow(host, [&](Send_Mail &w) {
        auto send = [&] {
            delete Send_Modeless::defaultInstance();
            QTest::mouseClick(w.send_button, Qt::LeftButton);
            sheets += Send_Modeless::defaultInstance() != nullptr;
        };
        type(w.to_txt, QStringLiteral("one@example.org"));
        w.subject_txt->setText(QStringLiteral("Party") + QChar(0x2028) +
                               QStringLiteral("Bcc: x@example.org"));
        send();
        w.subject_txt->setText(QStringLiteral("Party"));
        w.from_txt->setText(QStringLiteral("cards@example.com\vx"));
        send();
        type(w.from_txt, QStringLiteral("cards@example.com"));
        w.file_name_txt->setText(QStringLiteral("Card\nBcc"));
        send();
        w.file_name_txt->setText(QStringLiteral("Card"));
        const QString odd = tempPath(QStringLiteral("menu\r.pdf"));
        testsupport::writeFile(odd, "%PDF-1.4");
        click(w.rd_without_barcode);
        w.attachment->setText(odd);
        send();
    });
    EXPECT_EQ(
        messages.messages(),
        (QStringList{"\nThe subject may not hold a line break or another control character.",
                     "\nThe sender E-mail address may not hold a line break or another control character.",
                     "\nThe attachment's name may not hold a line break or another control character.",
                     "\nThe attachment's name may not hold a line break or another control character."}));
    EXPECT_EQ(sheets, 0);
    EXPECT_EQ(transport->calls, 0);
}

// A real server that refuses one address: every other recipient still gets the card, and the
// closing box names the one refused with the server's own words.
TEST_F(SendMailWindow, ARecipientTheServerRefusesIsNamedAndTheOthersStillGetTheCard)
{
    mailtest::SmtpServer server(tempPath("smtp"), QStringLiteral("three@example.org"));
    ASSERT_TRUE(server.listening());
    Preferences &p = Preferences::sharedInstance();
    p.setsend_email_SMTP_server(QStringLiteral("127.0.0.1"));
    p.setsend_email_PORT_num(server.port);
    auto script = std::make_shared<ScriptMailTransport>(); // the shipped script
    script->addEnvironment(QStringLiteral("SSL_CERT_FILE"), server.certificate);
    FakeHost host(plainDesign());
    withWindow(host, [&](Send_Mail &w) {
        w.setTransport(script);
        type(w.to_txt, QStringLiteral("one@example.org,two@example.org,three@example.org,four@example.org"));
        QTest::mouseClick(w.send_button, Qt::LeftButton);
        EXPECT_EQ(w.lastResult().sent, 3);
    });
    EXPECT_EQ(server.delivered(), (QStringList{"one@example.org", "two@example.org", "four@example.org"}));
    EXPECT_EQ(messages.messages().last(),
              "\n1 of 4 messages could not be sent.\n\nNot sent:\nthree@example.org: "
              "the server refused the recipient: 550 5.1.1 Mailbox unavailable");
}

// While a message hangs on the server the sheet does not count it: the bar and the count show the
// messages done with.
TEST_F(SendMailWindow, TheSheetCountsMessagesSentNotMessagesBegun)
{
    FakeHost host(plainDesign());
    std::atomic<int> entered{0}, released{0};
    transport->accept = [&](const MailTransport::Message &) {
        const int me = entered++;
        while (released <= me)
            QThread::msleep(1);
        return true;
    };
    QStringList seen; // the count and the bar while each message hangs
    QTimer watch;
    watch.setInterval(20);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        Send_Modeless *sheet = Send_Modeless::defaultInstance();
        if (!sheet || entered != released + 1)
            return;
        sheet->update_sending_progress_bar(); // what the sheet's refresh does
        seen << sheet->_curr_msg_cnt->text() + QString::number(sheet->_Curr_Progress->value());
        ++released;
    });
    withWindow(host, [&](Send_Mail &w) {
        type(w.to_txt, QStringLiteral("one@example.org,two@example.org,three@example.org"));
        watch.start();
        QTest::mouseClick(w.send_button, Qt::LeftButton);
        watch.stop();
    });
    EXPECT_EQ(seen, (QStringList{"0 / 3 0", "1 / 3 1", "2 / 3 2"}));
}

namespace
{
QStringList g_terminalLines;
void keepTerminalLine(QtMsgType, const QMessageLogContext &, const QString &text)
{
    g_terminalLines << text;
}
} // namespace

TEST_F(SendMailWindow, EachMessageIsLoggedToTheLogFileNotTheTerminal)
{
    const QString log = tempPath("state/tessaly-designer.log");
    ASSERT_TRUE(ProgramLog::open(log));
    g_terminalLines.clear();
    const QtMessageHandler previous = qInstallMessageHandler(keepTerminalLine);
    FakeHost host(plainDesign());
    withWindow(host, [&](Send_Mail &w) {
        type(w.to_txt, QStringLiteral("one@example.org"));
        QTest::mouseClick(w.send_button, Qt::LeftButton);
    });
    qInstallMessageHandler(previous);
    ProgramLog::close();
    EXPECT_EQ(transport->sent.size(), 1);
    EXPECT_TRUE(mailtest::readAll(log).contains("Sending mail to one@example.org\n"));
    EXPECT_TRUE(g_terminalLines.filter("mail").isEmpty()) << g_terminalLines.join('\n').toStdString();
}

// Rows 1, (blank), 3, 4 sent one card to each recipient in order, through a real server: row i's
// card reaches recipient i, the blank row's recipient gets nothing when blank cards are left out,
// addresses past the last row get nothing, and both are named in the question and the end box.
TEST_F(SendMailWindow, EachRowsCardReachesItsOwnRecipientAndThoseWithoutOneAreNamed)
{
    batchtest::SampleDesign sample(Data_Folder_Path, 4, false);
    // Row 2 is blank in every source the card is filled from.
    QStringList names = sample.names, codes = sample.codes;
    names[1] = codes[1] = QString();
    batchtest::writeSeries(Data_Folder_Path, "names", names.join('\n').toUtf8());
    batchtest::writeSeries(Data_Folder_Path, "codes", codes.join('\n').toUtf8());
    QList<ExcelBindingTable::Row> rows = sample.design.binding.ListData();
    rows[1]["Column1"] = QString();
    sample.design.binding.setListData(rows);
    const QString four = "a@example.org,b@example.org,c@example.org,d@example.org";
    const struct {
        QString to;
        int answer;            // 0 Send, 2 Send Without Blank Cards
        QList<int> rowOf;      // the sample row (from 0) whose card each message carries
        QStringList receivers; // and its recipient
        QString noCard;        // who got none, as the question and the end box name them
    } cases[] = {
        {four,
         2,
         {0, 2, 3},
         {"a@example.org", "c@example.org", "d@example.org"},
         "b@example.org (row 2): its card is blank and was left out"},
        {four + ",e@example.org,f@example.org",
         0,
         {0, 1, 2, 3},
         {"a@example.org", "b@example.org", "c@example.org", "d@example.org"},
         "e@example.org, f@example.org: there are 4 cards for 6 recipients"},
    };
    for (const auto &c : cases) {
        mailtest::SmtpServer server(tempPath("smtp-" + QString::number(c.answer)));
        ASSERT_TRUE(server.listening());
        Preferences &p = Preferences::sharedInstance();
        p.setsend_email_SMTP_server(QStringLiteral("127.0.0.1"));
        p.setsend_email_PORT_num(server.port);
        auto script = std::make_shared<ScriptMailTransport>();
        script->addEnvironment(QStringLiteral("SSL_CERT_FILE"), server.certificate);
        FakeHost host(sample.design);
        messages.clear();
        QString defaultAnswer;
        withWindow(host, [&](Send_Mail &w) {
            w.setTransport(script);
            type(w.to_txt, c.to);
            click(w.send_with_batch_chk);
            click(w.send_with_excel_chk);
            click(w.rd_one_per_recp);
            // A real box first: Return on the question sends nothing.
            MessageBoxService boxes;
            MessageService::install(&boxes);
            testsupport::pressReturnOnNextBox(defaultAnswer);
            QTest::mouseClick(w.send_button, Qt::LeftButton);
            MessageService::install(&messages);
            messages.queueChoices({c.answer});
            QTest::mouseClick(w.send_button, Qt::LeftButton);
        });
        EXPECT_EQ(defaultAnswer, "Cancel");
        ASSERT_EQ(messages.questions().size(), 1);
        const QString question = messages.questions()[0];
        EXPECT_TRUE(question.endsWith("Do you want to send them?")) << question.toStdString();
        if (c.answer == 0) { // addresses past the rows are named before the run
            EXPECT_TRUE(question.contains("No card for:\n" + c.noCard)) << question.toStdString();
        }
        const auto received = server.received();
        ASSERT_EQ(received.size(), c.rowOf.size());
        for (qsizetype i = 0; i < received.size(); ++i) {
            EXPECT_EQ(received[i].first, c.receivers[i]);
            const QStringList symbols = batchtest::decode(received[i].second + "/ZOLVCard.jpeg");
            const int row = c.rowOf[i];
            if (row == 1) { // the blank card
                EXPECT_TRUE(symbols.isEmpty()) << symbols.join(' ').toStdString();
            } else {
                EXPECT_TRUE(symbols.contains("QRCode:" + sample.qr[row]))
                    << i << symbols.join(' ').toStdString();
            }
        }
        const int sent = int(c.rowOf.size()), none = c.to.count('@') - sent;
        EXPECT_EQ(messages.messages().last(),
                  QStringLiteral("\n%1 messages were sent; %2 recipient%3 got no card.\n\nNo card for:\n%4")
                      .arg(sent)
                      .arg(none)
                      .arg(none == 1 ? "" : "s", c.noCard));
    }
}

// The rows sent are those after the last question: a series rewritten while "This sends ..." is
// open is asked about anew and sent as it is then.
TEST_F(SendMailWindow, ASeriesChangedWhileTheQuestionIsOpenIsAskedAboutAgainAndSent)
{
    batchtest::SampleDesign sample(Data_Folder_Path, 2, false);
    FakeHost host(sample.design);
    messages.setAnswerFunction([&](const QString &) {
        if (messages.questions().size() == 1)
            batchtest::writeSeries(Data_Folder_Path, "names", "One\nTwo\nThree\n");
        return true; // Send
    });
    withWindow(host, [&](Send_Mail &w) {
        type(w.to_txt, QStringLiteral("one@example.org"));
        click(w.send_with_batch_chk);
        QTest::mouseClick(w.send_button, Qt::LeftButton);
    });
    const QStringList questions = messages.questions();
    ASSERT_EQ(questions.size(), 2);
    EXPECT_TRUE(questions[0].startsWith("This sends 2 messages to 1 recipient"));
    EXPECT_TRUE(
        questions[1].startsWith(RunStart::rowsChangedText() + "\n\nThis sends 3 messages to 1 recipient"))
        << questions[1].toStdString();
    EXPECT_EQ(transport->sent.size(), 3);
}

// One card a recipient: the question answered is about the rows as they were. A series
// rewritten while it is open is asked about again when the count of messages or who gets no card
// changed with it, and sent as then answered; new values in as many rows are sent without a
// second question.
TEST_F(SendMailWindow, RowsChangedWhileTheQuestionIsOpenAreAskedAboutAgainWhenTheCountChanges)
{
    const QString five = "a@example.org,b@example.org,c@example.org,d@example.org,e@example.org";
    const struct {
        QByteArray rewritten; // the series while the first question is open
        bool sendAgain;       // the answer to a second question
        QString again;        // the second question's start; "" none
        int sent;
    } cases[] = {
        {"N1\nN2\nN3\nN4\nN5\n", true,
         "This sends 5 messages, each row's card to the recipient in the same place in the list.", 5},
        {"N1\nN2\nN3\nN4\nN5\n", false,
         "This sends 5 messages, each row's card to the recipient in the same place in the list.", 0},
        {"N1\nN2\nN3\nN4\n", true,
         "This sends 4 messages, each row's card to the recipient in the same place in the list.\n\n"
         "No card for:\ne@example.org: there are 4 cards for 5 recipients",
         4},
        {"M1\nM2\nM3\n", true, "", 3},
    };
    CardDesign design;
    design.front << batchtest::text(QRectF(10, 10, 200, 30), DataSourceCode::Series, "names");
    design.setCardSize(QSizeF(243, 154));
    design.frontPage.Card_Side = QStringLiteral("1");
    for (const auto &c : cases) {
        batchtest::writeSeries(Data_Folder_Path, "names", "N1\nN2\nN3\n");
        transport->sent.clear();
        messages.clear();
        messages.setAnswerFunction([&](const QString &) {
            if (messages.questions().size() == 1) {
                batchtest::writeSeries(Data_Folder_Path, "names", c.rewritten);
                return true; // Send
            }
            return c.sendAgain;
        });
        FakeHost host(design);
        withWindow(host, [&](Send_Mail &w) {
            type(w.to_txt, five);
            click(w.send_with_batch_chk);
            click(w.rd_one_per_recp);
            QTest::mouseClick(w.send_button, Qt::LeftButton);
        });
        const QStringList questions = messages.questions();
        ASSERT_EQ(questions.size(), c.again.isEmpty() ? 1 : 2) << questions.join("\n--\n").toStdString();
        EXPECT_TRUE(questions[0].startsWith("This sends 3 messages")) << questions[0].toStdString();
        if (!c.again.isEmpty()) {
            EXPECT_TRUE(questions[1].startsWith(RunStart::rowsChangedText() + "\n\n" + c.again + "\n\n"))
                << questions[1].toStdString();
        }
        EXPECT_EQ(transport->sent.size(), c.sent) << c.rewritten.constData();
    }
}

// A single-sided card has no back to attach: only its front is offered.
TEST_F(SendMailWindow, ASingleSidedCardOffersItsFrontOnly)
{
    CardDesign design = plainDesign();
    design.frontPage.Card_Side = QStringLiteral("1");
    FakeHost host(design);
    withWindow(host, [&](Send_Mail &w) {
        EXPECT_FALSE(w.matrix_card_side->button(0)->isEnabled());
        EXPECT_FALSE(w.matrix_card_side->button(2)->isEnabled());
        type(w.to_txt, QStringLiteral("one@example.org"));
        QTest::mouseClick(w.send_button, Qt::LeftButton);
    });
    ASSERT_EQ(transport->sent.size(), 1);
    EXPECT_EQ(transport->sent[0].names, QStringList{"ZOLVCard.jpeg"});
}
