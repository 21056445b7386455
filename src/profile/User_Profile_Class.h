// The personal-details record: eleven details of a person or company, each with its value, the
// source it comes from (fixed, series or Excel column) and the identifier of the object showing it.
#pragma once

#include <QString>
#include <QStringList>

#include <array>

class User_Profile_Class
{
public:
    // One detail's fields. The record's field named <stem>_<ending> is <stem>.<ending> here
    // (Name_ds is Name.ds); the stem's own field, the entered value, is <stem>.value.
    struct Detail {
        qint8 ds = 0;           // 1: the value comes from a series
        qint32 ds_indx = 0;     // position of the series in the list the dialog offered
        qint8 xl = 0;           // 1: the value comes from a column of the binding table
        qint32 xl_col_indx = 0; // position of the column as the dialog listed them
        QString id;             // identifier of the card object showing the detail
        QString label_id;       // identifier of its caption
        QString label;          // kept as it is by a reset
        QString value;          // the entered value; for the photo the picture's full path
        QString ds_name;        // the series' name, "" when not from a series
    };

    // What never changes of a detail: its stem, identifiers and caption, in record order.
    struct DetailInfo {
        const char *stem;
        const char *id;
        const char *label_id;
        const char *caption;
    };
    static constexpr int DetailCount = 11;
    static const std::array<DetailInfo, DetailCount> &info();
    // The eleven object identifiers, "Fup_Name" ... "Fup_Photo", in record order.
    static const QStringList &identifiers();
    // Index of a detail by its object identifier, or -1.
    static int indexOfId(const QString &id);

    qint8 Fill_User_Profile_Enable = 0;
    qint8 Excel_Binding = 0;
    Detail Name, Title, Company_name, slogan, address, phone, fax, email, website, unique, image;

    // The details in record order; the last one is the photo.
    std::array<Detail *, DetailCount> details();
    std::array<const Detail *, DetailCount> details() const;
    Detail &detail(int index) { return *details()[size_t(index)]; }
    const Detail &detail(int index) const { return *details()[size_t(index)]; }

    // Identifiers set; flags, indexes, values and series names cleared; captions kept.
    void Reset_All_Values();

    // A detail's source as the dialogs write it: a fixed value, a series, or a column.
    static void setFixed(Detail &d);
    static void setSeries(Detail &d, const QString &name, qint32 index);
    static void setColumn(Detail &d, qint32 column);
};
