// The inspector's tab plan without widgets: which tabs each kind of object shows, in which order
// and under which labels, locked or not, and what the data-source page and the kind code become.
#include "panels/InspectorTabPlan.h"

#include <gtest/gtest.h>

namespace
{
using I = InspectorTabItem;
using Kind = SKTGraphic::Kind;
using Plan = InspectorTabPlan;

// The label the plan gives an item, or empty when it gives none.
QString labelOf(const Plan &plan, I::Item item)
{
    QString found;
    for (const auto &[i, label] : plan.labels)
        if (i == item)
            found = label;
    return found;
}
} // namespace

TEST(InspectorTabPlanTest, TheCardPageShowsItsThreeTabsAndNoPanel)
{
    const Plan plan = Plan::cardPage();
    EXPECT_EQ(plan.tabs, (QList<I::Item>{I::card_setting_tab, I::card_bkgd_tab, I::card_brdr_tab}));
    EXPECT_EQ(plan.code, QStringLiteral("NONE"));
    EXPECT_TRUE(plan.labels.isEmpty());
    EXPECT_FALSE(plan.panel.has_value());
    EXPECT_EQ(plan.sourceLoad, Plan::SourceLoad::None);
}

TEST(InspectorTabPlanTest, EachUnlockedKindShowsItsPagesThenAlignment)
{
    const Plan text = Plan::forObject(Kind::Text, false);
    EXPECT_EQ(text.tabs,
              (QList<I::Item>{I::text_edtng_tab, I::text_prop_tab, I::datasource_tab, I::aligmnt_tab}));
    EXPECT_EQ(labelOf(text, I::datasource_tab), QStringLiteral("Text Source"));
    EXPECT_EQ(text.sourceTitle, QStringLiteral("Text Source"));
    EXPECT_FALSE(text.pictureBox);
    EXPECT_EQ(text.code, QStringLiteral("T"));
    EXPECT_EQ(text.sourceLoad, Plan::SourceLoad::IndexFirst);
    EXPECT_EQ(text.panel, Plan::Panel::Text);

    const Plan image = Plan::forObject(Kind::Image, false);
    EXPECT_EQ(image.tabs, (QList<I::Item>{I::datasource_tab, I::image_tab, I::aligmnt_tab}));
    EXPECT_EQ(image.sourceTitle, QStringLiteral("Image Source"));
    EXPECT_TRUE(image.pictureBox);
    EXPECT_EQ(image.code, QStringLiteral("I"));
    EXPECT_EQ(image.sourceLoad, Plan::SourceLoad::ByName);
    EXPECT_EQ(image.panel, Plan::Panel::Picture);

    const Plan line = Plan::forObject(Kind::Line, false);
    EXPECT_EQ(line.tabs, (QList<I::Item>{I::line_tab, I::aligmnt_tab}));
    EXPECT_EQ(line.code, QStringLiteral("NONE"));
    EXPECT_TRUE(line.labels.isEmpty());
    EXPECT_EQ(line.panel, Plan::Panel::ShapeLine);

    const Plan barcode = Plan::forObject(Kind::Barcode, false);
    EXPECT_EQ(barcode.tabs, (QList<I::Item>{I::barcode_tab, I::aligmnt_tab}));
    EXPECT_EQ(barcode.panel, Plan::Panel::Barcode);
    EXPECT_EQ(barcode.sourceLoad, Plan::SourceLoad::None);
}

TEST(InspectorTabPlanTest, SignaturesAndShapesTakeTheirLabelsFromTheirCode)
{
    const Plan fingerprint = Plan::forObject(Kind::Signature, false, QStringLiteral("F"));
    EXPECT_EQ(fingerprint.tabs, (QList<I::Item>{I::sign_tab, I::aligmnt_tab}));
    EXPECT_EQ(labelOf(fingerprint, I::sign_tab), QStringLiteral("Fingerprint Properties"));
    EXPECT_EQ(fingerprint.code, QStringLiteral("F"));
    EXPECT_TRUE(fingerprint.sourceTitle.isEmpty());
    EXPECT_EQ(fingerprint.sourceLoad, Plan::SourceLoad::ByName);
    EXPECT_EQ(labelOf(Plan::forObject(Kind::Signature, false, QStringLiteral("S")), I::sign_tab),
              QStringLiteral("Signature Properties"));

    const Plan polygon = Plan::forObject(Kind::Shape, false, QStringLiteral("P"));
    EXPECT_EQ(polygon.tabs, (QList<I::Item>{I::shape_tab, I::aligmnt_tab}));
    EXPECT_EQ(labelOf(polygon, I::shape_tab), QStringLiteral("Polygon Properties"));
    // An unknown shape code keeps whatever label the tab had.
    EXPECT_TRUE(Plan::forObject(Kind::Shape, false, QStringLiteral("Q")).labels.isEmpty());
    EXPECT_TRUE(Plan::shapeLabel(QStringLiteral("Q")).isEmpty());
    EXPECT_EQ(Plan::shapeLabel(QStringLiteral("RR")), QStringLiteral("Rounded Rectangle Properties"));
}

TEST(InspectorTabPlanTest, ALockedObjectShowsOnlyTheLockPageUnderItsKindsLabel)
{
    const struct {
        Kind kind;
        QString variant;
        QString label;
    } rows[] = {{Kind::Text, {}, QStringLiteral("Text Properties")},
                {Kind::Image, {}, QStringLiteral("Image Properties")},
                {Kind::Line, {}, QStringLiteral("Line Properties")},
                {Kind::Barcode, {}, QStringLiteral("Barcode Properties")},
                {Kind::Signature, QStringLiteral("F"), QStringLiteral("Signature Properties")},
                {Kind::Shape, QStringLiteral("RR"), QStringLiteral("Rounded Rectangle Properties")}};
    for (const auto &row : rows) {
        const Plan plan = Plan::forObject(row.kind, true, row.variant);
        EXPECT_EQ(plan.tabs, QList<I::Item>{I::Lock_tab}) << row.label.toStdString();
        EXPECT_EQ(labelOf(plan, I::Lock_tab), row.label);
        // A locked object's page and title stay as they were: they are not shown.
        EXPECT_TRUE(plan.sourceTitle.isEmpty());
    }
    // Locked, a fingerprint still gives its own page its label, ready for when it is unlocked;
    // a text still loads its values.
    EXPECT_EQ(labelOf(Plan::forObject(Kind::Signature, true, QStringLiteral("F")), I::sign_tab),
              QStringLiteral("Fingerprint Properties"));
    EXPECT_EQ(Plan::forObject(Kind::Text, true).sourceLoad, Plan::SourceLoad::IndexFirst);
    EXPECT_EQ(Plan::forObject(Kind::Text, true).code, QStringLiteral("T"));
    EXPECT_TRUE(Plan::forObject(Kind::Shape, true, QStringLiteral("Q")).labels.isEmpty());
}
