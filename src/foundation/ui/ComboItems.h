// Entries of a combo box set by code, not by the user: no change signal is emitted, so the
// window does not take the new entries for a choice.
#pragma once

#include <QStringList>

class QComboBox;

namespace ComboItems
{
QStringList itemsOf(const QComboBox *combo);
// The entries replaced, with nothing selected. A null combo is left alone.
void replaceQuietly(QComboBox *combo, const QStringList &items);
// A rule that edits the entries and says whether it changed them; the combo follows it by
// removing the entries the rule dropped and appending the ones it added, so the current entry
// stays where it can.
void applyQuietly(QComboBox *combo, bool (*rule)(QStringList &items));
// A bound column shown quietly: entry index when the combo has it, else no entry and, for a
// heading, "Missing: <heading>" in the box with a tip saying the workbook lacks the column.
void showColumnQuietly(QComboBox *combo, int index, const QString &heading);
} // namespace ComboItems
