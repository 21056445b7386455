// Every control of every inspector page, for each kind of object and for the card page, changed
// as a user would: each must change what is drawn and what a save writes, as one undo step that
// Ctrl+Z takes back whole (the same objects, drawn and saved as before) and Ctrl+Shift+Z redoes.
#include "MainWindowFixture.h"
#include "support/KeyboardWalk.h"

#include "canvas/SKTRenderingView.h"
#include "editor/DesignFile.h"
#include "editor/ui/MainWindowOutputHost.h"
#include "foundation/CardCodes.h"
#include "foundation/ui/ColorWell.h"
#include "foundation/ui/FloatSlider.h"
#include "foundation/ui/StepperField.h"
#include "panels/ui/Inspector.h"
#include "panels/ui/InspectorTabs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSet>
#include <QSlider>
#include <QTabWidget>

namespace
{
// Controls that rightly change neither the drawing nor the saved design when changed alone, each
// with the reason. Buttons are not walked: they open windows or run commands tested elsewhere.
const QSet<QString> &changesNothingAlone()
{
    static const QSet<QString> names{
        // The card page's size list and its category only choose a size; Apply_Size_btn, a
        // committed width or height, or a picked row makes it the card's.
        QStringLiteral("Category_ComboBox"),
        // The date and time styles are used by the buttons that insert a date or a time.
        QStringLiteral("Text_Date_style"),
        QStringLiteral("Text_Time_style"),
        // A data source kind takes effect once its series or column is chosen.
        QStringLiteral("Data_source_type"),
    };
    return names;
}

// Controls whose change is saved and takes effect later, not on the card as drawn, with the reason.
const QSet<QString> &takesEffectLater()
{
    static const QSet<QString> names{
        // The content font's colour is given to texts made afterwards.
        QStringLiteral("All_Text_clr"),
        // Objects left out of print are still drawn on the card and in a single export.
        QStringLiteral("print_object_chk"),
        // The card's name names its files; a one-sided card prints and exports its front only.
        QStringLiteral("card_name"),
        QStringLiteral("Sides_ComboBox"),
    };
    return names;
}
} // namespace

class InspectorWalk : public MainWindowFixture
{
protected:
    // What the user sees of the front and what a save would write, and which objects it holds.
    struct Design {
        QImage drawn;
        QByteArray saved;
        GraphicList objects;
        bool operator==(const Design &o) const
        {
            return drawn == o.drawn && saved == o.saved && objects == o.objects;
        }
    };
    Design design()
    {
        const CardDesign d = MainWindowOutputHost::designOf(*window);
        RenderSide side;
        side.graphics = d.front;
        side.page = d.frontPage;
        side.cardShape = d.outline();
        side.cardSize = d.cardSize();
        side.resourcePath = Resource_Path;
        return {SKTRenderingView::imageOfSide(side, 72), savedDesign(), front()};
    }
    // Colours and pictures in which every style control shows: fills on in colours apart from
    // each other and the page, a picture whose quarters differ, a background picture smaller than
    // the card (so tiling differs from stretching).
    static QImage quarters(int width, int height)
    {
        QImage img(width, height, QImage::Format_RGB32);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                img.setPixelColor(x, y, QColor(x < width / 2 ? 240 : 30, y < height / 2 ? 200 : 40, 90));
        return img;
    }
    static void prime(SKTGraphic &g)
    {
        g._isDrawingFill = g.kind() == SKTGraphic::Kind::Text || g.kind() == SKTGraphic::Kind::Shape;
        g._fillColor = QColor(20, 60, 160);
        g._fill_Grad_clr1 = QColor(250, 200, 0);
        g._fill_Grad_clr2 = QColor(0, 150, 60);
        g._fill_htch_clr = QColor(240, 240, 120);
    }
    void primePage()
    {
        const QString picture = tempPath(QStringLiteral("background.png"));
        ASSERT_TRUE(quarters(30, 20).save(picture));
        window->set_Front_BG_Image(picture);
        Card_Property &page = window->Front_card_Prop();
        page.Card_fill_chk = true;
        page.Card_fill_style = FillCode::Solid;
        page.Card_fill_clr = QColor(20, 60, 160);
        page.Card_fill_Grd_1_clr = QColor(250, 200, 0);
        page.Card_fill_Grd_2_clr = QColor(0, 150, 60);
        page.Card_hatch_bk_clr = QColor(240, 240, 120);
        window->Show_RHS_Properties(nullptr);
    }
    void keys(QKeyCombination combination)
    {
        QTest::keyClick(window.get(), combination.key(), combination.keyboardModifiers());
        QCoreApplication::processEvents();
    }

    // Changes a control as a user would. False when it offers no other value.
    bool change(QWidget *control)
    {
        // Each pick a colour of its own, so that the two ends of a gradient differ.
        choosers.nextColor = QColor::fromHsv((m_picks++ * 67) % 360, 200, 200);
        if (auto *box = qobject_cast<QCheckBox *>(control)) {
            box->click();
        } else if (auto *radio = qobject_cast<QRadioButton *>(control)) {
            if (radio->isChecked())
                return false;
            radio->click();
        } else if (auto *combo = qobject_cast<QComboBox *>(control)) {
            if (combo->count() < 2)
                return false;
            const int next = (combo->currentIndex() + 1) % combo->count();
            combo->setCurrentIndex(next);
            emit combo->activated(next);
        } else if (auto *stepper = qobject_cast<StepperField *>(control)) {
            const double before = stepper->value();
            stepper->stepBy(stepper->value() >= stepper->maximum() ? -1 : 1);
            return stepper->value() != before;
        } else if (auto *slider = qobject_cast<FloatSlider *>(control)) {
            // Halfway to the far end: a picture made fully transparent would hide the filters
            // walked after it.
            QSlider *s = slider->slider();
            s->setValue(s->value() == s->maximum() ? (s->minimum() + s->value()) / 2
                                                   : (s->maximum() + s->value()) / 2);
        } else if (auto *well = qobject_cast<ColorWell *>(control)) {
            well->click();
        } else if (auto *line = qobject_cast<QLineEdit *>(control)) {
            if (line->isReadOnly())
                return false;
            line->setFocus(Qt::MouseFocusReason);
            line->selectAll();
            QTest::keyClicks(line, QStringLiteral("Walk 42"));
            emit line->editingFinished();
        } else if (auto *text = qobject_cast<QPlainTextEdit *>(control)) {
            if (text->isReadOnly())
                return false;
            text->setFocus(Qt::MouseFocusReason);
            QTest::keyClicks(text, QStringLiteral(" walk"));
        } else {
            return false;
        }
        QCoreApplication::processEvents();
        return true;
    }

    // The controls of the pages the inspector shows now, page by page.
    QList<QPair<InspectorTabs::Item, QWidget *>> shownControls()
    {
        QList<QPair<InspectorTabs::Item, QWidget *>> controls;
        InspectorTabs &tabs = window->inspectorTabs();
        for (InspectorTabs::Item item : tabs.shownItems()) {
            for (QWidget *w : tabs.page(item)->findChildren<QWidget *>()) {
                const bool walked = qobject_cast<QCheckBox *>(w) || qobject_cast<QRadioButton *>(w) ||
                                    qobject_cast<QComboBox *>(w) || qobject_cast<StepperField *>(w) ||
                                    qobject_cast<FloatSlider *>(w) || qobject_cast<ColorWell *>(w) ||
                                    qobject_cast<QLineEdit *>(w) || qobject_cast<QPlainTextEdit *>(w);
                // The line edit inside a spin box or combo box is that control's own.
                if (walked && !qobject_cast<QAbstractSpinBox *>(w->parentWidget()) &&
                    !qobject_cast<QComboBox *>(w->parentWidget()))
                    controls.append({item, w});
            }
        }
        return controls;
    }

    // Ticks every check box of the shown pages, so that the controls they enable can be walked;
    // the lock is left alone, since a locked object takes no change.
    void tickAll()
    {
        for (const auto &[item, control] : shownControls()) {
            auto *box = qobject_cast<QCheckBox *>(control);
            if (box && !box->isChecked() && box->isEnabled() &&
                !box->objectName().contains(QLatin1String("lock"), Qt::CaseInsensitive)) {
                window->inspectorTabs().selectItem(item);
                box->click();
            }
        }
        QCoreApplication::processEvents();
    }

    int m_picks = 0;

    // What the walk found wrong, control by control.
    struct Findings {
        QStringList idle;      // changed neither the drawing nor the saved design
        QStringList undrawn;   // saved, not drawn, and not listed as taking effect later
        QStringList unsaved;   // drawn, but a save would lose it
        QStringList notUndone; // Ctrl+Z did not give back the design as it was
        QStringList notRedone; // Ctrl+Shift+Z did not give the change back
        bool clean() const
        {
            return idle.isEmpty() && undrawn.isEmpty() && unsaved.isEmpty() && notUndone.isEmpty() &&
                   notRedone.isEmpty();
        }
        std::string report() const
        {
            return QStringLiteral("idle: %1; undrawn: %2; unsaved: %3; not undone: %4; not redone: %5")
                .arg(idle.join(u' '), undrawn.join(u' '), unsaved.join(u' '), notUndone.join(u' '),
                     notRedone.join(u' '))
                .toStdString();
        }
    };

    // Changes one control, then takes the change back and gives it again by the keyboard.
    void check(QWidget *control, const QString &name, Findings &found)
    {
        const Design before = design();
        if (!change(control))
            return;
        const Design after = design();
        const bool drawn = after.drawn != before.drawn;
        if (!drawn && after.saved == before.saved) {
            found.idle << name;
            return;
        }
        if (!drawn && !takesEffectLater().contains(control->objectName()))
            found.undrawn << name;
        if (after.saved == before.saved)
            found.unsaved << name;
        keys(Qt::CTRL | Qt::Key_Z);
        if (!(design() == before))
            found.notUndone << name;
        keys(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
        if (!(design() == after))
            found.notRedone << name;
    }

    // Walks the pages shown for the selection. A check box is put back after its check; the
    // controls it enables are walked on the second round, with every box ticked.
    Findings walk(const std::function<void()> &select)
    {
        Findings found;
        QSet<QWidget *> walked;
        for (int round = 0; round < 2; ++round) {
            select();
            if (round == 1)
                tickAll();
            const auto controls = shownControls();
            for (const auto &[item, control] : controls) {
                if (walked.contains(control))
                    continue;
                select(); // a control may have moved the inspector or the selection
                window->inspectorTabs().selectItem(item);
                if (!control->isEnabled() || !control->isVisibleTo(window.get()))
                    continue;
                walked.insert(control);
                const QString name = control->objectName();
                if (changesNothingAlone().contains(name))
                    continue;
                check(control,
                      InspectorTabs::itemName(item) + QLatin1Char('/') +
                          (name.isEmpty() ? QString::fromLatin1(control->metaObject()->className()) : name),
                      found);
                if (auto *box = qobject_cast<QCheckBox *>(control))
                    box->click();
            }
        }
        return found;
    }
};

TEST_F(InspectorWalk, EveryControlChangesTheCardOrTheSavedDesign)
{
    struct Kind {
        const char *name;
        int tool;
    };
    // Every set of pages the inspector has for an object, the shapes with their own controls too.
    ASSERT_TRUE(testsupport::showWithKeyboard(*window));
    ASSERT_TRUE(quarters(40, 30).save(tempPath(QStringLiteral("photo.png"))));
    const Kind kinds[] = {{"line", 1},         {"text", 2},        {"rectangle", 3}, {"star", 13},
                          {"double star", 14}, {"polygon", 15},    {"picture", 8},   {"barcode", 10},
                          {"signature", 11},   {"fingerprint", 12}};
    for (const Kind &kind : kinds) {
        SCOPED_TRACE(kind.name);
        canvas(0)->selectAll();
        canvas(0)->delete_();
        if (kind.tool == 8)
            files.answers.push_back(tempPath(QStringLiteral("photo.png")));
        clickTool(kind.tool);
        ASSERT_EQ(front().size(), 1);
        prime(*front().first());
        window->inspector().showLiveSelection(true);
        const Findings found = walk([&] { canvas(0)->selectAll(); });
        EXPECT_TRUE(found.clean()) << found.report();
    }
    SCOPED_TRACE("card page");
    canvas(0)->selectAll();
    canvas(0)->delete_();
    primePage();
    const Findings found = walk([&] { canvas(0)->deselectAll(); });
    EXPECT_TRUE(found.clean()) << found.report();
}
