// New objects on the smallest card the program offers, made as a user makes them: every tool's and
// Tools menu item's object starts whole on the card, and a picture placed with the Picture tool,
// from the Image Library or by a drop keeps its proportions.
#include "MainWindowFixture.h"

#include "canvas/ui/CanvasDriver.h"
#include "canvas/ui/ImageBrowser.h"
#include "canvas/ui/Image_Library.h"
#include "editor/ui/MainMenus.h"
#include "platform/PictureReader.h"
#include "platform/UndoManager.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QTableView>

namespace
{
// 900 x 300 pixels: an ellipse three times as wide as high, which a squashed frame shows round.
void writeEllipse(const QString &path)
{
    QImage image(900, 300, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setBrush(QColor(30, 90, 200));
    p.drawEllipse(QRect(0, 0, 900, 300));
    p.end();
    QDir().mkpath(QFileInfo(path).path());
    ASSERT_TRUE(image.save(path));
}
} // namespace

class NewObjects : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        // The card page: upright, Paper Badge, its first (smallest) size.
        QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("Card_Prop_Btn")), Qt::LeftButton);
        choose(window->findChild<QComboBox *>(QStringLiteral("Preset_ComboBox")), 1);
        choose(window->findChild<QComboBox *>(QStringLiteral("Category_ComboBox")), 1);
        const QTableView *list = window->findChild<QTableView *>(QStringLiteral("ColList"));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(0, 0)).center());
        QCoreApplication::processEvents();
    }
    static void choose(QComboBox *combo, int index)
    {
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }
    QRectF card() { return canvas(0)->bounds(); }
    // The newest object lies whole on the card.
    void expectNewestOnCard(const QString &what)
    {
        ASSERT_FALSE(front().isEmpty()) << what.toStdString();
        const QRectF frame = front().first()->bounds();
        EXPECT_FALSE(frame.isEmpty()) << what.toStdString();
        EXPECT_TRUE(card().contains(frame)) << what.toStdString() << " at " << frame.x() << ", " << frame.y()
                                            << " " << frame.width() << " x " << frame.height();
    }
    // A barcode wider than the card cannot lie whole on it: its frame is the box it draws, from the
    // card's left edge, on the card from top to bottom.
    void expectNewestBarcodeFromTheLeftEdge(const QString &what)
    {
        ASSERT_FALSE(front().isEmpty()) << what.toStdString();
        const GraphicPtr barcode = front().first();
        ASSERT_TRUE(barcode->_barcode_image) << what.toStdString();
        const QRectF frame = barcode->bounds();
        EXPECT_EQ(frame.size(), barcode->_barcode_image->size()) << what.toStdString();
        EXPECT_EQ(frame.left(), 0.0) << what.toStdString();
        EXPECT_TRUE(frame.top() >= 0 && frame.bottom() <= card().bottom())
            << what.toStdString() << " at " << frame.y() << " " << frame.height();
    }
    void expectNewestIsTheEllipse(const QString &what)
    {
        expectNewestOnCard(what);
        const QRectF frame = front().first()->bounds();
        EXPECT_NEAR(frame.width() / frame.height(), 3.0, 0.01) << what.toStdString();
    }
    // Files dragged from a file manager and let go over the card at a point in card points.
    bool drop(const QString &path, const QPointF &at)
    {
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(path)});
        const QPointF pixel = at * canvas(0)->zoom();
        QDragEnterEvent enter(pixel.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, {});
        QCoreApplication::sendEvent(canvas(0), &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent dropped(pixel, Qt::CopyAction, &mime, Qt::LeftButton, {});
        QCoreApplication::sendEvent(canvas(0), &dropped);
        QCoreApplication::processEvents();
        return dropped.isAccepted();
    }
};

TEST_F(NewObjects, EveryToolAndToolsMenuItemStartsItsObjectWholeOnTheSmallestCard)
{
    ASSERT_LT(card().width(), 120.0); // narrower than a new barcode
    const QList<int> tools = {1, 2, 3, 4, 5, 6, 7, 10, 11, 12, 13, 14, 15};
    // Enough rounds for the new-object places to pass the card's edges and start again.
    for (int round = 0; round < 4; ++round) {
        for (int tool : tools) {
            clickTool(tool);
            if (tool == 10)
                expectNewestBarcodeFromTheLeftEdge(QStringLiteral("Barcode, round %1").arg(round));
            else
                expectNewestOnCard(
                    QStringLiteral("%1, round %2").arg(ToolController::toolTitle(tool)).arg(round));
        }
        window->menus().action(QStringLiteral("Tools/Barcode"))->trigger();
        QCoreApplication::processEvents();
        expectNewestBarcodeFromTheLeftEdge(QStringLiteral("Tools > Barcode, round %1").arg(round));
    }
    saveArtifact(window.get(), QStringLiteral("new_objects_smallest_card.png"));
}

TEST_F(NewObjects, APictureKeepsItsProportionsFromThePictureToolTheLibraryAndADrop)
{
    const QString ellipse = tempPath(QStringLiteral("ellipse.png"));
    writeEllipse(ellipse);
    clickTool(3);

    // The Picture tool, through the file panel.
    files.answers.push_back(ellipse);
    clickTool(8);
    expectNewestIsTheEllipse(QStringLiteral("Picture tool"));
    EXPECT_DOUBLE_EQ(front().first()->bounds().width(), card().width()); // wider than the card

    // The Image Library, its picture chosen and OK pressed.
    QDir(dataRoot() + QStringLiteral("LibraryImage")).removeRecursively();
    writeEllipse(dataRoot() + QStringLiteral("LibraryImage/shapes/ellipse.png"));
    modalScripts.push_back([](QDialog &dialog) {
        auto &library = static_cast<Image_Library &>(dialog);
        QTest::mouseClick(library.imageBrowser->viewport(), Qt::LeftButton, {},
                          library.imageBrowser->itemRect(0).center());
        library.ok_button->click();
        return library.result();
    });
    clickTool(9);
    expectNewestIsTheEllipse(QStringLiteral("Image Library"));

    // Dropped near the card's corner: centred there as far as the card allows, one undo step.
    const qsizetype before = front().size();
    ASSERT_TRUE(drop(ellipse, QPointF(card().width() - 5, card().height() - 5)));
    ASSERT_EQ(front().size(), before + 1);
    expectNewestIsTheEllipse(QStringLiteral("dropped"));
    EXPECT_DOUBLE_EQ(front().first()->bounds().bottom(), card().height());
    EXPECT_EQ(front().first()->FilePath(), ellipse);
    EXPECT_EQ(window->document().undoManager().undoActionName(), QStringLiteral("Drop Picture"));
    saveArtifact(window.get(), QStringLiteral("new_objects_pictures_in_proportion.png"));
    QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
    QCoreApplication::processEvents();
    EXPECT_EQ(front().size(), before);

    // A file that is not a picture is named with why, and nothing is added.
    const QString notes = tempPath(QStringLiteral("notes.txt"));
    QFile(notes).open(QIODevice::WriteOnly);
    EXPECT_FALSE(drop(notes, QPointF(20, 20)));
    EXPECT_EQ(front().size(), before);
    EXPECT_EQ(shown(), QStringList{PictureReader::userMessage(
                           notes, QStringLiteral("it is not a picture in a format this program reads"))});
}

TEST_F(NewObjects, NaturalSizeKeepsTheProportionsOfAPictureLargerThanTheCap)
{
    const QString ellipse = tempPath(QStringLiteral("ellipse.png"));
    writeEllipse(ellipse); // 900 points wide at 72 dpi, past the 724-point cap
    files.answers.push_back(ellipse);
    clickTool(8);
    const GraphicPtr picture = front().first();
    picture->setBounds(QRectF(4, 4, 40, 40));
    QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("Make_Natural_btn")), Qt::LeftButton);
    EXPECT_EQ(picture->bounds(), QRectF(4, 4, 724, 724.0 / 3));
}

using TurnedCard = MainWindowFixture;

TEST_F(TurnedCard, ObjectsTheTurnWouldLeaveOffTheCardAreMovedOnInTheSameUndoStep)
{
    // A new card lies level: the credit card size, wider than high.
    const QSizeF level = canvas(0)->bounds().size();
    ASSERT_GT(level.width(), level.height());
    const auto place = [this](int side, const QRectF &frame) {
        const GraphicPtr g = SKTGraphic::create(SKTGraphic::Kind::Shape);
        g->_bounds = frame;
        window->document().insertGraphicsIntoSide(side, {g}, {0});
        return g;
    };
    const GraphicPtr qr = place(SKTDocument::Front, QRectF(110, 20, 121, 121));
    const GraphicPtr corner = place(SKTDocument::Front, QRectF(10, 10, 40, 30));
    const GraphicPtr bleeding = place(SKTDocument::Front, QRectF(-6, 100, 60, 60)); // off by choice
    const GraphicPtr wide = place(SKTDocument::Back, QRectF(5, 60, 230, 40));
    window->document().undoManager().removeAllActions();
    const QByteArray design = savedDesign();

    QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("Card_Prop_Btn")), Qt::LeftButton);
    QComboBox *orientation = window->findChild<QComboBox *>(QStringLiteral("Preset_ComboBox"));
    orientation->setCurrentIndex(orientation->findText(QStringLiteral("Vertical")));
    emit orientation->activated(orientation->currentIndex());
    QCoreApplication::processEvents();
    const QRectF card = canvas(0)->bounds();
    ASSERT_NEAR(card.width(), level.height(), 0.01);
    saveArtifact(window.get(), QStringLiteral("turned_card_objects_kept_on.png"));

    // Moved in only as far as needed, or scaled down in proportion when larger than the card; one
    // that every place would lay over another stays, and is named.
    EXPECT_EQ(qr->bounds(), QRectF(110, 20, 121, 121));
    ASSERT_TRUE(QTest::qWaitFor([this] { return !shown().isEmpty(); }));
    EXPECT_EQ(shown().constLast(),
              QStringLiteral(
                  "At this orientation, a shape on the back was moved to a free place on the card, and a "
                  "shape on the front now reaches past the card's edge (no free place on the card holds "
                  "it). Edit > Undo takes the turn back."));
    EXPECT_EQ(corner->bounds(), QRectF(10, 10, 40, 30));
    EXPECT_EQ(bleeding->bounds(), QRectF(-6, 100, 60, 60));
    EXPECT_TRUE(card.contains(wide->bounds()));
    EXPECT_NEAR(wide->bounds().width(), card.width(), 1e-9);
    EXPECT_NEAR(wide->bounds().width() / wide->bounds().height(), 230.0 / 40, 1e-9);

    // One Ctrl+Z takes back the turn and the moves: the design is as it was.
    EXPECT_EQ(window->document().undoManager().undoCount(), 1);
    QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
    QCoreApplication::processEvents();
    EXPECT_EQ(canvas(0)->bounds().size(), level);
    EXPECT_EQ(qr->bounds(), QRectF(110, 20, 121, 121));
    EXPECT_EQ(wide->bounds(), QRectF(5, 60, 230, 40));
    EXPECT_EQ(savedDesign(), design);
}
