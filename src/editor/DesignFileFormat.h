// The items of a design file (CardDesign as stored): an XML property-list array of the marker, both
// sides' page settings field by field (each with the card's outline and size among them), the Excel
// binding and the archives of the front and back objects, then, when there is anything to keep, one
// dictionary of the bound workbook's file facts and of the binding table's cells whose formula the
// workbook never computed.
#pragma once

#include "model/CardDesign.h"
#include "model/CardPageFields.h"
#include "model/Card_Property.h"
#include "model/ObjectListLimits.h"
#include "model/SKTGraphic.h"
#include "panels/CardSizeTables.h"
#include "platform/PlistValue.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

class QIODevice;

class DesignFileFormat
{
public:
    static inline const QString Marker = QStringLiteral("ZOLVMACFENWORADELCARD");
    static constexpr int SideFieldCount = CardPageFields::StoredCount;
    // A design without objects: the marker, both sides, the four binding items, two object counts.
    static constexpr int FixedItemCount = 1 + 2 * SideFieldCount + 4 + 2;
    // The item of the binding rows, the last of the four binding items.
    static constexpr qsizetype RowsItem = 1 + 2 * SideFieldCount + 3;
    // The clipboard reads objects within the same limits.
    static constexpr qsizetype MaxObjects = ObjectListLimits::MaxObjects;
    static constexpr qint64 MaxObjectArchiveBytes = ObjectListLimits::MaxObjectArchiveBytes;

    // Items of a design. A side whose fill is not a background picture loses its picture path,
    // in the file and in the page settings themselves.
    static plist::Array buildItems(CardDesign &design);
    // The same items written to an open device as an XML property list, the bytes writeXml makes of
    // them, the rows taken from the table one by one: neither the file nor its rows as values are
    // held whole. False when a write failed (the device says why).
    static bool write(QIODevice &out, CardDesign &design);
    // A side's stored items: its page fields with the design's outline and size among them.
    static void appendSide(plist::Array &items, Card_Property &side, const DesignSettings &design);
    // The picture path is kept only while the picture is the page fill.
    static void dropUnusedPicturePath(Card_Property &side);
    // The workbook's facts as the dictionary after the objects, and back. A dictionary that is
    // missing or damaged gives unknown facts: a design reads as one saved without them.
    static plist::Dict workbookFactsItem(const WorkbookFacts &facts);
    static WorkbookFacts workbookFactsOf(const plist::Dict &item);
    // The binding table's formula cells never computed, in the same dictionary, and back: none when
    // missing or damaged, or when they name a cell the rows do not hold (columns: every title,
    // the row number's first).
    static void addUncomputed(plist::Dict &item, const UncomputedFormulas &cells);
    static UncomputedFormulas uncomputedOf(const plist::Dict &item, const QStringList &columns,
                                           const BindingRows &rows);

    // Reads and checks every item into a design, before anything of the editor changes. False with
    // a reason (for the log) when anything is wrong. The pages' background pictures are not read.
    static bool parse(const QByteArray &fileBytes, CardDesign *out, QString *reason);
    // The same read from an open device as it is parsed: a file's bytes are never held whole.
    static bool parse(QIODevice &input, CardDesign *out, QString *reason);
    // taken: binding rows read apart from the items (parse takes them as the file is read), the
    // rows item's own rows added after them.
    static bool parseItems(const plist::Array &items, CardDesign *out, QString *reason,
                           BindingRows taken = BindingRows());

    // Number texts as the file holds them (points and sizes: GeometryText, read leniently).
    static int leadingInt(const QString &text);     // leading whole number, 0 when none
    static float leadingFloat(const QString &text); // leading decimal number, 0 when none
    static QString flagText(bool on) { return on ? QStringLiteral("Y") : QStringLiteral("N"); }
    static float Points_to_MM_Convert(float points) { return CardSizeTables::Points_to_MM_Convert(points); }

private:
    // The items with an empty list in place of the rows.
    static plist::Array itemsWithoutRows(CardDesign &design);
};
