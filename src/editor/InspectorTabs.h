// The inspector's fifteen tab items, each a page with its label, kept even while not shown so they
// can be put back; a page re-inserted gets its stored label again.
#pragma once

#include <QList>
#include <QString>

class QTabWidget;
class QWidget;

class InspectorTabs
{
public:
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

    // Makes the tab widget and one empty page per item, all shown, in order.
    explicit InspectorTabs(QWidget *parent);

    QTabWidget *sett_tab() const { return m_tabs; }
    QWidget *page(Item item) const { return m_pages.at(item); }
    QString label(Item item) const { return m_labels.at(item); }
    // A new label (shown at once when the page is in the tab widget).
    void setLabel(Item item, const QString &label);
    static QString itemName(Item item);

    void Remove_All_Tab_Items();
    // Appends the item's page under its stored label (nothing when it is shown already).
    void addItem(Item item);
    bool isShown(Item item) const;
    // The items in the tab widget, in tab order.
    QList<Item> shownItems() const;
    void selectItem(Item item);

private:
    QTabWidget *m_tabs;
    QList<QWidget *> m_pages;
    QStringList m_labels;
};
