// One property-list value: lenient accessors, copy-on-write containers and deep comparison.
// Numbers convert between kinds without undefined behaviour, whatever a damaged file holds.
#include "platform/PlistValue.h"

#include <QStringList>

#include <cmath>
#include <limits>

namespace plist
{

namespace
{
const Array &emptyArray()
{
    static const Array a;
    return a;
}
const Dict &emptyDict()
{
    static const Dict d;
    return d;
}
} // namespace

qsizetype Dict::indexOf(const QString &key) const
{
    for (qsizetype i = 0; i < m_items.size(); ++i) {
        if (m_items.at(i).first == key)
            return i;
    }
    return -1;
}

const Value *Dict::find(const QString &key) const
{
    const qsizetype i = indexOf(key);
    return i < 0 ? nullptr : &m_items.at(i).second;
}

Value *Dict::find(const QString &key)
{
    const qsizetype i = indexOf(key);
    return i < 0 ? nullptr : &m_items[i].second;
}

Value Dict::value(const QString &key) const
{
    const Value *v = find(key);
    return v ? *v : Value();
}

void Dict::insert(const QString &key, Value v)
{
    const qsizetype i = indexOf(key);
    if (i >= 0)
        m_items[i].second = std::move(v);
    else
        m_items.append({key, std::move(v)});
}

bool Dict::remove(const QString &key)
{
    const qsizetype i = indexOf(key);
    if (i < 0)
        return false;
    m_items.removeAt(i);
    return true;
}

Dict Dict::fromUniqueItems(QList<QPair<QString, Value>> items)
{
    Dict d;
    d.m_items = std::move(items);
    return d;
}

QStringList Dict::keys() const
{
    QStringList out;
    out.reserve(m_items.size());
    for (const auto &item : m_items)
        out.append(item.first);
    return out;
}

bool Dict::operator==(const Dict &o) const
{
    // Key order does not matter for equality; plists written by others order keys freely.
    if (m_items.size() != o.m_items.size())
        return false;
    for (const auto &item : m_items) {
        const Value *other = o.find(item.first);
        if (!other || !(*other == item.second))
            return false;
    }
    return true;
}

bool Value::toBool() const
{
    switch (type()) {
    case Type::Bool:
        return std::get<bool>(m_v);
    case Type::Integer:
        return std::get<qint64>(m_v) != 0;
    case Type::Real:
        return std::get<double>(m_v) != 0.0;
    default:
        return false;
    }
}

qint64 Value::toInteger() const
{
    switch (type()) {
    case Type::Bool:
        return std::get<bool>(m_v) ? 1 : 0;
    case Type::Integer:
        return std::get<qint64>(m_v);
    case Type::Real: {
        // Saturate rather than overflow: a damaged file may hold any double.
        const double d = std::get<double>(m_v);
        if (std::isnan(d))
            return 0;
        if (d >= 9223372036854775807.0)
            return std::numeric_limits<qint64>::max();
        if (d <= -9223372036854775808.0)
            return std::numeric_limits<qint64>::min();
        return qint64(d);
    }
    case Type::Uid:
        return qint64(std::get<Uid>(m_v).value & 0x7fffffffffffffffULL);
    default:
        return 0;
    }
}

double Value::toReal() const
{
    switch (type()) {
    case Type::Bool:
        return std::get<bool>(m_v) ? 1.0 : 0.0;
    case Type::Integer:
        return double(std::get<qint64>(m_v));
    case Type::Real:
        return std::get<double>(m_v);
    default:
        return 0.0;
    }
}

QString Value::toString() const
{
    return type() == Type::String ? std::get<QString>(m_v) : QString();
}

QByteArray Value::toData() const
{
    return type() == Type::Data ? std::get<QByteArray>(m_v) : QByteArray();
}

QDateTime Value::toDate() const
{
    return type() == Type::Date ? std::get<QDateTime>(m_v) : QDateTime();
}

Uid Value::toUid() const
{
    return type() == Type::Uid ? std::get<Uid>(m_v) : Uid{};
}

const Array &Value::toArray() const
{
    if (type() != Type::Array)
        return emptyArray();
    const auto &p = std::get<std::shared_ptr<plist::Array>>(m_v);
    return p ? *p : emptyArray();
}

const Dict &Value::toDict() const
{
    if (type() != Type::Dict)
        return emptyDict();
    const auto &p = std::get<std::shared_ptr<plist::Dict>>(m_v);
    return p ? *p : emptyDict();
}

plist::Array &Value::array()
{
    if (type() != Type::Array) {
        m_v = std::make_shared<plist::Array>();
    } else {
        auto &p = std::get<std::shared_ptr<plist::Array>>(m_v);
        if (!p)
            p = std::make_shared<plist::Array>();
        else if (p.use_count() > 1)
            p = std::make_shared<plist::Array>(*p); // copy on write
    }
    return *std::get<std::shared_ptr<plist::Array>>(m_v);
}

plist::Dict &Value::dict()
{
    if (type() != Type::Dict) {
        m_v = std::make_shared<plist::Dict>();
    } else {
        auto &p = std::get<std::shared_ptr<plist::Dict>>(m_v);
        if (!p)
            p = std::make_shared<plist::Dict>();
        else if (p.use_count() > 1)
            p = std::make_shared<plist::Dict>(*p); // copy on write
    }
    return *std::get<std::shared_ptr<plist::Dict>>(m_v);
}

bool Value::operator==(const Value &o) const
{
    if (type() != o.type())
        return false;
    switch (type()) {
    case Type::Null:
        return true;
    case Type::Bool:
        return std::get<bool>(m_v) == std::get<bool>(o.m_v);
    case Type::Integer:
        return std::get<qint64>(m_v) == std::get<qint64>(o.m_v);
    case Type::Real: {
        const double a = std::get<double>(m_v), b = std::get<double>(o.m_v);
        return a == b || (std::isnan(a) && std::isnan(b));
    }
    case Type::String:
        return std::get<QString>(m_v) == std::get<QString>(o.m_v);
    case Type::Data:
        return std::get<QByteArray>(m_v) == std::get<QByteArray>(o.m_v);
    case Type::Date:
        return std::get<QDateTime>(m_v) == std::get<QDateTime>(o.m_v);
    case Type::Array:
        return toArray() == o.toArray();
    case Type::Dict:
        return toDict() == o.toDict();
    case Type::Uid:
        return std::get<Uid>(m_v) == std::get<Uid>(o.m_v);
    }
    return false;
}

} // namespace plist
