// The main window as it starts, its tools and its sides, driven through its buttons.
#include "MainWindowFixture.h"

#include "canvas/ui/SKTZoomingScrollView.h"
#include "canvas/ui/ZoomFactor.h"
#include "editor/ui/EditButtons.h"
#include "editor/ui/MainMenus.h"
#include "foundation/FolderListing.h"
#include "foundation/FoundationState.h"
#include "foundation/ui/DeferredIconStyle.h"
#include "foundation/ui/DesignerApplication.h"
#include "panels/ui/InspectorTabs.h"
#include "support/DesignSetup.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QIcon>
#include <QImageReader>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QStyleOption>
#include <QTabWidget>
#include <QWheelEvent>

class MainWindowStart : public MainWindowFixture
{
};

// The fixture's data root, without its window.
class MainWindowStartPlugins : public testsupport::WindowFixture
{
};

TEST_F(MainWindowStart, StartsOnTheDefaultCardWithTheCardTabs)
{
    EXPECT_EQ(window->frameGeometry().topLeft(), QPoint(100, 0));
    EXPECT_EQ(window->size(), QSize(1000, 800));
    EXPECT_EQ(window->palette().color(QPalette::Window), QColor(241, 244, 250));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Untitled[*] \u2014 Tessaly Greeting Designer"));
    EXPECT_FALSE(window->isWindowModified());
    EXPECT_DOUBLE_EQ(window->zoomFactor().factor(), 1.0);
    EXPECT_EQ(window->tools().Selected_Control_Tool(), 0);
    for (int side = 0; side < 3; ++side)
        EXPECT_EQ(canvas(side)->cardSize(), QSizeF(243, 154));
    EXPECT_EQ(window->inspectorTabs().shownItems(),
              (QList<InspectorTabs::Item>{InspectorTabs::card_setting_tab, InspectorTabs::card_bkgd_tab,
                                          InspectorTabs::card_brdr_tab}));
    ASSERT_EQ(window->findChild<QComboBox *>(QStringLiteral("Text_Date_style"))->count(), 9);
    EXPECT_EQ(window->findChild<QComboBox *>(QStringLiteral("Text_Date_style"))->itemText(0),
              QStringLiteral("M-d-yyyy"));
    EXPECT_EQ(window->findChild<QComboBox *>(QStringLiteral("Text_Date_style"))->itemText(8),
              QStringLiteral("d-M-yy"));
    ASSERT_EQ(window->findChild<QComboBox *>(QStringLiteral("Text_Time_style"))->count(), 4);
    EXPECT_EQ(window->findChild<QComboBox *>(QStringLiteral("Text_Time_style"))->itemText(0),
              QStringLiteral("h:mm:ss a"));
    EXPECT_EQ(window->findChild<QComboBox *>(QStringLiteral("Text_Time_style"))->itemText(3),
              QStringLiteral("HH:mm:ss"));
    const QStringList patterns = Get_Files_Array_At_Path(Resource_Path + QStringLiteral("Fill_Style_Image"));
    ASSERT_FALSE(patterns.isEmpty());
    EXPECT_EQ(window->findChild<QComboBox *>(QStringLiteral("Card_hatch_style"))->count(), patterns.size());
    EXPECT_EQ(window->findChild<QComboBox *>(QStringLiteral("shape_hatch_style"))->itemText(0),
              patterns.at(0));
    EXPECT_EQ(Start_Card_Option, QStringLiteral("T"));
    EXPECT_TRUE(exitStatuses.isEmpty());
    EXPECT_TRUE(shown().isEmpty());
    saveArtifact(window.get(), QStringLiteral("main_window_start.png"));
}

TEST_F(MainWindowStart, ToolsCreateAtTheNextPlaceAndFallBackToTheArrow)
{
    clickTool(3);
    clickTool(3);
    ASSERT_EQ(front().size(), 2);
    // The newest is frontmost; each steps 20 points from the last place, and on from there to the
    // nearest place where nothing is drawn.
    EXPECT_EQ(front()[1]->bounds(), QRectF(30, 30, 50, 50));
    EXPECT_EQ(front()[0]->bounds(), QRectF(82, 50, 50, 50));
    EXPECT_EQ(window->tools().Selected_Control_Tool(), 0);
    EXPECT_EQ(canvas(0)->selectedGraphic(), front()[0]);

    clickTool(10);
    // A barcode's frame is its own picture's size.
    ASSERT_TRUE(front()[0]->_barcode_image);
    EXPECT_EQ(front()[0]->bounds().size(), front()[0]->_barcode_image->size());
    clickTool(11);
    EXPECT_EQ(front()[0]->bounds().size(), QSizeF(100, 50));
    clickTool(0);
    // The fingerprint tool places a fingerprint: a signature object of kind "F" with the shipped
    // fingerprint picture.
    clickTool(12);
    ASSERT_EQ(front().size(), 5);
    EXPECT_EQ(front()[0]->kind(), SKTGraphic::Kind::Signature);
    EXPECT_EQ(front()[0]->Sign_Or_FP_Val(), QStringLiteral("F"));
    EXPECT_TRUE(front()[0]->FilePath().endsWith(QStringLiteral("/fingerprints.png")));
    EXPECT_FALSE(front()[0]->bounds().isEmpty());
    EXPECT_EQ(window->tools().Selected_Control_Tool(), 0);

    // The next place wraps to 10 where an object would reach the card's far edge.
    last_ctrl_X = 90;
    last_ctrl_Y = 90;
    EXPECT_EQ(window->Control_New_Point(QStringLiteral("F")), QPointF(110, 10));
    last_ctrl_X = 10;
    last_ctrl_Y = 10;
    EXPECT_EQ(window->Control_New_Point(QStringLiteral("B")), QPointF(30, 30));
    saveArtifact(window.get(), QStringLiteral("main_window_tools.png"));

    // A double-click on a tool is one more object, not two: press, release, press with the
    // double-click notice, release, as the window system sends it.
    const qsizetype made = front().size();
    QAbstractButton *rectangle = window->tools().button(3);
    QTest::mouseClick(rectangle, Qt::LeftButton);
    QTest::mousePress(rectangle, Qt::LeftButton);
    QTest::mouseDClick(rectangle, Qt::LeftButton);
    QTest::mouseRelease(rectangle, Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(front().size(), made + 1);
    EXPECT_FALSE(rectangle->isDown());
    clickTool(3); // the next click makes the next
    EXPECT_EQ(front().size(), made + 2);
}

TEST_F(MainWindowStart, SidesShowOneViewAndThePreviewHoldsTheLiveObjects)
{
    QLabel *label = window->sideViews().Front_back_label;
    EXPECT_EQ(label->text(), QStringLiteral("Front"));
    window->findChild<QPushButton *>(QStringLiteral("Back_Card_Btn"))->click();
    EXPECT_EQ(label->text(), QStringLiteral("Back"));
    clickTool(3);
    clickTool(4);
    ASSERT_EQ(back().size(), 2);
    EXPECT_TRUE(front().isEmpty());

    window->findChild<QPushButton *>(QStringLiteral("Temp_Card_Btn"))->click();
    window->findChild<QPushButton *>(QStringLiteral("Temp_Card_Btn"))->click();
    EXPECT_EQ(label->text(), QStringLiteral("Preview of the Back"));
    const GraphicList &preview = window->document().graphics_temp();
    ASSERT_EQ(preview.size(), 2);
    EXPECT_EQ(preview[0].get(), back()[0].get()); // the same objects, once each
    EXPECT_EQ(preview[1].get(), back()[1].get());
    EXPECT_EQ(window->sideViews().myTargetView->findChildren<SKTGraphicView *>().size(), 1);

    // The preview edits nothing: its tools and Delete are off.
    clickTool(3);
    EXPECT_EQ(back().size(), 2);
    canvas(1)->changeSelectionIndexes({0});
    window->editButtons().Delete_btn->click();
    EXPECT_EQ(back().size(), 2);
    EXPECT_TRUE(front().isEmpty());

    window->changeViewController(3);
    window->changeViewController(-1);
    EXPECT_EQ(window->sideViews().shownIndex(), 2);
    window->findChild<QPushButton *>(QStringLiteral("Front_Card_Btn"))->click();
    EXPECT_EQ(label->text(), QStringLiteral("Front"));
    EXPECT_EQ(window->Card_Front_Or_Back(), 0);
}

TEST_F(MainWindowStart, CardSizeChangesReachEverySideAndRedraw)
{
    QCoreApplication::processEvents();
    const int paints = canvas(0)->paintCount();
    // The design's size, on both pages, and the canvases show it from its notice.
    testsupport::setCardSize(window->document(), QSizeF(300, 200));
    QCoreApplication::processEvents();
    EXPECT_GT(canvas(0)->paintCount(), paints);
    for (int side = 0; side < 3; ++side)
        EXPECT_EQ(canvas(side)->cardSize(), QSizeF(300, 200));
    EXPECT_EQ(window->frontCanvasBounds(), QRectF(0, 0, 300, 200));
    EXPECT_EQ(window->document().design().cardSize(), QSizeF(300, 200));
}

TEST_F(MainWindowStart, ADesignOpenedOrMadeNewShowsWholeAndTheZoomKeysStepThroughTheTable)
{
    ZoomFactor &zoom = window->zoomFactor();
    SKTZoomingScrollView *scroll = window->sideViews().scrollView(0);
    const auto wholeInSight = [&] {
        const QRect card(canvas(0)->mapTo(scroll->viewport(), QPoint(0, 0)), canvas(0)->size());
        return scroll->viewport()->rect().contains(card);
    };
    const auto key = [&](QKeySequence keys) {
        QTest::keySequence(window.get(), keys);
        QCoreApplication::processEvents();
    };
    const auto zoomIn = [&](Qt::Key k) { key(QKeySequence(Qt::CTRL | k)); };

    // The usual keys step through the table; Ctrl+0 shows the whole card.
    zoomIn(Qt::Key_Equal);
    EXPECT_DOUBLE_EQ(zoom.factor(), 1.25);
    key(QKeySequence::ZoomIn);
    EXPECT_DOUBLE_EQ(zoom.factor(), 1.5);
    zoomIn(Qt::Key_Minus);
    zoomIn(Qt::Key_Minus);
    zoomIn(Qt::Key_Minus);
    EXPECT_DOUBLE_EQ(zoom.factor(), 0.75);
    zoomIn(Qt::Key_0);
    EXPECT_DOUBLE_EQ(zoom.factor(), 1.0);
    // The wheel with Ctrl held over the card: one step a notch, either way.
    for (const auto &[delta, factor] : {std::pair{120, 1.25}, std::pair{240, 2.0}, std::pair{-120, 1.5}}) {
        const QPointF at(10, 10);
        QWheelEvent wheel(at, canvas(0)->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(canvas(0), &wheel);
        EXPECT_DOUBLE_EQ(zoom.factor(), factor) << delta;
    }

    // New after a zoom into a corner: the card at 100 %, whole.
    window->menus().action(QStringLiteral("Zoom/1600%"))->trigger();
    scroll->horizontalScrollBar()->setValue(scroll->horizontalScrollBar()->maximum());
    ASSERT_FALSE(wholeInSight());
    QTest::keyClick(window.get(), Qt::Key_N, Qt::ControlModifier);
    QCoreApplication::processEvents();
    EXPECT_DOUBLE_EQ(zoom.factor(), 1.0);
    EXPECT_TRUE(wholeInSight());

    // A card larger than the window opens at the largest step that shows it whole.
    const QSizeF large(900, 700);
    testsupport::setCardSize(window->document(), large);
    const QString path = saveAs(QStringLiteral("large.dcard"));
    window->menus().action(QStringLiteral("Zoom/1600%"))->trigger();
    files.answers.push_back(path);
    QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier);
    QCoreApplication::processEvents();
    ASSERT_EQ(canvas(0)->cardSize(), large);
    EXPECT_LT(zoom.factor(), 1.0);
    EXPECT_TRUE(wholeInSight());
    zoom.zoomIn();
    QCoreApplication::processEvents();
    EXPECT_FALSE(wholeInSight()); // no larger step would do
    saveArtifact(window.get(), QStringLiteral("main_window_large_card_one_step_in.png"));
}

// The standard icons of the application's style, made on first use, are the base style's own:
// the same pixmaps at each size, in both layout directions.
TEST(DeferredIcons, AnswerAsTheBaseStyleDoes)
{
    DeferredIconStyle style;
    QStyle *base = style.baseStyle();
    const QStyle::StandardPixmap icons[] = {QStyle::SP_ToolBarHorizontalExtensionButton,
                                            QStyle::SP_ToolBarVerticalExtensionButton,
                                            QStyle::SP_MessageBoxWarning,
                                            QStyle::SP_DialogOkButton,
                                            QStyle::SP_TitleBarCloseButton,
                                            QStyle::SP_ArrowBack,
                                            QStyle::SP_FileDialogNewFolder,
                                            QStyle::SP_LineEditClearButton};
    for (const Qt::LayoutDirection direction : {Qt::LeftToRight, Qt::RightToLeft}) {
        QStyleOption option;
        option.direction = direction;
        for (const QStyle::StandardPixmap which : icons) {
            SCOPED_TRACE(testing::Message() << "icon " << int(which) << " direction " << int(direction));
            const QIcon mine = style.standardIcon(which, &option);
            const QIcon theirs = base->standardIcon(which, &option);
            EXPECT_EQ(mine.isNull(), theirs.isNull());
            EXPECT_EQ(mine.availableSizes(), theirs.availableSizes());
            for (const int side : {8, 16, 24, 32, 64}) {
                for (const QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled}) {
                    EXPECT_EQ(mine.actualSize(QSize(side, side), mode),
                              theirs.actualSize(QSize(side, side), mode));
                    EXPECT_EQ(mine.pixmap(side, mode).toImage(), theirs.pixmap(side, mode).toImage());
                    EXPECT_EQ(mine.pixmap(QSize(side, side), 2.0, mode).toImage(),
                              theirs.pixmap(QSize(side, side), 2.0, mode).toImage());
                }
            }
        }
    }
}

// Building the main window loads no image-format plugin (TIFF, WebP, MNG... and their libraries,
// a sixth of the start): they load when a picture first needs one. In a fresh process, where
// nothing else has loaded them yet.
TEST_F(MainWindowStartPlugins, BuildingTheWindowLoadsNoImageFormatPlugin)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto pluginsLoaded = [] {
        QFile maps(QStringLiteral("/proc/self/maps"));
        return !maps.open(QIODevice::ReadOnly) || maps.readAll().contains("/imageformats/");
    };
    EXPECT_EXIT(
        {
            if (pluginsLoaded())
                std::_Exit(2);
            DesignerApplication::prepare(*qApp); // as the program's application object is made
            ModelGlobals::instance().reset();
            EditorState::instance().reset();
            {
                SKTWindowController window;
                if (pluginsLoaded())
                    std::_Exit(3);
            }
            // The plugins are still there for the pictures that need them.
            if (QImage(QStringLiteral(TESSALY_SOURCE_RESOURCES "/Wizard_pattern.jpg")).isNull() ||
                !QImageReader::supportedImageFormats().contains("tiff"))
                std::_Exit(4);
            // Not exit(): the question is the start, and the leak checker's end-of-process report
            // would count what fontconfig keeps for the process's life.
            std::_Exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}
