#include "XlsxStringPool.h"

#include "XlsxText.h"

void XlsxStringPool::append(std::string_view utf8, bool escaped)
{
    // The part holding the entries is far below 2 GiB, so the offsets leave their top bit free.
    m_text.append(utf8);
    m_ends.push_back(uint32_t(m_text.size()) | (escaped ? kEscaped : 0u));
}

QString XlsxStringPool::at(qsizetype i) const
{
    if (i < 0 || i >= size())
        return {};
    const uint32_t begin = i == 0 ? 0u : (m_ends[size_t(i) - 1] & ~kEscaped);
    const uint32_t end = m_ends[size_t(i)];
    const QString text = QString::fromUtf8(m_text.data() + begin, qsizetype((end & ~kEscaped) - begin));
    return (end & kEscaped) ? XlsxText::unescape(text) : text;
}

bool XlsxStringPool::isEmptyAt(qsizetype i) const
{
    if (i < 0 || i >= size())
        return true;
    const uint32_t begin = i == 0 ? 0u : (m_ends[size_t(i) - 1] & ~kEscaped);
    return (m_ends[size_t(i)] & ~kEscaped) == begin;
}

void XlsxStringPool::clear()
{
    m_text.clear();
    m_text.shrink_to_fit();
    m_ends.clear();
    m_ends.shrink_to_fit();
}
