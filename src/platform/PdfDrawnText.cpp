#include "platform/PdfDrawnText.h"

#include "platform/PdfPatch.h"

#include <QRegularExpression>

#include <algorithm>
#include <map>
#include <mutex>
#include <vector>

struct PdfDrawnText::Log {
    std::vector<Line> lines;
};

namespace
{
std::mutex &logsLock()
{
    static std::mutex lock;
    return lock;
}

std::map<const QPaintDevice *, std::shared_ptr<PdfDrawnText::Log>> &logs()
{
    static std::map<const QPaintDevice *, std::shared_ptr<PdfDrawnText::Log>> all;
    return all;
}

// One page's content stream: where its compressed bytes and its length's object lie.
struct Content {
    qsizetype at = 0, length = 0;             // the stream's bytes
    qsizetype lengthAt = 0, lengthDigits = 0; // the number in the length's object
    QByteArray text;                          // uncompressed
};

// The content streams of the pages, in the order of the pages, as Qt writes them: compressed,
// their length an object of its own. False when a page's content is written otherwise.
bool contentsOf(const QByteArray &pdf, std::vector<Content> *contents)
{
    static const QRegularExpression page(
        QStringLiteral(R"(/Type /Page\n/Parent \d+ 0 R\n/Contents (\d+) 0 R\n)"));
    const QString latin = QString::fromLatin1(pdf);
    for (auto it = page.globalMatch(latin); it.hasNext();) {
        const QByteArray id = it.next().captured(1).toLatin1();
        const QByteArray head = "\n" + id + " 0 obj\n<<\n/Length ";
        const qsizetype object = pdf.indexOf(head);
        if (object < 0)
            return false;
        static const QRegularExpression stream(
            QStringLiteral(R"(^(\d+) 0 R\n/Filter /FlateDecode\n>>\nstream\n)"));
        const QRegularExpressionMatch s = stream.match(latin.mid(object + head.size(), 80));
        if (!s.hasMatch())
            return false;
        Content c;
        c.at = object + head.size() + s.capturedLength();
        const QByteArray lengthHead = "\n" + s.captured(1).toLatin1() + " 0 obj\n";
        const qsizetype lengthObject = pdf.indexOf(lengthHead);
        if (lengthObject < 0)
            return false;
        c.lengthAt = lengthObject + lengthHead.size();
        const qsizetype lengthEnd = pdf.indexOf('\n', c.lengthAt);
        bool ok = false;
        c.length = pdf.mid(c.lengthAt, lengthEnd - c.lengthAt).toLongLong(&ok);
        c.lengthDigits = lengthEnd - c.lengthAt;
        if (!ok || c.length < 0 || c.at + c.length > pdf.size() ||
            !QByteArrayView(pdf).sliced(c.at + c.length).startsWith("\nendstream"))
            return false;
        // qUncompress reads the size to expect first; it grows its buffer past a low guess.
        QByteArray packed(4, '\0');
        const quint32 guess = quint32(std::min<qsizetype>(c.length * 8 + 64, 1 << 30));
        for (int k = 0; k < 4; ++k)
            packed[k] = char(guess >> (24 - 8 * k));
        packed += pdf.mid(c.at, c.length);
        c.text = qUncompress(packed);
        if (c.text.isEmpty() && c.length > 8)
            return false;
        contents->push_back(std::move(c));
    }
    return true;
}

// A text object of a content stream, "BT\n" to "ET\n", and the glyphs it shows.
struct TextObject {
    size_t content = 0;
    qsizetype begin = 0, end = 0; // from its BT to past its ET
    QList<quint32> codes;         // the glyphs' codes in the font's subset, one "<code> Tj" each
    QString font;                 // its font's name, letters and digits only
};

QList<quint32> codesOf(QByteArrayView object)
{
    QList<quint32> codes;
    for (qsizetype at = object.indexOf("> Tj\n"); at >= 0; at = object.indexOf("> Tj\n", at + 1)) {
        const qsizetype open = object.lastIndexOf('<', at);
        codes << (open < 0 ? 0u : object.sliced(open + 1, at - open - 1).toUInt(nullptr, 16));
    }
    return codes;
}

// Whether a text object can be the drawing of a glyph run: as many glyphs, in a font of the run's
// family, and the same glyph wherever the run repeats one (a subset numbers each glyph once).
bool drawsRun(const TextObject &o, const QList<quint32> &glyphs, const QString &family)
{
    if (o.codes.size() != glyphs.size() || o.font.isEmpty() || !o.font.startsWith(family))
        return false;
    std::map<quint32, quint32> toCode, toGlyph;
    for (qsizetype i = 0; i < glyphs.size(); ++i) {
        const quint32 code = toCode.emplace(glyphs[i], o.codes[i]).first->second;
        const quint32 glyph = toGlyph.emplace(o.codes[i], glyphs[i]).first->second;
        if (code != o.codes[i] || glyph != glyphs[i])
            return false;
    }
    return true;
}

// A font's name as letters and digits in lower case: "Lohit-Devanagari" and "Lohit Devanagari"
// read alike.
QString bare(QStringView name)
{
    QString out;
    for (const QChar c : name)
        if (c.isLetterOrNumber())
            out += c.toLower();
    return out;
}

// The name of the font a text object sets ("\n/F7"): Qt calls each font after its object, whose base font is
// the font's PostScript name, behind a subset's tag.
QString fontNamed(const QByteArray &pdf, QByteArrayView resource)
{
    const QByteArray head = "\n" + resource.sliced(3).toByteArray() + " 0 obj\n<< /Type /Font\n";
    const qsizetype object = pdf.indexOf(head);
    const qsizetype base = object < 0 ? -1 : pdf.indexOf("/BaseFont /", object);
    if (base < 0 || base > object + 200)
        return {};
    const qsizetype start = base + 11, end = pdf.indexOf('\n', start);
    QByteArrayView name = QByteArrayView(pdf).sliced(start, end - start);
    if (name.size() > 7 && name[6] == '+')
        name = name.sliced(7);
    return bare(QString::fromLatin1(name));
}

std::vector<TextObject> textObjectsOf(const QByteArray &pdf, const std::vector<Content> &contents)
{
    std::vector<TextObject> objects;
    for (size_t k = 0; k < contents.size(); ++k) {
        const QByteArray &text = contents[k].text;
        for (qsizetype at = text.indexOf("BT\n"); at >= 0; at = text.indexOf("BT\n", at + 1)) {
            if (at > 0 && text[at - 1] != '\n')
                continue;
            const qsizetype end = text.indexOf("\nET\n", at);
            if (end < 0)
                break;
            const QByteArrayView object = QByteArrayView(text).sliced(at, end + 1 - at);
            const qsizetype font = object.indexOf("\n/F");
            const qsizetype fontEnd = font < 0 ? -1 : object.indexOf(' ', font);
            const QString name =
                fontEnd < 0 ? QString() : fontNamed(pdf, object.sliced(font, fontEnd - font));
            objects.push_back({k, at, end + 4, codesOf(object), name});
            at = end;
        }
    }
    return objects;
}

QByteArray utf16Hex(const QString &text)
{
    QByteArray hex = "FEFF";
    for (const QChar c : text)
        hex += QByteArray::number(c.unicode(), 16).rightJustified(4, '0').toUpper();
    return hex;
}
} // namespace

PdfDrawnText::PdfDrawnText(const QPaintDevice *device) : m_log(std::make_shared<Log>())
{
    const std::lock_guard<std::mutex> hold(logsLock());
    logs()[device] = m_log;
}

PdfDrawnText::~PdfDrawnText()
{
    const std::lock_guard<std::mutex> hold(logsLock());
    for (auto it = logs().begin(); it != logs().end();)
        it = it->second == m_log ? logs().erase(it) : std::next(it);
}

bool PdfDrawnText::noting(const QPaintDevice *device)
{
    const std::lock_guard<std::mutex> hold(logsLock());
    return logs().count(device) > 0;
}

void PdfDrawnText::note(const QPaintDevice *device, const QString &text, const QList<QList<quint32>> &runs,
                        const QStringList &families)
{
    const std::lock_guard<std::mutex> hold(logsLock());
    const auto it = logs().find(device);
    if (it == logs().end() || runs.isEmpty() || runs.size() != families.size())
        return;
    Line line{text, runs, {}};
    for (const QString &family : families)
        line.families << bare(family);
    it->second->lines.push_back(std::move(line));
}

bool PdfDrawnText::needsItsText(const QString &line)
{
    for (const QChar c : line) {
        switch (c.script()) {
        case QChar::Script_Devanagari:
        case QChar::Script_Bengali:
        case QChar::Script_Gurmukhi:
        case QChar::Script_Gujarati:
        case QChar::Script_Oriya:
        case QChar::Script_Tamil:
        case QChar::Script_Telugu:
        case QChar::Script_Kannada:
        case QChar::Script_Malayalam:
        case QChar::Script_Sinhala:
        case QChar::Script_Tibetan:
        case QChar::Script_Myanmar:
        case QChar::Script_Khmer:
        case QChar::Script_Thai:
        case QChar::Script_Lao:
            return true;
        default:
            break;
        }
    }
    return false;
}

// Each noted line's glyph runs are text objects one after another, later than the line before;
// text objects between the lines are another drawing's. A line is looked for from the first text
// object that can be its first run, so that another drawing's text that looks like that run (the
// same word in the same font on an earlier label) is passed over. The line's text is the actual
// text of its first run, and its other runs stand for nothing, so that each run's marks stay inside
// its text object.
bool PdfDrawnText::spellOut(QByteArray &pdf) const
{
    const std::vector<Line> &lines = m_log->lines;
    if (lines.empty())
        return true;
    std::vector<Content> contents;
    if (!contentsOf(pdf, &contents))
        return false;
    const std::vector<TextObject> objects = textObjectsOf(pdf, contents);
    // Where each count of glyphs is drawn, in order: a line's candidates are found without reading
    // every object again.
    std::map<qsizetype, std::vector<size_t>> byCount;
    for (size_t k = 0; k < objects.size(); ++k)
        byCount[objects[k].codes.size()].push_back(k);
    struct Mark {
        size_t object;
        QByteArray actual;
    };
    std::vector<Mark> marks;
    bool allFound = true;
    size_t next = 0; // the first object a line may begin at
    for (const Line &line : lines) {
        const std::vector<size_t> &starts = byCount[line.runs.front().size()];
        bool found = false;
        for (auto s = std::lower_bound(starts.begin(), starts.end(), next); s != starts.end() && !found;
             ++s) {
            const size_t first = *s;
            if (first + size_t(line.runs.size()) > objects.size())
                break;
            found = true;
            for (qsizetype run = 0; run < line.runs.size() && found; ++run)
                found = drawsRun(objects[first + size_t(run)], line.runs[run], line.families[run]);
            if (!found)
                continue;
            for (qsizetype run = 0; run < line.runs.size(); ++run)
                marks.push_back({first + size_t(run), run == 0 ? utf16Hex(line.text) : QByteArray()});
            next = first + size_t(line.runs.size());
        }
        allFound = allFound && found;
    }
    if (marks.empty())
        return false;
    for (auto m = marks.rbegin(); m != marks.rend(); ++m) {
        const TextObject &o = objects[m->object];
        QByteArray &text = contents[o.content].text;
        text.insert(o.end - 3, "EMC\n");
        text.insert(o.begin + 3, "/Span <</ActualText <" + m->actual + ">>> BDC\n");
    }
    std::vector<PdfPatch::Patch> patches;
    std::vector<bool> changed(contents.size(), false);
    for (const Mark &m : marks)
        changed[objects[m.object].content] = true;
    for (size_t k = 0; k < contents.size(); ++k) {
        if (!changed[k])
            continue;
        const Content &c = contents[k];
        const QByteArray packed = qCompress(c.text).mid(4); // without Qt's size in front
        patches.push_back({c.at, c.length, packed});
        patches.push_back({c.lengthAt, c.lengthDigits, QByteArray::number(packed.size())});
    }
    return PdfPatch::apply(pdf, std::move(patches)) && allFound;
}
