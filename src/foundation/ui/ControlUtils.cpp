#include "foundation/ui/ControlUtils.h"

#include <QGroupBox>
#include <QWidget>

void SetObjEnabled(QWidget *control, bool flag)
{
    if (!control)
        return;
    if (qobject_cast<QGroupBox *>(control)) {
        // A disabled box would keep every child disabled whatever it is told later.
        const auto children = control->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
        for (QWidget *child : children)
            SetObjEnabled(child, flag);
        return;
    }
    control->setEnabled(flag);
}
