// The print window: printer, paper and margins, the label grid (size, rows, columns, gaps, nine
// alignments or auto-centre), sides, data rows, a live sheet preview, then preview or print.
#pragma once

#include "foundation/ui/WindowLook.h"
#include "output/PrintLayout.h"
#include "output/Printing_View.h"

#include <QDialog>
#include <QList>
#include <QPrinter>

#include <memory>
#include <optional>

class OutputHost;
class RememberedPrintLayout;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFormLayout;
class QGroupBox;
class QLabel;
class QPushButton;
class QScrollArea;
class QToolButton;
class QVBoxLayout;
class Sample_Preview;
class StepperField;

class Print_Wnd : public QDialog
{
    Q_OBJECT
public:
    explicit Print_Wnd(OutputHost &host, QWidget *parent = nullptr);
    ~Print_Wnd() override;

    // Prepares the window for the current design and runs it modally.
    int Open_Print_Wnd();

    void Set_values_From_Printer();
    void Refresh_Preview();
    void Check_Max_Cell_Value();
    void Set_Reset_Alignemnt_Image();
    // Starts a preview or a print run; false when it was refused or nothing was printed.
    bool Execute_Printing(bool preview);

    const PrintLayout &layout() const { return m_layout; }
    QPrinter &printInfo() { return m_printer; }
    // Sheets painted by the last print run (not a preview).
    int lastPrintedSheets() const { return m_lastPrintedSheets; }

    QComboBox *Printer_ComboBox = nullptr;
    QComboBox *Orient_ComboBox = nullptr;
    QLabel *Paper_id = nullptr;
    QLabel *Size_id = nullptr;
    QLabel *l_mar_id = nullptr;
    QLabel *r_mar_id = nullptr;
    QLabel *t_mar_id = nullptr;
    QLabel *b_mar_id = nullptr;
    StepperField *horz_mar_Stepper = nullptr;
    StepperField *vert_mar_Stepper = nullptr;
    StepperField *width_Stepper = nullptr;
    StepperField *height_Stepper = nullptr;
    StepperField *Row_Stepper = nullptr;
    StepperField *Col_Stepper = nullptr;
    StepperField *Total_Stepper = nullptr;
    StepperField *Copies_Stepper = nullptr;
    QCheckBox *Show_Margins = nullptr;
    QCheckBox *Auto_Center_chk_bx = nullptr;
    QWidget *align_Gp_Bx = nullptr;
    QList<QToolButton *> alignButtons; // values 1..9: top left .. bottom right
    QButtonGroup *matrix_card_side = nullptr;
    QComboBox *print_alignment = nullptr;
    QCheckBox *print_with_batch_chk = nullptr;
    QCheckBox *print_with_excel_chk = nullptr;
    QScrollArea *Print_sclview = nullptr;
    Sample_Preview *PrintView = nullptr;
    QLabel *test_image_view = nullptr;
    QLabel *fit_note_id = nullptr;
    QLabel *print_result_id = nullptr;
    QPushButton *page_setup_button = nullptr;
    QPushButton *preview_button = nullptr;
    QPushButton *print_button = nullptr;
    QPushButton *cancel_button = nullptr;

private:
    // The layout (PrintWindowLayout.cpp): one maker per group, in the order the user tabs through.
    void buildWindow();
    QVBoxLayout *makeSettingsColumn();
    QFormLayout *makePrinterForm();
    QFormLayout *makeLabelForm();
    QGroupBox *makeAlignmentBox();
    QGroupBox *makeSideBox();
    QVBoxLayout *makePreviewColumn();
    void connectControls();
    // Opening: the data boxes as the design's sources give them, then the grid, gaps, paper and
    // sides as the window was last left.
    void showDataSources(const RunPlan &plan);
    void showKeptLayout(const RememberedPrintLayout &kept);
    void useKeptPaper(const RememberedPrintLayout &kept);
    void rememberLayout() const;
    void printerChosen();
    void orientationChosen();
    void pagesetup();
    void card_side_CellClick(int row);
    void alignmentChosen(int value);
    void Auto_Center_Checked();
    void Print_With_Data_Changed();
    // The run as the window stands: the sources the boxes leave, the sides and the total.
    std::shared_ptr<const RunPlan> runPlan() const;
    // As a run starts, its data is read again (the workbook and series files may have changed on
    // disk while the window was open); the total follows the new rows.
    void readDataAgain();
    // The rows read again at the first sheet: the window's data and its total follow them.
    void followRows(const std::shared_ptr<const RunPlan> &fresh);
    // The run's size in words, asked about again when the rows read at the first sheet change it.
    static QString printSize(const RunPlan &plan);
    QSizeF cardSize() const { return m_cardSize; }
    // Where the sheets go when the printer is the PDF file: asked for on every print; none when
    // the user cancels.
    std::optional<QString> choosePdfFile();

    // The steps of a print run. The size question and the total; false stops the run.
    bool readyToPrint();
    // What every label shows when no data rows fill them.
    Printing_View::Sides plainSides(const std::shared_ptr<const RunPlan> &plan) const;
    // The preview of the sheets; its Print prints them all here.
    bool runPreview(Printing_View &view, const std::shared_ptr<const RunPlan> &plan);
    // Every sheet to the printer, or to a PDF file chosen now, once the run may start; says where
    // the file went.
    bool printChecked(const std::shared_ptr<const RunPlan> &plan);
    bool printSheets(Printing_View &view, const std::optional<QString> &pdfPath);
    // The progress of a run of `sheets`, which notes the sheets printed and a cancel.
    Printing_View::SheetProgress sheetProgress(int sheets, bool *cancelled);
    // The sheets into a PDF file, whole or not at all: nothing is kept once `cancelled` is set
    // (by the progress).
    OpResult printToPdfFile(Printing_View &view, const QString &path,
                            const Printing_View::SheetProgress &progress, const bool &cancelled);

    OutputHost &m_host;
    std::shared_ptr<const RunPlan> m_plan; // the design and its sources, read at opening and each run
    PrintLayout m_layout;
    QPrinter m_printer;
    QSizeF m_cardSize; // the design's card in points, exactly: the label's size and the preview's places
    bool m_loading = false;
    StepperField *m_retypedGrid = nullptr; // the rows or columns field typed in since its last commit
    int m_lastPrintedSheets = 0;
    QList<QIcon> m_plainIcons, m_selectedIcons;
};
