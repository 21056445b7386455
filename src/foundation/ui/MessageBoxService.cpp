#include "foundation/ui/MessageBoxService.h"

#include "foundation/ui/WindowLook.h"

#include <QApplication>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>

namespace
{
void describe(QMessageBox &box, QMessageBox::Icon icon, const QString &text)
{
    box.setIcon(icon);
    box.setWindowTitle(QApplication::applicationDisplayName());
    box.setText(text);
}

// A message box takes the width of its text and buttons, so a short text left the program's name
// in the title bar cut ("Tessaly Gre… g Designer"). A row as wide as the title keeps it whole;
// added last, as the box lays itself out anew when its icon is set.
int execWithWholeTitle(QMessageBox &box)
{
    if (auto *grid = qobject_cast<QGridLayout *>(box.layout()))
        grid->addItem(
            new QSpacerItem(WindowLook::titleBarWidth(&box), 0, QSizePolicy::Fixed, QSizePolicy::Minimum),
            grid->rowCount(), 0, 1, grid->columnCount());
    return box.exec();
}
} // namespace

MessageBoxService::~MessageBoxService()
{
    MessageService::uninstall(this);
}

QWidget *MessageBoxService::parentForBox() const
{
    if (m_parent)
        return m_parent;
    return QApplication::activeWindow();
}

void MessageBoxService::showMessage(const QString &text)
{
    QMessageBox box(parentForBox());
    describe(box, QMessageBox::Information, text);
    // Every button carries a mnemonic, so Alt and its letter answer the box.
    box.addButton(QStringLiteral("&OK"), QMessageBox::AcceptRole);
    execWithWholeTitle(box);
}

void MessageBoxService::showTitledMessage(const QString &title, const QString &text)
{
    QMessageBox box(parentForBox());
    describe(box, QMessageBox::Warning, text);
    box.setWindowTitle(title);
    box.addButton(QStringLiteral("&OK"), QMessageBox::AcceptRole);
    execWithWholeTitle(box);
}

bool MessageBoxService::askYesNo(const QString &text)
{
    QMessageBox box(parentForBox());
    describe(box, QMessageBox::Question, text);
    QPushButton *yes = box.addButton(QStringLiteral("&Yes"), QMessageBox::YesRole);
    QPushButton *no = box.addButton(QStringLiteral("&No"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    execWithWholeTitle(box);
    return box.clickedButton() == yes;
}

int MessageBoxService::askChoice(const QString &text, const QStringList &buttons, int defaultIndex,
                                 int escapeIndex)
{
    QMessageBox box(parentForBox());
    describe(box, QMessageBox::Question, text);
    QList<QPushButton *> made;
    for (int i = 0; i < buttons.size(); ++i) {
        // The roles only place the buttons; the answer is the button's index.
        const QMessageBox::ButtonRole role = i == escapeIndex    ? QMessageBox::RejectRole
                                             : i == defaultIndex ? QMessageBox::AcceptRole
                                                                 : QMessageBox::DestructiveRole;
        made.append(box.addButton(buttons.at(i), role));
    }
    if (defaultIndex >= 0 && defaultIndex < made.size())
        box.setDefaultButton(made.at(defaultIndex));
    if (escapeIndex >= 0 && escapeIndex < made.size())
        box.setEscapeButton(made.at(escapeIndex));
    execWithWholeTitle(box);
    // Escape and the title bar's close button click the escape button; a box closed any other
    // way counts as the escape button too.
    const qsizetype chosen = made.indexOf(qobject_cast<QPushButton *>(box.clickedButton()));
    return chosen >= 0 ? int(chosen) : escapeIndex;
}
