// Enabling and disabling controls, group boxes included: a group box passes the state on to the
// controls inside it and is never disabled itself, so they can be enabled again one by one.
#pragma once

class QWidget;

void SetObjEnabled(QWidget *control, bool flag);
