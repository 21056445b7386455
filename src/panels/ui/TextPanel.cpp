#include "panels/ui/TextPanel.h"
#include "foundation/CardCodes.h"

#include "canvas/ui/SKTGraphicView.h"
#include "foundation/DateFormats.h"
#include "foundation/MessageBoxes.h"
#include "foundation/WindowRegistry.h"
#include "foundation/ui/ChooserPanels.h"
#include "foundation/ui/ColorWell.h"
#include "foundation/ui/ControlUtils.h"
#include "foundation/ui/PanelWidgets.h"
#include "foundation/ui/StepperField.h"
#include "model/GraphicInk.h"
#include "model/GraphicWords.h"
#include "model/ModelGlobals.h"
#include "model/SKTDocument.h"
#include "model/SKTText.h"
#include "panels/ui/DataSourceTab.h"
#include "panels/ui/InspectorHost.h"
#include "panels/ui/InspectorTabs.h"
#include "panels/ui/TextEditingTab.h"
#include "panels/ui/TextPropertiesTab.h"
#include "platform/FontResolver.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <utility>

TextPanel::TextPanel(InspectorHost &host)
    : ObjectPanel(host), Text_font(ModelGlobals::defaultTextFont()),
      m_editing(std::make_unique<TextEditingTab>(host.inspectorTabs().page(InspectorTabs::text_edtng_tab))),
      m_properties(
          std::make_unique<TextPropertiesTab>(host.inspectorTabs().page(InspectorTabs::text_prop_tab)))
{
    m_properties->Text_font_value->setText(fontDisplayText(Text_font));
    connectControls();
}

TextPanel::~TextPanel() = default;

void TextPanel::connectControls()
{
    TextEditingTab &e = *m_editing;
    TextPropertiesTab &p = *m_properties;
    connect(e.Text_value_Edit->document(), &QTextDocument::contentsChange, this,
            [this](int position, int, int added) {
                m_typedAt = position;
                m_typedLength = added;
            });
    connect(e.Text_value_Edit, &QPlainTextEdit::textChanged, this, &TextPanel::textDidChange);
    // Typing is one step until the words box is left; Undo there is the design's (the inspector
    // sends the keys on), so the box keeps no history of its own.
    PanelEdits::endMergeWhenLeft(m_host, e.Text_value_Edit, false);
    e.Text_value_Edit->setUndoRedoEnabled(false);
    // The buttons that may be cancelled or refused write only once they have something to write.
    connect(e.insert_template_btn, &QPushButton::clicked, this, &TextPanel::Insert_Template_Button);
    connect(e.Text_Insert_Date_btn, &QPushButton::clicked, this, &TextPanel::Text_Insert_Date);
    connect(e.Text_Insert_Time_btn, &QPushButton::clicked, this, &TextPanel::Text_Insert_Time);
    connect(p.Text_Font_btn, &QPushButton::clicked, this, &TextPanel::Text_Font_Changed);
    // The page's own enabling runs before the write each control makes.
    connect(p.Text_border_chk, &QCheckBox::clicked, this, &TextPanel::Text_Border_ChkBox);
    connect(p.Text_fill_chk, &QCheckBox::clicked, this, &TextPanel::Text_Fill_Chk_Box);
    connect(p.Text_solid_fill_rd, &QRadioButton::clicked, this, &TextPanel::Text_Solid_RD_Sel);
    connect(p.Text_gradient_fill_rd, &QRadioButton::clicked, this, &TextPanel::Text_Gradient_RD_Sel);
    connectBorder(p.Text_border_chk, p.Text_bordr_clr, p.Text_bor_Stepper, p.Text_border_style);
    connectFill({p.Text_fill_chk, p.Text_fill_clr, p.Text_fill_Grd_1_clr, p.Text_fill_Grd_2_clr,
                 p.Text_grad_Stepper, p.Text_alpha_Stepper});
    onEdit(p.Text_solid_fill_rd, &QRadioButton::clicked, QStringLiteral("Solid Fill"),
           fillKind(FillCode::Solid));
    onEdit(p.Text_gradient_fill_rd, &QRadioButton::clicked, QStringLiteral("Gradient Fill"),
           fillKind(FillCode::Gradient));
    onEdit(p.Text_clr, &ColorWell::colorPicked, QStringLiteral("Text Colour"),
           textField([well = p.Text_clr](SKTGraphic &g) { g.txt_clr = well->color(); }));
    onEdit(p.Text_Kern_Stepper, &StepperField::userChanged, QStringLiteral("Letter Spacing"),
           textField([s = p.Text_Kern_Stepper](SKTGraphic &g) { g.text_kerning = float(s->value()); }),
           Merge::WhilePressed);
    onEdit(p.Text_align_combo, &QComboBox::activated, QStringLiteral("Alignment"),
           textField([c = p.Text_align_combo](SKTGraphic &g) { g.text_alignmnet = c->currentIndex(); }));
    onEdit(p.Text_case_combo, &QComboBox::activated, QStringLiteral("Case"),
           textField([c = p.Text_case_combo](SKTGraphic &g) { g.text_transfrom_case = c->currentIndex(); }));
}

PanelEdits::Field TextPanel::textField(std::function<void(SKTGraphic &)> write) const
{
    return {PanelEdits::ofKind(SKTGraphic::Kind::Text), [this, write = std::move(write)](SKTGraphic &g) {
                write(g);
                growToFit(g);
            }};
}

void TextPanel::growToFit(SKTGraphic &g) const
{
    // The frame grows to show all of the text as it now draws.
    auto *text = dynamic_cast<SKTText *>(&g);
    if (!text)
        return;
    const QRectF before = text->bounds();
    text->growToFitText(QRectF(QPointF(0, 0), m_host.frontCanvasBounds().size()));
    if (text->bounds() != before)
        nameNewlyCovered(*text, before);
}

void TextPanel::nameNewlyCovered(const SKTGraphic &text, const QRectF &before) const
{
    const auto overlap = [](const QRectF &a, const QRectF &b) {
        // Edges that meet, or overlap by rounding, are no overlap.
        const QRectF common = a.intersected(b);
        return common.width() > 0.5 && common.height() > 0.5;
    };
    const bool first = m_coverNotes.isEmpty();
    for (const GraphicPtr &g : m_host.document().list(PanelEdits::liveSide(m_host))) {
        if (!g || g.get() == &text || !g->ctrl_is_visible)
            continue;
        const QRectF other = GraphicInk::drawnBox(*g);
        // One it lay over already is where the user put it.
        if (overlap(text.bounds(), other) && !overlap(before, other))
            m_coverNotes << QStringLiteral("%1 grew to show all its words and now covers %2.")
                                .arg(GraphicWords::of(text), GraphicWords::of(*g));
    }
    if (!first || m_coverNotes.isEmpty())
        return;
    // Said once the edit is done and drawn, over every text it grew.
    QMetaObject::invokeMethod(
        const_cast<TextPanel *>(this),
        [this] {
            QStringList notes = std::exchange(m_coverNotes, {});
            notes.removeDuplicates();
            for (QString &note : notes)
                note[0] = note[0].toUpper();
            Show_MessageBox(
                notes.join(QLatin1Char('\n')) +
                QStringLiteral("\nMove it or make it smaller; Edit > Undo takes the change back."));
        },
        Qt::QueuedConnection);
}

void TextPanel::writeWords(const QString &name, const QObject *mergeControl)
{
    // Several texts keep their own words; only a single one takes what the box holds.
    const GraphicList texts = PanelEdits::fieldTargets(m_host, PanelEdits::ofKind(SKTGraphic::Kind::Text));
    if (texts.size() != 1)
        return;
    const QString words = m_editing->Text_value_Edit->toPlainText();
    writeField(name, textField([words](SKTGraphic &g) { g.Text_contents().text = words; }), mergeControl);
}

QString TextPanel::fontDisplayText(const FontDescriptor &font)
{
    const FontResolver::Face face = FontResolver::faceFor(font.postScriptName);
    return QString::asprintf("%s ( %0.2f )", qPrintable(face.family), font.size);
}

QString TextPanel::cutWithoutSplitting(const QString &text, int length)
{
    if (text.size() <= length)
        return text;
    int cut = length;
    if (cut > 0 && text.at(cut - 1).isHighSurrogate() && text.at(cut).isLowSurrogate())
        --cut;
    return text.left(cut);
}

QString TextPanel::cutBeforeWord(const QString &text, int length)
{
    QString cut = cutWithoutSplitting(text, length);
    if (cut.size() == text.size() || cut.isEmpty() || text.at(cut.size()).isSpace() || cut.back().isSpace())
        return cut;
    // A word longer than all the room is cut inside, since nothing of it would be kept otherwise.
    qsizetype space = cut.size() - 1;
    while (space >= 0 && !cut.at(space).isSpace())
        --space;
    if (space >= 0)
        cut.truncate(space);
    return cut;
}

TextPanel::TypedWords TextPanel::typedWords(const QString &before, const QString &after, qsizetype position,
                                            qsizetype added)
{
    // The document may count a paragraph end it keeps beyond the text.
    position = std::clamp<qsizetype>(position, 0, after.size());
    added = std::clamp<qsizetype>(added, 0, after.size() - position);
    QString start = after.left(position);
    QString typed = after.mid(position, added);
    QString end = after.mid(position + added);
    // Typing into the whole placeholder replaces it; once the words are anything else they are
    // the user's, the placeholder's words among them.
    if (before == Placeholder && !typed.isEmpty() && start + end == before) {
        start.clear();
        end.clear();
    }
    TypedWords words{start + typed + end, start.size() + typed.size(), false};
    if (words.text.size() <= MaxTypedLength)
        return words;
    words.shortened = true;
    const qsizetype room = MaxTypedLength - start.size() - end.size();
    if (room < 0) {
        // Words already longer than a text takes (a greeting text put in whole) are cut as a whole.
        words.text = cutBeforeWord(words.text, MaxTypedLength);
        words.cursor = std::min(words.cursor, words.text.size());
        return words;
    }
    typed = cutBeforeWord(typed, int(room));
    words.text = start + typed + end;
    words.cursor = start.size() + typed.size();
    return words;
}

QString TextPanel::shortenedMessage(qsizetype length)
{
    return QStringLiteral("The words were shortened to %1 characters: a text holds at most %2.")
        .arg(length)
        .arg(MaxTypedLength);
}

void TextPanel::setViewText(const QString &text)
{
    m_settingText = true;
    m_editing->Text_value_Edit->setPlainText(text);
    m_settingText = false;
}

void TextPanel::insertAtSelection(const QString &text)
{
    m_settingText = true;
    m_editing->Text_value_Edit->textCursor().insertText(text);
    m_settingText = false;
}

// --- actions ---

void TextPanel::textDidChange()
{
    QPlainTextEdit *view = m_editing->Text_value_Edit;
    const QString before = std::exchange(m_shownText, view->toPlainText());
    // Without a record of the change, all of the words count as typed.
    const qsizetype recorded = std::exchange(m_typedLength, -1);
    const qsizetype at = recorded < 0 ? 0 : m_typedAt;
    const qsizetype length = recorded < 0 ? m_shownText.size() : recorded;
    // Only the user's typing and pasting counts; other code that sets the view (a data source's
    // first value) writes the object itself, unshortened.
    if (m_settingText || PanelEdits::loading(m_host) || !view->hasFocus())
        return;
    const TypedWords words = typedWords(before, m_shownText, at, length);
    if (words.text != m_shownText) {
        setViewText(words.text);
        QTextCursor cursor = view->textCursor();
        cursor.setPosition(int(words.cursor));
        view->setTextCursor(cursor);
    }
    writeWords(QStringLiteral("Typing"), view);
    if (words.shortened)
        Show_MessageBox(shortenedMessage(words.text.size()));
}

void TextPanel::Text_Border_ChkBox()
{
    SetObjEnabled(m_properties->Text_Border_Box, ticked(m_properties->Text_border_chk));
}

void TextPanel::Text_Fill_Chk_Box()
{
    const bool on = ticked(m_properties->Text_fill_chk);
    SetObjEnabled(m_properties->Text_Fill_Box, on);
    m_properties->enableFillOpacity(on);
    // The box enables all it holds; the chosen kind of fill still decides its own controls.
    if (on)
        m_properties->enableFillControls(m_properties->Text_gradient_fill_rd->isChecked() ? FillCode::Gradient
                                                                                          : FillCode::Solid);
}

void TextPanel::Text_Solid_RD_Sel()
{
    m_properties->Text_solid_fill_rd->setChecked(true);
    m_properties->enableFillControls(FillCode::Solid);
}

void TextPanel::Text_Gradient_RD_Sel()
{
    m_properties->Text_gradient_fill_rd->setChecked(true);
    m_properties->enableFillControls(FillCode::Gradient);
}

void TextPanel::Text_Font_Changed()
{
    const std::optional<QFont> chosen =
        ChooserPanels::instance().font(&m_host.inspectorWindow(), FontResolver::font(Text_font));
    if (!chosen)
        return;
    const double size = chosen->pointSizeF() > 0 ? chosen->pointSizeF() : Text_font.size;
    Text_font = FontDescriptor{FontResolver::postScriptNameFor(*chosen), size};
    m_properties->Text_font_value->setText(fontDisplayText(Text_font));
    writeField(QStringLiteral("Font"),
               textField([font = Text_font](SKTGraphic &g) { g.text_ctrl_font = font; }));
}

void TextPanel::Text_Insert_Date()
{
    const QString format = m_editing->Text_Date_style->currentText().trimmed();
    if (m_editing->Text_Date_style->currentIndex() < 0 || format.isEmpty()) {
        Show_MessageBox(QStringLiteral("Please select Date format."));
        return;
    }
    insertAtSelection(DateFormats::Get_date_Value(format));
    writeWords(QStringLiteral("Insert Date"));
}

void TextPanel::Text_Insert_Time()
{
    const QString format = m_editing->Text_Time_style->currentText().trimmed();
    if (m_editing->Text_Time_style->currentIndex() < 0 || format.isEmpty()) {
        Show_MessageBox(QStringLiteral("Please select Time format."));
        return;
    }
    insertAtSelection(DateFormats::Get_time_Value(format));
    writeWords(QStringLiteral("Insert Time"));
}

void TextPanel::Insert_Template_Button()
{
    using Kind = WindowRegistry::GreetingKind;
    const Kind kind = m_editing->insert_template_btn->text() == TitleButton ? Kind::Titles : Kind::Messages;
    const std::optional<QString> text = m_host.registry().chooseGreetingText(kind);
    if (!text)
        return;
    setViewText(*text);
    writeWords(QStringLiteral("Greeting Text"));
}

// --- loading ---

int TextPanel::selectedTexts(InspectorHost &host)
{
    const SKTGraphicView *canvas = host.liveCanvas();
    if (!canvas)
        return 0;
    const GraphicList selected = canvas->selectedGraphics();
    return int(std::count_if(selected.begin(), selected.end(), [](const GraphicPtr &g) {
        return g->kind() == SKTGraphic::Kind::Text && !g->ctrl_is_locked;
    }));
}

void TextPanel::showWordsBox(bool bound)
{
    QPlainTextEdit *box = m_editing->Text_value_Edit;
    const int texts = selectedTexts(m_host);
    const bool several = texts > 1;
    PanelWidgets::showReadOnly(box, bound || several);
    box->setPlaceholderText(several ? QStringLiteral("%1 texts selected").arg(texts) : QString());
    // What these write goes into the words, which a bound text's cards never print.
    for (QWidget *button :
         std::initializer_list<QWidget *>{m_editing->Text_Insert_Date_btn, m_editing->Text_Insert_Time_btn,
                                          m_editing->insert_template_btn})
        button->setEnabled(!bound && !several);
}

void TextPanel::showWordsBound(bool bound)
{
    showWordsBox(bound);
    m_editing->Text_value_Edit->setToolTip(bound ? DataSourceTab::BoundWordsTip : QString());
}

void TextPanel::showWordsText(const QString &words)
{
    PanelWidgets::setOutletText(m_editing->Text_value_Edit, words);
}

void TextPanel::showWords(const SKTGraphic &current)
{
    // The box would show one text's words and silently drop what is typed over them.
    const QString words = selectedTexts(m_host) > 1 ? QString() : current.textContentsForDrawing().text;
    // Set only when it differs: the user's cursor and selection in the box stay.
    if (m_editing->Text_value_Edit->toPlainText() != words)
        setViewText(words);
    showWordsBox(current.data_source_type != DataSourceCode::Fixed);
}

void TextPanel::takeKeyboard()
{
    m_host.inspectorTabs().selectItem(InspectorTabs::text_edtng_tab);
    QPlainTextEdit *words = m_editing->Text_value_Edit;
    words->setFocus(Qt::OtherFocusReason);
    words->selectAll();
}

void TextPanel::loadFrom(const SKTGraphic &g)
{
    TextEditingTab &e = *m_editing;
    TextPropertiesTab &p = *m_properties;
    const QString id = g.control_ID.value_or(QString());
    if (id == QLatin1String("PARTY_TITLE") || id == QLatin1String("PARTY_MSG")) {
        e.insert_template_btn->setText(id == QLatin1String("PARTY_TITLE") ? TitleButton : MessageButton);
        e.insert_template_btn->show();
    } else {
        e.insert_template_btn->hide();
    }
    showWords(g);
    e.Text_value_Edit->selectAll();
    p.Text_border_chk->setChecked(g._isDrawingStroke);
    p.Text_fill_chk->setChecked(g._isDrawingFill);
    loadWidth(p.Text_bor_Stepper, g._strokeWidth);
    p.Text_bordr_clr->setColor(g._strokeColor.value_or(p.Text_bordr_clr->color()));
    loadBorderStyle(p.Text_border_style, g._stroke_border_type);
    p.Text_fill_clr->setColor(g._fillColor.value_or(p.Text_fill_clr->color()));
    const QString fillCode = g.fill_type();
    (fillCode == FillCode::Gradient ? p.Text_gradient_fill_rd : p.Text_solid_fill_rd)->setChecked(true);
    p.Text_fill_Grd_1_clr->setColor(g._fill_Grad_clr1.value_or(p.Text_fill_Grd_1_clr->color()));
    p.Text_fill_Grd_2_clr->setColor(g._fill_Grad_clr2.value_or(p.Text_fill_Grd_2_clr->color()));
    p.Text_grad_Stepper->setValue(g._fill_grad_angle);
    loadPercent(p.Text_alpha_Stepper, g.alpha_val);
    SetObjEnabled(p.Text_Fill_Box, g._isDrawingFill);
    p.enableFillOpacity(g._isDrawingFill);
    SetObjEnabled(p.Text_Border_Box, g._isDrawingStroke);
    // The fill kind decides its controls after the box, whatever the fill check box says.
    p.enableFillControls(fillCode);
    p.Text_clr->setColor(g.txt_clr.value_or(p.Text_clr->color()));
    if (g.text_ctrl_font && g.text_ctrl_font->isValid())
        Text_font = *g.text_ctrl_font;
    p.Text_align_combo->setCurrentIndex(g.text_alignmnet < p.Text_align_combo->count() ? g.text_alignmnet
                                                                                       : -1);
    p.Text_case_combo->setCurrentIndex(
        g.text_transfrom_case < p.Text_case_combo->count() ? g.text_transfrom_case : -1);
    p.Text_Kern_Stepper->setValue(g.text_kerning);
    p.Text_font_value->setText(fontDisplayText(Text_font));
}
