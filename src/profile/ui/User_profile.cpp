#include "profile/ui/User_profile.h"

#include "canvas/SKTRenderingView.h"
#include "canvas/ui/SKTGraphicView.h"
#include "data/ColumnBinding.h"
#include "data/DataSourceChoices.h"
#include "data/ExcelBindingTable.h"
#include "foundation/CardCodes.h"
#include "foundation/DataRoot.h"
#include "foundation/FileUtils.h"
#include "foundation/MessageBoxes.h"
#include "foundation/StringUtils.h"
#include "foundation/WindowRegistry.h"
#include "foundation/ui/ComboItems.h"
#include "foundation/ui/FilePanels.h"
#include "foundation/ui/ModalRunner.h"
#include "foundation/ui/WindowLook.h"
#include "model/Card_Property.h"
#include "model/ModelGlobals.h"
#include "model/SKTDocument.h"
#include "platform/MessageService.h"
#include "platform/PictureReader.h"
#include "profile/User_Profile_Class.h"
#include "profile/ui/ProfileHost.h"
#include "profile/ui/UserProfileCommands.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>

#include <algorithm>
#include <exception>

namespace
{
User_profile::WorkbookImport &workbookImport()
{
    static User_profile::WorkbookImport import;
    return import;
}

// Selects an item without the widget's own signals; the caller runs the dialog's step itself.
void selectSilently(QComboBox *list, int index)
{
    const QSignalBlocker block(list);
    list->setCurrentIndex(index);
}

} // namespace

void User_profile::writeBinding(const std::function<void(ExcelBindingTable &)> &write)
{
    // The dialog's working writes stay its own until OK puts them into the design.
    if (m_working)
        write(*m_working);
}

const ExcelBindingTable &User_profile::binding() const
{
    return m_working ? *m_working : m_host.document().design().binding;
}

void User_profile::setWorkbookImport(WorkbookImport import)
{
    workbookImport() = std::move(import);
}

User_profile::User_profile(ProfileHost &host, QWidget *parent) : User_profile(host, parent, false) {}

User_profile::User_profile(ProfileHost &host, QWidget *parent, bool editorTime)
    : QDialog(parent), m_host(host)
{
    setObjectName(editorTime ? QStringLiteral("Show_User_Profile") : QStringLiteral("User_profile"));
    setWindowTitle(QStringLiteral("User Profile Information"));
    WindowLook::applyBackground(this);
    buildLayout(editorTime);
    connectControls();
    Reset_all_Ctrl();
}

void User_profile::connectControls()
{
    connect(ok_button, &QPushButton::clicked, this, &User_profile::OK_Btn_Clicked);
    connect(cancel_button, &QPushButton::clicked, this, &User_profile::Cancel_Btn_Clicked);
    connect(reset_button, &QPushButton::clicked, this, &User_profile::Reset_Btn_Clicked);
    connect(help_button, &QPushButton::clicked, this, &User_profile::Help_Btn_Clicked);
    connect(preview_button, &QPushButton::clicked, this, &User_profile::Preview_Btn_Clicked);
    connect(browse_excel_button, &QPushButton::clicked, this, &User_profile::Browse_excel_Btn_Clicked);
    connect(view_excel_button, &QPushButton::clicked, this, &User_profile::View_Excel_Btn_Clicked);
    connect(batch_series_button, &QPushButton::clicked, this, &User_profile::Batch_Series_Btn_Clicked);
    connect(browse_pic_btn, &QPushButton::clicked, this, &User_profile::Browse_image_Btn_Clicked);
    connect(clear_pic_btn, &QPushButton::clicked, this, &User_profile::Clear_image_Btn_Clicked);
    using Action = void (User_profile::*)();
    const std::array<Action, FieldCount> views = {
        &User_profile::View_Name_Series_Btn_Clicked,         &User_profile::View_Title_Series_Btn_Clicked,
        &User_profile::View_Company_Name_Series_Btn_Clicked, &User_profile::View_Slogan_Series_Btn_Clicked,
        &User_profile::View_Address_Series_Btn_Clicked,      &User_profile::View_Phone_Series_Btn_Clicked,
        &User_profile::View_Fax_Series_Btn_Clicked,          &User_profile::View_Email_Series_Btn_Clicked,
        &User_profile::View_Website_Series_Btn_Clicked,      &User_profile::View_Unique_Series_Btn_Clicked,
        &User_profile::View_Image_Series_Btn_Clicked};
    for (int f = 0; f < FieldCount; ++f) {
        connect(m_view[size_t(f)], &QPushButton::clicked, this, views[size_t(f)]);
        QComboBox *source = m_source[size_t(f)];
        QComboBox *series = m_series[size_t(f)];
        connect(source, &QComboBox::activated, this, [this, source] { comboBoxSelectionDidChange(source); });
        connect(series, &QComboBox::activated, this, [this, series] { comboBoxSelectionDidChange(series); });
    }
}

// --- opening ---

int User_profile::Open_Wnd(qint8 flag)
{
    keepOpeningState();
    // "Excel" is offered here as in every other source list: while the binding table has rows,
    // also those of a design just opened.
    if (binding().rowCount() > 0)
        Add_Excel_in_Data_Source_Combo();
    else if (!binding().Excel_Binding_Use)
        Remove_Excel_in_Data_Source_Combo();
    if (flag != 0) {
        Reset_all_Ctrl();
        excel_path_field->setText(binding().Excel_Source_Path);
        SKTDocument &doc = m_host.document();
        if (m_host.Card_Front_Or_Back() == 1) {
            setWindowTitle(QStringLiteral("Back Side User Profile Information"));
            Graphics_array = doc.graphics_back();
        } else {
            setWindowTitle(QStringLiteral("Front Side User Profile Information"));
            Graphics_array = doc.graphics();
        }
        Create_and_Set_template_picture();
        loadFromSide();
    } else {
        setWindowTitle(QStringLiteral("User Profile Information"));
        Reset_all_Ctrl();
    }
    showRowsLoaded();
    name_value->setFocus();
    const int result = ModalRunner::exec(*this);
    hide();
    endSession();
    return result;
}

void User_profile::loadFromSide()
{
    for (const GraphicPtr &g : std::as_const(Graphics_array)) {
        if (!g || (g->kind() != SKTGraphic::Kind::Text && g->kind() != SKTGraphic::Kind::Image))
            continue;
        const QString id = Trim_Str(g->control_ID.value_or(QString()));
        if (id.isEmpty() || !g->ctrl_is_visible)
            continue;
        const int f = User_Profile_Class::indexOfId(id);
        if (f < 0)
            continue;
        if (f == Photo) {
            // A picture object keeps its photo as its file path, not as its text.
            Set_User_Image(g->FilePath());
        } else {
            m_value[size_t(f)]->setText(g->Text_Value.value_or(QString()));
            valueLoaded(f);
        }
        QComboBox *source = m_source[size_t(f)];
        int type = g->data_source_type;
        // A column-bound object on a design that binds a workbook offers "Excel" even before an
        // import in this dialog; anything the list cannot show falls back to a typed value.
        if (type == DataSourceCode::BindingColumn && source->count() < 3 &&
            (binding().Excel_Binding_Use || binding().rowCount() > 0))
            Add_Excel_in_Data_Source_Combo();
        if (type < 0 || type >= source->count())
            type = DataSourceCode::Fixed;
        selectSilently(source, type);
        comboBoxSelectionDidChange(source);
        if (type == DataSourceCode::BindingColumn) {
            showColumn(f, ColumnBinding::resolve(binding(), g->excel_col_indx, g->excel_col_title),
                       g->excel_col_title.value_or(QString()), g->excel_col_indx, shownValue(f));
        } else if (type == DataSourceCode::Series) {
            QComboBox *series = m_series[size_t(f)];
            if (g->batch_list_index >= 0 && g->batch_list_index < series->count()) {
                selectSilently(series, g->batch_list_index);
                comboBoxSelectionDidChange(series);
            }
        }
    }
}

// --- the lists ---

int User_profile::fieldOfList(QComboBox *list, bool *isSource) const
{
    for (int f = 0; f < FieldCount; ++f) {
        if (m_source[size_t(f)] == list) {
            *isSource = true;
            return f;
        }
    }
    for (int f = 0; f < FieldCount; ++f) {
        if (m_series[size_t(f)] == list) {
            *isSource = false;
            return f;
        }
    }
    return -1;
}

void User_profile::comboBoxSelectionDidChange(QComboBox *list)
{
    bool isSource = false;
    const int f = fieldOfList(list, &isSource);
    if (f < 0)
        return;
    try {
        if (isSource)
            sourceStep(f);
        else
            pickStep(f);
    } catch (const std::exception &e) {
        Show_NSLog_Message(QString::fromLocal8Bit(e.what()));
    }
}

QString User_profile::shownValue(int f) const
{
    return f == Photo ? image_path_val->text() : m_value[size_t(f)]->text();
}

void User_profile::showColumn(int f, int column, const QString &heading, qint32 before, const QString &value)
{
    QComboBox *series = m_series[size_t(f)];
    if (column != ColumnBinding::Missing && column < series->count()) {
        selectSilently(series, column);
        comboBoxSelectionDidChange(series);
        return;
    }
    // The old workbook's value would be taken for the new one's: nothing is shown instead. The
    // binding as it was is kept aside, should the user keep it.
    m_missingValue[size_t(f)] = value;
    m_missingIndex[size_t(f)] = before;
    m_missingHeading[size_t(f)] = heading;
    ComboItems::showColumnQuietly(series, ColumnBinding::Missing, heading);
    if (f == Photo)
        Set_User_Image(QString());
    else
        m_value[size_t(f)]->clear();
}

void User_profile::followHeadings()
{
    for (int f = 0; f < FieldCount; ++f) {
        if (m_source[size_t(f)]->currentIndex() != DataSourceCode::BindingColumn)
            continue;
        QComboBox *series = m_series[size_t(f)];
        const bool wasMissing = series->currentIndex() < 0 && !m_missingHeading[size_t(f)].isEmpty();
        const QString heading = wasMissing ? m_missingHeading[size_t(f)] : series->currentText();
        const int before = wasMissing ? m_missingIndex[size_t(f)] : series->currentIndex();
        // A detail missing its column in the last workbook too keeps the binding it had before.
        const QString value = wasMissing ? m_missingValue[size_t(f)] : shownValue(f);
        sourceStep(f);
        if (!heading.isEmpty() || before >= 0)
            showColumn(f, ColumnBinding::resolve(binding(), before, heading), heading, before, value);
    }
}

void User_profile::sourceStep(int f)
{
    const int index = m_source[size_t(f)]->currentIndex();
    QComboBox *series = m_series[size_t(f)];
    m_missingHeading[size_t(f)].clear();
    ComboItems::showColumnQuietly(series, series->currentIndex(), QString());
    if (f == Photo) {
        browse_pic_btn->setEnabled(index == 0);
        clear_pic_btn->setEnabled(index == 0);
    } else {
        m_value[size_t(f)]->setReadOnly(index != 0);
    }
    if (index == 0) {
        const QSignalBlocker block(series);
        series->clear();
        series->setEnabled(false);
    } else if (index == 1) {
        series->setEnabled(true);
        ComboItems::replaceQuietly(series, DataSourceChoices::seriesItems(Data_Folder_Path));
    } else {
        series->setEnabled(true);
        ComboItems::replaceQuietly(series, DataSourceChoices::excelColumnItems(binding()));
    }
    m_view[size_t(f)]->setEnabled(index == 1);
}

void User_profile::pickStep(int f)
{
    QComboBox *series = m_series[size_t(f)];
    const QString picked = series->currentText();
    if (picked.isEmpty())
        return;
    m_missingHeading[size_t(f)].clear();
    ComboItems::showColumnQuietly(series, series->currentIndex(), QString());
    QString first;
    switch (m_source[size_t(f)]->currentIndex()) {
    case 1:
        first = DataSourceChoices::Get_First_Value_Of_Dataset(Data_Folder_Path, picked);
        break;
    case 2:
        first = DataSourceChoices::Get_First_Value_Of_Excel_Binding(binding(), series->currentIndex());
        break;
    default:
        return;
    }
    if (f == Photo)
        Set_User_Image(first);
    else
        m_value[size_t(f)]->setText(first);
}

void User_profile::Add_Excel_in_Data_Source_Combo()
{
    for (QComboBox *source : m_source)
        ComboItems::applyQuietly(source, DataSourceChoices::addExcelItem);
}

void User_profile::Remove_Excel_in_Data_Source_Combo()
{
    for (QComboBox *source : m_source)
        ComboItems::applyQuietly(source, DataSourceChoices::removeExcelItem);
}

// --- checking and writing the records ---

User_Profile_Class::Choices User_profile::choices(bool sideRecord) const
{
    User_Profile_Class::Choices c;
    c.sideRecord = sideRecord;
    c.tableHasRows = binding().rowCount() > 0;
    for (int f = 0; f < FieldCount; ++f) {
        User_Profile_Class::DetailChoice &d = c.details[size_t(f)];
        const QComboBox *series = m_series[size_t(f)];
        d.value = shownValue(f);
        d.seriesName = series->currentText();
        d.pick = series->currentIndex();
        // A detail whose column the workbook lacks keeps its binding as it was; the preview shows
        // it without a value, as the cards will come out.
        if (d.pick < 0 && !m_missingHeading[size_t(f)].isEmpty()) {
            d.missingHeading = m_missingHeading[size_t(f)];
            d.missingIndex = m_missingIndex[size_t(f)];
            d.value = sideRecord ? m_missingValue[size_t(f)] : QString();
        }
        // The source list's rows: a fixed value, a series, an Excel column.
        switch (m_source[size_t(f)]->currentIndex()) {
        case 0:
            d.source = User_Profile_Class::Source::Fixed;
            break;
        case 1:
            d.source = User_Profile_Class::Source::Series;
            break;
        case 2:
            d.source = User_Profile_Class::Source::Column;
            break;
        default:
            d.source = User_Profile_Class::Source::Unchosen;
            break;
        }
    }
    return c;
}

bool User_profile::Check_Validation()
{
    const int f = User_Profile_Class::firstUnpicked(choices(false));
    checked_field_name =
        f < 0 ? QString() : QString::fromLatin1(User_Profile_Class::info()[size_t(f)].caption);
    return f < 0;
}

bool User_profile::fillRecord(User_Profile_Class &record, bool frontOrBack)
{
    const User_Profile_Class::Choices c = choices(frontOrBack);
    const OpResult result = record.fillFrom(c);
    if (!result.ok()) {
        checked_field_name = result.reason;
        Show_MessageBox(result.message);
        return false;
    }
    if (frontOrBack) {
        const QString path = excel_path_field->text();
        writeBinding([&c, &path](ExcelBindingTable &table) {
            table.Excel_Binding_Use = c.tableHasRows;
            if (c.tableHasRows)
                table.Excel_Source_Path = path;
        });
    }
    return true;
}

bool User_profile::Fill_Front_User_profile_value_in_Variable()
{
    return fillRecord(m_host.userProfile(0), true);
}

bool User_profile::Fill_Back_User_profile_value_in_Variable()
{
    return fillRecord(m_host.userProfile(1), true);
}

bool User_profile::Fill_TEMP_User_profile_value_in_Variable()
{
    return fillRecord(m_host.userProfile(2), false);
}

// --- buttons ---

void User_profile::OK_Btn_Clicked()
{
    // A detail with nothing picked is refused first, by the record's own message.
    if (User_Profile_Class::firstUnpicked(choices(false)) < 0 && !keepMissingColumns())
        return;
    const QString side = Trim_Str(load_side);
    if (side.isEmpty()) {
        if (!Fill_Front_User_profile_value_in_Variable() || !Fill_Back_User_profile_value_in_Variable())
            return;
    } else if (side == SideCode::Front) {
        if (!Fill_Front_User_profile_value_in_Variable())
            return;
    } else if (side == SideCode::Back) {
        if (!Fill_Back_User_profile_value_in_Variable())
            return;
    }
    putWorkingBinding();
    done(1);
}

void User_profile::Cancel_Btn_Clicked()
{
    restoreOpeningState();
    done(0);
}

void User_profile::keepOpeningState()
{
    // A workbook chosen with Browse and cells corrected in the table viewer go into a working
    // table: the design changes once, at OK, and Cancel has nothing to take back.
    m_working = m_host.document().design().binding;
    m_host.setWorkingBinding(&*m_working);
    m_openedDesign = DesignState::of(m_host.document());
}

void User_profile::putWorkingBinding()
{
    // In the editor's session (its notices held) this joins the step that lays the details on the
    // side, which takes the design as the dialog opened on it (takeOpenedDesign). Opened from a
    // start window, where nothing is laid until a card is chosen, the workbook is a step of its
    // own: a window closed without a new card leaves the design changed only as Undo can take back.
    if (m_working)
        m_host.document().setBinding(*m_working);
}

void User_profile::restoreOpeningState()
{
    // The design was never written: the bound objects keep their columns by heading throughout.
    m_openedDesign.reset();
}

void User_profile::endSession()
{
    m_host.setWorkingBinding(nullptr);
    m_working.reset();
}

bool User_profile::keepMissingColumns()
{
    QStringList details;
    int first = -1;
    for (int f = 0; f < FieldCount; ++f) {
        if (m_source[size_t(f)]->currentIndex() != DataSourceCode::BindingColumn ||
            m_series[size_t(f)]->currentIndex() >= 0 || m_missingHeading[size_t(f)].isEmpty())
            continue;
        if (first < 0)
            first = f;
        details << QStringLiteral("%1 is bound to the column \"%2\"")
                       .arg(User_Profile_Class::nameOf(f), m_missingHeading[size_t(f)]);
    }
    if (first < 0)
        return true;
    QString book = QFileInfo(Trim_Str(excel_path_field->text())).fileName();
    if (book.isEmpty())
        book = QStringLiteral("the workbook");
    const bool one = details.size() == 1;
    const QString text =
        (one ? details.first() + QStringLiteral(", which %1 does not have.").arg(book)
             : QStringLiteral("These details are bound to columns that %1 does not have:\n").arg(book) +
                   details.join(QStringLiteral("\n"))) +
        QStringLiteral("\n\nYou can keep %1 marked missing: %2 nothing on the cards until a workbook with "
                       "%3 is loaded, and export, print and mail warn first. Or choose another column.")
            .arg(one ? QStringLiteral("the binding") : QStringLiteral("the bindings"),
                 one ? QStringLiteral("it shows") : QStringLiteral("they show"),
                 one ? QStringLiteral("that column") : QStringLiteral("those columns"));
    const QStringList buttons{one ? QStringLiteral("&Keep Binding") : QStringLiteral("&Keep Bindings"),
                              QStringLiteral("&Choose Column")};
    if (MessageService::deliverChoice(text, buttons, 0, 1).value_or(1) == 0)
        return true;
    m_series[size_t(first)]->setFocus(Qt::OtherFocusReason);
    return false;
}

void User_profile::showRowsLoaded()
{
    const WorkbookFacts &facts = binding().sourceFacts;
    const bool known = binding().rowCount() > 0 && facts.loadedAt.isValid();
    rows_loaded_label->setText(known ? QStringLiteral("Rows loaded ") + facts.loadedText() : QString());
    rows_loaded_label->setVisible(known);
}

void User_profile::reject()
{
    Cancel_Btn_Clicked();
}

void User_profile::Help_Btn_Clicked()
{
    Open_Help_File();
}

void User_profile::Preview_Btn_Clicked()
{
    if (!Fill_TEMP_User_profile_value_in_Variable())
        return;
    UserProfileCommands commands(m_host);
    // The preview side gets copies, so neither the preview nor a Cancel after it touches the side;
    // nor is the preview a step of the design's history (the preview side is never recorded).
    commands.Temp_Design_Copy_Assign();
    Graphics_array = m_host.document().graphics_temp();
    const float x = last_ctrl_X;
    const float y = last_ctrl_Y;
    commands.Fill_User_profile_info_side(SKTDocument::Temp);
    Graphics_array = m_host.document().graphics_temp();
    Create_and_Set_Preview_picture();
    last_ctrl_X = x;
    last_ctrl_Y = y;
}

void User_profile::Browse_excel_Btn_Clicked()
{
    const std::optional<QString> path =
        FilePanels::instance().openFile(this, QStringLiteral("Choose a Workbook"), {"xlsx", "XLSX"});
    if (!path)
        return;
    const QString before = excel_path_field->text();
    excel_path_field->setText(*path);
    if (!QFileInfo(*path).isFile()) {
        Show_MessageBox(QStringLiteral("Please select valid file path."));
        return;
    }
    if (workbookImport()) {
        workbookImport()(this, *path, *m_working);
    } else {
        // Cancel keeps the table, so the path of the workbook it came from stays too.
        if (m_host.importWorkbookColumns(this, *path, *m_working) != 1) {
            excel_path_field->setText(before);
            return;
        }
    }
    if (binding().rowCount() > 0)
        Add_Excel_in_Data_Source_Combo();
    else
        Remove_Excel_in_Data_Source_Combo();
    showRowsLoaded();
    followHeadings();
    // The preview showed the previous workbook's values: it shows the new ones, or nothing while a
    // bound detail lacks its column.
    const bool lacking = std::any_of(m_missingHeading.cbegin(), m_missingHeading.cend(),
                                     [](const QString &h) { return !h.isEmpty(); });
    if (!lacking && User_Profile_Class::firstUnpicked(choices(false)) < 0)
        Preview_Btn_Clicked();
    else
        Preivew_picture->clear();
}

void User_profile::View_Excel_Btn_Clicked()
{
    m_host.registry().open(WindowRegistry::Window::BindingTableViewer);
}

void User_profile::Batch_Series_Btn_Clicked()
{
    m_host.registry().open(WindowRegistry::Window::SeriesManager);
}

void User_profile::Browse_image_Btn_Clicked()
{
    const std::optional<QString> path =
        FilePanels::instance().openFile(this, QStringLiteral("Choose a Photo"),
                                        {"jpg", "jpeg", "jpe", "jfif", "gif", "bmp", "png", "tif", "tiff"});
    if (!path)
        return;
    // A photo that cannot be used leaves the details as they were.
    if (const QString error = PictureReader::probe(Trim_Str(*path)); !error.isEmpty()) {
        Show_MessageBox(PictureReader::userMessage(Trim_Str(*path), error));
        return;
    }
    Set_User_Image(*path);
}

void User_profile::Clear_image_Btn_Clicked()
{
    Set_User_Image(QString());
}

void User_profile::Set_User_Image(const QString &path)
{
    const QString trimmed = Trim_Str(path);
    image_path_val->setText(trimmed);
    if (trimmed.isEmpty()) {
        user_picture->clear();
        return;
    }
    // Read at the box's size: a phone photo costs no more than the box shows.
    const QSize box = user_picture->size() - QSize(4, 4);
    const QImage image = PictureReader::readThumbnail(trimmed, std::max(box.width(), box.height()));
    if (image.isNull())
        return; // the box keeps what it showed
    user_picture->setPixmap(
        QPixmap::fromImage(image).scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void User_profile::View_Data_Series_By_Name(QComboBox *list)
{
    const QString name = Trim_Str(list ? list->currentText() : QString());
    if (name.isEmpty()) {
        Show_MessageBox(QStringLiteral("Please select the series."));
        return;
    }
    m_host.registry().open(WindowRegistry::Window::SeriesViewer, name);
}

// --- reset and pictures ---

void User_profile::Reset_all_Ctrl()
{
    if (Template_picture)
        Template_picture->clear();
    Preivew_picture->clear();
    Set_User_Image(QString());
    for (QLineEdit *value : m_value) {
        if (value)
            value->clear();
    }
    for (QComboBox *source : m_source) {
        selectSilently(source, 0);
        comboBoxSelectionDidChange(source);
    }
    for (QComboBox *series : m_series)
        selectSilently(series, -1);
}

void User_profile::showCardPicture(QLabel *box, const GraphicList &graphics)
{
    if (!box)
        return;
    const RenderSide side =
        RenderSide::of(m_host.document().design(), m_host.Card_Front_Or_Back(), graphics, Resource_Path);
    const QImage image = SKTRenderingView::imageOfSide(side, 2 * 72.0);
    if (image.isNull()) {
        box->clear();
        return;
    }
    box->setPixmap(QPixmap::fromImage(image).scaled(box->size() - QSize(4, 4), Qt::KeepAspectRatio,
                                                    Qt::SmoothTransformation));
}

void User_profile::Create_and_Set_template_picture()
{
    showCardPicture(Template_picture, Graphics_array);
    showCardPicture(Preivew_picture, Graphics_array);
}

void User_profile::Create_and_Set_Preview_picture()
{
    showCardPicture(Preivew_picture, Graphics_array);
}
