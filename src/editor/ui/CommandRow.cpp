#include "editor/ui/CommandRow.h"

#include "foundation/ui/PanelWidgets.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

using PanelWidgets::named;

namespace
{
// A button of the row or column: it never takes the keyboard, which the card keeps.
void addButton(QWidget *holder, QBoxLayout *layout, QPushButton *&field, const char *name,
               const QString &title)
{
    field = named(new QPushButton(title, holder), name);
    field->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(field);
}
} // namespace

CommandRow::CommandRow(QWidget *parent) : m_row(buildSideRow(parent)), m_column(buildCardButtons(parent)) {}

QWidget *CommandRow::buildSideRow(QWidget *parent)
{
    auto *row = new QWidget(parent);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    const auto button = [&](QPushButton *&field, const char *name, const QString &title) {
        addButton(row, layout, field, name, title);
    };
    button(Front_Card_Btn, "Front_Card_Btn", QStringLiteral("Front"));
    button(Back_Card_Btn, "Back_Card_Btn", QStringLiteral("Back"));
    button(Temp_Card_Btn, "Temp_Card_Btn", QStringLiteral("Preview"));
    Show_Ruler_chk = named(new QCheckBox(QStringLiteral("Ruler"), row), "Show_Ruler_chk");
    Show_Ruler_chk->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(Show_Ruler_chk);
    layout->addStretch();
    return row;
}

QWidget *CommandRow::buildCardButtons(QWidget *parent)
{
    auto *column = new QWidget(parent);
    auto *layout = new QVBoxLayout(column);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(1);
    const auto button = [&](QPushButton *&field, const char *name, const QString &title) {
        addButton(column, layout, field, name, title);
    };
    button(Card_Prop_Btn, "Card_Prop_Btn", QStringLiteral("Card"));
    button(Card_Bckgrnd_Btn, "Card_Bckgrnd_Btn", QStringLiteral("Background"));
    button(Grid_Btn, "Grid_Btn", QStringLiteral("Grid"));
    button(User_Profile_Btn, "User_Profile_Btn", QStringLiteral("Details"));
    button(Print_Btn, "Print_Btn", QStringLiteral("Print"));
    button(Mail_Btn, "Mail_Btn", QStringLiteral("Mail"));
    return column;
}
