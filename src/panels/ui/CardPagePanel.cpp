#include "panels/ui/CardPagePanel.h"

#include "canvas/ui/SKTGraphicView.h"
#include "canvas/ui/SKTZoomingScrollView.h"
#include "foundation/MessageBoxes.h"
#include "foundation/RowListModel.h"
#include "foundation/StringUtils.h"
#include "foundation/WindowRegistry.h"
#include "foundation/ui/ChooserPanels.h"
#include "foundation/ui/ColorWell.h"
#include "foundation/ui/ControlUtils.h"
#include "foundation/ui/FilePanels.h"
#include "foundation/ui/StepperField.h"
#include "model/Card_Property.h"
#include "model/DesignSettings.h"
#include "model/EditStep.h"
#include "model/GraphicWords.h"
#include "model/PathUtil.h"
#include "model/SKTDocument.h"
#include "model/SKTText.h"
#include "paint/ResourcePictures.h"
#include "panels/CardSizeTables.h"
#include "panels/ObjectsOnCard.h"
#include "panels/ui/CardBackgroundTab.h"
#include "panels/ui/CardBorderTab.h"
#include "panels/ui/CardSettingsTab.h"
#include "panels/ui/ComboDispatcher.h"
#include "panels/ui/ImageSignPanel.h"
#include "panels/ui/InspectorHost.h"
#include "panels/ui/InspectorTabs.h"
#include "panels/ui/ObjectPanel.h"
#include "panels/ui/PanelEdits.h"
#include "panels/ui/TextPanel.h"
#include "platform/FontResolver.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTableView>

#include <algorithm>
#include <exception>
#include <vector>

namespace
{
QColor withAlpha(QColor color, double alpha)
{
    color.setAlphaF(float(qBound(0.0, alpha, 1.0)));
    return color;
}

QString selectedText(const QComboBox *combo)
{
    // Nothing chosen stores an empty text rather than a stale one.
    return combo->currentIndex() >= 0 ? combo->currentText() : QString();
}

void selectItemWithText(QComboBox *combo, const QString &text)
{
    const int index = combo->findText(text);
    if (index >= 0)
        combo->setCurrentIndex(index);
}
} // namespace

CardPagePanel::CardPagePanel(InspectorHost &host) : QObject(&host.inspectorWindow()), m_host(host)
{
    InspectorTabs &tabs = host.inspectorTabs();
    m_settings = new CardSettingsTab(tabs.page(InspectorTabs::card_setting_tab));
    m_background = new CardBackgroundTab(tabs.page(InspectorTabs::card_bkgd_tab));
    m_border = new CardBorderTab(tabs.page(InspectorTabs::card_brdr_tab));
    // What the page shows before a design is loaded into it.
    m_border->Card_bor_Stepper->setValue(3);
    card_prop_set(FillCode::Solid);
    connectControls();
    m_designWatch = std::make_unique<DesignListener>(host.document(), [this] { reload(); });
}

CardPagePanel::~CardPagePanel()
{
    m_designWatch.reset();
    delete m_settings;
    delete m_background;
    delete m_border;
}

void CardPagePanel::connectControls()
{
    const auto clicked = [this](QAbstractButton *b, const char *name, void (CardPagePanel::*action)()) {
        connect(b, &QAbstractButton::clicked, this, [this, name, action] { runStep(name, action); });
    };
    clicked(m_border->Card_border_chk, "Border", &CardPagePanel::Card_Border_ChkBox);
    clicked(m_background->Card_fill_chk, "Fill", &CardPagePanel::Card_Fill_Chk_Box);
    clicked(m_background->Card_solid_fill_rd, "Solid Fill", &CardPagePanel::Card_Solid_RD_Sel);
    clicked(m_background->Card_gradient_fill_rd, "Gradient Fill", &CardPagePanel::Card_Gradient_RD_Sel);
    clicked(m_background->Card_Style_fill_rd, "Pattern Fill", &CardPagePanel::Card_Hatch_RD_Sel);
    clicked(m_background->Card_Image_fill_rd, "Picture Fill", &CardPagePanel::Card_Image_RD_Sel);
    clicked(m_background->Card_Image_Browse_btn, "Background", &CardPagePanel::Card_Image_Browse_Btn);
    clicked(m_background->Card_Image_Library_btn, "Background", &CardPagePanel::Card_Image_Library_Btn);
    clicked(m_settings->Apply_Size_btn, "Card Size", &CardPagePanel::Apply_Size_Clicked);
    clicked(m_settings->All_Text_font_btn, "Content Font", &CardPagePanel::Content_Font_Clicked);
    const std::pair<ColorWell *, const char *> wells[] = {
        {m_border->Card_bordr_clr, "Border Colour"},
        {m_background->Card_fill_clr, "Fill Colour"},
        {m_background->Card_fill_Grd_1_clr, "Gradient Colour"},
        {m_background->Card_fill_Grd_2_clr, "Gradient Colour"},
        {m_background->Card_hatch_bk_clr, "Pattern Background"}};
    for (const auto &[well, name] : wells)
        connect(well, &ColorWell::colorPicked, this, [this, well = well, name = name] {
            PanelEdits::cardPage(m_host, QString::fromLatin1(name), [this, well] { writeColor(well); });
        });
    connect(m_settings->All_Text_clr, &ColorWell::colorPicked, this,
            [this] { runStep("Content Colour", &CardPagePanel::Contect_Color_Clicked); });
    // Width and height act as their steppers do: a committed value resizes the card. A held arrow
    // is one step.
    const std::tuple<StepperField *, const char *, void (CardPagePanel::*)()> steppers[] = {
        {m_border->Card_bor_Stepper, "Border Width", &CardPagePanel::writeBorderWidth},
        {m_background->Card_grad_Stepper, "Gradient Angle", &CardPagePanel::writeGradientAngle},
        {m_background->Card_alpha_Stepper, "Opacity", &CardPagePanel::writeOpacity},
        {m_settings->width_Stepper, "Card Size", &CardPagePanel::Apply_Size_Clicked},
        {m_settings->height_Stepper, "Card Size", &CardPagePanel::Apply_Size_Clicked}};
    for (const auto &[stepper, name, action] : steppers) {
        PanelEdits::endMergeWhenLeft(m_host, stepper, true);
        connect(stepper, &StepperField::userChanged, this,
                [this, stepper = stepper, name = name, action = action] { runStep(name, action, stepper); });
    }
    // Only a name the user typed is written: the field also finishes editing when the focus moves
    // on after a side switch, and must not copy the other side's page then.
    connect(m_settings->card_name, &QLineEdit::editingFinished, this, [this] {
        if (!m_settings->card_name->isModified())
            return;
        m_settings->card_name->setModified(false);
        runStep("Card Name", &CardPagePanel::writeName);
    });
    connect(m_settings->matrix_card_shape, &QButtonGroup::idClicked, this, [this](int row) {
        PanelEdits::cardPage(m_host, QStringLiteral("Card Shape"),
                             [this, row] { card_shape_CellClick(row); });
    });
    connect(m_settings->ColList, &QTableView::clicked, this, [this](const QModelIndex &index) {
        PanelEdits::cardPage(m_host, QStringLiteral("Card Size"),
                             [this, index] { sizeRowChosen(index.row()); });
    });
}

void CardPagePanel::runStep(const char *name, void (CardPagePanel::*action)(), const QObject *mergeControl)
{
    PanelEdits::cardPage(
        m_host, QString::fromLatin1(name), [this, action] { (this->*action)(); }, mergeControl);
}

// --- loading ---

void CardPagePanel::reload()
{
    // The page's own controls are quiet while they are loaded: showing the design writes nothing.
    std::vector<QSignalBlocker> quiet;
    for (QObject *control : controls())
        quiet.emplace_back(control);
    loadFrom(m_host.cardProperty(m_host.Card_Front_Or_Back() != 0 ? 1 : 0));
}

QList<QObject *> CardPagePanel::controls() const
{
    const CardSettingsTab &s = *m_settings;
    const CardBackgroundTab &b = *m_background;
    const CardBorderTab &r = *m_border;
    return {s.card_name,
            s.Sides_ComboBox,
            s.Preset_ComboBox,
            s.Category_ComboBox,
            s.ColList,
            s.width_Stepper,
            s.height_Stepper,
            s.matrix_card_shape,
            s.All_Text_clr,
            b.Card_fill_chk,
            b.Card_solid_fill_rd,
            b.Card_fill_clr,
            b.Card_gradient_fill_rd,
            b.Card_fill_Grd_1_clr,
            b.Card_fill_Grd_2_clr,
            b.Card_grad_Stepper,
            b.Card_Style_fill_rd,
            b.Card_hatch_style,
            b.Card_hatch_bk_clr,
            b.Card_Image_fill_rd,
            b.Card_Image_path,
            b.Card_image_layout,
            b.Card_alpha_Stepper,
            r.Card_border_chk,
            r.Card_bordr_clr,
            r.Card_bor_Stepper,
            r.Card_border_style};
}

void CardPagePanel::loadFrom(const Card_Property &page)
{
    m_border->Card_border_chk->setChecked(page.Card_border_chk);
    m_border->Card_bordr_clr->setColor(page.Card_bordr_clr);
    m_border->Card_bor_Stepper->setValue(page.Card_bor_Stepper);
    ObjectPanel::loadBorderStyle(m_border->Card_border_style, page.Card_border_style);
    m_background->Card_fill_chk->setChecked(page.Card_fill_chk);
    m_background->Card_fill_clr->setColor(page.Card_fill_clr);
    const QString fillStyle = page.Card_fill_style;
    m_background->Card_fill_Grd_1_clr->setColor(page.Card_fill_Grd_1_clr);
    m_background->Card_fill_Grd_2_clr->setColor(page.Card_fill_Grd_2_clr);
    m_background->Card_grad_Stepper->setValue(page.Card_grad_Stepper);
    m_background->Card_hatch_bk_clr->setColor(page.Card_hatch_bk_clr);
    // The pattern list shows this page's pattern, or none: never the side shown before.
    m_background->Card_hatch_style->setCurrentIndex(
        page.Card_hatch_style.isEmpty() ? -1
                                        : m_background->Card_hatch_style->findText(page.Card_hatch_style));
    m_background->Card_alpha_Stepper->setValue(double(page.Card_alpha_Stepper) * 100.0);
    m_background->Card_Image_path->setText(page.Card_BG_Image_Path);
    selectItemWithText(m_background->Card_image_layout, page.Card_BG_Image_Layout);
    showContentFont(page.Card_Content_font, page.Card_Content_clr);
    const CardDesign &design = m_host.document().design();
    if (QAbstractButton *b = m_settings->matrix_card_shape->button(design.outline()))
        b->setChecked(true);
    m_settings->card_name->setText(page.Card_Name);
    // The steppers show the card as it is, so Apply starts from the real size. Showing a page
    // writes nothing into it.
    const QSizeF size = design.cardSize();
    m_settings->width_Stepper->setValue(CardSizeTables::Points_to_MM_Convert(float(size.width())));
    m_settings->height_Stepper->setValue(CardSizeTables::Points_to_MM_Convert(float(size.height())));
    // The sides follow the stored record, so that the next write does not turn a one-sided card
    // into a two-sided one.
    const bool twoSided = page.isTwoSided();
    m_settings->Sides_ComboBox->setCurrentIndex(twoSided ? 0 : 1);
    // Orientation, category and row follow the card's size; what the page names is tried first.
    showEntryOfCardSize(page.Card_Category, CardSizeTables::presetOf(page.Card_Preset), page.Card_Cat_index);
    card_prop_set(fillStyle);
}

void CardPagePanel::showContentFont(const FontDescriptor &font, const QColor &color)
{
    m_settings->All_Text_font_value->setText(TextPanel::fontDisplayText(font));
    m_settings->All_Text_clr->setColor(color);
}

const Card_Property &CardPagePanel::livePage() const
{
    return m_host.document().design().page(m_host.Card_Front_Or_Back() != 0 ? 1 : 0);
}

void CardPagePanel::attachCombos(ComboDispatcher &d) const
{
    using C = ComboDispatcher::Combo;
    d.attach(m_background->Card_image_layout, C::Card_image_layout);
    d.attach(m_border->Card_border_style, C::Card_border_style);
    d.attach(m_background->Card_hatch_style, C::Card_hatch_style);
    d.attach(m_settings->Sides_ComboBox, C::Sides_ComboBox);
    d.attach(m_settings->Preset_ComboBox, C::Preset_ComboBox);
    d.attach(m_settings->Category_ComboBox, C::Category_ComboBox);
}

void CardPagePanel::setPatternNames(const QStringList &names)
{
    QComboBox *combo = m_background->Card_hatch_style;
    const QSignalBlocker quiet(combo);
    combo->addItems(names);
    if (!names.isEmpty())
        combo->setCurrentIndex(0);
}

// --- the size list ---

void CardPagePanel::fillSizeList(int categoryIndex)
{
    m_settings->ListData->clear();
    for (const QString &name :
         CardSizeTables::namesFor(m_settings->Category_ComboBox->itemText(categoryIndex)))
        m_settings->ListData->Create_List(name);
    Mark_List_New_Selection(0);
}

void CardPagePanel::Mark_List_New_Selection(int row)
{
    QItemSelectionModel *selection = m_settings->ColList->selectionModel();
    if (row < 0 || row >= m_settings->ListData->count()) {
        selection->clearSelection();
        return;
    }
    m_settings->ColList->selectRow(row);
}

QString CardPagePanel::presetCode() const
{
    return CardSizeTables::presetOf(m_settings->Preset_ComboBox->currentText());
}

QSizeF CardPagePanel::cardSizeMM() const
{
    const QSizeF points = m_host.document().design().cardSize();
    return QSizeF(CardSizeTables::Points_to_MM_Convert(float(points.width())),
                  CardSizeTables::Points_to_MM_Convert(float(points.height())));
}

void CardPagePanel::showEntryOfCardSize(const QString &category, const QString &preset, int preferred)
{
    const CardSizeTables::SizeEntry entry =
        CardSizeTables::entryOfSize(category, preset, cardSizeMM(), preferred);
    m_settings->Preset_ComboBox->setCurrentIndex(entry.preset == QLatin1String("V") ? 1 : 0);
    const int categoryIndex = m_settings->Category_ComboBox->findText(entry.category);
    m_settings->Category_ComboBox->setCurrentIndex(categoryIndex);
    fillSizeList(categoryIndex);
    Mark_List_New_Selection(entry.row);
}

void CardPagePanel::orientationChosen()
{
    const QString category = m_settings->Category_ComboBox->currentText();
    const QSizeF mm = cardSizeMM();
    const CardSizeTables::SizeEntry entry =
        CardSizeTables::entryOfSize(category, presetCode(), mm, selectedSizeRow());
    // The card turns when it does not stand that way yet; a square one has no other way.
    if (entry.preset != presetCode() && mm.width() != mm.height()) {
        const QSizeF before = m_host.document().design().cardSize();
        const double width = m_settings->width_Stepper->value();
        m_settings->width_Stepper->setValue(m_settings->height_Stepper->value());
        m_settings->height_Stepper->setValue(width);
        // The turn names what it moved and what it left off itself, in one message.
        m_nameLeftOff = false;
        Apply_Size_Clicked();
        m_nameLeftOff = true;
        keepObjectsOnTurnedCard(before);
        return;
    }
    showEntryOfCardSize(category, presetCode(), selectedSizeRow());
}

void CardPagePanel::keepObjectsOnTurnedCard(QSizeF before)
{
    SKTDocument &document = m_host.document();
    const ObjectsOnCard::TurnPlan plan =
        ObjectsOnCard::turn(document.list(SKTDocument::Front), document.list(SKTDocument::Back), before,
                            document.design().cardSize());
    if (!plan.moves.isEmpty()) {
        GraphicList moving;
        for (const ObjectsOnCard::Move &m : plan.moves)
            moving.append(m.graphic);
        // A step inside the orientation's own: one Undo takes back the turn and the moves.
        const EditStep step(document, {QStringLiteral("Orientation"), m_host.Card_Front_Or_Back(), {}},
                            {GraphicStates::of(moving)});
        for (const ObjectsOnCard::Move &m : plan.moves)
            m.graphic->setBounds(m.frame);
    }
    if (plan.message.isEmpty())
        return;
    // Said once the step is complete: the card is drawn turned and Undo offers it.
    QMetaObject::invokeMethod(
        this, [text = plan.message] { Show_MessageBox(text); }, Qt::QueuedConnection);
}

void CardPagePanel::categoryChosen()
{
    // The category's names, the card's own size marked when the category lists it.
    const QString category = m_settings->Category_ComboBox->currentText();
    fillSizeList(m_settings->Category_ComboBox->currentIndex());
    Mark_List_New_Selection(CardSizeTables::rowOfSize(category, presetCode(), cardSizeMM(), -1));
}

int CardPagePanel::selectedSizeRow() const
{
    const QModelIndexList rows = m_settings->ColList->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void CardPagePanel::sizeRowChosen(int row)
{
    if (PanelEdits::loading(m_host) || row < 0)
        return;
    const QSizeF mm =
        CardSizeTables::Get_My_card_Size(m_settings->Category_ComboBox->currentText(), presetCode(), row);
    m_settings->width_Stepper->setValue(mm.width());
    m_settings->height_Stepper->setValue(mm.height());
    Apply_Size_Clicked();
}

// --- writing the page settings ---

void CardPagePanel::writeSettings(const std::function<void(DesignSettings &, int side)> &write)
{
    if (PanelEdits::loading(m_host))
        return;
    // Each control writes its own fields and nothing else: the rest of the page stays as stored,
    // whatever the panel last showed.
    const int side = m_host.Card_Front_Or_Back() != 0 ? 1 : 0;
    m_host.document().changeSettingsRecorded(
        QStringLiteral("Card Page"), side,
        [&write, side](DesignSettings &settings) { write(settings, side); });
    m_host.Refresh_Canvas();
}

void CardPagePanel::writePage(const std::function<void(Card_Property &)> &write)
{
    writeSettings([&write](DesignSettings &settings, int side) { write(settings.page(side)); });
}

void CardPagePanel::writeColor(ColorWell *well)
{
    // The fill colours carry the page's opacity; the border's is drawn whole.
    const std::pair<ColorWell *, QColor Card_Property::*> fields[] = {
        {m_border->Card_bordr_clr, &Card_Property::Card_bordr_clr},
        {m_background->Card_fill_clr, &Card_Property::Card_fill_clr},
        {m_background->Card_fill_Grd_1_clr, &Card_Property::Card_fill_Grd_1_clr},
        {m_background->Card_fill_Grd_2_clr, &Card_Property::Card_fill_Grd_2_clr},
        {m_background->Card_hatch_bk_clr, &Card_Property::Card_hatch_bk_clr}};
    for (const auto &[w, member] : fields) {
        if (w != well)
            continue;
        const QColor color = well->color();
        writePage([member = member, color, border = w == m_border->Card_bordr_clr](Card_Property &p) {
            p.*member = border ? color : withAlpha(color, p.drawOpacity());
        });
    }
}

void CardPagePanel::writeBorderWidth()
{
    const int width = int(m_border->Card_bor_Stepper->value());
    writePage([width](Card_Property &p) { p.Card_bor_Stepper = width; });
}

void CardPagePanel::writeGradientAngle()
{
    const int angle = int(m_background->Card_grad_Stepper->value());
    writePage([angle](Card_Property &p) { p.Card_grad_Stepper = angle; });
}

void CardPagePanel::writeOpacity()
{
    const double a = m_background->Card_alpha_Stepper->value() / 100.0;
    writePage([a](Card_Property &p) {
        p.Card_alpha_Stepper = float(a);
        for (QColor Card_Property::*member :
             {&Card_Property::Card_fill_clr, &Card_Property::Card_fill_Grd_1_clr,
              &Card_Property::Card_fill_Grd_2_clr, &Card_Property::Card_hatch_bk_clr})
            p.*member = withAlpha(p.*member, a);
    });
}

void CardPagePanel::writeName()
{
    const QString typed = Trim_Str(m_settings->card_name->text());
    const QString name = typed.isEmpty() ? UntitledName : typed;
    writePage([&name](Card_Property &p) { p.Card_Name = name; });
}

void CardPagePanel::writeBorderStyle()
{
    const QString border = ObjectPanel::borderStyleCode(m_border->Card_border_style->currentIndex());
    if (!border.isEmpty())
        writePage([&border](Card_Property &p) { p.Card_border_style = border; });
}

void CardPagePanel::writePattern()
{
    const QString pattern = selectedText(m_background->Card_hatch_style);
    writePage([&pattern](Card_Property &p) { p.Card_hatch_style = pattern; });
}

void CardPagePanel::writeImageLayout()
{
    const QString layout = selectedText(m_background->Card_image_layout);
    writePage([&layout](Card_Property &p) { p.Card_BG_Image_Layout = layout; });
}

void CardPagePanel::writeSides()
{
    // One setting for the design: both pages carry it.
    const bool twoSided = m_settings->Sides_ComboBox->currentIndex() == 0;
    const QString code = twoSided ? QStringLiteral("2") : QStringLiteral("1");
    writeSettings([&code](DesignSettings &settings, int) {
        settings.frontPage.Card_Side = code;
        settings.backPage.Card_Side = code;
    });
}

void CardPagePanel::selectFillRadio(const QString &fillStyle)
{
    m_background->Card_solid_fill_rd->setChecked(
        fillStyle != FillCode::Gradient && fillStyle != FillCode::Hatch && fillStyle != FillCode::Picture);
    m_background->Card_gradient_fill_rd->setChecked(fillStyle == FillCode::Gradient);
    m_background->Card_Style_fill_rd->setChecked(fillStyle == FillCode::Hatch);
    m_background->Card_Image_fill_rd->setChecked(fillStyle == FillCode::Picture);
}

void CardPagePanel::setFillKindEnabling(const QString &fillStyle)
{
    const bool gradient = fillStyle == FillCode::Gradient;
    const bool hatch = fillStyle == FillCode::Hatch;
    const bool picture = fillStyle == FillCode::Picture;
    SetObjEnabled(m_background->Card_fill_clr, !gradient && !hatch && !picture);
    for (QWidget *w :
         std::initializer_list<QWidget *>{m_background->Card_fill_Grd_1_clr,
                                          m_background->Card_fill_Grd_2_clr, m_background->Card_grad_Stepper})
        SetObjEnabled(w, gradient);
    SetObjEnabled(m_background->Card_hatch_style, hatch);
    SetObjEnabled(m_background->Card_hatch_bk_clr, hatch);
    SetObjEnabled(m_background->Card_image_box, picture);
}

void CardPagePanel::card_prop_set(const QString &fillStyle)
{
    selectFillRadio(fillStyle);
    SetObjEnabled(m_border->Card_Border_Box, m_border->Card_border_chk->isChecked());
    SetObjEnabled(m_background->Card_Fill_Box, m_background->Card_fill_chk->isChecked());
    // The chosen kind's own controls end enabled even while the fill is off.
    setFillKindEnabling(fillStyle);
    m_host.inspectorTabs().sett_tab()->update();
}

// --- actions ---

void CardPagePanel::Card_Border_ChkBox()
{
    const bool on = m_border->Card_border_chk->isChecked();
    SetObjEnabled(m_border->Card_Border_Box, on);
    writePage([on](Card_Property &p) { p.Card_border_chk = on; });
}

void CardPagePanel::Card_Fill_Chk_Box()
{
    const bool on = m_background->Card_fill_chk->isChecked();
    SetObjEnabled(m_background->Card_Fill_Box, on);
    const Card_Property *live = m_host.liveCardProperty();
    card_prop_set(live ? live->Card_fill_style : QString(FillCode::Solid));
    const bool back = m_host.Card_Front_Or_Back() != 0;
    writePage([on, back](Card_Property &p) {
        p.Card_fill_chk = on;
        // The back page shows no fill kind while its fill is off; the front keeps its kind.
        if (back && !on)
            p.Card_fill_style = FillCode::Solid;
    });
}

void CardPagePanel::chooseFillKind(const QString &fillStyle)
{
    selectFillRadio(fillStyle);
    setFillKindEnabling(fillStyle);
    const QString pattern = selectedText(m_background->Card_hatch_style);
    writePage([&fillStyle, &pattern](Card_Property &p) {
        p.Card_fill_style = fillStyle;
        // A pattern fill names the pattern it draws.
        if (fillStyle == FillCode::Hatch)
            p.Card_hatch_style = pattern;
    });
}

void CardPagePanel::Card_Solid_RD_Sel()
{
    chooseFillKind(FillCode::Solid);
}

void CardPagePanel::Card_Gradient_RD_Sel()
{
    chooseFillKind(FillCode::Gradient);
}

void CardPagePanel::Card_Hatch_RD_Sel()
{
    // A pattern fill draws its first pattern until the user picks another.
    if (m_background->Card_hatch_style->currentIndex() < 0 && m_background->Card_hatch_style->count() > 0)
        m_background->Card_hatch_style->setCurrentIndex(0);
    chooseFillKind(FillCode::Hatch);
}

void CardPagePanel::Card_Image_RD_Sel()
{
    chooseFillKind(FillCode::Picture);
}

void CardPagePanel::Card_Image_Browse_Btn()
{
    const std::optional<QString> path = FilePanels::instance().openFile(
        &m_host.inspectorWindow(), QStringLiteral("Choose Background Picture"),
        ImageSignPanel::pictureSuffixes());
    if (!path)
        return;
    m_host.setLiveBackground(*path);
    // Showing the new background reloads the page; the user stays where the picture was chosen.
    m_host.inspectorTabs().selectItem(InspectorTabs::card_bkgd_tab);
}

void CardPagePanel::Card_Image_Library_Btn()
{
    if (const std::optional<QString> path =
            m_host.registry().choosePicture(WindowRegistry::PictureShelf::Backgrounds))
        m_host.setLiveBackground(*path);
    m_host.inspectorTabs().selectItem(InspectorTabs::card_bkgd_tab);
}

void CardPagePanel::Apply_Size_Clicked()
{
    const float w = CardSizeTables::MM_to_Points_Convert(float(m_settings->width_Stepper->value()));
    const float h = CardSizeTables::MM_to_Points_Convert(float(m_settings->height_Stepper->value()));
    // A size typed in, or one kept through an outline change, names its entry or a custom size.
    const QSizeF before = m_host.document().design().cardSize();
    // The card's size, not the page's: a size typed and committed while the inspector reloads
    // (the next command came first) still reaches the card.
    m_host.document().changeSettingsRecorded(
        QStringLiteral("Card Size"), m_host.Card_Front_Or_Back(),
        [size = QSizeF(w, h)](DesignSettings &settings) { settings.setCardSize(size); });
    showEntryOfCardSize(m_settings->Category_ComboBox->currentText(), presetCode(), selectedSizeRow());
    const QString preset = selectedText(m_settings->Preset_ComboBox);
    const QString category = selectedText(m_settings->Category_ComboBox);
    const int row = selectedSizeRow();
    const QString name = row != -1 ? m_settings->ListData->Get_Item_Text(row) : QString();
    writePage([&](Card_Property &p) {
        p.Card_Preset = preset;
        p.Card_Category = category;
        p.Card_Sub_Category = name;
        p.Card_Cat_index = row;
    });
    m_host.sideCanvas(0)->Refresh_ScrollView();
    nameObjectsLeftOff(before);
}

void CardPagePanel::nameObjectsLeftOff(QSizeF before)
{
    if (!m_nameLeftOff)
        return;
    const QRectF card(QPointF(0, 0), m_host.document().design().cardSize());
    const QRectF was(QPointF(0, 0), before);
    // Sizes pass through millimetres: a frame touching an edge may pass it by a rounding.
    const auto whole = [](const QRectF &frame, const QRectF &area) {
        return area.adjusted(-0.01, -0.01, 0.01, 0.01).contains(frame);
    };
    QStringList past;
    QStringList off;
    SKTDocument &document = m_host.document();
    for (int side : {SKTDocument::Front, SKTDocument::Back}) {
        for (const GraphicPtr &g : document.list(side)) {
            // What already passed an edge was put there by the user.
            const QRectF frame = g->bounds();
            if (!whole(frame, was) || whole(frame, card))
                continue;
            (ObjectsOnCard::drawnArea(*g).intersects(card) ? past : off) << GraphicWords::of(*g);
        }
    }
    if (past.isEmpty() && off.isEmpty())
        return;
    QStringList parts;
    if (!past.isEmpty())
        parts << QStringLiteral("%1 now reach%2 past the card's edge")
                     .arg(ObjectsOnCard::listInWords(past),
                          past.size() == 1 ? QStringLiteral("es") : QString());
    if (!off.isEmpty())
        parts << QStringLiteral("%1 now lie%2 wholly off the card")
                     .arg(ObjectsOnCard::listInWords(off), off.size() == 1 ? QStringLiteral("s") : QString());
    // Said once the step is complete: the card is drawn at its new size and Undo offers it.
    const QString text = QStringLiteral("At this card size, %1. Edit > Undo takes the size back.")
                             .arg(parts.join(QStringLiteral(", and ")));
    QMetaObject::invokeMethod(
        this, [text] { Show_MessageBox(text); }, Qt::QueuedConnection);
}

void CardPagePanel::card_shape_CellClick(int row)
{
    writeSettings([row](DesignSettings &settings, int) { settings.setOutline(row); });
}

void CardPagePanel::Contect_Color_Clicked()
{
    Update_All_Card_Content(livePage().Card_Content_font);
}

void CardPagePanel::Update_All_Card_Content(const FontDescriptor &font)
{
    SKTDocument &doc = m_host.document();
    const GraphicList &list = doc.list(m_host.Card_Front_Or_Back());
    const QColor color = m_settings->All_Text_clr->color();
    // Against what the page holds, the content last given to its texts; compared by value: picking
    // the same font again is no change.
    const bool colorChanged = color != livePage().Card_Content_clr;
    const bool fontChanged = !(font == livePage().Card_Content_font);
    for (const GraphicPtr &g : list) {
        if (g->kind() != SKTGraphic::Kind::Text)
            continue;
        if (colorChanged)
            g->txt_clr = color;
        if (fontChanged)
            g->text_ctrl_font = font;
    }
    // New texts take them too: the page is their one home.
    writePage([&](Card_Property &p) {
        p.Card_Content_clr = color;
        p.Card_Content_font = font;
    });
}

void CardPagePanel::Content_Font_Clicked()
{
    const std::optional<QFont> chosen = ChooserPanels::instance().font(
        &m_host.inspectorWindow(), FontResolver::font(livePage().Card_Content_font));
    if (chosen)
        changeAllTextFont(*chosen);
}

void CardPagePanel::changeAllTextFont(const QFont &font)
{
    try {
        FontDescriptor descriptor;
        descriptor.postScriptName = FontResolver::postScriptNameFor(font);
        descriptor.size = font.pointSizeF() > 0 ? font.pointSizeF() : livePage().Card_Content_font.size;
        m_settings->All_Text_font_value->setText(TextPanel::fontDisplayText(descriptor));
        Update_All_Card_Content(descriptor);
    } catch (const std::exception &e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}
