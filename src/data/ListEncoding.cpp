#include "data/ListEncoding.h"

#include <QStringConverter>

#include <unicode/ucnv.h>
#include <unicode/ucsdet.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <memory>
#include <optional>

namespace
{
// ICU's detector looks at this much of a long file: enough for every script of a list, and a
// 64 MB list is not scanned by each of its recognizers.
constexpr qsizetype DetectorWindow = qsizetype(1) << 20;

// What converting bytes gave: the text, or where the first byte the character set does not take
// stands (its offset, and the text converted before it).
struct Converted {
    QString text;
    qsizetype badOffset = -1;
    bool unknownCharset = false;
};

Converted convert(const QByteArray &bytes, const QByteArray &charset)
{
    Converted out;
    UErrorCode err = U_ZERO_ERROR;
    std::unique_ptr<UConverter, decltype(&ucnv_close)> cnv(ucnv_open(charset.constData(), &err), &ucnv_close);
    if (U_FAILURE(err)) {
        out.unknownCharset = true;
        return out;
    }
    // Stop at the first byte the set does not define, rather than putting a substitute on a card.
    ucnv_setToUCallBack(cnv.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &err);
    // No set read here gives more than one UTF-16 unit per byte.
    out.text.resize(bytes.size() + 4);
    auto *begin = reinterpret_cast<UChar *>(out.text.data());
    UChar *target = begin;
    const char *source = bytes.constData();
    ucnv_toUnicode(cnv.get(), &target, begin + out.text.size(), &source, source + bytes.size(), nullptr, true,
                   &err);
    out.text.resize(target - begin);
    if (U_FAILURE(err)) {
        char bad[32];
        int8_t badLength = sizeof bad;
        UErrorCode ignored = U_ZERO_ERROR;
        ucnv_getInvalidChars(cnv.get(), bad, &badLength, &ignored);
        out.badOffset =
            std::max<qsizetype>(0, (source - bytes.constData()) - (U_SUCCESS(ignored) ? badLength : 0));
    }
    return out;
}

bool isUnicode(const QByteArray &charset)
{
    return charset.startsWith("UTF-");
}

// Lines counted as the list counts them: CRLF, CR and LF each end one.
int lineAt(QStringView text, qsizetype pos)
{
    int line = 1;
    for (qsizetype i = 0; i < pos && i < text.size(); ++i) {
        if (text[i] == u'\n' || (text[i] == u'\r' && (i + 1 >= text.size() || text[i + 1] != u'\n')))
            ++line;
    }
    return line;
}

int lineAtByte(const QByteArray &bytes, qsizetype pos)
{
    return lineAt(QString::fromLatin1(bytes.left(pos)), pos);
}

// Characters no list holds: control characters but tab and line ends (form feed and vertical tab
// included: a card cannot show them), the C1 controls a code page's unused bytes become, the
// replacement character, non-characters and halves of surrogate pairs.
qsizetype firstStrayCharacter(QStringView text, qsizetype from = 0)
{
    for (qsizetype i = from; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i], text[i + 1]);
            if (QChar::isNonCharacter(c))
                return i;
            ++i;
            continue;
        }
        if (QChar::isSurrogate(c) || c == 0xFFFD || QChar::isNonCharacter(c))
            return i;
        if ((c < 0x20 && c != '\t' && c != '\n' && c != '\r') || (c >= 0x7F && c < 0xA0))
            return i;
    }
    return -1;
}

QString describe(char16_t c)
{
    const QString hex = QStringLiteral("%1").arg(uint(c), 2, 16, QLatin1Char('0')).toUpper();
    switch (c) {
    case 0x00:
        return QStringLiteral("a NUL byte (0x00)");
    case 0x0B:
        return QStringLiteral("a vertical tab (0x0B)");
    case 0x0C:
        return QStringLiteral("a form feed (0x0C)");
    case 0x1A:
        return QStringLiteral("an end-of-file byte (0x1A)");
    default:
        if (c < 0x20 || (c >= 0x7F && c < 0xA0))
            return QStringLiteral("the control character 0x") + hex;
        return QStringLiteral("the character U+%1").arg(uint(c), 4, 16, QLatin1Char('0')).toUpper();
    }
}

QString byteHex(char byte)
{
    return QStringLiteral("%1").arg(uint(uchar(byte)), 2, 16, QLatin1Char('0')).toUpper();
}

// Leaves out what old programs put after a list's end: the end-of-file byte 0x1A and NULs
// padding the file to a block; the note says which.
QString dropEndPadding(QString &text, const QString &fileName)
{
    qsizetype end = text.size();
    bool eof = false, nul = false;
    while (end > 0 && (text[end - 1] == u'\0' || text[end - 1] == u'\x1a')) {
        (text[end - 1] == u'\0' ? nul : eof) = true;
        --end;
    }
    if (end == text.size())
        return {};
    text.truncate(end);
    const QString what = eof && nul ? QStringLiteral("the end-of-file byte 0x1A and the NUL padding")
                         : eof      ? QStringLiteral("the end-of-file byte 0x1A")
                                    : QStringLiteral("the NUL padding");
    return QStringLiteral("\"%1\" was read without %2 at its end.").arg(fileName, what);
}

QString cannotRead(const QString &fileName)
{
    return QStringLiteral("\"%1\" cannot be read as a list: ").arg(fileName);
}

// Checked without converting: a 64 MB list is not held twice to learn that it is UTF-8.
bool validUtf8(const QByteArray &bytes)
{
    UErrorCode err = U_ZERO_ERROR;
    int32_t length = 0;
    u_strFromUTF8(nullptr, 0, &length, bytes.constData(), int32_t(bytes.size()), &err);
    return err == U_BUFFER_OVERFLOW_ERROR || err == U_STRING_NOT_TERMINATED_WARNING || U_SUCCESS(err);
}

// The UTF-16 byte order the NULs point to, when they point to one. UTF-16 puts a NUL beside every
// Latin letter, digit and line end, so NULs in at least a quarter of the characters, nearly all on
// one side, are UTF-16. Text of other scripts has NULs only beside those: it is UTF-16 when it is
// no UTF-8 and a NUL stands beside a line end. A NUL or two in UTF-8 text makes no UTF-16.
QByteArray utf16Order(const QByteArray &bytes)
{
    qsizetype end = bytes.size();
    while (end > 0 && (bytes[end - 1] == '\0' || bytes[end - 1] == '\x1a'))
        --end;
    qsizetype nul[2] = {0, 0};
    for (qsizetype i = 0; i < end; ++i) {
        if (bytes[i] == '\0')
            ++nul[i % 2];
    }
    // Little-endian text has its NULs at odd offsets.
    const bool little = nul[1] > nul[0];
    const QByteArray order = little ? "UTF-16LE" : "UTF-16BE";
    const qsizetype side = std::max(nul[0], nul[1]), other = std::min(nul[0], nul[1]);
    if (side == 0 || other * 4 > side)
        return {};
    if (side * 4 >= std::max<qsizetype>(1, end / 2))
        return order;
    if (bytes.size() % 2 != 0 || validUtf8(bytes))
        return {};
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2) {
        const char high = little ? bytes[i + 1] : bytes[i];
        const char low = little ? bytes[i] : bytes[i + 1];
        if (high == '\0' && (low == '\n' || low == '\r'))
            return order;
    }
    return {};
}

// An 8-bit or multibyte set's reading of the bytes, with ICU's confidence in it.
struct Candidate {
    QByteArray charset;
    int confidence = 0;
    ListText read;
};

// ICU gives every multibyte set this much for bytes it merely does not rule out.
constexpr int NoEvidence = 10;
// Below this the detector has too little text to choose by.
constexpr int SureConfidence = 15;

// The sets ICU's detector finds, likeliest first, that read the whole file cleanly. refusal receives
// why a reading failed, a stray character kept over a byte one set lacks.
QList<Candidate> detectorCandidates(const QByteArray &bytes, const QString &fileName, ListText *refusal)
{
    QList<Candidate> found;
    UErrorCode err = U_ZERO_ERROR;
    std::unique_ptr<UCharsetDetector, decltype(&ucsdet_close)> detector(ucsdet_open(&err), &ucsdet_close);
    ucsdet_setText(detector.get(), bytes.constData(), int32_t(std::min(bytes.size(), DetectorWindow)), &err);
    int32_t count = 0;
    const UCharsetMatch **matches = ucsdet_detectAll(detector.get(), &count, &err);
    if (U_FAILURE(err))
        return found;
    const auto &offered = ListEncoding::charsets();
    for (int32_t m = 0; m < count; ++m) {
        const QByteArray name = ucsdet_getName(matches[m], &err);
        const int confidence = ucsdet_getConfidence(matches[m], &err);
        if (U_FAILURE(err))
            return found;
        const bool known = std::any_of(offered.cbegin(), offered.cend(),
                                       [&name](const ListEncoding::Charset &c) { return c.name == name; });
        // The UTF-16 and UTF-32 readings were settled by the byte-order mark and the NULs.
        if (!known || isUnicode(name) || confidence <= NoEvidence)
            continue;
        ListText read = ListEncoding::decode(bytes, name, fileName);
        if (read.ok())
            found.append({name, confidence, std::move(read)});
        else if (!refusal->stray)
            *refusal = std::move(read);
    }
    return found;
}

// With too little text for the detector, the first offered set that reads the whole file cleanly,
// Windows-1252 first as lists were always read; the user is asked.
std::optional<ListText> fallbackReading(const QByteArray &bytes, const QString &fileName, ListText *refusal)
{
    for (const ListEncoding::Charset &c : ListEncoding::charsets()) {
        if (isUnicode(c.name))
            continue;
        ListText read = ListEncoding::decode(bytes, c.name, fileName);
        if (read.ok()) {
            read.sure = false;
            return read;
        }
        if (!refusal->stray)
            *refusal = std::move(read);
    }
    return std::nullopt;
}

bool western(const QByteArray &charset)
{
    return charset == "windows-1252" || charset == "ISO-8859-1";
}
} // namespace

const QList<ListEncoding::Charset> &ListEncoding::charsets()
{
    static const QList<Charset> all = {
        {"UTF-8", QStringLiteral("Unicode (UTF-8)")},
        {"UTF-16LE", QStringLiteral("Unicode (UTF-16 little-endian)")},
        {"UTF-16BE", QStringLiteral("Unicode (UTF-16 big-endian)")},
        {"windows-1252", QStringLiteral("Western European (Windows-1252)")},
        {"ISO-8859-1", QStringLiteral("Western European (ISO-8859-1)")},
        {"windows-1250", QStringLiteral("Central European (Windows-1250)")},
        {"ISO-8859-2", QStringLiteral("Central European (ISO-8859-2)")},
        {"windows-1251", QStringLiteral("Cyrillic (Windows-1251)")},
        {"KOI8-R", QStringLiteral("Cyrillic (KOI8-R)")},
        {"ISO-8859-5", QStringLiteral("Cyrillic (ISO-8859-5)")},
        {"windows-1253", QStringLiteral("Greek (Windows-1253)")},
        {"ISO-8859-7", QStringLiteral("Greek (ISO-8859-7)")},
        {"windows-1254", QStringLiteral("Turkish (Windows-1254)")},
        {"ISO-8859-9", QStringLiteral("Turkish (ISO-8859-9)")},
        {"windows-1255", QStringLiteral("Hebrew (Windows-1255)")},
        {"ISO-8859-8", QStringLiteral("Hebrew (ISO-8859-8)")},
        {"windows-1256", QStringLiteral("Arabic (Windows-1256)")},
        {"ISO-8859-6", QStringLiteral("Arabic (ISO-8859-6)")},
        {"GB18030", QStringLiteral("Chinese Simplified (GB18030)")},
        {"Big5", QStringLiteral("Chinese Traditional (Big5)")},
        {"Shift_JIS", QStringLiteral("Japanese (Shift_JIS)")},
        {"EUC-JP", QStringLiteral("Japanese (EUC-JP)")},
        {"EUC-KR", QStringLiteral("Korean (EUC-KR)")},
    };
    return all;
}

QString ListEncoding::labelOf(const QByteArray &name)
{
    for (const Charset &c : charsets()) {
        if (c.name == name)
            return c.label;
    }
    // Byte-order marks name UTF-32 too, which is not offered to choose.
    return QString::fromLatin1(name);
}

QString ListEncoding::notTextMessage(const QString &fileName, char byte, int line)
{
    return cannotRead(fileName) +
           QStringLiteral("the byte 0x%1 on line %2 is not UTF-8, and no other character set this program "
                          "reads (UTF-16, UTF-32, and the Western, Central European, Cyrillic, Greek, "
                          "Turkish, Hebrew, Arabic, Chinese, Japanese and Korean sets) reads the whole file. "
                          "Save the list as UTF-8 and import it again.")
               .arg(byteHex(byte))
               .arg(line);
}

ListText ListEncoding::decode(const QByteArray &bytes, const QByteArray &charset, const QString &fileName)
{
    ListText out;
    out.charset = charset;
    if (charset.startsWith("UTF-16") && bytes.size() % 2 != 0) {
        out.problem =
            cannotRead(fileName) +
            QStringLiteral("it is UTF-16, but its %L1 bytes are an odd number, so its last "
                           "character is cut off. Save the list again as UTF-8 and import it again.")
                .arg(bytes.size());
        return out;
    }
    Converted c = convert(bytes, charset);
    if (c.unknownCharset) {
        out.problem =
            cannotRead(fileName) +
            QStringLiteral("the character set %1 is not known here.").arg(QString::fromLatin1(charset));
        return out;
    }
    if (c.badOffset >= 0) {
        out.problem = cannotRead(fileName) + QStringLiteral("the byte 0x%1 on line %2 is no character in %3.")
                                                 .arg(byteHex(bytes[c.badOffset]))
                                                 .arg(lineAt(c.text, c.text.size()))
                                                 .arg(labelOf(charset));
        return out;
    }
    if (isUnicode(charset) && c.text.startsWith(QChar(0xFEFF)))
        c.text.remove(0, 1);
    out.note = dropEndPadding(c.text, fileName);
    if (const qsizetype stray = firstStrayCharacter(c.text); stray >= 0) {
        // One stray byte is a slip to mend; many on many lines mean the file is no list.
        int moreLines = 0;
        for (qsizetype at = stray; at >= 0;) {
            qsizetype lineEnd = at;
            while (lineEnd < c.text.size() && c.text[lineEnd] != u'\n' && c.text[lineEnd] != u'\r')
                ++lineEnd;
            at = firstStrayCharacter(c.text, lineEnd);
            moreLines += at >= 0 ? 1 : 0;
        }
        const QString first = QStringLiteral("line %1 holds %2")
                                  .arg(lineAt(c.text, stray))
                                  .arg(describe(c.text[stray].unicode()));
        out.problem =
            cannotRead(fileName) + first +
            (moreLines == 0
                 ? QStringLiteral(", which no list holds. Delete it in a text editor and "
                                  "import the list again.")
                 : QStringLiteral(", and %L1 more %2 bytes no list holds: it is no list, or one "
                                  "saved in a form this program does not read. Save the list "
                                  "as UTF-8 text and import it again.")
                       .arg(moreLines)
                       .arg(moreLines == 1 ? QStringLiteral("line holds") : QStringLiteral("lines hold")));
        out.note.clear();
        out.stray = true;
        return out;
    }
    out.text = std::move(c.text);
    return out;
}

ListText ListEncoding::detect(const QByteArray &bytes, const QString &fileName)
{
    if (bytes.isEmpty())
        return ListText{{}, "UTF-8", true, {}, {}};
    if (const auto bom = QStringConverter::encodingForData(bytes)) {
        const char *name = *bom == QStringConverter::Utf16LE   ? "UTF-16LE"
                           : *bom == QStringConverter::Utf16BE ? "UTF-16BE"
                           : *bom == QStringConverter::Utf32LE ? "UTF-32LE"
                           : *bom == QStringConverter::Utf32BE ? "UTF-32BE"
                                                               : "UTF-8";
        return decode(bytes, name, fileName);
    }
    if (const QByteArray order = utf16Order(bytes); !order.isEmpty())
        return decode(bytes, order, fileName);
    if (validUtf8(bytes))
        return decode(bytes, "UTF-8", fileName);

    ListText refusal;
    const QList<Candidate> found = detectorCandidates(bytes, fileName, &refusal);
    if (found.isEmpty()) {
        if (std::optional<ListText> guess = fallbackReading(bytes, fileName, &refusal))
            return *guess;
        // A control character refuses the list in every set alike: say that, not "no encoding".
        if (refusal.stray)
            return refusal;
        const qsizetype bad = std::max<qsizetype>(0, convert(bytes, "UTF-8").badOffset);
        ListText out;
        out.problem =
            notTextMessage(fileName, bad < bytes.size() ? bytes[bad] : char(0), lineAtByte(bytes, bad));
        return out;
    }
    // The detector's first choice is sure when it had text enough and no other set that reads the
    // list differently comes near it. Windows-1252 and Latin-1 lists were always read without a
    // question, so the detector's choice of them stands.
    const Candidate &top = found.first();
    ListText best = top.read;
    best.sure = top.confidence >= SureConfidence &&
                (western(best.charset) ||
                 std::all_of(found.cbegin() + 1, found.cend(), [&top](const Candidate &other) {
                     return other.read.text == top.read.text || top.confidence * 2 >= other.confidence * 3;
                 }));
    return best;
}
