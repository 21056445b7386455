// The personal-details record: eleven details of a person or company, each with its value, the
// source it comes from (fixed, series or Excel column) and the identifier of the object showing it.
#pragma once

#include "platform/OpResult.h"

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
        QString xl_col_title;   // that column's heading, which the placed object follows
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

    // What the personal-details dialog offers for one detail: where its value comes from, the
    // value typed or chosen, and the series or column picked (-1: none picked yet).
    enum class Source { Fixed, Series, Column, Unchosen };
    struct DetailChoice {
        Source source = Source::Fixed;
        QString value;
        QString seriesName;
        qint32 pick = -1;
        // A column source whose heading the workbook lacks: the binding is kept as it is, at
        // this heading and column, rather than counted as nothing picked.
        QString missingHeading;
        qint32 missingIndex = -1;
    };
    struct Choices {
        std::array<DetailChoice, DetailCount> details;
        bool sideRecord = false;   // the front or back record rather than the preview's copy
        bool tableHasRows = false; // the Excel binding table holds rows
    };
    // The detail of the first series or column source with nothing picked (a column kept
    // missing is picked), or -1.
    static int firstUnpicked(const Choices &choices);
    // The caption as messages name the detail: "Phone No.".
    static QString nameOf(int index);
    // Fills the record from the dialog's choices. When a series or column source has nothing
    // picked, fails with the message naming that detail (its caption as the reason) and leaves
    // the record as it was. An Unchosen source keeps the detail's source.
    OpResult fillFrom(const Choices &choices);

    // A detail's source as the dialogs write it: a fixed value, a series, or a column.
    static void setFixed(Detail &d);
    static void setSeries(Detail &d, const QString &name, qint32 index);
    static void setColumn(Detail &d, qint32 column, const QString &heading = QString());
};
