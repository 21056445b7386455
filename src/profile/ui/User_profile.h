// The personal-details dialog: eleven details of the card's sender, each a typed value, a series or
// a column of the binding table, written into the main window's records on OK or laid out as a preview.
#pragma once

#include "data/ExcelBindingTable.h"
#include "model/EditStep.h"
#include "model/SKTGraphic.h"
#include "profile/User_Profile_Class.h"

#include <QDialog>
#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

class QComboBox;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;
class ProfileHost;

class User_profile : public QDialog
{
    Q_OBJECT
public:
    static constexpr int FieldCount = 11; // the ten texts, then the photo
    static constexpr int Photo = 10;

    explicit User_profile(ProfileHost &host, QWidget *parent = nullptr);

    // Reads a workbook into the dialog's working binding table; without one set, the column
    // import dialog runs.
    using WorkbookImport =
        std::function<void(QWidget *parent, const QString &path, ExcelBindingTable &table)>;
    static void setWorkbookImport(WorkbookImport import);

    // Set by the opener before Open_Wnd: "" (wizards), "F" or "B" (editor); OK reads it.
    QString load_side;

    // flag 0: starts empty; any other: starts from the details on the side being edited. Runs
    // modally; 1 after OK, 0 after Cancel. The workbook it binds is a working copy meanwhile, put
    // into the design at OK; Cancel leaves the design as it was.
    int Open_Wnd(qint8 flag);
    // After OK: the design's pages and binding table as the dialog opened on them, which the step
    // laying the details on a side puts back on undo with the objects (once; then none).
    std::shared_ptr<const EditState> takeOpenedDesign() { return std::exchange(m_openedDesign, nullptr); }

    bool Fill_Front_User_profile_value_in_Variable();
    bool Fill_Back_User_profile_value_in_Variable();
    bool Fill_TEMP_User_profile_value_in_Variable();
    bool Check_Validation();
    virtual void Reset_all_Ctrl();
    void Set_User_Image(const QString &path);
    void View_Data_Series_By_Name(QComboBox *list);
    void Add_Excel_in_Data_Source_Combo();
    void Remove_Excel_in_Data_Source_Combo();
    virtual void Create_and_Set_template_picture();
    void Create_and_Set_Preview_picture();

    // Actions of the buttons.
    void OK_Btn_Clicked();
    void Cancel_Btn_Clicked();
    // Escape and the window's close button: Cancel.
    void reject() override;
    void Reset_Btn_Clicked() { Reset_all_Ctrl(); }
    void Help_Btn_Clicked();
    void Preview_Btn_Clicked();
    void Browse_excel_Btn_Clicked();
    void View_Excel_Btn_Clicked();
    void Batch_Series_Btn_Clicked();
    void Browse_image_Btn_Clicked();
    void Clear_image_Btn_Clicked();
    void View_Name_Series_Btn_Clicked() { View_Data_Series_By_Name(name_ser_col_cb); }
    void View_Title_Series_Btn_Clicked() { View_Data_Series_By_Name(title_ser_col_cb); }
    void View_Company_Name_Series_Btn_Clicked() { View_Data_Series_By_Name(comp_name_ser_col_cb); }
    void View_Slogan_Series_Btn_Clicked() { View_Data_Series_By_Name(slogan_ser_col_cb); }
    void View_Address_Series_Btn_Clicked() { View_Data_Series_By_Name(address_ser_col_cb); }
    void View_Phone_Series_Btn_Clicked() { View_Data_Series_By_Name(phone_ser_col_cb); }
    void View_Fax_Series_Btn_Clicked() { View_Data_Series_By_Name(fax_ser_col_cb); }
    void View_Email_Series_Btn_Clicked() { View_Data_Series_By_Name(email_ser_col_cb); }
    void View_Website_Series_Btn_Clicked() { View_Data_Series_By_Name(website_ser_col_cb); }
    void View_Unique_Series_Btn_Clicked() { View_Data_Series_By_Name(unique_ser_col_cb); }
    void View_Image_Series_Btn_Clicked() { View_Data_Series_By_Name(image_ser_col_cb); }
    // The source or the series/column list of a field changed (the user's pick, or the program's).
    void comboBoxSelectionDidChange(QComboBox *list);

    // A field's controls by position (the value field is null for the photo).
    QLineEdit *valueField(int field) const { return m_value[size_t(field)]; }
    QComboBox *sourceList(int field) const { return m_source[size_t(field)]; }
    QComboBox *seriesList(int field) const { return m_series[size_t(field)]; }
    QPushButton *viewButton(int field) const { return m_view[size_t(field)]; }

    QLineEdit *excel_path_field = nullptr;
    QLabel *rows_loaded_label = nullptr; // when the binding table's rows were read from the workbook
    QLineEdit *name_value = nullptr, *title_value = nullptr, *comp_name_value = nullptr,
              *slogan_value = nullptr, *address_value = nullptr, *phone_value = nullptr, *fax_value = nullptr,
              *email_value = nullptr, *website_value = nullptr, *unique_value = nullptr;
    QComboBox *name_ds_combo = nullptr, *title_ds_combo = nullptr, *comp_name_ds_combo = nullptr,
              *slogan_ds_combo = nullptr, *address_ds_combo = nullptr, *phone_ds_combo = nullptr,
              *fax_ds_combo = nullptr, *email_ds_combo = nullptr, *website_ds_combo = nullptr,
              *unique_ds_combo = nullptr, *image_ds_combo = nullptr;
    QComboBox *name_ser_col_cb = nullptr, *title_ser_col_cb = nullptr, *comp_name_ser_col_cb = nullptr,
              *slogan_ser_col_cb = nullptr, *address_ser_col_cb = nullptr, *phone_ser_col_cb = nullptr,
              *fax_ser_col_cb = nullptr, *email_ser_col_cb = nullptr, *website_ser_col_cb = nullptr,
              *unique_ser_col_cb = nullptr, *image_ser_col_cb = nullptr;
    QPushButton *name_view_btn = nullptr, *title_view_btn = nullptr, *comp_name_view_btn = nullptr,
                *slogan_view_btn = nullptr, *address_view_btn = nullptr, *phone_view_btn = nullptr,
                *fax_view_btn = nullptr, *email_view_btn = nullptr, *website_view_btn = nullptr,
                *unique_view_btn = nullptr, *image_view_btn = nullptr;
    QLabel *user_picture = nullptr;
    QPushButton *browse_pic_btn = nullptr, *clear_pic_btn = nullptr;
    QLineEdit *image_path_val = nullptr;
    QString checked_field_name;
    QLabel *Template_picture = nullptr; // none in the editor's dialog
    QLabel *Preivew_picture = nullptr;
    GraphicList Graphics_array;

    QPushButton *ok_button = nullptr, *cancel_button = nullptr, *reset_button = nullptr,
                *help_button = nullptr, *preview_button = nullptr, *browse_excel_button = nullptr,
                *view_excel_button = nullptr, *batch_series_button = nullptr;

protected:
    // Object-name stems of the eleven fields, in record order.
    static constexpr std::array<const char *, FieldCount> FieldStems = {
        "name", "title", "comp_name", "slogan", "address", "phone",
        "fax",  "email", "website",   "unique", "image"};

    // editorTime: the editor's dialog, whose captions are fields with check boxes of their own.
    User_profile(ProfileHost &host, QWidget *parent, bool editorTime);

    // A text field's value was loaded from the side (before its source is set).
    virtual void valueLoaded(int field) { Q_UNUSED(field); }
    void showCardPicture(QLabel *box, const GraphicList &graphics);

    QGridLayout *m_grid = nullptr; // one row per field, captions in column 1
    std::array<QLabel *, FieldCount> m_caption{};

private:
    // The binding table the workbook field fills: the working copy while the dialog is open.
    const ExcelBindingTable &binding() const;
    void writeBinding(const std::function<void(ExcelBindingTable &)> &write);
    // The layout (UserProfileLayout.cpp): one maker per group, in the order the user tabs through.
    void buildLayout(bool editorTime);
    QGridLayout *makeWorkbookRow();
    QGridLayout *makeFieldGrid();
    void makeFieldRow(int field);
    QVBoxLayout *makePictureColumn(bool editorTime);
    QHBoxLayout *makePhotoRow();
    QHBoxLayout *makeClosingRow();
    void nameFieldOutlets();
    void connectControls();
    void sourceStep(int field);
    void pickStep(int field);
    // A column-bound detail shows the column its heading stands in now, or that it is missing
    // (keeping aside before, the column it read, and value, what it showed from that column).
    void showColumn(int field, int column, const QString &heading, qint32 before, const QString &value);
    QString shownValue(int field) const; // the value field, or the photo's path
    // After a workbook is loaded: every column-bound detail follows its heading into it.
    void followHeadings();
    void loadFromSide();
    void showRowsLoaded();
    // What the dialog opened with, so that Cancel changes nothing, and the working binding table.
    void keepOpeningState();
    void restoreOpeningState();
    // OK: the working binding table becomes the design's.
    void putWorkingBinding();
    void endSession();
    // OK with details bound to columns the workbook lacks: true to keep those bindings marked
    // missing, false (the first such list focused) to choose other columns.
    bool keepMissingColumns();
    // The dialog's choices for every detail, as the record reads them.
    User_Profile_Class::Choices choices(bool sideRecord) const;
    bool fillRecord(User_Profile_Class &record, bool frontOrBack);
    int fieldOfList(QComboBox *list, bool *isSource) const;

    ProfileHost &m_host;
    std::array<QLineEdit *, FieldCount> m_value{};
    std::array<QComboBox *, FieldCount> m_source{};
    std::array<QComboBox *, FieldCount> m_series{};
    std::array<QPushButton *, FieldCount> m_view{};
    std::array<QString, FieldCount> m_missingHeading{}; // a bound column the workbook lacks
    // For such a detail, its value and column from before the column went missing: kept as they
    // are when the user keeps the binding.
    std::array<QString, FieldCount> m_missingValue{};
    std::array<qint32, FieldCount> m_missingIndex{};
    std::optional<ExcelBindingTable> m_working; // while the dialog is open
    std::shared_ptr<const EditState> m_openedDesign;
};
