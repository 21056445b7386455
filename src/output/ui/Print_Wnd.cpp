#include "output/ui/Print_Wnd.h"

#include "foundation/CardCodes.h"
#include "foundation/DataRoot.h"
#include "foundation/MessageBoxes.h"
#include "foundation/ui/FilePanels.h"
#include "foundation/ui/ModalRunner.h"
#include "foundation/ui/PrinterCatalog.h"
#include "foundation/ui/StepperField.h"
#include "foundation/ui/WindowLook.h"
#include "output/BatchCardRenderer.h"
#include "output/Printing_View.h"
#include "output/RememberedPrintLayout.h"
#include "output/RunPlan.h"
#include "output/ui/OutputHost.h"
#include "output/ui/RunStart.h"
#include "output/ui/Sample_Preview.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QProgressDialog>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>

#include <cmath>

namespace
{
// The alignment buttons' pictures, plain and selected, by alignment value 1..9.
const char *const plainNames[] = {"top_left",    "top_center",    "top_right",
                                  "middle_left", "middle_center", "middle_right",
                                  "bootom_left", "bootom_center", "boottom_right"};
const char *const selectedNames[] = {"top_left - sel",    "top_center - sel",    "top_right - sel",
                                     "middle_left - sel", "middle_center_sel",   "middle_right - sel",
                                     "bootom_left - sel", "bootom_center - sel", "boottom_right - sel"};

// The shipped picture, or a drawn one (a dot at the alignment's place) while it is missing.
QIcon alignmentIcon(int value, bool selected)
{
    const QString file = Resource_Path +
                         QString::fromLatin1(selected ? selectedNames[value - 1] : plainNames[value - 1]) +
                         QStringLiteral(".png");
    if (QFileInfo::exists(file))
        return QIcon(file);
    QPixmap pixmap(24, 24);
    pixmap.fill(selected ? QColor(70, 120, 200) : QColor(235, 235, 235));
    QPainter p(&pixmap);
    p.setPen(selected ? Qt::white : Qt::darkGray);
    p.drawRect(2, 2, 19, 19);
    p.setBrush(selected ? Qt::white : Qt::darkGray);
    const int col = (value - 1) % 3, row = (value - 1) / 3;
    p.drawRect(4 + col * 6, 4 + row * 6, 4, 4);
    return QIcon(pixmap);
}

QString mm(double points)
{
    return QString::asprintf("%0.2f", double(PrintLayout::Points_to_MM_Convert(float(points))));
}
} // namespace

Print_Wnd::Print_Wnd(OutputHost &host, QWidget *parent) : QDialog(parent), m_host(host)
{
    setObjectName(QStringLiteral("Print_Wnd"));
    setWindowTitle(QStringLiteral("Print"));
    WindowLook::applyBackground(this);
    for (int v = 1; v <= 9; ++v) {
        m_plainIcons << alignmentIcon(v, false);
        m_selectedIcons << alignmentIcon(v, true);
    }
    buildWindow();
    connectControls();
}

Print_Wnd::~Print_Wnd() = default;

void Print_Wnd::connectControls()
{
    connect(Printer_ComboBox, &QComboBox::activated, this, [this] { printerChosen(); });
    connect(Orient_ComboBox, &QComboBox::activated, this, [this] { orientationChosen(); });
    connect(print_alignment, &QComboBox::activated, this, [this](int index) {
        m_layout.Print_Card_Algn =
            index == 0 ? ArrangementCode::FrontAboveBack : ArrangementCode::FrontLeftOfBack;
        Check_Max_Cell_Value();
    });
    connect(page_setup_button, &QPushButton::clicked, this, [this] { pagesetup(); });
    for (StepperField *field :
         {horz_mar_Stepper, vert_mar_Stepper, width_Stepper, height_Stepper, Row_Stepper, Col_Stepper})
        connect(field, &StepperField::userChanged, this, [this] {
            m_retypedGrid = nullptr;
            Check_Max_Cell_Value();
        });
    // A grid field cut to what fits shows that value: typing it again is no change to the field,
    // but it is the grid the user now asks for, and the note on the larger one goes.
    for (StepperField *field : {Row_Stepper, Col_Stepper}) {
        if (auto *edit = field->findChild<QLineEdit *>())
            connect(edit, &QLineEdit::textEdited, this, [this, field] { m_retypedGrid = field; });
        connect(field, &QAbstractSpinBox::editingFinished, this, [this, field] {
            const bool retyped = m_retypedGrid == field;
            m_retypedGrid = nullptr;
            const int asked = field == Row_Stepper ? m_layout.askedRows : m_layout.askedCols;
            if (retyped && int(field->value()) != asked)
                Check_Max_Cell_Value();
        });
    }
    connect(Show_Margins, &QCheckBox::clicked, this, [this] {
        m_layout.Show_margin_rect = Show_Margins->isChecked();
        Refresh_Preview();
    });
    connect(Auto_Center_chk_bx, &QCheckBox::clicked, this, [this] { Auto_Center_Checked(); });
    for (int v = 1; v <= 9; ++v)
        connect(alignButtons[v - 1], &QToolButton::clicked, this, [this, v] { alignmentChosen(v); });
    connect(matrix_card_side, &QButtonGroup::idClicked, this, [this](int row) { card_side_CellClick(row); });
    connect(print_with_batch_chk, &QCheckBox::clicked, this, [this] { Print_With_Data_Changed(); });
    connect(print_with_excel_chk, &QCheckBox::clicked, this, [this] { Print_With_Data_Changed(); });
    connect(preview_button, &QPushButton::clicked, this, [this] { Execute_Printing(true); });
    connect(print_button, &QPushButton::clicked, this, [this] { Execute_Printing(false); });
    connect(cancel_button, &QPushButton::clicked, this, [this] { done(0); });
}

int Print_Wnd::Open_Print_Wnd()
{
    // Without a print system the PDF file is the one printer offered, as desktop print dialogs do.
    const QStringList printers = PrinterCatalog::choices();
    m_loading = true;
    // Return prints at every opening, whichever button had the keyboard when the window was left.
    print_button->setDefault(true);
    Printer_ComboBox->setFocus(Qt::OtherFocusReason);
    const RememberedPrintLayout kept = RememberedPrintLayout::load();
    Auto_Center_chk_bx->setChecked(false);
    Show_Margins->setChecked(true);
    print_result_id->clear();

    // The design's card gives the label's size exactly (a picture of it is whole pixels larger)
    // and the preview's places; the sides printed are taken when printing starts.
    m_plan = RunStart::plan(m_host);
    if (RunStart::stopsForGoneSeries(*m_plan)) {
        m_loading = false;
        return 0;
    }
    m_cardSize = m_plan->design().cardSize();
    m_layout.resetForOpening(cardSize(), m_plan->isBatch(), m_plan->cardCount());
    showDataSources(*m_plan);
    showKeptLayout(kept);
    for (QToolButton *button : alignButtons)
        button->setEnabled(true);
    Set_Reset_Alignemnt_Image();

    Printer_ComboBox->clear();
    Printer_ComboBox->addItems(printers);
    Printer_ComboBox->setCurrentIndex(0);
    PrinterCatalog::configure(m_printer, printers.first());
    useKeptPaper(kept);
    m_loading = false;
    Set_values_From_Printer();
    // The kept grid is fitted to the paper as if typed, and says so when it no longer fits.
    Check_Max_Cell_Value();
    return ModalRunner::exec(*this);
}

void Print_Wnd::showDataSources(const RunPlan &plan)
{
    // A box is offered only for a source the design uses; the other is cleared and disabled.
    print_with_batch_chk->setEnabled(plan.offersSeries());
    print_with_batch_chk->setChecked(plan.offersSeries());
    print_with_excel_chk->setEnabled(plan.offersExcel());
    print_with_excel_chk->setChecked(plan.offersExcel());
    Total_Stepper->setMaximum(m_layout.dataMode ? std::max(1, m_layout.Total_Label) : 999999);
    Total_Stepper->setValue(m_layout.Total_Label);
}

void Print_Wnd::showKeptLayout(const RememberedPrintLayout &kept)
{
    // A single-sided card offers and prints its front only, whatever was kept for cards with a back.
    const bool twoSided = m_plan->backTakesPart();
    for (const int row : {0, 2})
        matrix_card_side->button(row)->setEnabled(twoSided);
    const int sideRow = !twoSided ? 1 : kept.side == SideCode::Both ? 0 : kept.side == SideCode::Back ? 2 : 1;
    matrix_card_side->button(sideRow)->setChecked(true);
    m_layout.Print_Card_Side = twoSided ? kept.side : QString(SideCode::Front);
    m_layout.Print_Card_Algn = kept.arrangement;
    print_alignment->setCurrentIndex(kept.arrangement == ArrangementCode::FrontLeftOfBack ? 1 : 0);
    print_alignment->setEnabled(sideRow == 0);
    width_Stepper->setValue(PrintLayout::Points_to_MM_Convert(float(cardSize().width())));
    height_Stepper->setValue(PrintLayout::Points_to_MM_Convert(float(cardSize().height())));
    Row_Stepper->setValue(kept.rows);
    Col_Stepper->setValue(kept.cols);
    horz_mar_Stepper->setValue(kept.horzGapMm);
    vert_mar_Stepper->setValue(kept.vertGapMm);
    horz_mar_Stepper->setEnabled(true);
    vert_mar_Stepper->setEnabled(true);
}

void Print_Wnd::useKeptPaper(const RememberedPrintLayout &kept)
{
    // A printer that has no such paper keeps its own.
    if (kept.paperMm)
        m_printer.setPageSize(QPageSize(*kept.paperMm, QPageSize::Millimeter));
    m_printer.setPageOrientation(kept.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

void Print_Wnd::rememberLayout() const
{
    RememberedPrintLayout kept;
    kept.rows = m_layout.Print_Row;
    kept.cols = m_layout.Print_Col;
    kept.horzGapMm = horz_mar_Stepper->value();
    kept.vertGapMm = vert_mar_Stepper->value();
    kept.side = m_plan->backTakesPart() ? m_layout.Print_Card_Side : RememberedPrintLayout::load().side;
    kept.arrangement = m_layout.Print_Card_Algn;
    const QPageLayout page = m_printer.pageLayout();
    kept.paperMm = page.pageSize().size(QPageSize::Millimeter);
    kept.landscape = page.orientation() == QPageLayout::Landscape;
    if (!kept.save())
        Show_NSLog_Message(QStringLiteral("Print: the layout could not be kept in ") +
                           RememberedPrintLayout::settingsPath());
}

void Print_Wnd::Set_values_From_Printer()
{
    QPageLayout page = m_printer.pageLayout();
    Paper_id->setText(page.pageSize().name());
    const QSizeF paper = page.fullRectPoints().size();
    page.setUnits(QPageLayout::Point);
    const QMarginsF least = page.minimumMargins();
    // Margins of the paper as it lies (turned with the orientation).
    const bool landscape = page.orientation() == QPageLayout::Landscape;
    const QMarginsF m =
        landscape ? QMarginsF(least.top(), least.right(), least.bottom(), least.left()) : least;
    m_layout.setMargins(paper, QRectF(m.left(), m.top(), paper.width() - m.left() - m.right(),
                                      paper.height() - m.top() - m.bottom()));
    // The paper's own size: its points are rounded to whole ones (A4 is 595 x 842).
    const QSizeF paperMm = page.fullRect(QPageLayout::Millimeter).size();
    Size_id->setText(QString::asprintf("%.2f x %.2f", paperMm.width(), paperMm.height()));
    Orient_ComboBox->setCurrentIndex(landscape ? 1 : 0);
    l_mar_id->setText(mm(m_layout.Left_Mar));
    r_mar_id->setText(mm(m_layout.Rite_Mar));
    t_mar_id->setText(mm(m_layout.Top_Mar));
    b_mar_id->setText(mm(m_layout.Bot_Mar));
    Refresh_Preview();
}

void Print_Wnd::Refresh_Preview()
{
    if (m_loading)
        return;
    PrintView->setLayout(m_layout, cardSize());
    Print_sclview->verticalScrollBar()->setValue(0);
    test_image_view->setPixmap(QPixmap::fromImage(PrintView->imageRepresentation()));
}

void Print_Wnd::Check_Max_Cell_Value()
{
    PrintFields fields;
    // A field shows two decimals: while it still shows the card's own length, the label takes the
    // card's exact length (85.60 mm stays 242.65 points, as the design has it).
    const auto exactMm = [](const StepperField *field, double cardPoints) {
        const double exact = PrintLayout::Points_to_MM_Convert(float(cardPoints));
        return std::abs(field->value() - exact) <= 0.0051 ? exact : field->value();
    };
    fields.widthMm = exactMm(width_Stepper, cardSize().width());
    fields.heightMm = exactMm(height_Stepper, cardSize().height());
    fields.horzGapMm = horz_mar_Stepper->value();
    fields.vertGapMm = vert_mar_Stepper->value();
    fields.rows = int(Row_Stepper->value());
    fields.cols = int(Col_Stepper->value());
    const PrintFitResult fit = m_layout.Check_Max_Cell_Value(fields);
    if (!fit.ok()) {
        Show_MessageBox(fit.message);
        // The fields go back to the label the layout still holds.
        const QSizeF one = m_layout.labelCardSize();
        width_Stepper->setValue(PrintLayout::Points_to_MM_Convert(float(one.width())));
        height_Stepper->setValue(PrintLayout::Points_to_MM_Convert(float(one.height())));
        return;
    }
    if (fit.rowsRewritten)
        Row_Stepper->setValue(m_layout.Print_Row);
    if (fit.colsRewritten)
        Col_Stepper->setValue(m_layout.Print_Col);
    if (fit.totalRewritten)
        Total_Stepper->setValue(m_layout.Total_Label);
    const QString note = m_layout.fitNote();
    fit_note_id->setText(note);
    fit_note_id->setVisible(!note.isEmpty());
    Refresh_Preview();
}

void Print_Wnd::Set_Reset_Alignemnt_Image()
{
    for (int v = 1; v <= 9; ++v) {
        const bool selected = v == m_layout.label_align_val;
        alignButtons[v - 1]->setIcon(selected ? m_selectedIcons[v - 1] : m_plainIcons[v - 1]);
        alignButtons[v - 1]->setProperty("selected", selected);
    }
}

void Print_Wnd::alignmentChosen(int value)
{
    m_layout.label_align_val = value;
    Set_Reset_Alignemnt_Image();
    Refresh_Preview();
}

void Print_Wnd::Auto_Center_Checked()
{
    const bool on = Auto_Center_chk_bx->isChecked();
    m_layout.auto_center_flag = on;
    horz_mar_Stepper->setEnabled(!on);
    vert_mar_Stepper->setEnabled(!on);
    for (QToolButton *button : alignButtons)
        button->setEnabled(!on);
    Check_Max_Cell_Value();
}

void Print_Wnd::card_side_CellClick(int row)
{
    m_layout.Print_Card_Side = row == 0   ? QString(SideCode::Both)
                               : row == 1 ? QString(SideCode::Front)
                                          : QString(SideCode::Back);
    print_alignment->setEnabled(row == 0);
    Check_Max_Cell_Value();
}

std::shared_ptr<const RunPlan> Print_Wnd::runPlan() const
{
    return m_plan->with(RunPlan::Choices()
                            .withSources(print_with_batch_chk->isChecked(), print_with_excel_chk->isChecked())
                            .withSides(RunPlan::sidesOfCode(m_layout.Print_Card_Side))
                            .atMost(m_layout.Total_Label));
}

void Print_Wnd::readDataAgain()
{
    const int total = int(Total_Stepper->value());
    const bool wasData = m_layout.dataMode;
    const bool everyCard = wasData && RunStart::totalOfRowsReadAgain(total, runPlan()->cardCount()) < 0;
    m_plan = RunStart::plan(m_host);
    const auto plan = runPlan();
    m_layout.dataMode = plan->isBatch();
    int next = total;
    if (m_layout.dataMode)
        next = everyCard || !wasData ? plan->cardCount() : std::min(total, plan->cardCount());
    else if (wasData)
        next = m_layout.Print_Row * m_layout.Print_Col; // a full sheet, as without data rows
    m_layout.Total_Label = next;
    Total_Stepper->setMaximum(m_layout.dataMode ? std::max(1, plan->cardCount()) : 999999);
    Total_Stepper->setValue(next);
}

QString Print_Wnd::printSize(const RunPlan &plan)
{
    const int cards = plan.outputCount();
    return cards == 1
               ? QStringLiteral("This prints 1 card.")
               : QStringLiteral("This prints %1 cards.").arg(QLocale(QLocale::English).toString(cards));
}

void Print_Wnd::followRows(const std::shared_ptr<const RunPlan> &fresh)
{
    m_plan = fresh;
    if (!m_layout.dataMode)
        return;
    // The total the run prints of the rows read again, whether its blank cards are left out or not.
    const auto rows = fresh->with(RunPlan::Choices(fresh->choices()).leavingOutBlank(false));
    m_layout.Total_Label = rows->outputCount();
    Total_Stepper->setMaximum(std::max(1, rows->cardCount()));
    Total_Stepper->setValue(m_layout.Total_Label);
}

void Print_Wnd::Print_With_Data_Changed()
{
    const auto plan = runPlan();
    m_layout.dataMode = plan->isBatch();
    m_layout.Total_Label = m_layout.dataMode ? plan->cardCount() : 1;
    Total_Stepper->setMaximum(m_layout.dataMode ? std::max(1, m_layout.Total_Label) : 999999);
    Total_Stepper->setValue(m_layout.Total_Label);
}

void Print_Wnd::printerChosen()
{
    PrinterCatalog::configure(m_printer, Printer_ComboBox->currentText());
    Set_values_From_Printer();
    Check_Max_Cell_Value();
}

void Print_Wnd::orientationChosen()
{
    m_printer.setPageOrientation(Orient_ComboBox->currentIndex() == 0 ? QPageLayout::Portrait
                                                                      : QPageLayout::Landscape);
    Set_values_From_Printer();
    Check_Max_Cell_Value();
}

std::optional<QString> Print_Wnd::choosePdfFile()
{
    const QString suggested =
        (m_host.designName().isEmpty() ? QStringLiteral("Labels") : m_host.designName()) +
        QStringLiteral(".pdf");
    return FilePanels::instance().saveFile(this, PrinterCatalog::PdfFileEntry, QStringLiteral("pdf"),
                                           suggested, FilePanels::startFolder(m_host.designPath()));
}

void Print_Wnd::pagesetup()
{
    QPageSetupDialog dialog(&m_printer, this);
    if (ModalRunner::exec(dialog) != 1)
        return;
    Set_values_From_Printer();
    Check_Max_Cell_Value();
}

bool Print_Wnd::Execute_Printing(bool preview)
{
    readDataAgain();
    if (!runPlan()->missingSeries().isEmpty()) {
        print_result_id->clear(); // an earlier run's sheets are not what the user is told about
        RunStart::stopsForGoneSeries(*runPlan());
        return false;
    }
    if (!readyToPrint())
        return false;
    print_result_id->clear();
    const std::shared_ptr<const RunPlan> plan = runPlan();
    m_layout.dataMode = plan->isBatch();
    m_printer.setFullPage(true);
    m_printer.setCopyCount(int(Copies_Stepper->value()));
    if (!preview)
        return printChecked(plan);
    Printing_View view(m_layout, plainSides(plan), m_layout.dataMode ? plan : nullptr, cardSize());
    return runPreview(view, plan);
}

bool Print_Wnd::printChecked(const std::shared_ptr<const RunPlan> &asked)
{
    // The cards are checked before anything is printed; a preview only shows them.
    std::shared_ptr<const RunPlan> plan = RunStart::mayBegin(asked);
    if (!plan)
        return false;
    // The PDF file is named before the sheets are drawn, and the rows are read again after it:
    // the sheets hold the rows as they are then.
    std::optional<QString> pdfPath;
    if (PrinterCatalog::isPdfFile(Printer_ComboBox->currentText()) && !PrinterCatalog::pdfFile()) {
        pdfPath = choosePdfFile();
        if (!pdfPath)
            return false;
    }
    const std::shared_ptr<const RunPlan> checked = plan;
    if (!(plan = RunStart::atFirstCard(m_host, plan, 0, printSize)))
        return false;
    if (plan != checked)
        followRows(plan);
    // Blank cards left out leave no empty labels behind them.
    PrintLayout layout = m_layout;
    if (layout.dataMode)
        layout.Total_Label = std::min(layout.Total_Label, plan->outputCount());
    Printing_View view(layout, plainSides(plan), layout.dataMode ? plan : nullptr, cardSize());
    // Only a layout that printed is kept for the next opening: one left or cancelled is not.
    if (!printSheets(view, pdfPath))
        return false;
    rememberLayout();
    return true;
}

bool Print_Wnd::readyToPrint()
{
    m_layout.Total_Label = int(Total_Stepper->value());
    if (m_layout.exceedsPaper() && !Show_YES_NO_MessageBox(PrintLayout::MsgCardBigger))
        return false;
    if (m_layout.Total_Label <= 0) {
        Show_MessageBox(PrintLayout::MsgNothingToPrint);
        return false;
    }
    return true;
}

Printing_View::Sides Print_Wnd::plainSides(const std::shared_ptr<const RunPlan> &plan) const
{
    if (m_layout.dataMode)
        return {}; // every label is filled from its row
    // The sides chosen now, back included, as the design stands.
    BatchCardRenderer renderer(plan, Units::PointsPerInch, false);
    QString error;
    const Printing_View::Sides sides = Printing_View::sidesOf(renderer, 0, m_layout.Print_Card_Side, &error);
    if (!error.isEmpty())
        Show_NSLog_Message(QStringLiteral("The card could not be drawn: ") + error);
    return sides;
}

bool Print_Wnd::runPreview(Printing_View &view, const std::shared_ptr<const RunPlan> &plan)
{
    QPrintPreviewDialog dialog(&m_printer, this);
    const QString note = m_layout.fitNote();
    if (!note.isEmpty())
        dialog.setWindowTitle(dialog.windowTitle() + QStringLiteral(" \u2014 ") + note);
    connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
            [&view](QPrinter *printer) { view.paint(*printer, true); });
    // The preview's own Print would print the sheets previewed, at most PreviewPageLimit of them,
    // past the PDF file's save and the progress: it closes the preview and prints here. Its Page
    // setup would change the printer under the window and not the sheets previewed, which follow
    // the window: the window's own Page Setup is the one offered.
    bool printAfter = false;
    const QString printTitle = QCoreApplication::translate("QPrintPreviewDialog", "Print");
    const QString setupTitle = QCoreApplication::translate("QPrintPreviewDialog", "Page setup");
    for (QAction *action : dialog.findChildren<QAction *>()) {
        if (action->text() == setupTitle)
            action->setVisible(false);
        if (action->text() != printTitle)
            continue;
        action->disconnect(&dialog);
        connect(action, &QAction::triggered, &dialog, [&printAfter, &dialog] {
            printAfter = true;
            dialog.accept();
        });
    }
    ModalRunner::exec(dialog);
    return printAfter ? printChecked(plan) : true;
}

bool Print_Wnd::printSheets(Printing_View &view, const std::optional<QString> &pdfPath)
{
    // The PDF file printer writes through a save file: the file appears whole or not at all.
    const int copies = int(Copies_Stepper->value());
    bool cancelled = false;
    const Printing_View::SheetProgress progress =
        sheetProgress(view.numberOfPages(false) * (pdfPath ? copies : 1), &cancelled);
    const OpResult result = pdfPath ? printToPdfFile(view, *pdfPath, progress, cancelled)
                                    : view.paint(m_printer, false, progress);
    if (!result.ok() || cancelled)
        m_lastPrintedSheets = 0;
    if (!result.ok()) {
        Show_MessageBox(result.message);
        return false;
    }
    if (pdfPath && !cancelled)
        print_result_id->setText(
            QStringLiteral("The sheets were written to %1").arg(QDir::toNativeSeparators(*pdfPath)));
    return !cancelled;
}

Printing_View::SheetProgress Print_Wnd::sheetProgress(int sheets, bool *cancelled)
{
    // Runs of more than one sheet show how far they are, and can be cancelled between sheets.
    std::shared_ptr<QProgressDialog> progress;
    if (sheets > 1) {
        progress = std::make_shared<QProgressDialog>(QString(), QStringLiteral("Cancel"), 0, sheets, this);
        progress->setWindowModality(Qt::WindowModal);
        progress->setMinimumDuration(500);
    }
    m_lastPrintedSheets = 0;
    return [this, progress, cancelled](int sheet, int total) {
        if (progress) {
            progress->setLabelText(QStringLiteral("Printing sheet %1 of %2").arg(sheet).arg(total));
            progress->setValue(sheet - 1);
            if (progress->wasCanceled()) {
                *cancelled = true;
                return false;
            }
        }
        m_lastPrintedSheets = sheet;
        return true;
    };
}

OpResult Print_Wnd::printToPdfFile(Printing_View &view, const QString &path,
                                   const Printing_View::SheetProgress &progress, const bool &cancelled)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return OpResult::failed(QStringLiteral("The PDF file could not be written: ") + file.errorString());
    // A file makes no copies of its own: each copy is written into it in turn.
    const OpResult result = view.paintPdf(file, QStringLiteral("Tessaly Greeting Designer"),
                                          m_host.designName(), progress, int(Copies_Stepper->value()));
    if (!result.ok() || cancelled) {
        file.cancelWriting();
        return result;
    }
    if (!file.commit())
        return OpResult::failed(QStringLiteral("The PDF file could not be written: ") + file.errorString());
    return result;
}
