// Every control of every inspector page, for each kind of object and for the card page, changed
// as a user would: each must change what is drawn or what a save writes. A control that changes
// neither does nothing the user can see, unless it is one of the few listed below.
#include "MainWindowFixture.h"
#include "support/KeyboardWalk.h"

#include "canvas/SKTRenderingView.h"
#include "editor/DesignFile.h"
#include "editor/ui/MainWindowOutputHost.h"
#include "foundation/ui/ColorWell.h"
#include "foundation/ui/FloatSlider.h"
#include "foundation/ui/StepperField.h"
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
        // The card page's size list and its category and orientation only choose a size;
        // Apply_Size_btn makes it the card's.
        QStringLiteral("Category_ComboBox"),
        QStringLiteral("Preset_ComboBox"),
        QStringLiteral("width_Stepper"),
        QStringLiteral("height_Stepper"),
        // The content font's colour is given to texts made afterwards.
        QStringLiteral("All_Text_clr"),
        // The date and time styles are used by the buttons that insert a date or a time.
        QStringLiteral("Text_Date_style"),
        QStringLiteral("Text_Time_style"),
        // A data source kind takes effect once its series or column is chosen.
        QStringLiteral("Data_source_type"),
        // Objects left out of print are still drawn on the card and in a single export.
        QStringLiteral("print_object_chk"),
    };
    return names;
}
} // namespace

class InspectorWalk : public MainWindowFixture
{
protected:
    QImage drawn()
    {
        const BatchFillSnapshot::Design d = MainWindowOutputHost::designOf(*window);
        RenderSide side;
        side.graphics = d.front;
        side.page = d.frontPage;
        side.cardShape = d.cardShape;
        side.cardSize = d.cardArea.size();
        side.resourcePath = d.resourcePath;
        return SKTRenderingView::imageOfSide(side, 72);
    }

    // Changes a control as a user would. False when it offers no other value.
    bool change(QWidget *control)
    {
        choosers.nextColor = QColor(200, 30, 90);
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
            QSlider *s = slider->slider();
            s->setValue(s->value() == s->maximum() ? s->minimum() : s->maximum());
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

    // Walks the pages shown for the selection; returns the controls that changed nothing. A check
    // box is put back after its check; the controls it enables are walked on the second round,
    // with every box ticked.
    QStringList walk(const std::function<void()> &select)
    {
        QStringList idle;
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
                const QImage before = drawn();
                window->designFile().markClean();
                if (!change(control))
                    continue;
                if (drawn() == before && !window->designFile().isModified())
                    idle << InspectorTabs::itemName(item) + QLatin1Char('/') +
                                (name.isEmpty() ? QString::fromLatin1(control->metaObject()->className())
                                                : name);
                if (auto *box = qobject_cast<QCheckBox *>(control))
                    box->click();
            }
        }
        return idle;
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
    QImage photo(40, 30, QImage::Format_RGB32);
    photo.fill(Qt::darkCyan);
    ASSERT_TRUE(photo.save(tempPath(QStringLiteral("photo.png"))));
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
        const QStringList idle = walk([&] { canvas(0)->selectAll(); });
        EXPECT_TRUE(idle.isEmpty()) << idle.join(QStringLiteral(", ")).toStdString();
    }
    SCOPED_TRACE("card page");
    canvas(0)->selectAll();
    canvas(0)->delete_();
    const QStringList idle = walk([&] { canvas(0)->deselectAll(); });
    EXPECT_TRUE(idle.isEmpty()) << idle.join(QStringLiteral(", ")).toStdString();
}
