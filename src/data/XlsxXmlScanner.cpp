#include "XlsxXmlScanner.h"

#include <QIODevice>

#include <algorithm>
#include <cctype>
#include <cstring>

namespace
{

constexpr size_t kChunk = 256 * 1024;
constexpr size_t kMaxWindow = 16u << 20; // the longest tag or declaration a part may hold

inline bool isSpace(char c)
{
    return c == ' ' || c == '\n' || c == '\t' || c == '\r';
}

inline bool isNameChar(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return u >= 0x80 || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') ||
           u == '_' || u == ':' || u == '-' || u == '.';
}

inline bool isNameStart(char c)
{
    return isNameChar(c) && !(c >= '0' && c <= '9') && c != '-' && c != '.';
}

std::string_view localPart(std::string_view qname)
{
    const size_t colon = qname.rfind(':');
    return colon == std::string_view::npos ? qname : qname.substr(colon + 1);
}

bool isXmlChar(uint32_t u)
{
    if (u < 0x20)
        return u == 0x9 || u == 0xA || u == 0xD;
    return (u < 0xD800) || (u >= 0xE000 && u <= 0xFFFD) || (u >= 0x10000 && u <= 0x10FFFF);
}

void appendUtf8(std::string *out, uint32_t u)
{
    if (u < 0x80) {
        out->push_back(char(u));
    } else if (u < 0x800) {
        out->push_back(char(0xC0 | (u >> 6)));
        out->push_back(char(0x80 | (u & 0x3F)));
    } else if (u < 0x10000) {
        out->push_back(char(0xE0 | (u >> 12)));
        out->push_back(char(0x80 | ((u >> 6) & 0x3F)));
        out->push_back(char(0x80 | (u & 0x3F)));
    } else {
        out->push_back(char(0xF0 | (u >> 18)));
        out->push_back(char(0x80 | ((u >> 12) & 0x3F)));
        out->push_back(char(0x80 | ((u >> 6) & 0x3F)));
        out->push_back(char(0x80 | (u & 0x3F)));
    }
}

// The text a reference stands for (ref without '&' and ';'); false for anything but XML's own
// entities and character references of characters XML allows.
bool resolveReference(std::string_view ref, std::string *out)
{
    char c = 0;
    if (ref == "lt")
        c = '<';
    else if (ref == "gt")
        c = '>';
    else if (ref == "amp")
        c = '&';
    else if (ref == "quot")
        c = '"';
    else if (ref == "apos")
        c = '\'';
    if (c) {
        if (out)
            out->push_back(c);
        return true;
    }
    if (ref.size() < 2 || ref[0] != '#')
        return false;
    const bool hex = ref[1] == 'x';
    const std::string_view digits = ref.substr(hex ? 2 : 1);
    if (digits.empty() || digits.size() > 8)
        return false;
    uint32_t u = 0;
    for (const char d : digits) {
        int v;
        if (d >= '0' && d <= '9')
            v = d - '0';
        else if (hex && d >= 'a' && d <= 'f')
            v = d - 'a' + 10;
        else if (hex && d >= 'A' && d <= 'F')
            v = d - 'A' + 10;
        else
            return false;
        u = u * (hex ? 16 : 10) + uint32_t(v);
    }
    if (!isXmlChar(u))
        return false;
    if (out)
        appendUtf8(out, u);
    return true;
}

} // namespace

XlsxXmlScanner::XlsxXmlScanner(QIODevice *device) : m_device(device)
{
    m_buf.resize(kChunk);
    m_open.reserve(16);
}

XlsxXmlScanner::~XlsxXmlScanner() = default;

XlsxXmlScanner::Token XlsxXmlScanner::fail(Failure f)
{
    if (m_failure == Failure::None)
        m_failure = f;
    return Token::Invalid;
}

// Every byte read is checked once: well-formed UTF-8 and no control character XML forbids.
bool XlsxXmlScanner::validate(const char *data, size_t n)
{
    const auto *p = reinterpret_cast<const unsigned char *>(data);
    size_t i = 0;
    while (i < n) {
        if (m_utf8Need == 0) {
            while (i + 8 <= n) {
                uint64_t w;
                std::memcpy(&w, p + i, 8);
                constexpr uint64_t high = 0x8080808080808080ull;
                if ((w & high) || ((w - 0x2020202020202020ull) & ~w & high))
                    break;
                i += 8;
            }
            if (i >= n)
                break;
            const unsigned char c = p[i++];
            if (c < 0x80) {
                if (c < 0x20 && c != 0x9 && c != 0xA && c != 0xD)
                    return false;
                continue;
            }
            if (c < 0xC2 || c > 0xF4)
                return false;
            m_utf8Lead = c;
            m_utf8First = true;
            m_utf8Need = c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
        } else {
            const unsigned char c = p[i++];
            unsigned lo = 0x80, hi = 0xBF;
            if (m_utf8First) {
                m_utf8First = false;
                if (m_utf8Lead == 0xE0)
                    lo = 0xA0;
                else if (m_utf8Lead == 0xED)
                    hi = 0x9F; // no surrogates
                else if (m_utf8Lead == 0xF0)
                    lo = 0x90;
                else if (m_utf8Lead == 0xF4)
                    hi = 0x8F;
            }
            if (c < lo || c > hi)
                return false;
            --m_utf8Need;
        }
    }
    return true;
}

bool XlsxXmlScanner::fill()
{
    if (m_eof || m_failure != Failure::None)
        return false;
    if (m_pos > 0) {
        std::memmove(m_buf.data(), m_buf.data() + m_pos, m_len - m_pos);
        m_len -= m_pos;
        m_pos = 0;
    }
    if (m_buf.size() - m_len < kChunk / 2) {
        if (m_buf.size() >= kMaxWindow)
            return failed();
        m_buf.resize(std::min(kMaxWindow, m_buf.size() * 2));
    }
    const bool first = !m_started && m_read == 0;
    qint64 n = 0;
    if (m_utf16) {
        QByteArray raw(qsizetype(kChunk / 4), Qt::Uninitialized);
        n = m_device->read(raw.data(), raw.size());
        if (n > 0) {
            m_read += n;
            const QByteArray utf8 = QString((*m_utf16)(QByteArrayView(raw.constData(), n))).toUtf8();
            if (m_utf16->hasError() || size_t(utf8.size()) > m_buf.size() - m_len)
                return failed();
            std::memcpy(m_buf.data() + m_len, utf8.constData(), size_t(utf8.size()));
            n = utf8.size();
        }
    } else {
        n = m_device->read(m_buf.data() + m_len, qint64(m_buf.size() - m_len));
        if (n > 0)
            m_read += n;
    }
    if (n < 0 && !m_device->atEnd())
        return failed();
    if (n <= 0) {
        m_eof = true;
        if (m_utf8Need != 0)
            failed();
        return false;
    }
    size_t begin = m_len;
    m_len += size_t(n);
    if (first && !m_utf16) {
        while (m_len < 4 && !m_eof) { // enough to see a byte order mark
            const qint64 more = m_device->read(m_buf.data() + m_len, qint64(m_buf.size() - m_len));
            if (more <= 0)
                break;
            m_read += more;
            m_len += size_t(more);
        }
        const auto *b = reinterpret_cast<const unsigned char *>(m_buf.data());
        if (m_len >= 2 && ((b[0] == 0xFF && b[1] == 0xFE) || (b[0] == 0xFE && b[1] == 0xFF))) {
            m_utf16 = std::make_unique<QStringDecoder>(b[0] == 0xFF ? QStringDecoder::Utf16LE
                                                                    : QStringDecoder::Utf16BE);
            const QByteArray utf8 =
                QString((*m_utf16)(QByteArrayView(m_buf.data() + 2, qsizetype(m_len - 2)))).toUtf8();
            if (m_utf16->hasError() || size_t(utf8.size()) > m_buf.size())
                return failed();
            std::memcpy(m_buf.data(), utf8.constData(), size_t(utf8.size()));
            m_len = size_t(utf8.size());
        } else if (m_len >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) {
            begin = m_pos = 3;
        }
    }
    if (!validate(m_buf.data() + begin, m_len - begin))
        return failed();
    return true;
}

bool XlsxXmlScanner::ensure(size_t n)
{
    while (m_len - m_pos < n) {
        if (!fill())
            return false;
    }
    return true;
}

XlsxXmlScanner::Token XlsxXmlScanner::next()
{
    if (m_failure != Failure::None)
        return Token::Invalid;
    if (m_pendingEnd) {
        m_pendingEnd = false;
        return Token::EndElement;
    }
    for (;;) {
        if (!skipText()) {
            if (m_failure != Failure::None)
                return Token::Invalid;
            if (!m_open.empty() || !m_rootSeen)
                return fail();
            return Token::EndOfDocument;
        }
        const Token t = markup();
        m_started = true;
        if (t != Token::EndOfDocument) // markup passed over: comment, instruction, CDATA
            return t;
        if (m_failure != Failure::None)
            return Token::Invalid;
    }
}

// Passes over text up to the next '<'; outside the root element only white space may stand.
bool XlsxXmlScanner::skipText()
{
    for (;;) {
        const char *b = m_buf.data() + m_pos;
        const char *e = m_buf.data() + m_len;
        if (m_open.empty()) {
            while (b < e && isSpace(*b))
                ++b;
            m_pos = size_t(b - m_buf.data());
            if (b < e)
                return *b == '<' ? true : failed();
        } else {
            while (b < e && *b != '<' && *b != '&')
                ++b;
            m_pos = size_t(b - m_buf.data());
            if (b < e) {
                if (*b == '<')
                    return true;
                if (!reference(nullptr))
                    return false;
                continue;
            }
        }
        if (!fill())
            return false;
    }
}

// At a '<': an element boundary, or markup passed over (given as EndOfDocument to go on).
XlsxXmlScanner::Token XlsxXmlScanner::markup()
{
    if (!ensure(2))
        return fail();
    const char c = m_buf[m_pos + 1];
    if (c == '/')
        return endTag();
    if (c == '?') {
        if (!m_started && ensure(6) && std::memcmp(m_buf.data() + m_pos, "<?xml", 5) == 0 &&
            isSpace(m_buf[m_pos + 5])) {
            // The declaration is short: it is held whole in the window to be looked at.
            size_t end;
            for (;;) {
                end = std::string_view(m_buf.data() + m_pos, m_len - m_pos).find("?>");
                if (end != std::string_view::npos)
                    break;
                if (!fill())
                    return fail();
            }
            if (!checkDeclaration(m_pos, m_pos + end))
                return fail();
            m_pos += end + 2;
            return Token::EndOfDocument;
        }
        m_pos += 2;
        return skipPast("?>") ? Token::EndOfDocument : fail();
    }
    if (c == '!') {
        if (ensure(4) && std::memcmp(m_buf.data() + m_pos, "<!--", 4) == 0) {
            m_pos += 4;
            return skipPast("-->") ? Token::EndOfDocument : fail();
        }
        if (!m_open.empty() && ensure(9) && std::memcmp(m_buf.data() + m_pos, "<![CDATA[", 9) == 0) {
            m_pos += 9;
            return skipPast("]]>") ? Token::EndOfDocument : fail();
        }
        return fail(); // a document type declaration, or worse
    }
    return startTag();
}

// Only encodings the scanner reads may be declared; the window still holds the declaration.
bool XlsxXmlScanner::checkDeclaration(size_t begin, size_t end)
{
    const std::string_view decl(m_buf.data() + begin, end - begin);
    const size_t at = decl.find("encoding");
    if (at == std::string_view::npos)
        return true;
    size_t q = decl.find_first_of("\"'", at);
    if (q == std::string_view::npos)
        return false;
    const size_t close = decl.find(decl[q], q + 1);
    if (close == std::string_view::npos)
        return false;
    std::string name(decl.substr(q + 1, close - q - 1));
    std::transform(name.begin(), name.end(), name.begin(), [](char ch) { return char(std::tolower(ch)); });
    if (m_utf16)
        return name == "utf-16" || name == "utf-16le" || name == "utf-16be";
    return name == "utf-8" || name == "utf8" || name == "us-ascii" || name == "ascii";
}

bool XlsxXmlScanner::skipPast(std::string_view terminator)
{
    for (;;) {
        const std::string_view window(m_buf.data() + m_pos, m_len - m_pos);
        const size_t at = window.find(terminator);
        if (at != std::string_view::npos) {
            m_pos += at + terminator.size();
            return true;
        }
        if (window.size() >= terminator.size())
            m_pos = m_len - (terminator.size() - 1);
        if (!fill())
            return failed();
    }
}

XlsxXmlScanner::Token XlsxXmlScanner::startTag()
{
    if (m_open.empty() && m_rootSeen)
        return fail(); // a second root element
    // The whole tag into the window: up to its '>' outside quoted values.
    size_t i = m_pos + 1;
    char quote = 0;
    for (;;) {
        const char *p = m_buf.data() + i;
        const char *e = m_buf.data() + m_len;
        for (; p < e; ++p) {
            const char c = *p;
            if (quote) {
                if (c == quote)
                    quote = 0;
                else if (c == '<')
                    return fail();
            } else if (c == '>') {
                break;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (c == '<') {
                return fail();
            }
        }
        if (p < e) {
            i = size_t(p - m_buf.data());
            break;
        }
        const size_t scanned = m_len - m_pos;
        if (!fill())
            return fail();
        i = m_pos + scanned;
    }
    const size_t tagEnd = i;
    const char *buf = m_buf.data();
    size_t p = m_pos + 1;
    if (!isNameStart(buf[p]))
        return fail();
    while (p < tagEnd && isNameChar(buf[p]))
        ++p;
    const std::string_view qname(buf + m_pos + 1, p - m_pos - 1);
    m_attrs.clear();
    bool selfClosing = false;
    for (;;) {
        const size_t before = p;
        while (p < tagEnd && isSpace(buf[p]))
            ++p;
        if (p == tagEnd)
            break;
        if (buf[p] == '/') {
            if (p + 1 != tagEnd)
                return fail();
            selfClosing = true;
            break;
        }
        if (p == before || !isNameStart(buf[p]))
            return fail();
        Attribute a;
        a.nameBegin = p;
        while (p < tagEnd && isNameChar(buf[p]))
            ++p;
        a.nameEnd = p;
        while (p < tagEnd && isSpace(buf[p]))
            ++p;
        if (p == tagEnd || buf[p] != '=')
            return fail();
        ++p;
        while (p < tagEnd && isSpace(buf[p]))
            ++p;
        if (p == tagEnd || (buf[p] != '"' && buf[p] != '\''))
            return fail();
        const char q = buf[p++];
        a.valueBegin = p;
        a.plain = true;
        while (buf[p] != q) {
            const char c = buf[p];
            if (c == '&' || c == '\t' || c == '\n' || c == '\r')
                a.plain = false;
            ++p;
        }
        a.valueEnd = p++;
        const std::string_view attrName(buf + a.nameBegin, a.nameEnd - a.nameBegin);
        for (const Attribute &o : m_attrs) {
            if (std::string_view(buf + o.nameBegin, o.nameEnd - o.nameBegin) == attrName)
                return fail();
        }
        if (!a.plain && !decode(a.valueBegin, a.valueEnd, nullptr))
            return fail();
        m_attrs.push_back(a);
    }
    m_name.assign(localPart(qname));
    m_rootSeen = true;
    if (selfClosing)
        m_pendingEnd = true;
    else
        m_open.emplace_back(qname);
    m_pos = tagEnd + 1;
    return Token::StartElement;
}

XlsxXmlScanner::Token XlsxXmlScanner::endTag()
{
    size_t i = m_pos + 2;
    for (;;) {
        const void *gt = std::memchr(m_buf.data() + i, '>', m_len - i);
        if (gt) {
            i = size_t(static_cast<const char *>(gt) - m_buf.data());
            break;
        }
        const size_t scanned = m_len - m_pos;
        if (!fill())
            return fail();
        i = m_pos + scanned;
    }
    size_t end = i;
    while (end > m_pos + 2 && isSpace(m_buf[end - 1]))
        --end;
    const std::string_view qname(m_buf.data() + m_pos + 2, end - m_pos - 2);
    if (m_open.empty() || m_open.back() != qname)
        return fail();
    m_name.assign(localPart(qname));
    m_open.pop_back();
    m_pos = i + 1;
    return Token::EndElement;
}

bool XlsxXmlScanner::reference(std::string *out)
{
    ensure(12); // the longest reference allowed: &#x10FFFF; (a short tail at the end is fine)
    const size_t n = std::min<size_t>(12, m_len - m_pos);
    const char *p = m_buf.data() + m_pos;
    const void *semi = std::memchr(p, ';', n);
    if (!semi)
        return failed();
    const size_t len = size_t(static_cast<const char *>(semi) - p);
    if (!resolveReference(std::string_view(p + 1, len - 1), out))
        return failed();
    m_pos += len + 1;
    return true;
}

// An attribute value with references resolved and white space normalised, as XML reads it.
bool XlsxXmlScanner::decode(size_t begin, size_t end, std::string *out) const
{
    const char *buf = m_buf.data();
    for (size_t i = begin; i < end; ++i) {
        const char c = buf[i];
        if (c == '&') {
            const void *semi = std::memchr(buf + i, ';', end - i);
            if (!semi)
                return false;
            const size_t stop = size_t(static_cast<const char *>(semi) - buf);
            if (!resolveReference(std::string_view(buf + i + 1, stop - i - 1), out))
                return false;
            i = stop;
        } else if (c == '\r') {
            if (out)
                out->push_back(' ');
            if (i + 1 < end && buf[i + 1] == '\n')
                ++i;
        } else if (out) {
            out->push_back(c == '\t' || c == '\n' ? ' ' : c);
        }
    }
    return true;
}

bool XlsxXmlScanner::attribute(std::string_view localName, std::string *value, bool prefixed)
{
    const char *buf = m_buf.data();
    for (const Attribute &a : m_attrs) {
        const std::string_view qname(buf + a.nameBegin, a.nameEnd - a.nameBegin);
        const std::string_view local = localPart(qname);
        if (local != localName || (local.size() != qname.size()) != prefixed)
            continue;
        value->clear();
        if (a.plain)
            value->assign(buf + a.valueBegin, a.valueEnd - a.valueBegin);
        else
            decode(a.valueBegin, a.valueEnd, value);
        return true;
    }
    return false;
}

bool XlsxXmlScanner::appendCdata(std::string *out, size_t limit)
{
    for (;;) {
        const std::string_view window(m_buf.data() + m_pos, m_len - m_pos);
        const size_t at = window.find("]]>");
        const size_t take = at != std::string_view::npos ? at : (window.size() >= 2 ? window.size() - 2 : 0);
        if (out->size() + take > limit)
            return failed(Failure::TooLarge);
        for (size_t k = 0; k < take; ++k) {
            const char c = window[k];
            if (c != '\r')
                out->push_back(c);
            else if (k + 1 >= take || window[k + 1] != '\n')
                out->push_back('\n');
        }
        m_pos += take;
        if (at != std::string_view::npos) {
            m_pos += 3;
            return true;
        }
        if (!fill())
            return failed();
    }
}

bool XlsxXmlScanner::readElementText(std::string *out, size_t limit)
{
    if (m_failure != Failure::None)
        return false;
    if (m_pendingEnd) {
        m_pendingEnd = false;
        return true;
    }
    for (;;) {
        const char *s = m_buf.data() + m_pos;
        const char *b = s;
        const char *e = m_buf.data() + m_len;
        while (b < e && *b != '<' && *b != '&' && *b != '\r')
            ++b;
        if (b > s) {
            if (out->size() + size_t(b - s) > limit)
                return failed(Failure::TooLarge);
            out->append(s, b);
            m_pos = size_t(b - m_buf.data());
        }
        if (b == e) {
            if (!fill())
                return failed();
            continue;
        }
        if (*b == '&') {
            if (!reference(out))
                return false;
            if (out->size() > limit)
                return failed(Failure::TooLarge);
            continue;
        }
        if (*b == '\r') {
            ++m_pos;
            if (ensure(1) && m_buf[m_pos] == '\n')
                ++m_pos;
            out->push_back('\n');
            continue;
        }
        if (!ensure(2))
            return failed();
        const char c = m_buf[m_pos + 1];
        if (c == '/')
            return endTag() == Token::EndElement;
        if (c == '!' && ensure(9) && std::memcmp(m_buf.data() + m_pos, "<![CDATA[", 9) == 0) {
            m_pos += 9;
            if (!appendCdata(out, limit))
                return false;
            continue;
        }
        if (c == '!' || c == '?') {
            if (markup() == Token::Invalid)
                return false;
            continue;
        }
        if (startTag() != Token::StartElement || !skipElement())
            return false;
    }
}

bool XlsxXmlScanner::skipElement()
{
    if (m_pendingEnd) {
        m_pendingEnd = false;
        return true;
    }
    const size_t depth = m_open.size();
    for (;;) {
        const Token t = next();
        if (t == Token::Invalid || t == Token::EndOfDocument)
            return failed();
        if (t == Token::EndElement && m_open.size() < depth)
            return true;
    }
}
