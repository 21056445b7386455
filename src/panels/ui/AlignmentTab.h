// The alignment tab of every unlocked object: align, same size, natural size, snap to grid and
// the do-not-print box. It owns its controls; the editor's commands run them through onCommand.
#pragma once

#include <functional>

class QCheckBox;
class QObject;
class QPushButton;
class QWidget;

class AlignmentTab
{
public:
    explicit AlignmentTab(QWidget *page);

    enum class Command {
        AlignLeft,
        AlignRight,
        AlignTop,
        AlignBottom,
        CentreOnCard,
        HorizontalCentres,
        VerticalCentres,
        SameWidth,
        SameHeight,
        NaturalSize,
        ToGrid,
        DoNotPrint
    };
    // Runs `run` (within `context`'s life) when the user gives the command.
    void onCommand(Command command, QObject *context, std::function<void()> run) const;
    // Same width and height ask for two objects or more.
    void setSameSizeEnabled(bool enabled);
    // The do-not-print box: as the user set it, and as an object has it.
    bool doNotPrint() const;
    void showDoNotPrint(bool on);

private:
    QPushButton *Align_Left_btn = nullptr;
    QPushButton *Align_Right_btn = nullptr;
    QPushButton *Align_Top_btn = nullptr;
    QPushButton *Align_Bottom_btn = nullptr;
    QPushButton *Align_Center_btn = nullptr;
    QPushButton *Align_Horz_btn = nullptr;
    QPushButton *Align_Vert_btn = nullptr;
    QPushButton *Make_Same_Width_btn = nullptr;
    QPushButton *Make_Same_Height_btn = nullptr;
    QPushButton *Make_Natural_btn = nullptr;
    QPushButton *Align_To_Grid_btn = nullptr;
    QCheckBox *print_object_chk = nullptr;
};
