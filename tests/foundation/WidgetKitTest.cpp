// The shared widget kit and seams driven as a user would: steppers, colour wells and sliders
// report the user's changes only; the bulk-load mark survives nesting and exceptions; the row
// list keeps bad edits out; the please-wait sheet lets a worker ask the user.
#include "foundation/DateFormats.h"
#include "foundation/FolderListing.h"
#include "foundation/MessageBoxes.h"
#include "foundation/RowListModel.h"
#include "foundation/ui/ColorWell.h"
#include "foundation/ui/FloatSlider.h"
#include "foundation/ui/PleaseWaitSheet.h"
#include "foundation/ui/PleaseWait_Modeless.h"
#include "foundation/ui/StepperField.h"
#include "support/TestSupport.h"
#include "support/WindowFixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <thread>

using testsupport::WindowFixture;

class WidgetKit : public WindowFixture
{
};

TEST_F(WidgetKit, StepperReportsArrowsAndCommittedTextButNotCode)
{
    StepperField field(0, 100, 1, 0);
    field.show();
    QSignalSpy spy(&field, &StepperField::userChanged);
    field.setValue(40); // code
    EXPECT_EQ(spy.count(), 0);
    QTest::keyClick(&field, Qt::Key_Up);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_DOUBLE_EQ(spy.at(0).at(0).toDouble(), 41);
    // Typing counts only once committed, and once.
    auto *edit = field.findChild<QLineEdit *>();
    ASSERT_NE(edit, nullptr);
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("75"));
    EXPECT_EQ(spy.count(), 1);
    QTest::keyClick(&field, Qt::Key_Return);
    ASSERT_EQ(spy.count(), 2);
    EXPECT_DOUBLE_EQ(field.value(), 75);
    emit field.editingFinished(); // focus leaving with nothing new
    EXPECT_EQ(spy.count(), 2);
}

TEST_F(WidgetKit, ColorWellTakesTheChosenColourAndIgnoresCancel)
{
    ColorWell well(Qt::black);
    QSignalSpy spy(&well, &ColorWell::colorPicked);
    choosers.nextColor = QColor(10, 20, 30, 128);
    QTest::mouseClick(&well, Qt::LeftButton);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(well.color(), QColor(10, 20, 30, 128));
    choosers.nextColor.reset();
    QTest::mouseClick(&well, Qt::LeftButton);
    EXPECT_EQ(spy.count(), 1);
    EXPECT_EQ(well.color(), QColor(10, 20, 30, 128));
    well.setColor(Qt::red);
    EXPECT_EQ(spy.count(), 1);
}

TEST_F(WidgetKit, FloatSliderKeepsRealUnitsAndReportsOnlyTheUser)
{
    FloatSlider slider(2.0, 50.0, 48, 0);
    QSignalSpy spy(&slider, &FloatSlider::userChanged);
    slider.setValue(9.0);
    EXPECT_EQ(spy.count(), 0);
    EXPECT_EQ(slider.valueLabel()->text(), QStringLiteral("9"));
    slider.slider()->setFocus();
    QTest::keyClick(slider.slider(), Qt::Key_Right);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_DOUBLE_EQ(slider.value(), 10.0);
    slider.setValue(500); // out of range is held to the range
    EXPECT_DOUBLE_EQ(slider.value(), 50.0);
}

TEST_F(WidgetKit, RowListTrimsSkipsBlanksAndRefusesEditsBeyondTheEnd)
{
    RowListModel list;
    list.Create_List(QStringLiteral("  CR80  "));
    list.Create_List(QStringLiteral("   "));
    list.Create_List(QString());
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(list.Get_Item_Text(0), QStringLiteral("CR80"));
    EXPECT_EQ(list.Get_Item_Text(-1), QString());
    EXPECT_EQ(list.Get_Item_Text(1), QString());
    EXPECT_FALSE(list.setObjectValue(QStringLiteral("x"), QStringLiteral("Extension"), 1));
    EXPECT_FALSE(list.setObjectValue(QStringLiteral("x"), QStringLiteral("Extension"), -1));
    EXPECT_EQ(list.count(), 1);
    EXPECT_TRUE(list.setData(list.index(0, 0), QStringLiteral("CR79")));
    EXPECT_EQ(list.Get_Item_Text(0), QStringLiteral("CR79"));

    RowListModel checked({RowListModel::StateColumn, QStringLiteral("Extension")});
    checked.setListData({{{QStringLiteral("Extension"), QStringLiteral("a")}}});
    EXPECT_TRUE(checked.flags(checked.index(0, 0)) & Qt::ItemIsUserCheckable);
    EXPECT_TRUE(checked.setData(checked.index(0, 0), Qt::Checked, Qt::CheckStateRole));
    EXPECT_TRUE(checked.isChecked(0));
}

TEST_F(WidgetKit, FolderListingIsSortedWithoutHiddenFilesOrFolders)
{
    const QString folder = tempPath(QStringLiteral("list"));
    QDir().mkpath(folder + QStringLiteral("/sub.d"));
    for (const char *name : {"b.txt", "a.b.txt", ".hidden.txt", "C.png", "item10.txt", "item9.txt"})
        testsupport::writeFile(folder + QLatin1Char('/') + QLatin1String(name), "x");
    EXPECT_EQ(Get_Files_Array_At_Path(folder), (QStringList{"a.b", "b", "C", "item9", "item10"}));
    EXPECT_TRUE(Get_Files_Array_At_Path(folder + QStringLiteral("/missing")).isEmpty());
    EXPECT_TRUE(Get_Files_Array_At_Path(folder + QStringLiteral("/b.txt")).isEmpty());
}

TEST_F(WidgetKit, DateAndTimePatternsFormatTheFixedClock)
{
    EXPECT_EQ(DateFormats::dateFormats().size(), 9);
    EXPECT_EQ(DateFormats::dateFormats().constFirst(), QStringLiteral("M-d-yyyy"));
    EXPECT_EQ(DateFormats::dateFormats().constLast(), QStringLiteral("d-M-yy"));
    EXPECT_EQ(DateFormats::timeFormats(), (QStringList{"h:mm:ss a", "hh:mm:ss a", "H:mm:ss", "HH:mm:ss"}));
    EXPECT_EQ(DateFormats::Get_date_Value(QStringLiteral("M-d-yyyy")), QStringLiteral("3-7-2024"));
    EXPECT_EQ(DateFormats::Get_date_Value(QStringLiteral("dd-MMM-yy")), QStringLiteral("07-Mar-24"));
    EXPECT_EQ(DateFormats::Get_time_Value(QStringLiteral("h:mm:ss a")), QStringLiteral("2:05:09 PM"));
    EXPECT_EQ(DateFormats::Get_time_Value(QStringLiteral("HH:mm:ss")), QStringLiteral("14:05:09"));
    EXPECT_EQ(DateFormats::Get_date_Value(QStringLiteral("EEEE")), QStringLiteral("Thursday"));
    EXPECT_EQ(DateFormats::toQt(QStringLiteral("'at' h a")), QStringLiteral("'at' h AP"));
}

TEST_F(WidgetKit, PleaseWaitCoversWorkThatAsksTheUser)
{
    QWidget owner;
    owner.show();
    messages.queueAnswers({true});
    bool sheetShown = false;
    const int answer = runWithPleaseWait(&owner, [&] {
        sheetShown = PleaseWaitSheet::current() != nullptr;
        // A question from the worker is answered while the GUI thread waits in its loop.
        return Show_YES_NO_MessageBox(QStringLiteral("Continue?")) ? 7 : 3;
    });
    EXPECT_EQ(answer, 7);
    EXPECT_TRUE(sheetShown);
    EXPECT_EQ(messages.questions(), QStringList{QStringLiteral("Continue?")});
    QCoreApplication::processEvents();
    EXPECT_EQ(PleaseWaitSheet::current(), nullptr);
    {
        PleaseWaitSheet sheet(&owner);
        ASSERT_NE(sheet.window(), nullptr);
        EXPECT_EQ(sheet.window()->modeless_msg_lbl->text(),
                  QStringLiteral("It may take a while, Please wait.."));
        EXPECT_TRUE(sheet.window()->isVisible());
        saveArtifact(sheet.window(), QStringLiteral("please_wait.png"));
    }
}

// While long work runs, clicks, keys and the close button reach no window (they would act on what
// the work replaces); the sheet comes only once the work has run past its time; input returns after.
TEST_F(WidgetKit, PleaseWaitLateHoldsTheUsersInputMeanwhile)
{
    QWidget owner;
    auto *button = new QPushButton(QStringLiteral("Add"), &owner);
    owner.show();
    int clicks = 0;
    QObject::connect(button, &QPushButton::clicked, [&] { ++clicks; });
    for (const auto &[lateMs, sheetExpected] : {std::pair{0, true}, std::pair{600000, false}}) {
        std::atomic<bool> tried{false};
        bool sheetSeen = false;
        QTimer user;
        user.setInterval(1);
        QObject::connect(&user, &QTimer::timeout, [&] {
            if (sheetExpected && !PleaseWaitSheet::current())
                return;
            user.stop();
            sheetSeen = PleaseWaitSheet::current() != nullptr;
            QTest::mouseClick(button, Qt::LeftButton);
            QTest::keyClick(button, Qt::Key_Space);
            owner.close();
            tried = true;
        });
        user.start();
        runHoldingInput(
            &owner,
            [&] {
                while (!tried)
                    std::this_thread::yield();
            },
            lateMs);
        EXPECT_EQ(sheetSeen, sheetExpected) << lateMs;
        EXPECT_EQ(clicks, 0) << lateMs;
        EXPECT_TRUE(owner.isVisible()) << lateMs;
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(PleaseWaitSheet::current(), nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
}
