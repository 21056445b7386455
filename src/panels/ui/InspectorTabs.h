// The inspector's fifteen tab items, each a page with its label, kept even while not shown so they
// can be put back; a page re-inserted gets its stored label again. Each page scrolls within its tab,
// and the inspector keeps one width, so neither the card beside it nor the window moves when the
// pages change.
#pragma once

#include "panels/InspectorTabPlan.h"

#include <QList>
#include <QString>

class QScrollArea;
class QTabWidget;
class QWidget;

class InspectorTabs : public InspectorTabItem
{
public:
    // Makes the tab widget and one empty page per item, all shown, in order.
    explicit InspectorTabs(QWidget *parent);

    QTabWidget *sett_tab() const { return m_tabs; }
    // The page controls go on; it sits in a scrolling holder inside the tab widget.
    QWidget *page(Item item) const { return m_pages.at(item); }
    QString label(Item item) const { return m_labels.at(item); }
    // A new label (shown at once when the page is in the tab widget).
    void setLabel(Item item, const QString &label);
    static QString itemName(Item item);

    // Fixes the width once every page has its controls: the widest page fits.
    void keepOneWidth();

    void Remove_All_Tab_Items();
    void removeItem(Item item);
    // Appends the item's page under its stored label (nothing when it is shown already).
    void addItem(Item item);
    bool isShown(Item item) const;
    // The items in the tab widget, in tab order.
    QList<Item> shownItems() const;
    void selectItem(Item item);
    // The item of the tab in front; ItemCount when there is none.
    Item currentItem() const;

private:
    QTabWidget *m_tabs;
    int indexOf(Item item) const;
    QList<QWidget *> m_pages;
    QList<QScrollArea *> m_holders;
    QStringList m_labels;
};
