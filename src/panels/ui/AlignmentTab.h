// The alignment tab of every unlocked object: align, same size, natural size, snap to grid and
// the do-not-print box. Its controls are the window's outlets; the editor's commands run them.
#pragma once

struct InspectorLayout;
class QWidget;

class AlignmentTab
{
public:
    AlignmentTab(QWidget *page, InspectorLayout &ui);
};
