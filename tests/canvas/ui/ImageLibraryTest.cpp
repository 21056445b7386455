// The picture library and the browser under it, driven through their buttons, combo and clicks
// over folders of pictures made for each test.
#include "canvas/ui/ImageBrowser.h"
#include "canvas/ui/ImageBrowserModel.h"
#include "canvas/ui/Image_Library.h"
#include "foundation/ui/FloatSlider.h"
#include "support/TestSupport.h"
#include "support/WindowFixture.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QTest>

namespace
{
void writePicture(const QString &path, QColor colour)
{
    QImage image(8, 6, QImage::Format_RGB32);
    image.fill(colour);
    QDir().mkpath(QFileInfo(path).path());
    const QString ext = QFileInfo(path).suffix().toLower();
    const char *format =
        ext == QLatin1String("gif") ? "PNG" : (ext.startsWith(QLatin1String("jp")) ? "JPG" : "PNG");
    ASSERT_TRUE(image.save(path, format)) << path.toStdString();
}

QStringList titles(const ImageBrowserModel &model)
{
    QStringList out;
    for (const MyImageObject &item : model.images())
        out << item.imageTitle();
    return out;
}

void clickItem(ImageBrowser *browser, int row)
{
    QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, browser->itemRect(row).center());
}
} // namespace

class ImageLibrary : public testsupport::WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        // Each test lays out its own pictures in place of any shipped ones.
        QDir(dataRoot() + QStringLiteral("LibraryImage")).removeRecursively();
        QDir(dataRoot() + QStringLiteral("Background")).removeRecursively();
        library = std::make_unique<Image_Library>();
    }
    void TearDown() override
    {
        library.reset();
        WindowFixture::TearDown();
    }
    // Runs the library on a shelf with one scripted user; the picture it hands back.
    std::optional<QString> open(Image_Library::Shelf shelf, std::function<int(Image_Library &)> user)
    {
        modalScripts.push_back([&, user](QDialog &) {
            library->show();
            return user(*library);
        });
        return library->choosePicture(shelf);
    }
    QString picture(const QString &relative) const { return dataRoot() + relative; }

    std::unique_ptr<Image_Library> library;
};

TEST_F(ImageLibrary, CategoriesByTheirRealFoldersAndOnlyPngAndJpgPictures)
{
    for (const char *name : {"party time/b.jpg", "party time/a.PNG", "party time/c.JPG", "party time/d.jpeg",
                             "party time/e.gif", "flowers/rose.png"})
        writePicture(picture(QStringLiteral("LibraryImage/") + QString::fromLatin1(name)), Qt::red);
    testsupport::writeFile(picture(QStringLiteral("LibraryImage/party time/notes.txt")), "x");

    const std::optional<QString> result = open(Image_Library::Shelf::Pictures, [&](Image_Library &w) {
        EXPECT_EQ(w.windowTitle(), QStringLiteral("Image Library"));
        EXPECT_FALSE(w.cat_cmbo_bx->isHidden());
        EXPECT_DOUBLE_EQ(w._zoom_slider->value(), 0.4);
        EXPECT_DOUBLE_EQ(w.imageBrowser->zoomValue(), 0.4);
        EXPECT_EQ(w.cat_cmbo_bx->count(), 2);
        EXPECT_EQ(w.cat_cmbo_bx->itemText(0), QStringLiteral("Flowers"));
        EXPECT_EQ(titles(*w.images), QStringList{QStringLiteral("rose.png")});
        // The shown name is capitalised; the lower-case folder is still found.
        w.cat_cmbo_bx->setCurrentIndex(1);
        emit w.cat_cmbo_bx->activated(1);
        EXPECT_EQ(w.cat_cmbo_bx->currentText(), QStringLiteral("Party Time"));
        EXPECT_EQ(titles(*w.images),
                  (QStringList{QStringLiteral("a.PNG"), QStringLiteral("b.jpg"), QStringLiteral("c.JPG")}));
        EXPECT_EQ(w.images->item(0).imageUID(), QStringLiteral("a.PNG"));
        saveArtifact(&w, QStringLiteral("image_library.png"));
        clickItem(w.imageBrowser, 2);
        w.ok_button->click();
        return w.result();
    });
    EXPECT_EQ(result, picture(QStringLiteral("LibraryImage/party time/c.JPG")));
}

TEST_F(ImageLibrary, OkNeedsAnExistingPictureAndCancelForgetsTheChoice)
{
    const QString rose = picture(QStringLiteral("LibraryImage/flowers/rose.png"));
    writePicture(rose, Qt::red);

    // OK with nothing chosen keeps the window open with its message.
    EXPECT_EQ(open(Image_Library::Shelf::Pictures,
                   [&](Image_Library &w) {
                       w.ok_button->click();
                       EXPECT_TRUE(messages.messages().last().contains(Image_Library::SelectImageMessage));
                       w.cancel_button->click();
                       return w.result();
                   }),
              std::nullopt);

    EXPECT_EQ(open(Image_Library::Shelf::Pictures,
                   [&](Image_Library &w) {
                       clickItem(w.imageBrowser, 0);
                       w.ok_button->click();
                       return w.result();
                   }),
              rose);
    // The last choice survives a reopening: OK alone accepts it again.
    EXPECT_EQ(open(Image_Library::Shelf::Pictures,
                   [&](Image_Library &w) {
                       w.ok_button->click();
                       return w.result();
                   }),
              rose);

    // ... but not once its file is gone.
    ASSERT_TRUE(QFile::remove(rose));
    messages.clear();
    EXPECT_EQ(open(Image_Library::Shelf::Pictures,
                   [&](Image_Library &w) {
                       w.ok_button->click();
                       EXPECT_EQ(messages.messages().size(), 1);
                       QTest::keyClick(&w, Qt::Key_Escape);
                       return w.result();
                   }),
              std::nullopt);
}

TEST_F(ImageLibrary, BackgroundModeListsTheBackgroundsWithoutCategories)
{
    writePicture(picture(QStringLiteral("Background/sky.jpg")), Qt::blue);
    writePicture(picture(QStringLiteral("LibraryImage/flowers/rose.png")), Qt::red);
    open(Image_Library::Shelf::Backgrounds, [&](Image_Library &w) {
        EXPECT_EQ(w.windowTitle(), QStringLiteral("Background Image Library"));
        EXPECT_TRUE(w.cat_cmbo_bx->isHidden());
        EXPECT_TRUE(w.category_label->isHidden());
        EXPECT_EQ(titles(*w.images), QStringList{QStringLiteral("sky.jpg")});
        return 0;
    });
    // A missing library folder gives an empty list and no categories.
    QDir(dataRoot() + QStringLiteral("LibraryImage")).removeRecursively();
    open(Image_Library::Shelf::Pictures, [&](Image_Library &w) {
        EXPECT_EQ(w.cat_cmbo_bx->count(), 0);
        EXPECT_EQ(w.images->count(), 0);
        return 0;
    });
}

TEST_F(ImageLibrary, ReorderingMovesRunsAndNeverRemoves)
{
    ImageBrowserModel model;
    for (const char *name : {"1", "2", "3", "4", "5"})
        model.addImageWithPath(QStringLiteral("/p/") + QString::fromLatin1(name), QString::fromLatin1(name),
                               QString::fromLatin1(name));
    model.addImageWithPath(QStringLiteral("  \n"), QStringLiteral("blank"), QStringLiteral("blank"));
    EXPECT_EQ(model.count(), 5);

    // The first two moved to the end stay together, in their order, after the others.
    EXPECT_TRUE(model.moveItemsAtIndexes({0, 1}, 5));
    EXPECT_EQ(titles(model), (QStringList{"3", "4", "5", "1", "2"}));
    // A run taken from both sides of the destination closes up around it.
    model.moveItemsAtIndexes({4, 0}, 2);
    EXPECT_EQ(titles(model), (QStringList{"4", "3", "2", "5", "1"}));
    EXPECT_FALSE(model.removeRows(0, 2));
    EXPECT_EQ(model.count(), 5);

    // A drag within the browser ends in the same move; Delete removes nothing.
    ImageBrowser browser(&model);
    browser.resize(600, 400);
    browser.show();
    browser.selectRow(2);
    std::unique_ptr<QMimeData> mime(model.mimeData({model.index(2)}));
    EXPECT_FALSE(mime->hasUrls());
    EXPECT_FALSE(mime->hasText());
    EXPECT_TRUE(browser.dropRows(mime.get(), browser.itemRect(0).center()));
    EXPECT_EQ(titles(model), (QStringList{"2", "4", "3", "5", "1"}));
    QTest::keyClick(&browser, Qt::Key_Delete);
    EXPECT_EQ(model.count(), 5);
}
