#include "profile/PersonalDetailsPlacement.h"

#include "foundation/CardCodes.h"
#include "foundation/MessageBoxes.h"
#include "model/ModelGlobals.h"
#include "platform/GeometryText.h"
#include "profile/PlaceholderFrames.h"
#include "profile/User_Profile_Class.h"

#include <exception>

namespace
{
// The binding a detail hands to its object; a fixed value leaves the object's own settings.
void bind(SKTGraphic &g, const User_Profile_Class::Detail &d)
{
    if (d.ds == 1) {
        g.Set_Data_source_type(DataSourceCode::Series);
        g.Set_Batch_List_Name(d.ds_name);
        g.Set_Batch_List_Index(d.ds_indx);
        g.Set_Excel_binding(false);
    }
    if (d.xl == 1) {
        g.Set_Data_source_type(DataSourceCode::BindingColumn);
        g.Set_Excel_binding(true);
        if (d.xl_col_title.isEmpty())
            g.Set_Excel_binding_Index(d.xl_col_indx);
        else
            g.Set_Excel_binding_Column(d.xl_col_indx, d.xl_col_title);
    }
}

// One detail: reuse the object that carries its identifier, else make one at the default frame.
void placeOne(const User_Profile_Class::Detail &d, SKTGraphic::Kind kind,
              PersonalDetailsPlacement::Side &side, const QSizeF &frontCardSize,
              PersonalDetailsPlacement::Report &report)
{
    const bool reuse = side.Selcect_Ctrl_With_ID(d.id) != nullptr;
    const QRectF frame =
        reuse ? QRectF() : PersonalDetailsPlacement::Get_Control_Rect_From_Template(d.id, frontCardSize);
    const GraphicPtr g = side.ReplaceGraphicText(kind, !reuse, frame, SideCode::Front, d.value, d.id);
    // Only the object this call wrote or made takes the binding: a stale selection must not.
    if (!g) {
        ++report.unbound;
        Show_NSLog_Message(QStringLiteral("No object was made for %1").arg(d.id));
        return;
    }
    ++report.placed;
    bind(*g, d);
}
} // namespace

QRectF PersonalDetailsPlacement::Get_Control_Rect_From_Template(const QString &ctrl_ID,
                                                                const QSizeF &frontCardSize)
{
    return PlaceholderFrames::Get_Control_Rect_From_Template(ctrl_ID, frontCardSize);
}

PersonalDetailsPlacement::Report PersonalDetailsPlacement::place(const User_Profile_Class &record, Side &side,
                                                                 const QSizeF &frontCardSize)
{
    Report report;
    try {
        side.Hide_all_Text_control_FUP_Control();
        side.setToolCode(Side::TextTool);
        const auto details = record.details();
        for (int i = 0; i + 1 < User_Profile_Class::DetailCount; ++i) {
            const User_Profile_Class::Detail &d = *details[size_t(i)];
            if (!d.value.isEmpty())
                placeOne(d, SKTGraphic::Kind::Text, side, frontCardSize, report);
        }
        const User_Profile_Class::Detail &photo = record.image;
        if (!photo.value.isEmpty()) {
            side.setToolCode(Side::PictureTool);
            ModelGlobals::instance().Library_Selected_Image = photo.value;
            placeOne(photo, SKTGraphic::Kind::Image, side, frontCardSize, report);
        }
    } catch (const std::exception &e) {
        // What was placed before the failure stays, as an interrupted placement leaves it.
        report.error = QString::fromLocal8Bit(e.what());
        Show_NSLog_Message(report.error);
    }
    return report;
}
