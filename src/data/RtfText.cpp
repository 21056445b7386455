#include "data/RtfText.h"

#include <QHash>
#include <QSet>
#include <QStringDecoder>

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <utility>

namespace
{

// Windows-1252 differs from Latin-1 only in 0x80..0x9F; zero marks the five unused codes.
constexpr char16_t cp1252High[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                     0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                     0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                     0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

} // namespace

QString RtfText::decodeWindows1252(const QByteArray &bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x80 && b < 0xA0)
            out += QChar(cp1252High[b - 0x80] ? cp1252High[b - 0x80] : char16_t(0xFFFD));
        else
            out += QChar(b);
    }
    return out;
}

namespace
{

// Destinations whose text is not part of the document's body.
const QSet<QByteArray> &skippedDestinations()
{
    static const QSet<QByteArray> names = {"fonttbl",      "colortbl",
                                           "stylesheet",   "info",
                                           "pict",         "object",
                                           "header",       "headerl",
                                           "headerr",      "headerf",
                                           "footer",       "footerl",
                                           "footerr",      "footerf",
                                           "footnote",     "fldinst",
                                           "listtable",    "listoverridetable",
                                           "revtbl",       "rsidtbl",
                                           "generator",    "xmlnstbl",
                                           "themedata",    "colorschememapping",
                                           "latentstyles", "datastore",
                                           "filetbl",      "pgdsctbl",
                                           "private",      "annotation",
                                           "atnid",        "atnauthor",
                                           "comment",      "bkmkstart",
                                           "bkmkend",      "nonshppict",
                                           "shpinst",      "userprops",
                                           "docvar",       "expandedcolortbl",
                                           "fchars",       "lchars",
                                           "template",     "keywords",
                                           "author",       "operator",
                                           "title",        "subject",
                                           "doccomm",      "listtext",
                                           "pntext",       "pntxta",
                                           "pntxtb",       "mmathPr"};
    return names;
}

// The code page a font's \\fcharset stands for; 0 for the document's own (ANSI, default, symbol
// and sets not listed). The Mac sets of East Asian scripts are read in their Windows counterparts,
// which this system has.
int codePageOfCharset(int charset)
{
    static const QHash<int, int> pages = {
        {77, 10000}, {78, 932},   {79, 949},   {80, 936},   {81, 950},   {83, 10005}, {84, 10004},
        {85, 10006}, {86, 10081}, {87, 10021}, {88, 10029}, {89, 10007}, {128, 932},  {129, 949},
        {130, 1361}, {134, 936},  {136, 950},  {161, 1253}, {162, 1254}, {163, 1258}, {177, 1255},
        {178, 1256}, {179, 1256}, {180, 1256}, {181, 1255}, {186, 1257}, {204, 1251}, {222, 874},
        {238, 1250}, {254, 437},  {255, 850}};
    return pages.value(charset);
}

// The decoder of a Windows code page; null when this system lacks it.
std::unique_ptr<QStringDecoder> decoderOf(int page)
{
    const QByteArray name = page == 65001   ? QByteArray("UTF-8")
                            : page == 10000 ? QByteArray("macintosh")
                                            : "windows-" + QByteArray::number(page);
    auto decoder = std::make_unique<QStringDecoder>(name.constData());
    return decoder->isValid() ? std::move(decoder) : nullptr;
}

} // namespace

class RtfParser
{
public:
    explicit RtfParser(const QByteArray &bytes) : m_in(bytes) {}

    RtfText run()
    {
        RtfText doc;
        qsizetype start = 0;
        while (start < m_in.size() && isBlank(m_in.at(start)))
            ++start;
        if (!m_in.mid(start, 5).startsWith("{\\rtf")) {
            doc.m_error = QStringLiteral("The file is not RTF.");
            return doc;
        }
        m_pos = start;
        parse(doc);
        flushBytes(doc);
        return doc;
    }

private:
    struct State {
        RtfText::Format format;
        bool skip = false;
        bool fontTable = false;
        int unicodeSkip = 1; // \ucN: characters that stand in for each \uN
    };
    // A font's code page as its \fcharset and \cpg give it; 0 where one is not given.
    struct FontPages {
        int charset = 0;
        int cpg = 0;
    };

    static bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
    static bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
    static int hexValue(char c)
    {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    }

    void parse(RtfText &doc)
    {
        QList<State> stack;
        bool ignorableNext = false;
        while (m_pos < m_in.size()) {
            const char c = m_in.at(m_pos++);
            if (c == '{') {
                flushBytes(doc);
                if (stack.size() >= RtfText::MaxDepth) {
                    doc.m_error = QStringLiteral("The file nests its groups too deeply.");
                    return;
                }
                stack.push_back(m_state);
                ignorableNext = false;
            } else if (c == '}') {
                flushBytes(doc);
                m_pendingSkip = 0;
                if (stack.isEmpty())
                    return; // the document's own group is closed; what follows is not read
                m_state = stack.takeLast();
                if (stack.isEmpty())
                    return;
            } else if (c == '\\') {
                if (!controlWord(doc, ignorableNext))
                    return;
            } else if (c == '\r' || c == '\n') {
                // Line breaks in the file only wrap the source.
            } else if (c == '\t') {
                text(doc, QStringLiteral("\t"));
            } else if (static_cast<unsigned char>(c) >= 0x20) {
                byte(doc, c);
            }
        }
    }

    // After a backslash. Returns false when the file ends inside the control word.
    bool controlWord(RtfText &doc, bool &ignorableNext)
    {
        if (m_pos >= m_in.size())
            return false;
        const char c = m_in.at(m_pos);
        if (!isLetter(c)) {
            ++m_pos;
            controlSymbol(doc, c, ignorableNext);
            return true;
        }
        QByteArray word;
        while (m_pos < m_in.size() && isLetter(m_in.at(m_pos)) && word.size() < 32)
            word += m_in.at(m_pos++);
        std::optional<int> param;
        bool negative = false;
        if (m_pos < m_in.size() && m_in.at(m_pos) == '-') {
            negative = true;
            ++m_pos;
        }
        qint64 value = 0;
        int digits = 0;
        while (m_pos < m_in.size() && m_in.at(m_pos) >= '0' && m_in.at(m_pos) <= '9') {
            if (digits < 10)
                value = value * 10 + (m_in.at(m_pos) - '0');
            ++digits;
            ++m_pos;
        }
        if (digits > 0)
            param = int(std::clamp<qint64>(negative ? -value : value, -2147483647, 2147483647));
        if (m_pos < m_in.size() && m_in.at(m_pos) == ' ')
            ++m_pos;

        if (ignorableNext) {
            ignorableNext = false;
            m_state.skip = true;
            return true;
        }
        if (word == "bin") {
            // Binary data of the given length follows; it is never text.
            flushBytes(doc);
            m_pos = qMin<qsizetype>(m_in.size(), m_pos + qMax(0, param.value_or(0)));
            return true;
        }
        if (skippedDestinations().contains(word)) {
            m_state.skip = true;
            m_state.fontTable = word == "fonttbl";
            return true;
        }
        if (m_state.fontTable)
            fontTableWord(word, param);
        if (word == "u" && param) {
            flushBytes(doc);
            if (m_pendingSkip > 0) {
                --m_pendingSkip;
                return true;
            }
            int code = *param;
            if (code < 0)
                code += 65536;
            if (code >= 0 && code <= 0xFFFF)
                text(doc, QString(QChar(char16_t(code))));
            m_pendingSkip = m_state.unicodeSkip;
            return true;
        }
        flushBytes(doc);
        m_pendingSkip = 0; // stand-ins for \uN are characters; a control word ends them
        apply(doc, word, param);
        return true;
    }

    void controlSymbol(RtfText &doc, char c, bool &ignorableNext)
    {
        switch (c) {
        case '\'': {
            if (m_pos + 1 < m_in.size()) {
                const int hi = hexValue(m_in.at(m_pos));
                const int lo = hexValue(m_in.at(m_pos + 1));
                m_pos += 2;
                if (hi >= 0 && lo >= 0)
                    byte(doc, char(hi * 16 + lo));
            } else {
                m_pos = m_in.size();
            }
            return;
        }
        case '*':
            ignorableNext = true;
            return;
        case '\\':
        case '{':
        case '}':
            byte(doc, c);
            return;
        case '~':
            text(doc, QString(QChar(0x00A0)));
            return;
        case '_':
            text(doc, QString(QChar(0x2011)));
            return;
        case '\r':
        case '\n':
            text(doc, QStringLiteral("\n"));
            return;
        default:
            flushBytes(doc); // \- optional hyphen, \: index entries and unknown symbols
            return;
        }
    }

    // Each font's character set: its text is written in that set's code page.
    void fontTableWord(const QByteArray &w, std::optional<int> param)
    {
        if (w == "f")
            m_tableFont = param.value_or(0);
        else if (w == "fcharset")
            m_fontPages[m_tableFont].charset = codePageOfCharset(param.value_or(0));
        else if (w == "cpg")
            m_fontPages[m_tableFont].cpg = param.value_or(0);
    }

    void apply(RtfText &doc, const QByteArray &w, std::optional<int> param)
    {
        RtfText::Format &f = m_state.format;
        const bool on = !param || *param != 0;
        if (w == "par" || w == "line" || w == "sect" || w == "page" || w == "row")
            text(doc, QStringLiteral("\n"));
        else if (w == "tab" || w == "cell")
            text(doc, QStringLiteral("\t"));
        else if (w == "emdash")
            text(doc, QString(QChar(0x2014)));
        else if (w == "endash")
            text(doc, QString(QChar(0x2013)));
        else if (w == "bullet")
            text(doc, QString(QChar(0x2022)));
        else if (w == "lquote")
            text(doc, QString(QChar(0x2018)));
        else if (w == "rquote")
            text(doc, QString(QChar(0x2019)));
        else if (w == "ldblquote")
            text(doc, QString(QChar(0x201C)));
        else if (w == "rdblquote")
            text(doc, QString(QChar(0x201D)));
        else if (w == "plain") {
            const char align = f.align;
            f = RtfText::Format();
            f.font = m_defaultFont;
            f.align = align;
        } else if (w == "deff") {
            m_defaultFont = param.value_or(0);
            f.font = m_defaultFont;
        } else if (w == "pard")
            f.align = 'l';
        else if (w == "ql" || w == "qc" || w == "qr" || w == "qj")
            f.align = w.at(1);
        else if (w == "f")
            f.font = param.value_or(0);
        else if (w == "fs")
            f.size = param.value_or(24);
        else if (w == "b")
            f.bold = on;
        else if (w == "i")
            f.italic = on;
        else if (w == "ul")
            f.underline = on;
        else if (w == "ulnone")
            f.underline = false;
        else if (w == "strike")
            f.strike = on;
        else if (w == "cf")
            f.colour = param.value_or(0);
        else if (w == "cb" || w == "highlight")
            f.background = param.value_or(0);
        else if (w == "super")
            f.vertical = 1;
        else if (w == "sub")
            f.vertical = -1;
        else if (w == "nosupersub")
            f.vertical = 0;
        else if (w == "uc")
            m_state.unicodeSkip = qMax(0, param.value_or(1));
        else if (w == "ansicpg" && param)
            setCodePage(*param);
        else if (w == "mac")
            setCodePage(10000);
        else if (w == "pc")
            setCodePage(437);
        else if (w == "pca")
            setCodePage(850);
    }

    // The document's code page; one this system lacks falls back to Windows-1252.
    void setCodePage(int page) { m_decoder = page == 1252 ? nullptr : decoderOf(page); }

    // The decoder of the current font's code page, else of the document's; null for Windows-1252.
    QStringDecoder *currentDecoder()
    {
        const auto font = m_fontPages.constFind(m_state.format.font);
        const int page = font == m_fontPages.cend() ? 0 : (font->cpg != 0 ? font->cpg : font->charset);
        if (page == 0)
            return m_decoder.get();
        if (page == 1252)
            return nullptr;
        auto [slot, added] = m_pageDecoders.try_emplace(page);
        if (added)
            slot->second = decoderOf(page);
        return slot->second ? slot->second.get() : m_decoder.get();
    }

    // Bytes of the font's code page gather until something else comes, so a character of several
    // bytes decodes whole.
    void byte(RtfText &doc, char b)
    {
        if (m_pendingSkip > 0) {
            --m_pendingSkip;
            return;
        }
        if (m_state.skip)
            return;
        m_bytes += b;
    }

    void flushBytes(RtfText &doc)
    {
        if (m_bytes.isEmpty())
            return;
        const QByteArray bytes = std::exchange(m_bytes, QByteArray());
        QString s;
        if (QStringDecoder *decoder = currentDecoder()) {
            s = decoder->decode(bytes);
            decoder->resetState();
        } else {
            s = RtfText::decodeWindows1252(bytes);
        }
        add(doc, s);
    }

    void text(RtfText &doc, const QString &s)
    {
        flushBytes(doc);
        if (m_pendingSkip > 0) {
            --m_pendingSkip;
            return;
        }
        add(doc, s);
    }

    void add(RtfText &doc, const QString &s)
    {
        if (m_state.skip || s.isEmpty())
            return;
        if (!doc.m_runs.isEmpty() && doc.m_runs.last().format == m_state.format)
            doc.m_runs.last().text += s;
        else
            doc.m_runs.push_back({s, m_state.format});
    }

    const QByteArray &m_in;
    qsizetype m_pos = 0;
    State m_state;
    QByteArray m_bytes;
    int m_pendingSkip = 0;
    std::unique_ptr<QStringDecoder> m_decoder; // the document's code page; null: Windows-1252
    QHash<int, FontPages> m_fontPages;
    int m_tableFont = 0; // the font the font table is describing
    int m_defaultFont = 0;
    std::map<int, std::unique_ptr<QStringDecoder>> m_pageDecoders; // null: lacking on this system
};

RtfText RtfText::parse(const QByteArray &bytes)
{
    RtfParser parser(bytes);
    return parser.run();
}

QString RtfText::plainText() const
{
    QString all;
    for (const Run &r : m_runs)
        all += r.text;
    return all;
}
