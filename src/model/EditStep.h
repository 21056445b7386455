// One undo step per edit of fields that panels and dialogs write directly: the state of what the
// edit may change is taken before it, compared after it, and put back in place by undo.
#pragma once

#include "model/CardPageFields.h"
#include "model/SKTDocument.h"
#include "model/SKTGraphic.h"
#include "platform/UndoManager.h"

#include <QList>
#include <QString>

#include <bitset>
#include <memory>
#include <optional>
#include <vector>

// Something an edit may change, as it was when taken: undo puts it back.
class EditState
{
public:
    virtual ~EditState() = default;
    // The same things as they are now.
    virtual std::shared_ptr<const EditState> retake() const = 0;
    // Whether they differ now from what was taken.
    virtual bool changedSinceTaken() const = 0;
    virtual void putBack() const = 0;
    // What a step changed: of what was taken, only what differs now (null when nothing does).
    // Its undo puts back that and nothing else, so what changed outside the step stays.
    virtual std::shared_ptr<const EditState> narrowed() const = 0;
};

using EditStates = std::vector<std::shared_ptr<const EditState>>;

// The whole stored state of some card objects (every field of the record and the kind's own),
// put back into the same objects, which keep their place in the lists.
class GraphicStates : public EditState
{
public:
    explicit GraphicStates(const GraphicList &graphics);
    static std::shared_ptr<const EditState> of(const GraphicList &graphics);

    std::shared_ptr<const EditState> retake() const override;
    bool changedSinceTaken() const override;
    void putBack() const override;
    // The objects whose state differs now.
    std::shared_ptr<const EditState> narrowed() const override;

    // Whether two objects hold the same stored state.
    static bool sameState(const SKTGraphic &a, const SKTGraphic &b);

private:
    struct Item {
        GraphicPtr graphic;
        GraphicPtr state; // a clone taken when the state was
    };
    GraphicStates() = default;
    QList<Item> m_items;
};

// The saved design but its objects, as the document holds it: both pages field by field, the card's
// outline and size, and the binding table (the workbook's path, rows, facts and formula marks, and
// with them what the user answered about that file). Put back into the document's design, which
// announces it (SKTDocumentDesignKey) as every change of them.
class DesignState : public EditState
{
public:
    // The parts of the settings a state covers, each compared and put back on its own.
    struct Parts {
        // Per page: each stored field in CardPageFields' order, then the background picture.
        static constexpr int PictureBit = CardPageFields::Count;
        std::bitset<CardPageFields::Count + 1> page[2];
        bool outline = false;
        bool size = false;
        bool binding = false;

        static Parts all();
        bool any() const { return page[0].any() || page[1].any() || outline || size || binding; }
    };

    explicit DesignState(SKTDocument &document, const Parts &parts = Parts::all());
    static std::shared_ptr<const EditState> of(SKTDocument &document);

    std::shared_ptr<const EditState> retake() const override;
    bool changedSinceTaken() const override;
    void putBack() const override;
    // The fields and parts that differ now.
    std::shared_ptr<const EditState> narrowed() const override;

    // The parts of `within` in which two settings differ: a page field, the picture, the outline
    // code, the stored size, or a saved field of the binding table.
    static Parts differing(const DesignSettings &a, const DesignSettings &b, const Parts &within);

private:
    SKTDocument &m_document;
    Parts m_parts;
    DesignSettings m_settings;
};

// An edit step as recorded: the states taken before it, and what its undo puts back of them, which
// a write continuing the step widens to all that its writes changed.
struct RecordedEditStep {
    EditStates before;
    EditStates changed;
};

// Records one edit. Made before the edit writes, with the states it may change; while it lives
// the document records no property change key by key. When it ends and something changed, the
// step is registered under its name and side; what the edit recorded itself (new or removed
// objects) belongs to the same step. Nothing is recorded while undo registration is off (the
// preview side's refills) or during undo and redo.
class EditStep
{
public:
    struct Naming {
        QString name; // as the Edit menu shows it after "Undo "
        int side = 0; // the card side the step was made on
        // Names the control and what it writes, for edits made of many small writes (typing, a
        // slider drag): a write under the key of the step just recorded adds to that step.
        UndoManager::MergeKey mergeKey;
    };

    EditStep(SKTDocument &document, Naming naming, EditStates before);
    ~EditStep();
    EditStep(const EditStep &) = delete;
    EditStep &operator=(const EditStep &) = delete;

    // The merge key for a control writing to these objects on a side.
    static UndoManager::MergeKey mergeKey(const void *control, const GraphicList &graphics, int side);

private:
    void finish();
    static EditStates narrowed(const EditStates &states);
    // Registers the action that puts `states` back and records the reverse for redo.
    static void registerPutBack(SKTDocument &document, const std::shared_ptr<const RecordedEditStep> &step);

    SKTDocument &m_document;
    Naming m_naming;
    EditStates m_before;
    quint64 m_registrationsAtStart = 0;
    bool m_recording = false;
    std::optional<SKTDocument::PropertyRecordingPause> m_pause;
    // The step's changes of the design's settings are announced once, when it ends.
    std::optional<SKTDocument::SettingsNoticeHold> m_noticeHold;
};
