// Child processes: input, outputs, exit codes, environment, time limit, a program that is missing;
// and the URL opener's hook.
#include "platform/ProcessRunner.h"
#include "platform/UrlOpener.h"

#include <gtest/gtest.h>

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
