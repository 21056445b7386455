// ICU's text as UTF-8, for the workbook readers that take words and numerals from ICU.
#pragma once

#include <unicode/unistr.h>

#include <string>

namespace IcuText
{
inline std::string utf8(const icu::UnicodeString &text)
{
    std::string out;
    text.toUTF8String(out);
    return out;
}
} // namespace IcuText
