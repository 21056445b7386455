// The personal-details dialog: eleven details of the card's sender, each a typed value, a series or
// a column of the binding table, written into the main window's records on OK or laid out as a preview.
#include "profile/User_profile.h"

#include "canvas/SKTGraphicView.h"
#include "canvas/SKTRenderingView.h"
#include "data/DataSourceChoices.h"
#include "data/DataSourceCombos.h"
#include "data/ExcelBindingTable.h"
#include "data/Import_Excel.h"
#include "editor/EditorState.h"
#include "editor/SKTWindowController.h"
#include "editor/SideViews.h"
#include "editor/WindowRegistry.h"
#include "foundation/FilePanels.h"
#include "foundation/FileUtils.h"
#include "foundation/FoundationState.h"
#include "foundation/MessageBoxes.h"
#include "foundation/ModalRunner.h"
#include "foundation/StringUtils.h"
#include "foundation/WindowLook.h"
#include "model/ModelGlobals.h"
#include "platform/PictureReader.h"
#include "profile/UserProfileCommands.h"
#include "profile/User_Profile_Class.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>

namespace
{
User_profile::WorkbookImport &workbookImport()
{
    static User_profile::WorkbookImport import;
    return import;
}

const QSize CardBox(250, 160);

QPushButton *makeButton(const QString &text, const QString &name, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

// Selects an item without the widget's own signals; the caller runs the dialog's step itself.
void selectSilently(QComboBox *list, int index)
{
    const QSignalBlocker block(list);
    list->setCurrentIndex(index);
}

bool tableHasRows()
{
    return !Data_From_Excel_Window.ListData().isEmpty();
}
} // namespace

void User_profile::setWorkbookImport(WorkbookImport import)
{
    workbookImport() = std::move(import);
}

User_profile::User_profile(SKTWindowController &window, QWidget *parent) : User_profile(window, parent, false)
{
}

User_profile::User_profile(SKTWindowController &window, QWidget *parent, bool editorTime)
    : QDialog(parent), m_window(window)
{
    setObjectName(editorTime ? QStringLiteral("Show_User_Profile") : QStringLiteral("User_profile"));
    setWindowTitle(QStringLiteral("User Profile Information"));
    WindowLook::applyBackground(this);
    buildLayout(editorTime);
    connectControls();
    Reset_all_Ctrl();
}

void User_profile::buildLayout(bool editorTime)
{
    auto *outer = new QVBoxLayout(this);

    auto *workbookRow = new QHBoxLayout;
    workbookRow->addWidget(new QLabel(QStringLiteral("Excel Workbook :"), this));
    excel_path_field = new QLineEdit(this);
    excel_path_field->setObjectName(QStringLiteral("excel_path_field"));
    excel_path_field->setReadOnly(true);
    workbookRow->addWidget(excel_path_field, 1);
    browse_excel_button =
        makeButton(QStringLiteral("Browse..."), QStringLiteral("browse_excel_button"), this);
    view_excel_button = makeButton(QStringLiteral("View Excel"), QStringLiteral("view_excel_button"), this);
    batch_series_button =
        makeButton(QStringLiteral("Series..."), QStringLiteral("batch_series_button"), this);
    workbookRow->addWidget(browse_excel_button);
    workbookRow->addWidget(view_excel_button);
    workbookRow->addWidget(batch_series_button);
    outer->addLayout(workbookRow);

    auto *middle = new QHBoxLayout;
    m_grid = new QGridLayout;
    m_grid->setColumnStretch(3, 1);
    m_grid->addWidget(new QLabel(QStringLiteral("Value"), this), 0, 3);
    m_grid->addWidget(new QLabel(QStringLiteral("Source"), this), 0, 4);
    m_grid->addWidget(new QLabel(QStringLiteral("Series / Column"), this), 0, 5);
    const auto &info = User_Profile_Class::info();
    for (int f = 0; f < FieldCount; ++f) {
        const QString stem = QString::fromLatin1(FieldStems[size_t(f)]);
        const int row = f + 1;
        m_caption[size_t(f)] = new QLabel(QString::fromLatin1(info[size_t(f)].caption), this);
        m_caption[size_t(f)]->setObjectName(stem + QStringLiteral("_caption"));
        m_grid->addWidget(m_caption[size_t(f)], row, 1);
        if (f != Photo) {
            auto *value = new QLineEdit(this);
            value->setMinimumWidth(200);
            value->setObjectName(stem + QStringLiteral("_value"));
            m_value[size_t(f)] = value;
            m_grid->addWidget(value, row, 3);
        }
        auto *source = new QComboBox(this);
        source->setObjectName(stem + QStringLiteral("_ds_combo"));
        source->addItems({QStringLiteral("Fixed Value"), QStringLiteral("Series")});
        m_source[size_t(f)] = source;
        m_grid->addWidget(source, row, 4);
        auto *series = new QComboBox(this);
        series->setObjectName(stem + QStringLiteral("_ser_col_cb"));
        series->setMinimumContentsLength(12);
        series->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        m_series[size_t(f)] = series;
        m_grid->addWidget(series, row, 5);
        m_view[size_t(f)] = makeButton(QStringLiteral("View"), stem + QStringLiteral("_view_btn"), this);
        m_grid->addWidget(m_view[size_t(f)], row, 6);
    }
    // The photo's path; the photo itself and its buttons stand beside the card pictures.
    image_path_val = new QLineEdit(this);
    image_path_val->setObjectName(QStringLiteral("image_path_val"));
    image_path_val->setReadOnly(true);
    m_grid->addWidget(image_path_val, Photo + 1, 3);
    m_grid->setRowStretch(FieldCount + 1, 1);
    middle->addLayout(m_grid, 1);

    auto *pictures = new QVBoxLayout;
    auto *photoRow = new QHBoxLayout;
    user_picture = new QLabel(this);
    user_picture->setObjectName(QStringLiteral("user_picture"));
    user_picture->setFixedSize(96, 96);
    user_picture->setFrameShape(QFrame::StyledPanel);
    user_picture->setAlignment(Qt::AlignCenter);
    auto *photoButtons = new QVBoxLayout;
    browse_pic_btn = makeButton(QStringLiteral("Browse..."), QStringLiteral("browse_pic_btn"), this);
    clear_pic_btn = makeButton(QStringLiteral("Clear"), QStringLiteral("clear_pic_btn"), this);
    photoButtons->addWidget(new QLabel(QStringLiteral("Photo"), this));
    photoButtons->addWidget(browse_pic_btn);
    photoButtons->addWidget(clear_pic_btn);
    photoButtons->addStretch();
    photoRow->addWidget(user_picture);
    photoRow->addLayout(photoButtons);
    photoRow->addStretch();
    pictures->addLayout(photoRow);
    auto cardBox = [this](const QString &name) {
        auto *box = new QLabel(this);
        box->setObjectName(name);
        box->setFixedSize(CardBox);
        box->setFrameShape(QFrame::StyledPanel);
        box->setAlignment(Qt::AlignCenter);
        return box;
    };
    if (!editorTime) {
        Template_picture = cardBox(QStringLiteral("Template_picture"));
        pictures->addWidget(new QLabel(QStringLiteral("Card"), this));
        pictures->addWidget(Template_picture);
    }
    Preivew_picture = cardBox(QStringLiteral("Preivew_picture"));
    pictures->addWidget(new QLabel(QStringLiteral("Preview"), this));
    pictures->addWidget(Preivew_picture);
    pictures->addStretch();
    middle->addLayout(pictures);
    outer->addLayout(middle, 1);

    help_button = makeButton(QStringLiteral("Help"), QStringLiteral("help_button"), this);
    reset_button = makeButton(QStringLiteral("Reset"), QStringLiteral("reset_button"), this);
    preview_button = makeButton(QStringLiteral("Preview"), QStringLiteral("preview_button"), this);
    QHBoxLayout *closing = WindowLook::okCancelRow(this, ok_button, cancel_button);
    ok_button->setObjectName(QStringLiteral("ok_button"));
    cancel_button->setObjectName(QStringLiteral("cancel_button"));
    closing->insertWidget(0, help_button);
    closing->insertWidget(1, reset_button);
    closing->insertWidget(2, preview_button);
    outer->addLayout(closing);

    name_value = m_value[0], title_value = m_value[1], comp_name_value = m_value[2];
    slogan_value = m_value[3], address_value = m_value[4], phone_value = m_value[5];
    fax_value = m_value[6], email_value = m_value[7], website_value = m_value[8], unique_value = m_value[9];
    name_ds_combo = m_source[0], title_ds_combo = m_source[1], comp_name_ds_combo = m_source[2];
    slogan_ds_combo = m_source[3], address_ds_combo = m_source[4], phone_ds_combo = m_source[5];
    fax_ds_combo = m_source[6], email_ds_combo = m_source[7], website_ds_combo = m_source[8];
    unique_ds_combo = m_source[9], image_ds_combo = m_source[10];
    name_ser_col_cb = m_series[0], title_ser_col_cb = m_series[1], comp_name_ser_col_cb = m_series[2];
    slogan_ser_col_cb = m_series[3], address_ser_col_cb = m_series[4], phone_ser_col_cb = m_series[5];
    fax_ser_col_cb = m_series[6], email_ser_col_cb = m_series[7], website_ser_col_cb = m_series[8];
    unique_ser_col_cb = m_series[9], image_ser_col_cb = m_series[10];
    name_view_btn = m_view[0], title_view_btn = m_view[1], comp_name_view_btn = m_view[2];
    slogan_view_btn = m_view[3], address_view_btn = m_view[4], phone_view_btn = m_view[5];
    fax_view_btn = m_view[6], email_view_btn = m_view[7], website_view_btn = m_view[8];
    unique_view_btn = m_view[9], image_view_btn = m_view[10];
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
    // "Excel" is offered here as in every other source list: while the binding table has rows,
    // also those of a design just opened.
    if (tableHasRows())
        Add_Excel_in_Data_Source_Combo();
    else if (!Excel_Binding_Use)
        Remove_Excel_in_Data_Source_Combo();
    if (flag != 0) {
        Reset_all_Ctrl();
        excel_path_field->setText(Excel_Source_Path);
        SKTDocument &doc = m_window.document();
        if (Card_Front_Or_Back == 1) {
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
    name_value->setFocus();
    const int result = ModalRunner::exec(*this);
    hide();
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
        if (type == 2 && source->count() < 3 && (Excel_Binding_Use || tableHasRows()))
            Add_Excel_in_Data_Source_Combo();
        if (type < 0 || type >= source->count())
            type = 0;
        selectSilently(source, type);
        comboBoxSelectionDidChange(source);
        if (type != 0) {
            const int index = type == 1 ? g->batch_list_index : g->excel_col_indx;
            QComboBox *series = m_series[size_t(f)];
            if (index >= 0 && index < series->count()) {
                selectSilently(series, index);
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

void User_profile::sourceStep(int f)
{
    const int index = m_source[size_t(f)]->currentIndex();
    QComboBox *series = m_series[size_t(f)];
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
        Fill_Data_Set_File_Name_In_Combo(series, Data_Folder_Path);
    } else {
        series->setEnabled(true);
        Fill_Excel_Col_Name_In_Combo(series, Data_From_Excel_Window);
    }
    m_view[size_t(f)]->setEnabled(index == 1);
}

void User_profile::pickStep(int f)
{
    QComboBox *series = m_series[size_t(f)];
    const QString picked = series->currentText();
    if (picked.isEmpty())
        return;
    QString first;
    switch (m_source[size_t(f)]->currentIndex()) {
    case 1:
        first = DataSourceChoices::Get_First_Value_Of_Dataset(Data_Folder_Path, picked);
        break;
    case 2:
        first = DataSourceChoices::Get_First_Value_Of_Excel_Binding(Data_From_Excel_Window,
                                                                    series->currentIndex());
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
        Add_Excel_Col_Name_In_Combo(source);
}

void User_profile::Remove_Excel_in_Data_Source_Combo()
{
    for (QComboBox *source : m_source)
        Remove_Excel_Col_Name_In_Combo(source);
}

// --- checking and writing the records ---

User_Profile_Class::Choices User_profile::choices(bool sideRecord) const
{
    User_Profile_Class::Choices c;
    c.sideRecord = sideRecord;
    c.tableHasRows = tableHasRows();
    for (int f = 0; f < FieldCount; ++f) {
        User_Profile_Class::DetailChoice &d = c.details[size_t(f)];
        const QComboBox *series = m_series[size_t(f)];
        d.value = f == Photo ? image_path_val->text() : m_value[size_t(f)]->text();
        d.seriesName = series->currentText();
        d.pick = series->currentIndex();
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
        Excel_Binding_Use = c.tableHasRows;
        if (c.tableHasRows)
            Excel_Source_Path = excel_path_field->text();
    }
    return true;
}

bool User_profile::Fill_Front_User_profile_value_in_Variable()
{
    return fillRecord(m_window.Front_user_profile, true);
}

bool User_profile::Fill_Back_User_profile_value_in_Variable()
{
    return fillRecord(m_window.Back_user_profile, true);
}

bool User_profile::Fill_TEMP_User_profile_value_in_Variable()
{
    return fillRecord(m_window.TEMP_user_profile, false);
}

// --- buttons ---

void User_profile::OK_Btn_Clicked()
{
    const QString side = Trim_Str(load_side);
    if (side.isEmpty()) {
        if (!Fill_Front_User_profile_value_in_Variable() || !Fill_Back_User_profile_value_in_Variable())
            return;
    } else if (side == QLatin1String("F")) {
        if (!Fill_Front_User_profile_value_in_Variable())
            return;
    } else if (side == QLatin1String("B")) {
        if (!Fill_Back_User_profile_value_in_Variable())
            return;
    }
    done(1);
}

void User_profile::Cancel_Btn_Clicked()
{
    if (tableHasRows())
        Excel_Source_Path = excel_path_field->text();
    done(0);
}

void User_profile::Help_Btn_Clicked()
{
    Open_Help_File();
}

void User_profile::Preview_Btn_Clicked()
{
    if (!Fill_TEMP_User_profile_value_in_Variable())
        return;
    UserProfileCommands commands(m_window);
    // The preview side gets copies, so neither the preview nor a Cancel after it touches the side.
    commands.Temp_Design_Copy_Assign();
    Graphics_array = m_window.document().graphics_temp();
    const float x = last_ctrl_X;
    const float y = last_ctrl_Y;
    m_window.Fill_User_profile_info_TEMP_side();
    Graphics_array = m_window.document().graphics_temp();
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
        workbookImport()(this, *path);
    } else {
        if (!m_workbookImport)
            m_workbookImport = new Import_Excel(nullptr, this);
        m_workbookImport->open_mode = QStringLiteral("E");
        // Cancel keeps the table, so the path of the workbook it came from stays too.
        if (m_workbookImport->Open_excel_Wnd(*path) != 1) {
            excel_path_field->setText(before);
            return;
        }
    }
    if (tableHasRows())
        Add_Excel_in_Data_Source_Combo();
    else
        Remove_Excel_in_Data_Source_Combo();
}

void User_profile::View_Excel_Btn_Clicked()
{
    m_window.registry().open(WindowRegistry::Window::BindingTableViewer);
}

void User_profile::Batch_Series_Btn_Clicked()
{
    m_window.registry().open(WindowRegistry::Window::SeriesManager);
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
    m_window.registry().open(WindowRegistry::Window::SeriesViewer, name);
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
    RenderSide side;
    side.graphics = graphics;
    if (const Card_Property *page = m_window.liveCardProperty())
        side.page = *page;
    side.cardShape = Card_Shape;
    side.cardSize = m_window.sideViews().canvas(SKTDocument::Front)->cardSize();
    side.resourcePath = Resource_Path;
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
