// Pulls the elements of one XML part of a workbook from a stream, keeping only a window of it in
// memory. Workbook parts need no more than XML's own entities: any document type declaration is refused.
#pragma once

#include <QStringDecoder>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QIODevice;

class XlsxXmlScanner
{
public:
    enum class Token { StartElement, EndElement, EndOfDocument, Invalid };
    enum class Failure { None, Corrupt, TooLarge };

    // The device is read sequentially and stays owned by the caller.
    explicit XlsxXmlScanner(QIODevice *device);
    ~XlsxXmlScanner();
    XlsxXmlScanner(const XlsxXmlScanner &) = delete;
    XlsxXmlScanner &operator=(const XlsxXmlScanner &) = delete;

    // The next element boundary; text between elements is checked and passed over. An empty
    // element (<a/>) gives its StartElement and then its EndElement.
    Token next();

    // Local name (without prefix) of the element just started or ended.
    std::string_view name() const { return m_name; }
    // Number of elements open, the one just started included (even when it is empty).
    int depth() const { return int(m_open.size()) + (m_pendingEnd ? 1 : 0); }

    // Value of the attribute of the element just started, entities resolved; false when absent.
    // prefixed: the attribute must carry a namespace prefix (r:id), otherwise it must not.
    bool attribute(std::string_view localName, std::string *value, bool prefixed = false);

    // Right after a StartElement: appends the element's own text (child elements passed over) to
    // out and reads through its end tag; false, TooLarge, when out would pass limit bytes.
    bool readElementText(std::string *out, size_t limit);
    // Right after a StartElement: reads through the element's end tag.
    bool skipElement();

    Failure failure() const { return m_failure; }

private:
    struct Attribute {
        size_t nameBegin, nameEnd; // qualified name in the buffer
        size_t valueBegin, valueEnd;
        bool plain; // no reference or whitespace to normalise
    };

    bool fill(); // more bytes at the end of the window; false at the end of the stream
    bool ensure(size_t n);
    Token fail(Failure f = Failure::Corrupt);
    bool failed(Failure f = Failure::Corrupt)
    {
        fail(f);
        return false;
    }
    bool validate(const char *p, size_t n);
    bool checkDeclaration(size_t begin, size_t end);

    Token markup();
    Token startTag();
    Token endTag();
    bool skipPast(std::string_view terminator);
    bool skipText();
    bool reference(std::string *out);
    bool appendCdata(std::string *out, size_t limit);
    bool decode(size_t begin, size_t end, std::string *out) const;

    QIODevice *m_device;
    std::vector<char> m_buf;
    size_t m_pos = 0; // next unread byte
    size_t m_len = 0; // bytes held
    qint64 m_read = 0;
    bool m_eof = false;
    bool m_started = false;
    bool m_rootSeen = false;
    bool m_pendingEnd = false;
    Failure m_failure = Failure::None;

    std::unique_ptr<QStringDecoder> m_utf16;
    unsigned m_utf8Need = 0; // continuation bytes still expected across fills
    unsigned char m_utf8Lead = 0;
    bool m_utf8First = false;

    std::string m_name;
    std::vector<std::string> m_open; // qualified names of the open elements
    std::vector<Attribute> m_attrs;
};
