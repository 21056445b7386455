// The inspector's fifteen tab items, each a page with its label, kept even while not shown so they
// can be put back; a page re-inserted gets its stored label again.
#include "editor/InspectorTabs.h"

#include <QTabWidget>
#include <QWidget>

namespace
{
const char *const Names[] = {"card_setting_tab", "card_info_tab", "card_size_tab", "card_bkgd_tab",
                             "card_brdr_tab",    "line_tab",      "shape_tab",     "text_edtng_tab",
                             "text_prop_tab",    "image_tab",     "sign_tab",      "datasource_tab",
                             "aligmnt_tab",      "barcode_tab",   "Lock_tab"};
const char *const Labels[] = {"Settings",  "Information", "Size",      "Background",      "Border",
                              "Line",      "Shape",       "Text",      "Text Properties", "Image",
                              "Signature", "Data Source", "Alignment", "Barcode",         "Lock"};
} // namespace

InspectorTabs::InspectorTabs(QWidget *parent) : m_tabs(new QTabWidget(parent))
{
    m_tabs->setObjectName(QStringLiteral("sett_tab"));
    // The inspector is a narrow column: every shown tab stays in view, long labels shortened, rather
    // than some hidden behind scroll arrows. A tab's tip gives its whole label.
    m_tabs->setUsesScrollButtons(false);
    m_tabs->setElideMode(Qt::ElideRight);
    for (int i = 0; i < ItemCount; ++i) {
        auto *page = new QWidget(m_tabs);
        page->setObjectName(QString::fromLatin1(Names[i]));
        m_pages << page;
        m_labels << QString::fromLatin1(Labels[i]);
        addItem(Item(i));
    }
}

QString InspectorTabs::itemName(Item item)
{
    return item >= 0 && item < ItemCount ? QString::fromLatin1(Names[item]) : QString();
}

void InspectorTabs::setLabel(Item item, const QString &label)
{
    m_labels[item] = label;
    const int index = m_tabs->indexOf(m_pages.at(item));
    if (index >= 0) {
        m_tabs->setTabText(index, label);
        m_tabs->setTabToolTip(index, label);
    }
}

void InspectorTabs::Remove_All_Tab_Items()
{
    // Pages stay alive (they belong to the tab widget), only their tabs go.
    while (m_tabs->count() > 0)
        m_tabs->removeTab(0);
}

void InspectorTabs::addItem(Item item)
{
    if (!isShown(item))
        m_tabs->setTabToolTip(m_tabs->addTab(m_pages.at(item), m_labels.at(item)), m_labels.at(item));
}

bool InspectorTabs::isShown(Item item) const
{
    return m_tabs->indexOf(m_pages.at(item)) >= 0;
}

QList<InspectorTabs::Item> InspectorTabs::shownItems() const
{
    QList<Item> items;
    for (int i = 0; i < m_tabs->count(); ++i)
        items << Item(m_pages.indexOf(m_tabs->widget(i)));
    return items;
}

void InspectorTabs::selectItem(Item item)
{
    const int index = m_tabs->indexOf(m_pages.at(item));
    if (index >= 0)
        m_tabs->setCurrentIndex(index);
}
