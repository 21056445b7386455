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

ImageSignPanel::ImageSignPanel(InspectorHost &host)
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
    // Their place is the data-source page's box; until one exists they sit on the picture page.
    if (auto *box = host.inspectorWindow().findChild<QGroupBox *>(QStringLiteral("manual_brws_box"));
        box && box->layout())
        attachManualControls(box);
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

void ImageSignPanel::connectControls()
{
    ImageTab &i = *m_image;
    SignTab &s = *m_sign;
    const auto image = [this] { Update_Image_Graphics(); };
    const auto sign = [this] { Update_Sign_Graphics(); };
    onEdit(i.Image_border_chk, &QCheckBox::clicked, QStringLiteral("Border"),
           [this] { Image_Border_ChkBox(); });
    onEdit(i.Image_bordr_clr, &ColorWell::colorPicked, QStringLiteral("Border Colour"), image);
    onEdit(i.Image_bor_Stepper, &StepperField::userChanged, QStringLiteral("Border Width"), image,
           Merge::WhilePressed);
    onEdit(i.Image_border_style, &QComboBox::activated, QStringLiteral("Border Style"), image);
    const std::pair<QCheckBox *, const char *> boxes[] = {{i.Image_FIH_chk, "Flip Horizontally"},
                                                          {i.Image_FIV_chk, "Flip Vertically"},
                                                          {i.Image_Invert_chk, "Invert"},
                                                          {i.Image_Gray_Scale_chk, "Grey Scale"},
                                                          {i.Image_Sepia_chk, "Sepia"}};
    for (const auto &[box, name] : boxes)
        onEdit(box, &QCheckBox::clicked, QString::fromLatin1(name), image);
    const std::pair<FloatSlider *, const char *> sliders[] = {
        {i.Rotate_slidr, "Rotation"}, {i.Trsp_slidr, "Transparency"}, {i.Hue_slidr, "Hue"},
        {i.Sat_slidr, "Saturation"},  {i.Brt_slidr, "Brightness"},    {i.Con_slidr, "Contrast"},
        {i.shrp_slidr, "Sharpness"},  {i.ev_slidr, "Exposure"},       {i.blr_slidr, "Blur"}};
    for (const auto &[slider, name] : sliders)
        onEdit(slider, &FloatSlider::userChanged, QString::fromLatin1(name), image, Merge::WhilePressed);
    onEdit(i.Image_reset_Button, &QPushButton::clicked, QStringLiteral("Reset Picture"),
           [this] { Image_reset_Button(); });
    onEdit(manual_browse_btn, &QPushButton::clicked, QStringLiteral("Picture"),
           [this] { Manual_Image_Browse_Btn(); });
    onEdit(manual_library_btn, &QPushButton::clicked, QStringLiteral("Picture"),
           [this] { Manual_Library_Browse_Btn(); });
    onEdit(s.Sign_border_chk, &QCheckBox::clicked, QStringLiteral("Border"),
           [this] { Sign_Border_ChkBox(); });
    onEdit(s.Sign_bordr_clr, &ColorWell::colorPicked, QStringLiteral("Border Colour"), sign);
    onEdit(s.Sign_bor_Stepper, &StepperField::userChanged, QStringLiteral("Border Width"), sign,
           Merge::WhilePressed);
    onEdit(s.Sign_border_style, &QComboBox::activated, QStringLiteral("Border Style"), sign);
    onEdit(s.Sign_Browse_Btn, &QPushButton::clicked, QStringLiteral("Signature Picture"),
           [this] { Sign_Browse_Btn(); });
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
    for (const GraphicPtr &g : editTargets()) {
        if (g.get() == picture)
            continue;
        if (auto *other = dynamic_cast<SKTImage *>(g.get())) {
            if (other->loadFile(path).isEmpty()) // the file the current picture has just read
                takePictureProportions(*other);
        } else {
            g->_file_path = path;
        }
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
    if (!loadIntoSelectedPictures(Library_Selected_Image, previous))
        return;
    Update_Image_Graphics();
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
    if (!loadIntoSelectedPictures(Library_Selected_Image, previous))
        return;
    Update_Image_Graphics();
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
    Update_Image_Graphics();
}

void ImageSignPanel::Image_Border_ChkBox()
{
    SetObjEnabled(m_image->Image_Border_Box, ticked(m_image->Image_border_chk));
    Update_Image_Graphics();
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
    Update_Sign_Graphics();
}

void ImageSignPanel::Sign_Border_ChkBox()
{
    SetObjEnabled(m_sign->Sign_Border_Box, ticked(m_sign->Sign_border_chk));
    Update_Sign_Graphics();
}

// --- write-back ---

namespace
{
void setFlip(SKTGraphic &g, const QString &key, bool &field, bool wanted)
{
    if (field == wanted)
        return;
    // Pictures flip through their undoable key; other kinds only keep the flag.
    if (!g.setValueForKey(key, wanted))
        field = wanted;
}
} // namespace

void ImageSignPanel::Update_Image_Graphics()
{
    const GraphicList targets = editTargets();
    if (targets.isEmpty())
        return;
    // The file is no setting of the page: only a picture chosen for the selection changes it, so a
    // slider or box over several pictures leaves each its own.
    const ImageTab &i = *m_image;
    for (const GraphicPtr &g : targets) {
        g->print_object = printObjectValue();
        writeBorder(*g, ticked(i.Image_border_chk), i.Image_bordr_clr->color(),
                    int(i.Image_bor_Stepper->value()), i.Image_border_style->currentIndex());
        setFlip(*g, SKTImageIsFlippedHorizontallyKey, g->_isFlippedHorizontally, ticked(i.Image_FIH_chk));
        setFlip(*g, SKTImageIsFlippedVerticallyKey, g->_isFlippedVertically, ticked(i.Image_FIV_chk));
        g->invert_clr = ticked(i.Image_Invert_chk);
        g->gray_Scale = ticked(i.Image_Gray_Scale_chk);
        g->Sepia = ticked(i.Image_Sepia_chk);
        g->img_trnsp_val = float(i.Trsp_slidr->value());
        g->rotate_image = float(i.Rotate_slidr->value());
        g->hue_val = float(i.Hue_slidr->value());
        g->sat_val = float(i.Sat_slidr->value());
        g->brt_val = float(i.Brt_slidr->value());
        g->con_val = float(i.Con_slidr->value());
        g->srp_val = float(i.shrp_slidr->value());
        g->ev_val = float(i.ev_slidr->value());
        g->blr_val = float(i.blr_slidr->value());
    }
    finishEdit(targets);
}

void ImageSignPanel::Update_Sign_Graphics()
{
    const GraphicList targets = editTargets();
    if (targets.isEmpty())
        return;
    const SignTab &s = *m_sign;
    for (const GraphicPtr &g : targets) {
        g->print_object = printObjectValue();
        writeBorder(*g, ticked(s.Sign_border_chk), s.Sign_bordr_clr->color(),
                    int(s.Sign_bor_Stepper->value()), s.Sign_border_style->currentIndex());
        g->_file_path = s.Sign_image_path->text();
    }
    finishEdit(targets);
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
    setManualImagePath(g.FilePath());
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
