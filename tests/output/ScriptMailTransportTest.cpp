// The mail script's call, seen by a stub interpreter that records its arguments, environment and
// standard input byte for byte; and the real script's own refusals, which need no server.
#include "output/ScriptMailTransport.h"
#include "output/MailStub.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <csignal>
#include <thread>

using mailtest::makeStub;
using mailtest::nulSeparated;
using mailtest::readAll;
using Delivery = MailTransport::Delivery;

namespace
{

MailTransport::Message message()
{
    MailTransport::Message m;
    m.sender = QStringLiteral("cards@example.com");
    m.recipient = QStringLiteral("guest@example.org");
    m.subject = QStringLiteral("Grüße");
    m.body = QStringLiteral("Line one\nline two — with a dash");
    m.attachments = {QStringLiteral("/tmp/a/Card_Back.jpeg"), QStringLiteral("/tmp/a/Card.jpeg")};
    return m;
}

MailTransport::Account account()
{
    return {QStringLiteral("pässwörd"), QStringLiteral("smtp.example.com"), QStringLiteral("465"),
            QStringLiteral("Y")};
}

} // namespace

TEST(ScriptMailTransport, TheScriptGetsItsArgumentsACleanEnvironmentAndThePasswordOnStdin)
{
    QTemporaryDir tmp;
    testsupport::writeFile(tmp.filePath("code"), "0");
    ScriptMailTransport transport(makeStub(tmp.path()), QStringLiteral("/opt/mail/pyth_mail.py"));
    QString error;
    ASSERT_EQ(transport.send(message(), account(), &error), Delivery::Sent) << error.toStdString();

    const QList<QByteArray> argv = nulSeparated(readAll(tmp.filePath("argv")));
    const QList<QByteArray> expected{"-I",
                                     "/opt/mail/pyth_mail.py",
                                     "cards@example.com",
                                     "smtp.example.com",
                                     "465",
                                     "cards@example.com",
                                     "guest@example.org",
                                     QStringLiteral("Grüße").toUtf8(),
                                     QStringLiteral("Line one\nline two — with a dash").toUtf8(),
                                     "Y",
                                     "/tmp/a/Card_Back.jpeg",
                                     "/tmp/a/Card.jpeg"};
    EXPECT_EQ(argv, expected);

    QList<QByteArray> env = nulSeparated(readAll(tmp.filePath("env")));
    std::sort(env.begin(), env.end());
    EXPECT_EQ(env, (QList<QByteArray>{"PATH=/bin:/usr/bin:/usr/local/bin", "PYTHONPATH="}));
    EXPECT_EQ(readAll(tmp.filePath("stdin")), QStringLiteral("pässwörd\nDescription").toUtf8());

    // Extra variables are added to that environment, nothing else comes in.
    qputenv("TESSALY_SHOULD_NOT_LEAK", "1");
    transport.addEnvironment(QStringLiteral("SSL_CERT_FILE"), QStringLiteral("/tmp/ca.pem"));
    ASSERT_EQ(transport.send(message(), account(), &error), Delivery::Sent);
    env = nulSeparated(readAll(tmp.filePath("env")));
    std::sort(env.begin(), env.end());
    EXPECT_EQ(env, (QList<QByteArray>{"PATH=/bin:/usr/bin:/usr/local/bin",
                                      "PYTHONPATH=", "SSL_CERT_FILE=/tmp/ca.pem"}));
    qunsetenv("TESSALY_SHOULD_NOT_LEAK");
}

TEST(ScriptMailTransport, OnlyStatusZeroIsSentAndOverlongBodiesAreRefused)
{
    QTemporaryDir tmp;
    ScriptMailTransport transport(makeStub(tmp.path()), QStringLiteral("/opt/mail/pyth_mail.py"));
    QString error;
    // 4: the server refused this message only; anything else would meet every message.
    const QList<QPair<QByteArray, Delivery>> statuses{
        {"0", Delivery::Sent}, {"4", Delivery::Refused}, {"3", Delivery::Failed}, {"1", Delivery::Failed}};
    for (const auto &[code, delivery] : statuses) {
        testsupport::writeFile(tmp.filePath("code"), code);
        EXPECT_EQ(transport.send(message(), account(), &error), delivery) << code.constData();
    }
    EXPECT_TRUE(error.contains("1")) << error.toStdString();

    testsupport::writeFile(tmp.filePath("code"), "0");
    QFile::remove(tmp.filePath("argv"));
    MailTransport::Message big = message();
    big.body = QString(ScriptMailTransport::kMaxBodyBytes + 1, QLatin1Char('x'));
    EXPECT_EQ(transport.send(big, account(), &error), Delivery::Failed);
    EXPECT_FALSE(QFile::exists(tmp.filePath("argv"))); // the script never ran

    ScriptMailTransport missing(tmp.filePath("no-such-python"), QStringLiteral("x.py"));
    EXPECT_EQ(missing.send(message(), account(), &error), Delivery::Failed);
    EXPECT_FALSE(error.isEmpty());
}

// The shipped script checks the port and every header before it connects: Python splits a header
// at each of these characters, and most of them used to end in a ValueError's traceback.
TEST(ScriptMailTransport, TheShippedScriptRefusesBadPortsAndEveryHeaderBreakBeforeConnecting)
{
    QTemporaryDir tmp;
    ScriptMailTransport transport; // Debian's python3 and the shipped script
    ASSERT_TRUE(QFile::exists(ScriptMailTransport::defaultScript()));
    MailTransport::Account a = account();
    QString error;
    a.port = QStringLiteral("70000");
    EXPECT_EQ(transport.send(message(), a, &error), Delivery::Failed);
    EXPECT_TRUE(error.contains("outside 1-65535")) << error.toStdString();
    a.port = QStringLiteral("25");
    for (const QString &ch :
         {QStringLiteral("\r\nBcc: someone@example.org"), QStringLiteral("\v"), QStringLiteral("\f"),
          QStringLiteral("\x1c"), QString(QChar(0x85)), QString(QChar(0x2028)), QString(QChar(0x2029))}) {
        MailTransport::Message m = message();
        m.subject = QStringLiteral("Hi") + ch + QStringLiteral("there");
        m.attachments.clear();
        EXPECT_EQ(transport.send(m, a, &error), Delivery::Failed);
        EXPECT_TRUE(error.contains("line break in the subject")) << error.toStdString();
        EXPECT_FALSE(error.contains("Traceback")) << error.toStdString();
    }
    MailTransport::Message m = message();
    m.sender = QStringLiteral("cards\t@example.com");
    m.attachments.clear();
    EXPECT_EQ(transport.send(m, a, &error), Delivery::Failed);
    EXPECT_TRUE(error.contains("control character in the sender")) << error.toStdString();

    const QString odd = tmp.filePath(QStringLiteral("Card\n.jpeg"));
    testsupport::writeFile(odd, "\xff\xd8\xff\xe0");
    m = message();
    m.attachments = {odd};
    EXPECT_EQ(transport.send(m, a, &error), Delivery::Failed);
    EXPECT_TRUE(error.contains("line break in the attachment name")) << error.toStdString();
}

TEST(ScriptMailTransport, EndCurrentKillsTheScriptInProgressOnlyAndLaterMessagesGo)
{
    QTemporaryDir tmp;
    ScriptMailTransport sleepy(mailtest::writeSleepingInterpreter(tmp.path()), QStringLiteral("x.py"));
    QString error;
    Delivery sent = Delivery::Sent;
    std::thread worker([&] { sent = sleepy.send(message(), account(), &error); });
    // Once the script runs, Stop gives it up.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!QFile::exists(tmp.filePath("pid")) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    const auto stopped = std::chrono::steady_clock::now();
    sleepy.endCurrent();
    worker.join();
    EXPECT_EQ(sent, Delivery::Failed);
    EXPECT_LT(std::chrono::steady_clock::now() - stopped, std::chrono::seconds(10)); // not the 60 s sleep
    EXPECT_EQ(error, "Stopped: the message was given up before the server took it.");
    const qint64 pid = readAll(tmp.filePath("pid")).trimmed().toLongLong();
    ASSERT_GT(pid, 0);
    EXPECT_EQ(::kill(pid_t(pid), 0), -1);

    // The next message is sent as usual: Stop is not a quit.
    testsupport::writeFile(tmp.filePath("code"), "0");
    ScriptMailTransport stub(makeStub(tmp.path()), QStringLiteral("x.py"));
    stub.endCurrent(); // with nothing in progress it does nothing
    EXPECT_EQ(stub.send(message(), account(), &error), Delivery::Sent) << error.toStdString();
    stub.abort();
    EXPECT_EQ(stub.send(message(), account(), &error), Delivery::Failed);
    EXPECT_EQ(error, "The program is quitting.");
}
