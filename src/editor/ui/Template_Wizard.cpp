#include "editor/ui/Template_Wizard.h"

#include "canvas/ui/ImageBrowser.h"
#include "canvas/ui/ImageBrowserModel.h"
#include "editor/TemplateStore.h"
#include "editor/ui/Export_Template.h"
#include "foundation/DataRoot.h"
#include "foundation/MessageBoxes.h"
#include "foundation/WindowRegistry.h"
#include "foundation/ui/ModalRunner.h"
#include "foundation/ui/WindowLook.h"
#include "model/ModelGlobals.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

QString Template_Wizard::Selected_Template_Path;
quint64 Template_Wizard::User_Defined_File = 0;

Template_Wizard::Template_Wizard(WindowRegistry *registry, QWidget *parent)
    : QDialog(parent), m_registry(registry)
{
    setWindowTitle(QStringLiteral("Templates"));
    WindowLook::applyBackground(this);
    buildWindow();

    connect(cat_cmbo_bx, &QComboBox::activated, this, &Template_Wizard::sourceChanged);
    connect(imageBrowser, &ImageBrowser::imageBrowserSelectionDidChange, this,
            &Template_Wizard::imageBrowserSelectionDidChange);
    connect(_zoom_slider, &QSlider::valueChanged, this, &Template_Wizard::zoomSliderDidChange);
    connect(Delete_temp_btn, &QPushButton::clicked, this, &Template_Wizard::Delete_Template_Click);
    connect(Copy_temp_btn, &QPushButton::clicked, this, &Template_Wizard::Copy_Templatee_Click);
    connect(Rename_temp_btn, &QPushButton::clicked, this, &Template_Wizard::Rename_Template_Click);
    connect(profile_button, &QPushButton::clicked, this, &Template_Wizard::User_Profile_Click);
    connect(ok_button, &QPushButton::clicked, this, &Template_Wizard::OK_Click);
    connect(cancel_button, &QPushButton::clicked, this, &Template_Wizard::CancelClick);
    _zoom_slider->setValue(int(DefaultZoom * 100));
    zoomSliderDidChange();
}

void Template_Wizard::buildWindow()
{
    category_label = new QLabel(QStringLiteral("Templates:"), this);
    cat_cmbo_bx = new QComboBox(this);
    cat_cmbo_bx->setObjectName(QStringLiteral("cat_cmbo_bx"));
    cat_cmbo_bx->addItems({QStringLiteral("Built-in Templates"), QStringLiteral("My Templates")});
    images = new ImageBrowserModel(this);
    imageBrowser = new ImageBrowser(images, this);
    imageBrowser->setObjectName(QStringLiteral("imageBrowser"));
    imageBrowser->setMinimumSize(700, 420);
    QHBoxLayout *top = makeTopRow();
    QHBoxLayout *actions = makeActionRow();

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(imageBrowser, 1);
    layout->addLayout(actions);
    layout->addLayout(WindowLook::okCancelRow(this, ok_button, cancel_button));
    nameDialog = new Export_Template(userFolder(), this);
}

// Which templates are shown, and the thumbnails' zoom.
QHBoxLayout *Template_Wizard::makeTopRow()
{
    _zoom_label = new QLabel(QStringLiteral("Zoom:"), this);
    _zoom_slider = new QSlider(Qt::Horizontal, this);
    _zoom_slider->setObjectName(QStringLiteral("_zoom_slider"));
    _zoom_slider->setRange(10, 100); // hundredths of the thumbnail's full size
    _zoom_slider->setMaximumWidth(180);
    auto *top = new QHBoxLayout;
    top->addWidget(category_label);
    top->addWidget(cat_cmbo_bx);
    top->addStretch();
    top->addWidget(_zoom_label);
    top->addWidget(_zoom_slider);
    return top;
}

// Copy, rename and delete of the user's templates, and the personal details.
QHBoxLayout *Template_Wizard::makeActionRow()
{
    Delete_temp_btn = new QPushButton(QStringLiteral("Delete"), this);
    Copy_temp_btn = new QPushButton(QStringLiteral("Copy"), this);
    Rename_temp_btn = new QPushButton(QStringLiteral("Rename..."), this);
    profile_button = new QPushButton(QStringLiteral("Personal Details..."), this);
    profile_button->setVisible(m_registry != nullptr);
    auto *actions = new QHBoxLayout;
    actions->addWidget(Copy_temp_btn);
    actions->addWidget(Rename_temp_btn);
    actions->addWidget(Delete_temp_btn);
    actions->addStretch();
    actions->addWidget(profile_button);
    return actions;
}

QString Template_Wizard::userFolder() const
{
    return TemplateStore::userFolderOf(Resource_Path);
}

std::optional<QString> Template_Wizard::chooseTemplate()
{
    if (Open_Template_Window() != 1)
        return std::nullopt;
    return Selected_Template_Path;
}

int Template_Wizard::Open_Template_Window()
{
    cat_cmbo_bx->setCurrentIndex(0);
    images->clear();
    _zoom_slider->setValue(int(DefaultZoom * 100));
    zoomSliderDidChange();
    Fill_Templates();
    Show_Hide_Template_Buttons(false);
    setResult(0); // a reused dialog starts undecided
    return ModalRunner::exec(*this);
}

void Template_Wizard::sourceChanged(int index)
{
    if (index == 0)
        Fill_Templates();
    else
        Fill_Templates_User_Defined();
    Show_Hide_Template_Buttons(index != 0);
}

void Template_Wizard::Show_Hide_Template_Buttons(bool show)
{
    Delete_temp_btn->setVisible(show);
    Copy_temp_btn->setVisible(show);
    Rename_temp_btn->setVisible(show);
}

void Template_Wizard::Fill_Templates()
{
    fillFrom(QDir(Resource_Path).filePath(QStringLiteral("Templates")), false);
}

void Template_Wizard::Fill_Templates_User_Defined()
{
    fillFrom(userFolder(), true);
}

void Template_Wizard::fillFrom(const QString &folder, bool user)
{
    if (!QFileInfo(folder).isDir()) {
        // Nothing to offer, and nothing of the other list may stay chosen.
        images->clear();
        Selected_Template_Path.clear();
        return;
    }
    images->clear();
    Selected_Template_Path.clear();
    const QDir dir(folder);
    for (const QFileInfo &fi : dir.entryInfoList(QDir::Files, QDir::Name)) {
        const QString ext = fi.suffix().toLower();
        if (ext != QLatin1String("png") && ext != QLatin1String("jpg"))
            continue;
        const QString id = user ? QStringLiteral("TEMP%1.png").arg(User_Defined_File++) : fi.fileName();
        // A template goes by its name; the picture's file type means nothing to the user.
        addImageWithPath(fi.absoluteFilePath(), fi.completeBaseName(), id);
    }
    if (images->count() > 0) {
        imageBrowser->selectRow(0);
        imageBrowserSelectionDidChange();
    }
}

void Template_Wizard::addImageWithPath(const QString &path, const QString &imageName,
                                       const QString &image_UID)
{
    images->addImageWithPath(path, imageName, image_UID);
}

void Template_Wizard::imageBrowserSelectionDidChange()
{
    const QList<int> rows = imageBrowser->selectedRows();
    Selected_Template_Path = rows.isEmpty() ? QString() : images->item(rows.first()).path();
}

double Template_Wizard::zoom() const
{
    return _zoom_slider->value() / 100.0;
}

void Template_Wizard::zoomSliderDidChange()
{
    imageBrowser->setZoomValue(zoom());
    _zoom_label->setText(QStringLiteral("Zoom: %1 %").arg(_zoom_slider->value()));
}

QString Template_Wizard::chosenPicture()
{
    if (Selected_Template_Path.isEmpty() || !QFileInfo(Selected_Template_Path).isFile()) {
        Show_MessageBox(TemplateStore::MsgSelect);
        return QString();
    }
    return Selected_Template_Path;
}

void Template_Wizard::OK_Click()
{
    const QString picture = chosenPicture();
    if (picture.isEmpty())
        return;
    // A preview whose design file is gone is no template to start from.
    const QString design = TemplateStore::designPathForPicture(picture);
    if (!QFileInfo(design).isFile()) {
        Show_MessageBox(TemplateStore::MsgSelect);
        return;
    }
    Selected_Template_Path = design;
    done(1);
}

void Template_Wizard::CancelClick()
{
    Selected_Template_Path.clear();
    done(0);
}

void Template_Wizard::Delete_Template_Click()
{
    const QString picture = chosenPicture();
    if (picture.isEmpty() || !Show_YES_NO_MessageBox(TemplateStore::MsgConfirmDelete))
        return;
    const TemplateResult r = TemplateStore(userFolder()).deleteTemplate(picture);
    if (!r.ok())
        Show_MessageBox(r.message);
    Fill_Templates_User_Defined();
}

void Template_Wizard::Copy_Templatee_Click()
{
    const QString picture = chosenPicture();
    if (picture.isEmpty() || !Show_YES_NO_MessageBox(TemplateStore::MsgConfirmCopy))
        return;
    const TemplateResult r = TemplateStore(userFolder()).copyTemplate(picture);
    if (!r.ok())
        Show_MessageBox(r.message);
    Fill_Templates_User_Defined();
}

void Template_Wizard::Rename_Template_Click()
{
    const QString picture = chosenPicture();
    if (picture.isEmpty())
        return;
    if (nameDialog->runFor(QFileInfo(picture).completeBaseName()) != 1)
        return;
    // The name dialog has asked before a name of another template is taken over.
    const TemplateResult r =
        TemplateStore(userFolder()).renameTemplate(picture, Export_Template::export_template_name, true);
    if (!r.ok())
        Show_MessageBox(r.message);
    Fill_Templates_User_Defined();
}

void Template_Wizard::User_Profile_Click()
{
    if (m_registry)
        m_registry->open(WindowRegistry::Window::UserProfile, QString());
}
