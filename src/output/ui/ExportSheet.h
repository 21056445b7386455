// The Export command and its sheet: file type, resolution, sides, combined picture and the data
// sources; then one card to a chosen file, or one card per data row into a chosen folder.
#pragma once

#include "foundation/CardCodes.h"
#include "output/ExportResult.h"
#include "output/RememberedExport.h"

#include <QDialog>

class OutputHost;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QPushButton;
class QVBoxLayout;

class ExportSheet : public QDialog
{
    Q_OBJECT
public:
    explicit ExportSheet(OutputHost &host, QWidget *parent = nullptr);

    static inline const QStringList &FileTypes = RememberedExport::FileTypes;
    // Every file type is a raster picture, so the resolution counts for each. A new user gets
    // print quality; the last type, resolution and sides come back at the next export, also
    // after a restart.
    static inline const QStringList &Resolutions = RememberedExport::Resolutions;
    static constexpr int DefaultDpi = RememberedExport::DefaultDpi;

    // The whole command: resets and runs the sheet, then the single or batch export, then the
    // exported-files dialog (or a message saying why nothing was written). The result is kept.
    void Export_Button();
    const ExportResult &lastResult() const { return m_lastResult; }

    void exportOkay();
    void exportCancel();
    void exportFileTypeChanged(int index);
    void export_file_type_CellClick(int row);
    void export_card_side_CellClick(int row);
    // The sides chosen: "BOTH", "F" or "B".
    QString chosenSide() const { return m_side; }

    // The extension the files get: the chosen type in lower case.
    QString extension() const;
    // The resolution the files are drawn at and record.
    double chosenDpi() const;

    QComboBox *fileFormatPopup = nullptr;
    QButtonGroup *matrix_file_type = nullptr;
    QComboBox *saveDPIText = nullptr;
    QButtonGroup *matrix_export_card_side = nullptr;
    QCheckBox *export_combined_image_chk = nullptr;
    QCheckBox *Export_with_batch_chk = nullptr;
    QCheckBox *Export_with_excel_chk = nullptr;
    QPushButton *ok_button = nullptr;
    QPushButton *cancel_button = nullptr;

private:
    // The layout: one maker per group, in the order the user tabs through.
    void buildWindow();
    QVBoxLayout *makeChoices();
    void resetSheet();
    void remember() const;
    void followFileType(int index);
    void announce(const ExportResult &result);

    OutputHost &m_host;
    QString m_side = SideCode::Front;
    bool m_twoSided = true; // the design has a back: a single-sided card exports its front only
    ExportResult m_lastResult;
};
