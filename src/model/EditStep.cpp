#include "model/EditStep.h"

#include "model/CardPageFields.h"
#include "model/GraphicFields.h"
#include "model/SKTLine.h"

#include <algorithm>
#include <type_traits>

namespace
{
// Pictures hold shared pixels or recordings: the same data, or equal pixels at the same size.
bool samePicture(const std::optional<Picture> &a, const std::optional<Picture> &b)
{
    if (!a || !b)
        return !a && !b;
    // A picture kept encoded is its source: comparing pixels would decode it in full.
    if (a->sameContent(*b))
        return true;
    return !a->encoded() && !b->encoded() && a->size() == b->size() && a->vector() == b->vector() &&
           a->drawing() == b->drawing() && a->image() == b->image();
}

template <typename T> bool sameField(const SKTGraphic &a, const SKTGraphic &b, T SKTGraphic::*member)
{
    if constexpr (std::is_same_v<T, std::optional<Picture>>)
        return samePicture(a.*member, b.*member);
    else
        return a.*member == b.*member;
}
} // namespace

// --- the design's pages and binding table ---

namespace
{
bool samePage(const Card_Property &a, const Card_Property &b)
{
    // The background picture follows its path, except when it could not be read: compare both.
    return samePicture(a.Card_BG_Image, b.Card_BG_Image) && CardPageFields::sameFields(a, b);
}

bool sameFacts(const WorkbookFacts &a, const WorkbookFacts &b)
{
    return a.size == b.size && a.modifiedMs == b.modifiedMs && a.sha256 == b.sha256 &&
           a.loadedAt == b.loadedAt && a.sheet == b.sheet && a.firstRow == b.firstRow &&
           a.columns == b.columns;
}

bool sameMarks(const UncomputedFormulas &a, const UncomputedFormulas &b)
{
    const std::vector<UncomputedFormulas::Run> x = a.runs(), y = b.runs();
    return std::equal(x.begin(), x.end(), y.begin(), y.end(), [](const auto &r, const auto &s) {
        return r.column == s.column && r.first == s.first && r.last == s.last;
    });
}

bool sameBinding(const ExcelBindingTable &a, const ExcelBindingTable &b)
{
    return a.Excel_Binding_Use == b.Excel_Binding_Use && a.Excel_Source_Path == b.Excel_Source_Path &&
           a.columnTitles() == b.columnTitles() && a.ListData() == b.ListData() &&
           a.sheetRows() == b.sheetRows() && sameMarks(a.uncomputedFormulas(), b.uncomputedFormulas()) &&
           sameFacts(a.sourceFacts, b.sourceFacts);
}

CardDesign settingsOf(const CardDesign &design)
{
    CardDesign settings;
    settings.frontPage = design.frontPage;
    settings.backPage = design.backPage;
    settings.binding = design.binding;
    return settings;
}
} // namespace

DesignState::DesignState(SKTDocument &document)
    : m_document(document), m_settings(settingsOf(document.design()))
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

bool DesignState::sameSettings(const CardDesign &a, const CardDesign &b)
{
    return samePage(a.frontPage, b.frontPage) && samePage(a.backPage, b.backPage) &&
           sameBinding(a.binding, b.binding);
}

bool DesignState::changedSinceTaken() const
{
    return !sameSettings(m_settings, m_document.design());
}

void DesignState::putBack() const
{
    if (!changedSinceTaken())
        return;
    CardDesign &design = m_document.design();
    design.frontPage = m_settings.frontPage;
    design.backPage = m_settings.backPage;
    design.binding = m_settings.binding;
    m_document.designSettingsChanged();
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
