// Enabling and disabling controls, group boxes included: a group box passes the state on to the
// controls inside it and is never disabled itself, so they can be enabled again one by one.
#include "foundation/ControlUtils.h"

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
