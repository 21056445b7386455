// The text panel driven as a user would: typing, the placeholder and the length limit, dates and
// times, greeting texts through the registry, the font dialog, and edits over several texts.
#include "PanelsFixture.h"

#include "canvas/ui/SKTGraphicView.h"
#include "foundation/WindowRegistry.h"
#include "model/GraphicDrawContext.h"
#include "model/SKTText.h"
#include "panels/ui/TextEditingTab.h"
#include "panels/ui/TextPropertiesTab.h"
#include "platform/FontResolver.h"

#include <QComboBox>
#include <QFontDialog>
#include <QImage>
#include <QListView>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>

#include <tuple>

class TextPanels : public PanelsFixture
{
protected:
    QPlainTextEdit *view() { return texts->editingTab().Text_value_Edit; }
    QString objectText(const GraphicPtr &g) { return g->textContentsForDrawing().text; }
    // Types at the end of the text view.
    void typeAtEnd(const QString &keys)
    {
        view()->setFocus();
        view()->moveCursor(QTextCursor::End);
        QTest::keyClicks(view(), keys);
    }
};

TEST_F(TextPanels, TypingReplacesOnlyTheWholePlaceholderAndALongPasteIsCutBeforeAWordWithAWord)
{
    // A paragraph of 5,400 characters, words of varied length.
    QString paragraph;
    for (int i = 0; paragraph.size() < 5400; ++i)
        paragraph += QStringLiteral("celebrate%1 ").arg(i * 7919 % 1000);
    paragraph.truncate(5400);
    const QString face = QString::fromUtf8("\xF0\x9F\x98\x80");
    const QString a249 = QString(249, QLatin1Char('a'));
    struct Case {
        const char *name;
        QString start; // the words before ("" keeps the new text's placeholder)
        bool atEnd;    // typed at the end rather than over everything
        QString typed; // typed key by key, or pasted when longer than 40 characters
        QString kept;  // what the words box and the object hold after
    };
    const QString pastedKept = [&] {
        QString k = paragraph.left(250);
        return k.left(k.lastIndexOf(QLatin1Char(' ')));
    }();
    const Case cases[] = {
        {"typed after the placeholder", {}, true, QStringLiteral("Hi"), QStringLiteral("Hi")},
        {"typed over the placeholder, its words among the user's",
         {},
         false,
         QStringLiteral("Write your wish: Text here"),
         QStringLiteral("Write your wish: Text here")},
        {"typed on at the longest length", QString(250, QLatin1Char('w')), true, QStringLiteral("x"),
         QString(250, QLatin1Char('w'))},
        {"a long paste, cut before a word", {}, false, paragraph, pastedKept},
        {"a pasted word longer than the room", QStringLiteral("Dear "), true, QString(300, QLatin1Char('x')),
         QStringLiteral("Dear ") + QString(245, QLatin1Char('x'))},
        {"an emoji across the cut, left out whole", {}, false, a249 + face + QStringLiteral("bb"), a249},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        messages.clear();
        const GraphicPtr text = make(SKTGraphic::Kind::Text);
        load(texts, text);
        ASSERT_EQ(view()->toPlainText(), TextPanel::Placeholder);
        view()->setFocus();
        if (!c.start.isEmpty()) {
            view()->selectAll();
            view()->insertPlainText(c.start);
        }
        if (c.atEnd)
            view()->moveCursor(QTextCursor::End);
        else
            view()->selectAll();
        if (c.typed.size() > 40)
            view()->insertPlainText(c.typed); // what a paste does
        else
            QTest::keyClicks(view(), c.typed);
        EXPECT_EQ(view()->toPlainText(), c.kept);
        EXPECT_EQ(objectText(text), c.kept);
        const bool cut = c.start.size() + c.typed.size() > TextPanel::MaxTypedLength;
        EXPECT_EQ(shown(), cut ? QStringList{TextPanel::shortenedMessage(c.kept.size())} : QStringList());
    }
    EXPECT_TRUE(TextPanel::shortenedMessage(245).contains(QStringLiteral("shortened to 245 characters")));

    // Another part of the program filling the view (a series' first value) is no typing.
    const GraphicPtr text = make(SKTGraphic::Kind::Text);
    texts->propertiesTab().Text_Font_btn->setFocus();
    view()->setPlainText(QString(300, QLatin1Char('s')));
    EXPECT_EQ(view()->toPlainText().size(), 300);
    EXPECT_EQ(objectText(text), TextPanel::Placeholder);
}

TEST_F(TextPanels, DatesAndTimesGoInWholeAndNeedAFormat)
{
    const GraphicPtr text = make(SKTGraphic::Kind::Text);
    load(texts, text);
    view()->setFocus();
    view()->selectAll();
    view()->insertPlainText(QString(249, QLatin1Char('a')));
    TextEditingTab &e = texts->editingTab();
    e.Text_Date_style->setCurrentIndex(0); // M-d-yyyy
    e.Text_Insert_Date_btn->click();
    EXPECT_EQ(objectText(text), QString(249, QLatin1Char('a')) + QStringLiteral("3-7-2024"));
    e.Text_Time_style->setCurrentIndex(3); // HH:mm:ss
    e.Text_Insert_Time_btn->click();
    EXPECT_TRUE(objectText(text).endsWith(QStringLiteral("3-7-202414:05:09")));

    const QString before = objectText(text);
    e.Text_Date_style->setCurrentIndex(-1);
    e.Text_Insert_Date_btn->click();
    e.Text_Time_style->setCurrentIndex(-1);
    e.Text_Insert_Time_btn->click();
    EXPECT_EQ(shown(), (QStringList{QStringLiteral("Please select Date format."),
                                    QStringLiteral("Please select Time format.")}));
    EXPECT_EQ(objectText(text), before);
}

TEST_F(TextPanels, TheGreetingButtonAsksForTitlesOrMessagesByItsTitle)
{
    const GraphicPtr text = make(SKTGraphic::Kind::Text);
    text->control_ID = QStringLiteral("PARTY_TITLE");
    load(texts, text);
    QPushButton *button = texts->editingTab().insert_template_btn;
    EXPECT_TRUE(button->isVisibleTo(texts->editingTab().page));
    EXPECT_EQ(button->text(), QStringLiteral("Use Template Title"));

    // Until the picker exists the button does nothing.
    button->click();
    EXPECT_EQ(objectText(text), TextPanel::Placeholder);

    using Kind = WindowRegistry::GreetingKind;
    QList<Kind> kinds;
    host->registry().fillGreetingChooser([&](Kind kind) {
        kinds << kind;
        return QString(300, QLatin1Char('g'));
    });
    button->click();
    EXPECT_EQ(objectText(text), QString(300, QLatin1Char('g'))); // not cut: it was not typed

    text->control_ID = QStringLiteral("PARTY_MSG");
    load(texts, text);
    EXPECT_EQ(button->text(), QStringLiteral("Use Template Message"));
    button->click();
    EXPECT_EQ(kinds, (QList{Kind::Titles, Kind::Messages}));
    text->control_ID = QStringLiteral("OTHER");
    load(texts, text);
    EXPECT_FALSE(button->isVisibleTo(texts->editingTab().page));
}

TEST_F(TextPanels, SeveralTextsShareEveryPropertyButTheirWords)
{
    const GraphicPtr a = make(SKTGraphic::Kind::Text);
    const GraphicPtr b = make(SKTGraphic::Kind::Text);
    a->Text_contents().text = QStringLiteral("first");
    b->Text_contents().text = QStringLiteral("second");
    select({0, 1});
    load(texts, a);
    TextPropertiesTab &p = texts->propertiesTab();

    // The alignment and case combos list their items in the order of the stored codes.
    p.Text_align_combo->setFocus();
    p.Text_align_combo->setCurrentIndex(1);
    QTest::keyClick(p.Text_align_combo, Qt::Key_Down);
    EXPECT_EQ(p.Text_align_combo->currentText(), QStringLiteral("Centre"));
    p.Text_case_combo->setCurrentIndex(2);
    QTest::keyClick(p.Text_case_combo, Qt::Key_Down);
    choosers.nextFont = QFont(QStringLiteral("Liberation Sans"), 14);
    p.Text_Font_btn->click();
    EXPECT_EQ(p.Text_font_value->text(), QStringLiteral("Liberation Sans ( 14.00 )"));
    stepTo(p.Text_alpha_Stepper, 40);
    for (const GraphicPtr &g : {a, b}) {
        EXPECT_EQ(g->text_alignmnet, 2);
        EXPECT_EQ(g->text_transfrom_case, 3);
        EXPECT_EQ(g->text_ctrl_font->postScriptName, QStringLiteral("ArialMT"));
        EXPECT_EQ(g->text_ctrl_font->size, 14.0);
        EXPECT_FLOAT_EQ(g->alpha_val, 0.4f);
    }
    // With both selected the words box shows neither's words and takes no typing, nor do the
    // buttons that write words; one text alone shows its words, to be typed over, again.
    const TextEditingTab &e = texts->editingTab();
    EXPECT_TRUE(view()->isReadOnly());
    EXPECT_EQ(view()->toPlainText(), QString());
    EXPECT_EQ(view()->placeholderText(), QStringLiteral("2 texts selected"));
    EXPECT_FALSE(e.Text_Insert_Date_btn->isEnabled());
    EXPECT_FALSE(e.Text_Insert_Time_btn->isEnabled());
    typeAtEnd(QStringLiteral("!"));
    EXPECT_EQ(objectText(a), QStringLiteral("first"));
    EXPECT_EQ(objectText(b), QStringLiteral("second"));
    select({1});
    inspector().Show_RHS_Properties(a);
    EXPECT_FALSE(view()->isReadOnly());
    EXPECT_EQ(view()->toPlainText(), QStringLiteral("first"));
    EXPECT_TRUE(e.Text_Insert_Date_btn->isEnabled());
    select({0, 1});
    inspector().Show_RHS_Properties(a);
    EXPECT_TRUE(view()->isReadOnly());
    EXPECT_EQ(view()->toPlainText(), QString());

    // Fill with the solid radio stores "S" and the colour; the gradient radio stores "G".
    p.Text_fill_chk->setChecked(false);
    p.Text_fill_chk->click();
    p.Text_solid_fill_rd->click();
    pickColor(p.Text_fill_clr, QColor(1, 2, 3));
    EXPECT_EQ(a->fill_type(), QStringLiteral("S"));
    EXPECT_EQ(b->_fillColor, QColor(1, 2, 3));
    p.Text_gradient_fill_rd->click();
    EXPECT_EQ(b->fill_type(), QStringLiteral("G"));
    EXPECT_FALSE(p.Text_fill_clr->isEnabled());
    screenshot(InspectorTabs::text_prop_tab, QStringLiteral("inspector-text.png"));
    screenshot(InspectorTabs::text_edtng_tab, QStringLiteral("inspector-text-editing.png"));
}

TEST_F(TextPanels, TypingGrowsTheFrameToShowTheWholeText)
{
    const GraphicPtr text = make(SKTGraphic::Kind::Text); // a new text's 50 x 50 frame at (20, 20)
    view()->setFocus();
    view()->selectAll();
    QTest::keyClicks(view(), QStringLiteral("See you at 3 pm on Saturday!"));
    const QRectF grown = text->bounds();
    EXPECT_EQ(grown.topLeft(), QPointF(20, 20));
    ASSERT_GT(grown.height(), 50);
    // No word is broken inside the frame: it is at least as wide as "Saturday!".
    const auto &grownText = static_cast<const SKTText &>(*text);
    EXPECT_GE(grown.width(), grownText.widestDrawnWord());
    EXPECT_GT(grownText.widestDrawnWord(), 50);

    // The canvas shows words below the old frame's bottom edge, down to the new one.
    QCoreApplication::processEvents();
    const QImage shown = canvas(0)->grab().toImage();
    saveArtifact(canvas(0), QStringLiteral("text-grown-to-its-words.png"));
    const auto inkBetween = [&](int top, int bottom) {
        int ink = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = 20; x < 70; ++x)
                ink += qGray(shown.pixel(x, y)) < 128;
        return ink;
    };
    EXPECT_GT(inkBetween(72, int(grown.bottom())), 0);

    // Fewer words leave the frame as tall as it has become.
    view()->selectAll();
    QTest::keyClicks(view(), QStringLiteral("Hi"));
    EXPECT_EQ(text->bounds(), grown);
}

TEST_F(TextPanels, UpperCaseGrowingATextOverTheOneBelowSaysSo)
{
    // Two texts stacked, each on one line that UPPER CASE makes too wide for its frame.
    const QString words = QStringLiteral("tart fist jest");
    const FontDescriptor font = static_cast<const SKTText &>(*make(SKTGraphic::Kind::Text)).drawnFont();
    const double line = SKTText::heightAsDrawn(words, font, 1000);
    double width = 20;
    while (SKTText::heightAsDrawn(words, font, width) > line)
        ++width;
    ASSERT_GT(SKTText::heightAsDrawn(words.toUpper(), font, width), line);
    host->document().removeAllGraphicsFromSide(0);
    const GraphicPtr lower = make(SKTGraphic::Kind::Text);
    const GraphicPtr upper = make(SKTGraphic::Kind::Text);
    for (const auto &[g, top, text] : {std::tuple(upper, 20.0, QStringLiteral("tart fist jest")),
                                       std::tuple(lower, 40.0, QStringLiteral("fist tart jest"))}) {
        g->Text_contents().text = text;
        g->setBounds(QRectF(20, top, width, 20));
    }
    select({0, 1});
    load(texts, upper);
    messages.clear();
    choose(texts->propertiesTab().Text_case_combo, QStringLiteral("UPPER CASE"));
    QCoreApplication::processEvents();
    ASSERT_GT(upper->bounds().height(), 20);
    EXPECT_EQ(shown().join(QLatin1Char('|')),
              QString(QStringLiteral("The text \"tart fist jest\" grew to show all its words and now "
                                     "covers the text \"fist tart jest\".\nMove it or make it "
                                     "smaller; Edit > Undo takes the change back.")));
}

TEST_F(TextPanels, AFrameAtTheCardsEdgeGrowsInwardAndStaysOnTheCard)
{
    const QRectF card = canvas(0)->bounds();
    struct Case {
        const char *name;
        QRectF frame;
        QString words;
    };
    const Case cases[] = {
        {"right edge", QRectF(card.right() - 40, 30, 38, 20), QStringLiteral("Unforgettable")},
        {"bottom edge", QRectF(40, card.bottom() - 22, 120, 20),
         QStringLiteral("Join us for an evening of music, food and friends")},
        {"corner", QRectF(card.right() - 40, card.bottom() - 22, 38, 20),
         QStringLiteral("Celebrations everywhere tonight")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const GraphicPtr text = make(SKTGraphic::Kind::Text);
        text->setBounds(c.frame);
        view()->setFocus();
        view()->selectAll();
        QTest::keyClicks(view(), c.words);
        const QRectF grown = text->bounds();
        EXPECT_TRUE(card.contains(grown))
            << grown.x() << " " << grown.y() << " " << grown.width() << " " << grown.height();
        EXPECT_EQ(static_cast<const SKTText &>(*text).cutOf(c.words, card), SKTText::Cut::None);
        EXPECT_GE(grown.width(), c.frame.width());
    }
    QCoreApplication::processEvents();
    saveArtifact(canvas(0), QStringLiteral("text-grown-inward-at-the-edges.png"));
}

TEST_F(TextPanels, ALongPasteGrowsTheFrameOnTheCard)
{
    const QRectF card = canvas(0)->bounds();
    const GraphicPtr text = make(SKTGraphic::Kind::Text); // a new text's 50 x 50 frame
    QString paragraph;
    while (paragraph.size() < 5400)
        paragraph += QStringLiteral("We would love you to join us for the evening. ");
    view()->setFocus();
    view()->selectAll();
    view()->insertPlainText(paragraph);
    const QRectF grown = text->bounds();
    EXPECT_TRUE(card.contains(grown)) << grown.width() << " x " << grown.height();
    EXPECT_GT(grown.width(), 50);
    EXPECT_EQ(static_cast<const SKTText &>(*text).cutOf(objectText(text), card), SKTText::Cut::None);
    QCoreApplication::processEvents();
    saveArtifact(canvas(0), QStringLiteral("text-long-paste-on-the-card.png"));
}

TEST_F(TextPanels, OpacityIsTheFillsAndWaitsForTheFill)
{
    const GraphicPtr text = make(SKTGraphic::Kind::Text);
    TextPropertiesTab &p = texts->propertiesTab();
    EXPECT_TRUE(p.Text_alpha_Stepper->toolTip().contains(QStringLiteral("fill")));
    for (const bool fill : {false, true, false}) {
        SCOPED_TRACE(fill);
        if (p.Text_fill_chk->isChecked() != fill)
            p.Text_fill_chk->click();
        EXPECT_EQ(text->_isDrawingFill, fill);
        EXPECT_EQ(p.Text_alpha_Stepper->isEnabled(), fill);
        EXPECT_EQ(p.Text_alpha_label->isEnabled(), fill);
        screenshot(InspectorTabs::text_prop_tab, fill ? QStringLiteral("inspector-text-fill-on.png")
                                                      : QStringLiteral("inspector-text-fill-off.png"));
    }
    // Loading a text with its fill on enables it again; the stored opacity is kept either way.
    text->_isDrawingFill = true;
    text->alpha_val = 0.3f;
    load(texts, text);
    EXPECT_TRUE(p.Text_alpha_Stepper->isEnabled());
    EXPECT_EQ(p.Text_alpha_Stepper->value(), 30);
}

TEST_F(TextPanels, TheFontWindowsStyleIsKeptAndDrawn)
{
    // The font window as the program prepares it; the user picks a family and a style of it.
    const auto pick = [](const QString &family, const QString &style) {
        QFontDialog dialog;
        ChooserPanels::prepareFontDialog(dialog);
        auto lists = dialog.findChildren<QListView *>();
        const auto select = [&](const QString &entry) {
            for (QListView *list : lists) {
                const QModelIndexList found = list->model()->match(
                    list->model()->index(0, 0), Qt::DisplayRole, entry, 1, Qt::MatchExactly);
                if (!found.isEmpty()) {
                    list->setCurrentIndex(found.first());
                    return true;
                }
            }
            return false;
        };
        EXPECT_TRUE(select(family));
        EXPECT_TRUE(select(style));
        QFont chosen = dialog.currentFont();
        chosen.setPointSize(24);
        return chosen;
    };
    const GraphicPtr text = make(SKTGraphic::Kind::Text);
    view()->setFocus();
    view()->selectAll();
    QTest::keyClicks(view(), QStringLiteral("Wedding"));
    const auto inkWidth = [&] {
        text->_isDrawingStroke = text->_isDrawingFill = false; // only the words' ink
        QImage img(400, 80, QImage::Format_RGB32);
        img.fill(Qt::white);
        QPainter painter(&img);
        text->setBounds(QRectF(0, 0, 400, 80));
        text->drawContentsInView(painter, GraphicDrawContext{}, false);
        painter.end();
        int left = img.width(), right = -1;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (qGray(img.pixel(x, y)) < 128)
                    left = std::min(left, x), right = std::max(right, x);
        return right - left;
    };
    struct Case {
        QString style;
        QString stored;
    };
    const Case cases[] = {
        {QStringLiteral("Bold Italic"), QStringLiteral("DejaVuSerif-BoldItalic")},
        {QStringLiteral("Condensed Bold Italic"), QStringLiteral("DejaVuSerif-CondensedBoldItalic")}};
    QList<int> widths;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.style.toStdString());
        choosers.nextFont = pick(QStringLiteral("DejaVu Serif"), c.style);
        texts->propertiesTab().Text_Font_btn->click();
        ASSERT_TRUE(text->text_ctrl_font);
        EXPECT_EQ(text->text_ctrl_font->postScriptName, c.stored);
        // Drawing asks for the style the text keeps.
        EXPECT_EQ(FontResolver::font(*text->text_ctrl_font).styleName(),
                  c.style == QStringLiteral("Bold Italic") ? QString() : c.style);
        widths << inkWidth();
    }
    // Drawn condensed: the same word takes clearly less room.
    EXPECT_LT(widths[1], widths[0] * 0.95);
}
