#include "panels/ui/Inspector.h"

#include "canvas/ui/CanvasTracking.h"
#include "canvas/ui/SKTGraphicView.h"
#include "foundation/MessageBoxes.h"
#include "model/SKTDocument.h"
#include "panels/InspectorTabPlan.h"
#include "panels/ui/AlignmentTab.h"
#include "panels/ui/BarcodePanel.h"
#include "panels/ui/CardPagePanel.h"
#include "panels/ui/ComboDispatcher.h"
#include "panels/ui/DataSourceTab.h"
#include "panels/ui/ImageSignPanel.h"
#include "panels/ui/InspectorHost.h"
#include "panels/ui/InspectorTabs.h"
#include "panels/ui/LockTab.h"
#include "panels/ui/ShapeLinePanel.h"
#include "panels/ui/TextPanel.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTabWidget>
#include <QVBoxLayout>

#include <exception>

namespace
{
using T = InspectorTabs;

// The pages are rebuilt around the keyboard (an undo reloads them): it stays in its field when that
// shows again, or else goes to the card, rather than to whatever widget comes next in the window.
class KeyboardKeeper
{
public:
    explicit KeyboardKeeper(InspectorHost &host) : m_host(host)
    {
        QWidget *focus = QApplication::focusWidget();
        if (focus && host.inspectorTabs().sett_tab()->isAncestorOf(focus))
            m_field = focus;
    }
    ~KeyboardKeeper()
    {
        if (!m_field)
            return;
        if (m_field->isVisible() && m_field->isEnabled())
            m_field->setFocus(Qt::OtherFocusReason);
        else if (QWidget *canvas = m_host.liveCanvas())
            canvas->setFocus(Qt::OtherFocusReason);
    }
    KeyboardKeeper(const KeyboardKeeper &) = delete;
    KeyboardKeeper &operator=(const KeyboardKeeper &) = delete;

private:
    InspectorHost &m_host;
    QPointer<QWidget> m_field;
};
} // namespace

Inspector::Inspector(InspectorHost &host)
    : QObject(&host.inspectorWindow()), m_host(host), m_cardPage(new CardPagePanel(host)),
      m_dataSource(new DataSourceTab(host)),
      m_alignment(new AlignmentTab(host.inspectorTabs().page(T::aligmnt_tab))), m_lock(new LockTab(host)),
      // The picture panel puts its file controls into the data-source box, so that box comes first.
      m_shapes(new ShapeLinePanel(host)), m_texts(new TextPanel(host)),
      m_pictures(new ImageSignPanel(host, m_dataSource->manual_brws_box)), m_barcodes(new BarcodePanel(host)),
      m_dispatcher(new ComboDispatcher(host, *m_cardPage, *m_dataSource, *m_texts, *m_pictures))
{
    // The page no panel fills yet says so.
    QWidget *info = host.inspectorTabs().page(T::card_info_tab);
    auto *infoLayout = new QVBoxLayout(info);
    infoLayout->addWidget(new QLabel(host.inspectorTabs().label(T::card_info_tab), info));
    infoLayout->addStretch();
    attachCombos();
    m_dataSource->onWordsBound([texts = m_texts](bool bound) { texts->showWordsBound(bound); });
    qApp->installEventFilter(this);
}

Inspector::~Inspector()
{
    // The card page and the data-source tab watch the document: they go with the inspector, which the window
    // ends while the document is still there (first the dispatcher, which writes through it).
    delete m_dispatcher;
    delete m_cardPage;
    delete m_dataSource;
    delete m_alignment;
}

void Inspector::attachCombos()
{
    using C = ComboDispatcher::Combo;
    ComboDispatcher &d = *m_dispatcher;
    m_cardPage->attachCombos(d);
    d.attach(m_dataSource->Data_source_type, C::Data_source_type);
    d.attach(m_dataSource->Batch_Series, C::Batch_Series);
    // The object panels connect their own style combos.
}

void Inspector::Show_RHS_Properties(const GraphicPtr &graphic)
{
    if (standsStill())
        return;
    m_host.selectArrowTool();
    try {
        const KeyboardKeeper keeper(m_host);
        if (graphic)
            fillObject(graphic);
        else
            fillCardPage();
    } catch (const std::exception &e) {
        // The filling state ended with its scope; what was filled stays.
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

bool Inspector::standsStill() const
{
    return filling() || m_host.document().isBeingReplaced();
}

void Inspector::showLiveSelection(bool reload)
{
    if (standsStill())
        return;
    if (reload)
        Last_Selected_Graphic.reset();
    // The preview shows the live side's own objects, which are not edited there.
    const GraphicPtr current =
        m_host.previewShown() ? nullptr : m_host.liveCanvas()->tracking().currentOfSelection();
    Show_RHS_Properties(current);
}

void Inspector::commitTypedValue()
{
    QWidget *focus = m_host.inspectorWindow().focusWidget();
    if (!focus || !m_host.inspectorTabs().sett_tab()->isAncestorOf(focus) || standsStill())
        return;
    if (auto *spin = qobject_cast<QAbstractSpinBox *>(focus)) {
        spin->interpretText();
        emit spin->editingFinished();
    } else if (auto *line = qobject_cast<QLineEdit *>(focus); line && line->isModified()) {
        emit line->editingFinished();
        line->setModified(false);
    }
}

bool Inspector::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::ShortcutOverride)
        return passUndoKeysOn(static_cast<QKeyEvent *>(event));
    if (type != QEvent::MouseButtonPress && type != QEvent::Shortcut)
        return false;
    QWidget *focus = m_host.inspectorWindow().focusWidget();
    if (!focus)
        return false;
    // A press inside the field itself (its arrows, its text) is its own business.
    auto *target = qobject_cast<QWidget *>(watched);
    if (target && (target == focus || focus->isAncestorOf(target)))
        return false;
    commitTypedValue();
    return false;
}

bool Inspector::passUndoKeysOn(QKeyEvent *event) const
{
    // A field of the inspector would take Undo and Redo for its own typing, which would leave the
    // design and the field apart: the keys go on to the window's commands, which first commit what
    // was typed (as the field's step) and then undo or redo the design's last step.
    const bool ctrlY = event->key() == Qt::Key_Y && event->modifiers() == Qt::ControlModifier;
    if (!event->matches(QKeySequence::Undo) && !event->matches(QKeySequence::Redo) && !ctrlY)
        return false;
    QWidget *focus = m_host.inspectorWindow().focusWidget();
    if (!focus || !m_host.inspectorTabs().sett_tab()->isAncestorOf(focus))
        return false;
    event->ignore();
    return true;
}

void Inspector::fillCardPage()
{
    const Filling filling(*this);
    m_host.liveCanvas()->Clear_Control_Selection();
    m_host.editButtonsForCard();
    Last_Selected_Graphic.reset();
    const InspectorTabPlan plan = InspectorTabPlan::cardPage();
    m_selControlName = plan.code;
    const ShownPage before = shownPage();
    m_host.inspectorTabs().Remove_All_Tab_Items();
    showTabs(plan);
    m_cardPage->reload();
    bringPageToFront(before);
    m_host.inspectorTabs().sett_tab()->update();
}

Inspector::ShownPage Inspector::shownPage() const
{
    const InspectorTabs &tabs = m_host.inspectorTabs();
    return {tabs.shownItems(), tabs.currentItem()};
}

void Inspector::bringPageToFront(const ShownPage &before)
{
    InspectorTabs &tabs = m_host.inspectorTabs();
    // The same pages again (another object of the kind, the card page once more): the user stays
    // on the page they were working on.
    if (tabs.shownItems() == before.tabs && tabs.isShown(before.front))
        tabs.selectItem(before.front);
    else
        tabs.sett_tab()->setCurrentIndex(0);
}

void Inspector::showTabs(const InspectorTabPlan &plan)
{
    InspectorTabs &tabs = m_host.inspectorTabs();
    for (const auto &[item, label] : plan.labels)
        tabs.setLabel(item, label);
    for (T::Item item : plan.tabs)
        tabs.addItem(item);
    if (!plan.sourceTitle.isEmpty()) {
        m_dataSource->setTitle(plan.sourceTitle);
        m_dataSource->manual_brws_box->setVisible(plan.pictureBox);
    }
    tabs.sett_tab()->setCurrentIndex(0);
}

void Inspector::fillObject(const GraphicPtr &graphic)
{
    const bool locked = graphic->ctrl_is_locked;
    m_host.editButtonsForObject(locked);
    if (Last_Selected_Graphic.lock() == graphic) {
        // The same first object, but the selection around it may have changed.
        if (graphic->kind() == SKTGraphic::Kind::Text && !locked)
            m_texts->showWords(*graphic);
        if (graphic->kind() == SKTGraphic::Kind::Image)
            m_pictures->showPictureFile(*graphic);
        return;
    }
    Last_Selected_Graphic = graphic;
    const ShownPage before = shownPage();
    // Emptied before filling starts: a field that loses its page finishes its edit as typed.
    m_host.inspectorTabs().Remove_All_Tab_Items();
    m_alignment->showDoNotPrint(graphic->print_object == 1);
    const SKTGraphic::Kind kind = graphic->kind();
    const QString variant = kind == SKTGraphic::Kind::Signature ? graphic->Sign_Or_FP_Val()
                            : kind == SKTGraphic::Kind::Shape   ? graphic->Get_shape_type()
                                                                : QString();
    const InspectorTabPlan plan = InspectorTabPlan::forObject(kind, locked, variant);
    const Filling filling(*this);
    m_selControlName = plan.code;
    showTabs(plan);
    if (plan.sourceLoad != InspectorTabPlan::SourceLoad::None)
        m_dataSource->loadFrom(*graphic, plan.sourceLoad == InspectorTabPlan::SourceLoad::IndexFirst);
    switch (plan.panel.value_or(InspectorTabPlan::Panel::ShapeLine)) {
    case InspectorTabPlan::Panel::Text:
        m_texts->loadFrom(*graphic);
        break;
    case InspectorTabPlan::Panel::Picture:
        m_pictures->loadFrom(*graphic);
        break;
    case InspectorTabPlan::Panel::Barcode:
        m_barcodes->loadFrom(*graphic);
        break;
    case InspectorTabPlan::Panel::ShapeLine:
        // A shape shows its own extra controls and title, none while locked.
        m_shapes->loadFrom(*graphic);
        break;
    }
    bringPageToFront(before);
    m_host.inspectorTabs().sett_tab()->update();
}
