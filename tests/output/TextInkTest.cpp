// The check's "cut" against drawn pixels: each text drawn as export draws it, clipped by its box and
// the card, beside the same lines drawn whole; a text is cut exactly when some of its ink is lost.
// The shipped templates and the start wizard's cards come out whole, names in many scripts under
// both alignments, in capitals and letter-spaced; texts that are really cut are still named.
#include "editor/DesignEditor.h"
#include "editor/DesignFile.h"
#include "editor/InvitationLayout.h"
#include "foundation/StringUtils.h"
#include "model/CardDesign.h"
#include "model/SKTDocument.h"
#include "model/SKTText.h"
#include "output/OutputCheck.h"
#include "output/RunPlan.h"
#include "platform/FontCoverage.h"

#include <QDir>
#include <QPaintEngine>
#include <QPainter>
#include <gtest/gtest.h>

#include <climits>

namespace
{
// Draws only the text items a painter is given into an image, in the painter's transform and pen,
// with the painter's clip or without it: the ink a text's drawing leaves, and all the ink it has.
class TextInkEngine : public QPaintEngine
{
public:
    TextInkEngine(QImage &image, bool clipped) : QPaintEngine(AllFeatures), m_image(image), m_clipped(clipped)
    {
    }

    bool begin(QPaintDevice *) override
    {
        m_painter.begin(&m_image);
        m_painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
        return true;
    }
    bool end() override { return m_painter.end(); }
    void updateState(const QPaintEngineState &state) override
    {
        const DirtyFlags dirty = state.state();
        if (dirty & DirtyTransform)
            m_painter.setTransform(state.transform());
        if (dirty & DirtyPen)
            m_painter.setPen(state.pen());
        if (!m_clipped)
            return;
        if (dirty & DirtyClipPath)
            m_painter.setClipPath(state.clipPath(), state.clipOperation());
        if (dirty & DirtyClipRegion)
            m_painter.setClipRegion(state.clipRegion(), state.clipOperation());
        if (dirty & DirtyClipEnabled)
            m_painter.setClipping(state.isClipEnabled());
    }
    void drawTextItem(const QPointF &at, const QTextItem &item) override { m_painter.drawTextItem(at, item); }
    // Fills and borders are no text's ink.
    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
    void drawPath(const QPainterPath &) override {}
    void drawPolygon(const QPointF *, int, PolygonDrawMode) override {}
    void drawRects(const QRectF *, int) override {}
    Type type() const override { return User; }

private:
    QImage &m_image;
    bool m_clipped;
    QPainter m_painter;
};

class TextInkDevice : public QPaintDevice
{
public:
    TextInkDevice(QImage &image, bool clipped) : m_size(image.size()), m_engine(image, clipped) {}
    QPaintEngine *paintEngine() const override { return &m_engine; }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth:
            return m_size.width();
        case PdmHeight:
            return m_size.height();
        case PdmWidthMM:
            return int(m_size.width() * 25.4 / 72);
        case PdmHeightMM:
            return int(m_size.height() * 25.4 / 72);
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 72;
        case PdmDepth:
            return 32;
        case PdmNumColors:
            return INT_MAX;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
        }
        return 0;
    }

private:
    QSize m_size;
    mutable TextInkEngine m_engine;
};

// The text's ink over `area` (points) at dpi: as export leaves it, cut by the box and the card,
// or whole.
QImage inkOf(const SKTText &text, const QRectF &card, const QRectF &area, double dpi, bool clipped)
{
    const double scale = dpi / 72;
    QImage image((area.size() * scale).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    TextInkDevice device(image, clipped);
    QPainter painter(&device);
    painter.scale(scale, scale);
    painter.translate(-area.topLeft());
    if (clipped)
        painter.setClipRect(card);
    GraphicDrawContext context;
    context.onCanvas = false;
    text.drawContentsInView(painter, context, false);
    return image;
}

// Pixels at dpi that lose more than half their ink to the clip of the box or the card, with every
// line past the box's bottom counted: drawn whole, the box reaches below the last line. The render
// starts an em and `phase` points above the box, an em and `across` points left of it.
int lostInk(const SKTText &text, const QRectF &card, double dpi, double phase = 0, double across = 0)
{
    SKTText whole(text);
    const QRectF box = text.bounds();
    const double em = text.drawnFont().size;
    whole.setBounds(
        QRectF(box.topLeft(), QSizeF(box.width(), std::max(box.height(), whole.drawnTextHeight()) + em)));
    const QRectF area = box.united(whole.bounds()).adjusted(-em - across, -em - phase, em, em);
    const QImage cut = inkOf(text, card, area, dpi, true), all = inkOf(whole, card, area, dpi, false);
    int lost = 0;
    for (int y = 0; y < all.height(); ++y) {
        const auto *a = reinterpret_cast<const QRgb *>(all.constScanLine(y));
        const auto *c = reinterpret_cast<const QRgb *>(cut.constScanLine(y));
        for (int x = 0; x < all.width(); ++x)
            lost += qAlpha(a[x]) - qAlpha(c[x]) > 128 ? 1 : 0;
    }
    return lost;
}

struct Verdict {
    bool named;  // the check names the text cut
    int lost300; // pixels lost at 300 dpi
    int lost600; // and at 600
};

Verdict judge(const SKTText &text, const QRectF &card, bool at600 = true)
{
    return {text.cutOf(text.textContentsForDrawing().text, card) != SKTText::Cut::None,
            lostInk(text, card, 300), at600 ? lostInk(text, card, 600) : -1};
}

// What the check says beside what the pixels show, for a failure's message.
std::string told(const QString &what, const Verdict &v)
{
    return QStringLiteral("%1: named %2, %3 pixels lost at 300 dpi, %4 at 600")
        .arg(what)
        .arg(v.named ? "cut" : "whole")
        .arg(v.lost300)
        .arg(v.lost600)
        .toStdString();
}

// Reads a design file as the editor opens it; the card's size is kept in its pages.
class QuietEditor : public DesignEditor
{
};

// Every visible text of a side: the check and the pixels agree that it is whole.
void expectWhole(const GraphicList &side, const QRectF &card, const QString &where)
{
    for (const GraphicPtr &g : side) {
        const auto *text = dynamic_cast<const SKTText *>(g.get());
        if (!text || !text->ctrl_is_visible || Trim_Str(text->textContentsForDrawing().text).isEmpty())
            continue;
        const Verdict v = judge(*text, card);
        const QString what = where + QStringLiteral(": ") + text->textContentsForDrawing().text;
        EXPECT_FALSE(v.named) << told(what, v);
        EXPECT_EQ(v.lost300 + v.lost600, 0) << told(what, v);
    }
}

// Thirty names in the scripts the program's fonts draw, with letters that lean or reach past their advance in
// italic.
const QStringList kNames = {"Anna",
                            "Noël",
                            "Walt",
                            "Zoë",
                            "Chloé",
                            "Łukasz",
                            "Sam",
                            "José",
                            "Björn",
                            "Ægir",
                            "Şükrü",
                            "Dvořák",
                            "Nguyễn Thị Hương",
                            "Ffion",
                            "Γιώργος",
                            "Дмитрий",
                            "Олена",
                            "محمد علي",
                            "فاطمة",
                            "שרה",
                            "דוד",
                            "王小明",
                            "李娜",
                            "さくら",
                            "김민준",
                            "Đorđe",
                            "Ἀλέξανδρος",
                            "Ñúñez",
                            "გიორგი",
                            "Արամ"};

InvitationDetails invitationFor(const QString &name)
{
    InvitationDetails d;
    d.title = QStringLiteral("Birthday Party");
    d.to = name;
    d.message = QStringLiteral("Please come and celebrate with us.");
    d.date = QStringLiteral("Saturday 14 June");
    d.time = QStringLiteral("3 pm");
    d.venue = QStringLiteral("The Old Barn");
    d.from = name;
    return d;
}
} // namespace

TEST(TextInk, ShippedTemplatesAreWholeAndTheirExportWarnsOfNothing)
{
    const QDir templates(TESSALY_TESTS_DIR "/../resources/shipped/Templates");
    const QStringList files = templates.entryList({"*.dcard"}, QDir::Files);
    ASSERT_GE(files.size(), 5);
    for (const QString &name : files) {
        SKTDocument document;
        QuietEditor editor;
        DesignFile file(document, &editor);
        ASSERT_TRUE(file.Read_and_load_design_Log(templates.filePath(name), QStringLiteral("T")).ok())
            << name.toStdString();
        const CardDesign &design = document.design();
        const RunPlan::Folders folders{QStringLiteral(TESSALY_SOURCE_RESOURCES), {}};
        EXPECT_EQ(OutputCheck::check(*RunPlan::make(design, {}, folders)).text().toStdString(), "")
            << name.toStdString();
        const QRectF cardArea(QPointF(), design.cardSize());
        expectWhole(design.front, cardArea, name);
        expectWhole(design.back, cardArea, name);
    }
}

// The wizard's cards as made are whole and warn of nothing; its "From:" line in either alignment,
// in capitals and letter-spaced, is named cut exactly when the pixels lose ink.
TEST(TextInk, TheWizardsCardsAreNamedCutExactlyWhenThePixelsLoseInk)
{
    CardDesign design;
    const QRectF cardArea(0, 0, 340.16, 340.16);
    design.setCardSize(cardArea.size());
    design.frontPage.Card_Side = QStringLiteral("1");
    int cut = 0, whole = 0;
    for (const QString &name : kNames) {
        design.front = InvitationLayout::makeObjects(invitationFor(name), cardArea.size());
        EXPECT_EQ(OutputCheck::check(*RunPlan::make(design)).text().toStdString(), "") << name.toStdString();
        // The texts that show the name; the others are the same on every card.
        GraphicList named;
        for (const GraphicPtr &g : design.front)
            if (name == kNames.first() || g->control_ID == QStringLiteral("PARTY_TO") ||
                g->control_ID == QStringLiteral("PARTY_FROM"))
                named << g;
        expectWhole(named, cardArea, name);
        const auto from = std::find_if(design.front.begin(), design.front.end(), [](const GraphicPtr &g) {
            return g->control_ID == QStringLiteral("PARTY_FROM");
        });
        ASSERT_NE(from, design.front.end());
        for (const int alignment : {0, InvitationLayout::AlignRight})
            for (const int letterCase : {0, 1})
                for (const float spacing : {0.0f, 3.0f, 30.0f}) {
                    auto text = std::dynamic_pointer_cast<SKTText>((*from)->clone());
                    text->text_alignmnet = alignment;
                    text->text_transfrom_case = letterCase;
                    text->text_kerning = spacing;
                    const Verdict v = judge(*text, cardArea, false);
                    const QString what = QStringLiteral("%1 aligned %2, case %3, spacing %4")
                                             .arg(name)
                                             .arg(alignment)
                                             .arg(letterCase)
                                             .arg(spacing);
                    EXPECT_EQ(v.named, v.lost300 > 0) << told(what, v);
                    (v.named ? cut : whole) += 1;
                }
    }
    // Both verdicts were met.
    EXPECT_GT(whole, 100);
    EXPECT_GT(cut, 10);
}

TEST(TextInk, TextsReallyCutAreStillNamed)
{
    const QRectF card(0, 0, 243, 154);
    struct Case {
        const char *what;
        QRectF box;
        QString text;
        int alignment;
        float spacing;
        SKTText::Cut expected;
    };
    const Case cases[] = {
        {"a word longer than its box", {10, 10, 40, 24}, "Supercalifragilistic", 0, 0, SKTText::Cut::ByBox},
        {"a second line below a box of one",
         {10, 10, 150, 24},
         "Happy Birthday\nto you",
         0,
         0,
         SKTText::Cut::ByBox},
        {"descenders below a box cut at the baseline",
         {10, 10, 150, 18},
         "Happy pygmy",
         0,
         0,
         SKTText::Cut::ByBox},
        {"letters spaced out of their box", {10, 10, 150, 24}, "Birthday", 0, 30, SKTText::Cut::ByBox},
        {"a line past the card's edge", {190, 10, 150, 30}, "Happy Birthday", 0, 0, SKTText::Cut::ByCard},
        {"a line past the card's bottom", {10, 140, 150, 30}, "Happy Birthday", 0, 0, SKTText::Cut::ByCard},
        {"an italic line leaning past its right side",
         {10, 10, 150, 30},
         "Happy Birthday f",
         1,
         0,
         SKTText::Cut::None},
        {"a line that fits", {10, 10, 150, 30}, "Happy Birthday", 2, 0, SKTText::Cut::None},
    };
    for (const Case &c : cases) {
        SKTText text;
        text.setBounds(c.box);
        text.Text_contents().text = c.text;
        text.text_ctrl_font = FontDescriptor{QStringLiteral("TimesNewRomanPS-ItalicMT"), 20};
        text.txt_clr = QColor(Qt::black);
        text.text_alignmnet = c.alignment;
        text.text_kerning = c.spacing;
        EXPECT_EQ(int(text.cutOf(c.text, card)), int(c.expected)) << c.what;
        const Verdict v = judge(text, card);
        EXPECT_EQ(v.named, v.lost300 > 0 && v.lost600 > 0) << told(c.what, v);
    }
}

// Every script the program draws, each in the face that draws it (a fallback face for all but
// Latin), upright and italic, in a box that fits it exactly (the lowest the check calls whole) and
// in one half a point lower: the check and the pixels agree on both, and the lowest box that fits
// is no taller than the drawn lines, so no text is called cut in a box that holds all its ink.
// Box bottoms lie on the pixel grid of both renders, whose clip takes whole pixels.
TEST(TextInk, EveryScriptIsNamedCutExactlyWhenItsBoxCutsIt)
{
    const QRectF card(0, 0, 400, 300);
    const char *const scripts[][2] = {
        {"Arabic", "\u0645\u062d\u0645\u062f \u0639\u0644\u064a"},
        {"Hebrew", "\u05e9\u05e8\u05d4 \u05db\u05d4\u05df"},
        {"Devanagari",
         "\u0926\u0947\u0935\u0928\u093e\u0917\u0930\u0940 \u092a\u094d\u0930\u093f\u092f\u093e"},
        {"Thai",
         "\u0e2a\u0e27\u0e31\u0e2a\u0e14\u0e35\u0e04\u0e23\u0e31\u0e1a \u0e19\u0e49\u0e33\u0e1d\u0e19"},
        {"CJK", "\u738b\u5c0f\u660e \u3055\u304f\u3089 \uae40\ubbfc\uc900"},
        {"Cyrillic", "\u0414\u043c\u0438\u0442\u0440\u0438\u0439 \u0419\u043e\u0436"},
        {"Greek", "\u0393\u03b9\u03ce\u03c1\u03b3\u03bf\u03c2 \u1f08\u03bb\u03ad\u03be"},
        {"Latin with marks", "\u00d1\u00fa\u00f1ez \u00c5ngstr\u00f6m Nguy\u1ec5n"},
    };
    constexpr double em = 14, pixel = 72.0 / 300;
    for (const char *face : {"Helvetica", "TimesNewRomanPS-ItalicMT"})
        for (const auto &[script, name] : scripts) {
            SKTText text;
            text.Text_contents().text = QString::fromUtf8(name);
            text.text_ctrl_font = FontDescriptor{QString::fromLatin1(face), em};
            text.txt_clr = QColor(Qt::black);
            // The renders start an em above the box: a box n pixels below that ends on the grid.
            const auto heightOf = [&](int n) { return n * pixel - em; };
            const auto inBox = [&](double height) {
                text.setBounds(QRectF(10, 10, 250, height));
                return judge(text, card);
            };
            int cut = int(std::ceil((em + 1) / pixel)), whole = int(std::ceil((em + 60) / pixel));
            if (inBox(heightOf(whole)).named) {
                ADD_FAILURE() << script << " in " << face << " is named cut in a box of 60 pt";
                continue;
            }
            while (whole - cut > 1) {
                const int mid = (cut + whole) / 2;
                (inBox(heightOf(mid)).named ? cut : whole) = mid;
            }
            const QString what = QStringLiteral("%1 in %2, box %3 pt high").arg(script, face);
            const Verdict fits = inBox(heightOf(whole));
            EXPECT_FALSE(fits.named) << told(what.arg(heightOf(whole)), fits);
            EXPECT_EQ(fits.lost300 + fits.lost600, 0) << told(what.arg(heightOf(whole)), fits);
            EXPECT_LE(heightOf(whole), text.drawnTextHeight() + pixel)
                << told(what.arg(heightOf(whole)), fits);
            const Verdict cuts = inBox(heightOf(whole) - 0.5);
            EXPECT_TRUE(cuts.named) << told(what.arg(heightOf(whole) - 0.5), cuts);
            EXPECT_GT(cuts.lost600, 0) << told(what.arg(heightOf(whole) - 0.5), cuts);
        }
}

// Names in eight scripts in the default face, in boxes of every whole point of height from a
// line's middle to below its descenders: each is named cut exactly when a 600 dpi render, its grid
// placed so that the box ends on a pixel's edge, loses ink against the same name in a box far
// taller. Thai letters' feet reach a fiftieth of a point below the baseline, which no render shows.
TEST(TextInk, NamesInEveryScriptAreNamedCutExactlyWhenTheirPixelsLoseInk)
{
    const QRectF card(0, 0, 400, 300);
    const QStringList names = {"สมชาย ใจดี",   "प्रिया शर्मा", "محمد علي",      "שרה כהן",
                               "Happy pygmy", "Γιώργος",    "Дмитрий Щукин", "王小明 김민준"};
    constexpr double dpi = 600, pixel = 72.0 / dpi;
    int cut = 0, whole = 0;
    for (const QString &name : names)
        for (int height = 8; height <= 24; ++height) {
            SKTText text;
            text.Text_contents().text = name;
            text.txt_clr = QColor(Qt::black);
            text.setBounds(QRectF(10, 10, 200, height));
            const double em = text.drawnFont().size;
            const double phase = std::ceil((em + height) / pixel - 1e-9) * pixel - (em + height);
            const bool named = text.cutOf(name, card) != SKTText::Cut::None;
            const int lost = lostInk(text, card, dpi, phase);
            EXPECT_EQ(named, lost > 0)
                << name.toStdString() << " in a box " << height << " pt high: " << lost << " pixels lost";
            (named ? cut : whole) += 1;
        }
    EXPECT_GT(cut, 20);
    EXPECT_GT(whole, 20);
}

// Names in each script and a pointed tip, in boxes whose bottoms step by a quarter of a 600 dpi pixel
// from two pixels below where the check first calls them whole to a pixel above: each is called cut
// exactly when a render whose grid starts at the box's bottom, lying anywhere across, loses ink. A
// tip a little past the bottom that covers less than half of any pixel loses nothing.
TEST(TextInk, EveryScriptIsNamedCutExactlyWhenItsInkIsLost)
{
    const QRectF card(0, 0, 400, 300);
    constexpr double dpi = 600, pixel = 72.0 / dpi, size = 14;
    const char *const scripts[][2] = {
        {"Latin", "Happy pygmy"},
        {"a pointed tip", "\u25bc"},
        {"Arabic", "\u0645\u062d\u0645\u062f \u0639\u0644\u064a"},
        {"Arabic with marks", "\u0645\u064f\u062d\u064e\u0645\u0651\u064e\u062f "
                              "\u0639\u064e\u0644\u0650\u064a\u0651"},
        {"Thai", "\u0e2a\u0e21\u0e0a\u0e32\u0e22 \u0e43\u0e08\u0e14\u0e35"},
        {"Devanagari", "\u092a\u094d\u0930\u093f\u092f\u093e \u0936\u0930\u094d\u092e\u093e"},
        {"Tamil", "\u0b95\u0bae\u0bb2\u0bbe \u0bb0\u0bbe\u0b9c\u0bcd"},
        {"Khmer", "\u179f\u17bb\u1781 \u1785\u17b6\u1793\u17cb"},
    };
    for (const auto &[script, name] : scripts) {
        SKTText text;
        text.Text_contents().text = QString::fromUtf8(name);
        text.text_ctrl_font = FontDescriptor{QStringLiteral("Helvetica"), size};
        text.txt_clr = QColor(Qt::black);
        if (!FontCoverage::undrawableCharacters(text.Text_contents().text, *text.text_ctrl_font).isEmpty()) {
            ADD_FAILURE() << "no face here draws " << script << " (packages.txt names one)";
            continue;
        }
        const auto named = [&](double height) {
            text.setBounds(QRectF(10, 10, 200, height));
            return text.cutOf(text.Text_contents().text, card) != SKTText::Cut::None;
        };
        double cut = 1, whole = 4 * size;
        ASSERT_FALSE(named(whole)) << script;
        while (whole - cut > pixel / 8)
            (named((cut + whole) / 2) ? cut : whole) = (cut + whole) / 2;
        int cutBoxes = 0, wholeBoxes = 0;
        for (int quarter = -8; quarter <= 4; ++quarter) {
            const double height = std::round((10 + whole) / pixel) * pixel - 10 + quarter * pixel / 4;
            const bool isNamed = named(height);
            const double phase = std::ceil((size + height) / pixel - 1e-9) * pixel - (size + height);
            int lost = 0;
            for (const double across : {0.0, 0.25, 0.5, 0.75})
                lost += lostInk(text, card, dpi, phase, across * pixel);
            EXPECT_EQ(isNamed, lost > 0)
                << script << " in a box " << height << " pt high: " << lost << " pixels lost";
            (isNamed ? cutBoxes : wholeBoxes) += 1;
        }
        EXPECT_GT(cutBoxes, 0) << script;
        EXPECT_GT(wholeBoxes, 0) << script;
    }
}
