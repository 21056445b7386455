#include "panels/ui/LockTab.h"

#include "foundation/ui/PanelWidgets.h"
#include "panels/ui/InspectorHost.h"
#include "panels/ui/InspectorTabs.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using PanelWidgets::named;

LockTab::LockTab(InspectorHost &host) : QObject(&host.inspectorWindow())
{
    QWidget *page = host.inspectorTabs().page(InspectorTabs::Lock_tab);
    auto *layout = new QVBoxLayout(page);
    lock_message = named(new QLabel(QStringLiteral("This object is locked. Unlock it to move it or change "
                                                   "its properties."),
                                    page),
                         "lock_message");
    lock_message->setWordWrap(true);
    unlock_btn = named(new QPushButton(QStringLiteral("Unlock"), page), "Lock_tab_unlock_btn");
    layout->addWidget(lock_message);
    layout->addWidget(unlock_btn, 0, Qt::AlignLeft);
    layout->addStretch();
    connect(unlock_btn, &QPushButton::clicked, this, [&host] { host.unlockSelection(); });
}
