// What the shape, line, text, picture and signature panels share: each control's write of its own
// field into the selected objects that have it, as one undo step, the border and fill controls
// several pages have, and the redraw.
#pragma once

#include "foundation/ui/FloatSlider.h"
#include "model/SKTGraphic.h"
#include "panels/ui/PanelEdits.h"

#include <QList>
#include <QObject>

#include <functional>
#include <type_traits>

class ColorWell;
class QCheckBox;
class QComboBox;
class SKTGraphicView;
class InspectorHost;
class StepperField;

class ObjectPanel : public QObject
{
    Q_OBJECT
public:
    explicit ObjectPanel(InspectorHost &host);

    // The page's controls as their writes name them, with the fields they write, in the order
    // they were connected: which kinds have each field is read here, below the window.
    struct EditedField {
        QString name;
        PanelEdits::Field field;
    };
    const QList<EditedField> &editedFields() const { return m_fields; }

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
    // On the control's user signal, writes `field` into each selected object that has it, as one
    // undo step named for what it changes; every other field of every object stays its own.
    template <typename Control, typename Signal>
    void onEdit(Control *control, Signal signal, const QString &name, PanelEdits::Field field,
                Merge merge = Merge::No)
    {
        const QObject *key = merge == Merge::No ? nullptr : control;
        if (merge != Merge::No) {
            QWidget *left = control;
            if constexpr (std::is_base_of_v<FloatSlider, Control>)
                left = control->slider(); // the slider inside takes the presses and the keyboard
            PanelEdits::endMergeWhenLeft(m_host, left, true);
        }
        m_fields.append({name, field});
        connect(control, signal, this,
                [this, name, field = std::move(field), key] { writeField(name, field, key); });
    }
    // Writes the field now, then offers each object written for editing and redraws the side.
    void writeField(const QString &name, const PanelEdits::Field &field,
                    const QObject *mergeControl = nullptr);

    // The border controls a page shares: check box, colour, width and style, each its own field of
    // every selected object with a border.
    void connectBorder(QCheckBox *box, ColorWell *color, StepperField *width, QComboBox *style);
    // The fill controls the shape and text pages share, each its own field of every selected
    // object with a fill: the check box, colour, gradient colours and angle, opacity.
    struct FillControls {
        QCheckBox *box;
        ColorWell *color;
        ColorWell *gradient1;
        ColorWell *gradient2;
        StepperField *angle;
        StepperField *opacity;
    };
    void connectFill(const FillControls &fill);
    // Writes through the key only when the value differs: observers hear of real changes only.
    template <typename T>
    static void setKey(SKTGraphic &g, const QString &key, const T &current, const T &wanted)
    {
        if (current != wanted)
            g.setValueForKey(key, QVariant::fromValue(wanted));
    }
    // The style combo's code into an object; no row chosen leaves the object's own.
    static void writeBorderStyle(SKTGraphic &g, const QComboBox *style);
    // The kind of fill a radio chooses ("S", "G", "H"): the objects that can draw it take it.
    static PanelEdits::Field fillKind(const QString &fillCode);

    SKTGraphicView *liveCanvas() const;
    // Ends an edit: each object is offered for editing, then the live side redraws once.
    void finishEdit(const GraphicList &written);

    // Whether a check box counts as ticked.
    static bool ticked(const class QAbstractButton *box);

    InspectorHost &m_host;

private:
    QList<EditedField> m_fields;
};
