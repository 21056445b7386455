#include "profile/DocumentPlacementSide.h"

#include "foundation/MessageBoxes.h"
#include "model/SKTDocument.h"
#include "model/SKTImage.h"
#include "profile/User_Profile_Class.h"

#include <QFileInfo>

namespace
{
bool isTextOrPicture(const GraphicPtr &g)
{
    return g && (g->kind() == SKTGraphic::Kind::Text || g->kind() == SKTGraphic::Kind::Image);
}
} // namespace

DocumentPlacementSide::DocumentPlacementSide(SKTDocument &document, int side, Picture noImage)
    : m_document(document), m_side(side), m_noImage(std::move(noImage))
{
}

void DocumentPlacementSide::Hide_all_Text_control_FUP_Control()
{
    for (const GraphicPtr &g : m_document.list(m_side)) {
        if (isTextOrPicture(g) && User_Profile_Class::indexOfId(g->control_ID.value_or(QString())) >= 0)
            g->Set_Ctrl_Is_Visible(false);
    }
}

GraphicList DocumentPlacementSide::objects() const
{
    return m_document.list(m_side);
}

GraphicPtr DocumentPlacementSide::Selcect_Ctrl_With_ID(const QString &ctrl_ID)
{
    for (const GraphicPtr &g : m_document.list(m_side)) {
        if (isTextOrPicture(g) && g->control_ID.value_or(QString()) == ctrl_ID)
            return g;
    }
    return nullptr;
}

GraphicPtr DocumentPlacementSide::make(SKTGraphic::Kind graphicClass, const QRectF &frame,
                                       const QString &ctrl_value, const QString &ctrl_ID) const
{
    GraphicPtr g;
    if (graphicClass == SKTGraphic::Kind::Image && m_tool == PictureTool) {
        if (QFileInfo(ctrl_value).isFile())
            g = SKTImage::initWithPath(frame.topLeft(), ctrl_value);
        else
            g = SKTImage::initWithPosition(frame.topLeft(), m_noImage);
    } else {
        g = SKTGraphic::create(graphicClass);
        if (graphicClass == SKTGraphic::Kind::Text && !ctrl_value.isEmpty()) {
            g->Text_Value = ctrl_value;
            g->_isDrawingStroke = false;
            g->_isDrawingFill = false;
        }
    }
    g->control_ID = ctrl_ID;
    g->setBounds(frame);
    return g;
}

GraphicPtr DocumentPlacementSide::ReplaceGraphicText(SKTGraphic::Kind graphicClass, bool use_rect,
                                                     const QRectF &bound_rect, const QString &card_side,
                                                     const QString &ctrl_value, const QString &ctrl_ID)
{
    Q_UNUSED(card_side);
    if (const GraphicPtr found = Selcect_Ctrl_With_ID(ctrl_ID)) {
        found->takePlacedValue(graphicClass, ctrl_value);
        return found;
    }
    // Without a frame there is nothing to place: a 0 x 0 object would be taken back at once.
    if (!use_rect || (bound_rect.width() == 0 && bound_rect.height() == 0))
        return nullptr;
    const GraphicPtr g = make(graphicClass, bound_rect, ctrl_value, ctrl_ID);
    m_document.insertGraphicsIntoSide(m_side, {g}, {0});
    return g;
}
