// Starts the real program headless: it must open its main window and end with status 0 when asked to close.
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>

TEST(ProgramStart, OpensItsWindowAndQuitsWithStatusZero)
{
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("HOME", home.path());
    env.insert("XDG_DATA_HOME", home.filePath("data"));
    env.insert("XDG_CONFIG_HOME", home.filePath("config"));
    env.insert("XDG_STATE_HOME", home.filePath("state"));
    env.insert("QT_LOGGING_RULES", "qt.qpa.*=false");
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(TESSALY_PROGRAM_PATH), {});
    ASSERT_TRUE(program.waitForStarted(10000));

    // The data root is filled before the window opens; wait for that, then let the window settle.
    const QString dataRoot = home.filePath("data/tessaly-designer");
    for (int i = 0; i < 200 && !QDir(dataRoot).exists("DataSet"); ++i)
        program.waitForFinished(50);
    EXPECT_TRUE(QDir(dataRoot).exists("DataSet"));
    EXPECT_EQ(program.state(), QProcess::Running) << program.readAllStandardError().constData();
    program.waitForFinished(500);

    ::kill(pid_t(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
}
