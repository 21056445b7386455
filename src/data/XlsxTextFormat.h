// The text section of a format code, the one a text cell shows under: Alice under "Name: "@
// reads "Name: Alice" as the spreadsheet shows it.
#pragma once

#include <QString>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class XlsxTextFormat
{
public:
    // Null when text cells show as they are stored: the code has no text section (the fourth
    // section, or one holding '@'), or its text section is "@" alone.
    static std::unique_ptr<XlsxTextFormat> parse(QStringView code);

    // The text as its section shows it: each '@' the text, around them the section's literals.
    // An empty fourth section hides the text ("").
    std::string format(std::string_view text) const;
    // The size of format(text) for a text of textBytes, known before it is made.
    size_t shownBytes(size_t textBytes) const { return m_literalBytes + (m_literals.size() - 1) * textBytes; }

private:
    std::vector<std::string> m_literals; // before the first '@', between each two, after the last
    size_t m_literalBytes = 0;
};
