#include "output/ui/ExportSheet.h"

#include "foundation/CardCodes.h"
#include "foundation/MessageBoxes.h"
#include "foundation/ui/FilePanels.h"
#include "foundation/ui/ModalRunner.h"
#include "foundation/ui/WindowLook.h"
#include "output/CardExport.h"
#include "output/OutputState.h"
#include "output/ui/BatchRun.h"
#include "output/ui/Open_Export_Log.h"
#include "output/ui/OutputHost.h"
#include "output/ui/RunStart.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLoggingCategory>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace
{
// The outcome of each export, for scripts that drive the program; off unless enabled.
Q_LOGGING_CATEGORY(exportResultLog, "tessaly.export", QtWarningMsg)

QGroupBox *radioColumn(QWidget *parent, const QString &title, QButtonGroup *group, const QStringList &titles)
{
    auto *box = new QGroupBox(title, parent);
    auto *layout = new QVBoxLayout(box);
    for (int i = 0; i < titles.size(); ++i) {
        auto *radio = new QRadioButton(titles[i], box);
        group->addButton(radio, i);
        layout->addWidget(radio);
    }
    return box;
}
} // namespace

ExportSheet::ExportSheet(OutputHost &host, QWidget *parent) : QDialog(parent), m_host(host)
{
    setObjectName(QStringLiteral("ExportWindow"));
    setWindowTitle(QStringLiteral("Export"));
    WindowLook::fitTitle(this);
    WindowLook::applyBackground(this);

    buildWindow();

    connect(fileFormatPopup, &QComboBox::activated, this, &ExportSheet::exportFileTypeChanged);
    connect(matrix_file_type, &QButtonGroup::idClicked, this, &ExportSheet::export_file_type_CellClick);
    connect(matrix_export_card_side, &QButtonGroup::idClicked, this,
            &ExportSheet::export_card_side_CellClick);
    connect(ok_button, &QPushButton::clicked, this, &ExportSheet::exportOkay);
    connect(cancel_button, &QPushButton::clicked, this, &ExportSheet::exportCancel);
}

void ExportSheet::buildWindow()
{
    QVBoxLayout *choices = makeChoices();
    export_combined_image_chk = new QCheckBox(QStringLiteral("Both sides in one picture"), this);
    export_combined_image_chk->setObjectName(QStringLiteral("export_combined_image_chk"));
    Export_with_batch_chk = new QCheckBox(QStringLiteral("Use series data"), this);
    Export_with_batch_chk->setObjectName(QStringLiteral("Export_with_batch_chk"));
    Export_with_excel_chk = new QCheckBox(QStringLiteral("Use Excel data"), this);
    Export_with_excel_chk->setObjectName(QStringLiteral("Export_with_excel_chk"));
    ok_button = new QPushButton(QStringLiteral("OK"), this);
    ok_button->setDefault(true);
    cancel_button = new QPushButton(QStringLiteral("Cancel"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancel_button);
    buttons->addWidget(ok_button);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(choices);
    layout->addWidget(export_combined_image_chk);
    layout->addWidget(Export_with_batch_chk);
    layout->addWidget(Export_with_excel_chk);
    layout->addLayout(buttons);
}

// Format and resolution, then the radio columns of file type and card side.
QVBoxLayout *ExportSheet::makeChoices()
{
    fileFormatPopup = new QComboBox(this);
    fileFormatPopup->setObjectName(QStringLiteral("fileFormatPopup"));
    fileFormatPopup->addItems(FileTypes);
    // The resolution sits under the format: made before the radio columns, Tab takes it next.
    saveDPIText = new QComboBox(this);
    saveDPIText->setObjectName(QStringLiteral("saveDPIText"));
    saveDPIText->addItems(Resolutions);
    matrix_file_type = new QButtonGroup(this);
    matrix_file_type->setObjectName(QStringLiteral("matrix_file_type"));
    QGroupBox *typeBox = radioColumn(this, QStringLiteral("File type"), matrix_file_type, FileTypes);
    matrix_export_card_side = new QButtonGroup(this);
    matrix_export_card_side->setObjectName(QStringLiteral("matrix_export_card_side"));
    QGroupBox *sideBox = radioColumn(
        this, QStringLiteral("Card side"), matrix_export_card_side,
        {QStringLiteral("Both sides"), QStringLiteral("Front side"), QStringLiteral("Back side")});

    auto *top = new QGridLayout;
    top->addWidget(new QLabel(QStringLiteral("Format:"), this), 0, 0);
    top->addWidget(fileFormatPopup, 0, 1);
    top->addWidget(new QLabel(QStringLiteral("Resolution (dpi):"), this), 1, 0);
    top->addWidget(saveDPIText, 1, 1);
    auto *boxes = new QHBoxLayout;
    boxes->addWidget(typeBox);
    boxes->addWidget(sideBox);
    auto *choices = new QVBoxLayout;
    choices->addLayout(top);
    choices->addLayout(boxes);
    return choices;
}

void ExportSheet::exportOkay()
{
    done(1);
}

void ExportSheet::exportCancel()
{
    done(0);
}

// The pop-up and the radio column show the same choice, by whichever control it was made.
void ExportSheet::followFileType(int index)
{
    if (index < 0 || index >= FileTypes.size())
        return;
    fileFormatPopup->setCurrentIndex(index);
    if (QAbstractButton *radio = matrix_file_type->button(index))
        radio->setChecked(true);
}

void ExportSheet::exportFileTypeChanged(int index)
{
    followFileType(index);
}

void ExportSheet::export_file_type_CellClick(int row)
{
    followFileType(row);
}

void ExportSheet::export_card_side_CellClick(int row)
{
    m_side = row == 0 ? SideCode::Both : row == 1 ? SideCode::Front : SideCode::Back;
    export_combined_image_chk->setEnabled(row == 0);
    if (QAbstractButton *radio = matrix_export_card_side->button(row))
        radio->setChecked(true);
}

QString ExportSheet::extension() const
{
    return fileFormatPopup->currentText().toLower();
}

double ExportSheet::chosenDpi() const
{
    bool ok = false;
    const int dpi = saveDPIText->currentText().toInt(&ok);
    return ok && dpi >= 1 && dpi <= 2400 ? dpi : DefaultDpi;
}

void ExportSheet::resetSheet()
{
    const RememberedExport kept = RememberedExport::load();
    saveDPIText->setCurrentIndex(std::max(0, int(Resolutions.indexOf(QString::number(kept.dpi)))));
    saveDPIText->setEnabled(true);
    followFileType(std::max(0, int(FileTypes.indexOf(kept.fileType))));
    export_combined_image_chk->setChecked(kept.combined);
    export_card_side_CellClick(kept.side == SideCode::Both ? 0 : kept.side == SideCode::Back ? 2 : 1);
}

void ExportSheet::remember() const
{
    RememberedExport kept;
    kept.dpi = int(chosenDpi());
    kept.fileType = fileFormatPopup->currentText();
    // A single-sided card offers only its front: the choice kept for cards with a back stays.
    kept.side = m_twoSided ? m_side : RememberedExport::load().side;
    kept.combined = export_combined_image_chk->isChecked();
    if (!kept.save())
        Show_NSLog_Message(QStringLiteral("Export: the choice could not be kept in ") +
                           RememberedExport::settingsPath());
}

void ExportSheet::Export_Button()
{
    resetSheet();
    {
        const std::shared_ptr<const RunPlan> plan = RunStart::plan(m_host);
        if (RunStart::stopsForGoneSeries(*plan))
            return;
        // A box is offered only for a source the design uses; the other is cleared and disabled.
        Export_with_batch_chk->setEnabled(plan->offersSeries());
        Export_with_batch_chk->setChecked(plan->offersSeries());
        Export_with_excel_chk->setEnabled(plan->offersExcel());
        Export_with_excel_chk->setChecked(plan->offersExcel());
        m_twoSided = plan->backTakesPart();
        for (const int row : {0, 2})
            matrix_export_card_side->button(row)->setEnabled(m_twoSided);
        if (!m_twoSided)
            export_card_side_CellClick(1);
    }

    if (ModalRunner::exec(*this) != 1)
        return;
    remember();

    ExportOptions options;
    options.side = RunPlan::sidesOfCode(m_side);
    options.combined = options.side == ExportSide::Both && export_combined_image_chk->isChecked();
    options.extension = extension();
    options.dpi = chosenDpi();
    // The data as it stands at OK: the workbook and series files may have changed while the sheet
    // was open.
    const std::shared_ptr<const RunPlan> planned = RunStart::plan(
        m_host, RunPlan::Choices()
                    .withSources(Export_with_batch_chk->isChecked(), Export_with_excel_chk->isChecked())
                    .withSides(options.side));
    if (RunStart::stopsForGoneSeries(*planned))
        return;
    std::shared_ptr<const RunPlan> plan = RunStart::mayBegin(planned, options.threads);
    if (!plan)
        return;

    QWidget *window = m_host.outputWindow();
    ExportProgress &progress = OutputState::instance().progress;
    if (!plan->isBatch()) {
        const std::optional<QString> path =
            FilePanels::instance().saveFile(window, windowTitle(), options.extension, m_host.designName(),
                                            FilePanels::startFolder(m_host.designPath()));
        if (!path || !(plan = RunStart::atFirstCard(m_host, plan, options.threads)))
            return;
        if (window)
            window->raise();
        m_lastResult = CardExport::run(plan, *path, options, &progress);
        announce(m_lastResult);
        return;
    }

    const std::optional<QString> folder = FilePanels::instance().openFolder(
        window, windowTitle(), FilePanels::startFolder(m_host.designPath()));
    if (!folder)
        return;
    const std::optional<RunStart::ExportFolder> target = RunStart::exportFolder(*folder);
    // The rows may have changed while the folder was chosen: the cards are those of the rows now.
    if (!target || !(plan = RunStart::atFirstCard(m_host, plan, options.threads)))
        return;
    options.batchFolder = target->batchFolder;
    options.replaceEarlier = target->replaceEarlier;
    const int total = plan->outputCount();
    progress.start(total);
    ExportResult result;
    BatchRun::exec(window, progress, total, BatchRun::Kind::Export,
                   [&] { result = CardExport::run(plan, *folder, options, &progress); });
    BatchRun::showDesignAgain(m_host);
    m_lastResult = result;
    announce(m_lastResult);
}

// The exported-files dialog when anything was written (its text says whether all was), else a
// message saying why nothing was.
void ExportSheet::announce(const ExportResult &result)
{
    // Silent unless asked for (QT_LOGGING_RULES="tessaly.export.info=true"): scripts read it there.
    qCInfo(exportResultLog).noquote() << QStringLiteral("Export: ") + result.message();
    if (result.refusal.isEmpty() && result.written > 0) {
        Open_Export_Log log(m_host.outputWindow());
        log.Open_Export_File_Box();
        return;
    }
    Show_MessageBox(result.message());
}
