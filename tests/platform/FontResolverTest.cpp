// PostScript names to Liberation families and styles, back again, and use from many threads.
#include "platform/FontResolver.h"

#include <QFontDatabase>
#include <QFontInfo>

#include <thread>
#include <vector>

#include <gtest/gtest.h>

using Face = FontResolver::Face;

TEST(FontResolver, CommonNamesMapToLiberation)
{
    const QString serif = QStringLiteral("Liberation Serif");
    const QString sans = QStringLiteral("Liberation Sans");
    const QString mono = QStringLiteral("Liberation Mono");
    EXPECT_EQ(FontResolver::faceFor("TimesNewRomanPS-BoldItalicMT"), (Face{serif, true, true, {}}));
    EXPECT_EQ(FontResolver::faceFor("TimesNewRomanPS-ItalicMT"), (Face{serif, false, true, {}}));
    EXPECT_EQ(FontResolver::faceFor("TimesNewRomanPSMT"), (Face{serif, false, false, {}}));
    EXPECT_EQ(FontResolver::faceFor("Times-Roman"), (Face{serif, false, false, {}}));
    EXPECT_EQ(FontResolver::faceFor("Arial-BoldMT"), (Face{sans, true, false, {}}));
    EXPECT_EQ(FontResolver::faceFor("ArialMT"), (Face{sans, false, false, {}}));
    EXPECT_EQ(FontResolver::faceFor("Helvetica-BoldOblique"), (Face{sans, true, true, {}}));
    EXPECT_EQ(FontResolver::faceFor("Courier"), (Face{mono, false, false, {}}));
    EXPECT_EQ(FontResolver::faceFor("CourierNewPS-BoldMT"), (Face{mono, true, false, {}}));
    // Unknown: the default family, keeping the style the name states.
    EXPECT_EQ(FontResolver::faceFor("NoSuchFontXyz-Bold"),
              (Face{FontResolver::defaultFamily(), true, false, {}}));
    EXPECT_EQ(FontResolver::faceFor(""), (Face{FontResolver::defaultFamily(), false, false, {}}));
}

TEST(FontResolver, FontHasFamilyStyleAndPointSize)
{
    const QFont f = FontResolver::font(FontDescriptor{QStringLiteral("TimesNewRomanPS-BoldItalicMT"), 14.0});
    EXPECT_EQ(QFontInfo(f).family(), QStringLiteral("Liberation Serif"));
    EXPECT_TRUE(f.bold());
    EXPECT_TRUE(f.italic());
    EXPECT_DOUBLE_EQ(f.pointSizeF(), 14.0);
    EXPECT_DOUBLE_EQ(FontResolver::font(QStringLiteral("ArialMT"), 0).pointSizeF(), 12.0);
}

TEST(FontResolver, PostScriptNamesRoundTrip)
{
    for (const QString &family : {QStringLiteral("Liberation Serif"), QStringLiteral("Liberation Sans"),
                                  QStringLiteral("Liberation Mono")}) {
        for (int s = 0; s < 4; ++s) {
            const QString name = FontResolver::postScriptNameFor(family, s & 1, s & 2);
            EXPECT_EQ(FontResolver::faceFor(name), (Face{family, bool(s & 1), bool(s & 2), {}}))
                << name.toStdString();
        }
    }
    EXPECT_EQ(FontResolver::postScriptNameFor("Liberation Serif", true, true),
              "TimesNewRomanPS-BoldItalicMT");
}

TEST(FontResolver, AnInstalledFamilysOwnStyleIsKeptInTheNameAndDrawn)
{
    // Each family's styles that bold and italic do not name alone round-trip through the stored
    // name; plain ones are stored as ever. Families not installed here are passed over.
    const struct {
        const char *family;
        const char *style;
        const char *stored;
        bool bold, italic;
    } cases[] = {
        {"DejaVu Serif", "Condensed Bold Italic", "DejaVuSerif-CondensedBoldItalic", true, true},
        {"DejaVu Sans", "Condensed Oblique", "DejaVuSans-CondensedOblique", false, true},
        {"DejaVu Serif", "Bold Italic", "DejaVuSerif-BoldItalic", true, true},
        {"Liberation Sans", "Bold", "Arial-BoldMT", true, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.style);
        const QString family = QString::fromLatin1(c.family);
        if (!QFontDatabase::hasFamily(family))
            continue;
        const QString style = QString::fromLatin1(c.style);
        const QString name = FontResolver::postScriptNameFor(family, c.bold, c.italic, style);
        EXPECT_EQ(name, QString::fromLatin1(c.stored));
        const Face face = FontResolver::faceFor(name);
        EXPECT_EQ(face.family, family);
        EXPECT_EQ(face.bold, c.bold);
        EXPECT_EQ(face.italic, c.italic);
        const bool own = style.contains(QLatin1String("Condensed"));
        EXPECT_EQ(face.style, own ? style : QString());
        // Drawing gets that very face.
        const QFontInfo drawn(FontResolver::font(name, 12));
        EXPECT_EQ(drawn.family(), family);
        if (own) {
            EXPECT_EQ(drawn.styleName(), style);
        }
    }
}

TEST(FontResolver, ThreadSafe)
{
    std::vector<std::thread> threads;
    std::atomic<int> bad{0};
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 200; ++i) {
                const QString name = QStringLiteral("Arial-Bold%1MT").arg(i % 7 + t * 10);
                const QFont f = FontResolver::font(name, 10);
                if (f.family() != QLatin1String("Liberation Sans") || !f.bold())
                    ++bad;
            }
        });
    }
    for (auto &th : threads)
        th.join();
    EXPECT_EQ(bad, 0);
}
