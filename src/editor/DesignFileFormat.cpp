#include "editor/DesignFileFormat.h"

#include "foundation/CardCodes.h"
#include "model/CardPageFields.h"
#include "model/SKTImage.h"
#include "platform/GeometryText.h"
#include "platform/KeyedArchiver.h"
#include "platform/KeyedUnarchiver.h"
#include "platform/PropertyList.h"

#include <QBuffer>
#include <QHash>
#include <QRegularExpression>

#include <climits>
#include <cmath>
#include <vector>

namespace
{

// The colour a field stands for when it holds none.
QColor colorOrDefault(const QColor &c, const QColor &fallback)
{
    return c.isValid() ? c : fallback;
}

bool fail(QString *reason, const QString &why)
{
    if (reason)
        *reason = why;
    return false;
}

} // namespace

int DesignFileFormat::leadingInt(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == QLatin1Char('-') || text.at(i) == QLatin1Char('+'))) {
        negative = text.at(i) == QLatin1Char('-');
        ++i;
    }
    qint64 value = 0;
    bool any = false;
    while (i < text.size() && text.at(i) >= QLatin1Char('0') && text.at(i) <= QLatin1Char('9')) {
        any = true;
        if (value <= qint64(INT_MAX) + 1)
            value = value * 10 + (text.at(i).unicode() - '0');
        ++i;
    }
    if (!any)
        return 0;
    value = negative ? -value : value;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return int(value);
}

float DesignFileFormat::leadingFloat(const QString &text)
{
    static const QRegularExpression re(QStringLiteral("^\\s*(") + GeometryText::numberPattern() +
                                       QStringLiteral(")"));
    const QRegularExpressionMatch m = re.match(text);
    if (!m.hasMatch())
        return 0.0f;
    return float(m.captured(1).toDouble());
}

void DesignFileFormat::dropUnusedPicturePath(Card_Property &p)
{
    if (p.Card_fill_style != FillCode::Picture)
        p.Card_BG_Image_Path = QString(QLatin1String(""));
}

// One page field as the design file stores it.
static void appendField(plist::Array &items, const Card_Property &p, const CardPageFields::Field &f)
{
    using CardPageFields::Kind;
    static const Card_Property defaults;
    switch (f.kind) {
    case Kind::Flag:
        items.append(plist::Value(DesignFileFormat::flagText(p.*CardPageFields::get<bool>(f))));
        break;
    case Kind::Color: {
        // A colour that holds none is written as the field's default.
        const auto member = CardPageFields::get<QColor>(f);
        items.append(plist::Value(KeyedArchiver::archivedColor(colorOrDefault(p.*member, defaults.*member))));
        break;
    }
    case Kind::Int:
        items.append(plist::Value(QString::number(p.*CardPageFields::get<qint32>(f))));
        break;
    case Kind::String: {
        const QString &text = p.*CardPageFields::get<QString>(f);
        items.append(plist::Value(text.isNull() ? QString(QLatin1String("")) : text));
        break;
    }
    case Kind::Float:
        items.append(plist::Value(QString::asprintf("%0.2f", double(p.*CardPageFields::get<float>(f)))));
        break;
    case Kind::Point:
        items.append(plist::Value(GeometryText::point(p.*CardPageFields::get<QPointF>(f))));
        break;
    case Kind::Font: {
        const auto member = CardPageFields::get<FontDescriptor>(f);
        const FontDescriptor &font = (p.*member).isValid() ? p.*member : defaults.*member;
        items.append(plist::Value(KeyedArchiver::archivedFont(font)));
        break;
    }
    }
}

void DesignFileFormat::appendSide(plist::Array &items, Card_Property &p, const DesignSettings &design)
{
    dropUnusedPicturePath(p);
    const QString &outline = design.outlineCode();
    for (int place = 0; place < SideFieldCount; ++place) {
        if (place == CardPageFields::OutlinePlace)
            items.append(plist::Value(outline.isNull() ? QString(QLatin1String("")) : outline));
        else if (place == CardPageFields::SizePlace)
            items.append(plist::Value(GeometryText::size(design.storedCardSize())));
        else
            appendField(items, p, CardPageFields::Table[size_t(CardPageFields::pageFieldAt(place))]);
    }
}

namespace
{
// A row as the file stores it: its keys in the order a row's map keeps them, as they were always
// written.
plist::Dict rowItem(const BindingRows &held, qsizetype r)
{
    plist::Dict d;
    for (int k : held.keyOrder()) {
        if (held.has(r, k))
            d.insert(held.key(k), plist::Value(held.value(r, k)));
    }
    return d;
}
} // namespace

plist::Array DesignFileFormat::buildItems(CardDesign &design)
{
    plist::Array items = itemsWithoutRows(design);
    const BindingRows &held = design.binding.rows();
    plist::Array rows;
    rows.reserve(held.size());
    for (qsizetype r = 0; r < held.size(); ++r)
        rows.append(plist::Value(rowItem(held, r)));
    items[RowsItem] = plist::Value(rows);
    return items;
}

bool DesignFileFormat::write(QIODevice &out, CardDesign &design)
{
    // The rows, by far the most of a bound design, go from the table to the file one by one.
    const BindingRows held = design.binding.rows();
    const PropertyList::DictSource rows{RowsItem, held.size(),
                                        [&held](qsizetype r) { return rowItem(held, r); }};
    return PropertyList::writeXml(out, plist::Value(itemsWithoutRows(design)), &rows);
}

plist::Array DesignFileFormat::itemsWithoutRows(CardDesign &design)
{
    const ExcelBindingTable &binding = design.binding;
    plist::Array items;
    items.append(plist::Value(Marker));
    appendSide(items, design.frontPage, design);
    appendSide(items, design.backPage, design);
    items.append(plist::Value(flagText(binding.Excel_Binding_Use)));
    items.append(plist::Value(binding.Excel_Source_Path.isNull() ? QString(QLatin1String(""))
                                                                 : binding.Excel_Source_Path));
    plist::Array titles;
    for (const QString &t : binding.columnTitles())
        titles.append(plist::Value(t));
    items.append(plist::Value(titles));
    items.append(plist::Value(plist::Array())); // the rows
    for (const GraphicList *objects : {&design.front, &design.back}) {
        items.append(plist::Value(QString::number(quint64(objects->size()))));
        for (const GraphicPtr &g : *objects)
            items.append(plist::Value(g->archivedData()));
    }
    // Only after the objects, and only when there is something to say: readers that stop after the
    // objects, and designs without a workbook, stay as they were.
    if (binding.sourceFacts.isKnown() || !binding.uncomputedFormulas().isEmpty()) {
        plist::Dict item =
            binding.sourceFacts.isKnown() ? workbookFactsItem(binding.sourceFacts) : plist::Dict();
        addUncomputed(item, binding.uncomputedFormulas());
        items.append(plist::Value(item));
    }
    return items;
}

namespace
{
const QString kSize = QStringLiteral("ExcelSourceSize");
const QString kModified = QStringLiteral("ExcelSourceModified");
const QString kHash = QStringLiteral("ExcelSourceSHA256");
const QString kLoaded = QStringLiteral("ExcelRowsLoaded");
const QString kSheet = QStringLiteral("ExcelSheet");
const QString kFirstRow = QStringLiteral("ExcelFirstRow");
const QString kColumns = QStringLiteral("ExcelColumns");
const QString kUncomputed = QStringLiteral("ExcelUncomputedFormulas"); // runs: column, first row, last row

QString isoTime(const QDateTime &t)
{
    return t.toUTC().toString(Qt::ISODateWithMs);
}

QDateTime timeIn(const plist::Value &v)
{
    QDateTime t = QDateTime::fromString(v.toString(), Qt::ISODateWithMs);
    return t.isValid() ? t.toUTC() : QDateTime();
}

bool wholeNumber(const plist::Value &v, qint64 *out)
{
    bool ok = false;
    *out = v.toString().toLongLong(&ok);
    return ok && v.isString();
}
} // namespace

plist::Dict DesignFileFormat::workbookFactsItem(const WorkbookFacts &facts)
{
    plist::Dict d;
    d.insert(kSize, plist::Value(QString::number(facts.size)));
    d.insert(kModified, plist::Value(isoTime(QDateTime::fromMSecsSinceEpoch(facts.modifiedMs, Qt::UTC))));
    d.insert(kHash, plist::Value(QString::fromLatin1(facts.sha256)));
    d.insert(kLoaded, plist::Value(isoTime(facts.loadedAt)));
    d.insert(kSheet, plist::Value(facts.sheet));
    d.insert(kFirstRow, plist::Value(QString::number(facts.firstRow)));
    plist::Array columns;
    for (int c : facts.columns)
        columns.append(plist::Value(QString::number(c)));
    d.insert(kColumns, plist::Value(columns));
    return d;
}

WorkbookFacts DesignFileFormat::workbookFactsOf(const plist::Dict &item)
{
    static const QRegularExpression sha256(QStringLiteral("^[0-9a-f]{64}$"));
    WorkbookFacts f;
    qint64 size = -1, firstRow = -1;
    const QDateTime modified = timeIn(item.value(kModified));
    const QString hash = item.value(kHash).toString();
    f.loadedAt = timeIn(item.value(kLoaded));
    if (!wholeNumber(item.value(kSize), &size) || size < 0 || !modified.isValid() ||
        !sha256.match(hash).hasMatch() || !f.loadedAt.isValid() ||
        !wholeNumber(item.value(kFirstRow), &firstRow) || firstRow < 0 || firstRow > 1 ||
        !item.value(kSheet).isString() || !item.value(kColumns).isArray())
        return {};
    for (const plist::Value &c : item.value(kColumns).toArray()) {
        qint64 column = -1;
        if (!wholeNumber(c, &column) || column < 0 || column > INT_MAX)
            return {};
        f.columns.append(int(column));
    }
    f.size = size;
    f.modifiedMs = modified.toMSecsSinceEpoch();
    f.sha256 = hash.toLatin1();
    f.sheet = item.value(kSheet).toString();
    f.firstRow = int(firstRow);
    return f;
}

void DesignFileFormat::addUncomputed(plist::Dict &item, const UncomputedFormulas &cells)
{
    if (cells.isEmpty())
        return;
    plist::Array runs;
    for (const UncomputedFormulas::Run &run : cells.runs())
        runs.append(plist::Value(plist::Array{plist::Value(QString::number(run.column)),
                                              plist::Value(QString::number(run.first)),
                                              plist::Value(QString::number(run.last))}));
    item.insert(kUncomputed, plist::Value(runs));
}

UncomputedFormulas DesignFileFormat::uncomputedOf(const plist::Dict &item, const QStringList &columns,
                                                  const BindingRows &rows)
{
    const plist::Value &stored = item.value(kUncomputed);
    if (!stored.isArray())
        return {};
    // Checked whole before any cell is marked: at most the cells the rows hold, each column's runs
    // rising, so a damaged list costs no more than the rows did.
    qint64 held = 0;
    for (qsizetype r = 0; r < rows.size(); ++r)
        held += rows.cellCount(r);
    std::vector<UncomputedFormulas::Run> runs;
    QHash<int, qint64> lastOf; // column -> last row marked
    qint64 marked = 0;
    for (const plist::Value &v : stored.toArray()) {
        const plist::Array &run = v.toArray();
        qint64 column = -1, first = -1, last = -1;
        if (run.size() != 3 || !wholeNumber(run.at(0), &column) || !wholeNumber(run.at(1), &first) ||
            !wholeNumber(run.at(2), &last) || column < 0 || column >= columns.size() || first < 0 ||
            last < first || last >= rows.size() || first <= lastOf.value(int(column), -1))
            return {};
        lastOf.insert(int(column), last);
        marked += last - first + 1;
        if (marked > held)
            return {};
        runs.push_back({int(column), first, last});
    }
    UncomputedFormulas cells;
    for (const UncomputedFormulas::Run &run : runs)
        for (qsizetype r = run.first; r <= run.last; ++r)
            cells.add(r, run.column);
    return cells;
}

// A stored size; the card's becomes the canvas size, so an overflowing or negative number is damage.
static std::optional<QSizeF> usableSize(const plist::Value &item)
{
    const QSizeF size = GeometryText::sizeIn(item.toString());
    if (!std::isfinite(size.width()) || !std::isfinite(size.height()) || size.width() < 0 ||
        size.height() < 0)
        return std::nullopt;
    return size;
}

// Reads one stored field into the page settings; false with a reason when its value is damaged.
static bool readField(const CardPageFields::Field &f, const plist::Value &item, qsizetype index,
                      Card_Property &p, QString *reason)
{
    using CardPageFields::Kind;
    QString err;
    switch (f.kind) {
    case Kind::Flag:
        p.*CardPageFields::get<bool>(f) = item.toString() == QLatin1String("Y");
        break;
    case Kind::Color: {
        const std::optional<QColor> c = KeyedUnarchiver::unarchiveColor(item.toData(), &err);
        if (!c)
            return fail(reason, QStringLiteral("item %1 is not a colour archive: %2").arg(index).arg(err));
        p.*CardPageFields::get<QColor>(f) = *c;
        break;
    }
    case Kind::Int:
        p.*CardPageFields::get<qint32>(f) = DesignFileFormat::leadingInt(item.toString());
        break;
    case Kind::String:
        p.*CardPageFields::get<QString>(f) = item.toString();
        break;
    case Kind::Float:
        p.*CardPageFields::get<float>(f) = DesignFileFormat::leadingFloat(item.toString());
        break;
    case Kind::Point: {
        const QPointF point = GeometryText::pointIn(item.toString());
        if (!std::isfinite(point.x()) || !std::isfinite(point.y()))
            return fail(reason, QStringLiteral("item %1 holds no usable card position").arg(index));
        p.*CardPageFields::get<QPointF>(f) = point;
        break;
    }
    case Kind::Font: {
        const std::optional<FontDescriptor> font = KeyedUnarchiver::unarchiveFont(item.toData(), &err);
        if (!font)
            return fail(reason, QStringLiteral("item %1 is not a font archive: %2").arg(index).arg(err));
        p.*CardPageFields::get<FontDescriptor>(f) = *font;
        break;
    }
    }
    return true;
}

// The card's outline and size as one side stores them.
struct StoredCard {
    QString outlineCode;
    QSizeF size;
};

static bool readSide(const plist::Array &items, qsizetype start, Card_Property &p, StoredCard &card,
                     QString *reason)
{
    using CardPageFields::Kind;
    for (int k = 0; k < DesignFileFormat::SideFieldCount; ++k) {
        const plist::Value &item = items.at(start + k);
        const bool cardField = k == CardPageFields::OutlinePlace || k == CardPageFields::SizePlace;
        const CardPageFields::Field *f =
            cardField ? nullptr : &CardPageFields::Table[size_t(CardPageFields::pageFieldAt(k))];
        const char *name = k == CardPageFields::OutlinePlace ? CardPageFields::OutlineName
                           : k == CardPageFields::SizePlace  ? CardPageFields::SizeName
                                                             : f->name;
        const QString where = QStringLiteral("item %1 (%2)").arg(start + k).arg(QString::fromLatin1(name));
        const bool wantsData = f && (f->kind == Kind::Color || f->kind == Kind::Font);
        if (wantsData ? !item.isData() : !item.isString())
            return fail(reason, where + QStringLiteral(" has the wrong kind of value"));
    }
    for (int k = 0; k < DesignFileFormat::SideFieldCount; ++k) {
        const plist::Value &item = items.at(start + k);
        if (k == CardPageFields::OutlinePlace) {
            card.outlineCode = item.toString();
        } else if (k == CardPageFields::SizePlace) {
            const std::optional<QSizeF> size = usableSize(item);
            if (!size)
                return fail(reason, QStringLiteral("item %1 holds no usable card size").arg(start + k));
            card.size = *size;
        } else if (!readField(CardPageFields::Table[size_t(CardPageFields::pageFieldAt(k))], item, start + k,
                              p, reason)) {
            return false;
        }
    }
    p.Card_BG_Image.reset();
    return true;
}

// What the objects of one design may cost to decode: a small file can name one archive many times.
struct ObjectBudget {
    qsizetype objects = 0;
    qint64 archiveBytes = 0;
};

static bool readObjects(const plist::Array &items, qsizetype &pos, GraphicList &out, ObjectBudget &budget,
                        QString *reason)
{
    if (pos >= items.size())
        return fail(reason, QStringLiteral("the object count at item %1 is missing").arg(pos));
    if (!items.at(pos).isString())
        return fail(reason, QStringLiteral("item %1 is not an object count").arg(pos));
    const int n = DesignFileFormat::leadingInt(items.at(pos).toString());
    ++pos;
    if (n < 0 || n > items.size() - pos)
        return fail(reason,
                    QStringLiteral("the object count %1 at item %2 exceeds the items").arg(n).arg(pos - 1));
    budget.objects += n;
    if (budget.objects > DesignFileFormat::MaxObjects)
        return fail(reason, QStringLiteral("the design is too large: it holds more than %1 objects")
                                .arg(DesignFileFormat::MaxObjects));
    // Sizes first, so that nothing is decoded for a design that is refused.
    for (qsizetype at = pos; at < pos + n; ++at) {
        if (!items.at(at).isData())
            return fail(reason, QStringLiteral("item %1 is not an object archive").arg(at));
        budget.archiveBytes += items.at(at).toData().size();
        if (budget.archiveBytes > DesignFileFormat::MaxObjectArchiveBytes)
            return fail(reason, QStringLiteral("the design is too large: its objects hold more than %1 MB")
                                    .arg(DesignFileFormat::MaxObjectArchiveBytes >> 20));
    }
    for (int i = 0; i < n; ++i, ++pos) {
        QString err;
        GraphicPtr g = SKTGraphic::unarchive(items.at(pos).toData(), &err);
        if (!g)
            return fail(reason,
                        QStringLiteral("item %1 is not a valid object archive: %2").arg(pos).arg(err));
        // Pictures are not stored: load them again from the path the object carries.
        if (g->kind() == SKTGraphic::Kind::Image && g->_file_path)
            static_cast<SKTImage &>(*g).setFilePath(*g->_file_path);
        out.append(g);
    }
    return true;
}

// Where the binding items start: after the marker and both sides' fields.
static constexpr qsizetype BindingItems = 1 + 2 * DesignFileFormat::SideFieldCount;
static_assert(BindingItems + 3 == DesignFileFormat::RowsItem);

bool DesignFileFormat::parseItems(const plist::Array &items, CardDesign *out, QString *reason,
                                  BindingRows taken)
{
    if (items.isEmpty() || !items.first().isString() || items.first().toString() != Marker)
        return fail(reason, QStringLiteral("the design marker is missing"));
    if (items.size() < FixedItemCount)
        return fail(reason,
                    QStringLiteral("the file holds %1 items, fewer than a design has").arg(items.size()));
    CardDesign c;
    StoredCard front, back;
    if (!readSide(items, 1, c.frontPage, front, reason) ||
        !readSide(items, 1 + SideFieldCount, c.backPage, back, reason))
        return false;
    // Both pages store the card's outline and size; the front's are the card's, as they always were.
    c.setOutlineCode(front.outlineCode);
    c.setCardSize(front.size);
    const qsizetype b = BindingItems; // the binding items
    if (!items.at(b).isString() || !items.at(b + 1).isString() || !items.at(b + 2).isArray() ||
        !items.at(b + 3).isArray())
        return fail(reason, QStringLiteral("the Excel binding items have the wrong kind of value"));
    c.binding.Excel_Binding_Use = items.at(b).toString() == QLatin1String("Y");
    c.binding.Excel_Source_Path = items.at(b + 1).toString();
    QStringList titles; // all column titles as stored, the row-number column's first
    for (const plist::Value &t : items.at(b + 2).toArray()) {
        if (!t.isString())
            return fail(reason, QStringLiteral("a column title is not a string"));
        titles.append(t.toString());
    }
    BindingRows rows = std::move(taken);
    for (const plist::Value &r : items.at(b + 3).toArray()) {
        if (!r.isDict())
            return fail(reason, QStringLiteral("a binding row is not a dictionary"));
        rows.appendRow();
        for (const auto &[key, value] : r.toDict().items()) {
            if (!value.isString())
                return fail(reason, QStringLiteral("a binding cell is not a string"));
            rows.set(rows.size() - 1, rows.addKey(key), value.toString());
        }
    }
    rows.squeeze();
    qsizetype pos = b + 4; // the front object count
    ObjectBudget budget;
    if (!readObjects(items, pos, c.front, budget, reason) || !readObjects(items, pos, c.back, budget, reason))
        return false;
    // An empty list stands for a design without columns. The sheet's numbers of rows kept in a
    // design follow from the facts; the formula marks are kept.
    c.binding.setColumnTitles(titles.mid(1));
    c.binding.setRows(rows);
    if (pos < items.size() && items.at(pos).isDict()) {
        c.binding.sourceFacts = workbookFactsOf(items.at(pos).toDict());
        c.binding.setWorkbookOrigin({}, uncomputedOf(items.at(pos).toDict(), titles, rows));
    }
    if (out)
        *out = std::move(c);
    return true;
}

bool DesignFileFormat::parse(const QByteArray &fileBytes, CardDesign *out, QString *reason)
{
    QBuffer input;
    input.setData(fileBytes);
    input.open(QIODevice::ReadOnly);
    return parse(input, out, reason);
}

bool DesignFileFormat::parse(QIODevice &input, CardDesign *out, QString *reason)
{
    // The binding rows go straight into the table as they are read: a tree of a hundred thousand
    // rows took several times what the table takes. A row with a cell that is not a string stays in
    // the tree, where parseItems refuses it.
    BindingRows rows;
    const PropertyList::DictSink sink{RowsItem, [&rows](const plist::Dict &row) {
                                          for (const auto &[key, value] : row.items()) {
                                              if (!value.isString())
                                                  return false;
                                          }
                                          rows.appendRow();
                                          for (const auto &[key, value] : row.items())
                                              rows.set(rows.size() - 1, rows.addKey(key), value.toString());
                                          return true;
                                      }};
    const PropertyList::ReadResult r = PropertyList::read(input, &sink);
    if (!r.ok)
        return fail(reason, r.error);
    if (!r.value.isArray())
        return fail(reason, QStringLiteral("the file does not hold a list of items"));
    // Handed over, not shared: giving back their spare room then changes them in place, where a
    // shared copy would have made a second copy of every column.
    return parseItems(r.value.toArray(), out, reason, std::move(rows));
}
