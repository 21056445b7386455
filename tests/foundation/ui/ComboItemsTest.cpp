// Combo entries set by code: no signal a window could take for the user's choice, nothing
// selected after a replacement, and a rule's edit applied entry by entry, so the entries it left
// alone (and the current one) stay as they were.
#include "foundation/ui/ComboItems.h"

#include <QComboBox>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

class ComboItemsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        combo.addItems({QStringLiteral("Manual"), QStringLiteral("Series")});
        combo.setCurrentIndex(1);
        // A mark on an entry: it stays only while the entry is not taken out and put back.
        combo.setItemData(1, QStringLiteral("kept"), Qt::UserRole);
        spies.push_back(std::make_unique<QSignalSpy>(&combo, &QComboBox::currentIndexChanged));
        spies.push_back(std::make_unique<QSignalSpy>(&combo, &QComboBox::currentTextChanged));
        spies.push_back(std::make_unique<QSignalSpy>(&combo, &QComboBox::activated));
        spies.push_back(std::make_unique<QSignalSpy>(&combo, &QComboBox::textActivated));
    }
    int signalsSeen() const
    {
        int n = 0;
        for (const auto &spy : spies)
            n += int(spy->count());
        return n;
    }

    static bool addExcel(QStringList &items)
    {
        if (items.contains(QStringLiteral("Excel")))
            return false;
        items << QStringLiteral("Excel");
        return true;
    }
    static bool dropManual(QStringList &items) { return items.removeAll(QStringLiteral("Manual")) > 0; }
    // Edits its copy yet says nothing changed: the combo must follow the answer, not the copy.
    static bool saysNoChange(QStringList &items)
    {
        items.clear();
        items << QStringLiteral("Other");
        return false;
    }
    static bool changesNothing(QStringList &) { return true; }

    QComboBox combo;
    std::vector<std::unique_ptr<QSignalSpy>> spies;
};

TEST_F(ComboItemsTest, ReplacingEmitsNothingAndLeavesNothingSelected)
{
    ComboItems::replaceQuietly(&combo, {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    EXPECT_EQ(ComboItems::itemsOf(&combo),
              (QStringList{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")}));
    EXPECT_EQ(combo.currentIndex(), -1);
    EXPECT_EQ(signalsSeen(), 0);

    // Into an empty combo, where adding entries alone would select the first and say so.
    QComboBox empty;
    QSignalSpy changed(&empty, &QComboBox::currentIndexChanged);
    ComboItems::replaceQuietly(&empty, {QStringLiteral("A")});
    EXPECT_EQ(empty.count(), 1);
    EXPECT_EQ(empty.currentIndex(), -1);
    EXPECT_EQ(changed.count(), 0);
}

TEST_F(ComboItemsTest, ARuleAppendsAndRemovesOnlyWhatItChangedAndTheCurrentEntryStays)
{
    ComboItems::applyQuietly(&combo, addExcel);
    EXPECT_EQ(ComboItems::itemsOf(&combo),
              (QStringList{QStringLiteral("Manual"), QStringLiteral("Series"), QStringLiteral("Excel")}));
    EXPECT_EQ(combo.currentText(), QStringLiteral("Series"));
    ComboItems::applyQuietly(&combo, addExcel); // already there: the rule says no change
    EXPECT_EQ(combo.count(), 3);

    // An entry before the current one goes: the current entry is still the same one.
    ComboItems::applyQuietly(&combo, dropManual);
    EXPECT_EQ(ComboItems::itemsOf(&combo), (QStringList{QStringLiteral("Series"), QStringLiteral("Excel")}));
    EXPECT_EQ(combo.currentText(), QStringLiteral("Series"));
    EXPECT_EQ(combo.itemData(0, Qt::UserRole).toString(), QStringLiteral("kept"));
    EXPECT_EQ(signalsSeen(), 0);
}

TEST_F(ComboItemsTest, NoChangeLeavesTheComboAloneAndANullComboIsSafe)
{
    ComboItems::applyQuietly(&combo, saysNoChange);
    ComboItems::applyQuietly(&combo, changesNothing);
    EXPECT_EQ(ComboItems::itemsOf(&combo), (QStringList{QStringLiteral("Manual"), QStringLiteral("Series")}));
    EXPECT_EQ(combo.currentIndex(), 1);
    EXPECT_EQ(combo.itemData(1, Qt::UserRole).toString(), QStringLiteral("kept"));
    EXPECT_EQ(signalsSeen(), 0);

    ComboItems::replaceQuietly(nullptr, {QStringLiteral("A")});
    ComboItems::applyQuietly(nullptr, addExcel);
    EXPECT_TRUE(ComboItems::itemsOf(nullptr).isEmpty());
}
