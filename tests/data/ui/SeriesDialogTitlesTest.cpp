// The series manager's question and value editor show their whole titles, and the question is
// answered by its mnemonics as by its buttons.
#include "data/ui/Load_Num_Info.h"
#include "data/ui/Update_Ex_Num.h"
#include "support/WindowTitle.h"

#include <QDir>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

TEST(SeriesDialogs, TitlesAreWhole)
{
    testsupport::ProgramDisplayName name;
    Load_Num_Info question;
    Update_Ex_Num editor(nullptr);
    QDir().mkpath(QStringLiteral(TESSALY_ARTIFACTS_DIR));
    for (QWidget *window : std::initializer_list<QWidget *>{&question, &editor}) {
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        EXPECT_TRUE(testsupport::titleFits(*window));
        window->grab().save(QStringLiteral(TESSALY_ARTIFACTS_DIR "/") + window->objectName() + ".png");
        window->hide();
    }
}

TEST(SeriesDialogs, AddValuesAnswersByItsMnemonics)
{
    Load_Num_Info question;
    const struct {
        Qt::Key key;
        QPushButton *button;
        int answer;
    } cases[] = {{Qt::Key_Y, question.yes_button, Load_Num_Info::Yes},
                 {Qt::Key_N, question.no_button, Load_Num_Info::No},
                 {Qt::Key_C, question.cancel_button, Load_Num_Info::Cancel}};
    for (const auto &c : cases) {
        QSignalSpy pressed(c.button, &QPushButton::clicked);
        QTimer::singleShot(0, [&] {
            (void)QTest::qWaitFor([&] { return question.isVisible(); });
            // Mnemonics are shortcuts of the active window, as for a user.
            question.activateWindow();
            (void)QTest::qWaitForWindowActive(&question);
            QTest::keyClick(&question, c.key, Qt::AltModifier);
            // A mnemonic clicks as a user sees it: after a moment.
            if (!QTest::qWaitFor([&] { return !question.isVisible(); }))
                question.reject(); // the key did nothing: end the run
        });
        EXPECT_EQ(question.ask(), c.answer) << c.button->text().toStdString();
        EXPECT_EQ(pressed.count(), 1) << c.button->text().toStdString();
    }
}
