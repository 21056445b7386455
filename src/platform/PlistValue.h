// One property-list value: the tree that the XML and binary property-list readers build and writers take.
// Dictionaries keep their keys in insertion order, so archives are written in the order they were built.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QPair>
#include <QString>

#include <memory>
#include <variant>

namespace plist
{

// Seconds from 1970 to 2001-01-01, the epoch of binary and archive dates.
constexpr qint64 Epoch2001Secs = 978307200;

// A reference into a keyed archive's object table.
struct Uid {
    quint64 value = 0;
    bool operator==(const Uid &o) const { return value == o.value; }
};

class Value;
using Array = QList<Value>;

// A dictionary that keeps key order; lookups are linear, which suits the small dictionaries plists hold.
class Dict
{
public:
    bool contains(const QString &key) const { return indexOf(key) >= 0; }
    const Value *find(const QString &key) const;
    Value *find(const QString &key);
    Value value(const QString &key) const;    // Null value when absent
    void insert(const QString &key, Value v); // replaces in place or appends
    bool remove(const QString &key);
    qsizetype size() const { return m_items.size(); }
    bool isEmpty() const { return m_items.isEmpty(); }
    const QList<QPair<QString, Value>> &items() const { return m_items; }
    QStringList keys() const;
    bool operator==(const Dict &o) const;
    // Builds a dictionary from pairs whose keys are already unique (readers dedupe with a hash,
    // so that a hostile file with many keys is not quadratic).
    static Dict fromUniqueItems(QList<QPair<QString, Value>> items);

private:
    qsizetype indexOf(const QString &key) const;
    QList<QPair<QString, Value>> m_items;
};

class Value
{
public:
    enum class Type { Null, Bool, Integer, Real, String, Data, Date, Array, Dict, Uid };

    Value() = default;
    Value(bool b) : m_v(b) {}
    Value(int i) : m_v(qint64(i)) {}
    Value(qint64 i) : m_v(i) {}
    Value(double d) : m_v(d) {}
    Value(const char *s) : m_v(QString::fromUtf8(s)) {}
    Value(const QString &s) : m_v(s) {}
    Value(const QByteArray &d) : m_v(d) {}
    Value(const QDateTime &t) : m_v(t) {}
    Value(const plist::Array &a) : m_v(std::make_shared<plist::Array>(a)) {}
    Value(const plist::Dict &d) : m_v(std::make_shared<plist::Dict>(d)) {}
    Value(Uid u) : m_v(u) {}

    Type type() const { return Type(m_v.index()); }
    bool isNull() const { return type() == Type::Null; }
    bool isBool() const { return type() == Type::Bool; }
    bool isInteger() const { return type() == Type::Integer; }
    bool isReal() const { return type() == Type::Real; }
    bool isNumber() const { return isInteger() || isReal(); }
    bool isString() const { return type() == Type::String; }
    bool isData() const { return type() == Type::Data; }
    bool isDate() const { return type() == Type::Date; }
    bool isArray() const { return type() == Type::Array; }
    bool isDict() const { return type() == Type::Dict; }
    bool isUid() const { return type() == Type::Uid; }

    // Lenient readers: a value of another kind gives the zero of the asked kind
    // (numbers convert between integer, real and bool).
    bool toBool() const;
    qint64 toInteger() const;
    double toReal() const;
    QString toString() const;
    QByteArray toData() const;
    QDateTime toDate() const;
    Uid toUid() const;
    const plist::Array &toArray() const; // empty array when not an array
    const plist::Dict &toDict() const;   // empty dict when not a dict
    plist::Array &array();               // turns the value into an array if it is not one
    plist::Dict &dict();                 // turns the value into a dict if it is not one

    bool operator==(const Value &o) const;
    bool operator!=(const Value &o) const { return !(*this == o); }

private:
    // Containers are shared pointers so that Value stays cheap to copy; they are copied on write.
    std::variant<std::monostate, bool, qint64, double, QString, QByteArray, QDateTime,
                 std::shared_ptr<plist::Array>, std::shared_ptr<plist::Dict>, Uid>
        m_v;
};

} // namespace plist
