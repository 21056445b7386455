#include "panels/ui/CardPageState.h"

#include "canvas/ui/SKTGraphicView.h"
#include "model/ModelGlobals.h"
#include "panels/CardPageFields.h"
#include "panels/ui/InspectorHost.h"

namespace
{
bool samePage(const Card_Property &a, const Card_Property &b)
{
    // The background picture follows its path, except when it could not be read: compare both.
    const bool samePicture = a.Card_BG_Image.has_value() == b.Card_BG_Image.has_value() &&
                             (!a.Card_BG_Image || a.Card_BG_Image->image() == b.Card_BG_Image->image());
    return samePicture && CardPageFields::sameFields(a, b);
}
} // namespace

CardPageState::CardPageState(InspectorHost &host)
    : m_host(host), m_front(host.cardProperty(0)), m_back(host.cardProperty(1)), m_shape(Card_Shape),
      m_size(host.frontCanvasBounds().size()), m_contentFont(host.All_Text_font())
{
}

std::shared_ptr<const EditState> CardPageState::retake() const
{
    return std::make_shared<CardPageState>(m_host);
}

bool CardPageState::changedSinceTaken() const
{
    return !samePage(m_front, m_host.cardProperty(0)) || !samePage(m_back, m_host.cardProperty(1)) ||
           m_shape != Card_Shape || m_size != m_host.frontCanvasBounds().size() ||
           !(m_contentFont == m_host.All_Text_font());
}

void CardPageState::putBack() const
{
    m_host.cardProperty(0) = m_front;
    m_host.cardProperty(1) = m_back;
    Card_Shape = m_shape;
    if (m_size != m_host.frontCanvasBounds().size()) {
        m_host.Set_Document_Size(m_size);
        m_host.SetDocumentCanvasSize(m_size);
        if (SKTGraphicView *front = m_host.sideCanvas(0))
            front->Refresh_ScrollView();
    }
    m_host.setAllTextFont(m_contentFont);
    m_host.setBackSideEnabled(m_front.isTwoSided());
    m_host.Refresh_Canvas();
}
