#include "panels/ui/InspectorTabs.h"

#include <QApplication>
#include <QProxyStyle>
#include <QScrollArea>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QWidget>

#include <algorithm>

namespace
{
const char *const Names[] = {"card_setting_tab", "card_info_tab", "card_size_tab", "card_bkgd_tab",
                             "card_brdr_tab",    "line_tab",      "shape_tab",     "text_edtng_tab",
                             "text_prop_tab",    "image_tab",     "sign_tab",      "datasource_tab",
                             "aligmnt_tab",      "barcode_tab",   "Lock_tab"};
const char *const Labels[] = {"Settings",  "Information", "Size",      "Background",      "Border",
                              "Line",      "Shape",       "Text",      "Text Properties", "Image",
                              "Signature", "Data Source", "Alignment", "Barcode",         "Lock"};

// The style's tabs with half its space beside each label: a text's four labels then read whole
// in the inspector's width, where the full space would shorten three of them.
class CompactTabStyle : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;
    int pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override
    {
        const int value = QProxyStyle::pixelMetric(metric, option, widget);
        return metric == PM_TabBarTabHSpace ? value / 2 : value;
    }
};
} // namespace

InspectorTabs::InspectorTabs(QWidget *parent) : m_tabs(new QTabWidget(parent))
{
    m_tabs->setObjectName(QStringLiteral("sett_tab"));
    // The inspector is a narrow column: every shown tab stays in view, long labels shortened, rather
    // than some hidden behind scroll arrows. A tab's tip gives its whole label.
    m_tabs->setUsesScrollButtons(false);
    m_tabs->setElideMode(Qt::ElideRight);
    auto *tabStyle = new CompactTabStyle(QApplication::style()->name());
    tabStyle->setParent(m_tabs->tabBar());
    m_tabs->tabBar()->setStyle(tabStyle);
    for (int i = 0; i < ItemCount; ++i) {
        // A tall page scrolls in its tab rather than making the inspector, and so the window, taller.
        auto *holder = new QScrollArea(m_tabs);
        holder->setObjectName(QString::fromLatin1(Names[i]) + QStringLiteral("_scroll"));
        holder->setFrameShape(QFrame::NoFrame);
        holder->setWidgetResizable(true);
        holder->setFocusPolicy(Qt::NoFocus);
        holder->viewport()->setAutoFillBackground(false);
        auto *page = new QWidget;
        page->setObjectName(QString::fromLatin1(Names[i]));
        holder->setWidget(page);
        page->setAutoFillBackground(false); // the tab's own background shows through
        m_pages << page;
        m_holders << holder;
        m_labels << QString::fromLatin1(Labels[i]);
        addItem(Item(i));
    }
}

void InspectorTabs::keepOneWidth()
{
    int widest = 0;
    for (QWidget *page : std::as_const(m_pages))
        widest = std::max(widest, page->minimumSizeHint().width());
    // Room for the tab pane's frame and for a vertical scroll bar: in a window too short for a page
    // the bar shows beside the page instead of narrowing it, so no page ever needs a horizontal one.
    const QStyle *style = m_tabs->style();
    const int frame = 2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, m_tabs);
    const int bar = style->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_tabs);
    m_tabs->setFixedWidth(widest + frame + bar);
}

int InspectorTabs::indexOf(Item item) const
{
    return m_tabs->indexOf(m_holders.at(item));
}

QString InspectorTabs::itemName(Item item)
{
    return item >= 0 && item < ItemCount ? QString::fromLatin1(Names[item]) : QString();
}

void InspectorTabs::setLabel(Item item, const QString &label)
{
    m_labels[item] = label;
    const int index = indexOf(item);
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

void InspectorTabs::removeItem(Item item)
{
    const int index = indexOf(item);
    if (index >= 0)
        m_tabs->removeTab(index);
}

void InspectorTabs::addItem(Item item)
{
    if (!isShown(item))
        m_tabs->setTabToolTip(m_tabs->addTab(m_holders.at(item), m_labels.at(item)), m_labels.at(item));
}

bool InspectorTabs::isShown(Item item) const
{
    return indexOf(item) >= 0;
}

QList<InspectorTabs::Item> InspectorTabs::shownItems() const
{
    QList<Item> items;
    for (int i = 0; i < m_tabs->count(); ++i)
        items << Item(m_holders.indexOf(static_cast<QScrollArea *>(m_tabs->widget(i))));
    return items;
}

void InspectorTabs::selectItem(Item item)
{
    const int index = indexOf(item);
    if (index >= 0)
        m_tabs->setCurrentIndex(index);
}

InspectorTabs::Item InspectorTabs::currentItem() const
{
    const int index = m_holders.indexOf(static_cast<QScrollArea *>(m_tabs->currentWidget()));
    return index >= 0 ? Item(index) : ItemCount;
}
