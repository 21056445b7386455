// The text panel driven as a user would: typing, the placeholder and the length limit, dates and
// times, greeting texts through the registry, the font dialog, and edits over several texts.
#include "PanelsFixture.h"

#include "canvas/ui/SKTGraphicView.h"
#include "foundation/WindowRegistry.h"
#include "model/SKTText.h"
#include "panels/ui/TextEditingTab.h"
#include "panels/ui/TextPropertiesTab.h"

#include <QComboBox>
#include <QImage>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>

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

TEST_F(TextPanels, TypingDropsThePlaceholderAndTheCutKeepsSurrogatePairsWhole)
{
    const GraphicPtr text = make(SKTGraphic::Kind::Text);
    load(texts, text);
    ASSERT_EQ(view()->toPlainText(), TextPanel::Placeholder);
    EXPECT_EQ(view()->textCursor().selectedText(), TextPanel::Placeholder);
    typeAtEnd(QStringLiteral("Hi Text here you"));
    EXPECT_EQ(view()->toPlainText(), QStringLiteral("Hi  you"));
    EXPECT_EQ(objectText(text), QStringLiteral("Hi  you"));

    // A pasted 300 characters keep the first 250.
    view()->setFocus();
    view()->selectAll();
    view()->insertPlainText(QString(300, QLatin1Char('x')));
    EXPECT_EQ(view()->toPlainText().size(), 250);
    EXPECT_EQ(objectText(text), QString(250, QLatin1Char('x')));

    // An emoji across the 250th character is left out whole, never halved.
    const QString face = QString::fromUtf8("\xF0\x9F\x98\x80");
    view()->selectAll();
    view()->insertPlainText(QString(249, QLatin1Char('a')) + face + QStringLiteral("bb"));
    EXPECT_EQ(objectText(text), QString(249, QLatin1Char('a')));
    EXPECT_EQ(TextPanel::cutWithoutSplitting(QString(248, QLatin1Char('a')) + face, 250),
              QString(248, QLatin1Char('a')) + face);

    // Another part of the program filling the view (a series' first value) is no typing.
    texts->propertiesTab().Text_Font_btn->setFocus();
    view()->setPlainText(QString(300, QLatin1Char('s')));
    EXPECT_EQ(view()->toPlainText().size(), 300);
    EXPECT_EQ(objectText(text), QString(249, QLatin1Char('a')));
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
    // With both selected, typing reaches neither.
    typeAtEnd(QStringLiteral("!"));
    EXPECT_EQ(objectText(a), QStringLiteral("first"));
    EXPECT_EQ(objectText(b), QStringLiteral("second"));

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
