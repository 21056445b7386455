// Every window that edits objects or the card costs nothing when it is left: opened over a design,
// every control changed, then Cancel, Escape or the close button, and the saved design is the same
// byte for byte with nothing new to undo.
#include "editor/ui/MainWindowFixture.h"

#include "data/SeriesFiles.h"
#include "editor/ui/Invitation_Wizard.h"
#include "editor/ui/MainMenus.h"
#include "editor/ui/StartWindows.h"
#include "foundation/DataRoot.h"
#include "foundation/ui/ColorWell.h"
#include "foundation/ui/FloatSlider.h"
#include "foundation/ui/StepperField.h"
#include "panels/ui/BarcodePanel.h"
#include "panels/ui/DataSourceTab.h"
#include "panels/ui/ImageSignPanel.h"
#include "panels/ui/Inspector.h"
#include "panels/ui/TextEditingTab.h"
#include "panels/ui/TextPanel.h"
#include "platform/UndoManager.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QTabWidget>

#include <functional>

namespace
{
// Changes each control the window shows now that was not changed before, as a user could, buttons
// aside (they open other windows or close this one): fields typed in, boxes ticked, lists moved
// on, steppers stepped, colours picked.
void changeShownControls(QDialog &dialog, QSet<QWidget *> &done)
{
    QList<QPointer<QWidget>> controls;
    for (QWidget *w : dialog.findChildren<QWidget *>())
        controls << w;
    for (const QPointer<QWidget> &w : controls) {
        // A control an earlier change removed, hid or turned off is out of the user's reach.
        if (!w || !w->isEnabled() || !w->isVisibleTo(&dialog) || done.contains(w))
            continue;
        done.insert(w);
        if (auto *stepper = qobject_cast<StepperField *>(w)) {
            QTest::keyClick(stepper, Qt::Key_Up);
        } else if (auto *well = qobject_cast<ColorWell *>(w)) {
            well->setColor(QColor(12, 140, 60));
            emit well->colorPicked(well->color());
        } else if (auto *slider = qobject_cast<FloatSlider *>(w)) {
            QTest::keyClick(slider, Qt::Key_PageUp);
        } else if (auto *edit = qobject_cast<QLineEdit *>(w)) {
            if (edit->isReadOnly() || qobject_cast<StepperField *>(edit->parentWidget()))
                continue;
            edit->setFocus();
            QTest::keyClicks(edit, QStringLiteral("Z7"));
            emit edit->editingFinished();
        } else if (auto *text = qobject_cast<QPlainTextEdit *>(w)) {
            if (!text->isReadOnly())
                QTest::keyClicks(text, QStringLiteral("Z7"));
        } else if (auto *box = qobject_cast<QCheckBox *>(w)) {
            box->click();
        } else if (auto *radio = qobject_cast<QRadioButton *>(w)) {
            if (!radio->isChecked())
                radio->click();
        } else if (auto *combo = qobject_cast<QComboBox *>(w)) {
            if (combo->count() == 0)
                continue;
            // A list of one (a single series) is chosen all the same.
            const int next = (combo->currentIndex() + 1) % combo->count();
            combo->setCurrentIndex(next);
            emit combo->activated(next);
        } else if (auto *view = qobject_cast<QAbstractItemView *>(w)) {
            QAbstractItemModel *model = view->model();
            if (!model || model->rowCount() == 0)
                continue;
            const QModelIndex item =
                model->index(std::min(1, model->rowCount() - 1), model->columnCount() - 1);
            view->setCurrentIndex(item);
            // A cell the user may correct in place is corrected.
            if (model->flags(item) & Qt::ItemIsEditable)
                model->setData(item, QStringLiteral("Z7"), Qt::EditRole);
        }
    }
}

// Every control of every page of the window, each changed once.
void changeEveryControl(QDialog &dialog)
{
    QSet<QWidget *> done;
    changeShownControls(dialog, done);
    for (QTabWidget *tabs : dialog.findChildren<QTabWidget *>())
        for (int page = 0; page < tabs->count(); ++page) {
            tabs->setCurrentIndex(page);
            changeShownControls(dialog, done);
        }
}

QPushButton *cancelButton(QDialog &dialog)
{
    // The start window's first page, which New opened, has Exit in its place.
    for (const char *name : {"Cancel", "Exit"})
        for (QPushButton *b : dialog.findChildren<QPushButton *>())
            if (b->text().remove(QLatin1Char('&')).trimmed() == QLatin1String(name) &&
                b->isVisibleTo(&dialog))
                return b;
    return nullptr;
}

enum class Leave { Cancel, Escape, CloseButton };

struct Window {
    const char *name;
    bool hasCancel; // a window of one button, OK, is left by Escape or the close button only
    // Makes the design the window opens over (objects the window needs, selected).
    std::function<void(SKTWindowController &)> arrange;
    // Opens the window the way the user does.
    std::function<void(SKTWindowController &)> open;
    // Changes what the user can change in it.
    std::function<void(QDialog &)> change = changeEveryControl;
    // How often the way out is taken to leave it: a wizard's step goes back to its first page first.
    int waysOut = 1;
};
} // namespace

class WindowCancel : public MainWindowFixture, public ::testing::WithParamInterface<std::tuple<int, Leave>>
{
public:
    static const std::vector<Window> &windows();

protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        // A series the data-source lists can bind to.
        ASSERT_TRUE(SeriesFiles::writeSeries(Data_Folder_Path, QStringLiteral("Numbers"),
                                             {QStringLiteral("1"), QStringLiteral("2")}, true)
                        .ok());
    }
};

namespace
{
// A new object made with the tool, selected as the tool leaves it.
void addWithTool(SKTWindowController &window, int tool)
{
    QTest::mouseClick(window.tools().button(tool), Qt::LeftButton);
    QCoreApplication::processEvents();
}

void nothing(SKTWindowController &) {}

// The real start window, with two backgrounds for its second step, over a design holding a text
// as saved (so New asks nothing first).
void startWindowOverText(SKTWindowController &w)
{
    fillStartWindows(w, w.registry());
    QDir().mkpath(Resource_Path + QStringLiteral("Background"));
    for (const char *name : {"a-sky.png", "b-sea.png"}) {
        QImage picture(16, 12, QImage::Format_RGB32);
        picture.fill(Qt::cyan);
        picture.save(Resource_Path + QStringLiteral("Background/") + QString::fromLatin1(name), "PNG");
    }
    addWithTool(w, 2);
    w.designFile().markClean();
}

void openStartWindow(SKTWindowController &w)
{
    w.menus().action(QStringLiteral("File/New"))->trigger();
}

// The start window's first step, the card size, its controls changed.
void changeCardSize(QDialog &dialog)
{
    auto &wizard = dynamic_cast<Invitation_Wizard &>(dialog);
    wizard.Using_Wizard_btn->click();
    EXPECT_EQ(wizard.step(), 1);
    changeEveryControl(dialog);
}

// Every step of the start window, each control changed on the way and Next to the step after, up
// to the last, which is not finished.
void changeEveryStep(QDialog &dialog)
{
    auto &wizard = dynamic_cast<Invitation_Wizard &>(dialog);
    wizard.Using_Wizard_btn->click();
    QSet<QWidget *> done;
    for (int step = 1; step <= 4; ++step) {
        EXPECT_EQ(wizard.step(), step);
        changeShownControls(dialog, done);
        // A background picked moves on by itself.
        if (step < 4 && wizard.step() == step)
            wizard.Next_btn->click();
    }
    EXPECT_EQ(wizard.step(), 4);
}

// A text bound to the second column of a workbook of two rows, selected.
void boundToColumn(SKTWindowController &w)
{
    testsupport::arrangeSettings(w.document(), [](DesignSettings &s) {
        s.binding.setColumnTitles({QStringLiteral("First"), QStringLiteral("Last")});
        QList<ExcelBindingTable::Row> rows;
        for (const char *last : {"Lovelace", "Hopper"})
            rows.append({{ExcelBindingTable::rowNumberKey(), QString::number(rows.size() + 1)},
                         {ExcelBindingTable::columnIdentifier(1), QStringLiteral("Ada")},
                         {ExcelBindingTable::columnIdentifier(2), QString::fromLatin1(last)}});
        s.binding.setListData(rows);
    });
    w.inspector().dataSource().offerExcel(true);
    addWithTool(w, 2);
    QComboBox *source = w.inspector().dataSource().Data_source_type;
    source->setCurrentIndex(source->findText(QStringLiteral("Excel")));
    emit source->activated(source->currentIndex());
    QCoreApplication::processEvents();
}
} // namespace

const std::vector<Window> &WindowCancel::windows()
{
    static const std::vector<Window> all{
        {"BarcodeProperties", true, [](SKTWindowController &w) { addWithTool(w, 10); },
         [](SKTWindowController &w) {
             QTest::mouseClick(w.inspector().barcodePanel().barcode_prop_btn, Qt::LeftButton);
         }},
        {"PersonalDetails", true, [](SKTWindowController &w) { addWithTool(w, 2); },
         [](SKTWindowController &w) {
             QTest::mouseClick(w.findChild<QPushButton *>(QStringLiteral("User_Profile_Btn")),
                               Qt::LeftButton);
         }},
        {"GreetingText", true, [](SKTWindowController &w) { addWithTool(w, 2); },
         [](SKTWindowController &w) { w.inspector().textPanel().editingTab().insert_template_btn->click(); }},
        {"PictureLibraryOfTheTool", true, nothing, [](SKTWindowController &w) { addWithTool(w, 9); }},
        {"BackgroundLibrary", true, nothing,
         [](SKTWindowController &w) {
             w.findChild<QPushButton *>(QStringLiteral("Card_Bckgrnd_Btn"))->click();
         }},
        {"GridOptions", true, nothing,
         [](SKTWindowController &w) {
             w.menus().action(QStringLiteral("Arrange/Grid Options..."))->trigger();
         }},
        {"NewFromTemplate", true, nothing,
         [](SKTWindowController &w) {
             w.menus().action(QStringLiteral("File/New from Template..."))->trigger();
         }},
        {"WorkbookRows", false, boundToColumn,
         [](SKTWindowController &w) { w.inspector().dataSource().view_series_btn->click(); }},
        {"CardSizeOfTheStartWindow", true, startWindowOverText, openStartWindow, changeCardSize, 2},
        {"StartWindow", true, startWindowOverText, openStartWindow, changeEveryStep, 2},
    };
    return all;
}

TEST_P(WindowCancel, LeavingTheWindowChangesNothingAndLeavesNothingToUndo)
{
    const Window &w = windows().at(size_t(std::get<0>(GetParam())));
    const Leave leave = std::get<1>(GetParam());
    if (leave == Leave::Cancel && !w.hasCancel)
        GTEST_SKIP() << "the window has no Cancel button";
    w.arrange(*window);
    QCoreApplication::processEvents(); // the arranging steps close
    UndoManager &undo = window->document().undoManager();
    const int steps = undo.undoCount();
    const QByteArray before = savedDesign();
    QStringList opened;
    modalScripts.push_back([&](QDialog &dialog) {
        opened << dialog.objectName() + QLatin1Char('/') + dialog.windowTitle();
        dialog.show();
        w.change(dialog);
        // Windows the changes opened (font or colour choosers, message boxes) are answered by the
        // fixture; the window itself is left as the case says.
        for (int way = 0; way < w.waysOut; ++way) {
            EXPECT_TRUE(dialog.isVisible()) << "left before the way out was taken " << w.waysOut << " times";
            switch (leave) {
            case Leave::Cancel: {
                QPushButton *cancel = cancelButton(dialog);
                EXPECT_NE(cancel, nullptr) << "no Cancel button";
                if (cancel)
                    cancel->click();
                break;
            }
            case Leave::Escape:
                QTest::keyClick(&dialog, Qt::Key_Escape);
                break;
            case Leave::CloseButton:
                dialog.close();
                break;
            }
        }
        EXPECT_FALSE(dialog.isVisible());
        return dialog.result();
    });
    messages.queueChoices({0, 0, 0, 0}); // any question on the way: its first answer
    w.open(*window);
    QCoreApplication::processEvents();
    ASSERT_FALSE(opened.isEmpty()) << "the window did not open";
    EXPECT_EQ(savedDesign(), before) << opened.join(QLatin1Char(',')).toStdString();
    EXPECT_EQ(undo.undoCount(), steps) << undo.undoActionName().toStdString();
}

namespace
{
std::string caseName(const ::testing::TestParamInfo<std::tuple<int, Leave>> &info)
{
    static const std::vector<std::string> how{"Cancel", "Escape", "CloseButton"};
    return std::string(WindowCancel::windows().at(size_t(std::get<0>(info.param))).name) + "_" +
           how.at(size_t(std::get<1>(info.param)));
}
} // namespace

INSTANTIATE_TEST_SUITE_P(EveryWindow, WindowCancel,
                         ::testing::Combine(::testing::Range(0, int(WindowCancel::windows().size())),
                                            ::testing::Values(Leave::Cancel, Leave::Escape,
                                                              Leave::CloseButton)),
                         caseName);
