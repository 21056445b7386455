// Where the personal-details dialog's controls sit: the workbook row, one grid row per detail, the
// photo and card pictures, and the closing buttons. Controls are made with the dialog as parent, in
// the order a user tabs through them.
#include "profile/ui/User_profile.h"

#include "foundation/ui/WindowLook.h"
#include "profile/User_Profile_Class.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace
{
const QSize CardBox(250, 160);

QPushButton *makeButton(const QString &text, const QString &name, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}
} // namespace

void User_profile::buildLayout(bool editorTime)
{
    auto *outer = new QVBoxLayout(this);
    outer->addLayout(makeWorkbookRow());
    auto *middle = new QHBoxLayout;
    middle->addLayout(makeFieldGrid(), 1);
    middle->addLayout(makePictureColumn(editorTime));
    outer->addLayout(middle, 1);
    outer->addLayout(makeClosingRow());
    nameFieldOutlets();
}

QGridLayout *User_profile::makeWorkbookRow()
{
    auto *workbookRow = new QGridLayout;
    workbookRow->addWidget(new QLabel(QStringLiteral("Excel Workbook :"), this), 0, 0);
    excel_path_field = new QLineEdit(this);
    excel_path_field->setObjectName(QStringLiteral("excel_path_field"));
    excel_path_field->setReadOnly(true);
    workbookRow->addWidget(excel_path_field, 0, 1);
    browse_excel_button =
        makeButton(QStringLiteral("Browse..."), QStringLiteral("browse_excel_button"), this);
    view_excel_button = makeButton(QStringLiteral("View Excel"), QStringLiteral("view_excel_button"), this);
    batch_series_button =
        makeButton(QStringLiteral("Series..."), QStringLiteral("batch_series_button"), this);
    workbookRow->addWidget(browse_excel_button, 0, 2);
    workbookRow->addWidget(view_excel_button, 0, 3);
    workbookRow->addWidget(batch_series_button, 0, 4);
    // The rows are a copy taken when the workbook was read: the date says how old they are.
    rows_loaded_label = new QLabel(this);
    rows_loaded_label->setObjectName(QStringLiteral("rows_loaded_label"));
    workbookRow->addWidget(rows_loaded_label, 1, 1, 1, 4);
    workbookRow->setColumnStretch(1, 1);
    return workbookRow;
}

QGridLayout *User_profile::makeFieldGrid()
{
    m_grid = new QGridLayout;
    m_grid->setColumnStretch(3, 1);
    m_grid->addWidget(new QLabel(QStringLiteral("Value"), this), 0, 3);
    m_grid->addWidget(new QLabel(QStringLiteral("Source"), this), 0, 4);
    m_grid->addWidget(new QLabel(QStringLiteral("Series / Column"), this), 0, 5);
    for (int f = 0; f < FieldCount; ++f)
        makeFieldRow(f);
    // The photo's path; the photo itself and its buttons stand beside the card pictures.
    image_path_val = new QLineEdit(this);
    image_path_val->setObjectName(QStringLiteral("image_path_val"));
    image_path_val->setReadOnly(true);
    m_grid->addWidget(image_path_val, Photo + 1, 3);
    QWidget::setTabOrder(m_view[size_t(Photo - 1)], image_path_val); // before its source, as shown
    m_grid->setRowStretch(FieldCount + 1, 1);
    return m_grid;
}

// A detail's caption, value (none for the photo), source, series or column, and view button.
void User_profile::makeFieldRow(int f)
{
    const QString stem = QString::fromLatin1(FieldStems[size_t(f)]);
    const int row = f + 1;
    m_caption[size_t(f)] =
        new QLabel(QString::fromLatin1(User_Profile_Class::info()[size_t(f)].caption), this);
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

// The photo with its buttons, then the card picture (wizards only) and the preview.
QVBoxLayout *User_profile::makePictureColumn(bool editorTime)
{
    auto *pictures = new QVBoxLayout;
    pictures->addLayout(makePhotoRow());
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
    return pictures;
}

QHBoxLayout *User_profile::makePhotoRow()
{
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
    return photoRow;
}

QHBoxLayout *User_profile::makeClosingRow()
{
    help_button = makeButton(QStringLiteral("Help"), QStringLiteral("help_button"), this);
    reset_button = makeButton(QStringLiteral("Reset"), QStringLiteral("reset_button"), this);
    preview_button = makeButton(QStringLiteral("Preview"), QStringLiteral("preview_button"), this);
    QHBoxLayout *closing = WindowLook::okCancelRow(this, ok_button, cancel_button);
    ok_button->setObjectName(QStringLiteral("ok_button"));
    cancel_button->setObjectName(QStringLiteral("cancel_button"));
    closing->insertWidget(0, help_button);
    closing->insertWidget(1, reset_button);
    closing->insertWidget(2, preview_button);
    return closing;
}

// The outlets by name, for the code that reaches a field's controls one by one.
void User_profile::nameFieldOutlets()
{
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
