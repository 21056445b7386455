// Gives every stored page field a value of its own, unlike its default and unlike the other
// fields', and compares two page settings field by field, so a round trip is checked for every
// field the table lists, new ones included.
#pragma once

#include "model/CardPageFields.h"

#include <QStringList>

#include <type_traits>

namespace testsupport
{

inline Card_Property pageWithEveryFieldSet()
{
    Card_Property p;
    int k = 0;
    for (const CardPageFields::Field &field : CardPageFields::Table) {
        ++k;
        std::visit(
            [&](auto member) {
                using T = std::remove_cvref_t<decltype(p.*member)>;
                T &value = p.*member;
                if constexpr (std::is_same_v<T, bool>)
                    value = !value;
                else if constexpr (std::is_same_v<T, QColor>)
                    value = QColor(5 * k, 255 - 5 * k, 40, 200);
                else if constexpr (std::is_same_v<T, qint32>)
                    value = 100 + k;
                else if constexpr (std::is_same_v<T, float>)
                    value = 10.5f + float(k);
                else if constexpr (std::is_same_v<T, QString>)
                    value = QStringLiteral("value %1").arg(k);
                else if constexpr (std::is_same_v<T, QPointF>)
                    value = QPointF(k + 0.25, -k);
                else
                    value = FontDescriptor{QStringLiteral("Font%1").arg(k), 8.5 + k};
            },
            field.member);
    }
    return p;
}

// Names of the fields whose values differ.
inline QStringList differingPageFields(const Card_Property &a, const Card_Property &b)
{
    QStringList names;
    for (const CardPageFields::Field &field : CardPageFields::Table) {
        std::visit(
            [&](auto member) {
                if (!(a.*member == b.*member))
                    names << QString::fromLatin1(field.name);
            },
            field.member);
    }
    return names;
}

} // namespace testsupport
