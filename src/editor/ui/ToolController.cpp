#include "editor/ui/ToolController.h"

#include "canvas/ui/SKTGraphicView.h"
#include "editor/ui/SKTWindowController.h"
#include "editor/ui/SideViews.h"
#include "editor/ui/UndoStepNames.h"
#include "foundation/CardCodes.h"
#include "foundation/MessageBoxes.h"
#include "foundation/WindowRegistry.h"
#include "foundation/ui/FilePanels.h"
#include "model/ModelGlobals.h"
#include "panels/ui/Inspector.h"
#include "platform/PictureReader.h"

#include <QEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace
{
const char *const Titles[] = {
    "Arrow",       "Line",    "Text",        "Rectangle",       "Circle",  "Rounded Rectangle",
    "Triangle",    "Diamond", "Picture",     "Library Picture", "Barcode", "Signature",
    "Fingerprint", "Star",    "Double Star", "Polygon"};
const char *const ButtonNames[] = {
    "Arrow_Tool",         "Line_Tool",          "Text_Tool",        "Rect_Tool",
    "Circle_Tool",        "Round_Rect_Tool",    "Triangle_Tool",    "Diamond_Tool",
    "Image_Tool",         "Image_Library_Tool", "Barcode_Tool",     "Signature_Tool",
    "Fingure_Print_Tool", "Star_Tool",          "Double_Star_Tool", "Polygon_Tool"};
} // namespace

ToolController::ToolController(SKTWindowController &window, QWidget *buttonParent)
    : QObject(&window), m_window(window), m_bar(new QWidget(buttonParent))
{
    m_bar->setObjectName(QStringLiteral("tool_bar"));
    auto *layout = new QVBoxLayout(m_bar);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(1);
    for (int tool = 0; tool < ToolCount; ++tool) {
        auto *b = new QToolButton(m_bar);
        b->setObjectName(QString::fromLatin1(ButtonNames[tool]));
        b->setText(toolTitle(tool));
        b->setToolTip(toolTitle(tool));
        b->setFocusPolicy(Qt::NoFocus);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        layout->addWidget(b);
        m_buttons << b;
        b->installEventFilter(this);
        connect(b, &QToolButton::clicked, this, [this, tool] { Select_tool(tool); });
    }
    connect(this, &ToolController::selectedToolChanged, this, &ToolController::selectedToolDidChange);
}

bool ToolController::eventFilter(QObject *watched, QEvent *event)
{
    // Each click makes an object at once. The second click of a double-click (its press comes with
    // the double-click notice) lets go of the button without clicking it: no second object.
    if (event->type() == QEvent::MouseButtonDblClick) {
        m_doubleClicked = watched;
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease && m_doubleClicked == watched) {
        m_doubleClicked = nullptr;
        if (auto *button = qobject_cast<QAbstractButton *>(watched))
            button->setDown(false);
        return true;
    }
    return QObject::eventFilter(watched, event);
}

QString ToolController::toolTitle(int tool)
{
    return tool >= 0 && tool < ToolCount ? QString::fromLatin1(Titles[tool]) : QString();
}

std::optional<SKTGraphic::Kind> ToolController::graphicClassForTool(int tool)
{
    using K = SKTGraphic::Kind;
    switch (tool) {
    case 1:
        return K::Line;
    case 2:
        return K::Text;
    case 3:
    case 4:
    case 5:
    case 6:
    case 7:
    case 13:
    case 14:
    case 15:
        return K::Shape;
    case 8:
    case 9:
        return K::Image;
    case 10:
        return K::Barcode;
    case 11:
    case 12: // a signature object of the fingerprint kind, with the shipped fingerprint picture
        return K::Signature;
    default: // the arrow and unknown numbers
        return std::nullopt;
    }
}

std::optional<SKTGraphic::Kind> ToolController::currentGraphicClass() const
{
    return graphicClassForTool(m_tool);
}

void ToolController::Select_tool(int tool)
{
    m_tool = tool;
    Select_tool_action();
}

void ToolController::Select_tool_action()
{
    emit selectedToolChanged();
    m_window.Refresh_Canvas();
    // The arrow keeps the selection as it is (all of it after Select All) and shows it.
    m_window.inspector().showLiveSelection();
}

void ToolController::selectArrowTool()
{
    m_tool = 0;
    emit selectedToolChanged();
}

void ToolController::selectedToolDidChange()
{
    QRectF rect(0, 0, 50, 50);
    const std::optional<SKTGraphic::Kind> kind = currentGraphicClass();
    if (!kind)
        return;
    if (*kind == SKTGraphic::Kind::Image) {
        if (m_tool == 8) {
            const std::optional<QString> path = FilePanels::instance().openFile(
                &m_window, QStringLiteral("Choose a Picture"),
                {"jpg", "jpeg", "jpe", "jfif", "gif", "bmp", "png", "tif", "tiff"});
            if (!path)
                return;
            Library_Selected_Image = *path;
        } else if (m_tool == 9) {
            const std::optional<QString> path =
                m_window.registry().choosePicture(WindowRegistry::PictureShelf::Pictures);
            if (!path)
                return;
            Library_Selected_Image = *path;
        }
        // A picture that cannot be used makes no empty object; the user hears why.
        const QString error =
            m_tool == 8 || m_tool == 9 ? PictureReader::probe(Library_Selected_Image) : QString();
        if (!error.isEmpty()) {
            Show_MessageBox(PictureReader::userMessage(Library_Selected_Image, error));
            return;
        }
    }
    if (*kind == SKTGraphic::Kind::Barcode && m_tool == 10)
        rect.setSize(QSizeF(120, 60));
    if (*kind == SKTGraphic::Kind::Signature && m_tool == 11)
        rect.setSize(QSizeF(100, 50));
    const bool back = m_window.Card_Front_Or_Back() != 0;
    GraphicPtr made;
    runNamedUndoStep(m_window.document().undoManager(), QStringLiteral("New ") + toolTitle(m_tool), [&] {
        made = m_window.sideViews().liveCanvas()->createGraphicOfClass(
            *kind, true, rect, back ? SideCode::Back : SideCode::Front, QString(), QString());
    });
    // A new text is made to be typed into: its words take the keyboard.
    if (made && *kind == SKTGraphic::Kind::Text)
        m_window.editTextOf(made);
}
