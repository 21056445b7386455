#include "data/ui/BatchWizard.h"

#include "data/SeriesEditing.h"

#include "data/SeriesValueModel.h"
#include "data/ui/Generate_List.h"
#include "data/ui/Import_Wizard.h"
#include "data/ui/Load_Num_Info.h"
#include "data/ui/Update_Ex_Num.h"
#include "foundation/DataRoot.h"
#include "foundation/DialogTiming.h"
#include "foundation/FileUtils.h"
#include "foundation/MessageBoxes.h"
#include "foundation/RowListModel.h"
#include "foundation/StringUtils.h"
#include "foundation/WindowRegistry.h"
#include "foundation/ui/FilePanels.h"
#include "foundation/ui/Long_SMS_Dlg.h"
#include "foundation/ui/ModalRunner.h"
#include "foundation/ui/PleaseWaitSheet.h"
#include "foundation/ui/PleaseWait_Modeless.h"
#include "foundation/ui/WindowLook.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QThread>
#include <QVBoxLayout>

namespace
{
const QString NameKey = QStringLiteral("Extension");

QTableView *makeTable(QAbstractItemModel *model, const QString &name, QWidget *parent)
{
    auto *table = new QTableView(parent);
    table->setObjectName(name);
    table->setModel(model);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->horizontalHeader()->setStretchLastSection(true);
    table->verticalHeader()->hide();
    return table;
}

QPushButton *addButton(QLayout *layout, const QString &title, const QString &name, QWidget *parent)
{
    auto *b = new QPushButton(title, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    layout->addWidget(b);
    return b;
}
} // namespace

BatchWizard::BatchWizard(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("BatchWizard"));
    setWindowTitle(QStringLiteral("Batch Processing Series"));
    WindowLook::applyBackground(this);
    ListData = new RowListModel({NameKey}, {QStringLiteral("Available Series")}, this);
    ListData_value = new SeriesValueModel(QStringLiteral("Values"), this);
    Load_Number_Window = new Load_Num_Info(this);
    Update_Value_Wnd = new Update_Ex_Num(this, this);
    buildLayout();
}

BatchWizard::~BatchWizard() = default;

void BatchWizard::buildLayout()
{
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(makeSeriesListBox());
    layout->addWidget(makeSeriesButtons());
    layout->addWidget(makeValueListBox());
    layout->addWidget(makeValueButtons());
    resize(620, 440);
    connectControls();
}

// The first screen: the series of the folder and their count.
QWidget *BatchWizard::makeSeriesListBox()
{
    avl_list_box = new QWidget(this);
    avl_list_box->setObjectName(QStringLiteral("avl_list_box"));
    auto *first = new QVBoxLayout(avl_list_box);
    first->setContentsMargins(0, 0, 0, 0);
    List = makeTable(ListData, QStringLiteral("List"), avl_list_box);
    batch_list_count = new QLabel(avl_list_box);
    batch_list_count->setObjectName(QStringLiteral("batch_list_count"));
    first->addWidget(List);
    first->addWidget(batch_list_count);
    return avl_list_box;
}

QWidget *BatchWizard::makeSeriesButtons()
{
    btn_box1 = new QWidget(this);
    btn_box1->setObjectName(QStringLiteral("btn_box1"));
    auto *row1 = new QHBoxLayout(btn_box1);
    row1->setContentsMargins(0, 0, 0, 0);
    addnew_button = addButton(row1, QStringLiteral("Add New"), QStringLiteral("addnew_button"), btn_box1);
    update_button = addButton(row1, QStringLiteral("Update"), QStringLiteral("update_button"), btn_box1);
    delete_list_button =
        addButton(row1, QStringLiteral("Delete"), QStringLiteral("delete_list_button"), btn_box1);
    import_button = addButton(row1, QStringLiteral("Import..."), QStringLiteral("import_button"), btn_box1);
    create_series_button =
        addButton(row1, QStringLiteral("Generate..."), QStringLiteral("create_series_button"), btn_box1);
    row1->addStretch();
    help_button = addButton(row1, QStringLiteral("Help"), QStringLiteral("help_button"), btn_box1);
    close_button = addButton(row1, QStringLiteral("Close"), QStringLiteral("close_button"), btn_box1);
    return btn_box1;
}

// The second screen: one series' name, values and count.
QWidget *BatchWizard::makeValueListBox()
{
    list_value_box = new QWidget(this);
    list_value_box->setObjectName(QStringLiteral("list_value_box"));
    auto *second = new QVBoxLayout(list_value_box);
    second->setContentsMargins(0, 0, 0, 0);
    auto *nameRow = new QHBoxLayout;
    nameRow->addWidget(new QLabel(QStringLiteral("Series name:"), list_value_box));
    batch_list_name = new QLineEdit(list_value_box);
    batch_list_name->setObjectName(QStringLiteral("batch_list_name"));
    nameRow->addWidget(batch_list_name);
    second->addLayout(nameRow);
    List_value = makeTable(ListData_value, QStringLiteral("List_value"), list_value_box);
    second->addWidget(List_value);
    batch_value_count = new QLabel(list_value_box);
    batch_value_count->setObjectName(QStringLiteral("batch_value_count"));
    second->addWidget(batch_value_count);
    return list_value_box;
}

QWidget *BatchWizard::makeValueButtons()
{
    btn_box2 = new QWidget(this);
    btn_box2->setObjectName(QStringLiteral("btn_box2"));
    auto *row2 = new QHBoxLayout(btn_box2);
    row2->setContentsMargins(0, 0, 0, 0);
    import_value_button =
        addButton(row2, QStringLiteral("Import..."), QStringLiteral("import_value_button"), btn_box2);
    series_value_button =
        addButton(row2, QStringLiteral("Generate..."), QStringLiteral("series_value_button"), btn_box2);
    delete_rows_button =
        addButton(row2, QStringLiteral("Remove"), QStringLiteral("delete_rows_button"), btn_box2);
    export_button = addButton(row2, QStringLiteral("Export"), QStringLiteral("export_button"), btn_box2);
    Save_Ext_ComboBox = new QComboBox(btn_box2);
    Save_Ext_ComboBox->setObjectName(QStringLiteral("Save_Ext_ComboBox"));
    Save_Ext_ComboBox->addItems({QStringLiteral("xlsx"), QStringLiteral("txt")});
    row2->addWidget(Save_Ext_ComboBox);
    row2->addStretch();
    save_button = addButton(row2, QStringLiteral("Save"), QStringLiteral("save_button"), btn_box2);
    back_button = addButton(row2, QStringLiteral("Back"), QStringLiteral("back_button"), btn_box2);
    help_2_button = addButton(row2, QStringLiteral("Help"), QStringLiteral("help_2_button"), btn_box2);
    close_2_button = addButton(row2, QStringLiteral("Close"), QStringLiteral("close_2_button"), btn_box2);
    return btn_box2;
}

void BatchWizard::connectControls()
{
    connect(addnew_button, &QPushButton::clicked, this, &BatchWizard::AddNew_Btn_Clicked);
    connect(update_button, &QPushButton::clicked, this, &BatchWizard::Update_Btn_Clicked);
    connect(delete_list_button, &QPushButton::clicked, this, &BatchWizard::Delete_List_Btn_Clicked);
    connect(import_button, &QPushButton::clicked, this, &BatchWizard::Import_Btn_Clicked);
    connect(create_series_button, &QPushButton::clicked, this, &BatchWizard::CreateSeries_Btn_Clicked);
    connect(import_value_button, &QPushButton::clicked, this, &BatchWizard::Import_Value_Btn_Clicked);
    connect(series_value_button, &QPushButton::clicked, this, &BatchWizard::Series_Value_Btn_Clicked);
    connect(delete_rows_button, &QPushButton::clicked, this, &BatchWizard::Delete_Rows_Btn_Clicked);
    connect(export_button, &QPushButton::clicked, this, &BatchWizard::Export_Value_Btn_Clicked);
    connect(save_button, &QPushButton::clicked, this, &BatchWizard::Save_Btn_Clicked);
    connect(back_button, &QPushButton::clicked, this, &BatchWizard::Back_Btn_Clicked);
    for (QPushButton *help : {help_button, help_2_button})
        connect(help, &QPushButton::clicked, this, [] { Open_Help_File(); });
    connect(close_button, &QPushButton::clicked, this, [this] { done(0); });
    connect(close_2_button, &QPushButton::clicked, this, &BatchWizard::Close_2_Btn_Clicked);
    connect(batch_list_name, &QLineEdit::textEdited, this, [this] { m_changed = true; });
    // An edited value is a change; loading a list resets the model instead.
    connect(ListData_value, &SeriesValueModel::dataChanged, this, [this] { m_changed = true; });
    connect(List, &QTableView::doubleClicked, this, [this] { doubleClickInTable(List); });
    connect(List_value, &QTableView::doubleClicked, this, [this] { doubleClickInTable(List_value); });
}

int BatchWizard::Open_Wnd()
{
    Check_Path_And_Create_Files();
    showFirstScreen(true);
    showLastScreen(false);
    Fill_List();
    if (DialogTiming::openWaitMs() > 0)
        QThread::msleep(DialogTiming::openWaitMs());
    const int result = ModalRunner::exec(*this);
    hide();
    return result;
}

bool BatchWizard::firstScreenShown() const
{
    return !avl_list_box->isHidden();
}

void BatchWizard::showFirstScreen(bool show)
{
    avl_list_box->setHidden(!show);
    btn_box1->setHidden(!show);
    if (show)
        update_list_name.clear();
}

void BatchWizard::showLastScreen(bool show)
{
    list_value_box->setHidden(!show);
    btn_box2->setHidden(!show);
}

void BatchWizard::Fill_List()
{
    ListData->clear();
    for (const QString &name : SeriesFiles::Get_datasheet_File_Name_Array(Data_Folder_Path))
        ListData->Create_List(name);
    Update_batch_List_Count();
}

void BatchWizard::Create_Value_List(const QString &text)
{
    addValues({text});
}

void BatchWizard::addValues(QStringList values)
{
    // Trimmed in place, so a long list is not held twice.
    qsizetype kept = 0;
    for (qsizetype i = 0; i < values.size(); ++i) {
        QString value = Trim_Str(values.at(i));
        if (!value.isEmpty())
            values[kept++] = std::move(value);
    }
    values.resize(kept);
    if (values.isEmpty())
        return;
    takeReplaceAnswer();
    // One insertion for the whole list: a row at a time would update the table for every value.
    ListData_value->append(std::move(values));
    m_changed = true;
    Update_Value_List_Count();
}

void BatchWizard::takeReplaceAnswer()
{
    if (!m_replaceOnFirstValue)
        return;
    m_replaceOnFirstValue = false;
    ListData_value->clear();
}

QStringList BatchWizard::values() const
{
    return ListData_value->values();
}

void BatchWizard::Update_batch_List_Count()
{
    batch_list_count->setText(QStringLiteral("Total List : %1").arg(ListData->count()));
}

void BatchWizard::Update_Value_List_Count()
{
    batch_value_count->setText(QStringLiteral("Total Rows : %1").arg(ListData_value->count()));
}

int BatchWizard::currentRow(QTableView *table) const
{
    const QModelIndex current = table->selectionModel()->currentIndex();
    if (current.isValid() && table->selectionModel()->isRowSelected(current.row(), QModelIndex()))
        return current.row();
    const QList<int> rows = selectedRows(table);
    return rows.isEmpty() ? -1 : rows.last();
}

QList<int> BatchWizard::selectedRows(QTableView *table) const
{
    QList<int> rows;
    for (const QModelIndex &index : table->selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

void BatchWizard::selectOnly(QTableView *table, int row)
{
    table->clearSelection();
    table->selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    if (row < 0 || row >= table->model()->rowCount())
        return;
    table->selectionModel()->setCurrentIndex(table->model()->index(row, 0),
                                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

bool BatchWizard::Batch_List_Selection_Validation()
{
    if (ListData->count() == 0) {
        Show_MessageBox(SeriesFiles::MsgAvailableListEmpty);
        return false;
    }
    const int row = currentRow(List);
    if (row < 0 || Trim_Str(ListData->objectValue(NameKey, row)).isEmpty()) {
        Show_MessageBox(SeriesFiles::MsgSelectRecord);
        List->setFocus();
        return false;
    }
    return true;
}

void BatchWizard::AddNew_Btn_Clicked()
{
    showFirstScreen(false);
    showLastScreen(true);
    batch_list_name->setText(QStringLiteral("Untitled"));
    ListData_value->clear();
    Update_Value_List_Count();
    m_changed = false;
}

void BatchWizard::Update_Btn_Clicked()
{
    On_Update();
}

void BatchWizard::On_Update()
{
    if (!Batch_List_Selection_Validation())
        return;
    const QString name = Trim_Str(ListData->objectValue(NameKey, currentRow(List)));
    const QString path = SeriesFiles::safePath(Data_Folder_Path, name);
    QFile probe(path);
    if (path.isEmpty() || !probe.open(QIODevice::ReadWrite | QIODevice::ExistingOnly)) {
        Show_MessageBox(path.isEmpty()
                            ? SeriesFiles::MsgFileAccess
                            : SeriesFiles::MsgFileAccess +
                                  QStringLiteral("\n\nThe file \"%1\" could not be opened for writing: %2.")
                                      .arg(QDir::toNativeSeparators(path), probe.errorString()));
        return;
    }
    probe.close();
    showFirstScreen(false);
    showLastScreen(true);
    batch_list_name->setText(name);
    update_list_name = name;
    m_editing = std::make_unique<SeriesEditing>(Data_Folder_Path, name);
    ListData_value->clear();
    Update_Value_List_Count();
    QString message;
    QString warning;
    std::optional<QStringList> read;
    {
        PleaseWaitSheet wait(this);
        read = SeriesFiles::readValues(Data_Folder_Path, name, &message, &warning);
        ListData_value->setValues(read.value_or(QStringList()));
        Update_Value_List_Count();
    }
    m_changed = false;
    if (!read && !message.isEmpty())
        Show_MessageBox(message);
    else if (!warning.isEmpty())
        Show_MessageBox(warning);
    if (!m_editing->lockProblem().isEmpty())
        Show_MessageBox(cannotHoldMessage(name, *m_editing));
}

QString BatchWizard::cannotHoldMessage(const QString &name, const SeriesEditing &editing)
{
    const QString lock = QDir::toNativeSeparators(editing.lockFile());
    QString why;
    if (editing.holdsLock())
        why = QStringLiteral("Other instances of the program are still told it is open here, but "
                             "saving it in that folder may fail for the same reason.");
    else if (editing.heldByThisInstance())
        why = QStringLiteral("This instance of the program already holds it (\"%1\") for the design "
                             "it has open, so other instances are told it is open here.")
                  .arg(lock);
    else
        why = QStringLiteral("Another instance of the program has it open (\"%1\"): it cannot be saved "
                             "here until that instance lets it go.")
                  .arg(lock);
    return QStringLiteral(
               "The Batch Processing Series \"%1\" cannot be held for editing in its folder. %2\n\n")
               .arg(name, editing.lockProblem()) +
           why;
}

QString BatchWizard::firstInUse(const QString &current, const QStringList &names) const
{
    // As a delete meets them: the current series first, then the selection in order.
    for (const QString &name : QStringList{current} + names)
        if (inUse(name))
            return name;
    return current;
}

QString BatchWizard::inUseText(const QString &name, const QString &refusal) const
{
    const QString file = QDir::toNativeSeparators(SeriesFiles::safePath(Data_Folder_Path, name));
    if (m_inUse && m_inUse(name))
        return refusal + QStringLiteral("\n\nThe design open in this window reads \"%1\".").arg(file);
    const QString lock = SeriesEditing::lockHeldElsewhere(Data_Folder_Path, name);
    if (!lock.isEmpty())
        return refusal + QStringLiteral("\n\nAnother instance of the program has \"%1\" open (\"%2\").")
                             .arg(file, QDir::toNativeSeparators(lock));
    return refusal;
}

void BatchWizard::Delete_List_Btn_Clicked()
{
    if (!Batch_List_Selection_Validation())
        return;
    const int current = currentRow(List);
    const QList<int> rows = selectedRows(List);
    QStringList names;
    for (int row : rows)
        names << Trim_Str(ListData->objectValue(NameKey, row));
    QStringList deleted;
    const SeriesResult result = SeriesFiles::Delete(
        Data_Folder_Path, names, Trim_Str(ListData->objectValue(NameKey, current)), inUseTest(),
        [](const QString &q) { return Show_YES_NO_MessageBox(q); }, Long_SMS_Dlg::applyToAllTicked(),
        &deleted);
    if (result.cancelled())
        return;
    if (!result.ok()) {
        if (result.message == SeriesFiles::MsgCantDeleteInUse)
            Show_MessageBox(inUseText(firstInUse(Trim_Str(ListData->objectValue(NameKey, current)), names),
                                      result.message));
        else if (!result.message.isEmpty())
            Show_MessageBox(result.message);
        // A series in use keeps the list as it is; a file that would not go is shown as it stands.
        if (!result.message.isEmpty() && result.message != SeriesFiles::MsgCantDeleteInUse)
            Fill_List();
        return;
    }
    QList<RowListModel::Row> kept;
    for (int i = 0; i < ListData->count(); ++i)
        if (!rows.contains(i))
            kept.append(ListData->ListData().at(i));
    ListData->setListData(kept);
    selectOnly(List, current - 1);
    Update_batch_List_Count();
}

bool BatchWizard::askBeforeAdding()
{
    m_replaceOnFirstValue = false;
    if (ListData_value->count() == 0)
        return true;
    const int answer = Load_Num_Info::Answer(Load_Number_Window->ask());
    // Yes replaces the values only once new ones arrive: a window closed without any keeps them.
    m_replaceOnFirstValue = answer == Load_Num_Info::Yes;
    return answer != Load_Num_Info::Cancel;
}

Generate_List *BatchWizard::generator(QWidget *over)
{
    if (!m_generator)
        m_generator = new Generate_List(this, this);
    WindowLook::keepOver(m_generator, over ? over : this);
    return m_generator;
}

void BatchWizard::CreateSeries_Btn_Clicked()
{
    Generate_List *g = generator();
    g->file_name_required = 1;
    g->file_name_Insert = 1;
    g->Open_Wnd();
}

void BatchWizard::Series_Value_Btn_Clicked()
{
    if (!askBeforeAdding())
        return;
    Generate_List *g = generator();
    g->file_name_required = 0;
    g->file_name_Insert = 1;
    g->Open_Wnd();
    m_replaceOnFirstValue = false;
}

void BatchWizard::Delete_Rows_Btn_Clicked()
{
    if (ListData_value->count() == 0) {
        Show_MessageBox(SeriesFiles::MsgListEmpty);
        List_value->setFocus();
        return;
    }
    const int current = currentRow(List_value);
    if (current < 0) {
        Show_MessageBox(QStringLiteral("Please select at least one record from the list to continue."));
        List_value->setFocus();
        return;
    }
    ListData_value->removeRowsAt(selectedRows(List_value));
    m_changed = true;
    selectOnly(List_value, current - 1);
    Update_Value_List_Count();
}

void BatchWizard::Export_Value_Btn_Clicked()
{
    const bool asXlsx = Save_Ext_ComboBox->currentText() == QStringLiteral("xlsx");
    if (const QString problem = SeriesFiles::exportProblem(ListData_value->count(), asXlsx);
        !problem.isEmpty()) {
        Show_MessageBox(problem);
        List_value->setFocus();
        return;
    }
    const QString suffix = asXlsx ? QStringLiteral("xlsx") : QStringLiteral("txt");
    const std::optional<QString> chosen =
        FilePanels::instance().saveFile(this, QStringLiteral("Export Series"), suffix,
                                        Trim_Str(batch_list_name->text()) + QLatin1Char('.') + suffix);
    if (!chosen)
        return;
    const QString path = SeriesFiles::exportPath(*chosen, asXlsx);
    SeriesResult result;
    {
        PleaseWaitSheet wait(this);
        QFile::remove(path);
        result = SeriesFiles::Export(values(), path, asXlsx);
    }
    raise();
    if (!result.ok()) {
        Show_MessageBox(result.message.isEmpty() ? SeriesFiles::MsgFileAccess : result.message);
        return;
    }
    if (m_registry)
        m_registry->showExportedFiles(path, SeriesFiles::MsgExported);
}

SeriesInUseTest seriesInUseTest(const BatchWizard *manager)
{
    if (manager)
        return manager->inUseTest();
    return [](const QString &name) { return SeriesEditing::lockedElsewhere(Data_Folder_Path, name); };
}

SeriesInUseTest BatchWizard::inUseTest() const
{
    return [design = m_inUse](const QString &name) {
        return (design && design(name)) || SeriesEditing::lockedElsewhere(Data_Folder_Path, name);
    };
}

bool BatchWizard::mayWriteOver() const
{
    // Refused below when another instance has it open; asked here when one wrote it and let go.
    if (!m_editing || update_list_name.isEmpty() || inUse(update_list_name) ||
        !m_editing->changedSinceOpened())
        return true;
    return Ask_YES_NO_Keeping(
        QStringLiteral("The Batch Processing Series \"%1\" was changed by another program after it was "
                       "opened here. Do you want to replace it with these values?")
            .arg(update_list_name));
}

void BatchWizard::Save_Btn_Clicked()
{
    saveSeries();
}

bool BatchWizard::saveSeries()
{
    if (ListData_value->count() == 0) {
        Show_MessageBox(SeriesFiles::MsgListEmpty);
        List_value->setFocus();
        return false;
    }
    const QString name = batch_list_name->text();
    if (const QString bad = SeriesFiles::checkName(name); !bad.isEmpty()) {
        Show_MessageBox(bad);
        batch_list_name->setFocus();
        return false;
    }
    if (!mayWriteOver())
        return false;
    SeriesResult result;
    {
        PleaseWaitSheet wait(this);
        result = SeriesFiles::Save(Data_Folder_Path, name, update_list_name, values(), inUseTest(),
                                   [](const QString &q) { return Ask_YES_NO_Keeping(q); });
    }
    if (result.cancelled())
        return false;
    if (!result.ok()) {
        if (result.message == SeriesFiles::MsgCantUpdateInUse)
            Show_MessageBox(inUseText(update_list_name.isEmpty() ? name : update_list_name, result.message));
        else
            Show_MessageBox(result.message.isEmpty() ? SeriesFiles::MsgFileAccess : result.message);
        return false;
    }
    raise();
    leaveValues();
    Fill_List();
    return true;
}

void BatchWizard::Back_Btn_Clicked()
{
    if (settleUnsavedChanges())
        leaveValues();
}

void BatchWizard::Close_2_Btn_Clicked()
{
    if (!settleUnsavedChanges())
        return;
    leaveValues();
    done(0);
}

void BatchWizard::reject()
{
    // Escape and the title bar's close button end the manager like Close.
    if (!settleUnsavedChanges())
        return;
    leaveValues();
    QDialog::reject();
}

bool BatchWizard::settleUnsavedChanges()
{
    if (firstScreenShown() || !m_changed)
        return true;
    const QString question =
        QStringLiteral("Do you want to save the changes made to the Batch Processing Series \"%1\"?")
            .arg(Trim_Str(batch_list_name->text()));
    return ::settleUnsavedChanges(question, [this] { return saveSeries(); });
}

// Back to the list of series; the values screen's list is let go.
void BatchWizard::leaveValues()
{
    m_editing.reset();
    showLastScreen(false);
    showFirstScreen(true);
    m_changed = false;
    ListData_value->clear();
    Update_Value_List_Count();
}

void BatchWizard::doubleClickInTable(QTableView *table)
{
    const int current = currentRow(table);
    if (current < 0)
        return;
    if (selectedRows(table).size() > 1) {
        Show_MessageBox(QStringLiteral("Please select only one record to update."));
        return;
    }
    if (table == List)
        On_Update();
    else if (table == List_value)
        OnGetSelected();
}

void BatchWizard::OnGetSelected()
{
    if (ListData_value->count() == 0)
        return;
    const int row = currentRow(List_value);
    Update_Value_Wnd->Open_Wnd(row, Trim_Str(ListData_value->value(row)));
}

Import_Wizard *BatchWizard::importWizard(QWidget *over)
{
    if (!m_importWizard)
        m_importWizard = new Import_Wizard(this, this);
    WindowLook::keepOver(m_importWizard, over ? over : this);
    return m_importWizard;
}

void BatchWizard::Import_Btn_Clicked()
{
    Import_Wizard *w = importWizard();
    w->file_name_required = 1;
    w->file_name_Insert = 1;
    w->Open_Wnd();
}

void BatchWizard::Import_Value_Btn_Clicked()
{
    if (!askBeforeAdding())
        return;
    Import_Wizard *w = importWizard();
    w->file_name_required = 0;
    w->file_name_Insert = 1;
    w->Open_Wnd();
    m_replaceOnFirstValue = false;
}
