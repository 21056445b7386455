#include "data/ui/ImportExcelBase.h"

#include "data/ColumnBinding.h"
#include "data/DataState.h"
#include "data/SpreadsheetWriter.h"
#include "foundation/DialogTiming.h"
#include "foundation/MessageBoxes.h"
#include "foundation/StringUtils.h"
#include "foundation/ui/ModalRunner.h"
#include "foundation/ui/PleaseWaitSheet.h"
#include "foundation/ui/PleaseWait_Modeless.h"
#include "foundation/ui/WindowLook.h"
#include "platform/MessageService.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QThread>
#include <QVBoxLayout>

namespace
{
const QString kState = QStringLiteral("State");
const QString kExtension = QStringLiteral("Extension");
const QString kHeader = QStringLiteral("Header");

// The column choices: check boxes under "State", and the series name as the only cell typed
// into; titles are what the sheet says.
class ChoiceModel : public RowListModel
{
public:
    using RowListModel::RowListModel;
    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        Qt::ItemFlags f = RowListModel::flags(index);
        if (index.isValid() && index.column() < columns().size() && columns().at(index.column()) == kHeader)
            f |= Qt::ItemIsEditable;
        return f;
    }
};
} // namespace

ImportExcelBase::ImportExcelBase(const QString &objectName, const QString &title,
                                 const QStringList &choiceColumns, const QStringList &choiceTitles,
                                 QWidget *parent)
    : QDialog(parent)
{
    setObjectName(objectName);
    setWindowTitle(title);
    WindowLook::applyBackground(this);
    ListData_xl = new ChoiceModel(choiceColumns, choiceTitles, this);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(makeWorkbookFields());
    contains_header = new QCheckBox(QStringLiteral("First row contains column titles"), this);
    contains_header->setObjectName(QStringLiteral("contains_header"));
    layout->addWidget(contains_header);
    layout->addWidget(makeColumnList(), 1);
    layout->addLayout(makeChoiceButtons());
    m_extra = new QVBoxLayout;
    layout->addLayout(m_extra);
    layout->addLayout(WindowLook::okCancelRow(this, ok_button, cancel_button));
    ok_button->setObjectName(QStringLiteral("ok_button"));
    cancel_button->setObjectName(QStringLiteral("cancel_button"));
    resize(480, 460);

    connect(Sheet_ComboBox, &QComboBox::activated, this, &ImportExcelBase::sheetChosen);
    connect(select_all_button, &QPushButton::clicked, this, &ImportExcelBase::Select_ALL_Pressed);
    connect(clear_all_button, &QPushButton::clicked, this, &ImportExcelBase::Clear_All_Pressed);
    connect(ok_button, &QPushButton::clicked, this, &ImportExcelBase::OKPressed);
    connect(cancel_button, &QPushButton::clicked, this, &ImportExcelBase::CancelPressed);
}

QGridLayout *ImportExcelBase::makeWorkbookFields()
{
    auto *grid = new QGridLayout;
    file_path = new QLineEdit(this);
    file_path->setObjectName(QStringLiteral("file_path"));
    file_path->setReadOnly(true);
    Sheet_ComboBox = new QComboBox(this);
    Sheet_ComboBox->setObjectName(QStringLiteral("Sheet_ComboBox"));
    grid->addWidget(new QLabel(QStringLiteral("Workbook:"), this), 0, 0);
    grid->addWidget(file_path, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Sheet:"), this), 1, 0);
    grid->addWidget(Sheet_ComboBox, 1, 1);
    grid->setColumnStretch(1, 1);
    return grid;
}

QTableView *ImportExcelBase::makeColumnList()
{
    ColList = new QTableView(this);
    ColList->setObjectName(QStringLiteral("ColList"));
    ColList->setModel(ListData_xl);
    ColList->setSelectionBehavior(QAbstractItemView::SelectRows);
    ColList->setSelectionMode(QAbstractItemView::SingleSelection);
    ColList->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    // Tab leaves the list for its buttons; the arrows move within it.
    ColList->setTabKeyNavigation(false);
    ColList->verticalHeader()->hide();
    ColList->horizontalHeader()->setStretchLastSection(true);
    ColList->setColumnWidth(0, 50);
    ColList->setColumnWidth(1, 200);
    return ColList;
}

QHBoxLayout *ImportExcelBase::makeChoiceButtons()
{
    auto *row = new QHBoxLayout;
    select_all_button = new QPushButton(QStringLiteral("Select All"), this);
    select_all_button->setObjectName(QStringLiteral("select_all_button"));
    select_all_button->setAutoDefault(false);
    clear_all_button = new QPushButton(QStringLiteral("Clear All"), this);
    clear_all_button->setObjectName(QStringLiteral("clear_all_button"));
    clear_all_button->setAutoDefault(false);
    row->addWidget(select_all_button);
    row->addWidget(clear_all_button);
    row->addStretch();
    return row;
}

int ImportExcelBase::Open_excel_Wnd(const QString &path)
{
    DataState::instance().Excel_Sheet_Number = 1;
    file_path->setText(path);
    contains_header->setChecked(true);
    ListData_xl->clear();
    Sheet_ComboBox->clear();
    excel_content = XlsxRows();
    prepareOpening();
    Load_file_Func(path);
    // The columns are what the user works on: ticking them by keyboard needs no walk to them first.
    ColList->setFocus();
    if (DialogTiming::openWaitMs() > 0)
        QThread::msleep(DialogTiming::openWaitMs());
    const int result = ModalRunner::exec(*this);
    hide();
    return result;
}

void ImportExcelBase::Load_file_Func(const QString &path)
{
    XlsxRows opened;
    QStringList sheets;
    {
        PleaseWaitSheet wait(this);
        // Taken before the file is opened: a change while it is read is noticed at OK.
        m_listed = WorkbookFacts::take(path);
        opened = SpreadsheetWriter::ReadWorkbook(path, true);
        if (opened.ok)
            sheets = SpreadsheetWriter::Read_Sheet_Name();
    }
    if (!opened.ok) {
        Show_MessageBox(opened.message.isEmpty() ? XlsxReader::corruptMessage() : opened.message);
        return;
    }
    // The reader counts sheets in workbook order, so position + 1 names the sheet shown.
    Sheet_ComboBox->addItems(sheets);
    afterWorkbookLoaded();
    if (!sheets.isEmpty()) {
        Sheet_ComboBox->setCurrentIndex(0);
        sheetChosen(0);
    }
}

void ImportExcelBase::sheetChosen(int position)
{
    if (position < 0 || position >= Sheet_ComboBox->count())
        return;
    DataState::instance().Excel_Sheet_Number = position + 1;
    XlsxRows titles;
    {
        PleaseWaitSheet wait(this);
        titles = SpreadsheetWriter::ReadData_only_column();
    }
    excel_content = titles;
    if (!titles.ok) {
        ListData_xl->clear();
        Show_MessageBox(titles.message.isEmpty() ? XlsxReader::corruptMessage() : titles.message);
        return;
    }
    // A sheet without a title row has no columns to offer: the old sheet's would name the wrong cells.
    rebuildChoices(titles.rows.isEmpty() ? QStringList() : titles.rows.first(), false);
}

RowListModel::Row ImportExcelBase::choiceRecord(const QString &title, bool ticked) const
{
    return {{kState, ticked ? QStringLiteral("1") : QStringLiteral("0")}, {kExtension, Trim_Str(title)}};
}

void ImportExcelBase::rebuildChoices(const QStringList &titles, bool ticked)
{
    QList<RowListModel::Row> rows;
    rows.reserve(titles.size());
    for (const QString &t : titles)
        rows.append(choiceRecord(t, ticked));
    ListData_xl->setListData(rows);
}

bool ImportExcelBase::Get_Selection_State(int j) const
{
    if (j < 0 || j >= ListData_xl->count()) {
        Show_NSLog_Message(QStringLiteral("No column choice at position %1.").arg(j));
        return false;
    }
    return ListData_xl->isChecked(j);
}

bool ImportExcelBase::Check_For_One_Extension_Selection() const
{
    for (int j = 0; j < ListData_xl->count(); ++j) {
        if (ListData_xl->isChecked(j))
            return true;
    }
    return false;
}

void ImportExcelBase::Select_ALL_Pressed()
{
    QList<RowListModel::Row> rows = ListData_xl->ListData();
    for (RowListModel::Row &r : rows)
        r.insert(kState, QStringLiteral("1"));
    ListData_xl->setListData(rows);
}

void ImportExcelBase::Clear_All_Pressed()
{
    QList<RowListModel::Row> rows = ListData_xl->ListData();
    for (RowListModel::Row &r : rows)
        r.insert(kState, QStringLiteral("0"));
    ListData_xl->setListData(rows);
}

void ImportExcelBase::OKPressed()
{
    if (ListData_xl->count() == 0) {
        Show_MessageBox(QStringLiteral("There is no column."));
        return;
    }
    if (!Check_For_One_Extension_Selection()) {
        Show_MessageBox(QStringLiteral("No column is selected."));
        return;
    }
    const QString path = Trim_Str(file_path->text());
    if (!settleChangedWorkbook(path))
        return;
    // Listed again, a ticked column may have gone from the file.
    if (!Check_For_One_Extension_Selection()) {
        Show_MessageBox(QStringLiteral("No column is selected."));
        return;
    }
    if (!takeColumns(path))
        return;
    // Columns bound to the design are taken either way (the check before output names the cards
    // they reach); the user learns which cells will give no true value.
    const QString uncomputed = ColumnBinding::uncomputedNote(excel_content.rows, tickedColumns());
    if (!uncomputed.isEmpty())
        Show_MessageBox(uncomputed);
    excel_content = XlsxRows();
    done(1);
}

QString ImportExcelBase::changedQuestion(const QString &path)
{
    return QStringLiteral("%1 has changed since its columns were listed.\n\nDo you want to load it again "
                          "(the ticked columns follow their titles) and take the columns from it as it is "
                          "now?")
        .arg(QFileInfo(path).fileName());
}

QStringList ImportExcelBase::changedAnswers()
{
    return {QStringLiteral("&Load Again"), QStringLiteral("Cancel")};
}

bool ImportExcelBase::settleChangedWorkbook(const QString &path)
{
    // The dialog's reader holds the file as it was opened: a file changed since would be read
    // from stale places, or its columns taken by positions that now hold others.
    WorkbookFacts::Change change;
    {
        PleaseWaitSheet wait(this);
        change = m_listed.check(path);
    }
    if (change != WorkbookFacts::Change::Changed)
        return true;
    if (MessageService::deliverChoice(changedQuestion(path), changedAnswers(), 0, 1).value_or(1) != 0)
        return false;
    return listAgain(path);
}

bool ImportExcelBase::listAgain(const QString &path)
{
    const QString sheet = Sheet_ComboBox->currentText();
    // What was chosen for each column, by its title; titles met twice in turn.
    QHash<QString, QList<RowListModel::Row>> chosen;
    for (const RowListModel::Row &r : ListData_xl->ListData())
        chosen[r.value(kExtension)].append(r);
    Sheet_ComboBox->clear();
    ListData_xl->clear();
    SpreadsheetWriter::shared().reader().close();
    Load_file_Func(path);
    if (Sheet_ComboBox->count() == 0)
        return false; // the file could not be read again, and the user was told why
    const int position = Sheet_ComboBox->findText(sheet);
    if (position < 0) {
        Show_MessageBox(QStringLiteral("%1 no longer has the sheet \"%2\": its sheets are listed as they are "
                                       "now.")
                            .arg(QFileInfo(path).fileName(), sheet));
        return false;
    }
    if (position != Sheet_ComboBox->currentIndex()) {
        Sheet_ComboBox->setCurrentIndex(position);
        sheetChosen(position);
    }
    QList<RowListModel::Row> rows = ListData_xl->ListData();
    for (RowListModel::Row &r : rows) {
        QList<RowListModel::Row> &same = chosen[r.value(kExtension)];
        if (!same.isEmpty())
            r = same.takeFirst();
    }
    ListData_xl->setListData(rows);
    return true;
}

void ImportExcelBase::CancelPressed()
{
    excel_content = XlsxRows();
    done(0);
}

bool ImportExcelBase::readRows(const QString &path, const QString &emptyMessage, WorkbookFacts *facts)
{
    {
        PleaseWaitSheet wait(this);
        if (facts) {
            *facts = WorkbookFacts::take(path);
            // The workbook opened with the dialog may have been replaced since: the rows must be
            // those of the file the facts describe.
            SpreadsheetWriter::shared().reader().close();
        }
        excel_content = SpreadsheetWriter::ReadWorkbook(path, false);
    }
    if (!excel_content.ok) {
        Show_MessageBox(excel_content.message.isEmpty() ? XlsxReader::corruptMessage()
                                                        : excel_content.message);
        return false;
    }
    if (excel_content.rows.isEmpty()) {
        Show_MessageBox(emptyMessage);
        return false;
    }
    return true;
}

QList<int> ImportExcelBase::tickedColumns() const
{
    const int width = std::min(excel_content.rows.columnCount(), int(ListData_xl->count()));
    QList<int> ticked;
    for (int j = 0; j < width; ++j) {
        if (ListData_xl->isChecked(j))
            ticked.append(j);
    }
    return ticked;
}

bool ImportExcelBase::refusesUncomputed() const
{
    const QString uncomputed = ColumnBinding::uncomputedNote(excel_content.rows, tickedColumns());
    if (uncomputed.isEmpty())
        return false;
    Show_MessageBox(uncomputed + QStringLiteral("\nNothing was imported."));
    return true;
}

int ImportExcelBase::firstDataRow() const
{
    return contains_header->isChecked() ? 1 : 0;
}
