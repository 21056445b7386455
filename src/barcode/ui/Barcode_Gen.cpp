#include "barcode/ui/Barcode_Gen.h"

#include "barcode/BarcodeGenerator.h"
#include "barcode/BarcodeRules.h"
#include "barcode/BarcodeSizing.h"
#include "barcode/ui/BarcodeControls.h"
#include "barcode/ui/BarcodeSourceControls.h"
#include "foundation/CardCodes.h"
#include "foundation/ui/ColorWell.h"
#include "foundation/ui/ModalRunner.h"
#include "foundation/ui/StepperField.h"
#include "model/GraphicWords.h"
#include "model/SKTBarcode.h"
#include "output/BatchBarcodeSettings.h"
#include "platform/Units.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QTabWidget>

#include <algorithm>

namespace
{
constexpr double kPreviewDpi = 96.0;
// What a frame may stand over the card's edge and still count as on it: rounding, not a cut.
constexpr double kCardEdgeSlack = 0.01;

bool barcodeFitsCard(const QSizeF &size, const QSizeF &card)
{
    return size.width() <= card.width() + kCardEdgeSlack && size.height() <= card.height() + kCardEdgeSlack;
}

// The frame of the given size from the same top-left corner, moved inward on each axis as far as
// it must to lie on the card. A frame that cannot fit starts at the card's corner.
QRectF barcodeFrameOnCard(const QPointF &topLeft, const QSizeF &size, const QRectF &card)
{
    if (card.isEmpty())
        return QRectF(topLeft, size);
    const auto inward = [](double at, double length, double start, double end) {
        return std::max(start, std::min(at, end - length));
    };
    return QRectF(inward(topLeft.x(), size.width(), card.left(), card.right()),
                  inward(topLeft.y(), size.height(), card.top(), card.bottom()), size.width(), size.height());
}

QString sizeInCentimetres(const QSizeF &points)
{
    return QStringLiteral("%1 x %2 cm")
        .arg(Units::pointsToInches(points.width()) * Units::CentimetresPerInch, 0, 'f', 2)
        .arg(Units::pointsToInches(points.height()) * Units::CentimetresPerInch, 0, 'f', 2);
}

// Position of the object's symbology in the pop-up, which lists the linear titles, then the 2D ones.
int popupIndexFor(int kind, int index)
{
    const int offset = kind != 0 ? int(BarcodeSettings::linearTitles().size()) : 0;
    return BarcodeSettings::titleForIndex(kind, index).isEmpty() ? offset : offset + index;
}
} // namespace

Barcode_Gen::Barcode_Gen(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Barcode Properties"));
    setObjectName(QStringLiteral("Barcode_Gen"));
    buildLayout(this);
    // Shown while the selected barcodes' types differ and none has been chosen.
    barcodeTypePopup->setPlaceholderText(QStringLiteral("Mixed types"));
    m_controls = new BarcodeControls(*this);
    m_source = new BarcodeSourceControls(*this);
    // The resolution tab only belongs to 2D symbols; the window starts linear.
    sett_tab->removeTab(kDpiTabIndex);
    m_controls->Liner_Barcode_Opt_Select();
    m_controls->refreshFontLabels();
    connect(ok_button, &QPushButton::clicked, this, [this] { OK_Btn_Clicked(); });
    connect(cancel_button, &QPushButton::clicked, this, [this] { Cancel_Btn_Clicked(); });
    goButtonActionPerformed();
}

Barcode_Gen::~Barcode_Gen() = default;

BarcodeSettings Barcode_Gen::settings() const
{
    BarcodeSettings s;
    s.symbologyTitle = typeTitle();
    s.linear_or_2d = liner_or_2D_font;
    s.show_hide_hdr = hideHeaderCheckbox->isChecked() ? 1 : 0;
    s.show_hide_ftr = hideFooterCheckbox->isChecked() ? 1 : 0;
    s.show_hide_val = captionCheckbox->isChecked() ? 1 : 0;
    s.show_val_on_top = showinTopCheckbox->isChecked() ? 1 : 0;
    s.kerning_value = kerning_value_Checkbox->isEnabled() && kerning_value_Checkbox->isChecked() ? 1 : 0;
    s.captionBoxEnabled = captionCheckbox->isEnabled();
    s.align_hdr_index = align_hdr_combo->currentIndex();
    s.align_ftr_index = align_ftr_combo->currentIndex();
    s.linear_height_val = HeightText->value();
    s.linear_width_val = widthText->value();
    s.unit = 1; // the window always works in centimetres
    s.hdr_margin_val = hdr_mar_Text->value();
    s.ftr_margin_val = ftr_mar_Text->value();
    s.val_margin_val = val_mar_Text->value();
    s.TB_marging_val = TB_mar_Text->value();
    s.LR_margin_val = LR_mar_Text->value();
    s.qr_size_val = int(HeightText_2D->value());
    s.qr_version_index = qr_version_ComboBox->currentIndex();
    s.qr_ec_index = qr_ec_lvl_ComboBox->currentIndex();
    s.pdf_hgt_val = int(pdf_HeightText_2D->value());
    s.pdf_wdt_val = int(Pdf_widthText_2D->value());
    s.pdf_ec_val = int(pdf_ec_lvl_Text->value());
    s.pdf_rows = PDF_Row;
    s.pdf_cols = PDF_Col;
    s.dm_module_val = int(dm_moduleText_2D->value());
    s.dm_format_index = dm_format_ComboBox->currentIndex();
    s.dm_encoding_index = dm_encoding_ComboBox->currentIndex();
    s.value_font = value_font;
    s.header_font = header_font;
    s.footer_font = footer_font;
    s.barcode_hdr_clr = bar_hdr_clr->color();
    s.barcode_ftr_clr = bar_ftr_clr->color();
    s.barcode_val_clr = bar_val_clr->color();
    s.barcode_back_clr = bar_back_clr->color();
    s.barcode_clr = barcode_clr->color();
    s.dpi_val_index = DPI_ComboBox->currentIndex();
    s.dpi_custom_val = QString::number(int(dpi_Text->value()));
    s.dpi = USED_DPI_VALUE;
    return s;
}

QString Barcode_Gen::currentValue() const
{
    return liner_or_2D_font != 0 ? dataText_2D->toPlainText() : dataText->text();
}

void Barcode_Gen::goButtonActionPerformed()
{
    m_controls->goButtonActionPerformed();
}

void Barcode_Gen::Set_Blank_Image()
{
    image_2d.reset();
    m_preview = Picture();
    barcodeImage->setPixmap(QPixmap());
    barcode_error_label->show();
    showNotes();
}

void Barcode_Gen::showPreview(const Picture &picture)
{
    m_preview = picture;
    // A new picture is centred again, whatever placement was chosen for the last one.
    barcodeImage->setAlignment(Qt::AlignCenter);
    barcodeImage->setPixmap(QPixmap::fromImage(picture.toImage(kPreviewDpi, bar_back_clr->color())));
    barcode_error_label->hide();
    showNotes();
}

void Barcode_Gen::setValueNote(const QString &note)
{
    m_valueNote = note;
    showNotes();
}

QString Barcode_Gen::fitNote() const
{
    if (m_preview.isNull() || m_card.isEmpty() || barcodeFitsCard(m_preview.size(), m_card.size()))
        return {};
    return QStringLiteral("This barcode (%1) is larger than the card (%2): make it smaller before OK.")
        .arg(sizeInCentimetres(m_preview.size()), sizeInCentimetres(m_card.size()));
}

void Barcode_Gen::showNotes()
{
    QStringList notes;
    for (const QString &note : {m_valueNote, fitNote(), othersNote()})
        if (!note.isEmpty())
            notes << note;
    barcode_note_label->setText(notes.join(QLatin1Char('\n')));
    barcode_note_label->setVisible(!notes.isEmpty());
}

void Barcode_Gen::setValueAside(const QString &value, const QString &standIn)
{
    m_valueAside = value;
    m_asideChosen = m_valueChosen;
    m_standIn = standIn;
}

std::optional<QString> Barcode_Gen::takeValueAside()
{
    std::optional<QString> aside = std::exchange(m_valueAside, std::nullopt);
    if (!aside || currentValue() != m_standIn)
        return std::nullopt;
    markValueChosen(m_asideChosen);
    return aside;
}

void Barcode_Gen::setErrorText(const QString &text)
{
    barcode_error_label->setText(
        text.isEmpty() ? QStringLiteral("The value cannot be drawn in this barcode type") : text);
}

void Barcode_Gen::Set_Barcode_Prop_To_Control(SKTGraphic &o)
{
    // The window's own handlers ask loading(); it ends on every way out.
    const QScopedValueRollback<bool> loading(m_loading, true);
    pass_barcode_control = &o;
    m_valueAside.reset();
    const BarcodeSettings s = BatchBarcodeSettings::Set_Barcode_Prop_To_Control(o);
    m_ownTitle = s.symbologyTitle;
    liner_or_2D_font = o.linear_or_2d != 0 ? 1 : 0;
    barcodeTypePopup->setCurrentIndex(popupIndexFor(liner_or_2D_font, o.barcode_font_index));
    dataText->setText(o.linear_font_val.value_or(QString()));
    dataText_2D->setPlainText(o.two_d_font_val.value_or(QString()));
    HeaderText->setText(o.header_val.value_or(QString()));
    FooterText->setText(o.footer_val.value_or(QString()));
    hideHeaderCheckbox->setChecked(s.show_hide_hdr == 1);
    hideFooterCheckbox->setChecked(s.show_hide_ftr == 1);
    captionCheckbox->setChecked(s.show_hide_val == 1);
    showinTopCheckbox->setChecked(s.show_val_on_top == 1);
    kerning_value_Checkbox->setChecked(s.kerning_value == 1);
    align_hdr_combo->setCurrentIndex(s.align_hdr_index);
    align_ftr_combo->setCurrentIndex(s.align_ftr_index);
    m_source->loadFrom(o);
    m_controls->Get_Print_State();
    HeightText->setValue(s.linear_height_val);
    widthText->setValue(s.linear_width_val);
    HeightText_2D->setValue(s.qr_size_val);
    qr_version_ComboBox->setCurrentIndex(s.qr_version_index);
    qr_ec_lvl_ComboBox->setCurrentIndex(s.qr_ec_index);
    pdf_HeightText_2D->setValue(s.pdf_hgt_val);
    Pdf_widthText_2D->setValue(s.pdf_wdt_val);
    pdf_ec_lvl_Text->setValue(s.pdf_ec_val);
    dm_moduleText_2D->setValue(s.dm_module_val);
    dm_format_ComboBox->setCurrentIndex(s.dm_format_index);
    dm_encoding_ComboBox->setCurrentIndex(s.dm_encoding_index);
    hdr_mar_Text->setValue(s.hdr_margin_val);
    ftr_mar_Text->setValue(s.ftr_margin_val);
    val_mar_Text->setValue(s.val_margin_val);
    TB_mar_Text->setValue(s.TB_marging_val);
    LR_mar_Text->setValue(s.LR_margin_val);
    value_font = s.value_font;
    header_font = s.header_font;
    footer_font = s.footer_font;
    m_controls->refreshFontLabels();
    bar_hdr_clr->setColor(s.barcode_hdr_clr);
    bar_ftr_clr->setColor(s.barcode_ftr_clr);
    bar_val_clr->setColor(s.barcode_val_clr);
    bar_back_clr->setColor(s.barcode_back_clr);
    barcode_clr->setColor(s.barcode_clr);
    // The resolution in use follows the loaded choice, its custom value included: a choice set by
    // code runs no handler, and the object's picture must be remade at its own resolution.
    DPI_ComboBox->setCurrentIndex(s.dpi_val_index);
    const int custom = s.dpi_custom_val.trimmed().toInt();
    dpi_Text->setValue(custom > 0 ? custom : 600);
    USED_DPI_VALUE = s.dpi;
    m_controls->showCustomDpi(DPI_ComboBox->currentText() == QLatin1String("Custom"));
    if (liner_or_2D_font != 0) {
        m_controls->two_d_barcode_Opt_Select();
    } else {
        m_controls->Liner_Barcode_Opt_Select();
        // The window serves every opening: the loaded type decides, not the one chosen last time.
        m_controls->offerSpreadForType();
    }
}

void Barcode_Gen::storeInto(SKTBarcode &o) const
{
    const BarcodeSettings s = settings();
    const int offset = liner_or_2D_font != 0 ? int(BarcodeSettings::linearTitles().size()) : 0;
    // A mixed list with no type chosen leaves each barcode its own.
    if (barcodeTypePopup->currentIndex() >= 0) {
        o.linear_or_2d = liner_or_2D_font;
        o.barcode_font_index = barcodeTypePopup->currentIndex() - offset;
    }
    o.linear_font_val = dataText->text();
    o.two_d_font_val = dataText_2D->toPlainText();
    o.header_val = HeaderText->text();
    o.footer_val = FooterText->text();
    o.show_hide_hdr = s.show_hide_hdr;
    o.show_hide_ftr = s.show_hide_ftr;
    o.show_hide_val = s.show_hide_val;
    o.show_val_on_top = s.show_val_on_top;
    o.align_hdr_index = s.align_hdr_index;
    o.align_ftr_index = s.align_ftr_index;
    o.linear_height_val = float(s.linear_height_val);
    o.linear_width_val = float(s.linear_width_val);
    o.qr_size_val = s.qr_size_val;
    o.qr_version_index = s.qr_version_index;
    o.qr_ec_index = s.qr_ec_index;
    o.pdf_hgt_val = s.pdf_hgt_val;
    o.pdf_wdt_val = s.pdf_wdt_val;
    o.pdf_ec_val = s.pdf_ec_val;
    o.dm_module_val = s.dm_module_val;
    o.dm_format_index = s.dm_format_index;
    o.dm_encoding_index = s.dm_encoding_index;
    o.hdr_margin_val = float(s.hdr_margin_val);
    o.ftr_margin_val = float(s.ftr_margin_val);
    o.val_margin_val = float(s.val_margin_val);
    o.TB_marging_val = float(s.TB_marging_val);
    o.LR_margin_val = float(s.LR_margin_val);
    o.value_font_val = s.value_font;
    o.header_font_val = s.header_font;
    o.footer_font_val = s.footer_font;
    o.barcode_hdr_clr_val = s.barcode_hdr_clr;
    o.barcode_ftr_clr_val = s.barcode_ftr_clr;
    o.barcode_val_clr_val = s.barcode_val_clr;
    o.barcode_back_clr_val = s.barcode_back_clr;
    o.barcode_clr_val = s.barcode_clr;
    o.dpi_val_index = s.dpi_val_index;
    o.dpi_custom_val = s.dpi_custom_val;
    o.kerning_value = s.kerning_value;
}

void Barcode_Gen::OK_Btn_Clicked()
{
    // A source of "Series" without a series is refused first, with its message: the value shown
    // is not what the cards would take.
    if (!m_source->seriesChosenForOk())
        return;
    QString reason;
    if (!BarcodeRules::Check_And_Validat_Barcode(currentValue(), &reason)) {
        setErrorText(reason);
        Set_Blank_Image();
        return;
    }
    // A value the symbology refuses has no picture: the window stays open with the reason shown
    // rather than storing settings the object's picture would not follow.
    if (m_preview.isNull()) {
        barcode_error_label->show();
        return;
    }
    // A symbol larger than the card would be cut wherever it stood, and a cut symbol does not scan.
    if (!fitNote().isEmpty()) {
        showNotes();
        return;
    }
    accept();
}

void Barcode_Gen::Cancel_Btn_Clicked()
{
    reject();
}

std::optional<Picture> Barcode_Gen::Open_Wnd(SKTBarcode &o, const QRectF &card)
{
    m_card = card;
    m_valueNote.clear();
    m_frameNotes.clear();
    // The window edits a copy: whatever its controls write while it runs, Cancel, Escape and the
    // close button leave the object as it was.
    m_working = std::static_pointer_cast<SKTBarcode>(o.clone());
    Set_Barcode_Prop_To_Control(*m_working);
    m_opened = std::static_pointer_cast<SKTBarcode>(o.clone());
    storeInto(*m_opened);
    showMixedTypes(o);
    m_valueChosen = false;
    goButtonActionPerformed();
    // The value is what a user comes to change: it has the focus, ready to be typed over.
    if (liner_or_2D_font != 0) {
        dataText_2D->setFocus();
        dataText_2D->selectAll();
    } else {
        dataText->setFocus();
        dataText->selectAll();
    }
    const int answer = ModalRunner::exec(*this);
    hide();
    const std::shared_ptr<SKTBarcode> working = std::exchange(m_working, nullptr);
    pass_barcode_control = nullptr;
    if (answer != QDialog::Accepted || m_preview.isNull())
        return std::nullopt;
    // The working copy, which the source controls wrote while the window ran, takes the other
    // controls, the picture and its frame; the barcode then takes the copy whole, in one assignment.
    storeInto(*working);
    // Mixed types left unchosen: no type changed, for this barcode or the others.
    if (barcodeTypePopup->currentIndex() < 0) {
        m_opened->linear_or_2d = working->linear_or_2d;
        m_opened->barcode_font_index = working->barcode_font_index;
    }
    const Picture picture = storedPicture(m_preview);
    placePicture(*working, picture, &o);
    o.willChangeValueForKey(SKTGraphicDrawingBoundsKey);
    o.willChangeValueForKey(SKTGraphicDrawingContentsKey);
    o.takeStateOf(*working);
    o.didChangeValueForKey(SKTGraphicDrawingContentsKey);
    o.didChangeValueForKey(SKTGraphicDrawingBoundsKey);
    return picture;
}

void Barcode_Gen::showMixedTypes(const SKTBarcode &o)
{
    const bool mixed = std::any_of(m_others.begin(), m_others.end(), [&o](const GraphicPtr &g) {
        return (g->linear_or_2d != 0) != (o.linear_or_2d != 0) ||
               g->barcode_font_index != o.barcode_font_index;
    });
    if (!mixed)
        return;
    const QSignalBlocker block(barcodeTypePopup);
    barcodeTypePopup->setCurrentIndex(-1);
    // Any type chosen then differs from what the window opened on, the edited barcode's own too.
    m_opened->barcode_font_index = -1;
}

QString Barcode_Gen::typeTitle() const
{
    return barcodeTypePopup->currentIndex() < 0 ? m_ownTitle : barcodeTypePopup->currentText();
}

QString Barcode_Gen::othersNote() const
{
    // Only a type chosen here goes to the others, and with it each keeps its own value unless one
    // was typed here.
    if (m_others.isEmpty() || !m_opened || m_valueChosen || barcodeTypePopup->currentIndex() < 0)
        return {};
    const QString title = typeTitle();
    if (title == BarcodeSettings::titleForIndex(m_opened->linear_or_2d, m_opened->barcode_font_index))
        return {};
    QStringList refused;
    for (const GraphicPtr &g : m_others) {
        // A bound value comes from its source, row by row: the check before output judges those.
        if (g->data_source_type != DataSourceCode::Fixed)
            continue;
        BarcodeSettings s = BatchBarcodeSettings::Set_Barcode_Prop_To_Control(*g);
        const QString own =
            (g->linear_or_2d != 0 ? g->two_d_font_val : g->linear_font_val).value_or(QString());
        const QString was = s.symbologyTitle;
        s.symbologyTitle = title;
        s.linear_or_2d = liner_or_2D_font;
        if (!BarcodeGenerator::measure(s, own, g->header_val.value_or(QString()),
                                       g->footer_val.value_or(QString()))
                 .made)
            refused << QStringLiteral("%1 \"%2\"")
                           .arg(was, own.size() > 24 ? own.left(23) + QStringLiteral("...") : own);
    }
    if (refused.isEmpty())
        return {};
    const bool one = refused.size() == 1;
    return QStringLiteral("%1 cannot hold the value of %2 other selected barcode%3: %4. %5; type a "
                          "value for all to change %6 too.")
        .arg(title)
        .arg(refused.size())
        .arg(one ? QString() : QStringLiteral("s"), refused.join(QStringLiteral(", ")),
             one ? QStringLiteral("It keeps its own type and value")
                 : QStringLiteral("They keep their own types and values"),
             one ? QStringLiteral("it") : QStringLiteral("them"));
}

bool Barcode_Gen::makePictureFor(SKTBarcode &o)
{
    Set_Barcode_Prop_To_Control(o);
    goButtonActionPerformed();
    if (m_preview.isNull())
        return false;
    placePicture(o, storedPicture(m_preview));
    return true;
}

Barcode_Gen::Given Barcode_Gen::givePictureTo(SKTBarcode &o, const SKTGraphic &before)
{
    if (makePictureFor(o))
        return Given::Whole;
    // A type that cannot hold this barcode's value is not given to it, as the window said before
    // OK: its old picture would otherwise print under a type it is not.
    o.linear_or_2d = before.linear_or_2d;
    o.barcode_font_index = before.barcode_font_index;
    o.linear_font_val = before.linear_font_val;
    o.two_d_font_val = before.two_d_font_val;
    if (makePictureFor(o))
        return Given::OwnType;
    o.takeStateOf(before);
    return Given::Nothing;
}

void Barcode_Gen::setEditedCount(int count)
{
    selection_label->setText(
        QStringLiteral("%1 barcodes are selected: the settings you change here go to each of them, and "
                       "each keeps the others as they are.")
            .arg(count));
    selection_label->setVisible(count > 1);
}

namespace
{
// What an object shows over the card: its frame, and a barcode's picture drawn whole past it.
QRectF coveredArea(const SKTGraphic &g)
{
    if (g.kind() == SKTGraphic::Kind::Barcode && g._barcode_image && !g._barcode_image->isNull())
        return g.bounds().united(SKTBarcode::drawnArea(g.bounds(), g._barcode_image->size()));
    return g.bounds();
}

bool overlap(const QRectF &a, const QRectF &b)
{
    // Edges that meet, or overlap by rounding, are no overlap.
    constexpr double Slack = 0.5;
    const QRectF common = a.intersected(b);
    return common.width() > Slack && common.height() > Slack;
}

} // namespace

const SKTGraphic *Barcode_Gen::newlyCovered(const SKTGraphic &o, const QRectF &area, const QRectF &before,
                                            const SKTGraphic *itself) const
{
    for (const GraphicPtr &g : m_side) {
        if (g.get() == &o || g.get() == itself || !g->ctrl_is_visible)
            continue;
        const QRectF other = coveredArea(*g);
        // One it lay over already is where the user put it.
        if (overlap(area, other) && !overlap(before, other))
            return g.get();
    }
    return nullptr;
}

void Barcode_Gen::placePicture(SKTBarcode &o, const Picture &picture, const SKTGraphic *itself)
{
    const QRectF before = coveredArea(o);
    o.Set_Barcode_image(picture);
    o.barcode_image_var_assign();
    // The frame takes the picture's size, from the same top-left corner, so that selecting,
    // aligning and the handles go by what shows (and a 2D symbol's frame is as square as it is).
    // The caller's undo step holds the frame with the settings and picture, so Undo never puts the
    // old frame around the new picture.
    const QSizeF size = picture.size();
    if (!(size.width() > 0 && size.height() > 0))
        return;
    const QRectF grown(o.bounds().topLeft(), size);
    const QRectF moved = barcodeFrameOnCard(grown.topLeft(), size, m_card);
    QRectF frame = moved;
    const QString value = (o.linear_or_2d != 0 ? o.two_d_font_val : o.linear_font_val).value_or(QString());
    const QString name = QStringLiteral("The barcode \"%1\" (%2)")
                             .arg(value.size() > 24 ? value.left(23) + QStringLiteral("...") : value,
                                  BarcodeSettings::titleForIndex(o.linear_or_2d, o.barcode_font_index));
    if (const SKTGraphic *over = newlyCovered(o, moved, before, itself)) {
        // Moved inward it would lie over another object: where it grew it may not.
        const SKTGraphic *there = moved != grown ? newlyCovered(o, grown, before, itself) : over;
        if (!there) {
            frame = grown;
            m_frameNotes << QStringLiteral(
                                "%1 runs off the card: moved onto it, it would cover %2. Make room "
                                "for it or make it smaller.")
                                .arg(name, GraphicWords::of(*over, QStringLiteral("another barcode")));
        } else {
            m_frameNotes << QStringLiteral(
                                "%1 now covers %2: its new size leaves no room beside it. Make room "
                                "for it or make it smaller.")
                                .arg(name, GraphicWords::of(*there, QStringLiteral("another barcode")));
        }
    }
    o.setBounds(frame);
}

Picture Barcode_Gen::storedPicture(const Picture &preview) const
{
    // Designs keep pictures as pixels: the barcode goes in at the resolution it is printed at
    // (2D symbols at their chosen one, bars at 600 dpi), not at the screen's, so that a card
    // printed or exported from the saved design still scans.
    double dpi = liner_or_2D_font != 0 ? USED_DPI_VALUE : 600.0;
    const QSizeF size = preview.size();
    const double longest = std::max(size.width(), size.height());
    if (longest > 0 && longest * dpi / 72.0 > BarcodeSizing::kMaxPictureSide)
        dpi = BarcodeSizing::kMaxPictureSide * 72.0 / longest;
    const QImage pixels = preview.toImage(dpi);
    return pixels.isNull() ? preview : Picture(pixels, size);
}
