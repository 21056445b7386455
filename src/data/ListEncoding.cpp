#include "data/ListEncoding.h"

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

struct SetCloser {
    void operator()(USet *set) const { uset_close(set); }
};
using SetPtr = std::unique_ptr<USet, SetCloser>;

// The letters a language of ICU's locale data writes, either case: its main exemplar characters,
// with the auxiliary ones (letters of borrowed names) when asked.
SetPtr lettersOf(const char *locale, bool withAuxiliary)
{
    UErrorCode err = U_ZERO_ERROR;
    std::unique_ptr<ULocaleData, decltype(&ulocdata_close)> data(ulocdata_open(locale, &err),
                                                                 &ulocdata_close);
    if (U_FAILURE(err))
        return nullptr;
    SetPtr set(ulocdata_getExemplarSet(data.get(), nullptr, 0, ULOCDATA_ES_STANDARD, &err));
    if (U_FAILURE(err) || !set)
        return nullptr;
    if (withAuxiliary) {
        UErrorCode auxErr = U_ZERO_ERROR;
        SetPtr aux(ulocdata_getExemplarSet(data.get(), nullptr, 0, ULOCDATA_ES_AUXILIARY, &auxErr));
        if (U_SUCCESS(auxErr) && aux)
            uset_addAll(set.get(), aux.get());
    }
    uset_closeOver(set.get(), USET_CASE_INSENSITIVE);
    uset_freeze(set.get());
    return set;
}

struct Language {
    QByteArray locale;
    SetPtr main; // its main letters
};

// Every language (and written form of one, as zh_Hant) ICU has locale data for and Windows has
// a locale for: lists in the old code pages were written in these.
const std::vector<Language> &languages()
{
    static const std::vector<Language> all = [] {
        std::vector<Language> out;
        for (int32_t i = 0; i < uloc_countAvailable(); ++i) {
            const char *name = uloc_getAvailable(i);
            char country[ULOC_COUNTRY_CAPACITY];
            UErrorCode err = U_ZERO_ERROR;
            if (uloc_getCountry(name, country, sizeof country, &err) > 0 || uloc_getLCID(name) == 0)
                continue;
            Language l{name, lettersOf(name, false)};
            if (l.main && !uset_isEmpty(l.main.get()))
                out.push_back(std::move(l));
        }
        return out;
    }();
    return all;
}

bool holds(const USet *set, const QString &letters)
{
    return set && uset_containsAllCodePoints(set, reinterpret_cast<const UChar *>(letters.utf16()),
                                             int32_t(letters.size()));
}

bool isLetter(UChar32 c)
{
    return (U_MASK(u_charType(c)) & (U_GC_L_MASK | U_GC_M_MASK)) != 0;
}

// A lowercase letter with an uppercase form: ß, which has none, may stand among capitals.
bool casedLower(UChar32 c)
{
    return u_islower(c) && u_toupper(c) != c;
}

// A combining mark needs a letter before it; one used by certain scripts only needs one of theirs.
bool markFits(UChar32 mark, bool afterLetter, UScriptCode script)
{
    if (!afterLetter)
        return false;
    UErrorCode err = U_ZERO_ERROR;
    UScriptCode uses[8];
    const int32_t n = uscript_getScriptExtensions(mark, uses, 8, &err);
    if (U_FAILURE(err) || n <= 0 || script == USCRIPT_INVALID_CODE)
        return true;
    if (n == 1 && (uses[0] == USCRIPT_INHERITED || uses[0] == USCRIPT_COMMON))
        return true;
    return std::find(uses, uses + n, script) != uses + n;
}

// Kana and kanji stand together in Japanese words.
UScriptCode scriptOf(UChar32 c)
{
    UErrorCode err = U_ZERO_ERROR;
    const UScriptCode s = uscript_getScript(c, &err);
    if (s == USCRIPT_HIRAGANA || s == USCRIPT_KATAKANA || s == USCRIPT_KATAKANA_OR_HIRAGANA)
        return USCRIPT_HAN;
    return s;
}

// At most this many languages are told apart (ICU has some 250).
constexpr size_t MaxLanguages = 512;
using LanguageBits = std::bitset<MaxLanguages>;

// Words judged in each reading: enough to tell readings apart, and a long list is not judged
// whole in every set.
constexpr qsizetype JudgedWords = 4000;

// What a reader sees in one set's reading of a list, word by word. Only words holding a character
// beyond ASCII count: the rest read alike in every set.
struct Judgement {
    qsizetype words = 0;
    qsizetype garbled = 0;       // words a reader sees as no text: symbols among letters, scripts or
                                 // case mixed as no name has them, letters no language writes together
    qsizetype oddCase = 0;       // small initials count two, words all in capitals one: names are
                                 // written with a capital and small letters
    qsizetype dense = 0;         // Latin words most of whose letters are beyond ASCII
    qsizetype named = 0;         // words of a cased script written so: bytes seldom fall that way
    qsizetype coherentLines = 0; // lines one language writes whole with its main letters
    qsizetype covered = 0;       // the most words one language writes with its main letters
    qsizetype mainFit = 0;       // words some language writes with its main letters
    qsizetype localeFit = 0;     // words the user's language writes
    qsizetype hanWords = 0;      // words in Chinese characters, and of them those some language
    qsizetype hanFit = 0;        // counts among its common characters
    QString letters;             // the letters beyond ASCII, each once
    // Names take rare characters too, but text most of whose words are rare characters is garble.
    bool plausible() const { return garbled == 0 && hanFit * 2 >= hanWords; }
};

class Judge
{
public:
    explicit Judge(const QLocale &locale)
    {
        const QByteArray name = locale.language() == QLocale::C ? QByteArray("en") : locale.name().toLatin1();
        m_locale = lettersOf(name.constData(), true);
    }

    Judgement judge(QStringView text)
    {
        Judgement j;
        QSet<char32_t> letters;
        std::vector<qsizetype> perLanguage(MaxLanguages, 0);
        qsizetype i = 0;
        // The languages that write every word of the line so far beyond ASCII; a name is written
        // in one language.
        LanguageBits line;
        bool lineWide = false;
        const auto endLine = [&] {
            j.coherentLines += lineWide && line.any() ? 1 : 0;
            line.set();
            lineWide = false;
        };
        endLine();
        while (i < text.size() && j.words < JudgedWords) {
            while (i < text.size() && separates(text[i])) {
                if (text[i] == u'\n' || text[i] == u'\r')
                    endLine();
                ++i;
            }
            const qsizetype start = i;
            bool wide = false;
            while (i < text.size() && !separates(text[i])) {
                wide = wide || text[i].unicode() >= 0x80;
                ++i;
            }
            if (start == i)
                continue;
            const Word &w = judgeWord(text.mid(start, i - start));
            // Words of ASCII alone read alike in every set; they only tell which language a
            // line is in.
            line &= w.main;
            if (!wide)
                continue;
            ++j.words;
            j.garbled += w.garbled ? 1 : 0;
            j.oddCase += w.oddCase;
            j.named += w.named ? 1 : 0;
            j.dense += w.dense ? 1 : 0;
            j.mainFit += w.main.any() ? 1 : 0;
            j.hanWords += w.han ? 1 : 0;
            j.hanFit += w.han && w.main.any() ? 1 : 0;
            lineWide = true;
            j.localeFit += w.locale ? 1 : 0;
            for (size_t l = 0; l < MaxLanguages; ++l)
                perLanguage[l] += w.main[l] ? 1 : 0;
            for (const char32_t c : w.letters) {
                if (c >= 0x80)
                    letters.insert(c);
            }
        }
        endLine();
        j.covered = *std::max_element(perLanguage.cbegin(), perLanguage.cend());
        QList<char32_t> sorted(letters.cbegin(), letters.cend());
        std::sort(sorted.begin(), sorted.end());
        j.letters = QString::fromUcs4(sorted.constData(), sorted.size());
        return j;
    }

private:
    struct Word {
        bool garbled = false;
        bool han = false;
        bool named = false;
        bool dense = false;
        int oddCase = 0;
        LanguageBits main; // the languages whose main letters write it
        bool locale = false;
        std::u32string letters;
    };
    struct Letter {
        LanguageBits main;
        bool locale = false;
    };

    // Words end at blanks and at the ASCII marks that part fields and names; an apostrophe,
    // hyphen or dot stays inside a name.
    static bool separates(QChar c)
    {
        const char16_t u = c.unicode();
        if (c.isSpace())
            return true;
        return u < 0x80 && !c.isLetterOrNumber() && u != u'\'' && u != u'-' && u != u'.';
    }

    static QString composed(QStringView word)
    {
        UErrorCode err = U_ZERO_ERROR;
        const UNormalizer2 *nfc = unorm2_getNFCInstance(&err);
        QString out(word.size(), Qt::Uninitialized);
        const int32_t n =
            U_SUCCESS(err)
                ? unorm2_normalize(nfc, reinterpret_cast<const UChar *>(word.utf16()), int32_t(word.size()),
                                   reinterpret_cast<UChar *>(out.data()), int32_t(out.size()), &err)
                : 0;
        if (U_FAILURE(err))
            return word.toString();
        out.resize(n);
        return out;
    }

    const Letter &letter(char32_t c)
    {
        auto found = m_letters.find(c);
        if (found == m_letters.end()) {
            Letter l;
            const auto &all = languages();
            for (size_t k = 0; k < all.size() && k < MaxLanguages; ++k) {
                l.main[k] = uset_contains(all[k].main.get(), UChar32(c));
            }
            l.locale = m_locale && uset_contains(m_locale.get(), UChar32(c));
            found = m_letters.insert(c, l);
        }
        return *found;
    }

    const Word &judgeWord(QStringView raw)
    {
        if (const auto known = m_words.constFind(raw.toString()); known != m_words.cend())
            return *known;
        const QList<uint> c = composed(raw).toUcs4();
        Word w;
        UScriptCode script = USCRIPT_INVALID_CODE;
        int cased = 0, upper = 0, latin = 0, wideLatin = 0, signs = 0;
        bool smallInitial = false;
        for (qsizetype k = 0; k < c.size() && !w.garbled; ++k) {
            const UChar32 ch = UChar32(c[k]);
            const bool before = k > 0 && isLetter(UChar32(c[k - 1]));
            const bool after = k + 1 < c.size() && isLetter(UChar32(c[k + 1]));
            if (isLetter(ch)) {
                // A mark belongs on a letter of its own script: Arabic vowel signs on no Latin one.
                if ((U_MASK(u_charType(ch)) & U_GC_M_MASK) != 0 && !markFits(ch, before, script)) {
                    w.garbled = true;
                    break;
                }
                const UScriptCode s = scriptOf(ch);
                if (s != USCRIPT_COMMON && s != USCRIPT_INHERITED && s != USCRIPT_UNKNOWN) {
                    w.garbled = script != USCRIPT_INVALID_CODE && script != s;
                    script = s;
                }
                // A capital after a small letter, one of them beyond ASCII: "RenŽ", not "McDonald".
                if (before && casedLower(UChar32(c[k - 1])) && (u_isupper(ch) || u_istitle(ch)) &&
                    (ch >= 0x80 || c[k - 1] >= 0x80))
                    w.garbled = true;
                // Nor a second capital beyond ASCII before small letters: "JŸrgen", "НУд".
                if (before && after && ch >= 0x80 && u_isupper(ch) && u_isupper(UChar32(c[k - 1])) &&
                    casedLower(UChar32(c[k + 1])))
                    w.garbled = true;
                if (u_isupper(ch) || u_istitle(ch) || casedLower(ch)) {
                    smallInitial = smallInitial || (cased == 0 && casedLower(ch));
                    ++cased;
                    upper += casedLower(ch) ? 0 : 1;
                }
                if (u_charType(ch) != U_NON_SPACING_MARK)
                    w.letters.push_back(char32_t(ch));
                if (s == USCRIPT_LATIN) {
                    ++latin;
                    wideLatin += ch >= 0x80 ? 1 : 0;
                }
                continue;
            }
            if (ch < 0x80)
                continue;
            ++signs;
            switch (u_charType(ch)) {
            case U_DASH_PUNCTUATION:
            case U_CONNECTOR_PUNCTUATION:
            case U_FORMAT_CHAR:
                // Joiners and soft hyphens stand inside words; a direction mark beside a letter
                // is garble.
                w.garbled = u_hasBinaryProperty(ch, UCHAR_BIDI_CONTROL) && (before || after);
                break;
            case U_START_PUNCTUATION:
            case U_INITIAL_PUNCTUATION:
                w.garbled = before; // opens a quote, after no letter
                break;
            case U_END_PUNCTUATION:
            case U_FINAL_PUNCTUATION:
                // An apostrophe stands between letters or ends a word; a closing quote ends one.
                w.garbled = ch == 0x2019 ? !before : after;
                break;
            case U_PRIVATE_USE_CHAR:
            case U_UNASSIGNED:
                w.garbled = true;
                break;
            case U_OTHER_SYMBOL:
                // A sign stands before or after a word, "Acme™", "°C", but not inside one; lines
                // of a box are drawn, and radicals are parts of Chinese characters.
                w.garbled = (before && after) ||
                            ((before || after) &&
                             (ublock_getCode(ch) == UBLOCK_BOX_DRAWING || scriptOf(ch) != USCRIPT_COMMON));
                break;
            case U_CURRENCY_SYMBOL:
                // "¤" stands for no currency: it is the euro of ISO-8859-15 read in another set.
                w.garbled = ch == 0x00A4 || before || after;
                break;
            default:
                // The Catalan middle dot, "Col·lell"; any other symbol beside a letter is garble.
                w.garbled = ch == 0x00B7 ? !(k > 0 && k + 1 < c.size() && (c[k - 1] | 0x20) == 'l' &&
                                             (c[k + 1] | 0x20) == 'l')
                                         : (before || after);
                break;
            }
        }
        w.oddCase = smallInitial ? 2 : (cased >= 2 && upper == cased) ? 1 : 0;
        w.named = cased >= 2 && upper == 1 && !smallInitial;
        // A Latin name has more plain letters than marked ones: "Èâàí" is the bytes of another
        // script. Signs without a letter stand one at a time: "€", not "™“¬".
        w.dense = wideLatin * 2 > latin;
        w.garbled = w.garbled || (signs >= 2 && w.letters.empty());
        w.main.set();
        if (!w.garbled) {
            // Every letter counts for the language a word is in ("Vytautas" is no Welsh name);
            // the letters beyond ASCII alone decide whether some language writes it at all.
            LanguageBits all;
            all.set();
            w.locale = true;
            for (const char32_t ch : w.letters) {
                const Letter &l = letter(ch);
                w.main &= l.main;
                if (ch < 0x80)
                    continue;
                all &= l.main;
                w.locale = w.locale && l.locale;
            }
            // Chinese characters are judged by the rest: the exemplar letters hold the common
            // ones only, and names take rarer ones too.
            w.han = script == USCRIPT_HAN;
            w.garbled = all.none() && !w.han;
        }
        if (w.garbled) {
            w.main.reset();
            w.locale = false;
        }
        return *m_words.insert(raw.toString(), w);
    }

    SetPtr m_locale;
    QHash<char32_t, Letter> m_letters;
    QHash<QString, Word> m_words;
};

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
    const QHash<QByteArray, Detected> detected = detectorView(bytes);
    Judge judge(locale);
    QList<Reading> readings;
    for (const Charset &c : charsets()) {
        if (isUnicode(c.name))
            continue;
        ListText read = decode(window, c.name, fileName);
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
                ListText whole = decode(bytes, name, fileName);
                if (!whole.ok() && !refusal.stray)
                    refusal = std::move(whole);
                return !whole.ok();
            });
        }
        readings.removeIf([](const Reading &r) { return r.charsets.isEmpty(); });
    }
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
