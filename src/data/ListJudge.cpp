#include "data/ListJudge.h"

#include <QList>
#include <QSet>

#include <unicode/uchar.h>
#include <unicode/uloc.h>
#include <unicode/ulocdata.h>
#include <unicode/unorm2.h>
#include <unicode/uscript.h>

#include <algorithm>
#include <vector>

namespace
{
using ListJudging::LanguageBits;
using ListJudging::MaxLanguages;
using ListJudging::SetPtr;

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
            Language l{name, ListJudging::lettersOf(name, false)};
            if (l.main && !uset_isEmpty(l.main.get()))
                out.push_back(std::move(l));
        }
        return out;
    }();
    return all;
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

// Words judged in each reading: enough to tell readings apart, and a long list is not judged
// whole in every set.
constexpr qsizetype JudgedWords = 4000;

// Words end at blanks and at the ASCII marks that part fields and names; an apostrophe,
// hyphen or dot stays inside a name.
bool separates(QChar c)
{
    const char16_t u = c.unicode();
    if (c.isSpace())
        return true;
    return u < 0x80 && !c.isLetterOrNumber() && u != u'\'' && u != u'-' && u != u'.';
}

QString composed(QStringView word)
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
// Whether a character that is no letter garbles the word it stands in, as c[k] between letters
// or not.
bool signGarbles(const QList<uint> &c, qsizetype k, bool before, bool after)
{
    const UChar32 ch = UChar32(c[k]);
    switch (u_charType(ch)) {
    case U_DASH_PUNCTUATION:
    case U_CONNECTOR_PUNCTUATION:
    case U_FORMAT_CHAR:
        // Joiners and soft hyphens stand inside words; a direction mark beside a letter
        // is garble.
        return u_hasBinaryProperty(ch, UCHAR_BIDI_CONTROL) && (before || after);
    case U_START_PUNCTUATION:
    case U_INITIAL_PUNCTUATION:
        return before; // opens a quote, after no letter
    case U_END_PUNCTUATION:
    case U_FINAL_PUNCTUATION:
        // An apostrophe stands between letters or ends a word; a closing quote ends one.
        return ch == 0x2019 ? !before : after;
    case U_PRIVATE_USE_CHAR:
    case U_UNASSIGNED:
        return true;
    case U_OTHER_SYMBOL: {
        // A sign stands before or after a word, "Acme™", "°C", but not inside one; lines and
        // blocks of a box are drawn, and radicals are parts of Chinese characters.
        const UBlockCode block = ublock_getCode(ch);
        const bool drawn = block == UBLOCK_BOX_DRAWING || block == UBLOCK_BLOCK_ELEMENTS;
        return (before && after) || ((before || after) && (drawn || scriptOf(ch) != USCRIPT_COMMON));
    }
    case U_CURRENCY_SYMBOL:
        // "¤" stands for no currency: it is the euro of ISO-8859-15 read in another set.
        return ch == 0x00A4 || before || after;
    default:
        // The Catalan middle dot, "Col·lell"; any other symbol beside a letter is garble.
        return ch == 0x00B7
                   ? !(k > 0 && k + 1 < c.size() && (c[k - 1] | 0x20) == 'l' && (c[k + 1] | 0x20) == 'l')
                   : (before || after);
    }
}
} // namespace

namespace ListJudging
{
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

bool holds(const USet *set, const QString &letters)
{
    return set && uset_containsAllCodePoints(set, reinterpret_cast<const UChar *>(letters.utf16()),
                                             int32_t(letters.size()));
}

Judge::Judge(const QLocale &locale)
{
    const QByteArray name = locale.language() == QLocale::C ? QByteArray("en") : locale.name().toLatin1();
    m_locale = lettersOf(name.constData(), true);
}
Judgement Judge::judge(QStringView text)
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
const Judge::Letter &Judge::letter(char32_t c)
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
const Judge::Word &Judge::judgeWord(QStringView raw)
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
        w.garbled = signGarbles(c, k, before, after);
    }
    w.oddCase = smallInitial ? 2 : (cased >= 2 && upper == cased) ? 1 : 0;
    w.named = cased >= 2 && upper == 1 && !smallInitial;
    // A Latin name has more plain letters than marked ones: "Èâàí" is the bytes of another
    // script. Signs stand one at a time beside letters: "€", "Acme™", not "™“¬" or "³¯ï".
    w.dense = wideLatin * 2 > latin;
    w.garbled = w.garbled || (signs >= 2 && size_t(signs) > w.letters.size());
    placeWord(w, script == USCRIPT_HAN);
    return *m_words.insert(raw.toString(), w);
}

void Judge::placeWord(Word &w, bool han)
{
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
        w.han = han;
        w.garbled = all.none() && !w.han;
    }
    if (w.garbled) {
        w.main.reset();
        w.locale = false;
    }
}
} // namespace ListJudging
