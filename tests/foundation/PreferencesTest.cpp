// Mail settings store: first start, defaults, memory until flush, file and folder modes,
// unreadable files left alone, failed writes reported, and plistlib reading what we write.
#include "foundation/Preferences.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

#include <gtest/gtest.h>

using testsupport::modeOf;
using testsupport::readFile;

TEST(Preferences, FirstStartMakesPrivateEmptyFileAndDefaults)
{
    QTemporaryDir tmp;
    const QString path = tmp.filePath("cfg/tessaly-designer/com.zolv.card.plist");
    const mode_t oldMask = ::umask(022);
    Preferences p(path);
    ::umask(oldMask);
    EXPECT_TRUE(QFileInfo(path).isFile());
    EXPECT_EQ(QFileInfo(path).size(), 0);
    EXPECT_EQ(modeOf(path), mode_t(0600));
    EXPECT_EQ(modeOf(tmp.filePath("cfg/tessaly-designer")), mode_t(0700));
    EXPECT_EQ(p.send_email_Recipient(), QStringLiteral(""));
    EXPECT_FALSE(p.send_email_Recipient().isNull());
    EXPECT_EQ(p.send_email_SenderEmail(), QStringLiteral(""));
    EXPECT_EQ(p.send_email_Password(), QStringLiteral(""));
    EXPECT_EQ(p.send_email_SMTP_server(), QStringLiteral(""));
    EXPECT_EQ(p.send_email_PORT_num(), QStringLiteral(""));
    EXPECT_TRUE(p.send_email_enable_ssl().isNull());
}

TEST(Preferences, ValuesStayInMemoryUntilFlushAndPlistlibReadsThem)
{
    QTemporaryDir tmp;
    const QString path = tmp.filePath("com.zolv.card.plist");
    {
        Preferences p(path);
        p.setsend_email_SMTP_server(QStringLiteral("smtp.example.com"));
        EXPECT_EQ(p.send_email_SMTP_server(), QStringLiteral("smtp.example.com"));
    } // the destructor writes nothing
    EXPECT_EQ(Preferences(path).send_email_SMTP_server(), QStringLiteral(""));

    Preferences p(path);
    p.setsend_email_Recipient(QStringLiteral("to@example.org"));
    p.setsend_email_SenderEmail(QStringLiteral("from@example.com"));
    p.setsend_email_Password(QStringLiteral("pä ss\"<&>"));
    p.setsend_email_SMTP_server(QStringLiteral("smtp.example.com"));
    p.setsend_email_PORT_num(QStringLiteral("465"));
    p.setsend_email_enable_ssl(QStringLiteral("Y"));
    QString err;
    ASSERT_TRUE(p.flush(&err)) << err.toStdString();
    EXPECT_EQ(modeOf(path), mode_t(0600));

    Preferences again(path);
    EXPECT_TRUE(again.loadedFromFile());
    EXPECT_EQ(again.send_email_Password(), QStringLiteral("pä ss\"<&>"));
    EXPECT_EQ(again.send_email_enable_ssl(), QStringLiteral("Y"));

    const testsupport::ProcResult py = testsupport::python(
        QStringLiteral("import plistlib,sys,json; d=plistlib.load(open(sys.argv[1],'rb')); "
                       "print(json.dumps(d, sort_keys=True, ensure_ascii=True))"),
        {path});
    EXPECT_EQ(py.exitCode, 0) << py.err.toStdString();
    EXPECT_EQ(
        py.out.trimmed(),
        QByteArray("{\"SendEmailPORT\": \"465\", \"SendEmailPwd\": \"p\\u00e4 ss\\\"<&>\", "
                   "\"SendEmailRecipient\": \"to@example.org\", \"SendEmailSMTP\": \"smtp.example.com\", "
                   "\"SendEmailSender\": \"from@example.com\", \"SendEnableSSL\": \"Y\"}"));
}

TEST(Preferences, UnreadableFileIsLeftAloneUntilFlush)
{
    QTemporaryDir tmp;
    const QString path = tmp.filePath("com.zolv.card.plist");
    ASSERT_TRUE(testsupport::writeFile(path, "this is not a property list"));
    Preferences p(path);
    EXPECT_FALSE(p.loadedFromFile());
    EXPECT_FALSE(p.loadError().isEmpty());
    EXPECT_EQ(p.send_email_Password(), QStringLiteral(""));
    EXPECT_EQ(readFile(path), QByteArray("this is not a property list"));

    p.setsend_email_PORT_num(QStringLiteral("587"));
    ASSERT_TRUE(p.flush());
    EXPECT_EQ(Preferences(path).send_email_PORT_num(), QStringLiteral("587"));
}

// A huge file is not read (300 MB took 2.14 GB and 7 s at start), nor is a FIFO (it would block
// the start for good) or a link to a device; each is left alone until the user saves.
TEST(Preferences, OversizedAndIrregularFilesAreNotRead)
{
    QTemporaryDir tmp;
    const QString big = tmp.filePath("big.plist");
    // A valid dictionary just over the limit, padded inside a string.
    const QByteArray head = "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>SendEmailPORT</key>"
                            "<string>587</string><key>Pad</key><string>";
    const QByteArray tail = "</string></dict></plist>";
    QByteArray bytes = head + QByteArray(Preferences::MaxFileBytes, 'x') + tail;
    ASSERT_TRUE(testsupport::writeFile(big, bytes));
    Preferences p(big);
    EXPECT_FALSE(p.loadedFromFile());
    EXPECT_EQ(p.loadError(), "The mail settings file is larger than 64 KiB.");
    EXPECT_EQ(p.send_email_PORT_num(), QStringLiteral(""));
    EXPECT_EQ(readFile(big), bytes);
    // The same dictionary within the limit is read.
    bytes = head + QByteArray(100, 'x') + tail;
    ASSERT_TRUE(testsupport::writeFile(big, bytes));
    EXPECT_EQ(Preferences(big).send_email_PORT_num(), QStringLiteral("587"));

    // A sparse 300 MB file costs nothing to look at.
    const QString huge = tmp.filePath("huge.plist");
    QFile f(huge);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_TRUE(f.resize(qint64(300) << 20));
    f.close();
    EXPECT_FALSE(Preferences(huge).loadedFromFile());

    const QString fifo = tmp.filePath("fifo.plist");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    Preferences fromFifo(fifo);
    EXPECT_FALSE(fromFifo.loadedFromFile());
    EXPECT_EQ(fromFifo.loadError(), "The mail settings file is not a regular file.");

    const QString device = tmp.filePath("zero.plist");
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), device));
    EXPECT_FALSE(Preferences(device).loadedFromFile());

    // Saving replaces what could not be read with a file of our own.
    fromFifo.setsend_email_PORT_num(QStringLiteral("465"));
    ASSERT_TRUE(fromFifo.flush());
    EXPECT_EQ(Preferences(fifo).send_email_PORT_num(), QStringLiteral("465"));
}

TEST(Preferences, KeepsUnknownKeysAndTightensAWideFile)
{
    QTemporaryDir tmp;
    const QString path = tmp.filePath("com.zolv.card.plist");
    ASSERT_TRUE(testsupport::writeFile(
        path, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
              "<key>SendEmailPORT</key><integer>25</integer><key>Other</key><string>kept</string>"
              "</dict></plist>"));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther | QFile::ReadGroup);
    Preferences p(path);
    EXPECT_TRUE(p.loadedFromFile());
    EXPECT_EQ(p.send_email_PORT_num(), QStringLiteral("25"));
    EXPECT_TRUE(p.send_email_Password().isNull()); // a readable file without the key: no default
    ASSERT_TRUE(p.flush());
    EXPECT_EQ(modeOf(path), mode_t(0600));
    EXPECT_TRUE(readFile(path).contains("<string>kept</string>"));
}

TEST(Preferences, FailedWriteIsReported)
{
    QTemporaryDir tmp;
    QFile blocker(tmp.filePath("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    Preferences p(tmp.filePath("blocker/sub/com.zolv.card.plist"));
    p.setsend_email_Password(QStringLiteral("secret"));
    QString err;
    EXPECT_FALSE(p.flush(&err));
    EXPECT_FALSE(err.isEmpty());
}

TEST(Preferences, SharedInstanceIsOneObject)
{
    QTemporaryDir tmp;
    Preferences::resetSharedInstance(tmp.filePath("com.zolv.card.plist"));
    Preferences &a = Preferences::sharedInstance();
    a.setsend_email_SenderEmail(QStringLiteral("me@example.com"));
    EXPECT_EQ(&Preferences::sharedInstance(), &a);
    EXPECT_EQ(Preferences::sharedInstance().send_email_SenderEmail(), QStringLiteral("me@example.com"));
    Preferences::resetSharedInstance();
    EXPECT_TRUE(Preferences::defaultPath().endsWith(QLatin1String("/tessaly-designer/com.zolv.card.plist")));
}

TEST(Preferences, OnlyOurOwnConfigFolderIsTightened)
{
    QTemporaryDir tmp;
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(tmp.filePath("config")));
    const QString ours = tmp.filePath("config/tessaly-designer");
    const QString shared = tmp.filePath("shared");
    const auto wide = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                      QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
    for (const QString &d : {ours, shared}) {
        ASSERT_TRUE(QDir().mkpath(d));
        QFile::setPermissions(d, wide);
    }
    EXPECT_EQ(Preferences::defaultPath(), ours + QStringLiteral("/com.zolv.card.plist"));
    Preferences mine(Preferences::defaultPath());
    Preferences other(shared + QStringLiteral("/com.zolv.card.plist"));
    EXPECT_EQ(modeOf(ours), mode_t(0700));
    EXPECT_EQ(modeOf(shared), mode_t(0755));
    EXPECT_EQ(modeOf(shared + QStringLiteral("/com.zolv.card.plist")), mode_t(0600));
    if (oldConfig.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", oldConfig);
}
