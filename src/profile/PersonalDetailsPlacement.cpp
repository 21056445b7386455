#include "profile/PersonalDetailsPlacement.h"

#include "foundation/CardCodes.h"
#include "foundation/MessageBoxes.h"
#include "model/GraphicInk.h"
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

// One detail: reuse the object that carries its identifier, else make one at the default frame or
// the clear place nearest to it.
void placeOne(int index, const User_Profile_Class::Detail &d, SKTGraphic::Kind kind,
              PersonalDetailsPlacement::Side &side, const QSizeF &frontCardSize, QList<QRectF> &taken,
              PersonalDetailsPlacement::Report &report)
{
    const bool reuse = side.Selcect_Ctrl_With_ID(d.id) != nullptr;
    QRectF frame;
    if (!reuse) {
        frame = PersonalDetailsPlacement::Get_Control_Rect_From_Template(d.id, frontCardSize);
        if (!frame.isEmpty()) {
            const std::optional<QRectF> clear = PlaceholderFrames::clearFrame(frame, frontCardSize, taken);
            if (clear)
                frame = *clear;
            else
                report.crowded << index;
        }
    }
    const GraphicPtr g = side.ReplaceGraphicText(kind, !reuse, frame, SideCode::Front, d.value, d.id);
    // Only the object this call wrote or made takes the binding: a stale selection must not.
    if (!g) {
        ++report.unbound;
        Show_NSLog_Message(QStringLiteral("No object was made for %1").arg(d.id));
        return;
    }
    ++report.placed;
    taken << g->bounds();
    bind(*g, d);
}

// What the side shows now, as drawn (a barcode's picture past its frame): the personal details'
// own objects are hidden until placed again.
QList<QRectF> shownFrames(const PersonalDetailsPlacement::Side &side)
{
    QList<QRectF> frames;
    for (const GraphicPtr &g : side.objects())
        if (g && g->ctrl_is_visible)
            frames << GraphicInk::drawnBox(*g);
    return frames;
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
        QList<QRectF> taken = shownFrames(side);
        const auto details = record.details();
        for (int i = 0; i + 1 < User_Profile_Class::DetailCount; ++i) {
            const User_Profile_Class::Detail &d = *details[size_t(i)];
            if (!d.value.isEmpty())
                placeOne(i, d, SKTGraphic::Kind::Text, side, frontCardSize, taken, report);
        }
        const User_Profile_Class::Detail &photo = record.image;
        if (!photo.value.isEmpty()) {
            side.setToolCode(Side::PictureTool);
            ModelGlobals::instance().Library_Selected_Image = photo.value;
            placeOne(User_Profile_Class::DetailCount - 1, photo, SKTGraphic::Kind::Image, side, frontCardSize,
                     taken, report);
        }
    } catch (const std::exception &e) {
        // What was placed before the failure stays, as an interrupted placement leaves it.
        report.error = QString::fromLocal8Bit(e.what());
        Show_NSLog_Message(report.error);
    }
    return report;
}

QString PersonalDetailsPlacement::crowdedText(const Report &report)
{
    if (report.crowded.isEmpty())
        return {};
    QStringList names;
    for (int index : report.crowded)
        names << User_Profile_Class::nameOf(index);
    const QString last = names.takeLast();
    const QString listed =
        names.isEmpty() ? last : names.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
    return QStringLiteral("The card has no free room left for %1, so %2 over other objects at the usual "
                          "place. Drag %3 where you want.")
        .arg(listed, report.crowded.size() == 1 ? QStringLiteral("it lies") : QStringLiteral("they lie"),
             report.crowded.size() == 1 ? QStringLiteral("it") : QStringLiteral("them"));
}
