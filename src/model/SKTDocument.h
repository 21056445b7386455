// The one document: it holds the design (both sides' objects, both pages, the outline and size,
// the binding table) and the preview side's objects. Insertions, removals and observed property
// changes of every side are recorded for undo, in one history.
#pragma once

#include "model/CardDesign.h"
#include "model/SKTGraphic.h"
#include "platform/ChangeObserver.h"
#include "platform/Observable.h"

#include <QHash>
#include <QList>
#include <QPair>
#include <QSet>
#include <QSizeF>

#include <functional>
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>

class UndoManager;
struct RecordedEditStep;

// The old values of one undo group: per object, each changed key's value from before the group.
class SKTMapTableOwner
{
public:
    struct Entry {
        GraphicPtr graphic;
        QList<QPair<QString, QVariant>> oldValues; // in the order the keys first changed
    };
    QList<Entry> _mapTable;

    Entry &entryFor(const GraphicPtr &graphic);
};

inline const QString SKTDocumentGraphicsKey = QStringLiteral("graphics");
inline const QString SKTDocumentGraphicsBackKey = QStringLiteral("graphics_back");
inline const QString SKTDocumentGraphicsTempKey = QStringLiteral("graphics_temp");
// The one notice of a change of the design's settings (size, outline, a page's fields, the bound
// workbook): announced once per edit, undo, redo, new design and opened file.
inline const QString SKTDocumentDesignKey = QStringLiteral("design");

class SKTDocument : public Observable, public ChangeObserver
{
public:
    enum Side { Front = 0, Back = 1, Temp = 2 };

    SKTDocument();
    ~SKTDocument() override;
    SKTDocument(const SKTDocument &) = delete;
    SKTDocument &operator=(const SKTDocument &) = delete;

    UndoManager &undoManager() const { return *m_undoManager; }

    // The design the document holds, to read. Its object lists change only through the document's
    // edits below, its settings only through changeSettingsRecorded and putSettingsUnrecorded; each
    // announces.
    const CardDesign &design() const { return m_design; }
    // Takes another design whole, without recording it: both sides' objects, pages and binding
    // table are replaced (the caller clears the history, as opening a design does). Announced.
    void replaceDesign(CardDesign design);

    // The one writer of the design's settings: write changes them as one undo step named `name`
    // on `side` (or as part of the edit step in progress), announced once when it changed anything;
    // bound texts follow a changed workbook.
    void changeSettingsRecorded(const QString &name, int side,
                                const std::function<void(DesignSettings &)> &write);
    // A workbook bound, corrected or let go: a step of its own.
    void setBinding(const ExcelBindingTable &binding);
    // Puts settings in place without recording them, announced: undo and redo, a new design, and
    // the working writes of a dialog whose OK records the step from what it opened on.
    void putSettingsUnrecorded(const DesignSettings &settings);

    // Announces that the settings changed (once the last hold ends, when one lives).
    void announceSettings() { settingsChanged(); }

    // Rows read from the workbook, loaded again or from where it is now (`path`), take the place of
    // those loaded, as one step named `name`.
    void takeWorkbookRows(const QString &name, const QString &path, const ExcelBindingTable &read);
    // Every text bound to a workbook column, on either side, shows the column's first value as the
    // rows now stand (nothing where its heading has gone), unrecorded: it follows the rows. Run
    // after every undo and redo too, so a step never leaves other rows shown than the design holds.
    void showBoundValues();

    // While one lives, changes of the settings are announced once, when the last hold ends.
    class SettingsNoticeHold
    {
    public:
        explicit SettingsNoticeHold(SKTDocument &document);
        ~SettingsNoticeHold();
        SettingsNoticeHold(const SettingsNoticeHold &) = delete;
        SettingsNoticeHold &operator=(const SettingsNoticeHold &) = delete;

    private:
        SKTDocument &m_document;
    };

    // While one lives the whole design is being replaced (a new design, one read from a file):
    // the editor's parts show the new design as it arrives and record no step of their own.
    class Replacing
    {
    public:
        explicit Replacing(SKTDocument &document) : m_document(document) { ++m_document.m_replacing; }
        ~Replacing() { --m_document.m_replacing; }
        Replacing(const Replacing &) = delete;
        Replacing &operator=(const Replacing &) = delete;

    private:
        SKTDocument &m_document;
    };
    bool isBeingReplaced() const { return m_replacing > 0; }

    const GraphicList &graphics() const { return m_design.front; }
    const GraphicList &graphics_back() const { return m_design.back; }
    const GraphicList &graphics_temp() const { return _graphics_temp; }
    const GraphicList &list(int side) const;
    static QString keyForSide(int side);

    // Any side, undoable; each step carries the side it changed (the undo manager's action tag).
    // Indexes are positions in the list after the insertion, ascending.
    void insertGraphicsIntoSide(int side, const GraphicList &graphics, QList<int> indexes);
    void removeGraphicsFromSide(int side, QList<int> indexes);
    void removeAllGraphicsFromSide(int side);

    // The front list's forms of the above.
    void insertGraphics(const GraphicList &graphics, QList<int> indexes);
    void removeGraphicsAtIndexes(QList<int> indexes);
    void insertGraphic(const GraphicPtr &graphic, int index);
    void removeGraphicAtIndex(int index);
    void addInGraphics(const GraphicPtr &graphic);

    // 1 enables undo registration, anything else disables it; calls must pair up. The program's
    // own writes that must not be history take an UndoManager::Unrecorded scope instead, which
    // ends on every way out; the preview side's list needs neither, as it is never recorded.
    void Enable_Disable_Undo_Registraion(int flag);
    // Forgets all undo and redo and empties the front list without recording it.
    void Clear_All_Undo_Redo();
    // The undo action of a group of property changes: puts the old values back by key.
    void setGraphicProperties(const std::shared_ptr<SKTMapTableOwner> &owner);
    // End of an undo group: the per-group bookkeeping starts afresh.
    void observeUndoManagerCheckpoint();

    // While one lives, property changes of the objects are not recorded key by key: an edit step
    // that takes the objects' whole state records them as one (see EditStep). Nests.
    class PropertyRecordingPause
    {
    public:
        explicit PropertyRecordingPause(SKTDocument &document) : m_document(document)
        {
            ++m_document.m_propertyRecordingPaused;
        }
        ~PropertyRecordingPause() { --m_document.m_propertyRecordingPaused; }
        PropertyRecordingPause(const PropertyRecordingPause &) = delete;
        PropertyRecordingPause &operator=(const PropertyRecordingPause &) = delete;

    private:
        SKTDocument &m_document;
    };

    // Counted: an object on two sides (the preview shows the live side's own objects) is observed
    // once, until it has left both.
    void startObservingGraphics(const GraphicList &graphics);
    void stopObservingGraphics(const GraphicList &graphics);

    QVariant valueForKey(const QString &key) const override;
    void observeValueForKeyPath(const QString &keyPath, Observable *object, const ObservedChange &change,
                                void *context) override;

    // Undo-group bookkeeping, readable for tests and menus.
    const QSet<SKTGraphic *> &undoGroupInsertedGraphics() const { return _undoGroupInsertedGraphics; }
    QString undoGroupPresentablePropertyName() const
    {
        return _undoGroupPresentablePropertyName.value_or(QString());
    }
    bool undoGroupHasChangesToMultipleProperties() const { return _undoGroupHasChangesToMultipleProperties; }

private:
    GraphicList &mutableList(int side);
    void takeDesign(CardDesign design);
    // The list edits with their change notices, no undo. Insertion sorts the indexes and refuses
    // (false, nothing changed) a set that does not fit; removal drops indexes outside the list.
    bool spliceIn(int side, const GraphicList &graphics, QList<int> &indexes);
    QList<int> removableIndexes(int side, QList<int> indexes) const;
    void spliceOut(int side, const QList<int> &removableIndexes);
    // The list's own reference to the object, and the side whose list holds it (first found).
    GraphicPtr sharedFor(const SKTGraphic *graphic, int *side = nullptr) const;

    // Announces the settings' change now, or when the last hold ends.
    void settingsChanged();

    CardDesign m_design;
    int m_settingsNoticeHolds = 0;
    bool m_settingsNoticePending = false;
    int m_replacing = 0;
    GraphicList _graphics_temp;
    QSet<SKTGraphic *> _undoGroupInsertedGraphics;
    std::shared_ptr<SKTMapTableOwner> _undoGroupOldPropertiesPerGraphic;
    std::optional<QString> _undoGroupPresentablePropertyName; // none until a change names the group
    bool _undoGroupResized = false;                           // a frame of the group changed its size
    // The name of the step being recorded, as the Undo and Redo menu items show it.
    QString undoStepName(const QString &keyPath, const ObservedChange &change);
    void nameUndoStep(const QString &name);
    void tagUndoStep(int side);
    QHash<SKTGraphic *, int> m_undoObservations; // how many lists hold each observed object
    bool _undoGroupHasChangesToMultipleProperties = false;
    int m_propertyRecordingPaused = 0;
    // The last step EditStep recorded, which a write under its merge key continues.
    std::shared_ptr<RecordedEditStep> m_lastEditStep;
    friend class EditStep;
    std::unique_ptr<UndoManager> m_undoManager;
};

// Calls `heard` on each notice of the design (SKTDocumentDesignKey) for as long as it lives;
// it must end before the document.
class DesignListener
{
public:
    DesignListener(SKTDocument &document, std::function<void()> heard)
        : m_document(document), m_callback(std::move(heard))
    {
        m_document.addObserver(&m_callback, SKTDocumentDesignKey, {});
    }
    ~DesignListener() { m_document.removeAllObservers(&m_callback); }
    DesignListener(const DesignListener &) = delete;
    DesignListener &operator=(const DesignListener &) = delete;

private:
    SKTDocument &m_document;
    ChangeCallback m_callback;
};

// Outside the document the design is read-only: its settings change through the document's own
// writers, which record and announce them.
static_assert(std::is_const_v<std::remove_reference_t<decltype(std::declval<SKTDocument &>().design())>>,
              "SKTDocument::design() hands out a read-only design");
