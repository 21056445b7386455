// Message helpers: texts as shown, Yes/No answers and the shared flag, no service yet,
// many threads asking at once, and the log helper with and without the log file.
#include "foundation/MessageBoxes.h"
#include "foundation/FoundationState.h"
#include "foundation/ProgramLog.h"
#include "platform/MessageAnswerer.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <thread>

#include <gtest/gtest.h>

namespace
{
QStringList g_log;
void captureLog(QtMsgType, const QMessageLogContext &, const QString &msg)
{
    g_log << msg;
}
} // namespace

TEST(MessageBoxes, TextsAndAnswers)
{
    FoundationState::instance().reset();
    MessageAnswerer answerer;
    Show_MessageBox(QStringLiteral("Saved."));
    answerer.queueAnswers({true, false});
    EXPECT_TRUE(Show_YES_NO_MessageBox(QStringLiteral("Replace?")));
    EXPECT_EQ(yes_no_msg_val.load(), 1);
    EXPECT_FALSE(Show_YES_NO_MessageBox(QStringLiteral("Really?")));
    EXPECT_EQ(yes_no_msg_val.load(), 0);
    EXPECT_EQ(answerer.messages(), QStringList{QStringLiteral("\nSaved.")});
    EXPECT_EQ(answerer.questions(), (QStringList{QStringLiteral("Replace?"), QStringLiteral("Really?")}));
}

TEST(MessageBoxes, WithoutServiceNothingShowsAndThePreviousAnswerStands)
{
    ASSERT_EQ(MessageService::installed(), nullptr);
    yes_no_msg_val = 3; // only bit 0 counts
    EXPECT_TRUE(Show_YES_NO_MessageBox(QStringLiteral("?")));
    yes_no_msg_val = 0;
    EXPECT_FALSE(Show_YES_NO_MessageBox(QStringLiteral("?")));
    Show_MessageBox(QStringLiteral("nobody sees this"));
}

TEST(MessageBoxes, ThreadsAskingAtOnceGetTheirOwnAnswers)
{
    MessageAnswerer answerer;
    answerer.setAnswerFunction([](const QString &q) { return q.startsWith(QLatin1String("yes")); });
    constexpr int kThreads = 6;
    std::atomic<int> done{0}, wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 15; ++i) {
                const bool yes = (i + t) % 3 != 0;
                if (Show_YES_NO_MessageBox(
                        QStringLiteral("%1 %2/%3").arg(yes ? "yes" : "no").arg(t).arg(i)) != yes)
                    ++wrong;
            }
            ++done;
        });
    }
    // The GUI thread answers while the workers wait.
    EXPECT_TRUE(QTest::qWaitFor([&] { return done == kThreads; }, 60000));
    for (auto &th : threads)
        th.join();
    EXPECT_EQ(done, kThreads);
    EXPECT_EQ(wrong, 0);
}

TEST(MessageBoxes, LogWritesOnlyNonEmptyText)
{
    g_log.clear();
    QtMessageHandler old = qInstallMessageHandler(captureLog);
    Show_NSLog_Message(QString());
    Show_NSLog_Message(QStringLiteral(""));
    Show_NSLog_Message(QStringLiteral("disk full %1"));
    qInstallMessageHandler(old);
    EXPECT_EQ(g_log, QStringList{QStringLiteral("disk full %1")});
}

TEST(MessageBoxes, OnceTheLogFileIsOpenLinesAndQtMessagesGoThereNotToTheTerminal)
{
    QTemporaryDir tmp;
    const QString path = tmp.filePath("state/tessaly-designer/tessaly-designer.log");
    g_log.clear();
    QtMessageHandler old = qInstallMessageHandler(captureLog);
    ASSERT_TRUE(ProgramLog::open(path));
    qWarning("A warning of Qt's own");
    qInfo("A line asked for"); // debug and info lines come only when asked for, where they did
    Show_NSLog_Message(QStringLiteral("Sending mail to a@example.org"));
    ProgramLog::close();
    Show_NSLog_Message(QStringLiteral("closed"));
    qInstallMessageHandler(old);
    EXPECT_EQ(g_log, (QStringList{QStringLiteral("A line asked for"), QStringLiteral("closed")}));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray logged = file.readAll();
    EXPECT_TRUE(logged.contains(" warning: A warning of Qt's own\n")) << logged.toStdString();
    EXPECT_TRUE(logged.endsWith(" Sending mail to a@example.org\n"));
    // It names the user's addresses: private to the user.
    EXPECT_EQ(file.permissions().toInt() & 0x0077, 0); // nothing for group or others
    EXPECT_EQ(QFile::permissions(QFileInfo(path).absolutePath()).toInt() & 0x0077, 0);

    // A log grown past its size is kept once, as .1, and a new one begun.
    file.close();
    ASSERT_TRUE(QFile::resize(path, ProgramLog::KeepBytes + 1));
    ASSERT_TRUE(ProgramLog::open(path));
    ProgramLog::close();
    EXPECT_EQ(QFileInfo(path).size(), 0);
    EXPECT_EQ(QFileInfo(path + ".1").size(), ProgramLog::KeepBytes + 1);
}
