#include "data/ListEncoding.h"
#include "data/ListJudge.h"

#include <QHash>
#include <QSet>
#include <QStringConverter>

#include <unicode/uchar.h>
#include <unicode/ucnv.h>
#include <unicode/ucsdet.h>
#include <unicode/uloc.h>
#include <unicode/ulocdata.h>
#include <unicode/unorm2.h>
#include <unicode/uscript.h>
#include <unicode/uset.h>
#include <unicode/ustring.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <bitset>
#include <memory>
#include <string>
#include <vector>

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

// ", nor are 0xFC on line 5 and 0xE4 on line 9": the bytes after the first that are no UTF-8, the
// first few named and the rest counted.
QString laterBadBytes(const QByteArray &bytes, qsizetype first)
{
    constexpr int Named = 4;
    QStringList named;
    qsizetype more = 0;
    const auto *s = reinterpret_cast<const uint8_t *>(bytes.constData());
    const int32_t length = int32_t(std::min<qsizetype>(bytes.size(), INT32_MAX));
    int line = lineAtByte(bytes, first);
    qsizetype counted = first;
    int32_t i = int32_t(first);
    UChar32 skipped = 0;
    U8_NEXT(s, i, length, skipped); // the first, named already
    while (i < length) {
        const int32_t at = i;
        UChar32 c = 0;
        U8_NEXT(s, i, length, c);
        if (c >= 0)
            continue;
        // Lines counted on from the last byte named, so a long list is walked once.
        for (; counted < at; ++counted) {
            if (bytes[counted] == '\n' ||
                (bytes[counted] == '\r' && (counted + 1 >= bytes.size() || bytes[counted + 1] != '\n')))
                ++line;
        }
        if (named.size() < Named)
            named << QStringLiteral("0x%1 on line %2").arg(byteHex(bytes[at])).arg(line);
        else
            ++more;
    }
    if (named.isEmpty())
        return {};
    if (more > 0)
        named << QStringLiteral("%L1 more").arg(more);
    const QString last = named.takeLast();
    return QStringLiteral(", nor %1 %2")
        .arg(named.isEmpty() ? QStringLiteral("is") : QStringLiteral("are"),
             named.isEmpty() ? last : named.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last);
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
    if (bytes.size() % 2 != 0)
        return {};
    // A line of Cyrillic, Greek or Hebrew has its NULs beside blanks and line ends alone, and its
    // other bytes are controls that make it no UTF-8 text: UTF-16 when read so it is text.
    if (other == 0 && std::any_of(bytes.cbegin(), bytes.cend(), [](char b) {
            return uchar(b) < 0x20 && b != '\0' && b != '\t' && b != '\n' && b != '\r';
        })) {
        const Converted read = convert(bytes, order);
        if (read.badOffset < 0 && firstStrayCharacter(read.text) < 0)
            return order;
    }
    if (validUtf8(bytes))
        return {};
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2) {
        const char high = little ? bytes[i + 1] : bytes[i];
        const char low = little ? bytes[i] : bytes[i + 1];
        if (high == '\0' && (low == '\n' || low == '\r'))
            return order;
    }
    return {};
}

// ICU's detector and the judging of readings look at this much of a long list: plenty of names
// to tell readings apart, and a 64 MB list is not read in every set to learn which one it is in.
constexpr qsizetype JudgedWindow = qsizetype(256) << 10;

// The start of the bytes judged: whole lines, so no set's character is cut at the window's end.
QByteArray judgedWindow(const QByteArray &bytes)
{
    if (bytes.size() <= JudgedWindow)
        return bytes;
    const qsizetype end = bytes.lastIndexOf('\n', JudgedWindow - 1);
    return end > 0 ? bytes.left(end + 1) : bytes;
}

using ListJudging::holds;
using ListJudging::Judge;
using ListJudging::Judgement;
using ListJudging::lettersOf;
using ListJudging::SetPtr;

// One distinct reading of the list: the sets that give it, in the order they are offered.
struct Reading {
    QList<QByteArray> charsets;
    QString text;
    Judgement judgement;
    bool multibyte = false;        // read in a Chinese, Japanese or Korean set
    int confidence = 0;            // ICU's detector's best for these sets
    bool detectedLanguage = false; // the language the detector names writes its letters
};

int maxCharSize(const QByteArray &charset)
{
    UErrorCode err = U_ZERO_ERROR;
    std::unique_ptr<UConverter, decltype(&ucnv_close)> cnv(ucnv_open(charset.constData(), &err), &ucnv_close);
    return U_SUCCESS(err) ? ucnv_getMaxCharSize(cnv.get()) : 1;
}

// What ICU's detector makes of the bytes: for each set it names, its confidence and language.
struct Detected {
    int confidence = 0;
    QByteArray language;
};
constexpr qsizetype ShortSample = 2048;
// A confidence of the detector's that no reading of text in another set reaches.
constexpr int PlainConfidence = 50;

QHash<QByteArray, Detected> detectorView(const QByteArray &bytes)
{
    QHash<QByteArray, Detected> out;
    UErrorCode err = U_ZERO_ERROR;
    std::unique_ptr<UCharsetDetector, decltype(&ucsdet_close)> detector(ucsdet_open(&err), &ucsdet_close);
    // ICU's multibyte recognizers say nothing of a text of ten characters or fewer: a short list
    // is given several times over, which keeps its proportions and gives them counts to go by.
    QByteArray sample = bytes.left(DetectorWindow);
    if (!sample.isEmpty() && sample.size() < ShortSample) {
        if (!sample.endsWith('\n'))
            sample += '\n';
        sample = sample.repeated(ShortSample / sample.size() + 1);
    }
    ucsdet_setText(detector.get(), sample.constData(), int32_t(sample.size()), &err);
    int32_t count = 0;
    const UCharsetMatch **matches = ucsdet_detectAll(detector.get(), &count, &err);
    if (U_FAILURE(err))
        return out;
    for (int32_t m = 0; m < count; ++m) {
        QByteArray name = ucsdet_getName(matches[m], &err);
        const int confidence = ucsdet_getConfidence(matches[m], &err);
        const QByteArray language = ucsdet_getLanguage(matches[m], &err);
        if (U_FAILURE(err))
            break;
        if (name == "ISO-8859-8-I")
            name = "ISO-8859-8";
        Detected &d = out[name];
        if (confidence > d.confidence)
            d = {confidence, language};
    }
    return out;
}

// Likeliest first: fewer garbled words; fewer words cased as no name is; more words one language
// writes with its main letters, then some language;
// more the user's language writes; the detector's language writing the letters; its confidence;
// the order the sets are offered in.
bool likelier(const Reading &a, const Reading &b)
{
    const Judgement &x = a.judgement, &y = b.judgement;
    if (x.garbled != y.garbled)
        return x.garbled < y.garbled;
    if (x.plausible() != y.plausible())
        return x.plausible();
    if (x.oddCase != y.oddCase)
        return x.oddCase < y.oddCase;
    if (x.dense != y.dense)
        return x.dense < y.dense;
    // Words cased as names in one reading and Chinese characters in the other: the detector's
    // statistics of a word or two say less than capitals falling right.
    if (a.multibyte != b.multibyte && (x.named == x.words) != (y.named == y.words))
        return x.named == x.words;
    // ICU's detector is sure of what its statistics show plainly: the common characters of a
    // Chinese, Japanese or Korean set.
    const bool plainA = a.multibyte && a.confidence >= PlainConfidence && x.plausible();
    const bool plainB = b.multibyte && b.confidence >= PlainConfidence && y.plausible();
    if (plainA != plainB)
        return plainA;
    if (x.coherentLines != y.coherentLines)
        return x.coherentLines > y.coherentLines;
    if (x.covered != y.covered)
        return x.covered > y.covered;
    if (x.mainFit != y.mainFit)
        return x.mainFit > y.mainFit;
    if (x.localeFit != y.localeFit)
        return x.localeFit > y.localeFit;
    if (a.detectedLanguage != b.detectedLanguage)
        return a.detectedLanguage;
    return a.confidence > b.confidence;
}

// The invalid sequences of text that is mostly UTF-8: their offsets, when the bytes hold at least
// as many characters of several bytes as bad ones; empty otherwise.
QList<qsizetype> badUtf8(const QByteArray &bytes)
{
    QList<qsizetype> bad;
    qsizetype wide = 0;
    const auto *s = reinterpret_cast<const uint8_t *>(bytes.constData());
    const int32_t length = int32_t(std::min<qsizetype>(bytes.size(), INT32_MAX));
    for (int32_t i = 0; i < length;) {
        const int32_t at = i;
        UChar32 c = 0;
        U8_NEXT(s, i, length, c);
        if (c < 0)
            bad.append(at);
        else if (c >= 0x80)
            ++wide;
    }
    if (wide == 0 || bad.size() > wide)
        return {};
    return bad;
}
// The characters of text that is mostly UTF-8, its bad bytes made blanks: a few slips in a list
// leave words a reader takes for text, bytes of another set falling into UTF-8 by chance do not.
QString utf8Letters(const QByteArray &bytes)
{
    QString text = QString::fromUtf8(bytes);
    text.replace(QChar(QChar::ReplacementCharacter), QLatin1Char(' '));
    return text;
}
// The distinct readings of bytes that are no Unicode in the sets offered, likeliest first; the
// window of a long list is judged, and the readings that may be taken are read whole. refusal
// keeps why a set does not read the list, a stray control character before a byte it lacks.
QList<Reading> readEverySet(const QByteArray &bytes, const QByteArray &window, const QString &fileName,
                            Judge &judge, ListText &refusal)
{
    const QHash<QByteArray, Detected> detected = detectorView(bytes);
    QList<Reading> readings;
    for (const ListEncoding::Charset &c : ListEncoding::charsets()) {
        if (isUnicode(c.name))
            continue;
        ListText read = ListEncoding::decode(window, c.name, fileName);
        if (!read.ok()) {
            if (!refusal.stray)
                refusal = std::move(read);
            continue;
        }
        const Detected seen = detected.value(c.name);
        const auto same = std::find_if(readings.begin(), readings.end(),
                                       [&read](const Reading &r) { return r.text == read.text; });
        if (same != readings.end()) {
            same->charsets.append(c.name);
            same->confidence = std::max(same->confidence, seen.confidence);
            continue;
        }
        Reading r{{c.name}, std::move(read.text), {}, maxCharSize(c.name) > 1, seen.confidence, false};
        r.judgement = judge.judge(r.text);
        readings.append(std::move(r));
    }
    // The detector's language for each reading, once every set giving that reading is known.
    for (Reading &r : readings) {
        for (const QByteArray &name : r.charsets) {
            const Detected seen = detected.value(name);
            if (seen.language.isEmpty())
                continue;
            const SetPtr letters = lettersOf(seen.language.constData(), true);
            r.detectedLanguage = r.detectedLanguage || holds(letters.get(), r.judgement.letters);
        }
    }
    std::stable_sort(readings.begin(), readings.end(), likelier);
    // A long list is read whole in the sets it is offered in: one that fails past the window is none.
    if (window.size() < bytes.size()) {
        for (Reading &r : readings) {
            // Only the readings that may be taken are read whole: the first, and any a reader
            // takes for text. The others show their failure if chosen.
            if (&r != &readings.first() && !r.judgement.plausible())
                continue;
            r.charsets.removeIf([&](const QByteArray &name) {
                ListText whole = ListEncoding::decode(bytes, name, fileName);
                if (!whole.ok() && !refusal.stray)
                    refusal = std::move(whole);
                return !whole.ok();
            });
        }
        readings.removeIf([](const Reading &r) { return r.charsets.isEmpty(); });
    }
    return readings;
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
        {"ISO-8859-15", QStringLiteral("Western European (ISO-8859-15)")},
        {"macintosh", QStringLiteral("Western European (Mac Roman)")},
        {"windows-1250", QStringLiteral("Central European (Windows-1250)")},
        {"ISO-8859-2", QStringLiteral("Central European (ISO-8859-2)")},
        {"windows-1257", QStringLiteral("Baltic (Windows-1257)")},
        {"ISO-8859-13", QStringLiteral("Baltic (ISO-8859-13)")},
        {"ISO-8859-4", QStringLiteral("Baltic (ISO-8859-4)")},
        {"ISO-8859-3", QStringLiteral("South European (ISO-8859-3)")},
        {"ISO-8859-10", QStringLiteral("Nordic (ISO-8859-10)")},
        {"ISO-8859-14", QStringLiteral("Celtic (ISO-8859-14)")},
        {"windows-1251", QStringLiteral("Cyrillic (Windows-1251)")},
        {"KOI8-R", QStringLiteral("Cyrillic (KOI8-R)")},
        {"KOI8-U", QStringLiteral("Cyrillic (KOI8-U)")},
        {"ISO-8859-5", QStringLiteral("Cyrillic (ISO-8859-5)")},
        {"windows-1253", QStringLiteral("Greek (Windows-1253)")},
        {"ISO-8859-7", QStringLiteral("Greek (ISO-8859-7)")},
        {"windows-1254", QStringLiteral("Turkish (Windows-1254)")},
        {"ISO-8859-9", QStringLiteral("Turkish (ISO-8859-9)")},
        {"windows-1255", QStringLiteral("Hebrew (Windows-1255)")},
        {"ISO-8859-8", QStringLiteral("Hebrew (ISO-8859-8)")},
        {"windows-1256", QStringLiteral("Arabic (Windows-1256)")},
        {"ISO-8859-6", QStringLiteral("Arabic (ISO-8859-6)")},
        {"windows-874", QStringLiteral("Thai (Windows-874)")},
        {"ISO-8859-11", QStringLiteral("Thai (ISO-8859-11)")},
        {"windows-1258", QStringLiteral("Vietnamese (Windows-1258)")},
        {"GB18030", QStringLiteral("Chinese Simplified (GB18030)")},
        {"Big5", QStringLiteral("Chinese Traditional (Big5)")},
        {"Big5-HKSCS", QStringLiteral("Chinese Traditional (Big5-HKSCS)")},
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
           QStringLiteral(
               "the byte 0x%1 on line %2 is not UTF-8, and no other character set this program "
               "reads (UTF-16, UTF-32, and the Western, Central European, Baltic, Cyrillic, Greek, "
               "Turkish, Hebrew, Arabic, Thai, Vietnamese, Chinese, Japanese and Korean sets) reads "
               "the whole file. "
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
        out.problem = cannotRead(fileName) + QStringLiteral("the byte 0x%1 on line %2 is no character in %3")
                                                 .arg(byteHex(bytes[c.badOffset]))
                                                 .arg(lineAt(c.text, c.text.size()))
                                                 .arg(labelOf(charset));
        // In a UTF-8 list with a few slips every one is named, so all are mended at once.
        if (charset == "UTF-8")
            out.problem += laterBadBytes(bytes, c.badOffset);
        out.problem += QLatin1Char('.');
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

ListText ListEncoding::detect(const QByteArray &bytes, const QString &fileName, const QLocale &locale)
{
    if (bytes.isEmpty()) {
        ListText empty;
        empty.charset = "UTF-8";
        return empty;
    }
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
    const QByteArray window = judgedWindow(bytes);
    Judge judge(locale);
    const QList<Reading> readings = readEverySet(bytes, window, fileName, judge, refusal);
    // One set for each distinct reading: each step through the choices shows other rows.
    QList<QByteArray> ranked;
    for (const Reading &r : std::as_const(readings))
        ranked += r.charsets.first();

    // Mostly UTF-8 with a few bad bytes: a slip in a UTF-8 list, offered as UTF-8 with the bytes
    // named, never read as another set's letters.
    if (const QList<qsizetype> bad = badUtf8(bytes);
        !bad.isEmpty() && judge.judge(utf8Letters(window)).plausible()) {
        ListText out = decode(bytes, "UTF-8", fileName);
        out.sure = false;
        out.readings = QList<QByteArray>{"UTF-8"} + ranked;
        return out;
    }
    if (readings.isEmpty()) {
        // A control character refuses the list in every set alike: say that, not "no encoding".
        if (refusal.stray)
            return refusal;
        const qsizetype bad = std::max<qsizetype>(0, convert(bytes, "UTF-8").badOffset);
        ListText out;
        out.problem =
            notTextMessage(fileName, bad < bytes.size() ? bytes[bad] : char(0), lineAtByte(bytes, bad));
        return out;
    }
    // Read without a question only when one reading alone is text a reader would take for names.
    const qsizetype plausible = std::count_if(readings.cbegin(), readings.cend(),
                                              [](const Reading &r) { return r.judgement.plausible(); });
    ListText best;
    for (const Reading &r : std::as_const(readings)) {
        best = decode(bytes, r.charsets.first(), fileName);
        if (best.ok())
            break;
    }
    if (!best.ok())
        return refusal.stray ? refusal : best;
    best.sure = plausible == 1;
    if (!best.sure)
        best.readings = ranked;
    return best;
}
