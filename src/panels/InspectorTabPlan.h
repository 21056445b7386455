// Which inspector tabs show, in which order and under which labels, for the card page and for each
// kind of object, locked or not; the inspector lays its tab widget out by this table.
#pragma once

#include "model/SKTGraphic.h"

#include <QList>
#include <QString>

#include <utility>

// The inspector's tab items, in the order their pages are made.
struct InspectorTabItem {
    enum Item {
        card_setting_tab,
        card_info_tab,
        card_size_tab,
        card_bkgd_tab,
        card_brdr_tab,
        line_tab,
        shape_tab,
        text_edtng_tab,
        text_prop_tab,
        image_tab,
        sign_tab,
        datasource_tab,
        aligmnt_tab,
        barcode_tab,
        Lock_tab,
        ItemCount
    };
};

struct InspectorTabPlan {
    using Item = InspectorTabItem::Item;
    // The panels that load an object's values.
    enum class Panel { ShapeLine, Text, Picture, Barcode };
    // How the data-source page loads: not at all, or by the series name with the entry at the
    // object's stored slot deselected first (texts), or by the name alone.
    enum class SourceLoad { None, IndexFirst, ByName };

    // Kind code of the object shown: "NONE", "T", "I", or a signature's "S" or "F".
    QString code = QStringLiteral("NONE");
    // Labels given to items before the tabs show (an item keeps a label it was given even while
    // not shown).
    QList<std::pair<Item, QString>> labels;
    // The tabs shown, in order; the first is brought to the front.
    QList<Item> tabs;
    // The data-source page's title and whether its manual picture box shows; an empty title leaves
    // the page as it was (it is not shown then).
    QString sourceTitle;
    bool pictureBox = false;
    SourceLoad sourceLoad = SourceLoad::None;
    // Null for the card page.
    std::optional<Panel> panel;

    // The card page's three tabs.
    static InspectorTabPlan cardPage();
    // An object's tabs: its kind's pages, or only the lock page (with the kind's label) while it is
    // locked, and the alignment page last while it is not. A signature's code ("S" or "F") and a
    // shape's code choose their labels; an unknown shape code keeps the label the tab had.
    static InspectorTabPlan forObject(SKTGraphic::Kind kind, bool locked, const QString &variant = QString());
    // The label of a shape's page by its code; empty for a code outside the eight.
    static QString shapeLabel(const QString &code);
};
