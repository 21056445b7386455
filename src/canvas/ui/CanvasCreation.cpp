#include "canvas/ui/CanvasCreation.h"

#include "canvas/NewObjectFrames.h"
#include "canvas/PastedPictures.h"
#include "canvas/ui/CanvasAssertion.h"
#include "canvas/ui/CanvasHost.h"
#include "canvas/ui/SKTGraphicView.h"
#include "foundation/CardCodes.h"
#include "foundation/DataRoot.h"
#include "foundation/MessageBoxes.h"
#include "model/GraphicInk.h"
#include "model/ModelGlobals.h"
#include "model/SKTBarcode.h"
#include "model/SKTDocument.h"
#include "model/SKTGrid.h"
#include "model/SKTImage.h"
#include "model/SKTSignature.h"
#include "output/OwnBarcodePicture.h"
#include "platform/PictureReader.h"
#include "platform/UndoManager.h"

#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QMimeData>
#include <QUrl>

#include <algorithm>

namespace
{
QString shapeCodeForTool(int tool)
{
    switch (tool) {
    case 3:
        return ShapeCode::Rectangle;
    case 4:
        return ShapeCode::Circle;
    case 5:
        return ShapeCode::RoundedRectangle;
    case 6:
        return ShapeCode::Triangle;
    case 7:
        return ShapeCode::Diamond;
    case 13:
        return ShapeCode::Star;
    case 14:
        return ShapeCode::DoubleStar;
    case 15:
        return ShapeCode::Polygon;
    default:
        return QString();
    }
}

constexpr int TextAlignmentRight = 1;
constexpr int TextAlignmentCentre = 2;
} // namespace

CanvasCreation::CanvasCreation(SKTGraphicView &view) : m_view(view) {}

const QStringList &CanvasCreation::personalDetailIdentifiers()
{
    static const QStringList ids = {
        QStringLiteral("Fup_Name"),          QStringLiteral("Fup_Title"),   QStringLiteral("Fup_Company"),
        QStringLiteral("Fup_CompanySlogan"), QStringLiteral("Fup_Address"), QStringLiteral("Fup_PhoneNO"),
        QStringLiteral("Fup_FaxNo"),         QStringLiteral("Fup_EmailID"), QStringLiteral("Fup_Website"),
        QStringLiteral("Fup_UniqueNo"),      QStringLiteral("Fup_Photo")};
    return ids;
}

bool CanvasCreation::isTextOrPicture(const GraphicPtr &graphic)
{
    return graphic &&
           (graphic->kind() == SKTGraphic::Kind::Text || graphic->kind() == SKTGraphic::Kind::Image);
}

// --- making the object ---

GraphicPtr CanvasCreation::makeGraphic(SKTGraphic::Kind graphicClass, const QPointF &origin,
                                       const QString &ctrl_value, const QString &ctrl_ID) const
{
    const CanvasHost &host = m_view.host();
    const int tool = host.Selected_Control_Tool();
    const QString &picturePath = ModelGlobals::instance().Library_Selected_Image;
    switch (tool) {
    case 8:
        if (QFileInfo(picturePath).isFile())
            return SKTImage::initWithPath(origin, picturePath);
        return SKTImage::initWithPosition(origin, host.no_image());
    case 9:
        return SKTImage::initWithPath(origin, picturePath);
    case 10:
        // Drawn from its own settings from the start, as the barcode window keeps its pictures.
        return SKTBarcode::initWithPosition(origin,
                                            OwnBarcodePicture::stored(SKTBarcode()).value_or(Picture()));
    case 11:
        return SKTSignature::initWithPosition(origin, host.sign_sample_img(), SignatureCode::Signature);
    case 12:
        return SKTSignature::initWithPosition(origin, host.fp_sample_img(), SignatureCode::Fingerprint);
    default:
        break;
    }
    GraphicPtr g = SKTGraphic::create(graphicClass);
    if (graphicClass == SKTGraphic::Kind::Text) {
        if (!ctrl_value.isEmpty()) {
            g->Text_Value = ctrl_value;
            g->_isDrawingStroke = false;
            g->_isDrawingFill = false;
            if (ctrl_ID.contains(QLatin1String("PARTY_"))) {
                static const QStringList centred = {
                    QStringLiteral("PARTY_TITLE"), QStringLiteral("PARTY_DATE"), QStringLiteral("PARTY_TIME"),
                    QStringLiteral("PARTY_VENUE"), QStringLiteral("PARTY_MARRINGE_INFO")};
                if (centred.contains(ctrl_ID))
                    g->text_alignmnet = TextAlignmentCentre;
                else if (ctrl_ID == QLatin1String("PARTY_FROM"))
                    g->text_alignmnet = TextAlignmentRight;
                if (ctrl_ID == QLatin1String("PARTY_TITLE") ||
                    ctrl_ID == QLatin1String("PARTY_MARRINGE_INFO"))
                    g->text_ctrl_font = FontDescriptor{QStringLiteral("TimesNewRomanPS-BoldItalicMT"), 18.0};
            }
        }
    } else if (const QString code = shapeCodeForTool(tool); !code.isEmpty()) {
        g->Set_Shape_Type(code);
    }
    return g;
}

GraphicPtr CanvasCreation::start(SKTGraphic::Kind graphicClass, const QRectF &frame,
                                 const QString &ctrl_value, const QString &ctrl_ID, bool onCard)
{
    if (!canvasCheck(m_view.document() != nullptr,
                     "An SKTGraphicView's 'graphics' property is not bound to anything."))
        return nullptr;
    UndoManager &undo = m_view.document()->undoManager();
    m_savedGroupsByEvent = undo.groupsByEvent();
    undo.setGroupsByEvent(false);
    undo.beginUndoGrouping();
    m_undoCountAtStart = undo.undoCount();
    m_view.changeSelectionIndexes({});

    GraphicPtr g = makeGraphic(graphicClass, frame.topLeft(), ctrl_value, ctrl_ID);
    g->control_ID = ctrl_ID;
    g->setBounds(onCard ? frameOnCard(*g, frame) : frame);
    m_view._creatingGraphic = g;
    m_view.insertGraphics({g}, {0});
    return g;
}

QRectF CanvasCreation::frameOnCard(const SKTGraphic &graphic, QRectF frame) const
{
    // A picture tool's object starts at its picture's size, in its proportions.
    const int tool = m_view.host().Selected_Control_Tool();
    if (graphic.kind() == SKTGraphic::Kind::Image && (tool == 8 || tool == 9)) {
        const auto &image = static_cast<const SKTImage &>(graphic);
        if (image._contents && !image._contents->size().isEmpty())
            frame.setSize(NewObjectFrames::pictureSize(*image._contents));
    }
    // A barcode draws at its picture's own size: its frame is that size, as the barcode window
    // leaves it.
    if (graphic.kind() == SKTGraphic::Kind::Barcode && graphic._barcode_image &&
        !graphic._barcode_image->size().isEmpty())
        frame.setSize(graphic._barcode_image->size());
    const QSizeF card = m_view.cardSize();
    frame = NewObjectFrames::cascaded(frame, card);
    // Where nothing is drawn yet, so it neither hides nor is hidden; on a full card at the
    // new-object place, over what is there.
    QList<QRectF> taken;
    for (const GraphicPtr &g : m_view.graphics())
        if (g && g->ctrl_is_visible)
            taken << GraphicInk::drawnBox(*g);
    const std::optional<QRectF> clear = NewObjectFrames::clearOf(frame, card, taken, m_view.grid());
    return clear ? *clear : NewObjectFrames::snapped(frame, m_view.grid(), card);
}

void CanvasCreation::beginCreation(SKTGraphic::Kind graphicClass, const QPointF &point,
                                   const QString &card_side)
{
    Q_UNUSED(card_side);
    const SKTGrid *grid = m_view.grid();
    const QPointF origin = grid ? grid->constrainedPoint(point) : point;
    start(graphicClass, QRectF(origin, QSizeF(0, 0)), QString(), QString(), false);
}

void CanvasCreation::finishCreation()
{
    const GraphicPtr g = m_view._creatingGraphic;
    if (!g || !m_view.document())
        return;
    UndoManager &undo = m_view.document()->undoManager();
    const int index = m_view.indexOfGraphic(g);
    if (g->bounds().width() == 0 && g->bounds().height() == 0) {
        undo.endUndoGrouping();
        const UndoManager::Unrecorded unrecorded(undo);
        if (undo.undoCount() > m_undoCountAtStart)
            undo.undo();
        else if (index >= 0)
            m_view.removeGraphicsAtIndexes({index}); // a side that records no undo
        m_view.setSelectedGraphic(nullptr);
    } else {
        if (index >= 0)
            m_view.changeSelectionIndexes({index});
        m_view.startEditingGraphic(g);
        undo.endUndoGrouping();
        m_view.setSelectedGraphic(g);
    }
    undo.setGroupsByEvent(m_savedGroupsByEvent);
    m_view._creatingGraphic.reset();
    m_view.setNeedsDisplayInRect(g->drawingBounds());
}

GraphicPtr CanvasCreation::createGraphicOfClass(SKTGraphic::Kind graphicClass, bool use_rect,
                                                const QRectF &bound_rect, const QString &card_side,
                                                const QString &ctrl_value, const QString &ctrl_ID)
{
    // A frame given with an identifier (personal details, invitation texts) stays where its
    // caller laid it out; every other new object starts at the next new-object place, on the card.
    const bool laidOut = use_rect && !ctrl_ID.isEmpty();
    QRectF frame = use_rect ? bound_rect : QRectF(QPointF(), QSizeF(50, 50));
    if (laidOut)
        frame = NewObjectFrames::snapped(frame, m_view.grid(), m_view.cardSize());
    else
        frame.moveTopLeft(m_view.host().Control_New_Point(card_side));
    const GraphicPtr g = start(graphicClass, frame, ctrl_value, ctrl_ID, !laidOut);
    if (!g)
        return nullptr;
    finishCreation();
    return m_view.selectedGraphic();
}

// --- by identifier ---

GraphicPtr CanvasCreation::ReplaceGraphicText(SKTGraphic::Kind graphicClass, bool use_rect,
                                              const QRectF &bound_rect, const QString &card_side,
                                              const QString &ctrl_value, const QString &ctrl_ID)
{
    const GraphicPtr found = Selcect_Ctrl_With_ID(ctrl_ID);
    if (!found)
        return createGraphicOfClass(graphicClass, use_rect, bound_rect, card_side, ctrl_value, ctrl_ID);
    found->takePlacedValue(graphicClass, ctrl_value);
    m_view.startEditingGraphic(found);
    m_view.setSelectedGraphic(found);
    m_view.setNeedsDisplayInRect(found->drawingBounds());
    return found;
}

GraphicPtr CanvasCreation::Selcect_Ctrl_With_ID(const QString &ctrl_ID) const
{
    for (const GraphicPtr &g : m_view.graphics()) {
        if (isTextOrPicture(g) && g->control_ID.value_or(QString()) == ctrl_ID)
            return g;
    }
    return nullptr;
}

void CanvasCreation::Hide_all_Text_control_FUP_Control()
{
    const GraphicList all = m_view.graphics();
    for (qsizetype i = all.size() - 1; i >= 0; --i) {
        const GraphicPtr &g = all.at(i);
        if (isTextOrPicture(g) && personalDetailIdentifiers().contains(g->control_ID.value_or(QString()))) {
            g->Set_Ctrl_Is_Visible(false);
            m_view.setNeedsDisplayInRect(g->drawingBounds());
        }
    }
}

void CanvasCreation::delete_all_Text_control()
{
    const GraphicList all = m_view.graphics();
    QList<int> doomed;
    for (int i = 0; i < all.size(); ++i) {
        if (isTextOrPicture(all.at(i)))
            doomed.append(i);
    }
    if (!doomed.isEmpty())
        m_view.removeGraphicsAtIndexes(doomed);
}

void CanvasCreation::delete_all_control()
{
    QList<int> all;
    for (int i = 0; i < m_view.graphics().size(); ++i)
        all.append(i);
    if (!all.isEmpty())
        m_view.removeGraphicsAtIndexes(all);
}

// --- pictures ---

void CanvasCreation::insertPicture(const GraphicPtr &image)
{
    m_view.insertGraphics({image}, {0});
    m_view.changeSelectionIndexes({0});
    m_view.setSelectedGraphic(image);
}

bool CanvasCreation::makeNewImageFromContentsOfFile(const QString &path, const QPointF &point, QString *why)
{
    const QByteArray suffix = QFileInfo(path).suffix().toLower().toLatin1();
    const PictureReader::Result read =
        suffix.isEmpty() || !QImageReader::supportedImageFormats().contains(suffix)
            ? PictureReader::Result{Picture(),
                                    QStringLiteral("it is not a picture in a format this program reads")}
            : PictureReader::readFile(path);
    if (!read.ok()) {
        if (why)
            *why = read.error;
        return false;
    }
    const auto image = SKTImage::initWithPosition(point, read.picture);
    // The object points at its own file, never at the library's last choice.
    image->Set_Control_File_path(QFileInfo(path).absoluteFilePath());
    image->setBounds(
        NewObjectFrames::centred(NewObjectFrames::pictureSize(read.picture), point, m_view.cardSize()));
    insertPicture(image);
    return true;
}

bool CanvasCreation::offersFiles(const QMimeData *mime)
{
    if (!mime || !mime->hasUrls())
        return false;
    const QList<QUrl> urls = mime->urls();
    return std::any_of(urls.begin(), urls.end(), [](const QUrl &url) { return url.isLocalFile(); });
}

bool CanvasCreation::dropFiles(const QMimeData *mime, const QPointF &point)
{
    if (!offersFiles(mime) || !m_view.document())
        return false;
    UndoManager &undo = m_view.document()->undoManager();
    const quint64 before = undo.registrationCount();
    QStringList refused;
    QPointF at = point;
    for (const QUrl &url : mime->urls()) {
        if (!url.isLocalFile())
            continue;
        const QString path = url.toLocalFile();
        QString why;
        if (makeNewImageFromContentsOfFile(path, at, &why))
            at += QPointF(DroppedPictureStep, DroppedPictureStep); // several pictures fan out
        else
            refused << PictureReader::userMessage(path, why);
    }
    const bool made = undo.registrationCount() != before;
    if (made) {
        undo.setActionName(QStringLiteral("Drop Picture"));
        m_view.host().Undo_Redo_Button_state();
        m_view.host().Show_RHS_Properties(m_view.selectedGraphic());
    }
    if (!refused.isEmpty())
        m_view.host().presentError(refused.join(QLatin1Char('\n')));
    return made;
}

bool CanvasCreation::makeNewImageFromPasteboard(const QMimeData *mime, const QPointF &point)
{
    if (!mime || !mime->hasImage())
        return false;
    const QImage pixels = qvariant_cast<QImage>(mime->imageData());
    if (pixels.isNull())
        return false;
    // Only a path is saved with a picture object: the pasted pixels get a file of their own in the
    // data folder first, or the picture would be gone after saving and reopening.
    QString why;
    const QString kept = PastedPictures::keep(pixels, Resource_Path, &why);
    if (kept.isEmpty()) {
        m_view.host().presentError(PastedPictureNotKeptMessage + QLatin1Char('\n') + why);
        return false;
    }
    const auto image = SKTImage::initWithPosition(point, Picture(pixels));
    // The library's last choice, which a new picture object starts with, is not this picture.
    image->Set_Control_File_path(kept);
    // The frame takes the pasted picture's own proportions: the stored picture may have been
    // capped to a size of other proportions, and is drawn stretched into the frame.
    image->setBounds(NewObjectFrames::centred(QSizeF(pixels.size()), point, m_view.cardSize()));
    insertPicture(image);
    return true;
}
