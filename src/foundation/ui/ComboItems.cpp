#include "foundation/ui/ComboItems.h"

#include <QComboBox>
#include <QSignalBlocker>

QStringList ComboItems::itemsOf(const QComboBox *combo)
{
    QStringList items;
    for (int i = 0; combo && i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

void ComboItems::replaceQuietly(QComboBox *combo, const QStringList &items)
{
    if (!combo)
        return;
    const QSignalBlocker block(combo);
    combo->clear();
    combo->addItems(items);
    combo->setCurrentIndex(-1);
}

void ComboItems::applyQuietly(QComboBox *combo, bool (*rule)(QStringList &items))
{
    if (!combo)
        return;
    const QStringList before = itemsOf(combo);
    QStringList after = before;
    if (!rule(after))
        return;
    const QSignalBlocker block(combo);
    for (const QString &item : before) {
        if (!after.contains(item))
            combo->removeItem(combo->findText(item));
    }
    for (const QString &item : after) {
        if (!before.contains(item))
            combo->addItem(item);
    }
}

void ComboItems::showColumnQuietly(QComboBox *combo, int index, const QString &heading)
{
    if (!combo)
        return;
    const QSignalBlocker block(combo);
    const bool shown = index >= 0 && index < combo->count();
    combo->setCurrentIndex(shown ? index : -1);
    const bool missing = !shown && !heading.trimmed().isEmpty();
    combo->setPlaceholderText(missing ? QStringLiteral("Missing: %1").arg(heading) : QString());
    combo->setToolTip(missing ? QStringLiteral("The workbook has no column \"%1\".").arg(heading)
                              : QString());
}
