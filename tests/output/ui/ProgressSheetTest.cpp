// The progress sheet over a run on a worker: the count texts, the half-second refresh, Stop with
// its question, the honest result of a stopped run, and a run of nothing.
#include "output/BatchExportEngine.h"
#include "output/ExportProgress.h"
#include "output/ExportResult.h"
#include "output/OutputState.h"
#include "output/ui/BatchRun.h"
#include "output/ui/MailFakes.h"
#include "output/ui/OutputWindowFixture.h"
#include "output/ui/Send_Modeless.h"
#include "platform/GuiThreadQueue.h"
#include "support/WindowTitle.h"

#include <QAbstractButton>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <thread>

using testsupport::WindowFixture;

class ProgressSheet : public WindowFixture
{
protected:
    QWidget owner;
    ExportProgress progress;
};

TEST_F(ProgressSheet, ShowsCountsRefreshesAndStopsAfterTheCardInProgress)
{
    constexpr int total = 300;
    std::atomic<int> allowed{0}; // items the worker may complete
    ExportResult result;
    QStringList seen;
    QString questionText;
    bool inProcessDuringRun = false;
    const testsupport::ProgramDisplayName programName; // the Stop question's title
    owner.show();

    QTimer::singleShot(0, [&] {
        Send_Modeless *sheet = Send_Modeless::defaultInstance();
        ASSERT_TRUE(sheet);
        EXPECT_TRUE(sheet->isVisible());
        EXPECT_EQ(sheet->windowModality(), Qt::WindowModal);
        seen << sheet->_tot_msg_cnt->text() << sheet->_curr_msg_cnt->text();
        inProcessDuringRun = OutputState::instance().Card_Value_In_Process.load();
        allowed = 2; // cards 1 and 2 are done, card 3 is in progress
        EXPECT_TRUE(QTest::qWaitFor([&] { return progress.curr_barcode_count.load() == 3; }, 5000));
        // The sheet's refresh timer brings the count up to date.
        EXPECT_TRUE(QTest::qWaitFor([&] { return sheet->_curr_msg_cnt->text() == "3 / 300 "; }, 30000));
        seen << sheet->_curr_msg_cnt->text();
        EXPECT_EQ(sheet->_Curr_Progress->value(), 3);
        EXPECT_EQ(sheet->_Curr_Progress->maximum(), total);
        WindowFixture::saveArtifact(sheet, QStringLiteral("progress_sheet.png"));

        // While the question is open the run is held; "Stop" and "Continue" are reached by their
        // letters.
        QStringList buttons;
        bool pausedWhileAsked = false;
        int titleRoom = -1;
        QString defaultButton;
        modalScripts.push_back([&](QDialog &box) {
            for (QAbstractButton *b : box.findChildren<QAbstractButton *>())
                buttons << b->text();
            pausedWhileAsked = progress.paused();
            box.show();
            WindowFixture::saveArtifact(&box, QStringLiteral("stop_question.png"));
            // The program's whole name fits the title bar, in bold beside an icon and three buttons.
            QFont bold = QApplication::font();
            bold.setBold(true);
            titleRoom = box.width() - QFontMetrics(bold).horizontalAdvance(box.windowTitle()) - 4 * 20;
            if (auto *question = qobject_cast<QMessageBox *>(&box))
                defaultButton = question->defaultButton()->text();
            questionText = box.findChild<QLabel *>(QStringLiteral("qt_msgbox_label"))->text() + " | " +
                           box.findChild<QLabel *>(QStringLiteral("qt_msgbox_informativelabel"))->text();
            return mailtest::answerStopQuestion(box, "continue_answer");
        });
        QTest::mouseClick(sheet->_stop_btn, Qt::LeftButton);
        EXPECT_FALSE(progress.stopRequested()); // Continue changes nothing
        EXPECT_FALSE(progress.paused());
        EXPECT_TRUE(pausedWhileAsked);
        EXPECT_GE(titleRoom, 0);
        EXPECT_EQ(defaultButton, "&Stop"); // Return stops, as Yes did
        buttons.sort();
        EXPECT_EQ(buttons, (QStringList{"&Continue", "&Stop"}));
        modalScripts.push_back([](QDialog &box) { return mailtest::answerStopQuestion(box, "stop_answer"); });
        QTest::mouseClick(sheet->_stop_btn, Qt::LeftButton);
        EXPECT_TRUE(progress.stopRequested());
        EXPECT_FALSE(progress.paused());
        EXPECT_FALSE(sheet->_stop_btn->isEnabled()); // asked once
        allowed = total;                             // the card in progress completes
    });

    progress.start(total);
    BatchRun::exec(&owner, progress, total, BatchRun::Kind::Export, [&] {
        result.total = total;
        for (int i = 0; i < total; ++i) {
            if (progress.stopRequested()) {
                result.stopped = true;
                break;
            }
            progress.beginItem(i);
            while (allowed.load() <= i)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            ++result.written;
        }
    });

    EXPECT_EQ(seen, (QStringList{"300", "0 / 300 Card", "3 / 300 "}));
    // The question asks what Stop does, in the run's own verb.
    EXPECT_EQ(questionText,
              "Stop exporting? | The cards already being made, at most one on each thread, are finished "
              "and kept with the cards written so far; no further card is started.");
    EXPECT_EQ(modalTitles.size(), 2); // the question, twice
    EXPECT_TRUE(inProcessDuringRun);
    EXPECT_FALSE(OutputState::instance().Card_Value_In_Process.load());
    EXPECT_EQ(result.message(), QStringLiteral("Export stopped: 3 of 300 cards were written."));
    EXPECT_EQ(Send_Modeless::defaultInstance(), nullptr); // the sheet is gone with its run
}

namespace
{
// Holds back the ticks of the progress sheet's refresh timer.
class RefreshTicksHeld : public QObject
{
public:
    bool eventFilter(QObject *receiver, QEvent *event) override
    {
        if (event->type() != QEvent::Timer)
            return false;
        auto *timer = qobject_cast<QTimer *>(receiver);
        return timer && timer->interval() == BatchRun::RefreshMs;
    }
};
} // namespace

TEST_F(ProgressSheet, ARunOfNothingShowsTheSheetAndHidesItAtOnce)
{
    owner.show();
    std::atomic<bool> shownDuringRun{false};
    QString total, count;
    progress.start(0);
    // The run must end on its own, not on a tick of the refresh timer: ticks are held back, and
    // a run still going after a long while is ended the way quitting ends it.
    RefreshTicksHeld ticks;
    qApp->installEventFilter(&ticks);
    bool overdue = false;
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        overdue = true;
        QCoreApplication::exit(1);
    });
    watchdog.start(60000);
    BatchRun::exec(&owner, progress, 0, BatchRun::Kind::Mail, [&] {
        // Through our own queue, whose hand-over the race checker sees (Qt's own it cannot).
        GuiThreadQueue::runAndWait([&] {
            Send_Modeless *sheet = Send_Modeless::defaultInstance();
            shownDuringRun = sheet && sheet->isVisible();
            total = sheet ? sheet->_tot_msg_cnt->text() : QString();
            count = sheet ? sheet->_curr_msg_cnt->text() : QString();
        });
    });
    watchdog.stop();
    qApp->removeEventFilter(&ticks);
    EXPECT_FALSE(overdue);
    EXPECT_TRUE(shownDuringRun.load());
    EXPECT_EQ(total, "0");
    EXPECT_EQ(count, "0 / 0"); // a mail run counts without "Card"
    EXPECT_EQ(Send_Modeless::defaultInstance(), nullptr);
}

TEST_F(ProgressSheet, EscapeDoesNotCloseTheSheetOfARunningRun)
{
    owner.show();
    std::atomic<bool> release{false};
    bool visibleAfterEscape = false;
    QTimer::singleShot(0, [&] {
        Send_Modeless *sheet = Send_Modeless::defaultInstance();
        QTest::keyClick(sheet, Qt::Key_Escape);
        visibleAfterEscape = sheet->isVisible();
        release = true;
    });
    progress.start(1);
    BatchRun::exec(&owner, progress, 1, BatchRun::Kind::Export, [&] {
        while (!release.load())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    });
    EXPECT_TRUE(visibleAfterEscape);
}

namespace
{
// A card that takes a little drawing, so that the run is still going when Stop is pressed.
class PlainCard : public CardRenderer
{
public:
    QImage renderSide(int row, bool, QString *) override
    {
        QImage image(200, 120, QImage::Format_RGB32);
        image.fill(QColor::fromHsv(row % 360, 120, 220));
        return image;
    }
};
} // namespace

// Reading the question used to let 64 more cards out; now the run waits for the answer.
TEST_F(ProgressSheet, NoCardIsWrittenWhileTheStopQuestionIsOpen)
{
    owner.show();
    constexpr int total = 5000;
    ExportResult result;
    int writtenWhenHeld = -1;
    int takenWhenHeld = -1;
    bool heldStill = false;
    QTimer::singleShot(0, [&] {
        Send_Modeless *sheet = Send_Modeless::defaultInstance();
        ASSERT_TRUE(QTest::qWaitFor([&] { return progress.written.load() >= 3; }, 20000));
        modalScripts.push_back([&](QDialog &box) {
            // One worker and its writers: the worker held before its next card (or before
            // queueing the one it drew), each writer before writing the card it took, or idle.
            const int threads = 1 + BatchExportEngine::writerCount(1, total);
            heldStill = QTest::qWaitFor([&] { return progress.waitingInPause() == threads; }, 20000);
            writtenWhenHeld = progress.written.load();
            takenWhenHeld = int(progress.curr_barcode_count.load());
            return mailtest::answerStopQuestion(box, "stop_answer");
        });
        QTest::mouseClick(sheet->_stop_btn, Qt::LeftButton);
    });
    progress.start(total);
    BatchRun::exec(&owner, progress, total, BatchRun::Kind::Export, [&] {
        BatchExportEngine engine(&progress);
        ExportOptions options;
        options.threads = 1;
        options.extension = QStringLiteral("bmp");
        result = engine.Export_Batch_File(tempPath(QStringLiteral("out")), total, options,
                                          [] { return std::make_unique<PlainCard>(); });
    });
    ASSERT_TRUE(heldStill);
    EXPECT_TRUE(result.stopped);
    // The cards drawn before the question are written after the answer, and none begun since.
    EXPECT_GE(result.written, writtenWhenHeld);
    EXPECT_EQ(result.written, takenWhenHeld);
    const int writers = BatchExportEngine::writerCount(1, total);
    EXPECT_LE(result.written, writtenWhenHeld + 1 + BatchExportEngine::roomFor(1, writers));
    EXPECT_EQ(result.message(),
              QStringLiteral("Export stopped: %1 of %2 cards were written.").arg(result.written).arg(total));
}
