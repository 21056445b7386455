// The series generator's algorithms: sequential numbers with prefix, suffix and leading zeros, a
// constant repeated, and random numbers of a given length, with the checks of the dialog.
#pragma once

#include "platform/OpResult.h"

#include <QString>
#include <QStringList>

#include <climits>
#include <cstdint>
#include <functional>

// Done with the values, or failed with the failed check's message and the field it names.
struct GeneratorResult : OpResult {
    QString field; // "from", "to", "value", "count", "length", "name"
    QStringList values;
};

// Receives each value as it is made; false stops the generation (the receiver reports why).
using GeneratedValueSink = std::function<bool(const QString &value)>;

class SeriesGenerator
{
public:
    // Counts are 32-bit numbers, so a sequence may hold at most this many values; a longer span
    // is refused. There is no other limit: large series should be streamed through a sink.
    static constexpr qint64 MaxValues = INT_MAX;
    static QString tooManyMessage();
    // A series whose file would pass the series file limit is refused before any value is made.
    static QString tooLargeMessage();
    static QString outOfRangeMessage(const QString &field);
    // The bytes of the file a sequence makes: each number (padded to width) plus extraBytes.
    static qint64 sequentialBytes(qint64 from, qint64 to, int width, qint64 extraBytes);

    static const QString HelpMessage;
    static const QString HelpInformative;

    // A number as the fields read it: leading blanks, an optional sign, the digits up to the first
    // other character; 0 when none; held at the 32-bit limits.
    static int readNumber(const QString &text);
    // The same, telling whether the number was past the limits.
    static int readNumber(const QString &text, bool *outOfRange);
    // Whether a field holds a whole number and nothing else: an optional sign and digits, with
    // blanks round them at most.
    static bool isWholeNumber(const QString &text);
    static QString notWholeMessage(const QString &field);
    // The number text brought to width characters with zeros after its sign.
    static QString PadZero(const QString &number, int width);
    static quint32 getRandomNumberBetweenMin(quint32 min, quint32 max);

    // Edit checks of the count fields (1 to 10000) and the length field (1 to 9): the corrected text.
    static QString checkCountText(const QString &typed);
    static QString checkLengthText(const QString &typed);

    // The dialog's checks alone, in its order, so a caller can check before asking about the file.
    static GeneratorResult checkSequential(const QString &from, const QString &to);
    static GeneratorResult checkConstant(const QString &value, const QString &count);
    static GeneratorResult checkRandom(const QString &length, const QString &count);

    // Checks, then hands each value to deliver in order (values stays empty). ok is false with
    // an empty message when deliver stopped the run.
    static GeneratorResult sequential(const QString &from, const QString &to, const QString &prefix,
                                      const QString &suffix, bool leadingZeros,
                                      const GeneratedValueSink &deliver);
    static GeneratorResult constant(const QString &value, const QString &count,
                                    const GeneratedValueSink &deliver);
    static GeneratorResult random(const QString &prefix, const QString &suffix, const QString &length,
                                  const QString &count, const GeneratedValueSink &deliver);

    // The same, gathering the values in the result.
    static GeneratorResult sequential(const QString &from, const QString &to, const QString &prefix,
                                      const QString &suffix, bool leadingZeros);
    static GeneratorResult constant(const QString &value, const QString &count);
    static GeneratorResult random(const QString &prefix, const QString &suffix, const QString &length,
                                  const QString &count);
};
