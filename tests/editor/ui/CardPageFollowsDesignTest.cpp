// The card page shows the design however it changed: the panel loads its controls from the
// design's notice, so a change made without it (through the document, undo, redo, an opened
// design, the other side made live) shows as the design has it.
#include "MainWindowFixture.h"

#include "editor/ui/FileCommands.h"
#include "foundation/MessageBoxes.h"
#include "foundation/ui/ColorWell.h"
#include "foundation/ui/StepperField.h"
#include "model/Card_Property.h"
#include "panels/CardSizeTables.h"
#include "panels/ui/TextPanel.h"
#include "platform/UndoManager.h"
#include "support/DesignSetup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <functional>

class CardPageFollowsDesign : public MainWindowFixture
{
protected:
    template <class T> T *control(const char *name)
    {
        T *found = window->findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    SKTDocument &document() { return window->document(); }
    // A page unlike the new card's on every control the test reads.
    static Card_Property changedPage(Card_Property page, const QString &name)
    {
        page.Card_Name = name;
        page.Card_border_chk = !page.Card_border_chk;
        page.Card_bor_Stepper = 7;
        page.Card_Content_font.size = 23;
        page.Card_Content_clr = QColor(10, 120, 30);
        page.Card_Side = QStringLiteral("1");
        return page;
    }
    // What the page's controls show that differs from the design of the live side; empty when
    // they show it.
    QStringList differences()
    {
        const CardDesign &design = document().design();
        const Card_Property &page = design.page(window->Card_Front_Or_Back() != 0 ? 1 : 0);
        QStringList off;
        const auto check = [&off](bool same, const char *what) {
            if (!same)
                off << QString::fromLatin1(what);
        };
        const QSizeF size = design.cardSize();
        check(std::abs(control<StepperField>("width_Stepper")->value() -
                       CardSizeTables::Points_to_MM_Convert(float(size.width()))) < 0.01,
              "width");
        check(std::abs(control<StepperField>("height_Stepper")->value() -
                       CardSizeTables::Points_to_MM_Convert(float(size.height()))) < 0.01,
              "height");
        const QString outline = QStringLiteral("matrix_card_shape_%1").arg(int(design.outline()));
        check(window->findChild<QRadioButton *>(outline)->isChecked(), "outline");
        check(control<QComboBox>("Sides_ComboBox")->currentIndex() == (page.isTwoSided() ? 0 : 1), "sides");
        check(control<QLabel>("All_Text_font_value")->text() ==
                  TextPanel::fontDisplayText(page.Card_Content_font),
              "content font");
        check(control<ColorWell>("All_Text_clr")->color() == page.Card_Content_clr, "content colour");
        check(control<QLineEdit>("card_name")->text() == page.Card_Name, "name");
        check(control<QCheckBox>("Card_border_chk")->isChecked() == page.Card_border_chk, "border");
        check(int(control<StepperField>("Card_bor_Stepper")->value()) == page.Card_bor_Stepper,
              "border width");
        return off;
    }
};

TEST_F(CardPageFollowsDesign, EveryChangeWithoutThePanelShowsOnIt)
{
    const QString saved = tempPath(QStringLiteral("opened.dcard"));
    const struct {
        const char *what;
        std::function<void()> change;
    } cases[] = {
        {"card size through the document", [&] { testsupport::setCardSize(document(), QSizeF(300, 180)); }},
        {"outline through the document", [&] { testsupport::setOutline(document(), 2); }},
        {"front page through the document",
         [&] {
             testsupport::setPage(document(), 0,
                                  changedPage(window->Front_card_Prop(), QStringLiteral("Set")));
         }},
        {"undo", [&] { document().undoManager().undo(); }},
        {"redo", [&] { document().undoManager().redo(); }},
        {"undo of the size and outline",
         [&] {
             document().undoManager().undo();
             document().undoManager().undo();
             document().undoManager().undo();
         }},
        {"back page made live",
         [&] {
             testsupport::setPage(document(), 1,
                                  changedPage(window->Back_card_Prop(), QStringLiteral("Back")));
             QTest::mouseClick(control<QPushButton>("Back_Card_Btn"), Qt::LeftButton);
         }},
        {"opened design",
         [&] {
             QTest::mouseClick(control<QPushButton>("Front_Card_Btn"), Qt::LeftButton);
             testsupport::setCardSize(document(), QSizeF(250, 150));
             testsupport::setPage(document(), 0,
                                  changedPage(window->Front_card_Prop(), QStringLiteral("Saved")));
             saveAs(QStringLiteral("opened.dcard"));
             testsupport::setCardSize(document(), QSizeF(200, 200));
             testsupport::setOutline(document(), 1);
             testsupport::setPage(document(), 0,
                                  changedPage(window->Front_card_Prop(), QStringLiteral("Later")));
             messages.queueChoices({int(SaveAnswer::DontSave)});
             files.answers.push_back(saved);
             window->fileCommands().Open_Btn_Clicked();
             EXPECT_EQ(window->Front_card_Prop().Card_Name, QStringLiteral("Saved"));
         }},
    };
    ASSERT_TRUE(differences().isEmpty()) << differences().join(QStringLiteral(", ")).toStdString();
    for (const auto &c : cases) {
        c.change();
        QCoreApplication::processEvents();
        const QStringList off = differences();
        EXPECT_TRUE(off.isEmpty()) << c.what << ": " << off.join(QStringLiteral(", ")).toStdString();
    }
}
