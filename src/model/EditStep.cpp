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

DesignState::Parts DesignState::Parts::all()
{
    Parts parts;
    parts.page[0].set();
    parts.page[1].set();
    parts.outline = parts.size = parts.binding = true;
    return parts;
}

DesignState::Parts DesignState::differing(const DesignSettings &a, const DesignSettings &b,
                                          const Parts &within)
{
    Parts parts;
    for (const int side : {0, 1}) {
        const Card_Property &pa = a.page(side), &pb = b.page(side);
        for (int i = 0; i < CardPageFields::Count; ++i)
            if (within.page[side][i])
                parts.page[side][i] = !std::visit([&](auto member) { return pa.*member == pb.*member; },
                                                  CardPageFields::Table[i].member);
        if (within.page[side][Parts::PictureBit])
            parts.page[side][Parts::PictureBit] =
                !DesignSettings::samePicture(pa.Card_BG_Image, pb.Card_BG_Image);
    }
    parts.outline = within.outline && a.outlineCode() != b.outlineCode();
    parts.size = within.size && a.storedCardSize() != b.storedCardSize();
    parts.binding = within.binding && !DesignSettings::sameBinding(a.binding, b.binding);
    return parts;
}

DesignState::DesignState(SKTDocument &document, const Parts &parts)
    : m_document(document), m_parts(parts), m_settings(document.design().settings())
{
}

std::shared_ptr<const EditState> DesignState::of(SKTDocument &document)
{
    return std::make_shared<DesignState>(document);
}

std::shared_ptr<const EditState> DesignState::retake() const
{
    return std::make_shared<DesignState>(m_document, m_parts);
}

bool DesignState::changedSinceTaken() const
{
    return differing(m_settings, m_document.design().settings(), m_parts).any();
}

void DesignState::putBack() const
{
    const Parts parts = differing(m_settings, m_document.design().settings(), m_parts);
    if (!parts.any())
        return;
    // Only these parts: the rest of the settings stays as it is now.
    DesignSettings settings = m_document.design().settings();
    for (const int side : {0, 1}) {
        Card_Property &into = settings.page(side);
        const Card_Property &from = m_settings.page(side);
        for (int i = 0; i < CardPageFields::Count; ++i)
            if (parts.page[side][i])
                std::visit([&](auto member) { into.*member = from.*member; },
                           CardPageFields::Table[i].member);
        if (parts.page[side][Parts::PictureBit])
            into.Card_BG_Image = from.Card_BG_Image;
    }
    if (parts.outline)
        settings.setOutlineCode(m_settings.outlineCode());
    if (parts.size)
        settings.setCardSize(m_settings.storedCardSize());
    // The workbook goes back whole, what the user answered about its file with it.
    if (parts.binding)
        settings.binding = m_settings.binding;
    m_document.putSettingsUnrecorded(settings);
}

std::shared_ptr<const EditState> DesignState::narrowed() const
{
    const Parts parts = differing(m_settings, m_document.design().settings(), m_parts);
    if (!parts.any())
        return nullptr;
    auto state = std::make_shared<DesignState>(*this);
    state->m_parts = parts;
    return state;
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

std::shared_ptr<const EditState> GraphicStates::narrowed() const
{
    std::shared_ptr<GraphicStates> state(new GraphicStates);
    for (const Item &item : m_items)
        if (!sameState(*item.graphic, *item.state))
            state->m_items.append(item);
    return state->m_items.isEmpty() ? nullptr : state;
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
    // An edit of the preview side's copies is no step of the design.
    m_recording = m_naming.side != SKTDocument::Temp && undo.isUndoRegistrationEnabled() &&
                  !undo.isUndoing() && !undo.isRedoing();
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
    // A write that continues the step on top adds to what that step puts back, from the state before
    // its first write.
    const std::shared_ptr<RecordedEditStep> &last = m_document.m_lastEditStep;
    const bool merged = changed && !othersRecorded && last && undo.continuesMerge(m_naming.mergeKey);
    if (merged) {
        last->changed = narrowed(last->before);
    } else if (changed) {
        auto step = std::make_shared<RecordedEditStep>(RecordedEditStep{m_before, narrowed(m_before)});
        registerPutBack(m_document, step);
        m_document.m_lastEditStep = step;
    }
    const bool recorded = undo.registrationCount() != m_registrationsAtStart;
    // A step recorded by the document alone (objects added or removed) has no states to widen.
    if (recorded && !changed)
        m_document.m_lastEditStep.reset();
    if (recorded) {
        undo.setActionName(m_naming.name);
        undo.setActionTag(m_naming.side);
    }
    undo.endUndoGrouping();
    if (recorded && !m_naming.mergeKey.isEmpty())
        undo.setMergeKey(m_naming.mergeKey);
}

EditStates EditStep::narrowed(const EditStates &states)
{
    EditStates changed;
    for (const auto &state : states)
        if (std::shared_ptr<const EditState> part = state ? state->narrowed() : nullptr)
            changed.push_back(std::move(part));
    return changed;
}

void EditStep::registerPutBack(SKTDocument &document, const std::shared_ptr<const RecordedEditStep> &step)
{
    document.undoManager().registerUndo(&document, [&document, step] {
        auto reverse = std::make_shared<RecordedEditStep>();
        for (const auto &state : step->changed)
            reverse->changed.push_back(state->retake());
        {
            const SKTDocument::PropertyRecordingPause pause(document);
            for (const auto &state : step->changed)
                state->putBack();
        }
        registerPutBack(document, reverse);
    });
}
