#include "data/XlsxNumerals.h"

#include "data/IcuText.h"

#include <QString>

#include <unicode/dcfmtsym.h>
#include <unicode/locid.h>
#include <unicode/numsys.h>
#include <unicode/rbnf.h>

#include <charconv>
#include <cstring>
#include <mutex>

namespace
{
using IcuText::utf8;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The full-width point spreadsheets write between full-width digits and after the lower-case
// numerals of Chinese and Korean.
constexpr const char *kFullWidthPoint = "\xef\xbc\x8e"; // U+FF0E

// The ICU locale whose spelled-out numerals [DBNum1] and [DBNum2] take; "" for a language that has
// none. Korean writes them in Hanja, as Traditional Chinese spells them.
const char *spelledLocale(const QLocale &locale)
{
    if (locale.language() == QLocale::Japanese)
        return "ja";
    if (locale.language() == QLocale::Korean)
        return "zh_Hant";
    if (locale.language() != QLocale::Chinese)
        return "";
    const bool traditional = locale.script() == QLocale::TraditionalChineseScript ||
                             locale.territory() == QLocale::Taiwan ||
                             locale.territory() == QLocale::HongKong || locale.territory() == QLocale::Macao;
    return traditional ? "zh_Hant" : "zh";
}
} // namespace

// Either spelled-out numbers (rules set) or a numbering system's digits with its point and
// grouping. ICU's formats are not safe to share between threads: the lock guards them.
struct XlsxNumerals::Impl {
    std::mutex lock;
    std::unique_ptr<icu::RuleBasedNumberFormat> rules;
    icu::UnicodeString ruleSet;
    std::string digit[10]; // each digit written alone
    std::string point, grouping;

    std::string spelled(int64_t value)
    {
        const std::lock_guard<std::mutex> hold(lock);
        icu::UnicodeString out;
        icu::FieldPosition position;
        UErrorCode status = U_ZERO_ERROR;
        rules->format(value, ruleSet, out, position, status);
        return U_FAILURE(status) ? std::string() : utf8(out);
    }
};

XlsxNumerals::XlsxNumerals(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {}

XlsxNumerals::~XlsxNumerals() = default;

std::shared_ptr<const XlsxNumerals> XlsxNumerals::of(const std::optional<QLocale> &locale, int dbnum,
                                                     unsigned digitByte)
{
    if (!locale)
        return nullptr;
    auto impl = std::make_unique<Impl>();
    const char *spelledIn = spelledLocale(*locale);
    UErrorCode status = U_ZERO_ERROR;
    if ((dbnum == 1 || dbnum == 2) && *spelledIn) {
        impl->rules =
            std::make_unique<icu::RuleBasedNumberFormat>(icu::URBNF_SPELLOUT, icu::Locale(spelledIn), status);
        impl->ruleSet = dbnum == 1 ? u"%spellout-numbering" : u"%spellout-cardinal-financial";
        if (U_FAILURE(status))
            return nullptr;
        for (int d = 0; d < 10; ++d)
            impl->digit[d] = impl->spelled(d);
        // The point between a number's spelled whole and its digits, as spreadsheets write it:
        // full-width after lower-case Chinese and Korean numerals, else ICU's own, as in 1.5 (the
        // spoken 点 of financial Chinese; Japanese writes its middle dot in both forms).
        const bool japanese = locale->language() == QLocale::Japanese;
        icu::UnicodeString half;
        icu::FieldPosition position;
        impl->rules->format(1.5, japanese ? icu::UnicodeString(u"%spellout-numbering") : impl->ruleSet, half,
                            position, status);
        const std::string point = utf8(half), one = utf8(half.tempSubString(0, half.moveIndex32(0, 1))),
                          five = utf8(half.tempSubString(half.moveIndex32(half.length(), -1)));
        if (U_FAILURE(status) || point.size() <= one.size() + five.size())
            return nullptr;
        impl->point = dbnum == 1 && !japanese
                          ? std::string(kFullWidthPoint)
                          : point.substr(one.size(), point.size() - one.size() - five.size());
        return std::shared_ptr<const XlsxNumerals>(new XlsxNumerals(std::move(impl)));
    }
    // [DBNum3] writes full-width digits; a digit byte of 2 or more the language's own.
    const char *system = dbnum == 3 && *spelledIn ? "fullwide" : digitByte >= 2 ? "native" : nullptr;
    if (!system)
        return nullptr;
    icu::Locale base = icu::Locale::forLanguageTag(locale->bcp47Name().toStdString(), status);
    if (U_FAILURE(status))
        return nullptr;
    base.setKeywordValue("numbers", system, status);
    std::unique_ptr<icu::NumberingSystem> numbering(icu::NumberingSystem::createInstance(base, status));
    // ICU gives Japanese and Korean Western digits as their own, or numerals spelled out: their
    // digits are the Han ones, as Chinese has them.
    const QLocale::Language language = locale->language();
    if (U_SUCCESS(status) && numbering &&
        (numbering->isAlgorithmic() || std::string(numbering->getName()) == "latn") &&
        (language == QLocale::Chinese || language == QLocale::Japanese || language == QLocale::Korean)) {
        base.setKeywordValue("numbers", "hanidec", status);
        numbering.reset(icu::NumberingSystem::createInstance(base, status));
    }
    if (U_FAILURE(status) || !numbering || numbering->isAlgorithmic() || numbering->getRadix() != 10)
        return nullptr;
    const icu::UnicodeString digits = numbering->getDescription();
    if (std::string(numbering->getName()) == "latn" || digits.countChar32() != 10)
        return nullptr;
    for (int d = 0, at = 0; d < 10; ++d) {
        const int next = digits.moveIndex32(at, 1);
        impl->digit[d] = utf8(digits.tempSubStringBetween(at, next));
        at = next;
    }
    base.setKeywordValue("numbers", numbering->getName(), status);
    const icu::DecimalFormatSymbols symbols(base, status);
    if (U_FAILURE(status))
        return nullptr;
    impl->point = std::strcmp(system, "fullwide") == 0
                      ? std::string(kFullWidthPoint)
                      : utf8(symbols.getSymbol(icu::DecimalFormatSymbols::kDecimalSeparatorSymbol));
    impl->grouping = utf8(symbols.getSymbol(icu::DecimalFormatSymbols::kGroupingSeparatorSymbol));
    return std::shared_ptr<const XlsxNumerals>(new XlsxNumerals(std::move(impl)));
}

std::string XlsxNumerals::digits(const std::string &ascii) const
{
    std::string out;
    for (const char c : ascii)
        out += isDigit(c) ? m_impl->digit[c - '0'] : std::string(1, c);
    return out;
}

std::string XlsxNumerals::value(const std::string &ascii) const
{
    int64_t v = 0;
    const auto [end, ec] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), v);
    if (!m_impl->rules || ec != std::errc() || end != ascii.data() + ascii.size())
        return digits(ascii);
    const std::string spelled = m_impl->spelled(v);
    return spelled.empty() ? digits(ascii) : spelled;
}

std::string XlsxNumerals::number(const std::string &formatted) const
{
    std::string out;
    size_t at = 0;
    while (at < formatted.size()) {
        if (!isDigit(formatted[at])) {
            out += formatted[at++];
            continue;
        }
        // A run: digits, commas between them, and a point with the digits after it.
        std::string whole, fraction;
        bool pointed = false;
        size_t end = at;
        for (; end < formatted.size(); ++end) {
            const char c = formatted[end];
            const bool digitFollows = end + 1 < formatted.size() && isDigit(formatted[end + 1]);
            if (isDigit(c))
                (pointed ? fraction : whole) += c;
            else if (c == ',' && !pointed && digitFollows)
                whole += c;
            else if (c == '.' && !pointed && digitFollows)
                pointed = true;
            else
                break;
        }
        if (m_impl->rules) {
            std::string digitsOnly;
            for (const char c : whole)
                if (c != ',')
                    digitsOnly += c;
            out += value(digitsOnly); // past what a whole number holds: digit by digit
        } else {
            for (const char c : whole)
                out += c == ',' ? m_impl->grouping : m_impl->digit[c - '0'];
        }
        if (pointed)
            out += m_impl->point + digits(fraction);
        at = end;
    }
    return out;
}

std::string XlsxNumerals::firstEraYear()
{
    static const std::string name = [] {
        UErrorCode status = U_ZERO_ERROR;
        icu::RuleBasedNumberFormat rules(icu::URBNF_SPELLOUT, icu::Locale::getJapanese(), status);
        icu::UnicodeString out;
        icu::FieldPosition position;
        rules.format(int32_t(1), icu::UnicodeString(u"%spellout-numbering-year"), out, position, status);
        return U_FAILURE(status) ? std::string("1") : utf8(out);
    }();
    return name;
}
