#include "model/SKTDocument.h"

#include "data/ColumnBinding.h"
#include "data/DataSourceChoices.h"
#include "foundation/CardCodes.h"
#include "model/EditStep.h"
#include "platform/UndoManager.h"

#include <algorithm>
#include <utility>

namespace
{
// Observation contexts: a changed property, or a changed set of keys to observe.
int undoContextTag;
int undoKeysContextTag;
void *const SKTDocumentUndoObservationContext = &undoContextTag;
void *const SKTDocumentUndoKeysObservationContext = &undoKeysContextTag;

QList<int> sortedUnique(QList<int> indexes)
{
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    return indexes;
}

QSet<QString> keySet(const QVariant &v)
{
    const QStringList l = v.toStringList();
    return QSet<QString>(l.begin(), l.end());
}
} // namespace

SKTMapTableOwner::Entry &SKTMapTableOwner::entryFor(const GraphicPtr &graphic)
{
    for (Entry &e : _mapTable) {
        if (e.graphic == graphic)
            return e;
    }
    _mapTable.append(Entry{graphic, {}});
    return _mapTable.last();
}

SKTDocument::SKTDocument() : m_undoManager(std::make_unique<UndoManager>())
{
    QObject::connect(m_undoManager.get(), &UndoManager::checkpoint, m_undoManager.get(),
                     [this] { observeUndoManagerCheckpoint(); });
    QObject::connect(m_undoManager.get(), &UndoManager::replayed, m_undoManager.get(),
                     [this] { showBoundValues(); });
}

SKTDocument::~SKTDocument()
{
    Clear_All_Undo_Redo();
    // The other sides' objects may outlive the document (snapshots, pasteboard): they stop
    // telling it of their changes.
    stopObservingGraphics(m_design.back);
    stopObservingGraphics(_graphics_temp);
    QObject::disconnect(m_undoManager.get(), nullptr, nullptr, nullptr);
}

const GraphicList &SKTDocument::list(int side) const
{
    if (side == Back)
        return m_design.back;
    if (side == Temp)
        return _graphics_temp;
    return m_design.front;
}

GraphicList &SKTDocument::mutableList(int side)
{
    return const_cast<GraphicList &>(std::as_const(*this).list(side));
}

QString SKTDocument::keyForSide(int side)
{
    if (side == Back)
        return SKTDocumentGraphicsBackKey;
    if (side == Temp)
        return SKTDocumentGraphicsTempKey;
    return SKTDocumentGraphicsKey;
}

QVariant SKTDocument::valueForKey(const QString &key) const
{
    if (key == SKTDocumentGraphicsKey || key == SKTDocumentGraphicsBackKey ||
        key == SKTDocumentGraphicsTempKey) {
        const int side = key == SKTDocumentGraphicsKey       ? Front
                         : key == SKTDocumentGraphicsBackKey ? Back
                                                             : Temp;
        return QVariant::fromValue(list(side).size());
    }
    return Observable::valueForKey(key);
}

bool SKTDocument::spliceIn(int side, const GraphicList &graphics, QList<int> &indexes)
{
    indexes = sortedUnique(indexes);
    GraphicList &l = mutableList(side);
    if (indexes.size() != graphics.size())
        return false;
    for (qsizetype i = 0; i < indexes.size(); ++i) {
        if (indexes[i] < 0 || indexes[i] > l.size() + i)
            return false;
    }
    const QString key = keyForSide(side);
    willChange(ObservedChange::Kind::Insertion, indexes, key);
    for (qsizetype i = 0; i < indexes.size(); ++i)
        l.insert(indexes[i], graphics[i]);
    didChange(ObservedChange::Kind::Insertion, indexes, key);
    return true;
}

QList<int> SKTDocument::removableIndexes(int side, QList<int> indexes) const
{
    const GraphicList &l = list(side);
    indexes = sortedUnique(indexes);
    indexes.removeIf([&l](int i) { return i < 0 || i >= l.size(); });
    return indexes;
}

void SKTDocument::spliceOut(int side, const QList<int> &indexes)
{
    GraphicList &l = mutableList(side);
    const QString key = keyForSide(side);
    willChange(ObservedChange::Kind::Removal, indexes, key);
    for (qsizetype i = indexes.size() - 1; i >= 0; --i)
        l.removeAt(indexes[i]);
    didChange(ObservedChange::Kind::Removal, indexes, key);
}

void SKTDocument::insertGraphicsIntoSide(int side, const GraphicList &graphics, QList<int> indexes)
{
    if (!spliceIn(side, graphics, indexes))
        return;
    startObservingGraphics(graphics);
    // The preview side is filled on demand and never saved: its list is no part of the history.
    if (side == Temp)
        return;
    m_undoManager->registerUndo(this, [this, side, indexes] { removeGraphicsFromSide(side, indexes); });
    nameUndoStep(graphics.size() == 1 ? QStringLiteral("Insert Object") : QStringLiteral("Insert Objects"));
    tagUndoStep(side);
    if (m_undoManager->isUndoRegistrationEnabled()) {
        for (const GraphicPtr &g : graphics)
            _undoGroupInsertedGraphics.insert(g.get());
    }
}

void SKTDocument::removeGraphicsFromSide(int side, QList<int> indexes)
{
    indexes = removableIndexes(side, indexes);
    if (indexes.isEmpty())
        return;
    GraphicList removed;
    for (int i : std::as_const(indexes))
        removed.append(list(side).at(i));
    stopObservingGraphics(removed);
    if (side != Temp) {
        m_undoManager->registerUndo(
            this, [this, side, removed, indexes] { insertGraphicsIntoSide(side, removed, indexes); });
        nameUndoStep(QStringLiteral("Delete"));
        tagUndoStep(side);
    }
    spliceOut(side, indexes);
}

void SKTDocument::insertGraphics(const GraphicList &graphics, QList<int> indexes)
{
    insertGraphicsIntoSide(Front, graphics, std::move(indexes));
}

void SKTDocument::removeGraphicsAtIndexes(QList<int> indexes)
{
    removeGraphicsFromSide(Front, std::move(indexes));
}

void SKTDocument::insertGraphic(const GraphicPtr &graphic, int index)
{
    insertGraphics({graphic}, {index});
}

void SKTDocument::removeGraphicAtIndex(int index)
{
    removeGraphicsAtIndexes({index});
}

void SKTDocument::addInGraphics(const GraphicPtr &graphic)
{
    insertGraphic(graphic, int(m_design.front.size()));
}

void SKTDocument::removeAllGraphicsFromSide(int side)
{
    QList<int> all;
    for (int i = 0; i < list(side).size(); ++i)
        all.append(i);
    removeGraphicsFromSide(side, all);
}

void SKTDocument::replaceDesign(CardDesign design)
{
    {
        const UndoManager::Unrecorded unrecorded(*m_undoManager);
        takeDesign(std::move(design));
    }
    settingsChanged();
}

void SKTDocument::takeDesign(CardDesign design)
{
    removeAllGraphicsFromSide(Back);
    removeAllGraphicsFromSide(Front);
    const GraphicList front = std::exchange(design.front, {});
    const GraphicList back = std::exchange(design.back, {});
    m_design = std::move(design);
    for (const auto &[side, objects] : {std::pair{int(Front), &front}, std::pair{int(Back), &back}}) {
        QList<int> indexes;
        for (int i = 0; i < objects->size(); ++i)
            indexes.append(i);
        if (!objects->isEmpty())
            insertGraphicsIntoSide(side, *objects, indexes);
    }
}

void SKTDocument::settingsChanged()
{
    if (m_settingsNoticeHolds > 0) {
        m_settingsNoticePending = true;
        return;
    }
    m_settingsNoticePending = false;
    willChangeValueForKey(SKTDocumentDesignKey);
    didChangeValueForKey(SKTDocumentDesignKey);
}

SKTDocument::SettingsNoticeHold::SettingsNoticeHold(SKTDocument &document) : m_document(document)
{
    ++m_document.m_settingsNoticeHolds;
}

SKTDocument::SettingsNoticeHold::~SettingsNoticeHold()
{
    if (--m_document.m_settingsNoticeHolds == 0 && m_document.m_settingsNoticePending)
        m_document.settingsChanged();
}

void SKTDocument::changeSettingsRecorded(const QString &name, int side,
                                         const std::function<void(DesignSettings &)> &write)
{
    // A step of its own unless an edit step is in progress, which then takes the change.
    std::optional<EditStep> step;
    if (m_settingsNoticeHolds == 0)
        step.emplace(*this, EditStep::Naming{name, side, {}}, EditStates{DesignState::of(*this)});
    const DesignSettings before = m_design.settings();
    write(m_design);
    if (!(before == m_design.settings()))
        settingsChanged();
    if (!DesignSettings::sameBinding(before.binding, m_design.binding))
        showBoundValues();
}

void SKTDocument::setBinding(const ExcelBindingTable &binding)
{
    changeSettingsRecorded(QStringLiteral("Workbook"), Front,
                           [&binding](DesignSettings &s) { s.binding = binding; });
}

void SKTDocument::takeWorkbookRows(const QString &name, const QString &path, const ExcelBindingTable &read)
{
    changeSettingsRecorded(name, Front, [&](DesignSettings &settings) {
        settings.binding.Excel_Source_Path = path;
        settings.binding.takeRowsOf(read);
    });
}

void SKTDocument::showBoundValues()
{
    const ExcelBindingTable &table = m_design.binding;
    const PropertyRecordingPause pause(*this);
    for (const GraphicList *list : {&m_design.front, &m_design.back}) {
        for (const GraphicPtr &g : *list) {
            if (!g || g->kind() != SKTGraphic::Kind::Text ||
                g->data_source_type != DataSourceCode::BindingColumn)
                continue;
            const QString value = DataSourceChoices::Get_First_Value_Of_Excel_Binding(
                table, ColumnBinding::resolve(table, g->excel_col_indx, g->excel_col_title));
            if (g->textContentsForDrawing().text == value)
                continue;
            // The canvases redraw where the text was and where it is now.
            g->willChangeValueForKey(SKTGraphicDrawingBoundsKey);
            g->willChangeValueForKey(SKTGraphicDrawingContentsKey);
            g->Text_contents().text = value;
            g->didChangeValueForKey(SKTGraphicDrawingContentsKey);
            g->didChangeValueForKey(SKTGraphicDrawingBoundsKey);
        }
    }
}

void SKTDocument::putSettingsUnrecorded(const DesignSettings &settings)
{
    // Written whole, so what is no saved setting goes too (what is known of the workbook file);
    // announced only when a saved setting changed.
    const bool changed = !(settings == m_design.settings());
    static_cast<DesignSettings &>(m_design) = settings;
    if (changed)
        settingsChanged();
}

void SKTDocument::Enable_Disable_Undo_Registraion(int flag)
{
    if (flag == 1)
        m_undoManager->enableUndoRegistration();
    else
        m_undoManager->disableUndoRegistration();
}

void SKTDocument::Clear_All_Undo_Redo()
{
    m_undoManager->removeAllActions();
    m_undoManager->removeAllActionsWithTarget(this);
    m_lastEditStep.reset(); // nothing continues it now, and what it took may be large
    const UndoManager::Unrecorded unrecorded(*m_undoManager);
    removeAllGraphicsFromSide(Front);
}

void SKTDocument::setGraphicProperties(const std::shared_ptr<SKTMapTableOwner> &owner)
{
    for (const SKTMapTableOwner::Entry &e : owner->_mapTable) {
        for (const auto &[key, value] : e.oldValues)
            e.graphic->setValueForKey(key, value);
    }
}

void SKTDocument::observeUndoManagerCheckpoint()
{
    _undoGroupHasChangesToMultipleProperties = false;
    _undoGroupPresentablePropertyName.reset();
    _undoGroupResized = false;
    _undoGroupOldPropertiesPerGraphic.reset();
    _undoGroupInsertedGraphics.clear();
}

void SKTDocument::startObservingGraphics(const GraphicList &graphics)
{
    for (const GraphicPtr &g : graphics) {
        if (m_undoObservations[g.get()]++ > 0)
            continue;
        const QSet<QString> keys = g->keysForValuesToObserveForUndo();
        for (const QString &key : keys)
            g->addObserver(this, key, ObservingOption::New | ObservingOption::Old,
                           SKTDocumentUndoObservationContext);
        g->addObserver(this, SKTGraphicKeysForValuesToObserveForUndoKey,
                       ObservingOption::New | ObservingOption::Old, SKTDocumentUndoKeysObservationContext);
    }
}

void SKTDocument::stopObservingGraphics(const GraphicList &graphics)
{
    for (const GraphicPtr &g : graphics) {
        const auto count = m_undoObservations.find(g.get());
        if (count == m_undoObservations.end())
            continue;
        if (--count.value() > 0)
            continue;
        m_undoObservations.erase(count);
        g->removeObserver(this, SKTGraphicKeysForValuesToObserveForUndoKey,
                          SKTDocumentUndoKeysObservationContext);
        const QSet<QString> keys = g->keysForValuesToObserveForUndo();
        for (const QString &key : keys)
            g->removeObserver(this, key, SKTDocumentUndoObservationContext);
    }
}

GraphicPtr SKTDocument::sharedFor(const SKTGraphic *graphic, int *side) const
{
    for (int s : {Front, Back, Temp}) {
        for (const GraphicPtr &g : list(s)) {
            if (g.get() == graphic) {
                if (side)
                    *side = s;
                return g;
            }
        }
    }
    return nullptr;
}

void SKTDocument::observeValueForKeyPath(const QString &keyPath, Observable *object,
                                         const ObservedChange &change, void *context)
{
    auto *graphic = dynamic_cast<SKTGraphic *>(object);
    if (!graphic)
        return;
    if (context == SKTDocumentUndoKeysObservationContext) {
        const QSet<QString> oldKeys = keySet(change.oldValue);
        const QSet<QString> newKeys = keySet(change.newValue);
        for (const QString &k : oldKeys) {
            if (!newKeys.contains(k))
                graphic->removeObserver(this, k, SKTDocumentUndoObservationContext);
        }
        for (const QString &k : newKeys) {
            if (!oldKeys.contains(k))
                graphic->addObserver(this, k, ObservingOption::New | ObservingOption::Old,
                                     SKTDocumentUndoObservationContext);
        }
        return;
    }
    if (context != SKTDocumentUndoObservationContext)
        return;
    // Nothing is recorded now: no old-value table may start either, or the recorded changes that
    // follow in the same group would be added to a table no undo action holds.
    if (m_propertyRecordingPaused > 0 || !m_undoManager->isUndoRegistrationEnabled())
        return;
    if (_undoGroupInsertedGraphics.contains(graphic))
        return;
    if (change.newValue == change.oldValue)
        return;
    int side = -1;
    const GraphicPtr shared = sharedFor(graphic, &side);
    // An object only the preview side holds (a copy laid there to be seen) is no part of the design.
    if (!shared || side == Temp)
        return;
    if (!_undoGroupOldPropertiesPerGraphic) {
        auto owner = std::make_shared<SKTMapTableOwner>();
        // Registering may open a group of its own, whose start clears the per-group bookkeeping:
        // keep the table only after that.
        m_undoManager->registerUndo(this, [this, owner] { setGraphicProperties(owner); });
        _undoGroupOldPropertiesPerGraphic = owner;
    }
    SKTMapTableOwner::Entry &entry = _undoGroupOldPropertiesPerGraphic->entryFor(shared);
    const bool known = std::any_of(entry.oldValues.begin(), entry.oldValues.end(),
                                   [&](const auto &kv) { return kv.first == keyPath; });
    if (!known)
        entry.oldValues.append({keyPath, change.oldValue});
    if (!m_undoManager->isUndoing() && !m_undoManager->isRedoing()) {
        const QString name = SKTGraphic::presentablePropertyNameForKey(graphic->kind(), keyPath);
        if (!_undoGroupHasChangesToMultipleProperties) {
            if (!_undoGroupPresentablePropertyName) {
                _undoGroupPresentablePropertyName = name;
            } else if (*_undoGroupPresentablePropertyName != name) {
                _undoGroupHasChangesToMultipleProperties = true;
                _undoGroupPresentablePropertyName.reset();
            }
        }
        nameUndoStep(undoStepName(keyPath, change));
        tagUndoStep(side);
    }
}

QString SKTDocument::undoStepName(const QString &keyPath, const ObservedChange &change)
{
    // A frame that kept its size moved; once a group resized something it stays a resize.
    if (keyPath == SKTGraphicBoundsKey) {
        const QRectF before = change.oldValue.toRectF();
        const QRectF after = change.newValue.toRectF();
        if (before.size() != after.size())
            _undoGroupResized = true;
        return _undoGroupResized ? QStringLiteral("Resize") : QStringLiteral("Move");
    }
    if (_undoGroupHasChangesToMultipleProperties)
        return QStringLiteral("Change of Multiple Properties");
    QString name = _undoGroupPresentablePropertyName.value_or(QString());
    if (name.isEmpty()) {
        // The base properties have no presentable names of their own; the menus still name them.
        static const QHash<QString, QString> readable = {
            {SKTGraphicIsDrawingFillKey, QStringLiteral("Fill")},
            {SKTGraphicFillColorKey, QStringLiteral("Fill Color")},
            {SKTGraphicIsDrawingStrokeKey, QStringLiteral("Stroke")},
            {SKTGraphicStrokeColorKey, QStringLiteral("Stroke Color")},
            {SKTGraphicStrokeWidthKey, QStringLiteral("Stroke Width")},
        };
        name = readable.value(keyPath, keyPath);
    }
    return QStringLiteral("Change of ") + name;
}

void SKTDocument::tagUndoStep(int side)
{
    // Undo and redo keep the side the step was made on, as they keep its name.
    if (!m_undoManager->isUndoRegistrationEnabled() || m_undoManager->isUndoing() ||
        m_undoManager->isRedoing())
        return;
    m_undoManager->setActionTag(side);
}

void SKTDocument::nameUndoStep(const QString &name)
{
    // Only a step being recorded is named: undo and redo keep the name it was made with, and with
    // registration off nothing was recorded (the previous step keeps its own name).
    if (!m_undoManager->isUndoRegistrationEnabled() || m_undoManager->isUndoing() ||
        m_undoManager->isRedoing())
        return;
    m_undoManager->setActionName(name);
}
