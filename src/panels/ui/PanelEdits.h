// Every write of an inspector control is one named undo step of the side being edited: over the
// objects it edits, or over the card page. Successive writes of a typing or dragging control to
// the same objects make one step, until the control is left.
#pragma once

#include "model/SKTGraphic.h"

#include <QString>

#include <functional>

class InspectorHost;
class QObject;
class QWidget;

namespace PanelEdits
{
// What one control of an object page writes: which objects have its field, and the write into
// one of them. The control's value goes to those objects alone; every other field stays theirs.
struct Field {
    std::function<bool(const SKTGraphic &)> has;
    std::function<void(SKTGraphic &)> write;
};
// Which objects have the fields a page shares with other kinds: a border (shapes, texts,
// pictures, signatures) and a fill with its opacity (shapes and texts).
bool hasBorder(const SKTGraphic &graphic);
bool hasFill(const SKTGraphic &graphic);
// Objects of one kind; shapes also of one shape code when `shapeCode` is given.
std::function<bool(const SKTGraphic &)> ofKind(SKTGraphic::Kind kind, const QString &shapeCode = QString());

// The side being edited (0 front, 1 back), which a step is shown on again by undo.
int liveSide(const InspectorHost &host);
// Whether a control's change comes from showing the design, not from the user: the inspector is
// filling its tabs, or the document is being replaced. Such a change records no step.
bool loading(InspectorHost &host);

// Runs write as one step over `graphics` (the objects it may change). With `mergeControl`, the
// writes of that control to the same objects add to one step.
void objects(InspectorHost &host, const QString &name, const GraphicList &graphics,
             const std::function<void()> &write, const QObject *mergeControl = nullptr);
// The same over the selection of the side being edited.
void selection(InspectorHost &host, const QString &name, const std::function<void()> &write,
               const QObject *mergeControl = nullptr);
// The objects of the selection a field's write goes to: those that have it, not locked (a locked
// object takes no change from the inspector). None while controls are being loaded in bulk.
GraphicList fieldTargets(InspectorHost &host, const std::function<bool(const SKTGraphic &)> &has);
// Writes the field into each of those objects as one step; answers the objects written.
GraphicList writeField(InspectorHost &host, const QString &name, const Field &field,
                       const QObject *mergeControl = nullptr);
// The same over the selection and `current` (the object a window or binding works on), which is
// written whether or not it is selected.
void selectionWith(InspectorHost &host, const QString &name, const GraphicPtr &current,
                   const std::function<void()> &write);
// Runs write as one step over the design's pages (both sides' settings, the outline, the size,
// the content font) and the texts of the side being edited, which take the content font and colour.
void cardPage(InspectorHost &host, const QString &name, const std::function<void()> &write,
              const QObject *mergeControl = nullptr);

// The next write of a merging control starts a step of its own once the control loses the
// keyboard, and with `onRelease` also once a press on it ends: a drag or a held arrow is one step,
// each key (a committed value, an arrow key) another.
void endMergeWhenLeft(InspectorHost &host, QWidget *control, bool onRelease);
} // namespace PanelEdits
