// Edits made in the inspector, on the card page and in the background strip, driven as a user
// would: each is one step that Ctrl+Z takes back alone, on the side it was made on; a new text takes
// the keyboard, so what is typed goes into its words.
#include "MainWindowFixture.h"
#include "support/IndicatorClick.h"
#include "support/KeyboardWalk.h"

#include "canvas/ui/CanvasDriver.h"
#include "canvas/ui/ImageBrowser.h"
#include "canvas/ui/ImageBrowserModel.h"
#include "editor/ui/BackgroundBrowser.h"
#include "editor/ui/MainMenus.h"
#include "foundation/ui/FloatSlider.h"
#include "foundation/ui/StepperField.h"
#include "model/SKTText.h"
#include "panels/ui/ImageTab.h"
#include "panels/ui/InspectorTabs.h"
#include "platform/UndoManager.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QStyleOptionSlider>

#include <functional>

class UndoSteps : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        ASSERT_TRUE(testsupport::showWithKeyboard(*window));
    }
    // A picture placed with the Picture tool, its file chosen in the panel.
    GraphicPtr addPhoto()
    {
        QImage photo(30, 20, QImage::Format_RGB32);
        photo.fill(Qt::darkGreen);
        EXPECT_TRUE(photo.save(tempPath(QStringLiteral("photo.png"))));
        files.answers.push_back(tempPath(QStringLiteral("photo.png")));
        return make(8);
    }
    QString undoTitle()
    {
        return window->menus().action(QStringLiteral("Edit/Undo"))->text().remove(QLatin1Char('&'));
    }
    // Keys go where the keyboard is, as a user's do.
    static void type(const QString &text) { QTest::keyClicks(QApplication::focusWidget(), text); }
    static void press(QKeyCombination keys)
    {
        QTest::keyClick(QApplication::focusWidget(), keys.key(), keys.keyboardModifiers());
        CanvasDriver::settle();
    }
    // Selects a field's text and types over it, then Return.
    static void retype(QWidget *field, const QString &text)
    {
        field->setFocus();
        if (auto *spin = qobject_cast<QAbstractSpinBox *>(field))
            spin->selectAll();
        else if (auto *line = qobject_cast<QLineEdit *>(field))
            line->selectAll();
        type(text);
        press(Qt::Key_Return);
    }
    GraphicPtr make(int tool)
    {
        clickTool(tool);
        CanvasDriver::settle();
        return window->Card_Front_Or_Back() == 0 ? front().first() : back().first();
    }
    QPlainTextEdit *words() { return window->findChild<QPlainTextEdit *>(QStringLiteral("Text_value_Edit")); }
    static void click(QAbstractButton *button)
    {
        QTest::mouseClick(button, Qt::LeftButton);
        CanvasDriver::settle();
    }
    BackgroundBrowser &strip() { return window->backgroundBrowser(); }
};

TEST_F(UndoSteps, ANewTextTakesTheKeyboardAndTypingReplacesItsPlaceholder)
{
    const struct {
        const char *way;
        std::function<GraphicPtr()> add;
        QString wordsBefore;
    } ways[] = {
        {"tool button", [&] { return make(2); }, QStringLiteral("Text here")},
        {"Tools menu",
         [&] {
             window->menus().action(QStringLiteral("Tools/Text"))->trigger();
             CanvasDriver::settle();
             return front().first();
         },
         QStringLiteral("Text here")},
        {"double-click",
         [&] {
             const GraphicPtr text = make(2);
             type(QStringLiteral("Old words"));
             canvas(0)->setFocus();
             canvas(0)->deselectAll();
             CanvasDriver(*canvas(0)).doubleClick(text->bounds().center());
             CanvasDriver::settle();
             return text;
         },
         QStringLiteral("Old words")},
    };
    for (const auto &w : ways) {
        SCOPED_TRACE(w.way);
        // The strip had the keyboard: its type-ahead must not get the typing.
        strip().imageBrowser->setFocus();
        const QString background = window->Front_card_Prop().Card_BG_Image_Path;
        const GraphicPtr text = w.add();
        EXPECT_EQ(QApplication::focusWidget(), words());
        EXPECT_EQ(words()->textCursor().selectedText(), w.wordsBefore);
        type(QStringLiteral("Hello"));
        EXPECT_EQ(text->textContentsForDrawing().text, QStringLiteral("Hello"));
        EXPECT_EQ(window->Front_card_Prop().Card_BG_Image_Path, background);
        EXPECT_EQ(undoTitle(), QStringLiteral("Undo Typing"));

        // Ctrl+Z in the words box takes the typing back as one step, and the text stays.
        const qsizetype objects = front().size();
        press(Qt::CTRL | Qt::Key_Z);
        EXPECT_EQ(text->textContentsForDrawing().text, w.wordsBefore);
        EXPECT_EQ(front().size(), objects);
        EXPECT_EQ(QApplication::focusWidget(), words()); // the reloaded page keeps the keyboard
        press(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
        EXPECT_EQ(text->textContentsForDrawing().text, QStringLiteral("Hello"));
    }
    saveArtifact(window.get(), QStringLiteral("main_window_typing_into_new_text.png"));
}

TEST_F(UndoSteps, EachEditIsUndoneAloneAndTheStepBeforeItStays)
{
    const auto placePhoto = [&] { addPhoto(); };
    const auto showPage = [&] {
        canvas(0)->deselectAll();
        window->Show_RHS_Properties(nullptr);
    };
    // What the issue saw undone instead: the double star, the text's words, the picture's place,
    // the last text.
    const struct {
        const char *step;
        std::function<void()> before;
        std::function<void()> edit;
    } edits[] = {
        {"Opacity",
         [&] {
             make(14);
             make(3);
         },
         [&] {
             window->inspectorTabs().selectItem(InspectorTabs::shape_tab);
             retype(window->findChild<StepperField *>(QStringLiteral("shape_alpha_Stepper")),
                    QStringLiteral("40"));
         }},
        {"Typing",
         [&] {
             make(2);
             type(QStringLiteral("First words"));
             canvas(0)->setFocus(); // leaving the box ends that typing
         },
         [&] {
             words()->setFocus();
             words()->selectAll();
             type(QStringLiteral("Second"));
         }},
        {"Card Size", placePhoto,
         [&] {
             showPage();
             retype(window->findChild<StepperField *>(QStringLiteral("width_Stepper")),
                    QStringLiteral("100"));
         }},
        {"Card Shape", placePhoto,
         [&] {
             showPage();
             QTest::mouseClick(window->findChild<QAbstractButton *>(QStringLiteral("matrix_card_shape_2")),
                               Qt::LeftButton);
         }},
        {"Background", [&] { make(2); },
         [&] {
             QTest::mouseClick(strip().imageBrowser->viewport(), Qt::LeftButton, {},
                               strip().imageBrowser->itemRect(0).center());
         }},
    };
    for (const auto &e : edits) {
        SCOPED_TRACE(e.step);
        e.before();
        CanvasDriver::settle();
        const QByteArray before = savedDesign();
        const GraphicList objects = front();
        e.edit();
        CanvasDriver::settle();
        EXPECT_EQ(undoTitle(), QStringLiteral("Undo ") + QString::fromLatin1(e.step));
        const QByteArray after = savedDesign();
        EXPECT_NE(after, before);
        press(Qt::CTRL | Qt::Key_Z);
        EXPECT_EQ(front(), objects);
        EXPECT_EQ(savedDesign(), before);
        press(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
        EXPECT_EQ(savedDesign(), after);
    }
}

TEST_F(UndoSteps, UndoShowsTheSideAPageStepWasMadeOn)
{
    click(window->findChild<QPushButton *>(QStringLiteral("Back_Card_Btn")));
    window->inspectorTabs().selectItem(InspectorTabs::card_brdr_tab);
    testsupport::clickIndicator(window->findChild<QCheckBox *>(QStringLiteral("Card_border_chk")));
    CanvasDriver::settle();
    const bool border = window->Back_card_Prop().Card_border_chk;
    click(window->findChild<QPushButton *>(QStringLiteral("Front_Card_Btn")));

    press(Qt::CTRL | Qt::Key_Z);
    EXPECT_EQ(window->sideViews().shownIndex(), int(SKTDocument::Back));
    EXPECT_EQ(window->Back_card_Prop().Card_border_chk, !border);
    EXPECT_EQ(window->findChild<QCheckBox *>(QStringLiteral("Card_border_chk"))->isChecked(), !border);
}

TEST_F(UndoSteps, OneDragOfASliderIsOneStepAndEachTypedValueAnother)
{
    const GraphicPtr picture = addPhoto();
    window->inspectorTabs().selectItem(InspectorTabs::image_tab);
    QSlider *slider = window->findChild<FloatSlider *>(QStringLiteral("Trsp_slidr"))->slider();
    const auto drag = [&](int steps) {
        QStyleOptionSlider option;
        option.initFrom(slider);
        option.orientation = slider->orientation();
        option.minimum = slider->minimum();
        option.maximum = slider->maximum();
        option.sliderPosition = slider->sliderPosition();
        option.sliderValue = slider->value();
        const QPoint handle =
            slider->style()
                ->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider)
                .center();
        QTest::mousePress(slider, Qt::LeftButton, {}, handle);
        for (int i = 1; i <= steps; ++i)
            QTest::mouseMove(slider, handle - QPoint(8 * i, 0));
        QTest::mouseRelease(slider, Qt::LeftButton, {}, handle - QPoint(8 * steps, 0));
        CanvasDriver::settle();
    };
    UndoManager &undo = window->document().undoManager();
    const int steps = undo.undoCount();
    drag(4);
    const float dragged = picture->img_trnsp_val;
    ASSERT_LT(dragged, 100.0f);
    EXPECT_EQ(undo.undoCount(), steps + 1);
    EXPECT_EQ(undoTitle(), QStringLiteral("Undo Transparency"));
    drag(3); // a second drag is a step of its own
    EXPECT_EQ(undo.undoCount(), steps + 2);
    press(Qt::CTRL | Qt::Key_Z);
    EXPECT_EQ(picture->img_trnsp_val, dragged);
    press(Qt::CTRL | Qt::Key_Z);
    EXPECT_EQ(picture->img_trnsp_val, 100.0f);
    EXPECT_EQ(front().size(), 1);

    // Each value typed and committed in a field, though it keeps the keyboard, is a step of its own.
    auto *border = window->findChild<StepperField *>(QStringLiteral("Image_bor_Stepper"));
    window->inspectorTabs().selectItem(InspectorTabs::image_tab);
    retype(border, QStringLiteral("4"));
    retype(border, QStringLiteral("6"));
    EXPECT_EQ(picture->_strokeWidth, 6.0);
    press(Qt::CTRL | Qt::Key_Z);
    EXPECT_EQ(picture->_strokeWidth, 4.0);
}

TEST_F(UndoSteps, NaturalSizeFitsTheTextAsDrawnInItsCaseAndSpacing)
{
    const GraphicPtr text = make(2);
    type(QStringLiteral("11 guests"));
    window->inspectorTabs().selectItem(InspectorTabs::text_prop_tab);
    auto *letterCase = window->findChild<QComboBox *>(QStringLiteral("Text_case_combo"));
    letterCase->setCurrentIndex(1); // upper case, as a pick in the list
    emit letterCase->activated(1);
    retype(window->findChild<StepperField *>(QStringLiteral("Text_Kern_Stepper")), QStringLiteral("4"));
    window->inspectorTabs().selectItem(InspectorTabs::aligmnt_tab);
    click(window->findChild<QPushButton *>(QStringLiteral("Make_Natural_btn")));
    const auto &t = static_cast<const SKTText &>(*text);
    EXPECT_EQ(t.cutOf(QStringLiteral("11 guests")), SKTText::Cut::None);
    // One line, as tall as a lone word in its font, however narrow its frame was.
    EXPECT_EQ(t.drawnTextHeight(), SKTText::heightAsDrawn(QStringLiteral("11"), t.drawnFont(), 1000));
    EXPECT_EQ(t.bounds().size(), t.naturalSize()); // measured again in the new frame: the same
    EXPECT_EQ(undoTitle(), QStringLiteral("Undo Make Natural Size"));
    saveArtifact(canvas(0), QStringLiteral("text-natural-size-upper-case.png"));
}
