// The right-hand inspector: chooses the tabs for the card page or the selected object's kind and
// loads their controls from the model, with the edit buttons to match. Owns the panels.
#pragma once

#include "model/SKTGraphic.h"
#include "panels/InspectorTabPlan.h"

#include <QObject>
#include <QString>

#include <memory>

class AlignmentTab;
class BarcodePanel;
class CardPagePanel;
class ComboDispatcher;
class DataSourceTab;
class ImageSignPanel;
class LockTab;
class ShapeLinePanel;
class InspectorHost;
class TextPanel;

class Inspector : public QObject
{
    Q_OBJECT
public:
    explicit Inspector(InspectorHost &host);
    ~Inspector() override;

    // The one way to change the inspector: the card page for null, else the object's tabs.
    void Show_RHS_Properties(const GraphicPtr &graphic);
    // Shows what the side being edited has selected: its current object while that is selected,
    // else the frontmost selected one, else the card page (always the page in Preview). `reload`
    // loads the controls afresh even when the same object stays shown (undo changed its values).
    void showLiveSelection(bool reload = false);
    // The object whose controls are shown; null while the card page is.
    GraphicPtr shownGraphic() const { return Last_Selected_Graphic.lock(); }
    // A value typed into an inspector field and not yet committed (no Return, the field still has
    // the focus) goes to what the inspector shows, before a command changes the selection or side.
    void commitTypedValue();

    CardPagePanel &cardPage() const { return *m_cardPage; }
    AlignmentTab &alignment() const { return *m_alignment; }
    DataSourceTab &dataSource() const { return *m_dataSource; }
    LockTab &lockTab() const { return *m_lock; }
    ComboDispatcher &dispatcher() const { return *m_dispatcher; }
    ShapeLinePanel &shapeLinePanel() const { return *m_shapes; }
    TextPanel &textPanel() const { return *m_texts; }
    ImageSignPanel &imageSignPanel() const { return *m_pictures; }
    BarcodePanel &barcodePanel() const { return *m_barcodes; }

    // Kind code of the object shown: "NONE", "T", "I", or a signature's "S" or "F".
    QString sel_control_name() const { return m_selControlName; }

    // While one lives the inspector is filling its tabs from the design: it stays as it is, and
    // what its controls show is the design's, not typed (PanelEdits::loading).
    class Filling
    {
    public:
        explicit Filling(Inspector &inspector) : m_inspector(inspector) { ++m_inspector.m_filling; }
        ~Filling() { --m_inspector.m_filling; }
        Filling(const Filling &) = delete;
        Filling &operator=(const Filling &) = delete;

    private:
        Inspector &m_inspector;
    };
    bool filling() const { return m_filling > 0; }

protected:
    // Presses and shortcuts anywhere commit a typed value first: the buttons of the window take
    // no focus, so the field would not lose it before their command ran.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Undo and Redo pressed in a field of the inspector go to the window's commands; true when
    // the event was such a key.
    bool passUndoKeysOn(class QKeyEvent *event) const;
    // The pages shown and the one in front, taken before the tabs are rebuilt.
    struct ShownPage {
        QList<InspectorTabItem::Item> tabs;
        InspectorTabItem::Item front;
    };
    ShownPage shownPage() const;
    void bringPageToFront(const ShownPage &before);
    void fillCardPage();
    void fillObject(const GraphicPtr &graphic);
    // Lays the emptied tab widget out by the plan and brings its first tab to the front.
    void showTabs(const InspectorTabPlan &plan);
    void attachCombos();

    InspectorHost &m_host;
    CardPagePanel *m_cardPage;
    DataSourceTab *m_dataSource;
    AlignmentTab *m_alignment;
    LockTab *m_lock;
    ShapeLinePanel *m_shapes;
    TextPanel *m_texts;
    ImageSignPanel *m_pictures;
    BarcodePanel *m_barcodes;
    ComboDispatcher *m_dispatcher;
    // Compared by ownership, so a new object made where a deleted one lived is still new.
    std::weak_ptr<SKTGraphic> Last_Selected_Graphic;
    QString m_selControlName = QStringLiteral("NONE");
    int m_filling = 0;
    // Filling its tabs, or the design being replaced: the inspector stays as it is.
    bool standsStill() const;
};
