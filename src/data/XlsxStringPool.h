// The shared strings of a workbook kept compactly: one UTF-8 buffer and the end of each entry,
// turned into QString only when a cell's text is asked for.
#pragma once

#include <QString>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class XlsxStringPool
{
public:
    qsizetype size() const { return qsizetype(m_ends.size()); }
    bool isEmpty() const { return m_ends.empty(); }
    size_t textBytes() const { return m_text.size(); }

    // Adds an entry as stored: escaped marks text that may hold _xHHHH_ escapes.
    void append(std::string_view utf8, bool escaped);
    QString at(qsizetype i) const;
    bool isEmptyAt(qsizetype i) const;
    void clear();

private:
    static constexpr uint32_t kEscaped = 0x80000000u;
    std::string m_text;
    std::vector<uint32_t> m_ends; // end offset of each entry, kEscaped set when it needs unescaping
};
