#include "panels/ui/TextEditingTab.h"

#include "foundation/DateFormats.h"
#include "foundation/ui/PanelWidgets.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TextEditingTab::TextEditingTab(QWidget *p) : page(p)
{
    Text_Date_style = PanelWidgets::combo(page, "Text_Date_style", DateFormats::dateFormats());
    Text_Time_style = PanelWidgets::combo(page, "Text_Time_style", DateFormats::timeFormats());
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(PanelWidgets::title(page, QStringLiteral("Text")));
    Text_value_Edit = new QPlainTextEdit(page);
    Text_value_Edit->setObjectName(QStringLiteral("Text_value_Edit"));
    Text_value_Edit->setTabChangesFocus(true);
    layout->addWidget(Text_value_Edit, 1);
    insert_template_btn = new QPushButton(QStringLiteral("Use Template Message"), page);
    insert_template_btn->setObjectName(QStringLiteral("insert_template_btn"));
    insert_template_btn->hide();
    layout->addWidget(insert_template_btn);

    auto *grid = new QGridLayout;
    Text_Insert_Date_btn = new QPushButton(QStringLiteral("Insert Date"), page);
    Text_Insert_Date_btn->setObjectName(QStringLiteral("Text_Insert_Date_btn"));
    Text_Insert_Time_btn = new QPushButton(QStringLiteral("Insert Time"), page);
    Text_Insert_Time_btn->setObjectName(QStringLiteral("Text_Insert_Time_btn"));
    grid->addWidget(new QLabel(QStringLiteral("Date:"), page), 0, 0);
    grid->addWidget(Text_Date_style, 0, 1);
    grid->addWidget(Text_Insert_Date_btn, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Time:"), page), 1, 0);
    grid->addWidget(Text_Time_style, 1, 1);
    grid->addWidget(Text_Insert_Time_btn, 1, 2);
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);

    // The combos were made first: Tab goes through the controls as they stand.
    PanelWidgets::tabOrder({Text_value_Edit, insert_template_btn, Text_Date_style, Text_Insert_Date_btn,
                            Text_Time_style, Text_Insert_Time_btn});
}
