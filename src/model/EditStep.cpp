#include "model/EditStep.h"

#include "model/GraphicFields.h"
#include "model/SKTLine.h"

#include <QScopeGuard>

#include <algorithm>
#include <type_traits>

namespace
{
template <typename T> bool sameField(const SKTGraphic &a, const SKTGraphic &b, T SKTGraphic::*member)
{
    if constexpr (std::is_same_v<T, std::optional<Picture>>)
        return DesignSettings::samePicture(a.*member, b.*member);
    else
        return a.*member == b.*member;
}
} // namespace

// --- the design's pages and binding table ---

DesignState::DesignState(SKTDocument &document)
    : m_document(document), m_settings(document.design().settings())
{
}

std::shared_ptr<const EditState> DesignState::of(SKTDocument &document)
{
    return std::make_shared<DesignState>(document);
}

std::shared_ptr<const EditState> DesignState::retake() const
{
    return of(m_document);
}

bool DesignState::changedSinceTaken() const
{
    return !(m_settings == m_document.design().settings());
}

void DesignState::putBack() const
{
    if (changedSinceTaken())
        m_document.putSettings(m_settings);
}

// --- object states ---

GraphicStates::GraphicStates(const GraphicList &graphics)
{
    for (const GraphicPtr &g : graphics) {
        const bool known =
            std::any_of(m_items.begin(), m_items.end(), [&](const Item &item) { return item.graphic == g; });
        if (g && !known)
            m_items.append({g, g->clone()});
    }
}

std::shared_ptr<const EditState> GraphicStates::of(const GraphicList &graphics)
{
    return std::make_shared<GraphicStates>(graphics);
}

std::shared_ptr<const EditState> GraphicStates::retake() const
{
    GraphicList graphics;
    for (const Item &item : m_items)
        graphics.append(item.graphic);
    return of(graphics);
}

bool GraphicStates::changedSinceTaken() const
{
    return std::any_of(m_items.begin(), m_items.end(),
                       [](const Item &item) { return !sameState(*item.graphic, *item.state); });
}

void GraphicStates::putBack() const
{
    for (const Item &item : m_items) {
        if (sameState(*item.graphic, *item.state))
            continue;
        // The canvases redraw where the object was and where it is now.
        SKTGraphic &g = *item.graphic;
        g.willChangeValueForKey(SKTGraphicDrawingBoundsKey);
        g.willChangeValueForKey(SKTGraphicDrawingContentsKey);
        g.takeStateOf(*item.state);
        g.didChangeValueForKey(SKTGraphicDrawingContentsKey);
        g.didChangeValueForKey(SKTGraphicDrawingBoundsKey);
    }
}

bool GraphicStates::sameState(const SKTGraphic &a, const SKTGraphic &b)
{
    if (a.kind() != b.kind())
        return false;
    for (const GraphicFields::Field &field : GraphicFields::Table) {
        const bool same = std::visit([&](auto member) { return sameField(a, b, member); }, field.member);
        if (!same)
            return false;
    }
    // A line's direction is stored after the record.
    const auto *la = dynamic_cast<const SKTLine *>(&a);
    const auto *lb = dynamic_cast<const SKTLine *>(&b);
    return !la || !lb || (la->_pointsRight == lb->_pointsRight && la->_pointsDown == lb->_pointsDown);
}

// --- the step ---

EditStep::EditStep(SKTDocument &document, Naming naming, EditStates before)
    : m_document(document), m_naming(std::move(naming)), m_before(std::move(before))
{
    UndoManager &undo = m_document.undoManager();
    m_recording = undo.isUndoRegistrationEnabled() && !undo.isUndoing() && !undo.isRedoing();
    if (m_recording) {
        // An edit is a step of its own, even when the step before it was recorded in this same
        // turn of the event loop; objects it adds or removes are recorded by the document, in it.
        undo.closeAutomaticGroup();
        undo.beginUndoGrouping();
        m_registrationsAtStart = undo.registrationCount();
    }
    m_pause.emplace(m_document);
    m_noticeHold.emplace(m_document);
}

EditStep::~EditStep()
{
    finish();
}

UndoManager::MergeKey EditStep::mergeKey(const void *control, const GraphicList &graphics, int side)
{
    UndoManager::MergeKey key{control, reinterpret_cast<const void *>(quintptr(side + 1))};
    for (const GraphicPtr &g : graphics)
        key.append(g.get());
    return key;
}

void EditStep::finish()
{
    m_pause.reset();
    // A step whose settings differ from those it began with is announced as it ends, after the
    // objects it wrote (a dialog's working writes may have been announced on their own before).
    for (const auto &state : m_before)
        if (dynamic_cast<const DesignState *>(state.get()) && state->changedSinceTaken())
            m_document.announceSettings();
    // Announced after the step is registered, so a listener reading the history finds it there.
    const auto announce = qScopeGuard([this] { m_noticeHold.reset(); });
    if (!m_recording)
        return;
    UndoManager &undo = m_document.undoManager();
    const bool changed = std::any_of(m_before.begin(), m_before.end(),
                                     [](const auto &state) { return state && state->changedSinceTaken(); });
    const bool othersRecorded = undo.registrationCount() != m_registrationsAtStart;
    // A write that continues the step on top needs nothing more: that step puts back the state from
    // before its first write.
    const bool merged = changed && !othersRecorded && undo.continuesMerge(m_naming.mergeKey);
    if (changed && !merged)
        registerPutBack(m_document, m_before);
    const bool recorded = undo.registrationCount() != m_registrationsAtStart;
    if (recorded) {
        undo.setActionName(m_naming.name);
        undo.setActionTag(m_naming.side);
    }
    undo.endUndoGrouping();
    if (recorded && !m_naming.mergeKey.isEmpty())
        undo.setMergeKey(m_naming.mergeKey);
}

void EditStep::registerPutBack(SKTDocument &document, const EditStates &states)
{
    document.undoManager().registerUndo(&document, [&document, states] {
        EditStates now;
        for (const auto &state : states)
            now.push_back(state->retake());
        {
            const SKTDocument::PropertyRecordingPause pause(document);
            for (const auto &state : states)
                state->putBack();
        }
        registerPutBack(document, now);
    });
}
