// The right-hand inspector: chooses the tabs for the card page or the selected object's kind and
// loads their controls from the model, with the edit buttons to match. Owns the panels.
#include "panels/Inspector.h"

#include "canvas/CanvasTracking.h"
#include "canvas/SKTGraphicView.h"
#include "editor/EditButtons.h"
#include "editor/InspectorTabs.h"
#include "editor/MainWindowLayout.h"
#include "editor/SKTWindowController.h"
#include "editor/SideViews.h"
#include "foundation/MessageBoxes.h"
#include "model/BulkLoadGuard.h"
#include "model/ModelGlobals.h"
#include "model/SKTDocument.h"
#include "panels/AlignmentTab.h"
#include "panels/BarcodePanel.h"
#include "panels/CardPagePanel.h"
#include "panels/ComboDispatcher.h"
#include "panels/DataSourceTab.h"
#include "panels/ImageSignPanel.h"
#include "panels/LockTab.h"
#include "panels/ShapeLinePanel.h"
#include "panels/ShapeTab.h"
#include "panels/TextPanel.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>

#include <exception>

namespace
{
using T = InspectorTabs;
} // namespace

Inspector::Inspector(SKTWindowController &window)
    : QObject(&window), m_window(window), m_cardPage(new CardPagePanel(window)),
      m_dataSource(new DataSourceTab(window)),
      m_alignment(new AlignmentTab(window.inspectorTabs().page(T::aligmnt_tab), window.ui())),
      m_lock(new LockTab(window)),
      // The picture panel puts its file controls into the data-source box, so that box comes first.
      m_shapes(new ShapeLinePanel(window)), m_texts(new TextPanel(window)),
      m_pictures(new ImageSignPanel(window)), m_barcodes(new BarcodePanel(window)),
      m_dispatcher(new ComboDispatcher(window, *m_cardPage, *m_dataSource))
{
    attachCombos();
    qApp->installEventFilter(this);
}

Inspector::~Inspector()
{
    delete m_alignment;
}

void Inspector::attachCombos()
{
    using C = ComboDispatcher::Combo;
    MainWindowLayout &ui = m_window.ui();
    ComboDispatcher &d = *m_dispatcher;
    d.attach(ui.Card_image_layout, C::Card_image_layout);
    d.attach(ui.Card_border_style, C::Card_border_style);
    d.attach(ui.Card_hatch_style, C::Card_hatch_style);
    d.attach(ui.Sides_ComboBox, C::Sides_ComboBox);
    d.attach(ui.Preset_ComboBox, C::Preset_ComboBox);
    d.attach(ui.Category_ComboBox, C::Category_ComboBox);
    d.attach(m_dataSource->Data_source_type, C::Data_source_type);
    d.attach(m_dataSource->Batch_Series, C::Batch_Series);
    // The object panels connect their own style combos; the dispatcher needs their write-back for
    // a picture bound to a series.
    d.setPanelUpdate(ComboDispatcher::Panel::Image, [this] { m_pictures->Update_Image_Graphics(); });
}

void Inspector::Show_RHS_Properties(const GraphicPtr &graphic)
{
    if (Not_Draw_Only_Prop_Change & 1)
        return;
    m_window.selectArrowTool();
    try {
        if (graphic)
            fillObject(graphic);
        else
            fillCardPage();
    } catch (const std::exception &e) {
        // The bulk-load mark has been cleared by its guard; what was filled stays.
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

void Inspector::showLiveSelection(bool reload)
{
    if (Not_Draw_Only_Prop_Change & 1)
        return;
    if (reload)
        Last_Selected_Graphic.reset();
    SideViews &sides = m_window.sideViews();
    // The preview shows the live side's own objects, which are not edited there.
    const GraphicPtr current = sides.shownIndex() == SKTDocument::Temp
                                   ? nullptr
                                   : sides.liveCanvas()->tracking().currentOfSelection();
    Show_RHS_Properties(current);
}

void Inspector::commitTypedValue()
{
    QWidget *focus = m_window.focusWidget();
    if (!focus || !m_window.inspectorTabs().sett_tab()->isAncestorOf(focus) ||
        (Not_Draw_Only_Prop_Change & 1))
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
    if (type != QEvent::MouseButtonPress && type != QEvent::Shortcut)
        return false;
    QWidget *focus = m_window.focusWidget();
    if (!focus)
        return false;
    // A press inside the field itself (its arrows, its text) is its own business.
    auto *target = qobject_cast<QWidget *>(watched);
    if (target && (target == focus || focus->isAncestorOf(target)))
        return false;
    commitTypedValue();
    return false;
}

void Inspector::fillCardPage()
{
    BulkLoadGuard loading;
    m_window.sideViews().canvas(Card_Front_Or_Back == 0 ? 0 : 1)->Clear_Control_Selection();
    m_window.editButtons().Disable_Standard_Button_For_Card();
    Last_Selected_Graphic.reset();
    m_selControlName = QStringLiteral("NONE");
    InspectorTabs &tabs = m_window.inspectorTabs();
    tabs.Remove_All_Tab_Items();
    for (T::Item item : {T::card_setting_tab, T::card_bkgd_tab, T::card_brdr_tab})
        tabs.addItem(item);
    tabs.sett_tab()->setCurrentIndex(0);
    m_cardPage->loadFrom(Card_Front_Or_Back == 0 ? m_window.Front_card_Prop : m_window.Back_card_Prop);
    tabs.sett_tab()->update();
}

void Inspector::fillObject(const GraphicPtr &graphic)
{
    EditButtons &buttons = m_window.editButtons();
    buttons.Enable_Standard_Button_For_Control();
    const bool locked = graphic->ctrl_is_locked;
    if (locked)
        buttons.Disable_Standard_Button_For_Lock();
    else
        buttons.Enable_Standard_Button_For_Unlock();
    if (Last_Selected_Graphic.lock() == graphic)
        return;
    Last_Selected_Graphic = graphic;
    InspectorTabs &tabs = m_window.inspectorTabs();
    tabs.Remove_All_Tab_Items();
    m_window.ui().print_object_chk->setChecked(graphic->print_object == 1);
    m_selControlName = QStringLiteral("NONE");
    {
        BulkLoadGuard loading;
        const auto lockedAs = [&](const QString &label) {
            tabs.setLabel(T::Lock_tab, label);
            tabs.addItem(T::Lock_tab);
        };
        switch (graphic->kind()) {
        case SKTGraphic::Kind::Text:
            m_selControlName = QStringLiteral("T");
            if (locked) {
                lockedAs(QStringLiteral("Text Properties"));
            } else {
                tabs.addItem(T::text_edtng_tab);
                tabs.addItem(T::text_prop_tab);
                tabs.setLabel(T::datasource_tab, QStringLiteral("Text Source"));
                tabs.addItem(T::datasource_tab);
                m_dataSource->setTitle(QStringLiteral("Text Source"));
                m_dataSource->manual_brws_box->hide();
            }
            m_dataSource->loadFrom(*graphic, true);
            m_texts->loadFrom(*graphic);
            break;
        case SKTGraphic::Kind::Image:
            m_selControlName = QStringLiteral("I");
            if (locked) {
                lockedAs(QStringLiteral("Image Properties"));
            } else {
                tabs.setLabel(T::datasource_tab, QStringLiteral("Image Source"));
                tabs.addItem(T::datasource_tab);
                tabs.addItem(T::image_tab);
                m_dataSource->setTitle(QStringLiteral("Image Source"));
                m_dataSource->manual_brws_box->show();
            }
            m_dataSource->loadFrom(*graphic, false);
            m_pictures->loadFrom(*graphic);
            break;
        case SKTGraphic::Kind::Line:
            if (locked)
                lockedAs(QStringLiteral("Line Properties"));
            else
                tabs.addItem(T::line_tab);
            m_shapes->loadFrom(*graphic);
            break;
        case SKTGraphic::Kind::Signature: {
            const QString code = graphic->Sign_Or_FP_Val();
            m_selControlName = code;
            tabs.setLabel(T::sign_tab, code == QLatin1String("S") ? QStringLiteral("Signature Properties")
                                                                  : QStringLiteral("FingrePrint Properties"));
            if (locked)
                lockedAs(QStringLiteral("Signature Properties"));
            else
                tabs.addItem(T::sign_tab);
            m_dataSource->loadFrom(*graphic, false);
            m_pictures->loadFrom(*graphic);
            break;
        }
        case SKTGraphic::Kind::Barcode:
            if (locked)
                lockedAs(QStringLiteral("Barcode Properties"));
            else
                tabs.addItem(T::barcode_tab);
            m_barcodes->loadFrom(*graphic);
            break;
        case SKTGraphic::Kind::Shape: {
            // A code outside the eight keeps the label the tab had.
            const QString label = ShapeTab::shapeLabel(graphic->Get_shape_type());
            if (!label.isEmpty())
                tabs.setLabel(locked ? T::Lock_tab : T::shape_tab, label);
            tabs.addItem(locked ? T::Lock_tab : T::shape_tab);
            // Shows the shape's own extra controls and title, none while locked.
            m_shapes->loadFrom(*graphic);
            break;
        }
        }
        tabs.sett_tab()->setCurrentIndex(0);
    }
    if (!locked)
        tabs.addItem(T::aligmnt_tab);
    tabs.sett_tab()->update();
}
