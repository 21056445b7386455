// What the shape, line, text, picture and signature panels share: the selected objects of the side
// being edited, each control's write as one undo step, the write-back of border and fill, and the
// redraw.
#pragma once

#include "foundation/ui/FloatSlider.h"
#include "model/SKTGraphic.h"
#include "panels/ui/PanelEdits.h"

#include <QObject>

#include <functional>
#include <type_traits>

class QComboBox;
class SKTGraphicView;
class InspectorHost;
class StepperField;

class ObjectPanel : public QObject
{
    Q_OBJECT
public:
    explicit ObjectPanel(InspectorHost &host);

    // Border-style codes by combo index: 0 "S", 1 "DA", 2 "DO", 3 "DD", 4 "DDD"; "" for any other.
    static QString borderStyleCode(int index);
    // Selects the code's row; an unknown code leaves the combo as it was.
    static void loadBorderStyle(QComboBox *combo, const std::optional<QString> &code);
    // Stroke widths show truncated toward zero (2.9 shows 2).
    static void loadWidth(StepperField *stepper, double width);
    // Opacity fields hold 0 to 1 (100 on a new object); the stepper shows percent and keeps what
    // its range allows.
    static void loadPercent(StepperField *stepper, float fraction);

protected:
    // How the writes of one control make undo steps: each its own, or, while a press on it lasts
    // (a drag, a held arrow), all one.
    enum class Merge { No, WhilePressed };
    // Runs action, on the control's user signal, as one undo step named for what it changes over
    // the selection of the side being edited.
    template <typename Control, typename Signal>
    void onEdit(Control *control, Signal signal, const QString &name, std::function<void()> action,
                Merge merge = Merge::No)
    {
        const QObject *key = merge == Merge::No ? nullptr : control;
        if (merge != Merge::No) {
            QWidget *left = control;
            if constexpr (std::is_base_of_v<FloatSlider, Control>)
                left = control->slider(); // the slider inside takes the presses and the keyboard
            PanelEdits::endMergeWhenLeft(m_host, left, true);
        }
        connect(control, signal, this, [this, name, action = std::move(action), key] {
            PanelEdits::selection(m_host, name, action, key);
        });
    }

    // The objects an edit goes to: the selection of the live canvas, in selection order; none
    // while controls are being loaded in bulk.
    GraphicList editTargets() const;
    SKTGraphicView *liveCanvas() const;
    // Ends an edit: each object is offered for editing, then the live side redraws once.
    void finishEdit(const GraphicList &written);

    // Border on or off; colour and width only while it is on (so off keeps them for later).
    static void writeBorder(SKTGraphic &g, bool on, const QColor &color, double width, int styleIndex);
    static void writeFillOn(SKTGraphic &g, bool on);
    static void writeFillColor(SKTGraphic &g, const QColor &color);
    int printObjectValue() const;
    // Whether a check box counts as ticked.
    static bool ticked(const class QAbstractButton *box);

    InspectorHost &m_host;
};
