// cardtool design-dump: prints a design file as JSON: both pages' settings, every object's fields
// under their archive keys, and the Excel binding.
#include "Command.h"

#include "editor/DesignFile.h"
#include "model/CardPageFields.h"
#include "model/GraphicFields.h"
#include "model/SKTLine.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace
{

QJsonValue num(double v)
{
    return std::isfinite(v) ? QJsonValue(v) : QJsonValue();
}

// A colour channel is kept in 16 bits: print the shortest decimal that gives the same channel.
double channel(double v)
{
    const long stored = std::lround(v * 65535.0);
    for (int digits = 1; digits <= 6; ++digits) {
        const double scale = std::pow(10.0, digits);
        const double r = std::round(v * scale) / scale;
        if (std::lround(r * 65535.0) == stored)
            return r;
    }
    return v;
}

QJsonValue color(const QColor &c)
{
    if (!c.isValid())
        return QJsonValue();
    const QColor rgb = c.toRgb();
    return QJsonArray{channel(rgb.redF()), channel(rgb.greenF()), channel(rgb.blueF()),
                      channel(rgb.alphaF())};
}

QJsonValue color(const std::optional<QColor> &c)
{
    return c ? color(*c) : QJsonValue();
}

QJsonValue font(const FontDescriptor &f)
{
    return QJsonObject{{QStringLiteral("name"), f.postScriptName}, {QStringLiteral("size"), num(f.size)}};
}

QJsonValue font(const std::optional<FontDescriptor> &f)
{
    return f ? font(*f) : QJsonValue();
}

QJsonValue str(const std::optional<QString> &s)
{
    return s ? QJsonValue(*s) : QJsonValue();
}

QJsonValue text(const std::optional<AttributedText> &t)
{
    return t ? QJsonValue(QJsonObject{{QStringLiteral("text"), t->text}}) : QJsonValue();
}

QJsonValue picture(const std::optional<Picture> &p)
{
    if (!p)
        return QJsonValue();
    return QJsonObject{{QStringLiteral("width"), num(p->size().width())},
                       {QStringLiteral("height"), num(p->size().height())}};
}

QJsonValue point(const QPointF &p)
{
    return QJsonArray{num(p.x()), num(p.y())};
}

QJsonValue size(const QSizeF &s)
{
    return QJsonArray{num(s.width()), num(s.height())};
}

QJsonValue rect(const QRectF &r)
{
    return QJsonArray{num(r.x()), num(r.y()), num(r.width()), num(r.height())};
}

// One stored value as JSON, whatever table it comes from.
template <typename T> QJsonValue json(const T &v)
{
    if constexpr (std::is_same_v<T, bool> || std::is_same_v<T, qint32> || std::is_same_v<T, QString>)
        return v;
    else if constexpr (std::is_same_v<T, float> || std::is_same_v<T, double>)
        return num(v);
    else if constexpr (std::is_same_v<T, QPointF>)
        return point(v);
    else if constexpr (std::is_same_v<T, QSizeF>)
        return size(v);
    else if constexpr (std::is_same_v<T, QRectF>)
        return rect(v);
    else if constexpr (std::is_same_v<T, std::optional<QString>>)
        return str(v);
    else if constexpr (std::is_same_v<T, std::optional<AttributedText>>)
        return text(v);
    else if constexpr (std::is_same_v<T, std::optional<Picture>>)
        return picture(v);
    else if constexpr (std::is_same_v<T, QColor> || std::is_same_v<T, std::optional<QColor>>)
        return color(v);
    else
        return font(v);
}

// A page as the file stores it: its fields with the design's outline and size among them.
QJsonObject page(const Card_Property &p, const DesignSettings &design)
{
    QJsonObject o;
    for (const CardPageFields::Field &field : CardPageFields::Table)
        std::visit([&](auto member) { o[QLatin1String(field.name)] = json(p.*member); }, field.member);
    o[QLatin1String(CardPageFields::OutlineName)] = design.outlineCode();
    o[QLatin1String(CardPageFields::SizeName)] = size(design.storedCardSize());
    return o;
}

QJsonObject object(const SKTGraphic &g)
{
    QJsonObject o;
    o[QStringLiteral("class")] = g.className();
    for (const GraphicFields::Field &field : GraphicFields::Table)
        std::visit([&](auto member) { o[QLatin1String(field.name)] = json(g.*member); }, field.member);
    if (g.kind() == SKTGraphic::Kind::Line) {
        const auto &line = static_cast<const SKTLine &>(g);
        o[QStringLiteral("_pointsRight")] = line._pointsRight;
        o[QStringLiteral("_pointsDown")] = line._pointsDown;
    }
    return o;
}

QJsonObject side(const Card_Property &p, const DesignSettings &design, const GraphicList &objects)
{
    QJsonArray list;
    for (const GraphicPtr &g : objects)
        list.append(object(*g));
    return QJsonObject{{QStringLiteral("page"), page(p, design)}, {QStringLiteral("objects"), list}};
}

} // namespace

CARDTOOL_COMMAND(designDump, "design-dump", "IN.dcard")
{
    if (args.size() != 1) {
        cardtool::fail(QStringLiteral("design-dump needs one input path"));
        return 1;
    }
    QByteArray bytes;
    CardDesign c;
    QString reason;
    if (!DesignFile::readFileBytes(args.first(), &bytes, &reason) ||
        !DesignFileFormat::parse(bytes, &c, &reason)) {
        cardtool::fail(DesignFile::CorruptMessage);
        return 1;
    }
    QJsonArray titles;
    for (const QString &t : c.binding.columnTitles())
        titles.append(t);
    QJsonArray rows;
    for (const ExcelBindingTable::Row &row : c.binding.ListData()) {
        QJsonObject r;
        for (auto it = row.cbegin(); it != row.cend(); ++it)
            r[it.key()] = it.value();
        rows.append(r);
    }
    const QJsonObject excel{{QStringLiteral("use"), c.binding.Excel_Binding_Use},
                            {QStringLiteral("path"), c.binding.Excel_Source_Path},
                            {QStringLiteral("titles"), titles},
                            {QStringLiteral("rows"), rows}};
    const QJsonObject root{{QStringLiteral("front"), side(c.frontPage, c, c.front)},
                           {QStringLiteral("back"), side(c.backPage, c, c.back)},
                           {QStringLiteral("excel"), excel}};
    return cardtool::writeStdout(QJsonDocument(root).toJson(QJsonDocument::Indented)) ? 0 : 1;
}
