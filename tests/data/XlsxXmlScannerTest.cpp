// The XML scanner of workbook parts: what it gives for the XML that writers produce, the same
// answer however the stream is cut into reads, and refusal of what is not well-formed or declares a DTD.
#include "data/XlsxXmlScanner.h"

#include <QBuffer>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <string>

namespace
{

// Hands out at most `step` bytes a read, as a slow or chunked stream does.
class TrickleDevice : public QIODevice
{
public:
    TrickleDevice(QByteArray data, qint64 step) : m_data(std::move(data)), m_step(step)
    {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *out, qint64 max) override
    {
        const qint64 n = std::min({max, m_step, qint64(m_data.size()) - m_at});
        if (n <= 0)
            return -1;
        memcpy(out, m_data.constData() + m_at, size_t(n));
        m_at += n;
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray m_data;
    qint64 m_step;
    qint64 m_at = 0;
};

// A trace of every token: start tags with the attributes asked for, element texts, end tags.
std::string trace(QIODevice *device, XlsxXmlScanner::Failure *failure = nullptr)
{
    XlsxXmlScanner xml(device);
    std::string out;
    std::string value;
    for (;;) {
        const auto t = xml.next();
        if (t == XlsxXmlScanner::Token::StartElement) {
            out += "<" + std::string(xml.name());
            for (const char *a : {"a", "b"}) {
                if (xml.attribute(a, &value))
                    out += std::string(" ") + a + "=" + value;
            }
            if (xml.attribute("id", &value, true))
                out += " prefixed-id=" + value;
            out += ">";
            if (xml.name() == "t") {
                value.clear();
                if (!xml.readElementText(&value, 1u << 30)) {
                    out += "!";
                    break;
                }
                out += "[" + value + "]</t>";
            }
        } else if (t == XlsxXmlScanner::Token::EndElement) {
            out += "</" + std::string(xml.name()) + ">";
        } else {
            out += t == XlsxXmlScanner::Token::EndOfDocument ? "$" : "!";
            break;
        }
    }
    if (failure)
        *failure = xml.failure();
    return out;
}

std::string traceOf(const QByteArray &xml, qint64 step = 1 << 20, XlsxXmlScanner::Failure *failure = nullptr)
{
    TrickleDevice device(xml, step);
    return trace(&device, failure);
}

const QByteArray kDocument =
    "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
    "<!-- a comment -->\n<x:root xmlns:x=\"urn:x\" xmlns:r=\"urn:r\" a='1 &amp; 2' b=\"tab\there\">"
    "<t>plain</t><t xml:space=\"preserve\">  &lt;&#65;&#x1F600;&gt; caf\xC3\xA9 </t>"
    "<t>line\r\nbreak\rx&#13;</t><t><![CDATA[<raw & kept>]]>+<i>skipped</i>tail</t>"
    "<e r:id=\"rId7\" id=\"plain\"/><x:e a=\"&quot;q&apos;\" ></x:e ><?pi data?><t/></x:root>\n";

const std::string kTrace =
    "<root a=1 & 2 b=tab here><t>[plain]</t><t>[  <A\xF0\x9F\x98\x80> caf\xC3\xA9 ]</t>"
    "<t>[line\nbreak\nx\r]</t><t>[<raw & kept>+tail]</t><e prefixed-id=rId7></e>"
    "<e a=\"q'></e><t>[]</t></root>$";

} // namespace

TEST(XlsxXmlScanner, ReadsWhatWritersProduce)
{
    EXPECT_EQ(traceOf(kDocument), kTrace);
}

TEST(XlsxXmlScanner, SameAnswerHoweverTheStreamIsCut)
{
    for (qint64 step : {1, 2, 3, 7, 64})
        EXPECT_EQ(traceOf(kDocument, step), kTrace) << step;
    // A text far longer than the scanner's window, and a tag cut across reads.
    const QByteArray big(3 << 20, 'z');
    const QByteArray doc = "<r><t>" + big + "</t><e a=\"" + QByteArray(100000, 'v') + "\"/></r>";
    const std::string got = traceOf(doc, 100003);
    EXPECT_EQ(got, "<r><t>[" + big.toStdString() + "]</t><e a=" + std::string(100000, 'v') + "></e></r>$");
}

TEST(XlsxXmlScanner, ReadsUtf16Parts)
{
    const QString text = QString::fromUtf8("<?xml version=\"1.0\" encoding=\"UTF-16\"?><r a=\"\xC3\xA9\"><t>"
                                           "\xE6\x9D\xB1\xE4\xBA\xAC \xF0\x9F\x98\x80</t></r>");
    QByteArray le("\xFF\xFE", 2);
    le.append(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    EXPECT_EQ(traceOf(le, 5), "<r a=\xC3\xA9><t>[\xE6\x9D\xB1\xE4\xBA\xAC \xF0\x9F\x98\x80]</t></r>$");
}

TEST(XlsxXmlScanner, RefusesWhatIsNotWellFormed)
{
    const char *bad[] = {
        "<!DOCTYPE r [<!ENTITY e \"xxxxxxxx\">]><r><t>&e;&e;</t></r>", // entities of a DTD
        "<?xml version=\"1.0\"?><!DOCTYPE r SYSTEM \"http://example.com/r.dtd\"><r/>",
        "<r><t>&e;</t></r>",                                   // an entity nobody declared
        "<r><t>&#0;</t></r>",                                  // a character XML cannot hold
        "<r><t>&#xD800;</t></r>",                              // a surrogate
        "<r><t>x</u></r>",                                     // end tag of another element
        "<r><t>x</t>",                                         // never closed
        "<r/><r/>",                                            // two roots
        "text<r/>",                                            // text outside the root
        "<r a=\"1\" a=\"2\"/>",                                // an attribute twice
        "<r a=\"x<y\"/>",                                      // '<' in a value
        "<r a=1/>",                                            // an unquoted value
        "<r a=\"1\"b=\"2\"/>",                                 // attributes not apart
        "<r>\xC3(</r>",                                        // broken UTF-8
        "<r>\xED\xA0\x80</r>",                                 // an encoded surrogate
        "<r>\x01</r>",                                         // a control character
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r/>", // an encoding not read here
        "",
    };
    for (const char *doc : bad) {
        XlsxXmlScanner::Failure failure = XlsxXmlScanner::Failure::None;
        const std::string got = traceOf(QByteArray(doc), 1 << 20, &failure);
        EXPECT_EQ(got.back(), '!') << doc;
        EXPECT_EQ(failure, XlsxXmlScanner::Failure::Corrupt) << doc;
    }
}

TEST(XlsxXmlScanner, TextBeyondItsLimitIsTooLarge)
{
    QBuffer buffer;
    buffer.setData("<r><t>" + QByteArray(5000, 'a') + "&amp;</t></r>");
    buffer.open(QIODevice::ReadOnly);
    XlsxXmlScanner xml(&buffer);
    ASSERT_EQ(xml.next(), XlsxXmlScanner::Token::StartElement);
    ASSERT_EQ(xml.next(), XlsxXmlScanner::Token::StartElement);
    std::string text;
    EXPECT_FALSE(xml.readElementText(&text, 4096));
    EXPECT_LE(text.size(), 4096u);
    EXPECT_EQ(xml.failure(), XlsxXmlScanner::Failure::TooLarge);
    EXPECT_EQ(xml.next(), XlsxXmlScanner::Token::Invalid);
}

TEST(XlsxXmlScanner, DamagedPartsGiveTheSameAnswerHoweverCut)
{
    // Bytes flipped, dropped and repeated: whatever the scanner makes of a part, it must make the
    // same of it in one read and in reads of a few bytes (and never read outside its window).
    QRandomGenerator rng(7741);
    for (int i = 0; i < 400; ++i) {
        QByteArray doc = kDocument;
        const int edits = 1 + int(rng.bounded(3));
        for (int k = 0; k < edits; ++k) {
            const qsizetype at = qsizetype(rng.bounded(quint32(doc.size())));
            switch (rng.bounded(3)) {
            case 0:
                doc[at] = char(rng.bounded(256));
                break;
            case 1:
                doc.remove(at, 1 + qsizetype(rng.bounded(4)));
                break;
            default:
                doc.insert(at, doc.mid(at, 1 + qsizetype(rng.bounded(6))));
            }
        }
        XlsxXmlScanner::Failure whole = XlsxXmlScanner::Failure::None;
        XlsxXmlScanner::Failure cut = XlsxXmlScanner::Failure::None;
        const std::string a = traceOf(doc, 1 << 20, &whole);
        const std::string b = traceOf(doc, 1 + qint64(rng.bounded(6)), &cut);
        EXPECT_EQ(whole, cut) << doc.toStdString();
        if (whole == XlsxXmlScanner::Failure::None) {
            EXPECT_EQ(a, b) << doc.toStdString();
        } else {
            // Bytes are checked a window at a time: a smaller window may give more before failing.
            EXPECT_EQ(b.substr(0, a.size() - 1), a.substr(0, a.size() - 1)) << doc.toStdString();
            EXPECT_EQ(b.back(), '!') << doc.toStdString();
        }
    }
}
