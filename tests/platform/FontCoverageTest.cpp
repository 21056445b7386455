// Every character of a text goes to a face that has its glyph, whatever the text's font and style;
// characters no installed font has are named.
#include "platform/FontCoverage.h"
#include "platform/FontResolver.h"

#include <QFontDatabase>
#include <QGlyphRun>
#include <QRawFont>
#include <QTextLayout>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace
{

const QStringList kFonts = {"TimesNewRomanPS-ItalicMT", "TimesNewRomanPS-BoldItalicMT", "Arial-BoldMT",
                            "CourierNewPSMT", "Helvetica-Oblique"};
const QStringList kTexts = {
    QString::fromUtf8("محمد O'Brien"), QString::fromUtf8("שלום"),
    QString::fromUtf8("你好"),         QString::fromUtf8("Привет"),
    QString::fromUtf8("Zoë"),          QString::fromUtf8("Dear محمد, 你好 and שלום!")};

// Qt's own account of the drawing: glyph 0 is a character its face does not have.
int missingGlyphs(const QString &text, const QFont &font, QStringList *families)
{
    QTextLayout layout(text, font);
    layout.setFormats(FontCoverage::fallbackRanges(text, font));
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    int missing = 0;
    for (const QGlyphRun &run : line.glyphRuns()) {
        *families << run.rawFont().familyName();
        for (const quint32 glyph : run.glyphIndexes())
            missing += glyph == 0 ? 1 : 0;
    }
    return missing;
}

} // namespace

TEST(FontCoverage, EveryScriptIsDrawnInEveryStyle)
{
    for (const QString &name : kFonts) {
        const QFont font = FontResolver::font(name, 14);
        for (const QString &text : kTexts) {
            QStringList families;
            EXPECT_EQ(missingGlyphs(text, font, &families), 0)
                << name.toStdString() << ": " << text.toStdString() << " in "
                << families.join(", ").toStdString();
        }
    }
}

TEST(FontCoverage, TheTextsOwnFontKeepsWhatItDraws)
{
    const QFont font = FontResolver::font(QStringLiteral("TimesNewRomanPS-ItalicMT"), 14);
    EXPECT_TRUE(FontCoverage::fallbackRanges(QString::fromUtf8("Zoë O'Brien, Привет שלום"), font).isEmpty());

    // Only the Arabic word (and the space between it and more Arabic) is set in another face; the
    // face keeps the size and the letter spacing.
    QFont spaced = font;
    spaced.setLetterSpacing(QFont::AbsoluteSpacing, 1.5);
    const QString text = QString::fromUtf8("Dear محمد علي, hi");
    const QList<QTextLayout::FormatRange> ranges = FontCoverage::fallbackRanges(text, spaced);
    ASSERT_EQ(ranges.size(), 1);
    EXPECT_EQ(text.mid(ranges[0].start, ranges[0].length), QString::fromUtf8("محمد علي"));
    const QFont other = ranges[0].format.font();
    EXPECT_NE(other.family(), font.family());
    EXPECT_DOUBLE_EQ(other.pointSizeF(), font.pointSizeF());
    EXPECT_DOUBLE_EQ(other.letterSpacing(), 1.5);
}

TEST(FontCoverage, CharactersNoFontHasAreNamedOnceInOrder)
{
    const QFont font = FontResolver::font(QStringLiteral("TimesNewRomanPS-ItalicMT"), 14);
    const struct {
        QString text;
        QString missing;
    } cases[] = {
        {QString::fromUtf8("محمد O'Brien שלום 你好 Привет Zoë"), QString()},
        {QString::fromUtf8("Zoe\u0308"), QString()},                      // typed as e and a combining mark
        {QString::fromUtf8("a\u200Db\u200F\uFE0F \t\u2028x"), QString()}, // no glyph needed
        {QString::fromUtf8("x\U00017000y\U0010FFFD \U00017000"), QString::fromUtf8("\U00017000\U0010FFFD")},
        {QString(), QString()},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FontCoverage::undrawableCharacters(c.text, font), c.missing) << c.text.toStdString();
    EXPECT_EQ(FontCoverage::undrawableCharacters(QString::fromUtf8("\U00017000"),
                                                 FontDescriptor{QStringLiteral("ArialMT"), 10}),
              QString::fromUtf8("\U00017000"));
}

// The characters named are exactly those no installed face has, as opening every face and asking
// it says: three characters of each block of the first four planes, assigned or not.
TEST(FontCoverage, NamesWhatNoInstalledFaceHas)
{
    std::vector<QRawFont> faces;
    for (const QString &family : QFontDatabase::families()) {
        if (QFontDatabase::isPrivateFamily(family))
            continue;
        for (const bool italic : {true, false}) {
            QFont font(family);
            font.setItalic(italic);
            font.setStyleStrategy(QFont::NoFontMerging);
            const QRawFont raw = QRawFont::fromFont(font);
            if (raw.isValid() && raw.familyName().compare(family, Qt::CaseInsensitive) == 0)
                faces.push_back(raw);
        }
    }
    ASSERT_GT(faces.size(), 4u);
    const QFont font = FontResolver::font(QStringLiteral("TimesNewRomanPS-ItalicMT"), 14);
    int named = 0, drawn = 0;
    for (char32_t block = 0; block < 0x400; ++block) {
        for (const char32_t low : {0x21, 0x41, 0x99}) {
            const char32_t c = block << 8 | low;
            const QString text = QString::fromUcs4(&c, 1);
            // Controls need no glyph; letters taken apart are judged by their parts.
            const QChar::Category kind = QChar::category(c);
            if (kind == QChar::Other_Control || kind == QChar::Other_Surrogate ||
                text.normalized(QString::NormalizationForm_D) != text ||
                text.normalized(QString::NormalizationForm_C) != text)
                continue;
            const bool anyHas = std::any_of(faces.begin(), faces.end(),
                                            [c](const QRawFont &f) { return f.supportsCharacter(uint(c)); });
            const QString missing = FontCoverage::undrawableCharacters(text, font);
            EXPECT_EQ(missing.isEmpty(), anyHas) << "U+" << QString::number(c, 16).toStdString();
            ++(anyHas ? drawn : named);
        }
    }
    EXPECT_GT(named, 100);
    EXPECT_GT(drawn, 100);
}

// Threads start with nothing known, as batch workers do, and agree with one another.
TEST(FontCoverage, ThreadSafe)
{
    auto answers = [] {
        QStringList out;
        for (const QString &name : kFonts)
            for (const QString &text : kTexts) {
                const QFont font = FontResolver::font(name, 12);
                for (const auto &r : FontCoverage::fallbackRanges(text, font))
                    out << QStringLiteral("%1+%2 %3")
                               .arg(r.start)
                               .arg(r.length)
                               .arg(r.format.font().family());
                out << FontCoverage::undrawableCharacters(text, font);
            }
        return out;
    };
    std::vector<QStringList> results(4);
    std::vector<std::thread> threads;
    for (QStringList &result : results)
        threads.emplace_back([&result, &answers] { result = answers(); });
    for (auto &th : threads)
        th.join();
    const QStringList expected = answers();
    for (const QStringList &result : results)
        EXPECT_EQ(result, expected);
}
