// Message delivery: direct on the GUI thread, waiting on worker threads, each call its own answer.
#include "platform/MessageAnswerer.h"

#include <QThread>
#include <QtCore/qtestsupport_core.h>

#include <atomic>
#include <thread>

#include <gtest/gtest.h>

TEST(MessageService, NothingInstalledShowsNothing)
{
    ASSERT_EQ(MessageService::installed(), nullptr);
    EXPECT_FALSE(MessageService::deliverMessage(QStringLiteral("x")));
    EXPECT_FALSE(MessageService::deliverYesNo(QStringLiteral("x")).has_value());
}

TEST(MessageService, GuiThreadCallsAreDirect)
{
    MessageAnswerer answerer;
    answerer.queueAnswers({true, false});
    EXPECT_TRUE(MessageService::deliverMessage(QStringLiteral("hello")));
    EXPECT_EQ(MessageService::deliverYesNo(QStringLiteral("q1")), std::optional<bool>(true));
    EXPECT_EQ(MessageService::deliverYesNo(QStringLiteral("q2")), std::optional<bool>(false));
    EXPECT_EQ(answerer.messages(), QStringList{QStringLiteral("hello")});
    EXPECT_EQ(answerer.questions(), (QStringList{QStringLiteral("q1"), QStringLiteral("q2")}));
}

TEST(MessageService, WorkersWaitAndEachGetsItsOwnAnswer)
{
    MessageAnswerer answerer;
    Qt::HANDLE guiThread = QThread::currentThreadId();
    std::atomic<bool> answeredOnGui{true};
    // The answer depends on the question, so a mix-up between threads shows.
    answerer.setAnswerFunction([&](const QString &q) {
        if (QThread::currentThreadId() != guiThread)
            answeredOnGui = false;
        return q.endsWith(QLatin1String("yes"));
    });
    constexpr int kThreads = 8;
    std::atomic<int> finished{0};
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 10; ++i) {
                const bool expectYes = (t + i) % 2 == 0;
                const auto a = MessageService::deliverYesNo(
                    QStringLiteral("%1/%2 %3").arg(t).arg(i).arg(expectYes ? "yes" : "no"));
                if (!a || *a != expectYes)
                    ++wrong;
            }
            ++finished;
        });
    }
    // The GUI thread's events keep flowing meanwhile: the workers' calls arrive as events.
    EXPECT_TRUE(QTest::qWaitFor([&] { return finished == kThreads; }, 60000));
    for (auto &th : threads)
        th.join();
    EXPECT_EQ(wrong, 0);
    EXPECT_TRUE(answeredOnGui);
    EXPECT_EQ(answerer.questions().size(), kThreads * 10);
}

TEST(MessageService, AnswererUninstallsItself)
{
    {
        MessageAnswerer a;
        EXPECT_EQ(MessageService::installed(), &a);
    }
    EXPECT_EQ(MessageService::installed(), nullptr);
    MessageAnswerer outer;
    {
        MessageAnswerer notInstalled(false);
    }
    EXPECT_EQ(MessageService::installed(), &outer);
}
