// Child processes: input, outputs, exit codes, environment, time limit, a program that is missing;
// and the URL opener: its hook, and the desktop's opener heard from without being waited for.
#include "platform/ProcessRunner.h"
#include "platform/UrlOpener.h"
#include "support/FakeDesktopOpener.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include <csignal>

TEST(ProcessRunner, PassesInputAndCollectsOutputs)
{
    ProcessRunner::Request req;
    req.program = QStringLiteral("/bin/sh");
    req.arguments = {QStringLiteral("-c"), QStringLiteral("cat; echo oops >&2; exit 3")};
    req.standardInput = QByteArray("line one\npass\xc3\xa9\n");
    const ProcessRunner::Result r = ProcessRunner::run(req);
    EXPECT_TRUE(r.started);
    EXPECT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_EQ(r.standardOutput, req.standardInput);
    EXPECT_EQ(r.standardError, QByteArray("oops\n"));
    EXPECT_FALSE(r.succeeded());
}

TEST(ProcessRunner, EnvironmentIsTheOneGiven)
{
    ProcessRunner::Request req;
    req.program = QStringLiteral("/bin/sh");
    req.arguments = {QStringLiteral("-c"),
                     QStringLiteral("printf '%s|%s' \"$PATH\" \"${PYTHONPATH-unset}\"")};
    QProcessEnvironment env;
    env.insert(QStringLiteral("PATH"), QStringLiteral("/bin:/usr/bin"));
    env.insert(QStringLiteral("PYTHONPATH"), QString());
    req.environment = env;
    const ProcessRunner::Result r = ProcessRunner::run(req);
    EXPECT_TRUE(r.succeeded());
    EXPECT_EQ(r.standardOutput, QByteArray("/bin:/usr/bin|"));
}

TEST(ProcessRunner, TimeLimitAndMissingProgram)
{
    ProcessRunner::Request req;
    req.program = QStringLiteral("/bin/sleep");
    req.arguments = {QStringLiteral("10")};
    req.timeoutMs = 200;
    ProcessRunner::Result r = ProcessRunner::run(req);
    EXPECT_TRUE(r.started);
    EXPECT_TRUE(r.timedOut);
    EXPECT_FALSE(r.succeeded());
    EXPECT_FALSE(r.error.isEmpty());

    req.program = QStringLiteral("/nonexistent/program");
    r = ProcessRunner::run(req);
    EXPECT_FALSE(r.started);
    EXPECT_FALSE(r.error.isEmpty());
    EXPECT_FALSE(ProcessRunner::run({}).started);
}

TEST(ProcessRunner, LargeInputAndOutputDoNotBlockEachOther)
{
    // More than a pipe holds in both directions: the child writes while we still write.
    ProcessRunner::Request req;
    req.program = QStringLiteral("/bin/cat");
    req.standardInput = QByteArray(3 * 1024 * 1024, 'x');
    const ProcessRunner::Result r = ProcessRunner::run(req);
    EXPECT_TRUE(r.succeeded());
    EXPECT_EQ(r.standardOutput.size(), req.standardInput.size());
}

TEST(ProcessRunner, ChildThatIgnoresItsInputDoesNotKillUs)
{
    ProcessRunner::Request req;
    req.program = QStringLiteral("/bin/true");
    req.standardInput = QByteArray(4 * 1024 * 1024, 'y'); // the reader is gone long before the end
    const ProcessRunner::Result r = ProcessRunner::run(req);
    EXPECT_TRUE(r.succeeded());
}

TEST(ProcessRunner, EndsWithTheChildNotWithWhatItLeftBehind)
{
    // A background grandchild keeps the outputs open until the test lets it go, which the test
    // does only once run() has returned: a runner that waited for the outputs to close would run
    // into its time limit. The child itself is done at once.
    QTemporaryDir tmp;
    const QString release = tmp.filePath(QStringLiteral("release"));
    const QString waitForRelease =
        QStringLiteral("i=0; while [ ! -e '%1' ] && [ $i -lt 1200 ]; do sleep 0.05; i=$((i+1)); done")
            .arg(release);
    ProcessRunner::Request req;
    req.program = QStringLiteral("/bin/sh");
    req.arguments = {QStringLiteral("-c"), QStringLiteral("echo done; (%1) & exit 0").arg(waitForRelease)};
    req.timeoutMs = 30000;
    const ProcessRunner::Result r = ProcessRunner::run(req);
    QFile(release).open(QIODevice::WriteOnly);
    EXPECT_TRUE(r.succeeded()) << qPrintable(r.error);
    EXPECT_FALSE(r.timedOut);
    EXPECT_EQ(r.standardOutput, QByteArray("done\n"));

    // Closing its outputs does not let a child outstay its time limit: this one would end by
    // itself only after a minute, or when let go after run() has returned.
    const QString lateRelease = tmp.filePath(QStringLiteral("late"));
    req.arguments = {
        QStringLiteral("-c"),
        QStringLiteral("exec >&- 2>&-; i=0; while [ ! -e '%1' ] && [ $i -lt 1200 ]; do sleep 0.05; "
                       "i=$((i+1)); done")
            .arg(lateRelease)};
    req.timeoutMs = 300;
    const ProcessRunner::Result late = ProcessRunner::run(req);
    QFile(lateRelease).open(QIODevice::WriteOnly);
    EXPECT_TRUE(late.timedOut);
    EXPECT_FALSE(late.succeeded());
}

TEST(ProcessRunner, WorkingDirectoryCrashAndManyThreads)
{
    ProcessRunner::Request req;
    req.program = QStringLiteral("pwd"); // found on the PATH
    req.workingDirectory = QStringLiteral("/usr/share");
    EXPECT_EQ(ProcessRunner::run(req).standardOutput, QByteArray("/usr/share\n"));

    req = {};
    req.program = QStringLiteral("/bin/sh");
    req.arguments = {QStringLiteral("-c"), QStringLiteral("kill -SEGV $$")};
    const ProcessRunner::Result crashed = ProcessRunner::run(req);
    EXPECT_TRUE(crashed.crashed);
    EXPECT_FALSE(crashed.succeeded());

    // Runs from several threads at once each get their own child's output.
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([t, &wrong] {
            for (int i = 0; i < 5; ++i) {
                ProcessRunner::Request own;
                own.program = QStringLiteral("/bin/cat");
                own.standardInput = QByteArray::number(t * 100 + i);
                if (ProcessRunner::run(own).standardOutput != own.standardInput)
                    ++wrong;
            }
        });
    }
    for (std::thread &th : threads)
        th.join();
    EXPECT_EQ(wrong, 0);
}

// A thread that blocks signals, in a program that ignores SIGPIPE, still starts children that see
// every signal and die of a closed pipe as programs expect.
TEST(ProcessRunner, ChildrenStartWithPlainSignals)
{
    struct sigaction ignore {
    }, before{};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGPIPE, &ignore, &before);
    QByteArray status;
    std::thread([&status] {
        sigset_t blocked;
        sigemptyset(&blocked);
        sigaddset(&blocked, SIGPIPE);
        sigaddset(&blocked, SIGUSR2);
        pthread_sigmask(SIG_BLOCK, &blocked, nullptr);
        ProcessRunner::Request req;
        req.program = QStringLiteral("/bin/grep");
        req.arguments = {QStringLiteral("-E"), QStringLiteral("^Sig(Blk|Ign)"),
                         QStringLiteral("/proc/self/status")};
        status = ProcessRunner::run(req).standardOutput;
    }).join();
    sigaction(SIGPIPE, &before, nullptr);
    const QList<QByteArray> lines = status.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 2) << status.constData();
    EXPECT_EQ(lines[0].split('\t').last().toULongLong(nullptr, 16), 0u) << status.constData();
    EXPECT_EQ(lines[1].split('\t').last().toULongLong(nullptr, 16) & (1u << (SIGPIPE - 1)), 0u)
        << status.constData();
}

TEST(UrlOpener, HookReceivesUrlsAndFiles)
{
    QList<QUrl> opened;
    UrlOpener::setHook([&](const QUrl &u) {
        opened << u;
        return true;
    });
    EXPECT_TRUE(UrlOpener::open(QUrl(QStringLiteral("https://example.com/help"))));
    EXPECT_TRUE(UrlOpener::openFile(QStringLiteral("/tmp/Help.pdf")));
    EXPECT_FALSE(UrlOpener::openFile(QString()));
    UrlOpener::setHook({});
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened[1], QUrl::fromLocalFile(QStringLiteral("/tmp/Help.pdf")));
}

TEST(UrlOpener, AnOpenerThatStartsAndThenFailsIsHeardOfWithoutWaitingForIt)
{
    using testsupport::FakeDesktopOpener;
    const QUrl page(QStringLiteral("https://example.com/help?a=1&b=two words"));
    const struct {
        FakeDesktopOpener::Ends ends;
        int releasedWith; // for an opener that runs on
        bool failureHeard;
    } cases[] = {
        {FakeDesktopOpener::Ends::Failing, 0, true},
        {FakeDesktopOpener::Ends::Succeeding, 0, false},
        // Beside a browser: open() has returned while the opener still runs.
        {FakeDesktopOpener::Ends::WhenReleased, FakeDesktopOpener::NoProgramStatus, true},
        {FakeDesktopOpener::Ends::WhenReleased, 0, false},
        // The viewer it ran was shown, then ended by the user: however it ended, it was opened.
        {FakeDesktopOpener::Ends::ViewerWhenReleased, 1, false},
        {FakeDesktopOpener::Ends::ViewerWhenReleased, 0, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(int(c.ends) * 10 + c.releasedWith);
        FakeDesktopOpener opener(c.ends);
        int failures = 0;
        ASSERT_TRUE(UrlOpener::open(page, [&] { ++failures; }));
        ASSERT_TRUE(UrlOpener::openFile(QStringLiteral("/tmp/a folder"), [&] { ++failures; }));
        const bool viewer = c.ends == FakeDesktopOpener::Ends::ViewerWhenReleased;
        if (c.ends == FakeDesktopOpener::Ends::WhenReleased || viewer) {
            ASSERT_TRUE(QTest::qWaitFor([&] { return opener.arguments().size() == 2; }));
            EXPECT_EQ(UrlOpener::runningOpeners(), 2);
            // An opener running on its own shows nothing; one running its viewer is seen to.
            if (viewer)
                ASSERT_TRUE(QTest::qWaitFor([] { return UrlOpener::openersShowing() == 2; }));
            else
                EXPECT_EQ(UrlOpener::openersShowing(), 0);
            EXPECT_EQ(failures, 0);
            opener.release(c.releasedWith);
        }
        ASSERT_TRUE(FakeDesktopOpener::waitUntilEnded());
        EXPECT_EQ(failures, c.failureHeard ? 2 : 0);
        EXPECT_EQ(UrlOpener::openersShowing(), 0);
        // The two openers run side by side, so either may note its address first.
        QStringList heard = opener.arguments();
        heard.sort();
        EXPECT_EQ(heard,
                  (QStringList{QStringLiteral("/tmp/a folder"), QString::fromLatin1(page.toEncoded())}));
    }
}
