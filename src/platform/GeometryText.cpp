#include "platform/GeometryText.h"

#include <QList>
#include <QLocale>
#include <QRegularExpression>

#include <cmath>

namespace
{

// The numbers of "{a, b}" (count 2) or "{{a, b}, {c, d}}" (count 4), or nullopt for another shape.
std::optional<QList<double>> strictNumbers(const QString &text, int count)
{
    static const QString num = QStringLiteral(R"(\s*(%1)\s*)").arg(GeometryText::numberPattern());
    static const QRegularExpression pair(QStringLiteral(R"(^\s*\{%1,%1\}\s*$)").arg(num));
    static const QRegularExpression rect(
        QStringLiteral(R"(^\s*\{\s*\{%1,%1\}\s*,\s*\{%1,%1\}\s*\}\s*$)").arg(num));
    const QRegularExpressionMatch m = (count == 4 ? rect : pair).match(text);
    if (!m.hasMatch())
        return std::nullopt;
    QList<double> out;
    for (int i = 1; i <= count; ++i) {
        bool ok = false;
        const double v = QLocale::c().toDouble(m.captured(i), &ok);
        if (!ok || !std::isfinite(v))
            return std::nullopt;
        out.append(v);
    }
    return out;
}

QList<double> firstNumbers(const QString &text, int wanted)
{
    static const QRegularExpression re(GeometryText::numberPattern());
    QList<double> numbers;
    auto it = re.globalMatch(text);
    while (it.hasNext() && numbers.size() < wanted)
        numbers.append(it.next().captured(0).toDouble());
    while (numbers.size() < wanted)
        numbers.append(0.0);
    return numbers;
}

} // namespace

QString GeometryText::numberPattern()
{
    return QStringLiteral(R"([-+]?(?:\d+\.?\d*|\.\d+)(?:[eE][-+]?\d+)?)");
}

QString GeometryText::number(double v)
{
    // Plain decimal, no exponent, as few digits as give the value back exactly.
    if (!std::isfinite(v) || v == 0)
        return QStringLiteral("0");
    return QLocale::c().toString(v, 'f', QLocale::FloatingPointShortest);
}

QString GeometryText::point(const QPointF &p)
{
    return QStringLiteral("{%1, %2}").arg(number(p.x()), number(p.y()));
}

QString GeometryText::size(const QSizeF &s)
{
    return QStringLiteral("{%1, %2}").arg(number(s.width()), number(s.height()));
}

QString GeometryText::rect(const QRectF &r)
{
    return QStringLiteral("{{%1, %2}, {%3, %4}}")
        .arg(number(r.x()), number(r.y()), number(r.width()), number(r.height()));
}

std::optional<QPointF> GeometryText::parsePoint(const QString &text)
{
    const auto n = strictNumbers(text, 2);
    return n ? std::optional<QPointF>(QPointF(n->at(0), n->at(1))) : std::nullopt;
}

std::optional<QSizeF> GeometryText::parseSize(const QString &text)
{
    const auto n = strictNumbers(text, 2);
    return n ? std::optional<QSizeF>(QSizeF(n->at(0), n->at(1))) : std::nullopt;
}

std::optional<QRectF> GeometryText::parseRect(const QString &text)
{
    const auto n = strictNumbers(text, 4);
    return n ? std::optional<QRectF>(QRectF(n->at(0), n->at(1), n->at(2), n->at(3))) : std::nullopt;
}

QPointF GeometryText::pointIn(const QString &text)
{
    const QList<double> n = firstNumbers(text, 2);
    return QPointF(n[0], n[1]);
}

QSizeF GeometryText::sizeIn(const QString &text)
{
    const QList<double> n = firstNumbers(text, 2);
    return QSizeF(n[0], n[1]);
}
