// The numerals a workbook's format code writes its digits in: the native digits of the language a
// locale id's digit byte asks for ("[$-4000439]0": १२३५), or the Chinese, Japanese and Korean
// numerals of [DBNum1] to [DBNum3] ("[DBNum2][$-804]General": 壹仟贰佰叁拾肆点伍陆). Digits and spelled-out
// numbers come from ICU's numbering systems and spell-out rules.
#pragma once

#include <QLocale>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

class XlsxNumerals
{
public:
    // The numerals of a code with [DBNum<dbnum>] (0 for none) and a locale (its id's digit byte
    // in `digitByte`); null when its digits stay Western: no DBNum code under a language that has
    // such numerals, and a digit byte below 2.
    static std::shared_ptr<const XlsxNumerals> of(const std::optional<QLocale> &locale, int dbnum,
                                                  unsigned digitByte);

    // A formatted number with each run of its digits (and the point and commas between them)
    // written in these numerals: spelled out as a whole under DBNum, digit by digit else.
    std::string number(const std::string &formatted) const;
    // The digits one by one (a year "2024": 二〇二四).
    std::string digits(const std::string &ascii) const;
    // A value of a date (a month, a day, an hour) as these numerals write it: spelled out under
    // DBNum (十二), digit by digit else; `ascii` its digits as the code pads them.
    std::string value(const std::string &ascii) const;
    // The first year of a Japanese era as it is named (元) where its numerals are written out, or
    // where the locale tag asks for it ("[$-ja-JP-x-gannen]").
    static std::string firstEraYear();

    ~XlsxNumerals();
    XlsxNumerals(const XlsxNumerals &) = delete;
    XlsxNumerals &operator=(const XlsxNumerals &) = delete;

    struct Impl;

private:
    explicit XlsxNumerals(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> m_impl;
};
