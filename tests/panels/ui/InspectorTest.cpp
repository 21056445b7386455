// Which tabs the inspector shows for the card page and for each kind of object, locked or not,
// what it loads, when it reloads and what it asks of its window; screenshots of each state for
// reviewers. The inspector runs over a fake window (its cooperation with the real one is checked
// in the editor's window tests).
#include "FakeHostFixture.h"

#include "panels/ui/DataSourceTab.h"
#include "panels/ui/LockTab.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

using T = InspectorTabs;

class InspectorTest : public FakeHostFixture
{
protected:
    // The shape page's extra controls, label and stepper for each of radius, double star, polygon.
    QString shownExtras()
    {
        QString bits;
        for (const char *name : {"shape_cor_radius_Label", "shape_cor_radius_Stepper", "double_star_Label",
                                 "double_star_Stepper", "polygon_Label", "polygon_Stepper"}) {
            QWidget *w = host->window().findChild<QWidget *>(QString::fromLatin1(name));
            bits += w && !w->isHidden() ? QLatin1Char('1') : QLatin1Char('0');
        }
        return bits;
    }
    // Every shown tab lies wholly inside the tab bar, with its whole label as its tip: none is
    // left behind scroll arrows in the narrow inspector.
    void expectTabsInView()
    {
        QTabWidget *tabWidget = tabs().sett_tab();
        QCoreApplication::processEvents();
        QTabBar *bar = tabWidget->tabBar();
        ASSERT_LE(bar->width(), tabWidget->width());
        for (int i = 0; i < bar->count(); ++i) {
            EXPECT_TRUE(bar->rect().contains(bar->tabRect(i)))
                << bar->tabText(i).toStdString() << " at " << bar->tabRect(i).x() << "+"
                << bar->tabRect(i).width() << " of " << bar->width();
            EXPECT_EQ(bar->tabToolTip(i), bar->tabText(i));
        }
    }
    void snap(const QString &name)
    {
        saveArtifact(tabs().sett_tab(), QStringLiteral("inspector-%1.png").arg(name));
    }
};

TEST_F(InspectorTest, EachKindShowsItsTabsInOrderWithItsLabels)
{
    EXPECT_EQ(shownTabs(), (QList<T::Item>{T::card_setting_tab, T::card_bkgd_tab, T::card_brdr_tab}));
    snap(QStringLiteral("card"));

    place(SKTGraphic::Kind::Text);
    EXPECT_EQ(shownTabs(),
              (QList<T::Item>{T::text_edtng_tab, T::text_prop_tab, T::datasource_tab, T::aligmnt_tab}));
    EXPECT_EQ(shownLabel(2), QStringLiteral("Text Source"));
    EXPECT_EQ(inspector().dataSource().data_source_title->text(), QStringLiteral("Text Source"));
    EXPECT_TRUE(inspector().dataSource().manual_brws_box->isHidden());
    EXPECT_EQ(inspector().sel_control_name(), QStringLiteral("T"));
    EXPECT_EQ(tabs().sett_tab()->currentIndex(), 0);
    expectTabsInView();
    snap(QStringLiteral("tabs-text"));

    place(SKTGraphic::Kind::Image);
    EXPECT_EQ(shownTabs(), (QList<T::Item>{T::datasource_tab, T::image_tab, T::aligmnt_tab}));
    EXPECT_EQ(shownLabel(0), QStringLiteral("Image Source"));
    EXPECT_FALSE(inspector().dataSource().manual_brws_box->isHidden());
    EXPECT_EQ(inspector().sel_control_name(), QStringLiteral("I"));
    snap(QStringLiteral("tabs-image"));

    place(SKTGraphic::Kind::Line);
    EXPECT_EQ(shownTabs(), (QList<T::Item>{T::line_tab, T::aligmnt_tab}));
    EXPECT_EQ(inspector().sel_control_name(), QStringLiteral("NONE"));
    snap(QStringLiteral("tabs-line"));

    GraphicPtr barcode = place(SKTGraphic::Kind::Barcode);
    EXPECT_EQ(shownTabs(), (QList<T::Item>{T::barcode_tab, T::aligmnt_tab}));

    GraphicPtr sign = place(SKTGraphic::Kind::Signature, 0, false);
    sign->Set_Sign_Or_FP(QStringLiteral("F"));
    inspect(sign);
    EXPECT_EQ(shownTabs(), (QList<T::Item>{T::sign_tab, T::aligmnt_tab}));
    EXPECT_EQ(shownLabel(0), QStringLiteral("Fingerprint Properties"));
    EXPECT_EQ(inspector().sel_control_name(), QStringLiteral("F"));
    sign->Set_Sign_Or_FP(QStringLiteral("S"));
    inspect(nullptr);
    inspect(sign);
    EXPECT_EQ(shownLabel(0), QStringLiteral("Signature Properties"));
    expectTabsInView();
    snap(QStringLiteral("tabs-sign"));
}

TEST_F(InspectorTest, EveryRowOfTabsReadsWholeInTheInspectorsWidth)
{
    QTabBar *bar = tabs().sett_tab()->tabBar();
    const int width = tabs().sett_tab()->width();
    // The bar asks for every label whole; within the inspector's width none is shortened.
    const auto expectWhole = [&](const char *what) {
        QCoreApplication::processEvents();
        EXPECT_LE(bar->sizeHint().width(), bar->width()) << what;
        EXPECT_EQ(tabs().sett_tab()->width(), width) << what;
    };
    expectWhole("card page");
    place(SKTGraphic::Kind::Text);
    expectWhole("text");
    snap(QStringLiteral("tabs-text-whole"));
    for (SKTGraphic::Kind kind :
         {SKTGraphic::Kind::Image, SKTGraphic::Kind::Line, SKTGraphic::Kind::Barcode}) {
        place(kind);
        expectWhole("object");
    }
    GraphicPtr sign = place(SKTGraphic::Kind::Signature, 0, false);
    sign->Set_Sign_Or_FP(QStringLiteral("F"));
    inspect(sign);
    expectWhole("fingerprint");
    GraphicPtr shape = place(SKTGraphic::Kind::Shape, 0, false);
    for (const char *code : {"R", "C", "RR", "T", "D", "S", "DS", "P"}) {
        shape->Set_Shape_Type(QString::fromLatin1(code));
        inspect(nullptr);
        inspect(shape);
        expectWhole(code);
    }
}

TEST_F(InspectorTest, LockedObjectsShowOnlyTheLockTabWithTheKindsLabel)
{
    GraphicPtr text = place(SKTGraphic::Kind::Text, 0, false);
    text->ctrl_is_locked = true;
    inspect(text);
    EXPECT_EQ(shownTabs(), QList<T::Item>{T::Lock_tab});
    EXPECT_EQ(shownLabel(0), QStringLiteral("Text Properties"));
    // The window sets its edit buttons for a locked object.
    EXPECT_EQ(host->buttonsForObject, QList<bool>{true});
    snap(QStringLiteral("lock"));

    // A locked fingerprint reads as a signature; unlocked it is a fingerprint again.
    GraphicPtr print = place(SKTGraphic::Kind::Signature, 0, false);
    print->Set_Sign_Or_FP(QStringLiteral("F"));
    print->ctrl_is_locked = true;
    inspect(print);
    EXPECT_EQ(shownLabel(0), QStringLiteral("Signature Properties"));
    print->ctrl_is_locked = false;
    inspect(nullptr);
    inspect(print);
    EXPECT_EQ(shownLabel(0), QStringLiteral("Fingerprint Properties"));
    EXPECT_EQ(shownTabs().last(), T::aligmnt_tab);

    // The lock tab's own button runs the window's Unlock command.
    inspect(text);
    ASSERT_EQ(shownTabs(), QList<T::Item>{T::Lock_tab});
    QTest::mouseClick(inspector().lockTab().unlock_btn, Qt::LeftButton);
    EXPECT_EQ(host->unlocks, 1);
}

TEST_F(InspectorTest, ShapesShowOnlyTheirOwnExtraControlsAndKeepALabelForAnUnknownCode)
{
    GraphicPtr shape = place(SKTGraphic::Kind::Shape, 0, false);
    const auto show = [&](const QString &code, bool locked = false) {
        shape->Set_Shape_Type(code);
        shape->ctrl_is_locked = locked;
        inspect(nullptr);
        inspect(shape);
    };
    show(QStringLiteral("RR"));
    EXPECT_EQ(shownExtras(), QStringLiteral("110000"));
    EXPECT_EQ(shownLabel(0), QStringLiteral("Rounded Rectangle Properties"));
    show(QStringLiteral("DS"));
    EXPECT_EQ(shownExtras(), QStringLiteral("001100"));
    show(QStringLiteral("P"));
    EXPECT_EQ(shownExtras(), QStringLiteral("000011"));
    EXPECT_EQ(shownLabel(0), QStringLiteral("Polygon Properties"));
    show(QStringLiteral("R"));
    EXPECT_EQ(shownExtras(), QStringLiteral("000000"));
    show(QStringLiteral("RR"));
    expectTabsInView();
    show(QStringLiteral("S"));
    snap(QStringLiteral("tabs-shape"));
    show(QStringLiteral("Q"));
    EXPECT_EQ(shownLabel(0), QStringLiteral("Star Properties"));
    EXPECT_EQ(shownExtras(), QStringLiteral("000000"));
    show(QStringLiteral("RR"), true);
    EXPECT_EQ(shownTabs(), QList<T::Item>{T::Lock_tab});
    EXPECT_EQ(shownLabel(0), QStringLiteral("Rounded Rectangle Properties"));
    EXPECT_EQ(shownExtras(), QStringLiteral("000000"));
}

TEST_F(InspectorTest, TheSameObjectReloadsNothingUntilTheCardPageCameBetween)
{
    DataSourceTab &source = inspector().dataSource();
    source.Batch_Series->addItems({QStringLiteral("Cities"), QStringLiteral("Names")});
    GraphicPtr text = place(SKTGraphic::Kind::Text, 0, false);
    text->Set_Batch_List_Name(QStringLiteral("Names"));
    text->print_object = 1;
    inspect(text);
    EXPECT_EQ(source.Batch_Series->currentText(), QStringLiteral("Names"));
    EXPECT_TRUE(host->window().findChild<QCheckBox *>(QStringLiteral("print_object_chk"))->isChecked());

    source.Batch_Series->setCurrentIndex(0);
    tabs().sett_tab()->setCurrentIndex(2);
    inspect(text);
    EXPECT_EQ(source.Batch_Series->currentText(), QStringLiteral("Cities"));
    EXPECT_EQ(tabs().sett_tab()->currentIndex(), 2);

    inspect(nullptr);
    inspect(text);
    EXPECT_EQ(source.Batch_Series->currentText(), QStringLiteral("Names"));

    // An object with no series leaves the previous choice; a source the list lacks is not forced.
    GraphicPtr other = place(SKTGraphic::Kind::Image, 0, false);
    other->data_source_type = 2;
    inspect(other);
    EXPECT_EQ(source.Batch_Series->currentText(), QStringLiteral("Names"));
    EXPECT_EQ(source.Data_source_type->currentIndex(), 0);
}

TEST_F(InspectorTest, WhileControlsLoadNothingHappensNotEvenTheTool)
{
    const QList<T::Item> before = shownTabs();
    const int arrows = host->arrowChosen;
    {
        const Inspector::Filling filling(inspector());
        GraphicPtr line = SKTGraphic::create(SKTGraphic::Kind::Line);
        inspect(line);
        inspect(nullptr);
    }
    EXPECT_EQ(host->arrowChosen, arrows);
    EXPECT_EQ(shownTabs(), before);

    // Any real call chooses the arrow tool and ends its own filling again.
    inspect(nullptr);
    EXPECT_EQ(host->arrowChosen, arrows + 1);
    EXPECT_FALSE(inspector().filling());
}

TEST_F(InspectorTest, TheCardPageEmptiesTheLiveSelectionAndDisablesTheObjectButtons)
{
    place(SKTGraphic::Kind::Text);
    ASSERT_FALSE(canvas(0)->selectedGraphics().isEmpty());
    const int before = host->buttonsForCard;
    inspect(nullptr);
    EXPECT_TRUE(canvas(0)->selectedGraphics().isEmpty());
    EXPECT_EQ(host->buttonsForCard, before + 1);
    EXPECT_EQ(inspector().sel_control_name(), QStringLiteral("NONE"));
}
