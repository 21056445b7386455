#include "editor/DesignFileFormat.h"

#include "foundation/CardCodes.h"
#include "model/SKTImage.h"
#include "platform/GeometryText.h"
#include "platform/KeyedArchiver.h"
#include "platform/KeyedUnarchiver.h"
#include "platform/PropertyList.h"

#include <QRegularExpression>

#include <climits>
#include <cmath>

namespace
{

enum class FieldKind { Flag, Color, Int, String, Float, Point, Size, Font };

struct SideField {
    const char *name;
    FieldKind kind;
};

// The page fields in stored order.
const SideField kSideFields[DesignFileFormat::SideFieldCount] = {
    {"Card_border_chk", FieldKind::Flag},
    {"Card_bordr_clr", FieldKind::Color},
    {"Card_bor_Stepper", FieldKind::Int},
    {"Card_border_style", FieldKind::String},
    {"Card_fill_chk", FieldKind::Flag},
    {"Card_fill_style", FieldKind::String},
    {"Card_fill_clr", FieldKind::Color},
    {"Card_fill_Grd_1_clr", FieldKind::Color},
    {"Card_fill_Grd_2_clr", FieldKind::Color},
    {"Card_grad_Stepper", FieldKind::Int},
    {"Card_hatch_style", FieldKind::String},
    {"Card_hatch_bk_clr", FieldKind::Color},
    {"Card_alpha_Stepper", FieldKind::Float},
    {"Card_Side", FieldKind::String},
    {"Card_Side_Name", FieldKind::String},
    {"Card_Shape", FieldKind::String},
    {"Card_Name", FieldKind::String},
    {"Card_Location", FieldKind::Point},
    {"Card_Size", FieldKind::Size},
    {"Card_Preset", FieldKind::String},
    {"Card_Category", FieldKind::String},
    {"Card_Sub_Category", FieldKind::String},
    {"Card_Cat_index", FieldKind::Int},
    {"Card_Create_Mode", FieldKind::String},
    {"Card_BG_Image_Path", FieldKind::String},
    {"Card_BG_Image_Layout", FieldKind::String},
    {"Card_Content_clr", FieldKind::Color},
    {"Card_Content_font", FieldKind::Font},
};

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

int DesignFileFormat::cardShapeIndex(const QString &code)
{
    if (code == OutlineCode::RoundedRectangle)
        return 1;
    if (code == OutlineCode::Ellipse)
        return 2;
    return 0;
}

void DesignFileFormat::appendSide(plist::Array &items, Card_Property &p)
{
    const QColor black(0, 0, 0), white(255, 255, 255);
    auto color = [&](const QColor &c, const QColor &fallback) {
        items.append(plist::Value(KeyedArchiver::archivedColor(colorOrDefault(c, fallback))));
    };
    auto text = [&](const QString &s) {
        items.append(plist::Value(s.isNull() ? QString(QLatin1String("")) : s));
    };
    auto number = [&](int v) { items.append(plist::Value(QString::number(v))); };

    text(flagText(p.Card_border_chk));
    color(p.Card_bordr_clr, black);
    number(p.Card_bor_Stepper);
    text(p.Card_border_style);
    text(flagText(p.Card_fill_chk));
    text(p.Card_fill_style);
    color(p.Card_fill_clr, white);
    color(p.Card_fill_Grd_1_clr, white);
    color(p.Card_fill_Grd_2_clr, white);
    number(p.Card_grad_Stepper);
    text(p.Card_hatch_style);
    color(p.Card_hatch_bk_clr, white);
    text(QString::asprintf("%0.2f", double(p.Card_alpha_Stepper)));
    text(p.Card_Side);
    text(p.Card_Side_Name);
    text(p.Card_Shape);
    text(p.Card_Name);
    text(GeometryText::point(p.Card_Location));
    text(GeometryText::size(p.Card_Size));
    text(p.Card_Preset);
    text(p.Card_Category);
    text(p.Card_Sub_Category);
    number(p.Card_Cat_index);
    text(p.Card_Create_Mode);
    // The picture path is kept only while the picture is the page fill.
    if (p.Card_fill_style != FillCode::Picture)
        p.Card_BG_Image_Path = QString(QLatin1String(""));
    text(p.Card_BG_Image_Path);
    text(p.Card_BG_Image_Layout);
    color(p.Card_Content_clr, black);
    const FontDescriptor font =
        p.Card_Content_font.isValid() ? p.Card_Content_font : Card_Property::defaultContentFont();
    items.append(plist::Value(KeyedArchiver::archivedFont(font)));
}

plist::Array DesignFileFormat::buildItems(Card_Property &front, Card_Property &back,
                                          const ExcelBindingTable &binding, const GraphicList &frontObjects,
                                          const GraphicList &backObjects)
{
    plist::Array items;
    items.append(plist::Value(Marker));
    appendSide(items, front);
    appendSide(items, back);
    items.append(plist::Value(flagText(binding.Excel_Binding_Use)));
    items.append(plist::Value(binding.Excel_Source_Path.isNull() ? QString(QLatin1String(""))
                                                                 : binding.Excel_Source_Path));
    plist::Array titles;
    for (const QString &t : binding.columnTitles())
        titles.append(plist::Value(t));
    items.append(plist::Value(titles));
    plist::Array rows;
    for (const ExcelBindingTable::Row &row : binding.ListData()) {
        plist::Dict d;
        for (auto it = row.cbegin(); it != row.cend(); ++it)
            d.insert(it.key(), plist::Value(it.value()));
        rows.append(plist::Value(d));
    }
    items.append(plist::Value(rows));
    for (const GraphicList *objects : {&frontObjects, &backObjects}) {
        items.append(plist::Value(QString::number(quint64(objects->size()))));
        for (const GraphicPtr &g : *objects)
            items.append(plist::Value(g->archivedData()));
    }
    return items;
}

static bool readSide(const plist::Array &items, qsizetype start, Card_Property &p, QString *reason)
{
    for (int k = 0; k < DesignFileFormat::SideFieldCount; ++k) {
        const plist::Value &item = items.at(start + k);
        const SideField &f = kSideFields[k];
        const QString where = QStringLiteral("item %1 (%2)").arg(start + k).arg(QString::fromLatin1(f.name));
        const bool wantsData = f.kind == FieldKind::Color || f.kind == FieldKind::Font;
        if (wantsData ? !item.isData() : !item.isString())
            return fail(reason, where + QStringLiteral(" has the wrong kind of value"));
    }
    auto str = [&](int k) { return items.at(start + k).toString(); };
    auto color = [&](int k, QColor *out) {
        QString err;
        const std::optional<QColor> c = KeyedUnarchiver::unarchiveColor(items.at(start + k).toData(), &err);
        if (!c)
            return fail(reason,
                        QStringLiteral("item %1 is not a colour archive: %2").arg(start + k).arg(err));
        *out = *c;
        return true;
    };
    p.Card_border_chk = str(0) == QLatin1String("Y");
    if (!color(1, &p.Card_bordr_clr))
        return false;
    p.Card_bor_Stepper = DesignFileFormat::leadingInt(str(2));
    p.Card_border_style = str(3);
    p.Card_fill_chk = str(4) == QLatin1String("Y");
    p.Card_fill_style = str(5);
    if (!color(6, &p.Card_fill_clr) || !color(7, &p.Card_fill_Grd_1_clr) || !color(8, &p.Card_fill_Grd_2_clr))
        return false;
    p.Card_grad_Stepper = DesignFileFormat::leadingInt(str(9));
    p.Card_hatch_style = str(10);
    if (!color(11, &p.Card_hatch_bk_clr))
        return false;
    p.Card_alpha_Stepper = DesignFileFormat::leadingFloat(str(12));
    p.Card_Side = str(13);
    p.Card_Side_Name = str(14);
    p.Card_Shape = str(15);
    p.Card_Name = str(16);
    p.Card_Location = GeometryText::pointIn(str(17));
    p.Card_Size = GeometryText::sizeIn(str(18));
    // The front size becomes the canvas size: an overflowing or negative number is damage.
    if (!std::isfinite(p.Card_Location.x()) || !std::isfinite(p.Card_Location.y()))
        return fail(reason, QStringLiteral("item %1 holds no usable card position").arg(start + 17));
    if (!std::isfinite(p.Card_Size.width()) || !std::isfinite(p.Card_Size.height()) ||
        p.Card_Size.width() < 0 || p.Card_Size.height() < 0)
        return fail(reason, QStringLiteral("item %1 holds no usable card size").arg(start + 18));
    p.Card_Preset = str(19);
    p.Card_Category = str(20);
    p.Card_Sub_Category = str(21);
    p.Card_Cat_index = DesignFileFormat::leadingInt(str(22));
    p.Card_Create_Mode = str(23);
    p.Card_BG_Image_Path = str(24);
    p.Card_BG_Image_Layout = str(25);
    if (!color(26, &p.Card_Content_clr))
        return false;
    QString err;
    const std::optional<FontDescriptor> font =
        KeyedUnarchiver::unarchiveFont(items.at(start + 27).toData(), &err);
    if (!font)
        return fail(reason, QStringLiteral("item %1 is not a font archive: %2").arg(start + 27).arg(err));
    p.Card_Content_font = *font;
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

bool DesignFileFormat::parseItems(const plist::Array &items, DesignContents *out, QString *reason)
{
    if (items.isEmpty() || !items.first().isString() || items.first().toString() != Marker)
        return fail(reason, QStringLiteral("the design marker is missing"));
    if (items.size() < FixedItemCount)
        return fail(reason,
                    QStringLiteral("the file holds %1 items, fewer than a design has").arg(items.size()));
    DesignContents c;
    if (!readSide(items, 1, c.front, reason) || !readSide(items, 1 + SideFieldCount, c.back, reason))
        return false;
    const qsizetype b = 1 + 2 * SideFieldCount; // 57
    if (!items.at(b).isString() || !items.at(b + 1).isString() || !items.at(b + 2).isArray() ||
        !items.at(b + 3).isArray())
        return fail(reason, QStringLiteral("the Excel binding items have the wrong kind of value"));
    c.excelUse = items.at(b).toString() == QLatin1String("Y");
    c.excelPath = items.at(b + 1).toString();
    for (const plist::Value &t : items.at(b + 2).toArray()) {
        if (!t.isString())
            return fail(reason, QStringLiteral("a column title is not a string"));
        c.titles.append(t.toString());
    }
    for (const plist::Value &r : items.at(b + 3).toArray()) {
        if (!r.isDict())
            return fail(reason, QStringLiteral("a binding row is not a dictionary"));
        ExcelBindingTable::Row row;
        for (const auto &[key, value] : r.toDict().items()) {
            if (!value.isString())
                return fail(reason, QStringLiteral("a binding cell is not a string"));
            row.insert(key, value.toString());
        }
        c.rows.append(row);
    }
    qsizetype pos = b + 4; // 61
    ObjectBudget budget;
    if (!readObjects(items, pos, c.frontObjects, budget, reason) ||
        !readObjects(items, pos, c.backObjects, budget, reason))
        return false;
    if (out)
        *out = std::move(c);
    return true;
}

bool DesignFileFormat::parse(const QByteArray &fileBytes, DesignContents *out, QString *reason)
{
    const PropertyList::ReadResult r = PropertyList::read(fileBytes);
    if (!r.ok)
        return fail(reason, r.error);
    if (!r.value.isArray())
        return fail(reason, QStringLiteral("the file does not hold a list of items"));
    return parseItems(r.value.toArray(), out, reason);
}
