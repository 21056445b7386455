// The picture and signature panels driven as a user would: the reset question, the picture and
// signature choosers, the library through the registry, and edits over mixed selections.
#include "PanelsFixture.h"

#include "foundation/WindowRegistry.h"
#include "foundation/ui/FloatSlider.h"
#include "model/SKTImage.h"
#include "panels/ui/ImageTab.h"
#include "panels/ui/SignTab.h"
#include "platform/UndoManager.h"

#include <QCheckBox>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSlider>

#include <functional>

class ImageSignPanels : public PanelsFixture
{
protected:
    // A picture object on the front side, made from a file of one colour.
    GraphicPtr makePicture(const QColor &color) { return makePictureFrom(writePicture(color)); }
    QString writePicture(const QColor &color)
    {
        static int n = 0;
        const QString path = tempPath(QStringLiteral("picture%1.png").arg(++n));
        QImage image(20, 10, QImage::Format_ARGB32);
        image.fill(color);
        image.save(path);
        return path;
    }
    static QColor pixelOf(const GraphicPtr &g)
    {
        auto *picture = dynamic_cast<SKTImage *>(g.get());
        return picture && picture->_contents ? picture->_contents->image().pixelColor(5, 5) : QColor();
    }
    // Drags a slider's handle by keyboard, as a user nudges it.
    static void nudge(FloatSlider *slider) { QTest::keyClick(slider->slider(), Qt::Key_PageUp); }
};

TEST_F(ImageSignPanels, ResetAsksFirstThenGivesEverySelectedPictureNeutralValues)
{
    const GraphicPtr a = makePicture(Qt::red);
    const GraphicPtr b = makePicture(Qt::green);
    select({0, 1});
    load(pictures, a);
    ImageTab &t = pictures->imageTab();
    nudge(t.Hue_slidr);
    nudge(t.blr_slidr);
    t.Image_Sepia_chk->click();
    t.Image_FIH_chk->click();
    ASSERT_TRUE(b->Sepia);
    ASSERT_NE(b->hue_val, 0.0f);
    EXPECT_EQ(t.Hue_slidr->valueLabel()->objectName(), QStringLiteral("Hue_slidr_val"));

    messages.queueAnswers({false});
    t.Image_reset_Button->click();
    EXPECT_EQ(messages.questions(), QStringList{ImageSignPanel::ResetQuestion});
    EXPECT_TRUE(b->Sepia);
    EXPECT_NE(t.Hue_slidr->value(), 0.0);

    messages.queueAnswers({true});
    t.Image_reset_Button->click();
    for (const GraphicPtr &g : {a, b}) {
        EXPECT_EQ(g->rotate_image, 0.0f);
        EXPECT_EQ(g->img_trnsp_val, 100.0f);
        EXPECT_EQ(g->hue_val, 0.0f);
        EXPECT_EQ(g->sat_val, 1.0f);
        EXPECT_EQ(g->brt_val, 0.0f);
        EXPECT_EQ(g->con_val, 1.0f);
        EXPECT_EQ(g->srp_val, 0.0f);
        EXPECT_EQ(g->ev_val, 0.0f);
        EXPECT_EQ(g->blr_val, 0.0f);
        EXPECT_FALSE(g->Sepia || g->gray_Scale || g->invert_clr || g->_isFlippedHorizontally ||
                     g->_isFlippedVertically);
    }
    screenshot(InspectorTabs::image_tab, QStringLiteral("inspector-image.png"));

    // A new picture starts from neutral controls, whatever the last one showed.
    nudge(t.Sat_slidr);
    t.Image_Gray_Scale_chk->setChecked(true);
    makePicture(Qt::blue);
    EXPECT_EQ(t.Sat_slidr->value(), 1.0);
    EXPECT_FALSE(t.Image_Gray_Scale_chk->isChecked());
}

TEST_F(ImageSignPanels, BrowseGivesEverySelectedPictureTheChosenPictureToShowAndKeep)
{
    const GraphicPtr a = makePicture(Qt::red);
    const GraphicPtr b = makePicture(Qt::green); // the current object
    select({0, 1});
    load(pictures, b);
    // Two files: the box names neither, and says that two pictures are selected.
    EXPECT_EQ(pictures->Manual_image_path->text(), QString());
    EXPECT_EQ(pictures->Manual_image_path->placeholderText(), QStringLiteral("2 pictures selected"));
    const QString blue = writePicture(Qt::blue);
    files.answers.push_back(blue);
    pictures->manual_browse_btn->click();
    EXPECT_EQ(files.requests.last().suffixes, ImageSignPanel::pictureSuffixes());
    EXPECT_EQ(pixelOf(b), QColor(Qt::blue));
    EXPECT_EQ(pixelOf(a), QColor(Qt::blue));
    EXPECT_EQ(a->FilePath(), blue);
    EXPECT_EQ(b->FilePath(), blue);
    EXPECT_EQ(Library_Selected_Image, blue);
    // One file for both: the box shows it.
    load(pictures, b);
    EXPECT_EQ(pictures->Manual_image_path->text(), blue);
    EXPECT_EQ(pictures->Manual_image_path->placeholderText(), QString());

    // Cancel forgets the chosen file and changes no object.
    pictures->manual_browse_btn->click();
    EXPECT_EQ(Library_Selected_Image, QString());
    EXPECT_EQ(a->FilePath(), blue);

    // The library answers through the registry from its pictures.
    const QString yellow = writePicture(Qt::yellow);
    QList<WindowRegistry::PictureShelf> shelves;
    host->registry().fillPictureChooser([&](WindowRegistry::PictureShelf shelf) {
        shelves << shelf;
        return yellow;
    });
    pictures->manual_library_btn->click();
    EXPECT_EQ(shelves, QList{WindowRegistry::PictureShelf::Pictures});
    EXPECT_EQ(pixelOf(b), QColor(Qt::yellow));
    EXPECT_EQ(pixelOf(a), QColor(Qt::yellow));
    EXPECT_EQ(a->FilePath(), yellow);

    // A current object that is no picture keeps what it has, and nothing breaks; the picture
    // selected beside it shows the file.
    const GraphicPtr shape = makeShape();
    const QString shapePath = shape->FilePath();
    select({0, 2});
    canvas(0)->setSelectedGraphic(shape);
    files.answers.push_back(blue);
    pictures->manual_browse_btn->click();
    EXPECT_EQ(shape->FilePath(), shapePath);
    EXPECT_EQ(pixelOf(a), QColor(Qt::blue));
}

TEST_F(ImageSignPanels, TheSignatureChooserTakesPngInAnyCase)
{
    const GraphicPtr sign = makeSignature();
    load(pictures, sign);
    SignTab &t = pictures->signTab();
    const QString path = tempPath(QStringLiteral("mine.Png"));
    QImage image(8, 8, QImage::Format_ARGB32);
    image.fill(Qt::black);
    ASSERT_TRUE(image.save(path, "PNG"));
    files.answers.push_back(path);
    t.Sign_Browse_Btn->click();
    EXPECT_TRUE(files.requests.last().suffixes.contains(QStringLiteral("png")));
    EXPECT_TRUE(files.requests.last().suffixes.contains(QStringLiteral("PNG")));
    EXPECT_EQ(t.Sign_image_path->text(), path);
    EXPECT_EQ(sign->FilePath(), path);

    files.answers.push_back(tempPath(QStringLiteral("photo.jpg")));
    t.Sign_Browse_Btn->click();
    EXPECT_EQ(shown(), QStringList{ImageSignPanel::NotPngMessage});
    EXPECT_EQ(sign->FilePath(), path);

    t.Sign_border_chk->setChecked(false);
    t.Sign_border_chk->click();
    EXPECT_TRUE(sign->_isDrawingStroke);
    EXPECT_TRUE(t.Sign_bordr_clr->isEnabled());
    screenshot(InspectorTabs::sign_tab, QStringLiteral("inspector-sign.png"));
}

TEST_F(ImageSignPanels, ASliderOverAShapeAndPicturesWritesThePicturesAndKeepsEachPicturesFile)
{
    const GraphicPtr shape = makeShape();
    const GraphicPtr other = makePicture(Qt::green);
    const GraphicPtr picture = makePicture(Qt::red);
    const QString otherFile = other->FilePath();
    select({0, 1, 2});
    load(pictures, picture);
    nudge(pictures->imageTab().Con_slidr);
    EXPECT_GT(picture->con_val, 1.0f);
    EXPECT_EQ(shape->con_val, 1.0f);
    EXPECT_EQ(other->con_val, picture->con_val);
    EXPECT_FLOAT_EQ(float(pictures->imageTab().Con_slidr->valueLabel()->text().toDouble()), picture->con_val);
    EXPECT_EQ(other->FilePath(), otherFile);
    EXPECT_EQ(pixelOf(other), QColor(Qt::green));
}

TEST_F(ImageSignPanels, TheBorderStyleListsOfTextsPicturesAndSignaturesWriteTheirObject)
{
    // Each panel handles its own list: a pick is the object's new dash, one undo step.
    const struct {
        const char *list;
        std::function<GraphicPtr()> make;
    } cases[] = {
        {"Text_border_style", [this] { return make(SKTGraphic::Kind::Text); }},
        {"Image_border_style", [this] { return makePicture(Qt::blue); }},
        {"Sign_border_style", [this] { return makeSignature(); }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.list);
        const GraphicPtr g = c.make();
        auto *list = host->window().findChild<QComboBox *>(QString::fromLatin1(c.list));
        ASSERT_NE(list, nullptr);
        choose(list, 1);
        EXPECT_EQ(g->_stroke_border_type, QString(BorderCode::Dash));
        EXPECT_EQ(host->document().undoManager().undoActionName(), QStringLiteral("Border Style"));
    }
}

TEST_F(ImageSignPanels, APictureChosenAnewKeepsItsProportionsInItsFrame)
{
    // A 240 x 160 px circle for a 3:1 frame: the frame takes the picture's proportions, as large
    // as fits in the old frame and centred on it, in one undo step.
    const QString circle = tempPath(QStringLiteral("circle.png"));
    QImage image(240, 160, QImage::Format_ARGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(Qt::black);
        painter.drawEllipse(QRectF(40, 0, 160, 160));
    }
    ASSERT_TRUE(image.save(circle));
    const GraphicPtr picture = makePicture(Qt::red);
    picture->setBounds(QRectF(20, 40, 180, 60));
    load(pictures, picture);
    UndoManager &undo = host->document().undoManager();
    files.answers.push_back(circle);
    pictures->manual_browse_btn->click();
    EXPECT_EQ(picture->bounds(), QRectF(65, 40, 90, 60));

    // On the canvas the circle is as tall as it is wide (seen without the selection's handles).
    canvas(0)->changeSelectionIndexes({});
    QCoreApplication::processEvents();
    const QImage shown = canvas(0)->grab().toImage();
    saveArtifact(canvas(0), QStringLiteral("picture-chosen-anew-in-proportion.png"));
    int left = shown.width(), right = -1, top = shown.height(), bottom = -1;
    for (int y = 40; y < 100; ++y)
        for (int x = 20; x < 200; ++x)
            if (qGray(shown.pixel(x, y)) < 64)
                left = std::min(left, x), right = std::max(right, x), top = std::min(top, y),
                bottom = std::max(bottom, y);
    EXPECT_NEAR(right - left, bottom - top, 2);
    EXPECT_GT(bottom - top, 50);

    undo.undo();
    EXPECT_EQ(picture->bounds(), QRectF(20, 40, 180, 60));
    EXPECT_NE(picture->FilePath(), circle);
}

TEST_F(ImageSignPanels, BoxesThatTakeNoTypingLookItAndTheFingerprintChooserSaysFingerprint)
{
    const auto backgroundOf = [](QWidget *box) {
        return box->grab().toImage().pixelColor(box->width() / 2, 3); // above the text
    };
    QLineEdit editable(&host->window());
    editable.setGeometry(0, 0, 120, 24);
    editable.show();
    add(SKTSignature::initWithPosition(QPointF(20, 20), host->fp_sample_img(), SignatureCode::Fingerprint));
    SignTab &t = pictures->signTab();
    t.Sign_Browse_Btn->click();
    EXPECT_EQ(files.requests.last().title, QStringLiteral("Choose Fingerprint"));
    makeSignature();
    t.Sign_Browse_Btn->click();
    EXPECT_EQ(files.requests.last().title, QStringLiteral("Choose Signature"));

    struct Case {
        const char *name;
        QWidget *box;
    };
    const Case cases[] = {{"fingerprint file", t.Sign_image_path},
                          {"picture file", pictures->Manual_image_path}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        c.box->show();
        c.box->resize(120, 24);
        EXPECT_TRUE(c.box->property("readOnly").toBool());
        EXPECT_EQ(c.box->focusPolicy(), Qt::NoFocus);
        // Plainly not a field to type into: well darker than an editable one.
        EXPECT_GE(backgroundOf(&editable).lightness() - backgroundOf(c.box).lightness(), 20);
    }
}
