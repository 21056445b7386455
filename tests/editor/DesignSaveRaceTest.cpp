// Two instances saving one design at nearly the same moment: real cardtool processes, each held
// between writing its new file and replacing the design with it until both are there, so every
// run meets the race the test is about. The later save asks before replacing the earlier one, and
// a save finds out when another program's file stands in its place right after.
#include "editor/DesignFile.h"
#include "editor/EditorState.h"
#include "model/SKTDocument.h"
#include "support/DesignSetup.h"
#include "support/Eventually.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <memory>

namespace
{

// The card's width as the design file holds it.
double widthIn(const QString &path)
{
    CardDesign design;
    QString reason;
    if (!DesignFile::readDesign(path, &design, &reason))
        return -1;
    return design.cardSize().width();
}

QStringList marksIn(const QString &folder, const QString &stage = QStringLiteral("written"))
{
    return QDir(folder)
        .entryList({stage + QStringLiteral("-?*")}, QDir::Files)
        .filter(QRegularExpression("-\\d+$"));
}

class DesignSaveRace : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid() && meet.isValid());
        EditorState::instance().reset();
        SKTDocument document;
        testsupport::setCardSize(document, QSizeF(100, 50));
        EditorState::instance().Project_File_Name = design;
        ASSERT_TRUE(DesignFile(document).Save_project_file(false, false).ok());
        EditorState::instance().reset();
    }
    void TearDown() override
    {
        for (const auto &p : processes)
            if (p->state() != QProcess::NotRunning)
                p->kill();
    }
    // A second instance opening the design, giving it another width and saving it; held before
    // it replaces the file until go().
    QProcess &start(double width, bool replaceChanged)
    {
        auto p = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TESSALY_TEST_SAVE_RENDEZVOUS"), meet.path());
        p->setProcessEnvironment(env);
        QStringList args{QStringLiteral("design-edit-save"), design, QString::number(width)};
        if (replaceChanged)
            args << QStringLiteral("--replace-changed");
        p->start(QStringLiteral(CARDTOOL_PATH), args);
        processes.push_back(std::move(p));
        return *processes.back();
    }
    // Once every process has written its file, all go on together.
    void go(int written)
    {
        ASSERT_TRUE(eventually([&] { return marksIn(meet.path()).size() == written; }))
            << marksIn(meet.path()).join(' ').toStdString();
        testsupport::writeFile(meet.filePath(QStringLiteral("written-go")), "");
    }
    // Another design written whole and put in place, as an editor that takes no lock does.
    void putTheirsInPlace(double width)
    {
        SKTDocument theirs;
        testsupport::setCardSize(theirs, QSizeF(width, 50));
        const QString written = dir.filePath(QStringLiteral("theirs.dcard"));
        EditorState::instance().Project_File_Name = written;
        ASSERT_TRUE(DesignFile(theirs).Save_project_file(false, false).ok());
        EditorState::instance().reset();
        ASSERT_TRUE(QFile::remove(design) && QFile::rename(written, design));
    }
    static QString finished(QProcess &p)
    {
        if (!p.waitForFinished(30000) || p.exitCode() != 0)
            return QStringLiteral("failed: ") + QString::fromUtf8(p.readAllStandardError());
        return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    }

    QTemporaryDir dir;
    QTemporaryDir meet;
    const QString design = dir.filePath(QStringLiteral("Shared card.dcard"));
    std::vector<std::unique_ptr<QProcess>> processes;
};

} // namespace

TEST_F(DesignSaveRace, TheLaterOfTwoSavesAsksAndItsAnswerDecides)
{
    const QString saved = QStringLiteral(
        "saved after %1 question(s): Greeting Card Design Log \"Shared card.dcard\" has been saved "
        "successfully.");
    struct Case {
        bool replace; // the answer each instance gives to "changed by another program"
        QStringList outcomes;
    };
    const Case cases[] = {
        {false, {saved.arg(0), QStringLiteral("kept theirs after 1 question(s)")}},
        {true, {saved.arg(0), saved.arg(1)}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.replace ? "Yes" : "No");
        SetUp();
        QProcess &a = start(201, c.replace);
        QProcess &b = start(202, c.replace);
        go(2);
        const QString outA = finished(a);
        const QString outB = finished(b);
        // Whichever came first saved without a question; the other was asked.
        const bool aFirst = outA == saved.arg(0);
        const QStringList outcomes = aFirst ? QStringList{outA, outB} : QStringList{outB, outA};
        EXPECT_EQ(outcomes.join(" | ").toStdString(), c.outcomes.join(" | ").toStdString());
        // The file holds the save that was kept: the first, or the second when Yes replaced it.
        const bool aKept = aFirst != c.replace;
        EXPECT_EQ(widthIn(design), aKept ? 201 : 202);
        // The lock file goes with the save that held it.
        EXPECT_FALSE(QFileInfo::exists(DesignFile::saveLockPath(design)));
        QFile::remove(meet.filePath(QStringLiteral("written-go")));
        for (const QString &mark : marksIn(meet.path()))
            QFile::remove(meet.filePath(mark));
        processes.clear();
    }
}

// Another program's file put in place during the save is asked about; one put in place right
// after the save replaced the file is said, and the design stays unsaved.
TEST_F(DesignSaveRace, AFileAnotherProgramPutsInPlaceDuringTheSaveIsAskedAbout)
{
    QProcess &p = start(203, false);
    ASSERT_TRUE(eventually([&] { return marksIn(meet.path()).size() == 1; }));
    putTheirsInPlace(300);
    go(1);
    EXPECT_EQ(finished(p).toStdString(), "kept theirs after 1 question(s)");
    EXPECT_EQ(widthIn(design), 300);

    for (const QString &mark : QDir(meet.path()).entryList(QDir::Files))
        QFile::remove(meet.filePath(mark));
    testsupport::writeFile(meet.filePath(QStringLiteral("written-go")), "");
    testsupport::writeFile(meet.filePath(QStringLiteral("hold-replaced")), "");
    QProcess &q = start(204, false);
    ASSERT_TRUE(eventually([&] { return marksIn(meet.path(), QStringLiteral("replaced")).size() == 1; }));
    EXPECT_EQ(widthIn(design), 204); // this save's file, replaced at once below
    putTheirsInPlace(301);
    testsupport::writeFile(meet.filePath(QStringLiteral("replaced-go")), "");
    const QString said = finished(q);
    EXPECT_TRUE(
        said.startsWith(QStringLiteral("failed: ")) &&
        said.contains(QStringLiteral("cardtool: The design was saved, but the file \"%1\" is no longer the "
                                     "one this save wrote")
                          .arg(design)))
        << said.toStdString();
    EXPECT_EQ(widthIn(design), 301);
}
