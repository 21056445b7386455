#include "panels/ui/PanelEdits.h"

#include "canvas/ui/SKTGraphicView.h"
#include "model/EditStep.h"
#include "model/SKTDocument.h"
#include "panels/ui/InspectorHost.h"
#include "platform/UndoManager.h"

#include <QEvent>
#include <QPointer>
#include <QWidget>

namespace
{
// Ends the merge of a control's writes when the user leaves it. The undo manager is watched, not
// asked for through the window: focus moves while the window is being taken down.
class MergeEnd : public QObject
{
public:
    MergeEnd(UndoManager &undo, QWidget *control, bool onRelease)
        : QObject(control), m_undo(&undo), m_onRelease(onRelease)
    {
        control->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const QEvent::Type type = event->type();
        const bool released = type == QEvent::MouseButtonRelease || type == QEvent::KeyRelease;
        if (m_undo && (type == QEvent::FocusOut || (m_onRelease && released)))
            m_undo->endMerge();
        return QObject::eventFilter(watched, event);
    }

private:
    QPointer<UndoManager> m_undo;
    bool m_onRelease;
};
} // namespace

bool PanelEdits::loading(InspectorHost &host)
{
    return host.inspectorFilling() || host.document().isBeingReplaced();
}

int PanelEdits::liveSide(const InspectorHost &host)
{
    return host.Card_Front_Or_Back() != 0 ? SKTDocument::Back : SKTDocument::Front;
}

void PanelEdits::objects(InspectorHost &host, const QString &name, const GraphicList &graphics,
                         const std::function<void()> &write, const QObject *mergeControl)
{
    if (loading(host) || graphics.isEmpty()) {
        write();
        return;
    }
    const int side = liveSide(host);
    EditStep::Naming naming{name, side, {}};
    if (mergeControl)
        naming.mergeKey = EditStep::mergeKey(mergeControl, graphics, side);
    const EditStep step(host.document(), naming, {GraphicStates::of(graphics)});
    write();
}

void PanelEdits::selection(InspectorHost &host, const QString &name, const std::function<void()> &write,
                           const QObject *mergeControl)
{
    const SKTGraphicView *canvas = host.liveCanvas();
    objects(host, name, canvas ? canvas->selectedGraphics() : GraphicList(), write, mergeControl);
}

bool PanelEdits::hasBorder(const SKTGraphic &graphic)
{
    using K = SKTGraphic::Kind;
    const K kind = graphic.kind();
    return kind == K::Shape || kind == K::Text || kind == K::Image || kind == K::Signature;
}

bool PanelEdits::hasFill(const SKTGraphic &graphic)
{
    return graphic.kind() == SKTGraphic::Kind::Shape || graphic.kind() == SKTGraphic::Kind::Text;
}

std::function<bool(const SKTGraphic &)> PanelEdits::ofKind(SKTGraphic::Kind kind, const QString &shapeCode)
{
    return [kind, shapeCode](const SKTGraphic &g) {
        return g.kind() == kind && (shapeCode.isEmpty() || g.Get_shape_type() == shapeCode);
    };
}

GraphicList PanelEdits::fieldTargets(InspectorHost &host, const std::function<bool(const SKTGraphic &)> &has)
{
    const SKTGraphicView *canvas = host.liveCanvas();
    if (loading(host) || !canvas)
        return {};
    GraphicList targets;
    for (const GraphicPtr &g : canvas->selectedGraphics())
        if (!g->ctrl_is_locked && has(*g))
            targets.append(g);
    return targets;
}

GraphicList PanelEdits::writeField(InspectorHost &host, const QString &name, const Field &field,
                                   const QObject *mergeControl)
{
    const GraphicList targets = fieldTargets(host, field.has);
    if (targets.isEmpty())
        return targets;
    objects(
        host, name, targets,
        [&] {
            for (const GraphicPtr &g : targets)
                field.write(*g);
        },
        mergeControl);
    return targets;
}

void PanelEdits::selectionWith(InspectorHost &host, const QString &name, const GraphicPtr &current,
                               const std::function<void()> &write)
{
    const SKTGraphicView *canvas = host.liveCanvas();
    GraphicList graphics = canvas ? canvas->selectedGraphics() : GraphicList();
    if (current && !graphics.contains(current))
        graphics.append(current);
    objects(host, name, graphics, write);
}

void PanelEdits::cardPage(InspectorHost &host, const QString &name, const std::function<void()> &write,
                          const QObject *mergeControl)
{
    if (loading(host)) {
        write();
        return;
    }
    const int side = liveSide(host);
    GraphicList texts;
    for (const GraphicPtr &g : host.document().list(side)) {
        if (g->kind() == SKTGraphic::Kind::Text)
            texts.append(g);
    }
    EditStep::Naming naming{name, side, {}};
    if (mergeControl)
        naming.mergeKey = EditStep::mergeKey(mergeControl, texts, side);
    const EditStep step(host.document(), naming,
                        {DesignState::of(host.document()), GraphicStates::of(texts)});
    write();
}

void PanelEdits::endMergeWhenLeft(InspectorHost &host, QWidget *control, bool onRelease)
{
    if (control)
        new MergeEnd(host.document().undoManager(), control, onRelease);
}
