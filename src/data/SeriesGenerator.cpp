#include "SeriesGenerator.h"

#include "SeriesFiles.h"

#include "foundation/StringUtils.h"

#include <QRandomGenerator>

#include <climits>

const QString SeriesGenerator::HelpMessage =
    QStringLiteral("Maintain number of Digits By adding 0's before smaller values. ");
const QString SeriesGenerator::HelpInformative = QStringLiteral(
    "For example:\r\nIf you have to generate a series of barcodes having values from '0' to '200', this "
    "option "
    "automatically converts small values such as '1' to '001' and '11' to '011' to maintain number of digits "
    "same as the highest value in the series.\r\n\r\nSimilarly, if you have selected a series starting from "
    "'001' to '00200', this option automatically converts small values such as '001' to '00001' and '0011' "
    "to "
    "'00011' to maintain number of digits same as the highest value in the series.");

namespace
{

GeneratorResult refused(const QString &message, const QString &field)
{
    return {OpResult::failed(message), field, {}};
}

GeneratorResult passed()
{
    return GeneratorResult{};
}

// Runs deliver over count values made by make(k); a stop by deliver ends the run.
template <typename Make>
GeneratorResult deliverAll(qint64 count, const GeneratedValueSink &deliver, Make make)
{
    for (qint64 k = 0; k < count; ++k) {
        if (!deliver(make(k))) {
            return {OpResult::failed({}), {}, {}}; // stopped: the receiver knows why
        }
    }
    return passed();
}

GeneratorResult gathered(const std::function<GeneratorResult(const GeneratedValueSink &)> &run)
{
    QStringList values;
    GeneratorResult r = run([&values](const QString &v) {
        values.append(v);
        return true;
    });
    if (r.ok())
        r.values = std::move(values);
    return r;
}

} // namespace

int SeriesGenerator::readNumber(const QString &text)
{
    return readNumber(text, nullptr);
}

int SeriesGenerator::readNumber(const QString &text, bool *outOfRange)
{
    if (outOfRange)
        *outOfRange = false;
    qsizetype i = 0;
    while (i < text.size() && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t') ||
                               text[i] == QLatin1Char('\n') || text[i] == QLatin1Char('\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        negative = text[i++] == QLatin1Char('-');
    qint64 value = 0;
    for (; i < text.size() && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'); ++i) {
        value = value * 10 + (text[i].unicode() - u'0');
        if (value > qint64(INT_MAX) + 2)
            value = qint64(INT_MAX) + 2; // held past both limits; keeps reading digits harmlessly
    }
    if (outOfRange)
        *outOfRange = value > (negative ? qint64(INT_MAX) + 1 : qint64(INT_MAX));
    if (negative)
        return int(std::max<qint64>(-value, INT_MIN));
    return int(std::min<qint64>(value, INT_MAX));
}

QString SeriesGenerator::PadZero(const QString &number, int width)
{
    if (number.startsWith(QLatin1Char('-')))
        return QLatin1Char('-') + number.mid(1).rightJustified(std::max(width - 1, 0), QLatin1Char('0'));
    return number.rightJustified(width, QLatin1Char('0'));
}

quint32 SeriesGenerator::getRandomNumberBetweenMin(quint32 min, quint32 max)
{
    if (max <= min)
        return min;
    return min + QRandomGenerator::system()->bounded(max - min + 1);
}

QString SeriesGenerator::checkCountText(const QString &typed)
{
    QString t = Trim_Str(typed);
    if (t.isEmpty() || readNumber(t) == 0)
        t = QStringLiteral("1");
    else if (t.size() > 5)
        t = t.left(5);
    if (readNumber(t) > 10000)
        t = QStringLiteral("10000");
    return t;
}

QString SeriesGenerator::checkLengthText(const QString &typed)
{
    QString t = Trim_Str(typed);
    if (t.isEmpty() || readNumber(t) == 0)
        t = QStringLiteral("1");
    else if (t.size() > 1)
        t = t.left(1);
    if (readNumber(t) > 9)
        t = QStringLiteral("9");
    return t;
}

QString SeriesGenerator::tooLargeMessage()
{
    return QStringLiteral("The range from 'From' to 'To' is too large: a Batch Processing Series file can "
                          "hold at most %1 MB.")
        .arg(SeriesFiles::MaxFileSize >> 20);
}

QString SeriesGenerator::tooManyMessage()
{
    return QStringLiteral("The range from 'From' to 'To' is too large: a Batch Processing Series can hold at "
                          "most %1 values.")
        .arg(MaxValues);
}

bool SeriesGenerator::isWholeNumber(const QString &text)
{
    const QString t = Trim_Str(text);
    qsizetype i = t.startsWith(QLatin1Char('-')) || t.startsWith(QLatin1Char('+')) ? 1 : 0;
    if (i == t.size())
        return false;
    for (; i < t.size(); ++i) {
        if (t[i] < QLatin1Char('0') || t[i] > QLatin1Char('9'))
            return false;
    }
    return true;
}

QString SeriesGenerator::notWholeMessage(const QString &field)
{
    return QStringLiteral(
               "The '%1' value must be a whole number, written in digits only (such as 25 or 1000).")
        .arg(field);
}

GeneratorResult SeriesGenerator::checkSequential(const QString &from, const QString &to)
{
    if (from.isEmpty())
        return refused(QStringLiteral("Please enter valid 'From' value."), QStringLiteral("from"));
    if (to.isEmpty())
        return refused(QStringLiteral("Please enter valid 'To' value."), QStringLiteral("to"));
    // A letter O for a zero or a thousands separator must not quietly change the series.
    if (!isWholeNumber(from))
        return refused(notWholeMessage(QStringLiteral("From")), QStringLiteral("from"));
    if (!isWholeNumber(to))
        return refused(notWholeMessage(QStringLiteral("To")), QStringLiteral("to"));
    bool fromOutOfRange = false, toOutOfRange = false;
    const qint64 a = readNumber(from, &fromOutOfRange);
    const qint64 b = readNumber(to, &toOutOfRange);
    // A number past the 32-bit limits is refused rather than quietly held at the limit.
    if (fromOutOfRange)
        return refused(outOfRangeMessage(QStringLiteral("From")), QStringLiteral("from"));
    if (toOutOfRange)
        return refused(outOfRangeMessage(QStringLiteral("To")), QStringLiteral("to"));
    if (a >= b)
        return refused(QStringLiteral("'From' value must be smaller than 'To' value."),
                       QStringLiteral("from"));
    // 64 bits: the span of two 32-bit numbers can exceed 32.
    if (b - a + 1 > MaxValues)
        return refused(tooManyMessage(), QStringLiteral("to"));
    return passed();
}

QString SeriesGenerator::outOfRangeMessage(const QString &field)
{
    return QStringLiteral("The '%1' value is too large: numbers from %2 to %3 can be used.")
        .arg(field)
        .arg(INT_MIN)
        .arg(INT_MAX);
}

qint64 SeriesGenerator::sequentialBytes(qint64 from, qint64 to, int width, qint64 extraBytes)
{
    // Numbers of one sign and one count of digits have one length: add them up range by range.
    qint64 total = 0;
    qint64 low = from;
    while (low <= to) {
        const qint64 magnitude = low < 0 ? -low : low;
        int digits = 1;
        qint64 limit = 9; // the largest magnitude with this many digits
        while (magnitude > limit) {
            ++digits;
            limit = limit * 10 + 9;
        }
        // The run ends where the digit count (or the sign) changes.
        const qint64 high = low < 0 ? std::min<qint64>(to, -(limit / 10) - 1) : std::min(to, limit);
        const int length = std::max(width, digits + (low < 0 ? 1 : 0));
        total += (high - low + 1) * (length + extraBytes);
        low = high + 1;
    }
    return total;
}

GeneratorResult SeriesGenerator::checkConstant(const QString &value, const QString &count)
{
    if (value.isEmpty())
        return refused(QStringLiteral("Please enter valid 'Value'."), QStringLiteral("value"));
    if (count.isEmpty())
        return refused(QStringLiteral("Please enter valid 'Count' value."), QStringLiteral("count"));
    if (!isWholeNumber(count))
        return refused(notWholeMessage(QStringLiteral("Count")), QStringLiteral("count"));
    return passed();
}

GeneratorResult SeriesGenerator::checkRandom(const QString &length, const QString &count)
{
    if (count.isEmpty())
        return refused(QStringLiteral("Please enter valid 'Count' value."), QStringLiteral("count"));
    if (length.isEmpty())
        return refused(QStringLiteral("Please enter valid 'Length' value."), QStringLiteral("length"));
    if (!isWholeNumber(count))
        return refused(notWholeMessage(QStringLiteral("Count")), QStringLiteral("count"));
    if (!isWholeNumber(length))
        return refused(notWholeMessage(QStringLiteral("Length")), QStringLiteral("length"));
    return passed();
}

GeneratorResult SeriesGenerator::sequential(const QString &from, const QString &to, const QString &prefix,
                                            const QString &suffix, bool leadingZeros,
                                            const GeneratedValueSink &deliver)
{
    GeneratorResult checked = checkSequential(from, to);
    if (!checked.ok())
        return checked;
    const qint64 a = readNumber(from);
    const qint64 count = readNumber(to) - a + 1;
    // The digits as typed set the width (sign and leading zeros count); blanks round them do not.
    const int width = int(std::max(Trim_Str(from).size(), Trim_Str(to).size()));
    // The file the values make is measured before any is made: one too large could not be read.
    const qint64 bytes = sequentialBytes(a, readNumber(to), leadingZeros ? width : 0,
                                         prefix.toUtf8().size() + suffix.toUtf8().size() + 1);
    if (bytes > SeriesFiles::MaxFileSize)
        return refused(tooLargeMessage(), QStringLiteral("to"));
    return deliverAll(count, deliver, [&](qint64 k) {
        QString number = QString::number(a + k);
        if (leadingZeros)
            number = PadZero(number, width);
        return prefix + number + suffix;
    });
}

GeneratorResult SeriesGenerator::constant(const QString &value, const QString &count,
                                          const GeneratedValueSink &deliver)
{
    GeneratorResult checked = checkConstant(value, count);
    if (!checked.ok())
        return checked;
    return deliverAll(readNumber(count), deliver, [&](qint64) { return value; });
}

GeneratorResult SeriesGenerator::random(const QString &prefix, const QString &suffix, const QString &length,
                                        const QString &count, const GeneratedValueSink &deliver)
{
    GeneratorResult checked = checkRandom(length, count);
    if (!checked.ok())
        return checked;
    // Only the texts "1" to "9" name a length; any other gives 0 for every value.
    int digits = 0;
    if (length.size() == 1 && length[0] >= QLatin1Char('1') && length[0] <= QLatin1Char('9'))
        digits = length[0].unicode() - u'0';
    quint32 low = 1;
    for (int d = 1; d < digits; ++d)
        low *= 10;
    const quint32 high = digits == 0 ? 0 : low * 10 - 1;
    return deliverAll(readNumber(count), deliver, [&](qint64) {
        const quint32 number = digits == 0 ? 0 : getRandomNumberBetweenMin(low, high);
        return prefix + QString::number(number) + suffix;
    });
}

GeneratorResult SeriesGenerator::sequential(const QString &from, const QString &to, const QString &prefix,
                                            const QString &suffix, bool leadingZeros)
{
    return gathered([&](const GeneratedValueSink &sink) {
        return sequential(from, to, prefix, suffix, leadingZeros, sink);
    });
}

GeneratorResult SeriesGenerator::constant(const QString &value, const QString &count)
{
    return gathered([&](const GeneratedValueSink &sink) { return constant(value, count, sink); });
}

GeneratorResult SeriesGenerator::random(const QString &prefix, const QString &suffix, const QString &length,
                                        const QString &count)
{
    return gathered(
        [&](const GeneratedValueSink &sink) { return random(prefix, suffix, length, count, sink); });
}
