#include "data/ui/Import_Excel_DataSheet.h"

#include "data/ColumnBinding.h"
#include "data/ui/BatchWizard.h"
#include "foundation/DataRoot.h"
#include "foundation/MessageBoxes.h"
#include "foundation/StringUtils.h"
#include "foundation/ui/ControlUtils.h"
#include "foundation/ui/Long_SMS_Dlg.h"
#include "foundation/ui/PleaseWaitSheet.h"
#include "foundation/ui/PleaseWait_Modeless.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace
{
const QString kHeaderTitle = QStringLiteral("Header");
const QString kNoData =
    QStringLiteral("There is no data in selected sheet.\nPlease select another Sheet/Excel "
                   "File.\nEither file is corrupted or selected file contains invalid "
                   "characters.");
const QString kEnterName = QStringLiteral("Please enter list name.");
const int kHeaderColumn = 2;

// The long-message dialog's answer to one question; true for OK, which also stores its
// apply-to-all tick.
bool askLong(const QString &title, const QString &message, bool offerApplyAll)
{
    Long_SMS_Dlg *dlg = Long_SMS_Dlg::defaultInstance();
    dlg->title_val = title;
    dlg->msg_val_str = message;
    dlg->apply_chk_show = offerApplyAll;
    return dlg->Open_Long_sms_Dialog() == 1;
}
} // namespace

Import_Excel_DataSheet::Import_Excel_DataSheet(BatchWizard *manager, QWidget *parent)
    : ImportExcelBase(QStringLiteral("Import_Excel_DataSheet"), QStringLiteral("Excel Columns to Series"),
                      {QStringLiteral("State"), QStringLiteral("Extension"), kHeaderTitle},
                      {QStringLiteral(""), QStringLiteral("Column"), QStringLiteral("Series Name")}, parent),
      m_manager(manager)
{
    makeModeChoices();
    extraArea()->addWidget(Each_col_RD);
    extraArea()->addWidget(Fill_col_RD);
    extraArea()->addWidget(makeFillBox());
    resize(520, 560);

    connect(Each_col_RD, &QRadioButton::clicked, this, &Import_Excel_DataSheet::Each_Col_RD_Click);
    connect(Fill_col_RD, &QRadioButton::clicked, this, &Import_Excel_DataSheet::Fill_Col_RD_Click);
    connect(matrix_fill_type, &QButtonGroup::idClicked, this, &Import_Excel_DataSheet::Fill_Type_CellClick);
}

void Import_Excel_DataSheet::makeModeChoices()
{
    Each_col_RD = new QRadioButton(QStringLiteral("Each selected column becomes a series of its own"), this);
    Each_col_RD->setObjectName(QStringLiteral("Each_col_RD"));
    Fill_col_RD = new QRadioButton(QStringLiteral("All selected columns fill one series"), this);
    Fill_col_RD->setObjectName(QStringLiteral("Fill_col_RD"));
    // The two modes are switched by their own actions, not by Qt's exclusive grouping.
    Each_col_RD->setAutoExclusive(false);
    Fill_col_RD->setAutoExclusive(false);
}

QGroupBox *Import_Excel_DataSheet::makeFillBox()
{
    fill_box = new QGroupBox(this);
    fill_box->setObjectName(QStringLiteral("fill_box"));
    auto *boxLayout = new QGridLayout(fill_box);
    matrix_fill_type = new QButtonGroup(this);
    const QStringList choices{QStringLiteral("New series"), QStringLiteral("Replace series"),
                              QStringLiteral("Append to series")};
    for (int i = 0; i < choices.size(); ++i) {
        auto *radio = new QRadioButton(choices[i], fill_box);
        radio->setObjectName(QStringLiteral("fill_type_%1").arg(i));
        matrix_fill_type->addButton(radio, i);
        boxLayout->addWidget(radio, 0, i);
    }
    list_name = new QLineEdit(fill_box);
    list_name->setObjectName(QStringLiteral("list_name"));
    list_name->setPlaceholderText(QStringLiteral("Name of the new series"));
    List_ComboBox = new QComboBox(fill_box);
    List_ComboBox->setObjectName(QStringLiteral("List_ComboBox"));
    boxLayout->addWidget(list_name, 1, 0, 1, 3);
    boxLayout->addWidget(List_ComboBox, 2, 0, 1, 3);
    return fill_box;
}

void Import_Excel_DataSheet::prepareOpening()
{
    matrix_fill_type->button(0)->setChecked(true);
    fill_col_option = 0;
    list_name->clear();
    List_ComboBox->clear();
    showFillControls();
    Each_Col_RD_Click();
}

void Import_Excel_DataSheet::afterWorkbookLoaded()
{
    // A workbook listed again keeps the series already chosen.
    const QString chosen = List_ComboBox->currentText();
    List_ComboBox->clear();
    List_ComboBox->addItems(SeriesFiles::Get_datasheet_File_Name_Array(Data_Folder_Path));
    if (List_ComboBox->count() > 0)
        List_ComboBox->setCurrentIndex(std::max(0, List_ComboBox->findText(chosen)));
}

RowListModel::Row Import_Excel_DataSheet::choiceRecord(const QString &title, bool ticked) const
{
    RowListModel::Row r = ImportExcelBase::choiceRecord(title, ticked);
    r.insert(kHeaderTitle, title);
    return r;
}

void Import_Excel_DataSheet::Fill_Type_CellClick(int choice)
{
    fill_col_option = choice;
    matrix_fill_type->button(choice)->setChecked(true);
    showFillControls();
}

void Import_Excel_DataSheet::showFillControls()
{
    list_name->setVisible(fill_col_option == 0);
    List_ComboBox->setVisible(fill_col_option != 0);
    ColList->setColumnHidden(kHeaderColumn, fill_col_option != 0);
}

void Import_Excel_DataSheet::Each_Col_RD_Click()
{
    Each_col_RD->setChecked(true);
    Fill_col_RD->setChecked(false);
    SetObjEnabled(fill_box, false);
}

void Import_Excel_DataSheet::Fill_Col_RD_Click()
{
    Each_col_RD->setChecked(false);
    Fill_col_RD->setChecked(true);
    SetObjEnabled(fill_box, true);
}

bool Import_Excel_DataSheet::takeColumns(const QString &path)
{
    if (Each_col_RD->isChecked())
        return Create_file_For_Col_Func(path);
    // One series: its name first, so nothing is read for a choice that cannot be written.
    if (fill_col_option != 0) {
        if (Trim_Str(List_ComboBox->currentText()).isEmpty()) {
            Show_MessageBox(QStringLiteral("Please select list name."));
            return false;
        }
    } else if (Trim_Str(list_name->text()).isEmpty() ||
               !SeriesFiles::checkName(list_name->text()).isEmpty()) {
        Show_MessageBox(kEnterName);
        list_name->setFocus();
        return false;
    }
    return Insert_file_Func(path);
}

bool Import_Excel_DataSheet::Create_file_For_Col_Func(const QString &path)
{
    // Each run asks afresh: an apply-to-all answer of an earlier run must not replace series now.
    Long_SMS_Dlg::clearApplyToAll();
    QMap<int, QString> names; // ticked column -> series name
    for (int j = 0; j < ListData_xl->count(); ++j) {
        if (!ListData_xl->isChecked(j))
            continue;
        const QString name =
            Remove_Reserve_Char_In_File_Name(Trim_Str(ListData_xl->objectValue(kHeaderTitle, j)));
        if (!SeriesFiles::checkName(name).isEmpty()) {
            Show_MessageBox(kEnterName);
            return false;
        }
        names.insert(j, name);
    }
    if (!readRows(path, kNoData) || refusesUncomputed())
        return false;

    const XlsxTable &rows = excel_content.rows;
    const int columns = rows.columnCount();
    QStringList failed;
    for (auto it = names.cbegin(); it != names.cend(); ++it) {
        const int j = it.key();
        const QString &name = it.value();
        if (j >= columns)
            continue;
        const bool exists = QFileInfo::exists(SeriesFiles::filePath(Data_Folder_Path, name));
        if (exists && !Long_SMS_Dlg::applyToAllTicked()) {
            if (inUse(name)) {
                askLong(QStringLiteral("Message :"),
                        name + QStringLiteral("\nBatch processing Series name is already in use with another "
                                              "sequence. Please change Batch Processing Series Name."),
                        columns != 1);
                continue;
            }
            if (!askLong(QStringLiteral("Batch Processing Series already exists :"),
                         name + QStringLiteral("\n") + SeriesFiles::MsgAlreadyExists, columns != 1))
                continue;
        }
        const QStringList values = ColumnBinding::columnValues(rows, {j}, firstDataRow());
        SeriesResult written;
        {
            PleaseWaitSheet wait(this);
            written = SeriesFiles::writeSeries(Data_Folder_Path, name, values, false);
        }
        if (!written.ok())
            failed.append(name);
    }
    if (file_name_Insert == 1 && m_manager)
        m_manager->Fill_List();
    if (!failed.isEmpty())
        Show_MessageBox(SeriesFiles::MsgFileAccess + QStringLiteral("\n") +
                        failed.join(QStringLiteral(", ")));
    return true;
}

bool Import_Excel_DataSheet::Insert_file_Func(const QString &path)
{
    const QString name = Remove_Reserve_Char_In_File_Name(
        Trim_Str(fill_col_option != 0 ? List_ComboBox->currentText() : list_name->text()));
    // The workbook is read before the target is touched, so a failed read destroys nothing.
    if (!readRows(path, XlsxReader::corruptMessage()) || refusesUncomputed())
        return false;
    if (fill_col_option == 0 && QFileInfo::exists(SeriesFiles::filePath(Data_Folder_Path, name)) &&
        !Ask_YES_NO_Keeping(SeriesFiles::MsgAlreadyExists))
        return false;

    const QStringList values =
        ColumnBinding::columnValues(excel_content.rows, tickedColumns(), firstDataRow());
    SeriesResult written;
    {
        PleaseWaitSheet wait(this);
        written = fill_col_option <= 1 ? SeriesFiles::writeSeries(Data_Folder_Path, name, values, false)
                                       : SeriesFiles::appendSeries(Data_Folder_Path, name, values);
    }
    if (!written.ok()) {
        Show_MessageBox(written.message.isEmpty() ? SeriesFiles::MsgFileAccess : written.message);
        return false;
    }
    if (file_name_Insert == 1 && m_manager)
        m_manager->Fill_List();
    return true;
}
