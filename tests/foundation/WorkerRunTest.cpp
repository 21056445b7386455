// Work run off the GUI thread while a local loop turns: the work is on another thread and done
// when the call returns, the GUI thread answers its questions and ticks meanwhile, its exception
// comes back to the caller, and quitting cuts it short and is reported.
#include "foundation/WorkerRun.h"
#include "foundation/MessageBoxes.h"
#include "support/WindowFixture.h"

#include <QCoreApplication>
#include <QDialog>
#include <QEventLoop>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <stdexcept>
#include <thread>

using testsupport::WindowFixture;

class WorkerRunTest : public WindowFixture
{
protected:
    // Runs body inside the application's own loop, as the program does, so that quitting ends
    // it; a timer of the test's own ends a run that would hang.
    static bool insideApplicationLoop(const std::function<void()> &body)
    {
        bool overdue = false;
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [&] {
            overdue = true;
            QCoreApplication::exit(1);
        });
        guard.start(60000);
        QTimer::singleShot(0, [&] {
            body();
            QCoreApplication::exit(0);
        });
        QCoreApplication::exec();
        return !overdue;
    }
};

TEST_F(WorkerRunTest, WorkRunsOnAnotherThreadWhileTheGuiThreadAnswersAndTicks)
{
    const std::thread::id gui = std::this_thread::get_id();
    std::thread::id workedOn;
    std::atomic<int> ticks{0};
    std::thread::id tickedOn;
    std::thread::id answeredOn;
    messages.setAnswerFunction([&](const QString &) {
        answeredOn = std::this_thread::get_id();
        return true;
    });
    bool answer = false;
    int done = 0;

    WorkerRun::Options options;
    options.tickMs = 1;
    options.tick = [&] {
        tickedOn = std::this_thread::get_id();
        ++ticks;
    };
    bool quitCalled = false;
    options.quit = [&] { quitCalled = true; };
    const WorkerRun::End end = WorkerRun::run(
        [&] {
            workedOn = std::this_thread::get_id();
            // Both need the GUI thread to turn while this thread waits.
            answer = Show_YES_NO_MessageBox(QStringLiteral("Go on?"));
            while (ticks.load() < 2)
                std::this_thread::yield();
            done = 1;
        },
        options);

    EXPECT_EQ(end, WorkerRun::End::Finished);
    EXPECT_NE(workedOn, gui);
    EXPECT_EQ(answeredOn, gui);
    EXPECT_EQ(tickedOn, gui);
    EXPECT_TRUE(answer);
    EXPECT_EQ(messages.questions(), QStringList{QStringLiteral("Go on?")});
    EXPECT_EQ(done, 1); // read after the call, without any other hand-over
    EXPECT_FALSE(quitCalled);
    // No tick comes after the return.
    const int ticksAtReturn = ticks.load();
    QCoreApplication::processEvents();
    EXPECT_EQ(ticks.load(), ticksAtReturn);
}

TEST_F(WorkerRunTest, WorkThatEndsAtOnceReturnsWithoutATimerOrAnEvent)
{
    // Nothing else would end the loop: the work's own end must.
    int runs = 0;
    EXPECT_TRUE(insideApplicationLoop([&] {
        for (int i = 0; i < 50; ++i)
            EXPECT_EQ(WorkerRun::run([&] { ++runs; }), WorkerRun::End::Finished);
    }));
    EXPECT_EQ(runs, 50);
}

// Within its quiet time, work that ends is a plain call: a timer already due does not fire
// meanwhile; work that takes longer turns the loop after it, and the timer fires during the work.
TEST_F(WorkerRunTest, WorkEndingWithinItsQuietTimeTurnsNoLoop)
{
    for (const bool slow : {false, true}) {
        bool fired = false;
        std::atomic<bool> firedDuringWork{false};
        QTimer::singleShot(0, [&] {
            fired = true;
            firedDuringWork = true;
        });
        WorkerRun::Options options;
        options.quietMs = slow ? 1 : 60000;
        WorkerRun::run(
            [&] {
                while (slow && !firedDuringWork)
                    std::this_thread::yield();
            },
            options);
        EXPECT_EQ(fired, slow) << slow;
        QCoreApplication::processEvents();
        EXPECT_TRUE(fired) << slow;
    }
}

TEST_F(WorkerRunTest, WorkEndingUnderAnOpenDialogEndsTheRunOnceTheDialogCloses)
{
    // The Stop question is such a dialog: its own loop turns on top of the run's while the work
    // ends. The end must not be lost, nor end the run before the dialog is closed.
    std::atomic<bool> dialogOpen{false};
    std::atomic<bool> workDone{false};
    bool dialogClosed = false;
    bool closedWhenRunReturned = false;
    QDialog dialog;
    EXPECT_TRUE(insideApplicationLoop([&] {
        QTimer::singleShot(0, [&] {
            QTimer::singleShot(0, [&] {
                dialogOpen = true;
                (void)QTest::qWaitFor([&] { return workDone.load(); }, 20000);
                QCoreApplication::processEvents(); // the work's end reaches the run's loop here
                dialog.reject();
            });
            dialog.exec();
            dialogClosed = true;
        });
        WorkerRun::run([&] {
            while (!dialogOpen.load())
                std::this_thread::yield();
            workDone = true;
        });
        closedWhenRunReturned = dialogClosed;
    }));
    EXPECT_TRUE(workDone.load());
    EXPECT_TRUE(closedWhenRunReturned);
}

TEST_F(WorkerRunTest, AnExceptionFromTheWorkIsThrownToTheCallerAfterTheThreadEnded)
{
    std::atomic<bool> lastLineRan{false};
    try {
        WorkerRun::run([&] {
            lastLineRan = true;
            throw std::runtime_error("disk full");
        });
        ADD_FAILURE() << "nothing was thrown";
    } catch (const std::runtime_error &e) {
        EXPECT_STREQ(e.what(), "disk full");
    }
    EXPECT_TRUE(lastLineRan.load());
    // The helper is usable again at once.
    EXPECT_EQ(WorkerRun::run([] {}), WorkerRun::End::Finished);
}

TEST_F(WorkerRunTest, QuittingCutsTheWorkShortOnTheGuiThreadAndWaitsForIt)
{
    std::atomic<bool> cutShort{false};
    std::atomic<bool> started{false};
    std::thread::id quitOn;
    int quitCalls = 0;
    bool workEnded = false;
    WorkerRun::End end = WorkerRun::End::Finished;
    QTimer quitter;
    quitter.setInterval(1);
    QObject::connect(&quitter, &QTimer::timeout, [&] {
        if (started.load()) {
            quitter.stop();
            QCoreApplication::exit(0); // what the program does on a termination signal
        }
    });
    const std::thread::id gui = std::this_thread::get_id();
    ASSERT_TRUE(insideApplicationLoop([&] {
        quitter.start();
        WorkerRun::Options options;
        options.quit = [&] {
            quitOn = std::this_thread::get_id();
            ++quitCalls;
            cutShort = true;
        };
        end = WorkerRun::run(
            [&] {
                started = true;
                // Only the quit request ends this work.
                while (!cutShort.load())
                    std::this_thread::yield();
                workEnded = true;
            },
            options);
    }));
    EXPECT_EQ(end, WorkerRun::End::Quit);
    EXPECT_EQ(quitCalls, 1);
    EXPECT_EQ(quitOn, gui);
    EXPECT_TRUE(workEnded); // waited for, not left running
}

TEST_F(WorkerRunTest, AfterAQuitANewRunStillRunsItsWorkToTheEnd)
{
    // Once the application has been told to exit, local loops no longer turn; work started then
    // is asked to stop and still waited for, so its results are whole.
    std::atomic<int> items{0};
    int quitCalls = 0;
    WorkerRun::End first = WorkerRun::End::Finished;
    ASSERT_TRUE(insideApplicationLoop([&] {
        QCoreApplication::exit(0);
        WorkerRun::Options options;
        options.quit = [&] { ++quitCalls; };
        first = WorkerRun::run(
            [&] {
                for (int i = 0; i < 1000; ++i)
                    ++items;
            },
            options);
    }));
    EXPECT_EQ(items.load(), 1000);
    EXPECT_LE(quitCalls, 1);
    EXPECT_EQ(first == WorkerRun::End::Quit, quitCalls == 1);
}
