// The edit commands: locked refusals, order, alignment against the frontmost object and the card,
// sizes, the clipboard with its three types and paste places, double-clicks, keys and menus.
#include "CanvasFixture.h"

#include "model/GraphicPasteboard.h"

#include <QComboBox>
#include <QCursor>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>

using CanvasCommands = CanvasFixture;

TEST_P(CanvasCommands, LockedSelectionRefusesDeleteCutCopyFrontAndBackChangingNothing)
{
    addShape(QRectF(10, 10, 20, 20));
    addShape(QRectF(40, 10, 20, 20), true);
    addShape(QRectF(70, 10, 20, 20));
    const GraphicList before = document.graphics();
    select({1, 2});
    QApplication::clipboard()->setText(QStringLiteral("keep me"));
    view->delete_();
    view->cut();
    view->copy();
    view->bringToFront();
    view->sendToBack();
    EXPECT_EQ(messages.messages().size(), 5);
    for (const QString &m : messages.messages())
        EXPECT_TRUE(m.contains(QStringLiteral("Selected control is locked.")));
    EXPECT_EQ(document.graphics(), before);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("keep me"));
    EXPECT_TRUE(view->There_Is_Any_Lock_Contrl());
}

TEST_P(CanvasCommands, FrontAndBackMoveTheSelectionInOrderAndSelectIt)
{
    GraphicList objects;
    for (int i = 0; i < 6; ++i)
        objects.append(addShape(QRectF(10 + 30 * i, 10, 20, 20)));
    select({2, 4});
    view->bringToFront();
    EXPECT_EQ(document.graphics().mid(0, 2), (GraphicList{objects[2], objects[4]}));
    EXPECT_EQ(selected(), (QList<int>{0, 1}));
    view->sendToBack();
    EXPECT_EQ(document.graphics().mid(4, 2), (GraphicList{objects[2], objects[4]}));
    EXPECT_EQ(selected(), (QList<int>{4, 5}));
    EXPECT_EQ(document.graphics().mid(0, 4), (GraphicList{objects[0], objects[1], objects[3], objects[5]}));
}

TEST_P(CanvasCommands, AlignLeftFollowsTheFrontmostAndLeavesLockedOnes)
{
    addShape(QRectF(40, 10, 20, 20));
    const GraphicPtr b = addShape(QRectF(90, 40, 30, 20));
    const GraphicPtr locked = addShape(QRectF(130, 70, 20, 20), true);
    select({0, 1, 2});
    view->alignLeftEdges();
    EXPECT_EQ(b->bounds(), QRectF(40, 40, 30, 20));
    EXPECT_EQ(locked->bounds().x(), 130);
    view->alignRightEdges();
    EXPECT_EQ(b->bounds().x(), 30); // right edges at 60
    view->alignHorizontalCenters();
    EXPECT_EQ(b->bounds().x(), 35);
    view->alignTopEdges();
    EXPECT_EQ(b->bounds().y(), 10);
}

TEST_P(CanvasCommands, OneSelectedObjectAlignsAgainstTheCardAtAnyZoom)
{
    const QSizeF card = view->cardSize();
    ASSERT_EQ(card, QSizeF(243, 154));
    const GraphicPtr g = addShape(QRectF(50, 50, 40, 30));
    select({0});
    view->alignLeftEdges();
    EXPECT_EQ(g->bounds().x(), 0);
    view->alignBottomEdges();
    EXPECT_EQ(g->bounds().y(), card.height() - 30);
    view->alignRightEdges();
    EXPECT_EQ(g->bounds().x(), card.width() - 40);
    view->alignVerticalCenters();
    EXPECT_EQ(g->bounds().y(), card.height() / 2 - 15);
    // A locked single object stays and the undo buttons are left alone.
    g->ctrl_is_locked = true;
    const int updates = host.undoButtonUpdates;
    view->alignLeftEdges();
    EXPECT_EQ(g->bounds().x(), card.width() - 40);
    EXPECT_EQ(host.undoButtonUpdates, updates);
}

TEST_P(CanvasCommands, CentreGridPrintFlagAndSelectAllActOnUnlockedObjects)
{
    const GraphicPtr a = addShape(QRectF(10, 10, 40, 20));
    const GraphicPtr b = addShape(QRectF(100, 60, 20, 30));
    const GraphicPtr locked = addShape(QRectF(3, 4, 10, 10), true);
    view->selectAll();
    EXPECT_EQ(selected(), (QList<int>{0, 1, 2}));
    view->alignformCenter();
    EXPECT_EQ(a->bounds().topLeft(), QPointF(243 / 2.0 - 20, 154 / 2.0 - 10));
    EXPECT_EQ(b->bounds().topLeft(), QPointF(243 / 2.0 - 10, 154 / 2.0 - 15));
    EXPECT_EQ(locked->bounds().topLeft(), QPointF(3, 4));
    view->alignWithGrid(); // spacing 9
    EXPECT_EQ(a->bounds(), QRectF(99, 63, 45, 27));
    EXPECT_EQ(locked->bounds().topLeft(), QPointF(3, 4));
    view->print_contol_or_not(1);
    EXPECT_EQ(a->print_object, 1);
    EXPECT_EQ(locked->print_object, 0);
}

TEST_P(CanvasCommands, SameSizeNeedsTwoAndNaturalSizeResizesLockedToo)
{
    const GraphicPtr a = addShape(QRectF(10, 10, 40, 20));
    const GraphicPtr b = addShape(QRectF(60, 10, 30, 50), true);
    const GraphicPtr c = addShape(QRectF(100, 10, 10, 10));
    select({0});
    view->makeSameWidth();
    EXPECT_EQ(a->bounds(), QRectF(10, 10, 40, 20));
    select({0, 1, 2});
    EXPECT_EQ(host.sameSizeEnabled.last(), true);
    view->makeSameWidth();
    view->makeSameHeight();
    EXPECT_EQ(b->bounds(), QRectF(60, 10, 30, 50)); // locked
    EXPECT_EQ(c->bounds(), QRectF(100, 10, 40, 20));
    view->makeNaturalSize();
    EXPECT_EQ(b->bounds(), QRectF(60, 10, 30, 30));
    EXPECT_EQ(a->bounds(), QRectF(10, 10, 20, 20));
}

TEST_P(CanvasCommands, CopyOffersThreeTypesAndPastesAtTheNextNewObjectPoint)
{
    const GraphicPtr a = addShape(QRectF(100, 100, 30, 20));
    select({0});
    view->copy();
    const QStringList types = QApplication::clipboard()->mimeData()->formats();
    ASSERT_GE(types.size(), 3);
    EXPECT_EQ(types.mid(0, 3), (QStringList{GraphicPasteboard::MimeType, QStringLiteral("application/pdf"),
                                            QStringLiteral("image/tiff")}));
    EXPECT_EQ(host.pasteButtonUpdates, 1);
    view->paste();
    ASSERT_EQ(document.graphics().size(), 2);
    const GraphicPtr copy = document.graphics().first();
    EXPECT_NE(copy, a);
    EXPECT_EQ(copy->bounds(), QRectF(30, 30, 30, 20)); // the first new-object point
    EXPECT_EQ(selected(), QList<int>{0});
    view->paste();
    EXPECT_EQ(document.graphics().first()->bounds().topLeft(), QPointF(50, 50));
}

TEST_P(CanvasCommands, PastingAgainKeepsAWideObjectWholeOnTheCard)
{
    const QRectF card(QPointF(0, 0), view->cardSize());
    addShape(QRectF(20, 20, 200, 30));
    select({0});
    view->copy();
    for (int paste = 1; paste <= 8; ++paste) {
        view->paste();
        const QRectF frame = document.graphics().first()->bounds();
        EXPECT_EQ(frame.size(), QSizeF(200, 30)) << "paste " << paste;
        EXPECT_TRUE(card.contains(frame)) << "paste " << paste << " at " << frame.x() << ", " << frame.y();
    }
}

TEST_P(CanvasCommands, ObjectsCopiedTogetherPasteTogetherInTheirLayoutOnTheCard)
{
    const QRectF card(QPointF(0, 0), view->cardSize());
    QList<QRectF> elevenInARow;
    for (int i = 0; i < 11; ++i)
        elevenInARow.append(QRectF(8 + 21 * i, 100 + (i % 3) * 10, 16, 12));
    const struct {
        const char *what;
        QList<QRectF> copied;
        int pastes;
    } cases[] = {
        {"two texts 100 pt apart", {{20, 40, 60, 20}, {120, 40, 60, 20}}, 3},
        {"eleven objects across the card", elevenInARow, 4},
        {"a group wider than the card", {{0, 10, 200, 60}, {180, 50, 200, 90}}, 2},
        {"a line without height and a text", {{10, 20, 150, 0}, {40, 30, 100, 40}}, 6},
    };
    for (const auto &c : cases) {
        document.removeGraphicsAtIndexes([&] {
            QList<int> all;
            for (int i = 0; i < document.graphics().size(); ++i)
                all.append(i);
            return all;
        }());
        QList<int> indexes;
        for (const QRectF &frame : c.copied) {
            indexes.append(int(document.graphics().size()));
            add(SKTGraphic::Kind::Text, frame);
        }
        select(indexes);
        view->copy();
        QRectF copiedExtent;
        for (const QRectF &frame : c.copied)
            copiedExtent |= frame.adjusted(0, 0, 0.001, 0.001);
        for (int paste = 1; paste <= c.pastes; ++paste) {
            view->paste();
            CanvasDriver::settle();
            const auto n = c.copied.size();
            const GraphicList pasted = document.graphics().mid(0, n);
            ASSERT_EQ(selected().size(), n) << c.what;
            // One offset and one scale for the whole group, measured from the first two objects.
            const QRectF a = pasted.at(0)->bounds(), b = pasted.at(1)->bounds();
            const double scale = a.width() / c.copied.at(0).width();
            const QPointF shift = a.topLeft() - c.copied.at(0).topLeft() * scale;
            EXPECT_LE(scale, 1.0) << c.what;
            EXPECT_NEAR(b.x() - a.x(), (c.copied.at(1).x() - c.copied.at(0).x()) * scale, 1e-6) << c.what;
            for (qsizetype i = 0; i < n; ++i) {
                const QRectF frame = pasted.at(i)->bounds();
                const QRectF expected(c.copied.at(i).topLeft() * scale + shift,
                                      c.copied.at(i).size() * scale);
                EXPECT_NEAR(frame.x(), expected.x(), 1e-6) << c.what << " object " << i << " paste " << paste;
                EXPECT_NEAR(frame.y(), expected.y(), 1e-6) << c.what << " object " << i << " paste " << paste;
                EXPECT_NEAR(frame.width(), expected.width(), 1e-6) << c.what << " object " << i;
                EXPECT_NEAR(frame.height(), expected.height(), 1e-6) << c.what << " object " << i;
                EXPECT_TRUE(frame.left() >= 0 && frame.top() >= 0 && frame.right() <= card.right() + 1e-9 &&
                            frame.bottom() <= card.bottom() + 1e-9)
                    << c.what << " object " << i << " paste " << paste;
            }
            // Scaled down only when the group cannot lie on the card as it is.
            if (copiedExtent.width() <= card.width() && copiedExtent.height() <= card.height()) {
                EXPECT_EQ(scale, 1.0) << c.what;
            }
            // A paste is one undo step.
            if (paste == c.pastes) {
                undo().undo();
                EXPECT_EQ(document.graphics().size(), n * paste) << c.what;
            }
        }
    }
}

TEST_P(CanvasCommands, ForeignObjectsKeepTheirPlaceOnTheFirstPaste)
{
    const GraphicPtr outside = SKTGraphic::create(SKTGraphic::Kind::Shape);
    outside->_bounds = QRectF(77, 33, 20, 10);
    GraphicPasteboard::copyToClipboard(QApplication::clipboard(), {outside});
    view->paste();
    ASSERT_EQ(document.graphics().size(), 1);
    EXPECT_EQ(document.graphics().first()->bounds(), QRectF(77, 33, 20, 10));
    view->paste(); // the same contents again: next new-object point
    EXPECT_EQ(document.graphics().first()->bounds().topLeft(), QPointF(30, 30));
}

TEST_P(CanvasCommands, ExternalPictureLandsOnTheCardAndFileNamesDoNothing)
{
    auto *names = new QMimeData;
    names->setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/a.png"))});
    QApplication::clipboard()->setMimeData(names);
    view->paste();
    EXPECT_TRUE(document.graphics().isEmpty());
    // A pasted picture is kept in the data folder: a temporary one here.
    QTemporaryDir data;
    FoundationState::instance().setResourcePath(data.path() + QLatin1Char('/'));
    // The card (243 x 154) is in sight whole; the mouse is over it or beside it, on the desk.
    const QPoint onDesk = scroll->viewport()->mapToGlobal(QPoint(scroll->viewport()->width() - 5, 5));
    const struct {
        const char *what;
        QSize picture;
        std::optional<QPointF> mouse; // in card points; none: on the desk
        QRectF frame;
    } cases[] = {
        {"centred at the mouse", {20, 80}, QPointF(60, 50), {50, 10, 20, 80}},
        {"moved in from the corner", {20, 80}, QPointF(238, 150), {223, 74, 20, 80}},
        {"in the middle of the card", {20, 80}, std::nullopt, {111.5, 37, 20, 80}},
        {"scaled down to the card", {240, 160}, std::nullopt, {6, 0, 231, 154}},
        {"wider than a stored picture may be, in its proportions",
         {900, 300},
         std::nullopt,
         {0, 36.5, 243, 81}},
    };
    for (const auto &c : cases) {
        QImage picture(c.picture, QImage::Format_ARGB32);
        picture.fill(Qt::blue);
        QApplication::clipboard()->setImage(picture);
        QCursor::setPos(c.mouse ? view->mapToGlobal(drive().pixel(*c.mouse)) : onDesk);
        view->paste();
        ASSERT_FALSE(document.graphics().isEmpty()) << c.what;
        EXPECT_EQ(document.graphics().first()->kind(), SKTGraphic::Kind::Image) << c.what;
        EXPECT_EQ(document.graphics().first()->bounds(), c.frame) << c.what;
    }
    // Zoomed in so far that a corner of the card is in sight: the middle of that corner.
    zoom.setFactor(4.0);
    CanvasDriver::settle();
    QImage small(20, 80, QImage::Format_ARGB32);
    small.fill(Qt::blue);
    QApplication::clipboard()->setImage(small);
    QWidget *popUp = scroll->factorPopUpButton();
    QCursor::setPos(popUp->mapToGlobal(popUp->rect().center()));
    view->paste();
    const QRectF inSight(QPointF(0, 0), QSizeF(scroll->viewport()->size()) / 4.0);
    EXPECT_EQ(document.graphics().first()->bounds().center(), inSight.center());
    scroll->grab().save(
        QStringLiteral(TESSALY_ARTIFACTS_DIR "/canvas-pasted-picture-%1.png").arg(int(f() * 100)));
    // Damaged private data is reported, nothing inserted.
    const auto count = document.graphics().size();
    auto *damaged = new QMimeData;
    damaged->setData(GraphicPasteboard::MimeType, "not a property list");
    QApplication::clipboard()->setMimeData(damaged);
    view->paste();
    EXPECT_EQ(document.graphics().size(), count);
    EXPECT_EQ(host.errors.size(), 1);
}

TEST_P(CanvasCommands, DoubleClickOpensTheBarcodeWindowOnlyForUnlockedBarcodes)
{
    const GraphicPtr barcode = add(SKTGraphic::Kind::Barcode, QRectF(20, 20, 60, 30));
    const GraphicPtr locked = add(SKTGraphic::Kind::Barcode, QRectF(120, 20, 60, 30), true);
    drive().doubleClick(QPointF(40, 30));
    ASSERT_EQ(host.barcodeWindows.size(), 1);
    EXPECT_EQ(host.barcodeWindows.first(), barcode);
    drive().doubleClick(QPointF(140, 30));
    EXPECT_EQ(host.barcodeWindows.size(), 1);
    Q_UNUSED(locked);
}

TEST_P(CanvasCommands, BackspaceAndDeleteRemoveTheSelection)
{
    addShape(QRectF(10, 10, 20, 20));
    addShape(QRectF(40, 10, 20, 20));
    addShape(QRectF(70, 10, 20, 20));
    select({0});
    drive().key(Qt::Key_Backspace);
    EXPECT_EQ(document.graphics().size(), 2);
    select({1});
    drive().key(Qt::Key_Delete);
    EXPECT_EQ(document.graphics().size(), 1);
    EXPECT_EQ(host.cardPageShown(), 2);
}

TEST_P(CanvasCommands, MenusNeedTwoForAlignmentAndNameTheRulerCommand)
{
    addShape(QRectF(10, 10, 20, 20));
    addShape(QRectF(40, 10, 20, 20));
    select({0});
    EXPECT_FALSE(view->validateMenuItem(QStringLiteral("alignLeftEdges")));
    EXPECT_FALSE(view->validateMenuItem(QStringLiteral("makeSameHeight")));
    EXPECT_TRUE(view->validateMenuItem(QStringLiteral("copy")));
    select({0, 1});
    EXPECT_TRUE(view->validateMenuItem(QStringLiteral("alignLeftEdges")));
    EXPECT_TRUE(view->validateMenuItem(QStringLiteral("makeSameWidth")));
    QString title;
    EXPECT_TRUE(view->validateMenuItem(QStringLiteral("showOrHideRulers"), &title));
    EXPECT_EQ(title, QStringLiteral("Show Ruler"));
    view->showOrHideRulers();
    view->validateMenuItem(QStringLiteral("showOrHideRulers"), &title);
    EXPECT_EQ(title, QStringLiteral("Hide Ruler"));
    select({});
    EXPECT_FALSE(view->validateMenuItem(QStringLiteral("delete")));
}

INSTANTIATE_TEST_SUITE_P(Zoom, CanvasCommands, ::testing::Values(1.0, 2.0),
                         [](const ::testing::TestParamInfo<double> &info) {
                             return QStringLiteral("At%1").arg(int(info.param * 100)).toStdString();
                         });
