#include "model/ModelGlobals.h"

#include "foundation/CardCodes.h"
#include "model/ModelHost.h"

FontDescriptor ModelHost::All_Text_font() const
{
    return ModelGlobals::defaultTextFont();
}

QPointF ModelHost::Control_New_Point(const QString &side)
{
    return ModelGlobals::instance().Control_New_Point(side, 0, 0, frontCanvasBounds().size());
}

float &last_ctrl_X = ModelGlobals::instance().last_ctrl_X;
float &last_ctrl_Y = ModelGlobals::instance().last_ctrl_Y;
QString &Library_Selected_Image = ModelGlobals::instance().Library_Selected_Image;

ModelGlobals &ModelGlobals::instance()
{
    static ModelGlobals globals;
    return globals;
}

void ModelGlobals::reset()
{
    last_ctrl_X = 10.0f;
    last_ctrl_Y = 10.0f;
    Library_Selected_Image.clear();
    Main_App_wnd = nullptr;
}

ModelHost &ModelGlobals::host()
{
    static ModelHost fallback;
    return Main_App_wnd ? *Main_App_wnd : fallback;
}

QPointF ModelGlobals::Control_New_Point(const QString &side, int frontCount, int backCount, QSizeF cardArea)
{
    int step = side == SideCode::Front ? frontCount : backCount;
    if (step < 20)
        step = 20;
    float x = last_ctrl_X + float(step);
    float y = last_ctrl_Y + float(step);
    const double w = cardArea.width();
    const double h = cardArea.height();
    if (x >= w || x + 50.0 >= w) {
        x = 10.0f;
        last_ctrl_X = 10.0f;
    }
    if (y >= h || y + 50.0 >= h) {
        y = 10.0f;
        last_ctrl_Y = 10.0f;
    }
    last_ctrl_X = x;
    last_ctrl_Y = y;
    return QPointF(x, y);
}
