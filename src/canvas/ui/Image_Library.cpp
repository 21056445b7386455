#include "canvas/ui/Image_Library.h"

#include "canvas/ui/ImageBrowser.h"
#include "canvas/ui/ImageBrowserModel.h"
#include "foundation/DataRoot.h"
#include "foundation/MessageBoxes.h"
#include "foundation/ui/FloatSlider.h"
#include "foundation/ui/ModalRunner.h"
#include "foundation/ui/WindowLook.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <exception>

namespace
{
// "party and fun" -> "Party And Fun": the category as the list shows it.
QString capitalised(const QString &name)
{
    QString out = name.toLower();
    bool wordStart = true;
    for (QChar &c : out) {
        if (wordStart && c.isLetter())
            c = c.toUpper();
        wordStart = c.isSpace();
    }
    return out;
}
} // namespace

Image_Library::Image_Library(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Image_Library"));
    setWindowTitle(QStringLiteral("Image Library"));
    WindowLook::applyBackground(this);

    images = new ImageBrowserModel(this);
    imageBrowser = new ImageBrowser(images, this);
    category_label = new QLabel(QStringLiteral("Category:"), this);
    cat_cmbo_bx = new QComboBox(this);
    cat_cmbo_bx->setObjectName(QStringLiteral("cat_cmbo_bx"));
    cat_cmbo_bx->setMinimumWidth(200);
    _zoom_label = new QLabel(QStringLiteral("Zoom:"), this);
    _zoom_slider = new FloatSlider(0.0, 1.0, 100, 1, this);
    _zoom_slider->setObjectName(QStringLiteral("_zoom_slider"));
    _zoom_slider->setValue(DefaultZoom);
    imageBrowser->setZoomValue(DefaultZoom);

    auto *top = new QHBoxLayout;
    top->addWidget(category_label);
    top->addWidget(cat_cmbo_bx);
    top->addStretch();
    top->addWidget(_zoom_label);
    top->addWidget(_zoom_slider);
    QHBoxLayout *buttons = WindowLook::okCancelRow(this, ok_button, cancel_button);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(imageBrowser, 1);
    layout->addLayout(buttons);
    resize(720, 520);

    connect(cat_cmbo_bx, &QComboBox::activated, this, &Image_Library::comboBoxSelectionDidChange);
    connect(_zoom_slider, &FloatSlider::userChanged, this, &Image_Library::zoomSliderDidChange);
    connect(imageBrowser, &ImageBrowser::imageBrowserSelectionDidChange, this,
            &Image_Library::imageBrowserSelectionDidChange);
    // A double-click on a picture chooses it, as selecting it and pressing OK does.
    connect(imageBrowser, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex &index) {
        if (!index.isValid())
            return;
        selected_image = images->item(index.row()).path();
        OK_Clicked();
    });
    connect(ok_button, &QPushButton::clicked, this, &Image_Library::OK_Clicked);
    connect(cancel_button, &QPushButton::clicked, this, &Image_Library::Cancel_Clicked);
}

std::optional<QString> Image_Library::choosePicture(Shelf shelf)
{
    control_or_BG = shelf;
    if (Open_Library_Window() != 1)
        return std::nullopt;
    return selected_image;
}

int Image_Library::Open_Library_Window()
{
    try {
        images->clear();
        _zoom_slider->setValue(DefaultZoom);
        imageBrowser->setZoomValue(DefaultZoom);
        if (control_or_BG == Shelf::Pictures) {
            setWindowTitle(QStringLiteral("Image Library"));
            Fill_Combobox();
            cat_cmbo_bx->show();
            category_label->show();
            // Choosing the first category by code loads it as a user's choice would.
            comboBoxSelectionDidChange();
        } else {
            setWindowTitle(QStringLiteral("Background Image Library"));
            cat_cmbo_bx->hide();
            category_label->hide();
            Load_and_fill_backgrounds();
        }
        const int result = ModalRunner::exec(*this);
        hide();
        return result == 1 ? 1 : 0;
    } catch (const std::exception &e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
        return 0;
    }
}

void Image_Library::Fill_Combobox()
{
    cat_cmbo_bx->clear();
    const QString root = Resource_Path + QStringLiteral("LibraryImage");
    if (!QFileInfo(root).isDir())
        return;
    const QFileInfoList folders =
        QDir(root).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    // The list shows a capitalised name; the folder is found again by its real name.
    for (const QFileInfo &folder : folders)
        cat_cmbo_bx->addItem(capitalised(folder.fileName()), folder.fileName());
    if (cat_cmbo_bx->count() > 0)
        cat_cmbo_bx->setCurrentIndex(0);
}

void Image_Library::comboBoxSelectionDidChange()
{
    if (cat_cmbo_bx->currentIndex() < 0)
        return;
    loadFolder(Resource_Path + QStringLiteral("LibraryImage/") + cat_cmbo_bx->currentData().toString());
}

void Image_Library::Load_and_fill_backgrounds()
{
    loadFolder(Resource_Path + QStringLiteral("Background"));
}

void Image_Library::loadFolder(const QString &folder)
{
    try {
        images->fillFromFolder(folder);
    } catch (const std::exception &e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

void Image_Library::addImageWithPath(const QString &path, const QString &imageName, const QString &image_UID)
{
    images->addImageWithPath(path, imageName, image_UID);
}

void Image_Library::imageBrowserSelectionDidChange()
{
    const QList<int> rows = imageBrowser->selectedRows();
    if (rows.isEmpty())
        return;
    selected_image = images->item(rows.first()).path();
}

void Image_Library::OK_Clicked()
{
    if (!selected_image.isEmpty() && QFileInfo(selected_image).isFile()) {
        done(1);
        return;
    }
    Show_MessageBox(SelectImageMessage);
}

void Image_Library::Cancel_Clicked()
{
    selected_image.clear();
    QDialog::done(0);
}

void Image_Library::zoomSliderDidChange(double value)
{
    imageBrowser->setZoomValue(value);
}
