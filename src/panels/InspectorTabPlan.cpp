#include "panels/InspectorTabPlan.h"

#include "foundation/CardCodes.h"

#include <array>

namespace
{
using Item = InspectorTabItem::Item;
using Panel = InspectorTabPlan::Panel;
using SourceLoad = InspectorTabPlan::SourceLoad;

// One row per kind of object.
struct KindRow {
    SKTGraphic::Kind kind;
    const char *code;        // the kind code; null where the object gives it (signatures) or "NONE"
    const char *lockedLabel; // the lock page's label while locked (shapes: their shape's label)
    Item labelled;           // the page whose label the row sets while unlocked (ItemCount: none)
    const char *label;       // that label
    QList<Item> tabs;        // the pages while unlocked, before the alignment page
    SourceLoad sourceLoad;
    bool pictureBox;
    Panel panel;
};

const std::array<KindRow, 6> &kindRows()
{
    using I = InspectorTabItem;
    static const std::array<KindRow, 6> rows{{
        {SKTGraphic::Kind::Text,
         "T",
         "Text Properties",
         I::datasource_tab,
         "Text Source",
         {I::text_edtng_tab, I::text_prop_tab, I::datasource_tab},
         SourceLoad::IndexFirst,
         false,
         Panel::Text},
        {SKTGraphic::Kind::Image,
         "I",
         "Image Properties",
         I::datasource_tab,
         "Image Source",
         {I::datasource_tab, I::image_tab},
         SourceLoad::ByName,
         true,
         Panel::Picture},
        {SKTGraphic::Kind::Line,
         "NONE",
         "Line Properties",
         I::ItemCount,
         nullptr,
         {I::line_tab},
         SourceLoad::None,
         false,
         Panel::ShapeLine},
        {SKTGraphic::Kind::Signature,
         nullptr,
         "Signature Properties",
         I::sign_tab,
         nullptr,
         {I::sign_tab},
         SourceLoad::ByName,
         false,
         Panel::Picture},
        {SKTGraphic::Kind::Barcode,
         "NONE",
         "Barcode Properties",
         I::ItemCount,
         nullptr,
         {I::barcode_tab},
         SourceLoad::None,
         false,
         Panel::Barcode},
        {SKTGraphic::Kind::Shape,
         "NONE",
         nullptr,
         I::shape_tab,
         nullptr,
         {I::shape_tab},
         SourceLoad::None,
         false,
         Panel::ShapeLine},
    }};
    return rows;
}
} // namespace

InspectorTabPlan InspectorTabPlan::cardPage()
{
    InspectorTabPlan plan;
    plan.tabs = {InspectorTabItem::card_setting_tab, InspectorTabItem::card_bkgd_tab,
                 InspectorTabItem::card_brdr_tab};
    return plan;
}

InspectorTabPlan InspectorTabPlan::forObject(SKTGraphic::Kind kind, bool locked, const QString &variant)
{
    InspectorTabPlan plan;
    for (const KindRow &row : kindRows()) {
        if (row.kind != kind)
            continue;
        plan.code = row.code ? QString::fromLatin1(row.code) : variant;
        plan.sourceLoad = row.sourceLoad;
        plan.panel = row.panel;
        // The label that differs by variant: a signature's by its code, a shape's by its shape.
        QString variantLabel;
        if (kind == SKTGraphic::Kind::Signature)
            variantLabel = variant == SignatureCode::Signature ? QStringLiteral("Signature Properties")
                                                               : QStringLiteral("Fingerprint Properties");
        else if (kind == SKTGraphic::Kind::Shape)
            variantLabel = shapeLabel(variant);
        // A signature's page takes its label even while the lock page shows.
        if (kind == SKTGraphic::Kind::Signature)
            plan.labels.append({row.labelled, variantLabel});
        if (locked) {
            const QString lockedLabel = row.lockedLabel ? QString::fromLatin1(row.lockedLabel) : variantLabel;
            if (!lockedLabel.isEmpty())
                plan.labels.append({InspectorTabItem::Lock_tab, lockedLabel});
            plan.tabs = {InspectorTabItem::Lock_tab};
            return plan;
        }
        if (row.label)
            plan.labels.append({row.labelled, QString::fromLatin1(row.label)});
        else if (kind == SKTGraphic::Kind::Shape && !variantLabel.isEmpty())
            plan.labels.append({row.labelled, variantLabel});
        if (row.labelled == InspectorTabItem::datasource_tab) {
            plan.sourceTitle = QString::fromLatin1(row.label);
            plan.pictureBox = row.pictureBox;
        }
        plan.tabs = row.tabs;
        plan.tabs.append(InspectorTabItem::aligmnt_tab);
        return plan;
    }
    return plan;
}

QString InspectorTabPlan::shapeLabel(const QString &code)
{
    static const QList<std::pair<QLatin1String, const char *>> labels{
        {ShapeCode::Rectangle, "Rectangle Properties"},
        {ShapeCode::Circle, "Ellipse Properties"},
        {ShapeCode::RoundedRectangle, "Rounded Rectangle Properties"},
        {ShapeCode::Triangle, "Triangle Properties"},
        {ShapeCode::Diamond, "Diamond Properties"},
        {ShapeCode::Star, "Star Properties"},
        {ShapeCode::DoubleStar, "Double Star Properties"},
        {ShapeCode::Polygon, "Polygon Properties"}};
    for (const auto &[c, label] : labels)
        if (code == c)
            return QString::fromLatin1(label);
    return QString();
}
