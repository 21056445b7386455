#include "panels/ui/ImageSignPanel.h"

#include "canvas/NewObjectFrames.h"
#include "canvas/ui/SKTGraphicView.h"
#include "foundation/CardCodes.h"
#include "foundation/MessageBoxes.h"
#include "foundation/WindowRegistry.h"
#include "foundation/ui/ColorWell.h"
#include "foundation/ui/ControlUtils.h"
#include "foundation/ui/FilePanels.h"
#include "foundation/ui/FloatSlider.h"
#include "foundation/ui/PanelWidgets.h"
#include "foundation/ui/StepperField.h"
#include "model/ModelGlobals.h"
#include "model/SKTImage.h"
#include "panels/ui/ImageTab.h"
#include "panels/ui/InspectorHost.h"
#include "panels/ui/InspectorTabs.h"
#include "panels/ui/SignTab.h"
#include "platform/PictureReader.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

ImageSignPanel::ImageSignPanel(InspectorHost &host, QWidget *fileBox)
    : ObjectPanel(host),
      m_image(std::make_unique<ImageTab>(host.inspectorTabs().page(InspectorTabs::image_tab))),
      m_sign(std::make_unique<SignTab>(host.inspectorTabs().page(InspectorTabs::sign_tab)))
{
    m_manualRow = new QWidget(m_image->page);
    auto *row = new QGridLayout(m_manualRow);
    row->setContentsMargins(0, 0, 0, 0);
    Manual_image_path = new QLineEdit(m_manualRow);
    Manual_image_path->setObjectName(QStringLiteral("Manual_image_path"));
    PanelWidgets::showReadOnly(Manual_image_path, true); // only Browse... and Library... choose it
    manual_browse_btn = new QPushButton(QStringLiteral("Browse..."), m_manualRow);
    manual_browse_btn->setObjectName(QStringLiteral("manual_browse_btn"));
    manual_library_btn = new QPushButton(QStringLiteral("Library..."), m_manualRow);
    manual_library_btn->setObjectName(QStringLiteral("manual_library_btn"));
    row->addWidget(Manual_image_path, 0, 0, 1, 2);
    row->addWidget(manual_browse_btn, 1, 0);
    row->addWidget(manual_library_btn, 1, 1);
    // Their place is the data-source page's box; without one they sit on the picture page.
    if (fileBox && fileBox->layout())
        attachManualControls(fileBox);
    else
        m_image->manualSlot->addWidget(m_manualRow);
    connectControls();
}

ImageSignPanel::~ImageSignPanel() = default;

QStringList ImageSignPanel::pictureSuffixes()
{
    return {QStringLiteral("jpg"),  QStringLiteral("jpeg"), QStringLiteral("jpe"),
            QStringLiteral("jfif"), QStringLiteral("gif"),  QStringLiteral("bmp"),
            QStringLiteral("png"),  QStringLiteral("tif"),  QStringLiteral("tiff")};
}

namespace
{
void setFlip(SKTGraphic &g, const QString &key, bool &field, bool wanted)
{
    if (field == wanted)
        return;
    // Pictures flip through their undoable key; the flag is kept should the key not take it.
    if (!g.setValueForKey(key, wanted))
        field = wanted;
}
} // namespace

void ImageSignPanel::connectControls()
{
    ImageTab &i = *m_image;
    SignTab &s = *m_sign;
    const auto picture = PanelEdits::ofKind(SKTGraphic::Kind::Image);
    // The page's own enabling runs before the write each control makes.
    connect(i.Image_border_chk, &QCheckBox::clicked, this, &ImageSignPanel::Image_Border_ChkBox);
    connect(s.Sign_border_chk, &QCheckBox::clicked, this, &ImageSignPanel::Sign_Border_ChkBox);
    connectBorder(i.Image_border_chk, i.Image_bordr_clr, i.Image_bor_Stepper, i.Image_border_style);
    connectBorder(s.Sign_border_chk, s.Sign_bordr_clr, s.Sign_bor_Stepper, s.Sign_border_style);
    onEdit(i.Image_FIH_chk, &QCheckBox::clicked, QStringLiteral("Flip Horizontally"),
           {picture, [box = i.Image_FIH_chk](SKTGraphic &g) {
                setFlip(g, SKTImageIsFlippedHorizontallyKey, g._isFlippedHorizontally, ticked(box));
            }});
    onEdit(i.Image_FIV_chk, &QCheckBox::clicked, QStringLiteral("Flip Vertically"),
           {picture, [box = i.Image_FIV_chk](SKTGraphic &g) {
                setFlip(g, SKTImageIsFlippedVerticallyKey, g._isFlippedVertically, ticked(box));
            }});
    const std::tuple<QCheckBox *, const char *, bool SKTGraphic::*> boxes[] = {
        {i.Image_Invert_chk, "Invert", &SKTGraphic::invert_clr},
        {i.Image_Gray_Scale_chk, "Grey Scale", &SKTGraphic::gray_Scale},
        {i.Image_Sepia_chk, "Sepia", &SKTGraphic::Sepia}};
    for (const auto &[box, name, field] : boxes)
        onEdit(box, &QCheckBox::clicked, QString::fromLatin1(name),
               {picture, [box, field](SKTGraphic &g) { g.*field = ticked(box); }});
    const std::tuple<FloatSlider *, const char *, float SKTGraphic::*> sliders[] = {
        {i.Rotate_slidr, "Rotation", &SKTGraphic::rotate_image},
        {i.Trsp_slidr, "Transparency", &SKTGraphic::img_trnsp_val},
        {i.Hue_slidr, "Hue", &SKTGraphic::hue_val},
        {i.Sat_slidr, "Saturation", &SKTGraphic::sat_val},
        {i.Brt_slidr, "Brightness", &SKTGraphic::brt_val},
        {i.Con_slidr, "Contrast", &SKTGraphic::con_val},
        {i.shrp_slidr, "Sharpness", &SKTGraphic::srp_val},
        {i.ev_slidr, "Exposure", &SKTGraphic::ev_val},
        {i.blr_slidr, "Blur", &SKTGraphic::blr_val}};
    for (const auto &[slider, name, field] : sliders)
        onEdit(slider, &FloatSlider::userChanged, QString::fromLatin1(name),
               {picture, [slider, field](SKTGraphic &g) { g.*field = float(slider->value()); }},
               Merge::WhilePressed);
    // The buttons that may be cancelled or refused write only once they have something to write.
    connect(i.Image_reset_Button, &QPushButton::clicked, this, &ImageSignPanel::Image_reset_Button);
    connect(manual_browse_btn, &QPushButton::clicked, this, &ImageSignPanel::Manual_Image_Browse_Btn);
    connect(manual_library_btn, &QPushButton::clicked, this, &ImageSignPanel::Manual_Library_Browse_Btn);
    connect(s.Sign_Browse_Btn, &QPushButton::clicked, this, &ImageSignPanel::Sign_Browse_Btn);
}

// --- the picture path controls ---

void ImageSignPanel::attachManualControls(QWidget *box)
{
    if (box && box->layout())
        box->layout()->addWidget(m_manualRow);
}

QString ImageSignPanel::manualImagePath() const
{
    return Manual_image_path->text();
}

void ImageSignPanel::setManualImagePath(const QString &path)
{
    Manual_image_path->setText(path);
}

void ImageSignPanel::showPictureFile(const SKTGraphic &current)
{
    const SKTGraphicView *canvas = liveCanvas();
    int pictures = 0;
    bool sameFile = true;
    for (const GraphicPtr &g : canvas ? canvas->selectedGraphics() : GraphicList()) {
        if (!g || g->kind() != SKTGraphic::Kind::Image)
            continue;
        ++pictures;
        sameFile = sameFile && g->FilePath() == current.FilePath();
    }
    const bool several = pictures > 1 && !sameFile;
    Manual_image_path->setPlaceholderText(several ? QStringLiteral("%1 pictures selected").arg(pictures)
                                                  : QString());
    setManualImagePath(several ? QString() : current.FilePath());
}

// --- picture actions ---

bool ImageSignPanel::Browse_User_Image_Manually()
{
    const std::optional<QString> path = FilePanels::instance().openFile(
        &m_host.inspectorWindow(), QStringLiteral("Choose Picture"), pictureSuffixes());
    if (!path) {
        Library_Selected_Image.clear();
        return false;
    }
    Library_Selected_Image = *path;
    setManualImagePath(*path);
    return true;
}

bool ImageSignPanel::loadIntoSelectedPictures(const QString &path, const QString &previousPath)
{
    SKTGraphicView *canvas = liveCanvas();
    const GraphicPtr current = canvas ? canvas->selectedGraphic() : GraphicPtr();
    auto *picture = dynamic_cast<SKTImage *>(current.get());
    const QString error = picture ? picture->loadFile(path) : PictureReader::probe(path);
    if (!error.isEmpty()) {
        Show_MessageBox(PictureReader::userMessage(path, error));
        setManualImagePath(previousPath);
        Library_Selected_Image = previousPath;
        return false;
    }
    if (picture)
        takePictureProportions(*picture);
    for (const GraphicPtr &g :
         PanelEdits::fieldTargets(m_host, PanelEdits::ofKind(SKTGraphic::Kind::Image))) {
        if (g.get() == picture)
            continue;
        auto &other = static_cast<SKTImage &>(*g);
        if (other.loadFile(path).isEmpty()) // the file the current picture has just read
            takePictureProportions(other);
    }
    return true;
}

void ImageSignPanel::takePictureProportions(SKTImage &picture)
{
    if (picture._contents && !picture.ctrl_is_locked)
        picture.setBounds(NewObjectFrames::fittedInFrame(NewObjectFrames::pictureSize(*picture._contents),
                                                         picture.bounds()));
}

void ImageSignPanel::Manual_Image_Browse_Btn()
{
    const QString previous = manualImagePath();
    if (!Browse_User_Image_Manually())
        return;
    choosePicture(Library_Selected_Image, previous);
}

void ImageSignPanel::Manual_Library_Browse_Btn()
{
    const QString previous = manualImagePath();
    const std::optional<QString> path =
        m_host.registry().choosePicture(WindowRegistry::PictureShelf::Pictures);
    if (!path)
        return;
    Library_Selected_Image = *path;
    setManualImagePath(Library_Selected_Image);
    choosePicture(Library_Selected_Image, previous);
}

void ImageSignPanel::choosePicture(const QString &path, const QString &previousPath)
{
    const GraphicList pictures =
        PanelEdits::fieldTargets(m_host, PanelEdits::ofKind(SKTGraphic::Kind::Image));
    bool loaded = false;
    PanelEdits::objects(m_host, QStringLiteral("Picture"), pictures,
                        [&] { loaded = loadIntoSelectedPictures(path, previousPath); });
    if (loaded)
        finishEdit(pictures);
}

void ImageSignPanel::Reset_Image_Editing_Controls()
{
    ImageTab &i = *m_image;
    i.Rotate_slidr->setValue(0);
    i.Trsp_slidr->setValue(100);
    i.Hue_slidr->setValue(0);
    i.Sat_slidr->setValue(1);
    i.Brt_slidr->setValue(0);
    i.Con_slidr->setValue(1);
    i.shrp_slidr->setValue(0);
    i.ev_slidr->setValue(0);
    i.blr_slidr->setValue(0);
    for (QCheckBox *box :
         {i.Image_Gray_Scale_chk, i.Image_Sepia_chk, i.Image_Invert_chk, i.Image_FIV_chk, i.Image_FIH_chk})
        box->setChecked(false);
}

void ImageSignPanel::Image_reset_Button()
{
    if (!Show_YES_NO_MessageBox(ResetQuestion))
        return;
    Reset_Image_Editing_Controls();
    // Every adjustment and flip of each selected picture goes back to its start.
    const ImageTab &i = *m_image;
    writeField(QStringLiteral("Reset Picture"),
               {PanelEdits::ofKind(SKTGraphic::Kind::Image), [&i](SKTGraphic &g) {
                    setFlip(g, SKTImageIsFlippedHorizontallyKey, g._isFlippedHorizontally, false);
                    setFlip(g, SKTImageIsFlippedVerticallyKey, g._isFlippedVertically, false);
                    g.invert_clr = g.gray_Scale = g.Sepia = false;
                    g.img_trnsp_val = float(i.Trsp_slidr->value());
                    g.rotate_image = float(i.Rotate_slidr->value());
                    g.hue_val = float(i.Hue_slidr->value());
                    g.sat_val = float(i.Sat_slidr->value());
                    g.brt_val = float(i.Brt_slidr->value());
                    g.con_val = float(i.Con_slidr->value());
                    g.srp_val = float(i.shrp_slidr->value());
                    g.ev_val = float(i.ev_slidr->value());
                    g.blr_val = float(i.blr_slidr->value());
                }});
}

void ImageSignPanel::Image_Border_ChkBox()
{
    SetObjEnabled(m_image->Image_Border_Box, ticked(m_image->Image_border_chk));
}

// --- signature actions ---

void ImageSignPanel::Sign_Browse_Btn()
{
    // The panel offers both spellings; a chosen file counts by its suffix in any case.
    const std::optional<QString> path = FilePanels::instance().openFile(
        &m_host.inspectorWindow(),
        m_signIsFingerprint ? QStringLiteral("Choose Fingerprint") : QStringLiteral("Choose Signature"),
        {QStringLiteral("png"), QStringLiteral("PNG")});
    if (!path)
        return;
    if (QFileInfo(*path).suffix().compare(QLatin1String("png"), Qt::CaseInsensitive) != 0) {
        Show_MessageBox(NotPngMessage);
        return;
    }
    if (const QString error = PictureReader::probe(*path); !error.isEmpty()) {
        Show_MessageBox(PictureReader::userMessage(*path, error));
        return;
    }
    m_sign->Sign_image_path->setText(*path);
    writeField(QStringLiteral("Signature Picture"), {PanelEdits::ofKind(SKTGraphic::Kind::Signature),
                                                     [file = *path](SKTGraphic &g) { g._file_path = file; }});
}

void ImageSignPanel::Sign_Border_ChkBox()
{
    SetObjEnabled(m_sign->Sign_Border_Box, ticked(m_sign->Sign_border_chk));
}

// --- loading ---

void ImageSignPanel::loadFrom(const SKTGraphic &g)
{
    if (g.kind() == SKTGraphic::Kind::Signature) {
        m_signIsFingerprint = g.Sign_Or_FP_Val() == SignatureCode::Fingerprint;
        SignTab &s = *m_sign;
        s.Sign_border_chk->setChecked(g._isDrawingStroke);
        loadWidth(s.Sign_bor_Stepper, g._strokeWidth);
        s.Sign_bordr_clr->setColor(g._strokeColor.value_or(s.Sign_bordr_clr->color()));
        loadBorderStyle(s.Sign_border_style, g._stroke_border_type);
        SetObjEnabled(s.Sign_Border_Box, g._isDrawingStroke);
        s.Sign_image_path->setText(g.FilePath());
        return;
    }
    ImageTab &i = *m_image;
    showPictureFile(g);
    i.Image_border_chk->setChecked(g._isDrawingStroke);
    loadWidth(i.Image_bor_Stepper, g._strokeWidth);
    i.Image_bordr_clr->setColor(g._strokeColor.value_or(i.Image_bordr_clr->color()));
    loadBorderStyle(i.Image_border_style, g._stroke_border_type);
    SetObjEnabled(i.Image_Border_Box, g._isDrawingStroke);
    i.Rotate_slidr->setValue(g.rotate_image);
    i.Trsp_slidr->setValue(g.img_trnsp_val);
    i.Hue_slidr->setValue(g.hue_val);
    i.Sat_slidr->setValue(g.sat_val);
    i.Brt_slidr->setValue(g.brt_val);
    i.Con_slidr->setValue(g.con_val);
    i.shrp_slidr->setValue(g.srp_val);
    i.ev_slidr->setValue(g.ev_val);
    i.blr_slidr->setValue(g.blr_val);
    i.Image_Gray_Scale_chk->setChecked(g.gray_Scale);
    i.Image_Sepia_chk->setChecked(g.Sepia);
    i.Image_Invert_chk->setChecked(g.invert_clr);
    i.Image_FIV_chk->setChecked(g._isFlippedVertically);
    i.Image_FIH_chk->setChecked(g._isFlippedHorizontally);
}
