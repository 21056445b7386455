// Which installed face draws each character: coverage read from the faces themselves, once per
// face and block of 256 code points, and each character's choice kept per text face. A text looks
// up each of its distinct characters once: what is known under a lock many threads share, and
// each character not yet known under the exclusive lock on its own, so a thread never waits out
// another's whole text. Qt's font objects are made and used on the calling thread only, under the
// exclusive lock; what is kept is plain data.
#include "platform/FontCoverage.h"

#include "platform/FontResolver.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QGlyphRun>
#include <QHash>
#include <QRawFont>

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <bitset>
#include <climits>
#include <cstdint>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace
{

struct FaceKey {
    QString family;
    bool bold = false;
    bool italic = false;
    bool operator==(const FaceKey &o) const
    {
        return bold == o.bold && italic == o.italic && family == o.family;
    }
};

struct FaceKeyHash {
    size_t operator()(const FaceKey &k) const { return qHashMulti(0, k.family, k.bold, k.italic); }
};

constexpr int kBlockBits = 8; // coverage is read 256 code points at a time
using Block = std::bitset<size_t(1) << kBlockBits>;

// Characters drawn without a glyph of their own: spaces, controls, format characters and the
// other default-ignorable code points (variation selectors, fillers) shapers leave invisible.
bool needsNoGlyph(char32_t c)
{
    switch (QChar::category(c)) {
    case QChar::Separator_Space:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
        return true;
    default:
        break;
    }
    return c == 0x034F || (c >= 0x115F && c <= 0x1160) || (c >= 0x17B4 && c <= 0x17B5) ||
           (c >= 0x180B && c <= 0x180F) || c == 0x3164 || (c >= 0xFE00 && c <= 0xFE0F) || c == 0xFFA0 ||
           (c >= 0xE0000 && c <= 0xE0FFF);
}

bool isMark(char32_t c)
{
    const QChar::Category cat = QChar::category(c);
    return cat == QChar::Mark_NonSpacing || cat == QChar::Mark_SpacingCombining ||
           cat == QChar::Mark_Enclosing;
}

// The characters of every installed font as fontconfig keeps them, read from its cache without
// opening a font, by the family names each font gives. Qt takes its families and faces from
// fontconfig, and a font whose character map has a character is listed as having it. When
// fontconfig cannot say, every font may have every character.
class FontconfigIndex
{
public:
    FontconfigIndex()
    {
        FcPattern *all = FcPatternCreate();
        FcObjectSet *wanted = FcObjectSetBuild(FC_FAMILY, FC_CHARSET, nullptr);
        m_fonts = all && wanted ? FcFontList(nullptr, all, wanted) : nullptr;
        if (wanted)
            FcObjectSetDestroy(wanted);
        if (all)
            FcPatternDestroy(all);
        for (int i = 0; m_fonts && i < m_fonts->nfont; ++i) {
            FcCharSet *characters = nullptr;
            if (FcPatternGetCharSet(m_fonts->fonts[i], FC_CHARSET, 0, &characters) != FcResultMatch)
                continue;
            m_sets.push_back(characters);
            FcChar8 *name = nullptr;
            for (int k = 0; FcPatternGetString(m_fonts->fonts[i], FC_FAMILY, k, &name) == FcResultMatch; ++k)
                m_byFamily[QString::fromUtf8(reinterpret_cast<const char *>(name)).toLower()].push_back(
                    characters);
        }
    }
    ~FontconfigIndex()
    {
        if (m_fonts)
            FcFontSetDestroy(m_fonts);
    }
    FontconfigIndex(const FontconfigIndex &) = delete;
    FontconfigIndex &operator=(const FontconfigIndex &) = delete;

    bool anyHas(char32_t c) const
    {
        return !m_fonts || std::any_of(m_sets.begin(), m_sets.end(),
                                       [c](const FcCharSet *set) { return FcCharSetHasChar(set, c); });
    }

    // Qt names a family found under several foundries "Family [Foundry]".
    bool familyHas(const QString &family, char32_t c) const
    {
        if (!m_fonts)
            return true;
        const auto it = m_byFamily.find(family.section(QStringLiteral(" ["), 0, 0).toLower());
        return it != m_byFamily.end() &&
               std::any_of(it->second.begin(), it->second.end(),
                           [c](const FcCharSet *set) { return FcCharSetHasChar(set, c); });
    }

private:
    FcFontSet *m_fonts = nullptr; // owns the character sets
    std::vector<const FcCharSet *> m_sets;
    std::unordered_map<QString, std::vector<const FcCharSet *>> m_byFamily;
};

enum class Kind { Glyph, Mark, Blank };

struct Item {
    qsizetype at = 0;
    qsizetype length = 1;
    char32_t code = 0;
    Kind kind = Kind::Glyph;
    int face = -1;
};

class CoverageCache
{
public:
    static CoverageCache &instance()
    {
        static CoverageCache cache;
        return cache;
    }

    // Sets the face of each item that needs a glyph, in a text set in `font`: -1 when no
    // installed face has its character. Returns the index of the text's own face.
    int facesFor(const QFont &font, std::vector<Item> &items)
    {
        std::vector<char32_t> unknown;
        int baseIndex = knownAnswers(font, items, unknown);
        if (baseIndex < 0) {
            {
                const std::unique_lock lock(m_mutex);
                indexOf(baseFace(font));
            }
            baseIndex = knownAnswers(font, items, unknown);
        }
        if (unknown.empty())
            return baseIndex;
        std::sort(unknown.begin(), unknown.end());
        unknown.erase(std::unique(unknown.begin(), unknown.end()), unknown.end());
        std::vector<int> chosen(unknown.size());
        for (size_t i = 0; i < unknown.size(); ++i) {
            const std::unique_lock lock(m_mutex);
            chosen[i] = faceFor(m_faces[size_t(baseIndex)], baseIndex, unknown[i]);
        }
        for (Item &item : items)
            if (item.face == Unknown)
                item.face = chosen[size_t(std::lower_bound(unknown.begin(), unknown.end(), item.code) -
                                          unknown.begin())];
        return baseIndex;
    }

    FaceKey face(int index)
    {
        const std::shared_lock lock(m_mutex);
        return m_faces[size_t(index)];
    }

private:
    static std::uint64_t choiceKey(int baseIndex, char32_t c) { return std::uint64_t(baseIndex) << 32 | c; }

    static constexpr int Unknown = INT_MIN;

    // The faces known for the items, the others marked Unknown and their characters listed; -1
    // (nothing set) while the text's face itself is not known.
    int knownAnswers(const QFont &font, std::vector<Item> &items, std::vector<char32_t> &unknown)
    {
        const std::shared_lock lock(m_mutex);
        const auto name = m_installedName.find(font.family());
        if (name == m_installedName.end())
            return -1;
        const auto index = m_index.find(FaceKey{name->second, font.bold(), font.italic()});
        if (index == m_index.end())
            return -1;
        const int baseIndex = index->second;
        const Item *last = nullptr; // a run of one character is looked up once
        for (Item &item : items) {
            if (item.kind == Kind::Blank)
                continue;
            if (last && item.code == last->code) {
                item.face = last->face;
                continue;
            }
            const auto it = m_choice.find(choiceKey(baseIndex, item.code));
            item.face = it == m_choice.end() ? Unknown : it->second;
            if (it == m_choice.end())
                unknown.push_back(item.code);
            last = &item;
        }
        return baseIndex;
    }

    // The rest under the exclusive lock.

    // The face `font` is drawn in: its family as installed (Qt's stand-in when it is not).
    FaceKey baseFace(const QFont &font)
    {
        auto it = m_installedName.find(font.family());
        if (it == m_installedName.end())
            it = m_installedName.emplace(font.family(), QFontInfo(font).family()).first;
        return FaceKey{it->second, font.bold(), font.italic()};
    }

    // The face that draws c in a text set in `base` (whose index is baseIndex); -1 when no
    // installed face has it.
    int faceFor(const FaceKey &base, int baseIndex, char32_t c)
    {
        const auto it = m_choice.find(choiceKey(baseIndex, c));
        if (it != m_choice.end())
            return it->second;
        if (m_choice.size() > 200000) // a bound, should texts bring every character there is
            m_choice.clear();
        const int chosen = choose(FaceKey(base), c); // a copy: choosing may add faces
        m_choice.emplace(choiceKey(baseIndex, c), chosen);
        return chosen;
    }

    int indexOf(const FaceKey &face)
    {
        const auto it = m_index.find(face);
        if (it != m_index.end())
            return it->second;
        m_faces.push_back(face);
        return m_index.emplace(face, int(m_faces.size()) - 1).first->second;
    }

    // The text's own family first, then the one Qt's fallback picks, then every installed family.
    // Families none of whose fonts has c, as fontconfig knows each font's characters, are passed
    // over unopened: opening every installed face to learn that none has a character took tens
    // of milliseconds.
    int choose(const FaceKey &base, char32_t c)
    {
        int face = firstCovering(base.family, base, c);
        if (face >= 0)
            return face;
        const FontconfigIndex &fonts = fontconfig();
        if (!fonts.anyHas(c))
            return -1;
        const QString picked = familyQtPicks(base.family, c);
        if (!picked.isEmpty() && picked != base.family && fonts.familyHas(picked, c) &&
            (face = firstCovering(picked, base, c)) >= 0)
            return face;
        for (const QString &family : installedFamilies())
            if (family != base.family && family != picked && fonts.familyHas(family, c) &&
                (face = firstCovering(family, base, c)) >= 0)
                return face;
        return -1;
    }

    const FontconfigIndex &fontconfig()
    {
        if (!m_fontconfig)
            m_fontconfig = std::make_unique<FontconfigIndex>();
        return *m_fontconfig;
    }

    // The face of `family` that draws c: in the asked style, else upright, else regular (Arabic has
    // no italic, and a slanted face may lack scripts its upright face has); -1 when none does.
    int firstCovering(const QString &family, const FaceKey &base, char32_t c)
    {
        const FaceKey tries[] = {
            {family, base.bold, base.italic}, {family, base.bold, false}, {family, false, false}};
        for (size_t i = 0; i < std::size(tries); ++i) {
            if (i > 0 && tries[i] == tries[i - 1])
                continue;
            if (covers(tries[i], c))
                return indexOf(tries[i]);
        }
        return -1;
    }

    bool covers(const FaceKey &face, char32_t c)
    {
        const auto key = qMakePair(indexOf(face), uint(c >> kBlockBits));
        auto it = m_blocks.constFind(key);
        if (it == m_blocks.constEnd())
            it = m_blocks.insert(key, readBlock(face, c >> kBlockBits));
        return it->test(c & ((1u << kBlockBits) - 1));
    }

    // The glyphs the face has in one block; none when the family is not installed under that name,
    // since Qt would then hand over another family's face.
    static Block readBlock(const FaceKey &face, char32_t block)
    {
        QFont font(face.family);
        font.setBold(face.bold);
        font.setItalic(face.italic);
        font.setStyleStrategy(QFont::NoFontMerging);
        const QRawFont raw = QRawFont::fromFont(font);
        Block bits;
        if (!raw.isValid() || raw.familyName().compare(face.family, Qt::CaseInsensitive) != 0)
            return bits;
        const char32_t first = block << kBlockBits;
        for (size_t i = 0; i < bits.size(); ++i)
            bits.set(i, raw.supportsCharacter(uint(first + i)));
        return bits;
    }

    // The family Qt's own fallback (the system's font configuration) draws c with in `family`,
    // which knows which fonts suit which language; empty when it finds none.
    static QString familyQtPicks(const QString &family, char32_t c)
    {
        const char32_t one[] = {c};
        QTextLayout layout(QString::fromUcs4(one, 1), QFont(family));
        layout.beginLayout();
        const QTextLine line = layout.createLine();
        layout.endLayout();
        for (const QGlyphRun &run : line.glyphRuns())
            for (const quint32 glyph : run.glyphIndexes())
                if (glyph != 0)
                    return run.rawFont().familyName();
        return {};
    }

    const QStringList &installedFamilies()
    {
        if (!m_familiesRead) {
            for (const QString &family : QFontDatabase::families())
                if (!QFontDatabase::isPrivateFamily(family))
                    m_families << family;
            m_familiesRead = true;
        }
        return m_families;
    }

    // Read under the shared lock, changed under the exclusive one. Standard containers: their
    // const members may be called from many threads at once.
    std::shared_mutex m_mutex;
    std::vector<FaceKey> m_faces;
    std::unordered_map<FaceKey, int, FaceKeyHash> m_index;
    std::unordered_map<std::uint64_t, int> m_choice;
    std::unordered_map<QString, QString> m_installedName;
    // Under the exclusive lock only.
    QHash<QPair<int, uint>, Block> m_blocks;
    QStringList m_families;
    bool m_familiesRead = false;
    std::unique_ptr<FontconfigIndex> m_fontconfig;
};

std::vector<Item> itemsOf(const QString &text)
{
    std::vector<Item> items;
    items.reserve(size_t(text.size()));
    for (qsizetype i = 0; i < text.size();) {
        Item item;
        item.at = i;
        item.code = text.at(i).unicode();
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            item.code = QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
            item.length = 2;
        }
        item.kind = needsNoGlyph(item.code) ? Kind::Blank : isMark(item.code) ? Kind::Mark : Kind::Glyph;
        items.push_back(item);
        i += item.length;
    }
    return items;
}

// Marks take their base's face; blanks the face around them when both sides agree, else the text's.
void settleNeighbours(std::vector<Item> &items, int baseFace)
{
    int previous = -1;
    for (Item &item : items) {
        if (item.kind == Kind::Mark && previous >= 0)
            item.face = previous;
        if (item.kind != Kind::Blank)
            previous = item.face;
    }
    int next = baseFace;
    for (auto it = items.rbegin(); it != items.rend(); ++it) {
        if (it->kind != Kind::Blank) {
            next = it->face;
            continue;
        }
        it->face = next;
    }
    previous = baseFace;
    for (Item &item : items) {
        if (item.kind == Kind::Blank && item.face != previous)
            item.face = baseFace;
        previous = item.face;
    }
}

QFont fontIn(const QFont &font, const FaceKey &face)
{
    QFont f = font;
    f.setFamily(face.family);
    f.setBold(face.bold);
    f.setItalic(face.italic);
    return f;
}

} // namespace

QList<QTextLayout::FormatRange> FontCoverage::fallbackRanges(const QString &text, const QFont &font)
{
    QList<QTextLayout::FormatRange> ranges;
    if (text.isEmpty())
        return ranges;
    std::vector<Item> items = itemsOf(text);
    CoverageCache &cache = CoverageCache::instance();
    const int baseIndex = cache.facesFor(font, items);
    for (Item &item : items)
        if (item.kind != Kind::Blank && item.face < 0)
            item.face = baseIndex; // nothing has it: left to the text's own font
    settleNeighbours(items, baseIndex);
    for (size_t i = 0; i < items.size();) {
        size_t end = i + 1;
        while (end < items.size() && items[end].face == items[i].face)
            ++end;
        if (items[i].face != baseIndex) {
            QTextLayout::FormatRange range;
            range.start = int(items[i].at);
            range.length = int(items[end - 1].at + items[end - 1].length - items[i].at);
            range.format.setFont(fontIn(font, cache.face(items[i].face)));
            ranges << range;
        }
        i = end;
    }
    return ranges;
}

QString FontCoverage::undrawableCharacters(const QString &text, const QFont &font)
{
    // A letter is drawn from its composed glyph, or else from its base and accents (text shaping
    // does both), so it is checked composed and, failing that, taken apart.
    const QString composed = text.normalized(QString::NormalizationForm_C);
    std::vector<Item> items = itemsOf(composed);
    CoverageCache &cache = CoverageCache::instance();
    cache.facesFor(font, items);
    const auto drawable = [](const Item &item) { return item.kind == Kind::Blank || item.face >= 0; };
    QString missing;
    std::unordered_set<char32_t> judged; // each character once
    for (const Item &item : items) {
        if (drawable(item) || !judged.insert(item.code).second)
            continue;
        const QString character = composed.mid(item.at, item.length);
        const QString parts = character.normalized(QString::NormalizationForm_D);
        if (parts != character) {
            std::vector<Item> pieces = itemsOf(parts);
            cache.facesFor(font, pieces);
            if (std::all_of(pieces.begin(), pieces.end(), drawable))
                continue;
        }
        missing += character;
    }
    return missing;
}

QString FontCoverage::undrawableCharacters(const QString &text, const FontDescriptor &font)
{
    return undrawableCharacters(text, FontResolver::font(font));
}
