#include "profile/ui/UserProfileCommands.h"

#include "canvas/ui/SKTGraphicView.h"
#include "data/ExcelBindingTable.h"
#include "foundation/CardCodes.h"
#include "foundation/MessageBoxes.h"
#include "foundation/StringUtils.h"
#include "foundation/WindowRegistry.h"
#include "model/Card_Property.h"
#include "model/EditStep.h"
#include "model/SKTDocument.h"
#include "profile/PersonalDetailsPlacement.h"
#include "profile/ProfileState.h"
#include "profile/ui/ProfileHost.h"
#include "profile/ui/Show_User_Profile.h"
#include "profile/ui/User_profile.h"

namespace
{
// A canvas of the main window as the placement sees it.
class CanvasSide : public PersonalDetailsPlacement::Side
{
public:
    CanvasSide(SKTGraphicView &view, ProfileHost &host) : m_view(view), m_host(host) {}
    void Hide_all_Text_control_FUP_Control() override { m_view.Hide_all_Text_control_FUP_Control(); }
    GraphicPtr Selcect_Ctrl_With_ID(const QString &ctrl_ID) override
    {
        return m_view.Selcect_Ctrl_With_ID(ctrl_ID);
    }
    GraphicPtr ReplaceGraphicText(SKTGraphic::Kind graphicClass, bool use_rect, const QRectF &bound_rect,
                                  const QString &card_side, const QString &ctrl_value,
                                  const QString &ctrl_ID) override
    {
        return m_view.ReplaceGraphicText(graphicClass, use_rect, bound_rect, card_side, ctrl_value, ctrl_ID);
    }
    void setToolCode(int tool) override { m_host.setToolCode(tool); }
    GraphicList objects() const override { return m_view.graphics(); }

private:
    SKTGraphicView &m_view;
    ProfileHost &m_host;
};
} // namespace

void UserProfileCommands::fillRegistry(ProfileHost &host, WindowRegistry &registry)
{
    ProfileHost *w = &host;
    // The editor names a side and starts from what is on it; the wizards name none and start empty.
    registry.fill(WindowRegistry::Window::UserProfile, [w](const QString &side) {
        const qint8 flag = Trim_Str(side).isEmpty() ? 0 : 1;
        return UserProfileCommands(*w).Open_User_Profile_Window(flag, side);
    });
    registry.fill(WindowRegistry::Window::FillUserProfile, [w](const QString &side) {
        UserProfileCommands(*w).Fill_User_profile_info_side(
            Trim_Str(side) == SideCode::Back ? SKTDocument::Back : SKTDocument::Front);
        return 1;
    });
}

User_profile *UserProfileCommands::dialog(bool editorTime) const
{
    ProfileHost *w = &m_host;
    QWidget *parent = &m_host.profileWindow();
    if (editorTime)
        return w->registry().instance<Show_User_Profile>(
            [w, parent] { return new Show_User_Profile(*w, parent); });
    return w->registry().instance<User_profile>([w, parent] { return new User_profile(*w, parent); });
}

int UserProfileCommands::Open_User_Profile_Window(qint8 flag, const QString &load_side)
{
    const QString side = Trim_Str(load_side);
    User_profile *d = dialog(!side.isEmpty());
    d->load_side = side;
    const int result = d->Open_Wnd(flag);
    if (result == 1)
        ProfileState::instance().Fill_User_Profile = 1;
    return result;
}

void UserProfileCommands::forgetAcceptedDetails()
{
    ProfileState::instance().Fill_User_Profile = 0;
}

// The front card's size decides the orientation for every side.
QSizeF UserProfileCommands::frontCardSize() const
{
    return m_host.document().design().cardSize();
}

QRectF UserProfileCommands::Get_Control_Rect_From_Template(const QString &ctrl_ID) const
{
    return PersonalDetailsPlacement::Get_Control_Rect_From_Template(ctrl_ID, frontCardSize());
}

void UserProfileCommands::Fill_User_profile_info_side(int side)
{
    // The "Excel" source follows the workbook through the design's own notice.
    if (side != SKTDocument::Temp && ProfileState::instance().Fill_User_Profile == 0)
        return;
    const User_Profile_Class &record = side == SKTDocument::Back   ? m_host.userProfile(1)
                                       : side == SKTDocument::Temp ? m_host.userProfile(2)
                                                                   : m_host.userProfile(0);
    CanvasSide canvas(*m_host.sideCanvas(side), m_host);
    // Placing is one step: the objects it writes into are put back, those it made are taken away,
    // and the workbook the dialog bound, with its rows, gives way to the one it opened with.
    SKTDocument &doc = m_host.document();
    EditStates before{GraphicStates::of(doc.list(side))};
    if (side != SKTDocument::Temp) {
        for (User_profile *d : {static_cast<User_profile *>(m_host.registry().existing<Show_User_Profile>()),
                                m_host.registry().existing<User_profile>()})
            if (std::shared_ptr<const EditState> opened = d ? d->takeOpenedDesign() : nullptr)
                before.push_back(opened);
    }
    PersonalDetailsPlacement::Report report;
    {
        const EditStep step(doc, {QStringLiteral("Personal Details"), side, {}}, std::move(before));
        report = PersonalDetailsPlacement::place(record, canvas, frontCardSize());
    }
    // Said once the step is complete, the objects drawn where they went; the dialog's own preview
    // shows it.
    const QString crowded = PersonalDetailsPlacement::crowdedText(report);
    if (side != SKTDocument::Temp && !crowded.isEmpty())
        Show_MessageBox(crowded);
}

void UserProfileCommands::Temp_Design_Copy_Assign()
{
    SKTDocument &doc = m_host.document();
    m_host.sideCanvas(SKTDocument::Temp)->delete_all_control();
    const GraphicList &source = doc.list(m_host.Card_Front_Or_Back());
    GraphicList copies;
    QList<int> indexes;
    for (const GraphicPtr &g : source) {
        if (!g)
            continue;
        indexes << int(copies.size());
        copies << g->clone();
    }
    if (!copies.isEmpty())
        doc.insertGraphicsIntoSide(SKTDocument::Temp, copies, indexes);
    m_host.sideCanvas(SKTDocument::Temp)->update();
}
